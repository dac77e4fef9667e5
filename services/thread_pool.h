#pragma once
// rg_TavelkinXianChengChiLei: a pool of worker threads that take queued tasks
// oldest first and raise the task event with the task's values on their own
// thread. A task is three pointer-sized integers and three texts; the pool
// does not know what they mean, the receiver of the task event does.
//
// One process-wide lock guards the queues and counts of every pool. An idle
// worker looks for work every 10 ms. Lowering the worker count lets surplus
// workers leave on their own, each after its current task or idle sleep.
//
// Destroying a pool stops its workers and waits for them, so no worker runs
// into a pool that is gone. A task handler must therefore not destroy the
// pool that runs it. Connect the task event before workers start: the slot
// is read by the workers without the lock.
#include <cstdint>
#include <thread>
#include <vector>

#include "common/arrays.h"
#include "common/event.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinXianChengChiLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinXianChengChiLei)
 public:
  // handler(receiver, pool, user data, first, second and third integer,
  // first, second and third text); raised on a worker thread; its result is
  // ignored.
  using TaskEvent = CQzuEventSlot<intptr_t, intptr_t, intptr_t, const CWString&, const CWString&, const CWString&>;

  rg_TavelkinXianChengChiLei() = default;
  // A copy takes the target count and the queued tasks; it has no workers of
  // its own yet, and its task event is unconnected.
  rg_TavelkinXianChengChiLei(const rg_TavelkinXianChengChiLei& other);
  rg_TavelkinXianChengChiLei& operator=(const rg_TavelkinXianChengChiLei& other);
  // Sets the target to 0 and waits until every worker has left.
  ~rg_TavelkinXianChengChiLei() override;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  // Copies the target count, the spare array and the queued tasks; the
  // running and active counts describe this pool's own threads and stay.
  int CopyFrom(const CQzuObject& source) override;
  // Empties the queue and the spare array and sets the target count to 0, so
  // the workers leave; the task event stays connected.
  void Reset() override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Queues a task; starts no worker. Any thread.
  void AddPoolTask(intptr_t first, intptr_t second, intptr_t third, const CWString& firstText,
                   const CWString& secondText, const CWString& thirdText);
  // Sets the number of workers the pool should have and starts workers while
  // fewer are running. A lower count stops nothing at once.
  void SetPoolThreadCount(int count);

  // Under the pool lock.
  int GetTargetCount() const;
  int GetRunningCount() const;
  // Tasks whose event is being raised at this moment.
  int GetActiveCount() const;
  int GetQueuedCount() const;

  TaskEvent taskEvent;

 private:
  static int PoolWorker(rg_TavelkinXianChengChiLei* pool);
  // Joins workers that have left; the caller must not hold the pool lock.
  void JoinLeftWorkers();

  int32_t m_targetCount = 0;
  int32_t m_runningCount = 0;
  rg_Ombrine_base::rg_BianZhengShuShuZuLei m_spareIntegers;
  rg_Ombrine_base::rg_BianZhengShuShuZuLei m_firstIntegers;
  rg_Ombrine_base::rg_BianZhengShuShuZuLei m_secondIntegers;
  rg_Ombrine_base::rg_BianZhengShuShuZuLei m_thirdIntegers;
  rg_Ombrine_base::rg_WenBenShuZuLei m_firstTexts;
  rg_Ombrine_base::rg_WenBenShuZuLei m_secondTexts;
  rg_Ombrine_base::rg_WenBenShuZuLei m_thirdTexts;
  int32_t m_activeCount = 0;

  // The threads this pool started, and the ids of those that have left and
  // wait to be joined (both under the pool lock).
  std::vector<std::thread> m_workers;
  std::vector<std::thread::id> m_leftWorkers;
};

// Seeds the standard generator from the current time in seconds since 1970
// plus the calling thread's id (the tick count when that sum is 0) and sets
// the process-wide seeded flag. Each worker calls it when it starts.
void SeedRandom();

}  // namespace rg_Tavelkin_MingLingJi
