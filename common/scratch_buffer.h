#pragma once
// ScratchBuffer: working room lent by the calling thread for the length of
// one piece of work. A batch that converts and writes thousands of files one
// after another reuses the same few buffers for every file instead of taking
// and returning memory for each. Each thread keeps a few buffers; a borrower
// takes a free one, and when all are lent (work nested deeper than that) it
// gets memory of its own. A buffer grown past kKeptBytes is given back when
// its borrower is done, so one very large file leaves nothing large behind.
#include <cstddef>

class ScratchBuffer {
 public:
  static constexpr size_t kKeptBytes = size_t{1} << 20;

  ScratchBuffer();
  ~ScratchBuffer();
  ScratchBuffer(const ScratchBuffer&) = delete;
  ScratchBuffer& operator=(const ScratchBuffer&) = delete;

  // Room for at least `bytes`; false when memory runs out. What the room
  // held before is not kept when it grows.
  bool Reserve(size_t bytes);
  char* Data() const { return m_data; }
  size_t Size() const { return m_size; }

 private:
  struct Slot;
  // A free buffer of this thread's, or null when every one is lent.
  static Slot* Borrow();
  Slot* m_slot = nullptr;  // the thread's buffer lent, or null for memory of its own
  char* m_data = nullptr;
  size_t m_size = 0;
};
