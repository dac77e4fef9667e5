#include "framework/file_dialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QPointer>
#include <QStringList>
#include <QTreeView>

#include "common/dpi.h"
#include "framework/file_dialog_columns.h"
#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

namespace {
// Room for the name and the three detail columns at 96 DPI.
constexpr int kDialogWidth = 760;
constexpr int kDialogHeight = 480;
constexpr int kNameColumnWidth = 300;
}  // namespace

QZU_IMPLEMENT_CLASS(rg_TongYongDuiHuaKuang, CQzuObject, "rg_Ombrine_MFCJieMian_base::rg_TongYongDuiHuaKuang")

int rg_TongYongDuiHuaKuang::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TongYongDuiHuaKuang, source)
  mode = src.mode;
  multiSelect = src.multiSelect;
  title = src.title;
  filter = src.filter;
  filterIndex = src.filterIndex;
  initialFolder = src.initialFolder;
  fileName = src.fileName;
  m_chosen = src.m_chosen;
  return 1;
}

QString rg_TongYongDuiHuaKuang::QtNameFilters(const CWString& filter, QStringList* entriesOut) {
  const std::vector<CWString> parts = filter.Split(u"|");
  QStringList entries;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    QStringList patterns;
    for (const CWString& p : parts[i + 1].Split(u";", true, true))
      patterns << (p == u"*.*" ? QStringLiteral("*") : ToQString(p));
    entries << ToQString(parts[i]) + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  if (entriesOut) *entriesOut = entries;
  return entries.join(QStringLiteral(";;"));
}

bool rg_TongYongDuiHuaKuang::Show(CQzuWinControl* owner) {
  m_chosen.Empty();
  // On the heap: an owner destroyed while the dialog is up takes it along.
  QPointer<QFileDialog> guard =
      new QFileDialog(owner ? owner->GetWidget() : nullptr, ToQString(title), ToQString(initialFolder));
  QFileDialog& dialog = *guard;
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  QStringList entries;
  const QString filters = QtNameFilters(filter, &entries);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(entries);
    if (filterIndex >= 1 && filterIndex <= entries.size()) dialog.selectNameFilter(entries[filterIndex - 1]);
  }
  if (mode == kSave) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  if (!fileName.IsEmpty()) dialog.selectFile(ToQString(fileName));
  // Sizes, types and dates in Chinese, and columns wide enough for them.
  auto* columns = new FileDialogColumns(&dialog);
  dialog.setProxyModel(columns);
  dialog.resize(ScaleByDpiFactor(kDialogWidth), ScaleByDpiFactor(kDialogHeight));
  if (auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = view->header();
    header->resizeSection(FileDialogColumns::kName, ScaleByDpiFactor(kNameColumnWidth));
    for (int c : {FileDialogColumns::kSize, FileDialogColumns::kType, FileDialogColumns::kDate})
      header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  }
  const bool accepted = dialog.exec() == QDialog::Accepted && guard;
  const QStringList chosen = accepted ? dialog.selectedFiles() : QStringList();
  delete guard.data();
  for (const QString& f : chosen) m_chosen.Add(FromQString(f));
  if (!m_chosen.IsEmpty()) fileName = m_chosen[0];
  return !m_chosen.IsEmpty();
}

}  // namespace rg_Ombrine_MFCJieMian_base
