#pragma once
// What the folder browser shows of a mounted file system: whether it answers
// with its free space, and its label. Labels are those the system's device
// manager publishes under /dev/disk/by-label (a link per label, named with
// "\x" and two hexadecimal digits for unusual bytes, pointing to the
// device). Setting a label is not offered: it needs the rights of the
// device's owner and a tool per file system type. Any thread.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/wstring.h"

// The bytes free for an ordinary user and the file system's size, for the
// file system holding `path`; false when the system cannot tell (no such
// path, a share that does not answer).
bool FileSystemSpace(const CWString& path, uint64_t& freeBytes, uint64_t& totalBytes);

// The label of the file system mounted at `mountPoint` (with or without a
// trailing separator); empty when it has none or none is known.
CWString FileSystemLabel(const CWString& mountPoint);
// The same from a mount table's text and a folder of label links, for tests.
CWString FileSystemLabelFrom(const CWString& mountPoint, std::string_view mountTable, const std::string& byLabelFolder);
