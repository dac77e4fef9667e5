#pragma once
// Word's automation objects as this program uses them, answered by the
// office engine (a headless LibreOffice) instead of Word:
//   Application: "Visible" (get, put), "Documents" (get)
//   Documents:   "Open"(path, optional arguments...), "Count"
//   Document:    "Content", "Paragraphs", "FullName" (get); "Save"; "Close"(save changes)
//   Range:       "Text" (get, put) - a document's whole content
//   Paragraphs:  "Count"
// A document object names an engine document by id: once that document is
// closed (here or through another object of the same document) its calls
// fail with the engine's code.
#include "services/automation_call.h"

// The program id the Word automation asks for.
inline constexpr char16_t kWordProgramId[] = u"Word.Application";

// Attaches to the office this program started, or starts it; an empty
// reference when there is no office. Registered as the maker of "Word.Application".
CQzuRef<CQzuComInstance> MakeWordApplicationInstance();
// Registers that maker with CreateComObject (once; later calls do nothing).
void RegisterWordApplicationClass();
