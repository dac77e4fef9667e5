#pragma once
// For platform/ only: callers outside it convert through platform/code_page_codec.h.
// Thin helpers over ICU converters shared by the codecs: opening decoders and
// Windows-like encoders, and whole-buffer conversion loops.
#include <unicode/ucnv.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/code_page_codec.h"

namespace qzu::icu {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// A decoder as ICU opens it; null when ICU does not know the name.
ConverterPtr OpenDecoder(const std::string& name);
// An encoder that behaves like Windows: best fit on, "?" for everything else.
ConverterPtr OpenEncoder(const std::string& name);

// Whole-buffer conversions with the end of input flushed, so a truncated tail
// shows; the results are appended.
void Decode(UConverter* cnv, std::string_view bytes, std::u16string& out);
void Encode(UConverter* cnv, std::u16string_view text, std::string& out);

// The characters, none of them a control character, whose best fit in the
// charset `name` reads back as one: ICU's fallbacks map the halfwidth arrows
// of code page 936 to ESC, CAN, SUB and EM and the glyphs of the old PC code
// pages to the bytes 01-1F. Such a best fit would put control bytes into a
// text, so the codecs write "?" for these characters instead. Sorted.
std::vector<UChar32> ControlBestFits(const std::string& name);

// A codec over any ICU converter.
std::shared_ptr<const CharsetCodec> MakeIcuCodec(const std::string& name);

}  // namespace qzu::icu
