// The whole-file reader: every byte of a regular file, and at once a refusal
// of what is no regular file (a pipe, a device, a folder, a missing path).
#include <gtest/gtest.h>

#include <string>

#include "platform/whole_file_read.h"
#include "test_support.h"

namespace {

std::string Text(const CQzuMem& m) { return std::string(reinterpret_cast<const char*>(m.GetData()), m.GetSize()); }

TEST(WholeFileRead, ReadsEveryByteOfARegularFile) {
  qzu_test::TempDir dir;
  const std::string bytes("a\0b\r\n\xFF", 6);
  qzu_test::WriteFile(dir.path() / "文件.bin", std::vector<uint8_t>(bytes.begin(), bytes.end()));
  qzu_test::WriteFile(dir.path() / "empty", {});
  CQzuMem read(std::string("old").data(), 3);
  ASSERT_TRUE(ReadWholeFile(CWString::FromUtf8(dir.str() + "/文件.bin"), read));
  EXPECT_EQ(Text(read), bytes);
  ASSERT_TRUE(ReadWholeFile(CWString::FromUtf8(dir.str() + "/empty"), read));
  EXPECT_EQ(read.GetSize(), 0u);
}

// Into a buffer that is reused: what it held before is gone, a larger file
// after a smaller one grows it, and the status is the file's.
TEST(WholeFileRead, IntoAReusedBufferHoldsOnlyTheNewFile) {
  qzu_test::TempDir dir;
  const std::string big(100000, 'b');
  qzu_test::WriteFileText(dir.path() / "big", big);
  qzu_test::WriteFileText(dir.path() / "small", "small");
  CQzuMem buffer;
  struct stat st{};
  for (const char* name : {"small", "big", "small"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(ReadWholeFileInto(CWString::FromUtf8(dir.str() + "/" + name), buffer, &st));
    EXPECT_EQ(Text(buffer), std::string(name) == "big" ? big : "small");
    EXPECT_EQ(static_cast<size_t>(st.st_size), buffer.GetSize());
    EXPECT_TRUE(S_ISREG(st.st_mode));
  }
  EXPECT_FALSE(ReadWholeFileInto(CWString::FromUtf8(dir.str() + "/missing"), buffer, &st));
  ASSERT_TRUE(ReadWholeFileInto(u"/proc/self/status", buffer, nullptr));
  EXPECT_NE(Text(buffer).find("Name:"), std::string::npos);
}

// The kernel's own tables say their size is 0 and are read to their end all
// the same.
TEST(WholeFileRead, AFileThatSaysItIsEmptyIsReadToItsEnd) {
  CQzuMem read;
  ASSERT_TRUE(ReadWholeFile(u"/proc/self/status", read));
  EXPECT_NE(Text(read).find("Name:"), std::string::npos);
}

TEST(WholeFileRead, WhatIsNoRegularFileIsRefusedAndTheBufferLeftAlone) {
  qzu_test::TempDir dir;
  for (const std::string& path : {dir.str(), dir.str() + "/missing", std::string("/dev/zero")}) {
    SCOPED_TRACE(path);
    CQzuMem read(std::string("kept").data(), 4);
    EXPECT_FALSE(ReadWholeFile(CWString::FromUtf8(path), read));
    EXPECT_EQ(Text(read), "kept");
  }
}

// Opening a pipe for reading would wait for a writer.
TEST(WholeFileRead, APipeIsRefusedWithoutWaitingForAWriter) {
  qzu_test::TempDir dir;
  bool read = true;
  EXPECT_TRUE(qzu_test::ReturnsWithoutAWriter(dir.path() / "pipe", [&] {
    CQzuMem bytes;
    read = ReadWholeFile(CWString::FromUtf8(dir.str() + "/pipe"), bytes);
  }));
  EXPECT_FALSE(read);
}

}  // namespace
