#pragma once
// Three small maps of the library: integer to pointer-sized integer (clocks,
// tree box), text to boolean (line de-duplication) and pointer-sized integer
// to text (control-state saver). Despite the word "hash table" in their names
// they keep their entries ordered by key. Callers work on `entries` directly:
// `entries[key]` reads or assigns (an absent key is added with the zero
// value), `contains`/`find` test without adding, `erase` removes, `size`
// counts, and iteration walks in ascending key order.
//
// As objects: two maps of one class are equal whatever their entries; they
// have no stream form; Clear keeps the entries (Reset empties a map).
#include <cstdint>
#include <map>

#include "common/extended_object.h"
#include "common/wstring.h"

namespace rg_TavelkinMingLingJi_ChangYongJiChengLei {

// What the three maps share; `Derived` is the concrete class.
template <class Derived, class Key, class Value>
class LibraryMapBase : public rg_Ombrine_base::rg_KuoZhanDuiXiangLei {
 public:
  using EntrySet = std::map<Key, Value>;

  bool IsEqual(const CQzuObject& other) const override { return SameHeader(other); }
  int CopyFrom(const CQzuObject& source) override {
    QZU_COPY_FROM_PREAMBLE(Derived, source)
    entries = src.entries;
    return 1;
  }
  void Reset() override { entries.clear(); }
  CWString Dump() const override;
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}
  void Clear() override {}

  EntrySet entries;
};

class rg_ZhengShuDaoBianZhengShuHaXiBiao
    : public LibraryMapBase<rg_ZhengShuDaoBianZhengShuHaXiBiao, int32_t, intptr_t> {
  QZU_DECLARE_CLASS(rg_ZhengShuDaoBianZhengShuHaXiBiao)
};

// Text keys order by UTF-16 code unit as unsigned numbers; a prefix sorts
// first; case counts.
class rg_WenBenDaoLuoJiXingHaXiBiao : public LibraryMapBase<rg_WenBenDaoLuoJiXingHaXiBiao, CWString, int32_t> {
  QZU_DECLARE_CLASS(rg_WenBenDaoLuoJiXingHaXiBiao)
};

class rg_BianZhengShuDaoWenBenXingHaXiBiao
    : public LibraryMapBase<rg_BianZhengShuDaoWenBenXingHaXiBiao, intptr_t, CWString> {
  QZU_DECLARE_CLASS(rg_BianZhengShuDaoWenBenXingHaXiBiao)
};

// "哈希表成员数: <count>\r\n", then one line per entry in key order. Keys and
// values of these types have an empty dump form, so each entry line is
// "关键字: ; 对应值: \r\n".
template <class Derived, class Key, class Value>
CWString LibraryMapBase<Derived, Key, Value>::Dump() const {
  CWString out = u"哈希表成员数: " + CWString::FromInt(static_cast<long long>(entries.size())) + u"\r\n";
  for (size_t i = 0; i < entries.size(); ++i) out += std::u16string_view(u"关键字: ; 对应值: \r\n");
  return out;
}

}  // namespace rg_TavelkinMingLingJi_ChangYongJiChengLei
