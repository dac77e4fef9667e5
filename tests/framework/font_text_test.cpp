// The framework's reading of a font description text: the record it keeps
// and the QFont it makes, field by field, and text written at an angle.
#include "framework/font_text.h"

#include <gtest/gtest.h>

#include <QImage>

#include "common/dpi.h"
#include "framework/drawing_dc.h"

namespace {

// Sets the DPI factor for one test and puts the previous one back.
class DpiFactorScope {
 public:
  explicit DpiFactorScope(double factor) : m_before(GetDpiFactor()) { SetDpiFactor(factor); }
  ~DpiFactorScope() { SetDpiFactor(m_before); }

 private:
  double m_before;
};

TEST(FontText, EachFieldOfTheDescriptionAsTheFrameworkReadsIt) {
  DpiFactorScope dpi(1.0);
  const QFont standard = DefaultControlFont();
  ASSERT_EQ(standard.pixelSize(), 12);  // 9 points at 96 DPI
  struct Row {
    const char* name;
    const char16_t* text;
    const char16_t* face;  // empty: the default face
    int pixelHeight;       // 0: the default height
    int pointSize;
    bool bold, italic, underline, strikeout;
    int angle;
  };
  const Row rows[] = {
      {"all fields", u"微软雅黑, 11, 0, 0, 0, 0, 0", u"微软雅黑", 15, 11, false, false, false, false, 0},
      {"each flag by its own piece", u"Arial,10,1,0,0,0,0", u"Arial", 13, 10, true, false, false, false, 0},
      {"italic alone", u"Arial,10,0,1,0,0,0", u"Arial", 13, 10, false, true, false, false, 0},
      {"underline alone", u"Arial,10,0,0,1,0,0", u"Arial", 13, 10, false, false, true, false, 0},
      {"strikeout alone", u"Arial,10,0,0,0,1,0", u"Arial", 13, 10, false, false, false, true, 0},
      {"only exactly 1 sets a flag", u"Arial,10,2,true,真,-1,0", u"Arial", 13, 10, false, false, false, false, 0},
      {"blanks around pieces", u" Arial , 10 , 1 , 1 , 1 , 1 , 900 ", u"Arial", 13, 10, true, true, true, true, 900},
      {"a negative size counts by its magnitude", u"宋体,-11,0,0,0,0,0", u"宋体", 15, 11, false, false, false, false, 0},
      {"a size under a pixel's worth still gives a pixel", u"宋体,1", u"宋体", 1, 1, false, false, false, false, 0},
      {"size 0 keeps the default height", u"宋体,0,1", u"宋体", 0, 9, true, false, false, false, 0},
      {"a size without digits keeps it too", u"宋体,x", u"宋体", 0, 9, false, false, false, false, 0},
      {"an empty face keeps the default face", u",11", u"", 15, 11, false, false, false, false, 0},
      {"the empty text is the default font", u"", u"", 0, 9, false, false, false, false, 0},
      {"the face is cut to 31 units", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789,9",
       u"ABCDEFGHIJKLMNOPQRSTUVWXYZ01234", 12, 9, false, false, false, false, 0},
      {"the face is not cut between the halves of a pair", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123\U0001F600Z,9",
       u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123", 12, 9, false, false, false, false, 0},
      {"a pair that ends at the 31st unit stays", u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012\U0001F600Z,9",
       u"ABCDEFGHIJKLMNOPQRSTUVWXYZ012\U0001F600", 12, 9, false, false, false, false, 0},
      {"the most negative size is the largest font", u"宋体,-2147483648", u"宋体", kFontPixelHeightLimit,
       2147483647, false, false, false, false, 0},
      {"a size below the 32-bit range saturates the same way", u"宋体,-99999999999", u"宋体",
       kFontPixelHeightLimit, 2147483647, false, false, false, false, 0},
      {"a negative angle turns the other way", u"Arial,10,0,0,0,0,-900", u"Arial", 13, 10, false, false, false, false,
       2700},
      {"an angle beyond a turn is taken modulo 3600", u"Arial,10,0,0,0,0,7250", u"Arial", 13, 10, false, false, false,
       false, 50},
      {"a whole negative turn is level", u"Arial,10,0,0,0,0,-3600", u"Arial", 13, 10, false, false, false, false, 0},
      {"an angle past the 32-bit range saturates", u"Arial,10,0,0,0,0,99999999999", u"Arial", 13, 10, false, false,
       false, false, 2147483647 % 3600},
      {"pieces past the seventh are ignored", u"Arial,10,1,0,0,0,450,1,1", u"Arial", 13, 10, true, false, false, false,
       450},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    const QzuFontFields fields = ReadFontFields(r.text);
    EXPECT_EQ(fields.face, CWString(r.face));
    EXPECT_EQ(fields.pixelHeight, r.pixelHeight);
    EXPECT_EQ(fields.pointSize, r.pointSize);
    EXPECT_EQ(fields.bold, r.bold);
    EXPECT_EQ(fields.italic, r.italic);
    EXPECT_EQ(fields.underline, r.underline);
    EXPECT_EQ(fields.strikeout, r.strikeout);
    EXPECT_EQ(fields.escapement, r.angle);
    EXPECT_EQ(fields.orientation, r.angle);

    const QFont font = QFontFromDescription(r.text);
    const QString face = *r.face ? QString::fromUtf16(r.face) : standard.family();
    EXPECT_EQ(font.family(), face);
    EXPECT_EQ(font.pixelSize(), r.pixelHeight ? r.pixelHeight : standard.pixelSize());
    EXPECT_EQ(font.weight(), r.bold ? QFont::Bold : QFont::Normal);
    EXPECT_EQ(font.italic(), r.italic);
    EXPECT_EQ(font.underline(), r.underline);
    EXPECT_EQ(font.strikeOut(), r.strikeout);
  }
}

TEST(FontText, TheHeightFollowsTheDpiFactor) {
  DpiFactorScope dpi(1.5);
  EXPECT_EQ(ReadFontFields(u"宋体,11").pixelHeight, 22);   // 144 × 11 / 72
  EXPECT_EQ(ReadFontFields(u"宋体,-9").pixelHeight, 18);
  EXPECT_EQ(ReadFontFields(u"宋体,1").pixelHeight, 2);     // 2.0
  EXPECT_EQ(QFontFromDescription(u",").pixelSize(), 18);  // the default, 9 points
  EXPECT_EQ(ReadFontFields(u"宋体,2147483647").pixelHeight, kFontPixelHeightLimit);
  EXPECT_EQ(ReadFontFields(u"宋体,-2147483648").pixelHeight, kFontPixelHeightLimit);
  SetDpiFactor(1.125);  // 108 DPI: a point is a pixel and a half, so halves round up
  EXPECT_EQ(ReadFontFields(u"宋体,1").pixelHeight, 2);
  EXPECT_EQ(ReadFontFields(u"宋体,-3").pixelHeight, 5);
  EXPECT_EQ(ReadFontFields(u"宋体,2").pixelHeight, 3);
}

// Ink of `colour` in a region of the image.
int InkIn(const QImage& image, QRect region) {
  int ink = 0;
  for (int y = region.top(); y <= region.bottom(); ++y)
    for (int x = region.left(); x <= region.right(); ++x)
      if (image.pixelColor(x, y).red() > 160 && image.pixelColor(x, y).green() < 110) ++ink;
  return ink;
}

TEST(FontText, TextIsWrittenAlongTheDescribedAngle) {
  DpiFactorScope dpi(1.0);
  QImage image(120, 120, QImage::Format_RGB32);
  CQzuDC dc(&image);
  dc.SetTextColour(0x0000FF);
  dc.SetBkMode(kBkTransparent);

  dc.Clear(0xFFFFFF);
  dc.SetFontText(u"Arial, 16, 0, 0, 0, 0, 0");
  EXPECT_EQ(dc.GetEscapement(), 0);
  dc.TextOut(10, 40, u"WWWW");
  EXPECT_GT(InkIn(image, QRect(12, 40, 100, 30)), 40) << "level text runs to the right";
  EXPECT_EQ(InkIn(image, QRect(0, 70, 120, 50)), 0);

  // 2700 tenths (270° counter-clockwise): the text runs down from its start,
  // its glyphs standing to the left of that line.
  dc.Clear(0xFFFFFF);
  dc.SetFontText(u"Arial, 16, 0, 0, 0, 0, -900");
  EXPECT_EQ(dc.GetEscapement(), 2700);
  dc.TextOut(60, 10, u"WWWW");
  EXPECT_GT(InkIn(image, QRect(30, 12, 31, 80)), 40);
  EXPECT_EQ(InkIn(image, QRect(62, 0, 58, 120)), 0) << "nothing right of the start";

  // 900 tenths: up from its start, the glyphs to the right.
  dc.Clear(0xFFFFFF);
  dc.SetFontText(u"Arial, 16, 0, 0, 0, 0, 900");
  dc.TextOut(60, 110, u"WWWW");
  EXPECT_GT(InkIn(image, QRect(60, 28, 30, 80)), 40);
  EXPECT_EQ(InkIn(image, QRect(0, 0, 58, 120)), 0) << "nothing left of the start";
  EXPECT_EQ(InkIn(image, QRect(0, 112, 120, 8)), 0) << "nothing below the start";

  // A QFont given directly has no angle.
  dc.SetFont(DefaultControlFont());
  EXPECT_EQ(dc.GetEscapement(), 0);
}

}  // namespace
