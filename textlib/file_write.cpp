#include "textlib/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "textlib/path_helpers.h"

namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

// Read once: umask can only be read by setting it, which would race with
// other threads creating files.
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t m = ::umask(022);
    ::umask(m);
    return m;
  }();
  return mask;
}

// The file that is really written: a link is replaced through its target, as
// opening the link for writing would, instead of turning it into a file.
// `st` receives what stands at the target now; false when nothing does.
bool ResolveTarget(std::string& path, struct stat& st) {
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISLNK(st.st_mode)) return true;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) path = resolved;
  return ::stat(path.c_str(), &st) == 0;
}

bool WriteOnce(const std::string& target, bool hadOld, const struct stat& old, const CQzuMem& data) {
  if (hadOld && !S_ISREG(old.st_mode)) return false;  // never replace a folder or a device
  // A file we may not write stays as it is, as it would with a plain open.
  if (hadOld && ::access(target.c_str(), W_OK) != 0) return false;

  // The temporary sits in the target's own folder so that the rename stays on
  // one file system and is atomic. Its name is short (a target name may
  // already use all 255 bytes) and hidden from folder listings.
  const std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::string temp = (folder.empty() ? std::string() : folder.string() + "/") + ".qzu-write-XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;

  const mode_t mode = hadOld ? (old.st_mode & 07777) : (0666 & ~ProcessUmask());
  bool ok = ::fchmod(fd, mode) == 0;
  static const uid_t uid = ::geteuid();
  static const gid_t gid = ::getegid();
  if (ok && hadOld && (old.st_uid != uid || old.st_gid != gid)) {
    // Best effort: only a privileged writer can hand the file back to its owner.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    }
  }
  ok = ok && WriteAll(fd, data.GetData(), data.GetSize());
  // A full disk may only show at the flush to the device or at the close.
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  // Until the rename reaches the disk a crash leaves the old file, whole; the
  // folder is not flushed as well, which would double the cost per file.
  ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

int WriteFileBytes(const CWString& path, const CQzuMem& data) {
  // A zero unit would end the name early at the system call and write some
  // other file: refuse such a path instead.
  if (path.IsEmpty() || path.View().find(u'\0') != std::u16string_view::npos) return 0;
  const CWString folder = PathFolder(path);
  if (!folder.IsEmpty()) {
    std::error_code ec;
    // A failure here shows as a failed write below.
    std::filesystem::create_directories(folder.ToUtf8(), ec);
  }
  std::string target = path.ToUtf8();
  struct stat old{};
  const bool hadOld = ResolveTarget(target, old);
  if (WriteOnce(target, hadOld, old, data)) return 1;
  // The second attempt looks at the target afresh.
  struct stat again{};
  const bool hasNow = ::stat(target.c_str(), &again) == 0;
  return WriteOnce(target, hasNow, again, data) ? 1 : 0;
}
