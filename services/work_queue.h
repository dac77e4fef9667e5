#pragma once
// rg_TavelkinDuiLieLei: pending requests as byte buffers, handled one at a
// time in arrival order through the item event. Before an item is handled,
// every later pending item with the same bytes is dropped, so a burst of equal
// requests costs one run.
//
// Requests may come from any thread; items are handled on the UI thread. A
// request added on another thread is appended under the lock and the drain is
// handed to the UI thread (framework/ui_thread.h), which runs it at its next
// pump: a burst of equal requests from a worker is handled once. On the UI
// thread, whose handlers pump window messages, a request that arrives through
// that pump while an item is handled is only appended, and the drain already
// running further up the stack reaches it. The queue's lock guards the items
// and the flags; it is not held while the item event runs, so a worker adding
// a request never waits for a handler.
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
  // A drain handed to the UI thread and not run yet is dropped.
  ~rg_TavelkinDuiLieLei() override;

  // Equal only to itself.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Appends a request and drains the queue unless a drain is already running
  // on this thread (it will reach the new item). Any thread.
  void AddRequest(const CQzuMem& request);
  // Handles items until none is left. Returns at once when called from
  // inside the item event. Called on another thread, it hands the drain to
  // the UI thread and returns.
  void DrainQueue();

  int GetCount() const { return static_cast<int>(items.size()); }

  // Pending requests, oldest first.
  std::vector<CQzuMem> items;
  // 1 while an item is being handled; only DrainQueue changes it.
  int32_t busy = 0;
  // Shared with copies; its stream form is empty.
  rg_Ombrine_base::rg_HuChiSuoLei lock;
  ItemEvent itemEvent;

 private:
  void HandDrainToUiThread();

  // Guards drains handed to the UI thread against a queue gone meanwhile.
  CQzuReceiverRef m_self = CQzuReceiverRef::Make(this);
  // A drain has been handed over and has not started yet (under the lock).
  bool m_drainHandedOver = false;
};

}  // namespace rg_Tavelkin_MingLingJi
