#include "services/word_automation.h"

#include <unistd.h>

#include "common/mem.h"
#include "platform/hooks.h"
#include "services/automation_call.h"
#include "services/word_object_model.h"
#include "textlib/file_write.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinWordWenDangJiCaoZuoLei, CQzuObject,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei")

rg_TavelkinWordWenDangJiCaoZuoLei::rg_TavelkinWordWenDangJiCaoZuoLei(const rg_TavelkinWordWenDangJiCaoZuoLei& other)
    : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinWordWenDangJiCaoZuoLei& rg_TavelkinWordWenDangJiCaoZuoLei::operator=(
    const rg_TavelkinWordWenDangJiCaoZuoLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinWordWenDangJiCaoZuoLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinWordWenDangJiCaoZuoLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWordWenDangJiCaoZuoLei, source)
  application = src.application;
  documents = src.documents;
  currentDocument = src.currentDocument;
  paragraphs = src.paragraphs;
  started = src.started;
  openDocuments = src.openDocuments;  // clones each holder, sharing its document
  openedPaths = src.openedPaths;
  openLimit = src.openLimit;
  spare = src.spare;
  return 1;
}

void rg_TavelkinWordWenDangJiCaoZuoLei::Reset() {
  application.Clear();
  documents.Clear();
  currentDocument.Clear();
  paragraphs.Clear();
  started = 0;
  openDocuments.Empty();
  openedPaths.clear();
  openLimit = 0;
  spare.Clear();
}

void rg_TavelkinWordWenDangJiCaoZuoLei::SaveToStream(CQzuStream& stream) const {
  application.SaveToStream(stream);
  documents.SaveToStream(stream);
  currentDocument.SaveToStream(stream);
  paragraphs.SaveToStream(stream);
  stream.WriteInt32(started);
  openDocuments.SaveToStream(stream);
  stream.WriteUInt32(static_cast<uint32_t>(openedPaths.size()));
  for (const CWString& path : openedPaths) stream.WriteText(path);
  stream.WriteInt32(openLimit);
  spare.SaveToStream(stream);
}

void rg_TavelkinWordWenDangJiCaoZuoLei::LoadFromStream(CQzuStream& stream) {
  application.LoadFromStream(stream);
  documents.LoadFromStream(stream);
  currentDocument.LoadFromStream(stream);
  paragraphs.LoadFromStream(stream);
  int32_t flag;
  if (!stream.ReadInt32(flag)) return;
  started = flag;
  openDocuments.LoadFromStream(stream);
  uint32_t count;
  if (!stream.ReadUInt32(count)) return;
  std::set<CWString> paths;
  for (uint32_t i = 0; i < count; ++i) {
    CWString path;
    if (!stream.ReadText(path)) return;
    paths.insert(std::move(path));
  }
  openedPaths = std::move(paths);
  int32_t limit;
  if (!stream.ReadInt32(limit)) return;
  openLimit = limit;
  spare.LoadFromStream(stream);
}

int rg_TavelkinWordWenDangJiCaoZuoLei::StartWordEngine() {
  RegisterWordApplicationClass();
  // Attaching to the running office and starting one are the same request
  // to the engine; the holder keeps its old application when both fail.
  if (!CreateComObject(application, kWordProgramId, CWString())) return 0;
  ComGetObject(application, u"Documents", documents);
  started = 1;
  return 1;
}

int rg_TavelkinWordWenDangJiCaoZuoLei::OpenWordDocument(const CWString& path) {
  if (openLimit != 0 && openDocuments.GetCount() >= openLimit) {
    CloseAllWordDocuments();
    StartWordEngine();
  }
  // Word opens a missing document when it exists as an empty file. Whether
  // it could be made shows in the open below.
  if (!path.IsEmpty() && access(path.ToSystemPath().c_str(), F_OK) != 0) WriteFileBytes(path, CQzuMem());

  std::vector<CQzuComValue> args;
  args.push_back(CQzuComValue::FromText(path));
  for (int i = 0; i < 10; ++i) args.push_back(CQzuComValue::MissingArgument());
  args.push_back(CQzuComValue::FromBool(false));  // Visible
  ComCallMethodObject(documents, u"Open", args, currentDocument);
  if (documents.errorCode != 0) return 0;

  if (openedPaths.insert(path).second) openDocuments.Add(new CQzuComObject(currentDocument));
  ComGetObject(currentDocument, u"Paragraphs", paragraphs);
  return 1;
}

void rg_TavelkinWordWenDangJiCaoZuoLei::CloseAllWordDocuments() {
  for (int i = 0; i < openDocuments.GetCount(); ++i) {
    auto* holder = static_cast<CQzuComObject*>(openDocuments[static_cast<size_t>(i)]);
    if (!holder || holder->IsEmpty()) continue;
    ComCallMethod(*holder, u"Close", {CQzuComValue::FromBool(false)});
    holder->ReleaseInstance();
    holder->errorCode = 0;
    PumpPendingMessages();
  }
  openDocuments.Empty();
  openedPaths.clear();
}

void rg_TavelkinWordWenDangJiCaoZuoLei::GetWordDocumentText(CWString& text) {
  text.Empty();
  CQzuComObject content;
  if (ComGetObject(currentDocument, u"Content", content) != 0) return;
  ComGetText(content, u"Text", text);
}

CWString rg_TavelkinWordWenDangJiCaoZuoLei::GetWordDocumentText() {
  CWString text;
  GetWordDocumentText(text);
  return text;
}

}  // namespace rg_Tavelkin_MingLingJi
