#include "textlib/text_height.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

#include "platform/code_page_codec.h"

namespace {

// Bytes of a line in the system code page, as the old measurement counted them.
size_t CodePageBytes(const qzu::CharsetCodec& codec, std::u16string_view line, std::string& scratch) {
  scratch.clear();
  codec.Encode(line, scratch);
  return scratch.size();
}

}  // namespace

int EstimateTextHeight(const CWString& text, int width, rg_Tavelkin_MingLingJi::rg_TavelkinWeiZhiLei& cell) {
  if (cell.IsNull()) {
    cell.width = kDefaultCellWidth;
    cell.height = kDefaultCellHeight;
    if (cell.mode != 0) {
      cell.right = cell.left + kDefaultCellWidth - 1;
      cell.bottom = cell.top + kDefaultCellHeight - 1;
    }
  }
  const std::u16string_view all = text.View();
  if (all.empty()) return 0;

  // A cell without width or a box narrower than a cell would divide by zero:
  // such a box still shows one character per row.
  const int cellWidth = cell.width > 0 ? cell.width : kDefaultCellWidth;
  const long long perRow = std::max(1, width / cellWidth);
  const long long cellHeight = std::max(0, cell.height);

  const auto codec = qzu::SystemCodePageCodec();
  std::string scratch;
  long long rows = 0;
  auto addLine = [&](size_t bytes) { rows += (static_cast<long long>(bytes) + 1 + perRow - 1) / perRow; };
  size_t start = 0;
  for (;;) {
    const size_t pos = all.find(u"\r\n", start);
    if (pos == std::u16string_view::npos) {
      addLine(CodePageBytes(*codec, all.substr(start), scratch));
      break;
    }
    addLine(CodePageBytes(*codec, all.substr(start, pos - start), scratch));
    start = pos + 2;
    if (start == all.size()) {
      addLine(2);  // the final break counts as a line holding itself
      break;
    }
  }
  return static_cast<int>(std::min<long long>(rows * cellHeight, INT_MAX));
}
