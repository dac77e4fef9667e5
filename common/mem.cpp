#include "common/mem.h"

#include <sys/mman.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "common/little_endian.h"

namespace {

// The first touch of each 4 KB page of a fresh buffer is a fault, and on
// virtual machines those faults can cost more than the work done in the
// buffer (about a second per 100 MB seen on ours). Large buffers ask for
// 2 MB pages instead; the advice only affects pages not yet touched.
void AdviseHugePages(void* data, size_t size) {
#if defined(MADV_HUGEPAGE)
  constexpr size_t kHugePage = size_t{2} << 20;
  if (!data || size < 2 * kHugePage) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(kHugePage - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)data;
  (void)size;
#endif
}

std::atomic<QzuMemReallocator> g_reallocator{nullptr};

void* Reallocate(void* block, size_t size) {
  const QzuMemReallocator reallocator = g_reallocator.load(std::memory_order_relaxed);
  return reallocator ? reallocator(block, size) : std::realloc(block, size);
}

}  // namespace

QzuMemReallocator SetQzuMemReallocatorForTests(QzuMemReallocator reallocator) {
  return g_reallocator.exchange(reallocator);
}

CQzuMem::CQzuMem(const void* data, size_t size) {
  if (!Assign(data, size)) throw std::bad_alloc();
}

CQzuMem::CQzuMem(const CQzuMem& other) : m_growStep(other.m_growStep), m_flags(other.m_flags) {
  if (!Assign(other.m_data, other.m_size)) throw std::bad_alloc();
}

CQzuMem::CQzuMem(CQzuMem&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)),
      m_size(std::exchange(other.m_size, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)),
      m_growStep(other.m_growStep),
      m_flags(other.m_flags) {}

CQzuMem& CQzuMem::operator=(const CQzuMem& other) {
  if (this != &other) {
    if (!Assign(other.m_data, other.m_size)) throw std::bad_alloc();
    m_flags = other.m_flags;
  }
  return *this;
}

CQzuMem& CQzuMem::operator=(CQzuMem&& other) noexcept {
  if (this != &other) {
    std::free(m_data);
    m_data = std::exchange(other.m_data, nullptr);
    m_size = std::exchange(other.m_size, 0);
    m_capacity = std::exchange(other.m_capacity, 0);
    m_growStep = other.m_growStep;
    m_flags = other.m_flags;
  }
  return *this;
}

CQzuMem::~CQzuMem() { std::free(m_data); }

CQzuMem CQzuMem::Null() {
  CQzuMem m;
  m.m_flags = 1;
  return m;
}

bool CQzuMem::Reserve(size_t capacity) {
  if (capacity <= m_capacity) return true;
  void* p = Reallocate(m_data, capacity);
  if (!p) return false;
  m_data = static_cast<uint8_t*>(p);
  m_capacity = capacity;
  AdviseHugePages(m_data, m_capacity);
  return true;
}

bool CQzuMem::Grow(size_t needed) {
  if (needed <= m_capacity) return true;
  size_t target = needed;
  const size_t geometric = m_capacity + m_capacity / 2;
  if (target < geometric) target = geometric;
  // A size no step can round up to is more than any memory holds.
  if (target > SIZE_MAX - (m_growStep - 1)) return false;
  target = (target + m_growStep - 1) / m_growStep * m_growStep;
  return Reserve(target);
}

bool CQzuMem::SetSize(size_t size) {
  if (size > m_size) {
    if (!Grow(size)) return false;
    std::memset(m_data + m_size, 0, size - m_size);
  }
  m_size = size;
  return true;
}

bool CQzuMem::SetSizeForOverwrite(size_t size) {
  if (size > m_size && !Grow(size)) return false;
  m_size = size;
  return true;
}

void CQzuMem::Free() {
  std::free(m_data);
  m_data = nullptr;
  m_size = m_capacity = 0;
}

bool CQzuMem::Append(const void* data, size_t size) {
  if (size == 0) return true;
  if (size > SIZE_MAX - m_size) return false;
  const auto* source = static_cast<const uint8_t*>(data);
  if (source >= m_data && source < m_data + m_capacity) {  // appending from itself, which may move
    const size_t offset = static_cast<size_t>(source - m_data);
    if (!Grow(m_size + size)) return false;
    std::memmove(m_data + m_size, m_data + offset, size);
  } else {
    if (!Grow(m_size + size)) return false;
    std::memcpy(m_data + m_size, data, size);
  }
  m_size += size;
  return true;
}

bool CQzuMem::Assign(const void* data, size_t size) {
  const auto* source = static_cast<const uint8_t*>(data);
  if (size == 0) {
    m_size = 0;
    return true;
  }
  if (source >= m_data && source < m_data + m_capacity) {
    std::memmove(m_data, data, size);
    m_size = size;
    return true;
  }
  if (size > m_capacity) {
    // Fresh room: what the buffer holds is replaced, so it is not copied
    // over; on failure it stays as it was.
    if (size > SIZE_MAX - (m_growStep - 1)) return false;
    const size_t capacity = (size + m_growStep - 1) / m_growStep * m_growStep;
    void* p = Reallocate(nullptr, capacity);
    if (!p) return false;
    std::free(m_data);
    m_data = static_cast<uint8_t*>(p);
    m_capacity = capacity;
    AdviseHugePages(m_data, m_capacity);
  }
  std::memcpy(m_data, data, size);
  m_size = size;
  return true;
}

bool CQzuMem::Insert(size_t pos, const void* data, size_t size) {
  if (pos > m_size) pos = m_size;
  if (size == 0) return true;
  if (size > SIZE_MAX - m_size) return false;
  // A source inside this buffer is copied aside first: growing may move it,
  // and the shift below may overwrite it.
  const auto* source = static_cast<const uint8_t*>(data);
  void* aside = nullptr;
  if (source >= m_data && source < m_data + m_capacity) {
    if (!(aside = Reallocate(nullptr, size))) return false;
    std::memcpy(aside, source, size);
    source = static_cast<const uint8_t*>(aside);
  }
  if (!Grow(m_size + size)) {
    std::free(aside);
    return false;
  }
  std::memmove(m_data + pos + size, m_data + pos, m_size - pos);
  std::memcpy(m_data + pos, source, size);
  m_size += size;
  std::free(aside);
  return true;
}

size_t CQzuMem::ReleasePages(size_t from, size_t to) {
  constexpr size_t kPage = size_t{2} << 20;
  // Below this size a buffer may share its pages with the heap's others.
  constexpr size_t kLargeBuffer = size_t{32} << 20;
  if (m_capacity < kLargeBuffer || to > m_capacity || from >= to) return from;
  const uintptr_t base = reinterpret_cast<uintptr_t>(m_data);
  const uintptr_t begin = (base + from + kPage - 1) & ~(kPage - 1);
  const uintptr_t end = (base + to) & ~(kPage - 1);
  if (end <= begin) return from;
  ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
  return static_cast<size_t>(end - base);
}

void CQzuMem::Remove(size_t pos, size_t count) {
  if (pos >= m_size) return;
  if (count > m_size - pos) count = m_size - pos;
  std::memmove(m_data + pos, m_data + pos + count, m_size - pos - count);
  m_size -= count;
}

long long CQzuMem::Find(const void* pattern, size_t patternSize, size_t start) const {
  if (patternSize == 0 || start >= m_size || patternSize > m_size - start) return -1;
  const auto* p = static_cast<const uint8_t*>(pattern);
  const uint8_t* end = m_data + m_size - patternSize + 1;
  for (const uint8_t* at = m_data + start; at < end;) {
    at = static_cast<const uint8_t*>(std::memchr(at, p[0], static_cast<size_t>(end - at)));
    if (!at) return -1;
    if (std::memcmp(at, p, patternSize) == 0) return at - m_data;
    ++at;
  }
  return -1;
}

bool operator==(const CQzuMem& a, const CQzuMem& b) {
  return a.m_size == b.m_size && (a.m_size == 0 || std::memcmp(a.m_data, b.m_data, a.m_size) == 0);
}

uint32_t HashByteBuffer(const void* data, size_t size) {
  if (size == 0) return 0;
  const auto* p = static_cast<const uint8_t*>(data);
  uint32_t h = static_cast<uint32_t>(size);
  size_t i = 0;
  for (; i + 4 <= size; i += 4) {
    h = h * 5 + LoadLittleEndian32(p + i);
  }
  for (; i < size; ++i) h = h * 5 + p[i];
  return h & 0x7FFFFFFFu;
}
