#include "register/data/employee_checks.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;

TEST(PeselCheck, BirthDateSexAndCheckDigit) {
    struct Case {
        std::string pesel;
        const char* birth;
        const char* sex;
        const char* message;
    };
    const std::string born2005 = MakePesel("20050314", 123, 'M');
    const std::string born1899 = MakePesel("18991201", 45, 'K');
    ASSERT_EQ(born2005.substr(0, 6), "052314");
    ASSERT_EQ(born1899.substr(0, 6), "999201");
    std::string wrong_check = born2005;
    wrong_check[10] = static_cast<char>('0' + (wrong_check[10] - '0' + 1) % 10);
    const Case cases[] = {
        {born2005, "20050314", "M", ""},
        {born1899, "18991201", "K", ""},
        {"", "20050314", "M", "Brak numeru PESEL"},
        {"           ", "20050314", "M", "Brak numeru PESEL"},
        {wrong_check, "20050314", "M", "Błędny numer PESEL"},
        // The month must carry the century's offset.
        {"05031412345", "20050314", "M", "Błędny PESEL"},
        // Odd tenth digit on a woman's record, even with a right check digit.
        {born2005, "20050314", "K", "Błędny PESEL"},
        {born2005, "20050315", "M", "Błędny PESEL"},
        {"0523141234", "20050314", "M", "Błędny PESEL"},
        {"05231412a45", "20050314", "M", "Błędny PESEL"},
        {MakePesel("21000101", 1, 'M'), "21000101", "M", "Błędny PESEL"},
        {"99999999999", "17991231", "M", "Błędny PESEL"},
        {born2005, "", "M", "Błędny PESEL"},
    };
    for (const Case& c : cases) {
        const Verdict v = CheckPeselOf(c.pesel, c.birth, c.sex);
        EXPECT_TRUE(v.accepted) << c.pesel;
        EXPECT_EQ(v.message, c.message) << c.pesel << " " << c.birth << " " << c.sex;
    }
}

TEST(IdentifierChecks, NipRegonAndAccountOnlyWarn) {
    struct Case {
        Verdict (*check)(std::string_view);
        const char* value;
        const char* message;
    };
    const Case cases[] = {
        {CheckNipField, "", ""},
        {CheckNipField, "5273014587", ""},
        {CheckNipField, "527-301-45-87", "Błędny NIP"},
        {CheckNipField, "527301458", "Błędny NIP"},
        {CheckNipField, "5273014588", "Błędny numer NIP"},
        // Weighted sum leaving remainder 10 never matches.
        {CheckNipField, "1000000160", "Błędny numer NIP"},
        {CheckRegonField, "", "Brak numeru REGON"},
        {CheckRegonField, "147389254", ""},
        {CheckRegonField, "14738925", "Błędny REGON"},
        {CheckRegonField, "147389255", "Błędny numer REGON"},
        {CheckAccountField, "", ""},
        {CheckAccountField, "61 1090 1014 0000 0712 1981 2874", ""},
        {CheckAccountField, "61 1090 1014 0000 0712 1981 2875", "Błędny Nr rachunku"},
        {CheckAccountField, "konto", "Błędny Nr rachunku"},
    };
    for (const Case& c : cases) {
        const Verdict v = c.check(c.value);
        EXPECT_TRUE(v.accepted) << c.value;
        EXPECT_EQ(v.message, c.message) << c.value;
    }
}

TEST(DuplicatePesel, OtherRecordsNamedBesideTheField) {
    EXPECT_EQ(SharedPeselText({}), "");
    EXPECT_EQ(SharedPeselText({"000002"}), "Ident.PESEL:000002");
    EXPECT_EQ(SharedPeselText({"000002", "000005"}), "Ident.:000002,000005");
    EXPECT_EQ(SharedPeselText({"000002", "000005", "000007"}), "000002,000005,000007");
    EXPECT_EQ(SharedPeselText({"000002", "000005", "000007", "000009"}), "000002,000005,000007>");

    Company c;
    const std::string pesel = MakePesel("19800517", 321, 'M');
    const std::string other = MakePesel("19800517", 322, 'M');
    uint32_t first = 0;
    for (const char* nr : {"000006", "000002", "000004", "000003", "000005"}) {
        const uint32_t recno = c.Register(nr, "Wójcik", "Adam", EmployeeKind::kStaff, pesel);
        if (first == 0) first = recno;
    }
    c.Register("000001", "Wójcik", "Adam", EmployeeKind::kStaff, other);
    // Five other records with one PESEL: three numbers, then ">".
    EXPECT_EQ(RecordsWithPesel(c.prac(), pesel, first),
              (std::vector<std::string>{"000002", "000003", "000004", "000005"}));
    ASSERT_TRUE(SeekEmployee(c.prac(), "000006"));
    EmployeeRecord e = ReadEmployee(c.prac());
    ASSERT_TRUE(e.SetDate("DATA_URODZ", "19800517").ok());
    ASSERT_TRUE(e.SetText("PLEC_", "M").ok());
    Verdict v = CheckPesel(c.prac(), e, c.prac().recno());
    EXPECT_TRUE(v.accepted && v.beep);
    EXPECT_EQ(v.message, "000002,000003,000004>");
    // A PESEL of its own: no message.
    e.set_pesel(MakePesel("19800517", 999, 'M'));
    EXPECT_EQ(CheckPesel(c.prac(), e, c.prac().recno()).message, "");

    // The leading record: the one marked, else the highest number.
    std::vector<PeselRecord> records = PeselRecords(c.prac(), pesel);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[LeadingIndex(records)].number, "000006");
    records[1].leading = true;
    EXPECT_EQ(records[LeadingIndex(records)].number, "000003");
}

TEST(Seniority, WholeMonthsToTheReferenceMonth) {
    struct Case {
        const char* employed;
        int years, months;
        bool overflow;
        const char* text;
    };
    const Case cases[] = {
        {"20261201", 0, 0, false, "Staż:0/0"},     {"20261231", 0, 0, false, "Staż:0/0"},
        {"20270105", 0, 0, false, "Staż:0/0"},     {"20251115", 1, 1, false, "Staż:1/1"},
        {"20000301", 26, 9, false, "Staż:26/9"},   {"19261212", 0, 0, true, "Staż:**/**"},
        {"19270101", 99, 11, false, "Staż:99/11"},
    };
    for (const Case& c : cases) {
        const Seniority s = SeniorityAt(c.employed, 2026, 12);
        EXPECT_EQ(s.overflow, c.overflow) << c.employed;
        if (!c.overflow) {
            EXPECT_EQ(s.years, c.years) << c.employed;
            EXPECT_EQ(s.months, c.months) << c.employed;
        }
        EXPECT_EQ(SeniorityText(s), c.text) << c.employed;
    }
    Company c;
    int year = 0, month = 0;
    ReferenceMonth(nullptr, "20261208", &year, &month);
    EXPECT_EQ(year * 100 + month, 202612);
    dbf::WorkArea& ster = c.tables->Open("PKSTER");
    ReferenceMonth(&ster, "20261208", &year, &month);
    EXPECT_EQ(year * 100 + month, 202612);
    c.tables->Append(ster);
    ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("ROK_"), 2026).ok());
    ASSERT_TRUE(ster.record().SetNumber(ster.FieldIndex("MC_"), 3).ok());
    ASSERT_TRUE(ster.Commit().ok());
    ReferenceMonth(&ster, "20261208", &year, &month);
    EXPECT_EQ(year * 100 + month, 202603);
}

TEST(FieldRules, BuiltInListsDatesAndAmounts) {
    EXPECT_EQ(CheckPensionRight("1").message, "");
    EXPECT_EQ(CheckPensionRight(" ").message, "Błędny kod");
    EXPECT_TRUE(CheckPensionRight(" ").accepted);
    EXPECT_FALSE(CheckPensionRight("7").accepted);
    EXPECT_TRUE(CheckDisability("4").message.empty());
    EXPECT_FALSE(CheckDisability("5").accepted);
    EXPECT_TRUE(CheckForeignIdKind("7", false).accepted);
    EXPECT_EQ(CheckForeignIdKind("7", true).message, "Błędny kod");
    EXPECT_FALSE(CheckForeignIdKind("7", true).accepted);
    EXPECT_TRUE(CheckForeignIdKind(" ", true).accepted);
    EXPECT_EQ(ForeignIdKindName("4"), "URZĘDOWY DOKUMENT STWIERDZAJĄCY TOŻSAMOŚĆ");
    EXPECT_EQ(CheckHealthFund("07R").message, "");
    EXPECT_EQ(CheckHealthFund("16R").message, "");
    EXPECT_EQ(CheckHealthFund("17R").message, "Błędny kod NFZ");
    EXPECT_TRUE(CheckHealthFund("00R").accepted);
    EXPECT_EQ(TaxFormName("4"), "ryczałt od przychodów");
    EXPECT_TRUE(SexValid("K"));
    EXPECT_FALSE(SexValid("X"));
    struct Choice {
        const char* field;
        const char* value;
        bool legal, valid;
    };
    const Choice choices[] = {
        {"PLEC_", "M", false, true},       {"PLEC_", " ", false, false},
        {"KOD_IDENT", "", false, true},    {"KOD_IDENT", "3", false, false},
        {"PRZEKR_POD", "3", false, true},  {"WYR_KOR", "3", false, false},
        {"STR_ROZ_U", "2", false, true},   {"FORMA_OPOD", "6", false, true},
        {"FORMA_OPOD", " ", false, false}, {"WIE_ULG_PD", "5", false, false},
        {"Z_KOD_ID", "2", true, true},     {"Z_KOD_ID", "3", true, false},
        {"Z_KOD_ID", "3", false, true},    {"PLEC_", "MK", false, false},
    };
    for (const Choice& c : choices) {
        EXPECT_EQ(ChoiceValid(c.field, c.value, c.legal), c.valid) << c.field << " " << c.value;
    }

    EXPECT_TRUE(DismissalValid("  ", "", "20200101"));
    EXPECT_FALSE(DismissalValid("  ", "20250101", "20200101"));
    EXPECT_TRUE(DismissalValid("03", "20250101", "20200101"));
    EXPECT_FALSE(DismissalValid("03", "20191231", "20200101"));
    EXPECT_TRUE(PeriodValid("20200101", ""));
    EXPECT_FALSE(PeriodValid("", "20200101"));
    EXPECT_FALSE(PeriodValid("20200102", "20200101"));
}

TEST(FieldRules, InsuranceScreenEmptiesWhatIsNotChosen) {
    Company c;
    Registration reg(c.h.rt, *c.tables, c.areas);
    ASSERT_EQ(reg.Reserve("000001"), ReserveResult::kReserved);
    EmployeeRecord& e = reg.record();
    for (const char* f :
         {"DATA_OB_UB", "DATA_OB_UZ", "DATA_KASY", "DATA_DO_UE", "DATA_DO_UZ", "DATA_OT_FE"}) {
        ASSERT_TRUE(e.SetDate(f, "20200101").ok());
    }
    ASSERT_TRUE(e.SetText("KOD_KASY", "07R").ok());
    ASSERT_TRUE(e.SetText("KOD_FUND", "012").ok());
    ASSERT_TRUE(e.SetNumber("KWO_DO_UZ", 120).ok());
    ASSERT_TRUE(e.SetLogical("CZY_OB_UW", true).ok());
    ASSERT_TRUE(e.SetLogical("CZY_DO_UE", true).ok());
    EXPECT_TRUE(AnySocialInsurance(e));
    EXPECT_FALSE(AnyHealthInsurance(e));
    ClearUnchosenInsurance(&e);
    EXPECT_EQ(e.Date("DATA_OB_UB"), "20200101");
    EXPECT_EQ(e.Date("DATA_DO_UE"), "20200101");
    for (const char* f : {"DATA_OB_UZ", "DATA_KASY", "DATA_DO_UZ", "DATA_OT_FE"}) {
        EXPECT_EQ(e.Date(f), "") << f;
    }
    EXPECT_EQ(e.Text("KOD_KASY"), "   ");
    EXPECT_EQ(e.Text("KOD_FUND"), "   ");
    EXPECT_EQ(e.Number("KWO_DO_UZ"), 0);

    ASSERT_TRUE(e.SetNumber("ETAT_L", 1).ok());
    ASSERT_TRUE(e.SetNumber("ETAT_M", 0).ok());
    NormaliseWorkingTime(&e);
    EXPECT_EQ(e.Number("ETAT_L") * 10 + e.Number("ETAT_M"), 11);
    ASSERT_TRUE(e.SetNumber("ETAT_L", 1).ok());
    ASSERT_TRUE(e.SetNumber("ETAT_M", 2).ok());
    NormaliseWorkingTime(&e);
    EXPECT_EQ(e.Number("ETAT_M"), 2);
    EXPECT_EQ(FirstNegative(e), "");
    ASSERT_TRUE(e.SetNumber("POTRAC_PKO", -1).ok());
    EXPECT_EQ(FirstNegative(e), "POTRAC_PKO");
    reg.GiveUp();
}

}  // namespace
}  // namespace kestrel::registry
