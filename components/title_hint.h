#pragma once
// The progress hint in the main window's title bar. The main window publishes
// itself with SetMainWindowPointer when it is created (and clears it before
// it goes); the first hint saves its title, every hint shows the saved title
// + " - " + an optional wait part + the message, and an empty message puts
// the saved title back. UI thread only.
#include "common/wstring.h"
#include "framework/win_control.h"

// The main window the hint writes to; null until the main window sets it.
CQzuWinControl* MainWindowPointer();
void SetMainWindowPointer(CQzuWinControl* window);
// The main window's title as it was before the first hint; kept until exit.
CWString& SavedTitle();

// With no main window: a message box captioned "信息:" says that no hint can
// be shown. Otherwise the title becomes saved title + " - " + message, with
// "等待 " + seconds + " 秒后，" before the message when `seconds` reads as a
// decimal number above 0 (leading blanks allowed; the text is shown as
// given); an empty message restores the saved title.
void SetTitleHint(const CWString& message, const CWString& seconds);
