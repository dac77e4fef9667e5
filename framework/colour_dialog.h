#pragma once
// CQzuColourDialog: a small colour window of our own (see
// framework/colour_window.h): a tool window with the two swatches, sliders
// for hue, saturation and lightness (0..240), a row of basic colour cells,
// the eight value displays and the buttons "确定" and "取消".
//
// Moving a slider sets the window's value and asks for the colour of its
// hue, saturation and lightness (colourPicked(kColourFromHsl)); a left click
// on a cell asks for that cell's colour unless the values are pinned; a right
// click on a cell pins the values, or unpins them when it is the cell that
// pinned them (pinnedChanged). "确定" makes the shown colour the result and
// closes; "取消" and the close box close with the result -1. A closed
// window no longer exists for the caller; the next RecreateColourWindow
// replaces it.
// UI thread only.
#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QSlider>
#include <QWidget>

#include <array>
#include <functional>

#include "framework/colour_window.h"

class CQzuColourDialog : public IColourWindow {
 public:
  CQzuColourDialog() = default;
  ~CQzuColourDialog() override;
  CQzuColourDialog(const CQzuColourDialog&) = delete;
  CQzuColourDialog& operator=(const CQzuColourDialog&) = delete;

  bool RecreateColourWindow() override;
  bool ColourWindowExists() const override { return !m_window.isNull() && !m_closed; }
  QSize ColourWindowSize() const override;
  void MoveColourWindow(int x, int y) override;
  void ShowColourWindow() override;
  void SetColourDisplay(ColourDisplay display, const CWString& text) override;
  void SetColourSwatches(COLORREF colour, COLORREF companion) override;
  void SetColourWindowCaption(const CWString& caption) override;

  // The parts, for tests and for the demo; null without a window.
  QWidget* Window() const { return m_window; }
  QSlider* Slider(int which) const;  // 0 hue, 1 saturation, 2 lightness
  QAbstractButton* Cell(int index) const;
  QAbstractButton* OkButton() const { return m_ok; }
  QAbstractButton* CancelButton() const { return m_cancel; }
  QLabel* Display(ColourDisplay display) const;
  QWidget* Swatch(int which) const;  // 0 the colour, 1 its companion
  COLORREF ShownColour() const { return m_shownColour; }

  // The colours of the cells, COLORREF.
  static constexpr int kCellCount = 16;
  static const std::array<COLORREF, kCellCount>& CellColours();

 private:
  void Build();
  void OnSliderMoved(int which, int value);
  void OnCellClicked(int index);
  void OnCellRightClicked(int index);
  void Finish(COLORREF result);

  QPointer<QWidget> m_window;
  std::array<QPointer<QSlider>, 3> m_sliders;
  std::array<QPointer<QAbstractButton>, kCellCount> m_cells;
  std::array<QPointer<QLabel>, kColourDisplayCount> m_displays;
  std::array<QPointer<QWidget>, 2> m_swatches;
  QPointer<QAbstractButton> m_ok, m_cancel;
  COLORREF m_shownColour = 0;
  int m_pinnedCell = -1;
  bool m_closed = true;
  bool m_settingSliders = false;
};
