#include "framework/file_dialog.h"

#include <QFileDialog>
#include <QStringList>

#include "framework/qt_text.h"

namespace rg_Ombrine_MFCJieMian_base {

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
  QFileDialog dialog(owner ? owner->GetWidget() : nullptr, ToQString(title), ToQString(initialFolder));
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
  if (dialog.exec() != QDialog::Accepted) return false;
  for (const QString& f : dialog.selectedFiles()) m_chosen.Add(FromQString(f));
  if (!m_chosen.IsEmpty()) fileName = m_chosen[0];
  return !m_chosen.IsEmpty();
}

}  // namespace rg_Ombrine_MFCJieMian_base
