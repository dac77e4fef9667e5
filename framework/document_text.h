#pragma once
// The text of a multi-line editor (QPlainTextEdit, QTextEdit) as a Windows
// edit control gives it: lines joined by CR LF, every other unit as stored.
// Qt's own plain text ends lines with LF alone and turns no-break spaces into
// spaces; callers compare and store these texts unit by unit.
#include <QTextDocument>

#include "common/wstring.h"

CWString DocumentText(const QTextDocument& document);
// Positions in that text, where each line break counts two units, and the
// document's cursor positions, where it counts one. An index between the CR
// and the LF of a break is the start of the next line; indexes past the end
// are clamped.
int TextIndexOf(const QTextDocument& document, int cursorPosition);
int CursorPositionOf(const QTextDocument& document, int textIndex);
