#include "payroll/printouts/data/denomination_split.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {
namespace {

std::string Money(int64_t grosze) {
    char buf[40];
    const int64_t a = grosze < 0 ? -grosze : grosze;
    std::snprintf(buf, sizeof buf, "%s%lld.%02lld", grosze < 0 ? "-" : "",
                  static_cast<long long>(a / 100), static_cast<long long>(a % 100));
    return buf;
}

std::string Right(const std::string& s, size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

}  // namespace

int64_t ToGrosze(double amount) {
    return static_cast<int64_t>(std::llround(amount * 100.0));
}

std::vector<int64_t> DenominationsHighestFirst(common::Tables& tables) {
    std::vector<int64_t> out;
    for (const int64_t g : ReadDenominations(tables))
        if (g > 0 && std::find(out.begin(), out.end(), g) == out.end()) out.push_back(g);
    std::sort(out.begin(), out.end(), std::greater<>());
    return out;
}

void DenominationCounts::Add(int64_t grosze) {
    if (grosze <= 0) return;
    for (size_t i = 0; i < denominations.size(); ++i) {
        const int64_t n = grosze / denominations[i];
        counts[i] += n;
        grosze -= n * denominations[i];
    }
}

void PrintDenominations(common::Runtime& rt, printing::PrintOutput& out, int row,
                        const std::string& caption, const DenominationCounts& counts) {
    out.Say(row++, 0, rt.Text("Specyfikacja nominałów do listy płac: ") + caption);
    out.Say(++row, 0,
            Right(rt.Text("Nominał"), 12) + Right(rt.Text("Ilość"), 10) +
                Right(rt.Text("Wartość"), 16));
    out.Say(++row, 0, std::string(38, '-'));
    int64_t total = 0;
    for (size_t i = 0; i < counts.denominations.size(); ++i) {
        if (counts.counts[i] == 0) continue;
        const int64_t value = counts.counts[i] * counts.denominations[i];
        total += value;
        out.Say(++row, 0,
                Right(Money(counts.denominations[i]), 12) +
                    Right(std::to_string(counts.counts[i]), 10) + Right(Money(value), 16));
    }
    out.Say(++row, 0, std::string(38, '-'));
    out.Say(++row, 0, rt.Text("Razem:") + Right(Money(total), 32));
}

}  // namespace kestrel::payroll
