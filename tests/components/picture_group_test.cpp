// The picture group: pictures rendered through the icon cache, their sizes,
// copies and the stream form.
#include <gtest/gtest.h>

#include <string>

#include "common/boxed.h"
#include "common/dpi.h"
#include "framework/bitmap_object.h"
#include "components/byte_buffer_object.h"
#include "components/icon_render_cache.h"
#include "components/picture_group.h"
#include "platform/hooks.h"
#include "test_support.h"

using qzu_test::Mem;
using rg_Ombrine_base::rg_WeiTuDuiXiangLei;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinTuPianZu;

namespace {

const std::string kWide =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10" viewBox="0 0 20 10">)"
    R"(<rect width="20" height="10" fill="#336699"/></svg>)";

const rg_WeiTuDuiXiangLei& Picture(const rg_TavelkinTuPianZu& g, int i) {
  return static_cast<const rg_WeiTuDuiXiangLei&>(*g.pictures[i]);
}
const CQzuMem& Source(const rg_TavelkinTuPianZu& g, int i) {
  return static_cast<const ByteBufferObject&>(*g.sources[i]).bytes;
}

class PictureGroupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_savedFolder = GetProgramFolder();
    SetProgramFolder(CWString::FromUtf8(m_dir.str()));
    ResetIconCache();
  }
  void TearDown() override {
    ResetIconCache();
    SetDpiFactor(1.0);
    SetProgramFolder(m_savedFolder);
  }
  qzu_test::TempDir m_dir;
  CWString m_savedFolder;
};

TEST_F(PictureGroupTest, OneGivenSideMakesADpiScaledSquareOfTheHandleIcon) {
  SetDpiFactor(1.5);
  rg_TavelkinTuPianZu group;
  EXPECT_EQ(group.widest, 0);
  EXPECT_EQ(group.tallest, 0);
  ASSERT_EQ(group.SetPictureGroupSvgImage(CQzuMem(), 0, 16, 0), 0);
  ASSERT_EQ(group.GetPictureCount(), 1);
  ASSERT_EQ(group.drawModes.GetCount(), 1);
  ASSERT_EQ(group.sources.GetCount(), 1);
  EXPECT_EQ(Picture(group, 0).GetWidth(), 24);
  EXPECT_EQ(Picture(group, 0).GetHeight(), 24);
  EXPECT_EQ(group.widest, 24);
  EXPECT_EQ(group.tallest, 24);
  EXPECT_EQ(group.drawModes[0], 0);
  EXPECT_TRUE(Source(group, 0).IsEmpty());  // the built-in icon was used

  // Not scaled again when told so.
  ASSERT_EQ(group.SetPictureGroupSvgImage(CQzuMem(), 16, 0, 1), 0);
  EXPECT_EQ(group.widest, 16);
  EXPECT_EQ(group.tallest, 16);
}

TEST_F(PictureGroupTest, ASecondCallReplacesTheFirstPicture) {
  rg_TavelkinTuPianZu group;
  ASSERT_EQ(group.AddPictureGroupSvgImage(CQzuMem(), 16, 16), 0);
  group.drawModes[0] = 0xFF00FF;
  ASSERT_EQ(group.SetPictureGroupSvgImage(Mem(kWide), 20, 10, 0), 0);
  ASSERT_EQ(group.GetPictureCount(), 1);
  EXPECT_EQ(group.widest, 20);
  EXPECT_EQ(group.tallest, 10);
  EXPECT_EQ(group.drawModes[0], 0);
  EXPECT_EQ(Source(group, 0), Mem(kWide));
  EXPECT_EQ(Picture(group, 0).GetImage().pixelColor(10, 5).name(), QString("#336699"));

  // Both sides 0: refused, nothing changes.
  EXPECT_EQ(group.SetPictureGroupSvgImage(CQzuMem(), 0, 0, 0), -1);
  EXPECT_EQ(group.widest, 20);
  EXPECT_EQ(Source(group, 0), Mem(kWide));
}

TEST_F(PictureGroupTest, AFailedRenderLeavesAnEmptyPictureOfSizeZero) {
  rg_TavelkinTuPianZu group;
  ASSERT_EQ(group.SetPictureGroupSvgImage(Mem("broken"), 16, 16, 0), 0);
  ASSERT_EQ(group.GetPictureCount(), 1);
  EXPECT_TRUE(Picture(group, 0).IsEmpty());
  EXPECT_EQ(group.widest, 0);
  EXPECT_EQ(group.tallest, 0);
}

TEST_F(PictureGroupTest, CopiesAndTheStreamFormKeepEveryPicture) {
  rg_TavelkinTuPianZu group;
  ASSERT_EQ(group.SetPictureGroupSvgImage(Mem(kWide), 20, 10, 0), 0);
  auto* second = new rg_WeiTuDuiXiangLei();
  second->SetImage(QImage(30, 4, QImage::Format_ARGB32));
  group.pictures.Add(second);
  group.drawModes.Add(0x123456);
  group.sources.Add(new ByteBufferObject(Mem("second")));
  group.MeasurePictureGroup();
  EXPECT_EQ(group.widest, 30);
  EXPECT_EQ(group.tallest, 10);

  std::unique_ptr<CQzuObject> clone(group.Clone());
  auto& copy = static_cast<rg_TavelkinTuPianZu&>(*clone);
  ASSERT_EQ(copy.GetPictureCount(), 2);
  EXPECT_EQ(copy.widest, 30);
  EXPECT_EQ(copy.tallest, 10);
  EXPECT_EQ(Picture(copy, 1).GetWidth(), 30);
  EXPECT_EQ(copy.drawModes[1], 0x123456);
  EXPECT_EQ(Source(copy, 1), Mem("second"));
  EXPECT_NE(copy.pictures[0], group.pictures[0]);  // its own pictures
  // Equal only to itself.
  EXPECT_TRUE(group.IsEqual(group));
  EXPECT_FALSE(copy.IsEqual(group));

  CQzuMemStream out;
  group.SaveToStream(out);
  ASSERT_TRUE(out.Ok());
  CQzuMemStream in(out.Buffer());
  rg_TavelkinTuPianZu loaded;
  loaded.LoadFromStream(in);
  ASSERT_TRUE(in.Ok());
  ASSERT_EQ(loaded.GetPictureCount(), 2);
  EXPECT_EQ(loaded.widest, 30);
  EXPECT_TRUE(Picture(loaded, 0).IsEqual(Picture(group, 0)));
  EXPECT_EQ(loaded.drawModes[1], 0x123456);
  EXPECT_EQ(Source(loaded, 0), Mem(kWide));

  // Copy-from refuses other classes and replaces what the target held.
  rg_Ombrine_base::rg_ZhengShuLei number;
  EXPECT_EQ(loaded.CopyFrom(number), 0);
  rg_TavelkinTuPianZu empty;
  ASSERT_EQ(loaded.CopyFrom(empty), 1);
  EXPECT_EQ(loaded.GetPictureCount(), 0);
  EXPECT_EQ(loaded.widest, 0);
  copy.Reset();
  EXPECT_EQ(copy.GetPictureCount(), 0);
  EXPECT_EQ(copy.tallest, 0);
  EXPECT_EQ(CWString::FromUtf8(group.GetClassInfo().name),
            u"rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinTuPianZu");
}

}  // namespace
