#include "services/time_measurement.h"

#include <atomic>

#include "platform/ticks.h"
#include "textlib/byte_code_forms.h"

namespace rg_Tavelkin_MingLingJi {

namespace {

std::atomic<TimeMeasurementTickSource> g_tickSource{nullptr};

uint32_t Ticks() {
  const TimeMeasurementTickSource source = g_tickSource.load(std::memory_order_relaxed);
  return source ? source() : GetTickCount();
}

}  // namespace

void SetTimeMeasurementTickSource(TimeMeasurementTickSource source) {
  g_tickSource.store(source, std::memory_order_relaxed);
}

QZU_IMPLEMENT_CLASS(rg_TavelkinShiJianCeLiangLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinShiJianCeLiangLei")

rg_TavelkinShiJianCeLiangLei::rg_TavelkinShiJianCeLiangLei() : stamp(static_cast<int64_t>(Ticks())) {}

rg_TavelkinShiJianCeLiangLei::rg_TavelkinShiJianCeLiangLei(const rg_TavelkinShiJianCeLiangLei& other)
    : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinShiJianCeLiangLei& rg_TavelkinShiJianCeLiangLei::operator=(const rg_TavelkinShiJianCeLiangLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinShiJianCeLiangLei::IsEqual(const CQzuObject& other) const {
  return &other == this && SameHeader(other);
}

int rg_TavelkinShiJianCeLiangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinShiJianCeLiangLei, source)
  editBox.CopyFrom(src.editBox);
  stamp = src.stamp;
  return 1;
}

void rg_TavelkinShiJianCeLiangLei::LoadFromStream(CQzuStream& stream) {
  editBox.LoadFromStream(stream);
  int64_t value;
  if (stream.ReadInt64(value)) stamp = value;
}

void rg_TavelkinShiJianCeLiangLei::SaveToStream(CQzuStream& stream) const {
  editBox.SaveToStream(stream);
  stream.WriteInt64(stamp);
}

void rg_TavelkinShiJianCeLiangLei::RestartTimeMeasurement() { stamp = static_cast<int64_t>(Ticks()); }

CWString rg_TavelkinShiJianCeLiangLei::ElapsedText(const CWString& prefix) {
  const uint32_t now = Ticks();
  const uint32_t started = static_cast<uint32_t>(stamp);
  RestartTimeMeasurement();
  // The tick counter wraps every 2^32 ms: the span is taken modulo 2^32, so a
  // measurement across the wrap stays the true, non-negative span.
  const int64_t elapsed = static_cast<int64_t>(static_cast<uint32_t>(now - started));
  CWString text = prefix;
  text += std::u16string_view(u"用时 ");
  text += FormatElapsed(elapsed);
  return text;
}

}  // namespace rg_Tavelkin_MingLingJi
