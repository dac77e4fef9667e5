// Writing whole files safely: replacement in one step, permission bits, links,
// failed writes that keep the old file, and stale temporaries.
#include "textlib/file_write.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include "test_support.h"

namespace fs = std::filesystem;
using qzu_test::Mem;

namespace {

CWString P(const fs::path& p) { return CWString::FromUtf8(p.string()); }

size_t EntriesIn(const fs::path& folder) {
  size_t n = 0;
  for (auto it = fs::directory_iterator(folder); it != fs::directory_iterator(); ++it) ++n;
  return n;
}

TEST(WriteFileBytes, CreatesMissingFoldersAndReplacesOldContent) {
  qzu_test::TempDir dir;
  const fs::path target = dir.path() / "new1" / "new2" / "f.bin";
  ASSERT_EQ(WriteFileBytes(P(target), Mem("first version, long")), 1);
  EXPECT_EQ(qzu_test::ReadFileText(target), "first version, long");
  ASSERT_EQ(WriteFileBytes(P(target), Mem("short")), 1);
  EXPECT_EQ(qzu_test::ReadFileText(target), "short");
  ASSERT_EQ(WriteFileBytes(P(target), CQzuMem()), 1);
  EXPECT_EQ(fs::file_size(target), 0u);
  // Nothing is left beside the target.
  EXPECT_EQ(EntriesIn(target.parent_path()), 1u);
}

TEST(WriteFileBytes, KeepsPermissionBitsAndWritesThroughLinks) {
  qzu_test::TempDir dir;
  const fs::path target = dir.path() / "script.sh";
  qzu_test::WriteFile(target, {'o', 'l', 'd'});
  ASSERT_EQ(::chmod(target.c_str(), 0750), 0);
  ASSERT_EQ(WriteFileBytes(P(target), Mem("new")), 1);
  struct stat st{};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0750u);

  const fs::path link = dir.path() / "link.sh";
  fs::create_symlink(target, link);
  ASSERT_EQ(WriteFileBytes(P(link), Mem("via link")), 1);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(qzu_test::ReadFileText(target), "via link");
}

TEST(WriteFileBytes, FailsCleanlyWhereTheFolderIsAFile) {
  qzu_test::TempDir dir;
  const fs::path blocker = dir.path() / "plain";
  qzu_test::WriteFile(blocker, {'x'});
  EXPECT_EQ(WriteFileBytes(P(blocker / "sub" / "f.bin"), Mem("data")), 0);
  EXPECT_EQ(WriteFileBytes(P(blocker / "f.bin"), Mem("data")), 0);
  EXPECT_EQ(qzu_test::ReadFileText(blocker), "x");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(WriteFileBytes, RefusesEmptyPathsAndFolders) {
  qzu_test::TempDir dir;
  EXPECT_EQ(WriteFileBytes(CWString(), Mem("data")), 0);
  fs::create_directory(dir.path() / "folder");
  EXPECT_EQ(WriteFileBytes(P(dir.path() / "folder"), Mem("data")), 0);
  EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
  EXPECT_EQ(WriteFileBytes(P(dir.path()) + u"/", Mem("data")), 0);
  // A zero unit must not cut the name short and hit the file "a".
  qzu_test::WriteFile(dir.path() / "a", {'k'});
  EXPECT_EQ(WriteFileBytes(P(dir.path()) + std::u16string_view(u"/a\0b", 4), Mem("data")), 0);
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "a"), "k");
}

// A write that runs out of room (here the file size limit, as a full disk
// would) reports failure and leaves the old file whole.
TEST(WriteFileBytes, OldFileSurvivesAFailedWrite) {
  qzu_test::TempDir dir;
  const fs::path target = dir.path() / "keep.txt";
  qzu_test::WriteFile(target, {'o', 'l', 'd'});

  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = WriteFileBytes(P(target), CQzuMem(std::string(5000, 'n').data(), 5000));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_EQ(result, 0);
  EXPECT_EQ(qzu_test::ReadFileText(target), "old");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace

namespace {

TEST(WriteFileBytes, WritesNamesOfTheFullLength) {
  qzu_test::TempDir dir;
  const fs::path target = dir.path() / std::string(255, 'n');
  ASSERT_EQ(WriteFileBytes(P(target), Mem("long name")), 1);
  EXPECT_EQ(qzu_test::ReadFileText(target), "long name");
  ASSERT_EQ(WriteFileBytes(P(target), Mem("again")), 1);
  EXPECT_EQ(qzu_test::ReadFileText(target), "again");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace

namespace {

// Pieces of every size arrive in order; a writer that gives up midway leaves
// the old file and nothing beside it; a new file gets the umask's bits.
TEST(WriteFileFrom, JoinsPiecesAndGivesUpCleanly) {
  qzu_test::TempDir dir;
  const fs::path target = dir.path() / "pieces.bin";
  std::string expected;
  const std::string big(200000, 'b');
  const auto produce = [&](const FileByteSink& sink) {
    expected.clear();
    for (const std::string& piece : {std::string("\xEF\xBB\xBF"), std::string(70000, 'a'), std::string(), big,
                                     std::string("tail")}) {
      if (!sink(piece.data(), piece.size())) return false;
      expected += piece;
    }
    return true;
  };
  ASSERT_EQ(WriteFileFrom(P(target), produce), 1);
  EXPECT_EQ(qzu_test::ReadFileText(target), expected);
  const mode_t mask = ::umask(022);
  ::umask(mask);
  struct stat st{};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);

  EXPECT_EQ(WriteFileFrom(P(target), [&](const FileByteSink& sink) { return sink(big.data(), 10) && false; }), 0);
  EXPECT_EQ(qzu_test::ReadFileText(target), expected);
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

}  // namespace

namespace {

// Temporaries a crash left go with the first write into their folder; one a
// live writer holds locked stays, and so does any other hidden file.
TEST(WriteFileFrom, RemovesStaleTemporariesButNoLiveOne) {
  qzu_test::TempDir dir;
  const fs::path stale = dir.path() / ".qzu-write-ab12CD34";
  const fs::path live = dir.path() / ".qzu-write-zz99ZZ99";
  const fs::path other = dir.path() / ".qzu-write-mine";
  for (const fs::path& p : {stale, live, other}) qzu_test::WriteFile(p, {'t'});
  const int held = ::open(live.c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  ASSERT_EQ(WriteFileBytes(P(dir.path() / "f.txt"), Mem("data")), 1);
  ::close(held);
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(other));
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "f.txt"), "data");
}

TEST(WriteFileFrom, TheNewFileTakesTheModelsPermissionBits) {
  qzu_test::TempDir dir;
  const fs::path model = dir.path() / "private.txt";
  qzu_test::WriteFile(model, {'p'});
  ASSERT_EQ(::chmod(model.c_str(), 0600), 0);
  const fs::path target = dir.path() / "out" / "new.txt";
  ASSERT_EQ(WriteFileFrom(P(target), [](const FileByteSink& sink) { return sink("n", 1); }, P(model)), 1);
  struct stat st{};
  ASSERT_EQ(::stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// A written file goes in place only when asked, never over a file that
// exists when it must not replace one, and is gone when never placed.
TEST(FileReplacement, PlacesOnlyWhenAskedAndNeverOverATakenName) {
  qzu_test::TempDir dir;
  const fs::path taken = dir.path() / "taken.txt";
  qzu_test::WriteFile(taken, {'o', 'l', 'd'});
  {
    FileReplacement file;
    ASSERT_TRUE(file.Write(P(taken), [](const FileByteSink& sink) { return sink("new", 3); }));
    EXPECT_EQ(qzu_test::ReadFileText(taken), "old");  // written, not yet in place
    EXPECT_EQ(EntriesIn(dir.path()), 1u);  // the new file has no name yet
    bool existed = false;
    EXPECT_FALSE(file.CommitWithoutReplacing(P(taken), existed));
    EXPECT_TRUE(existed);
    EXPECT_TRUE(file.CommitWithoutReplacing(P(dir.path() / "free.txt"), existed));
  }
  EXPECT_EQ(qzu_test::ReadFileText(taken), "old");
  EXPECT_EQ(qzu_test::ReadFileText(dir.path() / "free.txt"), "new");
  {
    FileReplacement abandoned;
    ASSERT_TRUE(abandoned.Write(P(taken), [](const FileByteSink& sink) { return sink("gone", 4); }));
  }
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
  EXPECT_EQ(qzu_test::ReadFileText(taken), "old");
}

}  // namespace

namespace {

// A writer told what stands at the target and which status to copy: it takes
// the model's bits, writes through a link it is told of, refuses a folder, and
// a commit that leaves its folder's flush for later still puts the file in
// place at once.
TEST(FileReplacement, UsesTheStatusItIsGiven) {
  qzu_test::TempDir dir;
  const fs::path model = dir.path() / "model.txt";
  qzu_test::WriteFile(model, {'m'});
  ASSERT_EQ(::chmod(model.c_str(), 0640), 0);
  struct stat modelStatus{};
  ASSERT_EQ(::stat(model.c_str(), &modelStatus), 0);
  const auto produce = [](const FileByteSink& sink) { return sink("new", 3); };
  const auto known = [&](const fs::path& target) {
    KnownFileStatus k;
    k.targetSeen = true;
    k.targetMissing = ::lstat(target.c_str(), &k.target) != 0;
    k.model = &modelStatus;
    return k;
  };

  FolderFlushes later;
  const fs::path fresh = dir.path() / "a" / "fresh.txt";
  {
    FileReplacement file;
    ASSERT_TRUE(file.Write(P(fresh), produce, known(fresh)));
    ASSERT_TRUE(file.Commit(&later));
  }
  EXPECT_EQ(qzu_test::ReadFileText(fresh), "new");
  struct stat st{};
  ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  const fs::path target = dir.path() / "b" / "target.txt";
  qzu_test::WriteFileText(target, "old");
  const fs::path link = dir.path() / "b" / "link.txt";
  fs::create_symlink(target, link);
  {
    FileReplacement file;
    ASSERT_TRUE(file.Write(P(link), produce, known(link)));
    ASSERT_TRUE(file.Commit(&later));  // another folder: the first one is flushed
  }
  later.Flush();
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(qzu_test::ReadFileText(target), "new");

  FileReplacement refused;
  EXPECT_FALSE(refused.Write(P(dir.path() / "a"), produce, known(dir.path() / "a")));
  EXPECT_EQ(EntriesIn(dir.path() / "a"), 1u);
  EXPECT_EQ(EntriesIn(dir.path() / "b"), 2u);
}

// The new file without a name, and under a named temporary from the start,
// as where the file system has no files without a name.
class BothKindsOfNewFile : public testing::TestWithParam<bool> {
 protected:
  bool Named() const { return GetParam(); }
  void SetUp() override { SetUnnamedFilesAllowed(!Named()); }
  void TearDown() override { SetUnnamedFilesAllowed(true); }
};

INSTANTIATE_TEST_SUITE_P(FileReplacement, BothKindsOfNewFile, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "NamedTemporary" : "WithoutAName";
                         });

// A target free when the write began (or said to be free by a caller that
// did not look) is taken only while it stays free: whatever stands there at
// the commit, a file, a link or a folder, stays as it is, the new file goes
// and the writer says why. It tells when it made the target's folder.
TEST_P(BothKindsOfNewFile, NeverReplacesANameThatCameAfterTheWriteBegan) {
  qzu_test::TempDir dir;
  const auto produce = [](const FileByteSink& sink) { return sink("new", 3); };
  KnownFileStatus free;
  free.targetSeen = true;
  free.targetMissing = true;
  struct Case {
    const char* name;
    bool sayFree;  // the caller's word, else the writer looks
    std::function<void(const fs::path&)> comeMeanwhile;
    fs::file_type kind;
  };
  const Case cases[] = {
      {"a file, said free", true, [](const fs::path& p) { qzu_test::WriteFileText(p, "came"); },
       fs::file_type::regular},
      {"a file, looked at", false, [](const fs::path& p) { qzu_test::WriteFileText(p, "came"); },
       fs::file_type::regular},
      {"a link", true, [&](const fs::path& p) { fs::create_symlink(dir.path() / "elsewhere", p); },
       fs::file_type::symlink},
      {"a folder", true, [](const fs::path& p) { fs::create_directory(p); }, fs::file_type::directory},
  };
  int n = 0;
  for (const Case& c : cases) {
    const fs::path folder = dir.path() / ("d" + std::to_string(++n));
    const fs::path target = folder / "t.txt";
    {
      FileReplacement file;
      ASSERT_TRUE(c.sayFree ? file.Write(P(target), produce, free) : file.Write(P(target), produce)) << c.name;
      EXPECT_TRUE(file.MadeFolder()) << c.name;
      // Only a named temporary shows in the folder while it is written.
      EXPECT_EQ(EntriesIn(folder), Named() ? 1u : 0u) << c.name;
      c.comeMeanwhile(target);
      EXPECT_FALSE(file.Commit()) << c.name;
      EXPECT_TRUE(file.NameTaken()) << c.name;
    }
    EXPECT_EQ(EntriesIn(folder), 1u) << c.name;  // no new file left behind
    EXPECT_EQ(fs::symlink_status(target).type(), c.kind) << c.name;
    if (c.kind == fs::file_type::regular) {
      EXPECT_EQ(qzu_test::ReadFileText(target), "came") << c.name;
    }
  }
  // Free at the commit too: placed; a folder that was there is not made.
  const fs::path placed = dir.path() / "d1" / "u.txt";
  FileReplacement file;
  ASSERT_TRUE(file.Write(P(placed), produce, free));
  EXPECT_FALSE(file.MadeFolder());
  EXPECT_TRUE(file.Commit());
  EXPECT_FALSE(file.NameTaken());
  EXPECT_EQ(qzu_test::ReadFileText(placed), "new");
}

}  // namespace

namespace {

// A link another user put at the target is not written through: the new file
// replaces the link and takes nothing of the file it names (here a private
// file, whose bits a new file must not take). The user's own link is still
// written through.
TEST_P(BothKindsOfNewFile, ReplacesAnotherUsersLinkInsteadOfWritingThroughIt) {
  qzu_test::TempDir dir;
  const fs::path outside = dir.path() / "outside" / "passwd";
  qzu_test::WriteFileText(outside, "root:x:0:0");
  ASSERT_EQ(::chmod(outside.c_str(), 0600), 0);
  const fs::path link = dir.path() / "shared" / "软件配置.ini";
  fs::create_directories(link.parent_path());
  fs::create_symlink(outside, link);
  ASSERT_EQ(WriteFileBytes(P(link), Mem("own link")), 1);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(qzu_test::ReadFileText(outside), "own link");

  qzu_test::WriteFileText(outside, "root:x:0:0");
  if (::lchown(link.c_str(), 12345, 12345) != 0) GTEST_SKIP() << "the process may not give files to another user";
  ASSERT_EQ(WriteFileBytes(P(link), Mem("own file")), 1);
  EXPECT_EQ(qzu_test::ReadFileText(outside), "root:x:0:0");
  ASSERT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(qzu_test::ReadFileText(link), "own file");
  struct stat st{};
  ASSERT_EQ(::stat(link.c_str(), &st), 0);
  const mode_t mask = ::umask(022);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask);
  EXPECT_EQ(st.st_uid, ::geteuid());
  EXPECT_EQ(EntriesIn(link.parent_path()), 1u);
}

}  // namespace
