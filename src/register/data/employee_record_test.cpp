#include "register/data/employee_record.h"

#include <gtest/gtest.h>

#include "common/checks/scramble.h"
#include "employee_test_support.h"
#include "platform/dbf/table.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

TEST(EmployeeNumber, NormalisedToSixDigits) {
    struct Case {
        const char* typed;
        bool allow_empty;
        bool ok;
        const char* number;
    };
    const Case cases[] = {
        {"123", false, true, "000123"},
        {" 42 ", false, true, "000042"},
        {"000123", false, true, "000123"},
        {"999999", false, true, "999999"},
        {"0", false, false, "000000"},
        {"000000", false, false, "000000"},
        {"", false, false, ""},
        {"", true, true, ""},
        {"abc", false, false, ""},
        {"1234567", false, false, ""},
    };
    for (const Case& c : cases) {
        std::string number = "?";
        EXPECT_EQ(NormaliseNumber(c.typed, &number, c.allow_empty), c.ok) << c.typed;
        if (c.ok) {
            EXPECT_EQ(number, c.number) << c.typed;
        }
    }
}

TEST(EmployeeKinds, CardLettersCycleAndFlags) {
    EXPECT_EQ(NextKind(KindFromLetter('E')), EmployeeKind::kNonStaff);
    EXPECT_EQ(NextKind(KindFromLetter('n')), EmployeeKind::kLegalPerson);
    EXPECT_EQ(NextKind(KindFromLetter('P')), EmployeeKind::kStaff);
    Company c;
    c.Register("000001", "Nowak", "Jan", EmployeeKind::kStaff);
    c.Register("000002", "Zięba", "Ewa", EmployeeKind::kNonStaff);
    c.Register("000003", "", "ALFA", EmployeeKind::kLegalPerson);
    EXPECT_EQ(c.NumbersIn(kStaffByNumber), std::vector<std::string>{"000001"});
    EXPECT_EQ(c.NumbersIn(kNonStaffByNumber), std::vector<std::string>{"000002"});
    ASSERT_TRUE(SeekEmployee(c.prac(), "000003"));
    EXPECT_EQ(ReadEmployee(c.prac()).kind(), EmployeeKind::kLegalPerson);
    ASSERT_TRUE(SeekEmployee(c.prac(), "000002"));
    EXPECT_EQ(ReadEmployee(c.prac()).kind(), EmployeeKind::kNonStaff);
}

// The identity reaches the file only scrambled, comes back in clear, and
// every index follows writes that change surname, PESEL and dismissal.
TEST(EmployeeRecord, IdentityStoredScrambledAndIndexesFollowWrites) {
    Company c;
    const uint32_t recno =
        c.Register("000007", "Żółkiewska", "Zofia Łucja", EmployeeKind::kStaff, "85021412345");
    c.Register("000008", "Adamek", "Piotr", EmployeeKind::kStaff, "90010112345");
    c.ExpectIndexesRight(c.prac());

    {
        std::unique_ptr<dbf::Table> raw;
        ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKPRAC.DBF"), {}, &raw).ok());
        dbf::Record rec = raw->NewRecord();
        ASSERT_TRUE(raw->Read(recno, &rec).ok());
        const std::string bytes = rec.bytes();
        EXPECT_EQ(bytes.find(Cp("Żółkiewska")), std::string::npos);
        EXPECT_EQ(bytes.find("85021412345"), std::string::npos);
        EXPECT_EQ(bytes.find("Zofia"), std::string::npos);
        EXPECT_EQ(
            common::Unscramble(common::ScrambleKind::kIdentity, rec.Raw(rec.FieldIndex("PESELX_"))),
            "85021412345");
    }

    ASSERT_TRUE(SeekEmployee(c.prac(), "000007"));
    EmployeeRecord e = ReadEmployee(c.prac());
    EXPECT_EQ(Utf(e.surname()), "Żółkiewska");
    EXPECT_EQ(Utf(e.first_names()), "Zofia Łucja");
    EXPECT_EQ(e.pesel(), "85021412345");
    EXPECT_FALSE(e.SetText("NAZWX_", "Clear").ok());
    EXPECT_FALSE(e.SetText("peselx_", "1").ok());

    // Update: surname, PESEL, department and a dismissal.
    ASSERT_TRUE(c.prac().RLock().ok());
    e.set_surname(Cp("Abacka"));
    e.set_pesel("85021499999");
    ASSERT_TRUE(e.SetText("DZIAL_", "PROD").ok());
    ASSERT_TRUE(e.SetText("PRZYCZ_ZW", "03").ok());
    ASSERT_TRUE(e.SetDate("DATA_ZWOLN", "20251231").ok());
    ASSERT_TRUE(WriteEmployee(c.prac(), e).ok());
    ASSERT_TRUE(c.prac().Unlock().ok());
    c.ExpectIndexesRight(c.prac());
    EXPECT_EQ(c.NumbersIn(kBySurname), (std::vector<std::string>{"000007", "000008"}));
    EXPECT_EQ(c.NumbersIn(kCurrentByNumber), std::vector<std::string>{"000008"});
    EXPECT_EQ(c.NumbersIn(kCurrentBySurname), std::vector<std::string>{"000008"});
    EXPECT_EQ(c.NumbersIn(kFormerByNumber), std::vector<std::string>{"000007"});
    EXPECT_EQ(c.NumbersIn(kFormerBySurname), std::vector<std::string>{"000007"});
    EXPECT_EQ(c.NumbersIn(kFormerByYearSurname), std::vector<std::string>{"000007"});
    ASSERT_TRUE(c.prac().SetOrder(kByPesel).ok());
    ASSERT_TRUE(c.prac().Seek("85021499999000007").ok());
    EXPECT_TRUE(c.prac().found());

    // The files themselves agree after the tables are closed and reopened.
    c.Reopen();
    c.ExpectIndexesRight(c.prac());
    EXPECT_EQ(c.NumbersIn(kByDepartmentSurname), (std::vector<std::string>{"000008", "000007"}));
}

// Polish letters sort in alphabet order in the surname index, not by code.
TEST(EmployeeRecord, PolishSurnameOrder) {
    Company c;
    const char* surnames[] = {"Madej",   "Żak",  "Łukasik", "Zieliński", "Lis",   "Źródło",
                              "Ślusarz", "Sowa", "Ćwik",    "Czajka",    "Cebula"};
    int n = 0;
    for (const char* s : surnames) {
        char nr[8];
        std::snprintf(nr, sizeof nr, "%06d", ++n);
        c.Register(nr, s, "Jan");
    }
    std::vector<std::string> order;
    dbf::WorkArea& p = c.prac();
    ASSERT_TRUE(p.SetOrder(kBySurname).ok());
    for (base::Status s = p.GoTop(); s.ok() && !p.eof(); s = p.Skip(1)) {
        order.push_back(Utf(ReadEmployee(p).surname()));
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"Cebula", "Czajka", "Ćwik", "Lis", "Łukasik", "Madej",
                                        "Sowa", "Ślusarz", "Zieliński", "Źródło", "Żak"}));
}

TEST(EmployeeRecord, ChangedFieldsAndTextForms) {
    Company c;
    c.Register("000005", "Kowal", "Jan");
    ASSERT_TRUE(SeekEmployee(c.prac(), "000005"));
    const EmployeeRecord before = ReadEmployee(c.prac());
    EmployeeRecord after = before;
    EXPECT_TRUE(after.ChangedFields(before).empty());
    after.set_first_names(Cp("Jan Maria"));
    ASSERT_TRUE(after.SetNumber("ST_PODST", 4250.5).ok());
    ASSERT_TRUE(after.SetLogical("CZL_KZP", true).ok());
    EXPECT_EQ(after.ChangedFields(before),
              (std::vector<std::string>{"IMIEX_", "ST_PODST", "CZL_KZP"}));
    const dbf::Record& r = after.stored();
    EXPECT_EQ(FieldText(r, r.FieldIndex("ST_PODST")), " 4250.50");
    EXPECT_EQ(FieldText(r, r.FieldIndex("DATA_ZATR")), "2020-01-01");
    EXPECT_EQ(FieldText(r, r.FieldIndex("DATA_ZWOLN")), "    -  -  ");
    EXPECT_EQ(FieldText(r, r.FieldIndex("CZL_KZP")), "T");
    EXPECT_EQ(FieldText(r, r.FieldIndex("CZL_SP")), "F");
    EXPECT_EQ(FieldText(r, r.FieldIndex("NR_PRAC")), "000005");
}

}  // namespace
}  // namespace kestrel::registry
