#include "foldertree/folder_tree_drives.h"

#include <cstdint>

#include "platform/file_system_info.h"
#include "textlib/drive_list.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

namespace {

IFolderTreeDrives g_defaultDrives;
IFolderTreeDrives* g_drives = &g_defaultDrives;

}  // namespace

std::vector<FolderTreeDrive> IFolderTreeDrives::ListFolderTreeDrives() {
  std::vector<FolderTreeDrive> drives;
  for (const CWString& root : ListDrives()) {
    uint64_t freeBytes = 0, totalBytes = 0;
    if (!FileSystemSpace(root, freeBytes, totalBytes)) continue;
    drives.push_back({root, FileSystemLabel(root)});
  }
  return drives;
}

IFolderTreeDrives& FolderTreeDrives() { return *g_drives; }

IFolderTreeDrives* InstallFolderTreeDrives(IFolderTreeDrives* drives) {
  IFolderTreeDrives* old = g_drives;
  g_drives = drives ? drives : &g_defaultDrives;
  return old == &g_defaultDrives ? nullptr : old;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
