#pragma once
// rg_HuChiSuoLei: a critical section. The thread that holds it may enter it
// again. Copies of an object that owns one share it (reference counted), so a
// copied store and its source lock the same section.
#include <mutex>

#include "common/ref_object.h"

namespace rg_Ombrine_base {

class rg_HuChiSuoLei {
 public:
  rg_HuChiSuoLei() : m_section(CQzuRef<Section>::Make()) {}
  rg_HuChiSuoLei(const rg_HuChiSuoLei&) = default;  // shares the section
  rg_HuChiSuoLei& operator=(const rg_HuChiSuoLei&) = default;

  void Enter() { m_section->mutex.lock(); }
  void Leave() { m_section->mutex.unlock(); }
  bool TryEnter() { return m_section->mutex.try_lock(); }
  bool SharesWith(const rg_HuChiSuoLei& other) const { return m_section == other.m_section; }
  int ShareCount() const { return m_section->RefCount(); }

  // Holds the section for a scope.
  class Guard {
   public:
    explicit Guard(rg_HuChiSuoLei& lock) : m_lock(lock) { m_lock.Enter(); }
    ~Guard() { m_lock.Leave(); }
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

   private:
    rg_HuChiSuoLei& m_lock;
  };

 private:
  struct Section : CQzuRefObject {
    std::recursive_mutex mutex;
  };
  CQzuRef<Section> m_section;
};

}  // namespace rg_Ombrine_base
