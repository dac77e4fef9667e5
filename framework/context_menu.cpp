#include "framework/context_menu.h"

#include <QAction>
#include <QMenu>

#include "framework/qt_text.h"
#include "framework/win_defs.h"

namespace rg_Ombrine_MFCJieMian_base {

QZU_IMPLEMENT_CLASS(rg_CaiChanLei, CQzuObject, "rg_Ombrine_MFCJieMian_base::rg_CaiChanLei")

namespace {

struct KeyName {
  const char16_t* name;
  int code;
};

const std::vector<KeyName>& KeyNames() {
  static const std::vector<KeyName> names = [] {
    std::vector<KeyName> v = {
        {u"LButton", 1},  {u"RButton", 2},   {u"Break", 3},     {u"MButton", 4},     {u"XButton1", 5},
        {u"XButton2", 6}, {u"Backspace", 8}, {u"Tab", 9},       {u"PadCenter", 12},  {u"Enter", 13},
        {u"Shift", 16},   {u"Ctrl", 17},     {u"Alt", 18},      {u"Pause", 19},      {u"CapsLock", 20},
        {u"ESC", 27},     {u"Space", 32},    {u"PageUp", 33},   {u"PageDown", 34},   {u"End", 35},
        {u"Home", 36},    {u"Left", 37},     {u"Up", 38},       {u"Right", 39},      {u"Down", 40},
        {u"Ins", 45},     {u"Del", 46},      {u"PadMul", 106},  {u"PadPlus", 107},   {u"NumLock", 144},
        {u"ScrollLock", 145}, {u";", 186},   {u"=", 187},       {u",", 188},         {u"-", 189},
        {u".", 190},      {u"/", 191},       {u"`", 192},       {u"[", 219},         {u"\\", 220},
        {u"]", 221},      {u"'", 222}};
    static const char16_t* digits[] = {u"0", u"1", u"2", u"3", u"4", u"5", u"6", u"7", u"8", u"9"};
    for (int i = 0; i < 10; ++i) v.push_back({digits[i], 48 + i});
    static char16_t letters[26][2];
    for (int i = 0; i < 26; ++i) {
      letters[i][0] = static_cast<char16_t>(u'A' + i);
      letters[i][1] = 0;
      v.push_back({letters[i], 65 + i});
    }
    static const char16_t* fkeys[] = {u"F1", u"F2", u"F3", u"F4", u"F5", u"F6", u"F7", u"F8",
                                      u"F9", u"F10", u"F11", u"F12", u"F13", u"F14", u"F15", u"F16"};
    for (int i = 0; i < 16; ++i) v.push_back({fkeys[i], 112 + i});
    return v;
  }();
  return names;
}

const KeyName* LookUpKey(const CWString& name) {
  for (const KeyName& k : KeyNames())
    if (name.EqualsIgnoreAsciiCase(k.name)) return &k;
  return nullptr;
}

struct Item {
  int level;
  CWString caption;
  int id;
  CWString aux;
  CWString key;
  bool ctrl, shift, separator, checked, greyed;
};

bool ReadFlag(const CWString& field, bool& value) {
  if (field == u"0") value = false;
  else if (field == u"1") value = true;
  else return false;
  return true;
}

// The items of a valid text; false when any item is invalid.
bool ParseItems(const CWString& text, std::vector<Item>& items) {
  std::vector<CWString> fields = text.Split(u"\n");
  if (fields.empty() || fields[0].ToInt() != 1) return false;
  const size_t count = (fields.size() - 1) / 11;
  for (size_t n = 0; n < count; ++n) {
    const CWString* f = &fields[1 + n * 11];
    Item item{};
    item.level = static_cast<int>(f[0].ToInt());
    item.caption = f[1];
    item.id = static_cast<int>(f[3].ToInt());
    item.aux = f[4];
    item.key = f[5];
    if (!ReadFlag(f[6], item.ctrl) || !ReadFlag(f[7], item.shift) || !ReadFlag(f[8], item.separator) ||
        !ReadFlag(f[9], item.checked) || !ReadFlag(f[10], item.greyed))
      return false;
    if (item.level < 0) return false;
    if (!item.separator && (item.caption.IsEmpty() || item.id < 1 || item.id > 65535)) return false;
    if (!item.key.IsEmpty() && !LookUpKey(item.key)) return false;
    items.push_back(std::move(item));
  }
  return true;
}

CWString ShownText(const Item& item) {
  CWString text = item.caption;
  if (item.key.IsEmpty()) return text;
  text += u"\t";
  if (item.ctrl) text += u"Ctrl";
  if (item.shift) text += item.ctrl ? u"+Shift" : u"Shift";
  if (item.ctrl || item.shift) text += u"+";
  text += LookUpKey(item.key)->name;
  return text;
}

void BuildLevel(CQzuNativeMenu& menu, QMenu* parent, const std::vector<Item>& items, size_t& i, int parentLevel) {
  while (i < items.size() && items[i].level > parentLevel) {
    const Item& item = items[i];
    const bool hasChildren = i + 1 < items.size() && items[i + 1].level > item.level;
    if (hasChildren && !item.separator) {
      QMenu* sub = parent->addMenu(ToQString(item.caption));
      sub->setEnabled(!item.greyed);
      ++i;
      BuildLevel(menu, sub, items, i, item.level);
      continue;
    }
    ++i;
    if (item.separator) {
      parent->addSeparator();
      continue;
    }
    QAction* action = parent->addAction(ToQString(ShownText(item)));
    action->setData(item.id);
    action->setCheckable(item.checked);
    action->setChecked(item.checked);
    action->setEnabled(!item.greyed);
    menu.commands.push_back({item.id, action, parent, item.aux});
    if (!item.key.IsEmpty()) menu.accelerators.push_back({LookUpKey(item.key)->code, item.ctrl, item.shift, item.id});
  }
}

}  // namespace

CQzuNativeMenu::~CQzuNativeMenu() {
  for (QMenu* popup : popups) delete popup;
}

int MenuKeyCodeFromName(const CWString& name) {
  const KeyName* k = LookUpKey(name);
  return k ? k->code : -1;
}

CWString MenuKeyNameCanonical(const CWString& name) {
  const KeyName* k = LookUpKey(name);
  return k ? CWString(k->name) : CWString();
}

bool rg_CaiChanLei::IsEqual(const CQzuObject& other) const {
  if (!SameHeader(other)) return false;
  const auto& o = static_cast<const rg_CaiChanLei&>(other);
  return GetMenuDefinitionText() == o.GetMenuDefinitionText() && m_menu == o.m_menu;
}

int rg_CaiChanLei::CopyFrom(const CQzuObject& source) {
  QZU_COPY_FROM_PREAMBLE(rg_CaiChanLei, source)
  m_definition = src.m_definition;
  m_menu = src.m_menu;  // copies share the native menu
  return 1;
}

void rg_CaiChanLei::SaveToStream(CQzuStream& s) const { s.WriteText(m_definition); }

void rg_CaiChanLei::LoadFromStream(CQzuStream& s) {
  CWString text;
  if (s.ReadText(text)) SetMenuDefinitionText(text);
}

void rg_CaiChanLei::SetMenuDefinitionText(const CWString& text) {
  m_definition = text;
  m_menu.Reset();
}

bool rg_CaiChanLei::Build() {
  if (m_menu) return true;
  std::vector<Item> items;
  if (!ParseItems(GetMenuDefinitionText(), items)) return false;
  auto menu = CQzuRef<CQzuNativeMenu>::Make();
  size_t i = 0;
  while (i < items.size()) {
    if (items[i].level != 0) {  // deeper items before the first popup belong nowhere
      ++i;
      continue;
    }
    auto* popup = new QMenu(ToQString(items[i].caption));
    popup->setEnabled(!items[i].greyed);
    menu->popups.push_back(popup);
    ++i;
    BuildLevel(*menu, popup, items, i, 0);
  }
  m_menu = std::move(menu);
  return true;
}

QMenu* rg_CaiChanLei::GetPopup(int index) {
  if (!Build() || index < 0 || index >= static_cast<int>(m_menu->popups.size())) return nullptr;
  return m_menu->popups[static_cast<size_t>(index)];
}

int rg_CaiChanLei::GetPopupCount() { return Build() ? static_cast<int>(m_menu->popups.size()) : 0; }

void rg_CaiChanLei::EnableCommand(int id, bool enabled) {
  if (!Build()) return;
  for (auto& c : m_menu->commands)
    if (c.id == id) c.action->setEnabled(enabled);
}

void rg_CaiChanLei::CheckCommand(int id, bool checked) {
  if (!Build()) return;
  for (auto& c : m_menu->commands)
    if (c.id == id) {
      c.action->setCheckable(true);
      c.action->setChecked(checked);
    }
}

bool rg_CaiChanLei::IsCommandEnabled(int id) {
  if (!Build()) return false;
  for (auto& c : m_menu->commands)
    if (c.id == id) return c.action->isEnabled();
  return false;
}

CWString rg_CaiChanLei::GetCommandText(int id) {
  if (!Build()) return CWString();
  for (auto& c : m_menu->commands)
    if (c.id == id) return FromQString(c.action->text());
  return CWString();
}

int rg_CaiChanLei::FindAccelerator(int virtualKey, int modifierFlags) {
  if (!Build()) return 0;
  const bool ctrl = modifierFlags & qzu_win::kModCtrl;
  const bool shift = modifierFlags & qzu_win::kModShift;
  for (const auto& a : m_menu->accelerators)
    if (a.virtualKey == virtualKey && a.ctrl == ctrl && a.shift == shift) return a.id;
  return 0;
}

int rg_CaiChanLei::TrackPopup(int screenX, int screenY, CQzuWinControl* owner, bool returnOnly) {
  QMenu* popup = GetPopup(0);
  if (!popup) return 0;
  CQzuRef<CQzuNativeMenu> keep = m_menu;  // a handler may rebuild the menu meanwhile
  QAction* chosen = popup->exec(QPoint(screenX, screenY));
  const int id = chosen ? chosen->data().toInt() : 0;
  if (id && owner && !returnOnly) owner->PostMessage(qzu_win::kWmCommand, id, 0);
  return id;
}

}  // namespace rg_Ombrine_MFCJieMian_base
