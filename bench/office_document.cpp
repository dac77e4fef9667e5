// A small .docx read through the running office, as the batch reads Word
// documents: open, read the whole text, close. The first document pays for
// loading the office's Word filters; the ones after it show the steady cost
// (target: under 50 ms). Starting the office is measured on its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/office_engine.h"
#include "services/automation_call.h"
#include "services/word_automation.h"

namespace {

using rg_Tavelkin_MingLingJi::rg_TavelkinWordWenDangJiCaoZuoLei;

struct Fixture {
  std::string folder;
  CWString docx;
  rg_TavelkinWordWenDangJiCaoZuoLei word;
  bool ready = false;
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

// Written through the office's own document calls; reading a .docx then
// still has to load the Word import filter, which the first read pays for.
bool MakeDocument(Fixture& f) {
  const std::string path = f.folder + "/小文档.docx";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fclose(file);
  f.docx = CWString::FromUtf8(path);
  uint64_t id = 0;
  if (OfficeOpenDocument(f.docx, id) != kOfficeOk) return false;
  CWString text;
  for (int i = 0; i < 40; ++i) text += CWString(u"第") + CWString::FromInt(i) + CWString(u"段：字符编码转换 ABC 123\r");
  const bool ok = OfficeSetDocumentText(id, text) == kOfficeOk && OfficeSaveDocument(id) == kOfficeOk;
  OfficeCloseDocument(id);
  return ok;
}

void BM_OfficeStart(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    if (f.word.StartWordEngine() != 1) {
      state.SkipWithError("no office");
      return;
    }
  }
  char templ[] = "/tmp/qzu_bench_office_XXXXXX";
  if (!mkdtemp(templ)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  f.folder = templ;
  std::atexit([] { std::filesystem::remove_all(Shared().folder); });
  f.ready = MakeDocument(f);
  if (!f.ready) state.SkipWithError("could not write the document");
}

void OpenReadClose(benchmark::State& state, Fixture& f) {
  f.word.OpenWordDocument(f.docx);
  CWString text = f.word.GetWordDocumentText();
  f.word.CloseAllWordDocuments();
  if (text.GetLength() < 100) state.SkipWithError("text not read");
  benchmark::DoNotOptimize(text);
}

void BM_FirstDocxOpenReadClose(benchmark::State& state) {
  Fixture& f = Shared();
  if (!f.ready) {
    state.SkipWithError("no office");
    return;
  }
  for (auto _ : state) OpenReadClose(state, f);
}

void BM_NextDocxOpenReadClose(benchmark::State& state) {
  Fixture& f = Shared();
  if (!f.ready) {
    state.SkipWithError("no office");
    return;
  }
  for (auto _ : state) OpenReadClose(state, f);
}

}  // namespace

BENCHMARK(BM_OfficeStart)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstDocxOpenReadClose)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDocxOpenReadClose)->UseRealTime()->Unit(benchmark::kMillisecond);
