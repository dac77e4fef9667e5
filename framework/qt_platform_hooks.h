#pragma once
// The Qt side of the platform hooks: clipboard, message boxes, opening with
// the desktop, the recycle bin, key and button state, cursor position, the
// message pump and special folders. Start-up installs it.
#include <QString>

#include "platform/hooks.h"

class CQtPlatformHooks : public IPlatformHooks {
 public:
  bool SetClipboardText(const CWString& text) override;
  CWString GetClipboardText() override;
  // An empty caption shows the program's usual "信息:".
  int MessageBox(const CWString& text, const CWString& caption, int style) override;
  // Through xdg-open, whose exit status within 2 s tells a failure (the UI
  // waits that long at most); without xdg-open through QDesktopServices.
  bool ShellOpen(const CWString& address, const CWString& parameters) override;
  bool MoveToRecycleBin(const CWString& path) override;
  int16_t AsyncKeyState(int virtualKey) override;
  void CursorPosition(int& x, int& y) override;
  void PumpPendingMessages() override;
  CWString SpecialFolderPath(SpecialFolder folder) override;
};

// Installs one process-wide instance (and the key state tracker).
void InstallQtPlatformHooks();

// The text of a message box as the rich text it is shown in: one block per
// line (CR LF, LF or CR); a line's leading spaces become its block's left
// margin (`spaceWidth` pixels each), so that a listed name that wraps goes
// on under its own start; and a run of non-blanks holding "/" (a path; blanks
// and full-width punctuation end a run) wraps only after a "/", never inside
// a name.
QString MessageBoxHtml(const QString& text, int spaceWidth);
