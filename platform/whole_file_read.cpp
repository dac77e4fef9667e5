#include "platform/whole_file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

bool ReadWholeFile(const CWString& path, CQzuMem& bytes) {
  // Without waiting: a pipe would hold the open until a writer came. Only a
  // regular file is read, which the flag does not change.
  const int fd = ::open(path.ToSystemPath().c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  CQzuMem data;
  // A spare byte sees the end without growing the buffer.
  if (ok && st.st_size > 0) ok = data.Reserve(static_cast<size_t>(st.st_size) + 1);
  // A file that grows while we read it is read to its new end.
  while (ok) {
    if (data.GetSize() == data.GetCapacity() && !(ok = data.Reserve(data.GetCapacity() + (1u << 16)))) break;
    const size_t had = data.GetSize();
    data.SetSize(data.GetCapacity());
    const ssize_t n = ::read(fd, data.GetData() + had, data.GetSize() - had);
    data.SetSize(had + (n > 0 ? static_cast<size_t>(n) : 0));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
  }
  ::close(fd);
  if (ok) bytes = std::move(data);
  return ok;
}
