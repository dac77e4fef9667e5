#pragma once
// Keeping a file before it is replaced or removed: the file (or a copy of
// it) goes to a backup path, and nothing already there is ever replaced: a
// taken backup name makes way for the first free "stem (2).ext",
// "stem (3).ext"... beside it. A file whose very bytes one of those names
// already holds (a run cut short and made again) is not kept a second time:
// that backup is the answer. Paths are those of the system (see
// CWString::ToSystemPath). Any thread; two keepers of one file are not
// coordinated beyond never replacing each other's backups.
#include "common/wstring.h"

// `path` with " (n)" before its extension (n >= 2; n = 1 gives `path`
// itself), the stem cut where the name would pass the file system's limit.
CWString NumberedPath(const CWString& path, int n);

// Keeps the regular file `file` at `backupPath` or the first free numbered
// name beside it, making the missing folders, and flushes the backup's folder
// to the disk. With `mayLink` the backup is a second name of the file (the
// caller must then replace the file by a rename, never by writing into it);
// where that cannot be, and without `mayLink`, it is a copy with the file's
// permission bits. Returns where the backup went; empty when none could be
// made (a link or anything but a regular file is never kept). `madeNew`, when
// given, tells whether the backup was made now or was one kept before: only
// a new one may be removed again by a caller whose replacement failed.
CWString KeepCopyOf(const CWString& file, const CWString& backupPath, bool mayLink, bool* madeNew = nullptr);

// Moves the regular file `file` to `backupPath` or the first free numbered
// name beside it (a copy and a delete where a rename cannot), flushing the
// folders. Returns where it went; empty, with the file where it was, when it
// could not be kept.
CWString MoveToBackup(const CWString& file, const CWString& backupPath);
