#pragma once
// FileDialogColumns: the detail columns of the program's file dialog in
// Chinese whatever the system's locale. Qt's file system model writes sizes
// and dates in the system locale's form ("27 bytes", "11 Dec 2026") and the
// types of files as the MIME database's comment in the default locale's
// language; this proxy, set on the dialog with QFileDialog::setProxyModel,
// gives sizes and dates in the Chinese locale's form ("27 字节",
// "2026/12/11 6:52") and types as Windows' Explorer names them ("TXT 文件",
// "文件夹"), their words from the translation catalogue. Framework-internal:
// callers use rg_TongYongDuiHuaKuang (framework/file_dialog.h).
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QLocale>

class FileDialogColumns : public QIdentityProxyModel {
 public:
  enum Column { kName = 0, kSize = 1, kType = 2, kDate = 3 };
  using QIdentityProxyModel::QIdentityProxyModel;
  QVariant data(const QModelIndex& index, int role) const override;

  static QString SizeText(qint64 bytes);
  static QString TypeText(const QFileInfo& info);
  static QString DateText(const QDateTime& time);
};
