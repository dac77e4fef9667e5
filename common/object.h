#pragma once
// CQzuObject: the root of every class of the program. Each class offers the
// same operations: class information, equality, create, clone, copy-from
// (refused unless the source is of a compatible class), reset to defaults,
// release, is-kind-of, a text dump, load from and save to a stream, clear.
//
// A class declares itself with QZU_DECLARE_CLASS(Cls) in its body and
// QZU_IMPLEMENT_CLASS(Cls, Base, "rg_package::rg_Class") in its source file.
// Its class information is built once, thread-safely, on first use.
#include <cstdint>

#include "common/stream.h"
#include "common/wstring.h"

class CQzuObject;

// One record per class.
struct CQzuClassInfo {
  using CreateFunction = CQzuObject* (*)();
  CQzuClassInfo(const char* name, CreateFunction create, const CQzuClassInfo* base);

  const char* name;        // "rg_package::rg_Class"
  uint32_t nameLength;     // bytes of the name
  uint32_t nameHash;       // QzuClassNameHash(name)
  CreateFunction create;   // null for abstract classes
  const CQzuClassInfo* base;

  // Same class: same record, else same hash, length and name.
  bool SameClass(const CQzuClassInfo& other) const;
};

// h = h * 5 + byte over the name's bytes, stored as (h | 1) & 0x7fffffff.
uint32_t QzuClassNameHash(const char* name);

// Classes that may be created by name (object arrays loading from a stream).
const CQzuClassInfo* QzuFindClass(const char* name);
struct CQzuClassRegistrar {
  explicit CQzuClassRegistrar(const CQzuClassInfo& (*info)());
};

class CQzuObject {
 public:
  CQzuObject() = default;
  CQzuObject(const CQzuObject&) = default;
  CQzuObject& operator=(const CQzuObject&) = default;
  virtual ~CQzuObject() = default;

  static const CQzuClassInfo& StaticClassInfo();
  virtual const CQzuClassInfo& GetClassInfo() const;

  // Same class, same null flag and header word; classes add their members.
  virtual bool IsEqual(const CQzuObject& other) const;
  // A new object of the same class as constructed (null for abstract classes).
  virtual CQzuObject* CreateInstance() const;
  // A new object of the same class holding a copy of this one.
  virtual CQzuObject* Clone() const;
  // 1 after copying `source` into this object; 0, with nothing changed, when
  // `source` is not of this object's class or a class derived from it.
  virtual int CopyFrom(const CQzuObject& source);
  // Back to the values of a newly constructed object.
  virtual void Reset();
  // Deletes the object (the deleting destructor).
  virtual void Release();
  bool IsKindOf(const CQzuClassInfo& info) const;
  virtual CWString Dump() const;
  virtual void LoadFromStream(CQzuStream& stream);
  virtual void SaveToStream(CQzuStream& stream) const;
  // Empties the members.
  virtual void Clear() {}

  bool IsNull() const { return (m_flags & 1u) != 0; }
  void SetNull(bool isNull) { m_flags = isNull ? (m_flags | 1u) : (m_flags & ~1u); }
  uint32_t GetFlags() const { return m_flags; }
  uint32_t GetHeaderWord() const { return m_headerWord; }
  void SetHeaderWord(uint32_t word) { m_headerWord = word; }

 protected:
  // The header part of a copy: the flags word and the second header word.
  void CopyHeader(const CQzuObject& source) {
    m_flags = source.m_flags;
    m_headerWord = source.m_headerWord;
  }
  bool SameHeader(const CQzuObject& other) const;

 private:
  uint32_t m_flags = 0;       // bit 0: null object
  uint32_t m_headerWord = 0;  // second header word
};

#define QZU_DECLARE_CLASS(Cls)                     \
 public:                                           \
  static const CQzuClassInfo& StaticClassInfo();   \
  const CQzuClassInfo& GetClassInfo() const override;

#define QZU_CLASS_CONCAT2(a, b) a##b
#define QZU_CLASS_CONCAT(a, b) QZU_CLASS_CONCAT2(a, b)

#define QZU_IMPLEMENT_CLASS_WITH(Cls, Base, Name, CreateExpr)                                   \
  const CQzuClassInfo& Cls::StaticClassInfo() {                                                 \
    static const CQzuClassInfo info(Name, CreateExpr, &Base::StaticClassInfo());                \
    return info;                                                                                \
  }                                                                                             \
  const CQzuClassInfo& Cls::GetClassInfo() const { return StaticClassInfo(); }                  \
  static const CQzuClassRegistrar QZU_CLASS_CONCAT(qzu_class_registrar_, __LINE__)(&Cls::StaticClassInfo);

#define QZU_IMPLEMENT_CLASS(Cls, Base, Name) \
  QZU_IMPLEMENT_CLASS_WITH(Cls, Base, Name, []() -> CQzuObject* { return new Cls(); })

#define QZU_IMPLEMENT_ABSTRACT_CLASS(Cls, Base, Name) QZU_IMPLEMENT_CLASS_WITH(Cls, Base, Name, nullptr)

// The usual CopyFrom preamble: refuse other classes, then copy the header.
#define QZU_COPY_FROM_PREAMBLE(Cls, source)                          \
  if (!(source).IsKindOf(Cls::StaticClassInfo())) return 0;          \
  if (&(source) == this) return 1;                                   \
  const Cls& src = static_cast<const Cls&>(source);                  \
  if (!CQzuObject::CopyFrom(source)) return 0;
