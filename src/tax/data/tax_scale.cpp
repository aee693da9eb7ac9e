#include "tax/data/tax_scale.h"

#include <cmath>
#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/rounding.h"

namespace kestrel::tax {
namespace {

using memfile::MemValue;

// Amounts are stored with two decimals: equal when they agree in grosze.
bool Same(double a, double b) {
    return std::fabs(a - b) < 0.005;
}

std::string Numbered(const char* stem, int k) {
    return stem + std::to_string(k);
}

// The leading part of a PKTAB1 key: str(rok_,4)+str(mc_do,2).
std::string KeyOf(int year, int month) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4d%2d", year, month);
    return buf;
}

void Check(common::Runtime& rt, const base::Status& s) {
    if (!s.ok()) throw common::Abandon(common::ShortenMessage(rt.Text("Błąd odczytu: PKTAB")));
}

double Published(const formula::Variables& publics, const std::string& name) {
    const formula::Value* v = publics.Lookup(name);
    return v != nullptr && v->IsNumber() ? v->number() : 0;
}

}  // namespace

bool IsOpen(double up_to) {
    return up_to > kOpenBound - 0.005;
}

ScaleFault CheckScale(const std::vector<ScaleRow>& rows) {
    if (rows.empty()) return ScaleFault::kBadTable;
    double below = 0;  // the tax of the brackets under the row
    double from = 0;   // where the row must begin
    for (size_t i = 0; i < rows.size(); ++i) {
        const ScaleRow& r = rows[i];
        if (!Same(r.relief, rows[0].relief)) return ScaleFault::kDifferentReliefs;
        if (i >= kMaxBrackets) return ScaleFault::kTooManyRows;
        if (!Same(r.above, from) || r.up_to - r.above < 0.005 ||
            !Same(r.tax, base::YRound(below, 2)))
            return ScaleFault::kBadTable;
        below += (r.up_to - r.above) * r.rate / 100;
        from = r.up_to;
    }
    return IsOpen(rows.back().up_to) ? ScaleFault::kNone : ScaleFault::kBadTable;
}

double MonthlyRelief(double annual, int year) {
    if (year < 2009) return base::YRound(annual / 12, 2);
    return base::YInt(annual / 12 * 100) / 100;
}

LoadedScale Loaded(const std::vector<ScaleRow>& rows, int year) {
    LoadedScale s;
    for (size_t k = 0; k < rows.size() && k < static_cast<size_t>(kMaxBrackets); ++k) {
        s.limits[k] = IsOpen(rows[k].up_to) ? 0 : rows[k].up_to;
        s.rates[k] = rows[k].rate;
    }
    if (!rows.empty()) {
        s.annual_relief = rows[0].relief;
        s.monthly_relief = MonthlyRelief(rows[0].relief, year);
    }
    return s;
}

void Publish(common::Configuration& config, const LoadedScale& scale) {
    for (int k = 1; k <= kMaxBrackets; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        config.Set(Numbered("NAGLTBK", k), MemValue::Numeric(scale.limits[i], 12, 2));
        config.Set(Numbered("NAGLTBP", k), MemValue::Numeric(scale.rates[i], 5, 2));
    }
    config.Set("NAGLTBUR", MemValue::Numeric(scale.annual_relief, 12, 2));
    config.Set("NAGLTBU", MemValue::Numeric(scale.monthly_relief, 12, 2));
}

LoadedScale Published(const formula::Variables& publics) {
    LoadedScale s;
    for (int k = 1; k <= kMaxBrackets; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        s.limits[i] = Published(publics, Numbered("NAGLTBK", k));
        s.rates[i] = Published(publics, Numbered("NAGLTBP", k));
    }
    s.annual_relief = Published(publics, "NAGLTBUR");
    s.monthly_relief = Published(publics, "NAGLTBU");
    return s;
}

double RateFor(const LoadedScale& scale, double amount) {
    for (size_t i = 0; i < scale.limits.size(); ++i)
        if (scale.limits[i] == 0 || scale.limits[i] >= amount) return scale.rates[i];
    return scale.rates.back();
}

std::string YearMonth(int year, int month) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d/%02d", year, month);
    return buf;
}

void Qrmtabela(common::Runtime& rt, int year, int month) {
    common::Tables tables(rt);
    dbf::WorkArea& a = OpenScaleTable(tables);
    const std::string when = YearMonth(year, month);
    Check(rt, a.Seek(KeyOf(year, month), /*soft=*/true));
    if (a.eof() || ReadRow(a).year != year)
        throw common::Abandon(rt.Text("Brak tabeli podatk. ") + when);
    const int to_month = ReadRow(a).to_month;
    std::vector<ScaleRow> rows;
    for (; !a.eof(); Check(rt, a.Skip(1))) {
        const ScaleRow r = ReadRow(a);
        if (r.year != year || r.to_month != to_month) break;
        rows.push_back(r);
    }
    switch (CheckScale(rows)) {
        case ScaleFault::kNone:
            break;
        case ScaleFault::kDifferentReliefs:
            throw common::Abandon(rt.Text("Różne ulgi w tabeli ") + when);
        case ScaleFault::kTooManyRows:
            throw common::Abandon(rt.Text("Tabela ") + when + rt.Text(" ma ponad 9 poz."));
        case ScaleFault::kBadTable:
            throw common::Abandon(rt.Text("Błędna tabela ") + when);
    }
    Publish(rt.config(), Loaded(rows, year));
}

dbf::WorkArea& OpenScaleTable(common::Tables& tables) {
    dbf::WorkArea& a = tables.Open("PKTAB", {"PKTAB1"});
    Check(tables.rt(), a.SetOrder(1));
    return a;
}

ScaleRow ReadRow(dbf::WorkArea& area) {
    const dbf::Record& r = area.record();
    auto number = [&](const char* field) { return r.GetNumber(area.FieldIndex(field)); };
    ScaleRow row;
    row.year = static_cast<int>(number("ROK_"));
    row.from_month = static_cast<int>(number("OD_MC"));
    row.to_month = static_cast<int>(number("MC_DO"));
    row.above = number("PONAD_KW");
    row.up_to = number("DO_KWOTY");
    row.tax = number("KWOTA_POD");
    row.rate = number("PROC_POD");
    row.relief = number("ULGA_POD");
    return row;
}

base::Status WriteRow(dbf::WorkArea& area, const ScaleRow& row) {
    dbf::Record& r = area.record();
    const std::pair<const char*, double> values[] = {
        {"ROK_", row.year},      {"OD_MC", row.from_month}, {"MC_DO", row.to_month},
        {"PONAD_KW", row.above}, {"DO_KWOTY", row.up_to},   {"KWOTA_POD", row.tax},
        {"PROC_POD", row.rate},  {"ULGA_POD", row.relief},
    };
    for (const auto& [field, value] : values) {
        base::Status s = r.SetNumber(area.FieldIndex(field), value);
        if (!s.ok()) return s;
    }
    return base::Status::Ok();
}

bool RowsClash(const ScaleRow& a, const ScaleRow& b) {
    if (a.year != b.year) return false;
    if (a.to_month == b.to_month && Same(a.above, b.above)) return true;
    const bool months = a.from_month <= b.to_month && b.from_month <= a.to_month;
    const bool amounts = a.above < b.up_to - 0.005 && b.above < a.up_to - 0.005;
    return months && amounts;
}

bool ClashesInTable(common::Runtime& rt, dbf::WorkArea& area, const ScaleRow& row, uint32_t self) {
    const dbf::KeepPosition keep(area);
    // The rows of the year, in any month.
    for (Check(rt, area.Seek(KeyOf(row.year, 0), /*soft=*/true)); !area.eof();
         Check(rt, area.Skip(1))) {
        const ScaleRow other = ReadRow(area);
        if (other.year != row.year) break;
        if (area.recno() != self && RowsClash(row, other)) return true;
    }
    return false;
}

}  // namespace kestrel::tax
