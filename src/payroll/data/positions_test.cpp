#include "payroll/data/positions.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_month.h"
#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

Component Made(const std::string& symbol, bool deduction = false, bool memory_only = false) {
    Component c;
    c.symbol = symbol;
    c.symbol.resize(4, ' ');
    c.deduction = deduction;
    c.memory_only = memory_only;
    return c;
}

// Reruns write over the same records: an amount set to 0 deletes the
// position, and the next non-zero amount of that key recalls the deleted
// record instead of appending one.
TEST(Positions, StoringReusesTheDeletedRecordOfTheKey) {
    PayCompany c;
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    {
        Positions p(c.h.rt, c.tables);
        EXPECT_TRUE(p.Store(l, "000001", Made("BRUT"), 4000));
        EXPECT_TRUE(p.Store(l, "000001", Made("POTR", true), 50));
        EXPECT_FALSE(p.Store(l, "000001", Made("BRUT"), 0));
        EXPECT_TRUE(p.Store(l, "000001", Made("BRUT"), 4100));
        Position got;
        ASSERT_TRUE(p.Find(l, "000001", "BRUT", &got));
        EXPECT_EQ(got.amount, 4100);
        EXPECT_EQ(got.paid, "20260310");
        EXPECT_EQ(got.month, "03");
        EXPECT_FALSE(got.blocked);
        ASSERT_TRUE(p.Find(l, "000001", "POTR", &got));
        EXPECT_TRUE(got.deduction);
        Component aux = Made("POMO");
        aux.off_list = true;
        EXPECT_TRUE(p.Store(l, "000001", aux, 999));
        EXPECT_EQ(PayableTotal(p.Of(l, "000001")), 4050);  // 4100 - 50, the auxiliary left out
    }
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "SKLADN_PL"),
              (std::vector<std::string>{"BRUT", "POTR", "POMO"}));
}

// A memory-only component is never stored: an old position of it goes.
// A key written twice by an older program keeps one record.
TEST(Positions, MemoryOnlyDeletesAndDuplicatesOfAKeyAreRemoved) {
    PayCompany c;
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    c.Position(l, "000001", "MEMO", 10);
    c.Position(l, "000001", "BRUT", 1);
    c.Position(l, "000001", "BRUT", 2);
    {
        Positions p(c.h.rt, c.tables);
        EXPECT_FALSE(p.Store(l, "000001", Made("MEMO", false, true), 99));
        EXPECT_TRUE(p.Store(l, "000001", Made("BRUT"), 3));
        const std::vector<Position> all = p.Of(l, "000001");
        ASSERT_EQ(all.size(), 1u);
        EXPECT_EQ(all[0].symbol, "BRUT");
        EXPECT_EQ(all[0].amount, 3);
    }
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "SKLADN_PL"),
              (std::vector<std::string>{"MEMO*", "BRUT", "BRUT*"}));
}

// The entry of one position: a reserved key stays deleted until saved, a
// blocked zero is kept (the recalculation leaves it alone), an unblocked
// zero deletes, and an abandoned reservation is reused by the next one.
TEST(Positions, ReservedEntriesAreSavedBlockedOrReleased) {
    PayCompany c;
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    Positions p(c.h.rt, c.tables);
    EXPECT_FALSE(p.Reserve(l, "000001", Made("PREM")));
    p.Release();
    EXPECT_FALSE(p.Find(l, "000001", "PREM"));
    EXPECT_FALSE(p.Reserve(l, "000001", Made("PREM")));
    p.Save(l, Made("PREM"), 0, true);
    Position got;
    ASSERT_TRUE(p.Find(l, "000001", "PREM", &got));
    EXPECT_TRUE(got.blocked);
    EXPECT_EQ(got.amount, 0);
    EXPECT_TRUE(p.Reserve(l, "000001", Made("PREM")));  // "Istniejąca pozycja"
    p.Save(l, Made("PREM"), 0, false);
    EXPECT_FALSE(p.Find(l, "000001", "PREM"));
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "SKLADN_PL"), (std::vector<std::string>{"PREM*"}));
}

TEST(PayrollMonth, OpenListsAndTheirRefusals) {
    PayCompany c;
    EXPECT_EQ(FindOpenLists(c.h.rt, c.tables).refusal, c.h.rt.Text("Brak aktywnej listy plac"));
    c.List("2026", "A", 1, "03", "20260310", false);
    c.List("2026", "B", 2, "03", "20260312");
    OpenLists one = FindOpenLists(c.h.rt, c.tables);
    ASSERT_EQ(one.lists.size(), 1u);
    EXPECT_EQ(one.lists[0].symbol, "B ");
    c.List("2026", "A", 3, "03", "20260315");
    EXPECT_EQ(FindOpenLists(c.h.rt, c.tables).refusal,
              c.h.rt.Text("Sprzeczne informacje w zb.: PKLISTY"));
    c.h.rt.config().Set("NAGLALP", memfile::MemValue::Logical(true));
    EXPECT_EQ(FindOpenLists(c.h.rt, c.tables).lists.size(), 2u);
    PayrollList found;
    ASSERT_TRUE(FindList(c.tables, "2026A    3", &found));
    EXPECT_EQ(found.paid, "20260315");
    EXPECT_EQ(ListCaption(found), "   3/A /03/2026 (15.03.2026)");
    EXPECT_FALSE(FindList(c.tables, "2026A    2", &found));
}

TEST(PayrollMonth, ListKeysAsTheCommandLineWritesThem) {
    struct Case {
        const char* text;
        const char* key;
    };
    const Case cases[] = {
        {"2026/A/1", "2026A    1"},
        {"2026/ab/9999", "2026AB9999"},
        {"2026A    1", "2026A    1"},
        {"2026/A/0", ""},
        {"2026/A/10000", ""},
        {"26/A/1", ""},
        {"2026/ABC/1", ""},
        {"2026//1", ""},
        {"2026/A/x", ""},
        {"", ""},
    };
    for (const Case& k : cases) EXPECT_EQ(ListKeyFromText(k.text), k.key) << k.text;
}

TEST(PayrollMonth, ChangingPositionsClearsTheMonthsFlags) {
    PayCompany c;
    {
        dbf::WorkArea& ster = c.tables.Open("PKSTER");
        ASSERT_TRUE(ster.GoTop().ok());
        c.tables.RLock(ster);
        for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"})
            ster.record().SetLogical(ster.FieldIndex(f), true);
        ASSERT_TRUE(ster.Commit().ok());
        ster.Unlock();
    }
    ClearMonthFlags(c.h.rt, c.tables);
    c.tables.CloseAll();
    for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"})
        EXPECT_EQ(c.Records("PKSTER", f), (std::vector<std::string>{"F"})) << f;
}

}  // namespace
}  // namespace kestrel::payroll
