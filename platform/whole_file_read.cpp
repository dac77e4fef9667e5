#include "platform/whole_file_read.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_system_ops.h"

bool ReadWholeFileInto(const CWString& path, CQzuMem& data, struct stat* status,
                       const std::function<void(std::string_view)>& grew) {
  data.Empty();
  // Without waiting: a pipe would hold the open until a writer came. Only a
  // regular file is read, which the flag does not change. A link someone
  // else put in the file's folder is not read through.
  const int fd = OpenFollowingOwnLinks(path.ToSystemPath(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  const size_t expected = ok && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
  // A spare byte sees the end without growing the buffer.
  if (expected > 0) ok = data.Reserve(expected + 1);
  // A file that grows while we read it is read to its new end.
  while (ok) {
    if (data.GetSize() == data.GetCapacity() && !(ok = data.Reserve(data.GetCapacity() + (1u << 16)))) break;
    const size_t had = data.GetSize();
    const size_t asked = grew ? std::min(data.GetCapacity() - had, kWholeFileReadPiece) : data.GetCapacity() - had;
    data.SetSizeForOverwrite(data.GetCapacity());
    const ssize_t n = ::read(fd, data.GetData() + had, asked);
    data.SetSizeForOverwrite(had + (n > 0 ? static_cast<size_t>(n) : 0));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    if (grew) grew(data.View());
    // Less than asked, up to the size the file had when opened: the file
    // ends there, and the read that would only say so is spared.
    if (static_cast<size_t>(n) < asked && data.GetSize() == expected) break;
  }
  ::close(fd);
  if (ok && status) *status = st;
  return ok;
}

bool ReadWholeFile(const CWString& path, CQzuMem& bytes) {
  CQzuMem data;
  if (!ReadWholeFileInto(path, data, nullptr)) return false;
  bytes = std::move(data);
  return true;
}
