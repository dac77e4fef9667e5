#pragma once
// Numbers the controls and their owners use to talk about windows: message
// numbers, window styles and a few sentinels, with the values Windows code
// knows them by, so callers can keep writing them as they always did.
#include <cstdint>

using COLORREF = uint32_t;  // 0x00BBGGRR

namespace qzu_win {

// Messages that can be posted or sent to a control's window.
constexpr int kWmClose = 0x0010;
constexpr int kWmCommand = 0x0111;
constexpr int kWmTimer = 0x0113;
constexpr int kWmMouseWheel = 0x020A;
constexpr int kWmDropFiles = 0x0233;
constexpr int kWmUser = 0x0400;
// The envelope dialog ends when its form posts this with wParam kEnvelopeEndCode.
constexpr int kEnvelopeEndMessage = 0xA001;
constexpr int kEnvelopeEndCode = 3;

// Position or size chosen by the framework (the control's default size).
constexpr int kCwUseDefault = static_cast<int>(0x80000000u);

// Window styles.
constexpr uint32_t kWsVisible = 0x10000000u;
constexpr uint32_t kWsDisabled = 0x08000000u;
constexpr uint32_t kWsBorder = 0x00800000u;
constexpr uint32_t kWsVScroll = 0x00200000u;
constexpr uint32_t kWsHScroll = 0x00100000u;
constexpr uint32_t kWsThickFrame = 0x00040000u;
constexpr uint32_t kWsTabStop = 0x00010000u;
constexpr uint32_t kWsExDlgModalFrame = 0x00000001u;
constexpr uint32_t kWsExTopmost = 0x00000008u;
constexpr uint32_t kWsExClientEdge = 0x00000200u;
constexpr uint32_t kWsExStaticEdge = 0x00020000u;

// Edit box styles.
constexpr uint32_t kEsCenter = 0x0001;
constexpr uint32_t kEsRight = 0x0002;
constexpr uint32_t kEsMultiline = 0x0004;
constexpr uint32_t kEsPassword = 0x0020;
constexpr uint32_t kEsReadOnly = 0x0800;

// Modifier flags reported with key and mouse events.
constexpr int kModCtrl = 0x2000;
constexpr int kModAlt = 0x4000;
constexpr int kModShift = 0x8000;
// One wheel notch.
constexpr int kWheelDelta = 120;

// Virtual-key codes used by the framework itself.
constexpr int kVkLButton = 0x01;
constexpr int kVkRButton = 0x02;
constexpr int kVkMButton = 0x04;
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;
constexpr int kVkEscape = 0x1B;
constexpr int kVkReturn = 0x0D;

}  // namespace qzu_win
