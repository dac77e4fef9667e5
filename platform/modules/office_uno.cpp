// The office engine's UNO side (platform/office_uno.h), built as a module
// that the engine opens on its first start.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/ustring.hxx>

#include "platform/office_engine.h"
#include "platform/office_uno.h"
#include "platform/ticks.h"

using namespace com::sun::star;

namespace {

// The extension of a path's file name in lower case, without the dot, as the
// office's filters are chosen by it. A variant of PathExtension
// (textlib/path_helpers.h), which this layer cannot use: it works on the
// UTF-8 path the office gets and folds the case.
std::string LowerCaseExtensionOf(const std::string& path) {
  size_t slash = path.rfind('/');
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return ext;
}

// The first bytes a saved file must start with for its extension; empty
// when the format has no fixed mark.
std::string MagicFor(const std::string& ext) {
  if (ext == "docx") return std::string("PK\x03\x04", 4);
  if (ext == "doc") return std::string("\xD0\xCF\x11\xE0", 4);
  return {};
}

bool FileStartsWith(const std::string& path, const std::string& magic) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return false;
  if (magic.empty()) return true;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string head(magic.size(), '\0');
  size_t got = std::fread(head.data(), 1, head.size(), f);
  std::fclose(f);
  return got == magic.size() && head == magic;
}

// file:// URL of an absolute path, every byte outside the unreserved set
// percent-encoded (the office reads the escapes as UTF-8).
std::string FileUrlOf(const std::string& path) {
  static const char hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '.' || c == '_' || c == '~' || c == '/') {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += hex[c >> 4];
      url += hex[c & 15];
    }
  }
  return url;
}

// `text` with each CR LF, lone CR and lone LF as one CR (a paragraph mark),
// and each VT (Word's line break inside a paragraph) as `verticalTab`.
std::u16string WithParagraphMarks(std::u16string_view text, char16_t verticalTab) {
  std::u16string out;
  out.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += u'\r';
    } else if (c == u'\n') {
      out += u'\r';
    } else {
      out += c == u'\x0b' ? verticalTab : c;
    }
  }
  return out;
}

// Word's paragraph form from the office's. The office gives the whole text
// in one string with LF after every paragraph but the last; a line break
// inside a paragraph comes as LF too, so it reads back as a paragraph mark.
// Asking paragraph by paragraph would tell them apart, at one round trip to
// the office per paragraph, which large documents cannot afford.
std::u16string ToWordText(std::u16string_view office) {
  std::u16string out = WithParagraphMarks(office, u'\x0b');
  out += u'\r';  // the last paragraph's mark, which Word always gives
  return out;
}

// The office's form of a text to set: it starts a new paragraph at each CR
// and takes LF as a line break inside the paragraph.
std::u16string FromWordText(std::u16string_view word) { return WithParagraphMarks(word, u'\n'); }

struct OfficeDocument {
  uno::Reference<lang::XComponent> component;
  std::string path;
  rtl::OUString url;
  std::string extension;
  bool unsavedNew = false;  // made from a zero-byte file, never stored yet
};

struct OfficeUno {
  IOfficeProcessControl* process = nullptr;
  uno::Reference<uno::XComponentContext> local;
  uno::Reference<uno::XComponentContext> remote;
  uno::Reference<frame::XDesktop2> desktop;
  std::map<uint64_t, OfficeDocument> documents;
  uint64_t nextId = 1;
};

// Never destroyed: the UNO references must not be released by a static
// destructor after the UNO runtime's own statics are gone.
OfficeUno& Uno() {
  static OfficeUno* uno = new OfficeUno;
  return *uno;
}

rtl::OUString ToOU(std::u16string_view text) {
  return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.data()), static_cast<sal_Int32>(text.size()));
}
rtl::OUString ToOU(const std::string& utf8) {
  return rtl::OUString(utf8.data(), static_cast<sal_Int32>(utf8.size()), RTL_TEXTENCODING_UTF8);
}
std::u16string_view FromOU(const rtl::OUString& text) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text.getStr()), static_cast<size_t>(text.getLength()));
}

beans::PropertyValue Property(const char* name, const uno::Any& value) {
  beans::PropertyValue p;
  p.Name = rtl::OUString::createFromAscii(name);
  p.Value = value;
  return p;
}

// Filter that writes the format an extension names.
rtl::OUString FilterFor(const std::string& ext) {
  if (ext == "doc") return "MS Word 97";
  if (ext == "odt") return "writer8";
  if (ext == "rtf") return "Rich Text Format";
  if (ext == "txt") return "Text (encoded)";
  if (ext == "htm" || ext == "html") return "HTML (StarWriter)";
  return "MS Word 2007 XML";
}

void Forget() {
  OfficeUno& e = Uno();
  e.documents.clear();
  e.desktop.clear();
  e.remote.clear();
}

bool Bootstrap(const std::string& program) {
  OfficeUno& e = Uno();
  if (e.local.is()) return true;
  // The UNO runtime finds its types and services through this variable and
  // crashes without it.
  std::string folder = program.substr(0, program.rfind('/'));
  std::string rc = folder + "/fundamentalrc";
  if (access(rc.c_str(), R_OK) != 0) return false;
  if (!std::getenv("URE_BOOTSTRAP")) setenv("URE_BOOTSTRAP", ("vnd.sun.star.pathname:" + rc).c_str(), 0);
  try {
    e.local = cppu::defaultBootstrap_InitialComponentContext();
  } catch (...) {
    e.local.clear();
  }
  return e.local.is();
}

bool Connect() {
  OfficeUno& e = Uno();
  try {
    uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(e.local);
    const rtl::OUString address = ToOU(e.process->ConnectAddress());
    const uint64_t deadline = GetTickCount64() + 60000;
    int respawns = 0;
    while (!e.remote.is()) {
      try {
        e.remote.set(resolver->resolve(address), uno::UNO_QUERY);
        if (e.remote.is()) break;
      } catch (const connection::NoConnectException&) {
      }
      if (!e.process->IsRunning()) {
        // A new profile can make the office ask to be started again.
        if (e.process->ExitCode() != 81 || ++respawns > 3 || !e.process->Respawn()) break;
      }
      if (GetTickCount64() > deadline) break;
      SleepMilliseconds(50);
    }
    if (e.remote.is()) e.desktop = frame::Desktop::create(e.remote);
  } catch (...) {
    e.remote.clear();
    e.desktop.clear();
  }
  return e.desktop.is();
}

bool Connected() { return Uno().desktop.is(); }

bool Alive() {
  OfficeUno& e = Uno();
  if (!e.desktop.is()) return false;
  if (!e.process->IsRunning()) return false;
  try {
    e.desktop->getCurrentComponent();
    return true;
  } catch (...) {
    return false;
  }
}

OfficeDocument* Find(OfficeUno& e, uint64_t id) {
  auto it = e.documents.find(id);
  return it == e.documents.end() ? nullptr : &it->second;
}

void CloseComponent(const uno::Reference<lang::XComponent>& component) {
  try {
    uno::Reference<util::XCloseable> closeable(component, uno::UNO_QUERY);
    if (closeable.is()) {
      closeable->close(true);
    } else if (component.is()) {
      component->dispose();
    }
  } catch (...) {
  }
}

void CloseAllAndTerminate() {
  OfficeUno& e = Uno();
  if (e.desktop.is() && e.process->IsRunning()) {
    for (auto& [id, doc] : e.documents) CloseComponent(doc.component);
    e.documents.clear();
    try {
      e.desktop->terminate();
    } catch (...) {
    }
  }
}

int OpenDocument(const std::string& full, int64_t size, uint64_t& id) {
  OfficeUno& e = Uno();
  const rtl::OUString url = ToOU(FileUrlOf(full));
  for (auto& [openId, doc] : e.documents) {
    if (doc.url == url) {
      id = openId;
      return kOfficeOk;
    }
  }

  OfficeDocument doc;
  doc.path = full;
  doc.url = url;
  doc.extension = LowerCaseExtensionOf(full);
  try {
    uno::Reference<frame::XComponentLoader> loader(e.desktop, uno::UNO_QUERY_THROW);
    uno::Sequence<beans::PropertyValue> args(1);
    args.getArray()[0] = Property("Hidden", uno::Any(true));
    if (size == 0) {
      // Word opens an empty file as a new document; the office would not.
      doc.component = loader->loadComponentFromURL("private:factory/swriter", "_blank", 0, args);
      doc.unsavedNew = true;
    } else {
      // Naming the filter of a Word file spares the office its type
      // detection; a file that is not what its name says (an old "doc" that
      // is really RTF or html) is opened again with detection.
      const rtl::OUString filter = doc.extension == "docx" ? rtl::OUString("MS Word 2007 XML")
                                   : doc.extension == "doc" ? rtl::OUString("MS Word 97")
                                                            : rtl::OUString();
      if (!filter.isEmpty()) {
        uno::Sequence<beans::PropertyValue> named(2);
        named.getArray()[0] = args[0];
        named.getArray()[1] = Property("FilterName", uno::Any(filter));
        try {
          doc.component = loader->loadComponentFromURL(url, "_blank", 0, named);
        } catch (const uno::Exception&) {
          doc.component.clear();
        }
      }
      if (!doc.component.is()) doc.component = loader->loadComponentFromURL(url, "_blank", 0, args);
    }
  } catch (...) {
    doc.component.clear();
  }
  if (!doc.component.is()) return Alive() ? kOfficeCallFailed : kOfficeNotRunning;

  // Only text documents. A damaged Word file is not refused by the office:
  // it falls back to reading the bytes as plain text, which Word would not do.
  bool usable = false;
  try {
    uno::Reference<text::XTextDocument> text(doc.component, uno::UNO_QUERY);
    usable = text.is();
    if (usable && !doc.unsavedNew && (doc.extension == "doc" || doc.extension == "docx")) {
      uno::Reference<frame::XModel> model(doc.component, uno::UNO_QUERY_THROW);
      rtl::OUString filter;
      for (const beans::PropertyValue& p : model->getArgs()) {
        if (p.Name == "FilterName") p.Value >>= filter;
      }
      usable = !filter.startsWith("Text");
    }
  } catch (...) {
    usable = false;
  }
  if (!usable) {
    CloseComponent(doc.component);
    return kOfficeUnreadable;
  }
  id = e.nextId++;
  e.documents.emplace(id, std::move(doc));
  return kOfficeOk;
}

int GetText(uint64_t id, std::u16string& text) {
  OfficeDocument* doc = Find(Uno(), id);
  if (!doc) return kOfficeNoDocument;
  try {
    uno::Reference<text::XTextDocument> td(doc->component, uno::UNO_QUERY_THROW);
    rtl::OUString all = td->getText()->getString();
    text = ToWordText(FromOU(all));
    return kOfficeOk;
  } catch (...) {
    return kOfficeCallFailed;
  }
}

int SetText(uint64_t id, std::u16string_view text) {
  OfficeDocument* doc = Find(Uno(), id);
  if (!doc) return kOfficeNoDocument;
  try {
    uno::Reference<text::XTextDocument> td(doc->component, uno::UNO_QUERY_THROW);
    td->getText()->setString(ToOU(FromWordText(text)));
    return kOfficeOk;
  } catch (...) {
    return kOfficeCallFailed;
  }
}

int ParagraphCount(uint64_t id, int& count) {
  OfficeDocument* doc = Find(Uno(), id);
  if (!doc) return kOfficeNoDocument;
  try {
    uno::Reference<text::XTextDocument> td(doc->component, uno::UNO_QUERY_THROW);
    uno::Reference<container::XEnumerationAccess> access(td->getText(), uno::UNO_QUERY_THROW);
    uno::Reference<container::XEnumeration> items = access->createEnumeration();
    while (items->hasMoreElements()) {
      items->nextElement();
      ++count;
    }
    return kOfficeOk;
  } catch (...) {
    count = 0;
    return kOfficeCallFailed;
  }
}

int Save(uint64_t id) {
  OfficeDocument* doc = Find(Uno(), id);
  if (!doc) return kOfficeNoDocument;
  try {
    uno::Reference<frame::XStorable> storable(doc->component, uno::UNO_QUERY_THROW);
    if (doc->unsavedNew) {
      uno::Sequence<beans::PropertyValue> args(2);
      args.getArray()[0] = Property("FilterName", uno::Any(FilterFor(doc->extension)));
      args.getArray()[1] = Property("Overwrite", uno::Any(true));
      storable->storeAsURL(doc->url, args);
      doc->unsavedNew = false;
    } else {
      storable->store();
    }
  } catch (...) {
    return kOfficeCallFailed;
  }
  return FileStartsWith(doc->path, MagicFor(doc->extension)) ? kOfficeOk : kOfficeCallFailed;
}

int Close(uint64_t id) {
  OfficeUno& e = Uno();
  auto it = e.documents.find(id);
  if (it == e.documents.end()) return kOfficeNoDocument;
  uno::Reference<lang::XComponent> component = it->second.component;
  e.documents.erase(it);
  CloseComponent(component);
  return kOfficeOk;
}

bool IsOpen(uint64_t id) { return Find(Uno(), id) != nullptr; }

int OpenCount() { return static_cast<int>(Uno().documents.size()); }

}  // namespace

extern "C" __attribute__((visibility("default"))) const OfficeUnoFunctions* qzu_office_uno_functions(
    IOfficeProcessControl& process) {
  static const OfficeUnoFunctions functions = {&Bootstrap, &Connect, &Connected, &Alive, &Forget,
                                               &CloseAllAndTerminate, &OpenDocument, &GetText, &SetText,
                                               &ParagraphCount, &Save, &Close, &IsOpen, &OpenCount};
  Uno().process = &process;
  return &functions;
}
