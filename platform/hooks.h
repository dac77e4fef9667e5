#pragma once
// Services of the desktop that the libraries below the window framework need:
// clipboard, message box, opening an address with the desktop, the recycle
// bin, key and mouse button state, the message pump, special folders and the
// program's folder. Each has a default that needs no window system; the window
// framework installs its Qt implementations at start-up, and tests install
// fakes. Hooks are called on the UI thread unless stated otherwise.
#include <cstdint>

#include "common/wstring.h"

// Message box styles and results, with the values the program's callers use.
enum : int {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbAbortRetryIgnore = 0x2,
  kMbYesNoCancel = 0x3,
  kMbYesNo = 0x4,
  kMbRetryCancel = 0x5,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,
  kMbIconInformation = 0x40,
};
enum : int { kIdOk = 1, kIdCancel = 2, kIdAbort = 3, kIdRetry = 4, kIdIgnore = 5, kIdYes = 6, kIdNo = 7 };

// Folders the program asks the system for. AppData is the program's own data
// folder; the others are the user's and the system's: the XDG user folders
// (Desktop to PublicShare), the system fonts, the user's application menu
// entries and autostart entries, and the XDG data and configuration folders.
enum class SpecialFolder {
  Desktop,
  Documents,
  Temporary,
  Home,
  AppData,
  Downloads,
  Music,
  Pictures,
  Videos,
  Templates,
  PublicShare,
  Fonts,
  Applications,
  Autostart,
  DataHome,
  ConfigHome,
};

class IPlatformHooks {
 public:
  virtual ~IPlatformHooks() = default;

  virtual bool SetClipboardText(const CWString& text);
  virtual CWString GetClipboardText();
  // Shows a message box and returns the button chosen (kIdOk, kIdYes, ...).
  virtual int MessageBox(const CWString& text, const CWString& caption, int style);
  // Opens a web address, a file or a folder with the desktop's handler;
  // false when nothing could be started.
  virtual bool ShellOpen(const CWString& address, const CWString& parameters);
  // Moves a file or folder to the recycle bin; false when it is still there.
  virtual bool MoveToRecycleBin(const CWString& path);
  // GetAsyncKeyState: bit 15 set while the key (a Windows virtual-key code;
  // 1 left, 2 right, 4 middle mouse button) is held. Any thread.
  virtual int16_t AsyncKeyState(int virtualKey);
  // Cursor position on the screen, in device pixels.
  virtual void CursorPosition(int& x, int& y);
  // Processes pending window messages once (timers, clicks, paints).
  virtual void PumpPendingMessages();
  virtual CWString SpecialFolderPath(SpecialFolder folder);
};

// The hooks in force; never null.
IPlatformHooks& PlatformHooks();
// Installs `hooks` (owned by the caller, who keeps it alive while installed);
// null restores the defaults. Returns the hooks that were in force.
IPlatformHooks* InstallPlatformHooks(IPlatformHooks* hooks);

// Shorthands for the hooks in force.
inline bool SetClipboardText(const CWString& text) { return PlatformHooks().SetClipboardText(text); }
inline CWString GetClipboardText() { return PlatformHooks().GetClipboardText(); }
inline int ShowMessageBox(const CWString& text, const CWString& caption, int style) {
  return PlatformHooks().MessageBox(text, caption, style);
}
inline int16_t GetAsyncKeyState(int virtualKey) { return PlatformHooks().AsyncKeyState(virtualKey); }
inline void PumpPendingMessages() { PlatformHooks().PumpPendingMessages(); }

// The program's folder, where its settings, icon cache and outputs live: the
// folder of the executable, or the per-user data folder when that is not
// writable. Ends without a separator. Tests set it to a temporary folder.
CWString GetProgramFolder();
void SetProgramFolder(const CWString& folder);
