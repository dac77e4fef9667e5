#pragma once
// "word到txt": Word documents to text or html (encode) and text or html files
// to ".docx" documents (decode), through the word processor behind the
// automation interface below (LibreOffice here).
#include "app/conversion_host.h"
#include "app/conversion_options.h"
#include "common/wstring.h"

namespace rg_Ombrine_app {

// The calls the Word functions make on the automation object.
class IWordAutomation {
 public:
  virtual ~IWordAutomation() = default;
  virtual bool StartWordEngine() = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void SetOpenLimit(int limit) = 0;
  // Opens (creating a missing file first) and makes it the current document.
  virtual bool OpenWordDocument(const CWString& path) = 0;
  virtual CWString GetWordDocumentText() = 0;
  virtual void PutWordDocumentText(const CWString& text) = 0;
  virtual void SaveWordDocument() = 0;
  // Whether the last automation call failed.
  virtual bool LastCallFailed() const = 0;
};

class WordDocuments {
 public:
  WordDocuments(IWordAutomation* automation, IConversionHost& host) : m_automation(automation), m_host(host) {}

  // True unless "word到txt" is chosen and the engine cannot be started (then
  // the engine message is shown).
  bool EnsureWordEngine(const ConversionOptions& options);
  // The document's text, laid out as the options say, or a message text
  // (then TextIsMessage()).
  CWString WordFileToText(const CWString& path, const ConversionOptions& options);
  // Whether the last WordFileToText answered with a message in place of a
  // document's text.
  bool TextIsMessage() const { return m_textIsMessage; }
  // Whether the word processor could not be started again during a
  // conversion, which stops a running batch.
  bool EngineLost() const { return m_engineLost; }
  // Writes `text` (html line tags turned into line breaks, tags filtered,
  // laid out) into the document at `target`; returns the message text.
  CWString TextToWordFile(CWString& text, const CWString& target, const ConversionOptions& options);

  static const char16_t kEngineFailed[];
  static const char16_t kRestartFailed[];
  static const char16_t kNotAWordFile[];
  static const char16_t kNoTargetFile[];
  static const char16_t kEmptyText[];
  static const char16_t kSaved[];
  static const char16_t kNotSaved[];

 private:
  IWordAutomation* m_automation;
  IConversionHost& m_host;
  bool m_textIsMessage = false;
  bool m_engineLost = false;

  // Stops the running batch for an engine that cannot be started again;
  // returns the message that says so.
  CWString LoseEngine();
};

}  // namespace rg_Ombrine_app
