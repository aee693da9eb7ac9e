#include "payroll/lists_screen.h"

#include <gtest/gtest.h>

#include "payroll/data/payroll_month.h"
#include "payroll_company.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using testing::PayCompany;

// The system month 2026-03, the symbols A and Z, an empty PKDOCH; F12
// records the message a wait shows.
struct ScreenCompany : PayCompany {
    ScreenCompany() {
        Make("PKDOCH");
        Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Etatowi"}});
        Add("PKSLST", {{"TYP_LST", "Z"}, {"NAZWA_LST", "Zlecenia"}, {"LOCAL_NR", "T"}});
    }
    PayrollList Stored(const std::string& key) {
        PayrollList l;
        EXPECT_TRUE(FindList(tables, key, &l)) << key;
        return l;
    }
};

// Ins asks the symbol, proposes the number, takes the date; Enter on the
// open flag closes the list and opens it again; Enter on the date of the
// open list changes it.
TEST(ListsScreen, OpeningClosingAndReopeningAList) {
    ScreenCompany c;
    c.List("2026", "A", 1, "02", "20260210", false);
    std::vector<std::string> rows;
    c.h.con.keyboard().Bind(key::F(11), [&] {
        std::string shown;
        for (int r = 9; r <= 12; ++r) shown += base::TrimRight(c.h.Row(r)) + "\n";
        rows.push_back(shown);
    });
    // Several open lists allowed: the earlier month is what refuses below.
    c.h.rt.config().Set("NAGLALP", memfile::MemValue::Logical(true));
    c.Keys({key::kIns});
    c.Keys("a");
    c.Keys({key::kEnter, key::kEnter, key::kEnter});  // symbol, number 2, tax flag
    c.Keys("20260520");                               // outside the list month and the next one
    c.Keys({key::F(12), key::kEnter, key::kHome});
    c.Keys("20260410");
    c.Keys({key::kEnter, key::F(11)});  // the year the list concerns
    for (int i = 0; i < 5; ++i) c.Keys({key::kRight});
    c.Keys({key::kEnter});
    c.Keys("t");  // "Zamknąć listę płac?"
    c.Keys({key::F(11), key::kEnter});
    c.Keys("t");  // "Uaktywnić zamkniętą listę?"
    c.Keys({key::kLeft, key::kEnter});
    c.Keys("20260402");
    c.Keys({key::F(11), key::kUp, key::kRight, key::kEnter, key::F(12), key::kEnter, key::kEsc});
    BrowseLists(c.h.rt, c.tables);

    EXPECT_EQ(c.messages, (std::vector<std::string>{"Błędna data wypłaty",
                                                    "Błędny \"2026-02\" (akt.m-c: 2026.03)"}));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NE(rows[0].find("2026 │  03 │        2 │  A  │ 2026-04-10 │  ####### │      TAK"),
              std::string::npos)
        << rows[0];
    EXPECT_NE(rows[1].find("2026-04-10 │          │      TAK"), std::string::npos) << rows[1];
    EXPECT_NE(rows[2].find("2026-04-02 │  #######"), std::string::npos) << rows[2];
    const PayrollList l = c.Stored("2026A    2");
    EXPECT_TRUE(l.open);
    EXPECT_EQ(l.paid, "20260402");
    EXPECT_EQ(l.for_year, 2026);
}

// Del of a list with positions asks, counts them in its window and deletes
// the list; a list with tax records stays.
TEST(ListsScreen, DeletingAListWithPositions) {
    ScreenCompany c;
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    const PayrollList taxed = c.List("2026", "A", 2, "03", "20260310", false);
    c.Position(l, "000001", "ZASD", 100);
    c.Position(l, "000002", "ZASD", 100);
    c.Add("PKDOCH",
          {{"ROK_LST", "2026"}, {"TYP_LST", "A"}, {"NR_LST", "2"}, {"NR_PRAC", "000001"}});
    c.Keys({key::kDown, key::kDel, key::F(12), key::kEnter, key::kUp, key::kDel, key::F(12),
            key::kEnter});
    c.Keys("t");
    c.Keys({key::kEsc});
    BrowseLists(c.h.rt, c.tables);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Nie kasuj - są pozycje w PKDOCH",
                                                    "Uwaga - są pozycje w PKPLACE"}));
    PayrollList gone;
    EXPECT_FALSE(FindList(c.tables, l.Key(), &gone));
    EXPECT_TRUE(FindList(c.tables, taxed.Key(), &gone));
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "NR_PRAC"), (std::vector<std::string>{"000001*", "000002*"}));
}

}  // namespace
}  // namespace kestrel::payroll
