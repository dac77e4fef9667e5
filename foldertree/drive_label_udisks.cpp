#include "foldertree/drive_label_udisks.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include "framework/qt_text.h"
#include "textlib/path_helpers.h"

namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu {

namespace {

constexpr char kService[] = "org.freedesktop.UDisks2";
constexpr char kManagerPath[] = "/org/freedesktop/UDisks2";
constexpr char kObjectManager[] = "org.freedesktop.DBus.ObjectManager";
constexpr char kFilesystem[] = "org.freedesktop.UDisks2.Filesystem";
constexpr char kBlock[] = "org.freedesktop.UDisks2.Block";
constexpr int kQueryMilliseconds = 5000;
constexpr int kSetLabelMilliseconds = 120000;

// The file system types whose label UDisks2 sets (it runs their own tools:
// e2label, fatlabel, exfatlabel, ntfslabel, xfs_admin, btrfs...).
const QStringList kLabelledTypes = {QStringLiteral("ext2"),  QStringLiteral("ext3"),   QStringLiteral("ext4"),
                                    QStringLiteral("xfs"),   QStringLiteral("btrfs"),  QStringLiteral("vfat"),
                                    QStringLiteral("exfat"), QStringLiteral("ntfs"),   QStringLiteral("f2fs"),
                                    QStringLiteral("nilfs2"), QStringLiteral("reiserfs")};

CWString g_busAddress;

QString ConnectionName(const CWString& address) { return QStringLiteral("qzu-drive-labels ") + ToQString(address); }

QDBusConnection LabelBus() {
  if (g_busAddress.IsEmpty()) return QDBusConnection::systemBus();
  // The same name gives back the connection made before.
  return QDBusConnection::connectToBus(ToQString(g_busAddress), ConnectionName(g_busAddress));
}

DriveLabelAnswer Refused(const CWString& reason) { return {false, reason}; }

// UDisks2's own message; a missing service in words of our own.
CWString ReasonOf(const QDBusError& error) {
  if (error.type() == QDBusError::ServiceUnknown) return u"系统中没有 UDisks2 服务";
  if (error.type() == QDBusError::NoReply || error.type() == QDBusError::Timeout)
    return u"UDisks2 服务没有应答";
  const QString message = error.message().isEmpty() ? error.name() : error.message();
  return FromQString(message);
}

QList<QByteArray> ByteArrays(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QByteArrayList>()) return value.value<QByteArrayList>();
  QList<QByteArray> out;
  if (value.metaType() != QMetaType::fromType<QDBusArgument>()) return out;
  const QDBusArgument array = value.value<QDBusArgument>();
  array.beginArray();
  while (!array.atEnd()) {
    QByteArray item;
    array >> item;
    out << item;
  }
  array.endArray();
  return out;
}

// A mount point as UDisks2 lists it: the path's bytes, often with a NUL.
QByteArray MountPointBytes(const CWString& mountRoot) {
  const CWString path = mountRoot == kPathSeparatorText ? mountRoot : StripTrailingBackslash(mountRoot);
  return QByteArray::fromStdString(path.ToSystemPath());
}

struct FoundFilesystem {
  DriveLabelAnswer answer;
  QString objectPath;
};

// The UDisks2 object of the file system mounted at `mountRoot`, and whether
// its type has a label, from the reply to GetManagedObjects.
FoundFilesystem FilesystemIn(const QDBusMessage& reply, const CWString& mountRoot) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
    return {Refused(ReasonOf(QDBusError(reply))), QString()};

  const QByteArray wanted = MountPointBytes(mountRoot);
  // a{oa{sa{sv}}}: object path -> interface -> property -> value.
  const QDBusArgument objects = reply.arguments().at(0).value<QDBusArgument>();
  QString foundPath, foundType;
  objects.beginMap();
  while (!objects.atEnd()) {
    objects.beginMapEntry();
    QDBusObjectPath path;
    objects >> path;
    bool mountedHere = false;
    QString type;
    objects.beginMap();
    while (!objects.atEnd()) {
      objects.beginMapEntry();
      QString interface;
      QVariantMap properties;
      objects >> interface >> properties;
      objects.endMapEntry();
      if (interface == QLatin1String(kFilesystem)) {
        for (QByteArray point : ByteArrays(properties.value(QStringLiteral("MountPoints")))) {
          if (const qsizetype nul = point.indexOf('\0'); nul >= 0) point.truncate(nul);
          mountedHere = mountedHere || point == wanted;
        }
      } else if (interface == QLatin1String(kBlock)) {
        type = properties.value(QStringLiteral("IdType")).toString();
      }
    }
    objects.endMap();
    objects.endMapEntry();
    if (mountedHere && foundPath.isEmpty()) {
      foundPath = path.path();
      foundType = type;
    }
  }
  objects.endMap();

  if (foundPath.isEmpty()) return {Refused(u"UDisks2 不管理挂载在 " + mountRoot + u" 的文件系统"), QString()};
  if (!kLabelledTypes.contains(foundType)) {
    const CWString type = foundType.isEmpty() ? CWString(u"（未知）") : FromQString(foundType);
    return {Refused(u"文件系统类型 " + type + u" 没有可以修改的卷标"), foundPath};
  }
  return {{true, CWString()}, foundPath};
}

// Sends `call` without waiting; `then` gets the reply (or the error after
// `timeoutMs`) on the UI thread, unless `context` is gone by then.
void Send(QObject* context, QDBusConnection& bus, const QDBusMessage& call, int timeoutMs,
          std::function<void(const QDBusMessage&)> then) {
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, timeoutMs));
  // The watcher ends with its call, whether or not anyone still waits for it.
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                   [then = std::move(then)](QDBusPendingCallWatcher* finished) { then(finished->reply()); });
}

// Asks UDisks2 for its objects and hands `then` the file system mounted at
// `mountRoot`.
void FindFilesystem(QObject* context, const CWString& mountRoot, std::function<void(const FoundFilesystem&)> then) {
  QDBusConnection bus = LabelBus();
  if (!bus.isConnected()) {
    // Answered from the event loop all the same, as every other answer is.
    QMetaObject::invokeMethod(
        context, [then = std::move(then)] { then({Refused(u"无法连接系统的 D-Bus 总线"), QString()}); },
        Qt::QueuedConnection);
    return;
  }
  const QDBusMessage call = QDBusMessage::createMethodCall(kService, kManagerPath, kObjectManager,
                                                           QStringLiteral("GetManagedObjects"));
  Send(context, bus, call, kQueryMilliseconds, [mountRoot, then = std::move(then)](const QDBusMessage& reply) {
    then(FilesystemIn(reply, mountRoot));
  });
}

}  // namespace

void SetDriveLabelBusAddress(const CWString& address) {
  if (address == g_busAddress) return;
  if (!g_busAddress.IsEmpty()) QDBusConnection::disconnectFromBus(ConnectionName(g_busAddress));
  g_busAddress = address;
}

CWString GetDriveLabelBusAddress() { return g_busAddress; }

DriveLabelCalls::DriveLabelCalls() : m_context(std::make_unique<QObject>()) {}

DriveLabelCalls::~DriveLabelCalls() = default;

void DriveLabelCalls::Answer(const Done& done, const DriveLabelAnswer& answer) {
  --m_running;
  done(answer);
}

void DriveLabelCalls::CanChange(const CWString& mountRoot, Done done) {
  ++m_running;
  FindFilesystem(m_context.get(), mountRoot,
                 [this, done = std::move(done)](const FoundFilesystem& found) { Answer(done, found.answer); });
}

void DriveLabelCalls::Change(const CWString& mountRoot, const CWString& label, Done done) {
  ++m_running;
  FindFilesystem(m_context.get(), mountRoot, [this, label, done = std::move(done)](const FoundFilesystem& found) {
    if (!found.answer.ok) return Answer(done, found.answer);
    QDBusConnection bus = LabelBus();
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, found.objectPath, kFilesystem, QStringLiteral("SetLabel"));
    call << ToQString(label) << QVariantMap();
    // UDisks2 may ask the desktop's polkit agent for the user's password first.
    call.setInteractiveAuthorizationAllowed(true);
    Send(m_context.get(), bus, call, kSetLabelMilliseconds, [this, done](const QDBusMessage& reply) {
      Answer(done, reply.type() == QDBusMessage::ReplyMessage ? DriveLabelAnswer{true, CWString()}
                                                              : Refused(ReasonOf(QDBusError(reply))));
    });
  });
}

}  // namespace rg_TavelkinMingLingJi_ChuangKouZuJian_MuLuShu
