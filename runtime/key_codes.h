// The game's key numbering: PC set-1 scan codes, plus 128 for the extended
// (E0-prefixed) keys. engine.ini stores these numbers, so 1 must be Escape
// and 200 the Up arrow on every keyboard. Back ends report keys as USB HID
// keyboard usages (which SDL scancodes are) and translate here.
#pragma once

#include <cstdint>

namespace quorin {

inline constexpr int kKeyCodeCount = 256;
inline constexpr int kUsbUsageCount = 232;  // keyboard usages 0..0xE7 (through Right GUI)

inline constexpr int kKeyEscape = 1;
inline constexpr int kKeyTab = 15;
inline constexpr int kKeyReturn = 28;
inline constexpr int kKeyZ = 44;
inline constexpr int kKeyX = 45;
inline constexpr int kKeyLeftAlt = 56;
inline constexpr int kKeyF4 = 62;
inline constexpr int kKeyF12 = 88;
inline constexpr int kKeyRightAlt = 184;
inline constexpr int kKeyUp = 200;
inline constexpr int kKeyLeft = 203;
inline constexpr int kKeyRight = 205;
inline constexpr int kKeyDown = 208;

// The game's key code for a USB HID keyboard usage, or 0 for a key the game
// does not number.
int KeyCodeFromUsbUsage(int usage);

}  // namespace quorin
