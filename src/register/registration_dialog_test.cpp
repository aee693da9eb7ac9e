#include "register/registration_dialog.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "employee_test_support.h"
#include "platform/console/headless_backend.h"
#include "register/allowance_list.h"
#include "register/title_list.h"

namespace kestrel::registry {
namespace {

using testing::Company;
using testing::Cp;
using testing::Utf;

const std::vector<std::string> kDictionaries = {
    "PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
    "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
    "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
    "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY", "PKSRDOD"};

// A company with a few insurance titles and allowance kinds, and a script
// runner that keeps the screens it was asked for.
struct Desk : Company {
    Desk() : Company(kDictionaries) {
        AddTitle("0110", "Pracownik");
        AddTitle("0411", "Zleceniobiorca");
        AddKind("PREM", "Premia regulaminowa", false, false);
        AddKind("DODA", "Dodatek za rozłąkę", true, false);
        AddKind("KAS", "Dodatek kasjerski", false, true);
        h.backend.set_screens_dir(dir.path());
    }

    void Add(const std::string& table, const std::string& index,
             const std::vector<std::pair<std::string, std::string>>& text,
             const std::vector<std::pair<std::string, bool>>& flags = {}) {
        dbf::WorkArea& a = tables->Open(table, {index});
        tables->Append(a);
        for (const auto& [f, v] : text) ASSERT_TRUE(a.record().SetString(a.FieldIndex(f), Cp(v)).ok());
        for (const auto& [f, v] : flags) ASSERT_TRUE(a.record().SetLogical(a.FieldIndex(f), v).ok());
        ASSERT_TRUE(a.Commit().ok());
        ASSERT_TRUE(a.Unlock().ok());
    }
    void AddTitle(const std::string& code, const std::string& name) {
        Add("PKTYTUB", "PKTYTUB1", {{"TYTUL_PODM", code}, {"NAZWA_", name}});
    }
    void AddKind(const std::string& symbol, const std::string& name, bool amount, bool flag) {
        Add("PKSRDOD", "PKSRDOD1", {{"RODZAJ_DOD", symbol}, {"NAZWA_", name}},
            {{"KWOTA_PROC", amount}, {"TAK_NIE", flag}});
    }

    void Script(std::string_view utf8) { ASSERT_TRUE(h.backend.AddScript(utf8).ok()); }
    // The screen written by "{screen NAME}".
    std::string ScreenFile(const std::string& name) {
        std::ifstream in(dir.File(name + ".txt"));
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    void Run() {
        RunRegistration(h.rt, *tables);
        EXPECT_TRUE(h.backend.exhausted());
        // The dialog opened the register afresh in the same workspace.
        Reopen();
    }

    std::vector<LoggedChange> Log(const std::string& number) {
        return ReadLog(*areas.ekprc, number);
    }
};

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
    c.Script("{Ctrl+W}{Ctrl+W}{Ctrl+W}");  // insurance, incapacity, report
    // Screen 9: a percent allowance on line 1, then the end of the list.
    c.Script("{Enter}PREMN12.5{Enter}{screen allowances}{F10}");
    c.Script("t{screen registered}{Enter}{F10}");
    c.Run();

    EXPECT_NE(c.ScreenFile("registered").find("Pracownik zarejestrowany"), std::string::npos);
    EXPECT_NE(c.ScreenFile("allowances").find("1 PREM Premia regulaminow    N"), std::string::npos)
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
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "PREM");
    EXPECT_DOUBLE_EQ(lines[0].value, 12.5);
    EXPECT_FALSE(lines[0].timed);
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
    c.Script("{F3}{Enter}{screen copied}");
    c.Script("{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Ctrl+W}{Enter}{Ctrl+W}{Ctrl+W}{Ctrl+W}{F10}t{Enter}");
    c.Script("{F10}");
    c.Run();

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

// --- The lists ---------------------------------------------------------------

struct Lists : Desk {
    ListEnd Allowances(std::string_view script, bool update = false) {
        Script(script);
        AllowanceListOptions o;
        o.update = update;
        const ListEnd end = EditAllowances(h.rt, *tables, *areas.dod, "000007", o);
        EXPECT_TRUE(h.backend.exhausted());
        return end;
    }
    std::vector<Allowance> Stored() { return ReadAllowances(*areas.dod, "000007"); }
};

TEST(AllowanceList, OverlappingMonthRangesOfOneSymbolCollide) {
    Lists c;
    // Line 1: 2024/01-2024/06. Line 2 asks 2024/06-2024/12, which collides;
    // the range is asked again from its start and moved to 2024/07.
    EXPECT_EQ(c.Allowances("{Enter}DODAT20240120240610000{Enter}"
                           "{Enter}DODA202406202412{screen collision}{Enter}"
                           "20240720241220000{Enter}{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("collision").find("Kolizja zakresów miesięcy"), std::string::npos)
        << c.ScreenFile("collision");
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].from_month, 1);
    EXPECT_EQ(lines[0].to_month, 6);
    EXPECT_DOUBLE_EQ(lines[0].value, 10000);
    EXPECT_EQ(lines[1].from_year, 2024);
    EXPECT_EQ(lines[1].from_month, 7);
    EXPECT_EQ(lines[1].to_month, 12);
}

TEST(AllowanceList, AdjacentRangesAreAcceptedAndTheSecondLineIsForcedTimed) {
    Lists c;
    // The second DODA line never offers "Czasowy?": the first is timed.
    EXPECT_EQ(c.Allowances("{Enter}DODAT20240120240510000{Enter}"
                           "{Enter}DODA20240620241220000{Enter}{F10}"),
              ListEnd::kDone);
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[1].timed);
    EXPECT_EQ(lines[1].from_month, 6);
    EXPECT_EQ(lines[1].to_year, 2024);
}

TEST(AllowanceList, UnknownAndGloballyDuplicatedSymbolsAreRefused) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}PREMN5{Enter}"
                           "{Enter}XYZ{Enter}{screen unknown}{Enter}"
                           "{Ctrl+Y}PREM{screen duplicated}{Enter}{F10}"
                           "{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("unknown").find("Błędny symbol dodatku"), std::string::npos)
        << c.ScreenFile("unknown");
    EXPECT_NE(c.ScreenFile("duplicated").find("Zdublowany \"globalny\" symbol"), std::string::npos)
        << c.ScreenFile("duplicated");
    ASSERT_EQ(c.Stored().size(), 1u);
}

TEST(AllowanceList, FlagsAmountsAndPercentsAndDeletionInTheUpdate) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}KAS{Enter}NT{Enter}PREMN7.5{Enter}{F10}"), ListEnd::kDone);
    std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_DOUBLE_EQ(lines[0].value, 1);  // a yes/no kind is stored as 1
    EXPECT_DOUBLE_EQ(lines[1].value, 7.5);
    // F8 on line 1 after "t" removes it; Esc leaves the list.
    EXPECT_EQ(c.Allowances("{Ctrl+Y}1{F8}{screen ask}t{Esc}", true), ListEnd::kEscape);
    EXPECT_NE(c.ScreenFile("ask").find("Kasować symbol \"KAS\" ?"), std::string::npos)
        << c.ScreenFile("ask");
    lines = c.Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "PREM");
}

TEST(AllowanceList, F3PicksTheSymbolFromTheDictionary) {
    Lists c;
    EXPECT_EQ(c.Allowances("{Enter}{F3}{screen picker}{Enter}T20240120241210{Enter}{F10}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("picker").find("KAS"), std::string::npos) << c.ScreenFile("picker");
    const std::vector<Allowance> lines = c.Stored();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].symbol, "DODA");
    EXPECT_TRUE(lines[0].timed);
}

TEST(AllowanceList, SymbolShape) {
    for (const char* ok : {"A", "PREM", "A1  ", "Z99"}) EXPECT_TRUE(AllowanceSymbolWellFormed(ok)) << ok;
    for (const char* bad : {"", "    ", "1ABC", "prem", "A-1", " ABC", "A B"})
        EXPECT_FALSE(AllowanceSymbolWellFormed(bad)) << bad;
}

struct Titles : Desk {
    EmployeeRecord employee;
    Titles() {
        employee = EmployeeRecord::Blank(prac());
        employee.set_number("000007");
        employee.SetText("TYTUL_PODM", "0110");
        employee.SetDate("DATA_ZATR", "20200101");
    }
    ListEnd Edit(std::string_view script) {
        Script(script);
        const ListEnd end = EditTitles(h.rt, *tables, *areas.ktyub, employee, 16);
        EXPECT_TRUE(h.backend.exhausted());
        return end;
    }
    std::vector<InsuranceTitle> Stored() { return ReadTitles(*areas.ktyub, "000007"); }
};

TEST(TitleList, MainTitleWithinTheEmploymentIsADuplicate) {
    Titles c;
    EXPECT_EQ(c.Edit("{screen open}011020210101{Enter}{screen duplicate}{Enter}"
                     "{Ctrl+Y}041120210101{Enter}{Enter}"),
              ListEnd::kDone);
    EXPECT_NE(c.ScreenFile("open").find("0110   Pracownik"), std::string::npos)
        << c.ScreenFile("open");
    EXPECT_NE(c.ScreenFile("duplicate").find("Zdublowany tytuł ubezpieczenia"), std::string::npos)
        << c.ScreenFile("duplicate");
    const std::vector<InsuranceTitle> t = c.Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].title, "0411");
    EXPECT_EQ(t[0].to, "");
}

TEST(TitleList, MainTitleBeforeTheEmploymentOrAfterTheDismissalIsNoDuplicate) {
    Titles c;
    c.employee.SetDate("DATA_ZWOLN", "20221231");
    c.employee.SetText("PRZYCZ_ZW", "01");
    // The main title runs to the day after the dismissal: 2023-01-01.
    EXPECT_EQ(MainTitleOf(c.employee).to, "20230101");
    EXPECT_EQ(c.Edit("01102019010120191231011020230102{Enter}{Enter}"), ListEnd::kDone);
    ASSERT_EQ(c.Stored().size(), 2u);
}

TEST(TitleList, ALongListScrollsWithTheLineBeingTypedOnTheLastRow) {
    Titles c;
    for (int line = 1; line <= 6; ++line) {
        InsuranceTitle t;
        t.line = line;
        t.title = "0411";
        t.from = "20210" + std::to_string(line) + "01";
        t.to = "20210" + std::to_string(line) + "10";
        WriteTitle(*c.tables, *c.areas.ktyub, "000007", t);
    }
    std::string keys;
    for (int line = 1; line <= 6; ++line) keys += "{Enter}{Enter}{Enter}";
    EXPECT_EQ(c.Edit(keys + "{screen scrolled}{Esc}"), ListEnd::kEscape);
    std::vector<std::string> rows;
    std::stringstream ss(c.ScreenFile("scrolled"));
    for (std::string row; std::getline(ss, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), 25u);
    // Rows 16-19 hold lines 3-6, row 20 the new line 7.
    EXPECT_NE(rows[16].find(" 3  0411"), std::string::npos) << c.ScreenFile("scrolled");
    EXPECT_NE(rows[19].find(" 6  0411   Zleceniobiorca"), std::string::npos);
    EXPECT_NE(rows[20].find(" 7 "), std::string::npos);
    EXPECT_EQ(c.ScreenFile("scrolled").find(" 2  0411"), std::string::npos);
    EXPECT_EQ(c.Stored().size(), 6u);
}

TEST(TitleList, AnEmptyTitleEndsTheListAndDeletesTheLinesFromIt) {
    Titles c;
    for (int line = 1; line <= 3; ++line) {
        InsuranceTitle t;
        t.line = line;
        t.title = "0411";
        t.from = "2021010" + std::to_string(line);
        t.to = "2021010" + std::to_string(line);
        WriteTitle(*c.tables, *c.areas.ktyub, "000007", t);
    }
    // Line 1 is taken as it stands, line 2 emptied: lines 2 and 3 go.
    EXPECT_EQ(c.Edit("{Enter}{Enter}{Enter}{Ctrl+Y}{Enter}"), ListEnd::kDone);
    const std::vector<InsuranceTitle> t = c.Stored();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].from, "20210101");
    // Esc leaves the list at once.
    EXPECT_EQ(c.Edit("{Esc}"), ListEnd::kEscape);
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST(Registration, ShortCardEndsAfterTheEmploymentScreenAndF12GivesTheFullCard) {
    Desk c;
    c.h.rt.config().Set("NAGLKTSNE", memfile::MemValue::Logical(true));
    // F1: non-staff. The short employment screen asks the confirmation at
    // once: no title list, no allowances.
    c.Script("{F1}{Enter}NOWAK{Enter}EWA{Ctrl+W}{Ctrl+W}{screen short}{Ctrl+W}{screen ask}t{Enter}");
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
    c.Script("{screen proposal}{Enter}{screen refused}{Ctrl+Y}7{Enter}{screen typed}{Esc}{Enter}{F10}");
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
