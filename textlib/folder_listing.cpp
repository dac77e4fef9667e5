#include "textlib/folder_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "textlib/name_pattern.h"
#include "textlib/path_helpers.h"

namespace {

enum class EntryKind { Other, File, Folder };

// What an entry is, without following a link to a folder.
EntryKind KindOf(int dirFd, const dirent& entry) {
  switch (entry.d_type) {
    case DT_REG:
      return EntryKind::File;
    case DT_DIR:
      return EntryKind::Folder;
    case DT_LNK: {
      struct stat st{};
      if (::fstatat(dirFd, entry.d_name, &st, 0) != 0) return EntryKind::Other;  // dangling or a loop
      return S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
    }
    case DT_UNKNOWN: {
      struct stat st{};
      if (::fstatat(dirFd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
      if (S_ISREG(st.st_mode)) return EntryKind::File;
      if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
      if (S_ISLNK(st.st_mode) && ::fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
        return EntryKind::File;
      return EntryKind::Other;
    }
    default:
      return EntryKind::Other;
  }
}

// Visible names of one kind in `folder`, sorted by code unit. `stopAtFirst`
// ends the scan at the first hit. `unreadable` tells whether the folder could
// not be read to its end (or at all).
std::vector<CWString> ReadNames(const CWString& folder, EntryKind wanted, bool stopAtFirst, bool& unreadable) {
  std::vector<CWString> names;
  unreadable = true;
  // A zero unit would end the path early at the system call: another folder.
  if (folder.View().find(u'\0') != std::u16string_view::npos) return names;
  DIR* dir = ::opendir(folder.ToSystemPath().c_str());
  if (!dir) return names;
  const int fd = ::dirfd(dir);
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
    if (KindOf(fd, *entry) != wanted) continue;
    names.push_back(CWString::FromSystemPath(entry->d_name));
    if (stopAtFirst) break;
    errno = 0;
  }
  unreadable = errno != 0 && !stopAtFirst;
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

int ListFolderEntries(const CWString& folder, const CWString& patterns, rg_Ombrine_base::rg_WenBenShuZuLei& out,
                      int folders, bool* unreadable) {
  out.Empty();
  if (unreadable) *unreadable = folder.IsEmpty();
  if (folder.IsEmpty()) return 0;
  const std::vector<CWString> patternList = patterns.Split(u"|", true, true);
  if (patternList.empty()) return 0;
  const CWString base = AppendTrailingBackslash(folder);

  // One read of the folder serves every pattern; since each name is read once,
  // marking the taken ones keeps a name matching several patterns single.
  bool failed = false;
  const std::vector<CWString> names = ReadNames(base, folders ? EntryKind::Folder : EntryKind::File, false, failed);
  if (unreadable) *unreadable = failed;
  std::vector<char> taken(names.size(), 0);
  for (const CWString& pattern : patternList) {
    for (size_t i = 0; i < names.size(); ++i) {
      if (taken[i] || !MatchesNamePattern(names[i].View(), pattern.View())) continue;
      taken[i] = 1;
      out.Add(base + names[i]);
    }
  }
  return out.GetCount();
}

int HasSubFolder(const CWString& folder) {
  if (folder.IsEmpty()) return 0;
  bool unreadable = false;
  return ReadNames(AppendTrailingBackslash(folder), EntryKind::Folder, true, unreadable).empty() ? 0 : 1;
}
