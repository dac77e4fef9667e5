#pragma once
// Writing a whole file safely: the bytes go to a new file beside the target
// that replaces it only once complete and on the disk, so the target always
// holds its old or its new content, also after a crash or a power cut.
#include <sys/stat.h>

#include <cstddef>
#include <functional>
#include <string>

#include "common/mem.h"
#include "common/wstring.h"

// Takes the next piece of the file; false when it could not be written.
using FileByteSink = std::function<bool(const void* data, size_t size)>;

// What the caller has just seen of the files a write looks at, so that the
// write need not ask the system again.
struct KnownFileStatus {
  // Whether `target` holds what lstat gave for the target path; when false
  // the write looks itself.
  bool targetSeen = false;
  // Nothing stood at the target path (`target` is then unused), or the
  // caller knows the name is free without looking: a name found there after
  // all is not replaced (see FileReplacement::Commit).
  bool targetMissing = false;
  struct stat target {};
  // The status (stat) of the file whose permission bits and owner the new
  // file takes; null when there is none.
  const struct stat* model = nullptr;
};

// Folders whose flush to the disk may wait: files put in place one after
// another in one folder need it flushed once, not once for each. One folder
// waits at a time; a file put in place in another folder, Flush() or the end
// of the object flushes it. Until then a power cut may take back the newest
// names in that folder, each of them whole: a name stands for the old file
// or for the whole new one, as every new file is on the disk before its name.
// Not shared between threads.
class FolderFlushes {
 public:
  FolderFlushes() = default;
  ~FolderFlushes() { Flush(); }
  FolderFlushes(const FolderFlushes&) = delete;
  FolderFlushes& operator=(const FolderFlushes&) = delete;

  // Notes that the folder holding `path` has new names; the folder noted
  // before is flushed when it is another one.
  void NoteNameIn(const std::string& path);
  // Flushes the waiting folder, if any.
  void Flush();

 private:
  std::string m_folder;
  bool m_waiting = false;
};

// One new file for a target path, written in full first and put in place
// afterwards. The new file has no name while it is written (O_TMPFILE), so a
// crash leaves nothing; it takes the target's name in one step where nothing
// stands there, else a temporary name beside the target first. Where the
// file system has no files without a name, it is written under that
// temporary name from the start. A temporary is hidden in the target's
// folder (".qzu-write-" and eight letters or digits) and locked by its
// writer until it is in place or removed; the first write of a process into
// a folder removes the temporaries there that no running writer holds (a
// crash leaves them), and folder listings never show them; a folder the
// write made itself has none to remove. Not shared between threads; any
// number of them may work at once.
class FileReplacement {
 public:
  FileReplacement() = default;
  // Removes the new file when it was never put in place.
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  // Writes the new content of `path` (a path of the system, see
  // CWString::ToSystemPath) from the pieces `produce` hands to its sink and
  // flushes it to the disk, creating the missing folders. The new file takes
  // the permission bits, and where the process may set it the owner, of the
  // file `like` when given and there, else of the file at `path`, else 0666
  // less the umask. A link at `path` is written through: the file it names is the
  // target; but a link that may not be followed (someone else's, see
  // MayFollowLink) is itself replaced by the new file, which then takes
  // nothing of what the link names (its bits and owner are those of `like`,
  // else of a new file). False, leaving nothing behind, when the target is not a regular
  // file or may not be written, when a write fails or `produce` returns
  // false. An empty path, or one holding a zero unit, gives false.
  bool Write(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
             const CWString& like = CWString());
  // The same where the caller has just looked at the target and the model
  // file itself.
  bool Write(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
             const KnownFileStatus& known);
  // Puts the written file in place of the target, replacing what was there
  // when the write began, and flushes the folder so that the change survives
  // a power cut; with `later`, that flush is left to it. Where nothing stood
  // at the target then, nothing is replaced: a name that came since stays
  // as it is, the new file is dropped, and NameTaken() tells.
  bool Commit(FolderFlushes* later = nullptr);
  // The last Commit found a name at a target that was free when the write
  // began.
  bool NameTaken() const { return m_nameTaken; }
  // The last Write made the target's folder: nothing else stood in it then.
  bool MadeFolder() const { return m_madeFolder; }
  // Puts the written file at `path` (in the same folder as the target) only
  // where nothing exists yet; `existed` tells a taken name from a failure.
  bool CommitWithoutReplacing(const CWString& path, bool& existed);

 private:
  void Discard();
  void FinishCommit(FolderFlushes* later);
  bool WriteTo(const struct stat* old, const struct stat* model,
               const std::function<bool(const FileByteSink&)>& produce);

  int m_fd = -1;
  std::string m_temp;  // empty while the new file has no name
  std::string m_target;
  bool m_targetMissing = false;  // nothing stood at the target when the write began
  bool m_nameTaken = false;
  bool m_madeFolder = false;
};

// Writes the file at `path` in one FileReplacement: 1 only when every byte
// reached the disk and the file is in place, else 0 with the old file as it
// was. A failed attempt is repeated once, so `produce` may be called twice.
// The new file's permission bits and owner are those of `like` when given,
// else the old file's.
int WriteFileFrom(const CWString& path, const std::function<bool(const FileByteSink&)>& produce,
                  const CWString& like = CWString());

// WriteFileFrom with every byte of `data`.
int WriteFileBytes(const CWString& path, const CQzuMem& data);

// Renames `from` to `to` only where nothing exists at `to` (`existed` tells
// a taken name from a failure); never replaces anything.
bool MoveWithoutReplacing(const std::string& from, const std::string& to, bool& existed);

// For tests: false makes every FileReplacement take a named temporary, as on
// a file system without files that have no name; true (the start) tries a
// file without a name first. Set it while no write is under way.
void SetUnnamedFilesAllowed(bool allowed);

// Flushes the folder that holds `path`, so that names made or removed in it
// survive a power cut. False when it cannot be opened or flushed.
bool FlushFolderOf(const std::string& path);
