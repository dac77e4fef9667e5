#pragma once
// The web address a drop-down item carries for the list's URL option: an
// item's text is an address, or a name, blanks and an address.
#include <cstdint>

#include "common/wstring.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

// The text split at blanks (code units 0 to 32, empty parts dropped): of two
// parts the second, of one the first, otherwise none (empty). An address
// that does not begin with "http" (ASCII letters in any case) gets "http://"
// in front, and before that "www." when `addWww` is set and it holds no
// "www." anywhere (in any case).
CWString DropDownItemAddress(const CWString& text, bool addWww);

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
