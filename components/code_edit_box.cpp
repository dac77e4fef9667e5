#include "components/code_edit_box.h"

#include <string_view>

namespace rg_Ombrine_windows_chkzj {

namespace {

constexpr unsigned kSciStyleSetFont = 2056;
constexpr unsigned kSciAutoCCancel = 2101;

// A list text: zero-terminated UTF-8.
CWString ListText(const char* text) { return text ? CWString::FromUtf8(text) : CWString(); }

// A modification text: exactly `length` bytes of UTF-8, no terminator.
CWString ModificationText(const char* text, intptr_t length) {
  if (!text || length <= 0) return CWString();
  return CWString::FromUtf8(std::string_view(text, static_cast<size_t>(length)));
}

}  // namespace

ModificationSplit SplitModification(int32_t type) {
  ModificationSplit s;
  s.kind = static_cast<int32_t>(static_cast<uint32_t>(type) & 0xFFFFCE0Fu);
  s.performed = static_cast<int32_t>(static_cast<uint32_t>(type) & 0xFFC20070u);
  s.multiStep = (type & kScMultiStepUndoRedo) ? 1 : 0;
  s.lastStep = (type & kScLastStepInUndoRedo) ? 1 : 0;
  s.startAction = (type & kScStartAction) ? 1 : 0;
  return s;
}

bool IsEventKind(int32_t kind) {
  switch (kind) {
    case kScModInsertText:
    case kScModDeleteText:
    case kScModChangeStyle:
    case kScModChangeFold:
    case kScModChangeMarker:
    case kScModBeforeInsert:
    case kScModBeforeDelete:
    case kScModChangeIndicator:
    case kScModChangeLineState:
    case kScModChangeMargin:
    case kScModChangeAnnotation:
    case kScModContainer:
    case kScModLexerState:
    case kScModInsertCheck:
    case kScModChangeTabStops:
      return true;
    default:
      return false;
  }
}

QZU_IMPLEMENT_CLASS(rg_HuoHuaDaiMaBianJiKuang, rg_Ombrine_MFCJieMian_base::rg_scintilla_edit,
                    "rg_Ombrine_windows_chkzj::rg_HuoHuaDaiMaBianJiKuang")

rg_HuoHuaDaiMaBianJiKuang::rg_HuoHuaDaiMaBianJiKuang() = default;

rg_HuoHuaDaiMaBianJiKuang::~rg_HuoHuaDaiMaBianJiKuang() {
  // No notification may reach the slots while they are being destroyed.
  DetachListener();
  if (CVWnd_Scintilla* host = Host(); host && m_window->Owner() == this) host->SetListener(nullptr);
}

int rg_HuoHuaDaiMaBianJiKuang::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_HuoHuaDaiMaBianJiKuang, source)
  CopyWinControl(src);
  return 1;
}

void rg_HuoHuaDaiMaBianJiKuang::SetCodeEditFont(int32_t style, const CWString& face) {
  if (!HasWindow()) return;
  const std::string name = ScintillaFaceName(face);
  Send(kSciStyleSetFont, static_cast<uintptr_t>(style), reinterpret_cast<intptr_t>(name.c_str()));
}

void rg_HuoHuaDaiMaBianJiKuang::RaiseModification(const QzuScintillaNotification& n) {
  const ModificationSplit s = SplitModification(n.modificationType);
  const int32_t p = s.performed;
  const uint8_t m = s.multiStep, l = s.lastStep, a = s.startAction;
  switch (s.kind) {
    // The texts are converted only for a connected slot: an insertion of a
    // whole document carries all of it.
    case kScModInsertCheck:
      if (OnInsertCheck.IsConnected())
        Raise(OnInsertCheck, n.position, n.length, ModificationText(n.text, n.length), p, m, l, a);
      break;
    case kScModChangeLineState:
      Raise(OnLineStateChanged, n.line, p, m, l, a);
      break;
    case kScModChangeMargin:
      Raise(OnMarginChanged, n.line, p, m, l, a);
      break;
    case kScModChangeAnnotation:
      Raise(OnAnnotationChanged, n.line, p, m, l, a);
      break;
    case kScModChangeTabStops:
      Raise(OnTabStopsChanged, n.line, p, m, l, a);
      break;
    case kScModInsertText:
      if (OnTextInserted.IsConnected())
        Raise(OnTextInserted, n.position, n.length, ModificationText(n.text, n.length), n.linesAdded, p, m, l, a);
      break;
    case kScModDeleteText:
      if (OnTextDeleted.IsConnected())
        Raise(OnTextDeleted, n.position, n.length, ModificationText(n.text, n.length), n.linesAdded, p, m, l, a);
      break;
    case kScModChangeStyle:
      Raise(OnStyleChanged, n.position, n.length, p, m, l, a);
      break;
    case kScModChangeFold:
      Raise(OnFoldChanged, n.line, n.foldLevelNow, n.foldLevelPrev, p, m, l, a);
      break;
    case kScModChangeMarker:
      Raise(OnMarkerChanged, n.line, p, m, l, a);
      break;
    case kScModBeforeInsert:
      if (OnBeforeInsert.IsConnected())
        Raise(OnBeforeInsert, n.position, n.length, ModificationText(n.text, n.length), p, m, l, a);
      break;
    case kScModBeforeDelete:
      Raise(OnBeforeDelete, n.position, n.length, p, m, l, a);
      break;
    case kScModChangeIndicator:
      Raise(OnIndicatorChanged, n.position, n.length, p, m, l, a);
      break;
    case kScModLexerState:
      Raise(OnLexerState, n.position, n.length, p, m, l, a);
      break;
    case kScModContainer:
      Raise(OnContainerModification, n.token, p, m, l, a);
      break;
    default:  // a combination of kinds, or a kind without an event
      break;
  }
}

intptr_t rg_HuoHuaDaiMaBianJiKuang::OnScintillaNotification(const QzuScintillaNotification& n) {
  switch (n.code) {
    case kScnMarginClick:
      return Raise(OnMarginClick, n.position, n.margin, n.modifiers);
    case kScnMarginRightClick:
      return Raise(OnMarginRightClick, n.position, n.margin, n.modifiers);
    case kScnSavePointReached:
      return Raise(OnSavePointReached);
    case kScnSavePointLeft:
      return Raise(OnSavePointLeft);
    case kScnModifyAttemptRo:
      return Raise(OnModifyAttemptReadOnly);
    case kScnModified:
      RaiseModification(n);
      return 0;
    case kScnAutoCSelection: {
      const intptr_t r = Raise(OnAutoCSelection, n.position, ListText(n.text), n.ch, n.listCompletionMethod);
      // Cancelling inside the notification keeps the editor from inserting
      // the chosen entry.
      if (r != 0 && HasWindow()) Send(kSciAutoCCancel);
      return r;
    }
    case kScnUserListSelection:
      return Raise(OnUserListSelection, n.listType, n.position, ListText(n.text), n.ch, n.listCompletionMethod);
    case kScnMacroRecord:
      return Raise(OnMacroRecord, n.message, n.wParam, n.lParam);
    case kScnCharAdded:
      return Raise(OnCharAdded, n.ch);
    case kScnDoubleClick:
      return Raise(OnEditorDoubleClick, n.position, n.line, n.modifiers);
    case kScnUpdateUi:
      return Raise(OnUpdateUI, n.updated);
    case kScnPainted:
      return Raise(OnPainted);
    case kScnDwellStart:
      return Raise(OnDwellStart, n.position, n.x, n.y);
    case kScnDwellEnd:
      return Raise(OnDwellEnd, n.position, n.x, n.y);
    case kScnZoom:
      return Raise(OnZoom);
    case kScnHotSpotClick:
      return Raise(OnHotSpotClick, n.position, n.modifiers);
    case kScnHotSpotDoubleClick:
      return Raise(OnHotSpotDoubleClick, n.position, n.modifiers);
    case kScnHotSpotReleaseClick:
      return Raise(OnHotSpotReleaseClick, n.position, n.modifiers);
    case kScnIndicatorClick:
      return Raise(OnIndicatorClick, n.position, n.modifiers);
    case kScnIndicatorRelease:
      return Raise(OnIndicatorRelease, n.position, n.modifiers);
    case kScnCallTipClick:
      return Raise(OnCallTipClick, n.position);
    case kScnAutoCCancelled:
      return Raise(OnAutoCCancelled);
    case kScnAutoCCharDeleted:
      return Raise(OnAutoCCharDeleted);
    case kScnAutoCCompleted:
      return Raise(OnAutoCCompleted, n.position, ListText(n.text), n.ch, n.listCompletionMethod);
    case kScnAutoCSelectionChange:
      return Raise(OnAutoCSelectionChange, n.listType, ListText(n.text), n.position);
    default:
      return 0;
  }
}

}  // namespace rg_Ombrine_windows_chkzj
