#pragma once
// Listing the files or the sub-folders of one folder by a list of name
// patterns. Only regular files and folders are listed; hidden entries (names
// starting with ".") are skipped, and links to folders are never followed, so
// a link loop cannot trap a walk. A link to a regular file counts as a file.
#include "common/arrays.h"
#include "common/wstring.h"

// Empties `out`, then appends the full path (folder + "/" + name) of every
// entry of `folder` that matches one of the "|"-separated `patterns` (each
// trimmed of code units 0 to 32, empty ones dropped): files when `folders` is
// 0, sub-folders otherwise. Pattern by pattern in list order, each pattern's
// matches sorted by name; an entry matching several patterns is listed once,
// at its first pattern. Returns the number of paths in `out`; 0 for an empty
// folder text, a folder that cannot be read or a list without patterns.
// Unless null, `unreadable` tells whether the folder could not be read (no
// such folder, no right to read it, a path past the system's length limit).
int ListFolderEntries(const CWString& folder, const CWString& patterns, rg_Ombrine_base::rg_WenBenShuZuLei& out,
                      int folders, bool* unreadable = nullptr);

// 1 when `folder` holds at least one sub-folder the listing above would return.
int HasSubFolder(const CWString& folder);
