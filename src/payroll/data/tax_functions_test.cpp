#include "payroll/data/tax_functions.h"

#include <gtest/gtest.h>

#include "headless_runtime.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"
#include "tax/data/tax_scale.h"

namespace kestrel::payroll {
namespace {

struct Engine {
    kestrel::testing::HeadlessRuntime h;
    formula::Runtime engine{nullptr, h.rt.formulas()};

    Engine() { RegisterTaxFunctions(h.rt, engine); }

    // The value in canonical form, or the error's message (UTF-8).
    std::string Eval(const std::string& text) {
        formula::Program p;
        formula::Error e;
        formula::Value v;
        if (!engine.Compile(codepage::FromUtf8(text), &p, &e) || !engine.Evaluate(p, &v, &e))
            return codepage::ToUtf8(e.Message());
        return codepage::ToUtf8(formula::Canonical(v));
    }
};

TEST(TaxFunctions, StawkapodReadsTheLoadedScale) {
    Engine e;
    EXPECT_EQ(e.Eval("STAWKAPOD(1000)"), "0.00");  // nothing loaded yet
    // The scale of 2021: 17 % up to 85 528, 32 % above.
    tax::Publish(e.h.rt.config(),
                 tax::Loaded({{2021, 1, 12, 0, 85528, 0, 17, 525.12},
                              {2021, 1, 12, 85528, tax::kOpenBound, 14539.76, 32, 525.12}},
                             2021));
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"STAWKAPOD(0)", "17.00"},
        {"STAWKAPOD(85528)", "17.00"},  // at the bracket's limit
        {"STAWKAPOD(85528.01)", "32.00"},
        {"STAWKAPOD(2000000000)", "32.00"},  // above every closed bracket
        {"STAWKAPOD()", "0"},                // no amount
        {"STAWKAPOD(\"85528\")", "Błędny argument funkcji STAWKAPOD()"},
        {"STAWKAPOD(.T.)", "Błędny argument funkcji STAWKAPOD()"},
    };
    for (const auto& c : cases) EXPECT_EQ(e.Eval(c.formula), c.result) << c.formula;
}

TEST(TaxFunctions, UlgaksFollowsTheTwoFormulasOfTheFirstFiveMonths) {
    Engine e;
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"ULGAKS(6000, 1)", "119.41"},   // (400.80 - 380.50) / 0.17
        {"ULGAKS(6000, 6)", "0.00"},     // no relief after May
        {"ULGAKS(5700, 1)", "0.00"},     // below the range
        {"ULGAKS(5701, 1)", "1.92"},     // (380.8268 - 380.50) / 0.17
        {"ULGAKS(9000, 1)", "926.94"},   // (819.08 - 661.50) / 0.17
        {"ULGAKS(11141, 1)", "1.27"},    // (819.08 - 818.8635) / 0.17
        {"ULGAKS(11142, 1)", "0.00"},    // above the range
        {"ULGAKS(20000, 2)", "989.18"},  // (1638.16 - 1470) / 0.17 = 989.176…
        {"ULGAKS(12000, 2)", "238.82"},  // (801.60 - 761.00) / 0.17
        {"ULGAKS(\"6000\", 1)", "Błędny argument 1 funkcji ULGAKS"},
        {"ULGAKS(6000, \"1\")", "Błędny argument 2 funkcji ULGAKS"},
        {"ULGAKS(6000)", "Błędny argument 2 funkcji ULGAKS"},
        {"ULGAKS(6000, 0)", "Błędna wart.arg. 2 funkcji ULGAKS"},
        {"ULGAKS(6000, 13)", "Błędna wart.arg. 2 funkcji ULGAKS"},
        {"ULGAKS(6000, 1.5)", "Błędna wart.arg. 2 funkcji ULGAKS"},
    };
    for (const auto& c : cases) EXPECT_EQ(e.Eval(c.formula), c.result) << c.formula;
}

}  // namespace
}  // namespace kestrel::payroll
