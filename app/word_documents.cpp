#include "app/word_documents.h"

#include <filesystem>
#include <system_error>

#include "platform/hooks.h"
#include "textlib/html_to_text.h"

namespace rg_Ombrine_app {

const char16_t WordDocuments::kEngineFailed[] =
    u"初始化Word引擎失败，可能是你的系统没有安装微软Word或金山WPS！无法继续！";
const char16_t WordDocuments::kRestartFailed[] = u"初始化Word失败！";
const char16_t WordDocuments::kNotAWordFile[] =
    u"请选择Word文件(doc或docx)才能转换到文本！可以直接拖动Word文件到待转换内容，开始转换后即可预览到转换效果，"
    u"然后再批量转换";
const char16_t WordDocuments::kNoTargetFile[] = u"请选择文本文件(html或txt)才能转换到word文件！";
const char16_t WordDocuments::kEmptyText[] = u"文本为空";
const char16_t WordDocuments::kSaved[] = u"保存到Word成功！";
// Three attempts without the text ever reading back from the document.
const char16_t WordDocuments::kNotSaved[] = u"保存到Word失败！";

namespace {

bool PathExists(const CWString& path) {
  std::error_code ec;
  return !path.IsEmpty() && std::filesystem::exists(path.ToSystemPath(), ec);
}

void LayOut(CWString& text, bool typeset, bool paragraphs) {
  if (!typeset) return;
  CleanTextLines(text, paragraphs ? CWString(u"<p>") : CWString(), paragraphs ? CWString(u"</p>") : CWString());
}

}  // namespace

bool WordDocuments::EnsureWordEngine(const ConversionOptions& options) {
  if (options.function != ConversionFunction::WordToText) return true;
  if (!m_automation || !m_automation->StartWordEngine()) {
    m_host.ShowInformation(kEngineFailed);
    return false;
  }
  m_automation->SetVisible(false);
  m_automation->SetOpenLimit(100);
  return true;
}

CWString WordDocuments::LoseEngine() {
  BatchStopRequested = true;
  m_engineLost = true;
  return CWString(kRestartFailed);
}

CWString WordDocuments::WordFileToText(const CWString& path, const ConversionOptions& options) {
  m_textIsMessage = true;
  if (!PathExists(path)) return CWString(kNotAWordFile);
  CWString text;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (m_automation && m_automation->OpenWordDocument(path)) text = m_automation->GetWordDocumentText();
    if (!text.IsEmpty()) break;
    if (!EnsureWordEngine(options)) return LoseEngine();
  }
  m_textIsMessage = false;
  LayOut(text, options.wordLayout != WordLayout::Basic, options.wordLayout == WordLayout::TypesetP);
  return text;
}

CWString WordDocuments::TextToWordFile(CWString& text, const CWString& target, const ConversionOptions& options) {
  if (target.IsEmpty()) {
    text = CWString(kNoTargetFile);
    return text;
  }
  text.Replace(u"</p>", u"\r\n", true);
  text.Replace(u"<br>", u"\r\n", true);
  text.Replace(u"<br />", u"\r\n", true);
  FilterHtmlTags(text, CWString(), CWString(), CWString(u"head,script,style,object,select,code,button"), CWString());
  LayOut(text, options.wordLayout != WordLayout::Basic, false);
  if (!m_automation) return CWString(kRestartFailed);
  for (int attempt = 0; attempt < 3; ++attempt) {
    bool opened = m_automation->OpenWordDocument(target);
    CWString readBack;
    for (int put = 0; opened && put < 3; ++put) {
      m_automation->PutWordDocumentText(text);
      readBack = m_automation->GetWordDocumentText();
      if (text.IsEmpty() || !readBack.IsEmpty()) break;
      if (!EnsureWordEngine(options)) return LoseEngine();
      opened = m_automation->OpenWordDocument(target);
    }
    if (opened) {
      if (text.IsEmpty()) return CWString(kEmptyText);
      PumpPendingMessages();
      int saves = 0;
      do {
        m_automation->SaveWordDocument();
      } while (m_automation->LastCallFailed() && ++saves < 3);
      // Success only when the text reached the document and the save held.
      if (!readBack.IsEmpty() && !m_automation->LastCallFailed()) return CWString(kSaved);
    }
    if (!EnsureWordEngine(options)) return LoseEngine();
  }
  return CWString(kNotSaved);
}

}  // namespace rg_Ombrine_app
