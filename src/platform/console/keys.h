// The one key-code table of the whole program.
//
// Codes follow the xBase family's inkey values, because screens, stored
// settings and formulas compare with them: printable characters are their
// CP852 byte (32-255, but 127), Ctrl+letter is 1-26 and shares its code with
// the navigation key of the old keyboard layout (Ctrl+W == Ctrl+End == 23),
// function keys are 28 and negative numbers, Alt combinations are above 255.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::console {

namespace key {
inline constexpr int kNone = 0;

inline constexpr int kEnter = 13;
inline constexpr int kEsc = 27;
inline constexpr int kBackspace = 8;
inline constexpr int kTab = 9;
inline constexpr int kShiftTab = 271;
inline constexpr int kCtrlEnter = 10;
inline constexpr int kCtrlBackspace = 127;

inline constexpr int kUp = 5;
inline constexpr int kDown = 24;
inline constexpr int kLeft = 19;
inline constexpr int kRight = 4;
inline constexpr int kHome = 1;
inline constexpr int kEnd = 6;
inline constexpr int kPgUp = 18;
inline constexpr int kPgDn = 3;
inline constexpr int kIns = 22;
inline constexpr int kDel = 7;

inline constexpr int kCtrlLeft = 26;
inline constexpr int kCtrlRight = 2;
inline constexpr int kCtrlUp = 397;
inline constexpr int kCtrlDown = 401;
inline constexpr int kCtrlHome = 29;
inline constexpr int kCtrlEnd = 23;
inline constexpr int kCtrlPgUp = 31;
inline constexpr int kCtrlPgDn = 30;
inline constexpr int kCtrlIns = 402;
inline constexpr int kCtrlDel = 403;

inline constexpr int kF1 = 28;
/// F2..F10 are -1..-9, F11 -40, F12 -41.
constexpr int F(int n) {
    return n == 1 ? 28 : n <= 10 ? -(n - 1) : -(40 + n - 11);
}
/// Shift+F1..F10 are -10..-19, F11 -42, F12 -43.
constexpr int ShiftF(int n) {
    return n <= 10 ? -(9 + n) : -(42 + n - 11);
}
/// Ctrl+F1..F10 are -20..-29, F11 -44, F12 -45.
constexpr int CtrlF(int n) {
    return n <= 10 ? -(19 + n) : -(44 + n - 11);
}
/// Alt+F1..F10 are -30..-39, F11 -46, F12 -47.
constexpr int AltF(int n) {
    return n <= 10 ? -(29 + n) : -(46 + n - 11);
}

/// Ctrl+A .. Ctrl+Z are 1..26.
constexpr int Ctrl(char letter) {
    return (letter | 0x20) - 'a' + 1;
}
/// Alt+A .. Alt+Z: 256 + the PC keyboard's scan code of the letter.
int Alt(char letter);
/// Alt+0 .. Alt+9.
int AltDigit(int digit);
}  // namespace key

/// True for codes that stand for a character to be typed (CP852 byte).
constexpr bool IsPrintable(int code) {
    return code >= 32 && code <= 255 && code != 127;
}

/// Parses a key name as written in key scripts: "Enter", "Esc", "F2",
/// "Alt+U", "Ctrl+W", "Shift+F3", "Ctrl+PgDn", "PgUp", "Shift+Tab" ...
/// Names are not case-sensitive. Returns key::kNone for an unknown name.
int KeyFromName(std::string_view name);

/// The name of a code ("F2", "Alt+U", "Enter"; a printable character as
/// itself in CP852). Codes shared by two keys give the navigation name.
std::string KeyName(int code);

}  // namespace kestrel::console
