// One batch as a user waits for it: a tree of 10,000 GBK text files of 1 to
// 20 KB (and 1,000 pictures the file filter leaves out) walked with the
// batch's filter and its result and backup folders excluded, each text
// converted to UTF-8 through ConvertOne into "转换结果", and the last result
// folder flushed at the end, as a batch does. Beside it, in the
// same run on the same files, a plain C program's batch: a readdir walk, and
// per file open, read, iconv GBK to UTF-8, write a temporary file, fsync,
// rename. Counters: files per second of both, and ours_time_ratio, our time
// over the baseline's (below 1 means we are faster); c_nofsync_files_per_s is
// the baseline without its fsync, which shows what the flush costs.
//
// It runs on tmpfs (/dev/shm) and on a disk folder (/var/tmp); QZU_BENCH_DIR
// names the one folder to use instead. The trees are made once per folder,
// untimed, and each side's results are removed, untimed and synced, before
// it runs.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "app/conversion_core.h"
#include "services/folder_walker.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 10000;
constexpr int kFilesPerFolder = 100;
const char16_t kExclusions[] = u"转换结果|原文件备份";

class QuietHost : public IConversionHost {
 public:
  void SetTitleHint(const CWString&, const CWString&) override {}
  void ShowInformation(const CWString&) override {}
};

// Pieces of Chinese prose, ASCII and line breaks, each already in GBK.
const std::vector<std::string>& GbkPieces() {
  static const std::vector<std::string> pieces = [] {
    const std::u16string texts[] = {
        u"字符编码转换工具，",
        u"批量处理文件夹中的文本。",
        u"Chinese text 123, ",
        u"简体中文与繁體中文。\r\n",
        u"乱码修复和旧文件迁移；",
        u"每一个字节都不能丢失！",
        u"（第二章）春眠不觉晓，处处闻啼鸟。\r\n",
        u"version 2.0: ",
        u"“引号”与《书名》、顿号。",
    };
    std::vector<std::string> out;
    for (const std::u16string& t : texts) {
      CQzuMem m(t.data(), t.size() * 2);
      Utf16ToAnsi(m);
      out.emplace_back(reinterpret_cast<const char*>(m.GetData()), m.GetSize());
    }
    return out;
  }();
  return pieces;
}

std::string GbkText(size_t bytes, std::mt19937& rng) {
  const std::vector<std::string>& pieces = GbkPieces();
  std::string text;
  while (text.size() < bytes) text += pieces[rng() % pieces.size()];
  return text;
}

void WriteBytes(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The input tree in `base`, made once per process and removed at exit.
struct Tree {
  fs::path root;         // the batch root: inputs, and "转换结果" after our run
  fs::path baselineOut;  // the baseline's results, outside the batch root
  std::vector<std::string> relative;
  size_t bytes = 0;

  explicit Tree(const fs::path& base) : root(base / "qzu_bench_batch"), baselineOut(base / "qzu_bench_batch_c") {
    fs::remove_all(root);
    fs::remove_all(baselineOut);
    std::mt19937 rng(20240607);
    for (int i = 0; i < kFiles; ++i) {
      const std::string folder = "d" + std::to_string(i / kFilesPerFolder);
      if (i % kFilesPerFolder == 0) fs::create_directories(root / folder);
      const std::string name = folder + "/f" + std::to_string(i) + ".txt";
      const std::string text = GbkText(1024 + rng() % (19 * 1024), rng);
      WriteBytes(root / name, text);
      relative.push_back(name);
      bytes += text.size();
      if (i % 10 == 0) WriteBytes(root / (folder + "/图片" + std::to_string(i) + ".jpg"), std::string(4096, '\xFF'));
    }
  }
  ~Tree() {
    fs::remove_all(root);
    fs::remove_all(baselineOut);
  }
  // Each side's results are removed, and the disk brought up to date, before
  // that side runs.
  static void Remove(const fs::path& folder) {
    fs::remove_all(folder);
    ::sync();
  }
  fs::path OurResults() const { return root / "转换结果"; }
};

// ---- ours: the walker and the conversion core, as the batch drives them ----

struct OurBatch {
  ConversionOptions options;
  CWString root;
  int32_t converted = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei pinyin;
  QuietHost host;
  WordDocuments word{nullptr, host};
  ConversionCore core{options, root, converted, pinyin, word, host};
  int failed = 0;
  std::string firstFailed;

  explicit OurBatch(const fs::path& batchRoot) {
    root = CWString::FromSystemPath(batchRoot.string());
    options.inputCharsetIndex = 0;   // detect
    options.outputCharsetIndex = 2;  // UTF-8
    options.saveToNewLocation = true;
    options.walkSubfolders = true;
  }

  static intptr_t OnFolder(CQzuObject*, CQzuObject*, intptr_t self, const rg_Ombrine_base::rg_WenBenShuZuLei& files,
                           const CWString&) {
    auto* batch = reinterpret_cast<OurBatch*>(self);
    const int32_t count = static_cast<int32_t>(files.GetCount());
    int32_t index = 0;
    for (const CWString& file : files) {
      CWString text, result;
      batch->core.ConvertOne(result, file, count, ++index, text, false);
      if (result != u"1" && batch->failed++ == 0) batch->firstFailed = file.ToUtf8();
    }
    return 0;
  }

  // The number of files converted.
  int Run() {
    CQzuObject receiverObject;
    CQzuReceiverRef receiver = CQzuReceiverRef::Make(&receiverObject);
    rg_Tavelkin_MingLingJi::rg_TavelkinBianLiZiMuLuLei walker;
    walker.folderEvent.Connect(&OnFolder, receiver, reinterpret_cast<intptr_t>(this));
    converted = 0;
    failed = 0;
    walker.WalkSubFolders(root, options.fileFilter, 1, CWString(kExclusions));
    core.FlushWrittenFolders();  // the batch's end: its last results on the disk
    receiver->Detach();
    return converted - failed;
  }
};

// ---- the plain C baseline ----

struct PlainBatch {
  iconv_t cd = iconv_open("UTF-8", "GBK");
  std::vector<char> in = std::vector<char>(1 << 16);
  std::vector<char> out = std::vector<char>(1 << 17);
  bool flush = true;
  int done = 0;

  ~PlainBatch() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }

  bool ConvertFile(const std::string& from, const std::string& folder, const char* name) {
    const int fd = ::open(from.c_str(), O_RDONLY);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0) return ::close(fd), false;
    if (in.size() < static_cast<size_t>(st.st_size)) in.resize(static_cast<size_t>(st.st_size));
    size_t size = 0;
    for (ssize_t n; (n = ::read(fd, in.data() + size, in.size() - size)) > 0;) size += static_cast<size_t>(n);
    ::close(fd);
    if (out.size() < size * 2 + 3) out.resize(size * 2 + 3);
    std::memcpy(out.data(), "\xEF\xBB\xBF", 3);  // the same mark as ours
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* src = in.data();
    char* dst = out.data() + 3;
    size_t srcLeft = size, dstLeft = out.size() - 3;
    if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1)) return false;
    const size_t outSize = out.size() - dstLeft;
    const std::string temp = folder + "/.tmp-" + name;
    const int wfd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (wfd < 0) return false;
    bool ok = ::write(wfd, out.data(), outSize) == static_cast<ssize_t>(outSize);
    if (flush) ok = ok && ::fsync(wfd) == 0;
    ok = ::close(wfd) == 0 && ok;
    return ok && ::rename(temp.c_str(), (folder + "/" + name).c_str()) == 0;
  }

  void Walk(const std::string& folder, const std::string& outFolder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    ::mkdir(outFolder.c_str(), 0755);
    while (const dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      const std::string path = folder + "/" + e->d_name;
      if (e->d_type == DT_DIR) {
        if (std::strstr(e->d_name, "转换结果") || std::strstr(e->d_name, "原文件备份")) continue;
        Walk(path, outFolder + "/" + e->d_name);
      } else if (e->d_type == DT_REG &&
                 (fnmatch("*.txt", e->d_name, FNM_CASEFOLD) == 0 || fnmatch("*.htm", e->d_name, FNM_CASEFOLD) == 0 ||
                  fnmatch("*.html", e->d_name, FNM_CASEFOLD) == 0)) {
        if (ConvertFile(path, outFolder, e->d_name)) ++done;
      }
    }
    ::closedir(dir);
  }

  int Run(const fs::path& root, const fs::path& outRoot) {
    done = 0;
    Walk(root.string(), outRoot.string());
    return done;
  }
};

std::string ReadAll(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_BatchGbkToUtf8(benchmark::State& state, const fs::path& base) {
  static std::unique_ptr<Tree> tree;
  if (!tree || tree->root.parent_path() != base) {
    tree.reset();
    tree = std::make_unique<Tree>(base);
  }
  double ours = 0, plain = 0, plainNoFlush = 0;
  int64_t runs = 0;
  for (auto _ : state) {
    // The order alternates, so that neither side always runs on the other's
    // warm caches or dirty disk.
    const bool oursFirst = runs % 2 == 0;
    double oursRun = 0;
    for (int side = 0; side < 3; ++side) {
      const int which = oursFirst ? side : 2 - side;
      if (which == 0) {
        Tree::Remove(tree->OurResults());
        OurBatch batch(tree->root);
        int n = 0;
        oursRun = Seconds([&] { n = batch.Run(); });
        if (n != kFiles)
          state.SkipWithError(("our batch converted " + std::to_string(n) + " of " + std::to_string(kFiles) +
                               " files; the first it could not: " + batch.firstFailed)
                                  .c_str());
      } else {
        Tree::Remove(tree->baselineOut);
        PlainBatch batch;
        batch.flush = which == 1;
        int n = 0;
        const double t = Seconds([&] { n = batch.Run(tree->root, tree->baselineOut); });
        (which == 1 ? plain : plainNoFlush) += t;
        if (n != kFiles)
          state.SkipWithError(
              ("the baseline converted " + std::to_string(n) + " of " + std::to_string(kFiles) + " files").c_str());
      }
    }
    // Both sides wrote the same bytes.
    for (size_t i = 0; i < tree->relative.size(); i += 97)
      if (ReadAll(tree->baselineOut / tree->relative[i]) != ReadAll(tree->OurResults() / tree->relative[i]))
        state.SkipWithError("our result differs from the baseline's");
    ours += oursRun;
    state.SetIterationTime(oursRun);
    ++runs;
  }
  Tree::Remove(tree->OurResults());
  Tree::Remove(tree->baselineOut);
  const double files = static_cast<double>(kFiles) * static_cast<double>(runs);
  state.counters["ours_files_per_s"] = files / ours;
  state.counters["c_files_per_s"] = files / plain;
  state.counters["c_nofsync_files_per_s"] = files / plainNoFlush;
  state.counters["ours_time_ratio"] = ours / plain;
  state.counters["input_MB"] = static_cast<double>(tree->bytes) / (1 << 20);
  state.SetItemsProcessed(static_cast<int64_t>(files));
}

const bool kRegistered = [] {
  std::vector<std::pair<std::string, fs::path>> folders;
  if (const char* dir = std::getenv("QZU_BENCH_DIR"); dir && *dir) {
    folders.emplace_back("chosen", dir);
  } else {
    folders.emplace_back("tmpfs", "/dev/shm");
    folders.emplace_back("disk", "/var/tmp");
  }
  for (const auto& [label, folder] : folders) {
    if (!fs::is_directory(folder)) continue;
    benchmark::RegisterBenchmark(("BM_BatchGbkToUtf8/" + label).c_str(), BM_BatchGbkToUtf8, folder)
        ->Iterations(label == "tmpfs" ? 4 : 2)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
