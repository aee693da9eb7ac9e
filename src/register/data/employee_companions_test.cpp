#include "register/data/employee_companions.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;

TEST(ChangeLog, SequencePerEmployeeTableFieldAndDayStopsAt999) {
    Company c;
    common::Tables& t = *c.tables;
    dbf::WorkArea& log = *c.areas.ekprc;
    const ChangeEntry salary{std::string(kLogRegister), 4, "ST_PODST", " 3000.00", " 3500.00"};
    LogChange(t, log, "000001", salary, "20261208", "ADAM");
    LogChange(t, log, "000001", salary, "20261208", "ADAM");
    // Another day, field, table or employee starts again at 1.
    LogChange(t, log, "000001", salary, "20261209", "ADAM");
    LogChange(t, log, "000001", {std::string(kLogRegister), 4, "DZIAL_", "ADM ", "PROD"},
              "20261208", "ADAM");
    LogChange(t, log, "000001", {std::string(kLogAllowances), 9, "ST_PODST", "", "x"}, "20261208",
              "ADAM");
    LogChange(t, log, "000002", salary, "20261208", "EWA ");
    std::vector<int> sequences;
    for (const LoggedChange& e : ReadLog(log, "000001")) sequences.push_back(e.sequence);
    // Key order: table, field, day, sequence.
    EXPECT_EQ(sequences, (std::vector<int>{1, 1, 1, 2, 1}));
    const auto other = ReadLog(log, "000002");
    ASSERT_EQ(other.size(), 1u);
    EXPECT_EQ(other[0].sequence, 1);
    EXPECT_EQ(other[0].ident, "EWA ");
    EXPECT_EQ(other[0].entry.recno, 4u);
    EXPECT_EQ(other[0].entry.old_value, " 3000.00");

    // Near the end of a busy day the sequence stays at 999.
    t.Append(log);
    dbf::Record& r = log.record();
    r.SetString(log.FieldIndex("NR_PRAC"), "000003");
    r.SetString(log.FieldIndex("PLIK_"), "PKPRAC ");
    r.SetString(log.FieldIndex("NAZWA_POLA"), "ST_PODST");
    ASSERT_TRUE(r.SetDate(log.FieldIndex("DATA_AKT"), "20261208").ok());
    ASSERT_TRUE(r.SetNumber(log.FieldIndex("LP_"), 998).ok());
    ASSERT_TRUE(log.Commit().ok());
    ASSERT_TRUE(log.Unlock().ok());
    LogChange(t, log, "000003", salary, "20261208", "ADAM");
    LogChange(t, log, "000003", salary, "20261208", "ADAM");
    sequences.clear();
    for (const LoggedChange& e : ReadLog(log, "000003")) sequences.push_back(e.sequence);
    EXPECT_EQ(sequences, (std::vector<int>{998, 999, 999}));
    c.ExpectIndexesRight(log);
}

TEST(InsuranceTitles, LinesDuplicatesAndDeletionOfLaterLines) {
    Company c;
    common::Tables& t = *c.tables;
    dbf::WorkArea& k = *c.areas.ktyub;
    WriteTitle(t, k, "000001", {1, "0411", "20240101", "20241231", 0});
    WriteTitle(t, k, "000001", {2, "0510", "20250101", "", 0});
    WriteTitle(t, k, "000001", {3, "0110", "20250201", "", 0});
    WriteTitle(t, k, "000002", {1, "0411", "20240101", "", 0});
    // Rewriting a line changes it in place.
    WriteTitle(t, k, "000001", {2, "0512", "20250101", "20250630", 0});
    auto titles = ReadTitles(k, "000001");
    ASSERT_EQ(titles.size(), 3u);
    EXPECT_EQ(titles[1].title, "0512");
    EXPECT_EQ(titles[1].to, "20250630");
    // An empty title on line 2 ends the list: lines 2 and 3 go.
    DeleteTitlesFrom(t, k, "000001", 2);
    titles = ReadTitles(k, "000001");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(ReadTitles(k, "000002").size(), 1u);
    // A deleted line is recalled, not appended again.
    const uint32_t count = k.table().record_count();
    WriteTitle(t, k, "000001", {3, "0110", "20250301", "", 0});
    EXPECT_EQ(k.table().record_count(), count);
    c.ExpectIndexesRight(k);

    // The main title during the employment, and additional ones.
    const std::vector<InsuranceTitle> listed = {{0, "0110", "20200101", "", 0},
                                                {1, "0411", "20220101", "20221231", 0}};
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0110", "20230101", "20230630", 0}),
              "Zdublowany tytuł ubezpieczenia");
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0411", "20221231", "", 0}),
              "Zdublowany tytuł ubezpieczenia");
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0411", "20210101", "20220101", 0}),
              "Zdublowany tytuł ubezpieczenia");
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0411", "20230101", "", 0}), "");
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0411", "20210101", "20211231", 0}), "");
    EXPECT_EQ(DuplicateTitleMessage(listed, {2, "0510", "20200101", "", 0}), "");
}

TEST(Allowances, LinesSymbolsAndMonthRanges) {
    Company c;
    common::Tables& t = *c.tables;
    dbf::WorkArea& d = *c.areas.dod;
    WriteAllowance(t, d, "000001", {1, "DFUN", 250.5, false, 0, 0, 0, 0, 0});
    WriteAllowance(t, d, "000001", {4, "PREM", 10, true, 2024, 1, 2024, 6, 0});
    auto lines = ReadAllowances(d, "000001");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].value, 250.5);
    EXPECT_EQ(lines[1].to_month, 6);
    EXPECT_EQ(NextAllowanceLine(lines), 5);
    EXPECT_EQ(NextAllowanceLine({{99, "X", 0, false, 0, 0, 0, 0, 0}}), 1);
    EXPECT_EQ(NextAllowanceLine({}), 1);

    bool forced = false;
    EXPECT_EQ(AllowanceSymbolMessage(lines, {5, "DFUN", 0, false, 0, 0, 0, 0, 0}, &forced),
              "Zdublowany \"globalny\" symbol");
    EXPECT_EQ(AllowanceSymbolMessage(lines, {5, "PREM", 0, false, 0, 0, 0, 0, 0}, &forced), "");
    EXPECT_TRUE(forced);
    EXPECT_EQ(AllowanceSymbolMessage(lines, {1, "DFUN", 0, false, 0, 0, 0, 0, 0}, &forced), "");
    EXPECT_FALSE(forced);
    EXPECT_EQ(AllowanceRangeMessage(lines, {5, "PREM", 0, true, 2024, 6, 2024, 12, 0}),
              "Kolizja zakresów miesięcy");
    EXPECT_EQ(AllowanceRangeMessage(lines, {5, "PREM", 0, true, 2023, 1, 2024, 1, 0}),
              "Kolizja zakresów miesięcy");
    EXPECT_EQ(AllowanceRangeMessage(lines, {5, "PREM", 0, true, 2024, 7, 2024, 12, 0}), "");
    EXPECT_EQ(AllowanceRangeMessage(lines, {4, "PREM", 0, true, 2024, 1, 2024, 12, 0}), "");

    DeleteRow(t, d, lines[0].recno);
    lines = ReadAllowances(d, "000001");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "PREM");
    c.ExpectIndexesRight(d);
}

TEST(RememberedValues, CreatedOverwrittenAndForgotten) {
    Company c;
    common::Tables& t = *c.tables;
    dbf::WorkArea& z = *c.areas.zmprc;
    Remember(t, z, "000001", {"ST_PODST", "20251231", " 4000.00", 0});
    Remember(t, z, "000001", {"ST_PODST", "20241231", " 3000.00", 0});
    Remember(t, z, "000001", {"DZIAL_", "20241231", "ADM ", 0});
    Remember(t, z, "000002", {"ST_PODST", "20241231", " 9000.00", 0});
    // The same key again overwrites the value.
    Remember(t, z, "000001", {"ST_PODST", "20251231", " 4100.00", 0});
    auto values = ReadRemembered(z, "000001", "ST_PODST");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].until, "20241231");
    EXPECT_EQ(values[1].until, "20251231");
    EXPECT_EQ(values[1].value.substr(0, 8), " 4100.00");
    ForgetAll(t, z, "000001");
    EXPECT_TRUE(ReadRemembered(z, "000001", "ST_PODST").empty());
    EXPECT_TRUE(ReadRemembered(z, "000001", "DZIAL_").empty());
    EXPECT_EQ(ReadRemembered(z, "000002", "ST_PODST").size(), 1u);
    // Remembering a forgotten key recalls its record.
    const uint32_t count = z.table().record_count();
    Remember(t, z, "000001", {"DZIAL_", "20241231", "PROD", 0});
    EXPECT_EQ(z.table().record_count(), count);
    EXPECT_EQ(ReadRemembered(z, "000001", "DZIAL_").size(), 1u);
    c.ExpectIndexesRight(z);
}

TEST(ExtendedValues, KeysUpperCasedPerLine) {
    Company c;
    common::Tables& t = *c.tables;
    dbf::WorkArea& u = *c.areas.uprc;
    WriteExtended(t, u, "000001", {"jezyk", 1, "angielski", 0});
    WriteExtended(t, u, "000001", {"JEZYK", 2, "niemiecki", 0});
    WriteExtended(t, u, "000001", {"Jezyk", 1, testing::Cp("hiszpański"), 0});
    const auto values = ReadExtended(u, "000001");
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].key, "JEZYK");
    EXPECT_EQ(testing::Utf(values[0].text), "hiszpański");
    EXPECT_EQ(values[1].line, 2);
    c.ExpectIndexesRight(u);
}

}  // namespace
}  // namespace kestrel::registry
