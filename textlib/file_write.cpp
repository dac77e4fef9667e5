#include "textlib/file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <system_error>


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

// Collects small pieces so that a small file takes one write; large pieces
// go straight to the file.
class PieceWriter {
 public:
  explicit PieceWriter(int fd) : m_fd(fd) {}
  bool Put(const void* data, size_t size) {
    if (!m_ok) return false;
    if (size == 0) return true;  // an empty piece may come without memory
    if (m_used + size <= sizeof m_buffer) {
      std::memcpy(m_buffer + m_used, data, size);
      m_used += size;
      return true;
    }
    m_ok = Flush() && WriteAll(m_fd, static_cast<const uint8_t*>(data), size);
    return m_ok;
  }
  bool Flush() {
    const size_t n = m_used;
    m_used = 0;
    return WriteAll(m_fd, m_buffer, n);
  }

 private:
  int m_fd;
  bool m_ok = true;
  size_t m_used = 0;
  uint8_t m_buffer[1 << 16];
};

// A name for the temporary that no other writer picks: the process, a count
// and a random start, as letters and digits.
std::string TemporaryName(const std::string& folder) {
  static const char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
  static std::atomic<uint64_t> counter{std::random_device{}()};
  uint64_t v = counter.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(::getpid());
  std::string name = (folder.empty() ? std::string() : folder + "/") + ".qzu-write-";
  for (int i = 0; i < 8; ++i, v /= 62) name += kDigits[v % 62];
  return name;
}

// Opens a new temporary in `folder` with permission bits `mode` (the umask
// applies), making the folder when it is missing.
int OpenTemporary(const std::string& folder, mode_t mode, std::string& temp) {
  bool madeFolder = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TemporaryName(folder);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) return fd;
    if (errno == EEXIST || errno == EINTR) continue;
    if (errno != ENOENT || madeFolder || folder.empty()) return -1;
    std::error_code ec;
    // A failure here shows as a failed open next time round.
    std::filesystem::create_directories(folder, ec);
    madeFolder = true;
  }
  return -1;
}

bool WriteOnce(const std::string& target, bool hadOld, const struct stat& old,
               const std::function<bool(const FileByteSink&)>& produce) {
  if (hadOld && !S_ISREG(old.st_mode)) return false;  // never replace a folder or a device
  // A file we may not write stays as it is, as it would with a plain open.
  if (hadOld && ::access(target.c_str(), W_OK) != 0) return false;

  // The temporary sits in the target's own folder so that the rename stays on
  // one file system and is atomic. Its name is short (a target name may
  // already use all 255 bytes) and hidden from folder listings.
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash == 0 ? 1 : slash);
  const mode_t created = hadOld ? (old.st_mode & 0777) : 0666;
  std::string temp;
  const int fd = OpenTemporary(folder, created, temp);
  if (fd < 0) return false;

  bool ok = true;
  // The umask trims the bits given at creation; an old file's own bits (and
  // any special ones) are put back.
  if (hadOld && (old.st_mode & 07777) != (created & ~ProcessUmask())) ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  static const uid_t uid = ::geteuid();
  static const gid_t gid = ::getegid();
  if (ok && hadOld && (old.st_uid != uid || old.st_gid != gid)) {
    // Best effort: only a privileged writer can hand the file back to its owner.
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    }
  }
  if (ok) {
    auto writer = std::make_unique<PieceWriter>(fd);
    ok = produce([&writer](const void* data, size_t size) { return writer->Put(data, size); }) && writer->Flush();
  }
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

int WriteFileFrom(const CWString& path, const std::function<bool(const FileByteSink&)>& produce) {
  // A zero unit would end the name early at the system call and write some
  // other file: refuse such a path instead.
  if (path.IsEmpty() || path.View().find(u'\0') != std::u16string_view::npos) return 0;
  std::string target = path.ToUtf8();
  struct stat old{};
  const bool hadOld = ResolveTarget(target, old);
  if (WriteOnce(target, hadOld, old, produce)) return 1;
  // The second attempt looks at the target afresh.
  struct stat again{};
  const bool hasNow = ::stat(target.c_str(), &again) == 0;
  return WriteOnce(target, hasNow, again, produce) ? 1 : 0;
}

int WriteFileBytes(const CWString& path, const CQzuMem& data) {
  return WriteFileFrom(path, [&data](const FileByteSink& sink) { return sink(data.GetData(), data.GetSize()); });
}
