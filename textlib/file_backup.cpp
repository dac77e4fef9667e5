#include "textlib/file_backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "common/utf.h"
#include "textlib/file_name_clean.h"
#include "textlib/file_write.h"

namespace {

// Enough for any folder a person keeps; ends the search in a folder that
// somehow answers "taken" to every name.
constexpr int kMaxNumber = 100000;

bool HasZeroUnit(const CWString& path) { return path.View().find(u'\0') != std::u16string_view::npos; }

bool IsRegularFile(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Exists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

bool MakeFolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  const std::string folder = path.substr(0, slash);
  std::error_code ec;
  if (std::filesystem::is_directory(folder, ec)) return true;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

// Every byte of the file at `path`, piece by piece.
bool CopyBytes(const std::string& path, const FileByteSink& sink) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  constexpr size_t kPiece = 1 << 20;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[kPiece]);
  bool ok = buffer != nullptr;
  while (ok) {
    const ssize_t n = ::read(fd, buffer.get(), kPiece);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = sink(buffer.get(), static_cast<size_t>(n));
  }
  ::close(fd);
  return ok;
}

// Whether the files at `a` and `b` hold the same bytes (the same file
// included).
bool SameBytes(const std::string& a, const std::string& b) {
  struct stat sa{}, sb{};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
  if (sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino) return true;
  if (sa.st_size != sb.st_size) return false;
  const int fa = ::open(a.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  const int fb = fa < 0 ? -1 : ::open(b.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  bool same = fa >= 0 && fb >= 0;
  constexpr size_t kPiece = 1 << 16;
  std::unique_ptr<char[]> pa(new (std::nothrow) char[kPiece]), pb(new (std::nothrow) char[kPiece]);
  same = same && pa && pb;
  const auto readAll = [](int fd, char* dst, size_t n) -> ssize_t {
    size_t got = 0;
    while (got < n) {
      const ssize_t r = ::read(fd, dst + got, n - got);
      if (r < 0 && errno == EINTR) continue;
      if (r < 0) return -1;
      if (r == 0) break;
      got += static_cast<size_t>(r);
    }
    return static_cast<ssize_t>(got);
  };
  while (same) {
    const ssize_t na = readAll(fa, pa.get(), kPiece);
    const ssize_t nb = readAll(fb, pb.get(), kPiece);
    if (na < 0 || na != nb || std::memcmp(pa.get(), pb.get(), static_cast<size_t>(na)) != 0) same = false;
    else if (na == 0) break;
  }
  if (fa >= 0) ::close(fa);
  if (fb >= 0) ::close(fb);
  return same;
}

// A backup of `file` already kept under `backupPath` or one of the numbered
// names taken beside it that holds the file's very bytes: a run that was cut
// short and is made again keeps a file once, not once a run. Empty when
// there is none.
CWString IdenticalBackup(const std::string& source, const CWString& backupPath) {
  for (int n = 1; n <= kMaxNumber; ++n) {
    const CWString candidate = NumberedPath(backupPath, n);
    const std::string target = candidate.ToSystemPath();
    if (!Exists(target)) break;
    if (IsRegularFile(target) && SameBytes(source, target)) return candidate;
  }
  return CWString();
}

CWString CopyToFreeName(const CWString& file, const CWString& backupPath) {
  const std::string source = file.ToSystemPath();
  int n = 1;
  while (n <= kMaxNumber && Exists(NumberedPath(backupPath, n).ToSystemPath())) ++n;
  FileReplacement copy;
  if (n > kMaxNumber || !copy.Write(NumberedPath(backupPath, n), [&](const FileByteSink& sink) { return CopyBytes(source, sink); },
                                    file))
    return CWString();
  // Another keeper may take the free name meanwhile: then the next one.
  for (; n <= kMaxNumber; ++n) {
    const CWString candidate = NumberedPath(backupPath, n);
    bool existed = false;
    if (copy.CommitWithoutReplacing(candidate, existed)) return candidate;
    if (!existed) break;
  }
  return CWString();
}

}  // namespace

CWString NumberedPath(const CWString& path, int n) {
  if (n <= 1) return path;
  const int slash = path.ReverseFind(u'/');
  const CWString folder = path.Left(slash + 1);
  CWString stem = path.Mid(slash + 1);
  CWString extension;
  // A leading dot starts a hidden name, not an extension.
  if (const int dot = stem.ReverseFind(u'.'); dot > 0) {
    extension = stem.Mid(dot);
    stem = stem.Left(dot);
  }
  const CWString suffix = u" (" + CWString::FromInt(n) + u")" + extension;
  const size_t suffixBytes = suffix.ToSystemPath().size();
  std::u16string& s = stem.Str();
  while (!s.empty() && stem.ToSystemPath().size() + suffixBytes > static_cast<size_t>(kMaxFileNameBytes)) {
    const bool pair = s.size() >= 2 && qzu::IsLowSurrogate(s.back()) && qzu::IsHighSurrogate(s[s.size() - 2]);
    s.resize(s.size() - (pair ? 2 : 1));
  }
  return folder + stem + suffix;
}

CWString KeepCopyOf(const CWString& file, const CWString& backupPath, bool mayLink, bool* madeNew) {
  if (madeNew) *madeNew = false;
  if (file.IsEmpty() || backupPath.IsEmpty() || HasZeroUnit(file) || HasZeroUnit(backupPath)) return CWString();
  const std::string source = file.ToSystemPath();
  if (!IsRegularFile(source)) return CWString();
  if (const CWString kept = IdenticalBackup(source, backupPath); !kept.IsEmpty()) return kept;
  if (madeNew) *madeNew = true;
  if (mayLink) {
    bool madeFolder = false;
    for (int n = 1; n <= kMaxNumber; ++n) {
      const CWString candidate = NumberedPath(backupPath, n);
      const std::string target = candidate.ToSystemPath();
      if (::link(source.c_str(), target.c_str()) == 0) {
        // The backup must be on the disk before the file it keeps is replaced.
        FlushFolderOf(target);
        return candidate;
      }
      if (errno == EEXIST) continue;
      // The backup's folder is made when a link first finds it missing.
      if (errno == ENOENT && !madeFolder) {
        madeFolder = true;
        if (!MakeFolderOf(target)) return CWString();
        --n;
        continue;
      }
      // Any other failure (a file system without hard links, another one
      // mounted under the tree) leaves the copy.
      break;
    }
  }
  if (!MakeFolderOf(backupPath.ToSystemPath())) return CWString();
  return CopyToFreeName(file, backupPath);
}

CWString MoveToBackup(const CWString& file, const CWString& backupPath) {
  if (file.IsEmpty() || backupPath.IsEmpty() || HasZeroUnit(file) || HasZeroUnit(backupPath)) return CWString();
  const std::string source = file.ToSystemPath();
  if (!IsRegularFile(source) || !MakeFolderOf(backupPath.ToSystemPath())) return CWString();
  // Its bytes already kept: the file itself goes.
  if (const CWString kept = IdenticalBackup(source, backupPath); !kept.IsEmpty()) {
    if (::unlink(source.c_str()) != 0) return CWString();
    FlushFolderOf(source);
    return kept;
  }
  for (int n = 1; n <= kMaxNumber; ++n) {
    const CWString candidate = NumberedPath(backupPath, n);
    const std::string target = candidate.ToSystemPath();
    bool existed = false;
    if (MoveWithoutReplacing(source, target, existed)) {
      FlushFolderOf(target);
      FlushFolderOf(source);
      return candidate;
    }
    if (!existed) break;
  }
  // Another file system: a copy first, and the file goes only once the copy
  // is on the disk.
  const CWString kept = CopyToFreeName(file, backupPath);
  if (!kept.IsEmpty() && ::unlink(source.c_str()) == 0) FlushFolderOf(source);
  return kept;
}
