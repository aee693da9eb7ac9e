#include "insurance/dictionaries.h"

#include <gtest/gtest.h>

#include "test_company.h"

namespace kestrel::insurance {
namespace {

namespace key = console::key;
using registry::testing::TestCompany;
using V = std::vector<std::string>;

// A new code with its name is stored in each dictionary by an operator of
// kind 3; one of kind 6 only browses (Ins changes nothing).
TEST(InsuranceDictionaries, NewCodesNeedKindThree) {
    struct Case {
        common::Dictionary d;
        const char* code;
        const char* field;
    } const cases[] = {{BenefitCodes(), "313", "KOD_SW_PRZ"},
                       {RemunerationCodes(), "11", "KOD_WYNAGR"}};
    for (const Case& k : cases) {
        TestCompany c;
        c.Make(k.d.table);
        c.h.rt.operators() = {true, "JAN ", 32};
        c.Keys({key::kIns, key::kEsc});
        RunInsuranceDictionary(c.h.rt, k.d);
        EXPECT_EQ(c.Records(k.d.table, k.field), V{}) << k.d.table;
        c.h.rt.operators() = {true, "JAN ", 4};
        c.Keys({key::kIns});
        c.Keys(k.code);
        c.Keys({key::kEnter});
        c.Keys("Zasiłek");
        c.Keys({key::kEnter, key::kEsc});
        RunInsuranceDictionary(c.h.rt, k.d);
        EXPECT_EQ(c.Records(k.d.table, k.field), V{k.code}) << k.d.table;
        EXPECT_EQ(c.Records(k.d.table, "NAZWA_"), V{"Zasiłek"}) << k.d.table;
        EXPECT_TRUE(c.h.backend.exhausted()) << k.d.table;
    }
}

}  // namespace
}  // namespace kestrel::insurance
