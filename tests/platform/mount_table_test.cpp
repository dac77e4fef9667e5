// The mount table parser: which bytes separate fields, how escapes decode, and
// which lines are skipped.
#include "platform/mount_table.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MountTable, OnlyBlanksAndTabsSeparateFieldsAndEscapesDecode) {
  using namespace std::string_literals;
  const struct {
    const char* name;
    std::string line;
    std::string source, point, type;
  } cases[] = {
      {"plain", "/dev/sda1 /home ext4 rw 0 0", "/dev/sda1", "/home", "ext4"},
      {"tabs and runs of blanks", "/dev/sda1\t/home  \t ext4 rw 0 0", "/dev/sda1", "/home", "ext4"},
      {"escaped blank, tab, newline, backslash", "a\\134b /m/x\\040y\\011z\\012w ext4 rw 0 0", "a\\b", "/m/x y\tz\nw",
       "ext4"},
      {"escape of a non-ASCII byte", "/dev/sdc1 /media/U\\040\\347\\233\\230 exfat rw", "/dev/sdc1", "/media/U 盘",
       "exfat"},
      {"carriage return in a name", "/dev/sdb1 /mnt/a\rb ext4 rw 0 0", "/dev/sdb1", "/mnt/a\rb", "ext4"},
      {"vertical tab in a name", "/dev/sdb1 /mnt/a\vb ext4 rw 0 0", "/dev/sdb1", "/mnt/a\vb", "ext4"},
      {"form feed in a name", "/dev/sdb1 /mnt/a\fb ext4 rw 0 0", "/dev/sdb1", "/mnt/a\fb", "ext4"},
      {"carriage return ending a name", "/dev/sdb1 /mnt/a\r ext4\r rw 0 0\r", "/dev/sdb1", "/mnt/a\r", "ext4\r"},
      {"an escape cut at the end stays as it is", "s /p\\04 t", "s", "/p\\04", "t"},
      {"a non-octal escape stays as it is", "s /p\\089 t", "s", "/p\\089", "t"},
      {"three fields are enough", "s /p t", "s", "/p", "t"},
      {"a NUL byte is part of a name", "s /p\0q t"s, "s", "/p\0q"s, "t"},
  };
  for (const auto& c : cases) {
    const std::vector<MountEntry> entries = ParseMountTable(c.line + "\n");
    ASSERT_EQ(entries.size(), 1u) << c.name;
    EXPECT_EQ(entries[0].source, c.source) << c.name;
    EXPECT_EQ(entries[0].point, c.point) << c.name;
    EXPECT_EQ(entries[0].type, c.type) << c.name;
  }
}

TEST(MountTable, LinesAreSplitAtNewlinesAndShortLinesAreSkipped) {
  const std::vector<MountEntry> entries = ParseMountTable(
      "one /a ext4 rw 0 0\n"
      "\n"
      "only two\n"
      "   \t \n"
      "two /b\r\vc vfat rw 0 0\n"
      "three /c tmpfs");  // the last line needs no newline
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].point, "/a");
  EXPECT_EQ(entries[1].point, "/b\r\vc");
  EXPECT_EQ(entries[1].type, "vfat");
  EXPECT_EQ(entries[2].source, "three");
  EXPECT_EQ(entries[2].type, "tmpfs");
  EXPECT_TRUE(ParseMountTable("").empty());
}

}  // namespace
