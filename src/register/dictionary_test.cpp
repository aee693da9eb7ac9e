#include "register/data/dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "common/tables/table_catalogue.h"
#include "register/dictionary_fields.h"

namespace kestrel::registry {
namespace {

TEST(CompleteKey, PadsOneDigitOfATwoDigitNumericKeyAndNothingElse) {
    struct Case {
        const char* menu;
        const char* typed;
        int width;
        const char* stored;
    };
    const Case cases[] = {
        {"2.7.4", "5 ", 2, "05"}, {"2.7.4", " 5", 2, "05"},   {"2.7.4", "12", 2, "12"},
        {"2.8.4", "7", 2, "07"},  {"2.7.8", "3", 2, "03"},    {"2.7.8", "A", 2, "A "},
        {"2.7.7", "5", 2, "5 "},  {"2.7.2", "AB", 4, "AB  "}, {"2.8.3", "1", 3, "1  "},
        {"2.7.C", "P", 1, "P"},   {"2.7.4", "  ", 2, ""},     {"2.7.2", "", 4, ""},
    };
    for (const Case& c : cases) {
        const Dictionary* d = FindDictionary(c.menu);
        ASSERT_NE(d, nullptr) << c.menu;
        EXPECT_EQ(CompleteKey(*d, c.typed, c.width), c.stored) << c.menu << " '" << c.typed << "'";
    }
}

// The descriptions must match the catalogue's layouts: a misspelt field or
// index would only show when an operator opens the dictionary.
TEST(Dictionaries, AgreeWithTheCatalogue) {
    std::set<std::string> menus;
    for (const Dictionary& d : Dictionaries()) {
        SCOPED_TRACE(d.menu);
        EXPECT_TRUE(menus.insert(d.menu).second);
        const common::TableLayout* t = common::FindTable(d.table);
        ASSERT_NE(t, nullptr);
        const int key = t->FieldIndex(d.key_field);
        ASSERT_GE(key, 0);
        EXPECT_EQ(t->fields[static_cast<size_t>(key)].type, 'C');
        EXPECT_GE(t->FieldIndex(d.name_field), 0);
        for (const DictionaryField& f : d.fields) {
            const int i = t->FieldIndex(f.field);
            ASSERT_GE(i, 0) << f.field;
            const char type = t->fields[static_cast<size_t>(i)].type;
            const char expected = f.kind == FieldKind::kMemo     ? 'M'
                                  : f.kind == FieldKind::kChoice ? 'L'
                                                                 : 'C';
            EXPECT_EQ(type, expected) << f.field;
            if (!f.code_of.empty()) {
                EXPECT_FALSE(CodeFieldOf(f.code_of).table.empty());
            }
            if (!f.unique_index.empty()) {
                EXPECT_NE(t->FindIndex(f.unique_index), nullptr) << f.unique_index;
                EXPECT_NE(std::find(d.indexes.begin(), d.indexes.end(), f.unique_index),
                          d.indexes.end())
                    << "the dialog must open " << f.unique_index;
            }
        }
        if (d.indexes.empty()) {
            EXPECT_TRUE(t->indexes.empty()) << "an index the dialog does not use";
        } else {
            for (const std::string& i : d.indexes) EXPECT_NE(t->FindIndex(i), nullptr) << i;
            std::string first = t->FindIndex(d.indexes.front())->key;
            std::string key_lower = d.key_field;
            for (char& c : key_lower) c = static_cast<char>(std::tolower(c));
            EXPECT_EQ(first, key_lower) << "the first index must be by the key";
        }
        // Two-digit padding only where the key is two characters wide.
        if (d.zero_pad) {
            EXPECT_EQ(t->fields[static_cast<size_t>(key)].length, 2);
        }
        // A formula symbol must fit the four characters of the namespace.
        if (d.formula_symbol) {
            EXPECT_EQ(t->fields[static_cast<size_t>(key)].length, 4);
        }
    }
    EXPECT_EQ(menus.size(), 23u);  // 2.7.2-2.7.E and 2.8.2-2.8.B
}

}  // namespace
}  // namespace kestrel::registry
