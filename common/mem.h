#pragma once
// CQzuMem: a growable byte buffer. File contents, encoded text and rendered
// images travel in it. Capacity grows in multiples of the growth step (64
// bytes unless set otherwise), and at least by half of what is held, so a run
// of appends stays linear.
//
// Running out of memory is never silent. The constructors and the copy
// assignment, which have no result to give, throw std::bad_alloc (a copy
// assignment leaves the target as it was). Every other operation that needs
// memory answers false and leaves the buffer as it was: its caller must
// look at that answer.
#include <cstddef>
#include <cstdint>
#include <string_view>

class CQzuMem {
 public:
  CQzuMem() = default;
  explicit CQzuMem(size_t growStep) : m_growStep(growStep ? growStep : 64) {}
  CQzuMem(const void* data, size_t size);
  CQzuMem(const CQzuMem& other);
  CQzuMem(CQzuMem&& other) noexcept;
  CQzuMem& operator=(const CQzuMem& other);
  CQzuMem& operator=(CQzuMem&& other) noexcept;
  ~CQzuMem();

  // The null object: an empty buffer with the null flag set.
  static CQzuMem Null();
  bool IsNull() const { return (m_flags & 1u) != 0; }

  size_t GetSize() const { return m_size; }
  size_t GetCapacity() const { return m_capacity; }
  size_t GetGrowStep() const { return m_growStep; }
  void SetGrowStep(size_t step) { m_growStep = step ? step : 64; }
  bool IsEmpty() const { return m_size == 0; }
  uint8_t* GetData() { return m_data; }
  const uint8_t* GetData() const { return m_data; }
  uint8_t operator[](size_t i) const { return m_data[i]; }
  uint8_t& operator[](size_t i) { return m_data[i]; }
  std::string_view View() const { return std::string_view(reinterpret_cast<const char*>(m_data), m_size); }

  // Makes room for at least `capacity` bytes; false when memory runs out.
  bool Reserve(size_t capacity);
  // New bytes (when growing) are zero.
  bool SetSize(size_t size);
  // The same, new bytes left as they are: for a caller that fills them
  // itself (a read into the buffer, a converter writing its result). Memory
  // that is about to be written is not cleared first.
  bool SetSizeForOverwrite(size_t size);
  void Empty() { m_size = 0; }
  // Frees the storage.
  void Free();

  bool Append(const void* data, size_t size);
  bool Append(const CQzuMem& other) { return Append(other.m_data, other.m_size); }
  bool AppendByte(uint8_t b) { return Append(&b, 1); }
  bool Assign(const void* data, size_t size);
  bool Insert(size_t pos, const void* data, size_t size);
  // For a reader that goes through a large buffer once, front to back, and
  // then replaces or frees it: the memory of the bytes [from, to) that fills
  // whole 2 MB pages goes back to the system, and those bytes read as zeros
  // afterwards. Returns where the released part ends, the `from` of the next
  // call (`from` itself when nothing could go). Small buffers keep theirs.
  size_t ReleasePages(size_t from, size_t to);
  // Removes up to `count` bytes from `pos`.
  void Remove(size_t pos, size_t count);

  // First position at or after `start` where `pattern` begins, or -1.
  long long Find(const void* pattern, size_t patternSize, size_t start = 0) const;

  friend bool operator==(const CQzuMem& a, const CQzuMem& b);

 private:
  bool Grow(size_t needed);

  uint8_t* m_data = nullptr;
  size_t m_size = 0;
  size_t m_capacity = 0;
  size_t m_growStep = 64;
  uint32_t m_flags = 0;
};

// For tests: the allocator behind every buffer (realloc's contract: null
// when memory runs out, the old block then kept). Null restores realloc.
// Returns the one set before. Not for use while other threads work.
using QzuMemReallocator = void* (*)(void* block, size_t size);
QzuMemReallocator SetQzuMemReallocatorForTests(QzuMemReallocator reallocator);

// The framework's buffer hash: h starts at the byte count; each whole 32-bit
// little-endian word, then each remaining byte, goes in as h = h * 5 + value
// (mod 2^32); the result is h mod 2^31. An empty buffer gives 0.
uint32_t HashByteBuffer(const void* data, size_t size);
inline uint32_t HashByteBuffer(const CQzuMem& mem) { return HashByteBuffer(mem.GetData(), mem.GetSize()); }
