#pragma once
// Shared pieces of the GDI+-style wrappers: the status codes they keep (the
// values GDI+ gives them) and the 16-byte identifiers of encoders and
// encoder parameters.
#include <cstdint>
#include <cstring>

#include "common/wstring.h"

namespace rg_Qurix_gdiplus {

enum GpStatus : int32_t {
  kGpOk = 0,
  kGpGenericError = 1,
  kGpInvalidParameter = 2,
  kGpOutOfMemory = 3,
  kGpWin32Error = 7,
  kGpWrongState = 8,
  kGpFileNotFound = 10,
  kGpUnknownImageFormat = 13,
};

// Smoothing modes, with their GDI+ values.
enum GpSmoothingMode : int32_t {
  kGpSmoothingDefault = 0,
  kGpSmoothingHighSpeed = 1,
  kGpSmoothingHighQuality = 2,
  kGpSmoothingNone = 3,
  kGpSmoothingAntiAlias = 4,
};

struct QzuGuid {
  uint32_t data1 = 0;
  uint16_t data2 = 0;
  uint16_t data3 = 0;
  uint8_t data4[8] = {};

  bool IsZero() const { return *this == QzuGuid(); }
  friend bool operator==(const QzuGuid& a, const QzuGuid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
  // Registry form with braces, upper-case: "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}".
  CWString ToText() const;
};

// The BMP image format and the BMP encoder.
inline constexpr QzuGuid kImageFormatBmp{0xB96B3CAB, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr QzuGuid kBmpEncoderClsid{0x557CF400, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

}  // namespace rg_Qurix_gdiplus
