#include "textlib/drive_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "platform/mount_table.h"
#include "textlib/path_helpers.h"

namespace {

// File systems that hold a user's files. Everything else in the table (proc,
// sysfs, cgroup, tmpfs, devpts, overlay layers, squashfs images...) is the
// system's own business.
bool IsUserFileSystem(const std::string& type) {
  static const char* const kTypes[] = {"ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs",
                                       "zfs", "vfat", "msdos", "exfat", "ntfs", "ntfs3", "fuseblk", "hfs",
                                       "hfsplus", "iso9660", "udf", "nfs", "nfs4", "cifs", "smb3", "9p"};
  if (std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes)) return true;
  // User-space file systems such as sshfs or a phone's storage, but not the
  // desktop's own helpers.
  return type.rfind("fuse.", 0) == 0 && type != "fuse.gvfsd-fuse" && type != "fuse.portal" &&
         type != "fuse.lxcfs";
}

// Folders the system keeps for itself, whatever is mounted there.
bool IsSystemPlace(const std::string& path) {
  for (const char* prefix : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap"}) {
    const size_t n = std::char_traits<char>::length(prefix);
    if (path.compare(0, n, prefix) == 0 && (path.size() == n || path[n] == '/')) {
      // Removable media appear under /run/media/<user>/.
      if (path.rfind("/run/media/", 0) == 0) return false;
      return true;
    }
  }
  return false;
}

bool IsFolderOnDisk(const char* path) {
  struct stat st{};
  return ::stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

rg_Ombrine_base::rg_WenBenShuZuLei DrivesFromMountTable(std::string_view mounts, bool (*isFolder)(const char*)) {
  rg_Ombrine_base::rg_WenBenShuZuLei drives;
  drives.Add(CWString(kPathSeparatorText));
  for (const MountEntry& e : ParseMountTable(mounts)) {
    const std::string& point = e.point;
    if (point.empty() || point == "/" || !IsUserFileSystem(e.type) || IsSystemPlace(point)) continue;
    if (isFolder && !isFolder(point.c_str())) continue;
    const CWString item = AppendTrailingBackslash(CWString::FromSystemPath(point));
    // A file system mounted twice at one place (or stacked) is one root.
    if (std::find(drives.begin(), drives.end(), item) == drives.end()) drives.Add(item);
  }
  return drives;
}

rg_Ombrine_base::rg_WenBenShuZuLei ListDrives() { return DrivesFromMountTable(ReadMountTable(), &IsFolderOnDisk); }
