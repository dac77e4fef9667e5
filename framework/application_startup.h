#pragma once
// Start-up of the Qt application in the order it must happen: Qt's own
// high-DPI scaling off before the application object exists, then the DPI
// factor from the primary screen, the CJK font standing in for "微软雅黑" and
// "Microsoft YaHei", and the Qt platform hooks.

// Before QApplication is constructed.
void PrepareQtEnvironment();
// After QApplication is constructed.
void InitializeFramework();
// The family the substitution chose ("WenQuanYi Micro Hei" when installed).
const char* CjkFontFamily();
