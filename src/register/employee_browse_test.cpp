#include "register/employee_browse.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
// A key no screen of the register uses: tests bind it to look at the screen
// while a form waits.
const int kPeek = console::key::Alt('Q');
using testing::Company;

TEST(MaskedAccount, FillsTheMaskFromTheLeft) {
    struct Case {
        const char* mask;
        const char* account;
        const char* shown;
    };
    const Case cases[] = {
        {"@R 999-999999999", "123456789012", "123-456789012"},
        {"@R 99-99", "1234", "12-34"},
        {"@R 99-99", "12", "12-  "},
        {"@R 99-99", "123456", "12-3456"},  // what the mask has no room for follows
        {"", "123456789012", "123456789012"},
    };
    for (const Case& c : cases) EXPECT_EQ(MaskedAccount(c.mask, c.account), c.shown) << c.mask;
}

std::vector<int> Typed(std::string_view text) {
    std::vector<int> keys;
    for (char ch : text) keys.push_back(static_cast<unsigned char>(ch));
    return keys;
}

struct Register : ::testing::Test {
    Company c{{"PKGRALG", "PKKZIS"}};
    void SetUp() override {
        c.Register("000001", "Nowak", "Jan", EmployeeKind::kStaff, "85031412344");
        c.Register("000002", "Lis", "Ewa", EmployeeKind::kStaff, "90010112345");
        c.Register("000003", "Adamski", "Piotr", EmployeeKind::kNonStaff, "", "20241231");
        c.Register("000005", "Zawada", "Olga", EmployeeKind::kStaff, "02270812346");
    }
    void Keys(std::vector<int> keys) {
        keys.push_back(key::kEsc);
        c.h.backend.AddKeys(keys);
        BrowseRegister(c.h.rt, *c.tables);
    }
    std::string Current() {
        dbf::WorkArea& p = c.prac();
        return p.record().GetString(p.FieldIndex("NR_PRAC"));
    }
    EmployeeRecord Read(const std::string& number) {
        EXPECT_TRUE(SeekEmployee(c.prac(), number));
        return ReadEmployee(c.prac());
    }
    size_t LogEntries() {
        size_t n = 0;
        dbf::WorkArea& log = *c.areas.ekprc;
        for (base::Status s = log.GoTop(); s.ok() && !log.eof(); s = log.Skip(1)) ++n;
        return n;
    }
};

TEST_F(Register, ACorrectedAmountIsWrittenAtOnceAndNotLogged) {
    const size_t logged = LogEntries();
    std::vector<int> keys = {key::kDown,  key::kRight, key::kRight, key::kRight,
                             key::kRight, key::kRight, key::kRight, key::kEnter};
    for (int k : Typed("4500")) keys.push_back(k);
    keys.push_back(key::kEnter);
    Keys(keys);
    EXPECT_DOUBLE_EQ(Read("000002").Number("ST_PODST"), 4500);
    EXPECT_DOUBLE_EQ(Read("000001").Number("ST_PODST"), 0);
    EXPECT_EQ(LogEntries(), logged);
    c.ExpectIndexesRight(c.prac());
}

TEST_F(Register, ACorrectionKeepsWhatAnotherWorkstationWroteMeanwhile) {
    Company::Workstation w(c);
    // While the cell is being edited, the other station changes another
    // field of the same employee.
    c.h.rt.console().keyboard().Bind(kPeek, [&] {
        dbf::WorkArea& p = *w.areas.prac;
        ASSERT_TRUE(SeekEmployee(p, "000001"));
        w.tables().RLock(p);
        EmployeeRecord e = ReadEmployee(p);
        ASSERT_TRUE(e.SetNumber("DOD_FUNKC", 300).ok());
        ASSERT_TRUE(WriteEmployee(p, e).ok());
        ASSERT_TRUE(p.Unlock().ok());
    });
    std::vector<int> keys(6, key::kRight);
    keys.push_back(key::kEnter);
    keys.push_back(kPeek);
    for (int k : Typed("4100")) keys.push_back(k);
    keys.push_back(key::kEnter);
    Keys(keys);
    const EmployeeRecord e = Read("000001");
    EXPECT_DOUBLE_EQ(e.Number("ST_PODST"), 4100);
    EXPECT_DOUBLE_EQ(e.Number("DOD_FUNKC"), 300);
}

TEST_F(Register, ANegativeAmountIsRefused) {
    std::vector<int> keys(6, key::kRight);
    keys.push_back(key::kEnter);
    for (int k : Typed("-5")) keys.push_back(k);
    keys.push_back(key::kEnter);  // refused: the cursor stays
    keys.push_back(key::kEsc);
    Keys(keys);
    EXPECT_DOUBLE_EQ(Read("000001").Number("ST_PODST"), 0);
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

TEST_F(Register, RefusedCorrectionsLeaveTheRecord) {
    // The dismissal date of a current employee and the PESEL column beep.
    std::vector<int> keys = {key::kRight, key::kRight, key::kRight, key::kEnter};
    for (int i = 0; i < 15; ++i) keys.push_back(key::kRight);  // to " PESEL"
    keys.push_back(key::kEnter);
    // An algorithm group missing from its dictionary is refused.
    for (int i = 0; i < 4; ++i) keys.push_back(key::kLeft);  // "GRUPA ALG."
    keys.push_back(key::kEnter);
    keys.push_back('Z');          // fills the field: refused at once
    keys.push_back(key::kEnter);  // the message waits for a key
    keys.push_back(key::kEsc);    // the edit is given up
    Keys(keys);
    const EmployeeRecord e = Read("000001");
    EXPECT_EQ(e.Date("DATA_ZWOLN"), "");
    EXPECT_EQ(e.pesel(), "85031412344");
    EXPECT_EQ(e.Text("GRUPA_ALG"), " ");
    EXPECT_GE(c.h.backend.tones().size(), 3u);
}

TEST_F(Register, GroupsAndSortsChooseTheirIndexes) {
    Keys({key::F(5), key::F(8)});
    EXPECT_EQ(c.prac().order(), kFormerByYearSurname);
    EXPECT_EQ(Current(), "000003");
    Keys({key::F(4), key::F(7)});
    EXPECT_EQ(c.prac().order(), kCurrentBySurname);
    Keys({key::F(4), key::F(8)});  // the year order belongs to former employees only
    EXPECT_EQ(c.prac().order(), kCurrentByNumber);
    Keys({key::F(3), key::F(7), key::kCtrlPgDn});
    EXPECT_EQ(c.prac().order(), kBySurname);
    EXPECT_EQ(Current(), "000005");
}

TEST_F(Register, SearchesByNumberSurnameAndPesel) {
    std::vector<int> keys = {key::F(2)};
    for (int k : Typed("4")) keys.push_back(k);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEnter);  // "Brak klucza - następny rekord"
    Keys(keys);
    EXPECT_EQ(Current(), "000005");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);

    keys = {key::F(7), key::F(2)};
    for (int k : Typed("LIS")) keys.push_back(k);
    keys.push_back(key::kEnter);
    Keys(keys);
    EXPECT_EQ(Current(), "000002");

    keys = {key::F(6), key::F(9)};
    for (int k : Typed("0227")) keys.push_back(k);
    keys.push_back(key::kEnter);
    Keys(keys);
    EXPECT_EQ(Current(), "000005");

    // A PESEL nobody has keeps the record.
    keys = {key::kDown, key::F(9)};
    for (int k : Typed("777")) keys.push_back(k);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEnter);  // "Brak takiego klucza"
    Keys(keys);
    EXPECT_EQ(Current(), "000002");
}

}  // namespace
}  // namespace kestrel::registry
