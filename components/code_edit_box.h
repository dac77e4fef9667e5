#pragma once
// rg_HuoHuaDaiMaBianJiKuang: the code edit box. It holds one Scintilla editor
// (code page 65001, text crossing as UTF-8) and turns the editor's
// notifications into 40 events of its own, each raised with the box as
// sender; the 41st, any message, is the control's OnMessage. Positions and
// lengths are byte positions and counts in the UTF-8 document; texts are
// converted from UTF-8 (list texts whole up to their zero byte, modification
// texts exactly `length` bytes, a null text giving the empty text). Handler
// results are ignored except the auto-completion selection's: non-zero
// cancels the list, so nothing is inserted. UI thread only.
//
// Modification notifications are split by SplitModification: the kind must
// be exactly one of the fifteen kinds with an event; combinations raise
// nothing.
#include <cstdint>

#include "common/wstring.h"
#include "framework/scintilla_host.h"

namespace rg_Ombrine_windows_chkzj {

// Modification type bits that are kinds with an event.
enum : int {
  kScModInsertText = 0x1,
  kScModDeleteText = 0x2,
  kScModChangeStyle = 0x4,
  kScModChangeFold = 0x8,
  kScModChangeMarker = 0x200,
  kScModBeforeInsert = 0x400,
  kScModBeforeDelete = 0x800,
  kScModChangeIndicator = 0x4000,
  kScModChangeLineState = 0x8000,
  kScModChangeMargin = 0x10000,
  kScModChangeAnnotation = 0x20000,
  kScModContainer = 0x40000,
  kScModLexerState = 0x80000,
  kScModInsertCheck = 0x100000,
  kScModChangeTabStops = 0x200000,
};
// Flag bits that travel with a kind.
enum : int {
  kScPerformedUser = 0x10,
  kScPerformedUndo = 0x20,
  kScPerformedRedo = 0x40,
  kScMultiStepUndoRedo = 0x80,
  kScLastStepInUndoRedo = 0x100,
  kScStartAction = 0x2000,
};

// One modification type taken apart.
struct ModificationSplit {
  int32_t kind = 0;       // type AND 0xFFFFCE0F
  int32_t performed = 0;  // type AND 0xFFC20070
  uint8_t multiStep = 0;
  uint8_t lastStep = 0;
  uint8_t startAction = 0;
};
ModificationSplit SplitModification(int32_t type);
// Whether `kind` is exactly one of the fifteen kinds that raise an event.
bool IsEventKind(int32_t kind);

class rg_HuoHuaDaiMaBianJiKuang : public rg_Ombrine_MFCJieMian_base::rg_scintilla_edit {
  QZU_DECLARE_CLASS(rg_HuoHuaDaiMaBianJiKuang)

 public:
  rg_HuoHuaDaiMaBianJiKuang();  // ConstructCodeEdit
  ~rg_HuoHuaDaiMaBianJiKuang() override;  // DestroyCodeEdit
  int CopyFrom(const CQzuObject& source) override;

  // SCI_STYLESETFONT for `style` with the face; nothing without a window.
  void SetCodeEditFont(int32_t style, const CWString& face);
  // The whole text (empty without a window).
  CWString GetCodeEditText() const { return GetText(); }
  // Replaces the whole text; a zero unit ends it; nothing without a window.
  void SetCodeEditText(const CWString& text) { SetText(text); }

  intptr_t OnScintillaNotification(const QzuScintillaNotification& notification) override;

  // The events, in declaration order. Modification events end with
  // performed, multi-step, last step and start action.
  template <class... A>
  using Slot = CQzuEventSlot<A...>;
  Slot<intptr_t, int, int> OnMarginClick;       // position, margin, modifiers
  Slot<intptr_t, int, int> OnMarginRightClick;  // position, margin, modifiers
  Slot<> OnSavePointReached;
  Slot<> OnSavePointLeft;
  Slot<> OnModifyAttemptReadOnly;
  Slot<intptr_t, intptr_t, const CWString&, int32_t, uint8_t, uint8_t, uint8_t> OnInsertCheck;  // position, length, text
  Slot<intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnLineStateChanged;   // line
  Slot<intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnMarginChanged;      // line
  Slot<intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnAnnotationChanged;  // line
  Slot<intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnTabStopsChanged;    // line
  // position, text, character, completion method; non-zero cancels the list.
  Slot<intptr_t, const CWString&, int, int> OnAutoCSelection;
  Slot<int, intptr_t, const CWString&, int, int> OnUserListSelection;  // list type, position, text, character, method
  Slot<int, uintptr_t, intptr_t> OnMacroRecord;                        // message, wParam, lParam
  Slot<int> OnCharAdded;                                               // character
  Slot<intptr_t, intptr_t, int> OnEditorDoubleClick;                   // position, line, modifiers
  Slot<int> OnUpdateUI;                                                // updated flags
  // position, length, text, lines added
  Slot<intptr_t, intptr_t, const CWString&, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnTextInserted;
  Slot<intptr_t, intptr_t, const CWString&, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnTextDeleted;
  Slot<intptr_t, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnStyleChanged;  // position, length
  Slot<intptr_t, int, int, int32_t, uint8_t, uint8_t, uint8_t> OnFoldChanged;   // line, level now, level before
  Slot<intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnMarkerChanged;           // line
  Slot<intptr_t, intptr_t, const CWString&, int32_t, uint8_t, uint8_t, uint8_t> OnBeforeInsert;  // position, length, text
  Slot<intptr_t, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnBeforeDelete;      // position, length
  Slot<intptr_t, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnIndicatorChanged;  // position, length
  Slot<intptr_t, intptr_t, int32_t, uint8_t, uint8_t, uint8_t> OnLexerState;        // position, length
  Slot<int, int32_t, uint8_t, uint8_t, uint8_t> OnContainerModification;            // token
  Slot<> OnPainted;
  Slot<intptr_t, int, int> OnDwellStart;  // position, x, y
  Slot<intptr_t, int, int> OnDwellEnd;    // position, x, y
  Slot<> OnZoom;
  Slot<intptr_t, int> OnHotSpotClick;         // position, modifiers
  Slot<intptr_t, int> OnHotSpotDoubleClick;   // position, modifiers
  Slot<intptr_t, int> OnHotSpotReleaseClick;  // position, modifiers
  Slot<intptr_t, int> OnIndicatorClick;       // position, modifiers
  Slot<intptr_t, int> OnIndicatorRelease;     // position, modifiers
  Slot<intptr_t> OnCallTipClick;              // position
  Slot<> OnAutoCCancelled;
  Slot<> OnAutoCCharDeleted;
  Slot<intptr_t, const CWString&, int, int> OnAutoCCompleted;  // position, text, character, completion method
  Slot<int, const CWString&, intptr_t> OnAutoCSelectionChange;  // list type, text, position

 private:
  void RaiseModification(const QzuScintillaNotification& n);
};

}  // namespace rg_Ombrine_windows_chkzj
