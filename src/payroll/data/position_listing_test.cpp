#include "payroll/data/position_listing.h"

#include <gtest/gtest.h>

#include "payroll_company.h"
#include "platform/codepage/cp852.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

std::vector<std::string> Utf8(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& l : lines) out.push_back(codepage::ToUtf8(l));
    return out;
}

// One line per visible position of the list, by employee and component;
// other lists, deleted positions and (when asked) other employees stay out.
TEST(PositionListing, TheListsPositionsWithTheirFlags) {
    PayCompany c;
    c.Component("BRUT", "A", 10);
    c.Add("PKSPL", {{"SKLADN_PL", "SPOL"}, {"NAZWA_", "Składki, \"społeczne\""}, {"TYP_", "A"}});
    const PayrollList z = c.List("2026", "Z", 12, "03", "20260310");
    const PayrollList other = c.List("2026", "A", 1, "03", "20260310");
    c.Position(z, "000002", "BRUT", 10);
    c.Add("PKPLACE", {{"ROK_LST", "2026"},
                      {"TYP_LST", "Z"},
                      {"NR_LST", "12"},
                      {"NR_PRAC", "000001"},
                      {"SKLADN_PL", "SPOL"},
                      {"KWOTA_", "13.71"},
                      {"POTRAC_", "T"},
                      {"AKT_DOCH", "T"}});
    c.Position(z, "000001", "BRUT", 100, true);
    c.Position(other, "000001", "BRUT", 5);
    c.Position(z, "000001", "XXXX", 7);
    {
        dbf::WorkArea& a = c.tables.Open("PKPLACE");
        ASSERT_TRUE(a.Goto(5).ok());
        ASSERT_TRUE(a.RLock().ok());
        ASSERT_TRUE(a.Delete().ok());
        a.Unlock();
        c.tables.CloseAll();
    }
    const std::vector<Component> components = ReadComponents(c.tables);
    EXPECT_EQ(Utf8(PositionLines(c.h.rt, c.tables, z, "", components)),
              (std::vector<std::string>{
                  "2026/Z/12,000001,BRUT,Składnik BRUT,100.00,F,T,F,F",
                  "2026/Z/12,000001,SPOL,\"Składki, \"\"społeczne\"\"\",13.71,T,F,F,T",
                  "2026/Z/12,000002,BRUT,Składnik BRUT,10.00,F,F,F,F",
              }));
    EXPECT_EQ(PositionLines(c.h.rt, c.tables, z, "000002", components).size(), 1u);
}

}  // namespace
}  // namespace kestrel::payroll
