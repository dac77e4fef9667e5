#pragma once
// rg_CaiChanLei: the framework's menu. A menu is described by its definition
// text (fields joined by "\n": "1", then per item level, caption, name,
// command id, auxiliary text, shortcut key name, and the flags Ctrl, Shift,
// separator, checked, greyed). The native menu is built from the text on
// first use and shared by copies; an invalid item discards the whole menu.
// Derived menus supply the text by overriding GetMenuDefinitionText.
#include <QPointer>

#include <vector>

#include "common/object.h"
#include "common/ref_object.h"
#include "framework/win_control.h"

class QMenu;
class QAction;

namespace rg_Ombrine_MFCJieMian_base {

// The built menu: popups of the menu bar, the command items and the
// accelerator table.
class CQzuNativeMenu : public CQzuRefObject {
 public:
  struct Command {
    int id;
    QAction* action;
    QMenu* popup;
    CWString auxText;
  };
  struct Accelerator {
    int virtualKey;
    bool ctrl;
    bool shift;
    int id;
  };
  std::vector<QMenu*> popups;  // the bar's popups, in order
  std::vector<Command> commands;
  std::vector<Accelerator> accelerators;

 protected:
  ~CQzuNativeMenu() override;
};

class rg_CaiChanLei : public CQzuObject {
  QZU_DECLARE_CLASS(rg_CaiChanLei)

 public:
  rg_CaiChanLei() = default;
  rg_CaiChanLei(const rg_CaiChanLei&) = delete;
  rg_CaiChanLei& operator=(const rg_CaiChanLei&) = delete;

  bool IsEqual(const CQzuObject& other) const override;
  int CopyFrom(const CQzuObject& source) override;
  void LoadFromStream(CQzuStream& stream) override;
  void SaveToStream(CQzuStream& stream) const override;

  // The definition text; the base returns the text given with
  // SetMenuDefinitionText.
  virtual CWString GetMenuDefinitionText() const { return m_definition; }
  void SetMenuDefinitionText(const CWString& text);

  // Builds the native menu when it does not exist yet; false when the text
  // describes no valid menu.
  bool Build();
  bool HasMenu() const { return static_cast<bool>(m_menu); }
  // A popup of the menu bar (the context menus show popup 0); null when none.
  QMenu* GetPopup(int index = 0);
  int GetPopupCount();
  // Greys or enables, checks or unchecks the item with that command id.
  void EnableCommand(int id, bool enabled);
  void CheckCommand(int id, bool checked);
  bool IsCommandEnabled(int id);
  // The shown text of a command item (caption, tab, shortcut); empty when none.
  CWString GetCommandText(int id);
  // The command of an accelerator (virtual key and modifier flags), or 0.
  int FindAccelerator(int virtualKey, int modifierFlags);

  // Shows popup 0 at a screen position and returns the chosen command id
  // (0 when nothing was chosen). Unless `returnOnly`, the choice is also
  // posted to `owner` as WM_COMMAND with the id as wParam.
  int TrackPopup(int screenX, int screenY, CQzuWinControl* owner, bool returnOnly = false);

 private:
  CWString m_definition;
  CQzuRef<CQzuNativeMenu> m_menu;
};

// Virtual-key code of a menu key name ("F2", "Del", "c"...), compared
// without regard to case; -1 for a name that is not in the table.
int MenuKeyCodeFromName(const CWString& name);
// The name as the table writes it ("C" for "c"); empty for unknown names.
CWString MenuKeyNameCanonical(const CWString& name);

}  // namespace rg_Ombrine_MFCJieMian_base
