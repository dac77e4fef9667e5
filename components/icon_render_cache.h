#pragma once
// The icon render cache: every icon of the interface is an SVG rendered to PNG
// or BMP bytes at a size that depends on the DPI factor. Rendered bytes live
// in one process-wide buffer, read from "tavelkin.svgs" in the program's
// folder on the first request and written back by the main window's close
// handler when something was added.
//
// The file and the buffer are records back to back, all integers
// little-endian: int32 N (byte count of the image, 0 for a failed render),
// the 16-byte key (SVG hash, width, height, format; the sizes after DPI
// scaling), then N image bytes. The background colour is not part of the key.
// UI thread only.
#include <cstdint>

#include "common/mem.h"
#include "framework/bitmap_object.h"

inline constexpr char16_t kIconCacheFileName[] = u"tavelkin.svgs";

// The encoded icon for `svg` (RCDATA `resourceId` when `svg` is empty) at
// width x height, both times the DPI factor (truncated) unless `noDpi` is set,
// as PNG (format 0) or BMP over `background` (format 1; TGA 2 works too).
// A cached rendering of the same SVG, size and format is returned without
// rendering; a new one is rendered and appended. Empty when the SVG does not
// render, which is cached too so that it is not tried again.
CQzuMem LoadSvgIcon(int32_t resourceId, const CQzuMem& svg, int32_t width, int32_t height, int32_t format,
                    int32_t noDpi, uint32_t background);
// The icon of LoadSvgIcon as a bitmap: what BitmapFromBuffer makes of the
// bytes LoadSvgIcon returns. Each record is decoded once (until
// ResetIconCache) and later requests share its pixels; a PNG rendered by
// this very request is taken from the rendering, not decoded again.
rg_Ombrine_base::rg_WeiTuDuiXiangLei LoadSvgIconBitmap(int32_t resourceId, const CQzuMem& svg, int32_t width,
                                                       int32_t height, int32_t format, int32_t noDpi,
                                                       uint32_t background);
// The PNG of the built-in SVG `resourceId` at width x height logical pixels.
CQzuMem LoadSvgIconBytes(int32_t resourceId, int32_t width, int32_t height);

// The cache buffer and the hash it had when last read or written.
CQzuMem& IconCacheBuffer();
uint32_t IconCacheHash();
// Write-back on close: when the buffer's hash differs from the saved one, a
// non-empty buffer is written to the cache file and its hash becomes the
// saved one (after a failed write it stays, so the next write-back retries).
// An untouched cache (never read, or read and not extended) writes nothing.
// Returns 1 when the file was written.
int SaveIconCacheIfChanged();
// Forgets the buffer and the read flag, so the next request reads the cache
// file of the program's folder again (the program folder changed).
void ResetIconCache();
