#include "worktime/monthly_schedule_dialog.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "test_company.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using registry::testing::Row;
using registry::testing::TestCompany;

// The list's rows are rows 9-21 (headings at 7, separator at 8); the box of
// the current day is at columns 29-77.
constexpr int kSeen = key::CtrlF(12);  // records the message of row 23
constexpr int kSnap = key::CtrlF(11);  // records the screen

struct ScheduleTest : ::testing::Test {
    TestCompany c;
    std::vector<std::vector<std::string>> snaps;  // CP852 rows

    // The list's row `r` of snapshot `i` (the 25 cells from column 1).
    std::string ListRow(size_t i, int r) const {
        return codepage::ToUtf8(snaps[i][static_cast<size_t>(r)].substr(1, 25));
    }
    // True when row `r` of snapshot `i` shows `utf8`.
    bool Shows(size_t i, int r, std::string_view utf8) const {
        return codepage::ToUtf8(snaps[i][static_cast<size_t>(r)]).find(utf8) != std::string::npos;
    }

    void SetUp() override {
        c.h.rt.config().Set("NAGLHARMON", memfile::MemValue::Logical(true));
        c.h.con.keyboard().Bind(
            kSeen, [this] { c.messages.push_back(base::TrimRight(c.h.Row(23).substr(1, 38))); });
        c.h.con.keyboard().Bind(kSnap, [this] {
            std::vector<std::string> rows;
            for (int r = 0; r < 25; ++r) rows.push_back(c.h.con.screen().RowText(r));
            snaps.push_back(rows);
        });
        c.Make("PKPRAC", {{{"NR_PRAC", "000001"}, {"GRUPA_KAL", "01"}},
                          {{"NR_PRAC", "000002"}, {"GRUPA_KAL", "02"}}});
        c.Make("PKGRUPY",
               {{{"GRUPA_", "01"}, {"ZMIENNY_CZ", "F"}}, {{"GRUPA_", "02"}, {"ZMIENNY_CZ", "T"}}});
        // February 2026 begins on a Sunday.
        const char* february = "N     WN     WN     WN     W";
        c.Make("PKKALEN", {{{"ROK_", "2026"}, {"GRUPA_", "01"}, {"MC_02", february}},
                           {{"ROK_", "2026"}, {"GRUPA_", "02"}, {"MC_02", february}}});
        c.Make("PKSZMIA",
               {{{"GRUPA_", "01"}, {"ZMIANA_", " "}, {"OD_GODZ", "7"}, {"GODZ_DO", "15"}},
                {{"GRUPA_", "02"}, {"ZMIANA_", "A"}, {"OD_GODZ", "6"}, {"GODZ_DO", "14"}},
                {{"GRUPA_", "02"}, {"ZMIANA_", "B"}, {"OD_GODZ", "14"}, {"GODZ_DO", "21"}}});
        c.Make("PKSTYPP", {{{"TYP_PRACY", "01"}, {"NAZWA_", "Nadgodziny"}}});
        c.Make("PKHARZM");
        c.Make("PKINGPR");
    }

    // February 2026 and the employee, then `keys`, then Esc out of the list,
    // the employee and the month. True when the dialog used every key.
    bool Run(const char* employee, const std::vector<int>& keys) {
        c.Keys("2026");
        c.Keys("02");
        c.Keys(employee);
        c.Keys({key::kEnter});
        c.Keys(keys);
        c.Keys({key::kEsc, key::kEsc, key::kEsc});
        MonthlySchedule(c.h.rt, c.tables);
        return c.h.backend.exhausted();
    }

    // "NR_PRAC DATA_ WOLNE_ segments" of every PKINGPR record, "*" when deleted.
    std::vector<std::string> Ingpr() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(c.dir.File("PKINGPR.DBF"), {}, &t).ok());
        std::vector<std::string> out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            std::string line = r.GetString(r.FieldIndex("NR_PRAC")) + " " +
                               r.GetDate(r.FieldIndex("DATA_")) +
                               (r.GetLogical(r.FieldIndex("WOLNE_")) ? " wolny" : "");
            for (const char* f :
                 {"OD_GODZ", "OD_MIN", "GODZ_DO", "MIN_DO", "TYP_PRACY", "ZAKRES_2", "OD_GODZ_2",
                  "OD_MIN_2", "GODZ_DO_2", "MIN_DO_2", "TYP_PRACY2", "ZAKRES_3", "OD_GODZ_3"}) {
                const std::string v = base::Trim(r.GetString(r.FieldIndex(f)));
                line += " " + (v.empty() ? std::string("_") : v);
            }
            out.push_back(base::TrimRight(line) + (r.deleted() ? "*" : ""));
            return base::Status::Ok();
        });
        return out;
    }
};

std::vector<int> Typed(const char* text) {
    return registry::testing::Typed(text);
}

std::vector<int> Join(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST_F(ScheduleTest, AnIndividualDayWithTwoSegmentsOverlapsRefusedAndAFreeDay) {
    const std::vector<int> overlapping = Join(
        {Typed("22000600"), {key::kEnter}, Typed("t"), Typed("05000700"), Typed("01"), Typed("n")});
    const std::vector<int> beside = Join(
        {Typed("22000600"), {key::kEnter}, Typed("t"), Typed("06000730"), Typed("01"), Typed("n")});
    const std::vector<int> keys = Join({
        {kSnap, key::F(8), key::kPgDn},  // Sunday 1 February worked
        {key::kDown, kSnap, key::F(1)},  // 2 February: individual hours
        overlapping,
        {kSnap, kSeen, key::kEnter},  // refused
        beside,
        {kSnap, key::kDown, key::F(8), kSnap},  // 3 February free
        {key::F(1), kSnap},                     // and back to the template
        {key::kDown, key::F(8)},                // 4 February free
    });
    ASSERT_TRUE(Run("1", keys));
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Segmenty czasu pracy nakładają się"}));
    ASSERT_EQ(snaps.size(), 6u);
    // Sunday 1 February is free by the calendar; Monday follows the template.
    EXPECT_EQ(ListRow(0, 9), "01 Nd │    │ wzór │ wolny");
    EXPECT_TRUE(Shows(0, 9, "<dzień wolny od pracy (wg kalendarza)>"));
    EXPECT_TRUE(Shows(1, 7, " Godziny pracy wg WZORCA harmonogramu "));
    EXPECT_EQ(ListRow(1, 10), "02 Pn │    │ wzór │ 08:00");
    EXPECT_TRUE(Shows(1, 9, "Godziny pracy (Od-Do): 07.00-15.00"));
    EXPECT_TRUE(Shows(1, 19, "<F1>-Idywidualny harmonogram czasu pracy"));
    // The overlapping segments were shown with "BŁĄD!".
    EXPECT_TRUE(Shows(2, 17, "Czas pracy razem: BŁĄD!"));
    EXPECT_TRUE(Shows(3, 7, " Godziny pracy wg INDYWIDUALNEGO harmonogramu "));
    EXPECT_EQ(ListRow(3, 10), "02 Pn │    │ ind. │ 09:30");
    EXPECT_TRUE(Shows(3, 19, "<F1>-Czas pracy wg wzorca"));
    EXPECT_TRUE(Shows(4, 9, "<dzień wolny od pracy (indywidualny)>"));
    EXPECT_EQ(ListRow(4, 11), "03 Wt │    │ ind. │ wolny");
    EXPECT_EQ(ListRow(5, 11), "03 Wt │    │ wzór │ 08:00");
    EXPECT_EQ(Ingpr(), (std::vector<std::string>{
                           "000001 20260201 7 0 15 0 _ F 0 0 0 0 _ F 0",
                           "000001 20260202 22 0 6 0 _ T 6 0 7 30 01 F 0",
                           "000001 20260203 wolny 7 0 15 0 _ F 0 0 0 0 _ F 0*",
                           "000001 20260204 wolny 7 0 15 0 _ F 0 0 0 0 _ F 0",
                       }));
}

TEST_F(ScheduleTest, HoursMinutesAndTypesOfWorkChecked) {
    const std::vector<int> keys = Join({
        {key::kDown, key::F(1)},
        Typed("24"),
        {kSeen, key::kEnter, key::kHome},
        Typed("22"),  // hour
        Typed("00"),
        Typed("06"),
        Typed("75"),
        {kSeen, key::kEnter, key::kHome},
        Typed("15"),  // minute
        Typed("99"),
        {kSeen, key::kEnter, key::kHome},
        Typed("01"),  // type of work
        Typed("n"),
    });
    ASSERT_TRUE(Run("1", keys));
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędna godzina (0-23)", "Błędne minuty (0-59)",
                                                    "Błędny typ pracy"}));
    EXPECT_EQ(Ingpr(), (std::vector<std::string>{"000001 20260202 22 0 6 15 01 F 0 0 0 0 _ F 0"}));
}

TEST_F(ScheduleTest, ShiftLettersOfAVariableTimeGroup) {
    const std::vector<int> keys = {
        key::kDown,  key::kEnter, 'b', kSnap,                          // 2 February: shift B
        key::kDown,  key::kEnter, 'x', kSeen, key::kEnter, key::kEsc,  // no shift X
        key::kDown,  key::kEnter, 'a',                                 // 4 February: A
        key::kEnter, ' ',                                              // and none again
    };
    ASSERT_TRUE(Run("2", keys));
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Brak takiej zmiany we wzorcu"}));
    ASSERT_EQ(snaps.size(), 1u);
    EXPECT_EQ(ListRow(0, 10), "02 Pn │ B  │ wzór │ 07:00");
    EXPECT_TRUE(Shows(0, 8, "Zmiana: B"));
    EXPECT_TRUE(Shows(0, 9, "Godziny pracy (Od-Do): 14.00-21.00"));
    EXPECT_EQ(c.Records("PKHARZM", "ZMIANA_"), (std::vector<std::string>{"B", "A*"}));
    EXPECT_EQ(c.Records("PKHARZM", "DATA_"), (std::vector<std::string>{"20260202", "20260204*"}));
    EXPECT_EQ(c.Records("PKHARZM", "GRUPA_"), (std::vector<std::string>{"02", "02*"}));
    EXPECT_TRUE(Ingpr().empty());
}

TEST_F(ScheduleTest, DeletingTheIndividualScheduleOfTheMonth) {
    c.Make("PKINGPR", {{{"NR_PRAC", "000001"}, {"DATA_", "20260202"}, {"WOLNE_", "T"}},
                       {{"NR_PRAC", "000001"}, {"DATA_", "20260227"}, {"OD_GODZ", "8"}},
                       {{"NR_PRAC", "000002"}, {"DATA_", "20260202"}, {"WOLNE_", "T"}},
                       {{"NR_PRAC", "000001"}, {"DATA_", "20260302"}, {"WOLNE_", "T"}}});
    const std::vector<int> keys = {
        key::kCtrlDel, 'n',                      // kept
        key::kCtrlDel, 't', kSeen, key::kEnter,  // deleted
        key::kCtrlDel, 't', kSeen, key::kEnter,  // nothing left
    };
    ASSERT_TRUE(Run("1", keys));
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Własny harmonogram skasowany",
                                                    "Brak własnego harmonogramu"}));
    EXPECT_EQ(c.Records("PKINGPR", "DATA_"),
              (std::vector<std::string>{"20260202*", "20260227*", "20260202", "20260302"}));
}

TEST_F(ScheduleTest, MonthAndEmployeeChecked) {
    c.Make("PKPRAC", {{{"NR_PRAC", "000001"}, {"GRUPA_KAL", "01"}},
                      {{"NR_PRAC", "000003"}, {"GRUPA_KAL", "07"}}});
    c.Keys(Join({Typed("2050"),
                 {kSeen, key::kEnter},
                 Typed("2027"),
                 Typed("13"),
                 {kSeen, key::kEnter},
                 Typed("02")}));
    const int clear = key::Ctrl('y');  // the field keeps the number typed before
    c.Keys(Join({Typed("4"),
                 {key::kEnter, kSeen, key::kEnter},  // no such employee
                 {clear},
                 Typed("3"),
                 {key::kEnter, kSeen, key::kEnter},  // no such group
                 {clear},
                 Typed("1"),
                 {key::kEnter, kSeen, key::kEnter},  // no calendar of 2027
                 {key::kEsc, key::kEsc}}));
    MonthlySchedule(c.h.rt, c.tables);
    EXPECT_TRUE(c.h.backend.exhausted());
    EXPECT_EQ(c.messages, (std::vector<std::string>{
                              "Błędny rok (2001-2049)", "Błędny miesiąc (1-12)",
                              "Brak pracownika o tym numerze", "Błędna grupa \"kalendarzowa\"",
                              "Brak kalendarza \"202701\""}));
}

TEST(Schedule, WithoutSchedulesInUseTheDialogSaysSo) {
    TestCompany c;
    c.Keys({key::F(12), key::kEnter});
    Qrm3A(c.h.rt);
    EXPECT_TRUE(c.h.backend.exhausted());
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Harmonogramy nie są prowadzone"}));
}

}  // namespace
}  // namespace kestrel::worktime
