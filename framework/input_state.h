#pragma once
// Which keys and mouse buttons are held, for GetAsyncKeyState: an
// application-wide filter records presses and releases as virtual-key codes;
// Qt's own button and modifier state completes it on the UI thread.
#include <cstdint>

// Installs the recording filter on the application (once).
void InstallInputStateTracker();
// Bit 15 set while the key or button is held. Any thread.
int16_t QtAsyncKeyState(int virtualKey);
// Forgets everything held (tests).
void ResetInputState();
