// A file system's space and label: the space of the one holding a folder,
// and labels found through a folder of label links for the device mounted at
// a place (escaped names, links on the way, mounts stacked at one place,
// shares and unlabelled devices without a label).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system_info.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(FileSystemInfo, SpaceOfTheFileSystemHoldingAPath) {
  qzu_test::TempDir dir;
  uint64_t freeBytes = 0, total = 0;
  ASSERT_TRUE(FileSystemSpace(CWString::FromSystemPath(dir.str()), freeBytes, total));
  EXPECT_GT(total, 0u);
  EXPECT_LE(freeBytes, total);
  EXPECT_FALSE(FileSystemSpace(CWString::FromSystemPath(dir.str() + "/missing"), freeBytes, total));
  EXPECT_FALSE(FileSystemSpace(CWString(), freeBytes, total));
}

TEST(FileSystemInfo, LabelOfTheDeviceMountedAtAPlace) {
  qzu_test::TempDir dir;
  const fs::path dev = dir.path() / "dev", byLabel = dir.path() / "by-label", byUuid = dir.path() / "by-uuid";
  fs::create_directories(dev);
  fs::create_directories(byLabel);
  fs::create_directories(byUuid);
  for (const char* d : {"sdb1", "sdc1", "sdd1"}) qzu_test::WriteFileText(dev / d, "");
  fs::create_symlink("../dev/sdb1", byLabel / "My\\x20Disk");
  fs::create_symlink("../dev/sdc1", byLabel / "数据");
  fs::create_symlink("../dev/sdc1", byUuid / "1234-ABCD");
  const std::string d = dev.string();
  const std::string table = d + "/sdb1 /media/u/My\\040Disk ext4 rw 0 0\n" +          //
                            byUuid.string() + "/1234-ABCD /mnt/data vfat rw 0 0\n" +  // through a link
                            d + "/sdd1 /mnt/plain ext4 rw 0 0\n" +                    // no label
                            "server:/export /mnt/share nfs4 rw 0 0\n" +               //
                            d + "/sdd1 /mnt/stacked ext4 rw 0 0\n" +                  //
                            d + "/sdb1 /mnt/stacked ext4 rw 0 0\n";                   // the later mount wins
  const struct {
    const char16_t* point;
    const char16_t* label;
  } cases[] = {{u"/media/u/My Disk", u"My Disk"},
               {u"/media/u/My Disk/", u"My Disk"},
               {u"/mnt/data/", u"数据"},
               {u"/mnt/plain", u""},
               {u"/mnt/share", u""},
               {u"/mnt/stacked", u"My Disk"},
               {u"/mnt/none", u""}};
  for (const auto& c : cases)
    EXPECT_EQ(FileSystemLabelFrom(c.point, table, byLabel.string()), CWString(c.label)) << CWString(c.point).ToUtf8();
  EXPECT_EQ(FileSystemLabelFrom(u"/mnt/data", table, (dir.path() / "no-such-folder").string()), CWString());
}

}  // namespace
