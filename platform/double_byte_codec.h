#pragma once
// For platform/ only: callers outside it convert through platform/code_page_codec.h.
// Stateless single/double-byte code pages (windows-936, 950, 949, 932) as
// lookup tables built once from ICU's own converter: ICU's results byte for
// byte, invalid input included, at the speed of a plain loop.
#include <memory>
#include <string>

#include "platform/code_page_codec.h"

namespace qzu {

// The table codec of an ICU converter; null when the converter does not fit
// the table model (then ICU itself is used).
std::shared_ptr<const CharsetCodec> BuildDoubleByteCodec(const std::string& icuName);

}  // namespace qzu
