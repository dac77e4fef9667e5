#pragma once
// The office engine: the word processor behind the Word automation. It is a
// headless LibreOffice that this program starts once (COfficeProcess) and
// drives over UNO; later calls attach to the same office while it runs.
//
// Documents are named by ids (> 0) that stay valid until the document is
// closed or the office ends; the UNO objects themselves never leave this
// file, so nothing outside holds a reference into a bridge that may be gone.
// Calls return 0 on success or one of the negative codes below. UI thread.
#include <cstdint>
#include <string>

#include "common/wstring.h"

enum : int {
  kOfficeOk = 0,
  kOfficeNotRunning = -10,   // no office: missing, cannot start, or gone
  kOfficeNoDocument = -11,   // the id names no open document
  kOfficeCallFailed = -12,   // the office refused or failed the operation
  kOfficeUnreadable = -13,   // not a document the office can read as such
};

// Attaches to the office this program started, or starts one. False when
// there is no office program or it does not answer.
bool OfficeEngineStart();
bool OfficeEngineIsRunning();
// Closes every document without saving, ends the office and removes its
// profile. Runs by itself at exit once an office was started.
void OfficeEngineShutdown();
// Process id of the office this program started; -1 when none runs.
int OfficeEngineProcessId();
// The office program to start (soffice.bin); empty restores the default.
// Takes effect at the next start.
void SetOfficeProgram(const std::string& program);

// Opens the document at `path` (an existing file). A zero-byte file becomes a
// new, empty text document that is saved in the format its extension names.
// Opening a path that is already open gives the same id again.
int OfficeOpenDocument(const CWString& path, uint64_t& id);
// The text as Word's Content.Text gives it: every paragraph ends with CR
// (so an empty document gives "\r"). A line break inside a paragraph also
// reads back as CR (Word would give U+000B).
int OfficeGetDocumentText(uint64_t id, CWString& text);
// Replaces the whole text: CR, LF and CR LF end paragraphs, U+000B breaks a line.
int OfficeSetDocumentText(uint64_t id, const CWString& text);
int OfficeParagraphCount(uint64_t id, int& count);
// Saves to the document's own path; succeeds only when the file is there
// afterwards with the format its extension names (.docx: PK\3\4, .doc: D0 CF
// 11 E0).
int OfficeSaveDocument(uint64_t id);
// Closes without saving.
int OfficeCloseDocument(uint64_t id);
bool OfficeDocumentIsOpen(uint64_t id);
int OfficeOpenDocumentCount();
