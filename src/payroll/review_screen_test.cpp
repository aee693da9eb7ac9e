#include "payroll/review_screen.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/tables/table_catalogue.h"
#include "payroll_company.h"
#include "platform/console/keys.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;
using testing::PayCompany;

// March (the system month) has lists A/1 (open) and A/2 (closed); February
// has one more. Employee 000001 has a deduction and an auxiliary amount.
struct Company : PayCompany {
    PayrollList feb, march1, march2;
    std::vector<std::vector<std::string>> shots;  // rows 4..21 at each F11

    Company() {
        Component("BRUT", "A", 10);
        Component("SPOL", "A", 20);
        Component("DOWY", "A", 30);
        Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "3"}, {"AKT_ZUS", "T"}}});
        feb = List("2026", "A", 7, "02", "20260210", false);
        march1 = List("2026", "A", 8, "03", "20260310");
        march2 = List("2026", "A", 9, "03", "20260320", false);
        Place(feb, "000001", "BRUT", 1000, "F", "F", "T");
        Place(march1, "000001", "BRUT", 4000, "F", "F", "F");
        Place(march1, "000001", "SPOL", 548.4, "T", "F", "F");
        Place(march1, "000001", "DOWY", 3451.6, "F", "T", "F");
        Place(march1, "000002", "BRUT", 3000, "F", "F", "F");
        Place(march2, "000001", "BRUT", 200, "F", "F", "T");
        h.con.keyboard().Bind(key::F(11), [this] {
            std::vector<std::string> rows;
            for (int r = 4; r <= 23; ++r) rows.push_back(base::TrimRight(h.Row(r)));
            shots.push_back(rows);
        });
    }

    void Place(const PayrollList& l, const std::string& number, const std::string& symbol,
               double amount, const char* deduction, const char* off_list, const char* to_tax) {
        Add("PKPLACE", {{"ROK_LST", l.year},
                        {"TYP_LST", l.symbol},
                        {"NR_LST", std::to_string(l.number)},
                        {"MC_LST", l.month},
                        {"DATA_WYP", l.paid},
                        {"NR_PRAC", number},
                        {"SKLADN_PL", symbol},
                        {"KWOTA_", std::to_string(amount)},
                        {"POTRAC_", deduction},
                        {"POZA_LISTA", off_list},
                        {"AKT_DOCH", to_tax}});
    }

    // The shot's row holding `text`, "" when none.
    static std::string RowWith(const std::vector<std::string>& shot, const std::string& text) {
        for (const std::string& r : shot)
            if (r.find(text) != std::string::npos) return r;
        return "";
    }
};

bool Has(const std::vector<std::string>& shot, const std::string& text) {
    return !Company::RowWith(shot, text).empty();
}

// The browse opens on the system month; each order has its search, and
// F3, F4 and F9 sum up the current employee's positions.
TEST(ReviewScreen, BrowsesSearchesAndSumsUp) {
    Company c;
    c.Keys({key::F(11),                           // 0: opened
            key::F(3),   key::F(11),  key::kEsc,  // 1: payable of the list
            key::F(4),   key::F(11),  key::kEsc,  // 2: all of the list
            key::F(9),   key::F(11),  key::kEsc,  // 3: payable of the month
            key::F(6),   key::F(2),   key::kEnter, 'A',        ' ',         '7',
            key::kEnter, key::kEnter, key::kEnter, key::F(11),  // 4: found by list
            key::F(7),   key::F(2),   key::kEnter, '3',        key::kEnter, key::kEnter,
            key::kEnter, key::F(12),  key::kEnter, key::F(11), key::kEsc});  // 5: employee 000003
                                                                             // is past the end
    ReviewPositions(c.h.rt, c.tables, true);
    ASSERT_EQ(c.shots.size(), 6u);
    const auto& opened = c.shots[0];
    EXPECT_TRUE(Has(opened, "SYMB.LISTY │ PRAC.  │ SKŁ. │ DATA W.    │  KWOTA/WARTOŚĆ"))
        << opened[3];
    EXPECT_TRUE(Has(opened, "<F5>-Sort:M-C,PRAC.,SKŁ."));
    EXPECT_TRUE(Has(opened, "2026A    8 │ 000001 │ BRUT │ 2026-03-10 │        4000,00 │   N"));

    const auto& f3 = c.shots[1];
    EXPECT_TRUE(Has(f3, "Składniki \"do wypłaty\" z listy płac"));
    // The browse opened on the system month's first position.
    EXPECT_TRUE(Has(f3, "Lista: 2026A    8   Pracownik: 000001"));
    EXPECT_NE(Company::RowWith(f3, "SPOL").find("548,40 ###"), std::string::npos);
    EXPECT_FALSE(Has(f3, "DOWY"));
    EXPECT_NE(Company::RowWith(f3, "RAZEM:").find("3451,60"), std::string::npos);

    const auto& f4 = c.shots[2];
    EXPECT_TRUE(Has(f4, "Wszystkie składniki z listy płac"));
    const std::string pair = Company::RowWith(f4, "BRUT");
    EXPECT_NE(pair.find("DOWY"), std::string::npos) << pair;  // two a line
    EXPECT_NE(pair.find("3451,60 ##"), std::string::npos) << pair;
    EXPECT_NE(Company::RowWith(f4, "KWOTA WYPŁATY:").find("3451,60"), std::string::npos);

    const auto& f9 = c.shots[3];
    EXPECT_TRUE(Has(f9, "Składniki \"do wypłaty\" za miesiąc"));
    EXPECT_NE(Company::RowWith(f9, "BRUT").find("4200,00"), std::string::npos);
    EXPECT_NE(Company::RowWith(f9, "RAZEM:").find("3651,60"), std::string::npos);

    EXPECT_NE(c.shots[4][5].find("2026A    7 │ 000001 │ BRUT"), std::string::npos) << c.shots[4][5];
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Brak klucza - koniec zbioru"}));
}

// Del and Enter change the current tables only where they may: a position
// transferred to the tax records is refused, another is deleted after the
// question, a correction writes its amount; every change clears the month's
// flags.
TEST(ReviewScreen, DeletesAndCorrectsUnderTheirRefusals) {
    Company c;
    c.Keys({key::F(6),   key::F(2),   key::kEnter, 'A', ' ', '7', key::kEnter, key::kEnter,
            key::kEnter,                            // February's transferred position
            key::kDel,   key::F(12),  key::kEnter,  // refused
            key::kDown,  key::kDel,   't',          // A/8 000001 BRUT: deleted
            key::kDown,  key::kEnter, 25,          '5', '0', '0', 23,  // SPOL: 500
            key::kEsc});
    ReviewPositions(c.h.rt, c.tables, true);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Aktualiz. DOCH. - blokada kasow."}));
    c.tables.CloseAll();
    std::vector<std::string> amounts;
    for (const std::string& s : c.Records("PKPLACE", "KWOTA_")) amounts.push_back(base::Trim(s));
    EXPECT_EQ(amounts, (std::vector<std::string>{"1000.00", "4000.00*", "500.00", "3451.60",
                                                 "3000.00", "200.00"}));
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (std::vector<std::string>{"F"}));
}

// F1 shows an annual archive's positions instead, where nothing changes.
TEST(ReviewScreen, ArchiveDirectoriesAreBrowsedWithoutChanges) {
    Company c;
    const std::string arch = c.dir.path() + "/ARCH2025";
    std::filesystem::create_directory(arch);
    {
        ASSERT_TRUE(
            dbf::Table::Create(arch + "/PKPLACE.DBF", common::FindTable("PKPLACE")->Specs()).ok());
        common::Tables t(c.h.rt);
        dbf::WorkArea& a = t.OpenIn(arch + "/", "OLD", "PKPLACE");
        t.Append(a);
        a.record().SetString(a.FieldIndex("ROK_LST"), "2025");
        a.record().SetString(a.FieldIndex("TYP_LST"), "A");
        a.record().SetNumber(a.FieldIndex("NR_LST"), 44);
        a.record().SetString(a.FieldIndex("MC_LST"), "11");
        a.record().SetString(a.FieldIndex("NR_PRAC"), "000009");
        a.record().SetString(a.FieldIndex("SKLADN_PL"), "BRUT");
        a.record().SetNumber(a.FieldIndex("KWOTA_"), 77);
        ASSERT_TRUE(a.Commit().ok());
        a.Unlock();
    }
    // The main menu's F1 (its colour switch) stays out of the browse.
    int main_menu_f1 = 0;
    c.h.con.keyboard().Bind(key::F(1), [&] { ++main_menu_f1; });
    c.Keys({key::F(1), key::F(11), key::kEnter, key::F(11), key::kDel, key::kEnter, key::F(1),
            key::F(11), key::kEsc});
    ReviewPositions(c.h.rt, c.tables, true);
    EXPECT_EQ(main_menu_f1, 0);
    ASSERT_EQ(c.shots.size(), 3u);
    EXPECT_TRUE(Has(c.shots[0], "Katalogi archiwalne:"));
    EXPECT_TRUE(Has(c.shots[0], "ARCH2025"));
    EXPECT_TRUE(Has(c.shots[1], "Katalog archiwalny: ARCH2025"));
    EXPECT_TRUE(Has(c.shots[1], "2025A   44 │ 000009 │ BRUT"));
    EXPECT_FALSE(Has(c.shots[1], "<Del>-Kasow."));
    EXPECT_TRUE(Has(c.shots[2], "2026A    8 │ 000001 │ BRUT"));
    c.tables.CloseAll();
    common::Tables t(c.h.rt);
    dbf::WorkArea& a = t.OpenIn(arch + "/", "OLD", "PKPLACE");
    EXPECT_FALSE(a.eof());  // still there, not deleted
    EXPECT_EQ(c.Records("PKSTER", "AKT_ZUS"), (std::vector<std::string>{"T"}));
}

}  // namespace
}  // namespace kestrel::payroll
