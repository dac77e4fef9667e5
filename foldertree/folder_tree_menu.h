#pragma once
// rg_TavelkinMuLuShuKuangCaiChanLei: the folder tree's context menu. One
// top-level popup "顶级菜单" (60000) holding the twelve commands below with
// three separators; the shortcut names beside the captions are those the
// folder tree answers itself (HandleFolderTreeShortcutKey). The built menu
// lives in the framework's menu base and is shared by copies. UI thread only.
#include "framework/context_menu.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

// Command ids of the menu.
enum FolderTreeCommand : int {
  kFolderMenuTop = 60000,
  kFolderCmdRead = 60002,           // 读入 (F5)
  kFolderCmdOpen = 60003,           // 打开 (F3)
  kFolderCmdRename = 60005,         // 重命名 (F2)
  kFolderCmdDelete = 60006,         // 删除 (Del)
  kFolderCmdCopyName = 60008,       // 复制名称 (Ctrl+Shift+C)
  kFolderCmdCopyPath = 60009,       // 复制路径 (Ctrl+C)
  kFolderCmdCheckChildren = 60011,  // 批量选中
  kFolderCmdRefresh = 60012,        // 刷新子目录
  kFolderCmdAddFavourite = 60013,   // 加入收藏夹 (F7)
  kFolderCmdNewFolder = 60014,      // 新建
  kFolderCmdRebuild = 60016,        // 重建目录树
  kFolderCmdGoToClipboard = 60017,  // 跳转剪贴板路径
};

// The definition text of the menu (the framework's menu text form).
CWString GetFolderTreeMenuDefinition();

class rg_TavelkinMuLuShuKuangCaiChanLei : public rg_Ombrine_MFCJieMian_base::rg_CaiChanLei {
  QZU_DECLARE_CLASS(rg_TavelkinMuLuShuKuangCaiChanLei)
 public:
  CWString GetMenuDefinitionText() const override { return GetFolderTreeMenuDefinition(); }
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
