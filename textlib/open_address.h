#pragma once
// Opening a web address, file or folder with the desktop, and reading whether
// a key is held; both through the platform hooks.
#include "common/wstring.h"

// 1 when the desktop opened `address`; otherwise puts the address on the
// clipboard, tells the user where to paste it, and returns 0 once the message
// box is closed.
int OpenAddress(const CWString& address, const CWString& parameters);

// 1 while the key (a Windows virtual-key code) is held down, else 0.
int IsKeyDown(int virtualKey);
