// The path helpers: paths cut at the last separator and dot, trailing separators.
#include "textlib/path_helpers.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
  const char16_t* path;
  const char16_t* folder;
  const char16_t* name;
  const char16_t* stem;
  const char16_t* extension;
};

TEST(PathHelpers, CutsPathsAtTheLastSeparatorAndDot) {
  const PathCase cases[] = {
      {u"/docs/a.txt", u"/docs", u"a.txt", u"a", u"txt"},
      {u"/", u"", u"", u"", u""},
      {u"a.txt", u"", u"a.txt", u"a", u"txt"},
      {u"/docs/", u"/docs", u"", u"", u""},
      {u"/docs/a.tar.gz", u"/docs", u"a.tar.gz", u"a.tar", u"gz"},
      {u"/docs/.ini", u"/docs", u".ini", u"", u"ini"},
      {u"/old.docs/readme", u"/old.docs", u"readme", u"readme", u""},
      {u"/docs/a.TXT", u"/docs", u"a.TXT", u"a", u"TXT"},
      {u"", u"", u"", u"", u""},
      {u"name", u"", u"name", u"name", u""},
      {u"name.", u"", u"name.", u"name", u""},
      // "\" is an ordinary character on this system.
      {u"/d/a\\b.txt", u"/d", u"a\\b.txt", u"a\\b", u"txt"},
  };
  for (const PathCase& c : cases) {
    const CWString path(c.path);
    SCOPED_TRACE(path.ToUtf8());
    EXPECT_EQ(PathFolder(path), CWString(c.folder));
    EXPECT_EQ(PathFileName(path), CWString(c.name));
    EXPECT_EQ(PathStem(path), CWString(c.stem));
    EXPECT_EQ(PathExtension(path), CWString(c.extension));
  }
}

TEST(PathHelpers, TrailingSeparatorIsAddedOrStrippedOnce) {
  EXPECT_EQ(StripTrailingBackslash(u"/a//"), CWString(u"/a/"));
  EXPECT_EQ(StripTrailingBackslash(u"/a"), CWString(u"/a"));
  EXPECT_EQ(StripTrailingBackslash(u""), CWString(u""));
  EXPECT_EQ(AppendTrailingBackslash(u""), CWString(u"/"));
  EXPECT_EQ(AppendTrailingBackslash(u"/"), CWString(u"/"));
  EXPECT_EQ(AppendTrailingBackslash(u"/a"), CWString(u"/a/"));
  EXPECT_EQ(AppendTrailingBackslash(u"/a\\"), CWString(u"/a\\/"));
}

}  // namespace
