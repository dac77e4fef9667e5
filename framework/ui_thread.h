#pragma once
// Handing work to the UI thread. Widgets are touched only on the UI thread,
// and what a control paints or raises for its window runs there too; a worker
// thread hands such work over with these calls instead of doing it itself.
//
// A call handed over runs on the UI thread the next time it processes its
// events (its event loop, or QtPumpPendingMessages), after every call and
// posted message handed over before it. Any thread may hand calls over. The
// guarded forms take the receiver pointer of the object the call works on:
// the call gets the receiver and is dropped when the receiver has detached
// by then (its object was destroyed in the meantime), so a queued call never
// runs into a dead object.
//
// Without an application object there is no event loop to hand to: the
// caller's thread is the only one, and calls run at once.
#include <functional>

#include "common/event.h"

// True on the thread of the application object, and everywhere while there
// is none.
bool IsUiThread();

// Runs `call` later on the UI thread, also when the caller is the UI thread.
void PostToUiThread(std::function<void()> call);
// Runs `call` at once when the caller is the UI thread, else as above.
void RunOnUiThread(std::function<void()> call);

// The same with the call made through `receiver` (CQzuEventObjectPointer::
// Invoke): nothing happens when it has detached by the time the call runs.
void PostToUiThread(const CQzuReceiverRef& receiver, std::function<void(CQzuObject*)> call);
void RunOnUiThread(const CQzuReceiverRef& receiver, std::function<void(CQzuObject*)> call);
