#include "common/scratch_buffer.h"

#include <cstdlib>

struct ScratchBuffer::Slot {
  char* data = nullptr;
  size_t size = 0;
  bool lent = false;
};

ScratchBuffer::Slot* ScratchBuffer::Borrow() {
  // Enough for a write buffer, an encoder's room and a read beside them.
  constexpr int kSlots = 4;
  struct Slots {
    Slot slot[kSlots];
    ~Slots() {
      for (Slot& s : slot) std::free(s.data);
    }
  };
  thread_local Slots slots;
  for (Slot& s : slots.slot)
    if (!s.lent) {
      s.lent = true;
      return &s;
    }
  return nullptr;
}

ScratchBuffer::ScratchBuffer() : m_slot(Borrow()) {
  if (!m_slot) return;
  m_data = m_slot->data;
  m_size = m_slot->size;
}

ScratchBuffer::~ScratchBuffer() {
  if (m_size > kKeptBytes || !m_slot) {
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
  }
  if (!m_slot) return;
  m_slot->data = m_data;
  m_slot->size = m_size;
  m_slot->lent = false;
}

bool ScratchBuffer::Reserve(size_t bytes) {
  if (m_data && bytes <= m_size) return true;
  // At least half as much again, so that a run of slightly larger files does
  // not take new memory for each.
  size_t size = m_size + m_size / 2;
  if (size < bytes) size = bytes;
  if (size == 0) size = 1;
  // The old contents need not move: freed first, memory is not held twice.
  std::free(m_data);
  m_data = static_cast<char*>(std::malloc(size));
  m_size = m_data ? size : 0;
  return m_data != nullptr;
}
