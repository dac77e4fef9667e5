#include "components/bring_to_front.h"

#include "framework/window_stacking.h"
#include "platform/hooks.h"

void BringWindowToFront(CQzuWinForm& form) {
  if (!form.IsVisible()) return;
  if (QWidget* w = form.GetWidget(); w && w->isMinimized()) w->showNormal();
  const bool topmost = (form.GetExStyle() & qzu_win::kWsExTopmost) != 0;
  // Windows lifts a window to the top of its band when it changes band:
  // cross over and come back.
  SetStaysOnTopInPlace(form.GetWidget(), !topmost);
  PumpPendingMessages();
  SetStaysOnTopInPlace(form.GetWidget(), topmost);
  form.BringToTop();
}
