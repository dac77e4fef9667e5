// The banner strip at injected DPI factors: its pictures and their steps, the
// geometry of its children, its height and width across the form, the glide
// driven tick by tick (bounds, reversal, pause and resume), "-1" hiding the
// home link, the extra items, every event and address it opens, and its
// object operations.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <vector>

#include "common/dpi.h"
#include "components/banner_strip.h"
#include "components/enhanced_bitmap.h"
#include "components/global_objects.h"
#include "framework/label.h"
#include "framework/qt_platform_hooks.h"
#include "framework/qt_text.h"
#include "framework/win_form.h"
#include "framework/framework_test_util.h"
#include "platform/resource_loader.h"

using namespace rg_Tavelkin_GongNengChuangKou;
using qzu_test::PumpFor;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

class OpenRecorder : public CQtPlatformHooks {
 public:
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address);
    return opens;
  }
  bool SetClipboardText(const CWString& text) override {
    clipboard = text;
    return true;
  }
  int MessageBox(const CWString& text, const CWString&, int) override {
    boxes.push_back(text);
    return kIdOk;
  }
  std::vector<CWString> opened;
  std::vector<CWString> boxes;
  CWString clipboard;
  bool opens = true;
};

// The strip placed on a form as the main window places it.
struct BannerHost {
  CQzuWinForm form;
  rg_Ombrine_MFCJieMian_base::rg_label8 other;
  rg_TavelkinPinPaiHengFuLei1 banner;
};

// A strip at a given DPI factor; the factor and the glide direction are
// reset afterwards.
class BannerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InstallQtPlatformHooks();
    previous = InstallPlatformHooks(&hooks);
  }
  void TearDown() override {
    host.reset();
    InstallPlatformHooks(previous);
    SetDpiFactor(1.0);
    rg_TavelkinPinPaiHengFuLei1::SetGlideDirection(kGlideRightwards);
  }

  // `before` runs between construction and creation (flags, reference).
  template <class F>
  void Make(double factor, F before) {
    host.reset();
    SetDpiFactor(factor);
    rg_TavelkinPinPaiHengFuLei1::SetGlideDirection(kGlideRightwards);
    host = std::make_unique<BannerHost>();
    banner = &host->banner;
    ASSERT_EQ(host->form.CreateForm(nullptr, 0, 0, ScaleByDpiFactor(1239), ScaleByDpiFactor(300)), 1);
    ASSERT_EQ(host->other.Create(&host->form, 0, ScaleByDpiFactor(200), 50, 20), 1);
    before(*banner);
    ASSERT_EQ(banner->Create(&host->form, 0, 0, ScaleByDpiFactor(1239), ScaleByDpiFactor(91), 185), 1);
    banner->SetBannerHomeLink(u"https://home.example/");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(host->form.GetWidget()));
    ASSERT_TRUE(PumpUntil([&] { return banner->HelpItem().shown == 1; }));
  }
  void Make(double factor = 1.0) {
    Make(factor, [](rg_TavelkinPinPaiHengFuLei1&) {});
  }
  CQzuWinForm& Form() { return host->form; }
  // Holds the glide still so that the test alone moves it.
  void StopTimer() { banner->GlideTimer().SetInterval(0); }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i) banner->ScrollBannerMarquee(&banner->GlideTimer());
  }
  void Connect(Recorder& rec) {
    banner->RightPressEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("right");
      return 0;
    }, rec.ref);
    banner->ItemEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int i) -> intptr_t {
      R(r)->Add("item", {i});
      return 0;
    }, rec.ref);
    banner->HelpEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("help");
      return R(r)->result;
    }, rec.ref);
    banner->BackgroundPressEvent.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("background");
      return 0;
    }, rec.ref);
  }
  static QWidget* Face(rg_TavelkinPinPaiHengFuLei1::Button& item) { return item.Display().GetWidget(); }

  OpenRecorder hooks;
  IPlatformHooks* previous = nullptr;
  std::unique_ptr<BannerHost> host;
  rg_TavelkinPinPaiHengFuLei1* banner = nullptr;
};

}  // namespace

TEST(BannerPictures, EveryPictureIsABmpOfItsStepsSize) {
  const int sizes[4][5][2] = {
      {{209, 70}, {262, 87}, {318, 105}, {368, 122}, {422, 140}},  // gliding item, 530-534
      {{52, 52}, {64, 64}, {80, 80}, {96, 96}, {112, 112}},        // help item, 535-539
      {{69, 52}, {85, 64}, {106, 80}, {128, 96}, {148, 112}},      // home item, 540-544
      {{43, 51}, {54, 64}, {68, 80}, {82, 96}, {96, 112}},         // contact item, 545-549
  };
  for (int item = 0; item < 4; ++item) {
    for (int step = 0; step < kBannerPictureSteps; ++step) {
      const int id = kBannerFirstPicture + item * kBannerPictureSteps + step;
      SCOPED_TRACE(id);
      const CQzuMem bytes = LoadResourceBytes(id);
      CFBitMap bitmap;  // the loader the hover picture is made with
      ASSERT_EQ(bitmap.BitmapLoadBmp(bytes.GetData(), bytes.GetSize()), 1);
      EXPECT_EQ(bitmap.BitsPerPixel(), 24);
      EXPECT_EQ(bitmap.Width(), sizes[item][step][0]);
      EXPECT_EQ(bitmap.Height(), sizes[item][step][1]);
      // Drawn on white: the corners match the items' white face.
      const uint8_t* corner = bitmap.Pixels() + bitmap.BitmapPixelAddress(0, 0);
      EXPECT_EQ(corner[0] & corner[1] & corner[2], 0xFF);
    }
  }
}

TEST(BannerPictures, FactorPicksTheStep) {
  const struct {
    double factor;
    int step;
  } cases[] = {{1.0, 0}, {1.1, 1}, {1.25, 1}, {1.3, 2}, {1.5, 2}, {1.51, 3}, {1.75, 3}, {1.76, 4}, {3.0, 4}};
  for (const auto& c : cases) EXPECT_EQ(BannerPictureStep(c.factor), c.step) << c.factor;

  // Constructed at a factor, the items carry that step's pictures.
  for (const auto& c : {std::pair{1.25, 64}, std::pair{1.3, 80}}) {
    SetDpiFactor(c.first);
    rg_TavelkinPinPaiHengFuLei1 strip;
    EXPECT_EQ(strip.HelpItem().images[0].GetWidth(), c.second) << c.first;
    EXPECT_EQ(strip.GlideItem().images[0].GetWidth(), c.first == 1.25 ? 262 : 318);
  }
  SetDpiFactor(1.0);
}

TEST_F(BannerTest, ChildrenHeightAndWidthAtEachFactor) {
  for (double factor : {1.0, 1.5}) {
    SCOPED_TRACE(factor);
    Make(factor);
    auto S = [](int v) { return ScaleByDpiFactor(v); };
    auto T = [](int v) { return ScaleForDpi(v); };
    const struct {
      CQzuWinControl* child;
      int x, y, w, h;
    } placed[] = {
        {&banner->HelpLink(), S(12), S(66), S(96), S(22)},    {&banner->ContactLink(), S(112), S(66), S(96), S(22)},
        {&banner->HomeLink(), S(212), S(66), S(96), S(22)},   {&banner->HelpItem(), S(12), S(1), S(96), S(64)},
        {&banner->ContactItem(), S(112), S(1), S(96), S(64)}, {&banner->HomeItem(), S(212), S(1), S(96), S(64)},
        {&banner->GlideItem(), S(424), S(8), S(210), S(70)},
    };
    for (const auto& p : placed) {
      // The gliding item has moved on since its creation at S(424).
      if (p.child == &banner->GlideItem()) {
        EXPECT_GE(p.child->GetLeft(), p.x);
      } else {
        EXPECT_EQ(p.child->GetLeft(), p.x);
      }
      EXPECT_EQ(p.child->GetTop(), p.y);
      EXPECT_EQ(p.child->GetWidth(), p.w);
      EXPECT_EQ(p.child->GetHeight(), p.h);
    }
    // Height 2 + trunc(91 F) at every size change: 93 at 1.0, 138 at 1.5.
    EXPECT_EQ(banner->GetHeight(), factor == 1.0 ? 93 : 138);
    banner->SetHeight(40);
    EXPECT_EQ(banner->GetHeight(), 2 + T(91));
    EXPECT_EQ(banner->Separator().GetTop(), T(91));
    EXPECT_EQ(banner->Separator().GetHeight(), S(2));
    EXPECT_EQ(banner->Separator().GetExStyle() & qzu_win::kWsExStaticEdge, qzu_win::kWsExStaticEdge);

    // The owner keeps the strip as wide as the form; the separator follows.
    for (int width : {S(900), S(1239)}) {
      Form().SetWidth(width);
      banner->SetWidth(Form().GetClientWidth());
      EXPECT_EQ(banner->GetWidth(), width);
      EXPECT_EQ(banner->Separator().GetWidth(), width);
    }
    EXPECT_EQ(banner->GetWidget()->palette().color(QPalette::Window), QColor(255, 255, 255));
    EXPECT_EQ(banner->HelpItem().GetWidget()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Face(banner->GlideItem())->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(banner->HelpLink().GetShownColour(), 0x00A800u);
    EXPECT_EQ(banner->HelpLink().GetHoverColour(), 0xFF2FA7u);
    EXPECT_EQ(banner->HomeLink().GetShownColour(), 0xFF8800u);
    EXPECT_EQ(banner->ContactLink().GetHoverColour(), 0x8050FFu);
    EXPECT_EQ(banner->GlideTimer().GetInterval(), kBannerGlideMilliseconds);
  }
}

TEST_F(BannerTest, MinusOneHidesTheHomeLinkAndMovesTheLeftBound) {
  Make(1.5);
  rg_TavelkinPinPaiHengFuLei1& b = *banner;
  EXPECT_TRUE(b.HomeLink().IsVisible());
  EXPECT_EQ(b.HomeLink().GetAddress(), u"https://home.example/");
  EXPECT_EQ(b.LeftMarker().GetLeft(), b.HomeItem().GetLeft() + b.HomeItem().GetWidth() + 20);  // 20 not scaled
  EXPECT_FALSE(b.LeftMarker().IsVisible());

  b.SetBannerHomeLink(kBannerHideHome);
  EXPECT_FALSE(b.HomeLink().IsVisible());
  EXPECT_FALSE(b.HomeItem().IsVisible());
  EXPECT_EQ(b.LeftMarker().GetLeft(), b.ContactItem().GetLeft() + b.ContactItem().GetWidth() + 20);

  b.SetBannerHomeLink(u"https://other.example/");
  EXPECT_TRUE(b.HomeLink().IsVisible());
  EXPECT_TRUE(b.HomeItem().IsVisible());
  EXPECT_EQ(b.LeftMarker().GetLeft(), 318 + 144 + 20);

  // Before the windows exist, the choice waits for their creation.
  rg_TavelkinPinPaiHengFuLei1 early;
  early.SetBannerHomeLink(kBannerHideHome);
  ASSERT_EQ(early.Create(&Form(), 0, 0, 600, 100), 1);
  EXPECT_FALSE(early.HomeItem().GetWidget()->isVisibleTo(early.GetWidget()));
  EXPECT_FALSE(early.HomeLink().GetWidget()->isVisibleTo(early.GetWidget()));
  EXPECT_TRUE(early.ContactItem().GetWidget()->isVisibleTo(early.GetWidget()));
}

TEST_F(BannerTest, GlideReversesAtTheBoundAndAtTheLeftMarker) {
  for (double factor : {1.0, 1.5}) {
    SCOPED_TRACE(factor);
    Make(factor);
    StopTimer();
    rg_TavelkinPinPaiHengFuLei1& b = *banner;
    auto& glide = b.GlideItem();
    const int bound = b.GetClientWidth() - ScaleForDpi(10);

    // Rightwards until the right edge passes the bound.
    glide.SetLeft(bound - glide.GetWidth() - 2);
    Tick(2);
    EXPECT_EQ(glide.GetLeft(), bound - glide.GetWidth());
    EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideRightwards);
    Tick();
    EXPECT_EQ(glide.GetLeft() + glide.GetWidth(), bound + 1);
    EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideLeftwards);
    Tick(3);
    EXPECT_EQ(glide.GetLeft() + glide.GetWidth(), bound - 2);

    // Leftwards until it passes the left marker.
    const int marker = b.LeftMarker().GetLeft();
    glide.SetLeft(marker + 1);
    Tick(2);
    EXPECT_EQ(glide.GetLeft(), marker - 1);
    EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideRightwards);
    Tick();
    EXPECT_EQ(glide.GetLeft(), marker);

    // A tick from anything but the glide timer moves nothing.
    b.ScrollBannerMarquee(&b.HelpItem());
    b.ScrollBannerMarquee(nullptr);
    EXPECT_EQ(glide.GetLeft(), marker);
  }
}

TEST_F(BannerTest, AReferenceControlBoundsTheGlide) {
  Make();
  StopTimer();
  rg_Ombrine_MFCJieMian_base::rg_label8 panel;
  ASSERT_EQ(panel.Create(&Form(), 700, 0, 100, 30), 1);
  banner->BannerReference = &panel;
  auto& glide = banner->GlideItem();
  glide.SetLeft(700 - 10 - glide.GetWidth());
  Tick();
  EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideLeftwards);
  panel.SetLeft(900);  // the owner moves it on its size changes
  rg_TavelkinPinPaiHengFuLei1::SetGlideDirection(kGlideRightwards);
  Tick(50);
  EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideRightwards);
  EXPECT_EQ(glide.GetLeft(), 700 - 10 - glide.GetWidth() + 51);
}

// The glide timer runs only while the strip can be seen and the glide is not
// paused; a tick moves the item and returns without running other work.
TEST_F(BannerTest, GlideTicksOnlyWhileSeenAndNeverPumpsMessages) {
  Make();
  QWidget* window = Form().GetWidget();
  auto& timer = banner->GlideTimer();
  EXPECT_TRUE(timer.IsTicking());

  window->hide();
  EXPECT_FALSE(timer.IsTicking());
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_TRUE(timer.IsTicking());

  window->showMinimized();
  EXPECT_TRUE(PumpUntil([&] { return !timer.IsTicking(); }));
  window->showNormal();
  EXPECT_TRUE(PumpUntil([&] { return timer.IsTicking(); }));
  EXPECT_EQ(timer.GetInterval(), kBannerGlideMilliseconds);  // held, not changed

  // Paused by the gliding item's right click: no ticks, and showing the
  // window again does not resume it.
  QTest::mouseClick(Face(banner->GlideItem()), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_FALSE(timer.IsTicking());
  window->hide();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_FALSE(timer.IsTicking());
  QTest::mouseClick(Face(banner->GlideItem()), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_TRUE(timer.IsTicking());

  bool ran = false;
  QMetaObject::invokeMethod(qApp, [&ran] { ran = true; }, Qt::QueuedConnection);
  const int left = banner->GlideItem().GetLeft();
  Tick();
  EXPECT_NE(banner->GlideItem().GetLeft(), left);
  EXPECT_FALSE(ran);
  PumpUntil([&] { return ran; });
}

// A strip made on a window that is not shown yet does not tick until it shows.
TEST(BannerGlide, StripOnAHiddenWindowWaitsUntilItShows) {
  InstallQtPlatformHooks();
  BannerHost host;
  ASSERT_EQ(host.form.CreateForm(nullptr, 0, 0, 1239, 300), 1);
  QWidget* window = host.form.GetWidget();
  window->hide();
  ASSERT_EQ(host.banner.Create(&host.form, 0, 0, 1239, 91, 185), 1);
  EXPECT_EQ(host.banner.GlideTimer().GetInterval(), kBannerGlideMilliseconds);
  EXPECT_FALSE(host.banner.GlideTimer().IsTicking());
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_TRUE(PumpUntil([&] { return host.banner.GlideTimer().IsTicking(); }));
}

TEST_F(BannerTest, RightClicksOnTheGlidingItemPauseAndResumeInTheSameDirection) {
  Make();
  Recorder rec;
  Connect(rec);
  auto& glide = banner->GlideItem();
  rg_TavelkinPinPaiHengFuLei1::SetGlideDirection(kGlideLeftwards);
  glide.SetLeft(600);

  QTest::mouseClick(Face(glide), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(banner->GlideTimer().GetInterval(), 0);
  const int paused = glide.GetLeft();
  PumpFor(120);  // six periods: nothing moves while paused
  EXPECT_EQ(glide.GetLeft(), paused);

  QTest::mouseClick(Face(glide), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(banner->GlideTimer().GetInterval(), kBannerGlideMilliseconds);
  ASSERT_TRUE(PumpUntil([&] { return glide.GetLeft() <= paused - 3; }));
  EXPECT_EQ(rg_TavelkinPinPaiHengFuLei1::GetGlideDirection(), kGlideLeftwards);
  EXPECT_TRUE(rec.log.empty());  // the gliding item raises nothing

  // Other items leave the glide alone; the contact item raises the right press.
  QTest::mouseClick(Face(banner->HelpItem()), Qt::RightButton, {}, QPoint(20, 20));
  QTest::mouseClick(Face(banner->HomeItem()), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_TRUE(rec.log.empty());
  QTest::mouseClick(Face(banner->ContactItem()), Qt::RightButton, {}, QPoint(20, 20));
  EXPECT_EQ(rec.log, std::vector<std::string>{"right"});
  EXPECT_EQ(banner->GlideTimer().GetInterval(), kBannerGlideMilliseconds);
}

TEST_F(BannerTest, EachPressRaisesItsEventOrOpensItsAddress) {
  Make(1.5, [](rg_TavelkinPinPaiHengFuLei1& b) { b.extraItemFlags[1] = 1; });
  StopTimer();
  Recorder rec;
  Connect(rec);
  rec.result = 1;  // the help event takes the press: no help box
  rg_TavelkinPinPaiHengFuLei1& b = *banner;
  using Log = std::vector<std::string>;
  using Opened = std::vector<CWString>;
  const QPoint at(10, 10);
  // No address of the product exists on the web: the links open the README
  // beside the program.
  const CWString readme = FromQString(QCoreApplication::applicationDirPath()) + u"/README.md";
  EXPECT_EQ(BannerLinkAddress(CWString()), readme);
  EXPECT_EQ(BannerLinkAddress(u"https://home.example/"), u"https://home.example/");
  const struct {
    const char* name;
    QWidget* widget;
    Qt::MouseButton button;
    Log events;
    Opened opened;
  } cases[] = {
      {"help link", b.HelpLink().GetWidget(), Qt::LeftButton, {"help"}, {}},
      {"help item", Face(b.HelpItem()), Qt::LeftButton, {"help"}, {}},
      {"home link opens its own address", b.HomeLink().GetWidget(), Qt::LeftButton, {}, {u"https://home.example/"}},
      {"home item opens the home link's address", Face(b.HomeItem()), Qt::LeftButton, {}, {u"https://home.example/"}},
      {"contact link", b.ContactLink().GetWidget(), Qt::LeftButton, {}, {readme}},
      {"contact item", Face(b.ContactItem()), Qt::LeftButton, {}, {readme}},
      {"gliding item opens the configured home", Face(b.GlideItem()), Qt::LeftButton, {}, {readme}},
      {"extra link", b.ExtraLink(1).GetWidget(), Qt::LeftButton, {"item"}, {}},
      {"extra item", Face(b.ExtraItem(1)), Qt::LeftButton, {"item"}, {}},
      {"right press on the help link", b.HelpLink().GetWidget(), Qt::RightButton, {"right"}, {}},
      {"right press on the home link", b.HomeLink().GetWidget(), Qt::RightButton, {"right"}, {}},
      {"right press on the contact link", b.ContactLink().GetWidget(), Qt::RightButton, {"right"}, {}},
      {"right press on an extra link", b.ExtraLink(1).GetWidget(), Qt::RightButton, {"right"}, {}},
      {"the strip's own surface", b.GetWidget(), Qt::LeftButton, {"background"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    rec.log.clear();
    rec.args.clear();
    hooks.opened.clear();
    const QPoint p = c.widget == b.GetWidget() ? QPoint(ScaleByDpiFactor(370), ScaleByDpiFactor(40)) : at;
    QTest::mouseClick(c.widget, c.button, {}, p);
    EXPECT_EQ(rec.log, c.events);
    EXPECT_EQ(hooks.opened, c.opened);
    if (c.events == Log{"item"}) {
      EXPECT_EQ(rec.args[0], std::vector<intptr_t>{1});
    }
  }
  EXPECT_TRUE(hooks.boxes.empty());

  // An empty home address opens the README too.
  b.SetBannerHomeLink(CWString());
  hooks.opened.clear();
  QTest::mouseClick(Face(b.HomeItem()), Qt::LeftButton, {}, at);
  EXPECT_EQ(hooks.opened, Opened{readme});
  EXPECT_TRUE(hooks.boxes.empty());

  // When nothing can open it, each link and item says so and leaves the
  // address on the clipboard, as every open of the program does.
  hooks.opens = false;
  for (QWidget* w : {b.HomeLink().GetWidget(), Face(b.HomeItem()), b.ContactLink().GetWidget(), Face(b.ContactItem()),
                     Face(b.GlideItem())}) {
    hooks.boxes.clear();
    hooks.clipboard.Empty();
    QTest::mouseClick(w, Qt::LeftButton, {}, at);
    ASSERT_EQ(hooks.boxes.size(), 1u) << w->metaObject()->className();
    EXPECT_EQ(hooks.boxes[0], u"打开失败：" + readme + u"\r\n\r\n已将该地址复制，请手动到我的电脑粘贴打开！");
    EXPECT_EQ(hooks.clipboard, readme);
  }
}

TEST_F(BannerTest, TheHelpLinkShowsTheHelpTextUnlessItsHandlerTakesThePress) {
  Make();
  rg_Tavelkin_MingLingJi::AboutText() = u"本软件用于转换字符编码。\r\n疑点";
  rg_Tavelkin_MingLingJi::rg_TavelkinShuRuKuangLei& box = rg_Tavelkin_MingLingJi::InputBoxGlobal();
  std::vector<CWString> shown;  // the titles of the boxes that appeared
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!box.HasWindow() || !box.GetWidget()->isVisible()) return;
    shown.push_back(box.GetCaption());
    EXPECT_EQ(box.editor.GetText(), rg_Tavelkin_MingLingJi::AboutText());
    EXPECT_TRUE(box.editor.IsReadOnly());
    box.DestroyWindow();
  });
  poll.start();
  auto press = [&] {
    QTest::mouseClick(banner->HelpLink().GetWidget(), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::qWait(50);
  };

  press();  // no handler
  EXPECT_EQ(shown, std::vector<CWString>{CWString(u"疑点说明")});

  Recorder rec;
  Connect(rec);
  rec.result = 0;  // a handler that lets the press through
  press();
  EXPECT_EQ(shown.size(), 2u);
  rec.result = 1;  // one that takes it
  press();
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_EQ(rec.log, (std::vector<std::string>{"help", "help"}));
  rg_Tavelkin_MingLingJi::DestroyGlobalObjects();
}

TEST_F(BannerTest, ExtraItemsStandAtTheRightEndAndBoundTheGlide) {
  Make(1.5, [](rg_TavelkinPinPaiHengFuLei1& b) {
    b.extraItemFlags[0] = 1;
    b.extraItemFlags[2] = 1;
  });
  rg_TavelkinPinPaiHengFuLei1& b = *banner;
  const int cw = b.GetClientWidth();
  const int w = ScaleForDpi(96);  // 144
  for (int i : {0, 2}) {
    SCOPED_TRACE(i);
    auto& item = b.ExtraItem(i);
    ASSERT_TRUE(item.HasWindow());
    EXPECT_TRUE(item.IsVisible());
    EXPECT_EQ(item.GetId(), kBannerExtraId);
    EXPECT_EQ(item.GetLeft(), cw - w * (i + 1) - ScaleForDpi(10));
    EXPECT_EQ(item.GetTop(), 1);
    EXPECT_EQ(item.GetWidth(), w);
    EXPECT_EQ(item.GetHeight(), ScaleForDpi(64));
    auto& link = b.ExtraLink(i);
    EXPECT_EQ(link.GetLeft(), item.GetLeft());
    EXPECT_EQ(link.GetTop(), b.HelpLink().GetTop());
    EXPECT_EQ(link.GetHeight(), ScaleForDpi(22));
  }
  EXPECT_FALSE(b.ExtraItem(1).HasWindow());
  EXPECT_FALSE(b.ExtraLink(3).HasWindow());
  EXPECT_EQ(b.BannerReference, &b.ExtraItem(2));  // the last one made
  EXPECT_EQ(b.rightItemsWidth, cw - b.ExtraItem(2).GetLeft());

  // Without flags nothing is made and the owner's reference stays.
  rg_Ombrine_MFCJieMian_base::rg_label8 panel;
  Make(1.0, [&](rg_TavelkinPinPaiHengFuLei1& s) { s.BannerReference = &panel; });
  EXPECT_EQ(banner->BannerReference, &panel);
  EXPECT_EQ(banner->rightItemsWidth, 0);
  for (int i = 0; i < kBannerExtraCount; ++i) EXPECT_FALSE(banner->ExtraItem(i).HasWindow());
}

// The gliding item is stacked above the strip's other children, extra items
// included, and the lane it sweeps between its turns overlaps none of them,
// so the order shows nowhere.
TEST_F(BannerTest, TheGlidingItemIsOnTopAndItsLaneOverlapsNoOtherChild) {
  Make(1.5, [](rg_TavelkinPinPaiHengFuLei1& b) {
    b.extraItemFlags[0] = 1;
    b.extraItemFlags[2] = 1;
  });
  StopTimer();
  QWidget* strip = banner->GetWidget();
  QWidget* glide = banner->GlideItem().GetWidget();
  QWidget* top = nullptr;
  for (QObject* child : strip->children())
    if (auto* w = qobject_cast<QWidget*>(child)) top = w;
  EXPECT_EQ(top, glide);

  QRect lane = glide->geometry();
  int turns = 0;
  for (int i = 0; i < 10000 && turns < 2; ++i) {
    const int direction = rg_TavelkinPinPaiHengFuLei1::GetGlideDirection();
    Tick();
    lane |= glide->geometry();
    if (rg_TavelkinPinPaiHengFuLei1::GetGlideDirection() != direction) ++turns;
  }
  ASSERT_EQ(turns, 2);
  for (QObject* child : strip->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (!w || w == glide || !w->isVisible()) continue;
    EXPECT_FALSE(lane.intersects(w->geometry())) << w->geometry().x() << "," << w->geometry().y();
  }
}

TEST_F(BannerTest, ObjectOperations) {
  Make();
  rg_TavelkinPinPaiHengFuLei1& b = *banner;
  EXPECT_STREQ(b.GetClassInfo().name, "rg_Tavelkin_GongNengChuangKou::rg_TavelkinPinPaiHengFuLei1");
  EXPECT_EQ(b.DefaultWidth(), 1086);
  EXPECT_EQ(b.DefaultHeight(), 91);
  b.reserved = 7;
  b.pictureIds[3] = 9003;
  b.extraItemFlags[3] = 1;
  b.BannerReference = &host->other;
  Recorder rec;
  Connect(rec);

  rg_TavelkinPinPaiHengFuLei1 copy;
  ASSERT_EQ(copy.CopyFrom(b), 1);
  EXPECT_FALSE(copy.IsEqual(b));
  EXPECT_TRUE(b.IsEqual(b));
  EXPECT_EQ(copy.BannerReference, &host->other);
  EXPECT_EQ(copy.reserved, 7);
  EXPECT_EQ(copy.pictureIds[3], 9003);
  EXPECT_EQ(copy.extraItemFlags[3], 1);
  EXPECT_EQ(copy.HomeLink().GetAddress(), u"https://home.example/");
  EXPECT_EQ(copy.GlideItem().GetWidget(), b.GlideItem().GetWidget());  // windows shared
  EXPECT_FALSE(copy.HelpEvent.IsConnected());

  CQzuMemStream stream;
  b.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinPinPaiHengFuLei1 loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(stream.GetError(), 0);
  EXPECT_EQ(loaded.reserved, 7);
  EXPECT_EQ(loaded.pictureIds[3], 9003);
  EXPECT_EQ(loaded.pictureIds[19], 549);
  EXPECT_EQ(loaded.extraItemFlags[3], 1);
  EXPECT_EQ(loaded.BannerReference, nullptr);  // a stored reference names no control here
  EXPECT_EQ(loaded.HomeLink().GetAddress(), u"https://home.example/");
  EXPECT_EQ(loaded.ContactLink().GetCaption(), kBannerContactText);

  // A short stream reports -3 and leaves the tail as it was.
  CQzuMemStream shortStream(stream.Buffer().GetData(), stream.Buffer().GetSize() - 8);
  rg_TavelkinPinPaiHengFuLei1 cut;
  cut.LoadFromStream(shortStream);
  EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead);
  EXPECT_EQ(cut.extraItemFlags[3], 0);
}
