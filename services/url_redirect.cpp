#include "services/url_redirect.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinWangZhiChongDingXiangLei, CQzuObject,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinWangZhiChongDingXiangLei")

rg_TavelkinWangZhiChongDingXiangLei::rg_TavelkinWangZhiChongDingXiangLei() {
  CreateComObject(requestObject, u"WinHttp.WinHttpRequest.5.1", CWString());
}

// A copy shares the source's request and makes none of its own.
rg_TavelkinWangZhiChongDingXiangLei::rg_TavelkinWangZhiChongDingXiangLei(
    const rg_TavelkinWangZhiChongDingXiangLei& other)
    : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinWangZhiChongDingXiangLei& rg_TavelkinWangZhiChongDingXiangLei::operator=(
    const rg_TavelkinWangZhiChongDingXiangLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinWangZhiChongDingXiangLei::IsEqual(const CQzuObject& other) const {
  return &other == this && SameHeader(other);
}

int rg_TavelkinWangZhiChongDingXiangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWangZhiChongDingXiangLei, source)
  requestObject.CopyFrom(src.requestObject);
  return 1;
}

void rg_TavelkinWangZhiChongDingXiangLei::Clear() { requestObject.Clear(); }

void rg_TavelkinWangZhiChongDingXiangLei::LoadFromStream(CQzuStream& stream) { requestObject.LoadFromStream(stream); }

void rg_TavelkinWangZhiChongDingXiangLei::SaveToStream(CQzuStream& stream) const { requestObject.SaveToStream(stream); }

}  // namespace rg_Tavelkin_MingLingJi
