#pragma once
// Writing a whole file safely: the bytes go to a new file beside the target
// that replaces it only once complete.
#include <cstddef>
#include <functional>

#include "common/mem.h"
#include "common/wstring.h"

// Takes the next piece of the file; false when it could not be written.
using FileByteSink = std::function<bool(const void* data, size_t size)>;

// Writes the file at `path` (UTF-8 to the system) from the pieces `produce`
// hands to its sink, creating the missing folders of its folder part. Returns
// 1 only when every byte reached the disk, else 0. A failed write, or a
// `produce` that returns false, leaves the old file as it was; the new file
// takes over the old one's permission bits. A failed attempt is repeated once,
// so `produce` may be called twice. An empty path, or one holding a zero unit
// (no file system takes it), gives 0.
int WriteFileFrom(const CWString& path, const std::function<bool(const FileByteSink&)>& produce);

// WriteFileFrom with every byte of `data`.
int WriteFileBytes(const CWString& path, const CQzuMem& data);
