#include "services/word_object_model.h"

#include <mutex>

#include "platform/office_engine.h"

namespace {

// A whole document's text, as Word's Document.Content range.
class WordRange : public CQzuDispatchInstance {
 public:
  explicit WordRange(uint64_t id) : m_id(id) {}
  int GetProperty(std::u16string_view name, CQzuComValue& result) override {
    if (!Is(name, u"Text")) return kComMemberNotFound;
    CWString text;
    int code = OfficeGetDocumentText(m_id, text);
    if (code == kOfficeOk) result = CQzuComValue::FromText(text);
    return code;
  }
  int PutProperty(std::u16string_view name, const CQzuComValue& value) override {
    if (!Is(name, u"Text")) return kComMemberNotFound;
    if (value.kind != CQzuComValue::Kind::Text) return kComBadArgument;
    return OfficeSetDocumentText(m_id, value.text);
  }

 private:
  uint64_t m_id;
};

class WordParagraphs : public CQzuDispatchInstance {
 public:
  explicit WordParagraphs(uint64_t id) : m_id(id) {}
  int GetProperty(std::u16string_view name, CQzuComValue& result) override {
    if (!Is(name, u"Count")) return kComMemberNotFound;
    int count = 0;
    int code = OfficeParagraphCount(m_id, count);
    if (code == kOfficeOk) result = CQzuComValue::FromInt(count);
    return code;
  }

 private:
  uint64_t m_id;
};

class WordDocument : public CQzuDispatchInstance {
 public:
  WordDocument(uint64_t id, const CWString& path) : m_id(id), m_path(path) {}
  int GetProperty(std::u16string_view name, CQzuComValue& result) override {
    if (Is(name, u"FullName")) {
      if (!OfficeDocumentIsOpen(m_id)) return kOfficeNoDocument;
      result = CQzuComValue::FromText(m_path);
      return kComOk;
    }
    CQzuRef<CQzuComInstance> made;
    if (Is(name, u"Content")) {
      made = CQzuRef<CQzuComInstance>::Adopt(new WordRange(m_id));
    } else if (Is(name, u"Paragraphs")) {
      made = CQzuRef<CQzuComInstance>::Adopt(new WordParagraphs(m_id));
    } else {
      return kComMemberNotFound;
    }
    if (!OfficeDocumentIsOpen(m_id)) return kOfficeNoDocument;
    result = CQzuComValue::FromObject(std::move(made));
    return kComOk;
  }
  int CallMethod(std::u16string_view name, const std::vector<CQzuComValue>& args, CQzuComValue&) override {
    if (Is(name, u"Save")) return OfficeSaveDocument(m_id);
    if (Is(name, u"Close")) {
      // Close(SaveChanges): false or 0 discards changes; without an argument
      // Word would ask, and a document nobody sees cannot ask, so it discards.
      bool save = false;
      if (!args.empty() && args[0].kind != CQzuComValue::Kind::Missing && !args[0].AsBool(save))
        return kComBadArgument;
      if (save) {
        int code = OfficeSaveDocument(m_id);
        if (code != kOfficeOk) return code;
      }
      return OfficeCloseDocument(m_id);
    }
    return kComMemberNotFound;
  }

 private:
  uint64_t m_id;
  CWString m_path;
};

class WordDocuments : public CQzuDispatchInstance {
 public:
  int GetProperty(std::u16string_view name, CQzuComValue& result) override {
    if (!Is(name, u"Count")) return kComMemberNotFound;
    result = CQzuComValue::FromInt(OfficeOpenDocumentCount());
    return kComOk;
  }
  // Open(FileName, ...): only the file name matters here; the other
  // arguments (read-only, password, visible...) have no meaning for a
  // document nobody sees.
  int CallMethod(std::u16string_view name, const std::vector<CQzuComValue>& args, CQzuComValue& result) override {
    if (!Is(name, u"Open")) return kComMemberNotFound;
    if (args.empty() || args[0].kind != CQzuComValue::Kind::Text) return kComBadArgument;
    uint64_t id = 0;
    int code = OfficeOpenDocument(args[0].text, id);
    if (code != kOfficeOk) return code;
    result = CQzuComValue::FromObject(CQzuRef<CQzuComInstance>::Adopt(new WordDocument(id, args[0].text)));
    return kComOk;
  }
};

class WordApplication : public CQzuDispatchInstance {
 public:
  int GetProperty(std::u16string_view name, CQzuComValue& result) override {
    if (Is(name, u"Visible")) {
      result = CQzuComValue::FromBool(m_visible);
      return kComOk;
    }
    if (Is(name, u"Documents")) {
      if (!OfficeEngineIsRunning()) return kOfficeNotRunning;
      result = CQzuComValue::FromObject(CQzuRef<CQzuComInstance>::Adopt(new WordDocuments));
      return kComOk;
    }
    return kComMemberNotFound;
  }
  // The office runs headless: it cannot be shown, and keeping it hidden is
  // what the program asks for.
  int PutProperty(std::u16string_view name, const CQzuComValue& value) override {
    if (!Is(name, u"Visible")) return kComMemberNotFound;
    if (!value.AsBool(m_visible)) return kComBadArgument;
    return kComOk;
  }

 private:
  bool m_visible = false;
};

}  // namespace

CQzuRef<CQzuComInstance> MakeWordApplicationInstance() {
  if (!OfficeEngineStart()) return {};
  return CQzuRef<CQzuComInstance>::Adopt(new WordApplication);
}

void RegisterWordApplicationClass() {
  static std::once_flag once;
  std::call_once(once, [] { RegisterComClass(kWordProgramId, &MakeWordApplicationInstance); });
}
