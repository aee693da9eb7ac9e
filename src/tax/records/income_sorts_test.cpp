#include "tax/records/income_sorts.h"

#include <gtest/gtest.h>

#include "tax_company.h"
#include "worktime/data/open_once.h"

namespace kestrel::tax {
namespace {

using testing::TaxCompany;

TEST(IncomeSorts, SeekKeysFollowTheIndexesAndEndAtTheFirstFieldNotGiven) {
    struct Case {
        IncomeSort sort;
        IncomeSeek fields;
        const char* want;
    } cases[] = {
        {IncomeSort::kByMonth, {2026, 3, 0, "1", "1"}, "2026031   000001"},
        {IncomeSort::kByMonth, {2026, 3, 0, "000001", ""}, "202603"},
        {IncomeSort::kByMonth, {2026, 0, 0, "000001", "0001"}, "2026"},
        {IncomeSort::kByMonth, {0, 3, 0, "000001", "0001"}, ""},
        {IncomeSort::kByEmployee, {2026, 12, 0, "42", "0004"}, "0000422026120004"},
        {IncomeSort::kByEmployee, {2026, 0, 0, "42", "0004"}, "0000422026"},
        {IncomeSort::kByEmployee, {0, 0, 0, "", "0004"}, ""},
        {IncomeSort::kByList, {2026, 0, 12, "7", "0001"}, "2026  120000070001"},
        {IncomeSort::kByList, {2026, 0, 0, "7", "0001"}, "2026"},
        {IncomeSort::kByList, {0, 0, 12, "7", "0001"}, ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(SeekKey(k.sort, k.fields), k.want)
            << static_cast<int>(k.sort) << " " << k.fields.year;
    EXPECT_EQ(SortIndex(IncomeSort::kByMonth), "PKDOCH4");
    EXPECT_EQ(SortIndex(IncomeSort::kByEmployee), "PKDOCH3");
    EXPECT_EQ(SortIndex(IncomeSort::kByList), "PKDOCH1");
}

// The three outcomes of a seek: found, the next record, and past the end
// (where the area goes back to the record it stood on, the fourth).
TEST(IncomeSorts, SeekFindsStopsOnTheNextRecordOrStaysAtTheEnd) {
    TaxCompany c;
    auto doch = [&](const char* employee, const char* paid, int list, const char* kind) {
        c.Add("PKDOCH", {{"NR_PRAC", employee},
                         {"ROK_LST", "2026"},
                         {"TYP_LST", "A"},
                         {"NR_LST", std::to_string(list)},
                         {"MC_LST", std::string(paid).substr(4, 2)},
                         {"DATA_WYP", paid},
                         {"TYTUL_WYP", kind}});
    };
    doch("000002", "20260310", 1, "0001");  // 1
    doch("000001", "20260310", 1, "0001");  // 2
    doch("000001", "20260415", 2, "0004");  // 3
    doch("000003", "20260510", 3, "0001");  // 4
    dbf::WorkArea& a = worktime::OpenOnce(c.tables, "PKDOCH", SortIndexes());
    struct Case {
        IncomeSort sort;
        IncomeSeek fields;
        SeekOutcome want;
        uint32_t record;  // where the area stands afterwards
    } cases[] = {
        {IncomeSort::kByMonth, {2026, 3, 0, "2", "0001"}, SeekOutcome::kFound, 1},
        {IncomeSort::kByMonth, {2026, 4, 0, "", ""}, SeekOutcome::kFound, 3},
        {IncomeSort::kByMonth, {2026, 4, 0, "", "0002"}, SeekOutcome::kNextRecord, 3},
        {IncomeSort::kByMonth, {2026, 6, 0, "", ""}, SeekOutcome::kEndOfFile, 4},
        {IncomeSort::kByEmployee, {2026, 0, 0, "1", ""}, SeekOutcome::kFound, 2},
        {IncomeSort::kByEmployee, {2026, 4, 0, "1", ""}, SeekOutcome::kFound, 3},
        {IncomeSort::kByEmployee, {2026, 0, 0, "4", ""}, SeekOutcome::kEndOfFile, 4},
        {IncomeSort::kByList, {2026, 0, 2, "", ""}, SeekOutcome::kFound, 3},
        {IncomeSort::kByList, {2026, 0, 1, "1", "0004"}, SeekOutcome::kNextRecord, 1},
        {IncomeSort::kByList, {2027, 0, 0, "", ""}, SeekOutcome::kEndOfFile, 4},
    };
    for (const Case& k : cases) {
        worktime::OrderBy(a, SortIndex(k.sort));
        ASSERT_TRUE(a.Goto(4).ok());
        EXPECT_EQ(SeekIncome(a, SeekKey(k.sort, k.fields)), k.want) << SeekKey(k.sort, k.fields);
        EXPECT_EQ(a.recno(), k.record) << SeekKey(k.sort, k.fields);
    }
    EXPECT_EQ(SeekMessage(SeekOutcome::kNextRecord), "Brak klucza - następny rekord");
    EXPECT_EQ(SeekMessage(SeekOutcome::kEndOfFile), "Brak klucza - koniec zbioru");
    EXPECT_EQ(SeekMessage(SeekOutcome::kFound), "");
}

}  // namespace
}  // namespace kestrel::tax
