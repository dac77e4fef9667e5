#include "platform/file_system_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

bool SetError(int* error, int value) {
  if (error) *error = value;
  return false;
}

}  // namespace

bool PathExists(const CWString& path) {
  if (path.IsEmpty()) return false;
  struct stat st {};
  return ::stat(path.ToSystemPath().c_str(), &st) == 0;
}

bool IsExistingFolder(const CWString& path) {
  if (path.IsEmpty()) return false;
  struct stat st {};
  return ::stat(path.ToSystemPath().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateFolderWithParents(const CWString& path) {
  if (path.IsEmpty()) return false;
  std::error_code ec;
  std::filesystem::create_directories(path.ToSystemPath(), ec);
  // create_directories reports an error for some existing folders (a link to
  // one at the end): what counts is that the folder is there.
  return IsExistingFolder(path);
}

bool RenameWithoutReplacingByCheck(const CWString& from, const CWString& to, int* error) {
  const std::string source = from.ToSystemPath(), target = to.ToSystemPath();
  struct stat st {};
  // lstat: a dangling link at the target is something that would be replaced.
  if (::lstat(target.c_str(), &st) == 0) return SetError(error, EEXIST);
  if (std::rename(source.c_str(), target.c_str()) != 0) return SetError(error, errno);
  return true;
}

bool RenameWithoutReplacing(const CWString& from, const CWString& to, int* error) {
  if (from.IsEmpty() || to.IsEmpty()) return SetError(error, ENOENT);
  const std::string source = from.ToSystemPath(), target = to.ToSystemPath();
  if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return true;
  // Some file systems (older network and FUSE ones) do not know the flag.
  if (errno == EINVAL || errno == ENOSYS || errno == ENOTSUP) return RenameWithoutReplacingByCheck(from, to, error);
  return SetError(error, errno);
}

namespace {

// The folder an entry of `path` stands in, as a path to give the system.
std::string FolderOfEntry(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool MayFollowLink(const std::string& path, const struct stat& link) {
  if (link.st_uid == ::geteuid()) return true;
  struct stat folder {};
  return ::stat(FolderOfEntry(path).c_str(), &folder) == 0 && folder.st_uid == link.st_uid;
}

LinkedEntry FollowOwnLinks(std::string& path, struct stat& status) {
  // As many links in a row as the system itself follows.
  for (int links = 0; links <= 40; ++links) {
    if (::lstat(path.c_str(), &status) != 0) return LinkedEntry::None;
    if (!S_ISLNK(status.st_mode)) return LinkedEntry::Found;
    if (!MayFollowLink(path, status)) return LinkedEntry::ForeignLink;
    char target[PATH_MAX];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof target) return LinkedEntry::None;
    const std::string named(target, static_cast<size_t>(n));
    // A relative target starts from the link's folder, as the system reads it.
    path = named[0] == '/' ? named : FolderOfEntry(path) + "/" + named;
  }
  return LinkedEntry::None;
}

int OpenFollowingOwnLinks(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_NOFOLLOW, 0666);
  if (fd >= 0 || errno != ELOOP) return fd;
  std::string followed = path;
  struct stat st {};
  switch (FollowOwnLinks(followed, st)) {
    case LinkedEntry::Found:
      return ::open(followed.c_str(), flags | O_NOFOLLOW, 0666);
    case LinkedEntry::ForeignLink:
      errno = EACCES;
      return -1;
    case LinkedEntry::None:
      break;
  }
  errno = ENOENT;
  return -1;
}
