#include "tax/exemptions_screen.h"

#include <gtest/gtest.h>

#include "platform/console/keys.h"
#include "tax_company.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using testing::TaxCompany;

struct ExemptCompany : TaxCompany {
    std::vector<std::vector<std::string>> shots;  // rows 4-23 at each F11

    ExemptCompany() {
        Make("PKZPRAC");
        h.con.keyboard().Bind(key::F(11), [this] {
            std::vector<std::string> rows;
            for (int r = 4; r <= 23; ++r) rows.push_back(base::TrimRight(h.Row(r)));
            shots.push_back(rows);
        });
    }

    // "amount date" of the list rows (rows 12-14) of shot `i`.
    std::vector<std::string> Listed(size_t i) {
        std::vector<std::string> out;
        for (int r = 12; r <= 14; ++r) {
            const std::string& row = shots.at(i).at(static_cast<size_t>(r - 4));
            if (row.find("20") != std::string::npos) out.push_back(base::Trim(row));
        }
        return out;
    }
    std::string Message(size_t i) {
        const std::string& m = shots.at(i).at(19);
        return m.substr(0, m.find("   "));
    }
};

// A date of another year and a zero amount are refused where they are
// typed; the stored exemptions are listed by date, Del deletes one.
TEST(ExemptionsScreen, EntryRefusalsListAndDeletion) {
    ExemptCompany c;
    c.tables.CloseAll();
    c.Keys("1");
    c.Keys({key::kEnter, key::kIns});
    c.Keys("2025-05-01");
    c.Keys({key::F(11), key::kEnter, key::kHome});
    c.Keys("2026-05-01");
    c.Keys({key::kEnter, key::F(11), key::kEnter});
    c.Keys("500");
    c.Keys({key::kEnter, key::kIns});
    c.Keys("2026-02-01");
    c.Keys("300");
    c.Keys({key::kEnter, key::F(11), key::kDel, 't', key::F(11), key::kEsc, key::F(10)});
    Qrm76(c.h.rt);
    ASSERT_EQ(c.shots.size(), 4u);
    EXPECT_EQ(c.shots[0][3], "  Pracownik: 000001  Nowak");
    EXPECT_EQ(c.shots[0][5], "  Istniejące zwolnienia (kwota  data):");
    EXPECT_EQ(c.Message(0), " Data spoza roku 2026");
    EXPECT_EQ(c.Message(1), " Kwota musi być większa od zera");
    EXPECT_EQ(c.Listed(2),
              (std::vector<std::string>{"300.00 │ 2026-02-01", "500.00 │ 2026-05-01"}));
    EXPECT_EQ(c.Listed(3), (std::vector<std::string>{"500.00 │ 2026-05-01"}));
    EXPECT_TRUE(c.h.backend.exhausted());
    std::vector<std::string> amounts = c.Records("PKZPRAC", "LIMIT_POD");
    for (std::string& a : amounts) a = base::Trim(a);
    EXPECT_EQ(amounts, (std::vector<std::string>{"500.00", "300.00*"}));
    EXPECT_EQ(c.Records("PKZPRAC", "DATA_LIM"),
              (std::vector<std::string>{"20260501", "20260201*"}));
}

// F4 lists the exemptions of the year of every employee; Enter takes the
// employee. Another year's stay out, of the list and of his exemptions.
TEST(ExemptionsScreen, TheExemptionsOfTheYearPickTheEmployee) {
    ExemptCompany c;
    c.Add("PKZPRAC", {{"NR_PRAC", "000001"}, {"DATA_LIM", "20250301"}, {"LIMIT_POD", "77"}});
    c.Add("PKZPRAC", {{"NR_PRAC", "000002"}, {"DATA_LIM", "20260301"}, {"LIMIT_POD", "120"}});
    c.Add("PKZPRAC", {{"NR_PRAC", "000002"}, {"DATA_LIM", "20260101"}, {"LIMIT_POD", "80"}});
    c.tables.CloseAll();
    c.Keys({key::F(4), key::F(11), key::kDown, key::kEnter, key::kEnter, key::F(11), key::kEsc,
            key::F(10)});
    Qrm76(c.h.rt);
    ASSERT_EQ(c.shots.size(), 2u);
    std::string picked;
    for (const std::string& row : c.shots[0])
        if (row.find("000002") != std::string::npos) picked += base::Trim(row) + "\n";
    EXPECT_NE(picked.find("Kowal"), std::string::npos) << picked;
    EXPECT_NE(picked.find("80.00"), std::string::npos) << picked;
    EXPECT_NE(picked.find("120.00"), std::string::npos) << picked;
    for (const std::string& row : c.shots[0]) EXPECT_EQ(row.find("77.00"), std::string::npos);
    EXPECT_EQ(c.shots[1][3], "  Pracownik: 000002  Kowal");
    EXPECT_EQ(c.Listed(1), (std::vector<std::string>{"80.00 │ 2026-01-01", "120.00 │ 2026-03-01"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::tax
