#pragma once
// The framework's plain label (QLabel): one line, or wrapped lines when
// multi-line is on; CR LF in the caption breaks lines.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_label8 : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_label8)

 public:
  rg_label8();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetMultiLine(bool multiLine);
  bool IsMultiLine() const { return m_multiLine != 0; }
  // The alignments, as `alignment` of SetAlignment; vertical centring is on
  // for single lines.
  static constexpr int kAlignLeft = 0;
  static constexpr int kAlignCentre = 1;
  static constexpr int kAlignRight = 2;
  void SetAlignment(int alignment);

  CQzuEventSlot<> OnClick;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  bool HandleWindowEvent(QObject* watched, QEvent* event) override;
  void ApplyLayout();

  int32_t m_multiLine = 0;
  int32_t m_alignment = 0;
};

}  // namespace rg_Ombrine_MFCJieMian_base
