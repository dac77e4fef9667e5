// The output stage of ConvertOne: result file names, the result and backup
// trees under the batch root, the output charset and mark, and the raw decode
// output of a single decode.
//
// No file is ever lost: the result is written whole beside its place first;
// then whatever it is to replace (the source in place, or another file in
// its way) is kept in the backup tree under its own relative path, with a
// numbered name when an earlier backup holds that one; only then is the
// result put in place, and a source to be deleted leaves last. Links are
// never replaced or moved, and a link that another user put in a folder of
// the batch is not even read (the reader refuses it, see MayFollowLink): it
// fails like any file that cannot be read. A result that is byte for byte what its path
// already holds (a batch run again) is not written at all, and nothing is
// kept for it.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <filesystem>
#include <system_error>

#include "app/conversion_core.h"
#include "app/text_bytes.h"
#include "platform/hooks.h"
#include "platform/whole_file_read.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"
#include "textlib/digest_text.h"
#include "textlib/file_backup.h"
#include "textlib/file_name_clean.h"
#include "textlib/file_write.h"
#include "textlib/path_helpers.h"

namespace rg_Ombrine_app {

namespace {

const char16_t kResultFolder[] = u"转换结果";
const char16_t kBackupFolder[] = u"原文件备份";
const char16_t kDecodeFolder[] = u"解码结果";

// The folder part of `path` with its separator ("dir/", "/"), empty for a
// bare name.
CWString FolderWithSeparator(const CWString& path) { return path.Left(path.ReverseFind(kPathSeparator) + 1); }

// The folder, with its separator, whose result and backup trees receive
// `path`: the batch root when it is a leading folder of the path, else the
// path's own folder, so a file from elsewhere gets its trees beside itself.
CWString RootFor(const CWString& path, const CWString& batchRoot) {
  const CWString root = AppendTrailingBackslash(StripTrailingBackslash(batchRoot));
  if (!batchRoot.IsEmpty() && path.StartsWith(root.View())) return root;
  return FolderWithSeparator(path);
}

// `path` moved under root + tree, keeping its path relative to root.
CWString InTree(const CWString& path, const CWString& root, const char16_t* tree) {
  return root + tree + kPathSeparatorText + path.Mid(root.Length());
}

enum class Entry { None, File, Other };

// What stands at `path`, links not followed; `st` receives its status.
Entry EntryAt(const CWString& path, struct stat& st) {
  if (::lstat(path.ToSystemPath().c_str(), &st) != 0) return Entry::None;
  return S_ISREG(st.st_mode) ? Entry::File : Entry::Other;
}

Entry EntryAt(const CWString& path) {
  struct stat st{};
  return EntryAt(path, st);
}

bool MakeFolders(const CWString& folder) {
  std::error_code ec;
  const std::string f = folder.ToSystemPath();
  if (std::filesystem::is_directory(f, ec)) return true;
  std::filesystem::create_directories(f, ec);
  return std::filesystem::is_directory(f, ec);
}

bool HoldsBytes(const CWString& path, const CQzuMem& bytes) {
  CQzuMem held;
  return ReadWholeFile(path, held) && held == bytes;
}

bool IsUtf16Charset(const CWString& name) { return name.ToUpperAscii().StartsWith(u"UTF-16"); }

// Whether the regular file `path` (whose status is `seen`) holds exactly the
// bytes `produce` hands over. The file is read piece by piece beside the
// pieces, so a result that differs stops at its first different piece.
bool HoldsProduced(const CWString& path, const struct stat& seen,
                   const std::function<bool(const FileByteSink&)>& produce) {
  if (path.View().find(u'\0') != std::u16string_view::npos) return false;  // no system path
  const int fd = ::open(path.ToSystemPath().c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  struct stat st{};
  // The file looked at just before, and still of the size it had.
  bool same = ::fstat(fd, &st) == 0 && st.st_dev == seen.st_dev && st.st_ino == seen.st_ino &&
              st.st_size == seen.st_size;
  const auto size = static_cast<uint64_t>(st.st_size);
  uint64_t compared = 0;
  std::vector<char> held;
  const auto readExactly = [fd](char* dst, size_t n) {
    while (n > 0) {
      const ssize_t got = ::read(fd, dst, n);
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) return false;
      dst += got;
      n -= static_cast<size_t>(got);
    }
    return true;
  };
  if (same) {
    same = produce([&](const void* data, size_t n) {
      const char* piece = static_cast<const char*>(data);
      if (n > size - compared) return false;
      constexpr size_t kChunk = size_t{1} << 16;
      while (n > 0) {
        const size_t step = std::min(n, kChunk);
        held.resize(step);
        if (!readExactly(held.data(), step) || std::memcmp(held.data(), piece, step) != 0) return false;
        piece += step;
        n -= step;
        compared += step;
      }
      return true;
    });
  }
  ::close(fd);
  return same && compared == size;
}

// The same for a file whose bytes are still in memory, `held`.
bool HeldBytesProduced(std::string_view held, const std::function<bool(const FileByteSink&)>& produce) {
  return produce([&](const void* data, size_t n) {
           if (n == 0) return true;  // an empty piece may come with no address
           if (n > held.size() || std::memcmp(held.data(), data, n) != 0) return false;
           held.remove_prefix(n);
           return true;
         }) &&
         held.empty();
}

}  // namespace

void ConversionCore::WriteRawDecodeOutput(CWString& text, Call& call) {
  const CWString name =
      PathNamesEntry(text) ? PathFileName(text) : Crc32Text(call.bytes) + u".未知扩展名";
  const CWString wanted = AppendTrailingBackslash(GetProgramFolder()) + kDecodeFolder + kPathSeparatorText + name;
  // An earlier output of other bytes under this name stays: the new one
  // takes the first free numbered name beside it. The same bytes again are
  // not written twice.
  CWString output = wanted;
  for (int n = 2; EntryAt(output) != Entry::None && !HoldsBytes(output, call.bytes); ++n) output = NumberedPath(wanted, n);
  if (EntryAt(output) == Entry::None) WriteFileBytes(output, call.bytes);
  text = output;
  call.bytesResult = true;
}

CWString ConversionCore::OutputFileName(const CWString& path) {
  const ConversionOptions& o = m_options;
  const CWString stem = PathStem(path);
  if (o.function == ConversionFunction::WordToText) {
    if (o.direction == ConversionDirection::Decode) return stem + u".docx";
    return stem + (o.wordLayout == WordLayout::TypesetP ? u".html" : u".txt");
  }
  if (o.function == ConversionFunction::HtmlToText) {
    CWString ext = o.htmlExtension;
    if (ext.IsEmpty() || ext == u"自动") {
      const bool images = o.htmlLayout == HtmlLayout::TypesetImages || o.htmlLayout == HtmlLayout::TypesetImagesP;
      ext = images ? u"html" : u"txt";
    }
    return stem + u"." + ext;
  }
  if (o.convertFileNames) {
    CWString converted;
    CWString working = stem;
    ConvertOne(converted, CWString(), 0, 0, working, false);
    const CWString ext = PathExtension(path);
    const CWString suffix = ext.IsEmpty() ? CWString() : u"." + ext;
    // The whole name, extension included, stays within the file system's limit.
    CleanFileName(converted, static_cast<int>(suffix.ToSystemPath().size()));
    if (converted.IsEmpty()) converted = stem;  // never a nameless file
    return converted + suffix;
  }
  return PathFileName(path);
}

void ConversionCore::WriteFileOutput(CWString& result, const CWString& path, CWString& text, Call& call) {
  result = u"0";
  if (call.readFailed) return;  // an unreadable input is never replaced
  const ConversionOptions& o = m_options;
  const bool wordDecode = o.function == ConversionFunction::WordToText && o.direction == ConversionDirection::Decode;

  // A conversion that cannot be done leaves every file where it was.
  if (!call.bytesResult && !wordDecode && !CharsetIsKnown(call.outputCharset)) return;

  const CWString name = OutputFileName(path);
  const CWString root = RootFor(path, m_batchRoot);
  const CWString placed = o.saveToNewLocation ? InTree(path, root, kResultFolder) : path;
  const CWString outputFolder = FolderWithSeparator(placed);
  const CWString outputPath = outputFolder + name;
  // Whatever stands at the output path is kept before it is replaced: the
  // source itself in place, else another file (a "page.txt" beside
  // "page.html", a name a converted name meets, an earlier result). Only a
  // regular file is ever replaced: a link (the source's own, in place) is
  // never replaced, as its target would be converted behind its back.
  struct stat atOutput{}, atSource{};
  Entry existing = Entry::None;
  bool inPlace = outputPath == path;
  const auto lookAtOutput = [&] {
    existing = EntryAt(outputPath, atOutput);
    // Another spelling of the source's own name (a case-blind file system)
    // is the source too.
    inPlace = outputPath == path || (existing == Entry::File && EntryAt(path, atSource) == Entry::File &&
                                     atSource.st_dev == atOutput.st_dev && atSource.st_ino == atOutput.st_ino);
    return existing != Entry::Other;
  };
  // In a folder this core made, a name it has not put there is free: the
  // write learns it if that is not so, and the output is looked at then.
  bool looked = wordDecode || inPlace || m_madeFolder.IsEmpty() || outputFolder != m_madeFolder ||
                m_placedInMadeFolder.count(name.Str()) != 0;
  if (looked && !lookAtOutput()) return;
  // Nor is a link moved away: a relative target would dangle in the backup
  // tree. Read through, it converts to a new place.
  if (o.deleteOriginal && !inPlace && EntryAt(path) != Entry::File) return;
  const CWString backupOfOutput = InTree(outputPath, root, kBackupFolder);

  if (wordDecode) {
    // The word processor writes into the document it opened: the old one is
    // kept as a copy, never as a second name of that same file.
    if (existing == Entry::File && KeepCopyOf(outputPath, backupOfOutput, false).IsEmpty()) return;
    if (!MakeFolders(PathFolder(outputPath))) return;
    result = m_word.TextToWordFile(text, outputPath, o);
    if (o.deleteOriginal && result == WordDocuments::kSaved) MoveToBackup(path, InTree(path, root, kBackupFolder));
    return;
  }

  // The new file is written whole, beside its place, before anything else
  // happens: a failure up to its last byte leaves every file as it was. The
  // output charset's bytes are made piece by piece as they are written, so
  // that a large file is never held twice more.
  const CQzuMem mark = call.bytesResult ? CQzuMem() : MakeBom(call.outputCharset, !o.stripBom);
  // The characters the output charset lacked, as the last whole pass over
  // the result counted them.
  size_t replaced = 0;
  const bool haveUtf16 = call.utf16 && !call.utf16->IsEmpty();
  const bool wholeUnits = !haveUtf16 || call.utf16->GetSize() % 2 == 0;
  const std::u16string_view units =
      !haveUtf16
          ? text.View()
          : std::u16string_view(reinterpret_cast<const char16_t*>(call.utf16->GetData()), call.utf16->GetSize() / 2);
  const auto produce = [&](const FileByteSink& sink) {
    replaced = 0;
    if (call.bytesResult) return sink(call.bytes.GetData(), call.bytes.GetSize());
    if (!sink(mark.GetData(), mark.GetSize())) return false;
    if (call.ansiToUtf8) return AnsiToUtf8InPieces(call.ansi, sink);
    if (wholeUnits) return EncodeUtf16InPieces(units, call.outputCharset, sink, &replaced);
    // Half a unit at the end: the charset converter decides what it becomes
    // (outside UTF-16, the unit of its low byte).
    if (!IsUtf16Charset(call.outputCharset)) {
      std::u16string withTail(units);
      withTail += static_cast<char16_t>(static_cast<uint8_t>(call.utf16->View().back()));
      return EncodeUtf16InPieces(withTail, call.outputCharset, sink, &replaced);
    }
    CQzuMem converted = *call.utf16;
    return ConvertCharset(converted, CWString(u"UTF-16"), call.outputCharset, 0) &&
           sink(converted.GetData(), converted.GetSize());
  };
  // A second round only where a name came at an output path found free.
  for (;; looked = true) {
    const bool sourceLeaves = o.deleteOriginal && !inPlace;
    // What the path already holds is left alone: no write, no backup. A
    // source read straight from the system code page is still whole in the
    // read buffer, and in place it is what the path holds.
    const bool held = existing == Entry::File && (inPlace && call.ansiToUtf8
                                                      ? HeldBytesProduced(call.input->View(), produce)
                                                      : HoldsProduced(outputPath, atOutput, produce));
    if (held) {
      m_replaced += static_cast<int64_t>(replaced);
      result = u"1";
      if (sourceLeaves) MoveToBackup(path, InTree(path, root, kBackupFolder));
      return;
    }
    // The result is as private as its source. What stands at the output path
    // was looked at just now (or is known to be free), and so was the source
    // where it was read: the write need not ask again, and replaces only
    // what was seen here and kept.
    KnownFileStatus known;
    known.targetSeen = true;
    known.targetMissing = existing == Entry::None;
    known.target = atOutput;
    struct stat sourceStatus{};
    if (call.sourceStatusKnown) known.model = &call.sourceStatus;
    else if (::stat(path.ToSystemPath().c_str(), &sourceStatus) == 0) known.model = &sourceStatus;
    FileReplacement output;
    if (!output.Write(outputPath, produce, known)) return;
    if (output.MadeFolder()) {
      m_madeFolder = outputFolder;
      m_placedInMadeFolder.clear();
    }

    // Then the file it replaces is kept (a second name, on the disk before
    // the replacement), and only then is the new file put in its place: at
    // every moment the path holds the old file or the whole new one.
    CWString kept;
    bool keptNow = false;
    if (existing == Entry::File && (kept = KeepCopyOf(outputPath, backupOfOutput, true, &keptNow)).IsEmpty()) return;
    // The folder's flush waits for the next result in another folder, unless
    // the source is to leave: it goes only once its conversion is on the
    // disk.
    if (!output.Commit(sourceLeaves ? nullptr : &m_folderFlushes)) {
      // The old file is still in its place: a backup made for this write
      // goes again, one kept by an earlier run stays.
      if (keptNow) ::unlink(kept.ToSystemPath().c_str());
      if (output.NameTaken() && !looked && lookAtOutput()) continue;
      return;
    }
    if (outputFolder == m_madeFolder) {
      // A folder of very many results is looked at as any other, so that
      // the names kept stay few.
      constexpr size_t kMostNamesKept = size_t{1} << 16;
      if (m_placedInMadeFolder.size() < kMostNamesKept) {
        m_placedInMadeFolder.insert(name.Str());
      } else {
        m_madeFolder = CWString();
        m_placedInMadeFolder.clear();
      }
    }
    m_replaced += static_cast<int64_t>(replaced);
    result = u"1";
    if (sourceLeaves) MoveToBackup(path, InTree(path, root, kBackupFolder));
    return;
  }
}

}  // namespace rg_Ombrine_app
