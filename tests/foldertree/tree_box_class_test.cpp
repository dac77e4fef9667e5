// The tree box as an object, without a window: defaults, copies (rows,
// tables and flags, not events), equality, the image list and the stream
// form, including a stream that ends early.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "foldertree/tree_box.h"
#include "tree_model_test_util.h"

namespace {

using namespace qzu_test;
using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeIndexKind;

CQzuMem PngOf(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return CQzuMem(bytes.constData(), static_cast<size_t>(bytes.size()));
}

intptr_t Chosen(CQzuObject*, CQzuObject*, intptr_t, int, int, int) { return 7; }

void AddRows(rg_TavelkinShuXingKuang& box) {
  TreeBoxModel& m = box.Model();
  m.AppendTreeRow(u"根", 5, 11, 2, 0);
  m.AppendTreeRow(u"子一", 5, 12, 0, 1);
  m.AppendTreeRow(u"孙", 5, 13, 0, 2);
  m.AppendTreeRow(u"子二", 5, 14, 0, 1);
}

}  // namespace

TEST(TreeBoxClassTest, AFreshTreeBoxHasTheDefaults) {
  rg_TavelkinShuXingKuang box;
  const TreeBoxModel& m = box.Model();
  EXPECT_EQ(m.GetRowCount(), 0);
  EXPECT_EQ(m.SelectedRowValue(), -1);
  EXPECT_EQ(m.GetHeaderSize(), 26);
  EXPECT_EQ(m.GetMarkerLength(), 4);
  EXPECT_EQ(m.GetCheckMode(), 2);
  EXPECT_EQ(m.GetRedrawEnabled(), 1);
  EXPECT_EQ(box.fontSize, 11);
  EXPECT_EQ(box.margin, 6);
  EXPECT_EQ(box.rowGap, 3);
  EXPECT_EQ(box.treeLines, 1);
  EXPECT_EQ(box.checkBoxes, 0);
  EXPECT_EQ(box.customRowHeight, -1);
  EXPECT_EQ(box.backgroundColour, 0xFFFFFFu);
  EXPECT_EQ(box.defaultTextBackground, 0xFFFFFFFFu);
  EXPECT_EQ(box.hoverRow, -1);
  EXPECT_EQ(box.keyboardMoveFlag, 1);
  for (TreeIndexKind kind : {TreeIndexKind::kRowOffsets, TreeIndexKind::kParents, TreeIndexKind::kSiblings,
                             TreeIndexKind::kSubtreeEnds, TreeIndexKind::kFifth, TreeIndexKind::kSixth})
    EXPECT_EQ(m.IndexRecord(kind).BuiltFor(), -1);
  // One row "A": its text, the marker 01 02 03 04 and a 26-byte header.
  box.Model().AppendTreeRow(u"A", -1, 0, 0, 0);
  EXPECT_EQ(HexOfRows(box.Model()).substr(0, 17), "41 00 01 02 03 04");
  EXPECT_EQ(box.Model().RowBuffer().GetSize(), 32u);
  EXPECT_STREQ(box.GetClassInfo().name, "rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang");
}

TEST(TreeBoxClassTest, ACopyHasTheRowsTablesAndFlagsButNotTheEvents) {
  rg_TavelkinShuXingKuang source;
  AddRows(source);
  source.Model().StartTreeIndexWorkers();  // the tables, built here
  source.Model().SetSelectedRowValue(2);
  source.checkBoxes = 1;
  source.fontFace = u"宋体";
  source.OnRowChosen.Connect(&Chosen, CQzuReceiverRef::Make(&source));

  rg_TavelkinShuXingKuang copy;
  ASSERT_EQ(copy.CopyFrom(source), 1);
  EXPECT_EQ(HexOfRows(copy.Model()), HexOfRows(source.Model()));
  EXPECT_EQ(copy.Model().GetRowCount(), 4);
  EXPECT_EQ(copy.Model().SelectedRowValue(), 2);
  EXPECT_EQ(copy.checkBoxes, 1);
  EXPECT_EQ(copy.fontFace, u"宋体");
  EXPECT_TRUE(copy.Model().IsRowParentIndexReady());
  EXPECT_EQ(copy.Model().GetRowParent(2), 1);
  EXPECT_FALSE(copy.OnRowChosen.IsConnected());
  EXPECT_TRUE(copy.paintGuard.lock.SharesWith(source.paintGuard.lock));
  EXPECT_TRUE(copy.keyboardMoveLock.SharesWith(source.keyboardMoveLock));
  // Only itself.
  EXPECT_FALSE(copy.IsEqual(source));
  EXPECT_TRUE(copy.IsEqual(copy));
  // Not a tree box: refused.
  rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinGunDongTiao1 bar;
  EXPECT_EQ(copy.CopyFrom(bar), 0);

  // The copy's rows are its own.
  TreeRowLocator locator;
  copy.Model().InsertTreeRow(0, u"新", 5, 4, 0, locator, 1);
  EXPECT_EQ(source.Model().GetRowCount(), 4);
  EXPECT_TRUE(source.Model().IsRowParentIndexReady());
  EXPECT_FALSE(copy.Model().IsRowParentIndexReady());

  // A clone is a tree box with the same rows.
  CQzuObject* clone = source.Clone();
  ASSERT_NE(clone, nullptr);
  auto* box = dynamic_cast<rg_TavelkinShuXingKuang*>(clone);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(HexOfRows(box->Model()), HexOfRows(source.Model()));
  clone->Release();
}

TEST(TreeBoxClassTest, ImagesSetTheIconSizeAndAnEmptyPictureEmptiesTheList) {
  rg_TavelkinShuXingKuang box;
  EXPECT_EQ(box.AddTreeImage(PngOf(24, 24)), 0);
  EXPECT_EQ(box.iconSize, 24);
  EXPECT_EQ(box.AddTreeImage(PngOf(22, 18)), 1);
  EXPECT_EQ(box.iconSize, 22);  // the last picture's larger side
  EXPECT_EQ(box.imageList.GetCount(), 2);
  EXPECT_EQ(box.imageFlags.Items(), (std::vector<int32_t>{-1, -1}));
  EXPECT_EQ(box.AddTreeImage(CQzuMem("no picture", 10)), -1);
  EXPECT_EQ(box.iconSize, 0);
  EXPECT_EQ(box.imageList.GetCount(), 0);
  EXPECT_TRUE(box.imageFlags.IsEmpty());
  EXPECT_EQ(box.AddTreeImage(PngOf(16, 16)), 0);
}

TEST(TreeBoxClassTest, TheStreamFormRoundTripsAndAShortStreamSaysSo) {
  rg_TavelkinShuXingKuang source;
  source.Model().SetShortHeaderMode(1);
  AddRows(source);
  source.Model().StartTreeIndexWorkers();
  RebuildVisibleRows(source.Model());
  source.Model().SetSelectedRowValue(3);
  source.Model().SetCheckMode(3);
  source.AddTreeImage(PngOf(20, 20));
  source.renameOnSlowClick = 1;
  source.fontFace = u"微软雅黑";
  source.fontSize = 12;
  source.hoverUnderline = 1;
  source.lineToolTips.entries[2] = u"很长的名字";
  source.SetTextMember(u"目录树");

  CQzuMemStream stream;
  source.SaveToStream(stream);
  ASSERT_TRUE(stream.Ok());
  stream.Rewind();
  rg_TavelkinShuXingKuang loaded;
  loaded.LoadFromStream(stream);
  ASSERT_TRUE(stream.Ok());
  EXPECT_EQ(stream.Position(), stream.Buffer().GetSize());
  EXPECT_EQ(HexOfRows(loaded.Model()), HexOfRows(source.Model()));
  EXPECT_EQ(loaded.Model().GetRowCount(), 4);
  EXPECT_EQ(loaded.Model().GetHeaderSize(), 18);
  EXPECT_EQ(loaded.Model().SelectedRowValue(), 3);
  EXPECT_EQ(loaded.Model().GetCheckMode(), 3);
  EXPECT_EQ(loaded.iconSize, 20);
  EXPECT_EQ(loaded.imageList.GetCount(), 1);
  EXPECT_EQ(loaded.renameOnSlowClick, 1);
  EXPECT_EQ(loaded.fontFace, u"微软雅黑");
  EXPECT_EQ(loaded.fontSize, 12);
  EXPECT_EQ(loaded.hoverUnderline, 1);
  EXPECT_EQ(loaded.lineToolTips.Get(2), u"很长的名字");
  EXPECT_EQ(loaded.GetTextMember(), u"目录树");
  EXPECT_TRUE(loaded.Model().IsRowParentIndexReady());
  EXPECT_TRUE(loaded.Model().IsVisibleRowListCurrent());
  // Saved again, the same bytes.
  CQzuMemStream again;
  loaded.SaveToStream(again);
  EXPECT_EQ(ToHex(again.Buffer()), ToHex(stream.Buffer()));

  // Cut anywhere, the load stops with a short read.
  for (size_t cut : {size_t{3}, stream.Buffer().GetSize() / 2, stream.Buffer().GetSize() - 1}) {
    CQzuMem part(stream.Buffer().GetData(), cut);
    CQzuMemStream shortStream(part);
    rg_TavelkinShuXingKuang partial;
    partial.LoadFromStream(shortStream);
    EXPECT_EQ(shortStream.GetError(), kQzuStreamShortRead) << cut;
  }
}
