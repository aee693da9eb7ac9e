#include "insurance/data/record_files.h"

#include <gtest/gtest.h>

namespace kestrel::insurance {
namespace {

RecordColumn Column(RecordKind kind, const std::string& field) {
    for (const RecordColumn& c : DescribeRecords(kind).columns)
        if (c.field == field) return c;
    ADD_FAILURE() << field;
    return {};
}

// What a correction may store, field by field.
TEST(RecordFiles, TheCorrectionRules) {
    struct Case {
        RecordKind kind;
        const char* field;
        CellValue value;
        bool accepted;
    } const cases[] = {
        {RecordKind::kContributions, "UMOWA_DEKL", {" "}, true},
        {RecordKind::kContributions, "UMOWA_DEKL", {"U"}, true},
        {RecordKind::kContributions, "UMOWA_DEKL", {"D"}, true},
        {RecordKind::kContributions, "UMOWA_DEKL", {"X"}, false},
        {RecordKind::kContributions, "FORMA_OPOD", {"6"}, true},
        {RecordKind::kContributions, "FORMA_OPOD", {"7"}, false},
        {RecordKind::kContributions, "FORMA_OPOD", {" "}, false},
        {RecordKind::kContributions, "PROC_UBSP", {"", 1.67}, true},
        {RecordKind::kContributions, "PROC_UBSP", {"", -0.01}, false},
        {RecordKind::kContributions, "KWO_E_PRAC", {"", 0}, true},
        {RecordKind::kContributions, "KWO_E_PRAC", {"", -1}, false},
        {RecordKind::kContributions, "NR_PRAC", {"000002"}, false},
        {RecordKind::kContributions, "KOREKTA_", {"", 0, true}, false},
        {RecordKind::kContributions, "NIE_AKT_62", {"", 0, true}, true},
        {RecordKind::kComponents, "WYP_MC_P", {"", 0, true}, false},
        {RecordKind::kTotals, "ETAT_", {"", -0.5}, false},
        {RecordKind::kPeriods, "DATA_OD", {"", 0, false, "20261201"}, false},
        {RecordKind::kPeriods, "DO_DATA", {"", 0, false, "20261215"}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AcceptableCell(Column(c.kind, c.field), c.value), c.accepted)
            << c.field << " " << c.value.text << c.value.number;
}

// The contributions browse has its 45 columns, two more with the PPK.
TEST(RecordFiles, TheContributionColumns) {
    EXPECT_EQ(DescribeRecords(RecordKind::kContributions).columns.size(), 45u);
    const RecordFile ppk = DescribeRecords(RecordKind::kContributions, true);
    EXPECT_EQ(ppk.columns.size(), 47u);
    EXPECT_EQ(ppk.columns.back().field, "NIE_AKT_62");
}

}  // namespace
}  // namespace kestrel::insurance
