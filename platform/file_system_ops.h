#pragma once
// Asking whether a path exists, making a folder with its missing parents and
// renaming without ever replacing what is at the target: the file system
// operations the folder browser changes things with. Paths go to the system
// through ToSystemPath. Any thread.
#include <sys/stat.h>

#include <string>

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

// Links in folders that others may write: a link is followed only when it
// belongs to the user running the program, or to the owner of the folder it
// stands in (who may replace anything in that folder anyway). A link anyone
// else put there is never followed: what it names is neither read nor
// written through it. Only links met as the last name of a path, and the
// links they lead to, are looked at; the folders on the way are taken as
// they are.

// Whether the link at `path`, whose status (lstat) is `link`, may be followed.
bool MayFollowLink(const std::string& path, const struct stat& link);

// What stands at a path once its links are followed as far as they may be.
enum class LinkedEntry { None, Found, ForeignLink };
// Follows the link at `path` (a path of the system), and the link it names,
// and so on, while each may be followed. Found: `path` becomes the path of
// what they lead to (itself when it is no link) and `status` its status
// (lstat). ForeignLink: a link on the way may not be followed; `path` names
// that link and `status` is its own. None when nothing stands there in the
// end (nothing at all, a dangling link, a loop).
LinkedEntry FollowOwnLinks(std::string& path, struct stat& status);

// open(2) of `path` with `flags`, following a link at its last name only as
// FollowOwnLinks does: where a link may not be followed, -1 with errno
// EACCES. What the links led to is opened without following a link there,
// so that a link put in its place meanwhile is not followed either.
int OpenFollowingOwnLinks(const std::string& path, int flags);
