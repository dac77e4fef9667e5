#include "framework/colour_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>

#include <functional>
#include <utility>

#include "framework/colorref.h"
#include "framework/qt_text.h"

namespace {

constexpr int kScaleTop = 240;
constexpr int kCellSide = 18;

const char16_t* const kDisplayNames[kColourDisplayCount] = {u"十进制", u"十六进制", u"红", u"绿",
                                                            u"蓝",     u"色调",     u"饱和度", u"亮度"};
const char16_t* const kSliderNames[3] = {u"色调", u"饱和度", u"亮度"};

// A right release on a cell: Qt's buttons answer only the left button.
class RightClickFilter : public QObject {
 public:
  RightClickFilter(QObject* parent, std::function<void()> onRightClick)
      : QObject(parent), m_onRightClick(std::move(onRightClick)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      m_onRightClick();
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_onRightClick;
};

// The window's close (its close box, or a button): Qt only hides it.
class CloseFilter : public QObject {
 public:
  CloseFilter(QObject* parent, std::function<void()> onClose) : QObject(parent), m_onClose(std::move(onClose)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close) m_onClose();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> m_onClose;
};

void Paint(QWidget* swatch, COLORREF colour) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, QColorFromRef(colour));
  swatch->setPalette(palette);
}

}  // namespace

CQzuColourDialog::~CQzuColourDialog() { delete m_window.data(); }

const std::array<COLORREF, CQzuColourDialog::kCellCount>& CQzuColourDialog::CellColours() {
  static const std::array<COLORREF, kCellCount> colours = {
      0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x0000FF, 0x000080, 0x00FFFF, 0x008080,
      0x00FF00, 0x008000, 0xFFFF00, 0x808000, 0xFF0000, 0x800000, 0xFF00FF, 0x800080};
  return colours;
}

bool CQzuColourDialog::RecreateColourWindow() {
  delete m_window.data();
  m_pinnedCell = -1;
  pinned = 0;
  resultColour = kNoColourChosen;
  Build();
  return ColourWindowExists();
}

void CQzuColourDialog::Build() {
  auto* window = new QWidget(nullptr, Qt::Tool);
  m_window = window;
  m_closed = false;
  window->installEventFilter(new CloseFilter(window, [this] { m_closed = true; }));
  auto* grid = new QGridLayout(window);

  auto* swatchRow = new QHBoxLayout;
  for (int i = 0; i < 2; ++i) {
    auto* swatch = new QWidget(window);
    swatch->setAutoFillBackground(true);
    swatch->setFixedSize(i == 0 ? 96 : 48, 40);
    m_swatches[static_cast<size_t>(i)] = swatch;
    swatchRow->addWidget(swatch);
  }
  swatchRow->addStretch();
  grid->addLayout(swatchRow, 0, 0, 1, 4);

  for (int i = 0; i < 3; ++i) {
    grid->addWidget(new QLabel(ToQString(kSliderNames[i]), window), 1 + i, 0);
    auto* slider = new QSlider(Qt::Horizontal, window);
    slider->setRange(0, kScaleTop);
    QObject::connect(slider, &QSlider::valueChanged, window, [this, i](int value) { OnSliderMoved(i, value); });
    m_sliders[static_cast<size_t>(i)] = slider;
    grid->addWidget(slider, 1 + i, 1, 1, 3);
  }

  auto* cellRow = new QHBoxLayout;
  cellRow->setSpacing(2);
  for (int i = 0; i < kCellCount; ++i) {
    auto* cell = new QPushButton(window);
    cell->setFixedSize(kCellSide, kCellSide);
    // A style sheet: a style's own button face would cover a palette colour.
    cell->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid #808080;")
                            .arg(QColorFromRef(CellColours()[static_cast<size_t>(i)]).name()));
    QObject::connect(cell, &QPushButton::clicked, window, [this, i] { OnCellClicked(i); });
    cell->installEventFilter(new RightClickFilter(cell, [this, i] { OnCellRightClicked(i); }));
    m_cells[static_cast<size_t>(i)] = cell;
    cellRow->addWidget(cell);
  }
  grid->addLayout(cellRow, 4, 0, 1, 4);

  for (int i = 0; i < kColourDisplayCount; ++i) {
    grid->addWidget(new QLabel(ToQString(kDisplayNames[i]), window), 5 + i / 2, (i % 2) * 2);
    auto* value = new QLabel(window);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_displays[static_cast<size_t>(i)] = value;
    grid->addWidget(value, 5 + i / 2, (i % 2) * 2 + 1);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* ok = new QPushButton(QStringLiteral("确定"), window);
  auto* cancel = new QPushButton(QStringLiteral("取消"), window);
  QObject::connect(ok, &QPushButton::clicked, window, [this] { Finish(m_shownColour); });
  QObject::connect(cancel, &QPushButton::clicked, window, [this] { Finish(kNoColourChosen); });
  m_ok = ok;
  m_cancel = cancel;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  grid->addLayout(buttons, 9, 0, 1, 4);
  window->adjustSize();
}

QSize CQzuColourDialog::ColourWindowSize() const {
  if (!m_window) return QSize();
  return m_window->frameGeometry().size();
}

void CQzuColourDialog::MoveColourWindow(int x, int y) {
  if (m_window) m_window->move(x, y);
}

void CQzuColourDialog::ShowColourWindow() {
  if (!m_window) return;
  m_window->show();
  m_window->raise();
  m_window->activateWindow();
}

void CQzuColourDialog::SetColourDisplay(ColourDisplay display, const CWString& text) {
  if (QLabel* label = Display(display)) label->setText(ToQString(text));
}

void CQzuColourDialog::SetColourSwatches(COLORREF colour, COLORREF companion) {
  m_shownColour = colour;
  if (!m_window) return;
  Paint(m_swatches[0], colour);
  Paint(m_swatches[1], companion);
  // The sliders follow the values without asking for a colour again.
  m_settingSliders = true;
  const int32_t values[3] = {hue, saturation, lightness};
  for (size_t i = 0; i < 3; ++i) m_sliders[i]->setValue(values[i]);
  m_settingSliders = false;
}

void CQzuColourDialog::SetColourWindowCaption(const CWString& caption) {
  if (m_window) m_window->setWindowTitle(ToQString(caption));
}

QSlider* CQzuColourDialog::Slider(int which) const {
  return which >= 0 && which < 3 ? m_sliders[static_cast<size_t>(which)].data() : nullptr;
}

QAbstractButton* CQzuColourDialog::Cell(int index) const {
  return index >= 0 && index < kCellCount ? m_cells[static_cast<size_t>(index)].data() : nullptr;
}

QLabel* CQzuColourDialog::Display(ColourDisplay display) const {
  return display >= 0 && display < kColourDisplayCount ? m_displays[static_cast<size_t>(display)].data() : nullptr;
}

QWidget* CQzuColourDialog::Swatch(int which) const {
  return which >= 0 && which < 2 ? m_swatches[static_cast<size_t>(which)].data() : nullptr;
}

void CQzuColourDialog::OnSliderMoved(int which, int value) {
  if (m_settingSliders || pinned) return;
  int32_t* const values[3] = {&hue, &saturation, &lightness};
  *values[which] = value;
  if (colourPicked) colourPicked(kColourFromHsl);
}

void CQzuColourDialog::OnCellClicked(int index) {
  if (pinned) return;
  if (colourPicked) colourPicked(CellColours()[static_cast<size_t>(index)]);
}

void CQzuColourDialog::OnCellRightClicked(int index) {
  const bool unpin = pinned && m_pinnedCell == index;
  pinned = unpin ? 0 : 1;
  m_pinnedCell = unpin ? -1 : index;
  for (auto& slider : m_sliders)
    if (slider) slider->setEnabled(!pinned);
  if (pinnedChanged) pinnedChanged();
}

void CQzuColourDialog::Finish(COLORREF result) {
  resultColour = result;
  if (m_window) m_window->close();
}
