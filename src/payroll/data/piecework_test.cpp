#include "payroll/data/piecework.h"

#include <gtest/gtest.h>

#include "month_close_test_support.h"
#include "test_util.h"

namespace kestrel::payroll {
namespace {

using testing::CloseCompany;

std::string Bare(std::string v) {
    if (!v.empty() && v.back() == '*') v.pop_back();
    return v;
}

// A company with the piecework directory holding job cards.
struct PieceCompany : CloseCompany {
    dbf::testing::ScratchDir cards_dir;

    PieceCompany() : CloseCompany(2026, 3) {
        h.rt.config().Set("NAGL0AK", memfile::MemValue::Char(cards_dir.path() + "/"));
        EXPECT_TRUE(dbf::Table::Create(cards_dir.File("PKAKORD.DBF"), JobCardFields()).ok());
    }
    void Card(const std::string& number, const std::string& date, const std::string& quantity,
              const std::string& price) {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(cards_dir.File("PKAKORD.DBF"), {}, &t).ok());
        dbf::Record r = t->NewRecord();
        ASSERT_TRUE(r.SetString(r.FieldIndex("NR_PRAC"), number).ok());
        ASSERT_TRUE(r.SetDate(r.FieldIndex("DATA_"), date).ok());
        ASSERT_TRUE(r.SetString(r.FieldIndex("ILOSC_WYK"), quantity).ok());
        ASSERT_TRUE(r.SetString(r.FieldIndex("CENA_"), price).ok());
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(r, &recno).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    /// The positions as "NR_PRAC SKLADN_PL KWOTA_", "*" after deleted ones.
    std::vector<std::string> Places() {
        tables.CloseAll();
        const std::vector<std::string> nr = Records("PKPLACE", "NR_PRAC"),
                                       sym = Records("PKPLACE", "SKLADN_PL"),
                                       amount = Records("PKPLACE", "KWOTA_");
        std::vector<std::string> out;
        for (size_t i = 0; i < nr.size(); ++i)
            out.push_back(Bare(nr[i]) + " " + Bare(sym[i]) + " " + base::Trim(Bare(amount[i])));
        return out;
    }
};

PieceworkCounts Transfer(PieceCompany& c, const PieceworkPlan& plan) {
    return TransferPiecework(c.h.rt, c.tables, plan, nullptr);
}

// Each card of the list month counts once per component, the values are
// summed and rounded; an employee without cards loses his position; the
// month's flags are cleared.
TEST(Piecework, SumsTheCardsOfTheListMonthPerEmployeeAndComponent) {
    PieceCompany c;
    c.Component("AKRD", "I", 1, kPieceworkAlgorithm);
    c.Component("AKR2", "I", 2, "PKAKORD->ilosc_wyk");
    c.Component("ZLEC", "I", 3, "1");
    c.tables.CloseAll();
    {
        // ZLEC belongs to lists "Z" only.
        dbf::WorkArea& a = c.tables.Open("PKSPL", {"PKSPL1"});
        ASSERT_TRUE(a.Goto(3).ok());
        c.tables.RLock(a);
        ASSERT_TRUE(a.record().SetString(a.FieldIndex("TYP_LISTY"), "Z").ok());
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
        c.tables.CloseAll();
    }
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    c.Position(l, "000002", "AKRD", 77);
    c.tables.CloseAll();
    c.Card("000001", "20260302", "2.5", "10.004");  // 25.01
    c.Card("000001", "20260331", "3", "1.333");     // 4.00 (3.999)
    c.Card("000001", "20260228", "100", "1");       // another month
    c.Card("000002", "20260401", "1", "1");         // another month

    const PieceworkPlan plan = PlanPiecework(c.h.rt, c.tables, l);
    EXPECT_EQ(plan.refusal, "");
    EXPECT_EQ(plan.warning, "");
    ASSERT_EQ(plan.components.size(), 2u);  // AKRD, AKR2; ZLEC not on lists "A"
    const PieceworkCounts n = Transfer(c, plan);
    EXPECT_EQ(n.error, "");
    EXPECT_EQ(n.created, 2);
    EXPECT_EQ(n.rewritten, 0);
    EXPECT_EQ(n.deleted, 1);
    EXPECT_EQ(c.Places(), (std::vector<std::string>{"000002 AKRD 77.00", "000001 AKR2 5.50",
                                                    "000001 AKRD 29.01"}));
    EXPECT_EQ(c.Records("PKPLACE", "NR_PRAC")[0], "000002*");
    EXPECT_EQ(c.Field("AKT_ZUS"), "F");

    // Run again: the same amounts are written over.
    c.InsuranceDone();
    const PieceworkCounts again = Transfer(c, PlanPiecework(c.h.rt, c.tables, l));
    EXPECT_EQ(again.created, 0);
    EXPECT_EQ(again.rewritten, 2);
    EXPECT_EQ(again.deleted, 0);
    EXPECT_EQ(c.Field("AKT_ZUS"), "F");
}

// Without a component of kind "I" the one named by SYMB_AKORD becomes it,
// written only by the transfer; a wrong symbol and a component not for the
// list refuse.
TEST(Piecework, TheSymbolOfTheControlRecordBecomesThePieceworkComponent) {
    struct Case {
        const char* symbol;
        const char* list_kinds;
        const char* refusal;
    } const cases[] = {
        {"AKOR", "", ""},
        {"", "", "Błędny symbol płacy akordowej"},
        {"XXXX", "", "Błędny symbol płacy akordowej"},
        {"AKOR", "Z", "Akord nie dotyczy tej listy płac"},
    };
    for (const Case& k : cases) {
        PieceCompany c;
        c.tables.CloseAll();
        c.Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "3"}, {"SYMB_AKORD", k.symbol}}});
        c.Add("PKSPL", {{"SKLADN_PL", "AKOR"}, {"TYP_", "K"}, {"TYP_LISTY", k.list_kinds}});
        const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
        c.tables.CloseAll();
        c.Card("000001", "20260302", "2", "3");
        const PieceworkPlan plan = PlanPiecework(c.h.rt, c.tables, l);
        EXPECT_EQ(testing::ScriptedDialog::U(plan.refusal), k.refusal) << k.symbol << k.list_kinds;
        c.tables.CloseAll();
        EXPECT_EQ(c.Records("PKSPL", "TYP_"), (std::vector<std::string>{"K"}));
        if (!plan.refusal.empty()) continue;
        EXPECT_TRUE(plan.promote);
        const PieceworkCounts n = Transfer(c, plan);
        EXPECT_EQ(n.error, "");
        EXPECT_EQ(n.created, 1);
        EXPECT_EQ(c.Places(), (std::vector<std::string>{"000001 AKOR 6.00"}));
        EXPECT_EQ(c.Records("PKSPL", "TYP_"), (std::vector<std::string>{"I"}));
    }
}

// A month without cards warns; the transfer then removes the piecework
// positions. An algorithm that fails ends with its message.
TEST(Piecework, NoCardsWarnAndAFailingAlgorithmEnds) {
    PieceCompany c;
    c.Component("AKRD", "I", 1, kPieceworkAlgorithm);
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    c.Position(l, "000001", "AKRD", 12);
    c.tables.CloseAll();
    const PieceworkPlan plan = PlanPiecework(c.h.rt, c.tables, l);
    EXPECT_EQ(testing::ScriptedDialog::U(plan.warning), "Brak kart pracy za ten miesiąc");
    EXPECT_EQ(Transfer(c, plan).deleted, 1);

    PieceCompany bad;
    bad.Component("AKRD", "I", 1, "PKAKORD->nie_ma");
    const PayrollList l2 = bad.List("2026", "A", 1, "03", "20260310");
    bad.tables.CloseAll();
    bad.Card("000001", "20260302", "2", "3");
    const PieceworkCounts n = Transfer(bad, PlanPiecework(bad.h.rt, bad.tables, l2));
    EXPECT_NE(n.error, "");
    EXPECT_EQ(n.created, 0);
}

}  // namespace
}  // namespace kestrel::payroll
