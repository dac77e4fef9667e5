// Class information, is-kind-of, copy-from and the common operations.
#include <gtest/gtest.h>

#include <memory>

#include "common/boxed.h"
#include "common/object.h"

namespace {

class Base : public CQzuObject {
  QZU_DECLARE_CLASS(Base)
 public:
  int CopyFrom(const CQzuObject& source) override {
    QZU_COPY_FROM_PREAMBLE(Base, source)
    a = src.a;
    return 1;
  }
  bool IsEqual(const CQzuObject& other) const override {
    return SameHeader(other) && static_cast<const Base&>(other).a == a;
  }
  int a = 1;
};
QZU_IMPLEMENT_CLASS(Base, CQzuObject, "rg_test::rg_Base")

class Derived : public Base {
  QZU_DECLARE_CLASS(Derived)
 public:
  int CopyFrom(const CQzuObject& source) override {
    if (!source.IsKindOf(Derived::StaticClassInfo())) return 0;
    if (!Base::CopyFrom(source)) return 0;
    b = static_cast<const Derived&>(source).b;
    return 1;
  }
  int b = 2;
};
QZU_IMPLEMENT_CLASS(Derived, Base, "rg_test::rg_Derived")

class Other : public CQzuObject {
  QZU_DECLARE_CLASS(Other)
};
QZU_IMPLEMENT_CLASS(Other, CQzuObject, "rg_test::rg_Other")

struct Deleter {
  void operator()(CQzuObject* o) const { if (o) o->Release(); }
};
using Owned = std::unique_ptr<CQzuObject, Deleter>;

TEST(ClassInfo, NameHashLengthAndName) {
  const CQzuClassInfo& info = rg_Ombrine_base::rg_ZhengShuLei::StaticClassInfo();
  EXPECT_STREQ(info.name, "rg_Ombrine_base::rg_ZhengShuLei");
  EXPECT_EQ(info.nameLength, 31u);
  EXPECT_EQ(info.nameHash, 0x78FC837Du);  // h = h*5 + byte, then (h | 1) & 0x7fffffff
  EXPECT_EQ(QzuClassNameHash("rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei"), 0x5CB33FC9u);
  EXPECT_EQ(&info, &rg_Ombrine_base::rg_ZhengShuLei::StaticClassInfo());  // built once
}

TEST(ClassInfo, IsKindOfWalksTwoLevelsOfBases) {
  Derived d;
  Base b;
  EXPECT_TRUE(d.IsKindOf(Derived::StaticClassInfo()));
  EXPECT_TRUE(d.IsKindOf(Base::StaticClassInfo()));
  EXPECT_TRUE(d.IsKindOf(CQzuObject::StaticClassInfo()));
  EXPECT_FALSE(b.IsKindOf(Derived::StaticClassInfo()));
  EXPECT_FALSE(d.IsKindOf(Other::StaticClassInfo()));
}

TEST(ClassInfo, IsKindOfMatchesAnEqualRecordByName) {
  // A second record for the same name, as another module would have.
  const CQzuClassInfo copy("rg_test::rg_Base", nullptr, nullptr);
  Derived d;
  EXPECT_TRUE(d.IsKindOf(copy));
  const CQzuClassInfo other("rg_test::rg_Bass", nullptr, nullptr);
  EXPECT_FALSE(d.IsKindOf(other));
}

TEST(Object, CopyFromIsRefusedForAnIncompatibleClass) {
  Derived d;
  Base b;
  b.a = 9;
  EXPECT_EQ(d.CopyFrom(b), 0);  // a Base is not a Derived
  EXPECT_EQ(d.a, 1);
  d.a = 5;
  EXPECT_EQ(b.CopyFrom(d), 1);  // a Derived is a Base
  EXPECT_EQ(b.a, 5);
  // Made through its class record: GCC 12 would otherwise follow the refused
  // cast into an object it knows is too small and warn about that dead path.
  Owned other(Other::StaticClassInfo().create());
  ASSERT_TRUE(other);
  EXPECT_EQ(b.CopyFrom(*other), 0);
}

TEST(Object, CloneCreateResetAndEquality) {
  Derived d;
  d.a = 3;
  d.b = 4;
  d.SetHeaderWord(77);
  Owned clone(d.Clone());
  ASSERT_TRUE(clone);
  EXPECT_TRUE(clone->IsKindOf(Derived::StaticClassInfo()));
  EXPECT_EQ(static_cast<Derived*>(clone.get())->b, 4);
  EXPECT_TRUE(clone->IsEqual(d));
  clone->SetNull(true);
  EXPECT_FALSE(clone->IsEqual(d));  // the null flag takes part

  Owned fresh(d.CreateInstance());
  EXPECT_EQ(static_cast<Derived*>(fresh.get())->a, 1);

  d.Reset();
  EXPECT_EQ(d.a, 1);
  EXPECT_EQ(d.b, 2);
  EXPECT_EQ(d.GetHeaderWord(), 0u);
  EXPECT_EQ(QzuFindClass("rg_test::rg_Derived"), &Derived::StaticClassInfo());
}

}  // namespace

#include "common/extended_object.h"

namespace {

TEST(ClassInfo, TheExtendedObjectIsARootObject) {
  rg_Ombrine_base::rg_KuoZhanDuiXiangLei o;
  EXPECT_STREQ(o.GetClassInfo().name, "rg_Ombrine_base::rg_KuoZhanDuiXiangLei");
  EXPECT_TRUE(o.IsKindOf(CQzuObject::StaticClassInfo()));
}

}  // namespace
