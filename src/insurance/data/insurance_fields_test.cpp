#include "insurance/data/insurance_fields.h"

#include <gtest/gtest.h>

#include "common/tables/table_catalogue.h"

namespace kestrel::insurance {
namespace {

TEST(Qrmlstnb, SplitsTrimsUpperCasesAndPadsTheCodes) {
    struct Case {
        std::string text;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {"", {}},
        {"BZ", {"BZ  "}},
        {" bz , ch,URL1", {"BZ  ", "CH  ", "URL1"}},
        {"BZ,,CH", {"BZ  ", "CH  "}},         // an empty token is ignored
        {"BZ,TOOLONG,CH", {"BZ  ", "CH  "}},  // so is one over four characters
        {"B\r\nZ,C\x8dH", {"BZ  ", "CH  "}},  // line breaks and soft breaks removed
        {"BZ,", {"BZ  "}},
    };
    for (const Case& c : cases) EXPECT_EQ(Qrmlstnb(c.text), c.codes) << c.text;
}

// Every field a list names is a field of the target table and a memo of
// its algorithm table: a misspelt name would silently compute nothing.
TEST(FieldLists, NameFieldsOfTheTargetAndMemosOfTheAlgorithmTable) {
    struct Case {
        const std::vector<std::string>& fields;
        const char* target;
        const char* algorithms;
    };
    const Case cases[] = {
        {Qrmtbs(true), "PKSKLAD", "PKASKLD"}, {Qrmtbz(), "PKZASIL", "PKAZASL"},
        {Qrmtbk(), "PKKSKWN", "PKASKWN"},     {Qrmtbp(), "PKPODST", "PKAPDST"},
        {Qrmtbw1(), "PKWYNAG", "PKAWYNG"},    {Qrmtbw2(), "PKWYNAG", "PKAWYNG"},
    };
    for (const Case& c : cases) {
        const auto target = common::FindTable(c.target)->Specs();
        const auto algorithms = common::FindTable(c.algorithms)->Specs();
        for (const std::string& f : c.fields) {
            bool in_target = false, memo = false;
            for (const auto& s : target) in_target = in_target || s.name == f;
            for (const auto& s : algorithms)
                memo = memo || (s.name == f && s.type == dbf::FieldType::kMemo);
            EXPECT_TRUE(in_target) << c.target << " " << f;
            EXPECT_TRUE(memo) << c.algorithms << " " << f;
        }
    }
    EXPECT_EQ(Qrmtbs(true).size(), Qrmtbs(false).size() + 1);
    EXPECT_EQ(Qrmtbs(true).back(), "KW_PPK_ZAK");
    for (const std::string& f : Qrmtbs(false)) EXPECT_NE(f, "KW_PPK_ZAK");
}

}  // namespace
}  // namespace kestrel::insurance
