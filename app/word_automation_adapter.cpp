#include "app/word_automation_adapter.h"

#include "services/automation_call.h"

namespace rg_Ombrine_app {

bool WordAutomationAdapter::StartWordEngine() {
  m_lastCallFailed = m_word.StartWordEngine() != 1;
  return !m_lastCallFailed;
}

void WordAutomationAdapter::SetVisible(bool visible) {
  m_lastCallFailed = ComPutProperty(m_word.application, u"Visible", CQzuComValue::FromBool(visible)) != kComOk;
}

bool WordAutomationAdapter::OpenWordDocument(const CWString& path) {
  m_lastCallFailed = m_word.OpenWordDocument(path) != 1;
  return !m_lastCallFailed;
}

CWString WordAutomationAdapter::GetWordDocumentText() { return m_word.GetWordDocumentText(); }

void WordAutomationAdapter::PutWordDocumentText(const CWString& text) {
  CQzuComObject content;
  m_lastCallFailed = ComGetObject(m_word.currentDocument, u"Content", content) != kComOk ||
                     ComPutProperty(content, u"Text", CQzuComValue::FromText(text)) != kComOk;
}

void WordAutomationAdapter::SaveWordDocument() {
  m_lastCallFailed = ComCallMethod(m_word.currentDocument, u"Save", {}) != kComOk;
}

}  // namespace rg_Ombrine_app
