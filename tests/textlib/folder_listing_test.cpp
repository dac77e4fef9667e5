// File-name patterns and listing a folder's files and sub-folders.
#include "textlib/folder_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "test_support.h"
#include "textlib/name_pattern.h"

namespace fs = std::filesystem;

namespace {

TEST(NamePattern, MatchesLikeTheFileSearch) {
  struct Case {
    const char16_t* name;
    const char16_t* pattern;
    bool match;
  } cases[] = {
      {u"a.txt", u"*.txt", true},     {u"A.TXT", u"*.txt", true},    {u"a.txt.bak", u"*.txt", false},
      {u"data", u"*.*", true},        {u"a.b.c", u"*.*", true},      {u"ab", u"a?", true},
      {u"a", u"a?", false},           {u"readme", u"read*", true},   {u"x.htm", u"*.htm*", true},
      {u"report", u"report.*", true}, {u"汉字.txt", u"汉*.TXT", true}, {u"", u"*", true},
      {u"abc", u"*b*c*", true},       {u"abd", u"*b*c*", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesNamePattern(c.name, c.pattern), c.match)
        << CWString(c.name).ToUtf8() << " ~ " << CWString(c.pattern).ToUtf8();
}

class FolderListing : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path d = dir.path();
    for (const char* name : {"b.log", "a.txt", "A.TXT", "c.Txt", ".h.txt", "noext"}) qzu_test::WriteFile(d / name, {});
    fs::create_directory(d / "data");
    fs::create_directory(d / "Sub.dir");
    fs::create_directory(d / ".hidden");
    ASSERT_EQ(::mkfifo((d / "pipe.txt").c_str(), 0600), 0);
    fs::create_symlink(d / "loop", d / "loop");          // a link to itself
    fs::create_symlink(d, d / "up");                     // a link back to the folder
    fs::create_symlink(d / "a.txt", d / "alias.txt");   // a link to a file
    base = CWString::FromUtf8(d.string());
  }
  CWString Path(const char16_t* name) const { return base + u"/" + name; }

  qzu_test::TempDir dir;
  CWString base;
  rg_Ombrine_base::rg_WenBenShuZuLei out;
};

TEST_F(FolderListing, ListsMatchingFilesSortedWithoutHiddenFifosOrLinkLoops) {
  ASSERT_EQ(ListFolderEntries(base, u"*.txt", out, 0), 4);
  EXPECT_EQ(out[0], Path(u"A.TXT"));
  EXPECT_EQ(out[1], Path(u"a.txt"));
  EXPECT_EQ(out[2], Path(u"alias.txt"));
  EXPECT_EQ(out[3], Path(u"c.Txt"));
  // With and without the trailing separator alike.
  rg_Ombrine_base::rg_WenBenShuZuLei again;
  ListFolderEntries(base + u"/", u"*.txt", again, 0);
  EXPECT_EQ(again, out);
}

TEST_F(FolderListing, SeveralPatternsListEachNameOnceAtItsFirstPattern) {
  ASSERT_EQ(ListFolderEntries(base, u" *.log | | a* ", out, 0), 4);
  EXPECT_EQ(out[0], Path(u"b.log"));
  EXPECT_EQ(out[1], Path(u"A.TXT"));
  EXPECT_EQ(out[2], Path(u"a.txt"));
  EXPECT_EQ(out[3], Path(u"alias.txt"));
  ASSERT_EQ(ListFolderEntries(base, u"*.txt|a*", out, 0), 4);
  EXPECT_EQ(out[1], Path(u"a.txt"));
}

TEST_F(FolderListing, StarDotStarListsEveryFileAndFolder) {
  EXPECT_EQ(ListFolderEntries(base, u"*.*", out, 0), 6);  // noext too, not the fifo or links
  ASSERT_EQ(ListFolderEntries(base, u"*.*", out, 1), 2);
  EXPECT_EQ(out[0], Path(u"Sub.dir"));
  EXPECT_EQ(out[1], Path(u"data"));
  EXPECT_EQ(ListFolderEntries(base, u"*", out, 1), 2);
}

TEST_F(FolderListing, EmptyInputsAndMissingFoldersGiveNothing) {
  out.Add(u"stale");
  EXPECT_EQ(ListFolderEntries(CWString(), u"*", out, 0), 0);
  EXPECT_TRUE(out.IsEmpty());
  EXPECT_EQ(ListFolderEntries(base, u" | ", out, 0), 0);
  EXPECT_EQ(ListFolderEntries(base + u"/missing", u"*", out, 0), 0);
  EXPECT_EQ(ListFolderEntries(Path(u"a.txt"), u"*", out, 0), 0);
  EXPECT_EQ(ListFolderEntries(base + std::u16string_view(u"\0x", 2), u"*", out, 0), 0);
  EXPECT_EQ(HasSubFolder(base + std::u16string_view(u"\0x", 2)), 0);
}

TEST_F(FolderListing, HasSubFolderIgnoresHiddenFoldersAndLinks) {
  EXPECT_EQ(HasSubFolder(base), 1);
  EXPECT_EQ(HasSubFolder(Path(u"data")), 0);
  fs::create_directory(dir.path() / "data" / ".only-hidden");
  fs::create_symlink(dir.path(), dir.path() / "data" / "back");
  EXPECT_EQ(HasSubFolder(Path(u"data/")), 0);
  EXPECT_EQ(HasSubFolder(base + u"/missing"), 0);
  EXPECT_EQ(HasSubFolder(CWString()), 0);
}

}  // namespace
