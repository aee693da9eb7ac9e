#include "insurance/data/benefit_shares.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/formula/runtime.h"

namespace kestrel::insurance {
namespace {

// Sickness of 5 and 3 days (records 1 and 2), care of 2 days (record 3),
// another sickness of 3 days (record 4), in the order the lines are written.
BenefitLineContext Month() {
    BenefitLineContext c;
    c.served = {{1, "CH  ", 5}, {2, "CH  ", 3}, {3, "ZO  ", 2}, {4, "CH1 ", 3}};
    return c;
}

double Share(double amount, std::set<uint32_t> line, std::set<std::string> codes) {
    BenefitLineContext c = Month();
    c.line = std::move(line);
    return BenefitShare(amount, c, codes);
}

TEST(BenefitShare, EachLineDeclaresItsDaysAndTheLinesAddUpToTheComponent) {
    struct Case {
        double amount;
        std::set<std::string> codes;
        std::vector<double> shares;  // of records 1, 2, 3, 4
    } cases[] = {
        // 1000.01 over 5 + 3 days: 625.00625 -> 625.01, then the rest.
        {1000.01, {"CH  "}, {625.01, 375.00, 0, 0}},
        // Over 5 + 3 + 3 days by the running sums: 909.10, 545.45, 545.46
        // (each share rounded alone: 909.10 + 545.46 + 545.46 = 2000.02).
        {2000.01, {"CH  ", "CH1 "}, {909.10, 545.45, 0, 545.46}},
        // A negative amount (a correction) is shared the same way.
        {-100.00, {"CH  ", "ZO  "}, {-50.00, -30.00, -20.00, 0}},
        // A component of none of the month's codes declares nothing.
        {500.00, {"ZC  "}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        double sum = 0;
        for (uint32_t r = 1; r <= 4; ++r) {
            const double got = Share(c.amount, {r}, c.codes);
            EXPECT_DOUBLE_EQ(got, c.shares[r - 1]) << c.amount << " record " << r;
            sum += got;
        }
        if (c.shares != std::vector<double>{0, 0, 0, 0}) {
            EXPECT_NEAR(sum, c.amount, 1e-9) << c.amount;
        }
    }
}

TEST(BenefitShare, ThreeEqualAbsencesShareAnAmountThatDoesNotDivideEvenly) {
    BenefitLineContext c;
    c.served = {{7, "CH  ", 1}, {8, "CH  ", 1}, {9, "CH  ", 1}};
    std::vector<double> got;
    for (uint32_t r : {7u, 8u, 9u}) {
        c.line = {r};
        got.push_back(BenefitShare(100.00, c, {"CH  "}));
    }
    EXPECT_EQ(got, (std::vector<double>{33.33, 33.34, 33.33}));
}

TEST(BenefitShare, ALineOfSeveralAbsencesDeclaresTheirSharesTogether) {
    // Once a month: records 1 and 2 make one line.
    EXPECT_DOUBLE_EQ(Share(1000.01, {1, 2}, {"CH  "}), 1000.01);
    EXPECT_DOUBLE_EQ(Share(2000.01, {1, 2}, {"CH  ", "CH1 "}), 1454.55);
}

TEST(BenefitShare, OutsideABenefitLineOrWithoutDaysTheShareIsNothing) {
    EXPECT_EQ(Share(1000.00, {}, {"CH  "}), 0);
    BenefitLineContext c;
    c.served = {{1, "CH  ", 0}};
    c.line = {1};
    EXPECT_EQ(BenefitShare(1000.00, c, {"CH  "}), 0);
}

std::string Eval(formula::Runtime& engine, const std::string& text) {
    formula::Program p;
    formula::Error err;
    formula::Value v;
    if (!engine.Compile(text, &p, &err) || !engine.Evaluate(p, &v, &err))
        return "error: " + err.Message();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v.number());
    return buf;
}

TEST(BenefitShare, TheFormulaFunctionReadsTheLineBeingWrittenAndItsCodeList) {
    BenefitLineContext c = Month();
    formula::Runtime engine;
    RegisterBenefitShare(engine, &c);
    c.line = {4};
    // Codes as LISTA_NB is written: blanks and case do not matter.
    EXPECT_EQ(Eval(engine, "UDZIALNB(2000.01, \" ch , Ch1\")"), "545.46");
    c.line = {2};
    EXPECT_EQ(Eval(engine, "UDZIALNB(2000.01, \"CH,CH1\")"), "545.45");
    EXPECT_EQ(Eval(engine, "UDZIALNB(1000, \"ZC\")"), "0.00");
    EXPECT_NE(Eval(engine, "UDZIALNB(\"1000\", \"CH\")").rfind("error: ", 0), std::string::npos);
    EXPECT_NE(Eval(engine, "UDZIALNB(1000, 5)").rfind("error: ", 0), std::string::npos);
}

}  // namespace
}  // namespace kestrel::insurance
