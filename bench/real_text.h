#pragma once
// Real Chinese text for the text benchmarks, beside their generated text: the
// Tang and Song poems of the Debian package fortunes-zh (titles, authors and
// verses, with their punctuation and line breaks), without the colour codes
// and "%" separators of the fortune format. Repeated to the size a benchmark
// needs. When the package is missing, the real-text cases skip with a
// message that names it.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <string>

namespace qzu_bench {

inline const char* const kRealTextFiles[] = {"/usr/share/games/fortunes/tang300", "/usr/share/games/fortunes/song100"};
inline const char kRealTextMissing[] = "real text missing: install fortunes-zh (scripts/setup.sh does)";

// The poems as UTF-8, once per process; empty when a file is missing.
inline const std::string& RealChineseText() {
  static const std::string text = [] {
    std::string out;
    for (const char* path : kRealTextFiles) {
      std::ifstream in(path, std::ios::binary);
      if (!in) return std::string();
      std::string line;
      while (std::getline(in, line)) {
        if (line == "%") continue;
        // Colour codes: ESC [ digits m.
        for (size_t esc; (esc = line.find('\x1b')) != std::string::npos;) {
          const size_t m = line.find('m', esc);
          line.erase(esc, m == std::string::npos ? std::string::npos : m - esc + 1);
        }
        out += line;
        out += '\n';
      }
    }
    return out;
  }();
  return text;
}

// The poems repeated to at least `bytes` bytes, ending at a line end; empty
// when they are missing.
inline std::string RealChineseText(size_t bytes) {
  const std::string& text = RealChineseText();
  if (text.empty()) return std::string();
  std::string out;
  out.reserve(bytes + text.size());
  while (out.size() < bytes) out += text;
  const size_t end = out.find('\n', bytes);
  if (end != std::string::npos) out.resize(end + 1);
  return out;
}

// Ends a benchmark run at once, saying why, when the real text is missing.
inline bool SkipWithoutRealText(benchmark::State& state) {
  if (!RealChineseText().empty()) return false;
  state.SkipWithError(kRealTextMissing);
  return true;
}

}  // namespace qzu_bench
