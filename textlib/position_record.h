#pragma once
// A rectangle held both as inclusive edges and as a size. Users set the
// members directly; under a non-zero mode they keep the edges in step with the
// size themselves (right = left + width - 1, bottom = top + height - 1). The
// input box keeps its measured character cell in one, and the text height
// estimate reads the cell size from one.
#include <array>
#include <cstdint>

#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinWeiZhiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWeiZhiLei)
 public:
  rg_TavelkinWeiZhiLei() = default;

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void Reset() override;
  // The eleven members as 4-byte little-endian integers in declaration order;
  // loading stops at the first short read (the stream keeps its error -3).
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Sets the size and, under a non-zero mode, moves right and bottom with it.
  void SetSize(int32_t newWidth, int32_t newHeight);

  // Declaration order is the order of copy, comparison and the stream form.
  int32_t mode = 1;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;   // inclusive
  int32_t bottom = 0;  // inclusive
  int32_t width = 0;
  int32_t height = 0;
  // Carried along with the record; nothing in this program reads them.
  int32_t extra[4] = {0, 0, 0, 0};

 private:
  static constexpr int kMemberCount = 11;
  // The members in declaration order, for the loops of copy, compare and stream.
  std::array<int32_t*, kMemberCount> Members();
  std::array<const int32_t*, kMemberCount> Members() const;
};

}  // namespace rg_Tavelkin_MingLingJi
