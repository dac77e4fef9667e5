#pragma once
// CQzuWinForm: a top-level window whose children sit at absolute positions.
// Closing it (title bar, Alt+F4, Esc when asked for, a posted WM_CLOSE) asks
// OnCloseQuery first: a non-zero result keeps the window; otherwise the
// window is destroyed while the object lives on. Shown modally it lives
// inside the envelope dialog (CQzuEnvelopeDialog) and CloseForm ends that.
#include <QPointer>

#include "framework/win_container.h"

#include <QDialog>

class IWinFormEventListener {
 public:
  virtual ~IWinFormEventListener() = default;
};

namespace rg_Ombrine_MFCJieMian_base {

class CQzuWinForm : public rg_ZuJianBuJuQi, public IWinFormEventListener {
  QZU_DECLARE_CLASS(CQzuWinForm)

 public:
  CQzuWinForm();
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  int DefaultWidth() const override;
  int DefaultHeight() const override;

  // Creates the top-level window, owned by `owner` when given (it then
  // stays above the owner). kCwUseDefault leaves the position to the system.
  int CreateForm(CQzuWinControl* owner = nullptr, int x = qzu_win::kCwUseDefault, int y = qzu_win::kCwUseDefault,
                 int width = qzu_win::kCwUseDefault, int height = qzu_win::kCwUseDefault, int id = 0);
  // Shows the form in the envelope dialog and returns when it has ended:
  // the end code posted with the envelope's message, 0 when closed otherwise.
  int CreateModal(CQzuWinControl* owner = nullptr, int width = qzu_win::kCwUseDefault,
                  int height = qzu_win::kCwUseDefault, int id = 0xFFFF);
  // Ends the form: posts the envelope its end message (0xA001, wParam 3)
  // when hosted by one, else WM_CLOSE to the form's window. Nothing without
  // a window.
  void CloseForm();
  QDialog* GetEnvelope() const { return m_envelope.data(); }
  // Set by the envelope dialog while it hosts the form.
  void SetEnvelope(QDialog* envelope) { m_envelope = envelope; }

  // 0 fixed border, 1 sizable.
  void SetBorderStyle(int style) { m_borderStyle = style; }
  void SetMinMaxButtons(bool minimise, bool maximise) {
    m_minimiseBox = minimise ? 1 : 0;
    m_maximiseBox = maximise ? 1 : 0;
  }
  void SetTopMost(bool topMost);
  void SetEscCloses(bool escCloses) { m_escCloses = escCloses ? 1 : 0; }
  // A form created without a position is centred on the primary screen
  // when this is on; off (the default), it is centred over its owner's
  // window when it has a shown one (CentreOverOwner), else its position is
  // the window system's choice.
  void SetCentredOnScreen(bool centred) { m_centredOnScreen = centred ? 1 : 0; }
  // Moves the window so that it sits in the middle of the primary screen's
  // available area (AvailableScreenArea), its top left kept on the screen
  // when it is larger.
  // Nothing without a window or for a form inside an envelope.
  void CentreOnScreen();
  // Moves the window so that its middle is the middle of its owner's window,
  // kept inside the available area. Nothing without a shown owner.
  void CentreOverOwner();

  // Asks OnCloseQuery; true when the form may close.
  bool QueryClose();

  CQzuEventSlot<> OnCloseQuery;       // non-zero refuses the close
  CQzuEventSlot<> OnFirstActivation;  // once per window
  CQzuEventSlot<int> OnActivate;      // 1 activated, 0 deactivated

  bool HandleWindowEvent(QObject* watched, QEvent* event) override;
  intptr_t HandleMessage(int message, intptr_t wParam, intptr_t lParam) override;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void AfterCreate(const CQzuCreateParams& params) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void RaiseFirstActivation();

  int32_t m_borderStyle = 1;
  int32_t m_minimiseBox = 1;
  int32_t m_maximiseBox = 1;
  int32_t m_escCloses = 0;
  int32_t m_centredOnScreen = 0;  // not streamed
  QPointer<QWidget> m_ownerWidget;
  QPointer<QDialog> m_envelope;
  bool m_firstActivationDone = false;
};

}  // namespace rg_Ombrine_MFCJieMian_base

using rg_Ombrine_MFCJieMian_base::CQzuWinForm;
