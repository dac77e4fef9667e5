#include "textlib/line_dedupe.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "textlib/dedupe_key_table.h"
#include "textlib/line_reader.h"

namespace {

using qzu::DedupeKeyTable;

bool IsBlankUnit(char16_t c) { return c <= 32; }

std::u16string_view TrimBlankUnits(std::u16string_view s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && IsBlankUnit(s[begin])) ++begin;
  while (end > begin && IsBlankUnit(s[end - 1])) --end;
  return s.substr(begin, end - begin);
}

// Field `number` (from 1) of `record` cut at `separator`: empty fields count,
// a trailing separator opens no last field; no such field gives the empty key.
std::u16string_view FieldOf(std::u16string_view record, std::u16string_view separator, int32_t number) {
  if (number < 1 || record.empty()) return {};
  size_t start = 0;
  for (int32_t k = 1; k < number; ++k) {
    const int64_t at = FindTextUnits(record, separator, start);
    if (at < 0) return {};
    start = static_cast<size_t>(at) + separator.size();
  }
  const int64_t end = FindTextUnits(record, separator, start);
  return record.substr(start, end < 0 ? std::u16string_view::npos : static_cast<size_t>(end) - start);
}

// First index at or after `from` holding `unit`, or `size`. Thirty-two units
// per step: most records are a few dozen units long, so the search for their
// end mostly takes one or two steps.
size_t FindBreakUnit(const char16_t* text, size_t size, size_t from, char16_t unit) {
  const __m128i needle = _mm_set1_epi16(static_cast<short>(unit));
  const auto at = [&](size_t i) {
    return _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i)), needle);
  };
  size_t i = from;
  for (; i + 32 <= size; i += 32) {
    const __m128i a = at(i), b = at(i + 8), c = at(i + 16), d = at(i + 24);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(a, b), _mm_or_si128(c, d))) == 0) continue;
    // One bit per unit.
    const uint32_t bits = static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(a, b))) |
                          static_cast<uint32_t>(_mm_movemask_epi8(_mm_packs_epi16(c, d))) << 16;
    return i + static_cast<size_t>(__builtin_ctz(bits));
  }
  for (; i + 8 <= size; i += 8) {
    const int mask = _mm_movemask_epi8(at(i));
    if (mask != 0) return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask))) / 2;
  }
  for (; i < size; ++i)
    if (text[i] == unit) return i;
  return size;
}

// The reader's next line where its break is one unit (what nearly every text
// uses), found with the wider search above; the reader moves on as its own
// ReadNextLineView would move it.
std::u16string_view NextRecord(rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei& reader) {
  const std::u16string_view text = reader.sourceText.View();
  if (reader.position < 0 || static_cast<size_t>(reader.position) >= text.size()) return reader.ReadNextLineView();
  const size_t from = static_cast<size_t>(reader.position);
  const size_t end = FindBreakUnit(text.data(), text.size(), from, reader.lineBreak.View()[0]);
  reader.breakIndex = static_cast<int32_t>(end);
  reader.position = static_cast<int32_t>(end + 1);
  return text.substr(from, end - from);
}

struct PendingRecord {
  std::u16string_view record;
  std::u16string_view key;
  uint64_t hash = 0;
};

// Records read ahead of their lookup, in input order, so that the slot of
// each is already on its way into the cache when its turn comes.
class RecordQueue {
 public:
  template <class ReadAhead>
  void Fill(ReadAhead& readAhead) {
    while (m_count < kDepth && readAhead(m_items[(m_head + m_count) % kDepth])) ++m_count;
  }
  bool IsEmpty() const { return m_count == 0; }
  // The oldest record; its place is refilled with the next one.
  template <class ReadAhead, class Midway>
  PendingRecord Pop(ReadAhead& readAhead, Midway& midway) {
    const PendingRecord front = m_items[m_head];
    if (m_count > kDepth / 2) midway(m_items[(m_head + kDepth / 2) % kDepth]);
    // A full ring refills the freed place, which is its new tail.
    if (m_count < kDepth || !readAhead(m_items[m_head])) --m_count;
    m_head = (m_head + 1) % kDepth;
    return front;
  }

 private:
  static constexpr size_t kDepth = 16;
  PendingRecord m_items[kDepth];
  size_t m_head = 0;
  size_t m_count = 0;
};

CWString ResolveRecordSeparator(CWString& typedSeparator) {
  const std::u16string_view s = typedSeparator.View();
  if (s.empty() || s == u"换行" || s == u"\\r\\n")
    typedSeparator = CWString(u"\r\n");
  else if (s == u"\\r")
    typedSeparator = CWString(u"\r");
  else if (s == u"\\n")
    typedSeparator = CWString(u"\n");
  return typedSeparator;
}

}  // namespace

void DedupeLines(CWString& text, CWString& recordSeparator, int32_t mode, const CWString& fieldSeparator,
                 int32_t fieldNumber, int32_t trimFlag, int32_t skipEmptyFlag, rg_Ombrine_base::rg_ZhengShuLei& counter) {
  const CWString separator = ResolveRecordSeparator(recordSeparator);
  const std::u16string_view fieldSep = fieldSeparator.View();

  // The reader takes the input over; the caller's text receives the output.
  rg_Tavelkin_MingLingJi::rg_TavelkinDouRuYiHangLei reader;
  reader.sourceText.Str() = std::move(text.Str());
  text.Str().clear();
  reader.SetLineSource(separator);

  // Keeping the first record of each key, the output is written over the part
  // of the input already read, where it can never overtake the reading as
  // long as the separator it writes is no longer than the break it reads.
  // That spares a second large buffer and, above all, releasing the input,
  // which for a text of 100 MB takes as long as the rest of the work. The
  // result keeps the input's capacity. A kept key moves with its record, and
  // the table is given the moved copy (the place it came from may be written
  // over later); the records read ahead lie past everything written.
  const bool keepFirst = mode != kDedupeKeepUnique && mode != kDedupeKeepSecond;
  const bool overInput = keepFirst && separator.View().size() <= static_cast<size_t>(reader.breakLength);
  char16_t* const buffer = reader.sourceText.Str().data();
  size_t outLength = 0;
  std::u16string out;
  if (!overInput) out.reserve(reader.sourceText.GetLength() / 3);
  bool written = false;
  const auto write = [&](std::u16string_view record) {
    if (written) out += separator.View();
    out += record;
    written = true;
    ++counter.value;
  };
  // Writes `record` at the end of the output within the input; returns where
  // its `key` now is.
  const auto writeOverInput = [&](std::u16string_view record, std::u16string_view key) {
    if (written) {
      std::copy(separator.View().begin(), separator.View().end(), buffer + outLength);
      outLength += separator.View().size();
    }
    written = true;
    ++counter.value;
    const size_t at = outLength;
    if (!record.empty()) std::memmove(buffer + at, record.data(), record.size() * sizeof(char16_t));
    outLength += record.size();
    return key.empty() ? key : std::u16string_view(buffer + at + (key.data() - record.data()), key.size());
  };

  DedupeKeyTable keys;
  RecordQueue queue;
  // The next kept record with its key and hash, its slot prefetched; false
  // when the text is exhausted.
  const bool oneUnitBreak = reader.breakListMode == 0 && reader.lineBreak.View().size() == 1;
  const auto readAhead = [&](PendingRecord& pending) {
    while (reader.HasMoreLines()) {
      std::u16string_view record = oneUnitBreak ? NextRecord(reader) : reader.ReadNextLineView();
      if (trimFlag != 0) record = TrimBlankUnits(record);
      if (skipEmptyFlag != 0 && record.empty()) continue;
      pending.record = record;
      pending.key = fieldSep.empty() ? record : FieldOf(record, fieldSep, fieldNumber);
      pending.hash = keys.Hash(pending.key);
      keys.Prefetch(pending.hash);
      return true;
    }
    return false;
  };

  const auto midway = [&](const PendingRecord& pending) { keys.PrefetchKey(pending.hash); };

  queue.Fill(readAhead);
  while (!queue.IsEmpty()) {
    const PendingRecord r = queue.Pop(readAhead, midway);
    DedupeKeyTable::Slot& slot = keys.Lookup(r.key, r.hash);
    if (slot.state == DedupeKeyTable::kFree) {
      if (overInput) {
        keys.Claim(slot, writeOverInput(r.record, r.key), DedupeKeyTable::kSeenOnce);
      } else {
        keys.Claim(slot, r.key, DedupeKeyTable::kSeenOnce);
        if (keepFirst) write(r.record);
      }
    } else if (slot.state == DedupeKeyTable::kSeenOnce && (mode == kDedupeKeepUnique || mode == kDedupeKeepSecond)) {
      slot.state = DedupeKeyTable::kSeenAgain;
      if (mode == kDedupeKeepSecond) write(r.record);
    }
  }

  if (mode == kDedupeKeepUnique) {
    // Second pass: the records whose key was seen exactly once, in input order.
    reader.position = 0;
    queue.Fill(readAhead);
    while (!queue.IsEmpty()) {
      const PendingRecord r = queue.Pop(readAhead, midway);
      if (keys.Lookup(r.key, r.hash).state == DedupeKeyTable::kSeenOnce) write(r.record);
    }
  }

  if (overInput) {
    reader.sourceText.Str().resize(outLength);
    text.Str() = std::move(reader.sourceText.Str());
  } else {
    text.Str() = std::move(out);
  }
}
