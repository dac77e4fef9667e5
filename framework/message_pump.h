#pragma once
// The message pump of the UI thread and the modal wait built on it: a window
// that must be waited for is shown normally and the caller pumps and sleeps
// 1 ms in turn until the window is gone.
#include "framework/win_control.h"

// Processes the pending events of the UI thread once (posted messages,
// timers, input, paints). Does nothing without an application object.
void QtPumpPendingMessages();
// Pumps and sleeps 1 ms in turn while the control's window exists.
void WaitWhileWindowExists(const CQzuWinControl& control);
