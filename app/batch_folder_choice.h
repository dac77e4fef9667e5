#pragma once
// The question a batch started by a click asks when Ctrl is not held: which
// folder to convert, in the folder-choice dialog. The answer is a path that
// names an existing folder or file, or the empty text when the user
// cancelled. Tests put in their own chooser so that no dialog waits for a
// person. UI thread only.
#include <functional>

#include "common/wstring.h"

namespace rg_Ombrine_app {

using BatchFolderChooser = std::function<CWString(const CWString& prompt, const CWString& startFolder)>;

// Asks with `prompt`, the tree opened at `startFolder` when that exists.
CWString ChooseBatchFolder(const CWString& prompt, const CWString& startFolder);

// Replaces the dialog by `chooser`; an empty one brings the dialog back.
// Returns the chooser that was in force (empty for the dialog).
BatchFolderChooser SetBatchFolderChooser(BatchFolderChooser chooser);

}  // namespace rg_Ombrine_app
