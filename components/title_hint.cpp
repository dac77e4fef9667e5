#include "components/title_hint.h"

#include <charconv>
#include <string>

#include "platform/hooks.h"

namespace {

CQzuWinControl* g_mainWindow = nullptr;

// The number a text starts with, after blanks; 0 when it starts with none.
double LeadingNumber(const CWString& text) {
  size_t i = 0;
  while (i < text.GetLength() && (text[i] == u' ' || (text[i] >= 9 && text[i] <= 13))) ++i;
  std::string ascii;
  for (; i < text.GetLength() && text[i] < 0x80; ++i) ascii += static_cast<char>(text[i]);
  const char* begin = ascii.c_str();
  if (*begin == '+') ++begin;
  double value = 0;
  const auto [end, error] = std::from_chars(begin, ascii.c_str() + ascii.size(), value);
  return error == std::errc() && end != begin ? value : 0;
}

}  // namespace

CQzuWinControl* MainWindowPointer() { return g_mainWindow; }
void SetMainWindowPointer(CQzuWinControl* window) { g_mainWindow = window; }

CWString& SavedTitle() {
  static CWString title;
  return title;
}

void SetTitleHint(const CWString& message, const CWString& seconds) {
  CQzuWinControl* window = MainWindowPointer();
  if (!window) {
    ShowMessageBox(u"还没有设置主窗口指针，无法设置标题提示", u"信息:", kMbIconInformation);
    return;
  }
  CWString& saved = SavedTitle();
  if (saved.IsEmpty()) saved = window->GetCaption();
  if (message.IsEmpty()) {
    window->SetCaption(saved);
    return;
  }
  CWString wait;
  if (LeadingNumber(seconds) > 0) wait = CWString(u"等待 ") + seconds + u" 秒后，";
  window->SetCaption(saved + u" - " + wait + message);
}
