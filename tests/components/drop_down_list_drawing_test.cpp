// The drop-down list's pictures, probed pixel by pixel: the closed field
// (border, icon, title, current item, handle, the edit field's place), the
// open list (frame, bold current row, hot row, separator line, the scroll bar
// on top), colour swatches, and a list opening upward.
#include "drop_down_test_util.h"

#include <QImage>

#include <algorithm>

#include "components/owner_drawn_button.h"
#include "framework/colorref.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::DropDownTest;
using qzu_test::PumpUntil;

namespace {

COLORREF Pixel(const QImage& image, int x, int y) { return RefFromQColor(image.pixelColor(x, y)); }

// Pixels of exactly `colour` in the rectangle [x0, x1) x [y0, y1).
int CountColour(const QImage& image, int x0, int y0, int x1, int y1, COLORREF colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += Pixel(image, x, y) == colour;
  return n;
}

// Pixels near black: the strokes of black text (not the blue title).
int CountDark(const QImage& image, int x0, int y0, int x1, int y1) {
  int n = 0;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const QColor c = image.pixelColor(x, y);
      n += std::max({c.red(), c.green(), c.blue()}) < 100;
    }
  }
  return n;
}

CWString ThirtyItems() {
  CWString text = u"样本\r\n样本\r\n行2\r\n[-]";
  for (int i = 4; i < 30; ++i) text += u"\r\n行" + CWString::FromInt(i);
  return text;
}

}  // namespace

TEST_F(DropDownTest, AnOpenListShowsBoldCurrentRowHotRowSeparatorAndScrollBar) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 20, 200, ThirtyItems());
  list.SelectDropDownItem(0);
  ClickHandle(list);
  ASSERT_EQ(list.open, 1);
  const int h = list.fieldHeight, gap = 5, rowHeight = list.GetDropDownRowHeight();
  EXPECT_EQ(h, 26);
  EXPECT_EQ(list.opensUpward, 0);
  EXPECT_EQ(list.listHeight, 300 - 20 - h);  // all the room below
  EXPECT_EQ(list.GetHeight(), h + list.listHeight);

  // The scroll bar: one position per row the list can move.
  const int visible = list.CountVisibleDropDownRows();
  ASSERT_GT(visible, 3);
  rg_TavelkinGunDongTiao1& bar = list.ScrollBar();
  EXPECT_TRUE(bar.IsVisible());
  EXPECT_EQ(bar.contentSize, 30);
  EXPECT_EQ(bar.positionCount, 30 - visible + 1);
  const int width = list.GetClientWidth(), barWidth = bar.GetWidth();
  EXPECT_EQ(bar.GetLeft(), width - barWidth - 1);
  EXPECT_EQ(bar.GetTop(), h);
  EXPECT_EQ(bar.GetHeight(), list.GetHeight() - h);

  MoveTo(list, 60, RowY(list, 2));
  ASSERT_EQ(list.hotRow, 2);
  const QImage shown = list.Display().GetImage().copy();
  auto band = [&](int row) { return h + gap + row * rowHeight; };
  const int textRight = width - barWidth - 1;
  // The hot row is red; no other row is.
  EXPECT_GT(CountColour(shown, 0, band(2), textRight, band(3), 0x0000FF), 0);
  EXPECT_EQ(CountColour(shown, 0, band(0), textRight, band(2), 0x0000FF), 0);
  EXPECT_EQ(CountColour(shown, 0, band(4), textRight, band(5), 0x0000FF), 0);
  // The current row is bold: the same text has heavier strokes there.
  const int boldInk = CountDark(shown, 0, band(0), textRight, band(1));
  const int plainInk = CountDark(shown, 0, band(1), textRight, band(2));
  EXPECT_GT(plainInk, 0);
  EXPECT_GT(boldInk, plainInk);
  // The separator: a grey line across the row, ending short of the scroll bar.
  const int lineY = band(3) + rowHeight / 2;
  EXPECT_EQ(Pixel(shown, width / 2, lineY), 0xC0C0C0u);
  EXPECT_EQ(Pixel(shown, 2 * gap, lineY), 0xC0C0C0u);
  EXPECT_EQ(Pixel(shown, width - 2 * gap - barWidth - 1, lineY), 0xC0C0C0u);
  EXPECT_EQ(Pixel(shown, width - 2 * gap - barWidth, lineY), 0xFFFFFFu);
  EXPECT_EQ(CountDark(shown, 0, band(3), textRight, band(4)), 0);
  // The frame around the rows, under the field.
  EXPECT_EQ(Pixel(shown, 0, h + 3), 0xC0C0C0u);
  EXPECT_EQ(Pixel(shown, 5, h + 1), 0xFFFFFFu);
  // On the screen the scroll bar lies over the list: its start box shows.
  const QImage screen = form.GetWidget()->grab().toImage();
  EXPECT_EQ(Pixel(screen, 20 + bar.GetLeft(), 20 + bar.GetTop()), 0xB99D7Fu);
  EXPECT_EQ(Pixel(screen, 20 + 60, 20 + RowY(list, 2)), Pixel(shown, 60, RowY(list, 2)));
}

TEST_F(DropDownTest, TheClosedFieldShowsIconTitleCurrentItemAndHandle) {
  rg_TavelkinZuGeKuang1 list;
  list.SetDropDownTitle(u"输入编码");
  Make(list, form, 20, 20, 240, u"自动识别\n0\nANSI\n0\nUTF-8\n0");
  list.AddDropDownHandleIcon();
  list.SelectDropDownItem(1);
  const int h = list.fieldHeight, gap = 5;
  const int icon = list.pictures.widest;
  EXPECT_EQ(icon, list.lineHeight);
  ASSERT_GT(list.titleWidth, 0);
  const int handle = list.GetDropDownHandleLeft();
  EXPECT_EQ(handle, 240 - h / 4 - h / 8);

  QImage shown = list.Display().GetImage().copy();
  EXPECT_EQ(Pixel(shown, 0, 0), 0xFF8800u);           // border
  EXPECT_EQ(Pixel(shown, 3, h / 2), 0xECECECu);        // field background
  const int titleLeft = gap + icon + gap;
  const int textLeft = titleLeft + list.titleWidth + gap;
  EXPECT_GT(CountColour(shown, gap, 1, gap + icon, h - 1, 0xECECEC), 0);
  EXPECT_LT(CountColour(shown, gap, 1, gap + icon, h - 1, 0xECECEC), icon * (h - 2));  // the icon
  EXPECT_GT(CountColour(shown, titleLeft, 2, textLeft, h - 2, 0xFF8800), 0);            // the title
  EXPECT_EQ(CountDark(shown, titleLeft, 2, textLeft - gap, h - 2), 0);
  EXPECT_GT(CountDark(shown, textLeft, 2, handle, h - 2), 0);                            // "ANSI"
  // The handle: three squares, a = h / 4, s = h / 24, bordered in the
  // border colour while the pointer is away.
  const int a = h / 4, s = h / 24, top = (h - 3 * a - 2 * s) / 2;
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(Pixel(shown, handle, top + k * (a + s)), 0xFF8800u);
    EXPECT_EQ(Pixel(shown, handle + a / 2, top + k * (a + s) + a / 2), 0xF2C9C9u);
  }

  // Over the field the border turns; over the handle the squares do.
  MoveTo(list, 60, h / 2);
  EXPECT_EQ(list.hover, 1);
  EXPECT_EQ(Pixel(list.Display().GetImage(), 0, 0), 0x308DCEu);
  EXPECT_EQ(Pixel(list.Display().GetImage(), handle + a / 2, top + a / 2), 0xF2C9C9u);
  MoveTo(list, handle + 1, h / 2);
  EXPECT_EQ(list.handleHover, 1);
  EXPECT_EQ(Pixel(list.Display().GetImage(), handle + a / 2, top + a / 2), 0x1981F4u);
  EXPECT_EQ(Pixel(list.Display().GetImage(), handle, top), 0xF9B7B7u);

  // An editable list puts its edit field right of the title, and a line at
  // each side of it.
  rg_TavelkinZuGeKuang1 editable;
  editable.style = kDropDownEditable;
  editable.SetDropDownTitle(u"拼音概率");
  Make(editable, form, 20, 80, 240, u"5%\r\n10%");
  editable.SelectDropDownItem(1);
  const int c = editable.titleWidth + 2 * gap;
  rg_Ombrine_MFCJieMian_base::rg_edit_box& field = editable.EditField();
  EXPECT_TRUE(field.IsVisible());
  EXPECT_EQ(field.GetWidget()->geometry(),
            QRect(c + 1, 1, editable.GetDropDownHandleLeft() - h / 8 - c - 1, h - 2));
  EXPECT_EQ(field.GetText(), CWString(u"10%"));
  shown = editable.Display().GetImage().copy();
  EXPECT_EQ(Pixel(shown, c, h / 2), 0xFF8800u);
  EXPECT_EQ(Pixel(shown, field.GetLeft() + field.GetWidth(), h / 2), 0xFF8800u);
  // The field draws no item text of its own behind the edit field.
  EXPECT_EQ(CountDark(shown, c + 1, 2, editable.GetDropDownHandleLeft(), h - 2), 0);
  EXPECT_FALSE(list.EditField().IsVisible());
}

TEST_F(DropDownTest, ColourRowsAreSwatches) {
  rg_TavelkinZuGeKuang1 list;
  list.colourMode = 1;
  Make(list, form, 20, 20, 200, u"自定义|-2\r\n红|255\r\n按钮面|-16777216\r\n蓝|16711680");
  list.SetDropDownColour(0xFF0000);
  EXPECT_EQ(list.currentIndex, 3);
  EXPECT_EQ(list.GetDropDownColour(), 0xFF0000u);
  list.customColour = 0x00FF00;
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  const QImage shown = list.Display().GetImage().copy();
  const int x = 150;  // right of the row texts, left of the swatch's end
  EXPECT_EQ(Pixel(shown, x, RowY(list, 0)), 0x00FF00u);  // -2: the custom colour
  EXPECT_EQ(Pixel(shown, x, RowY(list, 1)), 0x0000FFu);
  EXPECT_EQ(Pixel(shown, x, RowY(list, 2)), 0xF0F0F0u);  // 0xFF000000: the button face
  EXPECT_EQ(Pixel(shown, x, RowY(list, 3)), 0xFF0000u);
  EXPECT_EQ(Pixel(shown, x, list.fieldHeight / 2), 0xFF0000u);  // the field shows the current colour
  EXPECT_EQ(Pixel(shown, 3, RowY(list, 1)), 0xFFFFFFu);         // left of the swatch
}

TEST_F(DropDownTest, AListNearTheBottomOpensUpwardWithTheFieldBelowItsRows) {
  rg_TavelkinZuGeKuang1 list;
  Make(list, form, 20, 250, 200, u"一\r\n二\r\n三\r\n四\r\n五");
  const int h = list.fieldHeight, rowHeight = list.GetDropDownRowHeight();
  ClickText(list);
  ASSERT_EQ(list.open, 1);
  EXPECT_EQ(list.opensUpward, 1);
  EXPECT_EQ(list.listHeight, 5 * rowHeight + 5);
  EXPECT_EQ(list.GetTop(), 250 - list.listHeight);
  EXPECT_EQ(list.GetHeight(), h + list.listHeight);
  EXPECT_FALSE(list.ScrollBar().IsVisible());
  const QImage shown = list.Display().GetImage().copy();
  EXPECT_EQ(Pixel(shown, 0, 0), 0xC0C0C0u);                 // the frame on top
  EXPECT_EQ(Pixel(shown, 0, list.listHeight), 0x308DCEu);  // the field below it, hovered
  MoveTo(list, 40, RowY(list, 4));
  EXPECT_EQ(list.hotRow, 4);
  Click(list, 40, RowY(list, 4));
  EXPECT_EQ(list.open, 0);
  EXPECT_EQ(list.currentIndex, 4);
  EXPECT_EQ(list.GetTop(), 250);
  EXPECT_EQ(list.GetHeight(), h);
  EXPECT_EQ(log.Count("item chosen"), 1);
}

// The row height is the sample text's height in the row font, as the canvas's
// device measures it, at every DPI factor; a list not shown yet measures it
// without giving its canvas an image.
TEST_F(DropDownTest, LineHeightIsTheRowFontsSampleHeightMeasuredWithoutACanvasImage) {
  int previous = 0;
  for (double factor : {1.0, 1.5, 2.0}) {
    SetDpiFactor(factor);
    rg_TavelkinZuGeKuang1 list;
    list.SetVisible(false);
    ASSERT_EQ(list.Create(&form, 20, 20, 240, 26, 1), 1);
    list.AddDropDownHandleIcon();
    const auto* canvas = list.Canvas().GetWindowObject()->WndAs<CVWnd_Painter>();
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->Image()->isNull()) << factor;

    rg_Tavelkin_MingLingJi::rg_TavelkinZiTiLei1 rowFont;
    rowFont.CopyFrom(list.font);
    rowFont.bold = 0;
    CQzuDC& dc = list.Canvas().GetDC();
    dc.SetFontText(rowFont.FormatFontText());
    EXPECT_EQ(list.lineHeight, dc.GetTextExtent(kLineHeightSample).height()) << factor;
    EXPECT_GT(list.lineHeight, previous) << factor;
    previous = list.lineHeight;
  }
  SetDpiFactor(1.0);
}
