// The hyperlink and the hyperlink box: when they open (release or press),
// what they open, the veto of their handlers, their three caption colours,
// and their values through copy and stream.
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QLabel>
#include <QTest>

#include "framework/hyperlink.h"
#include "framework/hyperlink_box.h"
#include "framework/qt_platform_hooks.h"
#include "framework/win_form.h"
#include "framework_test_util.h"

using namespace rg_Ombrine_MFCJieMian_base;
using rg_Ombrine_MFCJieMian_KuoZhanZuJian::kLinkMailAddress;
using rg_Ombrine_MFCJieMian_KuoZhanZuJian::rg_ChaoJiLianJieKuang;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

class OpenRecorder : public CQtPlatformHooks {
 public:
  bool ShellOpen(const CWString& address, const CWString&) override {
    opened.push_back(address);
    return opens;
  }
  int MessageBox(const CWString& text, const CWString&, int) override {
    boxes.push_back(text);
    return kIdOk;
  }
  std::vector<CWString> opened;
  std::vector<CWString> boxes;
  bool opens = true;
};

class HyperlinkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = InstallPlatformHooks(&hooks);
    ASSERT_EQ(form.CreateForm(nullptr, 0, 0, 300, 100), 1);
  }
  void TearDown() override {
    form.DestroyWindow();
    InstallPlatformHooks(previous);
  }
  // Records the press and what OnClick saw; both return rec.result.
  void Watch(rg_hyperlink& link) {
    link.OnLeftDown.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int, int, int) -> intptr_t {
      R(r)->Add("down");
      return R(r)->result;
    }, rec.ref);
    link.OnClick.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
      R(r)->Add("click");
      return 0;
    }, rec.ref);
  }
  QColor Shown(rg_hyperlink& link) { return link.GetWidget()->palette().color(QPalette::WindowText); }

  OpenRecorder hooks;
  IPlatformHooks* previous = nullptr;
  CQzuWinForm form;
  Recorder rec;
};

}  // namespace

TEST_F(HyperlinkTest, PlainLinkOpensOnReleaseTheBoxOnPress) {
  rg_hyperlink link;
  rg_ChaoJiLianJieKuang box;
  link.SetAddress(u"https://a.example/");
  box.SetAddress(u"https://b.example/");
  ASSERT_EQ(link.Create(&form, 0, 0, 100, 20, 1, u"甲"), 1);
  ASSERT_EQ(box.Create(&form, 0, 30, 100, 20, 2, u"乙"), 1);
  Watch(link);
  Watch(box);

  QTest::mousePress(link.GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_TRUE(hooks.opened.empty());
  QTest::mouseRelease(link.GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(hooks.opened.size(), 1u);
  EXPECT_EQ(hooks.opened[0], u"https://a.example/");

  QTest::mousePress(box.GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  ASSERT_EQ(hooks.opened.size(), 2u);
  EXPECT_EQ(hooks.opened[1], u"https://b.example/");
  QTest::mouseRelease(box.GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(hooks.opened.size(), 2u);
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down", "click", "down", "click"}));
}

TEST_F(HyperlinkTest, APressHandlerThatSwallowsThePressKeepsTheBoxShut) {
  rg_ChaoJiLianJieKuang box;
  box.SetAddress(u"https://b.example/");
  ASSERT_EQ(box.Create(&form, 0, 0, 100, 20, 1, u"乙"), 1);
  Watch(box);
  rec.result = 1;
  QTest::mouseClick(box.GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
  EXPECT_EQ(rec.log, std::vector<std::string>{"down"});
  EXPECT_TRUE(hooks.opened.empty());
}

TEST_F(HyperlinkTest, WhatEachLinkHandsToTheDesktop) {
  struct Case {
    const char* name;
    bool box;
    int kind;
    const char16_t* address;
    const char16_t* expected;  // null: nothing is opened
  } cases[] = {
      {"plain link without address opens its caption", false, 0, u"", u"链接"},
      {"box without address opens nothing", true, 0, u"", nullptr},
      {"web address as it stands", true, 0, u"www.b.example", u"www.b.example"},
      {"mail address gains mailto:", true, kLinkMailAddress, u"me@b.example", u"mailto:me@b.example"},
      {"mailto: is not doubled", true, kLinkMailAddress, u"MAILTO:me@b.example", u"MAILTO:me@b.example"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hooks.opened.clear();
    std::unique_ptr<rg_hyperlink> link(c.box ? new rg_ChaoJiLianJieKuang : new rg_hyperlink);
    if (c.box) static_cast<rg_ChaoJiLianJieKuang&>(*link).SetAddressKind(c.kind);
    link->SetAddress(c.address);
    ASSERT_EQ(link->Create(&form, 0, 0, 100, 20, 1, u"链接"), 1);
    QTest::mouseClick(link->GetWidget(), Qt::LeftButton, {}, QPoint(5, 5));
    if (!c.expected) {
      EXPECT_TRUE(hooks.opened.empty());
      EXPECT_FALSE(link->IsVisited());
    } else {
      ASSERT_EQ(hooks.opened.size(), 1u);
      EXPECT_EQ(hooks.opened[0], c.expected);
    }
  }
}

TEST_F(HyperlinkTest, CaptionShowsNormalHoverAndVisitedColours) {
  rg_ChaoJiLianJieKuang box;
  box.SetLinkColours(0x00A800, 0x008000, 0xFF2FA7);  // COLORREF: green, dark green, purple
  box.SetAddress(u"https://b.example/");
  ASSERT_EQ(box.Create(&form, 0, 0, 100, 20, 1, u"乙"), 1);
  const QColor normal(0, 0xA8, 0), visited(0, 0x80, 0), hover(0xA7, 0x2F, 0xFF);
  EXPECT_EQ(Shown(box), normal);

  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QCoreApplication::sendEvent(box.GetWidget(), &enter);
  EXPECT_TRUE(box.IsHovered());
  EXPECT_EQ(Shown(box), hover);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(box.GetWidget(), &leave);
  EXPECT_EQ(Shown(box), normal);

  // A failed open leaves the link unvisited and tells the user, as every
  // open of the program does; a good one marks it.
  hooks.opens = false;
  EXPECT_FALSE(box.Open());
  EXPECT_EQ(Shown(box), normal);
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_TRUE(hooks.boxes[0].StartsWith(u"打开失败：" + box.GetAddress())) << hooks.boxes[0].ToUtf8();
  hooks.opens = true;
  EXPECT_TRUE(box.Open());
  EXPECT_EQ(Shown(box), visited);
  QCoreApplication::sendEvent(box.GetWidget(), &enter);
  EXPECT_EQ(Shown(box), hover);

  // Colours left at the default follow the normal one.
  rg_hyperlink plain;
  plain.SetLinkColours(0x0000FF, kDefaultColour, kDefaultColour);
  ASSERT_EQ(plain.Create(&form, 0, 30, 100, 20, 2, u"甲"), 1);
  QCoreApplication::sendEvent(plain.GetWidget(), &enter);
  EXPECT_EQ(Shown(plain), QColor(255, 0, 0));
}

TEST_F(HyperlinkTest, ValuesTravelThroughCopyAndStream) {
  rg_ChaoJiLianJieKuang box;
  box.SetAddress(u"me@b.example");
  box.SetAddressKind(kLinkMailAddress);
  box.SetLinkColours(0xFF8800, 0xFF8801, 0x8050FF);
  box.SetOpenOnPress(false);

  rg_ChaoJiLianJieKuang copy;
  ASSERT_EQ(copy.CopyFrom(box), 1);
  CQzuMemStream stream;
  box.SaveToStream(stream);
  stream.Rewind();
  rg_ChaoJiLianJieKuang loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(stream.GetError(), 0);
  for (rg_ChaoJiLianJieKuang* b : {&copy, &loaded}) {
    EXPECT_EQ(b->GetAddress(), u"me@b.example");
    EXPECT_EQ(b->GetAddressKind(), kLinkMailAddress);
    EXPECT_EQ(b->GetTextColour(), 0xFF8800u);
    EXPECT_EQ(b->GetVisitedColour(), 0xFF8801u);
    EXPECT_EQ(b->GetHoverColour(), 0x8050FFu);
    EXPECT_FALSE(b->OpensOnPress());
  }
  // A plain hyperlink refuses to become a box.
  rg_hyperlink plain;
  EXPECT_EQ(box.CopyFrom(plain), 0);
}
