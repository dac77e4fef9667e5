#pragma once
// What the folder tree's computer row lists: the mounted file systems that
// answer (in place of drive letters), each with its label when one is known.
// The default asks the system (ListDrives, FileSystemSpace, FileSystemLabel);
// tests install their own list. UI thread only.
#include <vector>

#include "common/wstring.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

struct FolderTreeDrive {
  CWString root;   // the mount point, ending with the separator ("/" for the root file system)
  CWString label;  // empty when none is known
};

class IFolderTreeDrives {
 public:
  virtual ~IFolderTreeDrives() = default;
  // In the system's order, "/" first. A file system that does not tell its
  // free space (a share that does not answer, a drive without a medium) is
  // left out.
  virtual std::vector<FolderTreeDrive> ListFolderTreeDrives();
};

// The list in force; never null.
IFolderTreeDrives& FolderTreeDrives();
// Installs `drives` (owned by the caller, kept alive while installed); null
// restores the default. Returns the one that was in force before, null for
// the default.
IFolderTreeDrives* InstallFolderTreeDrives(IFolderTreeDrives* drives);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
