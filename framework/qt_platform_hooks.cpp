#include "framework/qt_platform_hooks.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "framework/input_state.h"
#include "framework/message_pump.h"
#include "framework/qt_text.h"

bool CQtPlatformHooks::SetClipboardText(const CWString& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  clipboard->setText(ToQString(text));
  return true;
}

CWString CQtPlatformHooks::GetClipboardText() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? FromQString(clipboard->text()) : CWString();
}

namespace {

constexpr QChar kWordJoiner(0x2060);      // no break here
constexpr QChar kZeroWidthSpace(0x200B);  // a break may come here

// A run of non-blanks: when it holds "/", its characters are joined so that
// it breaks only after its separators.
QString JoinedRun(const QString& run) {
  if (!run.contains(u'/')) return run.toHtmlEscaped();
  QString out;
  for (qsizetype i = 0; i < run.size(); ++i) {
    const QChar c = run[i];
    out += QString(c).toHtmlEscaped();
    if (i + 1 == run.size()) break;
    // The second half of a pair stays with its first.
    if (c.isHighSurrogate()) continue;
    out += c == u'/' ? kZeroWidthSpace : kWordJoiner;
  }
  return out;
}

// Blanks and the full-width punctuation of Chinese prose ("目录：/tmp/...")
// end a run.
bool EndsRun(QChar c) {
  const char16_t u = c.unicode();
  return c.isSpace() || (u >= 0x3000 && u <= 0x303F) || (u >= 0xFF01 && u <= 0xFF0F) || (u >= 0xFF1A && u <= 0xFF20);
}

}  // namespace

QString MessageBoxHtml(const QString& text, int spaceWidth) {
  QString normalised = text;
  normalised.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  QString html;
  for (const QString& line : normalised.split(u'\n')) {
    qsizetype indent = 0;
    while (indent < line.size() && line[indent] == u' ') ++indent;
    QString body;
    QString run;
    for (qsizetype i = indent; i < line.size(); ++i) {
      if (EndsRun(line[i])) {
        body += JoinedRun(run);
        run.clear();
        body += QString(line[i]).toHtmlEscaped();
      } else {
        run += line[i];
      }
    }
    body += JoinedRun(run);
    if (body.isEmpty()) body = QStringLiteral("&nbsp;");
    html += QStringLiteral("<div style=\"white-space:pre-wrap; margin-left:%1px\">%2</div>")
                .arg(indent * spaceWidth)
                .arg(body);
  }
  return html;
}

int CQtPlatformHooks::MessageBox(const CWString& text, const CWString& caption, int style) {
  if (!qApp) return IPlatformHooks::MessageBox(text, caption, style);
  // On the heap: the owner may be destroyed while the box is up, and takes
  // the box with it; the guard then reads as closed with the title bar.
  QPointer<QMessageBox> guard = new QMessageBox(QApplication::activeWindow());
  QMessageBox& box = *guard;
  box.setWindowTitle(caption.IsEmpty() ? QStringLiteral("信息:") : ToQString(caption));
  box.setTextFormat(Qt::RichText);
  box.setText(MessageBoxHtml(ToQString(text), box.fontMetrics().horizontalAdvance(u' ')));
  switch (style & 0xF0) {
    case kMbIconError: box.setIcon(QMessageBox::Critical); break;
    case kMbIconQuestion: box.setIcon(QMessageBox::Question); break;
    case kMbIconWarning: box.setIcon(QMessageBox::Warning); break;
    case kMbIconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
  }
  if (style & 0x1000) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  struct Choice { QMessageBox::StandardButton button; int id; };
  std::vector<Choice> choices;
  switch (style & 0xF) {
    case kMbOkCancel: choices = {{QMessageBox::Ok, kIdOk}, {QMessageBox::Cancel, kIdCancel}}; break;
    case kMbAbortRetryIgnore:
      choices = {{QMessageBox::Abort, kIdAbort}, {QMessageBox::Retry, kIdRetry}, {QMessageBox::Ignore, kIdIgnore}};
      break;
    case kMbYesNoCancel:
      choices = {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}, {QMessageBox::Cancel, kIdCancel}};
      break;
    case kMbYesNo: choices = {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}}; break;
    case kMbRetryCancel: choices = {{QMessageBox::Retry, kIdRetry}, {QMessageBox::Cancel, kIdCancel}}; break;
    default: choices = {{QMessageBox::Ok, kIdOk}}; break;
  }
  QMessageBox::StandardButtons buttons;
  for (const Choice& c : choices) buttons |= c.button;
  box.setStandardButtons(buttons);
  // The buttons speak Qt's translation; OK is named by the program's own
  // messages ("再点击确定按钮"), so it reads "确定" even when no translation
  // was found.
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("确定"));
  const int result = box.exec();
  delete guard.data();
  for (const Choice& c : choices)
    if (result == c.button) return c.id;
  // Closed with the title bar: Cancel when there is one, else the first.
  for (const Choice& c : choices)
    if (c.id == kIdCancel) return kIdCancel;
  return choices.front().id;
}

namespace {

// How long the desktop's opener may take to say that nothing could open the
// address. Openers of the desktops hand the address to the application and
// end at once; xdg-open without a desktop runs the application itself, which
// then counts as opened once this time has passed.
constexpr int kOpenerVerdictMilliseconds = 2000;

// xdg-open tells by its exit status whether anything opened the address (3:
// no handler, 4: the handler failed); Qt's own launch of it does not wait
// for that, and a failure would reach only the standard error.
bool RunDesktopOpener(const QString& opener, const QString& target) {
  // Not owned by the application object: an opener still running when the
  // program ends (with the application it started) is left to run.
  auto* process = new QProcess;
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process->start(opener, {target});
  if (!process->waitForStarted()) {
    delete process;
    return false;
  }
  if (process->waitForFinished(kOpenerVerdictMilliseconds)) {
    const bool opened = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    delete process;
    return opened;
  }
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  return true;
}

}  // namespace

bool CQtPlatformHooks::ShellOpen(const CWString& address, const CWString&) {
  if (address.IsEmpty() || !qApp) return false;
  const QString text = ToQString(address);
  const QUrl url = QFileInfo::exists(text) ? QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath())
                                           : QUrl::fromUserInput(text);
  if (!url.isValid()) return false;
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  // Without xdg-open, Qt knows the other ways (the desktop portal, handlers
  // registered with QDesktopServices) and answers false when none works.
  if (opener.isEmpty()) return QDesktopServices::openUrl(url);
  return RunDesktopOpener(opener, url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded));
}

bool CQtPlatformHooks::MoveToRecycleBin(const CWString& path) {
  const QString target = ToQString(path);
  if (target.isEmpty() || !QFileInfo::exists(target)) return false;
  // Qt 6.4 moves into ./files/ of the current folder when the per-user data
  // folder is missing: make sure it exists first.
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (!data.isEmpty()) QDir().mkpath(data);
  QFile file(target);
  if (!file.moveToTrash()) return false;
  return !QFileInfo::exists(target);
}

int16_t CQtPlatformHooks::AsyncKeyState(int virtualKey) { return QtAsyncKeyState(virtualKey); }

void CQtPlatformHooks::CursorPosition(int& x, int& y) {
  const QPoint p = QCursor::pos();
  x = p.x();
  y = p.y();
}

void CQtPlatformHooks::PumpPendingMessages() { QtPumpPendingMessages(); }

CWString CQtPlatformHooks::SpecialFolderPath(SpecialFolder folder) {
  QStandardPaths::StandardLocation location;
  switch (folder) {
    case SpecialFolder::Desktop: location = QStandardPaths::DesktopLocation; break;
    case SpecialFolder::Documents: location = QStandardPaths::DocumentsLocation; break;
    case SpecialFolder::Temporary: location = QStandardPaths::TempLocation; break;
    case SpecialFolder::Home: location = QStandardPaths::HomeLocation; break;
    default: return IPlatformHooks::SpecialFolderPath(folder);
  }
  const QString path = QStandardPaths::writableLocation(location);
  return path.isEmpty() ? IPlatformHooks::SpecialFolderPath(folder) : FromQString(path);
}

void InstallQtPlatformHooks() {
  static CQtPlatformHooks hooks;
  InstallInputStateTracker();
  InstallPlatformHooks(&hooks);
}
