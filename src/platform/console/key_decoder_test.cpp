#include "platform/console/key_decoder.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

using R = DecodedKey::Result;

struct Case {
    const char* bytes;
    int key;
    const char* what;
};

// Complete sequences as xterm, tmux, rxvt and the Linux console send them.
const Case kSequences[] = {
    {"\r", key::kEnter, "Enter"},
    {"\x7f", key::kBackspace, "Backspace (DEL)"},
    {"\x08", key::kBackspace, "Backspace (BS)"},
    {"\t", key::kTab, "Tab"},
    {"\x1b[Z", key::kShiftTab, "Shift+Tab"},
    {"\x1b[A", key::kUp, "Up"},
    {"\x1b[B", key::kDown, "Down"},
    {"\x1b[C", key::kRight, "Right"},
    {"\x1b[D", key::kLeft, "Left"},
    {"\x1bOA", key::kUp, "Up, application mode"},
    {"\x1b[H", key::kHome, "Home (xterm)"},
    {"\x1b[F", key::kEnd, "End (xterm)"},
    {"\x1b[1~", key::kHome, "Home (tmux, Linux)"},
    {"\x1b[4~", key::kEnd, "End (tmux, Linux)"},
    {"\x1b[7~", key::kHome, "Home (rxvt)"},
    {"\x1bOH", key::kHome, "Home, application mode"},
    {"\x1b[2~", key::kIns, "Ins"},
    {"\x1b[3~", key::kDel, "Del"},
    {"\x1b[5~", key::kPgUp, "PgUp"},
    {"\x1b[6~", key::kPgDn, "PgDn"},
    {"\x1bOP", key::F(1), "F1"},
    {"\x1bOS", key::F(4), "F4"},
    {"\x1b[11~", key::F(1), "F1 (rxvt)"},
    {"\x1b[[A", key::F(1), "F1 (Linux console)"},
    {"\x1b[[E", key::F(5), "F5 (Linux console)"},
    {"\x1b[15~", key::F(5), "F5"},
    {"\x1b[17~", key::F(6), "F6"},
    {"\x1b[21~", key::F(10), "F10"},
    {"\x1b[23~", key::F(11), "F11"},
    {"\x1b[24~", key::F(12), "F12"},
    {"\x1b[1;2P", key::ShiftF(1), "Shift+F1"},
    {"\x1b[1;2R", key::ShiftF(3), "Shift+F3"},
    {"\x1b[24;2~", key::ShiftF(12), "Shift+F12"},
    {"\x1b[15;5~", key::CtrlF(5), "Ctrl+F5"},
    {"\x1b[1;5Q", key::CtrlF(2), "Ctrl+F2"},
    {"\x1b[1;3P", key::AltF(1), "Alt+F1"},
    {"\x1b[21;3~", key::AltF(10), "Alt+F10"},
    {"\x1bO2P", key::ShiftF(1), "Shift+F1 (modifier in SS3)"},
    {"\x1b[1;5A", key::kCtrlUp, "Ctrl+Up"},
    {"\x1b[1;5B", key::kCtrlDown, "Ctrl+Down"},
    {"\x1b[1;5D", key::kCtrlLeft, "Ctrl+Left"},
    {"\x1b[1;5C", key::kCtrlRight, "Ctrl+Right"},
    {"\x1b[1;5H", key::kCtrlHome, "Ctrl+Home"},
    {"\x1b[1;5F", key::kCtrlEnd, "Ctrl+End"},
    {"\x1b[5;5~", key::kCtrlPgUp, "Ctrl+PgUp"},
    {"\x1b[6;5~", key::kCtrlPgDn, "Ctrl+PgDn"},
    {"\x1b[1;2A", key::kUp, "Shift+Up is Up"},
    {"\x1bu", key::Alt('U'), "Alt+U"},
    {"\x1bU", key::Alt('U'), "Alt+Shift+U"},
    {"\x1b"
     "5",
     key::AltDigit(5), "Alt+5"},
    {"\x17", key::Ctrl('W'), "Ctrl+W"},
    {"\x03", key::kPgDn, "Ctrl+C shares PgDn's code"},
    {"a", 'a', "a"},
    {"\xc4\x85", 0xA5, "ą (UTF-8 to CP852)"},
    {"\xc5\xbb", 0xBD, "Ż"},
    {"\xe2\x95\x90", 0xCD, "═ typed or pasted"},
};

TEST(KeyDecoder, CompleteSequences) {
    for (const auto& c : kSequences) {
        std::string bytes = c.bytes;
        DecodedKey d = DecodeKey(bytes, true);
        EXPECT_EQ(d.result, R::kKey) << c.what;
        EXPECT_EQ(d.key, c.key) << c.what << ": got " << KeyName(d.key);
        EXPECT_EQ(d.length, bytes.size()) << c.what;
    }
}

TEST(KeyDecoder, EscAloneVersusEscPrefix) {
    // While more bytes may come, a lone Esc or a partial sequence waits.
    for (const char* partial : {"\x1b", "\x1b[", "\x1b[1;5", "\x1bO", "\x1b[[", "\xc4"})
        EXPECT_EQ(DecodeKey(partial, true).result, R::kNeedMore) << partial;

    // After the pause, a lone Esc is the Esc key.
    DecodedKey esc = DecodeKey("\x1b", false);
    EXPECT_EQ(esc.result, R::kKey);
    EXPECT_EQ(esc.key, key::kEsc);

    // Two Escs are two Esc keys, one at a time.
    DecodedKey first = DecodeKey("\x1b\x1b", true);
    EXPECT_EQ(first.key, key::kEsc);
    EXPECT_EQ(first.length, 1u);

    // Esc then a sequence: Esc first, the arrow after it.
    DecodedKey esc_then = DecodeKey("\x1b\x1b[A", true);
    EXPECT_EQ(esc_then.key, key::kEsc);
    EXPECT_EQ(DecodeKey(std::string("\x1b\x1b[A").substr(esc_then.length), true).key, key::kUp);

    // Keys typed fast stay separate.
    DecodedKey up = DecodeKey("\x1b[Ax", true);
    EXPECT_EQ(up.key, key::kUp);
    EXPECT_EQ(up.length, 3u);

    // Esc followed by a character that is not a letter or digit: Esc, then the character.
    DecodedKey esc_dot = DecodeKey("\x1b.", true);
    EXPECT_EQ(esc_dot.key, key::kEsc);
    EXPECT_EQ(esc_dot.length, 1u);
}

TEST(KeyDecoder, UnknownAndBrokenInputIsSkippedNotMisread) {
    DecodedKey mouse = DecodeKey("\x1b[<0;10;5M", true);
    EXPECT_EQ(mouse.result, R::kSkip);
    EXPECT_EQ(mouse.length, 10u);
    DecodedKey unknown = DecodeKey("\x1b[99~", true);
    EXPECT_EQ(unknown.result, R::kSkip);
    EXPECT_EQ(unknown.length, 5u);
    DecodedKey focus = DecodeKey("\x1b[I", true);
    EXPECT_EQ(focus.result, R::kSkip);
    // A cut UTF-8 character followed by ASCII: the stray byte goes, the letter stays.
    DecodedKey cut = DecodeKey(
        "\xc4"
        "a",
        true);
    EXPECT_EQ(cut.result, R::kSkip);
    EXPECT_EQ(cut.length, 1u);
    // A character code page 852 has not.
    EXPECT_EQ(DecodeKey("\xe2\x82\xac", true).result, R::kSkip);  // euro sign
    // Huge parameters do not overflow.
    EXPECT_EQ(DecodeKey("\x1b[99999999999999999999~", true).result, R::kSkip);
}

}  // namespace
}  // namespace kestrel::console
