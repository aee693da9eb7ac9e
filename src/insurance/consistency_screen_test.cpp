#include "insurance/consistency_screen.h"

#include <gtest/gtest.h>

#include "worktime_company.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using V = std::vector<std::string>;

// One employee whose base disagrees with his pay: the list of failed
// checks shows him with both results; without algorithms the screen says
// so and leaves the flags.
TEST(ConsistencyScreen, TheFailedChecksAreListed) {
    struct Company : worktime::testing::WorkCompany {
        Company() : WorkCompany({"PKSPL", "PKPLACE", "PKNIEOB", "PKSKLAD", "PKASPRZ"}) {
            Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "12"}, {"NIE_SPR", "T"}}});
        }
    };
    {
        Company c;
        c.Keys({'t', key::F(12), key::kEnter});
        Qrm6A2(c.h.rt);
        EXPECT_EQ(c.messages, V{"Brak zdefiniowanych algorytmów"});
        EXPECT_EQ(c.Records("PKSTER", "NIE_SPR"), V{"T"});
    }
    Company c;
    c.Add("PKPRAC", {{"NR_PRAC", "000001"}});
    c.Add("PKSKLAD", {{"NR_PRAC", "000001"},
                      {"ROK_", "2026"},
                      {"MC_", "12"},
                      {"TYT_UBEZP", "011000"},
                      {"POD_ZDROW", "4000"}});
    c.Add("PKASPRZ", {{"SYMB_ALG", "ZDROW"},
                      {"OPIS_ALG", "Podstawa zdrowotna"},
                      {"ZBIOR_", "PKSKLAD"},
                      {"ZB_MC_ZUS", "W"},
                      {"WZOR_1", "POD_ZDROW"},
                      {"WZOR_2", "4100"}});
    c.tables.CloseAll();
    std::string row;
    c.h.con.keyboard().Bind(key::F(11), [&] { row = base::TrimRight(c.h.Row(9)); });
    c.Keys({'t', key::F(11), key::kEsc, key::kEnter});
    Qrm6A2(c.h.rt);
    EXPECT_EQ(row, " 000001 │ ZDROW      │ Podstawa zdrowotna     │      4000.00 │      4100.00");
    EXPECT_EQ(c.Records("PKSTER", "BLD_SPR"), V{"T"});
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::insurance
