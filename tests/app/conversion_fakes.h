#pragma once
// Stand-ins for the window around the conversion core.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/conversion_core.h"
#include "app/conversion_host.h"
#include "app/word_documents.h"
#include "test_support.h"
#include "textlib/pinyin_converter.h"

namespace qzu_test {

class FakeHost : public rg_Ombrine_app::IConversionHost {
 public:
  void SetTitleHint(const CWString& message, const CWString&) override { hints.push_back(message); }
  void ShowInformation(const CWString& text) override { messages.push_back(text); }
  std::vector<CWString> hints;
  std::vector<CWString> messages;
};

// A word processor that keeps documents in memory, keyed by path.
class FakeWord : public rg_Ombrine_app::IWordAutomation {
 public:
  bool StartWordEngine() override { return startable; }
  void SetVisible(bool) override {}
  void SetOpenLimit(int) override {}
  bool OpenWordDocument(const CWString& path) override {
    current = path;
    return startable;
  }
  CWString GetWordDocumentText() override { return documents[current.ToUtf8()]; }
  void PutWordDocumentText(const CWString& text) override { documents[current.ToUtf8()] = text; }
  void SaveWordDocument() override { ++saves; }
  bool LastCallFailed() const override { return saveFails; }

  bool startable = true;
  bool saveFails = false;
  int saves = 0;
  CWString current;
  std::map<std::string, CWString> documents;
};

// A conversion core with the stand-ins around it, its options and batch root
// open to the test.
struct CoreRig {
  rg_Ombrine_app::ConversionOptions options;
  CWString batchRoot;
  int32_t converted = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei pinyin;
  FakeHost host;
  FakeWord wordProcessor;
  rg_Ombrine_app::WordDocuments word{&wordProcessor, host};
  rg_Ombrine_app::ConversionCore core{options, batchRoot, converted, pinyin, word, host};
};

// The rig over a temporary folder that is the batch root.
struct Batch : CoreRig {
  qzu_test::TempDir dir;

  Batch() { batchRoot = CWString::FromSystemPath(dir.str()); }
  std::filesystem::path At(const char* relative) const { return dir.path() / std::filesystem::u8path(relative); }
  CWString Convert(const std::filesystem::path& file) {
    CWString text, result;
    core.ConvertOne(result, CWString::FromSystemPath(file.string()), 3, 1, text, false);
    return result;
  }
};

}  // namespace qzu_test
