// The drive list: which mounts of a mount table are roots, and the live list.
#include "textlib/drive_list.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool AnyFolder(const char*) { return true; }
bool NoFolder(const char*) { return false; }

TEST(DriveList, KeepsDisksMediaAndSharesButNotPseudoFileSystems) {
  const char* table =
      "proc /proc proc rw 0 0\n"
      "sysfs /sys sysfs rw 0 0\n"
      "/dev/vda / ext4 rw 0 0\n"
      "tmpfs /dev/shm tmpfs rw 0 0\n"
      "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
      "/dev/sda1 /boot/efi vfat rw 0 0\n"
      "/dev/sdb1 /home ext4 rw 0 0\n"
      "/dev/sdc1 /run/media/li/U\\040\\347\\233\\230 exfat rw 0 0\n"
      "server:/share /mnt/nas nfs4 rw 0 0\n"
      "/dev/loop3 /snap/core/1 squashfs ro 0 0\n"
      "overlay /var/lib/docker/x overlay rw 0 0\n"
      "/dev/sdb1 /home ext4 rw 0 0\n"
      "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw 0 0\n"
      "garbage\n";
  const rg_Ombrine_base::rg_WenBenShuZuLei drives = DrivesFromMountTable(table, &AnyFolder);
  ASSERT_EQ(drives.GetCount(), 4);
  EXPECT_EQ(drives[0], CWString(u"/"));
  EXPECT_EQ(drives[1], CWString(u"/home/"));
  EXPECT_EQ(drives[2], CWString(u"/run/media/li/U 盘/"));
  EXPECT_EQ(drives[3], CWString(u"/mnt/nas/"));
  // Mount points that are files (bind-mounted single files) are no roots.
  EXPECT_EQ(DrivesFromMountTable(table, &NoFolder).GetCount(), 1);
}

TEST(DriveList, LiveListStartsAtTheRootAndHoldsFolders) {
  const rg_Ombrine_base::rg_WenBenShuZuLei drives = ListDrives();
  ASSERT_GE(drives.GetCount(), 1);
  EXPECT_EQ(drives[0], CWString(u"/"));
  for (const CWString& d : drives) {
    EXPECT_TRUE(d.EndsWith(u"/"));
    EXPECT_TRUE(std::filesystem::is_directory(d.ToUtf8())) << d.ToUtf8();
  }
}

}  // namespace
