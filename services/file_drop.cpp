#include "services/file_drop.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QObject>
#include <QUrl>

#include <vector>

#include "common/arrays.h"
#include "framework/qt_text.h"
#include "services/dynamic_call_window_proc.h"
#include "textlib/path_helpers.h"

namespace rg_Tavelkin_MingLingJi {

using rg_TavelkinMingLingJi_API::SubclassWindowProc;

QZU_IMPLEMENT_CLASS(rg_TavelkinWenJianTuoFangLei, CQzuObject, "rg_Tavelkin_MingLingJi::rg_TavelkinWenJianTuoFangLei")
QZU_IMPLEMENT_CLASS(rg_TavelkinWenJianTuoFangLeiShuJu, CQzuObject,
                    "rg_Tavelkin_MingLingJi::rg_TavelkinWenJianTuoFangLeiShuJu")

namespace {

using DropRecord = rg_TavelkinWenJianTuoFangLeiShuJu;

// The drop records, in the order their windows were enabled.
CQzuObjectArray& DropRecords() {
  static CQzuObjectArray records;
  return records;
}

DropRecord* RecordAt(int i) { return static_cast<DropRecord*>(DropRecords()[static_cast<size_t>(i)]); }

// The record whose window or drag target is `object`.
DropRecord* FindRecord(const QObject* object) {
  if (!object) return nullptr;
  CQzuObjectArray& records = DropRecords();
  for (int i = 0; i < records.GetCount(); ++i) {
    DropRecord* r = RecordAt(i);
    if (r->window && (r->window.data() == object || r->dragTarget.data() == object)) return r;
  }
  return nullptr;
}

// The receiver of the windows' destroyed signals.
QObject* DestroyedWatcher() {
  static QObject* watcher = new QObject();
  return watcher;
}

// Drops the records of windows that are gone.
void ForgetDestroyedWindows() {
  CQzuObjectArray& records = DropRecords();
  for (int i = records.GetCount() - 1; i >= 0; --i) {
    if (!RecordAt(i)->window) records.RemoveAt(static_cast<size_t>(i));
  }
}

// Hands the event to the procedure `watched` had before its record was made.
bool CallOldWindowProc(const DropRecord* r, QObject* watched, QEvent* event) {
  const QzuWindowProc old = r->dragTarget.data() == watched && r->dragTarget != r->window ? r->oldTargetProc
                                                                                          : r->oldWindowProc;
  return old && old(watched, event);
}

// Gives `w` back the procedure it had, unless another has replaced ours since
// (then ours stays, and without its record passes everything on).
void RestoreWindowProc(QWidget* w, QzuWindowProc old) {
  if (w && GetWindowProc(w) == &FileDropWindowProc) SubclassWindowProc(w, old);
}

// The local files and folders a drag carries, in its order.
std::vector<CWString> DraggedPaths(const QMimeData* mime) {
  std::vector<CWString> paths;
  if (!mime || !mime->hasUrls()) return paths;
  for (const QUrl& url : mime->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (!path.isEmpty()) paths.push_back(FromQString(path));
  }
  return paths;
}

// The extension of the item's own name with its dot (".txt"); empty when the
// name has none. A "." in a folder above it does not count.
CWString DottedExtension(const CWString& path) {
  const CWString extension = PathExtension(path);
  return extension.IsEmpty() ? CWString() : u"." + extension;
}

void AcceptAsCopy(QDropEvent* e) {
  if (e->possibleActions() & Qt::CopyAction) {
    e->setDropAction(Qt::CopyAction);
    e->accept();
  } else {
    e->acceptProposedAction();
  }
}

void Unwatch(DropRecord* r) {
  if (QWidget* w = r->window.data()) {
    RestoreWindowProc(w, r->oldWindowProc);
    w->setAcceptDrops(r->oldAcceptDrops != 0);
  }
  if (QWidget* t = r->dragTarget.data(); t && t != r->window.data()) {
    RestoreWindowProc(t, r->oldTargetProc);
    t->setAcceptDrops(r->oldTargetAcceptDrops != 0);
  }
}

}  // namespace

int FileDropRecordCount() {
  ForgetDestroyedWindows();
  return DropRecords().GetCount();
}

bool FileDropWindowProc(QObject* watched, QEvent* event) {
  const DropRecord* record = FindRecord(watched);
  if (!record) return false;
  const QEvent::Type type = event->type();
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
    return CallOldWindowProc(record, watched, event);
  auto* e = static_cast<QDropEvent*>(event);
  const std::vector<CWString> paths = DraggedPaths(e->mimeData());
  // Text and other data belong to the window itself (an editor's text drop).
  if (paths.empty()) return CallOldWindowProc(record, watched, event);
  AcceptAsCopy(e);
  if (type != QEvent::Drop) return true;

  const QPointer<QObject> target(watched);
  const int count = static_cast<int>(paths.size());
  for (int i = 0; i < count; ++i) {
    // A handler may pump messages, destroy the window or its enabler: look
    // the record up again for every item.
    DropRecord* r = target ? FindRecord(target.data()) : nullptr;
    if (!r || !r->enabler) break;
    r->enabler->dropEvent.Raise(r->enabler, count, i, paths[static_cast<size_t>(i)],
                                DottedExtension(paths[static_cast<size_t>(i)]));
  }
  return true;
}

// ---- enabler ----

rg_TavelkinWenJianTuoFangLei::rg_TavelkinWenJianTuoFangLei(const rg_TavelkinWenJianTuoFangLei& other)
    : CQzuObject(other), m_window(other.m_window) {}

rg_TavelkinWenJianTuoFangLei& rg_TavelkinWenJianTuoFangLei::operator=(const rg_TavelkinWenJianTuoFangLei& other) {
  CopyFrom(other);
  return *this;
}

rg_TavelkinWenJianTuoFangLei::~rg_TavelkinWenJianTuoFangLei() {
  CQzuObjectArray& records = DropRecords();
  for (int i = records.GetCount() - 1; i >= 0; --i) {
    DropRecord* r = RecordAt(i);
    if (r->enabler != this) continue;
    Unwatch(r);
    records.RemoveAt(static_cast<size_t>(i));
  }
}

bool rg_TavelkinWenJianTuoFangLei::IsEqual(const CQzuObject& other) const {
  return SameHeader(other) && static_cast<const rg_TavelkinWenJianTuoFangLei&>(other).m_window == m_window;
}

int rg_TavelkinWenJianTuoFangLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWenJianTuoFangLei, source)
  m_window = src.m_window;
  return 1;
}

void rg_TavelkinWenJianTuoFangLei::SaveToStream(CQzuStream& stream) const { stream.WriteInt64(0); }

void rg_TavelkinWenJianTuoFangLei::LoadFromStream(CQzuStream& stream) {
  int64_t ignored = 0;
  stream.ReadInt64(ignored);
}

void rg_TavelkinWenJianTuoFangLei::EnableFileDrop(CQzuWinControl& control) {
  if (QWidget* w = control.GetWidget()) EnableFileDrop(w);
}

void rg_TavelkinWenJianTuoFangLei::EnableFileDrop(QWidget* window) {
  if (!window) return;
  ForgetDestroyedWindows();
  if (FindRecord(window)) return;
  m_window = window;

  auto* record = new DropRecord();
  record->window = window;
  auto* area = qobject_cast<QAbstractScrollArea*>(window);
  record->dragTarget = area ? area->viewport() : window;
  record->oldAcceptDrops = window->acceptDrops() ? 1 : 0;
  record->oldTargetAcceptDrops = record->dragTarget->acceptDrops() ? 1 : 0;
  record->enabler = this;
  DropRecords().Add(record);

  window->setAcceptDrops(true);
  record->oldWindowProc = SubclassWindowProc(window, &FileDropWindowProc);
  if (record->dragTarget != window) {
    record->dragTarget->setAcceptDrops(true);
    record->oldTargetProc = SubclassWindowProc(record->dragTarget.data(), &FileDropWindowProc);
  }
  QObject::connect(window, &QObject::destroyed, DestroyedWatcher(), [] { ForgetDestroyedWindows(); });
}

// ---- drop record ----

bool rg_TavelkinWenJianTuoFangLeiShuJu::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_TavelkinWenJianTuoFangLeiShuJu&>(other);
  return window == o.window && dragTarget == o.dragTarget && oldWindowProc == o.oldWindowProc &&
         oldTargetProc == o.oldTargetProc && oldAcceptDrops == o.oldAcceptDrops &&
         oldTargetAcceptDrops == o.oldTargetAcceptDrops && enabler == o.enabler;
}

int rg_TavelkinWenJianTuoFangLeiShuJu::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_TavelkinWenJianTuoFangLeiShuJu, source)
  window = src.window;
  dragTarget = src.dragTarget;
  oldWindowProc = src.oldWindowProc;
  oldTargetProc = src.oldTargetProc;
  oldAcceptDrops = src.oldAcceptDrops;
  oldTargetAcceptDrops = src.oldTargetAcceptDrops;
  enabler = src.enabler;
  return 1;
}

}  // namespace rg_Tavelkin_MingLingJi
