#include "payroll/data/tax_form_rows.h"

#include <gtest/gtest.h>

#include "common/tables/table_catalogue.h"

namespace kestrel::payroll {
namespace {

constexpr const char* kTwoForms =
    "# comment\n"
    "\n"
    "FIELD LP_PIT8CN PIT-8C (10)\n"
    "SOURCE https://example.org/pit-8c Informacja PIT-8C\n"
    "ROW 1  Przychody z tytułu pierwszego\n"
    "ROW 2 Przychody z tytułu drugiego\n"
    "FIELD LP_PIT8AN PIT-8AR (9)\n"
    "SOURCE https://example.org/pit-8ar Deklaracja PIT-8AR\n"
    "ROW 10A Wiersz dziesiąty\n";

TEST(TaxFormRows, ReadsBlocksWithSourcesAndLabels) {
    std::vector<TaxFormRows> blocks;
    std::string error;
    ASSERT_TRUE(ParseTaxFormRows(kTwoForms, &blocks, &error)) << error;
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].field, "LP_PIT8CN");
    EXPECT_EQ(blocks[0].form, "PIT-8C (10)");
    EXPECT_EQ(blocks[0].source, "https://example.org/pit-8c Informacja PIT-8C");
    ASSERT_EQ(blocks[0].rows.size(), 2u);
    EXPECT_EQ(blocks[0].rows[0].first, "1");
    EXPECT_EQ(blocks[0].rows[0].second, "Przychody z tytułu pierwszego");
    EXPECT_EQ(blocks[1].rows[0].first, "10A");
    EXPECT_EQ(FindTaxFormRows(blocks, "LP_PIT8AN"), &blocks[1]);
    EXPECT_EQ(FindTaxFormRows(blocks, "LP_PIT4"), nullptr);
    EXPECT_EQ(TaxFormRowValues(blocks[0]), (std::vector<std::string>{"", "1", "2"}));
}

// Every malformed line is reported with its number, and nothing is kept.
TEST(TaxFormRows, MalformedLinesAreReported) {
    const std::string head = "FIELD LP_PIT8CN PIT-8C (10)\nSOURCE https://example.org x\n";
    struct Case {
        std::string text;
        const char* error;
    } const cases[] = {
        {"ROW 1 a\n", "line 1: outside a block"},
        {"SOURCE https://example.org\n", "line 1: outside a block"},
        {"FIELD LP_PIT8CN\n", "line 1: field and form expected"},
        {"FIELD LP_PIT8CN PIT-8C\nROW 1 a\n", "line 2: row before the source"},
        {"FIELD LP_PIT8CN PIT-8C\nSOURCE\n", "line 2: source expected"},
        {head + "SOURCE again\nROW 1 a\n", "line 3: second source"},
        {head + "ROW 1\n", "line 3: value and label expected"},
        {head + "ROW\n", "line 3: value and label expected"},
        {head + "ROW 1234 a\n", "line 3: value longer than three characters"},
        {head + "ROW 1 a\nROW 1 b\n", "line 4: value listed twice"},
        {head + "RW 1 a\n", "line 3: unknown line"},
        {head, "line 1: no rows"},
        {head + "FIELD LP_PIT4 PIT-4 (1)\n", "line 1: no rows"},
        {head + "ROW 1 a\n" + head, "line 4: field listed twice"},
    };
    for (const Case& c : cases) {
        std::vector<TaxFormRows> blocks;
        std::string error;
        EXPECT_FALSE(ParseTaxFormRows(c.text, &blocks, &error)) << c.text;
        EXPECT_EQ(error, c.error) << c.text;
        EXPECT_TRUE(blocks.empty()) << c.text;
    }
}

// A blank value is always allowed; a listed value is allowed with the
// blanks the field pads it with; others, and a value of another field's
// list, are refused.
TEST(TaxFormRows, AllowedValuesPerField) {
    std::vector<TaxFormRows> blocks;
    std::string error;
    ASSERT_TRUE(ParseTaxFormRows(kTwoForms, &blocks, &error)) << error;
    struct Case {
        const char* field;
        const char* value;
        bool allowed;
    } const cases[] = {
        {"LP_PIT8CN", "", true},    {"LP_PIT8CN", "  ", true},  {"LP_PIT8CN", "1", true},
        {"LP_PIT8CN", "2 ", true},  {"LP_PIT8CN", "3", false},  {"LP_PIT8CN", "10A", false},
        {"LP_PIT8CN", " 1", false}, {"LP_PIT8AN", "10A", true}, {"LP_PIT8AN", "1", false},
        {"LP_PIT8AN", "", true},
    };
    for (const Case& c : cases) {
        const TaxFormRows* rows = FindTaxFormRows(blocks, c.field);
        ASSERT_NE(rows, nullptr) << c.field;
        EXPECT_EQ(TaxFormRowAllowed(*rows, c.value), c.allowed)
            << c.field << " '" << c.value << "'";
    }
}

// The shipped file parses, and each block names a character field of the
// income kinds wide enough for its values.
TEST(TaxFormRows, ShippedFileParsesAndFitsTheIncomeKinds) {
    std::vector<TaxFormRows> blocks;
    std::string error;
    ASSERT_TRUE(ParseTaxFormRows(ShippedTaxFormRowsText(), &blocks, &error)) << error;
    EXPECT_EQ(ShippedTaxFormRows().size(), blocks.size());
    const common::TableLayout* kinds = common::FindTable("PKRDOCH");
    ASSERT_NE(kinds, nullptr);
    for (const TaxFormRows& b : blocks) {
        int width = 0;
        for (const dbf::FieldSpec& f : kinds->Specs())
            if (f.name == b.field && f.type == dbf::FieldType::kCharacter) width = f.length;
        EXPECT_GT(width, 0) << b.field;
        for (const auto& [value, label] : b.rows)
            EXPECT_LE(static_cast<int>(value.size()), width) << b.field << " " << value;
    }
}

}  // namespace
}  // namespace kestrel::payroll
