#pragma once
// What the file benchmarks share: the folder their trees go in, generated
// GBK prose for the files, and a conversion host that shows nothing.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/conversion_host.h"
#include "common/mem.h"
#include "textlib/charset_convert.h"

namespace qzu_bench {

// `name` under QZU_BENCH_DIR when it is set (a disk folder, say), else under
// /dev/shm, else under the temporary folder.
inline std::filesystem::path Scratch(const char* name) {
  namespace fs = std::filesystem;
  if (const char* dir = std::getenv("QZU_BENCH_DIR"); dir && *dir) return fs::path(dir) / name;
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  return base / name;
}

inline std::string Gbk(const std::u16string& text) {
  CQzuMem m(text.data(), text.size() * 2);
  Utf16ToAnsi(m);
  return std::string(reinterpret_cast<const char*>(m.GetData()), m.GetSize());
}

// The pieces of the generated prose.
inline const std::u16string kProsePieces[] = {u"字符编码转换工具，", u"批量处理文件夹。", u"Chinese text 123, ",
                                              u"简体中文与繁體中文。\r\n", u"乱码修复和旧文件迁移；"};

// Chinese prose with ASCII punctuation and line breaks, in GBK, of about
// `bytes` bytes; the same text for the same seed.
inline std::string GbkText(size_t bytes, unsigned seed) {
  std::mt19937 rng(seed);
  std::u16string text;
  while (text.size() * 2 < bytes) text += kProsePieces[rng() % 5];
  return Gbk(text);
}

class QuietHost : public rg_Ombrine_app::IConversionHost {
 public:
  void SetTitleHint(const CWString&, const CWString&) override {}
  void ShowInformation(const CWString&) override {}
};

}  // namespace qzu_bench
