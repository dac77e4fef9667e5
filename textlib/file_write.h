#pragma once
// Writing a whole byte buffer to a file.
#include "common/mem.h"
#include "common/wstring.h"

// Writes every byte of `data` to the file at `path` (UTF-8 to the system),
// creating the missing folders of its folder part first. Returns 1 only when
// every byte reached the disk, else 0. The bytes go to a new file beside the
// target that replaces it only once complete, so a failed write leaves the old
// file as it was; the new file takes over the old one's permission bits. A
// failed attempt is repeated once. An empty path, or one holding a zero unit
// (no file system takes it), gives 0.
int WriteFileBytes(const CWString& path, const CQzuMem& data);
