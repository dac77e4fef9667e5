#include "framework/key_translation.h"

#include "framework/win_defs.h"

namespace {

// Shifted digits and punctuation of a US layout arrive as their own Qt keys;
// Windows reports the key itself.
int UnshiftedKey(int k) {
  switch (k) {
    case Qt::Key_Exclam: return Qt::Key_1;
    case Qt::Key_At: return Qt::Key_2;
    case Qt::Key_NumberSign: return Qt::Key_3;
    case Qt::Key_Dollar: return Qt::Key_4;
    case Qt::Key_Percent: return Qt::Key_5;
    case Qt::Key_AsciiCircum: return Qt::Key_6;
    case Qt::Key_Ampersand: return Qt::Key_7;
    case Qt::Key_ParenLeft: return Qt::Key_9;
    case Qt::Key_ParenRight: return Qt::Key_0;
    case Qt::Key_Colon: return Qt::Key_Semicolon;
    case Qt::Key_Plus: return Qt::Key_Equal;
    case Qt::Key_Less: return Qt::Key_Comma;
    case Qt::Key_Underscore: return Qt::Key_Minus;
    case Qt::Key_Greater: return Qt::Key_Period;
    case Qt::Key_Question: return Qt::Key_Slash;
    case Qt::Key_AsciiTilde: return Qt::Key_QuoteLeft;
    case Qt::Key_BraceLeft: return Qt::Key_BracketLeft;
    case Qt::Key_Bar: return Qt::Key_Backslash;
    case Qt::Key_BraceRight: return Qt::Key_BracketRight;
    case Qt::Key_QuoteDbl: return Qt::Key_Apostrophe;
    default: return k;
  }
}

}  // namespace

int VirtualKeyFromQtKey(int k, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return 0x60 + (k - Qt::Key_0);
    switch (k) {
      case Qt::Key_Asterisk: return 0x6A;
      case Qt::Key_Plus: return 0x6B;
      case Qt::Key_Minus: return 0x6D;
      case Qt::Key_Period: return 0x6E;
      case Qt::Key_Slash: return 0x6F;
      case Qt::Key_Enter: return 0x0D;
      default: break;
    }
  }
  if (k == Qt::Key_Asterisk) return (modifiers & Qt::ShiftModifier) ? '8' : 0x6A;
  k = UnshiftedKey(k);
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 0x70 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Clear: return 0x0C;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Print: return 0x2C;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Menu: return 0x5D;
    case Qt::Key_NumLock: return 0x90;
    case Qt::Key_ScrollLock: return 0x91;
    case Qt::Key_Semicolon: return 0xBA;
    case Qt::Key_Equal: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    case Qt::Key_Slash: return 0xBF;
    case Qt::Key_QuoteLeft: return 0xC0;
    case Qt::Key_BracketLeft: return 0xDB;
    case Qt::Key_Backslash: return 0xDC;
    case Qt::Key_BracketRight: return 0xDD;
    case Qt::Key_Apostrophe: return 0xDE;
    default: return 0;
  }
}

int ModifierFlagsFromQt(Qt::KeyboardModifiers modifiers) {
  int flags = 0;
  if (modifiers & Qt::ControlModifier) flags |= qzu_win::kModCtrl;
  if (modifiers & Qt::AltModifier) flags |= qzu_win::kModAlt;
  if (modifiers & Qt::ShiftModifier) flags |= qzu_win::kModShift;
  return flags;
}

int VirtualKeyFromMouseButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 0x01;
    case Qt::RightButton: return 0x02;
    case Qt::MiddleButton: return 0x04;
    case Qt::BackButton: return 0x05;
    case Qt::ForwardButton: return 0x06;
    default: return 0;
  }
}
