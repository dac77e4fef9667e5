// The output stage of ConvertOne: result file names, the result and backup
// trees under the batch root, the output charset and mark, and the raw decode
// output of a single decode.
#include <filesystem>
#include <system_error>

#include "app/conversion_core.h"
#include "app/text_bytes.h"
#include "platform/hooks.h"
#include "textlib/charset_convert.h"
#include "textlib/charset_detect.h"
#include "textlib/digest_text.h"
#include "textlib/file_name_clean.h"
#include "textlib/file_write.h"
#include "textlib/path_helpers.h"

namespace rg_Ombrine_app {

namespace {

const char16_t kResultFolder[] = u"转换结果";
const char16_t kBackupFolder[] = u"原文件备份";
const char16_t kDecodeFolder[] = u"解码结果";

namespace fs = std::filesystem;

// The root whose result and backup trees receive `path`: the batch root when
// it is a leading folder of the path, else the path's own folder, so a file
// from elsewhere gets its trees beside itself.
CWString RootFor(const CWString& path, const CWString& batchRoot) {
  const CWString root = StripTrailingBackslash(batchRoot);
  if (!root.IsEmpty() && path.StartsWith(AppendTrailingBackslash(root).View())) return root;
  return PathFolder(path);
}

// `path` moved under root + "/" + tree, keeping its path relative to root.
CWString InTree(const CWString& path, const CWString& root, const char16_t* tree) {
  return root + kPathSeparatorText + tree + path.Mid(root.Length());
}

bool MakeFolders(const CWString& folder) {
  std::error_code ec;
  const std::string f = folder.ToUtf8();
  if (fs::is_directory(f, ec)) return true;
  fs::create_directories(f, ec);
  return fs::is_directory(f, ec);
}

// Moves the source into the backup tree: a rename, else a copy and then a
// delete. True when the backup file exists afterwards.
bool MoveToBackup(const CWString& path, const CWString& backupPath) {
  if (!MakeFolders(PathFolder(backupPath))) return false;
  std::error_code ec;
  const std::string from = path.ToUtf8();
  const std::string to = backupPath.ToUtf8();
  fs::rename(from, to, ec);
  if (!ec) return true;
  if (!fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec) || ec) return false;
  fs::remove(from, ec);
  return true;
}

}  // namespace

void ConversionCore::WriteRawDecodeOutput(CWString& text, Call& call) {
  const CWString name =
      PathNamesEntry(text) ? PathFileName(text) : Crc32Text(call.bytes) + u".未知扩展名";
  const CWString output = AppendTrailingBackslash(GetProgramFolder()) + kDecodeFolder + kPathSeparatorText + name;
  WriteFileBytes(output, call.bytes);
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
    CleanFileName(converted, static_cast<int>(suffix.ToUtf8().size()));
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
  const bool replacesSource = !o.saveToNewLocation && name == PathFileName(path);
  if (o.deleteOriginal || replacesSource) {
    const bool backedUp = MoveToBackup(path, InTree(path, root, kBackupFolder));
    // Without its backup the source is never overwritten.
    if (!backedUp && replacesSource) return;
  }
  const CWString placed = o.saveToNewLocation ? InTree(path, root, kResultFolder) : path;
  const CWString outputPath = PathFolder(placed) + kPathSeparatorText + name;

  if (wordDecode) {
    if (!MakeFolders(PathFolder(outputPath))) return;
    result = m_word.TextToWordFile(text, outputPath, o);
    return;
  }
  // The output charset's bytes are made piece by piece as they are written
  // (WriteFileFrom makes the missing folders itself), so that a large file
  // is never held twice more.
  const CQzuMem mark = call.bytesResult ? CQzuMem() : MakeBom(call.outputCharset, !o.stripBom);
  const bool wholeUnits = call.utf16.IsEmpty() || call.utf16.GetSize() % 2 == 0;
  const std::u16string_view units =
      call.utf16.IsEmpty() ? text.View()
                           : std::u16string_view(reinterpret_cast<const char16_t*>(call.utf16.GetData()),
                                                 call.utf16.GetSize() / 2);
  const int written = WriteFileFrom(outputPath, [&](const FileByteSink& sink) {
    if (call.bytesResult) return sink(call.bytes.GetData(), call.bytes.GetSize());
    if (!sink(mark.GetData(), mark.GetSize())) return false;
    if (call.ansiToUtf8)
      return AnsiToUtf8InPieces(std::string_view(reinterpret_cast<const char*>(call.ansi.GetData()), call.ansi.GetSize()), sink);
    if (wholeUnits) return EncodeUtf16InPieces(units, call.outputCharset, sink);
    // Half a unit at the end: the charset converter decides what it becomes.
    CQzuMem converted = call.utf16;
    return ConvertCharset(converted, CWString(u"UTF-16"), call.outputCharset, 0) &&
           sink(converted.GetData(), converted.GetSize());
  });
  result = written == 1 ? u"1" : u"0";
}

}  // namespace rg_Ombrine_app
