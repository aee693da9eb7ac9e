#include "payroll/printouts/data/cost_accounts.h"

#include <gtest/gtest.h>

#include <sstream>

#include "matrix_test_support.h"

namespace kestrel::payroll {
namespace {

using testing::PrintedLines;
using testing::With;

constexpr const char* kDashMask = "@R 999-999999999";

TEST(AccountLevels, TheAccountThenTheMasksCutsShorterThanIt) {
    struct Case {
        const char* mask;
        int chars, levels;
        std::vector<int> want;
    };
    for (const Case& c : {
             Case{kDashMask, 12, 2, {12, 3}},
             Case{kDashMask, 12, 3, {12, 3}},  // the mask has one cut only
             Case{kDashMask, 3, 2, {3}},       // no cut shorter than 3
             Case{kDashMask, 6, 1, {6}},
             Case{"@R 99-999-9999999", 12, 3, {12, 5, 2}},
             Case{"999999999999", 6, 3, {6, 3, 1}},  // no separator: synthetic, class
             Case{"", 12, 2, {12, 3}},
             Case{kDashMask, 20, 1, {12}},  // at most the account's 12 characters
             Case{kDashMask, 0, 0, {1}},
         })
        EXPECT_EQ(AccountLevels(c.mask, c.chars, c.levels), c.want)
            << c.mask << " " << c.chars << " " << c.levels;
}

TEST(MaskedPrefix, SeparatorsOnlyBetweenTheCharactersOfTheAccount) {
    EXPECT_EQ(MaskedPrefix(kDashMask, "501001      "), "501-001");
    EXPECT_EQ(MaskedPrefix(kDashMask, "501   "), "501");
    EXPECT_EQ(MaskedPrefix(kDashMask, "5"), "5");
    EXPECT_EQ(MaskedPrefix(kDashMask, "            "), "");
    EXPECT_EQ(MaskedPrefix("999999999999", "501001"), "501001");
    EXPECT_EQ(MaskedPrefix("", "501001"), "501001");
    // Longer than the template: the rest follows as it is.
    EXPECT_EQ(MaskedPrefix("@R 9-9", "50123"), "5-0123");
}

struct AccountCompany : testing::PrintCompany {
    AccountCompany() {
        Component("BRUT", "A", 10);
        Component("ZALI", "P", 20);
        Staff("000011", "501001");
        Staff("000012", "501002");
        Staff("000013", "501");  // shorter than the characters summed
        Staff("000014", "520001");
        Staff("000015", "");          // no account
        Staff("000016", "  501001");  // left blanks are no part of the account
        const PayrollList a = List("2026", "A", 1, "03", "20260310", false);
        const PayrollList z = List("2026", "Z", 1, "03", "20260315", false);
        const PayrollList april = List("2026", "A", 2, "04", "20260410");
        Position(a, "000011", "BRUT", 1000);
        Position(a, "000011", "ZALI", 100);
        Position(a, "000012", "BRUT", 200);
        Position(z, "000013", "BRUT", 30);
        Position(a, "000014", "BRUT", 4);
        Position(a, "000015", "BRUT", 5000);
        Position(a, "000016", "BRUT", 250);
        Position(april, "000011", "BRUT", 70000);
        Matrix("KNT", "6");
        Cell("KNT", 1, 1, "BRUT", "Brutto", 12);
        Cell("KNT", 1, 2, "1", "Osób", 6, {{"MASKA_", "9999"}});
        // The tax as a share of the gross pay: recomputed on a total line,
        // not the sum of the employees' shares.
        Cell("KNT", 1, 3, "if(BRUT > 0, ZALI/BRUT*100, 0)", "Zal.%", 8,
             {{"MASKA_", "999.99"}, {"WZOR_SUMY", "T"}});
        h.rt.config().Set("NAGLMSKON", memfile::MemValue::Char(kDashMask));
    }
    void Staff(const std::string& number, const std::string& account) {
        Add("PKPRAC", {{"NR_PRAC", number}, {"NAZWX_", "P" + number}, {"KONTO_KOSZ", account}});
    }
    struct Result {
        std::string message;
        std::vector<std::string> lines;
    };
    Result Print(const CostAccountRequest& r) {
        Result out;
        printing::PrintOutput o;
        const std::string path = dir.File("KONTA.PRT");
        EXPECT_TRUE(o.Open(path).ok());
        out.message = codepage::ToUtf8(PrintCostAccounts(h.rt, tables, r, o, nullptr).message);
        EXPECT_TRUE(o.Close().ok());
        out.lines = PrintedLines(path);
        return out;
    }
    // The labels of the total lines in print order, each with the values of
    // the line after it.
    static std::vector<std::pair<std::string, std::string>> Totals(
        const std::vector<std::string>& lines) {
        std::vector<std::pair<std::string, std::string>> out;
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            if (!lines[i].empty() && lines[i].back() == ':' && lines[i].find("Miesiąc") != 0) {
                std::istringstream values(lines[i + 1]);
                std::string v, all;
                while (values >> v) all += (all.empty() ? "" : " ") + v;
                out.emplace_back(lines[i], all);
            }
        return out;
    }
};

TEST(CostAccounts, EveryAccountAndItsSyntheticAccountOfTheMonth) {
    AccountCompany c;
    CostAccountRequest r;
    r.matrix = "KNT";
    r.month = {2026, 3};
    r.chars = 6;
    r.levels = 2;
    const auto p = c.Print(r);
    ASSERT_EQ(p.message, "");
    using Line = std::pair<std::string, std::string>;
    EXPECT_EQ(c.Totals(p.lines), (std::vector<Line>{
                                     {"Bez konta kosztów:", "5000.00 1 0.00"},
                                     {"Konto 501:", "30.00 1 0.00"},
                                     {"Konto 501-001:", "1250.00 2 8.00"},
                                     {"Konto 501-002:", "200.00 1 0.00"},
                                     {"Razem konto 501:", "1480.00 4 6.76"},
                                     {"Konto 520-001:", "4.00 1 0.00"},
                                     {"Razem konto 520:", "4.00 1 0.00"},
                                     {"RAZEM:", "6484.00 6 1.54"},
                                 }));
    EXPECT_EQ(With(p.lines, "Miesiąc: 2026-03").size(), 1U);
    // No employee's own line, one rule between the total lines.
    EXPECT_TRUE(With(p.lines, "Lp.").empty());
    for (size_t i = 1; i < p.lines.size(); ++i)
        EXPECT_FALSE(p.lines[i][0] == '-' && p.lines[i - 1][0] == '-') << i;
}

TEST(CostAccounts, OneLevelAndFewerCharactersJoinTheAccounts) {
    AccountCompany c;
    CostAccountRequest r;
    r.matrix = "KNT";
    r.month = {2026, 3};
    r.chars = 3;
    r.levels = 2;  // no cut of the mask shorter than 3
    using Line = std::pair<std::string, std::string>;
    EXPECT_EQ(c.Totals(c.Print(r).lines), (std::vector<Line>{
                                              {"Bez konta kosztów:", "5000.00 1 0.00"},
                                              {"Konto 501:", "1480.00 4 6.76"},
                                              {"Konto 520:", "4.00 1 0.00"},
                                              {"RAZEM:", "6484.00 6 1.54"},
                                          }));
}

TEST(CostAccounts, TheNameOfTheMatrixsSummingLevel) {
    AccountCompany c;
    c.Matrix("KNS", "6", {{"NAZWA_SUMY", "Syntetyka"}});
    c.Cell("KNS", 1, 1, "BRUT");
    CostAccountRequest r{"KNS", {2026, 3}, 6, 2};
    const auto p = c.Print(r);
    EXPECT_EQ(With(p.lines, "Syntetyka 501:").size(), 1U);
    EXPECT_TRUE(With(p.lines, "Razem konto").empty());
}

TEST(CostAccounts, Refusals) {
    AccountCompany c;
    CostAccountRequest r{"KNT", {2026, 5}, 6, 1};
    EXPECT_EQ(c.Print(r).message, "Brak list płac w podanym okresie");
    c.Matrix("LIST", "1");
    c.Cell("LIST", 1, 1, "BRUT");
    r = {"LIST", {2026, 3}, 6, 1};
    EXPECT_EQ(c.Print(r).message, "Błędny typ tabulogramu");
    r.matrix = "NIE";
    EXPECT_EQ(c.Print(r).message, "Brak definicji tabulogramu");
}

}  // namespace
}  // namespace kestrel::payroll
