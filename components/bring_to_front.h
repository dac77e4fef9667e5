#pragma once
// Bringing a form in front of every other window: a minimised form is
// restored, its stays-on-top hint is flipped for a moment and set back to
// the form's own topmost mark, and the window is raised and activated. The
// flip is made in place, so the window is not re-created and does not
// flicker. A hidden form is left alone. UI thread only.
#include "framework/win_form.h"

void BringWindowToFront(CQzuWinForm& form);
