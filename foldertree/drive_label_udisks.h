#pragma once
// Drive labels through UDisks2: the folder tree's drive rows are mounted file
// systems, and a desktop user renames a file system's label by asking the
// UDisks2 service (org.freedesktop.UDisks2) on the system bus, which finds the
// block device mounted there and runs the file system's own label tool with
// the user's rights (it may ask for a password through the desktop's polkit
// agent).
//
// A label can change when the bus answers, UDisks2 is on it, one of its
// objects carries org.freedesktop.UDisks2.Filesystem with the mount point in
// its MountPoints, and the block's IdType is a file system type that has a
// label UDisks2 knows how to set. Otherwise, and when UDisks2 refuses the new
// label, the answer carries the reason in words for the user (UDisks2's own
// message for a refusal).
//
// The calls never block: each one goes out on the bus and its answer comes
// back on the UI thread through a callback. A query is given up after 5 s,
// setting a label after 120 s (the time a user may take to answer a
// password prompt); a call given up answers "UDisks2 服务没有应答".
// UI thread only (Qt D-Bus needs the application object).
#include <functional>
#include <memory>

#include "common/wstring.h"

class QObject;

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

struct DriveLabelAnswer {
  bool ok = false;
  CWString reason;  // why not, when !ok
};

// The bus UDisks2 is asked on: empty (the default) for the system bus, or a
// D-Bus address (tests start a private bus with a stand-in service).
void SetDriveLabelBusAddress(const CWString& address);
CWString GetDriveLabelBusAddress();

// The calls to UDisks2 one owner has in flight. Destroying the owner drops
// the answers still to come: their callbacks never run.
class DriveLabelCalls {
 public:
  using Done = std::function<void(const DriveLabelAnswer&)>;

  DriveLabelCalls();
  ~DriveLabelCalls();
  DriveLabelCalls(const DriveLabelCalls&) = delete;
  DriveLabelCalls& operator=(const DriveLabelCalls&) = delete;

  // Whether the file system mounted at `mountRoot` (a folder, with or without
  // its trailing separator) can get a new label.
  void CanChange(const CWString& mountRoot, Done done);
  // Gives that file system the label `label`.
  void Change(const CWString& mountRoot, const CWString& label, Done done);
  // Calls sent whose callback has not run yet.
  int Running() const { return m_running; }

 private:
  void Answer(const Done& done, const DriveLabelAnswer& answer);

  std::unique_ptr<QObject> m_context;  // receives the replies; gone, they are dropped
  int m_running = 0;
};

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
