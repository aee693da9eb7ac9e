#include "worktime/time_entry_dialog.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "platform/memfile/mem_file.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using testing::WorkCompany;
using V = std::vector<std::string>;

// Two employees of group 01 with its calendar for 2026, four codes and
// two computed ones (the total first, then one that goes out of range).
struct Entry : WorkCompany {
    std::vector<std::string> totals;  // row 22 when F11 is pressed

    Entry() {
        Employee("000001", "A");
        Employee("000002", "B");
        Employee("000003", "C", "07");  // a group without a calendar
        Add("PKGRUPY", {{"GRUPA_", "01"}, {"NAZWA_", "Jedna zmiana"}});
        Add("PKGRUPY", {{"GRUPA_", "07"}, {"NAZWA_", "Bez kalendarza"}});
        Add("PKKALEN", {{"ROK_", "2026"}, {"GRUPA_", "01"}});
        Add("PKSBRG", {{"BRYGADA_", "B1"}, {"NAZWA_", "Pierwsza"}});
        Add("PKSKSZT", {{"KONTO_KOSZ", "501"}, {"NAZWA_", "Produkcja"}});
        Add("PKSKSZT", {{"KONTO_KOSZ", "502"}, {"NAZWA_", "Administracja"}});
        Code("NORM", "E", 1);
        Code("NADG", "N", 2);
        Code("DNOC", "D", 3);
        Code("RAZ", "A", 5, "NORM + NADG");
        Code("BIG", "A", 9, "iif(NADG > 50, 1000, 0)");
        h.con.keyboard().Bind(key::F(11), [this] { totals.push_back(h.Row(22)); });
    }
    void Run() { EnterWorkingTime(h.rt, tables); }
};

TEST(TimeEntry, ASessionWritesLinesComputedCodesAndTheBrigade) {
    Entry c;
    c.Keys({'1', key::kEnter, 'B', '1'});                      // employee 1, brigade B1
    c.Keys({'N', 'O', 'R', 'M', '1', '6', '0', key::kEnter});  // 160 normal hours
    c.Keys({'N', 'A', 'D', 'G', '1', '0', key::kEnter});
    c.Keys({'D', 'N', 'O', 'C', '0', key::kEnter});  // zero hours: no visible line
    // The code again: its line goes, and is entered anew.
    c.Keys({'N', 'O', 'R', 'M', 't', key::F(12), key::kEnter, '1', '6', '8', key::kEnter});
    c.Keys({'X', 'X', 'X', 'X', key::F(12), key::kEnter});          // not a code
    c.Keys({'R', 'A', 'Z', key::kEnter, key::F(12), key::kEnter});  // computed
    c.Keys({key::F(10), key::F(11), key::kEnter});                  // totals
    // Employee 2: no brigade, overtime that makes BIG 1000.
    c.Keys({'2', key::kEnter, key::kEnter});
    c.Keys({'N', 'A', 'D', 'G', '6', '0', key::kEnter, key::F(10), key::F(12), key::kEnter});
    // Employee 3 has no calendar, employee 9 does not exist; F10 ends.
    c.Keys({'3', key::kEnter, key::F(12), key::kEnter, '9', key::kEnter, key::F(12), key::kEnter,
            key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Pozycja skasowana", "Błędny kod", "BŁĄD - kod dotyczy algorytmu",
                             "Błąd!  BIG=1000", "Brak kalendarza \"202607\"",
                             "Brak pracownika o tym numerze"}));
    EXPECT_EQ(c.Lines(), (V{"000001 NORM 168.00", "000001 NADG 10.00", "000001 DNOC 0.00*",
                            "000001 RAZ 178.00", "000002 NADG 60.00", "000002 RAZ 60.00"}));
    ASSERT_EQ(c.totals.size(), 1u);
    EXPECT_NE(c.totals[0].find("Razem wg typów:"), std::string::npos) << c.totals[0];
    EXPECT_NE(c.totals[0].find("Etat  168.00"), std::string::npos) << c.totals[0];
    EXPECT_NE(c.totals[0].find("Nadgodziny   10.00"), std::string::npos) << c.totals[0];
    EXPECT_NE(c.totals[0].find("Dodatki    0.00"), std::string::npos) << c.totals[0];
    EXPECT_EQ(c.Records("PKBRYG", "NR_PRAC"), (V{"000001"}));
    EXPECT_EQ(c.Records("PKBRYG", "BRYGADA_"), (V{"B1"}));
}

TEST(TimeEntry, WithAccountsPerLineACodeCarriesSeveralAccounts) {
    Entry c;
    c.h.rt.config().Set("NAGLKKCZAS", memfile::MemValue::Logical(true));
    c.Keys({'1', key::kEnter, key::kEnter});  // no brigade
    c.Keys({'N', 'O', 'R', 'M', '5', '0', '1', key::kEnter, '1', '0', key::kEnter});
    c.Keys({'N', 'O', 'R', 'M', '5', '0', '2', key::kEnter, '2', '0', key::kEnter});
    // No such account: refused, and the code asked again.
    c.Keys({'N', 'O', 'R', 'M', '5', '9', '9', key::kEnter, key::F(12), key::kEnter, key::kEsc});
    // The first account's line again: only it is deleted, then entered anew.
    c.Keys({'N', 'O', 'R', 'M', '5', '0', '1', key::kEnter, 't', key::F(12), key::kEnter, '1', '5',
            key::kEnter});
    c.Keys({key::F(10), key::kEnter, key::F(10)});
    c.Run();
    EXPECT_EQ(c.messages, (V{"Błędne konto", "Pozycja skasowana"}));
    EXPECT_EQ(c.VisibleLines(),
              (V{"000001 NORM 501 15.00", "000001 NORM 502 20.00", "000001 RAZ 35.00"}));
}

}  // namespace
}  // namespace kestrel::worktime
