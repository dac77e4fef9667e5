#pragma once
// What the conversion core needs from the window around it, injected so the
// core runs and is tested without a window. The message pump and the program's
// folder come from the platform hooks.
#include "common/wstring.h"

namespace rg_Ombrine_app {

class IConversionHost {
 public:
  virtual ~IConversionHost() = default;
  // The title bar hint: the saved title + " - " + message (with a countdown
  // text in front when its number is above 0); an empty message restores it.
  virtual void SetTitleHint(const CWString& message, const CWString& countdown) = 0;
  // A message box captioned "信息:" owned by the main window.
  virtual void ShowInformation(const CWString& text) = 0;
};

}  // namespace rg_Ombrine_app
