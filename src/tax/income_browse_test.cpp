#include "tax/income_browse.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "tax/records/month_totals.h"
#include "tax_company.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using testing::TaxCompany;

constexpr int kFirstRow = 9, kRows = 3;

struct Shot {
    std::vector<std::string> rows;    // the data rows, trimmed
    int current = -1;                 // the data row (0-based) standing out
    std::string message;              // row 23
    std::vector<std::string> screen;  // rows 4-23
};

struct BrowseCompany : TaxCompany {
    std::vector<Shot> shots;

    BrowseCompany() {
        Doch("000002", "2026", 1, "20260210", "0001", 1000, 0, 80, true);
        Doch("000001", "2026", 2, "20260310", "0001", 4000, 250, 300, true);
        Doch("000002", "2026", 2, "20260310", "0004", 500, 100, 40, false);
        h.con.keyboard().Bind(key::F(11), [this] {
            Shot s;
            const auto& screen = h.con.screen();
            for (int r = kFirstRow; r < kFirstRow + kRows; ++r)
                s.rows.push_back(base::TrimRight(h.Row(r)));
            for (int r = 0; r < kRows; ++r) {
                int others = 0;
                for (int o = 0; o < kRows; ++o)
                    if (!(screen.At(kFirstRow + o, 2).attr == screen.At(kFirstRow + r, 2).attr))
                        ++others;
                if (others == kRows - 1) s.current = r;
            }
            s.message = base::TrimRight(h.Row(23));
            for (int r = 4; r <= 23; ++r) s.screen.push_back(base::TrimRight(h.Row(r)));
            shots.push_back(s);
        });
    }

    void Doch(const char* employee, const char* year, int list, const char* paid, const char* kind,
              double revenue, double costs, double tax, bool automatic) {
        Add("PKDOCH", {{"NR_PRAC", employee},
                       {"ROK_LST", year},
                       {"TYP_LST", "A"},
                       {"NR_LST", std::to_string(list)},
                       {"MC_LST", std::string(paid).substr(4, 2)},
                       {"DATA_WYP", paid},
                       {"TYTUL_WYP", kind},
                       {"PRZYCHOD_", std::to_string(revenue)},
                       {"KOSZT_UZ", std::to_string(costs)},
                       {"PODATEK_", std::to_string(tax)},
                       {"AUTOMAT_", automatic ? "T" : "F"}});
    }
};

// The browse opens on the system month in the order by month (the record
// before it above), with the list, employee, payment month, kind, amounts
// and the automatic mark; F3 totals the payment month of the current
// record per kind.
TEST(IncomeBrowse, OpensOnTheSystemMonthAndTotalsTheCurrentRecordsMonth) {
    BrowseCompany c;
    c.tables.CloseAll();
    c.Keys({key::F(11), key::F(3), key::F(11), key::kEsc, key::kUp, key::F(3), key::F(11),
            key::kEsc, key::kEsc});
    Qrm74(c.h.rt);
    ASSERT_EQ(c.shots.size(), 3u);
    const Shot& first = c.shots[0];
    EXPECT_EQ(first.rows,
              (std::vector<std::string>{
                  " 2026/A/1     │ 000002 │ 2026.02 │ 0001 │    1000.00       0.00      80.00 A",
                  " 2026/A/2     │ 000001 │ 2026.03 │ 0001 │    4000.00     250.00     300.00 A",
                  " 2026/A/2     │ 000002 │ 2026.03 │ 0004 │     500.00     100.00      40.00"}));
    EXPECT_EQ(first.current, 1);
    EXPECT_EQ(first.screen[16],
              "  <F5>-Sort wg: M-C,TYT.WYP.,NR PRAC.   <F6>-Sort wg: NR PRAC.,M-C,TYT.WYP.");
    EXPECT_EQ(first.screen[17], "  <F7>-Sort wg: NR LISTY,NR PRAC.");
    const Shot& march = c.shots[1];
    EXPECT_NE(march.screen[2].find("Podsumowanie miesiąca 2026.03"), std::string::npos);
    EXPECT_EQ(march.screen[3], "║ " + std::string(kTotalsHeading) + " ║");
    EXPECT_EQ(march.screen[5],
              "║ 0001     1   4000.00      250.00        0.00      0.00        0.00    300.00 ║");
    EXPECT_EQ(march.screen[6],
              "║ 0004     1    500.00      100.00        0.00      0.00        0.00     40.00 ║");
    EXPECT_EQ(march.screen[7].find("000"), std::string::npos);
    const Shot& february = c.shots[2];
    EXPECT_NE(february.screen[2].find("Podsumowanie miesiąca 2026.02"), std::string::npos);
    EXPECT_EQ(february.screen[5],
              "║ 0001     1   1000.00        0.00        0.00      0.00        0.00     80.00 ║");
    EXPECT_EQ(february.screen[6], "║" + std::string(78, ' ') + "║");
    EXPECT_TRUE(c.h.backend.exhausted());
}

// F6 and F7 change the order and stay on the record; F2 asks the fields of
// the order in force: found, past the end (the browse stays, "Brak klucza -
// koniec zbioru") and the next record ("Brak klucza - następny rekord").
TEST(IncomeBrowse, OrdersAndTheSeekByTheOrdersFields) {
    BrowseCompany c;
    c.tables.CloseAll();
    c.Keys({key::F(6), key::F(11)});
    c.Keys({key::F(2), '2', key::kPgDn, key::F(11)});                           // found
    c.Keys({key::F(2), '9', key::kPgDn, key::F(11), key::kEnter, key::F(11)});  // past the end
    c.Keys({key::F(7), key::F(11)});
    c.Keys({key::F(2)});
    c.Keys("2026");  // typed out: on to the next field
    c.Keys({'2', key::kEnter, '1', key::kEnter});
    c.Keys("0002");  // typed out of the last field: the read ends
    c.Keys({key::F(11), key::kEnter, key::F(11), key::kEsc});
    Qrm74(c.h.rt);
    ASSERT_EQ(c.shots.size(), 7u);
    // The current row's list and employee.
    auto current = [](const Shot& s) {
        if (s.current < 0) return std::string("?");
        const std::string& row = s.rows[static_cast<size_t>(s.current)];
        return row.substr(1, 8) + " " + row.substr(row.find("0000"), 6);
    };
    auto message = [](const Shot& s) { return s.message.substr(0, s.message.find("   ")); };
    // By employee the March record of 000001 comes first and stays current.
    EXPECT_EQ(c.shots[0].rows[0].substr(0, 45), " 2026/A/2     │ 000001 │ 2026.03 │ 0001");
    EXPECT_EQ(c.shots[0].rows[1].substr(0, 45), " 2026/A/1     │ 000002 │ 2026.02 │ 0001");
    EXPECT_EQ(current(c.shots[0]), "2026/A/2 000001");
    EXPECT_EQ(current(c.shots[1]), "2026/A/1 000002");
    EXPECT_EQ(message(c.shots[1]), "");
    EXPECT_EQ(message(c.shots[2]), " Brak klucza - koniec zbioru");
    EXPECT_EQ(current(c.shots[3]), "2026/A/1 000002");  // where it stood
    // By list: list 1, then list 2's employees; 000001's kind 0002 is not
    // there, the next record is 000002's.
    EXPECT_EQ(c.shots[4].rows[0].substr(0, 10), " 2026/A/1 ");
    EXPECT_EQ(current(c.shots[4]), "2026/A/1 000002");
    EXPECT_EQ(message(c.shots[5]), " Brak klucza - następny rekord");
    EXPECT_EQ(current(c.shots[6]), "2026/A/2 000002");
    EXPECT_EQ(c.h.backend.tones().size(), 2u);
    EXPECT_TRUE(c.h.backend.exhausted());
}

// A month without records says so instead of an empty window.
TEST(IncomeBrowse, AnEmptyFileTotalsTheSystemMonth) {
    TaxCompany c;
    c.tables.CloseAll();
    std::string message;
    c.h.con.keyboard().Bind(key::F(11), [&] { message = base::TrimRight(c.h.Row(23)); });
    c.Keys({key::F(3), key::F(11), key::kEnter, key::kEsc});
    Qrm74(c.h.rt);
    EXPECT_EQ(message.substr(0, message.find("   ")), " Brak rekordów z miesiąca 2026.03");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

}  // namespace
}  // namespace kestrel::tax
