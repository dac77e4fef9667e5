// Random sequences of in-place conversions, name conversions and html-to-text
// runs on one tree: the bytes of every file that ever existed stay somewhere
// under the tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/conversion_core.h"
#include "conversion_fakes.h"
#include "test_support.h"

using namespace rg_Ombrine_app;
using qzu_test::Batch;
namespace fs = std::filesystem;

namespace {

TEST(ConversionSweep, RandomRunsKeepEveryVersionOfEveryFile) {
  Batch b;
  const fs::path root = b.dir.path();
  // Names that conversions make meet each other: 简/簡, page.html/page.txt.
  qzu_test::WriteFileText(root / "a.txt", "\xD6\xD0\xCE\xC4 gbk");
  qzu_test::WriteFileText(root / fs::u8path("简.txt"), "简体 <b>text</b>");
  qzu_test::WriteFileText(root / fs::u8path("簡.txt"), "繁體");
  qzu_test::WriteFileText(root / "page.html", "<h1>Title</h1><p>body 简</p>");
  qzu_test::WriteFileText(root / "page.txt", "an older page.txt");
  qzu_test::WriteFileText(root / "sub/x.htm", "<p>x</p><br>y");
  qzu_test::WriteFileText(root / "sub/x.txt", "x as text");
  qzu_test::WriteFileText(root / fs::u8path("sub/头发.txt"), "头发");

  std::set<std::string> ever;
  std::mt19937 rng(3434);
  for (int step = 0;; ++step) {
    // The inputs a batch would pick: everything outside the two trees.
    std::vector<fs::path> inputs;
    std::set<std::string> now;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
      if (!it->is_regular_file()) continue;
      now.insert(qzu_test::ReadFileText(it->path()));
      const std::string relative = fs::relative(it->path(), root).string();
      ASSERT_EQ(it->path().filename().string().rfind(".qzu-write-", 0), std::string::npos) << relative;
      if (relative.rfind("转换结果", 0) != 0 && relative.rfind("原文件备份", 0) != 0) inputs.push_back(it->path());
    }
    for (const std::string& bytes : ever) ASSERT_TRUE(now.count(bytes)) << "lost before step " << step << ": " << bytes;
    ever.insert(now.begin(), now.end());
    if (step == 150) break;
    ASSERT_FALSE(inputs.empty());

    ConversionOptions& o = b.options;
    o = ConversionOptions();
    o.saveToNewLocation = rng() % 5 == 0;
    o.deleteOriginal = rng() % 5 == 0;
    o.direction = rng() % 2 ? ConversionDirection::Encode : ConversionDirection::Decode;
    switch (rng() % 4) {
      case 0:  // the charset in place
        o.outputCharsetIndex = 1 + static_cast<int>(rng() % 4);
        o.stripBom = rng() % 2;
        break;
      case 1:  // simplified and traditional names
        o.function = ConversionFunction::Traditional;
        o.convertFileNames = true;
        break;
      case 2:
        o.function = ConversionFunction::HtmlToText;
        o.htmlExtension = std::vector<const char16_t*>{u"自动", u"txt", u"html"}[rng() % 3];
        o.htmlLayout = static_cast<HtmlLayout>(rng() % 4);
        break;
      default:  // a function whose names differ from the source's
        o.function = ConversionFunction::UpperCase;
        o.convertFileNames = rng() % 2;
        break;
    }
    b.Convert(inputs[rng() % inputs.size()]);
  }
}

}  // namespace
