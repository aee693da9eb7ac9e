#include "register/strike_off_dialog.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/backend.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;

std::vector<std::string> WithTaxRecords() {
    return {"PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
            "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
            "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
            "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY", "PKSRDOD", "PKDOCH"};
}

constexpr int kPages = 9;

struct StrikeOffTest : ::testing::Test {
    Company c{WithTaxRecords()};
    dbf::WorkArea* doch = nullptr;

    void SetUp() override {
        c.Register("000001", "Nowak", "Jan");
        c.Register("000002", "Lis", "Ewa");
        WriteAllowance(*c.tables, *c.areas.dod, "000001", {1, "DFUN", 300, false, 0, 0, 0, 0, 0});
        doch = &c.tables->Open("PKDOCH", {"PKDOCH3"});
    }
    void Paid(const char* number, const char* date) {
        c.tables->Append(*doch);
        doch->record().SetString(doch->FieldIndex("NR_PRAC"), number);
        ASSERT_TRUE(doch->record().SetDate(doch->FieldIndex("DATA_WYP"), date).ok());
        ASSERT_TRUE(doch->Commit().ok());
        ASSERT_TRUE(doch->Unlock().ok());
    }
    // Number 1 and the record shown page by page, then `answers`; true when
    // the dialog ended by F10 with every key used.
    bool Run(const std::vector<int>& answers) {
        std::vector<int> keys = {'1', key::kEnter};
        keys.insert(keys.end(), kPages, key::kPgDn);
        keys.insert(keys.end(), answers.begin(), answers.end());
        keys.push_back(key::F(10));
        c.h.backend.AddKeys(keys);
        StrikeOffEmployees(c.h.rt, *c.tables);
        return c.h.backend.exhausted();
    }
    int TaxRecords(const char* number) {
        return static_cast<int>(TaxRecordsOf(*doch, number, 2026).recnos.size());
    }
    std::vector<std::string> Numbers() { return c.NumbersIn(kByNumber); }
    // The NR_PRAC entries of the log of 000001 (registration, striking off).
    size_t NumberEntries() {
        size_t n = 0;
        for (const LoggedChange& e : ReadLog(*c.areas.ekprc, "000001"))
            n += e.entry.field == "NR_PRAC";
        return n;
    }
};

TEST_F(StrikeOffTest, TaxRecordPaidThisYearForbidsIt) {
    Paid("000001", "20250131");
    Paid("000001", "20260131");
    ASSERT_TRUE(Run({'t', key::kEnter}));
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(TaxRecords("000001"), 2);
    EXPECT_EQ(NumberEntries(), 1u);
}

TEST_F(StrikeOffTest, WarningBoxesCarryTheirLines) {
    Paid("000001", "20260131");
    c.h.backend.AddKeys({'1', key::kEnter});
    c.h.backend.AddKeys(std::vector<int>(kPages, key::kPgDn));
    c.h.backend.AddKeys({'t'});
    EXPECT_THROW(StrikeOffEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    std::string box;
    for (int r = 9; r <= 17; ++r) box += c.h.ShownRow(r) + "\n";
    for (const char* line :
         {" UWAGA!!! ", "Wybrany pracownik posiada rekordy",
          "w kartotece podatkowej (plik PKDOCH),", "które dotyczą bieżącego roku.",
          "W takiej sytuacji", "kasowanie pracownika nie jest możliwe."}) {
        EXPECT_NE(box.find(line), std::string::npos) << line << "\n" << box;
    }
}

TEST_F(StrikeOffTest, EarlierYearsOnlyAskAgainAndGoWithTheRecord) {
    Paid("000001", "20250131");
    Paid("000001", "20241231");
    Paid("000002", "20250131");
    // "n" to the second question keeps everything.
    ASSERT_TRUE(Run({'t', 'n', key::kEnter}));
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_EQ(TaxRecords("000001"), 2);

    ASSERT_TRUE(Run({'t', 't', key::kEnter}));
    EXPECT_EQ(Numbers(), std::vector<std::string>{"000002"});
    EXPECT_EQ(TaxRecords("000001"), 0);
    EXPECT_EQ(TaxRecords("000002"), 1);
    EXPECT_EQ(NumberEntries(), 2u);
    EXPECT_EQ(ReadAllowances(*c.areas.dod, "000001").size(), 1u);  // the rows stay
    c.ExpectIndexesRight(c.prac());
}

TEST_F(StrikeOffTest, WithoutTaxRecordsOneQuestionDecides) {
    ASSERT_TRUE(Run({'n', key::kEnter}));
    EXPECT_EQ(Numbers(), (std::vector<std::string>{"000001", "000002"}));
    ASSERT_TRUE(Run({'t', key::kEnter}));
    EXPECT_EQ(Numbers(), std::vector<std::string>{"000002"});
    // Esc while the record is shown goes back to the number.
    c.h.backend.AddKeys({'2', key::kEnter, key::kEsc, key::F(10)});
    StrikeOffEmployees(c.h.rt, *c.tables);
    EXPECT_EQ(Numbers(), std::vector<std::string>{"000002"});
}

TEST_F(StrikeOffTest, SecondWarningNamesTheLossOfTaxData) {
    Paid("000001", "20250131");
    c.h.backend.AddKeys({'1', key::kEnter});
    c.h.backend.AddKeys(std::vector<int>(kPages, key::kPgDn));
    c.h.backend.AddKeys({'t'});
    EXPECT_THROW(StrikeOffEmployees(c.h.rt, *c.tables), console::ScriptEnded);
    std::string box;
    for (int r = 9; r <= 17; ++r) box += c.h.ShownRow(r) + "\n";
    for (const char* line :
         {"w kartotece podatkowej (plik PKDOCH).", "Skasowanie pracownika, skutkować będzie",
          "bezpowrotną utratą danych podatkowych", "tego pracownika."}) {
        EXPECT_NE(box.find(line), std::string::npos) << line << "\n" << box;
    }
    EXPECT_NE(c.h.ShownRow(23).find("Kasować pracown.z PKDOCH? [t,n]"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::registry
