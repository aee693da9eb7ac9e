#include "tax/records/month_totals.h"

#include <cmath>
#include <cstdio>

#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::tax {

std::vector<KindTotals> MonthTotals(common::Tables& tables, std::string_view yyyymm) {
    std::vector<KindTotals> out;
    if (yyyymm.size() != 6) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKDOCH", {"PKDOCH4"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKDOCH4");
    auto num = [&a](const char* f) { return a.record().GetNumber(a.FieldIndex(f)); };
    const int paid = a.FieldIndex("DATA_WYP"), kind = a.FieldIndex("TYTUL_WYP");
    for (base::Status s = a.Seek(yyyymm); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.record().GetDate(paid).substr(0, 6) != yyyymm) break;
        if (a.deleted()) continue;
        const std::string k = a.record().GetString(kind);
        if (out.empty() || out.back().kind != k) out.push_back({k});
        KindTotals& t = out.back();
        ++t.count;
        t.revenue += num("PRZYCHOD_");
        t.costs += num("KOSZT_UZ");
        t.social += num("UBEZP_SPOL");
        t.reliefs += num("ULGA_") + num("ZWOLN_");
        t.health += num("UBEZP_ZDRO");
        t.tax += num("PODATEK_");
    }
    return out;
}

std::string FitAmount(double value, int width) {
    // Rounded to the grosz first, so that a tiny negative rest shows as 0.00.
    value = std::round(value * 100) / 100;
    if (value == 0) value = 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%*.2f", width, value);
    if (static_cast<int>(std::string_view(buf).size()) > width)
        std::snprintf(buf, sizeof buf, "%*.0f", width, value);
    if (static_cast<int>(std::string_view(buf).size()) > width)
        return std::string(static_cast<size_t>(width), '*');
    return buf;
}

std::string TotalsLine(const KindTotals& t) {
    std::string kind = t.kind;
    kind.resize(4, ' ');
    char count[16];
    std::snprintf(count, sizeof count, "%6d", t.count);
    std::string count_text = count;
    if (count_text.size() > 6) count_text = std::string(6, '*');
    // Each value ends under the end of its heading.
    return kind + count_text + FitAmount(t.revenue, 10) + FitAmount(t.costs, 12) +
           FitAmount(t.social, 12) + FitAmount(t.reliefs, 10) + FitAmount(t.health, 12) +
           FitAmount(t.tax, 10);
}

}  // namespace kestrel::tax
