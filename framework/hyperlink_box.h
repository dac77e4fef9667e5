#pragma once
// rg_ChaoJiLianJieKuang, the hyperlink box: a hyperlink that acts on the left
// press and opens only its own address, read as the kind of address it was
// given. Without an address a press only raises the events, so a link that
// stands for a command (a caption such as "疑点说明") never hands its caption
// to the desktop.
#include "framework/hyperlink.h"

namespace rg_Ombrine_MFCJieMian_KuoZhanZuJian {

// Address kinds.
enum LinkAddressKind : int32_t {
  kLinkWebAddress = 0,   // opened as it stands
  kLinkMailAddress = 1,  // "mailto:" goes in front unless it is there
};

class rg_ChaoJiLianJieKuang : public rg_Ombrine_MFCJieMian_base::rg_hyperlink {
  QZU_DECLARE_CLASS(rg_ChaoJiLianJieKuang)

 public:
  rg_ChaoJiLianJieKuang();
  int CopyFrom(const CQzuObject& source) override;
  // The hyperlink, then the address kind.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetAddressKind(int32_t kind) { m_addressKind = kind; }
  int32_t GetAddressKind() const { return m_addressKind; }

 protected:
  CWString LinkTarget() const override;

  int32_t m_addressKind = kLinkWebAddress;
};

}  // namespace rg_Ombrine_MFCJieMian_KuoZhanZuJian
