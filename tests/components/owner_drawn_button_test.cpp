// The owner-drawn button and check box: input sequences through QTest and the
// events, look and check flag they leave; the hover watch; the object
// operations (class chain, copy, reset, equality, stream form); default sizes.
#include <gtest/gtest.h>

#include <QCursor>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/owner_drawn_button.h"
#include "framework/edit_box.h"
#include "framework/qt_platform_hooks.h"
#include "framework/win_form.h"
#include "framework/framework_test_util.h"

using namespace rg_TavelkinMingLingJi_ChuangKouZuJian;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

// What each event saw: the click records the look and the check flag it was
// raised with (the press happens while the button shows pressed).
void Connect(rg_TavelkinAnNiu1& b, Recorder& rec) {
  b.ClickEvent.Connect([](CQzuObject* r, CQzuObject* s, intptr_t) -> intptr_t {
    auto* button = static_cast<rg_TavelkinAnNiu1*>(s);
    R(r)->Add("click", {button->visualState, button->checked});
    return 0;
  }, rec.ref);
  b.DoubleClickEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("double");
    return 0;
  }, rec.ref);
  b.RightClickEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("right");
    return 0;
  }, rec.ref);
  b.KeyDownEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int key, int flags) -> intptr_t {
    R(r)->Add("key", {key, flags});
    return 0;
  }, rec.ref);
  b.MouseMoveEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int x, int y, int) -> intptr_t {
    R(r)->Add("move", {x, y});
    return 0;
  }, rec.ref);
}

void ConnectCheckChanging(rg_TavelkinAnNiu1& b, Recorder& rec) {
  b.CheckChangingEvent.Connect([](CQzuObject* r, CQzuObject* s, intptr_t) -> intptr_t {
    R(r)->Add("changing", {static_cast<rg_TavelkinAnNiu1*>(s)->checked});
    return R(r)->result;
  }, rec.ref);
}

struct ButtonHost {
  CQzuWinForm form;
  rg_Ombrine_MFCJieMian_base::rg_edit_box other;  // somewhere else for the focus to be
  std::unique_ptr<rg_TavelkinAnNiu1> button;

  explicit ButtonHost(bool checkBox = false) {
    InstallQtPlatformHooks();  // the hover watch reads the cursor through them
    button = checkBox ? std::make_unique<rg_TavelkinXuanZhongKuang1>() : std::make_unique<rg_TavelkinAnNiu1>();
    EXPECT_EQ(form.CreateForm(nullptr, 40, 40, 400, 240), 1);
    EXPECT_EQ(other.Create(&form, 10, 190, 100, 24), 1);
    button->SetButtonText(u"确定");
    EXPECT_EQ(button->Create(&form, 20, 20, 160, 60), 1);
    form.GetWidget()->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.GetWidget()));
    EXPECT_TRUE(PumpUntil([&] { return button->shown == 1; }));
  }
  QWidget* Display() { return button->Display().GetWidget(); }
};

enum class Step { LeftDown, LeftUp, LeftDouble, RightDown, RightUp, Space, Enter, Move };

void Perform(ButtonHost& host, Step step) {
  QWidget* d = host.Display();
  const QPoint centre(d->width() / 2, d->height() / 2);
  switch (step) {
    case Step::LeftDown: QTest::mousePress(d, Qt::LeftButton, {}, centre); break;
    case Step::LeftUp: QTest::mouseRelease(d, Qt::LeftButton, {}, centre); break;
    case Step::LeftDouble: QTest::mouseDClick(d, Qt::LeftButton, {}, centre); break;
    case Step::RightDown: QTest::mousePress(d, Qt::RightButton, {}, centre); break;
    case Step::RightUp: QTest::mouseRelease(d, Qt::RightButton, {}, centre); break;
    case Step::Space: QTest::keyClick(d, Qt::Key_Space); break;
    case Step::Enter: QTest::keyClick(d, Qt::Key_Return); break;
    case Step::Move: QTest::mouseMove(d, centre); break;
  }
}

}  // namespace

TEST(OwnerDrawnButton, InputSequencesGiveTheirEventsLookAndCheckFlag) {
  using S = Step;
  struct Row {
    const char* name;
    bool checkBox;
    int32_t startState;     // the look the owner set before the input
    bool focused;           // the display painter has the focus
    intptr_t changingResult;  // -1: the check-changing event is not connected
    std::vector<Step> steps;
    int clicks, doubles, rights, keys, moves;
    int32_t state, checked;
  };
  const Row rows[] = {
      {"click", false, kButtonNormal, true, -1, {S::LeftDown, S::LeftUp}, 1, 0, 0, 0, 0, kButtonHover, 1},
      // Press, release, double click, release: the second press comes as the
      // double click alone, and its release presses the focused button.
      {"double click", false, kButtonNormal, true, -1, {S::LeftDown, S::LeftUp, S::LeftDouble, S::LeftUp},
       2, 1, 0, 0, 0, kButtonHover, 0},
      {"release alone, focused", false, kButtonNormal, true, -1, {S::LeftUp}, 1, 0, 0, 0, 0, kButtonHover, 1},
      {"release alone, unfocused", false, kButtonNormal, false, -1, {S::LeftUp}, 0, 0, 0, 0, 0, kButtonHover, 0},
      {"press held", false, kButtonNormal, true, -1, {S::LeftDown}, 1, 0, 0, 0, 0, kButtonPressed, 1},
      {"right click", false, kButtonNormal, true, -1, {S::RightDown, S::RightUp}, 0, 0, 1, 0, 0, kButtonHover, 0},
      {"right held", false, kButtonNormal, true, -1, {S::RightDown}, 0, 0, 0, 0, 0, kButtonPressed, 0},
      {"right up alone", false, kButtonNormal, true, -1, {S::RightUp}, 0, 0, 1, 0, 0, kButtonHover, 0},
      {"move over", false, kButtonNormal, true, -1, {S::Move}, 0, 0, 0, 0, 1, kButtonHover, 0},
      {"disabled", false, kButtonDisabled, true, -1,
       {S::Move, S::LeftDown, S::LeftUp, S::LeftDouble, S::LeftUp, S::RightDown, S::RightUp, S::Space},
       0, 0, 0, 1, 1, kButtonDisabled, 0},
      {"veto on the press", false, kButtonNormal, true, 1, {S::LeftDown}, 0, 0, 0, 0, 0, kButtonNormal, 0},
      {"veto then release", false, kButtonNormal, true, 1, {S::LeftDown, S::LeftUp}, 0, 0, 0, 0, 0, kButtonHover, 0},
      {"only 1 vetoes", false, kButtonNormal, true, 2, {S::LeftDown, S::LeftUp}, 1, 0, 0, 0, 0, kButtonHover, 1},
      {"check box click", true, kButtonNormal, true, 0, {S::LeftDown, S::LeftUp}, 1, 0, 0, 0, 0, kButtonHover, 1},
      {"check box veto", true, kButtonNormal, true, 1, {S::LeftDown, S::LeftUp}, 0, 0, 0, 0, 0, kButtonHover, 0},
      // Keys reach the owner as key-down events; they press nothing.
      {"space and enter", false, kButtonNormal, true, -1, {S::Space, S::Enter}, 0, 0, 0, 2, 0, kButtonNormal, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ButtonHost host(row.checkBox);
    Recorder rec;
    Connect(*host.button, rec);
    if (row.changingResult >= 0) {
      ConnectCheckChanging(*host.button, rec);
      rec.result = row.changingResult;
    }
    host.button->visualState = row.startState;
    host.button->RedrawButton();
    if (row.focused) host.button->Display().SetFocus();
    else host.other.SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return host.button->focused == (row.focused ? 1 : 0); }));

    for (Step step : row.steps) Perform(host, step);
    PumpFor(5);

    EXPECT_EQ(rec.Count("click"), row.clicks);
    EXPECT_EQ(rec.Count("double"), row.doubles);
    EXPECT_EQ(rec.Count("right"), row.rights);
    EXPECT_EQ(rec.Count("key"), row.keys);
    EXPECT_EQ(rec.Count("move") > 0 ? 1 : 0, row.moves);
    EXPECT_EQ(host.button->visualState, row.state);
    EXPECT_EQ(host.button->checked, row.checked);
    for (size_t i = 0; i < rec.log.size(); ++i) {
      if (rec.log[i] == "click") {
        EXPECT_EQ(rec.args[i][0], kButtonPressed) << "a click comes with the pressed look";
      } else if (rec.log[i] == "changing") {
        EXPECT_EQ(rec.args[i][0], 1) << "asked after the toggle";
      }
    }
  }
}

TEST(OwnerDrawnButton, KeysComeWithTheirCodesAndFlagsAndOnlyFromTheDisplay) {
  ButtonHost host;
  Recorder rec;
  Connect(*host.button, rec);
  host.button->Display().SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return host.button->focused == 1; }));
  QTest::keyClick(host.Display(), Qt::Key_Space);
  QTest::keyClick(host.Display(), Qt::Key_Return, Qt::ControlModifier);  // Ctrl goes down first
  ASSERT_EQ(rec.Count("key"), 3);
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{0x20, 0}));
  EXPECT_EQ(rec.args[2], (std::vector<intptr_t>{0x0D, 0x2000}));

  // The hidden canvas shares the handlers: its keys and focus changes are
  // not the button's.
  rg_Ombrine_MFCJieMian_base::rg_painter& canvas = host.button->Canvas();
  canvas.OnKeyDown.Raise(&canvas, 0x41, 0);
  canvas.OnFocusLost.Raise(&canvas);
  EXPECT_EQ(rec.Count("key"), 3);
  EXPECT_EQ(host.button->focused, 1);
  host.other.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return host.button->focused == 0; }));
}

TEST(OwnerDrawnButton, HoverEndsSoonAfterThePointerLeavesWithoutAnotherMessage) {
  ButtonHost host;
  Recorder rec;
  Connect(*host.button, rec);
  QWidget* d = host.Display();
  QTest::mouseMove(d, QPoint(10, 10));
  ASSERT_TRUE(PumpUntil([&] { return host.button->visualState == kButtonHover; }));
  EXPECT_EQ(host.button->HoverTimer().GetInterval(), kHoverWatchMilliseconds);
  EXPECT_EQ(host.button->HoverTimer().GetTimerId(), kHoverWatchTimerId);
  ASSERT_GE(rec.Count("move"), 1);
  EXPECT_EQ(rec.args[0], (std::vector<intptr_t>{10, 10}));

  // Still inside after a few ticks, also on the right and bottom edges.
  QCursor::setPos(d->mapToGlobal(QPoint(d->width(), d->height())));
  PumpFor(3 * kHoverWatchMilliseconds);
  EXPECT_EQ(host.button->visualState, kButtonHover);

  // Off the button, onto the form: the button hears nothing more, and the
  // watch notices within a tick or two.
  QCursor::setPos(d->mapToGlobal(QPoint(d->width() + 30, d->height() + 30)));
  EXPECT_TRUE(PumpUntil([&] { return host.button->visualState == kButtonNormal; }, 1000));
  EXPECT_EQ(host.button->HoverTimer().GetInterval(), 0);

  // A disabled button keeps its look when the pointer leaves.
  host.button->visualState = kButtonDisabled;
  QTest::mouseMove(d, QPoint(5, 5));
  ASSERT_TRUE(PumpUntil([&] { return host.button->HoverTimer().GetInterval() > 0; }));
  QCursor::setPos(d->mapToGlobal(QPoint(d->width() + 30, d->height() + 30)));
  EXPECT_TRUE(PumpUntil([&] { return host.button->HoverTimer().GetInterval() == 0; }, 1000));
  EXPECT_EQ(host.button->visualState, kButtonDisabled);
}

TEST(OwnerDrawnButton, PressWithUserDataMinusOneOnlyShowsThePressedLook) {
  ButtonHost host;
  Recorder rec;
  Connect(*host.button, rec);
  ConnectCheckChanging(*host.button, rec);
  host.button->PressButton(0, kPressLookOnly);
  EXPECT_TRUE(rec.log.empty());
  EXPECT_EQ(host.button->checked, 0);
  EXPECT_EQ(host.button->visualState, kButtonPressed);
  EXPECT_EQ(host.button->pressed, 1);
  host.button->PressButton(0, 7);
  EXPECT_EQ(rec.Count("changing"), 1);
  EXPECT_EQ(rec.Count("click"), 1);
}

TEST(OwnerDrawnButton, BindingAClickHandlerConnectsItAndAttachesTheListener) {
  ButtonHost host;
  Recorder rec;
  host.button->DetachListener();
  host.button->BindButtonClickHandler([](CQzuObject* r, CQzuObject*, intptr_t data) -> intptr_t {
    R(r)->Add("bound", {data});
    return 0;
  }, rec.ref);
  EXPECT_TRUE(host.button->IsListenerAttached());
  host.button->PressButton();
  EXPECT_EQ(rec.Count("bound"), 1);
  EXPECT_EQ(rec.args[0][0], 0);
  host.button->BindButtonClickHandler(nullptr, CQzuReceiverRef());
  EXPECT_FALSE(host.button->ClickEvent.IsConnected());
  EXPECT_FALSE(host.button->IsListenerAttached());
}

TEST(OwnerDrawnButton, ToolTipIsTheDisplaysWithTheButtonsOwnColourAndMargin) {
  SetDpiFactor(1.5);
  {
    ButtonHost host;
    host.button->SetButtonToolTip(u"编辑框是否自动折行显示");
    EXPECT_EQ(host.button->toolTipText, u"编辑框是否自动折行显示");
    EXPECT_EQ(host.Display()->toolTip(), QString::fromUtf16(u"编辑框是否自动折行显示"));
    EXPECT_EQ(host.button->Display().GetToolTipColour(), 0x008000u);
    EXPECT_EQ(host.button->Display().GetToolTipMargin(), 4);  // 3 logical pixels at 1.5, truncated
  }
  SetDpiFactor(1.0);
}

TEST(OwnerDrawnButton, ChildrenCoverTheClientAreaAfterEverySize) {
  ButtonHost host;
  host.button->Move(20, 20, 220, 90);
  ASSERT_TRUE(PumpUntil([&] { return host.button->Display().GetWidth() == 220; }));
  for (auto* child : {&host.button->Canvas(), &host.button->Display()}) {
    EXPECT_EQ(child->GetLeft(), 0);
    EXPECT_EQ(child->GetTop(), 0);
    EXPECT_EQ(child->GetWidth(), 220);
    EXPECT_EQ(child->GetHeight(), 90);
  }
  EXPECT_FALSE(host.button->Canvas().IsVisible());
  EXPECT_TRUE(host.button->Display().IsVisible());
  EXPECT_EQ(host.button->Display().GetId(), kButtonDisplayId);
  EXPECT_EQ(host.button->Canvas().GetId(), kButtonCanvasId);
  EXPECT_EQ(host.button->HoverTimer().GetId(), kButtonTimerId);
  EXPECT_EQ(host.Display()->focusPolicy(), Qt::StrongFocus);
}

// The line height comes from the font alone: a button that is created but
// never shown has measured it without giving its canvas an image.
TEST(OwnerDrawnButton, LineHeightIsMeasuredWithoutACanvasImage) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 40, 40, 400, 240), 1);
  rg_TavelkinAnNiu1 button;
  button.SetVisible(false);
  ASSERT_EQ(button.Create(&form, 20, 20, 160, 60), 1);
  button.SetButtonFont(u"微软雅黑, 15, 0, 0, 0, 0, 0");
  EXPECT_GT(button.lineHeight, 0);
  const CVWnd_Painter* canvas = button.Canvas().GetWindowObject()->WndAs<CVWnd_Painter>();
  ASSERT_NE(canvas, nullptr);
  EXPECT_TRUE(canvas->Image()->isNull());
}

TEST(OwnerDrawnButton, DefaultSizesFollowTheDpiFactor) {
  struct Row {
    double factor;
    int buttonWidth, buttonHeight, boxWidth, boxHeight;
  } rows[] = {{1.0, 500, 350, 189, 36}, {1.5, 750, 525, 284, 54}};
  for (const Row& row : rows) {
    SetDpiFactor(row.factor);
    rg_TavelkinAnNiu1 button;
    rg_TavelkinXuanZhongKuang1 box;
    EXPECT_EQ(button.DefaultWidth(), row.buttonWidth);
    EXPECT_EQ(button.DefaultHeight(), row.buttonHeight);
    EXPECT_EQ(box.DefaultWidth(), row.boxWidth);
    EXPECT_EQ(box.DefaultHeight(), row.boxHeight);
  }
  SetDpiFactor(1.0);
}

TEST(OwnerDrawnButton, CheckBoxIsAButtonWithItsOwnDefaults) {
  rg_TavelkinAnNiu1 button;
  rg_TavelkinXuanZhongKuang1 box;
  EXPECT_STREQ(button.GetClassInfo().name, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinAnNiu1");
  EXPECT_STREQ(box.GetClassInfo().name, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinXuanZhongKuang1");
  EXPECT_TRUE(box.IsKindOf(rg_TavelkinAnNiu1::StaticClassInfo()));
  EXPECT_TRUE(box.IsKindOf(rg_Ombrine_MFCJieMian_base::rg_ZuJianBuJuQi::StaticClassInfo()));
  EXPECT_FALSE(button.IsKindOf(rg_TavelkinXuanZhongKuang1::StaticClassInfo()));

  EXPECT_EQ(button.checkMode, 0);
  EXPECT_EQ(button.glyphStyle, kGlyphNone);
  EXPECT_EQ(button.centred, 1);
  EXPECT_EQ(button.leftMargin, 5);
  EXPECT_EQ(button.gap, 5);
  EXPECT_EQ(button.parentColour, kColourOfButtonFace);
  EXPECT_EQ(button.textColours, (ButtonColourRow{0, 0xFF, kColourOfNormalState, 0xC0C0C0}));
  EXPECT_EQ(button.backColours, (ButtonColourRow{0xECECEC, 0xFBF1E5, 0xFBF1E5, kColourOfNormalState}));
  EXPECT_EQ(button.borderColours, (ButtonColourRow{0xC0C0C0, 0xDB8417, kColourOfNormalState, kColourOfNormalState}));

  const ButtonColourRow parent = {kColourOfParent, kColourOfParent, kColourOfParent, kColourOfParent};
  EXPECT_EQ(box.checkMode, 1);
  EXPECT_EQ(box.glyphStyle, kGlyphCaptionHeight);
  EXPECT_EQ(box.centred, 0);
  EXPECT_EQ(box.leftMargin, 0);
  EXPECT_EQ(box.backColours, parent);
  EXPECT_EQ(box.borderColours, parent);
  EXPECT_EQ(box.textColours, button.textColours);
}

TEST(OwnerDrawnButton, CopiesKeepValuesButNeitherEventsNorIdentity) {
  Recorder rec;
  rg_TavelkinXuanZhongKuang1 box;
  box.SetButtonText(u"遍历子目录");
  box.SetButtonToolTip(u"提示");
  box.checked = 1;
  box.gap = 9;
  box.reserved = 4;
  box.imageDrawMode = 0xFF00FF;
  box.svgData[kImageHover] = CQzuMem("<svg/>", 6);
  box.textColours[1] = 0x123456;
  box.ClickEvent.Connect([](CQzuObject*, CQzuObject*, intptr_t) -> intptr_t { return 0; }, rec.ref);

  std::unique_ptr<CQzuObject, void (*)(CQzuObject*)> clone(box.Clone(), [](CQzuObject* o) { o->Release(); });
  ASSERT_TRUE(clone);
  auto* copy = dynamic_cast<rg_TavelkinXuanZhongKuang1*>(clone.get());
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->GetButtonText(), u"遍历子目录");
  EXPECT_EQ(copy->toolTipText, u"提示");
  EXPECT_EQ(copy->checked, 1);
  EXPECT_EQ(copy->gap, 9);
  EXPECT_EQ(copy->reserved, 4);
  EXPECT_EQ(copy->imageDrawMode, 0xFF00FF);
  EXPECT_EQ(copy->svgData[kImageHover].View(), "<svg/>");
  EXPECT_EQ(copy->textColours[1], 0x123456u);
  EXPECT_FALSE(copy->ClickEvent.IsConnected());
  EXPECT_TRUE(box.IsEqual(box));
  EXPECT_FALSE(copy->IsEqual(box));

  // A button takes a check box's values; a check box refuses a plain button.
  rg_TavelkinAnNiu1 button;
  EXPECT_EQ(button.CopyFrom(box), 1);
  EXPECT_EQ(button.checkMode, 1);
  rg_TavelkinAnNiu1 plain;
  plain.gap = 1;
  EXPECT_EQ(box.CopyFrom(plain), 0);
  EXPECT_EQ(box.gap, 9);

  // Reset goes back to the defaults of the object's own class.
  box.Reset();
  EXPECT_EQ(box.checkMode, 1);
  EXPECT_EQ(box.leftMargin, 0);
  EXPECT_EQ(box.gap, 5);
  EXPECT_EQ(box.checked, 0);
  EXPECT_TRUE(box.GetButtonText().IsEmpty());
  EXPECT_TRUE(box.svgData[kImageHover].IsEmpty());
}

TEST(OwnerDrawnButton, StreamFormKeepsEveryValueAndStopsAtAShortRead) {
  rg_TavelkinAnNiu1 button;
  button.SetButtonText(u"批量编码");
  button.visualState = kButtonDisabled;
  button.checkMode = 1;
  button.toolTipText = u"提示";
  button.roundGlyph = 1;
  button.glyphStyle = kGlyphClientHeight;
  button.reserved = 3;
  button.hoverBrightness = 30;
  button.imageWidth = 16;
  button.imageHeight = 18;
  button.gap = 10;
  button.leftMargin = 7;
  button.centreLines = 0;
  button.imageDrawMode = 0xFF00FF;
  button.parentColour = 0xFFFFFF;
  button.imageRenderWidth = 32;
  button.imageRenderHeight = 28;
  button.imageBackground = 0xECECEC;
  button.svgData[kImagePressed] = CQzuMem("<svg/>", 6);
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(QColor(10, 20, 30, 255));
  button.images[kImageDisabled].SetImage(picture);
  button.borderColours[3] = 0x00FF00;

  CQzuMemStream out;
  button.SaveToStream(out);
  ASSERT_TRUE(out.Ok());

  CQzuMemStream in(out.Buffer());
  rg_TavelkinAnNiu1 loaded;
  loaded.LoadFromStream(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(in.Position(), out.Buffer().GetSize());
  EXPECT_EQ(loaded.GetButtonText(), u"批量编码");
  EXPECT_EQ(loaded.visualState, kButtonDisabled);
  EXPECT_EQ(loaded.checkMode, 1);
  EXPECT_EQ(loaded.toolTipText, u"提示");
  EXPECT_EQ(loaded.roundGlyph, 1);
  EXPECT_EQ(loaded.glyphStyle, kGlyphClientHeight);
  EXPECT_EQ(loaded.reserved, 3);
  EXPECT_EQ(loaded.hoverBrightness, 30);
  EXPECT_EQ(loaded.imageWidth, 16);
  EXPECT_EQ(loaded.imageHeight, 18);
  EXPECT_EQ(loaded.gap, 10);
  EXPECT_EQ(loaded.leftMargin, 7);
  EXPECT_EQ(loaded.centreLines, 0);
  EXPECT_EQ(loaded.imageDrawMode, 0xFF00FF);
  EXPECT_EQ(loaded.parentColour, 0xFFFFFFu);
  EXPECT_EQ(loaded.imageRenderWidth, 32);
  EXPECT_EQ(loaded.imageRenderHeight, 28);
  EXPECT_EQ(loaded.imageBackground, 0xECECECu);
  EXPECT_EQ(loaded.svgData[kImagePressed].View(), "<svg/>");
  EXPECT_EQ(loaded.images[kImageDisabled].GetImage().pixel(2, 1), picture.pixel(2, 1));
  EXPECT_EQ(loaded.borderColours, button.borderColours);
  EXPECT_EQ(loaded.textColours, button.textColours);

  // Cut short: the stream reports it and the values after the cut stay.
  CQzuMemStream cut(CQzuMem(out.Buffer().GetData(), out.Buffer().GetSize() - 6));
  rg_TavelkinAnNiu1 partial;
  partial.LoadFromStream(cut);
  EXPECT_EQ(cut.GetError(), -3);
  EXPECT_EQ(partial.gap, 10);
  EXPECT_EQ(partial.borderColours[3], kColourOfNormalState);
}
