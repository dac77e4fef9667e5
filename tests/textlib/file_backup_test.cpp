// Keeping files in a backup place: numbered free names, never replacing an
// earlier backup, second names or copies that keep the bits, and moves.
#include "textlib/file_backup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;

namespace {

CWString P(const fs::path& p) { return CWString::FromSystemPath(p.string()); }

struct stat StatOf(const fs::path& p) {
  struct stat st{};
  EXPECT_EQ(::lstat(p.c_str(), &st), 0) << p;
  return st;
}

TEST(NumberedPath, PutsTheNumberBeforeTheExtensionWithinTheNameLimit) {
  struct Case {
    const char16_t* path;
    int n;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"/d/x.txt", 1, u"/d/x.txt"},        {u"/d/x.txt", 2, u"/d/x (2).txt"},
      {u"/d/a.tar.gz", 12, u"/d/a.tar (12).gz"}, {u"/d.dir/name", 3, u"/d.dir/name (3)"},
      {u"/d/.hidden", 2, u"/d/.hidden (2)"}, {u"x.txt", 2, u"x (2).txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(NumberedPath(c.path, c.n), CWString(c.expected)) << CWString(c.path).ToUtf8();
  // A name already at the limit gives way in its stem, by whole characters.
  const CWString longName = u"/d/" + CWString(std::u16string(83, u'汉')) + u".txt";  // 249 + 4 bytes
  const CWString numbered = NumberedPath(longName, 2);
  EXPECT_EQ(numbered, u"/d/" + CWString(std::u16string(82, u'汉')) + u" (2).txt");
}

TEST(KeepCopyOf, NeverReplacesAnEarlierBackupAndKeepsTheBits) {
  for (const bool mayLink : {true, false}) {
    qzu_test::TempDir dir;
    const fs::path file = dir.path() / "a.txt";
    qzu_test::WriteFile(file, {'n', 'e', 'w'});
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    qzu_test::WriteFile(dir.path() / "backup" / "a.txt", {'o', 'l', 'd'});
    const CWString kept = KeepCopyOf(P(file), P(dir.path() / "backup" / "a.txt"), mayLink);
    ASSERT_EQ(kept, P(dir.path() / "backup" / "a (2).txt")) << mayLink;
    EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "backup" / "a.txt"), "old");
    EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "backup" / "a (2).txt"), "new");
    EXPECT_EQ(qzu_test::ReadFileText(file), "new");
    const struct stat original = StatOf(file), backup = StatOf(dir.path() / "backup" / "a (2).txt");
    EXPECT_EQ(backup.st_mode & 07777, 0640u);
    EXPECT_EQ(original.st_ino == backup.st_ino, mayLink) << "a second name only when allowed";
  }
}

// A run cut short and made again meets the backup it made: the same bytes
// under any name taken for the file, or the file's own second name, are not
// kept again; other bytes still take the next free name.
TEST(KeepCopyOf, ABackupAlreadyHoldingTheFilesBytesIsNotMadeAgain) {
  for (const bool mayLink : {true, false}) {
    SCOPED_TRACE(mayLink ? "may link" : "copies");
    qzu_test::TempDir dir;
    const fs::path file = dir.path() / "a.txt";
    const fs::path b = dir.path() / "backup";
    qzu_test::WriteFile(file, {'n', 'e', 'w'});
    qzu_test::WriteFile(b / "a.txt", {'o', 'l', 'd'});
    qzu_test::WriteFile(b / "a (2).txt", {'n', 'e', 'w'});
    bool madeNew = true;
    EXPECT_EQ(KeepCopyOf(P(file), P(b / "a.txt"), mayLink, &madeNew), P(b / "a (2).txt"));
    EXPECT_FALSE(madeNew);  // a failed replacement must not remove it
    EXPECT_FALSE(fs::exists(b / "a (3).txt"));

    qzu_test::WriteFile(file, {'n', 'e', 'w', '!'});  // other bytes: kept anew
    EXPECT_EQ(KeepCopyOf(P(file), P(b / "a.txt"), mayLink, &madeNew), P(b / "a (3).txt"));
    EXPECT_TRUE(madeNew);
    EXPECT_EQ(qzu_test::ReadFileText(b / "a (3).txt"), "new!");

    const fs::path linked = dir.path() / "c.txt";
    qzu_test::WriteFile(linked, {'c'});
    fs::create_hard_link(linked, b / "c.txt");
    EXPECT_EQ(KeepCopyOf(P(linked), P(b / "c.txt"), mayLink), P(b / "c.txt"));
    EXPECT_FALSE(fs::exists(b / "c (2).txt"));
  }
}

TEST(KeepCopyOf, KeepsOnlyRegularFilesAndNeedsItsFolder) {
  qzu_test::TempDir dir;
  qzu_test::WriteFile(dir.path() / "f", {'f'});
  fs::create_symlink("f", dir.path() / "link");
  fs::create_directory(dir.path() / "folder");
  qzu_test::WriteFile(dir.path() / "blocker", {'b'});
  EXPECT_TRUE(KeepCopyOf(P(dir.path() / "link"), P(dir.path() / "k1"), true).IsEmpty());
  EXPECT_TRUE(KeepCopyOf(P(dir.path() / "folder"), P(dir.path() / "k2"), true).IsEmpty());
  EXPECT_TRUE(KeepCopyOf(P(dir.path() / "missing"), P(dir.path() / "k3"), true).IsEmpty());
  // A regular file where the backup's folder belongs.
  EXPECT_TRUE(KeepCopyOf(P(dir.path() / "f"), P(dir.path() / "blocker" / "f"), true).IsEmpty());
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "blocker"), "b");
}

// To another file system a rename and a second name both fail: the file is
// copied (and, moving, removed only afterwards).
TEST(MoveToBackup, MovesWithoutReplacingAndCopiesAcrossFileSystems) {
  qzu_test::TempDir dir;
  qzu_test::WriteFile(dir.path() / "x.txt", {'1'});
  qzu_test::WriteFile(dir.path() / "b" / "x.txt", {'0'});
  EXPECT_EQ(MoveToBackup(P(dir.path() / "x.txt"), P(dir.path() / "b" / "x.txt")), P(dir.path() / "b" / "x (2).txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "x.txt"));
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "b" / "x.txt"), "0");
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "b" / "x (2).txt"), "1");

  // Bytes already kept: the file goes, and no second backup comes.
  qzu_test::WriteFile(dir.path() / "w.txt", {'0'});
  EXPECT_EQ(MoveToBackup(P(dir.path() / "w.txt"), P(dir.path() / "b" / "x.txt")), P(dir.path() / "b" / "x.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "w.txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "b" / "x (3).txt"));

  if (!fs::is_directory("/dev/shm") || StatOf("/dev/shm").st_dev == StatOf(dir.path()).st_dev)
    GTEST_SKIP() << "no second file system to copy to";
  qzu_test::TempDir shm("/dev/shm");
  qzu_test::WriteFile(dir.path() / "y.txt", {'2'});
  qzu_test::WriteFile(dir.path() / "z.txt", {'3'});
  EXPECT_EQ(KeepCopyOf(P(dir.path() / "y.txt"), P(shm.path() / "y.txt"), true), P(shm.path() / "y.txt"));
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "y.txt"), "2");
  EXPECT_EQ(qzu_test::ReadFileText(shm.path() / "y.txt"), "2");
  EXPECT_EQ(MoveToBackup(P(dir.path() / "z.txt"), P(shm.path() / "y.txt")), P(shm.path() / "y (2).txt"));
  EXPECT_FALSE(fs::exists(dir.path() / "z.txt"));
  EXPECT_EQ(qzu_test::ReadFileText(shm.path() / "y (2).txt"), "3");
}

}  // namespace
