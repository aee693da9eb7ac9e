#include "worktime/data/dictionaries.h"

#include <gtest/gtest.h>

#include "common/tables/table_catalogue.h"

namespace kestrel::worktime {
namespace {

using common::DictionaryField;
using common::FieldKind;

// A misspelt field or a kind that does not fit its field would only show
// when an operator opens the dictionary.
TEST(WorktimeDictionaries, AgreeWithTheCatalogue) {
    for (const char* menu : {"3.7.2", "3.7.3", "3.7.5", "3.7.8", "3.7.9"}) {
        SCOPED_TRACE(menu);
        const common::Dictionary* d = FindDictionary(menu);
        ASSERT_NE(d, nullptr);
        const common::TableLayout* t = common::FindTable(d->table);
        ASSERT_NE(t, nullptr);
        ASSERT_GE(t->FieldIndex(d->key_field), 0);
        if (!d->second_key.field.empty()) {
            ASSERT_GE(t->FieldIndex(d->second_key.field), 0);
        }
        ASSERT_GE(t->FieldIndex(d->name_field), 0);
        for (const std::string& i : d->indexes) EXPECT_NE(t->FindIndex(i), nullptr) << i;
        for (const DictionaryField& f : d->fields) {
            const int i = t->FieldIndex(f.field);
            ASSERT_GE(i, 0) << f.field;
            const char type = t->fields[static_cast<size_t>(i)].type;
            const char expected = f.kind == FieldKind::kMemo || f.kind == FieldKind::kFormula ? 'M'
                                  : f.kind == FieldKind::kLogical                             ? 'L'
                                  : f.kind == FieldKind::kNumber                              ? 'N'
                                                                                              : 'C';
            EXPECT_EQ(type, expected) << f.field;
            if (!f.when_set.empty()) {
                EXPECT_EQ(t->fields[static_cast<size_t>(t->FieldIndex(f.when_set))].type, 'L');
            }
        }
    }
    EXPECT_EQ(FindDictionary("3.7.4"), nullptr);  // absence codes are not kept here
}

}  // namespace
}  // namespace kestrel::worktime
