#pragma once
// Timers without a window in the SetTimer style: the callback runs on the UI
// thread as callback(null, WM_TIMER, id, tick count). Without a window the
// id passed in only matters when it names a running timer of this kind (that
// timer is restarted); otherwise a new id is made and returned.
#include <cstdint>

using QzuTimerProc = void (*)(void* window, unsigned message, uintptr_t id, uint32_t time);

// 0 when there is no application object or no callback.
uintptr_t SetTimer(void* window, uintptr_t id, unsigned milliseconds, QzuTimerProc callback);
// false when no such timer runs.
bool KillTimer(void* window, uintptr_t id);
