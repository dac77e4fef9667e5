#include "textlib/line_dedupe.h"

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

  std::u16string out;
  out.reserve(reader.sourceText.GetLength() / 3);
  bool written = false;
  const auto write = [&](std::u16string_view record) {
    if (written) out += separator.View();
    out += record;
    written = true;
    ++counter.value;
  };

  DedupeKeyTable keys;
  RecordQueue queue;
  // The next kept record with its key and hash, its slot prefetched; false
  // when the text is exhausted.
  const auto readAhead = [&](PendingRecord& pending) {
    while (reader.HasMoreLines()) {
      std::u16string_view record = reader.ReadNextLineView();
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
      keys.Claim(slot, r.key, DedupeKeyTable::kSeenOnce);
      if (mode != kDedupeKeepUnique && mode != kDedupeKeepSecond) write(r.record);
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

  text.Str() = std::move(out);
}
