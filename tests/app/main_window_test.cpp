// The main window: every control's id, caption, text, place at the default
// size, shown, enabled and checked state after the first activation; the
// option checks; the first activation's text; the object operations.
#include <gtest/gtest.h>

#include <QTest>

#include <functional>

#include "common/stream.h"
#include "main_window_fixture.h"

namespace qzu_test {
namespace {

using Window = rg_Ombrine_app::rg_ZhuChuangKouLei;

struct ControlRow {
  const char* name;
  std::function<CQzuWinControl&(Window&)> control;
  int id;
  const char16_t* caption;
  const char16_t* text;
  Box box;
  bool shown;
  bool enabled;
  int checked;  // -1: cannot be checked
};

#define C(member) #member, [](Window & w) -> CQzuWinControl& { return w.member; }

const char16_t kSample[] = u"中國ABC123\r\n\r\n\r\n\r\n华夏ABC123\r\n\r\n中國ABC123\r\n";

// A first start at DPI factor 1 with a 1192 x 720 client area: "无" chosen,
// the option panels parked over the banner as it was made (91 high; its
// size handler then adds its bottom edge) and hidden, the editors laid out.
const ControlRow kControls[] = {
    {C(PinyinPanel), 101, u"", u"", {757, 25, 424, 64}, false, true, -1},
    {C(PinyinFormatEdit), 102, u"", u"汉字[拼音]", {95, 34, 288, 26}, true, false, -1},
    {C(CapitalizeCheck), 103, u"首字母大写", u"", {282, 0, 109, 26}, true, true, 1},
    {C(PinyinRatioList), 104, u"拼音概率", u"5%", {4, 0, 152, 29}, true, true, -1},
    {C(ToneCheck), 105, u"带音调", u"", {188, 0, 83, 26}, true, true, 0},
    {C(ReplaceFormatCheck), 106, u"替换格式", u"", {4, 34, 109, 26}, true, true, 0},
    {C(EncodeButton),
     107,
     u"没有选择功能，请直接使用批量转换，设置输入输出编码",
     u"",
     {10, 183, 1166, 50},
     true,
     true,
     -1},
    {C(WordTxtPanel), 108, u"", u"", {757, 61, 424, 28}, false, true, -1},
    {C(WordTypesetRadio), 109, u"排版", u"", {153, 0, 57, 28}, true, true, 0},
    {C(WordTxtLabel), 110, u"txt 选项：", u"", {5, 0, 83, 28}, true, true, -1},
    {C(WordTypesetPRadio), 111, u"排版加<P>", u"", {218, 0, 146, 28}, true, true, 0},
    {C(WordBasicRadio), 112, u"基本", u"", {93, 0, 64, 28}, true, true, 1},
    {C(EncodeIncludesPanel), 113, u"", u"", {757, 61, 424, 28}, false, true, -1},
    {C(LineBreaksCheck), 114, u"换行", u"", {205, 0, 64, 28}, true, true, 1},
    {C(EncodeIncludesLabel), 115, u"编码包括：", u"", {5, 0, 88, 28}, true, true, -1},
    {C(AsciiCheck), 116, u"ASCII字符", u"", {97, 0, 112, 28}, true, true, 0},
    {C(JoinersCheck), 117, u"连接符", u"", {274, 0, 88, 28}, true, false, 1},
    {C(TxtPanel), 118, u"", u"", {757, 35, 435, 54}, false, true, -1},
    {C(HtmlTypesetImagesRadio), 119, u"带图排版", u"", {210, 0, 90, 26}, true, true, 0},
    {C(HtmlTypesetRadio), 120, u"排版", u"", {153, 0, 57, 26}, true, true, 0},
    {C(HtmlTxtLabel), 121, u"txt 选项：", u"", {5, 0, 83, 26}, true, true, -1},
    {C(HtmlTypesetImagesPRadio), 122, u"带图排版加<P>", u"", {301, 0, 134, 26}, true, true, 0},
    {C(HtmlBasicRadio), 123, u"基本", u"", {93, 0, 64, 26}, true, true, 1},
    {C(TxtExtensionList), 124, u"文件扩展名", u"txt", {93, 27, 322, 26}, true, true, -1},
    {C(BreakWinToggle), 125, u"Win(\\r\\n)", u"", {10, 141, 109, 32}, true, true, 0},
    {C(DecodeButton), 126, u"", u"", {618, 183, 558, 50}, true, true, -1},
    {C(WordToTextToggle), 127, u"word到txt", u"", {614, 141, 120, 32}, true, true, 0},
    {C(Ucs2Toggle), 128, u"UCS2", u"", {98, 101, 80, 32}, true, true, 0},
    {C(UnicodeDecimalToggle), 129, u"Unicode十进制", u"", {186, 101, 142, 32}, true, true, 0},
    {C(UrlToggle), 130, u"URL", u"", {510, 101, 64, 32}, true, true, 0},
    {C(Base64Toggle), 131, u"Base64", u"", {954, 101, 80, 32}, true, true, 0},
    {C(UnicodeHexToggle), 132, u"Unicode十六进制", u"", {337, 101, 166, 32}, true, true, 0},
    {C(UpperCaseToggle), 133, u"大写", u"", {1117, 101, 64, 32}, true, true, 0},
    {C(TraditionalToggle), 134, u"繁体", u"", {1042, 101, 64, 32}, true, true, 0},
    {C(BytesToggle), 135, u"字节集", u"", {695, 101, 80, 32}, true, true, 0},
    {C(BytesHexToggle), 136, u"字节集(十六进制)", u"", {783, 101, 163, 32}, true, true, 0},
    {C(BreakUnixToggle), 137, u"Unix(\\n)", u"", {128, 141, 109, 32}, true, true, 0},
    {C(BreakMacToggle), 138, u"Mac(\\r)", u"", {246, 141, 109, 32}, true, true, 0},
    {C(HtmlToTextToggle), 139, u"html到txt", u"", {485, 141, 120, 32}, true, true, 0},
    {C(DedupeToggle), 140, u"极速去重", u"", {365, 141, 111, 32}, true, true, 0},
    {C(DedupPanel), 141, u"", u"", {757, 25, 424, 64}, false, true, -1},
    {C(SubIndexEdit), 142, u"", u"1", {353, 30, 33, 26}, true, true, -1},
    {C(SeparatorEdit), 143, u"", u"", {62, 30, 79, 26}, true, true, -1},
    {C(RemoveDuplicatesRadio), 144, u"删除重复", u"", {93, 0, 84, 28}, true, true, 1},
    {C(SeparatorLabel), 145, u"分隔符", u"", {4, 30, 83, 26}, true, true, -1},
    {C(KeepDuplicatedRadio), 146, u"提取重复", u"", {311, 0, 85, 28}, true, true, 0},
    {C(KeepUniqueRadio), 147, u"提取没有重复", u"", {189, 0, 124, 28}, true, true, 0},
    {C(SubSeparatorEdit), 148, u"", u"", {233, 30, 42, 26}, true, true, -1},
    {C(SubSeparatorLabel), 149, u"子分隔符", u"", {160, 30, 83, 26}, true, true, -1},
    {C(SubIndexLabel), 150, u"子序号", u"", {293, 30, 64, 26}, true, true, -1},
    {C(DedupModeLabel), 151, u"去重类型：", u"", {4, 0, 83, 28}, true, true, -1},
    {C(UrlUtf8Toggle), 152, u"URL-UTF8", u"", {583, 101, 104, 32}, true, true, 0},
    {C(Md5Toggle), 153, u"MD5", u"", {744, 141, 96, 32}, true, true, 0},
    {C(Sha1Toggle), 154, u"SHA1", u"", {850, 141, 96, 32}, true, true, 0},
    {C(PinyinToggle), 155, u"拼音", u"", {1074, 141, 106, 32}, true, true, 0},
    {C(Sha256Toggle), 156, u"SHA256", u"", {955, 141, 110, 32}, true, true, 0},
    {C(NoneToggle), 157, u"无", u"", {10, 101, 80, 32}, true, true, 1},
    {C(CharFormatPanel), 158, u"", u"", {757, 61, 424, 28}, false, true, -1},
    {C(UbeRadio), 159, u"Ube", u"", {361, 0, 48, 28}, true, true, 0},
    {C(UnicodeRadio), 160, u"Unicode", u"", {279, 0, 78, 28}, true, true, 0},
    {C(RawRadio), 161, u"原始", u"", {93, 0, 58, 28}, true, true, 1},
    {C(CharFormatLabel), 162, u"字符格式：", u"", {5, 0, 83, 28}, true, true, -1},
    {C(Utf8Radio), 163, u"UTF-8", u"", {212, 0, 69, 28}, true, true, 0},
    {C(AnsiRadio), 164, u"ANSI", u"", {152, 0, 64, 28}, true, true, 0},
    {C(BatchGroup), 165, u"批量转换", u"", {9, 598, 1198, 122}, true, true, -1},
    {C(BatchEncodeButton), 166, u"批量转码", u"", {726, 46, 448, 60}, true, true, -1},
    {C(FileFilterEdit), 167, u"", u"*.htm|*.html|*.txt", {548, 79, 151, 26}, true, true, -1},
    {C(ConvertFileNamesCheck), 168, u"转换文件名", u"", {548, 46, 160, 26}, true, true, 0},
    {C(DeleteOriginalCheck), 169, u"删除原文件", u"", {413, 46, 152, 26}, true, true, 0},
    {C(SaveToNewLocationCheck), 170, u"新位置保存", u"", {413, 79, 152, 26}, true, true, 1},
    {C(StripBomCheck), 171, u"去除 BOM", u"", {277, 79, 152, 26}, true, true, 0},
    {C(WalkSubfoldersCheck), 172, u"遍历子目录", u"", {277, 46, 152, 26}, true, true, 0},
    {C(InputCharsetList), 173, u"输入编码", u"自动识别", {8, 46, 234, 26}, true, true, -1},
    {C(OutputCharsetList), 174, u"输出编码", u"自动识别", {8, 79, 234, 26}, true, true, -1},
    {C(BatchDecodeButton), 175, u"", u"", {956, 46, 218, 60}, true, true, -1},
    {C(EditorsPanel), 176, u"", u"", {0, 240, 1192, 358}, true, true, -1},
    {C(PasteButton), 177, u"粘贴", u"", {470, 7, 103, 29}, true, true, -1},
    {C(CopyButton), 178, u"复制", u"", {1073, 7, 103, 29}, true, true, -1},
    {C(InputEditor), 179, u"", kSample, {15, 48, 558, 295}, true, true, -1},
    {C(ResultEditor), 180, u"", u"", {618, 48, 558, 295}, true, true, -1},
    {C(InputCaption), 181, u"待转换内容(支持拖放文件到下面)", u"", {15, 2, 558, 42}, true, true, -1},
    {C(ResultCaption), 182, u"转换结果", u"", {618, 2, 558, 42}, true, true, -1},
    {C(SwapButton), 183, u"交换", u"", {561, 173, 70, 48}, true, true, -1},
    {C(WrapButton), 184, u"折行", u"", {561, 336, 70, 48}, false, true, 0},
    {C(BannerStrip), 185, u"", u"", {0, 0, 1192, 93}, true, true, -1},
};
#undef C

class MainWindowTest : public MainWindowFixture {};

TEST_F(MainWindowTest, EveryControlAtTheDefaultSizeOnAFirstStart) {
  Window& w = Open();
  ASSERT_EQ(w.GetClientWidth(), 1192);
  ASSERT_EQ(w.GetClientHeight(), 720);
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(row.name);
    CQzuWinControl& c = row.control(w);
    ASSERT_TRUE(c.HasWindow());
    EXPECT_EQ(c.GetId(), row.id);
    EXPECT_EQ(CaptionOf(c), CWString(row.caption));
    EXPECT_EQ(TextOf(c), CWString(row.text));
    EXPECT_EQ(BoxOf(c), row.box);
    EXPECT_EQ(c.IsVisible(), row.shown);
    EXPECT_EQ(c.IsEnabled(), row.enabled);
    EXPECT_EQ(CheckedOf(c), row.checked);
  }
}

TEST_F(MainWindowTest, TitleFrameAndLooks) {
  Window& w = Open();
  EXPECT_EQ(w.GetCaption(), CWString(u"Tavelkin·Quillmere v2.3.0.0 - 支持拖动文件到批量转换按钮"));
  EXPECT_TRUE(w.GetWidget()->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(w.GetWidget()->windowFlags() & Qt::WindowMinimizeButtonHint);
  // Esc does not close the main window.
  QTest::keyClick(w.GetWidget(), Qt::Key_Escape);
  PumpFor(30);
  EXPECT_TRUE(w.HasWindow());

  EXPECT_EQ(w.SeparatorEdit.GetCueBanner(), CWString(u"默认换行"));
  EXPECT_EQ(w.SubSeparatorEdit.GetCueBanner(), CWString(u"无"));
  EXPECT_EQ(w.SubIndexEdit.GetToolTip(), CWString(u"设置子文本分隔符时，用于指定哪个子文本去重，从1开始"));
  EXPECT_EQ(w.FileFilterEdit.GetToolTip(), CWString(u"文件过滤"));
  EXPECT_EQ(w.WrapButton.toolTipText, CWString(u"编辑框是否自动折行显示"));
  EXPECT_EQ(w.SeparatorLabel.GetTextColour(), 0xFF8800u);
  EXPECT_EQ(w.DedupModeLabel.GetFontText(), CWString(u"微软雅黑, 11, 1, 0, 0, 0, 0"));
  EXPECT_EQ(w.NoneToggle.borderColours[1], 0x9F40FFu);
  EXPECT_EQ(w.SwapButton.backColours[0], 0xD9ECFFu);
  EXPECT_EQ(w.InputCaption.markerColour, 0x0000FFu);
  EXPECT_EQ(w.InputCaption.GetCursorShape(), rg_Ombrine_MFCJieMian_base::kCursorHand);
  EXPECT_EQ(w.InputCharsetList.GetDropDownItemCount(), 5);
  EXPECT_EQ(w.PinyinRatioList.GetDropDownItemText(6), CWString(u"100%"));
  EXPECT_EQ(w.TxtExtensionList.GetDropDownItemCount(), 3);
  // Both editors wrap at characters.
  EXPECT_EQ(w.InputEditor.Send(2269), 2);
  EXPECT_EQ(w.ResultEditor.Send(2269), 2);
  // The action buttons carry an image; the toggles none.
  EXPECT_FALSE(w.EncodeButton.svgData[0].IsEmpty());
  EXPECT_FALSE(w.BatchDecodeButton.svgData[0].IsEmpty());
  EXPECT_FALSE(w.PasteButton.svgData[0].IsEmpty());
  EXPECT_FALSE(w.CopyButton.svgData[0].IsEmpty());
  EXPECT_TRUE(w.NoneToggle.svgData[0].IsEmpty());
}

TEST_F(MainWindowTest, CoveredSiblingsShowTheOneMadeFirst) {
  Window& w = Open();
  auto topAt = [&](CQzuWinControl& parent, int x, int y) {
    return CQzuWinControl::FromWidget(parent.GetWidget()->childAt(x, y));
  };
  // The widened encode button lies over the silent decode button.
  QWidget* over = w.GetWidget()->childAt(w.DecodeButton.GetLeft() + 20, w.DecodeButton.GetTop() + 20);
  ASSERT_NE(over, nullptr);
  EXPECT_TRUE(w.EncodeButton.GetWidget()->isAncestorOf(over));
  // An edit shows over the label beside it that overlaps it.
  EXPECT_EQ(topAt(w.DedupPanel, 355, 40), &w.SubIndexEdit);
  // The parked panels lie over the banner.
  w.UrlToggle.PressButton();
  PumpUntil([&] { return w.EncodeIncludesPanel.IsVisible(); });
  QWidget* atPanel = w.GetWidget()->childAt(w.EncodeIncludesPanel.GetLeft() + 2, w.EncodeIncludesPanel.GetTop() + 2);
  EXPECT_TRUE(atPanel == w.EncodeIncludesPanel.GetWidget() || w.EncodeIncludesPanel.GetWidget()->isAncestorOf(atPanel));
}

TEST_F(MainWindowTest, ReplaceFormatEnablesThePinyinFormat) {
  Window& w = Open();
  EXPECT_FALSE(w.PinyinFormatEdit.IsEnabled());
  w.ReplaceFormatCheck.PressButton();
  EXPECT_EQ(w.ReplaceFormatCheck.checked, 1);
  EXPECT_TRUE(w.PinyinFormatEdit.IsEnabled());
  // Other checks leave it alone.
  w.ToneCheck.PressButton();
  w.StripBomCheck.PressButton();
  EXPECT_TRUE(w.PinyinFormatEdit.IsEnabled());
  w.ReplaceFormatCheck.PressButton();
  EXPECT_FALSE(w.PinyinFormatEdit.IsEnabled());
}

TEST_F(MainWindowTest, FirstActivationShowsTheAboutTextOnlyInAnEmptyEditor) {
  // The build's sample text stays.
  Window& first = Open();
  EXPECT_EQ(first.InputEditor.GetCodeEditText(), CWString(kSample));
  first.DestroyWindow();

  // An editor emptied before the first activation gets the about text.
  m_window = std::make_unique<Window>();
  ASSERT_EQ(m_window->CreateForm(), 1);
  m_window->InputEditor.SetCodeEditText(CWString());
  ASSERT_TRUE(PumpUntil([&] { return m_window->EncodeButton.GetButtonText() != u"编码"; }, 5000));
  const CWString shown = m_window->InputEditor.GetCodeEditText();
  EXPECT_EQ(shown, rg_Tavelkin_MingLingJi::AboutText());
  EXPECT_EQ(shown.Find(u"Tavelkin软件("), 0);
}

TEST_F(MainWindowTest, CreatedWindowIsTheTitleHintsWindowUntilItGoes) {
  Window& w = Open();
  EXPECT_EQ(MainWindowPointer(), &w);
  w.DestroyWindow();
  m_window.reset();
  EXPECT_EQ(MainWindowPointer(), nullptr);
}

TEST_F(MainWindowTest, CloseWritesAChangedIconCacheAndAnUnchangedOneNot) {
  const auto cache = folder.path() / "tavelkin.svgs";
  Window& w = Open();
  ASSERT_FALSE(w.WordEngine.started);
  w.GetWidget()->close();
  ASSERT_TRUE(PumpUntil([&] { return !w.HasWindow(); }));
  // The icons rendered for the buttons went into the cache.
  ASSERT_TRUE(std::filesystem::exists(cache));
  EXPECT_GT(std::filesystem::file_size(cache), 0u);
  std::filesystem::remove(cache);

  // The same icons again: nothing new, nothing written.
  Window& again = Open();
  again.GetWidget()->close();
  ASSERT_TRUE(PumpUntil([&] { return !again.HasWindow(); }));
  EXPECT_FALSE(std::filesystem::exists(cache));
  EXPECT_TRUE(hooks.boxes.empty());
}

TEST_F(MainWindowTest, StreamsAndCopiesItsMembersInOrder) {
  Window source;
  source.Direction = 1;
  source.ConvertedCount = 7;
  source.BatchRoot = u"/data/批量";
  source.PinyinFormatEdit.SetCaption(u"[拼音]");
  const std::string saved = StreamHex(source);

  CQzuMemStream out;
  source.SaveToStream(out);
  ASSERT_TRUE(out.Ok());
  Window loaded;
  CQzuMemStream in(out.Buffer());
  loaded.LoadFromStream(in);
  ASSERT_TRUE(in.Ok());
  EXPECT_EQ(loaded.Direction, 1);
  EXPECT_EQ(loaded.ConvertedCount, 7);
  EXPECT_EQ(loaded.BatchRoot, CWString(u"/data/批量"));
  EXPECT_EQ(loaded.PinyinFormatEdit.GetCaption(), CWString(u"[拼音]"));
  EXPECT_EQ(StreamHex(loaded), saved);

  Window copy;
  ASSERT_EQ(copy.CopyFrom(source), 1);
  EXPECT_EQ(StreamHex(copy), saved);
  EXPECT_FALSE(copy.IsEqual(source));
  EXPECT_TRUE(copy.IsEqual(copy));
  rg_Ombrine_MFCJieMian_base::CQzuWinForm other;
  EXPECT_EQ(copy.CopyFrom(other), 0);
}

}  // namespace
}  // namespace qzu_test
