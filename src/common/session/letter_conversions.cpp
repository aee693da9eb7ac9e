#include "common/session/letter_conversions.h"

#include <string>

#include "platform/base/text.h"

namespace kestrel::common {

std::string Translate(std::string_view text, std::string_view from, std::string_view to) {
    std::string out(text);
    for (char& c : out) {
        const size_t at = from.find(c);
        if (at != std::string_view::npos && at < to.size()) c = to[at];
    }
    return out;
}

std::string Qrmuppe(const LetterSet& set, std::string_view text) {
    if (set.IsCp852()) return base::Cp852Upper(text);
    const std::string out = base::AsciiUpper(text);
    const std::string_view pl = set.pl;
    return Translate(out, pl.substr(9, 9), pl.substr(0, 9));
}

picture::CaseTable UpperTable(const LetterSet& set) {
    picture::CaseTable t{};
    for (int i = 0; i < 256; ++i) {
        const char c = static_cast<char>(i);
        t[static_cast<size_t>(i)] =
            static_cast<unsigned char>(Qrmuppe(set, std::string_view(&c, 1))[0]);
    }
    return t;
}

std::string Qrmzpl(const LetterSet& set, std::string_view text) {
    if (set.IsPlain()) return std::string(text);
    if (set.IsCp852())
        return Translate(text, std::string(kAlphabetUpperCp852) + std::string(kAlphabetLowerCp852),
                         std::string(kAlphabetUpperIso88592) + std::string(kAlphabetLowerIso88592));
    return Translate(text, set.pl, kPolishIso88592);
}

std::string Qrmzp2(const LetterSet& set, std::string_view text) {
    if (set.IsPlain()) return std::string(text);
    return Translate(text, set.pl, kPolishWin1250);
}

std::string Qrmzp2a(std::string_view text) {
    return Translate(text, kPolishCp852, kPolishWin1250);
}

std::string Qrmzp2r(std::string_view text) {
    return Translate(text, kPolishWin1250, kPolishCp852);
}

std::string Qrmzp3(const LetterSet& set, std::string_view text) {
    if (set.IsPlain() || set.IsCp852()) return std::string(text);
    return Translate(text, set.pl, kPolishCp852);
}

std::string Qrmzp3r(const LetterSet& set, std::string_view text) {
    if (set.IsPlain() || set.IsCp852()) return std::string(text);
    if (text.find_first_not_of(set.pl) == std::string_view::npos) return std::string(text);
    return Translate(text, kPolishCp852, set.pl);
}

}  // namespace kestrel::common
