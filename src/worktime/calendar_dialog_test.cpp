#include "worktime/calendar_dialog.h"

#include <gtest/gtest.h>

#include <map>

#include "test_company.h"
#include "worktime/data/calendar_rules.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;
using registry::testing::Row;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

constexpr int kRightsBrowsing = 32;  // kind 6
constexpr int kRightsWorkingTime = 2;

// A record of PKKALEN: year and group (with "*" when the record is deleted),
// then the twelve month fields as stored.
using Stored = std::vector<std::string>;

struct CalendarDialogTest : ::testing::Test {
    TestCompany c;
    // What F11 found on the screen, one snapshot a press; `seen` the last.
    std::vector<std::map<std::string, std::string>> snapshots;
    std::map<std::string, std::string> seen;

    void SetUp() override {
        c.Make("PKGRUPY", {{{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}, {"ZMIENNY_CZ", "F"}},
                           {{"GRUPA_", "Z"}, {"NAZWA_", "Zmianowa"}, {"ZMIENNY_CZ", "T"}}});
        c.Make("PKSZMIA", {Shift("01", "", "07", "15"), Shift("Z", "A", "06", "14"),
                           Shift("Z", "B", "14", "22")});
        c.h.con.keyboard().Bind(key::F(11), [this] {
            seen["state"] = base::TrimRight(c.h.At(6, 60, 18));
            seen["group"] = base::TrimRight(c.h.At(7, 25, 30));
            seen["hours"] = base::TrimRight(c.h.Row(22).substr(1, 77));
            seen["jan"] = c.h.At(10, 73, 2);
            seen["feb"] = c.h.At(11, 9, 2 * 31);
            seen["feb count"] = c.h.At(11, 73, 2);
            snapshots.push_back(seen);
        });
    }

    static Row Shift(const char* group, const char* letter, const char* from, const char* to) {
        return {{"GRUPA_", group}, {"ZMIANA_", letter}, {"OD_GODZ", from},
                {"OD_MIN", "0"},   {"GODZ_DO", to},     {"MIN_DO", "0"}};
    }

    void Existing(int year, const Calendar& cal) {
        Row r = {{"ROK_", std::to_string(year)}, {"GRUPA_", cal.group}};
        for (int m = 1; m <= 12; ++m) {
            char name[8];
            std::snprintf(name, sizeof name, "MC_%02d", m);
            r.push_back({name, cal.months[static_cast<size_t>(m - 1)]});
        }
        c.Make("PKKALEN", {r});
    }

    std::vector<Stored> Calendars() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(c.dir.File("PKKALEN.DBF"), {}, &t).ok());
        std::vector<Stored> out;
        if (!t) return out;
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            Stored s = {std::to_string(static_cast<int>(r.GetNumber(t->FieldIndex("ROK_")))) +
                        r.GetString(t->FieldIndex("GRUPA_")) + (r.deleted() ? "*" : "")};
            for (int m = 1; m <= 12; ++m) {
                char name[8];
                std::snprintf(name, sizeof name, "MC_%02d", m);
                s.push_back(r.GetString(t->FieldIndex(name)));
            }
            out.push_back(std::move(s));
            return base::Status::Ok();
        });
        return out;
    }

    // A calendar as the table holds it: February of a common year padded.
    static Stored AsStored(const std::string& head, const Calendar& cal) {
        Stored s = {head};
        for (int m = 1; m <= 12; ++m) {
            std::string codes = cal.months[static_cast<size_t>(m - 1)];
            if (m == 2) codes.resize(29, ' ');
            s.push_back(codes);
        }
        return s;
    }

    // Runs the dialog over `keys` and a final Esc; every key must be used.
    void Run(const std::vector<int>& keys) {
        c.Keys(keys);
        c.Keys({key::kEsc});
        EditCalendars(c.h.rt, c.tables);
        EXPECT_TRUE(c.h.backend.exhausted());
    }

    void Rights(unsigned rights) {
        c.h.rt.operators().list_exists = true;
        c.h.rt.operators().rights = rights;
    }
};

std::vector<int> Open(const char* year, const char* group) {
    std::vector<int> keys = registry::testing::Typed(year);
    for (int k : registry::testing::Typed(group)) keys.push_back(k);
    if (std::string(group).size() < 2) keys.push_back(key::kEnter);
    return keys;
}

std::vector<int> operator+(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(CalendarDialogTest, ANewCalendarStartsFromThePresetsAndIsSavedWithItsChange) {
    c.Make("PKKALEN");
    // 2 January 2026 is a Friday: made a free day.
    Run(Open("2026", "01") +
        std::vector<int>{key::F(11), key::kRight, 'w', key::kEsc, 't', key::F(12), key::kEnter});
    EXPECT_EQ(seen["state"], "NOWY REKORD");
    EXPECT_EQ(seen["group"], "Podstawowa");
    EXPECT_EQ(c.messages, V{"Kalendarz wprowadzony"});
    Calendar expected = PresetCalendar(2026, "01");
    expected.SetDay(1, 2, kFreeDay);
    EXPECT_EQ(Calendars(), std::vector<Stored>{AsStored("202601", expected)});
}

TEST_F(CalendarDialogTest, EveryEditingKeyLandsOnItsDay) {
    c.Make("PKKALEN");
    std::vector<int> keys = Open("2026", "01");
    const auto then = [&keys](std::initializer_list<int> k) { keys.insert(keys.end(), k); };
    then({key::kCtrlEnd, 's'});                // 31 December, on past the year to 1 January
    then({'w'});                               // 1 January, on to the 2nd
    then({key::kEnd, key::kDown, key::kDel});  // 28 February, on to 1 March
    then({key::kLeft, key::kUp, key::kUp});    // 1 January
    then({key::kRight, key::kRight, key::kHome, key::kEnter, key::kEnter, 'n'});  // 3 January
    then({' '});                                                                  // 4 January
    then({key::kCtrlHome, key::kDown, key::kDown, key::kDown, key::kDown, key::kEnd,
          'S'});  // 31 May
    then({'x', '1', key::kEsc, 't', key::kEnter});
    Run(keys);
    Calendar expected = PresetCalendar(2026, "01");
    expected.SetDay(12, 31, kHoliday);
    expected.SetDay(1, 1, kFreeDay);
    expected.SetDay(2, 28, kWorkingDay);
    expected.SetDay(1, 3, kSunday);
    expected.SetDay(1, 4, kWorkingDay);
    expected.SetDay(5, 31, kHoliday);
    EXPECT_EQ(Calendars(), std::vector<Stored>{AsStored("202601", expected)});
}

TEST_F(CalendarDialogTest, CorrectionsOfAnExistingCalendarAreAskedFor) {
    Existing(2025, PresetCalendar(2025, "01"));
    const std::vector<Stored> before = Calendars();
    // 2 January 2025 is a Thursday; "s" on 1 January changes nothing.
    const std::vector<int> edit =
        Open("2025", "01") + std::vector<int>{key::F(11), 's', 'n', key::kEsc};
    Run(edit + std::vector<int>{'n', key::F(12), key::kEnter});
    EXPECT_EQ(seen["state"], "Istniejący rekord");
    EXPECT_EQ(c.messages, V{"Dane anulowane"});
    EXPECT_EQ(Calendars(), before);

    // Looked at only: no question.
    Run(Open("2025", "01") + std::vector<int>{key::kRight, key::kEsc});
    EXPECT_EQ(Calendars(), before);

    Run(edit + std::vector<int>{'t', key::F(12), key::kEnter});
    Calendar expected = PresetCalendar(2025, "01");
    expected.SetDay(1, 2, kSunday);
    EXPECT_EQ(Calendars(), std::vector<Stored>{AsStored("202501", expected)});
}

TEST_F(CalendarDialogTest, DeletingACalendarNeedsTheRightToEditIt) {
    Existing(2025, PresetCalendar(2025, "01"));
    const std::vector<Stored> before = Calendars();
    Rights(kRightsBrowsing);
    Run(Open("2025", "01") +
        std::vector<int>{key::kCtrlDel, key::F(12), key::kEnter, key::kRight, 'w', key::kEsc});
    EXPECT_EQ(c.messages, V{"Brak uprawnień do tej funkcji"});
    EXPECT_EQ(Calendars(), before);

    Rights(kRightsWorkingTime);
    Run(Open("2025", "01") + std::vector<int>{key::kCtrlDel, 'n', key::kEsc});
    EXPECT_EQ(Calendars(), before);
    c.messages.clear();
    Run(Open("2025", "01") + std::vector<int>{key::kCtrlDel, 't', key::F(12), key::kEnter});
    EXPECT_EQ(c.messages, V{"Kalendarz skasowany"});
    Stored gone = before[0];
    gone[0] += "*";
    EXPECT_EQ(Calendars(), std::vector<Stored>{gone});
}

TEST_F(CalendarDialogTest, WithoutTheRightToEditOnlyExistingCalendarsAreShown) {
    Existing(2025, PresetCalendar(2025, "01"));
    Rights(kRightsBrowsing);
    Run(Open("2026", "01") + std::vector<int>{key::F(12), key::kEnter});
    EXPECT_EQ(c.messages, V{"Brak takiego kalendarza"});
    EXPECT_EQ(Calendars().size(), 1u);

    // Without kind 2 or kind 6 the dialog does not open.
    Rights(1);
    c.messages.clear();
    c.Keys({key::F(12), key::kEnter});
    Qrm32(c.h.rt);
    EXPECT_EQ(c.messages, V{"Brak uprawnień do tej funkcji"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST_F(CalendarDialogTest, AGroupMustExistAndF3PicksOne) {
    c.Make("PKKALEN");
    Run(registry::testing::Typed("202699") +
        std::vector<int>{key::F(12), key::kEnter, key::F(3), key::kDown, key::kEnter, key::F(11),
                         key::kEsc, 'n', key::F(12), key::kEnter});
    EXPECT_EQ(c.messages, (V{"Brak takiej grupy", "Dane anulowane"}));
    EXPECT_EQ(seen["group"], "Zmianowa");
    EXPECT_TRUE(Calendars().empty());
}

TEST_F(CalendarDialogTest, TheGridShowsTheMonthsTheirWorkingDaysAndTheHoursOfAWorkingDay) {
    c.Make("PKKALEN");
    // Day n of February at offset 2(n - 1) of the row from day 1.
    const auto day29 = [](const std::map<std::string, std::string>& m) {
        return m.at("feb").substr(56, 1);
    };
    const std::vector<int> no = {key::kEsc, 'n', key::kEnter};
    Run(Open("2025", "01") + std::vector<int>{key::F(11)} + no);
    EXPECT_EQ(day29(seen), "-");
    EXPECT_EQ(seen["feb count"], "20");
    EXPECT_EQ(seen["jan"], "21");
    Run(Open("2024", "01") + std::vector<int>{key::F(11)} + no);
    EXPECT_EQ(day29(seen), " ");  // a Thursday
    EXPECT_EQ(seen["feb count"], "21");

    // 1 January 2026 a holiday, the 2nd a working Friday made free, the 3rd
    // a Saturday.
    snapshots.clear();
    Run(Open("2026", "01") +
        std::vector<int>{key::F(11), key::kRight, key::F(11), 'w', key::F(11), key::kLeft,
                         key::F(11)} +
        no);
    ASSERT_EQ(snapshots.size(), 4u);
    EXPECT_EQ(snapshots[0]["hours"], "");
    EXPECT_EQ(snapshots[0]["jan"], "20");
    EXPECT_EQ(snapshots[1]["hours"], " Czas pracy: 07.00-15.00");
    EXPECT_EQ(snapshots[2]["hours"], "");
    EXPECT_EQ(snapshots[2]["jan"], "19");
    EXPECT_EQ(snapshots[3]["hours"], "");

    // A group with variable working time lists its shifts.
    Run(Open("2026", "Z") + std::vector<int>{key::kRight, key::F(11)} + no);
    EXPECT_EQ(seen["hours"], "A: 06.00-14.00, B: 14.00-22.00");
}

}  // namespace
}  // namespace kestrel::worktime
