#pragma once
// The Word functions' calls made on the shared Word automation object: the
// application's "Visible", the current document's "Content"."Text" and "Save".
#include "app/word_documents.h"
#include "services/word_automation.h"

namespace rg_Ombrine_app {

class WordAutomationAdapter : public IWordAutomation {
 public:
  explicit WordAutomationAdapter(rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei& word) : m_word(word) {}

  bool StartWordEngine() override;
  void SetVisible(bool visible) override;
  void SetOpenLimit(int limit) override { m_word.openLimit = limit; }
  bool OpenWordDocument(const CWString& path) override;
  CWString GetWordDocumentText() override;
  void PutWordDocumentText(const CWString& text) override;
  void SaveWordDocument() override;
  bool LastCallFailed() const override { return m_lastCallFailed; }

 private:
  rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei& m_word;
  bool m_lastCallFailed = false;
};

}  // namespace rg_Ombrine_app
