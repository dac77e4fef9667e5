#pragma once
// Arrays of the framework: texts, integers, pointer-sized integers, booleans,
// characters, and owned objects. Each has a null flag and the stream form
// "4-byte item count, then the items".
#include <cstdint>
#include <vector>

#include "common/object.h"

// Stream form of one item, per item type.
namespace qzu_stream_item {
inline void Save(CQzuStream& s, int32_t v) { s.WriteInt32(v); }
inline bool Load(CQzuStream& s, int32_t& v) { return s.ReadInt32(v); }
inline void Save(CQzuStream& s, int64_t v) { s.WriteInt64(v); }
inline bool Load(CQzuStream& s, int64_t& v) { return s.ReadInt64(v); }
inline void Save(CQzuStream& s, bool v) { s.WriteInt32(v ? 1 : 0); }
inline bool Load(CQzuStream& s, bool& v) { int32_t i = 0; bool ok = s.ReadInt32(i); v = i != 0; return ok; }
inline void Save(CQzuStream& s, char v) { s.WriteBytes(&v, 1); }
inline bool Load(CQzuStream& s, char& v) { return s.ReadBytes(&v, 1); }
inline void Save(CQzuStream& s, const CWString& v) { s.WriteText(v); }
inline bool Load(CQzuStream& s, CWString& v) { return s.ReadText(v); }
}  // namespace qzu_stream_item

template <class T>
class CQzuValueArray {
 public:
  CQzuValueArray() = default;
  CQzuValueArray(std::initializer_list<T> items) : m_items(items) {}
  explicit CQzuValueArray(std::vector<T> items) : m_items(std::move(items)) {}

  static CQzuValueArray Null() { CQzuValueArray a; a.m_null = true; return a; }
  bool IsNull() const { return m_null; }

  int GetCount() const { return static_cast<int>(m_items.size()); }
  size_t size() const { return m_items.size(); }
  bool IsEmpty() const { return m_items.empty(); }
  T& operator[](size_t i) { return m_items[i]; }
  const T& operator[](size_t i) const { return m_items[i]; }
  void Add(const T& item) { m_items.push_back(item); }
  void Add(T&& item) { m_items.push_back(std::move(item)); }
  void Insert(size_t at, const T& item) { m_items.insert(m_items.begin() + static_cast<long>(at), item); }
  void RemoveAt(size_t at, size_t count = 1) {
    if (at >= m_items.size()) return;
    if (count > m_items.size() - at) count = m_items.size() - at;
    m_items.erase(m_items.begin() + static_cast<long>(at), m_items.begin() + static_cast<long>(at + count));
  }
  void Empty() { m_items.clear(); }
  std::vector<T>& Items() { return m_items; }
  const std::vector<T>& Items() const { return m_items; }
  auto begin() { return m_items.begin(); }
  auto end() { return m_items.end(); }
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }
  friend bool operator==(const CQzuValueArray& a, const CQzuValueArray& b) { return a.m_items == b.m_items; }

  void SaveToStream(CQzuStream& s) const {
    if (!s.Ok()) return;
    s.WriteUInt32(static_cast<uint32_t>(m_items.size()));
    for (const T& item : m_items) qzu_stream_item::Save(s, item);
  }
  void LoadFromStream(CQzuStream& s) {
    uint32_t count;
    if (!s.ReadUInt32(count)) return;
    std::vector<T> items;
    for (uint32_t i = 0; i < count; ++i) {
      T item{};
      if (!qzu_stream_item::Load(s, item)) return;
      items.push_back(std::move(item));
    }
    m_items = std::move(items);
  }

 private:
  std::vector<T> m_items;
  bool m_null = false;
};

using CMStringArray = CQzuValueArray<CWString>;

namespace rg_Ombrine_base {
using rg_WenBenShuZuLei = CMStringArray;                // texts
using rg_ZhengShuShuZuLei = CQzuValueArray<int32_t>;     // 32-bit integers
using rg_BianZhengShuShuZuLei = CQzuValueArray<int64_t>; // pointer-sized integers
using rg_LuoJiXingShuZuLei = CQzuValueArray<bool>;       // booleans
using rg_ZiFuShuZuLei = CQzuValueArray<char>;            // characters (bytes)
}  // namespace rg_Ombrine_base

// An array that owns its objects. Copies clone every object. The stream form
// is the item count, then per object its class name as a text and its own
// stream form, so that loading can create the right class.
class CQzuObjectArray {
 public:
  CQzuObjectArray() = default;
  CQzuObjectArray(const CQzuObjectArray& other);
  CQzuObjectArray& operator=(const CQzuObjectArray& other);
  CQzuObjectArray(CQzuObjectArray&& other) noexcept : m_items(std::move(other.m_items)) {}
  ~CQzuObjectArray();

  int GetCount() const { return static_cast<int>(m_items.size()); }
  CQzuObject* operator[](size_t i) const { return m_items[i]; }
  // Takes ownership.
  void Add(CQzuObject* object) { m_items.push_back(object); }
  void RemoveAt(size_t at);
  void Empty();

  void SaveToStream(CQzuStream& s) const;
  void LoadFromStream(CQzuStream& s);

 private:
  std::vector<CQzuObject*> m_items;
};
