#include "payroll/data/list_register.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_month.h"
#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

// The company of these tests (system month 2026-03) with the list symbols A
// and B (joint numbering), Z and Y (their own numbering), M (once a month)
// and P (legal persons), and an empty PKDOCH.
struct ListCompany : PayCompany {
    ListCompany() {
        Make("PKDOCH");
        Symbol("A");
        Symbol("B");
        Symbol("Z", {{"LOCAL_NR", "T"}});
        Symbol("Y", {{"LOCAL_NR", "T"}});
        Symbol("M", {{"RAZ_NA_MC", "T"}});
        Symbol("P", {{"OS_PRAWNA", "T"}});
    }
    void Symbol(const std::string& s, registry::testing::Row more = {}) {
        more.push_back({"TYP_LST", s});
        more.push_back({"NAZWA_LST", "Lista " + s});
        Add("PKSLST", more);
    }
    void TaxRecord(const PayrollList& l, const std::string& number) {
        Add("PKDOCH", {{"ROK_LST", l.year},
                       {"TYP_LST", l.symbol},
                       {"NR_LST", std::to_string(l.number)},
                       {"MC_LST", l.month},
                       {"DATA_WYP", l.paid},
                       {"NR_PRAC", number},
                       {"TYTUL_WYP", "0001"}});
    }
    ListSymbol Sym(const std::string& s) {
        ListSymbol out;
        EXPECT_TRUE(FindListSymbol(tables, s, &out)) << s;
        return out;
    }
    void SetMonthFlags() {
        dbf::WorkArea& ster = tables.Open("PKSTER");
        ASSERT_TRUE(ster.GoTop().ok());
        tables.RLock(ster);
        for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"})
            ster.record().SetLogical(ster.FieldIndex(f), true);
        ASSERT_TRUE(ster.Commit().ok());
        ster.Unlock();
    }
    // "TTT" when the three flags are set, "FFF" when cleared.
    std::string MonthFlags() {
        tables.CloseAll();
        std::string out;
        for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"}) out += Records("PKSTER", f).at(0);
        return out;
    }
    std::string Msg(const char* utf8) { return h.rt.Text(utf8); }
    // Records() of a numeric field, without its leading blanks.
    std::vector<std::string> Numbers(const std::string& table, const std::string& field) {
        std::vector<std::string> out = Records(table, field);
        for (std::string& s : out) s = base::Trim(s);
        return out;
    }
};

TEST(ListRegister, PaymentDateMonths) {
    const PaymentRule plain{}, previous{true, false}, after_next{false, true};
    struct Case {
        int year, month;
        const char* paid;
        PaymentRule rule;
        bool fits;
    };
    const Case cases[] = {
        {2026, 3, "20260301", plain, true},       // the list month
        {2026, 3, "20260430", plain, true},       // the next month
        {2026, 3, "20260501", plain, false},      // two months later
        {2026, 3, "20260501", after_next, true},  // ... with NAGLMCWYP2
        {2026, 3, "20260601", after_next, false},
        {2026, 3, "20260228", plain, false},  // the month before
        {2026, 3, "20260228", previous, true},
        {2026, 3, "20260131", previous, false},
        {2026, 12, "20270115", plain, true},  // December: January of the next year
        {2026, 12, "20270215", plain, false},
        {2026, 12, "20270215", after_next, true},  // ... and February with NAGLMCWYP2
        {2026, 12, "20270301", after_next, false},
        {2026, 12, "20251215", plain, false},  // the same month a year earlier
        {2027, 1, "20261231", previous, true},
        {2027, 1, "20261231", plain, false},
        {2026, 3, "", plain, false},
        {2026, 3, "20260231", plain, false},  // no such day
    };
    for (const Case& k : cases)
        EXPECT_EQ(PaymentDateFits(k.year, k.month, k.paid, k.rule), k.fits)
            << k.year << "-" << k.month << " " << k.paid;
}

// Separate numbering counts the symbol's lists, joint numbering every list
// of the year; none gives 1, and 9999 is the last number there is.
TEST(ListRegister, ProposedNumbers) {
    ListCompany c;
    c.List("2026", "A", 1, "03", "20260310", false);
    c.List("2026", "B", 5, "03", "20260310", false);
    c.List("2026", "Z", 3, "03", "20260310", false);
    c.List("2025", "A", 40, "12", "20251231", false);
    c.List("2027", "Z", 9999, "01", "20270131", false);
    ListRegister reg(c.h.rt, c.tables);
    struct Case {
        const char* year;
        const char* symbol;
        int number;
        const char* refusal;
    };
    const Case cases[] = {
        {"2026", "A", 6, ""},
        {"2026", "B", 6, ""},
        {"2026", "Z", 4, ""},
        {"2026", "Y", 1, ""},  // its own numbering, no list of Y yet
        {"2025", "A", 41, ""},
        {"2028", "A", 1, ""},
        {"2027", "Z", 0, "Brak wolnego numeru listy (max. 9999)"},
        {"2027", "A", 0, "Brak wolnego numeru listy (max. 9999)"},
        {"2027", "Y", 1, ""},
    };
    for (const Case& k : cases) {
        const NumberProposal p = reg.ProposeNumber(k.year, c.Sym(k.symbol));
        EXPECT_EQ(p.number, k.number) << k.year << k.symbol;
        EXPECT_EQ(p.refusal, c.Msg(k.refusal)) << k.year << k.symbol;
    }
}

TEST(ListRegister, NumbersTakenAndFree) {
    ListCompany c;
    c.List("2026", "A", 1, "03", "20260310", false);
    c.List("2026", "Z", 2, "03", "20260310", false);
    c.List("2026", "Y", 1, "03", "20260310", false);
    c.List("2026", "B", 7, "03", "20260310", false);
    ListRegister reg(c.h.rt, c.tables);
    // A list of B deleted: its number is free again.
    ASSERT_EQ(reg.Delete(c.List("2026", "B", 8, "03", "20260310", false)), 0);
    struct Case {
        const char* symbol;
        int number;
        const char* refusal;
    };
    const char* taken = "Istnieje taka lista płac";
    const char* range = "Błędny numer listy (1-9999)";
    const Case cases[] = {
        {"A", 2, ""},     // 2 is Z's own number: joint numbering may use it
        {"A", 1, taken},  // the list itself
        {"B", 1, taken},  // joint numbers run across the symbols
        {"B", 7, taken},     {"B", 8, ""},
        {"Z", 2, taken},     {"Z", 1, ""},  // 1 of A and of Y does not bind Z
        {"Y", 2, ""},        {"A", 0, range},
        {"A", 10000, range}, {"A", 9999, ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(reg.CheckNumber("2026", c.Sym(k.symbol), k.number), c.Msg(k.refusal))
            << k.symbol << k.number;
    EXPECT_EQ(reg.CheckNumber("2025", c.Sym("A"), 1), "");
}

TEST(ListRegister, OpeningRefusals) {
    ListCompany c;
    c.List("2026", "M", 1, "03", "20260310", false);
    c.List("2026", "M", 2, "02", "20260210", false);
    ListRegister reg(c.h.rt, c.tables);
    struct Case {
        const char* symbol;
        int number;
        const char* paid;
        int for_year;
        const char* refusal;
    };
    const Case cases[] = {
        {"Q", 0, "20260310", 0, "Błędny typ listy"},
        {"", 0, "20260310", 0, "Błędny typ listy"},
        {"M", 0, "20260310", 0, "Istnieje już taka lista w tym miesiącu"},
        {"A", 1, "20260310", 0, "Istnieje taka lista płac"},  // M 1 numbers jointly
        {"A", 10000, "20260310", 0, "Błędny numer listy (1-9999)"},
        {"A", 0, "20260510", 0, "Błędna data wypłaty"},
        {"A", 0, "", 0, "Błędna data wypłaty"},
        {"A", 0, "20260310", 1998, "Błędny rok"},
        {"A", 0, "20260310", 2027, "Błędny rok"},
    };
    for (const Case& k : cases) {
        NewList n;
        n.symbol = k.symbol;
        n.number = k.number;
        n.paid = k.paid;
        n.for_year = k.for_year;
        PayrollList made;
        EXPECT_EQ(reg.Open(n, &made), c.Msg(k.refusal)) << k.symbol << k.number << k.paid;
    }
    c.tables.CloseAll();
    // Nothing was reserved on the way.
    EXPECT_EQ(c.Numbers("PKLISTY", "NR_LST"), (std::vector<std::string>{"1", "2"}));
}

// A new list takes the system month, the proposed number and the defaults;
// while it is open a second one is refused unless NAGLALP allows it.
TEST(ListRegister, OpeningAListAndTheOpenOne) {
    ListCompany c;
    {
        ListRegister reg(c.h.rt, c.tables);
        NewList n;
        n.symbol = "a";
        n.paid = "20260410";
        PayrollList made;
        ASSERT_EQ(reg.Open(n, &made), "");
        EXPECT_EQ(made.Key(), "2026A    1");
        PayrollList stored;
        ASSERT_TRUE(FindList(c.tables, "2026A    1", &stored));
        EXPECT_EQ(stored.month, "03");
        EXPECT_EQ(stored.paid, "20260410");
        EXPECT_TRUE(stored.open);
        EXPECT_TRUE(stored.to_tax);
        EXPECT_EQ(stored.for_year, 2026);
        n.paid = "20260315";
        EXPECT_EQ(reg.Open(n, &made), c.Msg("Istnieje aktywna lista płac"));
        c.h.rt.config().Set("NAGLALP", memfile::MemValue::Logical(true));
        n.to_tax = false;
        n.for_year = 2025;
        ASSERT_EQ(reg.Open(n, &made), "");
        ASSERT_TRUE(FindList(c.tables, "2026A    2", &stored));
        EXPECT_FALSE(stored.to_tax);
        EXPECT_EQ(stored.for_year, 2025);
    }
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKLISTY", "WSK_AKTYWN"), (std::vector<std::string>{"T", "T"}));
}

// The key is reserved by a deleted record, which the next dialog of the
// key reuses, as it reuses the record of a deleted list.
TEST(ListRegister, TheReservedKeyIsReused) {
    ListCompany c;
    {
        ListRegister reg(c.h.rt, c.tables);
        PayrollList l;
        l.year = "2026";
        l.symbol = "A ";
        l.number = 4;
        l.month = "03";
        l.paid = "20260320";
        l.for_year = 2026;
        reg.Reserve(l);
        reg.Release();  // Esc in the dialog
        EXPECT_FALSE(FindList(c.tables, l.Key(), &l));
        reg.Reserve(l);
        reg.Create(l);
        ASSERT_TRUE(FindList(c.tables, l.Key(), &l));
        reg.Delete(l);
        reg.Reserve(l);
        reg.Create(l);
    }
    c.tables.CloseAll();
    EXPECT_EQ(c.Numbers("PKLISTY", "NR_LST"), (std::vector<std::string>{"4"}));
}

// Positions and tax records a key kept from an earlier list take the new
// list's payment date; the positions' change clears the month's flags.
TEST(ListRegister, RecordsLeftOnTheKeyTakeTheNewDate) {
    ListCompany c;
    PayrollList old = c.List("2026", "A", 1, "03", "20260305");
    c.Position(old, "000001", "ZASD", 100);
    c.TaxRecord(old, "000001");
    {
        ListRegister reg(c.h.rt, c.tables);
        reg.Delete(old);  // leaves PKDOCH
        c.Position(old, "000002", "ZASD", 100);
        c.SetMonthFlags();
        NewList n;
        n.symbol = "A";
        n.number = 1;
        n.paid = "20260325";
        PayrollList made;
        bool remaining = false;
        ASSERT_EQ(reg.Open(n, &made, &remaining), "");
        EXPECT_TRUE(remaining);
        EXPECT_TRUE(reg.HasRecords(made));
    }
    EXPECT_EQ(c.MonthFlags(), "FFF");
    EXPECT_EQ(c.Records("PKPLACE", "DATA_WYP"),
              (std::vector<std::string>{"20260305*", "20260325"}));
    EXPECT_EQ(c.Records("PKDOCH", "DATA_WYP"), (std::vector<std::string>{"20260325"}));
}

TEST(ListRegister, PaymentDateCascade) {
    struct Case {
        const char* symbol;
        const char* flags;  // after the change
    };
    const Case cases[] = {{"A", "FFF"}, {"P", "TTT"}};  // P: a list for legal persons
    for (const Case& k : cases) {
        ListCompany c;
        const PayrollList l = c.List("2026", k.symbol, 1, "03", "20260310");
        const PayrollList other = c.List("2026", "B", 2, "03", "20260310", false);
        c.Position(l, "000001", "ZASD", 100);
        c.Position(l, "000002", "ZASD", 100);
        c.Position(other, "000001", "ZASD", 100);
        c.TaxRecord(l, "000001");
        c.TaxRecord(other, "000001");
        c.SetMonthFlags();
        std::vector<std::string> stages;
        {
            ListRegister reg(c.h.rt, c.tables);
            reg.ChangePaymentDate(l, "20260402", [&](const std::string& s) {
                stages.push_back(codepage::ToUtf8(s));
            });
            PayrollList stored;
            ASSERT_TRUE(FindList(c.tables, l.Key(), &stored));
            EXPECT_EQ(stored.paid, "20260402");
        }
        EXPECT_EQ(stages, (std::vector<std::string>{"Aktualizacja zbioru PKPLACE",
                                                    "Aktualizacja zbioru PKDOCH"}));
        EXPECT_EQ(c.MonthFlags(), k.flags) << k.symbol;
        EXPECT_EQ(c.Records("PKPLACE", "DATA_WYP"),
                  (std::vector<std::string>{"20260402", "20260402", "20260310"}));
        EXPECT_EQ(c.Records("PKDOCH", "DATA_WYP"),
                  (std::vector<std::string>{"20260402", "20260310"}));
    }
}

TEST(ListRegister, ClosingAndReopening) {
    ListCompany c;
    const PayrollList earlier = c.List("2026", "A", 1, "02", "20260210", false);
    const PayrollList open = c.List("2026", "A", 2, "03", "20260310");
    const PayrollList taxed = c.List("2026", "B", 3, "03", "20260310", false);
    c.Position(taxed, "000001", "ZASD", 100);
    c.Add("PKPLACE", {{"ROK_LST", "2026"},
                      {"TYP_LST", "B"},
                      {"NR_LST", "3"},
                      {"NR_PRAC", "000002"},
                      {"SKLADN_PL", "ZASD"},
                      {"KWOTA_", "5"},
                      {"AKT_DOCH", "T"}});
    ListRegister reg(c.h.rt, c.tables);
    EXPECT_EQ(reg.CheckReopen(taxed), c.Msg("Istnieje aktywna lista płac"));
    reg.Close(open);
    PayrollList stored;
    ASSERT_TRUE(FindList(c.tables, open.Key(), &stored));
    EXPECT_FALSE(stored.open);
    EXPECT_EQ(reg.CheckReopen(earlier), c.Msg("Błędny \"2026-02\" (akt.m-c: 2026.03)"));
    EXPECT_EQ(reg.CheckReopen(taxed), "");
    EXPECT_EQ(reg.Reopen(taxed), c.Msg("BLOKADA - Płace przepisane do podatków"));
    ASSERT_TRUE(FindList(c.tables, taxed.Key(), &stored));
    EXPECT_FALSE(stored.open);
    EXPECT_EQ(reg.Reopen(open), "");
    ASSERT_TRUE(FindList(c.tables, open.Key(), &stored));
    EXPECT_TRUE(stored.open);
    reg.SetToTax(open, false);
    reg.SetForYear(open, 2025);
    ASSERT_TRUE(FindList(c.tables, open.Key(), &stored));
    EXPECT_FALSE(stored.to_tax);
    EXPECT_EQ(stored.for_year, 2025);
}

TEST(ListRegister, DeletingAListWithItsPositions) {
    ListCompany c;
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    const PayrollList taxed = c.List("2026", "A", 2, "03", "20260310", false);
    c.Position(l, "000001", "ZASD", 100);
    c.Position(l, "000002", "ZASD", 100);
    c.Position(taxed, "000001", "ZASD", 100);
    c.TaxRecord(taxed, "000001");
    c.SetMonthFlags();
    std::vector<int> counted;
    {
        ListRegister reg(c.h.rt, c.tables);
        EXPECT_EQ(reg.CheckDelete(taxed), c.Msg("Nie kasuj - są pozycje w PKDOCH"));
        EXPECT_EQ(reg.CheckDelete(l), "");
        EXPECT_EQ(reg.Delete(l, [&](int n) { counted.push_back(n); }), 2);
        PayrollList gone;
        EXPECT_FALSE(FindList(c.tables, l.Key(), &gone));
    }
    EXPECT_EQ(counted, (std::vector<int>{1, 2}));
    EXPECT_EQ(c.MonthFlags(), "FFF");
    EXPECT_EQ(c.Numbers("PKPLACE", "NR_LST"), (std::vector<std::string>{"1*", "1*", "2"}));
    EXPECT_EQ(c.Numbers("PKLISTY", "NR_LST"), (std::vector<std::string>{"1*", "2"}));
}

}  // namespace
}  // namespace kestrel::payroll
