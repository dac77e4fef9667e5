// The library's maps: key order, their dump, object operations, no stream form.
#include "textlib/library_maps.h"

#include <gtest/gtest.h>

#include <vector>

#include "common/arrays.h"

namespace {

using namespace rg_TavelkinMingLingJi_ChangYongJiChengLei;

TEST(LibraryMaps, TextKeysAreOrdinalAndCaseSensitive) {
  rg_WenBenDaoLuoJiXingHaXiBiao flags;
  for (const char16_t* key : {u"abc", u"ABC", u"ab", u"\uFF01", u"\u00E9"}) flags.entries[key] = 1;
  std::vector<CWString> keys;
  for (const auto& [key, value] : flags.entries) keys.push_back(key);
  const std::vector<CWString> expected{u"ABC", u"ab", u"abc", u"\u00E9", u"\uFF01"};
  EXPECT_EQ(keys, expected);
}

TEST(LibraryMaps, DumpShowsTheCountAndOneLinePerEntry) {
  rg_WenBenDaoLuoJiXingHaXiBiao flags;
  EXPECT_EQ(flags.Dump(), CWString(u"哈希表成员数: 0\r\n"));
  flags.entries[u"x"] = 1;
  flags.entries[u"y"] = 0;
  EXPECT_EQ(flags.Dump(), CWString(u"哈希表成员数: 2\r\n关键字: ; 对应值: \r\n关键字: ; 对应值: \r\n"));
}

TEST(LibraryMaps, ObjectOperations) {
  rg_ZhengShuDaoBianZhengShuHaXiBiao a, b;
  a.entries[1] = 10;
  a.entries[2] = 20;
  b.entries[9] = 90;
  EXPECT_TRUE(a.IsEqual(b));  // entries are not compared
  b.SetNull(true);
  EXPECT_FALSE(a.IsEqual(b));
  rg_WenBenDaoLuoJiXingHaXiBiao other;
  EXPECT_FALSE(a.IsEqual(other));

  // CopyFrom refuses another class and leaves the target alone.
  EXPECT_EQ(a.CopyFrom(other), 0);
  EXPECT_EQ(a.entries.size(), 2u);
  EXPECT_EQ(b.CopyFrom(a), 1);
  EXPECT_EQ(b.entries, a.entries);
  EXPECT_FALSE(b.IsNull());
  EXPECT_EQ(a.CopyFrom(a), 1);
  EXPECT_EQ(a.entries.size(), 2u);

  CQzuObject* clone = a.Clone();
  ASSERT_NE(clone, nullptr);
  EXPECT_EQ(static_cast<rg_ZhengShuDaoBianZhengShuHaXiBiao*>(clone)->entries, a.entries);
  clone->Release();
  CQzuObject* fresh = a.CreateInstance();
  EXPECT_TRUE(static_cast<rg_ZhengShuDaoBianZhengShuHaXiBiao*>(fresh)->entries.empty());
  fresh->Release();

  a.Clear();  // keeps the entries
  EXPECT_EQ(a.entries.size(), 2u);
  a.Reset();
  EXPECT_TRUE(a.entries.empty());
  EXPECT_STREQ(a.GetClassInfo().name, "rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_ZhengShuDaoBianZhengShuHaXiBiao");
}

TEST(LibraryMaps, HaveNoStreamForm) {
  rg_BianZhengShuDaoWenBenXingHaXiBiao map;
  map.entries[3] = u"three";
  CQzuMemStream out;
  map.SaveToStream(out);
  EXPECT_EQ(out.Buffer().GetSize(), 0u);
  CQzuMemStream in("\x01\x00\x00\x00", 4);
  map.LoadFromStream(in);
  EXPECT_EQ(in.Position(), 0u);
  EXPECT_EQ(map.entries.size(), 1u);
}

}  // namespace
