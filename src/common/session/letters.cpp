#include "common/session/letters.h"

#include <array>

namespace kestrel::common {
namespace {

// Positions in the 18-letter text.
enum : int { kA, kC, kE, kL, kN, kO, kS, kZ, kX };

constexpr std::array<std::string_view, 18> kRenderings = {"A,", "C'", "E,", "L/", "N'", "O'",
                                                          "S'", "Z'", "Z-", "a,", "c'", "e,",
                                                          "l/", "n'", "o'", "s'", "z'", "z-"};

// Builds "A Ą B C Ć …" from the letters of the set; `last_two` gives the
// order of Ź and Ż at the end of the alphabet.
std::string Capitals(const std::string& pl, bool zet_with_dot_last, int offset = 0) {
    auto L = [&](int i) { return pl[static_cast<size_t>(i + offset)]; };
    const char base = offset ? 'a' : 'A';
    auto plain = [&](char c) { return static_cast<char>(c - 'A' + base); };
    std::string out;
    for (char c = 'A'; c <= 'Z'; ++c) {
        out += plain(c);
        switch (c) {
            case 'A':
                out += L(kA);
                break;
            case 'C':
                out += L(kC);
                break;
            case 'E':
                out += L(kE);
                break;
            case 'L':
                out += L(kL);
                break;
            case 'N':
                out += L(kN);
                break;
            case 'O':
                out += L(kO);
                break;
            case 'S':
                out += L(kS);
                break;
            case 'Z':
                if (zet_with_dot_last) {
                    out += L(kZ);
                    out += L(kX);
                } else {
                    out += L(kX);
                    out += L(kZ);
                }
                break;
            default:
                break;
        }
    }
    return out;
}

}  // namespace

LetterSet MakeLetterSet(std::string_view pl) {
    LetterSet set;
    set.pl = std::string(pl.substr(0, 18));
    if (set.pl.size() < 18) set.pl += kPolishPlain.substr(set.pl.size());
    set.replaced = set.pl != kPolishPlain;
    set.sort = Capitals(set.pl, true);
    set.identifier = set.sort + Capitals(set.pl, true, 9) + "0123456789-_.,\"@/()*";
    set.sort3 = " ";
    for (char c = '!'; c <= '/'; ++c) set.sort3 += c;
    set.sort3 += "0123456789;:<=>?@";
    set.sort3 += Capitals(set.pl, false);
    set.sort3 += "[\\]^_`";
    return set;
}

LetterSet ChooseLetterSet(bool gen_pl, bool gen_pm, const std::string* stored_pl) {
    if (gen_pl) return MakeLetterSet(kPolishCp852);
    if (gen_pm) return MakeLetterSet(kPolishMazovia);
    if (stored_pl != nullptr) return MakeLetterSet(*stored_pl);
    return MakeLetterSet(kPolishPlain);
}

std::string LetterSet::FromCp852(std::string_view cp852) const {
    std::string out(cp852);
    if (IsCp852()) return out;
    for (char& c : out) {
        if (static_cast<unsigned char>(c) < 0x80) continue;
        size_t i = kPolishCp852.find(c);
        if (i != std::string_view::npos) c = pl[i];
    }
    return out;
}

std::string_view PrinterRendering(int i) {
    return kRenderings[static_cast<size_t>(i)];
}

}  // namespace kestrel::common
