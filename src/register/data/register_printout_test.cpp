#include "register/data/register_printout.h"

#include <gtest/gtest.h>

#include <functional>

#include "employee_test_support.h"
#include "platform/base/text.h"
#include "register/data/paged_printout.h"
#include "register/data/printout_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Cp;
using testing::LineOf;
using testing::Page;
using testing::Pages;

class RegisterPrintoutTest : public ::testing::Test {
  protected:
    RegisterPrintoutTest() : c({"PKSTAN"}) {
        testing::SetUpPrinter(c.h.rt);
        c.h.rt.set_working_date({2026, 12, 31, 0, 0, 0});
    }

    void Add(const std::string& number, std::string_view surname, std::string_view names,
             const std::function<void(EmployeeRecord&)>& more = {},
             EmployeeKind kind = EmployeeKind::kStaff) {
        Registration reg(c.h.rt, *c.tables, c.areas);
        ASSERT_EQ(reg.Reserve(number), ReserveResult::kReserved);
        reg.ApplyDefaults(kind);
        reg.record().set_surname(Cp(surname));
        reg.record().set_first_names(Cp(names));
        ASSERT_TRUE(reg.record().SetDate("DATA_ZATR", "20200101").ok());
        if (more) more(reg.record());
        reg.Confirm();
    }
    static void Former(EmployeeRecord& e) {
        ASSERT_TRUE(e.SetText("PRZYCZ_ZW", "01").ok());
        ASSERT_TRUE(e.SetDate("DATA_ZWOLN", "20251130").ok());
    }

    std::string Write(RegisterPrintOptions o = {}) {
        printed.clear();
        o.on_employee = [this](const std::string& number, const std::string&) {
            printed.push_back(number);
        };
        return testing::Printed(c.dir.File("TEMP01.PRT"), [&](printing::PrintOutput& out) {
            count = WriteRegister(c.h.rt, *c.tables, out, o);
        });
    }

    testing::Company c;
    std::vector<std::string> printed;
    int count = 0;
};

TEST_F(RegisterPrintoutTest, ThePersonnelFieldsStandInTheirColumns) {
    c.Create("PKSTAN");
    {
        dbf::WorkArea& stan = c.tables->Open("PKSTAN", {"PKSTAN1"});
        c.tables->Append(stan);
        ASSERT_TRUE(stan.record().SetString(stan.FieldIndex("STANOW_"), "KS").ok());
        ASSERT_TRUE(stan.record().SetString(stan.FieldIndex("NAZWA_"), Cp("Księgowa")).ok());
        ASSERT_TRUE(stan.Commit().ok());
        ASSERT_TRUE(stan.Unlock().ok());
    }
    Add("000007", "Żółkiewska", "Łucja Ewa", [](EmployeeRecord& e) {
        e.set_pesel("85031512345");
        ASSERT_TRUE(e.SetDate("DATA_URODZ", "19850315").ok());
        ASSERT_TRUE(e.SetText("KOD_POCZT", "30-001").ok());
        ASSERT_TRUE(e.SetText("MIEJSCOW_", Cp("Kraków")).ok());
        ASSERT_TRUE(e.SetText("ULICA_", Cp("Świętego Marka")).ok());
        ASSERT_TRUE(e.SetText("NR_DOMU", "12").ok());
        ASSERT_TRUE(e.SetText("NR_MIESZK", "3").ok());
        ASSERT_TRUE(e.SetText("TELEFON_", "123456789").ok());
        ASSERT_TRUE(e.SetText("DZIAL_", "FIN").ok());
        ASSERT_TRUE(e.SetText("STANOW_", "KS").ok());
        ASSERT_TRUE(e.SetNumber("ETAT_L", 1).ok());
        ASSERT_TRUE(e.SetNumber("ETAT_M", 2).ok());
        ASSERT_TRUE(e.SetNumber("ST_PODST", 4567.5).ok());
    });
    const std::vector<Page> pages = Pages(Write());
    ASSERT_EQ(pages.size(), 1u);
    const Page& p = pages[0];
    EXPECT_NE(p[2].find("Data wydruku: 2026-12-31"), std::string::npos);
    EXPECT_EQ(base::Trim(p[3]), "Kartoteka pracowników - pracownicy zatrudnieni");
    const int first = LineOf(p, "000007");
    ASSERT_GT(first, 0);
    const auto line = [&](int i) { return p[static_cast<size_t>(first + i)]; };
    EXPECT_EQ(line(0),
              "000007 E Żółkiewska Łucja Ewa" + std::string(21, ' ') + "85031512345 1985-03-15");
    EXPECT_EQ(line(1),
              "         30-001 Kraków, Świętego Marka 12/3" + std::string(19, ' ') + "123456789");
    EXPECT_EQ(line(2), "         FIN   Księgowa" + std::string(17, ' ') + "2020-01-01" +
                           std::string(12, ' ') + "1/2       4567,50");
    // The headings over the columns, under the header.
    const int headings = LineOf(p, "Nr     R Nazwisko");
    ASSERT_GT(headings, 3);
    EXPECT_LT(headings, first);
    // (Positions counted in characters, as the printer sees them.)
    EXPECT_EQ(Cp(p[static_cast<size_t>(headings) + 2]).find("Stanowisko"),
              Cp(line(2)).find(Cp("Księgowa")));
    EXPECT_EQ(p.back(), "Razem pracowników: 1");
}

TEST_F(RegisterPrintoutTest, APositionMissingFromItsDictionaryPrintsAsItsCode) {
    c.Create("PKSTAN");
    Add("000008", "Nowak", "Jan",
        [](EmployeeRecord& e) { ASSERT_TRUE(e.SetText("STANOW_", "MAG").ok()); });
    const Page p = Pages(Write())[0];
    const int first = LineOf(p, "000008");
    ASSERT_GT(first, 0);
    EXPECT_EQ(p[static_cast<size_t>(first) + 2].rfind("               MAG ", 0), 0u)
        << p[static_cast<size_t>(first) + 2];
}

TEST_F(RegisterPrintoutTest, ALegalPersonPrintsItsFullNameAndNoFraction) {
    Add(
        "000900", "", "ALFA",
        [](EmployeeRecord& e) {
            ASSERT_TRUE(
                e.SetText("PEL_NAZWA", Cp("Przedsiębiorstwo Handlowo-Usługowe Alfa Sp. z o.o."))
                    .ok());
            ASSERT_TRUE(e.SetDate("DATA_URODZ", "20030512").ok());
            ASSERT_TRUE(e.SetNumber("ETAT_L", 1).ok());
            ASSERT_TRUE(e.SetNumber("ETAT_M", 1).ok());
        },
        EmployeeKind::kLegalPerson);
    const Page p = Pages(Write())[0];
    const int first = LineOf(p, "000900");
    ASSERT_GT(first, 0);
    // Fifty characters of name, over the room of the PESEL it has not.
    EXPECT_EQ(p[static_cast<size_t>(first)],
              "000900 P Przedsiębiorstwo Handlowo-Usługowe Alfa Sp. z o.o.   2003-05-12");
    EXPECT_EQ(p[static_cast<size_t>(first) + 2].find("1/1"), std::string::npos);
}

TEST_F(RegisterPrintoutTest, GroupOrderAndRangeChooseTheEmployees) {
    Add("000001", "Zieliński", "Jan");
    Add("000002", "Adamska", "Anna", Former);
    Add("000003", "Łukasik", "Piotr");
    Add("000004", "Bąk", "Ewa");
    Add("000005", "Cichy", "Adam", Former);
    struct Case {
        RegisterGroup group;
        RegisterOrder order;
        std::string from, to;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {RegisterGroup::kCurrent, RegisterOrder::kByNumber, "", "", {"000001", "000003", "000004"}},
        {RegisterGroup::kFormer, RegisterOrder::kByNumber, "", "", {"000002", "000005"}},
        {RegisterGroup::kAll,
         RegisterOrder::kByNumber,
         "000002",
         "000004",
         {"000002", "000003", "000004"}},
        // Alphabetical in the Polish order: Bąk, Łukasik, Zieliński.
        {RegisterGroup::kCurrent,
         RegisterOrder::kBySurname,
         "",
         "",
         {"000004", "000003", "000001"}},
        {RegisterGroup::kAll,
         RegisterOrder::kBySurname,
         "000003",
         "",
         {"000004", "000005", "000003"}},
        {RegisterGroup::kFormer, RegisterOrder::kBySurname, "", "000004", {"000002"}},
    };
    for (const Case& k : cases) {
        RegisterPrintOptions o;
        o.group = k.group;
        o.order = k.order;
        o.from = k.from;
        o.to = k.to;
        const std::vector<Page> pages = Pages(Write(o));
        EXPECT_EQ(printed, k.want) << static_cast<int>(k.group) << static_cast<int>(k.order);
        EXPECT_EQ(count, static_cast<int>(k.want.size()));
        EXPECT_EQ(CountEmployees(c.h.rt, *c.tables, o), count);
        // What was told is what was printed, in that order.
        std::vector<std::string> on_paper;
        for (const Page& p : pages)
            for (const std::string& l : p)
                if (l.size() > 7 && l[6] == ' ' && l[7] != ' ' &&
                    l.find_first_not_of("0123456789") == 6)
                    on_paper.push_back(l.substr(0, 6));
        EXPECT_EQ(on_paper, k.want);
    }
}

TEST_F(RegisterPrintoutTest, PagesBreakBetweenEmployeesAndEachRepeatsTheHeadings) {
    for (int i = 1; i <= 40; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%06d", i);
        Add(number, "Nowak", "Jan");
    }
    const std::vector<Page> pages = Pages(Write());
    EXPECT_EQ(count, 40);
    // Thirteen employees of four rows (one empty) a page under the header.
    ASSERT_EQ(pages.size(), 4u);
    int blocks = 0;
    for (size_t n = 0; n < pages.size(); ++n) {
        const Page& p = pages[n];
        EXPECT_LE(p.size(), static_cast<size_t>(kPageRows));
        EXPECT_NE(p[0].find("Str.   " + std::to_string(n + 1)), std::string::npos);
        const int headings = LineOf(p, "Nr     R Nazwisko");
        ASSERT_GT(headings, 3);
        for (size_t i = static_cast<size_t>(headings) + 4; i < p.size(); ++i) {
            if (p[i].rfind("0000", 0) != 0) continue;
            ++blocks;
            // The whole block of three lines is on this page.
            ASSERT_LT(i + 2, p.size());
            EXPECT_EQ(p[i + 2].rfind("         ", 0), 0u);
            EXPECT_NE(p[i + 2].find("2020-01-01"), std::string::npos);
        }
    }
    EXPECT_EQ(blocks, 40);
}

TEST_F(RegisterPrintoutTest, AnInterruptStopsBeforeTheNextEmployee) {
    Add("000001", "Nowak", "Jan");
    Add("000002", "Kowal", "Ewa");
    Add("000003", "Lis", "Adam");
    RegisterPrintOptions o;
    int asked = 0;
    o.interrupted = [&] { return ++asked == 2; };
    const std::vector<Page> pages = Pages(Write(o));
    EXPECT_EQ(printed, (std::vector<std::string>{"000001"}));
    EXPECT_EQ(pages.back().back(), "Razem pracowników: 1");
}

}  // namespace
}  // namespace kestrel::registry
