#include "components/drop_down_address.h"

#include <vector>

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

CWString DropDownItemAddress(const CWString& text, bool addWww) {
  std::vector<CWString> parts;
  CWString piece;
  for (char16_t c : text.View()) {
    if (c > 32) {
      piece += c;
    } else if (!piece.IsEmpty()) {
      parts.push_back(piece);
      piece.Empty();
    }
  }
  if (!piece.IsEmpty()) parts.push_back(piece);
  CWString address;
  if (parts.size() == 2) address = parts[1];
  else if (parts.size() == 1) address = parts[0];
  if (address.IsEmpty() || address.StartsWith(u"http", true)) return address;
  if (addWww && !address.Contains(u"www.", true)) address = u"www." + address;
  return u"http://" + address;
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
