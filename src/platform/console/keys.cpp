#include "platform/console/keys.h"

#include <array>
#include <cctype>

namespace kestrel::console {

namespace key {

namespace {
// PC keyboard scan codes of the letters A..Z.
constexpr std::array<int, 26> kLetterScan = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                             49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};
}  // namespace

int Alt(char letter) {
    int i = (letter | 0x20) - 'a';
    if (i < 0 || i >= 26) return kNone;
    return 256 + kLetterScan[i];
}

int AltDigit(int digit) {
    if (digit < 0 || digit > 9) return kNone;
    return digit == 0 ? 385 : 375 + digit;
}

}  // namespace key

namespace {

struct Named {
    const char* name;
    int code;
};

// Navigation names come first so that KeyName prefers them for shared codes.
constexpr Named kNamed[] = {
    {"Enter", key::kEnter},
    {"Esc", key::kEsc},
    {"Backspace", key::kBackspace},
    {"Tab", key::kTab},
    {"Shift+Tab", key::kShiftTab},
    {"Ctrl+Enter", key::kCtrlEnter},
    {"Ctrl+Backspace", key::kCtrlBackspace},
    {"Up", key::kUp},
    {"Down", key::kDown},
    {"Left", key::kLeft},
    {"Right", key::kRight},
    {"Home", key::kHome},
    {"End", key::kEnd},
    {"PgUp", key::kPgUp},
    {"PgDn", key::kPgDn},
    {"Ins", key::kIns},
    {"Del", key::kDel},
    {"Ctrl+Left", key::kCtrlLeft},
    {"Ctrl+Right", key::kCtrlRight},
    {"Ctrl+Up", key::kCtrlUp},
    {"Ctrl+Down", key::kCtrlDown},
    {"Ctrl+Home", key::kCtrlHome},
    {"Ctrl+End", key::kCtrlEnd},
    {"Ctrl+PgUp", key::kCtrlPgUp},
    {"Ctrl+PgDn", key::kCtrlPgDn},
    {"Ctrl+Ins", key::kCtrlIns},
    {"Ctrl+Del", key::kCtrlDel},
    {"Space", ' '},
    // Other spellings accepted in scripts.
    {"Return", key::kEnter},
    {"Escape", key::kEsc},
    {"BS", key::kBackspace},
    {"PageUp", key::kPgUp},
    {"PageDown", key::kPgDn},
    {"Insert", key::kIns},
    {"Delete", key::kDel},
    {"Ctrl+PageUp", key::kCtrlPgUp},
    {"Ctrl+PageDown", key::kCtrlPgDn},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

// "F1".."F12" -> 1..12, else 0.
int FunctionNumber(std::string_view s) {
    if (s.size() < 2 || s.size() > 3 || (s[0] != 'F' && s[0] != 'f')) return 0;
    int n = 0;
    for (char c : s.substr(1)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        n = n * 10 + (c - '0');
    }
    return n >= 1 && n <= 12 ? n : 0;
}

std::string Prefixed(const char* prefix, int number) {
    std::string s(prefix);
    s.append(std::to_string(number));
    return s;
}

}  // namespace

int KeyFromName(std::string_view name) {
    for (const auto& n : kNamed)
        if (EqualNoCase(name, n.name)) return n.code;
    if (int f = FunctionNumber(name)) return key::F(f);
    struct Modifier {
        const char* prefix;
        int (*fkey)(int);
    };
    const Modifier mods[] = {{"Shift+", key::ShiftF}, {"Ctrl+", key::CtrlF}, {"Alt+", key::AltF}};
    for (const auto& m : mods) {
        if (!StartsWithNoCase(name, m.prefix)) continue;
        std::string_view rest = name.substr(std::string_view(m.prefix).size());
        if (int f = FunctionNumber(rest)) return m.fkey(f);
        if (rest.size() == 1 && std::isalpha(static_cast<unsigned char>(rest[0]))) {
            if (m.fkey == key::CtrlF) return key::Ctrl(rest[0]);
            if (m.fkey == key::AltF) return key::Alt(rest[0]);
        }
        if (rest.size() == 1 && std::isdigit(static_cast<unsigned char>(rest[0])) &&
            m.fkey == key::AltF)
            return key::AltDigit(rest[0] - '0');
    }
    return key::kNone;
}

std::string KeyName(int code) {
    for (const auto& n : kNamed)
        if (n.code == code && code != ' ') return n.name;
    for (int f = 1; f <= 12; ++f) {
        if (code == key::F(f)) return Prefixed("F", f);
        if (code == key::ShiftF(f)) return Prefixed("Shift+F", f);
        if (code == key::CtrlF(f)) return Prefixed("Ctrl+F", f);
        if (code == key::AltF(f)) return Prefixed("Alt+F", f);
    }
    for (char c = 'A'; c <= 'Z'; ++c) {
        std::string name;
        if (code == key::Ctrl(c)) name = "Ctrl+";
        if (code == key::Alt(c)) name = "Alt+";
        if (!name.empty()) return name.append(1, c);
    }
    for (int d = 0; d <= 9; ++d)
        if (code == key::AltDigit(d)) return Prefixed("Alt+", d);
    if (IsPrintable(code)) return std::string(1, static_cast<char>(code));
    return Prefixed("#", code);
}

}  // namespace kestrel::console
