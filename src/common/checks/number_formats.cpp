#include "common/checks/number_formats.h"

#include <array>
#include <cmath>

#include "platform/base/text.h"
#include "platform/picture/picture.h"

namespace kestrel::common {
namespace {

// One picture of a format and the range that chooses it: the picture is
// used for x >= above, or for x < below (x <= below when `or_equal`).
// The first picture of a format is the normal one (no range).
struct Step {
    const char* picture = nullptr;
    bool blank = false;  // a trailing blank keeps the width
    double above = 0;
    double below = 0;
    bool or_equal = false;
};

struct Format {
    NumberFormat id;
    const char* name;
    const char* zero;  // nullptr: no dash form
    bool zero_needs_dash_argument;
    std::array<Step, 3> steps;
};

// clang-format off
const Format kFormats[] = {
    {NumberFormat::k0, "QRMPIC0", nullptr, false, {{{"@E 999,999,999.99"}}}},
    {NumberFormat::k1, "QRMPIC1", "         ---   ", true, {{{"@E 9999,999,999.99"}}}},
    {NumberFormat::k2, "QRMPIC2", "     ---   ", false,
     {{{"@E 9999,999.99"}, {"@E 99999999.99", false, 1e7, -1e6, false}}}},
    {NumberFormat::k2A, "QRMPIC2A", "      ---   ", false,
     {{{"@E 9999,999.99", true}, {"@E 99999999.99", true, 1e7, -1e6, false},
       {"@E 999999999.99", false, 1e8, -1e7, false}}}},
    {NumberFormat::k2B, "QRMPIC2B", "     ---   ", false, {{{"@E 999,999,999"}}}},
    {NumberFormat::k2C, "QRMPIC2C", nullptr, false, {{{"@E 999,999,999"}}}},
    {NumberFormat::k2D, "QRMPIC2D", nullptr, false,
     {{{"@E 9999,999.99"}, {"@E 99999999.99", false, 1e7, -1e6, false}}}},
    {NumberFormat::k2E, "QRMPIC2E", nullptr, false,
     {{{"@E 9,999,999.99"}, {"@E 999999999.99", false, 1e7, -1e6, false}}}},
    {NumberFormat::k3, "QRMPIC3", "        ---   ", false, {{{"@E 999,999,999.99"}}}},
    {NumberFormat::k3A, "QRMPIC3A", "        ---   ", true, {{{"@E 99,999,999,999"}}}},
    {NumberFormat::k4, "QRMPIC4", "           ---   ", true, {{{"@E 99,999,999,999.99"}}}},
    {NumberFormat::k5, "QRMPIC5", "       ---   ", false, {{{"@E 99,999,999.99"}}}},
    {NumberFormat::k5A, "QRMPIC5A", "        ---   ", false,
     {{{"@E 99,999,999.99", true}, {"@E 9999999999.99", true, 1e9, -1e8, false},
       {"@E 99999999999.99", false, 1e10, -1e9, false}}}},
    {NumberFormat::k5B, "QRMPIC5B", "       ---   ", false, {{{"@E 9,999,999.99", true}}}},
    {NumberFormat::k6, "QRMPIC6", "     ---   ", false, {{{"@E 999,999,999"}}}},
    {NumberFormat::k6A, "QRMPIC6A", "      ---   ", false, {{{"@E 9999,999,999"}}}},
    {NumberFormat::k6B, "QRMPIC6B", "   ---   ", false, {{{"@E 99999,999"}}}},
    {NumberFormat::k7, "QRMPIC7", "   ---   ", false,
     {{{"@E 99,999.99"}, {"@E 999999.99", false, 1e5, -1e4, true}}}},
    {NumberFormat::k7A, "QRMPIC7A", "    ---   ", false,
     {{{"@E 99,999.99", true}, {"@E 999999.99", true, 1e5, -1e4, true},
       {"@E 9999999.99", false, 1e6, -1e5, true}}}},
    {NumberFormat::k7B, "QRMPIC7B", nullptr, false,
     {{{"@E 99,999.99"}, {"@E 999999.99", false, 1e5, -1e4, true}}}},
    {NumberFormat::k8, "QRMPIC8", "    ---   ", false,
     {{{"@E 999,999.99"}, {"@E 9999999.99", false, 1e6, -1e5, true}}}},
    {NumberFormat::k8A, "QRMPIC8A", "     ---   ", false,
     {{{"@E 999,999.99", true}, {"@E 9999999.99", true, 1e6, -1e5, true},
       {"@E 99999999.99", false, 1e7, -1e6, true}}}},
    {NumberFormat::k8B, "QRMPIC8B", nullptr, false,
     {{{"@E 999,999.99"}, {"@E 9999999.99", false, 1e6, -1e5, true}}}},
    {NumberFormat::k9, "QRMPIC9", "      ---   ", false,
     {{{"@E 99999,999.99"}, {"@E 999999999.99", false, 1e8, -1e7, true}}}},
    {NumberFormat::k10, "QRMPIC10", "  ---   ", false,
     {{{"@E 9,999.99"}, {"@E 99999.99", false, 1e4, -1e3, true}}}},
    {NumberFormat::k10A, "QRMPIC10A", "   ---   ", false,
     {{{"@E 9,999.99", true}, {"@E 99999.99", true, 1e4, -1e3, true},
       {"@E 999999.99", false, 1e5, -1e4, true}}}},
    {NumberFormat::k11, "QRMPIC11", "          ---   ", false, {{{"@E 9,999,999,999.99"}}}},
    {NumberFormat::k11A, "QRMPIC11A", "          ---   ", false, {{{"@E 9999,999,999,999"}}}},
    {NumberFormat::k11B, "QRMPIC11B", nullptr, false, {{{"@E 9,999,999,999.99"}}}},
    {NumberFormat::k11C, "QRMPIC11C", nullptr, false, {{{"@E 9999,999,999,999"}}}},
    {NumberFormat::k12, "QRMPIC12", "  --- ", false, {{{"@E 999.99"}}}},
    {NumberFormat::k13, "QRMPIC13", "   ---   ", false, {{{"@E 999999.99"}}}},
};
// clang-format on

bool Chooses(const Step& s, double x) {
    return x >= s.above || (s.or_equal ? x <= s.below : x < s.below);
}

std::string Apply(const Step& s, double x) {
    std::string out = picture::FormatNumber(x, picture::Parse(s.picture), 0, 0);
    if (s.blank) out += ' ';
    return out;
}

bool Fits(const std::string& text) {
    return text.find('*') == std::string::npos;
}

}  // namespace

std::string Qrmpic(NumberFormat format, double x, bool dash) {
    const Format& f = kFormats[static_cast<int>(format)];
    if (x == 0 && f.zero && (dash || !f.zero_needs_dash_argument)) return f.zero;
    // The picture the value's range chooses ...
    size_t chosen = 0;
    for (size_t i = 1; i < f.steps.size() && f.steps[i].picture; ++i)
        if (Chooses(f.steps[i], x)) chosen = i;
    const std::string out = Apply(f.steps[chosen], x);
    if (Fits(out)) return out;
    // ... or the first wider one that holds it.
    for (size_t i = chosen + 1; i < f.steps.size() && f.steps[i].picture; ++i) {
        std::string wider = Apply(f.steps[i], x);
        if (Fits(wider)) return wider;
    }
    return out;
}

std::optional<NumberFormat> NumberFormatByName(std::string_view name) {
    for (const Format& f : kFormats) {
        const std::string_view n = f.name;
        if (n.size() != name.size()) continue;
        bool same = true;
        for (size_t i = 0; i < n.size() && same; ++i) same = base::AsciiUpper(name[i]) == n[i];
        if (same) return f.id;
    }
    return std::nullopt;
}

std::string Qrmstrs(double x, int width) {
    if (width < 1) width = 1;
    if (x == 0) return std::string(static_cast<size_t>(width), ' ');
    return picture::FormatNumber(x, picture::Picture{}, width, 0);
}

std::string Qrmstrz(double x, int width) {
    if (width < 1) width = 1;
    std::string digits = picture::FormatFixed(x, 0);
    const bool negative = !digits.empty() && digits[0] == '-';
    if (negative) digits.erase(0, 1);
    const size_t room = static_cast<size_t>(width) - (negative ? 1 : 0);
    if (!std::isfinite(x) || digits.size() > room)
        return std::string(static_cast<size_t>(width), '*');
    return (negative ? "-" : "") + std::string(room - digits.size(), '0') + digits;
}

}  // namespace kestrel::common
