#pragma once
// Opening a web address, file or folder with the desktop (OpenAddress, from
// platform/shell_open.h), and reading whether a key is held; both through the
// platform hooks.
#include "common/wstring.h"
#include "platform/shell_open.h"

// 1 while the key (a Windows virtual-key code) is held down, else 0.
int IsKeyDown(int virtualKey);
