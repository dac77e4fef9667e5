#pragma once
// Tool tips with a text colour and margin of their own control. Qt shows every
// tip in one window and keeps one tip palette for the whole program
// (QToolTip::setPalette), so a colour set there would follow every later tip.
// ShowStyledToolTip shows the tip as Qt does and then styles that one window
// for this showing only: a control without a style gets Qt's own palette and
// margin back, and the program's tip palette is never changed. UI thread only.
#include <QPoint>
#include <QString>

#include "framework/win_defs.h"

class QWidget;

// Text colour 0xFFFFFFFF keeps Qt's; a margin of 0 or less keeps Qt's.
void ShowStyledToolTip(const QPoint& globalPos, const QString& text, QWidget* widget, COLORREF textColour,
                       int margin);
// The tip window on screen now, or null.
QWidget* VisibleToolTipWindow();
