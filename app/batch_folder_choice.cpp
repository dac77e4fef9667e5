#include "app/batch_folder_choice.h"

#include <utility>

#include "foldertree/folder_choice_dialog.h"

namespace rg_Ombrine_app {

namespace {

BatchFolderChooser& Chooser() {
  static BatchFolderChooser chooser;
  return chooser;
}

}  // namespace

CWString ChooseBatchFolder(const CWString& prompt, const CWString& startFolder) {
  if (Chooser()) return Chooser()(prompt, startFolder);
  rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu::rg_TavelkinLiuLanWenJianGaLei dialog;
  return dialog.ShowFolderChoiceDialog(prompt, startFolder);
}

BatchFolderChooser SetBatchFolderChooser(BatchFolderChooser chooser) {
  return std::exchange(Chooser(), std::move(chooser));
}

}  // namespace rg_Ombrine_app
