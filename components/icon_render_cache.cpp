#include "components/icon_render_cache.h"

#include <cstring>
#include <map>
#include <string>

#include "common/dpi.h"
#include "common/little_endian.h"
#include "components/enhanced_bitmap.h"
#include "components/svg_render.h"
#include "platform/hooks.h"
#include "platform/resource_loader.h"
#include "platform/whole_file_read.h"
#include "textlib/file_write.h"
#include "textlib/path_helpers.h"

namespace {

constexpr size_t kKeyBytes = 16;
constexpr size_t kRecordHead = 4 + kKeyBytes;

struct IconCacheState {
  CQzuMem buffer;
  bool loaded = false;
  uint32_t savedHash = 0;
  // Decoded icons by record key: a record's bytes never change once added,
  // so neither does their decoding.
  std::map<std::string, rg_Ombrine_base::rg_WeiTuDuiXiangLei> decoded;
};

IconCacheState& State() {
  static IconCacheState state;
  return state;
}

CWString CacheFilePath() { return AppendTrailingBackslash(GetProgramFolder()) + kIconCacheFileName; }

int32_t ReadInt32(const uint8_t* p) { return static_cast<int32_t>(LoadLittleEndian32(p)); }

void PutInt32(uint8_t* p, int32_t value) { StoreLittleEndian32(p, static_cast<uint32_t>(value)); }

// Calls `visit(offset, n)` for each sound record from the start; returns the
// end of the last sound record. A record whose length is negative or runs
// past the end, or a tail too short for a record, ends the walk: what follows
// a damaged length cannot be framed.
template <class Visit>
size_t WalkRecords(const CQzuMem& buffer, Visit visit) {
  const uint8_t* data = buffer.GetData();
  const size_t size = buffer.GetSize();
  size_t p = 0;
  while (size - p >= kRecordHead) {
    const int32_t n = ReadInt32(data + p);
    if (n < 0 || static_cast<size_t>(n) > size - p - kRecordHead) break;
    if (visit(p, static_cast<size_t>(n))) return p;
    p += kRecordHead + static_cast<size_t>(n);
  }
  return p;
}

void ReadCacheFileOnce() {
  IconCacheState& state = State();
  if (state.loaded) return;
  state.loaded = true;
  state.buffer.Empty();
  ReadWholeFile(CacheFilePath(), state.buffer);  // a missing or unreadable cache starts empty
  // Keep the sound records only, so that records appended from now on can be
  // found by walking; a damaged tail is dropped (and the file repaired when
  // the next new icon makes the cache write back).
  state.buffer.SetSize(WalkRecords(state.buffer, [](size_t, size_t) { return false; }));
  state.savedHash = HashByteBuffer(state.buffer);
}

// An icon's bytes with its record key, and whether this request rendered it.
struct IconRecord {
  CQzuMem bytes;
  std::string key;
  bool rendered = false;
};

IconRecord FindOrRenderIcon(int32_t resourceId, const CQzuMem& svg, int32_t width, int32_t height, int32_t format,
                            int32_t noDpi, uint32_t background) {
  ReadCacheFileOnce();
  const CQzuMem source = svg.IsEmpty() ? LoadResourceBytes(resourceId) : svg;
  if (!noDpi) {
    width = ScaleForDpi(width);
    height = ScaleForDpi(height);
  }
  uint8_t key[kKeyBytes];
  PutInt32(key, static_cast<int32_t>(HashByteBuffer(source)));
  PutInt32(key + 4, width);
  PutInt32(key + 8, height);
  PutInt32(key + 12, format);

  IconRecord icon;
  icon.key.assign(reinterpret_cast<const char*>(key), kKeyBytes);
  CQzuMem& buffer = State().buffer;
  bool hit = false;
  WalkRecords(buffer, [&](size_t p, size_t n) {
    if (std::memcmp(buffer.GetData() + p + 4, key, kKeyBytes) != 0) return false;
    icon.bytes.Assign(buffer.GetData() + p + kRecordHead, n);
    hit = true;
    return true;
  });
  if (hit) return icon;

  CQzuMem image = rg_Ombrine_Tosvard_SVGHuiZhiKu::RenderSvgToImage(source, width, height, background, format);
  // The record goes in whole or not at all, so the buffer stays walkable.
  CQzuMem record;
  uint8_t head[4];
  PutInt32(head, static_cast<int32_t>(image.GetSize()));
  if (record.Reserve(kRecordHead + image.GetSize()) && record.Append(head, sizeof head) &&
      record.Append(key, kKeyBytes) && record.Append(image))
    buffer.Append(record);
  icon.bytes = std::move(image);
  icon.rendered = true;
  return icon;
}

}  // namespace

CQzuMem LoadSvgIcon(int32_t resourceId, const CQzuMem& svg, int32_t width, int32_t height, int32_t format,
                    int32_t noDpi, uint32_t background) {
  return FindOrRenderIcon(resourceId, svg, width, height, format, noDpi, background).bytes;
}

rg_Ombrine_base::rg_WeiTuDuiXiangLei LoadSvgIconBitmap(int32_t resourceId, const CQzuMem& svg, int32_t width,
                                                       int32_t height, int32_t format, int32_t noDpi,
                                                       uint32_t background) {
  IconRecord icon = FindOrRenderIcon(resourceId, svg, width, height, format, noDpi, background);
  auto& decoded = State().decoded;
  if (const auto known = decoded.find(icon.key); known != decoded.end()) return known->second;
  rg_Ombrine_base::rg_WeiTuDuiXiangLei bitmap;
  const std::shared_ptr<const QImage>& rendering = rg_Ombrine_Tosvard_SVGHuiZhiKu::SvgPictureObject().Bitmap();
  if (icon.rendered && format == rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatPng && !icon.bytes.IsEmpty() &&
      rendering && !rendering->isNull()) {
    // The PNG holds the rendering's straight-alpha RGBA bytes as they are,
    // and Qt reads such a PNG as ARGB32: the same picture, without
    // decoding what was just encoded.
    bitmap.SetImage(rendering->convertToFormat(QImage::Format_ARGB32));
  } else {
    bitmap = BitmapFromBuffer(icon.bytes);
  }
  decoded.emplace(std::move(icon.key), bitmap);
  return bitmap;
}

CQzuMem LoadSvgIconBytes(int32_t resourceId, int32_t width, int32_t height) {
  return LoadSvgIcon(resourceId, CQzuMem(), width, height, rg_Ombrine_Tosvard_SVGHuiZhiKu::kSvgFormatPng, 0, 0);
}

CQzuMem& IconCacheBuffer() { return State().buffer; }

uint32_t IconCacheHash() { return State().savedHash; }

int SaveIconCacheIfChanged() {
  IconCacheState& state = State();
  const uint32_t hash = HashByteBuffer(state.buffer);
  if (hash == state.savedHash) return 0;
  if (state.buffer.IsEmpty()) {
    state.savedHash = hash;
    return 0;
  }
  // The hash becomes the saved one only once the file holds the buffer, so a
  // failed write is tried again at the next write-back.
  if (!WriteFileBytes(CacheFilePath(), state.buffer)) return 0;
  state.savedHash = hash;
  return 1;
}

void ResetIconCache() {
  IconCacheState& state = State();
  state.decoded.clear();
  state.buffer.Free();
  state.loaded = false;
  state.savedHash = 0;
}
