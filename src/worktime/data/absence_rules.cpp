#include "worktime/data/absence_rules.h"

#include <cmath>
#include <cstdio>

namespace kestrel::worktime {
namespace {

constexpr double kMargin = 0.0000001;

int MonthNumber(int year, int month) {
    return year * 12 + month - 1;
}

bool Whole(double q) {
    return std::fabs(q - std::round(q)) < kMargin;
}

}  // namespace

int ProposedLineNumber(int last) {
    const int next = last + 1;
    return next > 99 || next < 1 ? 1 : next;
}

bool DaysOverlap(int from, int to, int other_from, int other_to) {
    const bool first_inside = other_from >= from && other_from <= to;
    const bool last_inside = other_to >= from && other_to <= to;
    const bool contains = other_from <= from && other_to >= to;
    return first_inside || last_inside || contains;
}

std::string CollisionText(const LineRef& other, const SettlementMonth& entry) {
    char text[64];
    if (other.year == entry.year && other.month == entry.month)
        std::snprintf(text, sizeof text, "Od-Do sprzeczne z poz.:%2d", other.line);
    else
        std::snprintf(text, sizeof text, "Od-Do sprzeczne z: %4d.%02d  poz.:%2d", other.year,
                      other.month, other.line);
    return text;
}

bool ReportingMonthAccepted(const SettlementMonth& settlement, int year, int month,
                            const ReportingRules& rules) {
    if (month < 1 || month > 12) return false;
    const int ahead = MonthNumber(year, month) - MonthNumber(settlement.year, settlement.month);
    if (ahead == 0 || ahead == 1) return true;
    if (ahead == 2) return rules.two_ahead;
    if (ahead == -1) return rules.previous;
    return false;
}

SettlementMonth NextMonth(const SettlementMonth& m) {
    return m.month >= 12 ? SettlementMonth{m.year + 1, 1} : SettlementMonth{m.year, m.month + 1};
}

QuantityBounds::QuantityBounds(bool in_hours, bool fractional, int days, double hours_per_day)
    : max_quantity(in_hours ? days * hours_per_day : days),
      max_quantity2(days * hours_per_day),
      whole(!in_hours && !fractional) {}

bool QuantityBounds::QuantityFits(double q) const {
    if (q < 0 || q > max_quantity + kMargin) return false;
    return !whole || Whole(q);
}

bool QuantityBounds::Quantity2Fits(double q) const {
    return q >= 0 && q <= max_quantity2 + kMargin;
}

bool FitsLine(double quantity, double quantity2, int from, int to, int days, double percentage) {
    auto n73 = [](double q) { return q >= -99.999 - kMargin && q <= 999.999 + kMargin; };
    if (!n73(quantity) || !n73(quantity2)) return false;
    const bool no_days = from == 0 && to == 0;
    if (!no_days && (from < 1 || to > days || from > to)) return false;
    return percentage >= 0 && percentage <= 999 && Whole(percentage);
}

}  // namespace kestrel::worktime
