#include "platform/console/key_decoder.h"

#include <cctype>
#include <vector>

#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"

namespace kestrel::console {
namespace {

using R = DecodedKey::Result;

DecodedKey Key(int key, size_t length) {
    return {R::kKey, key, length};
}
DecodedKey Skip(size_t length) {
    return {R::kSkip, 0, length};
}
DecodedKey NeedMore() {
    return {R::kNeedMore, 0, 0};
}

enum Mod { kShift = 1, kAlt = 2, kCtrl = 4 };

// The key for a cursor or editing key with xterm modifiers.
int Navigation(int plain, int mods) {
    if (!(mods & kCtrl)) return plain;
    switch (plain) {
        case key::kUp:
            return key::kCtrlUp;
        case key::kDown:
            return key::kCtrlDown;
        case key::kLeft:
            return key::kCtrlLeft;
        case key::kRight:
            return key::kCtrlRight;
        case key::kHome:
            return key::kCtrlHome;
        case key::kEnd:
            return key::kCtrlEnd;
        case key::kPgUp:
            return key::kCtrlPgUp;
        case key::kPgDn:
            return key::kCtrlPgDn;
        case key::kIns:
            return key::kCtrlIns;
        case key::kDel:
            return key::kCtrlDel;
        default:
            return plain;
    }
}

int Function(int n, int mods) {
    if (mods & kCtrl) return key::CtrlF(n);
    if (mods & kAlt) return key::AltF(n);
    if (mods & kShift) return key::ShiftF(n);
    return key::F(n);
}

// Key of the final byte of "ESC [ ... X" and "ESC O X"; 0 when none.
int FinalKey(char final, int mods) {
    switch (final) {
        case 'A':
            return Navigation(key::kUp, mods);
        case 'B':
            return Navigation(key::kDown, mods);
        case 'C':
            return Navigation(key::kRight, mods);
        case 'D':
            return Navigation(key::kLeft, mods);
        case 'H':
            return Navigation(key::kHome, mods);
        case 'F':
            return Navigation(key::kEnd, mods);
        case 'P':
            return Function(1, mods);
        case 'Q':
            return Function(2, mods);
        case 'R':
            return Function(3, mods);
        case 'S':
            return Function(4, mods);
        case 'Z':
            return key::kShiftTab;
        case 'M':
            return key::kEnter;  // keypad Enter in application mode
        default:
            return 0;
    }
}

// Key of "ESC [ n ~".
int TildeKey(int n, int mods) {
    switch (n) {
        case 1:
        case 7:
            return Navigation(key::kHome, mods);
        case 2:
            return Navigation(key::kIns, mods);
        case 3:
            return Navigation(key::kDel, mods);
        case 4:
        case 8:
            return Navigation(key::kEnd, mods);
        case 5:
            return Navigation(key::kPgUp, mods);
        case 6:
            return Navigation(key::kPgDn, mods);
        case 11:
        case 12:
        case 13:
        case 14:
        case 15:
            return Function(n - 10, mods);
        case 17:
        case 18:
        case 19:
        case 20:
        case 21:
            return Function(n - 11, mods);
        case 23:
        case 24:
            return Function(n - 12, mods);
        default:
            return 0;
    }
}

// xterm modifier parameter: 1 + (shift 1 | alt 2 | ctrl 4); meta (8) counts as alt.
int Modifiers(int param) {
    if (param < 2) return 0;
    int bits = param - 1;
    int mods = bits & 7;
    if (bits & 8) mods |= kAlt;
    return mods;
}

DecodedKey DecodeCsi(std::string_view b, bool more) {
    // b starts with ESC '['.
    if (b.size() >= 3 && b[2] == '[') {  // Linux console F1-F5: ESC [ [ A..E
        if (b.size() < 4) return more ? NeedMore() : Skip(3);
        if (b[3] >= 'A' && b[3] <= 'E') return Key(key::F(b[3] - 'A' + 1), 4);
        return Skip(4);
    }
    std::vector<int> params;
    int current = -1;
    size_t i = 2;
    for (; i < b.size(); ++i) {
        unsigned char c = b[i];
        if (c >= '0' && c <= '9') {
            current = (current < 0 ? 0 : current * 10) + (c - '0');
            if (current > 100000) current = 100000;
        } else if (c == ';' || c == ':') {
            params.push_back(current < 0 ? 1 : current);
            current = -1;
        } else if (c >= 0x20 && c <= 0x3F) {
            // private markers and intermediates: remember nothing
        } else if (c >= 0x40 && c <= 0x7E) {
            break;
        } else {
            return Skip(i);  // not a sequence after all
        }
    }
    if (i >= b.size()) return more ? NeedMore() : Skip(b.size());
    params.push_back(current < 0 ? 1 : current);
    char final = b[i];
    size_t length = i + 1;
    if (b[2] == '<' || b[2] == '?' || b[2] == '>') return Skip(length);  // mouse and reports
    int mods = params.size() >= 2 ? Modifiers(params[1]) : 0;
    int k = final == '~' ? TildeKey(params[0], mods) : FinalKey(final, mods);
    return k ? Key(k, length) : Skip(length);
}

DecodedKey DecodeSs3(std::string_view b, bool more) {
    // b starts with ESC 'O'; some terminals put a modifier digit in between.
    size_t i = 2;
    int mods = 0;
    while (i < b.size() && std::isdigit(static_cast<unsigned char>(b[i]))) {
        mods = Modifiers(b[i] - '0');
        ++i;
    }
    if (i >= b.size()) return more ? NeedMore() : Key(key::Alt('O'), 2);
    int k = FinalKey(b[i], mods);
    return k ? Key(k, i + 1) : Skip(i + 1);
}

DecodedKey DecodeChar(std::string_view b, bool more) {
    unsigned char c = b[0];
    if (c == 0x0D) return Key(key::kEnter, 1);
    if (c == 0x0A) return Key(key::kCtrlEnter, 1);
    if (c == 0x7F || c == 0x08) return Key(key::kBackspace, 1);
    if (c == 0x09) return Key(key::kTab, 1);
    if (c >= 0x01 && c <= 0x1A) return Key(c, 1);  // Ctrl+letter shares the byte's code
    if (c < 0x20) return Skip(1);
    if (c < 0x80) return Key(c, 1);
    // UTF-8: wait for the whole character.
    size_t need = (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 1;
    if (need == 1) return Skip(1);
    if (b.size() < need) {
        for (size_t j = 1; j < b.size(); ++j)
            if ((static_cast<unsigned char>(b[j]) & 0xC0) != 0x80) return Skip(j);
        return more ? NeedMore() : Skip(b.size());
    }
    char32_t code;
    size_t len = codepage::DecodeUtf8(b, 0, &code);
    int byte = codepage::FromUnicode(code);
    if (byte < 0x20 || byte == 0x7F) return Skip(len);
    return Key(byte, len);
}

}  // namespace

DecodedKey DecodeKey(std::string_view b, bool more) {
    if (b.empty()) return NeedMore();
    if (static_cast<unsigned char>(b[0]) != 0x1B) return DecodeChar(b, more);
    if (b.size() == 1) return more ? NeedMore() : Key(key::kEsc, 1);
    char c1 = b[1];
    if (c1 == '[') return DecodeCsi(b, more);
    if (c1 == 'O') return DecodeSs3(b, more);
    if (c1 == 0x1B) return Key(key::kEsc, 1);
    // Alt as an Esc prefix.
    if (std::isalpha(static_cast<unsigned char>(c1))) return Key(key::Alt(c1), 2);
    if (std::isdigit(static_cast<unsigned char>(c1))) return Key(key::AltDigit(c1 - '0'), 2);
    return Key(key::kEsc, 1);  // Esc, then the character on its own
}

}  // namespace kestrel::console
