// Big texts in the code edit box beside a bare QScintilla given the same
// text with the same settings (a line-number margin of the same width,
// UTF-8, the same font and size; character wrap as the main window asks, and
// no wrap, which the box uses above its wrap limit), on the offscreen
// platform.
// Texts: 10 MB of Chinese prose in lines of about 60 bytes, and one 13 MB
// line (the Base64 of 10 MB). Measured per side:
//   Set     the text replaces a small one and the editor has painted
//   Get     the whole text read back as UTF-16
//   ToEnd   after Set, the caret to the end of the text and painted (every
//           line before it is then laid out)
// and through the real main window: a 10 MB file named in the input
// converted with "无", "繁体" and "Base64" (click to result painted), and
// "粘贴" of 10 MB.
#include <benchmark/benchmark.h>

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "app/main_window.h"
#include "bench/bench_files.h"
#include "common/dpi.h"
#include "components/code_edit_with_menu.h"
#include "framework/application_startup.h"
#include "framework/win_form.h"
#include "platform/hooks.h"

namespace {

namespace fs = std::filesystem;
using rg_TavelkinMingLingJi_ChangYongJiChengLei::rg_TavelkinHuoHuaBianJiKuang1;

constexpr size_t kTextBytes = 10u << 20;
constexpr int kEditorWidth = 560;
constexpr int kEditorHeight = 301;
constexpr char16_t kEditorFont[] = u"微软雅黑, 11, 0, 0, 0, 0, 0";
constexpr char kSmallText[] = "中國ABC123\r\n华夏ABC123\r\n";

enum : unsigned {
  kSciSetMarginTypeN = 2240,
  kSciSetMarginWidthN = 2242,
  kSciSetMarginMaskN = 2244,
  kSciSetMarginBackN = 2250,
  kSciStyleSetFore = 2051,
  kSciStyleSetBack = 2052,
  kSciStyleSetSize = 2055,
  kSciStyleSetFont = 2056,
  kSciStyleClearAll = 2050,
  kSciDocumentEnd = 2318,
  kSciGetLineCount = 2154,
  kSciSetScrollWidthTracking = 2516,
  kSciSetWrapMode = 2268,
  kSciSetCodePage = 2037,
};
constexpr int kWrapChar = 2;

// Prose lines of about 60 bytes up to 10 MB of UTF-8.
const QString& ManyLines() {
  static const QString text = [] {
    std::mt19937 rng(11);
    QString t;
    size_t bytes = 0;
    while (bytes < kTextBytes) {
      const std::u16string& piece = qzu_bench::kProsePieces[rng() % 5];
      t += QString::fromStdU16String(piece);
      bytes += QString::fromStdU16String(piece).toUtf8().size();
    }
    return t;
  }();
  return text;
}

// The Base64 of 10 MB: one line of about 13.3 MB.
const QString& OneLine() {
  static const QString text = [] {
    std::mt19937 rng(12);
    QByteArray raw(static_cast<qsizetype>(kTextBytes), '\0');
    for (char& c : raw) c = static_cast<char>(rng());
    return QString::fromLatin1(raw.toBase64());
  }();
  return text;
}

const QString& TextOf(int kind) { return kind == 0 ? ManyLines() : OneLine(); }
void NameText(benchmark::State& state, int kind) {
  std::string label = kind == 0 ? "10 MB in lines" : "one 13 MB line";
  // The bare peers: range(1) is their wrap mode.
  if (state.range(1) >= 0) label += state.range(1) == kWrapChar ? ", bare, wrap char" : ", bare, no wrap";
  state.SetLabel(label);
}

// Lets the widget paint what it now shows, as the event loop would.
void Painted(QWidget* w) {
  w->repaint();
  QCoreApplication::processEvents();
}

// The code edit box as the main window makes its editors.
struct OurEditor {
  CQzuWinForm form;
  rg_TavelkinHuoHuaBianJiKuang1 box;
  OurEditor() {
    form.CreateForm(nullptr, 0, 0, kEditorWidth + 40, kEditorHeight + 40);
    box.SetFontText(kEditorFont);
    box.Create(&form, 15, 15, kEditorWidth, kEditorHeight, 179);
    box.SetCodeEditText(CWString::FromUtf8(kSmallText));
    box.Send(kSciSetWrapMode, kWrapChar);
    QCoreApplication::processEvents();
  }
  QWidget* Widget() { return box.GetWidget(); }
  void Set(const CWString& text) { box.SetCodeEditText(text); }
  CWString Get() const { return box.GetCodeEditText(); }
  intptr_t Send(unsigned m, uintptr_t w = 0, intptr_t l = 0) { return box.Send(m, w, l); }
};

// A bare QScintilla with the same settings, sent the same messages.
struct BareEditor {
  QWidget top;
  QsciScintilla* editor;
  explicit BareEditor(int wrap = kWrapChar) : editor(new QsciScintilla(&top)) {
    top.resize(kEditorWidth + 40, kEditorHeight + 40);
    editor->setGeometry(15, 15, kEditorWidth, kEditorHeight);
    editor->SendScintilla(kSciSetCodePage, 65001);
    for (int style : {32, 33}) {
      editor->SendScintilla(kSciStyleSetFont, style, "Microsoft YaHei");
      editor->SendScintilla(kSciStyleSetSize, style, 11);
      if (style == 32) editor->SendScintilla(kSciStyleClearAll);
    }
    editor->SendScintilla(kSciSetMarginTypeN, 1, 1);
    editor->SendScintilla(kSciSetMarginBackN, 1, 0x808080);
    editor->SendScintilla(kSciSetMarginMaskN, 1, 1);
    editor->SendScintilla(kSciStyleSetBack, 33, 0x808080);
    editor->SendScintilla(kSciStyleSetFore, 33, 0x00FFFF);
    editor->SendScintilla(kSciSetScrollWidthTracking, 1);
    editor->SendScintilla(kSciSetWrapMode, wrap);
    editor->setText(QString::fromUtf8(kSmallText));
    top.show();
    QCoreApplication::processEvents();
  }
  QWidget* Widget() { return editor; }
  void Set(const QString& text) {
    editor->setText(text);
    // The line-number margin as wide as the code edit box makes it.
    const long lines = editor->SendScintilla(kSciGetLineCount);
    editor->SendScintilla(kSciSetMarginWidthN, 1, QString::number(lines).size() * 9 + 5);
  }
  QString Get() const { return editor->text(); }
  intptr_t Send(unsigned m, uintptr_t w = 0, intptr_t l = 0) { return editor->SendScintilla(m, w, l); }
};

CWString Ours(const QString& text) { return CWString(text.toStdU16String()); }

void BM_Set_Ours(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const CWString text = Ours(TextOf(kind));
  OurEditor e;
  for (auto _ : state) {
    e.Set(text);
    Painted(e.Widget());
    state.PauseTiming();
    e.Set(CWString::FromUtf8(kSmallText));
    Painted(e.Widget());
    state.ResumeTiming();
  }
  NameText(state, kind);
}

void BM_Set_Bare(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  const QString& text = TextOf(kind);
  BareEditor e(static_cast<int>(state.range(1)));
  for (auto _ : state) {
    e.Set(text);
    Painted(e.Widget());
    state.PauseTiming();
    e.Set(QString::fromUtf8(kSmallText));
    Painted(e.Widget());
    state.ResumeTiming();
  }
  NameText(state, kind);
}

void BM_Get_Ours(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  OurEditor e;
  e.Set(Ours(TextOf(kind)));
  Painted(e.Widget());
  size_t units = 0;
  for (auto _ : state) units = e.Get().GetLength();
  if (units != static_cast<size_t>(TextOf(kind).size())) state.SkipWithError("the text read back differs");
  NameText(state, kind);
}

void BM_Get_Bare(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  BareEditor e(static_cast<int>(state.range(1)));
  e.Set(TextOf(kind));
  Painted(e.Widget());
  qsizetype units = 0;
  for (auto _ : state) units = e.Get().size();
  if (units != TextOf(kind).size()) state.SkipWithError("the text read back differs");
  NameText(state, kind);
}

template <class Editor, class Text>
void ToEnd(benchmark::State& state, Editor& e, const Text& text) {
  for (auto _ : state) {
    e.Set(text);
    Painted(e.Widget());
    e.Send(kSciDocumentEnd);
    Painted(e.Widget());
  }
}

void BM_ToEnd_Ours(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  OurEditor e;
  ToEnd(state, e, Ours(TextOf(kind)));
  NameText(state, kind);
}

void BM_ToEnd_Bare(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  BareEditor e(static_cast<int>(state.range(1)));
  ToEnd(state, e, TextOf(kind));
  NameText(state, kind);
}

// Ours: (text, -1); the bare peers: (text, wrap mode), with the character
// wrap the main window asks for and without wrapping, which the box uses for
// texts above its wrap limit.
#define OUR_BENCH(fn) \
  BENCHMARK(fn)->Args({0, -1})->Args({1, -1})->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()
#define BARE_BENCH(fn)                                                                                   \
  BENCHMARK(fn)->ArgsProduct({{0, 1}, {kWrapChar, 0}})->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime()
OUR_BENCH(BM_Set_Ours);
BARE_BENCH(BM_Set_Bare);
OUR_BENCH(BM_Get_Ours);
BARE_BENCH(BM_Get_Bare);
OUR_BENCH(BM_ToEnd_Ours);
BARE_BENCH(BM_ToEnd_Bare);

// ---- through the main window ----

using rg_Ombrine_app::ConversionFunction;
using rg_Ombrine_app::rg_ZhuChuangKouLei;

// The 10 MB prose file the input names, as UTF-8.
const fs::path& ProseFile() {
  static const fs::path path = [] {
    const fs::path p = qzu_bench::Scratch("qzu_bench_editors.txt");
    const QByteArray bytes = ManyLines().toUtf8();
    std::ofstream(p, std::ios::binary).write(bytes.constData(), bytes.size());
    return p;
  }();
  return path;
}

struct Window {
  std::unique_ptr<rg_ZhuChuangKouLei> w = std::make_unique<rg_ZhuChuangKouLei>();
  Window() {
    w->CreateForm();
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < 300) QCoreApplication::processEvents();
  }
  ~Window() {
    w->DestroyWindow();
    w.reset();
  }
  void Choose(ConversionFunction function) { w->OnButtonClick(&w->FunctionToggle(function)); }
  void Click(CQzuObject& button) {
    w->OnButtonClick(&button);
    Painted(w->ResultEditor.GetWidget());
    Painted(w->InputEditor.GetWidget());
  }
  void Reset() {
    w->ResultEditor.SetCodeEditText(CWString::FromUtf8(kSmallText));
    w->InputEditor.SetCodeEditText(CWString::FromUtf8(kSmallText));
    QCoreApplication::processEvents();
  }
};

void BM_WindowClick(benchmark::State& state) {
  const auto function = static_cast<ConversionFunction>(state.range(0));
  const CWString path = CWString::FromUtf8(ProseFile().string());
  Window window;
  window.Choose(function);
  for (auto _ : state) {
    state.PauseTiming();
    window.Reset();
    window.w->InputEditor.SetCodeEditText(path);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window.Click(window.w->EncodeButton);
  }
  if (window.w->ResultEditor.GetCodeEditText().GetLength() < 1000) state.SkipWithError("no result in the editor");
  state.SetLabel(rg_Ombrine_app::FunctionCaption(function).ToUtf8());
}
BENCHMARK(BM_WindowClick)
    ->Arg(static_cast<int>(ConversionFunction::None))
    ->Arg(static_cast<int>(ConversionFunction::Traditional))
    ->Arg(static_cast<int>(ConversionFunction::Base64))
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

void BM_WindowPaste(benchmark::State& state) {
  Window window;
  SetClipboardText(Ours(ManyLines()));
  for (auto _ : state) {
    state.PauseTiming();
    window.Reset();
    state.ResumeTiming();
    window.Click(window.w->PasteButton);
  }
  if (window.w->InputEditor.GetCodeEditText().GetLength() < 1000) state.SkipWithError("nothing pasted");
  state.SetLabel("10 MB in lines");
}
BENCHMARK(BM_WindowPaste)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  PrepareQtEnvironment();
  QApplication app(argc, argv);
  InitializeFramework();  // the CJK font for "Microsoft YaHei", as the program has it
  SetDpiFactor(1.0);
  const fs::path programFolder = qzu_bench::Scratch("qzu_bench_editors_program");
  fs::create_directories(programFolder);
  SetProgramFolder(CWString::FromUtf8(programFolder.string()));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(programFolder);
  fs::remove(ProseFile());
  return 0;
}
