#include "common/pick/employee_pick.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "common/screen/form.h"
#include "common/tables/table_catalogue.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

namespace key = console::key;
using dbf::testing::ScratchDir;

std::string Cp(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

struct Person {
    std::string nr, surname, names;
    bool not_employee = false;
    std::string pesel = {};
};

struct Register {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Tables tables{h.rt};
    dbf::WorkArea* prac = nullptr;
    std::vector<std::string> captured;

    Register() { h.rt.set_data_dir(dir.path() + "/"); }

    dbf::WorkArea& Create(const char* table, std::vector<std::string> indexes) {
        EXPECT_TRUE(
            dbf::Table::Create(dir.File(std::string(table) + ".DBF"), FindTable(table)->Specs())
                .ok());
        return tables.Open(table, std::move(indexes));
    }
    void People(const std::vector<Person>& people) {
        prac = &Create("PKPRAC", {"PKPRAC1", "PKPRAC2"});
        for (const Person& p : people) {
            tables.Append(*prac);
            dbf::Record& r = prac->record();
            r.SetString(prac->FieldIndex("NR_PRAC"), p.nr);
            r.SetString(prac->FieldIndex("NAZWX_"),
                        Scramble(ScrambleKind::kName, Cp(p.surname), 72));
            r.SetString(prac->FieldIndex("IMIEX_"), Scramble(ScrambleKind::kName, Cp(p.names), 52));
            r.SetString(prac->FieldIndex("PESELX_"),
                        Scramble(ScrambleKind::kIdentity, p.pesel, 34));
            r.SetLogical(prac->FieldIndex("NIE_PRAC"), p.not_employee);
            EXPECT_TRUE(prac->Commit().ok());
            EXPECT_TRUE(prac->Unlock().ok());
        }
    }
    // Employees "000001" … numbered from `from` by `step` up to `to`.
    void Numbered(int from, int to, int step = 1) {
        std::vector<Person> people;
        for (int i = from; i <= to; i += step) {
            char nr[7];
            std::snprintf(nr, sizeof nr, "%06d", i);
            people.push_back({nr, "NAZWISKO" + std::to_string(i), "IMIĘ"});
        }
        People(people);
    }
    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
    // F12 captures the message row, or what `what` reads.
    void CaptureOnF12(std::function<std::string()> what = nullptr) {
        h.con.keyboard().Bind(
            key::F(12), [this, what] { captured.push_back(what ? what() : h.At(23, 1, 38)); });
    }
    std::string TypedBack() {
        std::string out;
        auto& kb = h.con.keyboard();
        while (auto k = kb.Take())
            if (*k != key::kHome && *k != key::Ctrl('y')) out += static_cast<char>(*k);
        return out;
    }
};

using base::TrimRight;

std::vector<int> Text(std::string_view utf8) {
    std::vector<int> keys;
    for (unsigned char c : Cp(utf8)) keys.push_back(c);
    return keys;
}

TEST(EmployeePick, TypingFortyTwoOpensOnThatEmployeeWithTheOneBeforeAbove) {
    Register r;
    r.Numbered(1, 60);
    std::string nr(6, ' ');
    Form form(r.h.rt);
    form.Get(5, 20, &nr, "999999");
    r.h.con.keyboard().Bind(key::F(3), [&] { PickEmployee(r.h.rt, r.tables, form.Typed()); });
    const console::Attr bar = r.h.rt.Enhanced(r.h.rt.colours().ycow2);
    r.CaptureOnF12([&] {
        const bool current = r.h.con.screen().At(14, 2).attr == bar;
        return r.h.At(13, 2, 7) + "|" + r.h.At(14, 2, 7) + (current ? "<" : "");
    });
    r.Keys({'4', '2', key::F(3), key::F(12), key::kEnter});
    ASSERT_TRUE(form.Read().saved());
    EXPECT_EQ(nr, "000042");
    ASSERT_EQ(r.captured.size(), 1u);
    EXPECT_EQ(r.captured[0], "000041 |000042 <");
}

TEST(EmployeePick, TheFirstEmployeeOpensAtTheTopWithNothingAbove) {
    Register r;
    r.Numbered(5, 9);
    r.CaptureOnF12([&] { return r.h.At(13, 2, 7); });
    r.Keys({key::F(12), key::kEnter});
    EXPECT_TRUE(r.TypedBack().empty());
    EXPECT_TRUE(PickEmployee(r.h.rt, r.tables, "1"));
    EXPECT_EQ(r.TypedBack(), "000005");
    EXPECT_EQ(r.captured, std::vector<std::string>{"000005 "});
}

TEST(EmployeePick, F2WithSeventeenInNumberOrderSeeksThatEmployee) {
    Register r;
    r.Numbered(1, 40);
    r.Keys({key::F(2), '1', '7', key::kEnter, key::kEnter});
    EXPECT_TRUE(PickEmployee(r.h.rt, r.tables, ""));
    EXPECT_EQ(r.TypedBack(), "000017");
}

TEST(EmployeePick, ANumberSearchMissStandsOnTheNextOneOrSaysTheEndWasReached) {
    Register r;
    r.Numbered(2, 20, 2);
    r.CaptureOnF12();
    r.Keys({key::F(2), '1', '7', key::kEnter, key::F(12), ' ', key::kEnter});
    EXPECT_TRUE(PickEmployee(r.h.rt, r.tables, ""));
    EXPECT_EQ(r.TypedBack(), "000018");
    r.Keys({key::F(2), '9', '9', key::kEnter, key::F(12), ' ', key::kEsc});
    EXPECT_FALSE(PickEmployee(r.h.rt, r.tables, ""));
    ASSERT_EQ(r.captured.size(), 2u);
    EXPECT_EQ(TrimRight(r.captured[0]), "Brak klucza - następny rekord");
    EXPECT_EQ(TrimRight(r.captured[1]), "Brak klucza - koniec zbioru");
}

std::vector<Person> FourPeople() {
    return {{"000001", "NOWAK", "ANNA"},
            {"000002", "ĆWIK", "PIOTR"},
            {"000003", "CYRAN", "EWA", true},
            {"000004", "ADAMSKI", "JAN MARIA", false, "85010112345"}};
}

TEST(EmployeePick, SurnameOrderFollowsThePolishAlphabetAndTheLegendShowsIt) {
    Register r;
    r.People(FourPeople());
    std::vector<console::Attr> attrs;
    r.h.con.keyboard().Bind(key::F(12), [&] {
        const auto& s = r.h.con.screen();
        attrs = {s.At(10, 19).attr, s.At(10, 24).attr, s.At(10, 46).attr, s.At(10, 51).attr};
        r.captured.push_back(r.h.At(14, 2, 46));
    });
    // Adamski, Cyran, Ćwik, Nowak: the third is Ćwik.
    // ('x' lets the window finish drawing before F12 looks at it.)
    r.Keys({key::F(6), key::kCtrlPgUp, key::kDown, 'x', key::F(12), key::kDown, key::kEnter});
    EXPECT_TRUE(PickEmployee(r.h.rt, r.tables, ""));
    EXPECT_EQ(r.TypedBack(), "000002");
    const auto& c = r.h.rt.colours();
    EXPECT_EQ(attrs,
              (std::vector<console::Attr>{r.h.rt.Standard(c.ycowp), r.h.rt.Standard(c.ycow),
                                          r.h.rt.Standard(c.ycow), r.h.rt.Standard(c.ycob)}));
    ASSERT_EQ(r.captured.size(), 1u);
    EXPECT_EQ(TrimRight(r.captured[0]), "000003* │ CYRAN EWA");
    EXPECT_EQ(r.prac->order(), 1);  // left in number order
}

TEST(EmployeePick, F2InSurnameOrderSeeksTheSurname) {
    Register r;
    r.People(FourPeople());
    std::vector<int> keys = {key::F(6), key::F(2)};
    for (int k : Text("ćw")) keys.push_back(k);
    keys.insert(keys.end(), {key::kEnter, key::kEnter});
    r.Keys(keys);
    EXPECT_TRUE(PickEmployee(r.h.rt, r.tables, "1"));
    EXPECT_EQ(r.TypedBack(), "000002");
}

TEST(EmployeePick, TheCallersKeysAreaAndOrderComeBack) {
    Register r;
    r.People(FourPeople());
    r.Create("PKURZ", {"PKURZ1", "PKURZ2"});  // the caller's current area
    int f4 = 0;
    r.h.con.keyboard().Bind(key::F(4), [&] { ++f4; });
    r.Keys({key::F(4), key::F(6), key::kEsc});
    EXPECT_FALSE(PickEmployee(r.h.rt, r.tables, ""));
    EXPECT_EQ(f4, 0);
    EXPECT_TRUE(r.h.con.keyboard().IsBound(key::F(4)));
    ASSERT_NE(r.tables.workspace().current(), nullptr);
    EXPECT_EQ(r.tables.workspace().current()->alias(), "PKURZ");
    EXPECT_EQ(r.prac->order(), 1);
}

TEST(EmployeePick, F1ShowsTheEmployeesDataUnscrambled) {
    Register r;
    r.People(FourPeople());
    r.CaptureOnF12([&] {
        std::string all;
        for (int row = 5; row <= 9; ++row) all += TrimRight(r.h.At(row, 5, 60)) + "\n";
        return all;
    });
    r.Keys({key::F(1), key::F(12), ' ', key::kEsc});
    EXPECT_FALSE(PickEmployee(r.h.rt, r.tables, "4"));
    ASSERT_EQ(r.captured.size(), 1u);
    EXPECT_EQ(r.captured[0],
              "Nr pracownika:   000004\n"
              "Nazwisko:        ADAMSKI\n"
              "Imiona:          JAN MARIA\n"
              "PESEL:           85010112345\n"
              "NIP:\n");
}

TEST(EmployeePick, EnterAndF1OnAnEmptyRegisterOnlyBeep) {
    Register r;
    r.People({});
    r.Keys({key::F(1), key::kEnter, key::kEsc});
    EXPECT_FALSE(PickEmployee(r.h.rt, r.tables, "42"));
    EXPECT_TRUE(r.h.backend.exhausted());
    EXPECT_EQ(r.h.backend.tones().size(), 2u);
    EXPECT_EQ(r.TypedBack(), "");
}

}  // namespace
}  // namespace kestrel::common
