#pragma once
// OpenAddress: the one way the program opens a web address, a file or a
// folder with the desktop (links, previews, result folders, the folder
// tree's 打开). The desktop's handler is the platform hooks' ShellOpen; a
// failure is always told the same way, never left to the standard error.
// UI thread.
#include "common/wstring.h"

// 1 when the desktop opened `address`; otherwise puts the address on the
// clipboard, tells the user where to paste it ("打开失败：" + the address, and
// the browser for a web address, the file manager for anything else), and
// returns 0 once the message box is closed.
int OpenAddress(const CWString& address, const CWString& parameters);
