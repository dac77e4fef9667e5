#pragma once
// rg_TavelkinDuiLieWeiYiLei: lets one caller at a time into a job. A caller
// that arrives while the job runs only leaves a run-again mark; the running
// job looks at the mark at its checkpoints and starts over when it is set.
// Used across threads (background jobs enter on whatever thread runs them),
// so both flags are atomics and every change is made under the lock.
#include <atomic>
#include <cstdint>

#include "common/critical_section.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinDuiLieWeiYiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinDuiLieWeiYiLei)
 public:
  rg_TavelkinDuiLieWeiYiLei() = default;
  // A copy takes both flags and shares the lock.
  rg_TavelkinDuiLieWeiYiLei(const rg_TavelkinDuiLieWeiYiLei& other);
  rg_TavelkinDuiLieWeiYiLei& operator=(const rg_TavelkinDuiLieWeiYiLei& other);
  ~rg_TavelkinDuiLieWeiYiLei() override = default;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // 1 when the caller may run the job now (it was free and is now busy); 0
  // when it already runs (the run-again flag is now set).
  int TryEnterOnce();
  // A checkpoint of the running job: 1 when a run was asked for meanwhile
  // (the flag is cleared, the job starts over), else 0.
  int TakeRunAgain();
  // The job's end: clears both flags together, so a request that came after
  // the last checkpoint is dropped.
  void EndRun();
  // The job's end unless a run was asked for since the last checkpoint: 1
  // when the job is over (busy cleared); 0 when a request came (the mark is
  // taken, busy stays, the job starts over). Checking and ending under one
  // hold of the lock means no request is lost between the two, which a
  // background job needs: its caller does not come back to start it again.
  int EndRunUnlessAsked();

  rg_Ombrine_base::rg_HuChiSuoLei lock;
  std::atomic<int32_t> busy{0};
  std::atomic<int32_t> runAgain{0};
};

}  // namespace rg_Tavelkin_MingLingJi
