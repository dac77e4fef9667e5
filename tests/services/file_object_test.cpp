// The command package's file object: a shared file-handle holder.
#include <gtest/gtest.h>

#include "services/file_object.h"
#include "test_support.h"

using rg_Ombrine_base::rg_WenJianDouXieLei;
using rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinWenJianDouXieLei;

namespace {

TEST(FileObject, ClassChainAndEmptyStreamForm) {
  rg_TavelkinWenJianDouXieLei file;
  EXPECT_STREQ(file.GetClassInfo().name, "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinWenJianDouXieLei");
  EXPECT_TRUE(file.IsKindOf(rg_TavelkinWenJianDouXieLei::StaticClassInfo()));
  EXPECT_TRUE(file.IsKindOf(rg_WenJianDouXieLei::StaticClassInfo()));
  EXPECT_TRUE(file.IsKindOf(CQzuObject::StaticClassInfo()));
  EXPECT_FALSE(file.IsOpen());
  ASSERT_NE(file.Handle(), nullptr);

  CQzuMemStream s;
  file.SaveToStream(s);
  EXPECT_EQ(s.Buffer().GetSize(), 0u);
  CQzuMemStream source(qzu_test::Hex("01 02 03 04").data(), 4);
  file.LoadFromStream(source);
  EXPECT_EQ(source.Position(), 0u);
}

TEST(FileObject, CopiesShareAndResetGivesANewHolder) {
  rg_TavelkinWenJianDouXieLei file;
  rg_Ombrine_base::CQzuFileHandle* handle = file.Handle();
  rg_TavelkinWenJianDouXieLei copy;
  EXPECT_FALSE(file.IsEqual(copy));  // two holders
  EXPECT_EQ(copy.CopyFrom(file), 1);
  EXPECT_EQ(copy.Handle(), handle);
  EXPECT_EQ(handle->RefCount(), 2);
  EXPECT_TRUE(file.IsEqual(copy));
  copy.SetHeaderWord(1);
  EXPECT_FALSE(file.IsEqual(copy));

  CQzuObject* clone = file.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<rg_TavelkinWenJianDouXieLei*>(clone)->Handle(), handle);
  EXPECT_EQ(handle->RefCount(), 3);
  clone->Release();

  copy.Reset();
  EXPECT_NE(copy.Handle(), handle);
  EXPECT_NE(copy.Handle(), nullptr);
  EXPECT_EQ(copy.Handle()->RefCount(), 1);
  EXPECT_EQ(handle->RefCount(), 1);

  // A plain framework file object is not of this class.
  rg_WenJianDouXieLei plain;
  EXPECT_EQ(file.CopyFrom(plain), 0);
  EXPECT_EQ(file.Handle(), handle);
  EXPECT_FALSE(plain.IsEqual(file));
}

}  // namespace
