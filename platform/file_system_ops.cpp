#include "platform/file_system_ops.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
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
