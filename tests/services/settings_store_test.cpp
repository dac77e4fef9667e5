// The settings store: bytes of the ini file after reads, writes, deletions and
// listings, loading with migration, and saving only what changed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/hooks.h"
#include "services/global_settings.h"
#include "services/ini_settings_store.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinPeiZhiJiLei;
using qzu_test::Hex;
using qzu_test::ToHex;

namespace {

// FF FE followed by the text's UTF-16LE units.
std::string IniHex(std::u16string_view text) {
  std::vector<uint8_t> b = {0xFF, 0xFE};
  for (char16_t c : text) {
    b.push_back(static_cast<uint8_t>(c));
    b.push_back(static_cast<uint8_t>(c >> 8));
  }
  return ToHex(b);
}

std::string BytesOf(const rg_TavelkinPeiZhiJiLei& store) {
  return ToHex(store.IniBytes.GetData(), store.IniBytes.GetSize());
}

// A store loaded from a file holding FF FE and `text`.
struct LoadedStore {
  qzu_test::TempDir dir;
  rg_TavelkinPeiZhiJiLei store;
  explicit LoadedStore(std::u16string_view text) {
    const std::vector<uint8_t> bytes = Hex(IniHex(text));
    qzu_test::WriteFile(dir.path() / "s.ini", bytes);
    store.LoadIni(CWString::FromUtf8((dir.path() / "s.ini").string()), rg_TavelkinPeiZhiJiLei::kIniAsStored);
  }
};

TEST(SettingsStore, OneValueInAnEmptyStoreIsExactlyMarkHeaderAndKeyLine) {
  rg_TavelkinPeiZhiJiLei store;
  store.LoadIni(u"/nonexistent/x.ini", rg_TavelkinPeiZhiJiLei::kIniAsStored);
  EXPECT_EQ(BytesOf(store), "FF FE");
  EXPECT_EQ(store.WriteIniValue(u"S", u"k", u"v"), 0);
  EXPECT_EQ(BytesOf(store), ToHex(Hex("FFFE 5B00 5300 5D00 0D00 0A00 6B00 3D00 7600")));
}

TEST(SettingsStore, ExampleFileIsBuiltLineByLine) {
  rg_TavelkinPeiZhiJiLei store;
  store.LoadIni(u"/nonexistent/x.ini", rg_TavelkinPeiZhiJiLei::kIniAsStored);
  store.WriteIniValue(u"主界面.批量设置", u"编辑框文件过滤", u"*.htm|*.html|*.txt");
  store.WriteIniValue(u"主界面.批量设置", u"组合框输入编码", u"0");
  store.WriteIniValue(u"主界面", u"Tavelkin按钮折行.选中", u"假");
  EXPECT_EQ(BytesOf(store), IniHex(u"[主界面.批量设置]\r\n编辑框文件过滤=*.htm|*.html|*.txt\r\n组合框输入编码=0"
                                   u"\r\n[主界面]\r\nTavelkin按钮折行.选中=假"));
  EXPECT_EQ(store.ReadIniValue(u"主界面.批量设置", u"组合框输入编码", u"x"), CWString(u"0"));
  EXPECT_EQ(store.ReadIniValue(u"主界面", u"Tavelkin按钮折行.选中", u"x"), CWString(u"假"));
}

TEST(SettingsStore, WritesAndReadsOnExistingContent) {
  struct Case {
    const char* name;
    std::u16string_view before;
    const char16_t* section;
    const char16_t* key;
    const char16_t* value;
    std::u16string_view after;
  };
  const Case cases[] = {
      {"replace touches only the value", u"[A]\r\nk=long value\r\nm=2\r\n[B]\r\nk=3", u"A", u"k", u"v",
       u"[A]\r\nk=v\r\nm=2\r\n[B]\r\nk=3"},
      {"new key goes before the next header", u"[A]\r\nk=1\r\n[B]\r\nk=2", u"A", u"n", u"9",
       u"[A]\r\nk=1\r\nn=9\r\n[B]\r\nk=2"},
      {"key only in a later section is inserted into the earlier one", u"[A]\r\nx=1\r\n[B]\r\nk=2", u"A", u"k",
       u"5", u"[A]\r\nx=1\r\nk=5\r\n[B]\r\nk=2"},
      {"missing section is appended", u"[A]\r\nk=1", u"B", u"k", u"2", u"[A]\r\nk=1\r\n[B]\r\nk=2"},
      {"a bracketed name inside a value is no header", u"[A]\r\nk=[T]\r\nz=1", u"T", u"k", u"2",
       u"[A]\r\nk=[T]\r\nz=1\r\n[T]\r\nk=2"},
      {"text after the bracket still names the section", u"[S]x\r\nk=1", u"S", u"k", u"2", u"[S]x\r\nk=2"},
      {"key ab is not key a", u"[S]\r\nab=1", u"S", u"a", u"2", u"[S]\r\nab=1\r\na=2"},
      {"key b is not key ab", u"[S]\r\nb=1", u"S", u"ab", u"2", u"[S]\r\nb=1\r\nab=2"},
  };
  for (const Case& c : cases) {
    LoadedStore s(c.before);
    EXPECT_EQ(s.store.WriteIniValue(c.section, c.key, c.value), 0) << c.name;
    EXPECT_EQ(BytesOf(s.store), IniHex(c.after)) << c.name;
    EXPECT_EQ(s.store.ReadIniValue(c.section, c.key, u"default"), CWString(c.value)) << c.name;
  }
}

TEST(SettingsStore, ReadsGiveTheDefaultForWhatIsNotThere) {
  LoadedStore s(u"[A]\r\nx=1\r\nnoequals\r\n[B]\r\nk=2\r\nv=[A]");
  EXPECT_EQ(s.store.ReadIniValue(u"A", u"k", u"d"), CWString(u"d"));  // only in B
  EXPECT_EQ(s.store.ReadIniValue(u"A", u"noequals", u"d"), CWString(u"d"));
  EXPECT_EQ(s.store.ReadIniValue(u"C", u"x", u"d"), CWString(u"d"));
  EXPECT_EQ(s.store.ReadIniValue(u"B", u"k", u"d"), CWString(u"2"));
  EXPECT_EQ(s.store.ReadIniValue(u"A", u"x", u"d"), CWString(u"1"));
}

// The first line is no exception: "[" one unit into it begins no header.
TEST(SettingsStore, OnlyABracketAtALineStartBeginsAHeader) {
  LoadedStore s(u"x[T]\r\nz=1");
  EXPECT_EQ(s.store.ReadIniValue(u"T", u"z", u"d"), CWString(u"d"));
  EXPECT_EQ(s.store.DeleteKey(u"T", u"z"), 1);
  EXPECT_EQ(s.store.DeleteKey(u"T", u""), 1);
  EXPECT_EQ(s.store.WriteIniValue(u"T", u"z", u"2"), 0);
  EXPECT_EQ(BytesOf(s.store), IniHex(u"x[T]\r\nz=1\r\n[T]\r\nz=2"));
  EXPECT_EQ(s.store.ReadIniValue(u"T", u"z", u"d"), CWString(u"2"));
}

TEST(SettingsStore, AFileInAnotherEncodingReadsEmptyAndGetsUtf16Appended) {
  qzu_test::TempDir dir;
  qzu_test::WriteFile(dir.path() / "u.ini", std::vector<uint8_t>{'[', 'S', ']', '\r', '\n', 'k', '=', '1'});
  rg_TavelkinPeiZhiJiLei store;
  store.LoadIni(CWString::FromUtf8((dir.path() / "u.ini").string()), rg_TavelkinPeiZhiJiLei::kIniAsStored);
  EXPECT_EQ(store.BomLength, 0);
  EXPECT_EQ(store.ReadIniValue(u"S", u"k", u"d"), CWString(u"d"));
  store.WriteIniValue(u"S", u"k", u"2");
  EXPECT_EQ(BytesOf(store), ToHex(Hex("5B 53 5D 0D 0A 6B 3D 31  0D00 0A00 5B00 5300 5D00 0D00 0A00 6B00 3D00 3200")));
}

// Opening a pipe for reading would wait for a writer that never comes.
TEST(SettingsStore, APipeAsTheSettingsFileReadsAsAnEmptyStoreAtOnce) {
  qzu_test::TempDir dir;
  rg_TavelkinPeiZhiJiLei store;
  for (int mode : {rg_TavelkinPeiZhiJiLei::kIniAsStored, rg_TavelkinPeiZhiJiLei::kIniConvertToUtf16}) {
    SCOPED_TRACE(mode);
    const std::filesystem::path pipe = dir.path() / ("s" + std::to_string(mode) + ".ini");
    EXPECT_TRUE(qzu_test::ReturnsWithoutAWriter(pipe, [&] { store.LoadIni(CWString::FromUtf8(pipe.string()), mode); }));
    EXPECT_EQ(BytesOf(store), "FF FE");
  }
}

TEST(SettingsStore, DeletingKeysAndSections) {
  struct Case {
    const char* name;
    const char16_t* section;
    const char16_t* key;
    int result;
    std::u16string_view after;
  };
  const std::u16string_view before = u"[A]\r\nk=1\r\nv=[B]\r\n[B]\r\nk=2\r\nm=3";
  const Case cases[] = {
      {"first section", u"A", u"", 0, u"\r\n[B]\r\nk=2\r\nm=3"},
      {"last section", u"B", u"", 0, u"[A]\r\nk=1\r\nv=[B]"},
      {"key line and its line break", u"B", u"k", 0, u"[A]\r\nk=1\r\nv=[B]\r\n[B]\r\nm=3"},
      {"key of the first section", u"A", u"k", 0, u"[A]\r\nv=[B]\r\n[B]\r\nk=2\r\nm=3"},
      {"key only in another section", u"A", u"m", 2, before},
      {"missing section", u"C", u"", 1, before},
  };
  for (const Case& c : cases) {
    LoadedStore s(before);
    EXPECT_EQ(s.store.DeleteKey(c.section, c.key), c.result) << c.name;
    EXPECT_EQ(BytesOf(s.store), IniHex(c.after)) << c.name;
  }
}

TEST(SettingsStore, SectionCacheStaysRightAfterADeletion) {
  LoadedStore s(u"[A]\r\nk=1\r\n[B]\r\nk=2");
  EXPECT_EQ(s.store.ReadIniValue(u"B", u"k", u"d"), CWString(u"2"));  // B is cached now
  EXPECT_EQ(s.store.DeleteKey(u"A", u""), 0);
  EXPECT_EQ(s.store.ReadIniValue(u"B", u"k", u"d"), CWString(u"2"));
  EXPECT_EQ(s.store.WriteIniValue(u"B", u"k", u"3"), 0);
  EXPECT_EQ(BytesOf(s.store), IniHex(u"\r\n[B]\r\nk=3"));
}

TEST(SettingsStore, AnEmptySectionNameNeverUsesTheCache) {
  LoadedStore s(u"[A]\r\nk=1");
  s.store.ReadIniValue(u"A", u"k", u"d");
  s.store.CachedSection = CWString();  // as a fresh store leaves it, with stale positions
  EXPECT_EQ(s.store.ReadIniValue(u"", u"k", u"d"), CWString(u"d"));
  EXPECT_EQ(s.store.CacheHit, 0);
}

TEST(SettingsStore, ListingSections) {
  LoadedStore s(u"[收藏夹]\r\n1名称=a\r\n 2名称 =b\r\nnoequals\r\n   =c\r\n[其他]\r\nx=1\r\n[收藏夹2]\r\ny=2");
  CMStringArray keys;
  EXPECT_EQ(s.store.ListSection(keys, u"", u"", u"收藏夹", u"", u""), 3);
  EXPECT_EQ(keys, (CMStringArray{u"1名称", u"2名称", u""}));
  EXPECT_EQ(s.store.ListSection(keys, u"名称", u"2", u"", u"收藏", u""), 1);
  EXPECT_EQ(keys, (CMStringArray{u"1名称"}));
  EXPECT_EQ(s.store.ListSection(keys, u"", u"", u"", u"", u"收藏夹2"), 4);
  EXPECT_EQ(keys, (CMStringArray{u"1名称", u"2名称", u"", u"x"}));
  EXPECT_EQ(s.store.ListSection(keys, u"", u"", u"", u"", u""), 5);  // every section, file order
  EXPECT_EQ(keys, (CMStringArray{u"1名称", u"2名称", u"", u"x", u"y"}));
}

TEST(SettingsStore, SaveWritesOnlyChangesAndRetriesAFailedWrite) {
  qzu_test::TempDir dir;
  const std::filesystem::path folder = dir.path() / "later";
  const CWString path = CWString::FromUtf8((folder / "软件配置.ini").string());
  rg_TavelkinPeiZhiJiLei store;
  store.LoadIni(path, rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
  EXPECT_TRUE(store.SaveIniIfChanged());  // unchanged: nothing written
  EXPECT_FALSE(std::filesystem::exists(folder));
  store.WriteIniValue(u"S", u"k", u"v");
  EXPECT_FALSE(store.SaveIniIfChanged());  // the folder is missing
  EXPECT_FALSE(std::filesystem::exists(folder));
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(store.SaveIniIfChanged());  // same content, retried now
  EXPECT_EQ(ToHex(qzu_test::ReadFile(folder / "软件配置.ini")), IniHex(u"[S]\r\nk=v"));
  std::filesystem::remove(folder / "软件配置.ini");
  EXPECT_TRUE(store.SaveIniIfChanged());  // saved already: not written again
  EXPECT_FALSE(std::filesystem::exists(folder / "软件配置.ini"));
}

TEST(SettingsStore, MigratesTheOlderGbkFileAndKeepsItInMemory) {
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str()));
  rg_Tavelkin_MingLingJi::ApplicationTitle() = CWString(u"Tavelkin·Quillmere");
  // "[主界面]\r\nk=中文" in GBK.
  qzu_test::WriteFile(dir.path() / "Tavelkin·Quillmere.ini", Hex("5B D6F7 BDE7 C3E6 5D 0D 0A 6B 3D D6D0 CEC4"));
  const CWString path = CWString::FromUtf8((dir.path() / "软件配置.ini").string());
  rg_TavelkinPeiZhiJiLei store;
  store.LoadIni(path, rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
  EXPECT_EQ(store.ReadIniValue(u"主界面", u"k", u"d"), CWString(u"中文"));
  const std::string written = ToHex(qzu_test::ReadFile(dir.path() / "软件配置.ini"));
  EXPECT_EQ(written, IniHex(u"[主界面]\r\nk=中文"));
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "Tavelkin·Quillmere.ini"));  // left in place
  std::filesystem::remove(dir.path() / "软件配置.ini");
  EXPECT_TRUE(store.SaveIniIfChanged());  // unchanged since the migration: no rewrite
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "软件配置.ini"));
  rg_Tavelkin_MingLingJi::ApplicationTitle() = CWString();
}

// A settings file saved by hand in another charset, or in the store's own
// with lines broken by LF alone, is read as the older file is migrated; the
// store holds it as UTF-16LE with CR LF and leaves the file as it is until
// something changes.
TEST(SettingsStore, AHandSavedFileInAnotherCharsetLoadsItsValues) {
  const struct {
    const char* name;
    std::string hex;
  } cases[] = {
      // "[主界面]\r\nk=中文\r\n[S]\r\nn=1" in each form.
      {"UTF-8", "5B E4B8BB E7958C E99DA2 5D 0D0A 6B 3D E4B8AD E69687 0D0A 5B535D 0D0A 6E3D31"},
      {"UTF-8 with a mark", "EFBBBF 5B E4B8BB E7958C E99DA2 5D 0D0A 6B 3D E4B8AD E69687 0D0A 5B535D 0D0A 6E3D31"},
      {"GBK", "5B D6F7 BDE7 C3E6 5D 0D0A 6B 3D D6D0 CEC4 0D0A 5B535D 0D0A 6E3D31"},
      {"UTF-8, lines broken by LF", "5B E4B8BB E7958C E99DA2 5D 0A 6B 3D E4B8AD E69687 0A 5B535D 0A 6E3D31"},
      {"UTF-16LE without a mark", "5B00 3B4E 4C75 6297 5D00 0D000A00 6B00 3D00 2D4E 8765 0D000A00 5B00 5300 5D00 "
                                  "0D000A00 6E00 3D00 3100"},
      // As an editor saves the store's own form: its mark, but LF alone, or
      // both kinds of line break in one file.
      {"UTF-16LE with a mark, lines broken by LF",
       "FFFE 5B00 3B4E 4C75 6297 5D00 0A00 6B00 3D00 2D4E 8765 0A00 5B00 5300 5D00 0A00 6E00 3D00 3100"},
      {"UTF-16LE with a mark, lines broken by CR LF and by LF",
       "FFFE 5B00 3B4E 4C75 6297 5D00 0D000A00 6B00 3D00 2D4E 8765 0A00 5B00 5300 5D00 0D000A00 6E00 3D00 3100"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    qzu_test::TempDir dir;
    const auto file = dir.path() / "软件配置.ini";
    qzu_test::WriteFile(file, Hex(c.hex));
    const CWString path = CWString::FromUtf8(file.string());
    rg_TavelkinPeiZhiJiLei store;
    store.LoadIni(path, rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
    EXPECT_EQ(store.ReadIniValue(u"主界面", u"k", u"d"), CWString(u"中文"));
    EXPECT_EQ(store.ReadIniValue(u"S", u"n", u"d"), CWString(u"1"));
    EXPECT_EQ(BytesOf(store), IniHex(u"[主界面]\r\nk=中文\r\n[S]\r\nn=1"));
    EXPECT_TRUE(store.SaveIniIfChanged());  // nothing changed: the file stays as saved by hand
    EXPECT_EQ(ToHex(qzu_test::ReadFile(file)), ToHex(Hex(c.hex)));
    store.WriteIniValue(u"S", u"n", u"2");
    EXPECT_TRUE(store.SaveIniIfChanged());
    EXPECT_EQ(ToHex(qzu_test::ReadFile(file)), IniHex(u"[主界面]\r\nk=中文\r\n[S]\r\nn=2"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "软件配置.ini.bak"));  // read: nothing to keep
  }
}

// A file that does not read as text starts an empty store; it stays untouched
// while nothing is saved, and the save that replaces it keeps it beside, under
// a numbered name when ".bak" is taken.
TEST(SettingsStore, AFileThatDoesNotReadIsKeptBesideBeforeItIsReplaced) {
  const struct {
    const char* name;
    std::string hex;
  } cases[] = {
      {"binary with NUL bytes", "89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 5B 53 5D"},
      {"control characters", "5B 53 5D 0D 0A 6B 3D 31 01 02 03 04 05 06 07 08"},
      {"damaged GBK", "5B D6F7 BDE7 C3E6 5D 0D0A 6B 3D D6 0D0A FF FF 81 30 81"},
      {"UTF-16 cut in the middle of a unit", "5B00 5300 5D00 0D000A00 6B00 3D00 31"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    qzu_test::TempDir dir;
    const auto file = dir.path() / "软件配置.ini";
    const auto bak = dir.path() / "软件配置.ini.bak";
    qzu_test::WriteFile(file, Hex(c.hex));
    const CWString path = CWString::FromUtf8(file.string());
    rg_TavelkinPeiZhiJiLei store;
    store.LoadIni(path, rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
    EXPECT_EQ(BytesOf(store), "FF FE");
    EXPECT_EQ(store.ReadIniValue(u"S", u"k", u"d"), CWString(u"d"));
    EXPECT_TRUE(store.SaveIniIfChanged());  // nothing to save: the file is not touched
    EXPECT_EQ(ToHex(qzu_test::ReadFile(file)), ToHex(Hex(c.hex)));
    EXPECT_FALSE(std::filesystem::exists(bak));

    qzu_test::WriteFileText(bak, "an earlier backup");
    store.WriteIniValue(u"S", u"k", u"2");
    EXPECT_TRUE(store.SaveIniIfChanged());
    EXPECT_EQ(ToHex(qzu_test::ReadFile(file)), IniHex(u"[S]\r\nk=2"));
    EXPECT_EQ(qzu_test::ReadFileText(bak), "an earlier backup");
    EXPECT_EQ(ToHex(qzu_test::ReadFile(dir.path() / "软件配置.ini (2).bak")), ToHex(Hex(c.hex)));
    store.WriteIniValue(u"S", u"k", u"3");  // the store's own file now: replaced without another backup
    EXPECT_TRUE(store.SaveIniIfChanged());
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "软件配置.ini (3).bak"));
  }
}

// The settings file as a link to a file elsewhere: the user's own link is
// read and its save writes through it. One that another user put there is
// not read, nothing of what it names is kept, and the save replaces the link
// by a file of the store's own.
TEST(SettingsStore, ASettingsFileLinkIsFollowedOnlyWhenItIsTheUsers) {
  namespace fs = std::filesystem;
  const std::string outsideHex = IniHex(u"[S]\r\nk=1");
  for (const bool foreign : {false, true}) {
    SCOPED_TRACE(foreign ? "another user's link" : "own link");
    qzu_test::TempDir dir;
    const auto outside = dir.path() / "outside" / "passwd";
    qzu_test::WriteFile(outside, Hex(outsideHex));
    const auto file = dir.path() / "软件配置.ini";
    fs::create_symlink(outside, file);
    if (foreign && ::lchown(file.c_str(), 12345, 12345) != 0) GTEST_SKIP() << "the process may not give files away";
    rg_TavelkinPeiZhiJiLei store;
    store.LoadIni(CWString::FromUtf8(file.string()), rg_TavelkinPeiZhiJiLei::kIniMigrateOlderFile);
    EXPECT_EQ(store.ReadIniValue(u"S", u"k", u"d"), CWString(foreign ? u"d" : u"1"));
    store.WriteIniValue(u"S", u"k", u"2");
    EXPECT_TRUE(store.SaveIniIfChanged());
    EXPECT_EQ(fs::is_symlink(file), !foreign);
    EXPECT_EQ(ToHex(qzu_test::ReadFile(file)), IniHex(u"[S]\r\nk=2"));
    EXPECT_EQ(ToHex(qzu_test::ReadFile(outside)), foreign ? ToHex(Hex(outsideHex)) : IniHex(u"[S]\r\nk=2"));
    EXPECT_FALSE(fs::exists(dir.path() / "软件配置.ini.bak"));
  }
}

// A store whose first `failures` whole-file writes fail, as on a full disk.
class FlakyStore : public rg_TavelkinPeiZhiJiLei {
 public:
  int failures = 0;
  int writes = 0;

 protected:
  bool WriteWholeFile(const CWString& path, const CQzuMem& bytes) override {
    ++writes;
    if (failures > 0) {
      --failures;
      return false;
    }
    return rg_TavelkinPeiZhiJiLei::WriteWholeFile(path, bytes);
  }
};

TEST(SettingsStore, AMigrationWhoseWriteFailedIsWrittenByTheNextSave) {
  qzu_test::TempDir dir;
  SetProgramFolder(CWString::FromUtf8(dir.str()));
  rg_Tavelkin_MingLingJi::ApplicationTitle() = CWString(u"旧配置");
  qzu_test::WriteFile(dir.path() / "旧配置.ini", {'[', 'S', ']', '\r', '\n', 'k', '=', '1'});
  const auto target = dir.path() / "软件配置.ini";
  FlakyStore store;
  store.failures = 1;
  store.LoadIni(CWString::FromUtf8(target.string()), 2);
  EXPECT_EQ(store.writes, 1);
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(store.ReadIniValue(u"S", u"k", u"d"), CWString(u"1"));  // the migrated content is held
  EXPECT_TRUE(store.SaveIniIfChanged());  // nothing changed since, yet the file is still to be written
  EXPECT_EQ(store.writes, 2);
  EXPECT_EQ(ToHex(qzu_test::ReadFile(target)), IniHex(u"[S]\r\nk=1"));
  EXPECT_TRUE(store.SaveIniIfChanged());  // written now: not again
  EXPECT_EQ(store.writes, 2);
  rg_Tavelkin_MingLingJi::ApplicationTitle() = CWString();
}

TEST(SettingsStore, CopiesShareTheLockAndStreamTheMembers) {
  LoadedStore s(u"[A]\r\nk=1");
  s.store.ReadIniValue(u"A", u"k", u"d");
  rg_TavelkinPeiZhiJiLei copy;
  EXPECT_EQ(copy.CopyFrom(s.store), 1);
  EXPECT_TRUE(copy.Lock.SharesWith(s.store.Lock));
  EXPECT_EQ(copy.FileObject.Handle(), s.store.FileObject.Handle());
  EXPECT_TRUE(copy.IsEqual(s.store));
  CQzuMemStream stream;
  s.store.SaveToStream(stream);
  stream.Rewind();
  rg_TavelkinPeiZhiJiLei loaded;
  loaded.LoadFromStream(stream);
  EXPECT_EQ(stream.GetError(), 0);
  EXPECT_EQ(loaded.IniBytes, s.store.IniBytes);
  EXPECT_EQ(loaded.CachedSection, CWString(u"A"));
  EXPECT_EQ(loaded.CachedHeaderEnd, s.store.CachedHeaderEnd);
  EXPECT_EQ(loaded.SavedDigest, s.store.SavedDigest);
}

}  // namespace
