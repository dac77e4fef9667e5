// The Scintilla host: text in and out as UTF-8, messages by number, and
// notifications reaching the listener.
#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <string>

#include "framework/scintilla_host.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;

namespace {

struct Notes : IScintillaEventListener {
  std::vector<QzuScintillaNotification> seen;
  std::vector<std::string> texts;
  intptr_t OnScintillaNotification(const QzuScintillaNotification& n) override {
    seen.push_back(n);
    texts.emplace_back(n.text && n.length > 0 ? std::string(n.text, static_cast<size_t>(n.length)) : std::string());
    return 0;
  }
};

class ScintillaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
    ASSERT_EQ(edit.Create(&form, 0, 0, 300, 200), 1);
  }
  void TearDown() override { form.DestroyWindow(); }
  CQzuWinForm form;
  rg_scintilla_edit edit;
};

}  // namespace

TEST_F(ScintillaTest, ChineseAndEmojiGoInAndComeOutUnchanged) {
  const CWString text = u"中國ABC123\r\n😀汉字";
  edit.SetText(text);
  EXPECT_EQ(edit.GetText(), text);
  // The editor holds UTF-8: SCI_GETLENGTH counts its bytes.
  EXPECT_EQ(edit.Send(2183), static_cast<intptr_t>(text.ToUtf8().size()));
  edit.SetText(u"中國ABC123");
  EXPECT_EQ(edit.Send(2183), 12);
  edit.SetText(u"");
  EXPECT_EQ(edit.GetText(), u"");
}

TEST_F(ScintillaTest, AZeroUnitEndsTheTextOnTheWayIn) {
  const char16_t units[] = {u'a', u'b', 0, u'c'};
  edit.SetText(CWString(units, 4));
  EXPECT_EQ(edit.GetText(), u"ab");
}

TEST_F(ScintillaTest, DirectFunctionAnswersLikeTheSendFunction) {
  CVWnd_Scintilla* host = edit.Host();
  ASSERT_NE(host->DirectFunction(), nullptr);
  ASSERT_NE(host->DirectPointer(), 0);
  const std::string bytes = CWString(u"编码😀").ToUtf8();
  host->DirectFunction()(host->DirectPointer(), 2181, 0, reinterpret_cast<intptr_t>(bytes.c_str()));
  EXPECT_EQ(host->GetTextUtf8(), bytes);
  EXPECT_EQ(host->Send(2137), 65001);  // SCI_GETCODEPAGE
}

TEST(ScintillaWithoutWindow, TextOperationsDoNothing) {
  rg_scintilla_edit edit;
  edit.SetText(u"中");
  EXPECT_EQ(edit.GetText(), u"");
  EXPECT_EQ(edit.Send(2183), 0);
  EXPECT_EQ(edit.Host()->DirectFunction(), nullptr);
}

TEST_F(ScintillaTest, InsertionsReachTheListenerWithTheirUtf8Text) {
  Notes notes;
  edit.Host()->SetListener(&notes);
  const std::string bytes = CWString(u"字a").ToUtf8();
  edit.Send(2001, bytes.size(), reinterpret_cast<intptr_t>(bytes.c_str()));  // SCI_ADDTEXT
  bool inserted = false;
  for (size_t i = 0; i < notes.seen.size(); ++i) {
    if (notes.seen[i].code == kScnModified && (notes.seen[i].modificationType & 0x1)) {
      inserted = true;
      EXPECT_EQ(notes.texts[i], bytes);
      EXPECT_EQ(notes.seen[i].length, 4);
      EXPECT_EQ(notes.seen[i].position, 0);
    }
  }
  EXPECT_TRUE(inserted);
  edit.Host()->SetListener(nullptr);
  const size_t before = notes.seen.size();
  edit.Send(2001, 1, reinterpret_cast<intptr_t>("b"));
  EXPECT_EQ(notes.seen.size(), before);
}

// Wrapping a text above the limit would lay all of it out while it is set:
// such a text is shown unwrapped, the wrap mode asked for stays what the
// editor answers, and it applies again to a smaller text.
TEST_F(ScintillaTest, TextsAboveTheWrapLimitAreShownUnwrapped) {
  constexpr unsigned kSetWrapMode = 2268, kGetWrapMode = 2269;
  constexpr int kWrapChar = 2;
  QsciScintilla* editor = edit.Host()->Editor();
  const auto actual = [editor] { return editor->SendScintilla(kGetWrapMode); };
  edit.Send(kSetWrapMode, kWrapChar);
  EXPECT_EQ(actual(), kWrapChar);

  std::u16string big(kScintillaWrapTextLimit / 2 + 8, u'字');  // 3 UTF-8 bytes each
  edit.SetText(CWString(big));
  EXPECT_EQ(actual(), 0);
  EXPECT_TRUE(edit.Host()->WrapHeldForSize());
  EXPECT_EQ(edit.Send(kGetWrapMode), kWrapChar);
  EXPECT_EQ(edit.GetText().GetLength(), big.size());
  // Asked again while held: remembered, not applied.
  edit.Send(kSetWrapMode, 1);
  EXPECT_EQ(actual(), 0);

  edit.SetText(u"中國ABC123");
  EXPECT_EQ(actual(), 1);
  EXPECT_FALSE(edit.Host()->WrapHeldForSize());

  // Without a wrap mode asked for, nothing changes for a big text.
  edit.Send(kSetWrapMode, 0);
  edit.SetText(CWString(big));
  EXPECT_EQ(actual(), 0);
  EXPECT_FALSE(edit.Host()->WrapHeldForSize());
}

// A line longer than the shown limit is drawn up to a character's first byte
// at the limit, with a note under it; the text stays whole, the styling
// follows edits, and none of it reaches the listener as a change.
TEST_F(ScintillaTest, LongLinesAreDrawnOnlyUpToTheLimit) {
  using B = QsciScintillaBase;
  QsciScintilla* editor = edit.Host()->Editor();
  const auto send = [editor](unsigned m, uintptr_t w = 0, intptr_t l = 0) { return editor->SendScintilla(m, w, l); };
  const auto styleAt = [&](intptr_t p) { return static_cast<int>(send(B::SCI_GETSTYLEAT, p)); };
  const auto note = [&](intptr_t line) {
    std::string text(static_cast<size_t>(send(B::SCI_ANNOTATIONGETTEXT, line)), '\0');
    send(B::SCI_ANNOTATIONGETTEXT, line, reinterpret_cast<intptr_t>(text.data()));
    return text;
  };
  Notes notes;
  edit.Host()->SetListener(&notes);

  // The limit falls on the second byte of 字, which is hidden whole.
  const std::u16string longLine = std::u16string(kScintillaLineShownBytes - 1, u'A') + u"字" + std::u16string(5000, u'B');
  const std::u16string text = u"head\r\n" + longLine + u"\r\nshort";
  edit.SetText(CWString(text));
  EXPECT_EQ(edit.GetText().GetLength(), text.size());
  EXPECT_TRUE(edit.Host()->LineHiddenInPart());
  const intptr_t start = 6, boundary = start + kScintillaLineShownBytes - 1, end = boundary + 3 + 5000;
  EXPECT_EQ(styleAt(boundary - 1), 0);
  EXPECT_EQ(styleAt(boundary), kScintillaHiddenTailStyle);
  EXPECT_EQ(styleAt(end - 1), kScintillaHiddenTailStyle);
  EXPECT_EQ(styleAt(end + 2), 0);  // the short line after it
  EXPECT_EQ(note(0), "");
  EXPECT_EQ(note(1), LongLineNote(kScintillaLineShownBytes + 5000, kScintillaLineShownBytes - 1));
  EXPECT_EQ(note(2), "");
  // Nothing after the limit takes room on the screen.
  EXPECT_EQ(send(B::SCI_POINTXFROMPOSITION, 0, end), send(B::SCI_POINTXFROMPOSITION, 0, boundary));
  EXPECT_GT(send(B::SCI_POINTXFROMPOSITION, 0, boundary), send(B::SCI_POINTXFROMPOSITION, 0, start));

  // A new default font keeps the tail hidden.
  edit.Send(B::SCI_STYLECLEARALL);
  EXPECT_EQ(send(B::SCI_STYLEGETVISIBLE, kScintillaHiddenTailStyle), 0);

  // Cut to a short line: drawn whole, without a note. (The editor refuses
  // to change hidden text unless the message comes through the host.)
  send(B::SCI_SETSEL, start + 10, end);
  edit.Send(B::SCI_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
  EXPECT_EQ(send(B::SCI_GETLENGTH), start + 10 + 7);
  EXPECT_EQ(styleAt(start + 9), 0);
  EXPECT_EQ(note(1), "");
  // Undone: long again.
  send(B::SCI_UNDO);
  EXPECT_EQ(styleAt(end - 1), kScintillaHiddenTailStyle);
  EXPECT_EQ(note(1), LongLineNote(kScintillaLineShownBytes + 5000, kScintillaLineShownBytes - 1));
  // A long line typed or pasted at the end.
  const std::string pasted(static_cast<size_t>(kScintillaLineShownBytes) + 10, 'C');
  send(B::SCI_APPENDTEXT, pasted.size(), reinterpret_cast<intptr_t>(pasted.c_str()));
  EXPECT_EQ(styleAt(send(B::SCI_GETLENGTH) - 1), kScintillaHiddenTailStyle);
  EXPECT_NE(note(2), "");

  for (const QzuScintillaNotification& n : notes.seen) {
    if (n.code != kScnModified) continue;
    EXPECT_EQ(n.modificationType & (B::SC_MOD_CHANGESTYLE | B::SC_MOD_CHANGEANNOTATION), 0);
  }

  // A short text in place of it all: no line hidden, no note left.
  edit.SetText(u"中國ABC123");
  EXPECT_EQ(send(B::SCI_STYLEGETVISIBLE, kScintillaHiddenTailStyle), 0);
  EXPECT_FALSE(edit.Host()->LineHiddenInPart());
  EXPECT_EQ(note(0), "");
  EXPECT_EQ(styleAt(0), 0);
  edit.Host()->SetListener(nullptr);
}

// The hidden tail is edited with the keys as any text is; moving and copying
// keys leave it hidden, so that they never lay the whole line out.
TEST_F(ScintillaTest, KeysEditALineDrawnInPart) {
  using B = QsciScintillaBase;
  QsciScintilla* editor = edit.Host()->Editor();
  const auto send = [editor](unsigned m, uintptr_t w = 0, intptr_t l = 0) { return editor->SendScintilla(m, w, l); };
  const auto hidden = [&] { return send(B::SCI_STYLEGETVISIBLE, kScintillaHiddenTailStyle) == 0; };
  const std::u16string line(kScintillaLineShownBytes + 100, u'Q');
  edit.SetText(CWString(line));
  form.SetVisible(true);
  editor->setFocus();

  send(B::SCI_DOCUMENTEND);
  QTest::keyClick(editor, Qt::Key_Left);
  QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(hidden());

  send(B::SCI_DOCUMENTEND);
  QTest::keyClick(editor, Qt::Key_Backspace);
  EXPECT_EQ(send(B::SCI_GETLENGTH), kScintillaLineShownBytes + 99);
  EXPECT_TRUE(hidden());
  QTest::keyClick(editor, Qt::Key_X);
  EXPECT_EQ(send(B::SCI_GETLENGTH), kScintillaLineShownBytes + 100);
  EXPECT_EQ(send(B::SCI_GETSTYLEAT, kScintillaLineShownBytes + 99), kScintillaHiddenTailStyle);

  // Select all and type over it.
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_Z);
  EXPECT_EQ(edit.GetText(), CWString(u"z"));
  EXPECT_FALSE(edit.Host()->LineHiddenInPart());

  // A key that changes nothing (the editor is read-only) has the tail
  // hidden again before the next paint.
  edit.SetText(CWString(line));
  send(B::SCI_SETREADONLY, 1);
  send(B::SCI_SELECTALL);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(send(B::SCI_GETLENGTH), kScintillaLineShownBytes + 100);
  QCoreApplication::processEvents();
  EXPECT_TRUE(hidden());
  send(B::SCI_SETREADONLY, 0);
  send(B::SCI_SELECTALL);
  QTest::keyClick(editor, Qt::Key_Delete);
  EXPECT_EQ(send(B::SCI_GETLENGTH), 0);
}

// At a fractional device-pixel ratio an editor whose edges fall between
// device pixels still shows its frame on all four sides: the frame colour is
// the one drawn at ratio 1, found in a band of device pixels across each edge.
TEST(ScintillaFrame, EveryEdgeIsDrawnAtFractionalRatios) {
  CQzuWinForm form;
  rg_scintilla_edit edit;
  ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 200), 1);
  // Odd positions and ends: at 1.5 each edge lies on half a device pixel.
  const QRect box(15, 49, 203, 101);
  ASSERT_EQ(edit.Create(&form, box.x(), box.y(), box.width(), box.height()), 1);
  QWidget* window = form.GetWidget();
  const auto render = [window](double ratio) {
    QImage image(window->size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::magenta);
    window->render(&image);
    return image;
  };
  const QImage plain = render(1.0);
  const QColor frame = plain.pixelColor(box.left(), box.center().y());
  ASSERT_NE(frame, plain.pixelColor(box.left() - 1, box.center().y()));
  ASSERT_NE(frame, plain.pixelColor(box.left() + 2, box.center().y()));
  for (double ratio : {1.25, 1.5, 1.75}) {
    SCOPED_TRACE(ratio);
    const QImage image = render(ratio);
    const int midX = static_cast<int>(box.center().x() * ratio);
    const int midY = static_cast<int>(box.center().y() * ratio);
    // Whether the frame colour is within two device pixels of a device
    // coordinate along a row (horizontal) or a column.
    const auto near = [&](double at, bool horizontal) {
      const int c = static_cast<int>(at);
      for (int d = c - 2; d <= c + 2; ++d)
        if ((horizontal ? image.pixelColor(d, midY) : image.pixelColor(midX, d)) == frame) return true;
      return false;
    };
    EXPECT_TRUE(near(box.left() * ratio, true)) << "left";
    EXPECT_TRUE(near((box.right() + 1) * ratio, true)) << "right";
    EXPECT_TRUE(near(box.top() * ratio, false)) << "top";
    EXPECT_TRUE(near((box.bottom() + 1) * ratio, false)) << "bottom";
  }
  form.DestroyWindow();
}
