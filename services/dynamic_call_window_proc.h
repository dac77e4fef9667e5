#pragma once
// SubclassWindowProc: gives a window a new message procedure and returns the
// one it had, through the window framework's setter looked up by name at run
// time with the dynamic-call class (rg_class_DongTaiDiaoYongDLL): the program
// itself is opened, the setter found among its exported symbols, called, and
// the handle closed again. The file drop installs its procedure this way.
//
// Nothing reports an error: when the library cannot be opened or the setter
// is not found, the result is null and the window keeps its procedure.
// UI thread only, like the window.
#include "common/wstring.h"
#include "framework/native_window.h"

namespace rg_TavelkinMingLingJi_API {

// The library SubclassWindowProc opens: the empty name is the program itself.
inline constexpr char16_t kProgramItself[] = u"";

// `library` and `setterName` name where the setter is found; the defaults are
// the program itself and the framework's exported setter.
QzuWindowProc SubclassWindowProc(QWidget* window, QzuWindowProc procedure, const CWString& library = kProgramItself,
                                 const CWString& setterName = kSetWindowProcSymbol);

}  // namespace rg_TavelkinMingLingJi_API
