#include "common/tables/table_catalogue.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <vector>

namespace kestrel::common {
namespace {

// Field names a key expression or condition refers to: identifiers not
// followed by "(" and outside quotes and .and./.or. operators.
std::vector<std::string> FieldNames(std::string_view expr) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < expr.size()) {
        const char c = expr[i];
        if (c == '"' || c == '\'') {
            i = expr.find(c, i + 1);
            i = i == std::string_view::npos ? expr.size() : i + 1;
        } else if (c == '.') {
            size_t end = expr.find('.', i + 1);
            i = end == std::string_view::npos ? expr.size() : end + 1;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            size_t j = i;
            while (j < expr.size() &&
                   (std::isalnum(static_cast<unsigned char>(expr[j])) || expr[j] == '_'))
                ++j;
            if (j >= expr.size() || expr[j] != '(') out.emplace_back(expr.substr(i, j - i));
            i = j;
        } else {
            ++i;
        }
    }
    return out;
}

TEST(TableCatalogue, HoldsEveryLayoutWithItsStatedFieldCount) {
    int layouts = 0;
    std::set<std::string> names;
    for (const TableLayout& t : CatalogueTables()) {
        EXPECT_TRUE(names.insert(t.name).second) << "twice: " << t.name;
        if (t.fields.empty()) continue;
        ++layouts;
        EXPECT_EQ(t.stated_fields, static_cast<int>(t.fields.size())) << t.name;
    }
    EXPECT_EQ(layouts, 117);
    // The profession codes bring their own layout.
    const TableLayout* kzis = FindTable("pkkzis");
    ASSERT_NE(kzis, nullptr);
    EXPECT_TRUE(kzis->fields.empty());
    EXPECT_EQ(kzis->Specs().front().name, "KOD_ZAWODU");
}

TEST(TableCatalogue, FieldsHaveValidNamesTypesAndWidths) {
    for (const TableLayout& t : CatalogueTables()) {
        std::set<std::string> seen;
        for (const CatalogueField& f : t.fields) {
            const std::string name = f.name;
            EXPECT_TRUE(seen.insert(name).second) << t.name << " repeats " << name;
            EXPECT_LE(name.size(), 10u) << t.name << "." << name;
            switch (f.type) {
                case 'C':
                    EXPECT_TRUE(f.length >= 1 && f.length <= 254) << t.name << "." << name;
                    break;
                case 'N':
                    EXPECT_TRUE(f.length >= 1 && f.length <= 19) << t.name << "." << name;
                    if (f.decimals > 0) {
                        EXPECT_LT(f.decimals + 1, f.length) << name;
                    }
                    break;
                case 'L':
                    EXPECT_EQ(f.length, 1) << t.name << "." << name;
                    break;
                case 'D':
                    EXPECT_EQ(f.length, 8) << t.name << "." << name;
                    break;
                case 'M':
                    EXPECT_EQ(f.length, 10) << t.name << "." << name;
                    break;
                default:
                    ADD_FAILURE() << t.name << "." << name << " type " << f.type;
            }
        }
    }
}

TEST(TableCatalogue, KnownLayoutsKeepTheirStoredShape) {
    const TableLayout* prac = FindTable("PKPRAC");
    ASSERT_NE(prac, nullptr);
    uint32_t length = 1;  // deletion flag
    for (const CatalogueField& f : prac->fields) length += f.length;
    EXPECT_EQ(prac->fields.size(), 171u);
    EXPECT_EQ(length, 1633u);
    EXPECT_EQ(prac->indexes.size(), 14u);
    EXPECT_STREQ(prac->indexes.back().name, "PKPRACE");
    EXPECT_STREQ(prac->indexes.back().condition, "os_prawna");

    std::vector<dbf::FieldSpec> ster;
    ASSERT_TRUE(TableStructure("pkster", &ster));
    ASSERT_EQ(ster.size(), 57u);
    EXPECT_EQ(ster.back().name, "MIN_WYN_G");
    EXPECT_EQ(ster.back().type, dbf::FieldType::kNumeric);
    EXPECT_EQ(ster.back().length, 9);
    EXPECT_EQ(ster.back().decimals, 2);
    EXPECT_FALSE(TableStructure("PKNIEMA", &ster));
}

TEST(TableCatalogue, EveryIndexNamesItsTableAndExistingFields) {
    int indexes = 0;
    for (const TableLayout& t : CatalogueTables()) {
        const std::string table = t.name;
        for (const CatalogueIndex& i : t.indexes) {
            ++indexes;
            const std::string name = i.name;
            EXPECT_EQ(name.size(), table.size() + 1) << name;
            EXPECT_EQ(name.substr(0, table.size()), table) << name;
            EXPECT_EQ(IndexDefinitionOf(table, name), &i);
            for (const std::string& f : FieldNames(i.key))
                EXPECT_GE(t.FieldIndex(f), 0) << name << " key uses " << f;
            for (const std::string& f : FieldNames(i.condition))
                EXPECT_GE(t.FieldIndex(f), 0) << name << " condition uses " << f;
        }
    }
    EXPECT_EQ(indexes, 197);  // every index file the catalogue text lists
    EXPECT_EQ(IndexDefinitionOf("PKPRAC", "PKPRACF"), nullptr);
    EXPECT_EQ(IndexDefinitionOf("PKLISTY", "PKPRAC1"), nullptr);
}

TEST(TableCatalogue, MemoTablesAreTheOnesWithMemoFields) {
    // The tables known to carry a .DBT, and two more whose layouts have memo
    // fields (PKZEST, PKJALGS).
    const std::set<std::string> expected = {"PKASKLD", "PKAWYNG", "PKAZASL", "PKASKWN", "PKAPDST",
                                            "PKAOKRN", "PKFUNC",  "PKOPIS",  "PKRNB",   "PKROB",
                                            "PKSPL",   "PKWROR",  "PKEXNGL", "PKEXREC", "PKATRNS",
                                            "PKTYTUB", "PKWYRUB", "PKKPSW",  "PKASPRZ", "PKDEKL",
                                            "PKAINDP", "PKSTAN",  "PKPRZ",   "PKZEST",  "PKJALGS"};
    std::set<std::string> memo;
    for (const TableLayout& t : CatalogueTables())
        if (t.memo()) memo.insert(t.name);
    EXPECT_EQ(memo, expected);
}

TEST(TableCatalogue, CreatableAndSeededTablesAreInTheCatalogue) {
    for (const char* name : {"PKTAB", "PKKZIS", "PKOSPL", "PKETPFR", "pkntbw"}) {
        EXPECT_TRUE(IsCreatable(name)) << name;
        EXPECT_NE(FindTable(name), nullptr) << name;
    }
    EXPECT_FALSE(IsCreatable("PKPRAC"));
    EXPECT_FALSE(IsCreatable("PKSTER"));
    EXPECT_TRUE(HasInitialContent("PKKDURZ"));
    // The payroll setup's tables a company must have get their content only
    // with a new company's tables.
    EXPECT_TRUE(HasInitialContent("PKSPL"));
    EXPECT_FALSE(IsCreatable("PKSPL"));
    EXPECT_FALSE(HasInitialContent("PKPRAC"));
    EXPECT_TRUE(IsOutsideCompany("PKDRUK"));
}

TEST(TableCatalogue, DescriptionsKeepTheirInnerQuotes) {
    EXPECT_STREQ(FindTable("PKZAW")->description, "Pracownicy \"zawieszeni\"");
    EXPECT_STREQ(FindTable("PKPRAC")->description, "Kartoteka pracowników");
    EXPECT_STREQ(FindTable("PKETYK")->description, "");
}

}  // namespace
}  // namespace kestrel::common
