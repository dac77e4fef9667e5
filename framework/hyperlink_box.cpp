#include "framework/hyperlink_box.h"

namespace rg_Ombrine_MFCJieMian_KuoZhanZuJian {

QZU_IMPLEMENT_CLASS(rg_ChaoJiLianJieKuang, rg_Ombrine_MFCJieMian_base::rg_hyperlink,
                    "rg_Ombrine_MFCJieMian_KuoZhanZuJian::rg_ChaoJiLianJieKuang")

rg_ChaoJiLianJieKuang::rg_ChaoJiLianJieKuang() { m_openOnPress = 1; }

int rg_ChaoJiLianJieKuang::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_ChaoJiLianJieKuang, source)
  rg_hyperlink::CopyFrom(src);
  m_addressKind = src.m_addressKind;
  return 1;
}

void rg_ChaoJiLianJieKuang::SaveToStream(CQzuStream& s) const {
  rg_hyperlink::SaveToStream(s);
  s.WriteInt32(m_addressKind);
}

void rg_ChaoJiLianJieKuang::LoadFromStream(CQzuStream& s) {
  rg_hyperlink::LoadFromStream(s);
  int32_t kind;
  if (s.ReadInt32(kind)) m_addressKind = kind;
}

CWString rg_ChaoJiLianJieKuang::LinkTarget() const {
  if (m_address.IsEmpty() || m_addressKind != kLinkMailAddress || m_address.StartsWith(u"mailto:", true)) return m_address;
  return u"mailto:" + m_address;
}

}  // namespace rg_Ombrine_MFCJieMian_KuoZhanZuJian
