#include "register/leading_record.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;

constexpr const char* kPesel = "85031412344";

TEST(LeadingRecord, EnterMovesTheMarkOrTakesItAway) {
    struct Case {
        std::vector<bool> before;
        size_t line;
        std::vector<bool> after;
    };
    const Case cases[] = {
        {{false, false, false}, 1, {false, true, false}},
        {{true, false, false}, 2, {false, false, true}},
        {{false, true, false}, 1, {false, false, false}},  // the leading line clears its mark
        {{false, false}, 5, {false, false}},               // beyond the list: nothing
    };
    for (const Case& c : cases) {
        std::vector<bool> marks = c.before;
        ToggleLeading(&marks, c.line);
        EXPECT_EQ(marks, c.after) << "line " << c.line;
    }
}

struct ThreeRecords : ::testing::Test {
    Company c;
    uint32_t a = 0, b = 0, other = 0, third = 0;
    void SetUp() override {
        a = c.Register("000001", "Nowak", "Jan", EmployeeKind::kStaff, kPesel);
        other = c.Register("000002", "Lis", "Ewa", EmployeeKind::kStaff, "90010112345");
        b = c.Register("000003", "Nowak", "Jan", EmployeeKind::kNonStaff, kPesel);
        third = c.Register("000004", "Nowak", "Jan", EmployeeKind::kNonStaff, kPesel);
        SetMark(a, true);
    }
    void SetMark(uint32_t recno, bool on) {
        dbf::WorkArea& p = c.prac();
        ASSERT_TRUE(p.Goto(recno).ok());
        ASSERT_TRUE(p.RLock().ok());
        ASSERT_TRUE(p.record().SetLogical(p.FieldIndex("MASTER_"), on).ok());
        ASSERT_TRUE(p.Commit().ok());
        ASSERT_TRUE(p.Unlock().ok());
    }
    bool Mark(uint32_t recno) {
        dbf::WorkArea& p = c.prac();
        EXPECT_TRUE(p.Goto(recno).ok());
        return p.record().GetLogical(p.FieldIndex("MASTER_"));
    }
};

TEST_F(ThreeRecords, F10WritesOnlyTheMarksThatChanged) {
    // Another workstation holds the third record: writing it would wait for
    // the lock and ask, which the script does not answer.
    Company::Workstation w(c);
    ASSERT_TRUE(w.areas.prac->Goto(third).ok());
    ASSERT_TRUE(w.areas.prac->RLock().ok());

    c.h.backend.AddKeys({key::kDown, key::kEnter, key::F(10)});
    EXPECT_TRUE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), kPesel));
    EXPECT_FALSE(Mark(a));
    EXPECT_TRUE(Mark(b));
    EXPECT_FALSE(Mark(third));
    EXPECT_FALSE(Mark(other));
    c.ExpectIndexesRight(c.prac());
}

TEST_F(ThreeRecords, EscLeavesTheMarksAsStored) {
    c.h.backend.AddKeys({key::kDown, key::kEnter, key::kDown, key::kEnter, key::kEsc});
    EXPECT_FALSE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), kPesel));
    EXPECT_TRUE(Mark(a));
    EXPECT_FALSE(Mark(b));
    EXPECT_FALSE(Mark(third));
}

TEST_F(ThreeRecords, WindowListsTheRecordsAndRestoresTheScreen) {
    c.h.rt.screen().Write(10, 30, "under", c.h.rt.Standard(c.h.rt.colours().ycow));
    const std::string before = c.h.Row(10);
    std::string shown;
    c.h.backend.AddKeys({key::kEsc});
    EXPECT_FALSE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), kPesel));
    for (int r = 5; r <= 17; ++r) shown += c.h.ShownRow(r) + "\n";
    EXPECT_NE(shown.find("Wykaz pracowników z takim samym PESELEM"), std::string::npos) << shown;
    EXPECT_NE(shown.find("NR PRAC."), std::string::npos);
    EXPECT_NE(shown.find("WIODĄCY?"), std::string::npos);
    EXPECT_NE(shown.find("000001   │   ###"), std::string::npos) << shown;
    EXPECT_NE(shown.find("000003"), std::string::npos);
    EXPECT_NE(shown.find("000004"), std::string::npos);
    EXPECT_EQ(shown.find("000002"), std::string::npos);  // another PESEL
    EXPECT_EQ(c.h.Row(10), before);
}

TEST_F(ThreeRecords, TheTitleLeavesNothingOfTheDialogTitleUnderIt) {
    // The registration dialog's title sits on the row of the window's title
    // and reaches further right than the window.
    const console::Attr plain = c.h.rt.Standard(c.h.rt.colours().ycow);
    c.h.rt.screen().Write(5, 22, c.h.rt.Text("2.2. Rejestracja nowego pracownika / osoby prawnej"),
                          plain);
    const std::string before = c.h.Row(5);
    c.h.backend.AddKeys({key::kEsc});
    EXPECT_FALSE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), kPesel));
    EXPECT_EQ(c.h.ShownRow(5),
              "                     Wykaz pracowników z takim samym PESELEM "
              "                   ");
    EXPECT_EQ(c.h.Row(5), before);  // the dialog's title is back afterwards
}

TEST(LeadingRecordWindow, DoesNotOpenForASingleRecord) {
    Company c;
    c.Register("000001", "Nowak", "Jan", EmployeeKind::kStaff, kPesel);
    c.Register("000002", "Lis", "Ewa", EmployeeKind::kStaff, "");
    // No key is waiting: a window would end the script.
    EXPECT_FALSE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), kPesel));
    EXPECT_FALSE(LeadingRecordWindow(c.h.rt, *c.tables, c.prac(), ""));
}

}  // namespace
}  // namespace kestrel::registry
