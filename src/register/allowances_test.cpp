#include "register/allowances.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;
using testing::Cp;

std::vector<int> Typed(std::string_view text) {
    std::vector<int> keys;
    for (char ch : text) keys.push_back(static_cast<unsigned char>(ch));
    return keys;
}

struct Allowances : ::testing::Test {
    Company c{{"PKSRDOD"}};
    EmployeeRecord e;
    std::unique_ptr<PageContext> ctx;
    void SetUp() override {
        dbf::WorkArea& d = c.tables->Open("PKSRDOD", {"PKSRDOD1"});
        struct Symbol {
            const char* code;
            bool amount, yes_no;
        };
        for (const Symbol& s : {Symbol{"DFUN", true, false}, Symbol{"PREM", false, false},
                                Symbol{"NOC", false, true}}) {
            c.tables->Append(d);
            ASSERT_TRUE(d.record().SetString(d.FieldIndex("RODZAJ_DOD"), s.code).ok());
            ASSERT_TRUE(d.record().SetString(d.FieldIndex("NAZWA_"), Cp("Dodatek")).ok());
            ASSERT_TRUE(d.record().SetLogical(d.FieldIndex("KWOTA_PROC"), s.amount).ok());
            ASSERT_TRUE(d.record().SetLogical(d.FieldIndex("TAK_NIE"), s.yes_no).ok());
            ASSERT_TRUE(d.Commit().ok());
            ASSERT_TRUE(d.Unlock().ok());
        }
        const uint32_t recno = c.Register("000001", "Nowak", "Jan");
        ASSERT_TRUE(c.prac().Goto(recno).ok());
        e = ReadEmployee(c.prac());
        ctx = std::make_unique<PageContext>(PageContext{c.h.rt, *c.tables});
    }
    std::vector<Allowance> Stored() { return ReadAllowances(*c.areas.dod, "000001"); }
    void Add(std::vector<int>* keys, std::string_view text) {
        for (int k : Typed(text)) keys->push_back(k);
    }
};

TEST_F(Allowances, ValueKindsFollowTheDictionary) {
    EXPECT_EQ(ValueKindOf(*c.tables, "DFUN"), AllowanceValue::kAmount);
    EXPECT_EQ(ValueKindOf(*c.tables, "PREM"), AllowanceValue::kPercent);
    EXPECT_EQ(ValueKindOf(*c.tables, "NOC"), AllowanceValue::kSwitch);
}

TEST_F(Allowances, LinesWithTheirRangesAndValuesAreWritten) {
    std::vector<int> keys;
    // Line 1 (proposed): an amount without a time limit.
    keys.push_back(key::kEnter);
    Add(&keys, "DFUN");   // fills the symbol
    keys.push_back('N');  // not limited in time
    Add(&keys, "250");
    keys.push_back(key::kEnter);
    // Line 2: a percent limited to 2024/01-2024/06.
    keys.push_back(key::kEnter);
    Add(&keys, "PREM");
    keys.push_back('T');
    Add(&keys, "2024");
    Add(&keys, "01");
    Add(&keys, "2024");
    Add(&keys, "06");
    Add(&keys, "10");
    keys.push_back(key::kEnter);
    // Line 3: the same symbol is forced to a limit; 2024/06-2024/12 collides
    // with line 2 once the line is complete, the message waits for a key and
    // the range is asked again from its start.
    keys.push_back(key::kEnter);
    Add(&keys, "PREM");
    Add(&keys, "2024");
    Add(&keys, "06");
    Add(&keys, "2024");
    Add(&keys, "12");
    Add(&keys, "5");
    keys.push_back(key::kEnter);
    keys.push_back(key::kEnter);  // "Kolizja zakresów miesięcy"
    keys.push_back(key::kEnter);  // the start year stands
    Add(&keys, "07");
    keys.push_back(key::kCtrlEnd);
    // The list ends.
    keys.push_back(key::F(10));
    c.h.backend.AddKeys(keys);
    std::vector<uint32_t> written;
    EXPECT_TRUE(EnterAllowances(*ctx, *c.areas.dod, e, true, &written));
    const std::vector<Allowance> a = Stored();
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(written.size(), 3u);
    EXPECT_EQ(a[0].symbol, "DFUN");
    EXPECT_FALSE(a[0].timed);
    EXPECT_DOUBLE_EQ(a[0].value, 250);
    EXPECT_EQ(a[1].symbol, "PREM");
    EXPECT_TRUE(a[1].timed);
    EXPECT_EQ(a[1].to_month, 6);
    EXPECT_DOUBLE_EQ(a[1].value, 10);
    EXPECT_TRUE(a[2].timed);
    EXPECT_EQ(a[2].from_month, 7);
    EXPECT_EQ(a[2].to_month, 12);
    EXPECT_DOUBLE_EQ(a[2].value, 5);
}

TEST_F(Allowances, AGlobalSymbolTwiceAndUnknownSymbolsAreRefused) {
    Allowance global;
    global.line = 1;
    global.symbol = "DFUN";
    global.value = 100;
    WriteAllowance(*c.tables, *c.areas.dod, "000001", global);
    std::vector<int> keys = {key::kEnter};  // line 2
    Add(&keys, "XYZ");
    keys.push_back(key::kEnter);  // "Błędny symbol dodatku": the message waits
    keys.push_back(key::kEnter);
    keys.push_back(key::Ctrl('Y'));
    Add(&keys, "DFUN");  // `Zdublowany "globalny" symbol`
    keys.push_back(key::kEnter);
    keys.push_back(key::F(10));  // back to the line number
    keys.push_back(key::F(10));  // and the list ends
    c.h.backend.AddKeys(keys);
    EXPECT_TRUE(EnterAllowances(*ctx, *c.areas.dod, e, false, nullptr));
    const std::vector<Allowance> a = Stored();
    ASSERT_EQ(a.size(), 1u);
    EXPECT_DOUBLE_EQ(a[0].value, 100);
}

TEST_F(Allowances, RegistrationStartsWithoutTheNumbersEarlierLines) {
    Allowance old;
    old.line = 4;
    old.symbol = "PREM";
    old.value = 3;
    WriteAllowance(*c.tables, *c.areas.dod, "000001", old);
    c.h.backend.AddKeys({key::F(10)});
    EXPECT_TRUE(EnterAllowances(*ctx, *c.areas.dod, e, true, nullptr));
    EXPECT_TRUE(Stored().empty());
    c.h.backend.AddKeys({key::kEsc});
    EXPECT_FALSE(EnterAllowances(*ctx, *c.areas.dod, e, false, nullptr));
}

}  // namespace
}  // namespace kestrel::registry
