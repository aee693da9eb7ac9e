#include "worktime/data/absence_dictionaries.h"

#include <gtest/gtest.h>

#include "common/tables/table_catalogue.h"

namespace kestrel::worktime {
namespace {

using common::DictionaryField;
using common::FieldKind;

// A misspelt field or a kind that does not fit its field would only show
// when an operator opens the dictionary.
TEST(AbsenceDictionaries, AgreeWithTheCatalogue) {
    for (const char* menu : {"3.7.4", "3.7.6", "3.7.7"}) {
        SCOPED_TRACE(menu);
        const common::Dictionary* d = FindAbsenceDictionary(menu);
        ASSERT_NE(d, nullptr);
        const common::TableLayout* t = common::FindTable(d->table);
        ASSERT_NE(t, nullptr);
        ASSERT_GE(t->FieldIndex(d->key_field), 0);
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
            if (!f.allowed_words.empty()) {
                EXPECT_EQ(f.allowed_words.size(), f.allowed.size()) << f.field;
            }
        }
    }
}

// Every field of the absence codes is maintained: a field left out could
// only be set by editing the table.
TEST(AbsenceDictionaries, AbsenceCodesAskEveryFieldOfTheTable) {
    const common::Dictionary* d = FindAbsenceDictionary("3.7.4");
    ASSERT_NE(d, nullptr);
    const common::TableLayout* t = common::FindTable("PKRNB");
    ASSERT_NE(t, nullptr);
    for (const auto& field : t->fields) {
        if (d->key_field == field.name) continue;
        bool asked = false;
        for (const DictionaryField& f : d->fields) asked = asked || f.field == field.name;
        EXPECT_TRUE(asked) << field.name;
    }
}

}  // namespace
}  // namespace kestrel::worktime
