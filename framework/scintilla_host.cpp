#include "framework/scintilla_host.h"

#include <Qsci/qsciscintilla.h>
#include <Qsci/qsciscintillabase.h>

#include <QCoreApplication>
#include <QEvent>
#include <QFont>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <cstring>
#include <vector>

#include "framework/font_text.h"
#include "framework/qt_text.h"

namespace {

constexpr unsigned kSciSetCodePage = 2037;
constexpr unsigned kSciSetText = 2181;
constexpr unsigned kSciGetText = 2182;
constexpr unsigned kSciGetLength = 2183;
constexpr unsigned kSciGetDirectFunction = 2184;
constexpr unsigned kSciGetDirectPointer = 2185;
constexpr unsigned kSciStyleSetFont = 2056;
constexpr unsigned kSciStyleSetSize = 2055;
constexpr unsigned kSciStyleClearAll = 2050;
constexpr unsigned kSciSetWrapMode = 2268;
constexpr unsigned kSciGetWrapMode = 2269;
constexpr intptr_t kScWrapNone = 0;
constexpr int kStyleDefault = 32;

using ListenerBox = std::shared_ptr<IScintillaEventListener*>;
using LongLinesBox = std::shared_ptr<ScintillaLongLines>;

void Forward(const ListenerBox& box, const QzuScintillaNotification& n) {
  if (box && *box) (*box)->OnScintillaNotification(n);
}

// Whether a message changes a style the text is drawn in.
bool ChangesTextStyle(unsigned message, uintptr_t style) {
  using B = QsciScintillaBase;
  if (message == B::SCI_STYLECLEARALL) return true;
  const bool styleSetter = message >= B::SCI_STYLESETFORE && message <= B::SCI_STYLESETCHARACTERSET;
  return styleSetter && (style == 0 || style == static_cast<uintptr_t>(kStyleDefault));
}

// Connects every notification QScintilla reports to the listener box. The
// long lines are styled first; their own style and note changes are not
// reported.
void ConnectNotifications(QsciScintilla* e, const ListenerBox& box, const LongLinesBox& longLines) {
  using B = QsciScintillaBase;
  auto simple = [e, box](auto signal, int code) {
    QObject::connect(e, signal, e, [box, code] {
      QzuScintillaNotification n;
      n.code = code;
      Forward(box, n);
    });
  };
  simple(&B::SCN_SAVEPOINTREACHED, kScnSavePointReached);
  simple(&B::SCN_SAVEPOINTLEFT, kScnSavePointLeft);
  simple(&B::SCN_MODIFYATTEMPTRO, kScnModifyAttemptRo);
  simple(&B::SCN_PAINTED, kScnPainted);
  simple(&B::SCN_ZOOM, kScnZoom);
  simple(&B::SCN_AUTOCCANCELLED, kScnAutoCCancelled);
  simple(&B::SCN_AUTOCCHARDELETED, kScnAutoCCharDeleted);

  QObject::connect(e, &B::SCN_CHARADDED, e, [box](int ch) {
    QzuScintillaNotification n;
    n.code = kScnCharAdded;
    n.ch = ch;
    Forward(box, n);
  });
  QObject::connect(e, &B::SCN_UPDATEUI, e, [box](int updated) {
    QzuScintillaNotification n;
    n.code = kScnUpdateUi;
    n.updated = updated;
    Forward(box, n);
  });
  QObject::connect(e, &B::SCN_DOUBLECLICK, e, [box](int position, int line, int modifiers) {
    QzuScintillaNotification n;
    n.code = kScnDoubleClick;
    n.position = position;
    n.line = line;
    n.modifiers = modifiers;
    Forward(box, n);
  });
  QObject::connect(e, &B::SCN_MODIFIED, e,
                   [box, longLines](int position, int type, const char* text, int length, int added, int line,
                                    int foldNow, int foldPrev, int token, int annotationAdded) {
                     if (longLines->Busy()) return;
                     longLines->AfterModification(position, length, type);
                     QzuScintillaNotification n;
                     n.code = kScnModified;
                     n.position = position;
                     n.modificationType = type;
                     n.text = text;
                     n.length = length;
                     n.linesAdded = added;
                     n.line = line;
                     n.foldLevelNow = foldNow;
                     n.foldLevelPrev = foldPrev;
                     n.token = token;
                     n.annotationLinesAdded = annotationAdded;
                     Forward(box, n);
                   });
  QObject::connect(e, &B::SCN_MACRORECORD, e, [box](unsigned int message, unsigned long wParam, void* lParam) {
    QzuScintillaNotification n;
    n.code = kScnMacroRecord;
    n.message = static_cast<int>(message);
    n.wParam = wParam;
    n.lParam = reinterpret_cast<intptr_t>(lParam);
    Forward(box, n);
  });
  auto marginish = [e, box](auto signal, int code) {
    QObject::connect(e, signal, e, [box, code](int position, int modifiers, int margin) {
      QzuScintillaNotification n;
      n.code = code;
      n.position = position;
      n.modifiers = modifiers;
      n.margin = margin;
      Forward(box, n);
    });
  };
  marginish(&B::SCN_MARGINCLICK, kScnMarginClick);
  marginish(&B::SCN_MARGINRIGHTCLICK, kScnMarginRightClick);
  auto positional = [e, box](auto signal, int code) {
    QObject::connect(e, signal, e, [box, code](int position, int modifiers) {
      QzuScintillaNotification n;
      n.code = code;
      n.position = position;
      n.modifiers = modifiers;
      Forward(box, n);
    });
  };
  positional(&B::SCN_HOTSPOTCLICK, kScnHotSpotClick);
  positional(&B::SCN_HOTSPOTDOUBLECLICK, kScnHotSpotDoubleClick);
  positional(&B::SCN_HOTSPOTRELEASECLICK, kScnHotSpotReleaseClick);
  positional(&B::SCN_INDICATORCLICK, kScnIndicatorClick);
  positional(&B::SCN_INDICATORRELEASE, kScnIndicatorRelease);
  auto dwell = [e, box](auto signal, int code) {
    QObject::connect(e, signal, e, [box, code](int position, int x, int y) {
      QzuScintillaNotification n;
      n.code = code;
      n.position = position;
      n.x = x;
      n.y = y;
      Forward(box, n);
    });
  };
  dwell(&B::SCN_DWELLSTART, kScnDwellStart);
  dwell(&B::SCN_DWELLEND, kScnDwellEnd);
  QObject::connect(e, &B::SCN_CALLTIPCLICK, e, [box](int direction) {
    QzuScintillaNotification n;
    n.code = kScnCallTipClick;
    n.position = direction;
    Forward(box, n);
  });
  auto completion = [box](int code, const char* text, int position, int ch, int method) {
    QzuScintillaNotification n;
    n.code = code;
    n.text = text;
    n.position = position;
    n.ch = ch;
    n.listCompletionMethod = method;
    Forward(box, n);
  };
  QObject::connect(e, QOverload<const char*, int, int, int>::of(&B::SCN_AUTOCSELECTION), e,
                   [completion](const char* t, int p, int c, int m) { completion(kScnAutoCSelection, t, p, c, m); });
  QObject::connect(e, &B::SCN_AUTOCCOMPLETED, e,
                   [completion](const char* t, int p, int c, int m) { completion(kScnAutoCCompleted, t, p, c, m); });
  QObject::connect(e, QOverload<const char*, int, int, int, int>::of(&B::SCN_USERLISTSELECTION), e,
                   [box](const char* text, int listType, int ch, int method, int position) {
                     QzuScintillaNotification n;
                     n.code = kScnUserListSelection;
                     n.text = text;
                     n.listType = listType;
                     n.ch = ch;
                     n.listCompletionMethod = method;
                     n.position = position;
                     Forward(box, n);
                   });
  QObject::connect(e, &B::SCN_AUTOCSELECTIONCHANGE, e, [box](const char* text, int listType, int position) {
    QzuScintillaNotification n;
    n.code = kScnAutoCSelectionChange;
    n.text = text;
    n.listType = listType;
    n.position = position;
    Forward(box, n);
  });
}

// Draws the editor's frame edges again as filled strips, over what the
// widget paints itself. The style strokes a 1-pixel rectangle inside the
// widget; at a fractional device-pixel ratio that stroke can land on the
// device pixel the rounded viewport paints over (bottom and right) or outside
// the widget's rounded clip (left and top), and the frame loses those edges.
// A filled strip is rounded as the widget's and the viewport's rectangles
// are, so it always covers the device pixels between the two. Each edge keeps
// the style's colour, read from the frame the style draws at ratio 1.
class FrameOnDevicePixels : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* frame = qobject_cast<QFrame*>(watched);
    if (m_painting || !frame || event->type() != QEvent::Paint) return false;
    const int width = frame->frameWidth();
    if (width <= 0) return false;
    // The widget's own painting first (frame, scroll bar corner).
    m_painting = true;
    QCoreApplication::sendEvent(frame, event);
    m_painting = false;
    QStyleOptionFrame option;
    option.initFrom(frame);
    option.frameShape = frame->frameShape();
    option.lineWidth = frame->lineWidth();
    option.midLineWidth = frame->midLineWidth();
    if (frame->frameShadow() == QFrame::Sunken) option.state |= QStyle::State_Sunken;
    if (frame->frameShadow() == QFrame::Raised) option.state |= QStyle::State_Raised;
    // A sample with the frame on each side and a middle between.
    const int side = 4 * width + 2;
    option.rect = QRect(0, 0, side, side);
    QImage sample(side, side, QImage::Format_ARGB32_Premultiplied);
    sample.fill(Qt::transparent);
    {
      QPainter painter(&sample);
      frame->style()->drawControl(QStyle::CE_ShapedFrame, &option, &painter, frame);
    }
    const int middle = side / 2;
    const QRect r = frame->rect();
    QPainter painter(frame);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), width), sample.pixelColor(middle, 0));
    painter.fillRect(QRect(r.left(), r.bottom() - width + 1, r.width(), width), sample.pixelColor(middle, side - 1));
    painter.fillRect(QRect(r.left(), r.top(), width, r.height()), sample.pixelColor(0, middle));
    painter.fillRect(QRect(r.right() - width + 1, r.top(), width, r.height()), sample.pixelColor(side - 1, middle));
    return true;
  }

 private:
  bool m_painting = false;
};

}  // namespace

CVWnd_Scintilla::CVWnd_Scintilla() : m_listener(std::make_shared<IScintillaEventListener*>(nullptr)) {}

CVWnd_Scintilla::~CVWnd_Scintilla() { *m_listener = nullptr; }

QsciScintilla* CVWnd_Scintilla::Editor() const { return qobject_cast<QsciScintilla*>(Widget()); }

QsciScintilla* CVWnd_Scintilla::CreateEditor(QWidget* parent) {
  if (Exists()) return nullptr;
  auto* editor = new QsciScintilla(parent);
  m_function = reinterpret_cast<QzuScintillaDirectFunction>(editor->SendScintilla(kSciGetDirectFunction));
  m_pointer = static_cast<intptr_t>(editor->SendScintilla(kSciGetDirectPointer));
  if (!m_function || !m_pointer) {
    delete editor;
    m_function = nullptr;
    m_pointer = 0;
    return nullptr;
  }
  Attach(editor);
  editor->installEventFilter(new FrameOnDevicePixels(editor));
  Send(kSciSetCodePage, 65001);
  m_longLines = std::make_shared<ScintillaLongLines>(m_function, m_pointer);
  ScintillaLongLines::WatchEditor(editor, m_longLines);
  ConnectNotifications(editor, m_listener, m_longLines);
  return editor;
}

intptr_t CVWnd_Scintilla::Send(unsigned int message, uintptr_t wParam, intptr_t lParam) const {
  if (!Exists() || !m_function) return 0;
  if (message == kSciSetWrapMode) {
    m_wrapAsked = static_cast<intptr_t>(wParam);
    if (m_wrapHeld) return 0;
  } else if (message == kSciGetWrapMode) {
    return m_wrapAsked;
  }
  const bool edits = m_longLines && ScintillaLongLines::IsEditingMessage(message);
  if (edits) m_longLines->Unprotect();
  const intptr_t result = m_function(m_pointer, message, wParam, lParam);
  if (edits) m_longLines->Protect();
  if (m_longLines && ChangesTextStyle(message, wParam)) m_longLines->AfterTextStyleChange();
  return result;
}

void CVWnd_Scintilla::ApplyWrap(size_t textBytes) {
  const bool hold = textBytes > kScintillaWrapTextLimit && m_wrapAsked != kScWrapNone;
  if (hold == m_wrapHeld) return;
  m_wrapHeld = hold;
  m_function(m_pointer, kSciSetWrapMode, static_cast<uintptr_t>(hold ? kScWrapNone : m_wrapAsked), 0);
}

void CVWnd_Scintilla::SetListener(IScintillaEventListener* listener) { *m_listener = listener; }

std::string CVWnd_Scintilla::GetTextUtf8() const {
  if (!Exists()) return std::string();
  const intptr_t length = Send(kSciGetLength);
  // Read straight into the result: a big text is not copied twice more.
  std::string text(static_cast<size_t>(length) + 1, '\0');
  if (Send(kSciGetText, static_cast<uintptr_t>(length) + 1, reinterpret_cast<intptr_t>(text.data())) <= 0)
    return std::string();
  text.resize(std::strlen(text.c_str()));  // up to the first zero byte
  return text;
}

void CVWnd_Scintilla::SetTextUtf8(const std::string& text) {
  if (!Exists()) return;
  // Before the text goes in: wrapping it would lay it all out at once.
  ApplyWrap(std::strlen(text.c_str()));
  Send(kSciSetText, 0, reinterpret_cast<intptr_t>(text.c_str()));
}

std::string ScintillaFaceName(const CWString& face) {
  if (face.IsEmpty() || face == u"微软雅黑") return "Microsoft YaHei";
  std::string name = face.ToUtf8();
  const auto ascii = [](const std::string& s) {
    for (unsigned char c : s)
      if (c >= 0x80) return false;
    return true;
  };
  if (ascii(name)) return name;
  std::string resolved = QFontInfo(QFont(ToQString(face))).family().toUtf8().toStdString();
  return ascii(resolved) ? resolved : name;
}

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_scintilla_edit, CQzuWinControl, "rg_Ombrine_MFCJieMian_base::rg_scintilla_edit")

rg_scintilla_edit::rg_scintilla_edit() {
  m_style = qzu_win::kWsTabStop;
  m_exStyle = qzu_win::kWsExClientEdge;
  ReplaceWindowObject(std::make_unique<CVWnd_Scintilla>());
}

rg_scintilla_edit::~rg_scintilla_edit() {
  DetachListener();
  if (CVWnd_Scintilla* host = Host(); host && m_window->Owner() == this) host->SetListener(nullptr);
}

int rg_scintilla_edit::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_scintilla_edit, source)
  CopyWinControl(src);
  return 1;
}

QWidget* rg_scintilla_edit::CreateNativeWidget(const CQzuCreateParams&, QWidget* parent) {
  CVWnd_Scintilla* host = Host();
  if (!host) return nullptr;
  QsciScintilla* editor = host->CreateEditor(parent);
  if (!editor) return nullptr;
  host->Detach();  // the window object attaches it again with its event routing
  host->SetListener(this);
  return editor;
}

std::vector<QObject*> rg_scintilla_edit::WatchedParts(QWidget* widget) {
  return {static_cast<QsciScintilla*>(widget)->viewport()};
}

intptr_t rg_scintilla_edit::Send(unsigned int message, uintptr_t wParam, intptr_t lParam) const {
  CVWnd_Scintilla* host = Host();
  return host ? host->Send(message, wParam, lParam) : 0;
}

void rg_scintilla_edit::SetText(const CWString& text) {
  if (!HasWindow()) return;
  Host()->SetTextUtf8(text.ToUtf8());
}

CWString rg_scintilla_edit::GetText() const {
  if (!HasWindow()) return CWString();
  return CWString::FromUtf8(Host()->GetTextUtf8());
}

void rg_scintilla_edit::ApplyCaption(const CWString& caption) {
  if (!caption.IsEmpty()) SetText(caption);
}

CWString rg_scintilla_edit::ReadCaption() const { return HasWindow() ? GetText() : m_caption; }

void rg_scintilla_edit::ApplyFont() {
  if (!HasWindow()) return;
  const QzuFontFields described = ReadFontFields(m_fontText);
  const std::string face = ScintillaFaceName(described.face);
  Send(kSciStyleSetFont, kStyleDefault, reinterpret_cast<intptr_t>(face.c_str()));
  Send(kSciStyleSetSize, kStyleDefault, described.pointSize);
  Send(kSciStyleClearAll);
}

intptr_t rg_scintilla_edit::OnScintillaNotification(const QzuScintillaNotification& n) {
  return Raise(OnNotify, n.code, &n);
}

}  // namespace rg_Ombrine_MFCJieMian_base
