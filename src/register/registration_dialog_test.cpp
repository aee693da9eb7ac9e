#include "register/registration_dialog.h"

#include <gtest/gtest.h>

#include "registration_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Cp;
using testing::Desk;
using testing::Utf;

// Page 1 of a staff employee up to the PESEL, then every page accepted as
// it stands (Ctrl+W).
constexpr std::string_view kIdentity =
    "KOWALSKI{Enter}JAN ADAM{Enter}19850314WARSZAWA{Enter}M{Enter*7}85031412354{Ctrl+W}";

TEST(Registration, StaffEmployeeThroughEveryScreenIsStoredScrambledAndLogged) {
    Desk c;
    c.Script("{Enter}");
    c.Script(kIdentity);
    c.Script("{Ctrl+W}{Ctrl+W}{Ctrl+W}");  // addresses, employment, tax
    // Screen 5: the main title, then one additional title and the end.
    c.Script("0110{Ctrl+W}04112026010120260630{screen titles}{Enter}");
    c.Script("{screen insurance}{Ctrl+W}{Ctrl+W}{Ctrl+W}");  // insurance, incapacity, report
    // Screen 9: a percent allowance on line 1, then the end of the list.
    c.Script("{Enter}PREMN12.5{Enter}");
    // Two ranges of one symbol that only touch do not collide.
    c.Script("{Enter}DODAT2024012024051000{Enter}{Enter}DODA2024062024121000{Enter}");
    c.Script("{screen allowances}{F10}");
    c.Script("t{screen registered}{Enter}{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("registered").find("Pracownik zarejestrowany"), std::string::npos);
    // Screen 6 asks the dates of the insurances and the health-fund
    // branches; the health contribution and its kin belong to the update.
    const std::string insurance = c.ScreenFile("insurance");
    EXPECT_NE(insurance.find("Oddział NFZ:"), std::string::npos) << insurance;
    for (const char* text : {"Składka:", "Stopień pokr.lub powin.:", "Pozostawanie we wspólnym",
                             "Data przystąpienia do NFZ:"}) {
        EXPECT_EQ(insurance.find(text), std::string::npos) << text;
    }
    EXPECT_NE(c.ScreenFile("allowances").find("1 PREM Premia regulaminowa   N"), std::string::npos)
        << c.ScreenFile("allowances");

    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    const EmployeeRecord e = ReadEmployee(c.prac());
    EXPECT_EQ(Utf(e.surname()), "KOWALSKI");
    EXPECT_EQ(Utf(e.first_names()), "JAN ADAM");
    EXPECT_EQ(e.pesel(), "85031412354");
    EXPECT_EQ(e.Text("TYTUL_PODM"), "0110");
    EXPECT_EQ(e.kind(), EmployeeKind::kStaff);
    // The working-time fraction left at 0/0 becomes a full post.
    EXPECT_EQ(e.Number("ETAT_L"), 1);
    // Surname, names and PESEL are never stored in clear.
    const dbf::Record& stored = c.prac().record();
    for (const char* f : {"NAZWX_", "IMIEX_", "PESELX_"}) {
        const std::string v = stored.GetString(stored.FieldIndex(f));
        EXPECT_EQ(v.find("KOWALSKI"), std::string::npos) << f;
        EXPECT_EQ(v.find("JAN ADAM"), std::string::npos) << f;
        EXPECT_EQ(v.find("85031412354"), std::string::npos) << f;
    }
    c.ExpectIndexesRight(c.prac());

    const std::vector<LoggedChange> log = c.Log("000001");
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].entry.table, "PKPRAC ");
    EXPECT_EQ(log[0].entry.field.substr(0, 7), "NR_PRAC");
    EXPECT_EQ(log[0].entry.old_value.find_first_not_of(' '), std::string::npos);
    EXPECT_EQ(log[0].entry.new_value.substr(0, 6), "000001");
    EXPECT_EQ(log[0].day, "20261208");

    const std::vector<InsuranceTitle> titles = ReadTitles(*c.areas.ktyub, "000001");
    ASSERT_EQ(titles.size(), 1u);
    EXPECT_EQ(titles[0].title, "0411");
    EXPECT_EQ(titles[0].from, "20260101");
    EXPECT_EQ(titles[0].to, "20260630");

    const std::vector<Allowance> lines = ReadAllowances(*c.areas.dod, "000001");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].symbol, "PREM");
    EXPECT_DOUBLE_EQ(lines[0].value, 12.5);
    EXPECT_FALSE(lines[0].timed);
    EXPECT_EQ(lines[1].to_month, 5);
    EXPECT_TRUE(lines[2].timed);  // forced by line 2
    EXPECT_EQ(lines[2].from_month, 6);
    EXPECT_EQ(lines[2].to_month, 12);
}

TEST(Registration, EscapeInTheMiddleLeavesNoVisibleRecordAndItsValuesAsDefaults) {
    Desk c;
    c.Script("{Enter}");
    c.Script(kIdentity);
    c.Script("{Ctrl+W}{Esc}{screen gone}{Enter}");
    // The number is free again: it is proposed and the abandoned values
    // come back as the defaults of its next registration.
    c.Script("{screen number}{Enter}{screen defaults}{Esc}{Enter}{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("gone").find("Pracownik skasowany"), std::string::npos);
    EXPECT_NE(c.ScreenFile("number").find("Nr pracown.: 000001"), std::string::npos)
        << c.ScreenFile("number");
    EXPECT_NE(c.ScreenFile("defaults").find("Nazwisko: KOWALSKI"), std::string::npos)
        << c.ScreenFile("defaults");
    EXPECT_FALSE(SeekEmployee(c.prac(), "000001"));
    EXPECT_TRUE(c.NumbersIn(kByNumber).empty());
    EXPECT_TRUE(c.Log("000001").empty());
    EXPECT_EQ(c.prac().table().record_count(), 1u);  // reused, not appended again
}

TEST(Registration, EscapeOnTheFirstScreenKeepsTheTypedIdentityAsDefaults) {
    Desk c;
    c.Script("{Enter}NOWAK{Enter}EWA{Enter}19900101WARSZAWA{Esc}{screen gone}{Enter}");
    c.Script("{Enter}{screen defaults}{Esc}{Enter}{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("gone").find("Pracownik skasowany"), std::string::npos);
    const std::string defaults = c.ScreenFile("defaults");
    EXPECT_NE(defaults.find("Nazwisko: NOWAK"), std::string::npos) << defaults;
    EXPECT_NE(defaults.find("Imiona: EWA"), std::string::npos) << defaults;
    // Still reserved and deleted: nobody else sees it.
    EXPECT_FALSE(SeekEmployee(c.prac(), "000001"));
    EXPECT_EQ(c.prac().table().record_count(), 1u);
}

TEST(Registration, LegalPersonIsRegisteredOrItsDataDropped) {
    Desk c;
    // F1 twice: staff → non-staff → legal person.
    c.Script("{F1}{F1}{screen legal}{Enter}");
    c.Script("ALFA SPÓŁKA Z O.O.{Enter}ALFA{Ctrl+W}{screen ask}t{screen done}{Enter}");
    c.Script("{Enter}BETA{Enter}BETA{Ctrl+W}n{screen dropped}{Enter}{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("legal").find("ID osoby prawnej:"), std::string::npos)
        << c.ScreenFile("legal");
    EXPECT_NE(c.ScreenFile("ask").find("Zarejestrować os.prawną?"), std::string::npos);
    EXPECT_NE(c.ScreenFile("done").find("Os.prawna zarejestrowana"), std::string::npos);
    EXPECT_NE(c.ScreenFile("dropped").find("Dane skasowane"), std::string::npos);

    EXPECT_EQ(c.NumbersIn(kByNumber), std::vector<std::string>{"000001"});
    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    const EmployeeRecord e = ReadEmployee(c.prac());
    EXPECT_EQ(e.kind(), EmployeeKind::kLegalPerson);
    EXPECT_EQ(Utf(e.first_names()), "ALFA");
    EXPECT_EQ(Utf(e.Text("PEL_NAZWA")).rfind("ALFA SPÓŁKA Z O.O. ", 0), 0u);
    EXPECT_EQ(c.Log("000001").size(), 1u);
    EXPECT_FALSE(SeekEmployee(c.prac(), "000002"));
}

TEST(Registration, TemplateIsCopiedAndTheCardTypeFollowsIt) {
    Desk c;
    const uint32_t model = c.Register("000005", "Nowak", "Anna", EmployeeKind::kNonStaff);
    ASSERT_TRUE(c.prac().Goto(model).ok());
    ASSERT_TRUE(c.prac().RLock().ok());
    EmployeeRecord m = ReadEmployee(c.prac());
    m.SetText("STANOW_", "KSIE");
    m.SetLogical("MASTER_", true);
    ASSERT_TRUE(WriteEmployee(c.prac(), m).ok());
    ASSERT_TRUE(c.prac().Unlock().ok());

    // The staff proposal is 000001; F3 opens the register on the record
    // after it, Enter takes that record as the template.
    c.Script("{F3}{screen list}{Enter}{screen copied}");
    c.Script(
        "{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Enter}{Ctrl+W}{Ctrl+W}{Ctrl+W}{F10}t{Enter}");
    c.Script("{F10}");
    c.Run();

    // Enter on the list makes the record a template, and the list says so.
    EXPECT_NE(c.ScreenFile("list").find("<Enter>-Wzorzec tworzenia nowego rekordu"),
              std::string::npos)
        << c.ScreenFile("list");

    EXPECT_NE(c.ScreenFile("copied").find("Nazwisko: Nowak"), std::string::npos)
        << c.ScreenFile("copied");
    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    const EmployeeRecord e = ReadEmployee(c.prac());
    EXPECT_EQ(e.kind(), EmployeeKind::kNonStaff);
    EXPECT_EQ(Utf(e.surname()), "Nowak");
    EXPECT_EQ(e.Text("STANOW_"), "KSIE");
    EXPECT_FALSE(e.Logical("MASTER_"));
    ASSERT_TRUE(SeekEmployee(c.prac(), "000005"));
}

TEST(Registration, ProposalSkipsANumberTakenByAnotherKindAndATakenNumberIsRefused) {
    Desk c;
    c.Register("000041", "Adamski", "Piotr");
    c.Register("000042", "Bielska", "Ewa", EmployeeKind::kNonStaff);
    c.Script("{screen proposal}{Ctrl+Y}41{Enter}{screen taken}{Enter}{F10}");
    c.Run();
    EXPECT_NE(c.ScreenFile("proposal").find("Nr pracown.: 000043"), std::string::npos)
        << c.ScreenFile("proposal");
    EXPECT_NE(c.ScreenFile("taken").find("Istnieje pracownik o tym numerze"), std::string::npos);
}

TEST(Registration, ShortCardEndsAfterTheEmploymentScreenAndF12GivesTheFullCard) {
    Desk c;
    c.h.rt.config().Set("NAGLKTSNE", memfile::MemValue::Logical(true));
    // F1: non-staff. The short employment screen asks the confirmation at
    // once: no title list, no allowances.
    c.Script(
        "{F1}{Enter}NOWAK{Enter}EWA{Ctrl+W}{Ctrl+W}{screen short}{Ctrl+W}{screen ask}t{Enter}");
    // F12 on the short screen gives the full card with every later screen.
    c.Script("{Enter}ZIELIŃSKA{Enter}ANNA{Ctrl+W}{Ctrl+W}{F12}{screen full}{Ctrl+W}");
    c.Script("{Ctrl+W}{Ctrl+W}{Enter}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Enter}PREMN5{Enter}{F10}t{Enter}");
    c.Script("{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("short").find("<F12>-Pełna kartoteka"), std::string::npos)
        << c.ScreenFile("short");
    EXPECT_NE(c.ScreenFile("ask").find("Zarejestrować pracownika?"), std::string::npos)
        << c.ScreenFile("ask");
    EXPECT_NE(c.ScreenFile("full").find("<F12>-Kartoteka skrócona"), std::string::npos)
        << c.ScreenFile("full");
    EXPECT_EQ(c.NumbersIn(kByNumber), (std::vector<std::string>{"000001", "000002"}));
    EXPECT_TRUE(ReadAllowances(*c.areas.dod, "000001").empty());
    EXPECT_EQ(ReadAllowances(*c.areas.dod, "000002").size(), 1u);
    ASSERT_TRUE(SeekEmployee(c.prac(), "000002"));
    EXPECT_EQ(ReadEmployee(c.prac()).kind(), EmployeeKind::kNonStaff);
}

TEST(Registration, AfterTheLastNumberZeroIsProposedAndRefused) {
    Desk c;
    c.Register("999999", "Ostatni", "Jan");
    c.Script(
        "{screen proposal}{Enter}{screen refused}{Ctrl+Y}7{Enter}{screen typed}{Esc}{Enter}{F10}");
    c.Run();
    EXPECT_NE(c.ScreenFile("proposal").find("Nr pracown.: 000000"), std::string::npos)
        << c.ScreenFile("proposal");
    // Refused: the number screen stays until another number is typed.
    EXPECT_NE(c.ScreenFile("refused").find("Nr pracown.: 000000"), std::string::npos)
        << c.ScreenFile("refused");
    EXPECT_NE(c.ScreenFile("typed").find("Nazwisko:"), std::string::npos);
    EXPECT_EQ(c.prac().table().record_count(), 2u);  // 999999 and the abandoned 000007
    EXPECT_EQ(c.NumbersIn(kByNumber), std::vector<std::string>{"999999"});
}

TEST(Registration, AReusedNumberKeepsNoRowsOfItsFormerHolder) {
    Desk c;
    const uint32_t former = c.Register("000001", "Dawny", "Jan");
    InsuranceTitle t{1, "0411", "20210101", "20210301"};
    WriteTitle(*c.tables, *c.areas.ktyub, "000001", t);
    t.line = 2;
    WriteTitle(*c.tables, *c.areas.ktyub, "000001", t);
    Allowance a;
    a.line = 1;
    a.symbol = "PREM";
    a.value = 20;
    WriteAllowance(*c.tables, *c.areas.dod, "000001", a);
    // The former holder is struck off: the number is free again.
    ASSERT_TRUE(c.prac().Goto(former).ok());
    ASSERT_TRUE(c.prac().RLock().ok());
    ASSERT_TRUE(c.prac().Delete().ok());
    ASSERT_TRUE(c.prac().Unlock().ok());

    // The former holder's first title is offered and emptied; the
    // allowances are not offered at all.
    c.Script("{Enter}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{screen offered}{Ctrl+Y}{Enter}");
    c.Script("{Ctrl+W}{Ctrl+W}{Ctrl+W}{screen allowances}{F10}t{Enter}{F10}");
    c.Run();
    EXPECT_NE(c.ScreenFile("offered").find(" 1  0411"), std::string::npos)
        << c.ScreenFile("offered");
    EXPECT_EQ(c.ScreenFile("allowances").find("PREM"), std::string::npos)
        << c.ScreenFile("allowances");
    ASSERT_TRUE(SeekEmployee(c.prac(), "000001"));
    EXPECT_TRUE(ReadTitles(*c.areas.ktyub, "000001").empty());
    EXPECT_TRUE(ReadAllowances(*c.areas.dod, "000001").empty());
}

TEST(Registration, ASecondRecordOfOnePeselOpensTheLeadingRecordWindow) {
    Desk c;
    c.Register("000005", "Kowalski", "Jan", EmployeeKind::kStaff, "85031412354");
    c.Script("{Enter}");
    c.Script(kIdentity);
    c.Script("{screen after_pesel}");
    c.Script("{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Enter}{Ctrl+W}{Ctrl+W}{Ctrl+W}{F10}t{Enter}");
    c.Script("{screen leading}{Esc}{F10}");
    c.Run();
    EXPECT_NE(c.ScreenFile("leading").find("Wykaz pracowników z takim samym PESELEM"),
              std::string::npos)
        << c.ScreenFile("after_pesel") << c.ScreenFile("leading");
    EXPECT_EQ(c.NumbersIn(kByNumber), (std::vector<std::string>{"000005", "000006"}));
}

}  // namespace
}  // namespace kestrel::registry
