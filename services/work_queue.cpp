#include "services/work_queue.h"

#include "framework/ui_thread.h"

namespace rg_Tavelkin_MingLingJi {

QZU_IMPLEMENT_CLASS(rg_TavelkinDuiLieLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinDuiLieLei")

namespace {

// Same null flag, same size, same bytes.
bool SameRequest(const CQzuMem& a, const CQzuMem& b) { return a.IsNull() == b.IsNull() && a == b; }

using Guard = rg_Ombrine_base::rg_HuChiSuoLei::Guard;

}  // namespace

rg_TavelkinDuiLieLei::rg_TavelkinDuiLieLei(const rg_TavelkinDuiLieLei& other) : CQzuObject() { CopyFrom(other); }

rg_TavelkinDuiLieLei& rg_TavelkinDuiLieLei::operator=(const rg_TavelkinDuiLieLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinDuiLieLei::~rg_TavelkinDuiLieLei() { m_self->Detach(); }

bool rg_TavelkinDuiLieLei::IsEqual(const CQzuObject& other) const { return &other == this; }

int rg_TavelkinDuiLieLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinDuiLieLei, source)
  items = src.items;
  busy = src.busy;
  lock = src.lock;
  return 1;
}

void rg_TavelkinDuiLieLei::SaveToStream(CQzuStream& stream) const {
  stream.WriteUInt32(static_cast<uint32_t>(items.size()));
  for (const CQzuMem& item : items) stream.WriteMem(item);
  stream.WriteInt32(busy);
}

void rg_TavelkinDuiLieLei::LoadFromStream(CQzuStream& stream) {
  uint32_t count = 0;
  if (!stream.ReadUInt32(count)) return;
  std::vector<CQzuMem> loaded;
  for (uint32_t i = 0; i < count; ++i) {
    CQzuMem item;
    if (!stream.ReadMem(item)) return;
    loaded.push_back(std::move(item));
  }
  int32_t flag = 0;
  if (!stream.ReadInt32(flag)) return;
  items = std::move(loaded);
  busy = flag;
}

void rg_TavelkinDuiLieLei::AddRequest(const CQzuMem& request) {
  bool drainNow;
  {
    Guard guard(lock);
    items.push_back(request);
    drainNow = busy == 0;
  }
  if (drainNow) DrainQueue();
}

void rg_TavelkinDuiLieLei::HandDrainToUiThread() {
  {
    Guard guard(lock);
    if (m_drainHandedOver) return;  // the one on its way takes this item too
    m_drainHandedOver = true;
  }
  PostToUiThread(m_self, [](CQzuObject* self) {
    auto* queue = static_cast<rg_TavelkinDuiLieLei*>(self);
    {
      Guard guard(queue->lock);
      queue->m_drainHandedOver = false;
    }
    queue->DrainQueue();
  });
}

void rg_TavelkinDuiLieLei::DrainQueue() {
  if (!IsUiThread()) {
    HandDrainToUiThread();
    return;
  }
  for (;;) {
    CQzuMem current;
    {
      Guard guard(lock);
      // Only a call from inside the item event on this thread finds the flag
      // set: the running drain goes on with whatever is left.
      if (busy == 1) return;
      if (items.empty()) return;
      busy = 1;
      current = items[0];
      for (size_t i = items.size() - 1; i >= 1; --i) {
        if (SameRequest(items[i], current)) items.erase(items.begin() + static_cast<long>(i));
      }
    }
    // The lock is left while the item event runs. Drains run on the UI thread
    // alone, so meanwhile other threads only append: none of them has to wait
    // for a handler that may itself be waiting for that thread.
    itemEvent.Raise(this, current);
    Guard guard(lock);
    // The handler may have appended (never compared with `current`: later
    // passes handle them); the handled item is still the first.
    if (!items.empty()) items.erase(items.begin());
    busy = 0;
  }
}

}  // namespace rg_Tavelkin_MingLingJi
