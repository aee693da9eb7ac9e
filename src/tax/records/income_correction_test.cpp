#include "tax/records/income_correction.h"

#include <gtest/gtest.h>

#include "tax/records/tax_transfer.h"
#include "tax_company.h"

namespace kestrel::tax {
namespace {

using testing::TaxCompany;

struct CorrectionCompany : TaxCompany {
    CorrectionCompany() {
        Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Lista płac"}});
        Add("PKRDOCH", {{"TYTUL_WYP", "0002"},
                        {"NAZWA_", "Limitowany"},
                        {"PODAT_", "T"},
                        {"KOSZT_", "T"},
                        {"KUMUL_", "T"},
                        {"LIMIT_", "10000"}});
    }

    // A record of PKDOCH as the transfer or an earlier entry left it.
    void Record(const std::string& employee, const std::string& year, int number,
                const std::string& paid, const std::string& kind, double revenue, bool automatic,
                const std::string& symbol = "A") {
        Add("PKDOCH", {{"NR_PRAC", employee},
                       {"ROK_LST", year},
                       {"TYP_LST", symbol},
                       {"NR_LST", std::to_string(number)},
                       {"MC_LST", paid.substr(4, 2)},
                       {"DATA_WYP", paid},
                       {"TYTUL_WYP", kind},
                       {"PRZYCHOD_", std::to_string(revenue)},
                       {"AUTOMAT_", automatic ? "T" : "F"}});
    }
};

TEST(IncomeCorrection, ListKeyChecks) {
    CorrectionCompany c;
    struct Case {
        int year, number;
        const char* symbol;
        const char* refusal;
    };
    const Case cases[] = {
        {2026, 1, "A ", ""},
        {2027, 1, "A ", "Błędny rok"},  // the working date is in 2026
        {2026, 0, "A ", "Błędny numer listy"},
        {2026, 1, "Q ", "Błędny typ listy płac"},
        {2026, 1, "  ", "Błędny typ listy płac"},
    };
    for (const Case& k : cases)
        EXPECT_EQ(CheckListKey(c.h.rt, c.tables, {k.year, k.number, k.symbol}), k.refusal)
            << k.year << "/" << k.number << "/" << k.symbol;
}

// Transferred: a position marked AKT_DOCH, or an automatic record of the
// list; a hand record alone or another list's marks do not count.
TEST(IncomeCorrection, ATransferredListIsToldByItsMarksOrItsAutomaticRecords) {
    CorrectionCompany c;
    const payroll::PayrollList a1 = c.List("2026", "A", 1, "03", "20260310", false);
    const payroll::PayrollList a2 = c.List("2026", "A", 2, "03", "20260320", false);
    c.Position(a1, "000001", "ZASA", 4000);
    c.Position(a2, "000001", "POMO", 100);
    c.Record("000002", "2026", 3, "20260325", "0001", 50, false);
    c.Record("000002", "2026", 4, "20260325", "0001", 50, true);
    EXPECT_FALSE(ListTransferred(c.h.rt, c.tables, {2026, 1, "A "}));
    EXPECT_EQ(Transfer(c.h.rt, c.tables).message, "");
    EXPECT_TRUE(ListTransferred(c.h.rt, c.tables, {2026, 1, "A "}));
    // List 2 has only a position without income kind: marked all the same.
    EXPECT_TRUE(ListTransferred(c.h.rt, c.tables, {2026, 2, "A "}));
    EXPECT_FALSE(ListTransferred(c.h.rt, c.tables, {2026, 3, "A "}));
    EXPECT_TRUE(ListTransferred(c.h.rt, c.tables, {2026, 4, "A "}));
    EXPECT_FALSE(ListTransferred(c.h.rt, c.tables, {2026, 4, "Z "}));
}

TEST(IncomeCorrection, EmployeeLookupAndMarks) {
    CorrectionCompany c;
    c.Add("PKPRAC", {{"NR_PRAC", "000003"}, {"NIE_PRAC", "T"}});
    c.Add("PKPRAC", {{"NR_PRAC", "000004"}, {"NIE_PRAC", "T"}, {"OS_PRAWNA", "T"}});
    c.Add("PKPRAC", {{"NR_PRAC", "000005"}, {"PRZYCZ_ZW", "03"}});
    c.Add("PKPRAC", {{"NR_PRAC", "000006"}, {"NIE_PRAC", "T"}, {"PRZYCZ_ZW", "03"}});
    struct Case {
        const char* number;
        bool found;
        const char* mark;
    };
    const Case cases[] = {{"000001", true, ""},
                          {"000003", true, "Pracownik \"nieetatowy\""},
                          {"000004", true, "Osoba prawna"},
                          {"000005", true, "Pracownik ZWOLNIONY"},
                          {"000006", true, "Pracownik ZWOLNIONY"},
                          {"000009", false, ""}};
    for (const Case& k : cases) {
        RecordEmployee e;
        EXPECT_EQ(FindRecordEmployee(c.tables, k.number, &e), k.found) << k.number;
        if (k.found) {
            EXPECT_EQ(codepage::ToUtf8(e.mark), k.mark) << k.number;
        }
    }
}

TEST(IncomeCorrection, FieldRulesClearWhatTheKindDoesNotHold) {
    struct Case {
        bool taxable, costs, cumulated, exemptions;
        const char* kept;  // costs, tax, relief, exemption: "1" kept, "0" cleared
    };
    const Case cases[] = {
        {true, true, true, true, "1111"},  {true, false, true, true, "0111"},
        {false, true, true, true, "1001"}, {true, true, false, true, "1110"},
        {true, true, true, false, "1110"}, {false, false, false, false, "0000"},
    };
    for (const Case& k : cases) {
        IncomeKind kind;
        kind.taxable = k.taxable;
        kind.costs = k.costs;
        kind.cumulated = k.cumulated;
        IncomeRecord r;
        r.revenue = 1000, r.costs = 250, r.tax = 90, r.relief = 30, r.exemption = 20;
        r.social = 137.1;
        ApplyRules(RulesFor(kind, k.exemptions, false, false), &r);
        const std::string kept = std::string(r.costs != 0 ? "1" : "0") + (r.tax != 0 ? "1" : "0") +
                                 (r.relief != 0 ? "1" : "0") + (r.exemption != 0 ? "1" : "0");
        EXPECT_EQ(kept, k.kept) << k.taxable << k.costs << k.cumulated << k.exemptions;
        EXPECT_EQ(r.revenue, 1000);
        EXPECT_EQ(r.social, 137.1);
    }
}

// With NAGLNETTO the net tax is entered and the tax follows from it; a kind
// without tax enters none either way.
TEST(IncomeCorrection, NetTaxEntry) {
    IncomeKind taxable;
    taxable.taxable = true;
    EXPECT_TRUE(RulesFor(taxable, false, true, false).net_entry);
    EXPECT_FALSE(RulesFor(taxable, false, false, false).net_entry);
    EXPECT_FALSE(RulesFor(IncomeKind{}, false, true, false).net_entry);

    IncomeRecord r;
    r.relief = 25.5;
    r.exemption = 10;
    SetNetTax(&r, 100);
    EXPECT_DOUBLE_EQ(r.tax, 135.5);
    EXPECT_DOUBLE_EQ(NetTax(r), 100);
    r.relief = 30;  // the relief changed after the net tax was entered
    SetNetTax(&r, 100);
    EXPECT_DOUBLE_EQ(r.tax, 140);
}

TEST(IncomeCorrection, CollectedHealthKeepsTheDifferenceInZdd) {
    IncomeRecord r;
    r.health = 310.8;
    r.health_rest = 49.2;
    EXPECT_DOUBLE_EQ(CollectedHealth(r), 360);
    SetCollectedHealth(&r, 400);
    EXPECT_DOUBLE_EQ(r.health_rest, 89.2);
    EXPECT_DOUBLE_EQ(r.health, 310.8);
}

TEST(IncomeCorrection, Warnings) {
    struct Case {
        double revenue, total, limit, costs, tax;
        const char *on_revenue, *on_costs, *on_tax;
    };
    const Case cases[] = {
        {1000, 1000, 0, 250, 90, "", "", ""},
        {0, 0, 0, 0, 0, "PRZYCHÓD = 0", "", ""},
        {-100, -100, 0, 0, 0, "PRZYCHÓD < 0", "", ""},
        {1000, 10000, 10000, 0, 0, "", "", ""},
        {1000, 10000.01, 10000, 0, 0, "Razem 10000.01, maksimum 10000.00", "", ""},
        {1000, 1000, 0, -1, 0, "", "KOSZTY < 0", ""},
        {1000, 1000, 0, 1000.01, 0, "", "KOSZTY > PRZYCHÓD", ""},
        {-100, -100, 0, 50, 0, "PRZYCHÓD < 0", "", ""},  // no revenue to exceed
        {1000, 1000, 0, 200, -0.01, "", "", "PODATEK < 0"},
        {1000, 1000, 0, 200, 800.01, "", "", "PODATEK > (PRZYCHÓD-KOSZTY)"},
        {1000, 1000, 0, 200, 800, "", "", ""},
        {100, 100, 0, 100, 5, "", "", ""},  // no difference: the tax is not compared
    };
    for (const Case& k : cases) {
        EXPECT_EQ(RevenueWarning(k.revenue, k.total, k.limit), k.on_revenue) << k.revenue;
        EXPECT_EQ(CostsWarning(k.revenue, k.costs), k.on_costs) << k.costs;
        EXPECT_EQ(TaxWarning(k.revenue, k.costs, k.tax), k.on_tax) << k.tax;
    }
}

// The year's revenue of the kind up to the payment month, the record being
// corrected left out: correcting 6000 to 7000 under a limit of 10000 is
// 7000 plus the other records, not 13000.
TEST(IncomeCorrection, TheLimitLeavesTheCorrectedRecordsOldValueOut) {
    CorrectionCompany c;
    c.Record("000001", "2026", 1, "20260110", "0002", 2000, true);
    c.Record("000001", "2026", 2, "20260310", "0002", 6000, true);
    c.Record("000001", "2026", 3, "20260410", "0002", 5000, true);  // a later month
    c.Record("000001", "2025", 9, "20251210", "0002", 5000, true);  // another year
    c.Record("000001", "2026", 4, "20260315", "0001", 5000, true);  // another kind
    c.Record("000002", "2026", 2, "20260310", "0002", 5000, true);  // another employee
    IncomeStore store(c.h.rt, c.tables);
    const uint32_t corrected = store.Find({2026, 2, "A "}, "000001", "0002");
    ASSERT_NE(corrected, 0u);
    const double so_far = store.RevenueSoFar("000001", "0002", "20260310", corrected);
    EXPECT_DOUBLE_EQ(so_far, 2000);
    EXPECT_EQ(RevenueWarning(7000, so_far + 7000, 10000), "");
    EXPECT_EQ(RevenueWarning(8500, so_far + 8500, 10000), "Razem 10500.00, maksimum 10000.00");
    // A new record of the month counts every record of the year so far.
    EXPECT_DOUBLE_EQ(store.RevenueSoFar("000001", "0002", "20260331", 0), 8000);
}

TEST(IncomeCorrection, ExemptionsOfTheYear) {
    CorrectionCompany c;
    c.Make("PKZPRAC");
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20250601"}, {"LIMIT_POD", "500"}});
    c.Add("PKZPRAC", {{"NR_PRAC", "000002"}, {"DATA_LIM", "20260601"}, {"LIMIT_POD", "500"}});
    EXPECT_FALSE(HasExemptions(c.tables, "000001", 2026));
    EXPECT_TRUE(HasExemptions(c.tables, "000001", 2025));
    EXPECT_TRUE(HasExemptions(c.tables, "000002", 2026));
}

// A new record is reserved deleted and recalled when saved, hand-made; a
// corrected automatic record stays automatic; a released reservation
// leaves nothing visible.
TEST(IncomeCorrection, StoreReservesSavesAndDeletes) {
    CorrectionCompany c;
    c.Record("000001", "2026", 1, "20260310", "0001", 4000, true);
    {
        IncomeStore store(c.h.rt, c.tables);
        EXPECT_FALSE(store.ReserveNew({2026, 1, "A "}, "000001", "0001"));
        ASSERT_TRUE(store.ReserveNew({2026, 1, "A "}, "000002", "0004"));
        store.Release();
        ASSERT_TRUE(store.ReserveNew({2026, 1, "A "}, "000002", "0004"));
        IncomeRecord r;
        r.month = "03";
        r.paid = "20260311";
        r.revenue = 1200;
        store.Save(r);
        IncomeRecord old;
        ASSERT_TRUE(store.Lock(store.Find({2026, 1, "A "}, "000001", "0001"), &old));
        EXPECT_TRUE(old.automatic);
        old.revenue = 4100;
        store.Save(old);
    }
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4100.00/0.00/0.00/0.00 auto",
                                        "000002 202603 0004: 1200.00/0.00/0.00/0.00 hand"}));
    {
        IncomeStore store(c.h.rt, c.tables);
        store.Delete(store.Find({2026, 1, "A "}, "000002", "0004"));
        EXPECT_EQ(store.OfList({2026, 1, "A "}).size(), 1u);
    }
    EXPECT_EQ(c.Doch().back(), "000002 202603 0004: 1200.00/0.00/0.00/0.00 hand*");
}

}  // namespace
}  // namespace kestrel::tax
