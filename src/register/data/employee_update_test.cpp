#include "register/data/employee_update.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

// An employee with one additional title and two allowances, locked for an
// update with the snapshot taken.
struct Update {
    Company c;
    Snapshot before;

    Update() {
        common::Tables& t = *c.tables;
        c.Register("000001", "Nowak", "Jan");
        WriteTitle(t, *c.areas.ktyub, "000001", {1, "0411", "20240101", "", 0});
        WriteAllowance(t, *c.areas.dod, "000001", {1, "DFUN", 300, false, 0, 0, 0, 0, 0});
        WriteAllowance(t, *c.areas.dod, "000001", {2, "PREM", 10, true, 2024, 1, 2024, 6, 0});
        EXPECT_TRUE(SeekEmployee(c.prac(), "000001"));
        EXPECT_TRUE(c.prac().RLock().ok());
        before = TakeSnapshot(c.areas);
    }
    // Changes: the rate and surname; title line 1 rewritten; allowance 1
    // deleted; a new allowance 3.
    void Change() {
        common::Tables& t = *c.tables;
        EmployeeRecord e = before.record;
        ASSERT_TRUE(e.SetNumber("ST_PODST", 5200).ok());
        ASSERT_TRUE(e.SetDate("DATA_ZATR", "20190101").ok());
        e.set_surname(Cp("Nowacki"));
        ASSERT_TRUE(WriteEmployee(c.prac(), e).ok());
        WriteTitle(t, *c.areas.ktyub, "000001", {1, "0412", "20240101", "", 0});
        DeleteRow(t, *c.areas.dod, before.allowances[0].recno);
        WriteAllowance(t, *c.areas.dod, "000001", {3, "NOCN", 1, false, 0, 0, 0, 0, 0});
        ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    }
};

TEST(UpdateSnapshot, UndoBringsBackEveryValueAndRow) {
    Update u;
    EXPECT_FALSE(SnapshotDiffers(u.before, TakeSnapshot(u.c.areas)));
    u.Change();
    EXPECT_TRUE(SnapshotDiffers(u.before, TakeSnapshot(u.c.areas)));
    RestoreSnapshot(*u.c.tables, u.c.areas, u.before);
    const Snapshot now = TakeSnapshot(u.c.areas);
    EXPECT_FALSE(SnapshotDiffers(u.before, now));
    EXPECT_EQ(Utf(now.record.surname()), "Nowak");
    ASSERT_EQ(now.allowances.size(), 2u);
    EXPECT_EQ(now.allowances[0].symbol, "DFUN");  // the deleted line is back
    EXPECT_EQ(now.titles[0].title, "0411");
    for (dbf::WorkArea* a : {&u.c.prac(), u.c.areas.dod, u.c.areas.ktyub}) {
        u.c.ExpectIndexesRight(*a);
    }
    // Only a changed line number is a difference too.
    Snapshot renumbered = now;
    renumbered.allowances[1].line = 7;
    EXPECT_TRUE(SnapshotDiffers(now, renumbered));
}

TEST(UpdateLog, OneEntryPerChangedValue) {
    Update u;
    u.Change();
    LogUpdate(*u.c.tables, u.c.areas, u.before, TakeSnapshot(u.c.areas), "20261208", "ADAM");
    std::vector<std::string> entries;
    for (const LoggedChange& e : ReadLog(*u.c.areas.ekprc, "000001")) {
        if (e.entry.field == "NR_PRAC") continue;  // the registration's own
        entries.push_back(e.entry.table + "|" + e.entry.field + "|" + e.entry.old_value + "|" +
                          e.entry.new_value);
    }
    EXPECT_EQ(entries, (std::vector<std::string>{
                           // The new line 3 logs its non-empty items against
                           // empty ones, the deleted line 1 the other way round.
                           "PKDOD  |LP_| 0| 3",
                           "PKDOD  |LP_| 1| 0",
                           "PKDOD  |RODZAJ_DOD||NOCN",
                           "PKDOD  |RODZAJ_DOD|DFUN|",
                           "PKDOD  |WARTOSC_|        0.00|        1.00",
                           "PKDOD  |WARTOSC_|      300.00|        0.00",
                           "PKKTYUB|TYTUL_PODM|0411|0412",
                           "PKPRAC |DATA_ZATR|2020-01-01|2019-01-01",
                           "PKPRAC |NAZWX_|" + u.before.record.Text("NAZWX_").substr(0, 72) + "|" +
                               TakeSnapshot(u.c.areas).record.Text("NAZWX_"),
                           "PKPRAC |ST_PODST|    0.00| 5200.00",
                       }));
}

TEST(UpdateHistory, ExemptFieldsCutOffAndRememberedValues) {
    EXPECT_EQ(HistoryFields({"DATA_ZATR", "ST_PODST", "PESELX_", "NAZWX_", "PRZYCZ_ZW", "DZIAL_"}),
              (std::vector<std::string>{"ST_PODST", "NAZWX_", "DZIAL_"}));
    EXPECT_FALSE(HasHistory("DATA_ZATR"));
    EXPECT_EQ(ChangedFieldsLine({"ST_PODST", "DZIAL_"}), "ST_PODST,DZIAL_");
    EXPECT_EQ(ChangedFieldsLine({"ST_PODST", "DZIAL_", "STANOW_", "KONTO_KOSZ", "RODZ_UM_PR"}),
              "ST_PODST,DZIAL_,STANOW_,KONTO_KOSZ,RODZ_UM_...");

    Update u;
    EXPECT_EQ(HistoryCutOff(nullptr, "20260301"), "20260228");
    dbf::WorkArea& ster = u.c.tables->Open("PKSTER");
    EXPECT_EQ(HistoryCutOff(&ster, "20261208"), "20261207");
    u.c.tables->Append(ster);
    ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("ROK_"), 2025).ok());
    ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("MC_"), 1).ok());
    ASSERT_TRUE(ster.Commit().ok());
    EXPECT_EQ(HistoryCutOff(&ster, "20261208"), "20241231");

    u.Change();
    const Snapshot now = TakeSnapshot(u.c.areas);
    const auto fields = HistoryFields(now.record.ChangedFields(u.before.record));
    EXPECT_EQ(fields, (std::vector<std::string>{"NAZWX_", "ST_PODST"}));
    RememberOldValues(*u.c.tables, *u.c.areas.zmprc, u.before.record, fields, "20241231");
    const auto rate = ReadRemembered(*u.c.areas.zmprc, "000001", "ST_PODST");
    ASSERT_EQ(rate.size(), 1u);
    EXPECT_EQ(rate[0].value.substr(0, 8), "    0.00");
    // The surname is remembered in its stored form.
    const auto name = ReadRemembered(*u.c.areas.zmprc, "000001", "NAZWX_");
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0].value.substr(0, 72), u.before.record.Text("NAZWX_"));
    EXPECT_EQ(name[0].value.find("Nowak"), std::string::npos);
}

TEST(LeadingRecord, MarksWrittenOnlyWhereTheyDiffer) {
    Company c;
    const std::string pesel = MakePesel("19800517", 321, 'M');
    for (const char* nr : {"000003", "000001", "000002"}) {
        c.Register(nr, "Wójcik", "Adam", EmployeeKind::kStaff, pesel);
    }
    auto records = PeselRecords(c.prac(), pesel);
    EXPECT_EQ(WriteLeadingMarks(*c.tables, c.prac(), records, "000002"), 1);
    records = PeselRecords(c.prac(), pesel);
    EXPECT_EQ(records[LeadingIndex(records)].number, "000002");
    EXPECT_EQ(WriteLeadingMarks(*c.tables, c.prac(), records, "000002"), 0);
    EXPECT_EQ(WriteLeadingMarks(*c.tables, c.prac(), records, "000001"), 2);
    records = PeselRecords(c.prac(), pesel);
    EXPECT_TRUE(records[0].leading);
    EXPECT_FALSE(records[1].leading || records[2].leading);
    EXPECT_EQ(WriteLeadingMarks(*c.tables, c.prac(), records, ""), 1);
    records = PeselRecords(c.prac(), pesel);
    EXPECT_EQ(records[LeadingIndex(records)].number, "000003");  // the highest number
}

TEST(StrikingOff, TaxRecordsByYearAndTheRecordRemoved) {
    Company c({"PKDOCH"});
    c.Register("000001", "Nowak", "Jan");
    c.Register("000002", "Lis", "Ewa");
    WriteAllowance(*c.tables, *c.areas.dod, "000001", {1, "DFUN", 300, false, 0, 0, 0, 0, 0});
    dbf::WorkArea& doch = c.tables->Open("PKDOCH", {"PKDOCH3"});
    auto paid = [&](const char* nr, const char* date) {
        c.tables->Append(doch);
        doch.record().SetString(doch.FieldIndex("NR_PRAC"), nr);
        ASSERT_TRUE(doch.record().SetDate(doch.FieldIndex("DATA_WYP"), date).ok());
        ASSERT_TRUE(doch.Commit().ok());
        ASSERT_TRUE(doch.Unlock().ok());
    };
    paid("000001", "20250131");
    paid("000001", "20261130");
    paid("000002", "20241231");
    TaxRecords t = TaxRecordsOf(doch, "000001", 2026);
    EXPECT_TRUE(t.this_year && t.other_years);
    EXPECT_EQ(t.recnos.size(), 2u);
    t = TaxRecordsOf(doch, "000002", 2026);
    EXPECT_FALSE(t.this_year);
    EXPECT_TRUE(t.other_years);
    EXPECT_FALSE(TaxRecordsOf(doch, "000003", 2026).other_years);

    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    StrikeOff(c.h.rt, *c.tables, c.areas, c.prac().recno());
    EXPECT_EQ(c.NumbersIn(kByNumber), std::vector<std::string>{"000002"});
    c.ExpectIndexesRight(c.prac());
    EXPECT_EQ(ReadAllowances(*c.areas.dod, "000001").size(), 1u);  // the rows stay
    const auto log = ReadLog(*c.areas.ekprc, "000001");
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].entry.old_value, "000001");
    EXPECT_EQ(log[1].entry.new_value, "");
}

}  // namespace
}  // namespace kestrel::registry
