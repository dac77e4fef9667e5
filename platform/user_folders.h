#pragma once
// The user's folders as the desktop names them: the XDG user directories
// (desktop, documents, downloads, music, pictures, public share, templates,
// videos) from "user-dirs.dirs" in the configuration folder, and the XDG base
// folders for data and configuration. No Qt: the default platform hooks
// answer from here. Any thread; the file is read at every call.
#include <string_view>

#include "common/wstring.h"

enum class XdgUserDir { Desktop, Documents, Download, Music, Pictures, PublicShare, Templates, Videos };

// The folder that "user-dirs.dirs" text gives `which`, with "$HOME" replaced
// by `home`; empty when the text does not set it or sets it to something that
// is neither "$HOME/..." nor an absolute path (the file's own rule).
CWString UserDirFromConfigText(std::string_view text, XdgUserDir which, const CWString& home);

// The folder of `which` for `home` (no trailing separator): the setting in
// the configuration folder's "user-dirs.dirs", else the desktop's English
// default under `home` ("Desktop", "Documents", "Downloads", "Music",
// "Pictures", "Public", "Templates", "Videos").
CWString XdgUserDirPath(XdgUserDir which, const CWString& home);

// $XDG_CONFIG_HOME and $XDG_DATA_HOME when set to an absolute path, else
// `home` + "/.config" and `home` + "/.local/share".
CWString XdgConfigHome(const CWString& home);
CWString XdgDataHome(const CWString& home);
