#include "platform/base/text.h"

#include <array>

namespace kestrel::base {
namespace {

constexpr std::string_view kBlank = " ";
constexpr std::string_view kWhitespace = " \t\r\n";
constexpr std::string_view kPadding = std::string_view(" \0", 2);

std::string TrimOf(std::string_view s, std::string_view chars) {
    const size_t b = s.find_first_not_of(chars);
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(chars) - b + 1));
}

// Each byte's capital, built from the two alphabets at compile time.
constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[static_cast<size_t>(i)] = static_cast<unsigned char>(i);
    static_assert(kAlphabetLowerCp852.size() == kAlphabetUpperCp852.size());
    for (size_t i = 0; i < kAlphabetLowerCp852.size(); ++i)
        t[static_cast<unsigned char>(kAlphabetLowerCp852[i])] =
            static_cast<unsigned char>(kAlphabetUpperCp852[i]);
    return t;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

}  // namespace

std::string TrimLeft(std::string_view s) {
    const size_t b = s.find_first_not_of(kBlank);
    return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string TrimRight(std::string_view s) {
    const size_t e = s.find_last_not_of(kBlank);
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) {
    return TrimOf(s, kBlank);
}

std::string TrimWhitespace(std::string_view s) {
    return TrimOf(s, kWhitespace);
}

std::string TrimPadding(std::string_view s) {
    const size_t e = s.find_last_not_of(kPadding);
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

bool IsBlank(std::string_view s) {
    return s.find_first_not_of(kBlank) == std::string_view::npos;
}

std::string AsciiUpper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

char Cp852Upper(char c) {
    return static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
}

std::string Cp852Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = Cp852Upper(c);
    return out;
}

}  // namespace kestrel::base
