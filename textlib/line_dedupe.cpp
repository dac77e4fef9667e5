#include "textlib/line_dedupe.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "textlib/line_reader.h"

namespace {

// Keys are views into the text being read: no key is ever copied, which is
// what keeps a million-line run ahead of a set of owned strings.
class KeyTable {
 public:
  enum State : uint32_t { kFree = 0, kSeenOnce = 1, kSeenAgain = 2 };

  struct Slot {
    const char16_t* data;
    uint32_t length;
    uint32_t state;
    uint64_t hash;
  };

  KeyTable() { Allocate(1u << 12); }

  // The slot of `key` (whose Hash() is `hash`); a free slot (state kFree)
  // when the key is new. A new key must be claimed with Claim() before the
  // next call.
  Slot& Lookup(std::u16string_view key, uint64_t hash) {
    size_t i = static_cast<size_t>(hash >> m_shift);
    for (;;) {
      Slot& slot = m_slots[i];
      if (slot.state == kFree) {
        m_pendingHash = hash;
        return slot;
      }
      if (slot.hash == hash && slot.length == key.size() &&
          (key.empty() || std::memcmp(slot.data, key.data(), key.size() * sizeof(char16_t)) == 0))
        return slot;
      i = (i + 1) & m_mask;
    }
  }

  // A lookup is bound by the cache miss on its slot: callers announce the
  // keys they will look up a few records ahead.
  void Prefetch(uint64_t hash) const { __builtin_prefetch(&m_slots[static_cast<size_t>(hash >> m_shift)]); }

  // Second step, once the slot has arrived: the stored key text that the
  // comparison will read (the home slot only; it is the one nearly always).
  void PrefetchKey(uint64_t hash) const {
    const Slot& slot = m_slots[static_cast<size_t>(hash >> m_shift)];
    if (slot.state != kFree) __builtin_prefetch(slot.data);
  }

  void Claim(Slot& slot, std::u16string_view key, State state) {
    slot.data = key.data();
    slot.length = static_cast<uint32_t>(key.size());
    slot.hash = m_pendingHash;
    slot.state = state;
    // Keep the table at most half full so that probe runs stay short.
    if (++m_count * 2 > m_capacity) Grow();
  }

  static uint64_t Hash(std::u16string_view key) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(key.data());
    size_t n = key.size() * sizeof(char16_t);
    uint64_t h = 0x9E3779B97F4A7C15ull ^ n;
    while (n >= 16) {
      uint64_t a, b;
      std::memcpy(&a, p, 8);
      std::memcpy(&b, p + 8, 8);
      h = (h ^ a) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
      h = (h ^ b) * 0x94D049BB133111EBull;
      h ^= h >> 31;
      p += 16;
      n -= 16;
    }
    if (n >= 8) {
      uint64_t a;
      std::memcpy(&a, p, 8);
      h = (h ^ a) * 0xBF58476D1CE4E5B9ull;
      h ^= h >> 29;
      p += 8;
      n -= 8;
    }
    uint64_t tail = 0;
    if (n != 0) std::memcpy(&tail, p, n);
    h = (h ^ tail) * 0x94D049BB133111EBull;
    h ^= h >> 32;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return h;
  }

 private:
  void Allocate(size_t capacity) {
    m_slots = std::make_unique<Slot[]>(capacity);  // value-initialised: every slot free
    m_capacity = capacity;
    m_mask = capacity - 1;
    m_shift = 64;
    for (size_t c = capacity; c > 1; c >>= 1) --m_shift;
  }

  void Grow() {
    std::unique_ptr<Slot[]> old = std::move(m_slots);
    const size_t oldCapacity = m_capacity;
    Allocate(oldCapacity * 2);
    for (size_t j = 0; j < oldCapacity; ++j) {
      if (old[j].state == kFree) continue;
      size_t i = static_cast<size_t>(old[j].hash >> m_shift);
      while (m_slots[i].state != kFree) i = (i + 1) & m_mask;
      m_slots[i] = old[j];
    }
  }

  std::unique_ptr<Slot[]> m_slots;
  size_t m_capacity = 0;
  size_t m_mask = 0;
  unsigned m_shift = 64;
  size_t m_count = 0;
  uint64_t m_pendingHash = 0;
};

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

  KeyTable keys;
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
      pending.hash = KeyTable::Hash(pending.key);
      keys.Prefetch(pending.hash);
      return true;
    }
    return false;
  };

  const auto midway = [&](const PendingRecord& pending) { keys.PrefetchKey(pending.hash); };

  queue.Fill(readAhead);
  while (!queue.IsEmpty()) {
    const PendingRecord r = queue.Pop(readAhead, midway);
    KeyTable::Slot& slot = keys.Lookup(r.key, r.hash);
    if (slot.state == KeyTable::kFree) {
      keys.Claim(slot, r.key, KeyTable::kSeenOnce);
      if (mode != kDedupeKeepUnique && mode != kDedupeKeepSecond) write(r.record);
    } else if (slot.state == KeyTable::kSeenOnce && (mode == kDedupeKeepUnique || mode == kDedupeKeepSecond)) {
      slot.state = KeyTable::kSeenAgain;
      if (mode == kDedupeKeepSecond) write(r.record);
    }
  }

  if (mode == kDedupeKeepUnique) {
    // Second pass: the records whose key was seen exactly once, in input order.
    reader.position = 0;
    queue.Fill(readAhead);
    while (!queue.IsEmpty()) {
      const PendingRecord r = queue.Pop(readAhead, midway);
      if (keys.Lookup(r.key, r.hash).state == KeyTable::kSeenOnce) write(r.record);
    }
  }

  text.Str() = std::move(out);
}
