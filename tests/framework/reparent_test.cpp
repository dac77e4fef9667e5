// Moving a control into another parent: place, size, visibility and focus
// stay as they were, and the hide, show and focus changes Qt makes on the way
// raise no event of the moved control, of its children or of other controls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "framework/edit_box.h"
#include "framework/framework_test_util.h"
#include "framework/win_container.h"
#include "framework/win_form.h"

using namespace rg_Ombrine_MFCJieMian_base;
using qzu_test::PumpUntil;
using qzu_test::R;
using qzu_test::Recorder;

namespace {

void Watch(CQzuWinControl& c, Recorder& rec) {
  c.OnFocusGot.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("focus got");
    return 0;
  }, rec.ref);
  c.OnFocusLost.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("focus lost");
    return 0;
  }, rec.ref);
  c.OnShown.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("shown");
    return 0;
  }, rec.ref);
  c.OnHidden.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    R(r)->Add("hidden");
    return 0;
  }, rec.ref);
}

}  // namespace

TEST(Reparent, AControlMovesWithItsPlaceSizeFocusAndNoEvents) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 400, 300), 1);
  rg_ZuJianBuJuQi home, host, moved;
  rg_edit_box field, bystander;
  ASSERT_EQ(home.Create(&form, 10, 10, 200, 100, 1), 1);
  ASSERT_EQ(host.Create(&form, 10, 150, 300, 120, 2), 1);
  ASSERT_EQ(bystander.Create(&form, 250, 10, 100, 24, 3), 1);
  ASSERT_EQ(moved.Create(&home, 20, 30, 150, 50, 4), 1);
  ASSERT_EQ(field.Create(&moved, 5, 5, 100, 24, 5), 1);
  form.GetWidget()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.GetWidget()));
  field.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return field.HasFocus(); }));

  Recorder rec;
  for (CQzuWinControl* c : {static_cast<CQzuWinControl*>(&moved), static_cast<CQzuWinControl*>(&field),
                            static_cast<CQzuWinControl*>(&bystander)})
    Watch(*c, rec);
  ASSERT_TRUE(moved.SetParentControl(&host));
  EXPECT_EQ(moved.GetParentControl(), &host);
  EXPECT_EQ(moved.GetWidget()->geometry(), QRect(20, 30, 150, 50));
  EXPECT_TRUE(moved.GetWidget()->isVisible());
  EXPECT_TRUE(field.GetWidget()->isVisible());
  EXPECT_TRUE(field.HasFocus());
  qzu_test::PumpFor(20);
  EXPECT_TRUE(rec.log.empty()) << rec.log.front();

  // And back; then the events of the user reach the controls again.
  ASSERT_TRUE(moved.SetParentControl(&home));
  EXPECT_EQ(moved.GetParentControl(), &home);
  EXPECT_TRUE(field.HasFocus());
  EXPECT_TRUE(rec.log.empty());
  bystander.SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return rec.Count("focus got") == 1; }));
  EXPECT_EQ(rec.log, (std::vector<std::string>{"focus lost", "focus got"}));

  // A hidden control stays hidden.
  moved.SetVisible(false);
  ASSERT_TRUE(moved.SetParentControl(&host));
  EXPECT_FALSE(moved.IsVisible());
}

TEST(Reparent, RefusesParentsItCannotGoInto) {
  CQzuWinForm form;
  ASSERT_EQ(form.CreateForm(nullptr, 30, 30, 300, 200), 1);
  rg_ZuJianBuJuQi outer, inner, unborn;
  ASSERT_EQ(outer.Create(&form, 0, 0, 200, 100, 1), 1);
  ASSERT_EQ(inner.Create(&outer, 0, 0, 100, 50, 2), 1);
  EXPECT_FALSE(outer.SetParentControl(&outer));
  EXPECT_FALSE(outer.SetParentControl(&inner));  // its own child
  EXPECT_FALSE(outer.SetParentControl(nullptr));
  EXPECT_FALSE(outer.SetParentControl(&unborn));  // no window yet
  EXPECT_FALSE(unborn.SetParentControl(&form));
  EXPECT_EQ(outer.GetParentControl(), &form);
  EXPECT_EQ(inner.GetParentControl(), &outer);
}
