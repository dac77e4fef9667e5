#include "framework/window_fit.h"

#include <QApplication>

#include <algorithm>
#include <cmath>

#include "common/dpi.h"
#include "framework/font_text.h"

namespace {

// Borders and a title bar as desktops draw them at 96 DPI; they grow with
// the screen's scale.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 38;

int Scaled(int value, double factor) { return static_cast<int>(value * factor + 0.5); }

QSize ScaledSize(const QSize& size, double factor) {
  return QSize(Scaled(size.width(), factor), Scaled(size.height(), factor));
}

}  // namespace

QSize FrameAllowance(double factor) { return ScaledSize(QSize(kFrameWidth, kFrameHeight), factor); }

QSize AvailableClientSize(const QSize& area, double factor) {
  const QSize frame = FrameAllowance(factor);
  return QSize(std::max(0, area.width() - frame.width()), std::max(0, area.height() - frame.height()));
}

WindowFit FitWindowToArea(const QSize& designSize, double screenFactor, const QSize& area) {
  const double top = std::max(1.0, screenFactor);
  auto fitsAt = [&](double factor) {
    const QSize room = AvailableClientSize(area, factor);
    const QSize size = ScaledSize(designSize, factor);
    return size.width() <= room.width() && size.height() <= room.height();
  };
  WindowFit fit;
  if (fitsAt(top)) {
    fit.factor = top;
  } else {
    // The quarter steps strictly below the screen's factor, largest first.
    double factor = std::ceil(top * 4.0 - 1e-9) / 4.0 - 0.25;
    while (factor > 1.0 && !fitsAt(factor)) factor -= 0.25;
    fit.factor = std::max(1.0, factor);
    if (!fitsAt(fit.factor)) {
      const QSize room = AvailableClientSize(area, fit.factor);
      fit.clientSize = designSize.boundedTo(room.expandedTo(QSize(1, 1)));
      return fit;
    }
  }
  fit.clientSize = ScaledSize(designSize, fit.factor);
  return fit;
}

void ApplyUiScale(double factor) {
  SetDpiFactor(factor);
  QApplication::setFont(DefaultControlFont());
}
