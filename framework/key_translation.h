#pragma once
// Qt's keys, buttons and modifiers as the controls see them: Windows
// virtual-key codes, the modifier flags 0x2000 Ctrl, 0x4000 Alt, 0x8000 Shift,
// and wheel deltas in units of 120 per notch.
#include <Qt>

// Virtual-key code of a Qt key; 0 for keys without one.
int VirtualKeyFromQtKey(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// 0x2000 Ctrl | 0x4000 Alt | 0x8000 Shift.
int ModifierFlagsFromQt(Qt::KeyboardModifiers modifiers);
// 1 left, 2 right, 4 middle, 5 and 6 the side buttons; 0 for others.
int VirtualKeyFromMouseButton(Qt::MouseButton button);
// A Qt wheel angle (eighths of a degree) as a Windows wheel delta: both are
// 120 per notch, positive away from the user.
inline int WheelDeltaFromQt(int angleDeltaY) { return angleDeltaY; }
