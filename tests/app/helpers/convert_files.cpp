// A batch conversion in a process of its own, for the tests that kill one at
// random moments or starve it of memory. Converts the files named on the
// command line one by one, as the batch would, and prints each result ("1"
// or "0") on a line of its own as soon as it is known.
//
//   qzu_convert_files [--root FOLDER] [--output N] [--hex-raw] [--function NAME] [--memory-mb N] FILE...
//
// --root       the batch root (default: none, each file's trees go beside it)
// --output     position in the output charset list (default 2, UTF-8)
// --hex-raw    the function "字节集(十六进制)" on the raw bytes of the file
// --function   "url-utf8" (URL-UTF8 encode) or "hex-utf8" ("字节集(十六进制)"
//              encode of the text as UTF-8)
// --memory-mb  the process may use this many MB more than it holds once it
//              has converted a small text (so every library is loaded)
// Files are converted in place; the result and backup trees are those of the
// conversion core.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/conversion_core.h"

using namespace rg_Ombrine_app;

namespace {

class QuietHost : public IConversionHost {
 public:
  void SetTitleHint(const CWString&, const CWString&) override {}
  void ShowInformation(const CWString&) override {}
};

// The process's address space now, in bytes.
unsigned long long AddressSpace() {
  std::ifstream statm("/proc/self/statm");
  unsigned long long pages = 0;
  statm >> pages;
  return pages * 4096ull;
}

}  // namespace

int main(int argc, char** argv) {
  ConversionOptions options;
  options.outputCharsetIndex = 2;
  CWString root;
  long memoryMb = -1;
  std::vector<CWString> files;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--root" && i + 1 < argc) {
      root = CWString::FromSystemPath(argv[++i]);
    } else if (arg == "--output" && i + 1 < argc) {
      options.outputCharsetIndex = std::atoi(argv[++i]);
    } else if (arg == "--hex-raw") {
      options.function = ConversionFunction::BytesHex;
      options.charFormat = CharFormat::Raw;
    } else if (arg == "--function" && i + 1 < argc) {
      const std::string name = argv[++i];
      if (name == "url-utf8") {
        options.function = ConversionFunction::UrlUtf8;
      } else if (name == "hex-utf8") {
        options.function = ConversionFunction::BytesHex;
        options.charFormat = CharFormat::Utf8;
      } else {
        std::fprintf(stderr, "unknown function %s\n", name.c_str());
        return 2;
      }
    } else if (arg == "--memory-mb" && i + 1 < argc) {
      memoryMb = std::atol(argv[++i]);
    } else {
      files.push_back(CWString::FromSystemPath(arg));
    }
  }

  int32_t converted = 0;
  rg_Tavelkin_MingLingJi::rg_TavelkinHanZiPinYinLei pinyin;
  QuietHost host;
  WordDocuments word{nullptr, host};
  ConversionCore core{options, root, converted, pinyin, word, host};

  if (memoryMb >= 0) {
    CWString text(u"中文 warm-up"), result;
    core.ConvertOne(result, CWString(), 0, 0, text, false);
    const rlimit limit{AddressSpace() + static_cast<unsigned long long>(memoryMb) * 1024 * 1024, RLIM_INFINITY};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) {
      std::perror("setrlimit");
      return 2;
    }
  }
  for (const CWString& file : files) {
    CWString text, result;
    core.ConvertOne(result, file, static_cast<int32_t>(files.size()), 1, text, false);
    std::printf("%s\n", result.ToUtf8().c_str());
    std::fflush(stdout);
  }
  return 0;
}
