#include "app/batch_folder_choice.h"

#include <QFileDialog>

#include <utility>

#include "framework/qt_text.h"

namespace rg_Ombrine_app {

namespace {

BatchFolderChooser& Chooser() {
  static BatchFolderChooser chooser;
  return chooser;
}

// The folder dialog of the desktop toolkit, with the prompt as its title.
CWString AskWithFolderDialog(CQzuWinControl* owner, const CWString& prompt, const CWString& startFolder) {
  QFileDialog dialog(owner ? owner->GetWidget() : nullptr, ToQString(prompt), ToQString(startFolder));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return CWString();
  return FromQString(dialog.selectedFiles().first());
}

}  // namespace

CWString ChooseBatchFolder(CQzuWinControl* owner, const CWString& prompt, const CWString& startFolder) {
  if (Chooser()) return Chooser()(owner, prompt, startFolder);
  return AskWithFolderDialog(owner, prompt, startFolder);
}

BatchFolderChooser SetBatchFolderChooser(BatchFolderChooser chooser) {
  return std::exchange(Chooser(), std::move(chooser));
}

}  // namespace rg_Ombrine_app
