#pragma once
// Chinese characters to pinyin: toned or toneless syllables, capitalised on
// request, a separator between consecutive syllables, several ways of treating
// characters without a reading, an annotation template ("汉字[拼音]") and a
// percentage of the characters to convert (for rewriting texts).
//
// Readings come from the built-in tables: resource 505 lists the characters
// (UTF-16LE units), resource 506 gives each one a 32-bit entry (bits 0-15 the
// toneless syllable index, bits 16-31 the toned one), and the two syllable
// arrays of textlib/pinyin_syllables.h hold the texts. The lookup table built
// from them is made once per process and shared by every converter.
#include <atomic>
#include <mutex>

#include "common/object.h"
#include "common/ref_object.h"

namespace rg_Tavelkin_MingLingJi {

struct PinyinLookup;

class rg_TavelkinHanZiPinYinLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinHanZiPinYinLei)
 public:
  // What happens to a character without a reading; mode 3 also writes every
  // converted character through the template.
  enum Mode {
    kKeepOthers = 0,      // written unchanged
    kDropOthers = 1,      // dropped (so is any unknown mode)
    kKeepWordChars = 2,   // only a-z, A-Z, 0-9, "_" and "-" are kept
    kTemplate = 3,        // written unchanged; converted ones go through the template
  };

  rg_TavelkinHanZiPinYinLei();
  rg_TavelkinHanZiPinYinLei(const rg_TavelkinHanZiPinYinLei& other);
  rg_TavelkinHanZiPinYinLei& operator=(const rg_TavelkinHanZiPinYinLei& other);
  ~rg_TavelkinHanZiPinYinLei() override = default;

  // `capital`, `tone`: non-zero for on. `separator` goes between two
  // syllables written one right after the other (never in mode 3). In the
  // template the first "汉字" becomes the character, then the first "拼音" of
  // the result becomes the syllable. `percent`: a convertible character is
  // converted when rand() % 100 + 1 does not exceed it; 100 converts all
  // without drawing.
  CWString ConvertToPinyin(const CWString& input, int capital, int tone, const CWString& separator, int mode,
                           const CWString& templateText, int percent);

  // The syllable with its first unit upper-cased when it is a to z.
  static CWString CapitalizeSyllable(const CWString& syllable);

  // Attaches the process-wide lookup table, building it on first use.
  void BuildPinyinMap();

  bool IsBuilt() const { return m_built.load(std::memory_order_acquire) != 0; }

  // A converter is equal only to itself: its table is compared by identity.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

 private:
  struct BuildLock : CQzuRefObject {
    std::mutex mutex;
  };

  void EnsureBuilt();

  std::atomic<int> m_built{0};
  const PinyinLookup* m_map = nullptr;
  // Shared by copies, so copies build under the same lock.
  CQzuRef<BuildLock> m_lock;
};

}  // namespace rg_Tavelkin_MingLingJi
