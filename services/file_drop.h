#pragma once
// rg_TavelkinWenJianTuoFangLei: makes a window accept files and folders
// dragged from the desktop and reports each dropped path through its drop
// event, one event per item, in the order the drag lists them. Drags that
// carry no local file (a text dragged into an editor) are left to the window,
// so an editor still takes dropped text.
//
// Enabling gives the window (and an editor's viewport) the message procedure
// FileDropWindowProc through SubclassWindowProc; every event it does not take
// goes on to the procedure it replaced. A process-wide list of drop records,
// one per window, ties each window to that old procedure and to the enabler
// that receives its drops; the first enabler of a window keeps it. A record goes when its window is destroyed (so a new window at the same
// address can be enabled) or when its enabler is destroyed (so no drop
// reaches an enabler that is gone). UI thread only.
#include <QPointer>
#include <QWidget>

#include <cstdint>

#include "common/event.h"
#include "common/object.h"
#include "framework/native_window.h"
#include "framework/win_control.h"

class QEvent;

namespace rg_Tavelkin_MingLingJi {

class rg_TavelkinWenJianTuoFangLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWenJianTuoFangLei)
 public:
  // handler(receiver, enabler, user data, item count, item index, full
  // path, extension of the item's name with its dot (".txt"), or empty when
  // the name has none: a "." in a folder's name does not count); its result
  // is ignored.
  using DropEvent = CQzuEventSlot<int, int, const CWString&, const CWString&>;

  rg_TavelkinWenJianTuoFangLei() = default;
  // A copy carries the window; its drop event is unconnected.
  rg_TavelkinWenJianTuoFangLei(const rg_TavelkinWenJianTuoFangLei& other);
  rg_TavelkinWenJianTuoFangLei& operator=(const rg_TavelkinWenJianTuoFangLei& other);
  // Removes the records that send drops to this enabler.
  ~rg_TavelkinWenJianTuoFangLei() override;

  // Class, header and window.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  // The window belongs to this run: written as 0, not loaded back.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // Routes the window's file drops to this enabler's drop event, unless the
  // window already has a record. A scroll area (an editor) takes drags on
  // its viewport, which is watched with it.
  void EnableFileDrop(QWidget* window);
  // The control's window; nothing when it has none yet.
  void EnableFileDrop(CQzuWinControl& control);

  // The window this enabler was last enabled on; null when none or gone.
  QWidget* GetWindow() const { return m_window.data(); }

  DropEvent dropEvent;

 private:
  QPointer<QWidget> m_window;
};

// One window's drop record.
class rg_TavelkinWenJianTuoFangLeiShuJu : public CQzuObject {
  QZU_DECLARE_CLASS(rg_TavelkinWenJianTuoFangLeiShuJu)
 public:
  // Window, viewport and enabler are the same; the saved drop state equal.
  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;

  QPointer<QWidget> window;
  // The part that receives drags (a scroll area's viewport), else the window.
  QPointer<QWidget> dragTarget;
  // The procedures the window and the drag target had before; null: their
  // own handling.
  QzuWindowProc oldWindowProc = nullptr;
  QzuWindowProc oldTargetProc = nullptr;
  // Whether the window and the drag target accepted drops before.
  int32_t oldAcceptDrops = 0;
  int32_t oldTargetAcceptDrops = 0;
  rg_TavelkinWenJianTuoFangLei* enabler = nullptr;
};

// The message procedure of every recorded window: file drags are accepted
// and a drop raises the enabler's events; true when the event was taken.
// Every other event, and drags without a local file, go to the procedure the
// window had before (false, the window's own handling, when it had none).
bool FileDropWindowProc(QObject* watched, QEvent* event);

// How many drop records exist (tests).
int FileDropRecordCount();

}  // namespace rg_Tavelkin_MingLingJi
