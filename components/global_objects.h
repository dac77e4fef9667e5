#pragma once
// The process-wide objects that the start-up, the main window and the banner
// strip share, beside those that live with their own parts (the settings,
// GlobalSettings(), and ApplicationTitle() in services/; the icon cache
// buffer in components/icon_render_cache.h; the saved title and the main
// window pointer in components/title_hint.h):
//   the URL redirect instance  holds one request object until exit; nothing else uses it
//   the input box              ShowInputBox below
//   AboutText()                the program's help text, set by the start-up; empty until then
//   BannerTexts()              the banner strip's configured texts; empty unless the application sets them
//
// The input box is a window object, so the set is made after the Qt
// application object exists: CreateGlobalObjects makes them in the order
// above (the first accessor call makes them when nothing did), and they are
// destroyed in the reverse order as the application object goes (or by
// DestroyGlobalObjects). A run that never shows the input box never makes a
// window for it. UI thread only.
#include "common/wstring.h"
#include "components/input_box.h"
#include "components/title_hint.h"
#include "services/url_redirect.h"

namespace rg_Tavelkin_MingLingJi {

// The banner strip's link targets, contact caption and notice text.
struct BannerTextSet {
  CWString homeAddress;     // the home link's address
  CWString chatAddress;     // the contact link's address
  CWString contactCaption;  // the contact link's caption
  CWString noticeText;      // the text the strip shows beside its links
};

// Makes the set unless it exists; with a Qt application object, the set is
// destroyed with it.
void CreateGlobalObjects();
// Destroys the set in reverse order (an input box still shown loses its
// window); the next accessor call makes a new one.
void DestroyGlobalObjects();
// Whether the set exists now.
bool GlobalObjectsExist();

rg_TavelkinWangZhiChongDingXiangLei& UrlRedirectGlobal();
rg_TavelkinShuRuKuangLei& InputBoxGlobal();
CWString& AboutText();
BannerTextSet& BannerTexts();

// The global input box's ShowInputBox: `result` null (or a null object)
// shows `content` read-only; otherwise asks for a text. 1 when closed with
// "确定"; 0 otherwise and at once while the box is already shown.
int ShowInputBox(const CWString& content, const CWString& prompt, const CWString& title, CWString* result = nullptr);

}  // namespace rg_Tavelkin_MingLingJi
