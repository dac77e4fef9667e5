// The folder walker on a temporary tree: visiting order, the filter, the
// exclusions, stopping, and a folder link that points back up.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/stream.h"
#include "platform/hooks.h"
#include "services/folder_walker.h"
#include "test_support.h"

using rg_Tavelkin_MingLingJi::rg_TavelkinBianLiZiMuLuLei;
namespace fs = std::filesystem;

namespace {

struct Visit {
  std::string folder;
  std::vector<std::string> files;  // relative to the root
};

struct Recorder {
  std::string root;
  std::vector<Visit> visits;
  std::string stopAt;  // sets the walker's stop flag inside this folder's event
};

std::string Relative(const std::string& root, const CWString& path) {
  std::string p = path.ToUtf8();
  if (p == root) return ".";
  return p.compare(0, root.size() + 1, root + "/") == 0 ? p.substr(root.size() + 1) : "outside:" + p;
}

intptr_t OnFolder(CQzuObject*, CQzuObject* sender, intptr_t userData, const rg_Ombrine_base::rg_WenBenShuZuLei& files,
                  const CWString& folder) {
  auto* rec = reinterpret_cast<Recorder*>(userData);
  Visit v;
  v.folder = Relative(rec->root, folder);
  for (const CWString& f : files) v.files.push_back(Relative(rec->root, f));
  rec->visits.push_back(v);
  if (v.folder == rec->stopAt) static_cast<rg_TavelkinBianLiZiMuLuLei*>(sender)->stopFlag = 1;
  return 0;
}

// Counts pumps; the stop button of the window is pressed at the given pump.
class PumpHooks : public IPlatformHooks {
 public:
  void PumpPendingMessages() override {
    ++pumps;
    if (walker && pumps == stopAtPump) walker->stopFlag = 1;
  }
  int pumps = 0;
  int stopAtPump = -1;
  rg_TavelkinBianLiZiMuLuLei* walker = nullptr;
};

class FolderWalker : public ::testing::Test {
 protected:
  void SetUp() override {
    root = dir.str() + "/根";
    const fs::path r = root;
    fs::create_directories(r / "A" / "C");
    fs::create_directories(r / "B");
    fs::create_directories(r / "转换结果");
    fs::create_directories(r / "旧转换结果");
    fs::create_directories(r / "OldBackup");
    for (const char* f : {"a.txt", "b.htm", "c.bin", ".hidden.txt", "A/x.txt", "A/C/y.TXT", "转换结果/r.txt",
                          "旧转换结果/s.txt", "OldBackup/t.txt"}) {
      qzu_test::WriteFile(r / fs::u8path(f), {'x'});
    }
    fs::create_directory_symlink(r, r / "A" / "loop");  // back to the root
    rec.root = root;
    receiver = CQzuReceiverRef::Make(&receiverObject);
    walker.folderEvent.Connect(&OnFolder, receiver, reinterpret_cast<intptr_t>(&rec));
    previous = InstallPlatformHooks(&hooks);
    hooks.walker = &walker;
  }
  void TearDown() override {
    InstallPlatformHooks(previous);
    receiver->Detach();
  }

  std::vector<std::string> Folders() const {
    std::vector<std::string> out;
    for (const Visit& v : rec.visits) out.push_back(v.folder);
    return out;
  }

  qzu_test::TempDir dir;
  std::string root;
  Recorder rec;
  CQzuObject receiverObject;
  CQzuReceiverRef receiver;
  rg_TavelkinBianLiZiMuLuLei walker;
  PumpHooks hooks;
  IPlatformHooks* previous = nullptr;
};

const CWString kExclusions(u"转换结果|原文件备份|backup");

}  // namespace

TEST_F(FolderWalker, VisitsEachFolderBeforeItsSubFoldersWithItsMatchingFiles) {
  // The root is given with a trailing separator and reported without it.
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root + "/"), u"*.txt|*.htm", 1, kExclusions), 1);
  ASSERT_EQ(rec.visits.size(), 4u);
  EXPECT_EQ(rec.visits[0].folder, ".");
  EXPECT_EQ(rec.visits[0].files, (std::vector<std::string>{"a.txt", "b.htm"}));
  EXPECT_EQ(rec.visits[1].folder, "A");
  EXPECT_EQ(rec.visits[1].files, (std::vector<std::string>{"A/x.txt"}));
  // Patterns ignore case; the link back to the root is not entered.
  EXPECT_EQ(rec.visits[2].folder, "A/C");
  EXPECT_EQ(rec.visits[2].files, (std::vector<std::string>{"A/C/y.TXT"}));
  // An empty folder still gets its event.
  EXPECT_EQ(rec.visits[3].folder, "B");
  EXPECT_TRUE(rec.visits[3].files.empty());
  // One pump after every folder.
  EXPECT_EQ(hooks.pumps, 4);
}

TEST_F(FolderWalker, ExclusionsSkipSubFoldersWhoseNameContainsAKeyword) {
  ASSERT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.*", 1, u""), 1);
  std::vector<std::string> all = Folders();
  EXPECT_EQ(all.size(), 7u);
  for (const char* f : {"转换结果", "旧转换结果", "OldBackup"}) {
    EXPECT_NE(std::find(all.begin(), all.end(), f), all.end()) << f;
  }

  rec.visits.clear();
  ASSERT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.*", 1, kExclusions), 1);
  EXPECT_EQ(Folders(), (std::vector<std::string>{".", "A", "A/C", "B"}));

  // The root itself is never tested against the exclusions.
  rec.visits.clear();
  rec.root = root + "/转换结果";
  ASSERT_EQ(walker.WalkSubFolders(CWString::FromUtf8(rec.root), u"*.txt", 1, kExclusions), 1);
  ASSERT_EQ(rec.visits.size(), 1u);
  EXPECT_EQ(rec.visits[0].files, (std::vector<std::string>{"r.txt"}));
}

TEST_F(FolderWalker, WithoutSubFoldersOnlyTheRootIsVisited) {
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.bin", 0, kExclusions), 1);
  ASSERT_EQ(rec.visits.size(), 1u);
  EXPECT_EQ(rec.visits[0].files, (std::vector<std::string>{"c.bin"}));
}

TEST_F(FolderWalker, StopFlagSetInsideAHandlerEndsTheWholeWalk) {
  rec.stopAt = "A";
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 0);
  EXPECT_EQ(Folders(), (std::vector<std::string>{".", "A"}));
  // The walker leaves the flag to its owner: the next walk ends at once.
  EXPECT_EQ(walker.stopFlag, 1);
  rec.visits.clear();
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 0);
  EXPECT_TRUE(rec.visits.empty());
  walker.stopFlag = 0;
  rec.stopAt.clear();
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 1);
  EXPECT_EQ(rec.visits.size(), 4u);
}

TEST_F(FolderWalker, StopButtonPressedDuringThePumpEndsTheWalk) {
  hooks.stopAtPump = 3;
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 0);
  EXPECT_EQ(Folders(), (std::vector<std::string>{".", "A", "A/C"}));
}

intptr_t OnSkipped(CQzuObject*, CQzuObject*, intptr_t userData, const CWString& folder) {
  reinterpret_cast<std::vector<std::string>*>(userData)->push_back(folder.ToSystemPath());
  return 0;
}

TEST_F(FolderWalker, FolderThatCannotBeListedGetsAnEventWithoutFilesAndIsReported) {
  std::vector<std::string> skipped;
  walker.skippedFolderEvent.Connect(&OnSkipped, receiver, reinterpret_cast<intptr_t>(&skipped));
  rec.root = root + "/missing";
  for (const int subFolders : {1, 0}) {
    rec.visits.clear();
    EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(rec.root), u"*.*", subFolders, kExclusions), 1);
    ASSERT_EQ(rec.visits.size(), 1u);
    EXPECT_EQ(rec.visits[0].folder, ".");
    EXPECT_TRUE(rec.visits[0].files.empty());
  }
  EXPECT_EQ(walker.skippedFolders, 2);
  EXPECT_EQ(skipped, (std::vector<std::string>{rec.root, rec.root}));
  // A readable tree reports nothing.
  walker.skippedFolders = 0;
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 1);
  EXPECT_EQ(walker.skippedFolders, 0);
}

// Folders nested past the system's path length limit cannot be opened by
// their path: the first of them is reported, and the walk goes on.
TEST_F(FolderWalker, FoldersPastThePathLengthLimitAreReported) {
  std::vector<std::string> skipped;
  walker.skippedFolderEvent.Connect(&OnSkipped, receiver, reinterpret_cast<intptr_t>(&skipped));
  const std::string name(200, 'n');
  std::vector<int> fds = {::open(root.c_str(), O_RDONLY | O_DIRECTORY)};
  std::string deepest = root;
  std::string firstTooLong;
  while (deepest.size() < PATH_MAX + 400) {
    ASSERT_EQ(::mkdirat(fds.back(), name.c_str(), 0755), 0);
    fds.push_back(::openat(fds.back(), name.c_str(), O_RDONLY | O_DIRECTORY));
    ASSERT_GE(fds.back(), 0);
    deepest += "/" + name;
    if (firstTooLong.empty() && deepest.size() + 1 >= PATH_MAX) firstTooLong = deepest;
  }
  EXPECT_EQ(walker.WalkSubFolders(CWString::FromUtf8(root), u"*.txt", 1, kExclusions), 1);
  EXPECT_EQ(walker.skippedFolders, 1);
  EXPECT_EQ(skipped, std::vector<std::string>{firstTooLong});
  const std::vector<std::string> visited = Folders();
  EXPECT_TRUE(std::find(visited.begin(), visited.end(), "B") != visited.end());  // the walk went on
  // Taken down by handles: no path reaches that deep.
  for (size_t i = fds.size() - 1; i > 0; --i) {
    ::close(fds[i]);
    ::unlinkat(fds[i - 1], name.c_str(), AT_REMOVEDIR);
  }
  ::close(fds[0]);
}

TEST(FolderWalkerObject, CopyAndStreamCarryTheStopFlagOnly) {
  rg_TavelkinBianLiZiMuLuLei walker;
  CQzuObject target;
  CQzuReceiverRef receiver = CQzuReceiverRef::Make(&target);
  walker.folderEvent.Connect(&OnFolder, receiver, 0);
  walker.stopFlag = 1;

  rg_TavelkinBianLiZiMuLuLei copy(walker);
  EXPECT_EQ(copy.stopFlag, 1);
  EXPECT_FALSE(copy.folderEvent.IsConnected());
  EXPECT_TRUE(copy.IsEqual(walker));
  copy.stopFlag = 0;
  EXPECT_FALSE(copy.IsEqual(walker));

  CQzuMemStream stream;
  walker.SaveToStream(stream);
  EXPECT_EQ(stream.Buffer().GetSize(), 4u);
  stream.Rewind();
  copy.LoadFromStream(stream);
  EXPECT_EQ(copy.stopFlag, 1);
  receiver->Detach();
}
