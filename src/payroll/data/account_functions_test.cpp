#include "payroll/data/account_functions.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {
namespace {

// The formula's value in canonical form, or its error's text (UTF-8).
std::string Eval(const std::string& text) {
    formula::Runtime rt;
    RegisterAccountFunctions(rt);
    formula::Program p;
    formula::Error e;
    formula::Value v;
    if (!rt.Compile(codepage::FromUtf8(text), &p, &e) || !rt.Evaluate(p, &v, &e))
        return codepage::ToUtf8(e.Message());
    return codepage::ToUtf8(formula::Canonical(v));
}

TEST(AccountFunctions, NrbOkJudgesTheCheckDigits) {
    struct Case {
        const char* account;
        bool ok;
    } cases[] = {
        {"61109010140000071219812874", true},
        {"61 1090 1014 0000 0712 1981 2874", true},  // as printed on a statement
        {"PL61109010140000071219812874", true},
        {"pl 92 1020-4055-0000-1234-5678-9012", true},
        {"  63114020040000361234567890  ", true},  // field padding
        {"61109010140000071219812875", false},     // last digit changed
        {"16109010140000071219812874", false},     // check digits swapped
        {"61109010140000071219818274", false},     // two digits transposed
        {"6110901014000007121981287", false},      // 25 digits
        {"611090101400000712198128740", false},    // 27 digits
        {"DE61109010140000071219812874", false},   // another country
        {"61109010140000O71219812874", false},     // a letter O for a zero
        {"10901014-712198128", false},             // the old form: no NRB
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(std::string("nrb_ok(\"") + c.account + "\")"), c.ok ? ".T." : ".F.")
            << c.account;
    // Not a text (an empty numeric field read by mistake): false, not an error.
    EXPECT_EQ(Eval("nrb_ok(0)"), ".F.");
}

TEST(AccountFunctions, NrbGivesTheBareDigitsOrNothing) {
    EXPECT_EQ(Eval("nrb(\"PL 91 1050 1445 0000 0022 1101 4512\")"),
              "\"91105014450000002211014512\"");
    EXPECT_EQ(Eval("substr(nrb(\"56 2490 0005 0000 4000 1234 5678\"),3,8)"), "\"24900005\"");
    EXPECT_EQ(Eval("nrb(\"56 2490 0005 0000 4000 1234 5679\")"), "\"\"");
    EXPECT_EQ(Eval("nrb(12)"), "Błąd operacji \"NRB\" (1)");
}

TEST(AccountFunctions, RorTekstMakesATextFieldOfABankLine) {
    EXPECT_EQ(Eval("ror_tekst('  \"KESTREL\" Sp. z o.o.  ')"), "\"'KESTREL' Sp. z o.o.\"");
    // 80 characters: three lines of 35, 35 and 10.
    EXPECT_EQ(Eval("ror_tekst(replicate('a',35) + replicate('b',35) + replicate('c',10))"),
              "\"" + std::string(35, 'a') + "|" + std::string(35, 'b') + "|cccccccccc\"");
    EXPECT_EQ(Eval("ror_tekst(replicate('a',40), 1)"), "\"" + std::string(35, 'a') + "\"");
    EXPECT_EQ(Eval("ror_tekst(replicate('x',200))").size(), 4 * 35 + 3 + 2u);
    EXPECT_EQ(Eval("ror_tekst('')"), "\"\"");
    EXPECT_EQ(Eval("ror_tekst('a', 5)"), "Błąd operacji \"ROR_TEKST\" (2)");
}

TEST(AccountFunctions, PrzerwijStopsWithItsText) {
    EXPECT_EQ(Eval("iif(nrb_ok(\"1\"), \"linia\", przerwij(\"Błędny Nr rachunku 000007\"))"),
              "Błędny Nr rachunku 000007");
    // The other branch is not evaluated.
    EXPECT_EQ(Eval("iif(nrb_ok(\"61109010140000071219812874\"), \"linia\", przerwij(\"x\"))"),
              "\"linia\"");
}

}  // namespace
}  // namespace kestrel::payroll
