#include "payroll/component_entry.h"

#include <gtest/gtest.h>

#include "payroll/data/positions.h"
#include "payroll_company.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using V = std::vector<std::string>;

constexpr int kCtrlY = 25;

// An open list of symbol A for March 2026 and the components ZASD (from
// the register's rate), PREM (entered), BRUT = ZASD + PREM (auxiliary,
// shown through its mask), NBLK (not to be blocked) and ZLEC (lists Z only).
struct Entry : testing::PayCompany {
    PayrollList list;
    V shown;  // rows captured by F11

    Entry() {
        Make("PKZAW");
        Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Etatowa"}});
        Component("ZASD", "A", 10, "pkprac->st_podst");
        Component("PREM", "K", 20);
        Add("PKSPL", {{"SKLADN_PL", "BRUT"},
                      {"NAZWA_", "Brutto"},
                      {"TYP_", "A"},
                      {"SEKW_OBL", "30"},
                      {"ALGORYTM_", "ZASD+PREM"},
                      {"POZA_LISTA", "T"},
                      {"MASKA_", "999999.9"}});
        Add("PKSPL", {{"SKLADN_PL", "NBLK"},
                      {"NAZWA_", "Bez blokady"},
                      {"TYP_", "A"},
                      {"SEKW_OBL", "40"},
                      {"ALGORYTM_", "1"},
                      {"NIE_BLOK", "T"}});
        Add("PKSPL",
            {{"SKLADN_PL", "ZLEC"}, {"NAZWA_", "Zlecenie"}, {"TYP_", "K"}, {"TYP_LISTY", "Z"}});
        list = List("2026", "A", 1, "03", "20260310");
    }
    void Capture(std::initializer_list<int> rows) {
        std::vector<int> r(rows);
        h.con.keyboard().Bind(key::F(11), [this, r] {
            for (int row : r) shown.push_back(base::TrimRight(h.Row(row)));
        });
    }
    void Run() { EnterComponents(h.rt, tables); }
    // The list's positions as "EMPLOYEE SYMBOL amount", "B" after a blocked one.
    V Stored() {
        Positions p(h.rt, tables);
        V out;
        for (const payroll::Position& x : p.OfList(list)) {
            char amount[32];
            std::snprintf(amount, sizeof amount, "%.2f", x.amount);
            out.push_back(x.employee + " " + base::TrimRight(x.symbol) + " " + amount +
                          (x.blocked ? " B" : ""));
        }
        return out;
    }
};

TEST(ComponentEntry, AnAmountIsEnteredAndShownInTheTable) {
    Entry c;
    c.Capture({9, 10, 11, 21});
    c.Keys({'9', key::kEnter, key::F(12), key::kEnter});  // no such employee
    c.Keys({'1', key::kEnter});
    c.Keys(
        {'P', 'R', 'E', 'M', '1', '5', '0', '0', key::kEnter});  // four letters: on to the amount
    c.Keys({'B', 'R', 'U', 'T', key::F(12), 't', '2', '5', key::kEnter});  // blocked auxiliary
    c.Keys({'Z', 'L', 'E', 'C', key::F(12), key::kEnter});
    c.Keys({'N', 'B', 'L', 'K', key::F(12), key::kEnter});
    c.Keys({'X', 'Y', key::kEnter, key::F(12), key::kEnter});
    c.Keys({key::F(11), key::F(10), key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Brak pracownika o tym numerze", "Składnik algorytmiczny",
                             // The capture takes 38 bytes of the UTF-8 row.
                             "Składnik sprzeczny z typem listy pła", "Składnik algorytmiczny",
                             "Brak składnika o takim symbolu"}));
    EXPECT_EQ(c.Stored(), (V{"000001 BRUT 25.00 B", "000001 PREM 1500.00"}));
    ASSERT_EQ(c.shown.size(), 4u);
    EXPECT_EQ(c.shown[0],
              "  Symb.     Nazwa składnika            Wartość/Kwota  Potrac.  algor.  pomocn.");
    EXPECT_EQ(c.shown[1],
              "  BRUT      Brutto                              25.0             XXX     XXX");
    EXPECT_EQ(c.shown[2], "  PREM      Składnik PREM                   1.500,00");
    EXPECT_EQ(c.shown[3],
              " <F3/F4/F5/F6>-Składn.płac   <F9>-Wylicz.składn.  <F10>-Wyjście  <F12>-Analiza");
}

// F4 lists the components that apply (ZLEC does not); Enter types the
// chosen symbol into the line.
TEST(ComponentEntry, TheListOfApplyingComponentsTypesTheSymbol) {
    Entry c;
    c.Capture({12, 13, 14, 15, 16});
    c.Keys({'2', key::kEnter});
    c.Keys({key::F(4), key::F(11), key::kDown, key::kDown, key::kEnter});  // PREM: four letters
    c.Keys({'7', '0', key::kEnter, key::F(10), key::F(10)});
    c.Run();
    ASSERT_EQ(c.shown.size(), 5u);
    EXPECT_NE(c.shown[0].find("BRUT"), std::string::npos) << c.shown[0];
    EXPECT_NE(c.shown[1].find("NBLK"), std::string::npos) << c.shown[1];
    EXPECT_NE(c.shown[2].find("PREM"), std::string::npos) << c.shown[2];
    EXPECT_NE(c.shown[3].find("ZASD"), std::string::npos) << c.shown[3];
    EXPECT_EQ(c.shown[4].find("ZLEC"), std::string::npos) << c.shown[4];
    EXPECT_EQ(c.Stored(), (V{"000002 PREM 70.00"}));
}

// Entering 0 while blocking keeps a blocked zero position; the blocked
// amount can be changed; unblocking keeps it. Esc during an amount leaves
// the reserved record deleted, and the next entry of the key reuses it.
TEST(ComponentEntry, BlockingChangingAndUnblockingAnAlgorithm) {
    Entry c;
    c.Capture({10});
    c.Keys({'1', key::kEnter});
    c.Keys({'Z', 'A', 'S', 'D', key::F(12), 'n'});                    // not blocked after all
    c.Keys({'Z', 'A', 'S', 'D', 't', '0', key::kEnter, key::F(11)});  // a blocked zero
    c.Keys({'Z', 'A', 'S', 'D', key::F(12), key::kEnter, key::F(12), 'n', key::kHome, kCtrlY, '2',
            '5', '0', '0', key::kEnter});
    c.Keys({'Z', 'A', 'S', 'D', key::F(12), key::kEnter, key::F(12), 't'});
    c.Keys({'P', 'R', 'E', 'M', '4', key::kEsc});
    c.Keys({'P', 'R', 'E', 'M', '4', '0', key::kEnter});
    c.Keys({key::F(10), key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Składnik algorytmiczny", "Istniejąca pozycja", "Zablokowany algorytm",
                             "Istniejąca pozycja", "Zablokowany algorytm"}));
    ASSERT_EQ(c.shown.size(), 1u);
    EXPECT_EQ(c.shown[0], "  ZASD      Składnik ZASD                       0,00             XXX");
    EXPECT_EQ(c.Stored(), (V{"000001 PREM 40.00", "000001 ZASD 2500.00"}));
    c.tables.CloseAll();
    // ZASD's record was reserved once (the first, refused entry) and reused.
    EXPECT_EQ(c.Records("PKPLACE", "SKLADN_PL"), (V{"ZASD", "PREM"}));
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (V{"F"}));
}

// F12 shows the formula and its value over the stored amounts, Up and Down
// step to the neighbouring formulas, and the payable amount stands below.
TEST(ComponentEntry, AnalysisShowsTheFormulaAndItsValue) {
    Entry c;
    c.Position(c.list, "000001", "ZASD", 3000);
    c.Position(c.list, "000001", "PREM", 500);
    c.Capture({9, 11, 18, 19});
    c.Keys({'1', key::kEnter, key::F(12)});
    c.Keys({'P', 'R', 'E', 'M', key::F(12), key::kEnter});  // not algorithmic
    c.Keys({'B', 'R', 'U', 'T', key::F(11), key::kUp, key::F(11), key::kEsc});
    c.Keys({key::F(10), key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Składnik nie jest algorytmiczny"}));
    ASSERT_EQ(c.shown.size(), 8u);
    EXPECT_NE(c.shown[0].find("Analizowany składnik: BRUT  Brutto"), std::string::npos)
        << c.shown[0];
    EXPECT_NE(c.shown[1].find("Wzór:  ZASD+PREM"), std::string::npos) << c.shown[1];
    EXPECT_NE(c.shown[2].find("Wartość:                     3500.0"), std::string::npos)
        << c.shown[2];
    EXPECT_NE(c.shown[3].find("Kwota do wypłaty:          3.500,00"), std::string::npos)
        << c.shown[3];
    EXPECT_NE(c.shown[4].find("ZASD  Składnik ZASD"), std::string::npos) << c.shown[4];
    EXPECT_NE(c.shown[5].find("pkprac->st_podst"), std::string::npos) << c.shown[5];
    EXPECT_NE(c.shown[6].find("Wartość:                       0,00"), std::string::npos)
        << c.shown[6];
}

TEST(ComponentEntry, WithoutAnOpenListNothingIsEntered) {
    Entry c;
    c.tables.CloseAll();
    c.Make("PKLISTY");
    c.Keys({key::F(12), key::kEnter});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Brak aktywnej listy plac"}));
}

// F9 computes the employee's components with the recalculation and shows
// the table again.
TEST(ComponentEntry, F9ComputesTheEmployee) {
    Entry c;
    c.Make("PKTAB");  // the scale the recalculation loads first
    c.Add("PKTAB", {{"ROK_", "2026"},
                    {"OD_MC", "1"},
                    {"MC_DO", "12"},
                    {"PONAD_KW", "0"},
                    {"DO_KWOTY", "120000"},
                    {"KWOTA_POD", "0"},
                    {"PROC_POD", "12"},
                    {"ULGA_POD", "3600"}});
    c.Add("PKTAB", {{"ROK_", "2026"},
                    {"OD_MC", "1"},
                    {"MC_DO", "12"},
                    {"PONAD_KW", "120000"},
                    {"DO_KWOTY", "999999999.99"},
                    {"KWOTA_POD", "14400"},
                    {"PROC_POD", "32"},
                    {"ULGA_POD", "3600"}});
    c.tables.CloseAll();
    c.Position(c.list, "000001", "PREM", 500);
    c.Add("PKPRAC", {{"NR_PRAC", "000003"}, {"NAZWX_", "Wrona"}, {"ST_PODST", "4000"}});
    c.Keys({'3', key::kEnter, 'P', 'R', 'E', 'M', '5', '0', '0', key::kEnter, key::F(9), key::F(10),
            key::F(10)});
    c.Run();
    EXPECT_TRUE(c.messages.empty());
    EXPECT_EQ(c.Stored(), (V{"000001 PREM 500.00", "000003 BRUT 4500.00", "000003 NBLK 1.00",
                             "000003 PREM 500.00", "000003 ZASD 4000.00"}));
}

}  // namespace
}  // namespace kestrel::payroll
