#include "worktime/suspension_dialogs.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "worktime_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using testing::WorkCompany;
using V = std::vector<std::string>;

struct SuspensionCompany : WorkCompany {
    SuspensionCompany() : WorkCompany({"PKZAW", "PKSTAN", "PKDZIAL"}) {
        Make("PKSPZAW", {{{"PRZYCZ_ZAW", "01"}, {"NAZWA_", "Areszt"}, {"KOD_NIEOB", "ZAWU"}}});
        Employee("000001", "NOWAK");
        Employee("000002", "LIS");
        Add("PKPRAC", {{"NR_PRAC", "000003"}, {"NAZWX_", "ZIELIŃSKI"}, {"NIE_PRAC", "T"}});
    }
    void Suspended(const std::string& number, const std::string& start,
                   const std::string& last = "") {
        tables.Open("PKZAW", {"PKZAW1"});
        Add("PKZAW",
            {{"NR_PRAC", number}, {"DATA_ZAW", start}, {"PRZYCZ_ZAW", "01"}, {"DATA_POWR", last}});
        tables.CloseAll();
    }
    void Typed(std::string_view utf8) { Keys(utf8); }
    // F12 records the message that waits, Enter dismisses it.
    void Seen() { Keys({key::F(12), key::kEnter}); }
};

TEST(SuspensionDialogs, AnUnconfirmedSuspensionLeavesNothingAndItsRecordIsTakenAgain) {
    SuspensionCompany c;
    std::vector<std::string> shot;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        for (int r : {4, 6, 12, 13, 14}) shot.push_back(base::TrimRight(c.h.Row(r)));
    });
    c.Keys({'1', key::kEnter});
    c.Typed("2026031601");
    c.Keys({key::F(11), key::kEnter, 'n'});
    c.Seen();
    c.Keys({'1', key::kEnter});
    c.Typed("2026021601");  // February: another month than the settlement month
    c.Keys({key::kEnter});
    c.Seen();
    c.Keys({'t'});
    c.Seen();
    c.Keys({'1', key::kEnter});  // suspended already
    c.Seen();
    c.Keys({'3', key::kEnter});  // not on the staff
    c.Seen();
    c.Keys({'9', key::kEnter});
    c.Seen();
    c.Keys({key::F(10)});
    SuspendEmployees(c.h.rt, c.tables);
    EXPECT_EQ(c.messages,
              (V{"Kartot.pracown.pozostaje bez zmian", "Data zawieszenia z innego miesiąca",
                 "Pracownik zawieszony", "Pracownik jest już zawieszony",
                 "Pracownik \"nieetatowy\"", "Brak pracownika o tym numerze"}));
    ASSERT_EQ(shot.size(), 5u);
    EXPECT_NE(shot[0].find("3.9.2. Zawieszanie pracownika"), std::string::npos) << shot[0];
    EXPECT_NE(shot[1].find("Rok-mc: 2026-03"), std::string::npos) << shot[1];
    EXPECT_NE(shot[2].find("Zawieszenie od dnia:"), std::string::npos) << shot[2];
    EXPECT_NE(shot[2].find("2026-03-16"), std::string::npos) << shot[2];
    EXPECT_NE(shot[3].find("Przyczyna zawieszenia:"), std::string::npos) << shot[3];
    EXPECT_NE(shot[3].find("Areszt"), std::string::npos) << shot[3];
    EXPECT_NE(shot[4].find("Planowane zawieszenie do dnia:"), std::string::npos) << shot[4];
    // One record: the entry left unconfirmed was taken again.
    EXPECT_EQ(c.Records("PKZAW", "NR_PRAC"), V{"000001"});
    EXPECT_EQ(c.Records("PKZAW", "DATA_ZAW"), V{"20260216"});
    EXPECT_EQ(c.Records("PKZAW", "PRZYCZ_ZAW"), V{"01"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(SuspensionDialogs, TheLastDayMayBeTheFirstButNotBeforeIt) {
    SuspensionCompany c;
    c.Suspended("000001", "20260316");
    c.Suspended("000002", "20260201");
    c.Keys({'1', key::kEnter});
    c.Typed("20260315");
    c.Seen();
    c.Keys({key::kHome});
    c.Typed("20260316");
    c.Keys({'t'});
    c.Seen();
    c.Keys({'1', key::kEnter});  // ended now
    c.Seen();
    c.Keys({'2', key::kEnter});
    c.Typed("20260410");
    c.Seen();
    c.Keys({'n'});
    c.Seen();
    c.Keys({key::F(10)});
    EndSuspensions(c.h.rt, c.tables);
    EXPECT_EQ(c.messages, (V{"Data przed datą zawieszenia", "Dane zaakceptowane",
                             "Pracownik nie jest zawieszony", "\"Ostatni dz.\" z innego miesiąca",
                             "Dane pozostają bez zmian"}));
    EXPECT_EQ(c.Records("PKZAW", "DATA_POWR"), (V{"20260316", ""}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(SuspensionDialogs, F8CancelsTheSuspensionAndACorrectionKeepsTheRules) {
    SuspensionCompany c;
    c.Suspended("000001", "20260316");
    c.Suspended("000002", "20260301");
    c.Keys({'1', key::kEnter, key::F(8), 't'});
    c.Seen();
    c.Keys({'1', key::kEnter});
    c.Seen();
    c.Keys({'2', key::kEnter, 't'});
    c.Typed("20260305");
    c.Keys({key::kEnter});
    c.Typed("20260304");  // planned before the start
    c.Seen();
    c.Keys({key::kHome});
    c.Typed("20260331");
    c.Seen();
    c.Keys({'2', key::kEnter, 'n'});
    c.Seen();
    c.Keys({key::F(10)});
    CancelOrCorrectSuspensions(c.h.rt, c.tables);
    EXPECT_EQ(c.messages,
              (V{"Rekord skasowany", "Pracownik nie jest zawieszony", "Data przed datą zawieszenia",
                 "Koniec korekty", "Dane pozostają bez zmian"}));
    EXPECT_EQ(c.Records("PKZAW", "NR_PRAC"), (V{"000001*", "000002"}));
    EXPECT_EQ(c.Records("PKZAW", "DATA_ZAW"), (V{"20260316*", "20260305"}));
    EXPECT_EQ(c.Records("PKZAW", "TERMIN_POW"), (V{"*", "20260331"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(SuspensionDialogs, TheBrowseShowsEverySuspensionWithTheEmployeesName) {
    SuspensionCompany c;
    c.Suspended("000002", "20260301");
    c.Suspended("000001", "20260105", "20260110");
    std::vector<std::string> shot;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        for (int r : {7, 9, 10, 21, 22}) shot.push_back(base::TrimRight(c.h.Row(r)));
    });
    c.Keys({key::F(11), key::kDel, 't'});
    c.Seen();
    c.Keys({key::F(11), key::kEsc});
    BrowseSuspensions(c.h.rt, c.tables);
    ASSERT_EQ(shot.size(), 10u);
    for (const char* h :
         {"NR PRAC", "DATA ZAW.", "PRZYCZ.ZAW.", "TERMIN ZAW.", "OSTATNI DZIEŃ ZAW."})
        EXPECT_NE(shot[0].find(h), std::string::npos) << h << ": " << shot[0];
    EXPECT_NE(shot[1].find("000001"), std::string::npos) << shot[1];
    EXPECT_NE(shot[1].find("2026-01-05"), std::string::npos) << shot[1];
    EXPECT_NE(shot[1].find("2026-01-10"), std::string::npos) << shot[1];
    EXPECT_NE(shot[2].find("000002"), std::string::npos) << shot[2];
    EXPECT_NE(shot[3].find("Pracownik:"), std::string::npos) << shot[3];
    EXPECT_NE(shot[4].find("<Del>-Kasowanie"), std::string::npos) << shot[4];
    // After the delete only 000002 is left.
    EXPECT_NE(shot[6].find("000002"), std::string::npos) << shot[6];
    EXPECT_EQ(shot[7].find("000001"), std::string::npos) << shot[7];
    EXPECT_EQ(c.messages, V{"Rekord skasowany"});
    EXPECT_EQ(c.Records("PKZAW", "NR_PRAC"), (V{"000002", "000001*"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// Enter corrects the record under the cursor; an ended suspension keeps a
// last day, and not one before its first day.
TEST(SuspensionDialogs, TheBrowseCorrectsTheLastDayOfAnEndedSuspension) {
    SuspensionCompany c;
    c.Suspended("000001", "20260105", "20260110");
    c.Keys({key::kEnter, key::kEnter, key::kEnter, key::kEnter, key::Ctrl('y'), key::kEnter});
    c.Seen();
    c.Keys({key::kHome});
    c.Typed("20260104");
    c.Seen();
    c.Keys({key::kHome});
    c.Typed("20260112");
    c.Seen();
    c.Keys({key::kEsc});
    BrowseSuspensions(c.h.rt, c.tables);
    EXPECT_EQ(c.messages, (V{"Brak daty", "Data przed datą zawieszenia", "Koniec korekty"}));
    EXPECT_EQ(c.Records("PKZAW", "DATA_POWR"), V{"20260112"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::worktime
