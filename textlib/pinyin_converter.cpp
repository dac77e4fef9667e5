#include "textlib/pinyin_converter.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/mem.h"
#include "platform/random_seed.h"
#include "platform/resource_loader.h"
#include "textlib/pinyin_syllables.h"

namespace rg_Tavelkin_MingLingJi {

namespace {

constexpr int kCharacterListResource = 505;
constexpr int kReadingListResource = 506;
// Entry of a code unit without a reading; real entries hold two indexes far
// below 0xFFFF, so this value never occurs in the tables.
constexpr uint32_t kNoReading = 0xFFFFFFFFu;

struct SyllableView {
  const char16_t* text;
  size_t length;
};

// Little-endian value at `offset`; bytes beyond the end read as 0, so a short
// resource still yields an entry for every character it lists.
uint32_t ReadLittleEndian(const CQzuMem& buffer, size_t offset, size_t width) {
  uint32_t value = 0;
  for (size_t k = 0; k < width; ++k) {
    const size_t at = offset + k;
    if (at < buffer.GetSize()) value |= static_cast<uint32_t>(buffer[at]) << (8 * k);
  }
  return value;
}

bool IsWordChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_' ||
         c == u'-';
}

}  // namespace

// Every BMP code unit maps straight to its entry: one array access per input
// unit, and the syllables of all four forms (toned or not, capitalised or
// not) are prepared once.
struct PinyinLookup {
  std::vector<uint32_t> entries = std::vector<uint32_t>(0x10000, kNoReading);
  std::vector<std::u16string> texts[2][2];  // [tone][capital]
  std::vector<SyllableView> syllables[2][2];
  size_t longestSyllable = 0;
};

namespace {

void FillForms(PinyinLookup& lookup, int tone, const char16_t* const* list, int count) {
  for (int capital = 0; capital < 2; ++capital) {
    std::vector<std::u16string>& texts = lookup.texts[tone][capital];
    texts.reserve(count);
    for (int i = 0; i < count; ++i) {
      CWString text(list[i]);
      if (capital) text = rg_TavelkinHanZiPinYinLei::CapitalizeSyllable(text);
      texts.push_back(text.Str());
      if (text.GetLength() > lookup.longestSyllable) lookup.longestSyllable = text.GetLength();
    }
    // Views only once the vector no longer moves its strings.
    for (const std::u16string& t : texts) lookup.syllables[tone][capital].push_back({t.data(), t.size()});
  }
}

PinyinLookup BuildLookup() {
  PinyinLookup lookup;
  FillForms(lookup, 0, kPinyinTonelessSyllables, kPinyinTonelessSyllablesCount);
  FillForms(lookup, 1, kPinyinTonedSyllables, kPinyinTonedSyllablesCount);

  CQzuMem characters = LoadResourceBytes(kCharacterListResource);
  CQzuMem readings = LoadResourceBytes(kReadingListResource);
  const size_t count = characters.GetSize() / 2;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t code = ReadLittleEndian(characters, 2 * i, 2);
    uint32_t entry = ReadLittleEndian(readings, 4 * i, 4);
    // An index past its array would read outside it at conversion time; such
    // an entry means the tables do not belong together, so the character gets
    // no reading rather than a wrong one.
    if ((entry & 0xFFFFu) >= static_cast<uint32_t>(kPinyinTonelessSyllablesCount) ||
        (entry >> 16) >= static_cast<uint32_t>(kPinyinTonedSyllablesCount))
      entry = kNoReading;
    lookup.entries[code] = entry;  // a later duplicate replaces an earlier one
  }
  return lookup;
}

// Built once per process on first use (a function-local static is
// initialised thread-safely), then only read.
const PinyinLookup& SharedLookup() {
  static const PinyinLookup lookup = BuildLookup();
  return lookup;
}

// Writes into a buffer whose size runs ahead of the text, so that the hot loop
// checks room once per input unit instead of once per appended unit.
class OutputWriter {
 public:
  explicit OutputWriter(size_t initial) {
    m_buffer.resize(initial < 64 ? 64 : initial);
    m_step = m_buffer.size();
  }
  void Reserve(size_t units) {
    if (m_buffer.size() - m_used < units) {
      size_t grow = m_step > units ? m_step : units;
      if (grow < m_buffer.size() / 2) grow = m_buffer.size() / 2;
      m_buffer.resize(m_buffer.size() + grow);
    }
  }
  // Callers reserve first.
  void Put(char16_t c) { m_buffer[m_used++] = c; }
  void Put(const char16_t* text, size_t length) {
    std::memcpy(&m_buffer[m_used], text, length * sizeof(char16_t));
    m_used += length;
  }
  std::u16string Finish() {
    m_buffer.resize(m_used);
    return std::move(m_buffer);
  }

 private:
  std::u16string m_buffer;
  size_t m_used = 0;
  size_t m_step;
};

// Template rule: the first "汉字" becomes the character, then the first "拼音"
// of that result becomes the syllable. The usual templates ("汉字[拼音]",
// "汉字(拼音)", "汉字{拼音}") come out as the character followed by the
// bracketed syllable through this same rule.
void ApplyTemplate(const std::u16string& templateText, char16_t character, const SyllableView& syllable,
                   std::u16string& scratch) {
  scratch = templateText;
  const size_t at = scratch.find(u"汉字");
  if (at != std::u16string::npos) scratch.replace(at, 2, 1, character);
  const size_t pinyin = scratch.find(u"拼音");
  if (pinyin != std::u16string::npos) scratch.replace(pinyin, 2, syllable.text, syllable.length);
}

}  // namespace

QZU_IMPLEMENT_CLASS(rg_TavelkinHanZiPinYinLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei")

rg_TavelkinHanZiPinYinLei::rg_TavelkinHanZiPinYinLei() : m_lock(CQzuRef<BuildLock>::Make()) {}

rg_TavelkinHanZiPinYinLei::rg_TavelkinHanZiPinYinLei(const rg_TavelkinHanZiPinYinLei& other)
    : CQzuObject(other), m_built(other.m_built.load()), m_map(other.m_map), m_lock(other.m_lock) {}

rg_TavelkinHanZiPinYinLei& rg_TavelkinHanZiPinYinLei::operator=(const rg_TavelkinHanZiPinYinLei& other) {
  CopyFrom(other);
  return *this;
}

CWString rg_TavelkinHanZiPinYinLei::CapitalizeSyllable(const CWString& syllable) {
  CWString result = syllable;
  if (!result.IsEmpty() && result[0] >= u'a' && result[0] <= u'z') result[0] = QzuAsciiUpper(result[0]);
  return result;
}

void rg_TavelkinHanZiPinYinLei::BuildPinyinMap() { m_map = &SharedLookup(); }

void rg_TavelkinHanZiPinYinLei::EnsureBuilt() {
  if (m_built.load(std::memory_order_acquire)) return;
  std::lock_guard<std::mutex> guard(m_lock->mutex);
  if (m_built.load(std::memory_order_relaxed)) return;
  BuildPinyinMap();
  m_built.store(1, std::memory_order_release);  // only once the map is complete
}

CWString rg_TavelkinHanZiPinYinLei::ConvertToPinyin(const CWString& input, int capital, int tone,
                                                     const CWString& separator, int mode,
                                                     const CWString& templateText, int percent) {
  EnsureBuilt();
  const PinyinLookup& lookup = *m_map;
  const uint32_t* entries = lookup.entries.data();
  const std::vector<SyllableView>& syllables = lookup.syllables[tone ? 1 : 0][capital ? 1 : 0];
  const bool toned = tone != 0;
  const bool annotate = mode == kTemplate;
  const bool separate = !separator.IsEmpty() && !annotate;
  const char16_t* sepText = separator.GetBuffer();
  const size_t sepLength = separator.GetLength();
  const size_t perSyllable = sepLength + lookup.longestSyllable;
  const bool everyOne = percent == 100;
  std::u16string annotation;
  bool randomReady = false;

  const size_t length = input.GetLength();
  const char16_t* in = input.GetBuffer();
  OutputWriter out(2 * length);
  bool afterSyllable = false;
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = in[i];
    const uint32_t entry = entries[c];
    if (entry == kNoReading) {
      if (mode == kKeepOthers || mode == kTemplate || (mode == kKeepWordChars && IsWordChar(c))) {
        out.Reserve(1);
        out.Put(c);
      }
      afterSyllable = false;
      continue;
    }
    if (!everyOne) {
      if (!randomReady) {
        EnsureRandomSeeded();
        randomReady = true;
      }
      const int draw = std::rand() % 100 + 1;
      if (draw > percent) {
        out.Reserve(1);
        out.Put(c);
        afterSyllable = false;
        continue;
      }
    }
    const SyllableView& syllable = syllables[toned ? (entry >> 16) : (entry & 0xFFFFu)];
    if (annotate) {
      ApplyTemplate(templateText.Str(), c, syllable, annotation);
      out.Reserve(annotation.size());
      out.Put(annotation.data(), annotation.size());
    } else {
      out.Reserve(perSyllable);
      if (separate && afterSyllable) out.Put(sepText, sepLength);
      out.Put(syllable.text, syllable.length);
    }
    afterSyllable = true;
  }
  return CWString(out.Finish());
}

bool rg_TavelkinHanZiPinYinLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && &other == this;
}

int rg_TavelkinHanZiPinYinLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinHanZiPinYinLei, source)
  m_map = src.m_map;
  m_built.store(src.m_built.load(std::memory_order_acquire), std::memory_order_release);
  m_lock = src.m_lock;
  return 1;
}

void rg_TavelkinHanZiPinYinLei::Clear() {
  m_built.store(0, std::memory_order_release);
  m_map = nullptr;
}

// The stream form is the built flag followed by the character and reading
// buffers, which are empty outside of a build; the table itself is never
// stored, so a loaded converter that was built attaches the shared one.
void rg_TavelkinHanZiPinYinLei::LoadFromStream(CQzuStream& stream) {
  int32_t built = 0;
  CQzuMem characters, readings;
  if (!stream.ReadInt32(built) || !stream.ReadMem(characters) || !stream.ReadMem(readings)) return;
  std::lock_guard<std::mutex> guard(m_lock->mutex);
  if (built) {
    BuildPinyinMap();
    m_built.store(1, std::memory_order_release);
  } else {
    m_built.store(0, std::memory_order_release);
    m_map = nullptr;
  }
}

void rg_TavelkinHanZiPinYinLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(IsBuilt() ? 1 : 0);
  stream.WriteMem(CQzuMem());
  stream.WriteMem(CQzuMem());
}

}  // namespace rg_Tavelkin_MingLingJi
