#pragma once
// rg_TavelkinWordWenDangJiCaoZuoLei: reads and writes Word documents (.doc,
// .docx) through Word's automation objects for the "word到txt" function. Here
// the word processor is the office engine (a headless LibreOffice this
// program starts once and attaches to later).
//
// It keeps every document it opened until CloseAllWordDocuments; past the
// open limit it closes them all and attaches again before opening the next.
// The application uses the members directly: it puts the application's
// "Visible", and writes and saves through the current document.
// UI thread only.
#include <cstdint>
#include <set>

#include "common/arrays.h"
#include "common/object.h"
#include "services/com_object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinWordWenDangJiCaoZuoLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWordWenDangJiCaoZuoLei)
 public:
  rg_TavelkinWordWenDangJiCaoZuoLei() = default;
  rg_TavelkinWordWenDangJiCaoZuoLei(const rg_TavelkinWordWenDangJiCaoZuoLei& other);
  rg_TavelkinWordWenDangJiCaoZuoLei& operator=(const rg_TavelkinWordWenDangJiCaoZuoLei& other);
  // Lets go of its objects; closes no document and leaves the office running.
  ~rg_TavelkinWordWenDangJiCaoZuoLei() override = default;

  // Holds live automation objects: equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies every member; the copies share the automation objects.
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // 1 when the application is attached and its Documents fetched; 0 when
  // there is no office and none can be started.
  int StartWordEngine();
  // 1 when the document at `path` is open and current (a missing file is
  // first created empty); 0 when the open failed.
  int OpenWordDocument(const CWString& path);
  // Closes every remembered document without saving and forgets them.
  void CloseAllWordDocuments();
  // The current document's whole text (Content.Text: paragraphs end with
  // CR); empty when any step fails.
  void GetWordDocumentText(CWString& text);
  CWString GetWordDocumentText();

  CQzuComObject application;
  CQzuComObject documents;
  CQzuComObject currentDocument;
  CQzuComObject paragraphs;
  int32_t started = 0;          // 1 after a successful StartWordEngine; nothing reads it
  CQzuObjectArray openDocuments;  // one CQzuComObject per distinct path opened
  std::set<CWString> openedPaths; // exact, case-sensitive paths of those documents
  int32_t openLimit = 0;        // 0: no limit; the application sets 100
  CQzuComObject spare;          // carried in copies and streams only
};

}  // namespace rg_Tavelkin_MingLingJi
