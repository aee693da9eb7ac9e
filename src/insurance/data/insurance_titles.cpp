#include "insurance/data/insurance_titles.h"

#include <algorithm>
#include <cstring>

#include "platform/base/fixed_width.h"
#include "platform/base/text.h"

namespace kestrel::insurance {
namespace {

// A period as Julian days, open ends as the extremes.
struct Span {
    int32_t from;
    int32_t to;
};

Span SpanOf(const base::Date& from, const base::Date& to) {
    return {from.empty() ? INT32_MIN : base::JulianDay(from),
            to.empty() ? INT32_MAX : base::JulianDay(to)};
}

}  // namespace

bool ResolveTitles(const EmployeeTitles& titles, const base::Date& first_day,
                   std::vector<std::string>* codes) {
    struct Held {
        std::string code;
        Span span;
    };
    std::vector<Held> all;
    const std::string main = base::Padded(titles.main, 4);
    if (!base::IsBlank(main)) {
        const base::Date end =
            titles.dismissed.empty() ? base::Date{} : base::AddDays(titles.dismissed, 1);
        all.push_back({main, SpanOf(titles.hired, end)});
    }
    for (const TitlePeriod& t : titles.extra) {
        const std::string code = base::Padded(t.code, 4);
        if (base::IsBlank(code)) continue;
        all.push_back({code, SpanOf(t.from, t.to)});
    }
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j)
            if (all[i].code == all[j].code && all[i].span.from <= all[j].span.to &&
                all[j].span.from <= all[i].span.to)
                return false;
    codes->clear();
    const int32_t first = base::JulianDay(first_day);
    for (size_t i = 0; i < all.size(); ++i) {
        const bool extra = i > 0 || base::IsBlank(main);
        if (extra && all[i].span.to != INT32_MAX && all[i].span.to + 31 < first) continue;
        if (std::find(codes->begin(), codes->end(), all[i].code) == codes->end())
            codes->push_back(all[i].code);
    }
    codes->push_back("    ");
    return true;
}

std::string InsuranceTitle(std::string_view code, char pension, char disability, bool left_before) {
    const std::string c = base::Padded(code, 4);
    if (base::IsBlank(c)) return std::string(6, ' ');
    std::string out = c + pension + disability;
    if (left_before && (out.compare(0, 2, "01") == 0 || out.compare(0, 2, "04") == 0))
        out = "3000" + out.substr(4);
    return out;
}

bool AllowedCodes(char pension, char disability) {
    return pension != 0 && disability != 0 && std::strchr("012", pension) != nullptr &&
           std::strchr("0123", disability) != nullptr;
}

}  // namespace kestrel::insurance
