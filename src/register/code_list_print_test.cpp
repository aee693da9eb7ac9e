#include "register/code_list_print.h"

#include <gtest/gtest.h>

#include "platform/base/files.h"
#include "register/data/official_dictionaries.h"
#include "register/data/printout_test_support.h"
#include "register/dictionary_dialog.h"
#include "register/official_dialogs.h"
#include "test_company.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::LineOf;
using testing::Page;
using testing::Pages;
using testing::TestCompany;
using V = std::vector<std::string>;

// A company printing to spool files (type "0": no control sequences).
struct PrintingCompany : TestCompany {
    PrintingCompany() {
        Make("PKLWYD");
        testing::SetUpPrinter(h.rt);
        h.rt.config().Set("NAGLTDR", memfile::MemValue::Char("0"));
        h.rt.config().Set("NAGLNDR", memfile::MemValue::Char("0"));
    }
    /// Nothing typed ahead while the print-out runs: the report's look at
    /// the keyboard between records finds no key.
    void Printing() { ASSERT_TRUE(h.backend.AddScript("{screen printing}").ok()); }
    /// The pages of spool file `name`; empty when it was not written.
    std::vector<Page> Spooled(const std::string& name = "0.PRT") {
        std::string bytes;
        if (!base::ReadFile(dir.File(name), &bytes).ok()) return {};
        return Pages(bytes);
    }
    /// The data lines of a list page: those under the rule.
    static V Rows(const Page& p) {
        V rows;
        const int rule = LineOf(p, "-----");
        for (size_t i = static_cast<size_t>(rule) + 1; rule >= 0 && i < p.size(); ++i)
            if (!p[i].empty()) rows.push_back(p[i]);
        return rows;
    }
};

TEST(DictionaryPrint, F7PrintsTheDictionaryInKeyOrderWithTheDateAsked) {
    PrintingCompany c;
    c.Make("PKDZIAL", {{{"DZIAL_", "PROD"}, {"NAZWA_", "Produkcja"}, {"KOD_GMINY", "1261011"}},
                       {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja i księgowość"}}});
    std::string legend;
    c.h.con.keyboard().Bind(key::F(11), [&] { legend = c.h.Row(20); });
    // The date typed to its end; then the printer, the spool file's name,
    // the spool screen. Back in the browse, Del deletes the record the
    // browse stood on before.
    c.Keys({key::F(11), key::kDown, key::F(7)});
    c.Keys("20261220");
    c.Keys({key::kEnter, key::kEnter});
    c.Printing();
    c.Keys({key::kEsc, key::kDel, 't', key::kEsc});
    RunDictionary(c.h.rt, "2.7.2");
    EXPECT_EQ(c.Records("PKDZIAL", "DZIAL_"), (V{"PROD*", "ADM"}));
    EXPECT_NE(legend.find("<F7>-Wydruk"), std::string::npos) << legend;
    const std::vector<Page> pages = c.Spooled();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0][2].find("Data wydruku: 2026-12-20"), std::string::npos) << pages[0][2];
    EXPECT_EQ(base::Trim(pages[0][3]), "Działy");
    EXPECT_EQ(PrintingCompany::Rows(pages[0]),
              (V{"ADM   Administracja i księgowość",
                 "PROD  Produkcja" + std::string(22, ' ') + "1261011", "Razem pozycji: 2"}));
    EXPECT_EQ(c.Records("PKLWYD", "TYTUL_"), V{"Działy"});
    // The working date of the program is the one it was.
    EXPECT_EQ(c.h.rt.working_date().DateText(), "2026-12-08");
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(DictionaryPrint, EscAtTheDatePrintsNothingAndShortListsHaveNoF7) {
    PrintingCompany c;
    c.Make("PKDZIAL", {{{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}}});
    c.Keys({key::F(7), key::kEsc, key::kEsc});
    RunDictionary(c.h.rt, "2.7.2");
    EXPECT_TRUE(c.Spooled().empty());

    // The kinds of contract are a short list: F7 does nothing there.
    c.Make("PKRUM", {{{"RODZ_UM", "01"}, {"NAZWA_UM", "Na czas nieokreślony"}}});
    c.Keys({key::F(7), key::kEsc});
    RunDictionary(c.h.rt, "2.7.4");
    EXPECT_EQ(c.h.Row(20).find("F7"), std::string::npos);
    EXPECT_TRUE(c.Spooled().empty());
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(DictionaryPrint, AnOfficialDictionaryPrintsInTheOrderShown) {
    PrintingCompany c;
    ASSERT_EQ(RebuildFromShipped(c.dir.path(), KESTREL_DATA_DIR, c.h.rt.letters(),
                                 OfficialList::kCountries),
              "");
    // By name (F4): the printout follows the browse's order.
    // F7, the date as it is offered, any key at the printer, Enter at the
    // spool file's name; Esc on the spool screen and in the browse.
    c.Keys({key::F(4), key::F(7), key::kEnter, key::kEnter, key::kEnter});
    c.Printing();
    c.Keys({key::kEsc, key::kEsc});
    Qrm2c2(c.h.rt);
    const std::vector<Page> pages = c.Spooled();
    ASSERT_GT(pages.size(), 1u);
    EXPECT_EQ(base::Trim(pages[0][3]), "Kody krajów");
    V rows;
    for (const Page& p : pages)
        for (const std::string& r : PrintingCompany::Rows(p)) rows.push_back(r);
    ASSERT_GT(rows.size(), 100u);
    EXPECT_EQ(rows.back().rfind("Razem pozycji: ", 0), 0u);
    EXPECT_EQ(rows.back(), "Razem pozycji: " + std::to_string(rows.size() - 1));
    // In the Polish order of the short names (column 5): Ł after L, before M.
    auto at = [&](const std::string& name) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].substr(4, name.size()) == name) return static_cast<int>(i);
        return -1;
    };
    EXPECT_GE(at("LUKSEMBURG"), 0);
    EXPECT_EQ(at("ŁOTWA"), at("LUKSEMBURG") + 1);
    EXPECT_EQ(at("MACEDONIA"), at("ŁOTWA") + 1);
    EXPECT_EQ(rows[static_cast<size_t>(at("ŁOTWA"))].substr(0, 3), "LV ");
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::registry
