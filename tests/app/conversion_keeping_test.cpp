// The conversion core never loses a file: every file it replaces is kept in
// the backup tree first, a failure leaves every file where it was, links stay
// links, permission bits survive, and names that are not UTF-8 work.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "app/conversion_core.h"
#include "common/arrays.h"
#include "conversion_fakes.h"
#include "test_support.h"
#include "textlib/folder_listing.h"

using namespace rg_Ombrine_app;
using qzu_test::Batch;
using qzu_test::Hex;
namespace fs = std::filesystem;

namespace {

const char* kGbk = "D6D0 CEC4";  // "中文"
const char* kUtf8 = "E4B8AD E69687";

std::string Bytes(const char* hex) {
  const std::vector<uint8_t> b = Hex(hex);
  return std::string(b.begin(), b.end());
}

// Every regular file under `root`, hidden ones included, by relative path.
std::map<std::string, std::string> Tree(const fs::path& root) {
  std::map<std::string, std::string> files;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it)
    if (it->is_regular_file() && !it->is_symlink()) files[fs::relative(it->path(), root).string()] = qzu_test::ReadFileText(it->path());
  return files;
}

struct stat StatOf(const fs::path& p) {
  struct stat st{};
  EXPECT_EQ(::stat(p.c_str(), &st), 0) << p;
  return st;
}

mode_t ModeOf(const fs::path& p) { return StatOf(p).st_mode & 07777; }

TEST(KeepingFiles, ConvertingInPlaceAgainKeepsEveryEarlierVersion) {
  Batch b;
  b.options.stripBom = true;
  qzu_test::WriteFileText(b.At("x.txt"), Bytes(kGbk));
  b.options.outputCharsetIndex = 2;  // GBK to UTF-8
  ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
  b.options.outputCharsetIndex = 4;  // UTF-8 to UTF-16BE
  ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));

  const std::map<std::string, std::string> expected = {
      {"x.txt", Bytes("4E2D 6587")},
      {"原文件备份/x.txt", Bytes(kGbk)},          // the real original stays
      {"原文件备份/x (2).txt", Bytes(kUtf8)},     // the first conversion beside it
  };
  EXPECT_EQ(Tree(b.dir.path()), expected);
}

// A conversion that would replace a file other than its own input keeps that
// file in the backup tree first, under its own relative path.
TEST(KeepingFiles, AFileInTheWayIsKeptBeforeItIsReplaced) {
  struct Case {
    const char* name;
    std::function<void(ConversionOptions&)> choose;
    const char* source;
    const char* inTheWay;
    const char* keptAt;
  };
  const Case cases[] = {
      {"html to text beside an existing text",
       [](ConversionOptions& o) { o.function = ConversionFunction::HtmlToText; }, "page.html", "page.txt",
       "原文件备份/page.txt"},
      {"a converted name that exists already",
       [](ConversionOptions& o) {
         o.function = ConversionFunction::Traditional;
         o.convertFileNames = true;
       },
       "简.txt", "簡.txt", "原文件备份/簡.txt"},
      {"an earlier result in the result tree", [](ConversionOptions& o) { o.saveToNewLocation = true; }, "a/x.txt",
       "转换结果/a/x.txt", "原文件备份/转换结果/a/x.txt"},
      {"the html source is also deleted",
       [](ConversionOptions& o) {
         o.function = ConversionFunction::HtmlToText;
         o.deleteOriginal = true;
       },
       "page.html", "page.txt", "原文件备份/page.txt"},
  };
  for (const Case& c : cases) {
    Batch b;
    c.choose(b.options);
    b.options.outputCharsetIndex = 2;
    qzu_test::WriteFileText(b.At(c.source), "<p>new 简");
    qzu_test::WriteFileText(b.At(c.inTheWay), "older file");
    ASSERT_EQ(b.Convert(b.At(c.source)), CWString(u"1")) << c.name;
    EXPECT_EQ(qzu_test::ReadFileText(b.At(c.keptAt)), "older file") << c.name;
    EXPECT_NE(qzu_test::ReadFileText(b.At(c.inTheWay)), "older file") << c.name;
    if (b.options.deleteOriginal)
      EXPECT_EQ(qzu_test::ReadFileText(b.At((std::string("原文件备份/") + c.source).c_str())), "<p>new 简") << c.name;
    else
      EXPECT_EQ(qzu_test::ReadFileText(b.At(c.source)), "<p>new 简") << c.name;
  }
}

// The word processor writes into the document it opens: an existing one is
// kept as a copy first (a second name would change with it), and a deleted
// original leaves only once the document was saved.
TEST(KeepingFiles, ADocumentInTheWayIsCopiedBeforeTheWordProcessorWritesIt) {
  Batch b;
  b.options.function = ConversionFunction::WordToText;
  b.options.direction = ConversionDirection::Decode;
  b.options.deleteOriginal = true;
  qzu_test::WriteFileText(b.At("notes.txt"), "new text");
  qzu_test::WriteFileText(b.At("notes.docx"), "old document");
  EXPECT_EQ(b.Convert(b.At("notes.txt")), CWString(WordDocuments::kSaved));
  EXPECT_EQ(qzu_test::ReadFileText(b.At("原文件备份/notes.docx")), "old document");
  EXPECT_NE(StatOf(b.At("原文件备份/notes.docx")).st_ino, StatOf(b.At("notes.docx")).st_ino);
  EXPECT_EQ(qzu_test::ReadFileText(b.At("原文件备份/notes.txt")), "new text");
  EXPECT_FALSE(fs::exists(b.At("notes.txt")));

  b.wordProcessor.startable = false;  // nothing saved: the source stays
  qzu_test::WriteFileText(b.At("more.txt"), "more");
  EXPECT_NE(b.Convert(b.At("more.txt")), CWString(WordDocuments::kSaved));
  EXPECT_EQ(qzu_test::ReadFileText(b.At("more.txt")), "more");
}

// Runs `convert` while no file may grow past 1000 bytes, as on a full disk.
CWString WithFileSizeLimit(const std::function<CWString()>& convert) {
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 1000;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const CWString result = convert();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, SIG_DFL);
  return result;
}

TEST(KeepingFiles, AFailedWriteLeavesEveryFileWhereItWas) {
  struct Case {
    const char* name;
    std::function<void(ConversionOptions&)> choose;
  };
  const Case cases[] = {
      {"in place, over an earlier backup", [](ConversionOptions&) {}},
      {"to the result tree, deleting the original",
       [](ConversionOptions& o) {
         o.saveToNewLocation = true;
         o.deleteOriginal = true;
       }},
      {"html to text beside itself, deleting the original",
       [](ConversionOptions& o) {
         o.function = ConversionFunction::HtmlToText;
         o.deleteOriginal = true;
       }},
  };
  for (const Case& c : cases) {
    Batch b;
    c.choose(b.options);
    b.options.outputCharsetIndex = 3;  // UTF-16: twice the bytes
    qzu_test::WriteFileText(b.At("x.html"), std::string(800, 'a'));
    qzu_test::WriteFileText(b.At("原文件备份/x.html"), "earlier backup");
    const auto before = Tree(b.dir.path());
    EXPECT_EQ(WithFileSizeLimit([&] { return b.Convert(b.At("x.html")); }), CWString(u"0")) << c.name;
    EXPECT_EQ(Tree(b.dir.path()), before) << c.name;  // no backup, no temporary, nothing moved
  }
}

// The same on a really full file system, where one may be mounted here.
TEST(KeepingFiles, AFullDiskLeavesEveryFileWhereItWas) {
  Batch b;
  const fs::path small = b.At("small");
  fs::create_directory(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no tmpfs can be mounted here (" << std::strerror(errno)
                 << "); AFailedWriteLeavesEveryFileWhereItWas covers the failed write";
  b.batchRoot = CWString::FromSystemPath(small.string());
  b.options.outputCharsetIndex = 3;
  qzu_test::WriteFileText(small / "x.txt", std::string(30000, 'a'));
  qzu_test::WriteFileText(small / "y.txt", std::string(10000, 'b'));
  const auto before = Tree(small);
  const CWString result = b.Convert(small / "x.txt");
  const auto after = Tree(small);
  // The mark and 30,000 units do not fit beside the 40,000 bytes there.
  ::umount2(small.c_str(), MNT_DETACH);
  EXPECT_EQ(result, CWString(u"0"));
  EXPECT_EQ(after, before);
}

TEST(KeepingFiles, EveryFailureInFileModeIsZero) {
  Batch b;
  qzu_test::WriteFileText(b.At("a.txt"), "abc");
  const CWString cases[] = {
      CWString::FromSystemPath(b.At("gone.txt").string()),        // vanished after the listing
      CWString::FromSystemPath(b.At("a.txt/x").string()),         // the system cannot open it
      CWString::FromSystemPath(b.At("a.txt").string()) + std::u16string_view(u"\0x", 2),  // no system path
  };
  for (const CWString& path : cases) {
    CWString text(u"text that must not be converted"), result;
    b.core.ConvertOne(result, path, 1, 1, text, false);
    EXPECT_EQ(result, CWString(u"0")) << path.ToUtf8();
  }
  EXPECT_EQ(b.converted, 3);  // each was handed to the core
  EXPECT_EQ(Tree(b.dir.path()), (std::map<std::string, std::string>{{"a.txt", "abc"}}));
}

TEST(KeepingFiles, ConvertedFilesKeepTheirPermissionBits) {
  for (const mode_t mode : {0600, 0755, 0640}) {
    Batch b;
    b.options.outputCharsetIndex = 2;
    qzu_test::WriteFileText(b.At("in.txt"), Bytes(kGbk));
    qzu_test::WriteFileText(b.At("out.txt"), Bytes(kGbk));
    ASSERT_EQ(::chmod(b.At("in.txt").c_str(), mode), 0);
    ASSERT_EQ(::chmod(b.At("out.txt").c_str(), mode), 0);
    ASSERT_EQ(b.Convert(b.At("in.txt")), CWString(u"1"));
    EXPECT_EQ(ModeOf(b.At("in.txt")), mode);
    EXPECT_EQ(ModeOf(b.At("原文件备份/in.txt")), mode);
    b.options.saveToNewLocation = true;  // a result is as private as its source
    ASSERT_EQ(b.Convert(b.At("out.txt")), CWString(u"1"));
    EXPECT_EQ(ModeOf(b.At("转换结果/out.txt")), mode);
  }
}

TEST(KeepingFiles, NamesThatAreNotUtf8AreListedConvertedKeptAndRenamed) {
  Batch b;
  const std::string gbkName = "\xD6\xD0\xCE\xC4";  // "中文" in GBK
  const fs::path file = b.dir.path() / (gbkName + ".txt");
  qzu_test::WriteFileText(file, Bytes(kGbk));
  rg_Ombrine_base::rg_WenBenShuZuLei listed;
  ASSERT_EQ(ListFolderEntries(b.batchRoot, u"*.txt", listed, 0), 1);
  EXPECT_EQ(listed[0].ToSystemPath(), file.string());

  b.options.outputCharsetIndex = 2;
  b.options.stripBom = true;
  CWString text, result;
  ASSERT_EQ(b.core.ConvertOne(result, listed[0], 1, 1, text, false), CWString(u"1"));
  EXPECT_EQ(qzu_test::ReadFileText(file), Bytes(kUtf8));
  EXPECT_EQ(qzu_test::ReadFileText(b.dir.path() / "原文件备份" / (gbkName + ".txt")), Bytes(kGbk));

  // A converted name keeps the bytes the conversion does not touch.
  qzu_test::WriteFileText(b.dir.path() / (gbkName + "abc.txt"), "x");
  b.options.function = ConversionFunction::UpperCase;
  b.options.convertFileNames = true;
  EXPECT_EQ(b.Convert(b.dir.path() / (gbkName + "abc.txt")), CWString(u"1"));
  EXPECT_EQ(qzu_test::ReadFileText(b.dir.path() / (gbkName + "ABC.txt")), "X");
  EXPECT_EQ(qzu_test::ReadFileText(b.dir.path() / (gbkName + "abc.txt")), "x");
}

TEST(KeepingFiles, ALinkStaysALink) {
  struct Case {
    const char* name;
    bool newLocation;
    bool deleteOriginal;
    const char* result;
  };
  const Case cases[] = {
      {"in place: refused", false, false, "0"},
      {"deleting the original: refused", true, true, "0"},
      {"to the result tree: read through the link", true, false, "1"},
  };
  for (const Case& c : cases) {
    Batch b;
    b.options.outputCharsetIndex = 2;
    b.options.stripBom = true;
    b.options.saveToNewLocation = c.newLocation;
    b.options.deleteOriginal = c.deleteOriginal;
    qzu_test::WriteFileText(b.At("target.txt"), Bytes(kGbk));
    fs::create_symlink("target.txt", b.At("link.txt"));
    EXPECT_EQ(b.Convert(b.At("link.txt")), CWString::FromUtf8(c.result)) << c.name;
    EXPECT_TRUE(fs::is_symlink(b.At("link.txt"))) << c.name;
    EXPECT_EQ(fs::read_symlink(b.At("link.txt")), fs::path("target.txt")) << c.name;
    std::map<std::string, std::string> expected = {{"target.txt", Bytes(kGbk)}};
    if (std::string(c.result) == "1") expected["转换结果/link.txt"] = Bytes(kUtf8);
    EXPECT_EQ(Tree(b.dir.path()), expected) << c.name;
  }
}

// A result folder the core made holds only what the core put there, so a
// new result goes in without a look first. What comes there meanwhile from
// elsewhere is still met as any file in the way: kept before it is
// replaced, left alone when it holds the result already, never replaced
// when it is a link or a folder.
TEST(KeepingFiles, WhatComesIntoAResultFolderTheCoreMadeIsMetAsAnyFileInTheWay) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> comeMeanwhile;
    const char* result;
    std::map<std::string, std::string> expected;  // the regular files of the tree
  };
  const std::map<std::string, std::string> sources = {{"d/a.txt", Bytes(kGbk)}, {"d/b.txt", Bytes(kGbk)}};
  const auto with = [&](std::map<std::string, std::string> more) {
    more.insert(sources.begin(), sources.end());
    more["转换结果/d/a.txt"] = Bytes(kUtf8);
    return more;
  };
  const Case cases[] = {
      {"another file", [](const fs::path& p) { qzu_test::WriteFileText(p, "older file"); }, "1",
       with({{"转换结果/d/b.txt", Bytes(kUtf8)}, {"原文件备份/转换结果/d/b.txt", "older file"}})},
      {"the result itself", [](const fs::path& p) { qzu_test::WriteFileText(p, Bytes(kUtf8)); }, "1",
       with({{"转换结果/d/b.txt", Bytes(kUtf8)}})},
      {"a link", [](const fs::path& p) { fs::create_symlink("a.txt", p); }, "0", with({})},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "0", with({})},
  };
  for (const Case& c : cases) {
    Batch b;
    b.options.outputCharsetIndex = 2;
    b.options.stripBom = true;
    b.options.saveToNewLocation = true;
    for (const auto& [name, bytes] : sources) qzu_test::WriteFileText(b.At(name.c_str()), bytes);
    ASSERT_EQ(b.Convert(b.At("d/a.txt")), CWString(u"1")) << c.name;  // the core makes 转换结果/d
    const fs::path comer = b.At("转换结果/d/b.txt");
    c.comeMeanwhile(comer);
    const fs::file_type kind = fs::symlink_status(comer).type();
    const ino_t inode = StatOf(comer).st_ino;
    EXPECT_EQ(b.Convert(b.At("d/b.txt")), CWString::FromUtf8(c.result)) << c.name;
    EXPECT_EQ(Tree(b.dir.path()), c.expected) << c.name;
    EXPECT_EQ(fs::symlink_status(comer).type(), kind) << c.name;
    if (std::string(c.name) == "the result itself") {
      EXPECT_EQ(StatOf(comer).st_ino, inode) << "written again";
    }
  }
}

// A batch killed between keeping a file and putting its result in place
// left the file kept already (a second name of it, or a whole copy); the
// batch made again converts the file and keeps it no second time.
TEST(KeepingFiles, ARunCutShortAndMadeAgainKeepsTheOriginalOnce) {
  for (const bool linked : {true, false}) {
    SCOPED_TRACE(linked ? "kept as a second name" : "kept as a copy");
    Batch b;
    b.options.stripBom = true;
    b.options.outputCharsetIndex = 2;
    qzu_test::WriteFileText(b.At("x.txt"), Bytes(kGbk));
    fs::create_directories(b.At("原文件备份"));
    if (linked) fs::create_hard_link(b.At("x.txt"), b.At("原文件备份/x.txt"));
    else qzu_test::WriteFileText(b.At("原文件备份/x.txt"), Bytes(kGbk));
    ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
    const std::map<std::string, std::string> expected = {{"x.txt", Bytes(kUtf8)}, {"原文件备份/x.txt", Bytes(kGbk)}};
    EXPECT_EQ(Tree(b.dir.path()), expected);
  }
}

// What the result's path holds is compared whole: only the very result is
// left alone, and a source to delete leaves for the backup tree all the same.
TEST(KeepingFiles, OnlyTheVeryResultAlreadyInPlaceIsLeftAlone) {
  struct Case {
    const char* name;
    std::string held;  // by 转换结果/x.txt before the conversion
    bool deleteOriginal;
    std::map<std::string, std::string> expected;
  };
  const Case cases[] = {
      {"the result and more", Bytes(kUtf8) + "more", false,
       {{"x.txt", Bytes(kGbk)}, {"转换结果/x.txt", Bytes(kUtf8)}, {"原文件备份/转换结果/x.txt", Bytes(kUtf8) + "more"}}},
      {"the result, its source to delete", Bytes(kUtf8), true,
       {{"转换结果/x.txt", Bytes(kUtf8)}, {"原文件备份/x.txt", Bytes(kGbk)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Batch b;
    b.options.stripBom = true;
    b.options.outputCharsetIndex = 2;
    b.options.saveToNewLocation = true;
    b.options.deleteOriginal = c.deleteOriginal;
    qzu_test::WriteFileText(b.At("x.txt"), Bytes(kGbk));
    fs::create_directories(b.At("转换结果"));
    qzu_test::WriteFileText(b.At("转换结果/x.txt"), c.held);
    ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
    EXPECT_EQ(Tree(b.dir.path()), c.expected);
    EXPECT_FALSE(b.core.SourceStayed());
  }
}

// A source to delete that cannot leave stays where it was, its result
// written, and the core says so; one converted in place is its own result.
TEST(KeepingFiles, ASourceThatCouldNotLeaveIsTold) {
  Batch b;
  b.options.stripBom = true;
  b.options.outputCharsetIndex = 2;
  b.options.deleteOriginal = true;
  b.options.saveToNewLocation = true;
  qzu_test::WriteFileText(b.At("原文件备份"), "a file where the backup folder belongs");
  qzu_test::WriteFileText(b.At("x.txt"), Bytes(kGbk));
  ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
  EXPECT_EQ(qzu_test::ReadFileText(b.At("转换结果/x.txt")), Bytes(kUtf8));
  EXPECT_EQ(qzu_test::ReadFileText(b.At("x.txt")), Bytes(kGbk));
  EXPECT_TRUE(b.core.SourceStayed());

  fs::remove(b.At("原文件备份"));
  ASSERT_EQ(b.Convert(b.At("x.txt")), CWString(u"1"));
  EXPECT_FALSE(fs::exists(b.At("x.txt")));
  EXPECT_FALSE(b.core.SourceStayed());

  // In place, the path holds the result (new, or already there).
  b.options.saveToNewLocation = false;
  for (int run = 1; run <= 2; ++run) {
    qzu_test::WriteFileText(b.At("y.txt"), run == 1 ? Bytes(kGbk) : Bytes(kUtf8));
    ASSERT_EQ(b.Convert(b.At("y.txt")), CWString(u"1")) << run;
    EXPECT_EQ(qzu_test::ReadFileText(b.At("y.txt")), Bytes(kUtf8)) << run;
    EXPECT_FALSE(b.core.SourceStayed()) << run;
  }
}

// A word processor that cannot be started again gives a message, never a
// document's text: the file fails, nothing is written, and the batch stops.
TEST(KeepingFiles, AWordProcessorThatCannotStartWritesNoMessageAsText) {
  Batch b;
  b.options.function = ConversionFunction::WordToText;
  b.options.saveToNewLocation = true;
  b.options.deleteOriginal = true;
  qzu_test::WriteFileText(b.At("a.docx"), "a document");
  b.wordProcessor.startable = false;
  BatchStopRequested = false;
  EXPECT_EQ(b.Convert(b.At("a.docx")), CWString(u"0"));
  EXPECT_TRUE(b.word.EngineLost());
  EXPECT_TRUE(BatchStopRequested);
  BatchStopRequested = false;
  const std::map<std::string, std::string> expected = {{"a.docx", "a document"}};
  EXPECT_EQ(Tree(b.dir.path()), expected);
}

// Without its backup a source is never replaced.
TEST(KeepingFiles, NoBackupMeansNoReplacement) {
  Batch b;
  b.options.outputCharsetIndex = 2;
  qzu_test::WriteFileText(b.At("原文件备份"), "a file where the backup folder belongs");
  qzu_test::WriteFileText(b.At("x.txt"), Bytes(kGbk));
  const auto before = Tree(b.dir.path());
  EXPECT_EQ(b.Convert(b.At("x.txt")), CWString(u"0"));
  EXPECT_EQ(Tree(b.dir.path()), before);
}

}  // namespace
