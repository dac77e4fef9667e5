#pragma once
// The one operation behind every conversion of the tool: ConvertOne takes one
// text, one list of files or one file, reads it with the chosen input charset,
// applies the chosen function in the chosen direction and returns the text
// or writes the result file. It touches no control, so it runs headless.
#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

#include "app/conversion_host.h"
#include "app/conversion_options.h"
#include "app/word_documents.h"
#include "common/mem.h"
#include "common/wstring.h"
#include "textlib/file_write.h"
#include "textlib/pinyin_converter.h"

namespace rg_Ombrine_app {

class ConversionCore {
 public:
  ConversionCore(const ConversionOptions& options, CWString& batchRoot, int32_t& convertedCount,
                 rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei& pinyin, WordDocuments& word,
                 IConversionHost& host)
      : m_options(options),
        m_batchRoot(batchRoot),
        m_convertedCount(convertedCount),
        m_pinyin(pinyin),
        m_word(word),
        m_host(host) {}

  // A `path` given: file mode, `result` becomes "1" when the result file was
  // written completely and put in place, else "0" (a path that names no
  // file, an unreadable file, a conversion that ran out of memory, a failed
  // write; with no function chosen the file's text is not copied into
  // `text`). An empty `path`: text mode, `text` is converted (a first line
  // naming a file makes it a list of lines, each converted on its own;
  // `nested` calls skip that test) and `result` is the converted text, empty
  // when memory ran out. `count` and `index` are shown in the title hint.
  // Never throws.
  CWString& ConvertOne(CWString& result, const CWString& path, int32_t count, int32_t index, CWString& text,
                       bool nested);

  // What the last ConvertOne met, the conversions it made for the lines of a
  // list and for file names included; each call from outside starts afresh.
  // Characters the charset they went into lacked, written as "?": the output
  // charset of a file, the system code page of a byte function's "ANSI" form
  // or of the URL encoding. The text is written all the same.
  int64_t ReplacedCharacters() const { return m_replaced; }
  // A file that holds no text (a zero byte outside UTF-16, or too many
  // control characters) is left as it is, nothing written and nothing kept,
  // and ConvertOne answers "0". Word documents and files read as raw bytes
  // are not looked at.
  bool SkippedNonText() const { return m_skippedNonText; }
  // A file converted with "删除原文件" that is still where it was: it could
  // not be moved into the backup tree (a file that may not be removed, a
  // backup folder that cannot be made). Its result is written all the same.
  bool SourceStayed() const { return m_sourceStayed; }

  // Result files put in place one after another in one folder have that
  // folder flushed to the disk once, when a result goes to another folder,
  // at this call, or when the core goes; each is whole on the disk before
  // its name, and a file it replaces is kept before. A batch calls this at
  // its end, so that its last results survive a power cut as soon as it is
  // done.
  void FlushWrittenFolders() { m_folderFlushes.Flush(); }

 private:
  // Working state of one call.
  struct Call {
    CWString inputCharset;
    CWString outputCharset;
    CQzuMem bytes;
    // Where a file's bytes are read: the buffer every file of a batch
    // reuses, or `ownInput` in a conversion nested inside another.
    CQzuMem* input = nullptr;
    CQzuMem ownInput;
    // The file read, as the read saw it.
    struct stat sourceStatus{};
    bool sourceStatusKnown = false;
    bool missing = false;  // file mode: the path names nothing
    CWString wordSourcePath;
    bool byteFunction = false;
    bool rawInput = false;
    bool bytesResult = false;
    bool readFailed = false;  // the input file could not be read: nothing is written
    bool nonText = false;     // the input file holds no text: nothing is written
    bool fileMode = false;
    // File mode without a function: the input as UTF-16LE bytes, passed to
    // the output stage instead of the working text...
    const CQzuMem* utf16 = nullptr;
    // ...or, from the system code page to UTF-8, the file's bytes as read
    // after their mark, decoded only as they are written.
    std::string_view ansi;
    bool ansiToUtf8 = false;
  };

  CWString& Convert(CWString& result, const CWString& path, int32_t count, int32_t index, CWString& text,
                    bool nested);
  bool ConvertList(CWString& result, CWString& text);
  void ReadInput(const CWString& source, CWString& text, Call& call);
  void Encode(CWString& text, Call& call);
  void Decode(CWString& text, Call& call);
  void HtmlSteps(CWString& text, const CWString& elementList) const;
  // Bytes decoded by a byte function become text; with the raw format they
  // stay bytes and the output stage writes them as they are.
  void BytesResultToText(CWString& text, Call& call);
  // Counts the characters of `text` the system code page lacks, as an
  // "ANSI" byte form or the URL encoding will write them.
  void CountAnsiReplacements(const CWString& text);

  // The output stage.
  void WriteRawDecodeOutput(CWString& text, Call& call);
  void WriteFileOutput(CWString& result, const CWString& path, CWString& text, Call& call);
  CWString OutputFileName(const CWString& path);
  // Whether the converted `path`, which was to leave, is still in its place
  // and is not its own result.
  bool SourceStillInPlace(const CWString& path);

  const ConversionOptions& m_options;
  CWString& m_batchRoot;
  int32_t& m_convertedCount;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei& m_pinyin;
  WordDocuments& m_word;
  IConversionHost& m_host;
  // The read buffer lent to one call at a time; a large file's memory is
  // not kept after its call.
  CQzuMem m_readBuffer;
  bool m_readBufferLent = false;
  FolderFlushes m_folderFlushes;
  // The folder (with its separator) the core's newest write made, and the
  // names the core has put there since: any other name in it is free, so a
  // result written there need not look first. Should a file have come there
  // all the same, the new file does not take its name and the output stage
  // looks after all.
  CWString m_madeFolder;
  std::unordered_set<std::u16string> m_placedInMadeFolder;
  // Calls of ConvertOne under way: the outermost one resets what it met.
  int m_depth = 0;
  int64_t m_replaced = 0;
  bool m_skippedNonText = false;
  bool m_sourceStayed = false;
};

// Whether a path names an existing file or folder.
bool PathNamesEntry(const CWString& path);

}  // namespace rg_Ombrine_app
