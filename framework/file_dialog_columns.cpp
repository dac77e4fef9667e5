#include "framework/file_dialog_columns.h"

#include <QCoreApplication>
#include <QDateTime>

namespace {
QLocale Chinese() { return QLocale(QLocale::Chinese, QLocale::China); }
}  // namespace

QString FileDialogColumns::SizeText(qint64 bytes) {
  // The Chinese locale names bytes ("27 字节") but leaves the larger units
  // as their symbols ("4.88 KiB"): those come from the catalogue, in the
  // same form, with the locale's two decimals.
  static const char* const kUnits[] = {"%1 KiB", "%1 MiB", "%1 GiB", "%1 TiB", "%1 PiB", "%1 EiB"};
  const QLocale chinese = Chinese();
  if (bytes > -1024 && bytes < 1024) return chinese.formattedDataSize(bytes);
  int power = 0;
  double value = static_cast<double>(bytes);
  while (power < 6 && (value >= 1024.0 || value <= -1024.0)) {
    value /= 1024.0;
    ++power;
  }
  return QCoreApplication::translate("QzuFileDialog", kUnits[power - 1], "file size in units of 1024 bytes")
      .arg(chinese.toString(value, 'f', 2));
}

QString FileDialogColumns::DateText(const QDateTime& time) { return Chinese().toString(time, QLocale::ShortFormat); }

QString FileDialogColumns::TypeText(const QFileInfo& info) {
  if (info.isSymLink() && !info.exists())
    return QCoreApplication::translate("QzuFileDialog", "Link", "type of a symbolic link");
  if (info.isDir())
    return QCoreApplication::translate("QAbstractFileIconProvider", "Folder", "All other platforms");
  const QString suffix = info.suffix();
  if (suffix.isEmpty()) return QCoreApplication::translate("QzuFileDialog", "File", "type of a file without an extension");
  return QCoreApplication::translate("QzuFileDialog", "%1 File", "type of a file with the extension %1")
      .arg(suffix.toUpper());
}

QVariant FileDialogColumns::data(const QModelIndex& index, int role) const {
  const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
  if (!files || !index.isValid() || role != Qt::DisplayRole || index.column() == kName)
    return QIdentityProxyModel::data(index, role);
  const QModelIndex source = mapToSource(index);
  const QFileInfo info = files->fileInfo(source);
  switch (index.column()) {
    case kSize:
      return info.isDir() ? QString() : SizeText(info.size());
    case kType:
      return TypeText(info);
    case kDate:
      return DateText(files->lastModified(source));
    default:
      return QIdentityProxyModel::data(index, role);
  }
}
