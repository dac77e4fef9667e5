// Typed settings values and long values in side files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "services/global_settings.h"
#include "services/typed_settings.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiLei;

namespace {

// Counts the files the store writes.
class CountingSettings : public rg_TavelkinPeiZhiLei {
 public:
  int writes = 0;
  bool failWrites = false;

 protected:
  bool WriteWholeFile(const CWString& path, const CQzuMem& bytes) override {
    ++writes;
    if (failWrites) return false;
    return rg_TavelkinPeiZhiLei::WriteWholeFile(path, bytes);
  }
};

struct Fixture {
  qzu_test::TempDir dir;
  CountingSettings settings;
  explicit Fixture(const char* fileName = "软件配置.ini") {
    settings.LoadIni(CWString::FromUtf8((dir.path() / fileName).string()), rg_TavelkinPeiZhiLei::kIniAsStored);
    settings.CurrentSection = u"S";
  }
};

TEST(TypedSettings, Integers) {
  Fixture f;
  EXPECT_TRUE(f.settings.WriteIntValue(u"neg", -1));
  EXPECT_EQ(f.settings.ReadIniValue(u"S", u"neg", u""), CWString(u"-1"));
  struct Case {
    const char16_t* stored;
    int32_t expected;
  };
  const Case cases[] = {{u"12ab", 12}, {u"", 0}, {u" -7", -7}, {u"x1", 0}, {u"99999999999", INT32_MAX},
                        {u"-99999999999", INT32_MIN}};
  for (const Case& c : cases) {
    f.settings.WriteIniValue(u"S", u"i", c.stored);
    EXPECT_EQ(f.settings.ReadIntValue(u"i", 5), c.expected) << CWString(c.stored).ToUtf8();
  }
  EXPECT_EQ(f.settings.ReadIntValue(u"missing", 42), 42);
}

TEST(TypedSettings, Booleans) {
  Fixture f;
  EXPECT_TRUE(f.settings.WriteBoolValue(u"b", true));
  EXPECT_EQ(f.settings.ReadIniValue(u"S", u"b", u""), CWString(u"真"));
  EXPECT_TRUE(f.settings.ReadBoolValue(u"b", false));
  f.settings.WriteBoolValue(u"b", false);
  EXPECT_EQ(f.settings.ReadIniValue(u"S", u"b", u""), CWString(u"假"));
  for (const char16_t* stored : {u"真 ", u"1", u"true"}) {
    f.settings.WriteIniValue(u"S", u"b", stored);
    EXPECT_FALSE(f.settings.ReadBoolValue(u"b", true)) << CWString(stored).ToUtf8();
  }
  EXPECT_TRUE(f.settings.ReadBoolValue(u"missing", true));
}

TEST(TypedSettings, MultilineTextsStoreLineBreaksAsRecordSeparators) {
  Fixture f;
  EXPECT_TRUE(f.settings.WriteMultilineValue(u"m", u"a\r\nb"));
  EXPECT_EQ(f.settings.ReadIniValue(u"S", u"m", u""), CWString(u"a\x1E" u"b"));
  EXPECT_EQ(f.settings.ReadMultilineValue(u"m", u""), CWString(u"a\r\nb"));
  EXPECT_TRUE(f.settings.WriteMultilineValue(u"lf", u"a\nb"));
  EXPECT_EQ(f.settings.ReadMultilineValue(u"lf", u""), CWString(u"a\nb"));
  EXPECT_EQ(f.settings.ReadMultilineValue(u"missing", u"x\x1Ey"), CWString(u"x\r\ny"));
}

TEST(TypedSettings, SideFileNames) {
  Fixture main;
  EXPECT_EQ(main.settings.LongValuePath(u"K"), CWString::FromUtf8(main.dir.str() + "/ini/[S]K"));
  Fixture other("a.ini");
  EXPECT_EQ(other.settings.LongValuePath(u"K"), CWString::FromUtf8(other.dir.str() + "/ini/a[S]K"));
}

TEST(TypedSettings, LongValuesAreWrittenOnlyWhenTheirContentChanged) {
  Fixture f;
  const CWString text(u"第一行\r\n第二行");
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", text));
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", text));
  EXPECT_EQ(f.settings.writes, 1);
  EXPECT_EQ(f.settings.LoadLongValue(u"K", u"default"), text);
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", text));
  EXPECT_EQ(f.settings.writes, 1);
  EXPECT_EQ(qzu_test::ReadFile(f.dir.path() / "ini" / "[S]K").size(), text.GetLength() * 2);  // no mark, no zero

  // A missing side file with a default: saving the default writes nothing.
  EXPECT_EQ(f.settings.LoadLongValue(u"D", u"默认"), CWString(u"默认"));
  EXPECT_TRUE(f.settings.SaveLongValue(u"D", u"默认"));
  EXPECT_EQ(f.settings.writes, 1);
  EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "ini" / "[S]D"));

  // An existing empty side file reads empty even with a default.
  qzu_test::WriteFile(f.dir.path() / "ini" / "[S]E", {});
  EXPECT_EQ(f.settings.LoadLongValue(u"E", u"默认"), CWString());
}

TEST(TypedSettings, ASideFileThatIsAPipeGivesTheDefaultAtOnce) {
  Fixture f;
  std::filesystem::create_directories(f.dir.path() / "ini");
  CWString text;
  EXPECT_TRUE(qzu_test::ReturnsWithoutAWriter(f.dir.path() / "ini" / "[S]P",
                                              [&] { text = f.settings.LoadLongValue(u"P", u"默认"); }));
  EXPECT_EQ(text, CWString(u"默认"));
}

TEST(TypedSettings, TwoTextsWithOneHashAreBothSaved) {
  Fixture f;
  // One 32-bit word each, differing only in its top bit: equal buffer hashes.
  const CWString first(u"aA");
  const CWString second(u"a\x8041");
  ASSERT_EQ(HashByteBuffer(u"aA", 4), HashByteBuffer(u"a\x8041", 4));
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", first));
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", second));
  EXPECT_EQ(f.settings.writes, 2);
  EXPECT_EQ(f.settings.LoadLongValue(u"K", u""), second);
}

TEST(TypedSettings, AFailedSideFileWriteIsRetried) {
  Fixture f;
  f.settings.failWrites = true;
  EXPECT_FALSE(f.settings.SaveLongValue(u"K", u"text"));
  f.settings.failWrites = false;
  EXPECT_TRUE(f.settings.SaveLongValue(u"K", u"text"));
  EXPECT_EQ(f.settings.writes, 2);
  EXPECT_TRUE(std::filesystem::exists(f.dir.path() / "ini" / "[S]K"));
}

// Gives the link `p` itself to another user; false where the process may not.
bool GiveToOtherUser(const std::filesystem::path& p) { return ::lchown(p.c_str(), 12345, 12345) == 0; }

// A side file, or the side folder, that is a link: the user's own is read and
// written through. One that another user put there is not read (the default
// stands); a side file that is such a link is replaced by the store's own
// file, and nothing is written through such a side folder.
TEST(TypedSettings, SideFilesFollowOnlyTheUsersOwnLinks) {
  namespace fs = std::filesystem;
  const struct {
    const char* name;
    bool folder;  // the side folder is the link, else the side file
    bool foreign;
  } cases[] = {{"own side file link", false, false},
               {"another user's side file link", false, true},
               {"own side folder link", true, false},
               {"another user's side folder link", true, true}};
  const std::vector<uint8_t> held = {'a', 0, 'b', 0};
  const std::vector<uint8_t> saved = {0xB0, 0x65};  // "新"
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fixture f;
    const fs::path outside = f.dir.path() / "outside";
    qzu_test::WriteFile(outside / "[S]K", held);
    const fs::path link = c.folder ? f.dir.path() / "ini" : f.dir.path() / "ini" / "[S]K";
    fs::create_directories(f.dir.path() / (c.folder ? "." : "ini"));
    fs::create_symlink(c.folder ? outside : outside / "[S]K", link);
    if (c.foreign && !GiveToOtherUser(link)) GTEST_SKIP() << "the process may not give files to another user";
    EXPECT_EQ(f.settings.LoadLongValue(u"K", u"默认"), CWString(c.foreign ? u"默认" : u"ab"));
    EXPECT_EQ(f.settings.SaveLongValue(u"K", u"新"), !(c.foreign && c.folder));
    EXPECT_EQ(qzu_test::ReadFile(outside / "[S]K"), c.foreign ? held : saved);
    // Another user's side file link was replaced by the store's own file.
    const bool replaced = c.foreign && !c.folder;
    EXPECT_EQ(fs::is_symlink(link), !replaced);
    if (replaced) {
      EXPECT_EQ(qzu_test::ReadFile(link), saved);
    }
  }
}

TEST(GlobalSettings, ListingAndDeletionWorkOnTheGlobalObject) {
  auto& g = rg_Tavelkin_MingLingJi::GlobalSettings();
  g.LoadIni(u"/nonexistent/g.ini", rg_TavelkinPeiZhiLei::kIniAsStored);
  g.WriteIniValue(u"收藏夹", u"1名称", u"/home");
  g.WriteIniValue(u"收藏夹", u"2名称", u"/tmp");
  CMStringArray keys;
  EXPECT_EQ(rg_Tavelkin_MingLingJi::ListIniSection(keys, u"名称", u"", u"收藏夹", u"", u""), 2);
  EXPECT_EQ(rg_Tavelkin_MingLingJi::DeleteIniKey(u"收藏夹", u"1名称"), 0);
  EXPECT_EQ(rg_Tavelkin_MingLingJi::ListIniSection(keys, u"", u"", u"收藏夹", u"", u""), 1);
  EXPECT_EQ(keys, (CMStringArray{u"2名称"}));
  EXPECT_EQ(rg_Tavelkin_MingLingJi::DeleteIniKey(u"收藏夹", u"1名称"), 2);
  g.LoadIni(u"/nonexistent/g.ini", rg_TavelkinPeiZhiLei::kIniAsStored);
}

}  // namespace
