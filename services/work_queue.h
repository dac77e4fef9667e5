#pragma once
// rg_TavelkinDuiLieLei: pending requests as byte buffers, handled one at a
// time in arrival order through the item event. Before an item is handled,
// every later pending item with the same bytes is dropped, so a burst of equal
// requests costs one run.
//
// The queue is meant for the UI thread, whose handlers pump window messages:
// a request that arrives through that pump while an item is handled is only
// appended, and the drain already running further up the stack reaches it. The
// queue's lock is held while the item event runs; the same thread may enter
// it again.
#include <cstdint>
#include <vector>

#include "common/critical_section.h"
#include "common/event.h"
#include "common/mem.h"
#include "common/object.h"

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinDuiLieLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinDuiLieLei)
 public:
  // handler(receiver, queue, user data, a copy of the request being handled);
  // its result is ignored.
  using ItemEvent = CQzuEventSlot<const CQzuMem&>;

  rg_TavelkinDuiLieLei() = default;
  // A copy holds copies of the items and the busy flag, and shares the lock;
  // its item event is unconnected.
  rg_TavelkinDuiLieLei(const rg_TavelkinDuiLieLei& other);
  rg_TavelkinDuiLieLei& operator=(const rg_TavelkinDuiLieLei& other);
  ~rg_TavelkinDuiLieLei() override = default;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Appends a request and drains the queue unless a drain is already running
  // on this thread (it will reach the new item).
  void AddRequest(const CQzuMem& request);
  // Handles items until none is left. Returns at once when called from
  // inside the item event.
  void DrainQueue();

  int GetCount() const { return static_cast<int>(items.size()); }

  // Pending requests, oldest first.
  std::vector<CQzuMem> items;
  // 1 while an item is being handled; only DrainQueue changes it.
  int32_t busy = 0;
  // Shared with copies; its stream form is empty.
  rg_Ombrine_base::rg_HuChiSuoLei lock;
  ItemEvent itemEvent;
};

}  // namespace rg_Tavelkin_MingLingJi
