#pragma once
// AvailableScreenArea: the part of the primary screen that top-level windows
// may take (the screen without its panels), in device pixels. Forms centre
// themselves in it and the main window fits its size to it. A test puts a
// virtual screen of a chosen size in its place. UI thread.
#include <QRect>

QRect AvailableScreenArea();
// Replaces the screen's area with `area`; an empty rectangle returns to the
// primary screen's own.
void SetAvailableScreenArea(const QRect& area);
