// What the main window writes can be read: pinyin tone letters and the other
// characters the functions produce draw ink in both editors and on a button,
// and Chinese still draws in the face standing in for "微软雅黑".
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QRawFont>
#include <QStringList>

#include "framework/ui_font.h"
#include "main_window_fixture.h"

namespace qzu_test {
namespace {

// Dark pixels of a widget as it is drawn now.
int InkOf(QWidget* widget) {
  const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int ink = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 140) ++ink;
  return ink;
}

class MainWindowGlyphsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    for (const char* face : {"微软雅黑", "Microsoft YaHei"})
      m_savedSubstitutes << QString::fromUtf8(face) + QLatin1Char('=') +
                                QFont::substitutes(QString::fromUtf8(face)).join(QLatin1Char(','));
    m_face = InstallUiFontSubstitution();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    for (const QString& saved : m_savedSubstitutes) {
      const QString face = saved.section(QLatin1Char('='), 0, 0);
      QFont::removeSubstitutions(face);
      const QString list = saved.section(QLatin1Char('='), 1);
      if (!list.isEmpty()) QFont::insertSubstitutions(face, list.split(QLatin1Char(',')));
    }
  }

  // The ink `text` adds over a blank in each place a user reads it.
  struct Ink {
    int input, result, button;
  };
  Ink InkAdded(Window& w, const CWString& text) {
    auto measure = [&](const CWString& t) {
      w.InputEditor.SetCodeEditText(t);
      w.ResultEditor.SetCodeEditText(t);
      w.EncodeButton.SetButtonText(t);
      w.EncodeButton.RedrawButton();
      PumpFor(10);
      return Ink{InkOf(w.InputEditor.GetWidget()), InkOf(w.ResultEditor.GetWidget()),
                 InkOf(w.EncodeButton.GetWidget())};
    };
    const Ink blank = measure(u" ");
    const Ink drawn = measure(text);
    return {drawn.input - blank.input, drawn.result - blank.result, drawn.button - blank.button};
  }

  QString m_face;
  QStringList m_savedSubstitutes;
};

TEST_F(MainWindowGlyphsTest, TheStandInFaceDrawsEverythingTheProgramWrites) {
  ASSERT_FALSE(m_face.isEmpty()) << "no CJK font installed";
  EXPECT_TRUE(FamilyDrawsText(m_face, UiFontSample())) << m_face.toStdString();
  for (const char* face : {"微软雅黑", "Microsoft YaHei"})
    EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8(face))).family(), m_face) << face;
  // A face that maps the tone letters to empty glyphs is passed over.
  if (QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei"))) {
    EXPECT_FALSE(FamilyDrawsText(QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("ǎ")));
  }
}

TEST_F(MainWindowGlyphsTest, ToneLettersAndChineseDrawInkInBothEditorsAndOnAButton) {
  Window& w = Open();
  const char16_t* const texts[] = {u"ǎ", u"ǐ", u"ǒ", u"ǔ", u"ǚ", u"ǖ", u"ǘ", u"ǜ", u"ā", u"é",
                                   u"α", u"Ж", u"♥", u"∀", u"Ａ", u"中"};
  for (const char16_t* text : texts) {
    SCOPED_TRACE(CWString(text).ToUtf8());
    const Ink ink = InkAdded(w, CWString(text));
    EXPECT_GT(ink.input, 8);
    EXPECT_GT(ink.result, 8);
    EXPECT_GT(ink.button, 8);
  }
  // The editors and the button write Chinese in the chosen face.
  EXPECT_EQ(QFontInfo(w.EncodeButton.GetWidget()->font()).family(), m_face);
  QFont editorFace(QStringLiteral("Microsoft YaHei"));
  editorFace.setStyleStrategy(QFont::NoFontMerging);
  EXPECT_EQ(QRawFont::fromFont(editorFace).familyName(), m_face);
  EXPECT_TRUE(QRawFont::fromFont(editorFace).supportsCharacter(QChar(u'中')));
}

}  // namespace
}  // namespace qzu_test
