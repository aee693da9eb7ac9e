#include "payroll/printouts/data/amount_words.h"

#include <array>
#include <cstdio>

#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

constexpr std::array<const char*, 20> kUnits = {
    "zero",       "jeden",      "dwa",          "trzy",        "cztery",
    "pięć",       "sześć",      "siedem",       "osiem",       "dziewięć",
    "dziesięć",   "jedenaście", "dwanaście",    "trzynaście",  "czternaście",
    "piętnaście", "szesnaście", "siedemnaście", "osiemnaście", "dziewiętnaście"};
constexpr std::array<const char*, 10> kTens = {"",
                                               "",
                                               "dwadzieścia",
                                               "trzydzieści",
                                               "czterdzieści",
                                               "pięćdziesiąt",
                                               "sześćdziesiąt",
                                               "siedemdziesiąt",
                                               "osiemdziesiąt",
                                               "dziewięćdziesiąt"};
constexpr std::array<const char*, 10> kHundreds = {
    "",        "sto",      "dwieście",  "trzysta",  "czterysta",
    "pięćset", "sześćset", "siedemset", "osiemset", "dziewięćset"};

struct Scale {
    int64_t value;
    const char* forms[3];  // 1, 2-4, 5 and more
};
constexpr std::array<Scale, 4> kScales = {{
    {1000000000000LL, {"bilion", "biliony", "bilionów"}},
    {1000000000LL, {"miliard", "miliardy", "miliardów"}},
    {1000000LL, {"milion", "miliony", "milionów"}},
    {1000LL, {"tysiąc", "tysiące", "tysięcy"}},
}};

void Append(std::string& out, const char* word) {
    if (!out.empty()) out += ' ';
    out += word;
}

// 1..999 in words.
void AppendGroup(std::string& out, int n) {
    if (n >= 100) Append(out, kHundreds[static_cast<size_t>(n / 100)]);
    n %= 100;
    if (n >= 20) {
        Append(out, kTens[static_cast<size_t>(n / 10)]);
        n %= 10;
        if (n > 0) Append(out, kUnits[static_cast<size_t>(n)]);
    } else if (n > 0) {
        Append(out, kUnits[static_cast<size_t>(n)]);
    }
}

const char* FormOf(const char* const forms[3], int64_t n) {
    const int form = PluralForm(n);
    return forms[form == 1 ? 0 : form == 2 ? 1 : 2];
}

std::string NumberInWordsUtf8(int64_t n) {
    if (n == 0) return kUnits[0];
    std::string out;
    for (const Scale& scale : kScales) {
        const int64_t count = n / scale.value;
        if (count == 0) continue;
        // Counts above 999 of the largest scale are written in words too.
        out += out.empty() ? "" : " ";
        out += count >= 1000 ? NumberInWordsUtf8(count) : std::string();
        if (count < 1000) AppendGroup(out, static_cast<int>(count));
        Append(out, FormOf(scale.forms, count));
        n %= scale.value;
    }
    if (n > 0) AppendGroup(out, static_cast<int>(n));
    return out;
}

}  // namespace

int PluralForm(int64_t n) {
    if (n < 0) n = -n;
    if (n == 1) return 1;
    const int64_t last = n % 10;
    const int64_t last_two = n % 100;
    if (last >= 2 && last <= 4 && !(last_two >= 12 && last_two <= 14)) return 2;
    return 5;
}

std::string NumberInWords(int64_t n) {
    return codepage::FromUtf8(NumberInWordsUtf8(n < 0 ? -n : n));
}

std::string AmountInWords(int64_t grosze) {
    const bool negative = grosze < 0;
    const uint64_t magnitude =
        negative ? 0 - static_cast<uint64_t>(grosze) : static_cast<uint64_t>(grosze);
    const auto zlote = static_cast<int64_t>(magnitude / 100);
    const auto rest = static_cast<int>(magnitude % 100);
    static constexpr const char* kZloty[3] = {"złoty", "złote", "złotych"};
    std::string out = negative ? "minus " : "";
    out += NumberInWordsUtf8(zlote);
    out += ' ';
    out += FormOf(kZloty, zlote);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, " %02d/100", rest);
    out += fraction;
    return codepage::FromUtf8(out);
}

}  // namespace kestrel::payroll
