#pragma once
// CQzuComObject: a holder of one shared automation instance (a compiled
// regular expression, a request, an office document...). Copies of a holder
// share the instance: a copy takes one more reference instead of making a
// second instance, and the last holder to let go destroys it.
//
// Instances are made by CreateComObject from a program id, through a table of
// the classes this program can make; a component that brings its own kind of
// instance registers its maker there.
#include <functional>

#include "common/object.h"
#include "common/ref_object.h"
#include "common/wstring.h"

// The shared instance itself. Counted from 1 when made.
class CQzuComInstance : public CQzuRefObject {
 protected:
  ~CQzuComInstance() override = default;
};

class CQzuComObject : public CQzuObject {
  QZU_DECLARE_CLASS(CQzuComObject)
 public:
  CQzuComObject() = default;
  CQzuComObject(const CQzuComObject& other);
  CQzuComObject& operator=(const CQzuComObject& other);
  ~CQzuComObject() override = default;

  // Equal when both hold the same instance (or both hold none).
  bool IsEqual(const CQzuObject& other) const override;
  // Shares the source's instance and lets go of the one held before.
  int CopyFrom(const CQzuObject& source) override;
  void Clear() override;
  // The stream form is the error code as 4 bytes: a live instance cannot be
  // written, so a loaded holder keeps whatever instance it had.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  CQzuComInstance* Get() const { return m_instance.Get(); }
  template <class T>
  T* As() const { return dynamic_cast<T*>(m_instance.Get()); }
  bool IsEmpty() const { return !m_instance; }
  // Keeps `instance` (its reference is taken over) and releases the old one.
  void Attach(CQzuRef<CQzuComInstance> instance);
  void ReleaseInstance() { m_instance.Reset(); }

  // Result of the last call made on the instance: 0 after success.
  int errorCode = 0;

 private:
  CQzuRef<CQzuComInstance> m_instance;
};

// Makes a new instance, or returns an empty reference when it cannot.
using CQzuComFactory = std::function<CQzuRef<CQzuComInstance>()>;

// Adds or replaces the maker for a program id (compared ignoring ASCII case).
// An empty maker removes the id again; the built-in ids then come back.
void RegisterComClass(const CWString& programId, CQzuComFactory factory);

// Makes the instance of `programId` into `holder`: 1 on success, with the
// holder's previous instance released; 0, with the holder left as it was,
// for an empty or unknown id or a maker that fails. Leading code units up to
// 32 of the id are skipped. There are no type libraries on this system:
// `typeLibraryFile` is accepted for the callers' sake and not used.
int CreateComObject(CQzuComObject& holder, const CWString& programId, const CWString& typeLibraryFile);
