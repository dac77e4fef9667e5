#include "services/run_once_guard.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinDuiLieWeiYiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieWeiYiLei")

using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

rg_TavelkinDuiLieWeiYiLei::rg_TavelkinDuiLieWeiYiLei(const rg_TavelkinDuiLieWeiYiLei& other) : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinDuiLieWeiYiLei& rg_TavelkinDuiLieWeiYiLei::operator=(const rg_TavelkinDuiLieWeiYiLei& other) {
  CopyFrom(other);
  return *this;
}

bool rg_TavelkinDuiLieWeiYiLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinDuiLieWeiYiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinDuiLieWeiYiLei, source)
  // Read the pair under the source's lock so it is one consistent state.
  rg_Ombrine_base::rg_HuChiSuoLei shared = src.lock;
  Guard guard(shared);
  lock = shared;
  busy = src.busy.load();
  runAgain = src.runAgain.load();
  return 1;
}

// The lock has an empty stream form.
void rg_TavelkinDuiLieWeiYiLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteInt32(busy.load());
  stream.WriteInt32(runAgain.load());
}

void rg_TavelkinDuiLieWeiYiLei::LoadFromStream(CQzuStream& stream) {
  int32_t b = 0, r = 0;
  if (!stream.ReadInt32(b) || !stream.ReadInt32(r)) return;
  Guard guard(lock);
  busy = b;
  runAgain = r;
}

int rg_TavelkinDuiLieWeiYiLei::TryEnterOnce() {
  Guard guard(lock);
  if (busy.load() == 1) {
    runAgain = 1;
    return 0;
  }
  busy = 1;
  return 1;
}

int rg_TavelkinDuiLieWeiYiLei::TakeRunAgain() {
  // Read without the lock first: checkpoints are frequent and usually find
  // nothing.
  if (runAgain.load() == 0) return 0;
  Guard guard(lock);
  if (runAgain.load() == 0) return 0;
  runAgain = 0;
  return 1;
}

void rg_TavelkinDuiLieWeiYiLei::EndRun() {
  Guard guard(lock);
  busy = 0;
  runAgain = 0;
}

int rg_TavelkinDuiLieWeiYiLei::EndRunUnlessAsked() {
  Guard guard(lock);
  if (runAgain.load() != 0) {
    runAgain = 0;
    return 0;
  }
  busy = 0;
  return 1;
}

}  // namespace rg_Tavelkin_MingLingJi
