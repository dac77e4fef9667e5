// A stand-in for the UDisks2 service, for the drive label tests: it owns
// org.freedesktop.UDisks2 on the session bus it is started on (the tests'
// private bus) and answers the two calls the folder tree makes, for one file
// system:
//   GetManagedObjects on /org/freedesktop/UDisks2 (ObjectManager): one block
//     object with the Block (IdType, IdLabel) and Filesystem (MountPoints)
//     interfaces;
//   SetLabel(label, options) on that object: appends "SetLabel <label>" to the
//     log file and keeps the label, or, with --refuse, answers the error
//     org.freedesktop.UDisks2.Error.Failed with the given message.
// With --delay, every answer (and the log line) comes that many milliseconds
// after its call, as from a slow service or one waiting for a password.
// Usage: fake_udisks2 --mount PATH --type TYPE --label LABEL --log FILE [--refuse MESSAGE] [--delay MS]
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QFile>
#include <QMap>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <cstdio>

namespace {

using Interfaces = QMap<QString, QVariantMap>;
using ManagedObjects = QMap<QDBusObjectPath, Interfaces>;

constexpr char kRoot[] = "/org/freedesktop/UDisks2";
constexpr char kBlockPath[] = "/org/freedesktop/UDisks2/block_devices/fake0";

class FakeUDisks : public QDBusVirtualObject {
 public:
  QByteArray mountPoint;
  QString type, label, logPath, refusal;
  int delayMs = 0;

  QString introspect(const QString&) const override { return QString(); }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    if (delayMs <= 0) return Answer(message, connection);
    if (!Handles(message)) return false;
    QTimer::singleShot(delayMs, [this, message, connection] { Answer(message, connection); });
    return true;
  }

 private:
  static bool Handles(const QDBusMessage& message) {
    return (message.path() == QLatin1String(kRoot) && message.member() == QLatin1String("GetManagedObjects")) ||
           (message.path() == QLatin1String(kBlockPath) && message.member() == QLatin1String("SetLabel") &&
            !message.arguments().isEmpty());
  }

  bool Answer(const QDBusMessage& message, const QDBusConnection& connection) {
    if (message.path() == QLatin1String(kRoot) && message.member() == QLatin1String("GetManagedObjects")) {
      QDBusConnection(connection).send(message.createReply(QVariant::fromValue(Objects())));
      return true;
    }
    if (message.path() == QLatin1String(kBlockPath) && message.member() == QLatin1String("SetLabel") &&
        !message.arguments().isEmpty()) {
      if (!refusal.isEmpty()) {
        QDBusConnection(connection)
            .send(message.createErrorReply(QStringLiteral("org.freedesktop.UDisks2.Error.Failed"), refusal));
        return true;
      }
      label = message.arguments().at(0).toString();
      {
        // Written out before the reply: the caller reads it once answered.
        QFile log(logPath);
        if (log.open(QIODevice::Append)) log.write("SetLabel " + label.toUtf8() + "\n");
      }
      QDBusConnection(connection).send(message.createReply());
      return true;
    }
    return false;
  }

  ManagedObjects Objects() const {
    QVariantMap block{{QStringLiteral("IdType"), type}, {QStringLiteral("IdLabel"), label}};
    // UDisks2 lists each mount point with its terminating NUL.
    QVariantMap filesystem{
        {QStringLiteral("MountPoints"), QVariant::fromValue(QByteArrayList{mountPoint + QByteArray(1, '\0')})}};
    Interfaces interfaces{{QStringLiteral("org.freedesktop.UDisks2.Block"), block},
                          {QStringLiteral("org.freedesktop.UDisks2.Filesystem"), filesystem}};
    // An object without a file system, as a whole disk is.
    Interfaces drive{{QStringLiteral("org.freedesktop.UDisks2.Drive"), QVariantMap{}}};
    return {{QDBusObjectPath(kBlockPath), interfaces},
            {QDBusObjectPath(QStringLiteral("/org/freedesktop/UDisks2/drives/fake")), drive}};
  }
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qDBusRegisterMetaType<QByteArrayList>();
  qDBusRegisterMetaType<Interfaces>();
  qDBusRegisterMetaType<ManagedObjects>();
  FakeUDisks fake;
  const QStringList args = app.arguments();
  for (int i = 1; i + 1 < args.size(); i += 2) {
    const QString& key = args[i];
    const QString& value = args[i + 1];
    if (key == QLatin1String("--mount")) fake.mountPoint = value.toUtf8();
    else if (key == QLatin1String("--type")) fake.type = value;
    else if (key == QLatin1String("--label")) fake.label = value;
    else if (key == QLatin1String("--log")) fake.logPath = value;
    else if (key == QLatin1String("--refuse")) fake.refusal = value;
    else if (key == QLatin1String("--delay")) fake.delayMs = value.toInt();
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.registerVirtualObject(kRoot, &fake, QDBusConnection::SubPath) ||
      !bus.registerService(QStringLiteral("org.freedesktop.UDisks2"))) {
    std::fprintf(stderr, "fake_udisks2: %s\n", qPrintable(bus.lastError().message()));
    return 1;
  }
  return app.exec();
}
