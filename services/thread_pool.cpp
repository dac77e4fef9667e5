#include "services/thread_pool.h"

#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <system_error>
#include <utility>

#include "common/critical_section.h"
#include "platform/random_seed.h"
#include "platform/ticks.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinXianChengChiLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinXianChengChiLei")

namespace {

// One lock for the queues and counts of every pool in the process. It is
// never destroyed: a worker of a pool that lives until exit may still be
// leaving it while static objects go away.
rg_Ombrine_base::rg_HuChiSuoLei& PoolLock() {
  static auto* lock = new rg_Ombrine_base::rg_HuChiSuoLei();
  return *lock;
}

using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

constexpr uint32_t kIdleSleepMilliseconds = 10;

}  // namespace

void SeedRandom() {
  uint32_t seed = static_cast<uint32_t>(std::time(nullptr)) + static_cast<uint32_t>(::gettid());
  if (seed == 0) seed = GetTickCount();
  ::SeedRandom(seed);
}

rg_TavelkinXianChengChiLei::rg_TavelkinXianChengChiLei(const rg_TavelkinXianChengChiLei& other) : CQzuObject() {
  CopyFrom(other);
}

rg_TavelkinXianChengChiLei& rg_TavelkinXianChengChiLei::operator=(const rg_TavelkinXianChengChiLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinXianChengChiLei::~rg_TavelkinXianChengChiLei() {
  std::vector<std::thread> workers;
  {
    Guard guard(PoolLock());
    m_targetCount = 0;
    workers.swap(m_workers);
    m_leftWorkers.clear();
  }
  // Each worker sees the target below its running count at its next turn:
  // after its current task or idle sleep.
  for (std::thread& t : workers) {
    if (t.joinable()) t.join();
  }
}

bool rg_TavelkinXianChengChiLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinXianChengChiLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinXianChengChiLei, source)
  Guard guard(PoolLock());
  m_targetCount = src.m_targetCount;
  m_spareIntegers = src.m_spareIntegers;
  m_firstIntegers = src.m_firstIntegers;
  m_secondIntegers = src.m_secondIntegers;
  m_thirdIntegers = src.m_thirdIntegers;
  m_firstTexts = src.m_firstTexts;
  m_secondTexts = src.m_secondTexts;
  m_thirdTexts = src.m_thirdTexts;
  return 1;
}

void rg_TavelkinXianChengChiLei::Reset() {
  Guard guard(PoolLock());
  m_targetCount = 0;
  m_spareIntegers.Empty();
  m_firstIntegers.Empty();
  m_secondIntegers.Empty();
  m_thirdIntegers.Empty();
  m_firstTexts.Empty();
  m_secondTexts.Empty();
  m_thirdTexts.Empty();
}

void rg_TavelkinXianChengChiLei::SaveToStream(CQzuStream& stream) const {
  Guard guard(PoolLock());
  stream.WriteInt32(m_targetCount);
  stream.WriteInt32(m_runningCount);
  m_spareIntegers.SaveToStream(stream);
  m_firstIntegers.SaveToStream(stream);
  m_secondIntegers.SaveToStream(stream);
  m_thirdIntegers.SaveToStream(stream);
  m_firstTexts.SaveToStream(stream);
  m_secondTexts.SaveToStream(stream);
  m_thirdTexts.SaveToStream(stream);
  stream.WriteInt32(m_activeCount);
}

void rg_TavelkinXianChengChiLei::LoadFromStream(CQzuStream& stream) {
  // Loaded into locals first: the six queue arrays must stay the same length
  // for the workers, and the running and active counts are facts about this
  // pool's threads, not values to take over.
  int32_t target = 0, running = 0, active = 0;
  rg_Ombrine_base::rg_BianZhengShuShuZuLei spare, first, second, third;
  rg_Ombrine_base::rg_WenBenShuZuLei firstTexts, secondTexts, thirdTexts;
  if (!stream.ReadInt32(target) || !stream.ReadInt32(running)) return;
  spare.LoadFromStream(stream);
  first.LoadFromStream(stream);
  second.LoadFromStream(stream);
  third.LoadFromStream(stream);
  firstTexts.LoadFromStream(stream);
  secondTexts.LoadFromStream(stream);
  thirdTexts.LoadFromStream(stream);
  if (!stream.ReadInt32(active)) return;
  const size_t n = first.size();
  if (second.size() != n || third.size() != n || firstTexts.size() != n || secondTexts.size() != n ||
      thirdTexts.size() != n)
    return;
  Guard guard(PoolLock());
  m_targetCount = target;
  m_spareIntegers = std::move(spare);
  m_firstIntegers = std::move(first);
  m_secondIntegers = std::move(second);
  m_thirdIntegers = std::move(third);
  m_firstTexts = std::move(firstTexts);
  m_secondTexts = std::move(secondTexts);
  m_thirdTexts = std::move(thirdTexts);
}

void rg_TavelkinXianChengChiLei::AddPoolTask(intptr_t first, intptr_t second, intptr_t third,
                                             const CWString& firstText, const CWString& secondText,
                                             const CWString& thirdText) {
  Guard guard(PoolLock());
  m_firstIntegers.Add(first);
  m_secondIntegers.Add(second);
  m_thirdIntegers.Add(third);
  m_firstTexts.Add(firstText);
  m_secondTexts.Add(secondText);
  m_thirdTexts.Add(thirdText);
}

void rg_TavelkinXianChengChiLei::SetPoolThreadCount(int count) {
  JoinLeftWorkers();
  Guard guard(PoolLock());
  m_targetCount = count;
  while (m_runningCount < m_targetCount) {
    ++m_runningCount;
    try {
      m_workers.emplace_back(&rg_TavelkinXianChengChiLei::PoolWorker, this);
    } catch (const std::system_error&) {
      // No thread could be made: do not count a worker that never runs.
      --m_runningCount;
      break;
    }
  }
}

void rg_TavelkinXianChengChiLei::JoinLeftWorkers() {
  std::vector<std::thread> left;
  {
    Guard guard(PoolLock());
    for (const std::thread::id& id : m_leftWorkers) {
      auto it = std::find_if(m_workers.begin(), m_workers.end(), [&](const std::thread& t) { return t.get_id() == id; });
      if (it == m_workers.end()) continue;
      left.push_back(std::move(*it));
      m_workers.erase(it);
    }
    m_leftWorkers.clear();
  }
  // These threads have done their last step under the lock; joining them
  // takes no time worth mentioning.
  for (std::thread& t : left) t.join();
}

int rg_TavelkinXianChengChiLei::GetTargetCount() const {
  Guard guard(PoolLock());
  return m_targetCount;
}

int rg_TavelkinXianChengChiLei::GetRunningCount() const {
  Guard guard(PoolLock());
  return m_runningCount;
}

int rg_TavelkinXianChengChiLei::GetActiveCount() const {
  Guard guard(PoolLock());
  return m_activeCount;
}

int rg_TavelkinXianChengChiLei::GetQueuedCount() const {
  Guard guard(PoolLock());
  return m_firstIntegers.GetCount();
}

int rg_TavelkinXianChengChiLei::PoolWorker(rg_TavelkinXianChengChiLei* pool) {
  // A worker has no window message queue here, so there is nothing of its
  // own to pump between tasks.
  SeedRandom();
  rg_Ombrine_base::rg_HuChiSuoLei& lock = PoolLock();
  lock.Enter();
  while (pool->m_runningCount <= pool->m_targetCount) {
    if (pool->m_firstIntegers.IsEmpty()) {
      lock.Leave();
      SleepMilliseconds(kIdleSleepMilliseconds);
    } else {
      const intptr_t first = static_cast<intptr_t>(pool->m_firstIntegers[0]);
      const intptr_t second = static_cast<intptr_t>(pool->m_secondIntegers[0]);
      const intptr_t third = static_cast<intptr_t>(pool->m_thirdIntegers[0]);
      const CWString firstText = pool->m_firstTexts[0];
      const CWString secondText = pool->m_secondTexts[0];
      const CWString thirdText = pool->m_thirdTexts[0];
      pool->m_firstIntegers.RemoveAt(0);
      pool->m_secondIntegers.RemoveAt(0);
      pool->m_thirdIntegers.RemoveAt(0);
      pool->m_firstTexts.RemoveAt(0);
      pool->m_secondTexts.RemoveAt(0);
      pool->m_thirdTexts.RemoveAt(0);
      ++pool->m_activeCount;
      lock.Leave();
      pool->taskEvent.Raise(pool, first, second, third, firstText, secondText, thirdText);
      lock.Enter();
      --pool->m_activeCount;
      lock.Leave();
    }
    lock.Enter();
  }
  --pool->m_runningCount;
  pool->m_leftWorkers.push_back(std::this_thread::get_id());
  lock.Leave();
  return 0;
}

}  // namespace rg_Tavelkin_MingLingJi
