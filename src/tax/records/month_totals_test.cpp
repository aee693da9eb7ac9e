#include "tax/records/month_totals.h"

#include <gtest/gtest.h>

#include "tax_company.h"

namespace kestrel::tax {
namespace {

using testing::TaxCompany;

struct Doch {
    const char* employee;
    const char* paid;  // DATA_WYP
    const char* kind;
    double revenue, costs, social, relief, exemption, health, health_rest, tax;
    bool deleted = false;
};

void AddDoch(TaxCompany& c, const Doch& d) {
    c.Add("PKDOCH", {{"NR_PRAC", d.employee},
                     {"ROK_LST", std::string(d.paid).substr(0, 4)},
                     {"TYP_LST", "A"},
                     {"NR_LST", "1"},
                     {"MC_LST", std::string(d.paid).substr(4, 2)},
                     {"DATA_WYP", d.paid},
                     {"TYTUL_WYP", d.kind},
                     {"PRZYCHOD_", std::to_string(d.revenue)},
                     {"KOSZT_UZ", std::to_string(d.costs)},
                     {"UBEZP_SPOL", std::to_string(d.social)},
                     {"ULGA_", std::to_string(d.relief)},
                     {"ZWOLN_", std::to_string(d.exemption)},
                     {"UBEZP_ZDRO", std::to_string(d.health)},
                     {"UBEZP_ZDD", std::to_string(d.health_rest)},
                     {"PODATEK_", std::to_string(d.tax)},
                     {"AUTOMAT_", "T"}});
    if (!d.deleted) return;
    dbf::WorkArea& a = c.tables.Open("PKDOCH");
    ASSERT_TRUE(a.Goto(static_cast<uint32_t>(a.table().record_count())).ok());
    ASSERT_TRUE(a.RLock().ok());
    ASSERT_TRUE(a.Delete().ok());
    a.Unlock();
}

// "kind count revenue/costs/social/reliefs/health/tax" of each kind.
std::vector<std::string> Shown(const std::vector<KindTotals>& totals) {
    std::vector<std::string> out;
    for (const KindTotals& t : totals) {
        char buf[160];
        std::snprintf(buf, sizeof buf, "%s %d %.2f/%.2f/%.2f/%.2f/%.2f/%.2f", t.kind.c_str(),
                      t.count, t.revenue, t.costs, t.social, t.reliefs, t.health, t.tax);
        out.push_back(buf);
    }
    return out;
}

// The tax month is the payment month: a March list paid in April counts in
// April. Deleted records and other months stay out; the reliefs add the
// exemption, the health column is the deducted part only.
TEST(MonthTotals, SumsTheVisibleRecordsOfThePaymentMonthPerKind) {
    TaxCompany c;
    const Doch rows[] = {
        {"000001", "20260310", "0001", 4000, 250, 548, 300, 0, 0, 310.6, 280},
        {"000002", "20260325", "0001", 3000, 250, 411, 300, 50, 10, 222.9, 150},
        {"000001", "20260315", "0004", 1000, 200, 0, 0, 0, 0, 0, 96},
        {"000002", "20260331", "0004", 500, 100, 0, 0, 0, 0, 0, 48, true},  // deleted
        {"000001", "20260405", "0001", 7000, 250, 0, 0, 0, 0, 0, 700},      // April
        {"000001", "20250310", "0001", 9999, 0, 0, 0, 0, 0, 0, 0},          // a year before
    };
    for (const Doch& d : rows) AddDoch(c, d);
    struct Case {
        const char* month;
        std::vector<std::string> want;
    } cases[] = {
        {"202603",
         {"0001 2 7000.00/500.00/959.00/650.00/10.00/430.00",
          "0004 1 1000.00/200.00/0.00/0.00/0.00/96.00"}},
        {"202604", {"0001 1 7000.00/250.00/0.00/0.00/0.00/700.00"}},
        {"202602", {}},
        {"", {}},
    };
    for (const Case& k : cases) EXPECT_EQ(Shown(MonthTotals(c.tables, k.month)), k.want) << k.month;
}

// The totals stand under their headings, and an amount too wide for its
// column loses its decimals, then shows as asterisks, never cut.
TEST(MonthTotals, LinesKeepTheirColumnsAndNeverCutAnAmount) {
    KindTotals t{"0001", 12, 1234567.5, 250, 3.25, 12345678901.0, 0, -45.5};
    const std::string line = TotalsLine(t);
    EXPECT_EQ(line.size(), 76u);
    EXPECT_EQ(line,
              "0001    12"
              "1234567.50"
              "      250.00"
              "        3.25"
              "**********"
              "        0.00"
              "    -45.50");
    struct Case {
        double value;
        int width;
        const char* want;
    } cases[] = {
        {99999.99, 8, "99999.99"},
        {999999.99, 8, " 1000000"},
        {123456789.0, 8, "********"},
        {-0.004, 6, "  0.00"},
    };
    for (const Case& k : cases) EXPECT_EQ(FitAmount(k.value, k.width), k.want) << k.value;
}

}  // namespace
}  // namespace kestrel::tax
