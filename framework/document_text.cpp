#include "framework/document_text.h"

#include <QTextBlock>

#include <algorithm>
#include <string>

CWString DocumentText(const QTextDocument& document) {
  // The raw text keeps every unit; the document separates its blocks with
  // U+2029, which is where the editor shows a line break.
  const QString raw = document.toRawText();
  std::u16string out;
  out.reserve(static_cast<size_t>(raw.size()) + static_cast<size_t>(document.blockCount()));
  for (QChar c : raw) {
    if (c == QChar::ParagraphSeparator) out += u"\r\n";
    else out += static_cast<char16_t>(c.unicode());
  }
  return CWString(std::move(out));
}

int TextIndexOf(const QTextDocument& document, int cursorPosition) {
  return cursorPosition + document.findBlock(cursorPosition).blockNumber();
}

int CursorPositionOf(const QTextDocument& document, int textIndex) {
  for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
    const int lineStart = b.position() + b.blockNumber();
    const int lineLength = b.length() - 1;  // without the break
    if (textIndex <= lineStart + lineLength || !b.next().isValid())
      return b.position() + std::clamp(textIndex - lineStart, 0, lineLength);
  }
  return 0;
}
