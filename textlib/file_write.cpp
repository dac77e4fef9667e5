#include "textlib/file_write.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <new>
#include <random>
#include <string>
#include <system_error>
#include <unordered_set>

#include "common/scratch_buffer.h"
#include "platform/file_system_ops.h"

namespace {

constexpr char kTemporaryPrefix[] = ".qzu-write-";
constexpr size_t kTemporaryPrefixLength = sizeof kTemporaryPrefix - 1;
constexpr size_t kTemporaryTagLength = 8;
constexpr char kTagDigits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

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

// `a` and then `b`, in one call where the system takes both whole.
bool WriteBoth(int fd, const uint8_t* a, size_t aSize, const uint8_t* b, size_t bSize) {
  while (aSize > 0) {
    iovec pieces[2] = {{const_cast<uint8_t*>(a), aSize}, {const_cast<uint8_t*>(b), bSize}};
    const ssize_t n = ::writev(fd, pieces, 2);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return false;
    size_t done = static_cast<size_t>(n);
    if (done < aSize) {
      a += done;
      aSize -= done;
      continue;
    }
    done -= aSize;
    aSize = 0;
    b += done;
    bSize -= done;
  }
  return WriteAll(fd, b, bSize);
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

// The file that is really written: a link that may be followed is replaced
// through its target, as opening the link for writing would, instead of
// turning it into a file. A link someone else put there is not followed: it
// is what the new file replaces. `path` becomes the path of what is
// replaced, and `st` its status (lstat); false when nothing stands there.
bool ResolveTarget(std::string& path, struct stat& st) {
  std::string followed = path;
  if (FollowOwnLinks(followed, st) == LinkedEntry::None) return false;
  path = std::move(followed);  // what the links lead to, or the link not to follow
  return true;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash == 0 ? 1 : slash);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Collects small pieces so that a small file takes one write; a larger
// piece goes to the file as it is, in one call with what was collected
// before it. Its room is lent by the thread, the same for every file a batch
// writes.
class PieceWriter {
 public:
  static constexpr size_t kRoom = size_t{1} << 16;
  static constexpr size_t kSmallPiece = size_t{1} << 12;
  explicit PieceWriter(int fd) : m_fd(fd) {
    if (!m_room.Reserve(kRoom)) throw std::bad_alloc();
  }
  bool Put(const void* data, size_t size) {
    if (!m_ok) return false;
    if (size == 0) return true;  // an empty piece may come without memory
    if (size < kSmallPiece && m_used + size <= kRoom) {
      std::memcpy(m_room.Data() + m_used, data, size);
      m_used += size;
      return true;
    }
    const size_t collected = m_used;
    m_used = 0;
    m_ok = WriteBoth(m_fd, reinterpret_cast<const uint8_t*>(m_room.Data()), collected,
                     static_cast<const uint8_t*>(data), size);
    return m_ok;
  }
  bool Flush() {
    const size_t n = m_used;
    m_used = 0;
    return WriteAll(m_fd, reinterpret_cast<const uint8_t*>(m_room.Data()), n);
  }

 private:
  int m_fd;
  bool m_ok = true;
  size_t m_used = 0;
  ScratchBuffer m_room;
};

bool IsTemporaryName(const char* name) {
  if (std::strncmp(name, kTemporaryPrefix, kTemporaryPrefixLength) != 0) return false;
  const char* tag = name + kTemporaryPrefixLength;
  if (std::strlen(tag) != kTemporaryTagLength) return false;
  for (const char* c = tag; *c; ++c)
    if (!std::strchr(kTagDigits, *c)) return false;
  return true;
}

// A name for the temporary that no other writer picks: the process, a count
// and a random start, as letters and digits.
std::string TemporaryName(const std::string& folder) {
  static std::atomic<uint64_t> counter{std::random_device{}()};
  // Asked once: a child process that keeps the parent's number meets the
  // parent's names at worst, and then takes the next one.
  static const uint64_t pid = static_cast<uint64_t>(::getpid());
  uint64_t v = counter.fetch_add(1, std::memory_order_relaxed) * 0x9E3779B97F4A7C15ull ^ pid;
  std::string name = (folder.empty() ? std::string() : folder + "/") + kTemporaryPrefix;
  for (size_t i = 0; i < kTemporaryTagLength; ++i, v /= 62) name += kTagDigits[v % 62];
  return name;
}

// Removes the temporaries in `folder` that no writer holds locked: a writer
// that died (killed, crashed, cut off by a power cut) left them. Each folder
// once per process, which is enough, as a crash only leaves temporaries
// behind for the next run. A folder this writer has just made holds none
// left from before (`made`): it is only noted as swept.
void RemoveStaleTemporaries(const std::string& folder, bool made = false) {
  static std::mutex lock;
  static std::unordered_set<std::string> swept;
  {
    std::lock_guard<std::mutex> guard(lock);
    if (swept.size() > 100000) swept.clear();  // only costs another look
    if (!swept.insert(folder).second || made) return;
  }
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const int dirFd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryName(entry->d_name)) continue;
    const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held{}, named{};
    // A writer at work holds its lock; the name must still be this file.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 &&
        ::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(held, named) &&
        S_ISREG(named.st_mode))
      ::unlinkat(dirFd, entry->d_name, 0);
    ::close(fd);
  }
  ::closedir(dir);
}

// Makes the missing folder `folder` and those above it; true only when this
// call made it (a failure shows as a failed open after it). The folder's
// parent is most often there: one call then.
bool MakeMissingFolder(const std::string& folder) {
  if (::mkdir(folder.c_str(), 0777) == 0) return true;
  if (errno != ENOENT) return false;
  std::error_code ec;
  return std::filesystem::create_directories(folder, ec);
}

// Opens a new temporary in `folder` with permission bits `mode` (the umask
// applies), locked for as long as it stays open, making the folder when it
// is missing (`made` tells).
int OpenTemporary(const std::string& folder, mode_t mode, std::string& temp, bool& made) {
  bool triedFolder = false;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temp = TemporaryName(folder);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST || errno == EINTR) continue;
      if (errno != ENOENT || triedFolder || folder.empty()) return -1;
      made = MakeMissingFolder(folder);
      triedFolder = true;
      continue;
    }
    // Another process removing stale temporaries may have taken the new file
    // before its lock (and removed it, or is about to): then a new name is
    // tried.
    struct stat held{};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &held) == 0 && held.st_nlink > 0) {
      RemoveStaleTemporaries(folder, made);
      return fd;
    }
    ::close(fd);
  }
  return -1;
}

std::atomic<bool> g_unnamedFilesAllowed{true};

// Opens a new file without a name in `folder` (O_TMPFILE), making the folder
// when it is missing (`made` tells): nothing can see or take it, and a crash
// leaves nothing behind. -1 where the file system has no such files (the
// caller then takes a named temporary) or the folder cannot be made.
int OpenUnnamed(const std::string& folder, mode_t mode, bool& made) {
#if defined(O_TMPFILE)
  // The name is given through /proc; without it, only named temporaries.
  static const bool canLink = ::access("/proc/self/fd", X_OK) == 0;
  if (!canLink || !g_unnamedFilesAllowed.load(std::memory_order_relaxed)) return -1;
  const char* at = folder.empty() ? "." : folder.c_str();
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int fd = ::open(at, O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (fd >= 0) {
      // Temporaries that crashed writers left here before still go.
      RemoveStaleTemporaries(folder, made);
      return fd;
    }
    if (errno != ENOENT || attempt > 0 || folder.empty()) return -1;
    made = MakeMissingFolder(folder);
  }
#else
  (void)folder;
  (void)mode;
  (void)made;
#endif
  return -1;
}

// The path under which the file open as `fd` can be given a name.
std::string DescriptorPath(int fd) { return "/proc/self/fd/" + std::to_string(fd); }

// Gives the open file `fd` the name `path`, which must not exist yet.
bool LinkDescriptor(int fd, const std::string& path) {
  return ::linkat(AT_FDCWD, DescriptorPath(fd).c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

}  // namespace

FileReplacement::~FileReplacement() { Discard(); }

void FileReplacement::Discard() {
  if (m_fd < 0) return;
  if (!m_temp.empty()) ::unlink(m_temp.c_str());
  ::close(m_fd);
  m_fd = -1;
}

bool FileReplacement::Write(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
                            const CWString& like) {
  Discard();
  // A zero unit would end the name early at the system call and write some
  // other file: refuse such a path instead.
  if (path.IsEmpty() || path.View().find(u'\0') != std::u16string_view::npos) return false;
  m_target = path.ToSystemPath();
  struct stat old{};
  const bool hadOld = ResolveTarget(m_target, old);
  struct stat liked{};
  // (The target itself as its own model is the old file, already looked at.)
  const bool hasLike = !like.IsEmpty() && like != path && ::stat(like.ToSystemPath().c_str(), &liked) == 0;
  return WriteTo(hadOld ? &old : nullptr, hasLike ? &liked : nullptr, produce);
}

bool FileReplacement::Write(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
                            const KnownFileStatus& known) {
  Discard();
  if (path.IsEmpty() || path.View().find(u'\0') != std::u16string_view::npos) return false;
  m_target = path.ToSystemPath();
  struct stat old{};
  bool hadOld = false;
  if (!known.targetSeen || (!known.targetMissing && S_ISLNK(known.target.st_mode))) {
    hadOld = ResolveTarget(m_target, old);  // a link is followed here
  } else if (!known.targetMissing) {
    old = known.target;
    hadOld = true;
  }
  return WriteTo(hadOld ? &old : nullptr, known.model, produce);
}

bool FileReplacement::WriteTo(const struct stat* old, const struct stat* liked,
                              const std::function<bool(const FileByteSink&)>& produce) {
  // A link here is one that may not be followed: the new file replaces the
  // link, and nothing of what it names is looked at or taken.
  const bool foreignLink = old && S_ISLNK(old->st_mode);
  if (old && !S_ISREG(old->st_mode) && !foreignLink) return false;  // never replace a folder or a device
  // A file we may not write stays as it is, as it would with a plain open.
  if (old && !foreignLink && ::access(m_target.c_str(), W_OK) != 0) return false;
  const struct stat* model = liked ? liked : foreignLink ? nullptr : old;

  // The temporary sits in the target's own folder so that the rename stays on
  // one file system and is atomic. Its name is short (a target name may
  // already use all 255 bytes) and hidden from folder listings.
  const mode_t created = model ? (model->st_mode & 0777) : 0666;
  m_targetMissing = old == nullptr;
  m_temp.clear();
  m_madeFolder = false;
  int fd = OpenUnnamed(FolderOf(m_target), created, m_madeFolder);
  if (fd < 0) fd = OpenTemporary(FolderOf(m_target), created, m_temp, m_madeFolder);
  if (fd < 0) return false;
  m_fd = fd;

  bool ok = true;
  // The umask trims the bits given at creation; the model's own bits (and
  // any special ones) are put back.
  if (model && (model->st_mode & 07777) != (created & ~ProcessUmask())) ok = ::fchmod(fd, model->st_mode & 07777) == 0;
  static const uid_t uid = ::geteuid();
  static const gid_t gid = ::getegid();
  if (ok && model && (model->st_uid != uid || model->st_gid != gid)) {
    // Best effort: only a privileged writer can hand the file back to its owner.
    if (::fchown(fd, model->st_uid, model->st_gid) != 0) {
    }
  }
  if (ok) {
    PieceWriter writer(fd);
    ok = produce([&writer](const void* data, size_t size) { return writer.Put(data, size); }) && writer.Flush();
  }
  // A full disk may only show at the flush to the device.
  ok = ok && ::fsync(fd) == 0;
  if (!ok) Discard();
  return ok;
}

bool FileReplacement::Commit(FolderFlushes* later) {
  m_nameTaken = false;
  if (m_fd < 0) return false;
  // Where nothing stood at the target, the new file takes the name only if
  // it is still free, in one call that fails where anything stands there
  // now: what came meanwhile was never looked at by the caller, so it is
  // not replaced. This is also how a caller that knew the name to be free
  // without looking learns otherwise.
  if (m_targetMissing) {
    bool existed = false;
    const bool placed = m_temp.empty() ? LinkDescriptor(m_fd, m_target)
                                       : MoveWithoutReplacing(m_temp, m_target, existed);
    if (placed) {
      m_temp.clear();
      FinishCommit(later);
      return true;
    }
    m_nameTaken = m_temp.empty() ? errno == EEXIST : existed;
    Discard();
    return false;
  }
  // A file without a name first takes a temporary name beside the target,
  // locked like a named temporary, so that the rename below replaces the
  // target in one step.
  if (m_temp.empty()) {
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
      Discard();
      return false;
    }
    std::string temp;
    for (int attempt = 0; attempt < 100 && temp.empty(); ++attempt) {
      const std::string name = TemporaryName(FolderOf(m_target));
      if (LinkDescriptor(m_fd, name)) temp = name;
      else if (errno != EEXIST) break;
    }
    if (temp.empty()) {
      Discard();
      return false;
    }
    m_temp = temp;
  }
  // The lock is held until the file has its name: until then a crash leaves
  // the old file, whole.
  if (::rename(m_temp.c_str(), m_target.c_str()) != 0) {
    Discard();
    return false;
  }
  FinishCommit(later);
  return true;
}

void FileReplacement::FinishCommit(FolderFlushes* later) {
  ::close(m_fd);
  m_fd = -1;
  // The name is in place; a folder that cannot be flushed (some file
  // systems refuse) does not make it undone.
  if (later) later->NoteNameIn(m_target);
  else FlushFolderOf(m_target);
}

bool FileReplacement::CommitWithoutReplacing(const CWString& path, bool& existed) {
  existed = false;
  if (m_fd < 0 || path.View().find(u'\0') != std::u16string_view::npos) return false;
  const std::string target = path.ToSystemPath();
  if (m_temp.empty()) {
    if (!LinkDescriptor(m_fd, target)) {
      existed = errno == EEXIST;
      return false;
    }
  } else if (!MoveWithoutReplacing(m_temp, target, existed)) {
    return false;
  }
  ::close(m_fd);
  m_fd = -1;
  FlushFolderOf(target);
  return true;
}

bool MoveWithoutReplacing(const std::string& from, const std::string& to, bool& existed) {
  existed = false;
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno == EEXIST) {
    existed = true;
    return false;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return false;
  // A file system without that rename: a second name, which fails where
  // something exists, then the first name goes.
  if (::link(from.c_str(), to.c_str()) != 0) {
    existed = errno == EEXIST;
    return false;
  }
  ::unlink(from.c_str());
  return true;
}

int WriteFileFrom(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
                  const CWString& like) {
  // The second attempt looks at the target afresh.
  for (int attempt = 0; attempt < 2; ++attempt) {
    FileReplacement file;
    if (file.Write(path, produce, like) && file.Commit()) return 1;
  }
  return 0;
}

int WriteFileBytes(const CWString& path, const CQzuMem& data) {
  return WriteFileFrom(path, [&data](const FileByteSink& sink) { return sink(data.GetData(), data.GetSize()); });
}

void SetUnnamedFilesAllowed(bool allowed) { g_unnamedFilesAllowed.store(allowed, std::memory_order_relaxed); }

bool FlushFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

void FolderFlushes::NoteNameIn(const std::string& path) {
  std::string folder = FolderOf(path);
  if (m_waiting && folder == m_folder) return;
  Flush();
  m_folder = std::move(folder);
  m_waiting = true;
}

void FolderFlushes::Flush() {
  if (!m_waiting) return;
  m_waiting = false;
  const int fd = ::open(m_folder.empty() ? "." : m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
