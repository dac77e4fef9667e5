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
std::string ResolveTarget(const std::string& path) {
  struct stat st{};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved)) return resolved;
  }
  return path;
}

bool WriteOnce(const std::string& target, const CQzuMem& data) {
  struct stat old{};
  const bool hadOld = ::stat(target.c_str(), &old) == 0;
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
  if (ok && hadOld && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
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
  const std::string target = ResolveTarget(path.ToUtf8());
  if (WriteOnce(target, data)) return 1;
  return WriteOnce(target, data) ? 1 : 0;
}
