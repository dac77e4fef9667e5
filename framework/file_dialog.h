#pragma once
// rg_TongYongDuiHuaKuang: the common file dialog. Open (one or many files)
// or save, with a title, a filter written as "label|patterns|label|patterns"
// (patterns joined by ";"), the filter chosen at opening (1-based), a start
// folder and a file name.
#include "common/arrays.h"
#include "common/object.h"
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_TongYongDuiHuaKuang : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TongYongDuiHuaKuang)

 public:
  enum Mode { kOpen = 0, kSave = 1 };

  int CopyFrom(const CQzuObject& source) override;

  int32_t mode = kOpen;
  int32_t multiSelect = 0;
  CWString title;
  CWString filter;
  int32_t filterIndex = 1;
  CWString initialFolder;
  CWString fileName;

  // Runs the dialog owned by `owner` (may be null); true when the user
  // confirmed. The chosen paths are then in FileName / FileNames, in the
  // dialog's order.
  bool Show(CQzuWinControl* owner);
  const CWString& GetFileName() const { return m_chosen.IsEmpty() ? m_empty : m_chosen[0]; }
  const CMStringArray& GetFileNames() const { return m_chosen; }

  // The filter in Qt's form: "label (patterns)" entries joined by ";;",
  // "*.*" standing for every name.
  static QString QtNameFilters(const CWString& filter, QStringList* entries = nullptr);

 private:
  CMStringArray m_chosen;
  CWString m_empty;
};

}  // namespace rg_Ombrine_MFCJieMian_base
