// The message line and the wait for a key, shared by every screen.
//
// Row 23, columns 1-38 carry messages; columns 40-77 prompts and questions;
// row 0 column 60 shows "CZEKAJ..." while the program works.
#pragma once

#include <string_view>

#include "common/session/runtime.h"

namespace kestrel::common {

inline constexpr int kMessageRow = 23;
inline constexpr int kMessageCol = 1;
inline constexpr int kMessageWidth = 38;
inline constexpr int kPromptCol = 40;
inline constexpr int kToneFrequency = 900;
inline constexpr int kToneTicks = 4;

/// QRMINKEY: waits for one key (a wait state: hot keys run) and returns it.
int Qrminkey(Runtime& rt);

/// QRMNDK: clears row 0, shows "Naciśnij dowolny klawisz" at row 23
/// column 40, empties the keyboard buffer, waits for a key, then shows
/// "CZEKAJ..." at row 0 column 60 and clears both halves of row 23.
/// Returns the key.
int Qrmndk(Runtime& rt);

/// Shows "CZEKAJ..." (blinking) at row 0 column 60.
void ShowWait(Runtime& rt);

/// Clears both halves of the message row, keeping the frame between them.
void ClearMessageRow(Runtime& rt);

/// Writes a message or progress text (CP852) at row 23 column 1 in `attr`,
/// cut to the 38 columns of the message half; the rest of the half is
/// blanked, so nothing of an earlier, longer text stays behind it. Every
/// text of the message half goes through here.
void WriteMessage(Runtime& rt, std::string_view cp852, console::Attr attr);

/// An error or message for the operator (CP852 text): at row 23 column 1,
/// emphasised (blinking when `blink`), a tone of 900 Hz for 4 ticks, then
/// the wait for a key.
void ShowMessage(Runtime& rt, std::string_view cp852, bool blink = true);

/// What a menu entry whose function this version lacks does: "Funkcja
/// niedostępna w tej wersji programu" in a box of the work area (longer than
/// the message half), a tone, the wait for a key; the screen is restored.
void NotInThisVersion(Runtime& rt);

}  // namespace kestrel::common
