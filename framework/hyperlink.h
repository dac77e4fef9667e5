#pragma once
// The framework's hyperlink: an underlined caption that opens its address
// with the desktop when clicked, unless an OnClick handler returns non-zero.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_hyperlink : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_hyperlink)

 public:
  rg_hyperlink();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetAddress(const CWString& address) { m_address = address; }
  const CWString& GetAddress() const { return m_address; }
  // Opens the address (the caption when no address is set); false when
  // nothing could open it.
  bool Open();

  CQzuEventSlot<> OnClick;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  bool HandleWindowEvent(QObject* watched, QEvent* event) override;

  CWString m_address;
};

}  // namespace rg_Ombrine_MFCJieMian_base
