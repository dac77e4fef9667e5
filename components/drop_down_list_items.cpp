// The drop-down list's items: the item text, the selection, the value and
// the colour.
#include "components/drop_down_list.h"

#include "components/drop_down_item_text.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian {

rg_TavelkinXiangMu* rg_TavelkinZuGeKuang1::ItemAt(int32_t index) const {
  if (index < 0 || index >= items.GetCount()) return nullptr;
  return static_cast<rg_TavelkinXiangMu*>(items[static_cast<size_t>(index)]);
}

void rg_TavelkinZuGeKuang1::SetDropDownItemsText(const CWString& text) {
  previousIndex = GetDropDownIndex();
  if (IsDropDownPairForm(text)) BuildDropDownItems(DropDownPairsToRows(text, parameterSeparator));
  else BuildDropDownItems(text);
  SelectDropDownItem(previousIndex);
}

void rg_TavelkinZuGeKuang1::BuildDropDownItems(const CWString& text) {
  ParseDropDownItemText(text, parameterSeparator, numbering, emptyIconZero, items);
  const int32_t requested = ItemAt(requestedIndex) ? requestedIndex : -1;
  if (requested == currentIndex) RedrawDropDownList(kDropDownQueued);
  else SelectDropDownItem(requested);
}

void rg_TavelkinZuGeKuang1::SelectDropDownItem(int32_t index) {
  requestedIndex = index;
  if (const rg_TavelkinXiangMu* item = ItemAt(index)) {
    currentIndex = index;
    m_edit.SetText(item->text);
  } else {
    currentIndex = -1;
    m_edit.SetText(CWString());
  }
  RedrawDropDownList(kDropDownQueued);
}

int32_t rg_TavelkinZuGeKuang1::GetDropDownIndex() const { return ItemAt(currentIndex) ? currentIndex : -1; }

CWString rg_TavelkinZuGeKuang1::GetDropDownItemText(int32_t index) const {
  const rg_TavelkinXiangMu* item = ItemAt(index);
  return item ? item->text : CWString();
}

int32_t rg_TavelkinZuGeKuang1::GetDropDownItemNumber(int32_t index) const {
  const rg_TavelkinXiangMu* item = ItemAt(index);
  return item ? item->number : 0;
}

CWString rg_TavelkinZuGeKuang1::GetDropDownValue() const {
  if (style == kDropDownListOnly) return GetDropDownItemText(currentIndex);
  return m_edit.GetText();
}

void rg_TavelkinZuGeKuang1::SetDropDownValue(const CWString& text) {
  m_edit.SetText(text);
  if (style != kDropDownListOnly) return;
  for (int i = 0; i < items.GetCount(); ++i) {
    if (ItemAt(i)->text == text) {
      SelectDropDownItem(i);
      return;
    }
  }
  SelectDropDownItem(text.ToInt32());
}

COLORREF rg_TavelkinZuGeKuang1::GetDropDownColour() const {
  const rg_TavelkinXiangMu* item = ItemAt(currentIndex);
  if (!item) return 0;
  if (currentIndex == 0) return customColour;
  return static_cast<COLORREF>(item->number);
}

void rg_TavelkinZuGeKuang1::SetDropDownColour(COLORREF colour) {
  customColour = colour;
  if (colourMode > 0) {
    currentIndex = 0;
    for (int i = 1; i < items.GetCount(); ++i) {
      if (static_cast<COLORREF>(ItemAt(i)->number) == colour) {
        currentIndex = i;
        break;
      }
    }
  }
  RedrawDropDownList(kDropDownQueued);
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian
