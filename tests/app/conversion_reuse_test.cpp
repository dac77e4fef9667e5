// A batch reuses its read buffer, its write buffer and its encoders' room
// from file to file: over a mixed tree (sizes from empty to past every kept
// buffer, GBK, UTF-8, UTF-16LE and UTF-16BE with and without marks, large
// files before small ones) every result equals the one a fresh core on a
// fresh thread writes for that file alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "common/utf.h"
#include "conversion_fakes.h"
#include "textlib/charset_convert.h"

using namespace rg_Ombrine_app;
namespace fs = std::filesystem;

namespace {

// Chinese and ASCII text of about `units` units, different for each seed.
std::u16string Text(size_t units, unsigned seed) {
  const std::u16string pieces[] = {u"字符编码转换，", u"批量处理。",     u"plain ASCII 123 ",
                                   u"繁體與简体\r\n", u"“引号”《书名》", u"\n"};
  std::u16string t;
  for (unsigned i = seed; t.size() < units; i = i * 1103515245u + 12345u) t += pieces[(i >> 8) % 6];
  t.resize(units);
  return t;
}

std::string Encoded(const std::u16string& text, const std::string& charset, bool mark) {
  if (charset == "GBK") {
    CQzuMem m(text.data(), text.size() * 2);
    Utf16ToAnsi(m);
    return std::string(m.View());
  }
  if (charset == "UTF-8") return (mark ? "\xEF\xBB\xBF" : "") + qzu::Utf16ToUtf8(text);
  std::string out = mark ? (charset == "UTF-16LE" ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (char16_t u : text) {
    const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
    out += charset == "UTF-16LE" ? std::string{lo, hi} : std::string{hi, lo};
  }
  return out;
}

struct Options {
  const char* name;
  int outputIndex;
  ConversionFunction function;
  bool stripBom;
};

void Configure(qzu_test::CoreRig& rig, const Options& o) {
  rig.options.outputCharsetIndex = o.outputIndex;
  rig.options.function = o.function;
  rig.options.stripBom = o.stripBom;
  rig.options.saveToNewLocation = true;
}

std::string Convert(qzu_test::CoreRig& rig, const fs::path& file) {
  CWString text, result;
  rig.core.ConvertOne(result, CWString::FromSystemPath(file.string()), 1, 1, text, false);
  return result.ToUtf8();
}

TEST(ConversionReuse, ReusedBuffersWriteWhatFreshOnesWrite) {
  qzu_test::TempDir dir;
  std::vector<fs::path> files;
  // Large first: a buffer left from a large file must not leak into a small one.
  const size_t sizes[] = {2'600'000, 700'000, 70'000, 3'000, 7, 1, 0};
  const char* charsets[] = {"GBK", "UTF-8", "UTF-16LE", "UTF-16BE"};
  unsigned seed = 1;
  for (size_t units : sizes) {
    for (const char* charset : charsets) {
      for (bool mark : {false, true}) {
        if (units > 100'000 && (mark || std::string(charset) == "UTF-16BE")) continue;  // enough large ones
        if (mark && std::string(charset) == "GBK") continue;                            // GBK has no mark
        const fs::path p = dir.path() / ("d" + std::to_string(seed % 3)) /
                           (std::to_string(seed) + "-" + charset + (mark ? "-mark" : "") + ".txt");
        qzu_test::WriteFileText(p, Encoded(Text(units, seed), charset, mark));
        files.push_back(p);
        ++seed;
      }
    }
  }
  const fs::path results = dir.path() / "转换结果";
  const Options cases[] = {
      {"to UTF-8 with mark", 2, ConversionFunction::None, false},
      {"to UTF-8 without mark", 2, ConversionFunction::None, true},
      {"to ANSI", 1, ConversionFunction::None, false},
      {"to UTF-16LE", 3, ConversionFunction::None, false},
      {"to UTF-16BE", 4, ConversionFunction::None, true},
      {"as detected, upper case", 0, ConversionFunction::UpperCase, false},
  };
  for (const Options& o : cases) {
    SCOPED_TRACE(o.name);
    std::map<fs::path, std::string> reused;
    {
      qzu_test::CoreRig rig;
      rig.batchRoot = CWString::FromSystemPath(dir.str());
      Configure(rig, o);
      for (const fs::path& f : files) {
        ASSERT_EQ(Convert(rig, f), "1") << f;
        reused[f] = qzu_test::ReadFileText(results / fs::relative(f, dir.path()));
      }
    }
    fs::remove_all(results);
    for (const fs::path& f : files) {
      // A thread of its own starts with no buffers of its own yet.
      std::string result;
      std::thread([&] {
        qzu_test::CoreRig rig;
        rig.batchRoot = CWString::FromSystemPath(dir.str());
        Configure(rig, o);
        result = Convert(rig, f);
      }).join();
      ASSERT_EQ(result, "1") << f;
      const std::string fresh = qzu_test::ReadFileText(results / fs::relative(f, dir.path()));
      EXPECT_EQ(reused[f].size(), fresh.size()) << f;
      EXPECT_TRUE(reused[f] == fresh) << f;
      if (fs::file_size(f) > 100) {
        EXPECT_GT(fresh.size(), fs::file_size(f) / 3) << f;
      }
    }
    fs::remove_all(results);
  }
}

}  // namespace
