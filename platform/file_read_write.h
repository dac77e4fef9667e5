#pragma once
// rg_WenJianDouXieLei: the framework's file read/write object. It holds one
// operating-system file handle in a reference-counted handle holder; copies
// share the holder, and the handle is closed when the last holder goes.
#include "common/object.h"
#include "common/ref_object.h"

namespace rg_Ombrine_base {

// One OS file descriptor, or -1 when no file is open.
class CQzuFileHandle : public CQzuRefObject {
 public:
  CQzuFileHandle() = default;
  int Descriptor() const { return m_fd; }
  bool IsOpen() const { return m_fd >= 0; }
  // Opens `path` (its name from ToSystemPath), closing a file held before: for reading
  // when `forWriting` is false, else created or truncated. 1 on success.
  int Open(const CWString& path, bool forWriting);
  void Close();

 protected:
  ~CQzuFileHandle() override { Close(); }

 private:
  int m_fd = -1;
};

class rg_WenJianDouXieLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_WenJianDouXieLei)
 public:
  // Starts with a new, empty handle holder.
  rg_WenJianDouXieLei();
  rg_WenJianDouXieLei(const rg_WenJianDouXieLei& other);
  rg_WenJianDouXieLei& operator=(const rg_WenJianDouXieLei& other);
  ~rg_WenJianDouXieLei() override = default;

  // Same class and header, and the very same handle holder.
  bool IsEqual(const CQzuObject& other) const override;
  // Shares the source's handle holder and lets go of its own.
  int CopyFrom(const CQzuObject& source) override;
  // A file handle has no stream form: nothing is read or written.
  void LoadFromStream(CQzuStream&) override {}
  void SaveToStream(CQzuStream&) const override {}

  CQzuFileHandle* Handle() const { return m_handle.Get(); }
  int Open(const CWString& path, bool forWriting) { return m_handle->Open(path, forWriting); }
  void Close() { m_handle->Close(); }
  bool IsOpen() const { return m_handle->IsOpen(); }

 private:
  CQzuRef<CQzuFileHandle> m_handle;
};

}  // namespace rg_Ombrine_base
