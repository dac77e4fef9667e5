#pragma once
// What the four action buttons of the main window say for each function, and
// how wide an encode button gets when its decode partner has nothing to say.
#include "app/conversion_options.h"
#include "common/wstring.h"

namespace rg_Ombrine_app {

struct ActionCaptions {
  CWString encode;       // the "编码" button
  CWString decode;       // the "解码" button; empty when the function has no decode side
  CWString batchEncode;  // the "批量编码" button
  CWString batchDecode;  // the "批量解码" button; empty when the batch has no decode side
};

// The captions for a function. Unknown values read as "无".
ActionCaptions ActionCaptionsOf(ConversionFunction function);

// The width of an encode button beside its decode partner: the partner's own
// width, or, when the partner's caption is empty, the span from the encode
// button's left edge to the partner's right edge.
int EncodeButtonWidth(int encodeLeft, int decodeLeft, int decodeWidth, bool decodeCaptionEmpty);

}  // namespace rg_Ombrine_app
