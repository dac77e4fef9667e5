// Libraries opened on first use: a missing library or function is reported
// without ending the program, a present one gives working functions, and
// the libraries the platform opens this way (OpenCC, and the UNO runtime
// behind the office engine's module) are not linked into programs, so they
// are not loaded at start, yet load when first used.
#include <gtest/gtest.h>

#include <elf.h>
#include <link.h>

#include <string>
#include <vector>

#include "platform/chinese_script_table.h"
#include "platform/lazy_library.h"
#include "test_support.h"

namespace {

// The libraries the running program names as needed in its dynamic section.
std::vector<std::string> NeededLibrariesOfProgram() {
  const char* strings = nullptr;
  for (const ElfW(Dyn)* d = _DYNAMIC; d->d_tag != DT_NULL; ++d)
    if (d->d_tag == DT_STRTAB) strings = reinterpret_cast<const char*>(d->d_un.d_ptr);
  std::vector<std::string> needed;
  for (const ElfW(Dyn)* d = _DYNAMIC; strings && d->d_tag != DT_NULL; ++d)
    if (d->d_tag == DT_NEEDED) needed.emplace_back(strings + d->d_un.d_val);
  return needed;
}

TEST(LazyLibrary, MissingLibraryIsReportedAndGivesNoFunctions) {
  CLazyLibrary library("libqzu-no-such-library.so.0");
  EXPECT_EQ(library.Handle(), nullptr);
  EXPECT_EQ(library.Symbol("anything"), nullptr);
  int (*function)(int) = reinterpret_cast<int (*)(int)>(1);
  EXPECT_FALSE(library.Find("anything", function));
  EXPECT_EQ(function, nullptr);
  EXPECT_NE(library.OpenError().find("libqzu-no-such-library.so.0"), std::string::npos) << library.OpenError();
}

TEST(LazyLibrary, PresentLibraryGivesItsFunctionsAndNoneItLacks) {
  CLazyLibrary library("libz.so.1");
  ASSERT_NE(library.Handle(), nullptr) << library.OpenError();
  EXPECT_EQ(library.Handle(), library.Handle());
  EXPECT_TRUE(library.OpenError().empty());
  unsigned long (*crc32)(unsigned long, const unsigned char*, unsigned) = nullptr;
  ASSERT_TRUE(library.Find("crc32", crc32));
  const unsigned char text[] = "123456789";
  EXPECT_EQ(crc32(crc32(0, nullptr, 0), text, 9), 0xCBF43926u);
  void (*missing)() = nullptr;
  EXPECT_FALSE(library.Find("qzu_no_such_function", missing));
}

TEST(LazyLibrary, LibrariesOfSomeCommandsAreNotLinkedAndLoadOnFirstUse) {
  for (const std::string& library : NeededLibrariesOfProgram()) {
    EXPECT_EQ(library.find("libopencc"), std::string::npos) << library;
    EXPECT_EQ(library.find("libuno_"), std::string::npos) << library;
  }
  EXPECT_GT(qzu::ChineseScriptTableSize(qzu::ChineseScript::Simplified), 1000u);
  EXPECT_TRUE(qzu_test::LibraryLoaded("libopencc"));
}

}  // namespace
