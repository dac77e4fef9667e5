#pragma once
// Reference counting for shared things (native window wrappers, event
// receivers, menus, locks, file handles). A count starts at 1 when the thing
// is made; the last Release deletes it.
#include <atomic>
#include <utility>

class CQzuRefObject {
 public:
  CQzuRefObject() = default;
  CQzuRefObject(const CQzuRefObject&) = delete;
  CQzuRefObject& operator=(const CQzuRefObject&) = delete;

  void AddRef() { m_refs.fetch_add(1, std::memory_order_relaxed); }
  void Release() {
    if (m_refs.fetch_sub(1, std::memory_order_acq_rel) == 1) delete this;
  }
  int RefCount() const { return m_refs.load(std::memory_order_relaxed); }

 protected:
  virtual ~CQzuRefObject() = default;

 private:
  std::atomic<int> m_refs{1};
};

// Holds one reference. Adopt() takes over a reference already counted (such
// as the 1 of a new object); Share() adds one.
template <class T>
class CQzuRef {
 public:
  CQzuRef() = default;
  static CQzuRef Adopt(T* p) { CQzuRef r; r.m_p = p; return r; }
  static CQzuRef Share(T* p) { if (p) p->AddRef(); return Adopt(p); }
  template <class... Args>
  static CQzuRef Make(Args&&... args) { return Adopt(new T(std::forward<Args>(args)...)); }

  CQzuRef(const CQzuRef& o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
  CQzuRef(CQzuRef&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
  CQzuRef& operator=(const CQzuRef& o) {
    if (o.m_p) o.m_p->AddRef();
    if (m_p) m_p->Release();
    m_p = o.m_p;
    return *this;
  }
  CQzuRef& operator=(CQzuRef&& o) noexcept {
    if (this != &o) {
      if (m_p) m_p->Release();
      m_p = std::exchange(o.m_p, nullptr);
    }
    return *this;
  }
  ~CQzuRef() { if (m_p) m_p->Release(); }

  void Reset() { if (m_p) m_p->Release(); m_p = nullptr; }
  T* Get() const { return m_p; }
  T* operator->() const { return m_p; }
  T& operator*() const { return *m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  friend bool operator==(const CQzuRef& a, const CQzuRef& b) { return a.m_p == b.m_p; }

 private:
  T* m_p = nullptr;
};
