#include "tax/records/exemptions.h"

#include <gtest/gtest.h>

#include "tax_company.h"

namespace kestrel::tax {
namespace {

using testing::TaxCompany;

TEST(Exemptions, RefusesADateOutsideTheYearAndAnAmountNotAboveZero) {
    struct Case {
        base::Date granted;
        double amount;
        const char* want;
    } cases[] = {
        {{2026, 1, 1}, 0.01, ""},
        {{2026, 12, 31}, 999999.99, ""},
        {{2025, 12, 31}, 100, "Data spoza roku 2026"},
        {{2027, 1, 1}, 100, "Data spoza roku 2026"},
        {{}, 100, "Data spoza roku 2026"},
        {{2026, 2, 30}, 100, "Data spoza roku 2026"},
        {{2026, 5, 1}, 0, "Kwota musi być większa od zera"},
        {{2026, 5, 1}, 0.004, "Kwota musi być większa od zera"},
        {{2026, 5, 1}, -50, "Kwota musi być większa od zera"},
        {{2026, 5, 1}, 1000000, "Kwota za duża"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(ExemptionRefusal(2026, k.granted, k.amount), k.want)
            << base::DateText(k.granted) << " " << k.amount;
}

std::vector<std::string> Shown(const std::vector<Exemption>& list) {
    std::vector<std::string> out;
    for (const Exemption& e : list) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%s %s %.2f", e.employee.c_str(),
                      base::DateText(e.granted).c_str(), e.amount);
        out.push_back(buf);
    }
    return out;
}

// Stored exemptions are those of the settlement year (2026 here), listed
// per employee by date; a refused one writes nothing, a deleted one is gone
// from the list and its record is taken again by the next of its key.
TEST(Exemptions, AddListDeleteAndReuse) {
    TaxCompany c;
    c.Make("PKZPRAC");
    const int year = ExemptionYear(c.h.rt, c.tables);
    ASSERT_EQ(year, 2026);
    std::string refusal;
    EXPECT_EQ(AddExemption(c.tables, year, {"000001", {2026, 6, 1}, 1200}, &refusal), 1u);
    EXPECT_EQ(refusal, "");
    EXPECT_EQ(AddExemption(c.tables, year, {"000001", {2026, 2, 1}, 300}, &refusal), 2u);
    EXPECT_EQ(AddExemption(c.tables, year, {"000002", {2026, 1, 15}, 50.5}, &refusal), 3u);
    EXPECT_EQ(AddExemption(c.tables, year, {"000001", {2025, 6, 1}, 10}, &refusal), 0u);
    EXPECT_EQ(refusal, "Data spoza roku 2026");
    EXPECT_EQ(AddExemption(c.tables, year, {"000001", {2026, 7, 1}, 0}, &refusal), 0u);
    EXPECT_EQ(refusal, "Kwota musi być większa od zera");
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20250301"}, {"LIMIT_POD", "77"}});

    EXPECT_EQ(Shown(ExemptionsOf(c.tables, year, "000001")),
              (std::vector<std::string>{"000001 2026-02-01 300.00", "000001 2026-06-01 1200.00"}));
    EXPECT_EQ(Shown(ExemptionsOf(c.tables, year)),
              (std::vector<std::string>{"000001 2026-02-01 300.00", "000001 2026-06-01 1200.00",
                                        "000002 2026-01-15 50.50"}));
    EXPECT_EQ(Shown(ExemptionsOf(c.tables, 2025, "000001")),
              (std::vector<std::string>{"000001 2025-03-01 77.00"}));

    DeleteExemption(c.tables, 2);
    EXPECT_EQ(Shown(ExemptionsOf(c.tables, year, "000001")),
              (std::vector<std::string>{"000001 2026-06-01 1200.00"}));
    EXPECT_EQ(AddExemption(c.tables, year, {"000001", {2026, 2, 1}, 400}, &refusal), 2u);
    c.tables.CloseAll();
    std::vector<std::string> amounts = c.Records("PKZPRAC", "LIMIT_POD");
    for (std::string& a : amounts) a = base::Trim(a);
    EXPECT_EQ(amounts, (std::vector<std::string>{"1200.00", "400.00", "50.50", "77.00"}));
}

}  // namespace
}  // namespace kestrel::tax
