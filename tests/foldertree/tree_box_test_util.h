#pragma once
// Shared by the tree box widget tests: a shown form holding one tree box at a
// chosen DPI factor, a receiver that records the tree box's events, and the
// geometry of the last paint's lines.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <string>
#include <vector>

#include "common/dpi.h"
#include "foldertree/tree_box.h"
#include "framework/win_form.h"
#include "qt_pump.h"

namespace qzu_test {

using rg_TavelkinMingLingJi_ChuangKouZuJian::rg_TavelkinShuXingKuang;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeBoxModel;
using rg_TavelkinMingLingJi_ChuangKouZuJian::TreeRowLocator;

// What reached the owner: one entry per event, with its arguments.
struct EventLog : CQzuObject {
  std::vector<std::string> events;
  intptr_t veto = 0;                 // what the before-events return
  CWString renameText = u"";         // the before-rename handler's text, when not empty
  intptr_t renameResult = 0;         // what rename committed returns
  CQzuReceiverRef ref = CQzuReceiverRef::Make(this);
  ~EventLog() override { ref->Detach(); }
  void Add(std::string e) { events.push_back(std::move(e)); }
  void Clear() { events.clear(); }
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const std::string& e : events) n += e.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }
};

inline EventLog* Log(CQzuObject* r) { return static_cast<EventLog*>(r); }
inline std::string N(int v) { return std::to_string(v); }

// Connects every event of the tree box to the log.
inline void ConnectAll(rg_TavelkinShuXingKuang& box, EventLog& log) {
  box.OnTreeFilesDropped.Connect(
      [](CQzuObject* r, CQzuObject*, intptr_t, const CMStringArray& paths) -> intptr_t {
        std::string all;
        for (const CWString& p : paths) all += " " + p.ToUtf8();
        Log(r)->Add("dropped" + all);
        return 0;
      },
      log.ref);
  box.OnRowRightClicked.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    Log(r)->Add("right-clicked");
    return 0;
  }, log.ref);
  box.OnRenameCommitted.Connect(
      [](CQzuObject* r, CQzuObject*, intptr_t, int row, CWString& before, CWString& now) -> intptr_t {
        Log(r)->Add("committed " + N(row) + " " + before.ToUtf8() + " -> " + now.ToUtf8());
        return Log(r)->renameResult;
      },
      log.ref);
  box.OnBeforeRename.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row, CWString& text) -> intptr_t {
    Log(r)->Add("before-rename " + N(row) + " " + text.ToUtf8());
    if (!Log(r)->renameText.IsEmpty()) text = Log(r)->renameText;
    return Log(r)->veto;
  }, log.ref);
  box.OnRowChosen.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row, int how, int same) -> intptr_t {
    Log(r)->Add("chosen " + N(row) + " " + N(how) + " " + N(same));
    return 0;
  }, log.ref);
  box.OnHoverChanged.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("hover " + N(row));
    return 0;
  }, log.ref);
  box.OnKeyPressed.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int key, int flags) -> intptr_t {
    Log(r)->Add("key " + N(key) + " " + N(flags));
    return 0;
  }, log.ref);
  box.OnBeforeExpand.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("before-expand " + N(row));
    return Log(r)->veto;
  }, log.ref);
  box.OnExpandToggled.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("toggled " + N(row));
    return 0;
  }, log.ref);
  box.OnBeforeCheck.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("before-check " + N(row));
    return Log(r)->veto;
  }, log.ref);
  box.OnCheckChanged.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("check-changed " + N(row));
    return 0;
  }, log.ref);
  box.OnRowClicked.Connect([](CQzuObject* r, CQzuObject*, intptr_t, int row) -> intptr_t {
    Log(r)->Add("clicked " + N(row));
    return 0;
  }, log.ref);
  box.OnTreeHidden.Connect([](CQzuObject* r, CQzuObject*, intptr_t) -> intptr_t {
    Log(r)->Add("hidden");
    return 0;
  }, log.ref);
}

// A shown form with one tree box covering (0, 0, width, height) of it.
struct ShownTree {
  CQzuWinForm form;
  rg_TavelkinShuXingKuang box;
  ShownTree(int width, int height, double factor = 1.0) {
    SetDpiFactor(factor);
    EXPECT_EQ(form.CreateForm(nullptr, 20, 20, width + 40, height + 40), 1);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form.GetWidget()));
  }
  ~ShownTree() { SetDpiFactor(1.0); }
  // Creates the tree box's window; rows may be added before or after.
  void Create(int width, int height) {
    EXPECT_EQ(box.Create(&form, 0, 0, width, height, 1), 1);
    EXPECT_TRUE(qzu_test::PumpUntil([&] { return box.shown != 0 && box.GetPaintCount() > 0; }));
  }
  TreeBoxModel& Model() { return box.Model(); }
  QWidget* Display() { return box.Display().GetWidget(); }
  COLORREF Pixel(int x, int y) { return box.Display().GetDC().GetPixel(x, y); }
  // Top of line i, and the row x of a level, as the paint lays them out.
  int LineY(int i) const { return box.margin + i * (box.rowGap + box.rowHeight); }
  int RowX(int level) const { return box.leftOffset + box.margin + level * (box.boxSize + box.margin); }
  // The top of a box cell (expand or check) on line i.
  int BoxY(int i) const {
    const int d = box.rowHeight - box.boxSize;
    return LineY(i) + (d + 1) / 2;
  }
  // A point on the text of line i, near its end (display coordinates).
  QPoint OnText(int i) const {
    const size_t k = static_cast<size_t>(i);
    return QPoint(box.lineTextEnd[k] - 2 + box.canvasX, LineY(i) + box.rowHeight / 2);
  }
  int Line(int row) const {
    for (int i = 0; i < box.lineRows.GetCount(); ++i)
      if (box.lineRows[static_cast<size_t>(i)] == row) return i;
    return -1;
  }
};

}  // namespace qzu_test
