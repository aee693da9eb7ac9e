#include "common/checks/identifiers.h"

#include <array>
#include <cstddef>

#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsCapital(char c) {
    return c >= 'A' && c <= 'Z';
}
int DigitAt(std::string_view s, size_t i) {
    return s[i] - '0';
}

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (!IsDigit(c)) return false;
    }
    return true;
}

std::string Without(std::string_view s, std::string_view drop) {
    std::string out;
    for (char c : s) {
        if (drop.find(c) == std::string_view::npos) out += c;
    }
    return out;
}

// Sum of the first weights.size() digits of `digits` times the weights.
template <size_t N>
int WeightedSum(std::string_view digits, const std::array<int, N>& weights) {
    int sum = 0;
    for (size_t i = 0; i < N; ++i) sum += DigitAt(digits, i) * weights[i];
    return sum;
}

// Modulo 11 with 10 counting as 0 (both statistical-number checks).
bool Mod11Matches(std::string_view digits, const auto& weights) {
    int control = WeightedSum(digits, weights) % 11;
    if (control == 10) control = 0;
    return control == DigitAt(digits, weights.size());
}

// Brings an account to one row of digits: characters 1-2 (two blanks in the
// old form), the sort code at 3-10, the rest of the account after it. The
// usual ways of writing the long form (check digits, dash, sort code, dash,
// account; or groups of four) come out right by dropping the dashes.
std::string NormaliseAccount(std::string_view text) {
    std::string s = Without(text, " ");
    if (s.size() > 8 && s[8] == '-') s = "  " + s.substr(0, 8) + s.substr(9);  // old form
    return Without(s, "-");
}

}  // namespace

int CheckNip(std::string_view text) {
    const std::string s = base::TrimRight(text);
    std::string digits;
    if (s.size() == 10) {
        digits = std::string(s);
    } else if (s.size() == 13 && s[3] == '-' &&
               ((s[7] == '-' && s[10] == '-') || (s[6] == '-' && s[9] == '-'))) {
        digits = Without(s, "-");
    }
    if (digits.size() != 10 || !AllDigits(digits)) return kIdBadForm;

    static constexpr std::array<int, 9> kWeights{6, 5, 7, 2, 3, 4, 5, 6, 7};
    // A remainder of 10 never equals a digit.
    if (WeightedSum(digits, kWeights) % 11 != DigitAt(digits, 9)) return kIdBadCheckDigit;
    return kIdValid;
}

int CheckRegon(std::string_view text) {
    const std::string s = base::TrimRight(text);
    if ((s.size() != 9 && s.size() != 14) || !AllDigits(s)) return kIdBadForm;

    static constexpr std::array<int, 8> kWeights9{8, 9, 2, 3, 4, 5, 6, 7};
    static constexpr std::array<int, 13> kWeights14{2, 4, 8, 5, 0, 9, 7, 3, 6, 1, 2, 4, 8};
    if (!Mod11Matches(s, kWeights9)) return kIdBadCheckDigit;
    if (s.size() == 14 && !Mod11Matches(s, kWeights14)) return kIdBadCheckDigit;
    return kIdValid;
}

int CheckPesel(std::string_view text) {
    const std::string s = base::TrimRight(text);
    if (s.size() != 11 || !AllDigits(s)) return kIdBadForm;

    static constexpr std::array<int, 10> kWeights{1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    const int control = (10 - WeightedSum(s, kWeights) % 10) % 10;
    if (control != DigitAt(s, 10)) return kIdBadCheckDigit;
    return kIdValid;
}

int CheckBankAccount(std::string_view text) {
    const std::string n = NormaliseAccount(text);
    for (char c : n) {
        if (!IsDigit(c) && c != ' ') return kIdBadForm;
    }
    // Blanks can only stand at 1-2 now (the old form); 3-10 must hold the sort code.
    if (n.size() < 10) return kIdBadForm;

    const std::string_view sort_code = std::string_view(n).substr(2, 8);
    static constexpr std::array<int, 7> kSortWeights{7, 1, 3, 9, 7, 11, 3};
    if (WeightedSum(sort_code, kSortWeights) % 10 != DigitAt(sort_code, 7)) {
        return kIdBadCheckDigit;
    }

    const bool old_form = n[0] == ' ' && n[1] == ' ';
    if (old_form) return kIdValid;
    if (n.size() != 26) {
        return n.size() >= 19 && n.size() <= 22 ? kIdValid : kIdBadAccountLength;
    }
    // Powers of ten modulo 97 for the digits moved behind "PL" (25 21) and the
    // check digits; 288 stands for "2521" followed by the zero check digits.
    static constexpr std::array<int, 26> kWeights{10, 1,  57, 93, 19, 31, 71, 75, 56,
                                                  25, 51, 73, 17, 89, 38, 62, 45, 53,
                                                  15, 50, 5,  49, 34, 81, 76, 27};
    if ((288 + WeightedSum(n, kWeights)) % 97 != 1) return kIdBadAccountCheck;
    return kIdValid;
}

bool CheckIban(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (IsDigit(c) || IsCapital(c)) s += c;
    }
    if (!s.empty() && IsDigit(s[0])) s = "PL" + s;
    if (s.size() < 5) return false;
    s = s.substr(4) + s.substr(0, 4);

    std::string digits;
    for (char c : s) {
        if (IsCapital(c)) {
            digits += std::to_string(c - 'A' + 10);
        } else {
            digits += c;
        }
    }
    // Six digits at a time behind the remainder so far: never more than eight digits.
    long remainder = 0;
    for (size_t i = 0; i < digits.size(); i += 6) {
        const std::string piece =
            std::to_string(remainder / 10) + std::to_string(remainder % 10) + digits.substr(i, 6);
        remainder = std::stol(piece) % 97;
    }
    return remainder == 1;
}

bool CheckZusAccount(std::string_view text) {
    const std::string s = Without(text, " ");
    for (char c : s) {
        if (!IsDigit(c) && !IsCapital(c)) return false;
    }
    if (!CheckIban(s)) return false;
    const size_t after_check_digits = IsDigit(s[0]) ? 2 : 4;
    return s.size() >= after_check_digits + 11 &&
           s.compare(after_check_digits, 11, "60000002026") == 0;
}

bool CheckMobilePhone(std::string_view text) {
    const std::string s = Without(text, " -");
    if (s.size() != 9 || !AllDigits(s)) return false;
    static constexpr std::array<std::string_view, 13> kPrefixes{
        "45", "50", "51", "53", "57", "60", "66", "69", "72", "73", "78", "79", "88"};
    for (std::string_view p : kPrefixes) {
        if (s.compare(0, 2, p) == 0) return true;
    }
    return false;
}

std::string NumberNote(int result) {
    switch (result) {
        case kIdBadForm:
            return codepage::FromUtf8(kNoteBadFormat);
        case kIdBadCheckDigit:
            return codepage::FromUtf8(kNoteBadNumber);
        default:
            return "";
    }
}

std::string BankAccountNote(int result) {
    switch (result) {
        case kIdBadForm:
            return codepage::FromUtf8(kNoteAccountError);
        case kIdBadCheckDigit:
            return codepage::FromUtf8(kNoteAccountBadNr);
        case kIdBadAccountCheck:
            return codepage::FromUtf8(kNoteAccountBadCheck);
        case kIdBadAccountLength:
            return codepage::FromUtf8(kNoteAccountBadLength);
        default:
            return "";
    }
}

}  // namespace kestrel::common
