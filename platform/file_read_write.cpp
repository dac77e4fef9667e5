#include "platform/file_read_write.h"

#include <fcntl.h>
#include <unistd.h>

namespace rg_Ombrine_base {

int CQzuFileHandle::Open(const CWString& path, bool forWriting) {
  Close();
  if (path.IsEmpty()) return 0;
  const std::string name = path.ToSystemPath();
  const int flags = (forWriting ? (O_WRONLY | O_CREAT | O_TRUNC) : O_RDONLY) | O_CLOEXEC;
  m_fd = ::open(name.c_str(), flags, 0666);
  return m_fd >= 0 ? 1 : 0;
}

void CQzuFileHandle::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

QZU_IMPLEMENT_CLASS(rg_WenJianDouXieLei, CQzuObject, "rg_Ombrine_base::rg_WenJianDouXieLei")

rg_WenJianDouXieLei::rg_WenJianDouXieLei() : m_handle(CQzuRef<CQzuFileHandle>::Make()) {}

rg_WenJianDouXieLei::rg_WenJianDouXieLei(const rg_WenJianDouXieLei& other)
    : CQzuObject(other), m_handle(other.m_handle) {}

rg_WenJianDouXieLei& rg_WenJianDouXieLei::operator=(const rg_WenJianDouXieLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_WenJianDouXieLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_WenJianDouXieLei&>(other).m_handle == m_handle;
}

int rg_WenJianDouXieLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_WenJianDouXieLei, source)
  m_handle = src.m_handle;
  return 1;
}

}  // namespace rg_Ombrine_base
