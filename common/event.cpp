#include "common/event.h"

void CQzuEventObjectPointer::Detach() {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  m_receiver = nullptr;
}

bool CQzuEventObjectPointer::IsDetached() {
  std::lock_guard<std::recursive_mutex> guard(m_lock);
  return m_receiver == nullptr;
}
