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
  const char16_t* text;  // padded with zeros to whole copy chunks
  size_t length;
};

// Syllables are copied in whole chunks of this many units (one 16-byte move
// for any real syllable) instead of a library call per syllable; their
// storage is padded, and the output keeps that much room spare.
constexpr size_t kChunk = 8;

inline void CopyChunks(char16_t* to, const char16_t* from, size_t length) {
  for (size_t k = 0; k < length; k += kChunk) std::memcpy(to + k, from + k, kChunk * sizeof(char16_t));
}

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
  std::u16string pool[2][2];  // [tone][capital], each syllable padded to whole chunks
  std::vector<SyllableView> syllables[2][2];
  size_t longestSyllable = 0;
};

namespace {

void FillForms(PinyinLookup& lookup, int tone, const char16_t* const* list, int count) {
  for (int capital = 0; capital < 2; ++capital) {
    std::u16string& pool = lookup.pool[tone][capital];
    std::vector<SyllableView>& views = lookup.syllables[tone][capital];
    std::vector<size_t> offsets;
    for (int i = 0; i < count; ++i) {
      CWString text(list[i]);
      if (capital) text = rg_TavelkinHanZiPinYinLei::CapitalizeSyllable(text);
      const size_t offset = pool.size();
      pool += text.View();
      pool.resize(offset + (text.GetLength() / kChunk + 1) * kChunk, u'\0');
      offsets.push_back(offset);
      views.push_back({nullptr, text.GetLength()});
      if (text.GetLength() > lookup.longestSyllable) lookup.longestSyllable = text.GetLength();
    }
    // Pointers only once the pool no longer moves.
    for (int i = 0; i < count; ++i) views[i].text = pool.data() + offsets[i];
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

// Counts what a conversion writes: with every character converted there is
// no drawing, so a counting pass gives the exact output size and the text is
// then written without any reallocation.
class CountingWriter {
 public:
  void Reserve(size_t) {}
  void Put(char16_t) { ++m_count; }
  void Put(const char16_t*, size_t length) { m_count += length; }
  void PutChunked(const char16_t*, size_t length) { m_count += length; }
  size_t Count() const { return m_count; }

 private:
  size_t m_count = 0;
};

// Writes into a buffer whose size runs ahead of the text, so that the hot loop
// checks room once per input unit instead of once per appended unit. When the
// size is not known it grows by at least twice the input length in units.
class OutputWriter {
 public:
  OutputWriter(size_t initial, size_t step) : m_step(step < 64 ? 64 : step) { m_buffer.resize(initial + kChunk); }
  void Reserve(size_t units) {
    units += kChunk;  // room for the last chunk's spare units
    if (m_buffer.size() - m_used < units) {
      size_t grow = m_step > units ? m_step : units;
      if (grow < m_buffer.size() / 2) grow = m_buffer.size() / 2;
      m_buffer.resize(m_buffer.size() + grow);
    }
  }
  // Callers reserve first.
  void Put(char16_t c) { m_buffer[m_used++] = c; }
  void Put(const char16_t* text, size_t length) {
    if (length) std::memcpy(&m_buffer[m_used], text, length * sizeof(char16_t));
    m_used += length;
  }
  // `text` must be readable up to its length rounded up to whole chunks.
  void PutChunked(const char16_t* text, size_t length) {
    CopyChunks(&m_buffer[m_used], text, length);
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

// The template rule worked out once per conversion: unless the character is
// "拼" or "音" itself (then it could complete a "拼音" of its own and the rule
// runs in full), the first "拼音" after the substitution is the first one of
// the template, so the output is fixed text around two slots.
class TemplatePlan {
 public:
  explicit TemplatePlan(const std::u16string& t) : m_template(t), m_padded(t) {
    m_padded.resize(t.size() + kChunk, u'\0');
    const size_t npos = std::u16string::npos;
    const size_t hanzi = t.find(u"汉字");
    const size_t pinyin = t.find(u"拼音");  // never overlaps "汉字"
    size_t from = 0;
    auto literal = [&](size_t to) {
      if (to > from) m_pieces.push_back({kLiteral, from, to - from});
    };
    const bool pinyinFirst = pinyin != npos && (hanzi == npos || pinyin < hanzi);
    if (pinyinFirst) {
      literal(pinyin);
      m_pieces.push_back({kSyllable, 0, 0});
      from = pinyin + 2;
    }
    if (hanzi != npos) {
      literal(hanzi);
      m_pieces.push_back({kCharacter, 0, 0});
      from = hanzi + 2;
    }
    if (pinyin != npos && !pinyinFirst) {
      literal(pinyin);
      m_pieces.push_back({kSyllable, 0, 0});
      from = pinyin + 2;
    }
    literal(t.size());
    for (const Piece& piece : m_pieces) m_fixedLength += piece.length + 1;
  }

  // The most one character asks the writer to reserve.
  size_t LargestReserve(size_t longestSyllable) const {
    const size_t planned = m_fixedLength + longestSyllable + m_pieces.size() * kChunk;
    const size_t full = m_template.size() + longestSyllable;
    return planned > full ? planned : full;
  }

  template <class Writer>
  void Write(Writer& out, char16_t character, const SyllableView& syllable) {
    if (character == u'拼' || character == u'音') {
      ApplyTemplate(m_template, character, syllable, m_scratch);
      out.Reserve(m_scratch.size());
      out.Put(m_scratch.data(), m_scratch.size());
      return;
    }
    // Each piece may write up to a chunk of spare units past its end.
    out.Reserve(m_fixedLength + syllable.length + m_pieces.size() * kChunk);
    for (const Piece& piece : m_pieces) {
      if (piece.kind == kLiteral)
        out.PutChunked(m_padded.data() + piece.offset, piece.length);
      else if (piece.kind == kCharacter)
        out.Put(character);
      else
        out.PutChunked(syllable.text, syllable.length);
    }
  }

 private:
  enum Kind { kLiteral, kCharacter, kSyllable };
  struct Piece {
    Kind kind;
    size_t offset, length;
  };
  const std::u16string& m_template;
  std::u16string m_padded;  // the template followed by a chunk of zeros
  std::vector<Piece> m_pieces;
  size_t m_fixedLength = 0;
  std::u16string m_scratch;
};

struct Conversion {
  const uint32_t* entries;
  const SyllableView* syllables;
  bool toned;
  int mode;
  bool separate;  // a separator is given and the mode is not the template one
  std::u16string_view separator;
  size_t roomPerSyllable;
  size_t largestReserve;  // the most one input unit asks the writer for
  int percent;  // 100 converts every character without drawing
  TemplatePlan* plan;
};

template <class Writer>
void Run(const Conversion& k, const char16_t* in, size_t length, Writer& out) {
  using Mode = rg_TavelkinHanZiPinYinLei::Mode;
  const bool everyOne = k.percent == 100;
  const bool annotate = k.mode == Mode::kTemplate;
  bool randomReady = false;
  bool afterSyllable = false;
  for (size_t i = 0; i < length; ++i) {
    const char16_t c = in[i];
    const uint32_t entry = k.entries[c];
    if (entry == kNoReading) {
      if (k.mode == Mode::kKeepOthers || annotate || (k.mode == Mode::kKeepWordChars && IsWordChar(c))) {
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
      if (std::rand() % 100 + 1 > k.percent) {
        out.Reserve(1);
        out.Put(c);
        afterSyllable = false;
        continue;
      }
    }
    const SyllableView& syllable = k.syllables[k.toned ? (entry >> 16) : (entry & 0xFFFFu)];
    if (annotate) {
      k.plan->Write(out, c, syllable);
    } else {
      out.Reserve(k.roomPerSyllable);
      if (k.separate && afterSyllable) out.Put(k.separator.data(), k.separator.size());
      out.PutChunked(syllable.text, syllable.length);
    }
    afterSyllable = true;
  }
}

}  // namespace

QZU_IMPLEMENT_CLASS(rg_TavelkinHanZiPinYinLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei")

rg_TavelkinHanZiPinYinLei::rg_TavelkinHanZiPinYinLei() : m_lock(CQzuRef<BuildLock>::Make()) {}

// The flag is read before the map pointer (acquire), so a copy taken while the
// source finishes its build never has the flag without the map.
rg_TavelkinHanZiPinYinLei::rg_TavelkinHanZiPinYinLei(const rg_TavelkinHanZiPinYinLei& other)
    : CQzuObject(other), m_built(other.m_built.load(std::memory_order_acquire)),
      m_map(m_built.load(std::memory_order_relaxed) ? other.m_map : nullptr), m_lock(other.m_lock) {}

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
  TemplatePlan plan(templateText.Str());
  Conversion k;
  k.entries = lookup.entries.data();
  k.syllables = lookup.syllables[tone ? 1 : 0][capital ? 1 : 0].data();
  k.toned = tone != 0;
  k.mode = mode;
  k.separate = !separator.IsEmpty() && mode != kTemplate;
  k.separator = separator.View();
  k.roomPerSyllable = separator.GetLength() + lookup.longestSyllable;
  k.largestReserve = mode == kTemplate ? plan.LargestReserve(lookup.longestSyllable) : k.roomPerSyllable;
  k.percent = percent;
  k.plan = &plan;

  const size_t length = input.GetLength();
  size_t initial = 2 * length;
  if (percent == 100) {
    CountingWriter counter;
    Run(k, input.GetBuffer(), length, counter);
    // The last character may ask for its whole reserve however little it
    // writes; without that room the exact buffer would grow at the very end.
    initial = counter.Count() + k.largestReserve;
  }
  OutputWriter out(initial, 2 * length);
  Run(k, input.GetBuffer(), length, out);
  return CWString(out.Finish());
}

bool rg_TavelkinHanZiPinYinLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && &other == this;
}

int rg_TavelkinHanZiPinYinLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinHanZiPinYinLei, source)
  const int built = src.m_built.load(std::memory_order_acquire);
  m_map = built ? src.m_map : nullptr;
  m_built.store(built, std::memory_order_release);
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
