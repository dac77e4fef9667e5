#pragma once
// ReadWholeFile: the one reader of whole files. Only a regular file is read:
// a pipe, a device or a folder given as a file is refused at once, never
// waited on (opening a pipe for reading would wait for a writer, and a device
// could be read forever). A file that grows while it is read is read to its
// new end. A link is read through only where it may be followed (see
// MayFollowLink). Any thread; nothing is shared between calls.
#include <sys/stat.h>

#include <functional>
#include <string_view>

#include "common/mem.h"
#include "common/wstring.h"

// Every byte of the regular file at `path` (ToSystemPath gives the name) into `bytes`;
// false, leaving `bytes` alone, when it is no regular file or cannot be
// opened or read to its end. An empty file gives an empty buffer and true.
bool ReadWholeFile(const CWString& path, CQzuMem& bytes);

// The same into `data` whatever it held, keeping its memory for the next
// file (a batch reads every file into one buffer); on failure `data` holds
// nothing useful. `status`, when given, receives the file's status as it was
// read. `grew`, when given, is called after every piece read (of
// kWholeFileReadPiece bytes at most) with all that `data` holds so far, so
// that the caller can look at each piece while it is still in the
// processor's cache.
inline constexpr size_t kWholeFileReadPiece = size_t{256} << 10;
bool ReadWholeFileInto(const CWString& path, CQzuMem& data, struct stat* status,
                       const std::function<void(std::string_view)>& grew = {});
