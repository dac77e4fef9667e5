#pragma once
// The framework's hyperlink: an underlined caption that opens its address
// with the desktop when clicked, unless an OnClick handler returns non-zero.
// It acts on the release of the left button, or on the press when asked
// (SetOpenOnPress); OnLeftDown is raised first either way, and a non-zero
// result there swallows the press. The caption shows one of three colours:
// the normal one, the visited one once the address has been opened, and the
// hover one while the pointer is over the link.
#include "framework/win_control.h"

namespace rg_Ombrine_MFCJieMian_base {

class rg_hyperlink : public CQzuWinControl {
  QZU_DECLARE_CLASS(rg_hyperlink)

 public:
  rg_hyperlink();
  int CopyFrom(const CQzuObject& source) override;
  // The control, the address, then the visited and hover colours and the
  // press flag.
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  void SetAddress(const CWString& address) { m_address = address; }
  const CWString& GetAddress() const { return m_address; }
  // Opens what LinkTarget names through OpenAddress (platform/shell_open.h),
  // which tells the user when nothing could open it; false then, and when
  // there is nothing to open. A successful open marks the link visited.
  bool Open();

  // The normal colour is the text colour; kDefaultColour for the visited or
  // the hover colour means "the normal colour".
  void SetLinkColours(COLORREF normal, COLORREF visited, COLORREF hover);
  COLORREF GetVisitedColour() const { return m_visitedColour; }
  COLORREF GetHoverColour() const { return m_hoverColour; }
  // The colour the caption shows now.
  COLORREF GetShownColour() const;
  bool IsVisited() const { return m_visited != 0; }
  bool IsHovered() const { return m_hovered; }

  void SetOpenOnPress(bool onPress) { m_openOnPress = onPress ? 1 : 0; }
  bool OpensOnPress() const { return m_openOnPress != 0; }

  CQzuEventSlot<> OnClick;

 protected:
  QWidget* CreateNativeWidget(const CQzuCreateParams& params, QWidget* parent) override;
  void ApplyCaption(const CWString& caption) override;
  CWString ReadCaption() const override;
  void ApplyColours() override;
  bool HandleWindowEvent(QObject* watched, QEvent* event) override;
  // What Open hands to the desktop: the address, or the caption when no
  // address is set.
  virtual CWString LinkTarget() const;

  CWString m_address;
  COLORREF m_visitedColour = kDefaultColour;
  COLORREF m_hoverColour = kDefaultColour;
  int32_t m_visited = 0;
  int32_t m_openOnPress = 0;
  bool m_hovered = false;

 private:
  // The click: OnClick, then Open unless a handler refused or the window went.
  void Activate();
};

}  // namespace rg_Ombrine_MFCJieMian_base
