#include "foldertree/folder_tree_menu.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

QZU_IMPLEMENT_CLASS(rg_TavelkinMuLuShuKuangCaiChanLei, rg_Ombrine_MFCJieMian_base::rg_CaiChanLei,
                    "rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinMuLuShuKuangCaiChanLei")

namespace {

// One item: level, caption, the caption again as its name, id, an empty
// auxiliary text, the shortcut name, then Ctrl, Shift, separator, checked
// and greyed.
CWString MenuItem(int level, const char16_t* caption, int id, const char16_t* shortcut = u"", bool ctrl = false,
                  bool shift = false) {
  return CWString(u"\n") + CWString::FromInt(level) + u"\n" + caption + u"\n" + caption + u"\n" +
         CWString::FromInt(id) + u"\n\n" + shortcut + u"\n" + (ctrl ? u"1" : u"0") + u"\n" + (shift ? u"1" : u"0") +
         u"\n0\n0\n0";
}

CWString Separator() { return u"\n1\n\n\n0\n\n\n0\n0\n1\n0\n0"; }

}  // namespace

CWString GetFolderTreeMenuDefinition() {
  return CWString(u"1") + MenuItem(0, u"顶级菜单", kFolderMenuTop) + MenuItem(1, u"读入", kFolderCmdRead, u"F5") +
         MenuItem(1, u"打开", kFolderCmdOpen, u"F3") + Separator() + MenuItem(1, u"重命名", kFolderCmdRename, u"F2") +
         MenuItem(1, u"删除", kFolderCmdDelete, u"Del") + MenuItem(1, u"新建", kFolderCmdNewFolder) + Separator() +
         MenuItem(1, u"复制名称", kFolderCmdCopyName, u"C", true, true) +
         MenuItem(1, u"复制路径", kFolderCmdCopyPath, u"C", true) +
         MenuItem(1, u"跳转剪贴板路径", kFolderCmdGoToClipboard) + Separator() +
         MenuItem(1, u"批量选中", kFolderCmdCheckChildren) + MenuItem(1, u"刷新子目录", kFolderCmdRefresh) +
         MenuItem(1, u"加入收藏夹", kFolderCmdAddFavourite, u"F7") + Separator() +
         MenuItem(1, u"重建目录树", kFolderCmdRebuild);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
