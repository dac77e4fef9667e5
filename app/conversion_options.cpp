#include "app/conversion_options.h"

namespace rg_Ombrine_app {

std::atomic<bool> BatchStopRequested{false};

CWString FunctionCaption(ConversionFunction function) {
  static const char16_t* const kCaptions[kConversionFunctionCount] = {
      u"无",       u"UCS2",      u"Unicode十进制", u"Unicode十六进制", u"URL",        u"URL-UTF8",
      u"字节集(十六进制)", u"字节集", u"Base64",  u"Win(\\r\\n)",    u"Unix(\\n)",  u"Mac(\\r)",
      u"繁体",     u"大写",      u"极速去重",      u"html到txt",       u"word到txt",  u"MD5",
      u"SHA1",     u"SHA256",    u"拼音",
  };
  const int i = static_cast<int>(function);
  return (i >= 0 && i < kConversionFunctionCount) ? CWString(kCaptions[i]) : CWString();
}

CWString CharsetNameOfListIndex(int32_t index) {
  static const char16_t* const kNames[] = {u"", u"ANSI", u"UTF-8", u"UTF-16", u"UTF-16BE"};
  if (index < 0 || index > 4) index = 0;
  return CWString(kNames[index]);
}

}  // namespace rg_Ombrine_app
