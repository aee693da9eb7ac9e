#include "register/data/employee_registration.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

TEST(NumberProposal, FollowsTheKindAndWalksToTheFirstGap) {
    Company c;
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff), "000001");
    c.Register("000040", "A", "A");
    c.Register("000041", "B", "B");
    int searches = 0;
    const auto searching = [&searches] { ++searches; };
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff, searching), "000042");
    EXPECT_EQ(searches, 0);  // the first proposal is free: no search shown
    // 000042 and 000043 are taken by non-staff people: the proposal walks on.
    c.Register("000042", "C", "C", EmployeeKind::kNonStaff);
    c.Register("000043", "D", "D", EmployeeKind::kNonStaff);
    c.Register("000045", "E", "E", EmployeeKind::kLegalPerson);
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff, searching), "000044");
    EXPECT_EQ(searches, 1);  // announced once for the whole walk
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kNonStaff), "000044");
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kLegalPerson), "000046");
    // The last number wraps to "000000", which the operator must replace.
    c.Register("999999", "F", "F");
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff), "000000");
}

TEST(NumberProposal, SkipsARecordAnotherRegistrationHolds) {
    Company c;
    c.Register("000001", "A", "A");
    Company::Workstation other(c);
    Registration held(other.rt(), other.tables(), other.areas);
    ASSERT_EQ(held.Reserve("000002"), ReserveResult::kReserved);
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff), "000003");
    Registration mine(c.h.rt, *c.tables, c.areas);
    EXPECT_EQ(mine.ReserveNext(EmployeeKind::kStaff), "000003");
    // An abandoned reservation no longer holds its number.
    held.GiveUp();
    EXPECT_EQ(ProposeNumber(c.prac(), EmployeeKind::kStaff), "000002");
}

// A number another workstation has under construction is waited for; "n"
// to the lock question gives up, and a confirmed one exists.
TEST(Registration, NumberHeldByAnotherWorkstation) {
    Company c;
    Company::Workstation other(c);
    {
        Registration held(other.rt(), other.tables(), other.areas);
        ASSERT_EQ(held.Reserve("000005"), ReserveResult::kReserved);
        held.record().set_surname(Cp("Wrona"));
        held.Save();
        c.h.backend.AddKeys({'n', ' '});
        Registration mine(c.h.rt, *c.tables, c.areas);
        EXPECT_THROW(mine.Reserve("000005"), common::Abandon);
        EXPECT_FALSE(mine.reserved());
        held.GiveUp();
        // Given up: the next registration of the number takes its values.
        ASSERT_EQ(mine.Reserve("000005"), ReserveResult::kReserved);
        EXPECT_EQ(Utf(mine.record().surname()), "Wrona");
        mine.GiveUp();
    }
    Registration held(other.rt(), other.tables(), other.areas);
    ASSERT_EQ(held.Reserve("000005"), ReserveResult::kReserved);
    held.Confirm();
    Registration mine(c.h.rt, *c.tables, c.areas);
    EXPECT_EQ(mine.Reserve("000005"), ReserveResult::kExists);
}

// A number struck off twice has two deleted records: while another
// workstation builds on one of them, the other is not taken for a second
// person with the same number.
TEST(Registration, HeldNumberIsNotTakenThroughAnotherDeletedRecord) {
    Company c;
    c.Register("000007", "Pierwszy", "Jan");
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(SeekEmployee(c.prac(), "000007"));
        DeleteRow(*c.tables, c.prac(), c.prac().recno());
        if (i == 0) {
            c.tables->Append(c.prac());
            c.prac().record().SetString(c.prac().FieldIndex("NR_PRAC"), "000007");
            ASSERT_TRUE(c.prac().Commit().ok());
            ASSERT_TRUE(c.prac().Unlock().ok());
        }
    }
    Company::Workstation other(c);
    Registration held(other.rt(), other.tables(), other.areas);
    ASSERT_EQ(held.Reserve("000007"), ReserveResult::kReserved);
    c.h.backend.AddKeys({'n', ' '});
    Registration mine(c.h.rt, *c.tables, c.areas);
    EXPECT_THROW(mine.Reserve("000007"), common::Abandon);
    EXPECT_NE(ProposeNumber(c.prac(), EmployeeKind::kStaff), "000007");
    held.Confirm();
    EXPECT_EQ(mine.Reserve("000007"), ReserveResult::kExists);
}

TEST(Registration, ExistingNumberAndInvisibleReservation) {
    Company c;
    c.Register("000010", "Nowak", "Jan");
    Registration reg(c.h.rt, *c.tables, c.areas);
    EXPECT_EQ(reg.Reserve("000010"), ReserveResult::kExists);
    ASSERT_EQ(reg.Reserve("000011"), ReserveResult::kReserved);
    reg.record().set_surname(Cp("Wiśniewska"));
    reg.Save();
    // While it is under construction no reader sees it.
    EXPECT_EQ(c.NumbersIn(kByNumber), std::vector<std::string>{"000010"});
    EXPECT_EQ(c.NumbersIn(kBySurname), std::vector<std::string>{"000010"});
    reg.Confirm();
    EXPECT_EQ(c.NumbersIn(kByNumber), (std::vector<std::string>{"000010", "000011"}));
    c.ExpectIndexesRight(c.prac());
    const auto log = ReadLog(*c.areas.ekprc, "000011");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].entry.table, "PKPRAC ");
    EXPECT_EQ(log[0].entry.field, "NR_PRAC");
    EXPECT_EQ(log[0].entry.old_value, "");
    EXPECT_EQ(log[0].entry.new_value, "000011");
    EXPECT_EQ(log[0].day, "20261208");
    EXPECT_EQ(log[0].sequence, 1);
}

TEST(Registration, AbandonedValuesAreTheDefaultsOfTheNextOne) {
    Company c;
    {
        Registration reg(c.h.rt, *c.tables, c.areas);
        ASSERT_EQ(reg.Reserve("000020"), ReserveResult::kReserved);
        reg.ApplyDefaults(EmployeeKind::kStaff);
        reg.record().set_surname(Cp("Kamińska"));
        ASSERT_TRUE(reg.record().SetNumber("ST_PODST", 5100).ok());
        reg.GiveUp();
    }
    EXPECT_TRUE(c.NumbersIn(kByNumber).empty());
    Registration again(c.h.rt, *c.tables, c.areas);
    ASSERT_EQ(again.Reserve("000020"), ReserveResult::kReserved);
    EXPECT_EQ(Utf(again.record().surname()), "Kamińska");
    EXPECT_EQ(again.record().Number("ST_PODST"), 5100);
    again.Confirm();
    // The abandoned record was reused, not a second one appended.
    EXPECT_EQ(c.prac().table().record_count(), 1u);
}

TEST(Registration, DefaultsByKind) {
    Company c;
    Registration reg(c.h.rt, *c.tables, c.areas);
    ASSERT_EQ(reg.Reserve("000001"), ReserveResult::kReserved);
    reg.ApplyDefaults(EmployeeKind::kStaff);
    EmployeeRecord& e = reg.record();
    EXPECT_TRUE(e.Logical("CZY_OB_UE") && e.Logical("CZY_OB_UZ") && e.Logical("PDOF_26"));
    EXPECT_TRUE(e.Logical("ULGA_P_D") && e.Logical("POD_WG_TAB"));
    EXPECT_EQ(e.kind(), EmployeeKind::kStaff);
    ASSERT_TRUE(e.SetText("DZIAL_", "PROD").ok());
    reg.ApplyDefaults(EmployeeKind::kLegalPerson);
    EXPECT_EQ(e.kind(), EmployeeKind::kLegalPerson);
    EXPECT_EQ(e.Text("DZIAL_"), "    ");
    reg.GiveUp();
}

// A template gives every field but the number, the dismissal and the
// leading-record mark; the card type follows the template's kind.
TEST(Registration, TemplateNeverPassesTheLeadingMark) {
    Company c;
    c.Register("000001", "Firma", "ALFA", EmployeeKind::kLegalPerson, "", "20251130");
    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    EmployeeRecord model = ReadEmployee(c.prac());
    ASSERT_TRUE(model.SetLogical("MASTER_", true).ok());
    ASSERT_TRUE(model.SetText("URZ_SKARB", "01").ok());
    Registration reg(c.h.rt, *c.tables, c.areas);
    ASSERT_EQ(reg.Reserve("000002"), ReserveResult::kReserved);
    reg.ApplyDefaults(EmployeeKind::kStaff);
    EXPECT_EQ(reg.CopyTemplate(model), EmployeeKind::kLegalPerson);
    EXPECT_EQ(reg.record().number(), "000002");
    EXPECT_FALSE(reg.record().Logical("MASTER_"));
    EXPECT_FALSE(reg.record().former());
    EXPECT_EQ(reg.record().Date("DATA_ZWOLN"), "");
    EXPECT_EQ(reg.record().Text("URZ_SKARB"), "01");
    EXPECT_EQ(Utf(reg.record().first_names()), "ALFA");
    reg.Confirm();
    c.ExpectIndexesRight(c.prac());
}

// A struck-off person's number given to someone new: the new person starts
// without the allowances, extra titles, extended values and history of the
// former holder, and keeps what this registration wrote.
TEST(Registration, ReusedNumberStartsWithoutTheFormerHoldersRows) {
    Company c;
    c.Register("000030", "Stary", "Jan");
    common::Tables& t = *c.tables;
    WriteAllowance(t, *c.areas.dod, "000030", {1, "DFUN", 300, false, 0, 0, 0, 0, 0});
    WriteAllowance(t, *c.areas.dod, "000030", {2, "PREM", 10, false, 0, 0, 0, 0, 0});
    WriteTitle(t, *c.areas.ktyub, "000030", {1, "0411", "20200101", "", 0});
    WriteExtended(t, *c.areas.uprc, "000030", {"STOPIEN", 0, "mgr", 0});
    Remember(t, *c.areas.zmprc, "000030", {"ST_PODST", "20241231", "  3000.00", 0});
    // Striking off deletes the record and leaves the rows.
    ASSERT_TRUE(SeekEmployee(c.prac(), "000030"));
    DeleteRow(t, c.prac(), c.prac().recno());

    Registration reg(c.h.rt, t, c.areas);
    ASSERT_EQ(reg.Reserve("000030"), ReserveResult::kReserved);
    reg.record().set_surname(Cp("Nowy"));
    // The dialog showed line 1 of the titles and rewrote it; it wrote a new allowance.
    const auto titles = ReadTitles(*c.areas.ktyub, "000030");
    ASSERT_EQ(titles.size(), 1u);
    reg.KeepTitle(WriteTitle(t, *c.areas.ktyub, "000030", {1, "0110", "20260101", "", 0}));
    reg.KeepAllowance(
        WriteAllowance(t, *c.areas.dod, "000030", {3, "DFUN", 150, false, 0, 0, 0, 0, 0}));
    reg.Confirm();

    const auto allowances = ReadAllowances(*c.areas.dod, "000030");
    ASSERT_EQ(allowances.size(), 1u);
    EXPECT_EQ(allowances[0].line, 3);
    EXPECT_EQ(allowances[0].value, 150);
    const auto kept = ReadTitles(*c.areas.ktyub, "000030");
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].title, "0110");
    EXPECT_TRUE(ReadExtended(*c.areas.uprc, "000030").empty());
    EXPECT_TRUE(ReadRemembered(*c.areas.zmprc, "000030", "ST_PODST").empty());
    for (dbf::WorkArea* a : {c.areas.dod, c.areas.ktyub, c.areas.uprc, c.areas.zmprc}) {
        c.ExpectIndexesRight(*a);
    }
}

}  // namespace
}  // namespace kestrel::registry
