#include "common/event.h"

#include <algorithm>

CQzuObject* CQzuEventObjectPointer::Enter() {
  std::lock_guard<std::mutex> guard(m_lock);
  if (!m_receiver) return nullptr;
  m_callers.push_back(std::this_thread::get_id());
  return m_receiver;
}

void CQzuEventObjectPointer::Leave() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    // Any entry of this thread will do: they are all alike.
    auto it = std::find(m_callers.begin(), m_callers.end(), std::this_thread::get_id());
    if (it != m_callers.end()) m_callers.erase(it);
  }
  m_left.notify_all();
}

bool CQzuEventObjectPointer::OnlyThisThreadInside(std::thread::id self) const {
  return std::all_of(m_callers.begin(), m_callers.end(), [&](std::thread::id id) { return id == self; });
}

void CQzuEventObjectPointer::Detach() {
  std::unique_lock<std::mutex> guard(m_lock);
  m_receiver = nullptr;
  const std::thread::id self = std::this_thread::get_id();
  m_left.wait(guard, [&] { return OnlyThisThreadInside(self); });
}

bool CQzuEventObjectPointer::IsDetached() {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_receiver == nullptr;
}
