#include "insurance/data/consistency_check.h"

#include <gtest/gtest.h>

#include "worktime_company.h"

namespace kestrel::insurance {
namespace {

using V = std::vector<std::string>;
using M = std::vector<std::pair<int, int>>;

TEST(SelectorMonths, LettersNameMonthsAroundTheSystemMonth) {
    struct Case {
        const char* selector;
        int year, month;
        M expected;
    } const cases[] = {
        {"W", 2026, 1, {{2026, 1}}},
        {"P", 2026, 1, {{2025, 12}}},
        {"WP", 2026, 6, {{2026, 6}, {2026, 5}}},
        {"ND", 2026, 11, {{2026, 12}, {2027, 1}}},
        {"BW", 2026, 3, {{2026, 1}, {2026, 2}, {2026, 3}}},
        {"B", 2026, 1, {}},
        {"   ", 2026, 5, {}},
        {"X", 2026, 5, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectorMonths(c.selector, c.year, c.month), c.expected) << c.selector;
}

// December 2026: two employees paid BRUT in the month, their pension bases
// in PKSKLAD; the check compares the two.
struct CheckCompany : worktime::testing::WorkCompany {
    CheckCompany() : WorkCompany({"PKSPL", "PKPLACE", "PKNIEOB", "PKSKLAD", "PKASPRZ"}) {
        Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "12"}, {"NIE_SPR", "T"}}});
        Add("PKSPL", {{"SKLADN_PL", "BRUT"}});
        Add("PKRNB", {{"KOD_NIEOB", "CHOR"}});
        for (const char* n : {"000001", "000002"}) {
            Add("PKPRAC", {{"NR_PRAC", n}});
            Add("PKPLACE", {{"NR_PRAC", n},
                            {"ROK_LST", "2026"},
                            {"MC_LST", "12"},
                            {"DATA_WYP", "20261210"},
                            {"SKLADN_PL", "BRUT"},
                            {"KWOTA_", "5000"}});
        }
        // A list of November paid in December counts for the payment month.
        Add("PKPLACE", {{"NR_PRAC", "000002"},
                        {"ROK_LST", "2026"},
                        {"MC_LST", "11"},
                        {"DATA_WYP", "20261205"},
                        {"SKLADN_PL", "BRUT"},
                        {"KWOTA_", "300"}});
        Base("000001", 5000);
        Base("000002", 5000);
    }
    void Base(const char* employee, double base) {
        Add("PKSKLAD", {{"NR_PRAC", employee},
                        {"ROK_", "2026"},
                        {"MC_", "12"},
                        {"TYT_UBEZP", "011000"},
                        {"POD_EM_REN", std::to_string(base)}});
    }
    void Check(const std::string& condition = "") {
        Add("PKASPRZ", {{"SYMB_ALG", "EMER"},
                        {"OPIS_ALG", "Podstawa emerytalna"},
                        {"PLC_MC_WYP", "W"},
                        {"ZBIOR_", "PKSKLAD"},
                        {"ZB_MC_ZUS", "W"},
                        {"WZOR_1", "BRUT"},
                        {"WZOR_2", "POD_EM_REN"},
                        {"WARUNEK_", condition}});
    }
    V Flags() { return {Records("PKSTER", "NIE_SPR")[0], Records("PKSTER", "BLD_SPR")[0]}; }
    CheckOutcome Run(CheckObserver* o = nullptr) {
        tables.CloseAll();
        return RunConsistencyCheck(h.rt, tables, o);
    }
};

V Failed(const CheckOutcome& out) {
    V v;
    for (const FailedCheck& f : out.failed)
        v.push_back(f.employee + " " + f.symbol + " " + f.first + "/" + f.second);
    return v;
}

TEST(ConsistencyCheck, WithoutAlgorithmsNothingIsRunOrChanged) {
    CheckCompany c;
    const CheckOutcome out = c.Run();
    EXPECT_EQ(codepage::ToUtf8(out.message), "Brak zdefiniowanych algorytmów");
    EXPECT_FALSE(out.completed);
    EXPECT_EQ(c.Flags(), (V{"T", ""}));
}

// The payment month's items against the records of the declaration month:
// 000002's November list paid in December makes the difference; once his
// base is corrected the check passes and BLD_SPR is cleared.
TEST(ConsistencyCheck, FailedChecksSetBldSprAndAPassingRunClearsIt) {
    CheckCompany c;
    c.Check();
    CheckOutcome out = c.Run();
    EXPECT_TRUE(out.completed);
    EXPECT_EQ(out.employees, 2);
    EXPECT_EQ(Failed(out), V{"000002 EMER 5300.00/5000.00"});
    EXPECT_EQ(c.Flags(), (V{"F", "T"}));
    c.Base("000002", 300);  // a second title's record adds to the sum
    out = c.Run();
    EXPECT_EQ(Failed(out), V{});
    EXPECT_EQ(c.Flags(), (V{"F", "F"}));
}

// A false condition skips the check; one that is not logical stops the run
// with BLD_SPR left set; so does the operator.
TEST(ConsistencyCheck, ConditionsAndInterruptions) {
    {
        CheckCompany c;
        c.Check("NR_PRAC_OK = 1");
        EXPECT_FALSE(c.Run().completed);  // an unknown variable
        EXPECT_EQ(c.Flags(), (V{"F", "T"}));
    }
    {
        CheckCompany c;
        c.Check(".F.");
        const CheckOutcome out = c.Run();
        EXPECT_TRUE(out.completed);
        EXPECT_EQ(Failed(out), V{});
        EXPECT_EQ(c.Flags(), (V{"F", "F"}));
    }
    {
        CheckCompany c;
        c.Check("BRUT");
        const CheckOutcome out = c.Run();
        EXPECT_EQ(codepage::ToUtf8(out.message), "Błędny warunek PKASPRZ");
        EXPECT_EQ(c.Flags(), (V{"F", "T"}));
    }
    {
        struct Stop : CheckObserver {
            int asked = 0;
            bool Interrupted() override { return ++asked == 2; }
        } stop;
        CheckCompany c;
        c.Check();
        c.Base("000002", 300);
        ASSERT_EQ(Failed(c.Run()), V{});
        ASSERT_EQ(c.Flags(), (V{"F", "F"}));
        const CheckOutcome out = c.Run(&stop);
        EXPECT_TRUE(out.interrupted);
        EXPECT_EQ(out.employees, 1);
        EXPECT_EQ(c.Flags(), (V{"F", "T"}));
    }
}

}  // namespace
}  // namespace kestrel::insurance
