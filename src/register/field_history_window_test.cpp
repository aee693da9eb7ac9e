#include "register/field_history_window.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;
using testing::Cp;
using testing::Utf;

LoggedChange Entry(const char* table, uint32_t recno, const char* field, const char* day,
                   int sequence) {
    LoggedChange l;
    l.entry = {table, recno, field, "", ""};
    l.day = day;
    l.sequence = sequence;
    return l;
}

std::string Keys(const std::vector<LoggedChange>& log) {
    std::string out;
    for (const LoggedChange& l : log) {
        out += l.entry.table.substr(0, 5) + "/" + std::to_string(l.entry.recno) + "/" +
               l.entry.field + "/" + l.day.substr(6) + "/" + std::to_string(l.sequence) + " ";
    }
    return out;
}

TEST(ChangeLogOrder, ByFieldOrByRecord) {
    std::vector<LoggedChange> log = {
        Entry("PKPRAC ", 1, "ST_PODST", "20261208", 2),
        Entry("PKDOD  ", 7, "WARTOSC_", "20261201", 1),
        Entry("PKDOD  ", 3, "WARTOSC_", "20261202", 1),
        Entry("PKPRAC ", 1, "ST_PODST", "20261208", 1),
        Entry("PKDOD  ", 3, "RODZAJ_DOD", "20261203", 1),
    };
    SortLog(&log, LogOrder::kByField);
    EXPECT_EQ(Keys(log),
              "PKDOD/3/RODZAJ_DOD/03/1 PKDOD/7/WARTOSC_/01/1 PKDOD/3/WARTOSC_/02/1 "
              "PKPRA/1/ST_PODST/08/1 PKPRA/1/ST_PODST/08/2 ");
    SortLog(&log, LogOrder::kByRecord);
    EXPECT_EQ(Keys(log),
              "PKDOD/3/RODZAJ_DOD/03/1 PKDOD/3/WARTOSC_/02/1 PKDOD/7/WARTOSC_/01/1 "
              "PKPRA/1/ST_PODST/08/1 PKPRA/1/ST_PODST/08/2 ");
}

struct History : ::testing::Test {
    Company c;
    EmployeeRecord before, now;
    std::string shown;

    void SetUp() override {
        c.Register("000001", "Nowak", "Jan");
        ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
        before = ReadEmployee(c.prac());
        now = before;
        now.set_surname(Cp("Kowalska"));
        // The surname the person had until 2020, remembered scrambled.
        EmployeeRecord old = before;
        old.set_surname(Cp("Żak"));
        Remember(*c.tables, *c.areas.zmprc, "000001",
                 {"NAZWX_", "20201231", old.Text("NAZWX_"), 0});
        c.h.rt.console().keyboard().Bind(key::F(9), [this] {
            shown.clear();
            for (int r = 5; r <= 20; ++r) shown += c.h.Row(r) + "\n";
        });
    }
};

TEST_F(History, ScrambledValuesAreShownInClear) {
    c.h.backend.AddKeys({key::F(9), key::kEsc});
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "NAZWX_");
    EXPECT_NE(shown.find("Historia zmian pola: NAZWX_"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Przed korektą: Nowak"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Po korekcie:   Kowalska"), std::string::npos) << shown;
    EXPECT_NE(shown.find(" DATA \"DO\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("2020-12-31"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Żak"), std::string::npos) << shown;

    // An unchanged field shows its current value only.
    c.h.backend.AddKeys({key::F(9), key::kEsc});
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, before, "ST_PODST");
    EXPECT_NE(shown.find("Bież.wartość:"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("Przed korektą:"), std::string::npos) << shown;
}

TEST_F(History, ExemptFieldHasNoList) {
    c.h.backend.AddKeys({key::F(9), key::kEsc});
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "DATA_ZATR");
    EXPECT_NE(shown.find("Historia zmian wartości tego pola"), std::string::npos) << shown;
    EXPECT_NE(shown.find("NIE podlega ewidencji"), std::string::npos) << shown;
    EXPECT_EQ(shown.find("WARTOŚĆ POLA"), std::string::npos) << shown;
}

TEST_F(History, InsertChangeAndDeleteEntries) {
    // Insert: a value typed in clear, stored scrambled.
    std::vector<int> keys = {key::kIns};
    for (char ch : std::string("20151231")) keys.push_back(ch);
    for (char ch : std::string("Lis")) keys.push_back(ch);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEsc);
    c.h.backend.AddKeys(keys);
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "NAZWX_");
    std::vector<RememberedValue> v = ReadRemembered(*c.areas.zmprc, "000001", "NAZWX_");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].until, "20151231");
    EXPECT_EQ(ClearValue("NAZWX_", v[0].value), "Lis");
    EXPECT_EQ(v[0].value.find("Lis"), std::string::npos);  // not in clear

    // Enter on the first line moves its date: the entry is under its new key only.
    keys = {key::kEnter, key::kHome};
    for (char ch : std::string("20161231")) keys.push_back(ch);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEsc);
    c.h.backend.AddKeys(keys);
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "NAZWX_");
    v = ReadRemembered(*c.areas.zmprc, "000001", "NAZWX_");
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].until, "20161231");
    EXPECT_EQ(ClearValue("NAZWX_", v[0].value), "Lis");

    // Delete asks first; "n" keeps the entry, "t" removes it.
    c.h.backend.AddKeys({key::kDel, 'n', key::kDel, 't', key::kEsc});
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "NAZWX_");
    v = ReadRemembered(*c.areas.zmprc, "000001", "NAZWX_");
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].until, "20201231");
    c.ExpectIndexesRight(*c.areas.zmprc);
}

TEST_F(History, F4ListsTheChangeLog) {
    LogChange(*c.tables, *c.areas.ekprc, "000001",
              {std::string(kLogRegister), 1, "ST_PODST", "     4800.00", "     5200.00"},
              "20261208", "ADAM");
    c.h.backend.AddKeys({key::F(4), key::F(9), key::kEsc, key::kEsc});
    FieldHistoryWindow(c.h.rt, *c.tables, c.areas, before, now, "ST_PODST");
    EXPECT_NE(shown.find("Wykaz korekt"), std::string::npos) << shown;
    EXPECT_NE(shown.find("<F5>-Sort: plik,pole,data,poz"), std::string::npos) << shown;
    EXPECT_NE(shown.find("<F6>-Sort: plik,rekord,pole,data"), std::string::npos) << shown;
    EXPECT_NE(shown.find("<F1>-Pełna informacja"), std::string::npos) << shown;
    EXPECT_NE(shown.find("ST_PODST"), std::string::npos) << shown;
    EXPECT_NE(shown.find("NR_PRAC"), std::string::npos) << shown;  // the registration's entry
}

}  // namespace
}  // namespace kestrel::registry
