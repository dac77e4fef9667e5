// A batch through the real main window, offscreen, over a tree whose files
// need detection to tell their charset: short Chinese words in GBK (whose
// bytes are also well-formed UTF-8), UTF-8 text that puts Latin words beside
// Greek ones, UTF-8 cut inside its last character, and UTF-16 in either
// order without a mark whose first character is Chinese. Each comes out as
// the text it holds.
#include <gtest/gtest.h>

#include <QMessageBox>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "batch_window_fixture.h"
#include "platform/system_code_page.h"

namespace fs = std::filesystem;

namespace {

std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes;
  for (char16_t u : text) {
    const char low = static_cast<char>(u & 0xFF), high = static_cast<char>(u >> 8);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

using BatchWindow = qzu_test::BatchWindowFixture;
using qzu_test::Gbk;
using qzu_test::W;

TEST_F(BatchWindow, DetectionTellsShortGbkWordsLatinBesideGreekCutUtf8AndUnmarkedUtf16) {
  ASSERT_EQ(GetSystemCodePage(), 936);
  const fs::path p = tree.path() / "P";
  fs::create_directories(p);
  struct File {
    const char* name;
    std::string bytes;     // what the file holds
    std::string expected;  // the result's text after its mark
  } files[] = {
      {"school.txt", Gbk("学校"), "学校"},
      {"one.txt", Gbk("一一"), "一一"},
      {"list.txt", Gbk("1,学校\r\n2,小学\r\n"), "1,学校\r\n2,小学\r\n"},
      {"ini.txt", Gbk("[学校]\r\nname=一一"), "[学校]\r\nname=一一"},
      {"level2.txt", Gbk("习佗"), "习佗"},
      {"physics.txt", "The wave function Ψ of Schrödinger", "The wave function Ψ of Schrödinger"},
      {"cafe.txt", "café α", "café α"},
      // The cut character becomes a replacement character, as other bad bytes do.
      {"cut.txt", std::string("好的，明天见").substr(0, 17), "好的，明天\xEF\xBF\xBD"},
      {"le.txt", Utf16(u"中文Größe\r\n", false), "中文Größe\r\n"},
      {"be.txt", Utf16(u"中文Größe\r\n", true), "中文Größe\r\n"},
  };
  std::vector<fs::path> paths;
  for (const File& f : files) {
    qzu_test::WriteFileText(p / f.name, f.bytes);
    paths.push_back(p / f.name);
  }
  hooks.answer = kIdCancel;
  DropOn(window->BatchEncodeButton, paths);

  for (const File& f : files)
    EXPECT_EQ(qzu_test::ReadFileText(p / "转换结果" / f.name), "\xEF\xBB\xBF" + f.expected) << f.name;
  ASSERT_EQ(hooks.boxes.size(), 1u);
  EXPECT_EQ(hooks.boxes[0].text.Str().rfind(u"已转换 10 个！", 0), 0u) << hooks.boxes[0].text.ToUtf8();

  // With QZU_SUMMARY_PNG set, the summary as its message box shows it, for a
  // person to look at.
  if (const char* png = std::getenv("QZU_SUMMARY_PNG")) {
    QMessageBox box;
    box.setWindowTitle(QString::fromStdString(hooks.boxes[0].caption.ToUtf8()));
    box.setText(QString::fromStdString(hooks.boxes[0].text.ToUtf8()));
    box.setIcon(QMessageBox::Information);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.adjustSize();
    EXPECT_TRUE(box.grab().save(QString::fromUtf8(png)));
  }
}

}  // namespace
