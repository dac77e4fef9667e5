// The icon render cache in a temporary program folder: keys, DPI-scaled
// sizes, cached failures, write-back only when changed, and damaged files.
#include <gtest/gtest.h>

#include <QImage>

#include <cstring>
#include <filesystem>
#include <string>

#include "common/dpi.h"
#include "components/enhanced_bitmap.h"
#include "components/icon_render_cache.h"
#include "components/svg_render.h"
#include "platform/hooks.h"
#include "platform/resource_loader.h"
#include "test_support.h"

using qzu_test::BytesOf;
using qzu_test::Mem;
using rg_Ombrine_Tosvard_SVGHuiZhiKu::SvgRenderCount;

namespace {

const std::string kIcon =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<circle cx="8" cy="8" r="6" fill="#2080C0"/></svg>)";
const std::string kOtherIcon =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
    R"(<rect x="2" y="2" width="12" height="12" fill="#C04020"/></svg>)";

int32_t Int32At(const CQzuMem& m, size_t p) {
  int32_t v;
  std::memcpy(&v, m.GetData() + p, 4);
  return v;
}

QSize PngSize(const CQzuMem& png) {
  return QImage::fromData(png.GetData(), static_cast<int>(png.GetSize()), "PNG").size();
}

class IconRenderCacheTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedFolder = GetProgramFolder();
    SetProgramFolder(CWString::FromUtf8(m_dir.str()));
    SetDpiFactor(1.0);
    ResetIconCache();
  }
  void TearDown() override {
    ResetIconCache();
    SetDpiFactor(1.0);
    SetProgramFolder(m_savedFolder);
  }
  std::filesystem::path CacheFile() const { return m_dir.path() / "tavelkin.svgs"; }

  qzu_test::TempDir m_dir;
  CWString m_savedFolder;
};

TEST_F(IconRenderCacheTest, TheHashIsTheFrameworkBufferHash) {
  EXPECT_EQ(HashByteBuffer("abc", 3), 0x00000D3Du);
  EXPECT_EQ(HashByteBuffer(nullptr, 0), 0u);
  const CQzuMem png = LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  const CQzuMem& cache = IconCacheBuffer();
  ASSERT_EQ(cache.GetSize(), 20 + png.GetSize());
  EXPECT_EQ(static_cast<uint32_t>(Int32At(cache, 4)), HashByteBuffer(Mem(kIcon)));
}

TEST_F(IconRenderCacheTest, FirstRequestRendersAndAppendsLaterOnesHit) {
  const int before = SvgRenderCount();
  const CQzuMem first = LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  ASSERT_FALSE(first.IsEmpty());
  EXPECT_EQ(SvgRenderCount(), before + 1);
  const CQzuMem& cache = IconCacheBuffer();
  ASSERT_EQ(cache.GetSize(), 20 + first.GetSize());
  EXPECT_EQ(Int32At(cache, 0), static_cast<int32_t>(first.GetSize()));
  EXPECT_EQ(Int32At(cache, 8), 16);
  EXPECT_EQ(Int32At(cache, 12), 16);
  EXPECT_EQ(Int32At(cache, 16), 0);

  // Same request, and one that differs only in the background: no render.
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0)), BytesOf(first));
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0x00FF00FF)), BytesOf(first));
  EXPECT_EQ(SvgRenderCount(), before + 1);
  // Another format is another key.
  const CQzuMem bmp = LoadSvgIcon(0, Mem(kIcon), 16, 16, 1, 0, 0xFFFFFFFF);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(SvgRenderCount(), before + 2);
}

TEST_F(IconRenderCacheTest, SizesAreScaledByTheDpiFactorUnlessTold) {
  struct Case {
    double factor;
    int size, noDpi, keyed;
  };
  const Case cases[] = {{1.5, 16, 0, 24}, {1.5, 16, 1, 16}, {1.25, 15, 0, 18}, {2.0, 10, 0, 20}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.factor);
    SetDpiFactor(c.factor);
    const size_t at = IconCacheBuffer().GetSize();
    const CQzuMem png = LoadSvgIcon(0, Mem(kIcon), c.size, c.size, 0, c.noDpi, 0);
    EXPECT_EQ(PngSize(png), QSize(c.keyed, c.keyed));
    ASSERT_EQ(IconCacheBuffer().GetSize(), at + 20 + png.GetSize());
    EXPECT_EQ(Int32At(IconCacheBuffer(), at + 8), c.keyed);
    EXPECT_EQ(Int32At(IconCacheBuffer(), at + 12), c.keyed);
  }
}

// The bitmap is what the bitmap loader makes of the icon's bytes, whether
// this request rendered the icon or found it; a record is decoded once and
// shared after that.
TEST_F(IconRenderCacheTest, TheBitmapIsTheDecodedIconAndEachRecordIsDecodedOnce) {
  // A circle and a half see-through square: antialiased edges, partial alpha.
  const std::string halfSeeThrough =
      R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" viewBox="0 0 16 16">)"
      R"(<rect x="1.5" y="1.5" width="11" height="11" fill="#C04020" fill-opacity="0.4"/></svg>)";
  const struct {
    const char* name;
    std::string svg;
    int size, format;
    uint32_t background;
  } cases[] = {{"circle PNG", kIcon, 16, 0, 0},
               {"circle PNG larger", kIcon, 23, 0, 0},
               {"square PNG", halfSeeThrough, 16, 0, 0},
               {"square BMP", halfSeeThrough, 16, 1, 0x00FF00FF},
               {"no SVG", "no svg here", 16, 0, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int renders = SvgRenderCount();
    const rg_Ombrine_base::rg_WeiTuDuiXiangLei made =
        LoadSvgIconBitmap(0, Mem(c.svg), c.size, c.size, c.format, 0, c.background);
    const QImage decoded = BitmapFromBuffer(LoadSvgIcon(0, Mem(c.svg), c.size, c.size, c.format, 0, c.background))
                               .GetImage();
    EXPECT_EQ(made.GetImage().format(), decoded.format());
    EXPECT_EQ(made.GetImage(), decoded);
    const rg_Ombrine_base::rg_WeiTuDuiXiangLei again =
        LoadSvgIconBitmap(0, Mem(c.svg), c.size, c.size, c.format, 0, c.background);
    EXPECT_EQ(again.GetImage(), decoded);
    if (!decoded.isNull()) {
      EXPECT_EQ(SvgRenderCount(), renders + 1);
      EXPECT_EQ(again.GetImage().constBits(), made.GetImage().constBits());
    }
  }
}

TEST_F(IconRenderCacheTest, AFailedRenderIsCachedAsAnEmptyRecord) {
  const int before = SvgRenderCount();
  EXPECT_TRUE(LoadSvgIcon(0, Mem("no svg here"), 16, 16, 0, 0, 0).IsEmpty());
  ASSERT_EQ(IconCacheBuffer().GetSize(), 20u);
  EXPECT_EQ(Int32At(IconCacheBuffer(), 0), 0);
  EXPECT_EQ(static_cast<uint32_t>(Int32At(IconCacheBuffer(), 4)), HashByteBuffer(Mem("no svg here")));
  EXPECT_TRUE(LoadSvgIcon(0, Mem("no svg here"), 16, 16, 0, 0, 0).IsEmpty());
  EXPECT_EQ(IconCacheBuffer().GetSize(), 20u);
  EXPECT_EQ(SvgRenderCount(), before);  // it never parsed, so it never rendered
}

TEST_F(IconRenderCacheTest, EmptySvgBytesTakeTheBuiltInResource) {
  const CQzuMem png = LoadSvgIconBytes(502, 16, 16);
  ASSERT_FALSE(png.IsEmpty());
  EXPECT_EQ(PngSize(png), QSize(16, 16));
  EXPECT_EQ(static_cast<uint32_t>(Int32At(IconCacheBuffer(), 4)), HashByteBuffer(LoadResourceBytes(502)));
  // The same SVG given as bytes is the same key.
  const int renders = SvgRenderCount();
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, LoadResourceBytes(502), 16, 16, 0, 0, 0)), BytesOf(png));
  EXPECT_EQ(SvgRenderCount(), renders);
}

TEST_F(IconRenderCacheTest, WriteBackOnlyWhenChangedAndTheFileServesTheNextRun) {
  // Nothing asked: nothing written.
  EXPECT_EQ(SaveIconCacheIfChanged(), 0);
  EXPECT_FALSE(std::filesystem::exists(CacheFile()));

  const CQzuMem png = LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  EXPECT_EQ(IconCacheHash(), 0u);  // no file was read
  ASSERT_EQ(SaveIconCacheIfChanged(), 1);
  EXPECT_EQ(qzu_test::ReadFile(CacheFile()), BytesOf(IconCacheBuffer()));
  EXPECT_EQ(IconCacheHash(), HashByteBuffer(IconCacheBuffer()));
  EXPECT_EQ(SaveIconCacheIfChanged(), 0);

  // The next run reads the file and hits without rendering.
  ResetIconCache();
  const int renders = SvgRenderCount();
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0)), BytesOf(png));
  EXPECT_EQ(SvgRenderCount(), renders);
  EXPECT_EQ(IconCacheHash(), HashByteBuffer(IconCacheBuffer()));

  // Read and not extended: the file is left alone, even when it changed on disk.
  qzu_test::WriteFile(CacheFile(), {1, 2, 3});
  EXPECT_EQ(SaveIconCacheIfChanged(), 0);
  EXPECT_EQ(qzu_test::ReadFile(CacheFile()), (std::vector<uint8_t>{1, 2, 3}));
}

TEST_F(IconRenderCacheTest, AFailedWriteBackIsTriedAgain) {
  // A folder where the program folder should be makes the write fail.
  const std::filesystem::path blocked = m_dir.path() / "blocked";
  qzu_test::WriteFile(blocked, {0});
  SetProgramFolder(CWString::FromUtf8((blocked / "sub").string()));
  LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  EXPECT_EQ(SaveIconCacheIfChanged(), 0);
  std::filesystem::remove(blocked);
  EXPECT_EQ(SaveIconCacheIfChanged(), 1);
  EXPECT_EQ(qzu_test::ReadFile(blocked / "sub" / "tavelkin.svgs"), BytesOf(IconCacheBuffer()));
}

// A cache file: one sound record, then whatever `tail` holds.
std::vector<uint8_t> SoundRecordThen(const CQzuMem& cache, const std::vector<uint8_t>& tail) {
  std::vector<uint8_t> file = BytesOf(cache);
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

TEST_F(IconRenderCacheTest, DamagedFilesAreMissesNeverReadPastTheirEnd) {
  const CQzuMem png = LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  const CQzuMem sound = IconCacheBuffer();
  const std::vector<uint8_t> key(sound.GetData() + 4, sound.GetData() + 20);

  const std::vector<std::vector<uint8_t>> tails = {
      {0xFB, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},  // N = -5
      {0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},  // N far past the end
      {0x10, 0, 0, 0, 1, 2, 3},                                                         // a cut-off record
  };
  for (const auto& tail : tails) {
    SCOPED_TRACE(tail.size());
    ResetIconCache();
    qzu_test::WriteFile(CacheFile(), SoundRecordThen(sound, tail));
    const int renders = SvgRenderCount();
    // The record before the damage still serves.
    EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0)), BytesOf(png));
    EXPECT_EQ(SvgRenderCount(), renders);
    // A new icon renders and lands where it can be found again.
    const CQzuMem other = LoadSvgIcon(0, Mem(kOtherIcon), 16, 16, 0, 0, 0);
    ASSERT_FALSE(other.IsEmpty());
    EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kOtherIcon), 16, 16, 0, 0, 0)), BytesOf(other));
    EXPECT_EQ(SvgRenderCount(), renders + 1);
    EXPECT_EQ(IconCacheBuffer().GetSize(), sound.GetSize() + 20 + other.GetSize());
  }

  // Damage in the very first record: nothing is usable, the request renders.
  ResetIconCache();
  std::vector<uint8_t> bad = {0x00, 0x00, 0x00, 0x80};  // N = INT32_MIN
  bad.insert(bad.end(), key.begin(), key.end());
  qzu_test::WriteFile(CacheFile(), bad);
  const int renders = SvgRenderCount();
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0)), BytesOf(png));
  EXPECT_EQ(SvgRenderCount(), renders + 1);
}

// The cache file is read on the first request; a pipe in its place would make
// that read wait for a writer. The SVG does not parse, so nothing of Qt's is
// made on the reading thread.
TEST_F(IconRenderCacheTest, APipeAsTheCacheFileIsAnEmptyCacheAtOnce) {
  CQzuMem icon(std::string("old").data(), 3);
  EXPECT_TRUE(
      qzu_test::ReturnsWithoutAWriter(CacheFile(), [&] { icon = LoadSvgIcon(0, Mem("not an svg"), 16, 16, 0, 0, 0); }));
  EXPECT_TRUE(icon.IsEmpty());
  EXPECT_EQ(IconCacheBuffer().GetSize(), 20u);  // the failed render's record alone
}

TEST_F(IconRenderCacheTest, KeyBytesInsideAnImageDoNotCountAsARecord) {
  // One record whose image bytes carry another request's N and key.
  const CQzuMem png = LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0);
  std::vector<uint8_t> inner(IconCacheBuffer().GetData(), IconCacheBuffer().GetData() + 20);
  inner[0] = 3;
  inner[1] = inner[2] = inner[3] = 0;
  inner.insert(inner.end(), {'x', 'y', 'z'});
  std::vector<uint8_t> file = {static_cast<uint8_t>(inner.size()), 0, 0, 0};
  for (int i = 0; i < 16; ++i) file.push_back(0xEE);  // some other key
  file.insert(file.end(), inner.begin(), inner.end());
  ResetIconCache();
  qzu_test::WriteFile(CacheFile(), file);
  const int renders = SvgRenderCount();
  EXPECT_EQ(BytesOf(LoadSvgIcon(0, Mem(kIcon), 16, 16, 0, 0, 0)), BytesOf(png));
  EXPECT_EQ(SvgRenderCount(), renders + 1);
}

}  // namespace
