// Drive labels through UDisks2, against a stand-in service (qzu_fake_udisks2)
// on a private dbus-daemon that each test starts: the label is set and shown
// with its mount point, UDisks2's refusal is shown with its reason, and the
// rename item is greyed, with the reason on F2, where there is no service or
// the file system has no label. The calls never hold the window up: the item
// is greyed until their answer has come.
#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <memory>

#include "folder_tree_test_util.h"
#include "foldertree/drive_label_udisks.h"
#include "foldertree/folder_tree_menu.h"
#include "framework/qt_text.h"

namespace {

using namespace qzu_test;
using namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu;
using rg_TavelkinMingLingJi_ChuangKouZuJian::kRenameFromKeyboard;

// A private session bus and, on it, the stand-in service when asked for.
class PrivateBus {
 public:
  PrivateBus() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    EXPECT_FALSE(daemon.isEmpty()) << "dbus-daemon is missing (scripts/setup.sh installs it)";
    m_daemon.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                            QStringLiteral("--address=unix:tmpdir=/tmp")});
    EXPECT_TRUE(m_daemon.waitForStarted(5000));
    EXPECT_TRUE(PumpUntil([&] { return m_daemon.canReadLine(); }, 5000));
    address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    EXPECT_FALSE(address.isEmpty());
  }
  ~PrivateBus() {
    StopService();
    QDBusConnection::disconnectFromBus(kWatchName);
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
  }

  // Starts the stand-in for one file system; waits until it owns its name.
  void StartService(const fs::path& mount, const QString& type, const QString& label, const fs::path& log,
                    const QString& refusal = QString(), int delayMs = 0) {
    StopService();
    m_service = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    m_service->setProcessEnvironment(env);
    m_service->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList args{QStringLiteral("--mount"), QString::fromStdString(mount.string()), QStringLiteral("--type"), type,
                     QStringLiteral("--label"), label, QStringLiteral("--log"), QString::fromStdString(log.string())};
    if (!refusal.isEmpty()) args << QStringLiteral("--refuse") << refusal;
    if (delayMs > 0) args << QStringLiteral("--delay") << QString::number(delayMs);
    m_service->start(QStringLiteral(QZU_FAKE_UDISKS2), args);
    ASSERT_TRUE(m_service->waitForStarted(5000));
    EXPECT_TRUE(PumpUntil([&] { return Registered(); }, 5000));
  }
  void StopService() {
    if (!m_service) return;
    m_service->terminate();
    m_service->waitForFinished(5000);
    m_service.reset();
    EXPECT_TRUE(PumpUntil([&] { return !Registered(); }, 5000));
  }

  QString address;

 private:
  static constexpr char kWatchName[] = "qzu-test-bus-watch";
  bool Registered() {
    QDBusConnection bus = QDBusConnection::connectToBus(address, kWatchName);
    return bus.isConnected() && bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.UDisks2"));
  }

  QProcess m_daemon;
  std::unique_ptr<QProcess> m_service;
};

class DriveLabels : public ::testing::Test {
 protected:
  void SetUp() override { SetDriveLabelBusAddress(FromQString(bus.address)); }

  int UsbRow() { return t.Find(u"U盘 (" + P(t.system.usb) + u")"); }
  bool RenameItemEnabled() { return t.tree.menu.IsCommandEnabled(kFolderCmdRename); }
  // The rename item once UDisks2 has answered.
  bool RenameEnabled(int row) {
    t.Select(row);
    t.tree.UpdateFolderMenuStates();
    EXPECT_TRUE(PumpUntil([&] { return !t.tree.IsDriveLabelCallRunning(); }, 10000));
    return RenameItemEnabled();
  }
  bool RenameFieldShown() { return t.tree.TreeBox().RenameField().IsVisible(); }
  // Renames the row through the tree box's field, as F2 and Enter would.
  void RenameTo(int row, const CWString& label) {
    t.tree.TreeBox().BeginRowRename(row, kRenameFromKeyboard);
    ASSERT_TRUE(PumpUntil([&] { return RenameFieldShown(); }, 10000));
    EXPECT_EQ(t.tree.TreeBox().RenameField().GetText(), u"U盘");  // the label alone
    t.tree.TreeBox().RenameField().SetText(label);
    t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());
    EXPECT_TRUE(PumpUntil([&] { return !t.tree.IsDriveLabelCallRunning(); }, 10000));
  }

  ShownFolderTree t;  // sets a bus of its own; SetUp points at the private one
  PrivateBus bus;
  fs::path log = t.system.dir.path() / "udisks.log";
};

TEST_F(DriveLabels, ANewLabelIsSetThroughUDisks2AndShownWithTheMountPoint) {
  bus.StartService(t.system.usb, QStringLiteral("vfat"), QStringLiteral("U盘"), log);
  const int usb = UsbRow();
  ASSERT_GE(usb, 0);
  EXPECT_TRUE(RenameEnabled(usb));
  EXPECT_FALSE(RenameEnabled(t.Find(u" (/)")));  // not a file system UDisks2 lists

  RenameTo(usb, u"数据盘");
  EXPECT_EQ(t.Text(usb), u"数据盘 (" + P(t.system.usb) + u")");
  EXPECT_EQ(ReadFileText(log), "SetLabel 数据盘\n");
  EXPECT_TRUE(t.system.messages.empty());
  EXPECT_EQ(t.PathOf(usb), F(t.system.usb));

  // The same label again calls nothing and gives the row its mount point back.
  t.tree.TreeBox().BeginRowRename(usb, kRenameFromKeyboard);
  t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());
  EXPECT_EQ(t.Text(usb), u"数据盘 (" + P(t.system.usb) + u")");
  EXPECT_EQ(ReadFileText(log), "SetLabel 数据盘\n");
}

TEST_F(DriveLabels, ARefusalShowsTheReasonUDisks2GivesAndKeepsTheLabel) {
  bus.StartService(t.system.usb, QStringLiteral("ext4"), QStringLiteral("U盘"), log,
                   QStringLiteral("Error changing label: device is busy"));
  const int usb = UsbRow();
  EXPECT_TRUE(RenameEnabled(usb));
  RenameTo(usb, u"数据盘");
  EXPECT_EQ(t.Text(usb), u"U盘 (" + P(t.system.usb) + u")");
  EXPECT_EQ(t.system.messages,
            (std::vector<std::string>{"信息: 无法修改卷标：Error changing label: device is busy"}));
  EXPECT_FALSE(fs::exists(log));
}

// Where the label cannot change, the item is greyed and F2 says why; the
// row stays as it was.
TEST_F(DriveLabels, WithoutServiceOrLabelTheRenameIsGreyedAndF2SaysWhy) {
  const struct {
    const char* name;
    bool service;
    const char* type;
    const char* message;
  } cases[] = {
      {"no UDisks2 on the bus", false, "", "信息: 无法修改卷标：系统中没有 UDisks2 服务"},
      {"a file system without a label", true, "iso9660", "信息: 无法修改卷标：文件系统类型 iso9660 没有可以修改的卷标"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.service)
      bus.StartService(t.system.usb, QString::fromUtf8(c.type), QStringLiteral("U盘"), log);
    else
      bus.StopService();
    const int usb = UsbRow();
    EXPECT_FALSE(RenameEnabled(usb));
    t.system.messages.clear();
    QTest::keyClick(t.tree.TreeBox().Display().GetWidget(), Qt::Key_F2);
    EXPECT_TRUE(PumpUntil([&] { return !t.system.messages.empty(); }, 10000));
    EXPECT_FALSE(RenameFieldShown());
    EXPECT_EQ(t.system.messages, (std::vector<std::string>{c.message}));
    EXPECT_EQ(t.Text(usb), u"U盘 (" + P(t.system.usb) + u")");
  }
}

// A slow service (every answer 1.5 s late): the tree goes on at once after
// each request, the item stays greyed while a call runs, and the answer is
// shown when it comes.
TEST_F(DriveLabels, TheWindowGoesOnWhileUDisks2Answers) {
  bus.StartService(t.system.usb, QStringLiteral("vfat"), QStringLiteral("U盘"), log, QString(), 1500);
  const int usb = UsbRow();
  ASSERT_GE(usb, 0);
  const CWString before = u"U盘 (" + P(t.system.usb) + u")";
  const CWString after = u"数据盘 (" + P(t.system.usb) + u")";

  t.Select(usb);
  t.tree.UpdateFolderMenuStates();
  EXPECT_FALSE(RenameItemEnabled()) << "greyed until UDisks2 has said the label can change";
  EXPECT_TRUE(PumpUntil([&] { return RenameItemEnabled(); }, 10000));

  // F2 returns at once; the field opens when the answer comes.
  t.tree.TreeBox().BeginRowRename(usb, kRenameFromKeyboard);
  EXPECT_FALSE(RenameFieldShown());
  ASSERT_TRUE(PumpUntil([&] { return RenameFieldShown(); }, 10000));
  EXPECT_EQ(t.tree.TreeBox().RenameField().GetText(), u"U盘");
  t.tree.TreeBox().RenameField().SetText(u"数据盘");
  t.tree.TreeBox().CommitRowRename(&t.tree.TreeBox().RenameField());

  // The commit returns before UDisks2 has set anything; meanwhile the row
  // shows the label it has, and the item is greyed until the answer.
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(t.Text(usb), before);
  t.tree.UpdateFolderMenuStates();
  bool enabledMeanwhile = false;
  EXPECT_TRUE(PumpUntil(
      [&] {
        enabledMeanwhile = enabledMeanwhile || RenameItemEnabled();
        return t.Text(usb) == after;
      },
      15000));
  EXPECT_FALSE(enabledMeanwhile);
  EXPECT_EQ(ReadFileText(log), "SetLabel 数据盘\n");
  EXPECT_TRUE(t.system.messages.empty());

  // Once it is done, the item comes back.
  t.tree.UpdateFolderMenuStates();
  EXPECT_TRUE(PumpUntil([&] { return RenameItemEnabled(); }, 10000));
}

}  // namespace
