#pragma once
// Asking whether a path exists, making a folder with its missing parents and
// renaming without ever replacing what is at the target: the file system
// operations the folder browser changes things with. Paths go to the system
// through ToSystemPath. Any thread.
#include "common/wstring.h"

// True when something exists at `path` (a link counts by what it points
// to); false for an empty path.
bool PathExists(const CWString& path);
// True when `path` is a folder (or a link to one).
bool IsExistingFolder(const CWString& path);

// Makes the folder `path` and every missing folder above it. True when the
// folder exists afterwards (also when it existed before); false when a file
// is in the way, a parent cannot be written, or the path is empty.
bool CreateFolderWithParents(const CWString& path);

// Renames `from` to `to` unless something already exists at `to`: a folder
// is never merged into or swapped for another, a file never overwritten.
// The check and the rename are one step where the file system supports it
// (renameat2 with RENAME_NOREPLACE); elsewhere the target is looked at first.
// True on success; otherwise false with the system's error number in
// `error` when given (EEXIST for an existing target).
bool RenameWithoutReplacing(const CWString& from, const CWString& to, int* error = nullptr);
// The look-first way alone, which RenameWithoutReplacing falls back to when
// the file system refuses the flag; open so that both ways are tested.
bool RenameWithoutReplacingByCheck(const CWString& from, const CWString& to, int* error = nullptr);
