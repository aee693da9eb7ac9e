#include "register/employee_pages.h"

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
using testing::Cp;
using testing::Utf;

const std::vector<std::string> kDictionaries = {
    "PKURZ",   "PKSTAN",  "PKDZIAL", "PKSKSZT", "PKRUM",   "PKRPL",   "PKSZATR",
    "PKGRUPY", "PKGRALG", "PKSSTPO", "PKZWZ",   "PKTYTUB", "PKSGRIN", "PKKOFE",
    "PKSNIEZ", "PKKPSW",  "PKEKD",   "PKKZIS",  "PKWYKSZ", "PKWYRUB", "PKPRZ",
    "PKKROZ",  "PKKPOD",  "PKSKODK", "PKGMINY"};

std::string Screen(Company& c) {
    std::string all;
    for (int r = 0; r < 25; ++r) all += c.h.Row(r) + "\n";
    return all;
}

// Pages are shown one after another; every page is kept as the operator saw
// it when the next key was read.
struct Shown {
    std::vector<std::string> pages;
    bool completed = false;
};

Shown ShowAll(Company& c, uint32_t recno) {
    EXPECT_TRUE(c.prac().Goto(recno).ok());
    const EmployeeRecord e = ReadEmployee(c.prac());
    Shown out;
    PageContext ctx{c.h.rt, *c.tables};
    ctx.prac = &c.prac();
    ctx.recno = recno;
    ctx.ref_year = 2026;
    ctx.ref_month = 12;
    const std::vector<Page> pages = PagesOf(e.kind(), false);
    for (Page p : pages) {
        c.h.backend.AddKeys({key::kPgDn});
        const PageExit x = ShowPage(ctx, p, e);
        EXPECT_EQ(x, PageExit::kNext);
        out.pages.push_back(Screen(c));
    }
    out.completed = true;
    return out;
}

TEST(RecordPages, EveryPageOfEachKindIsShownWithTheClearNames) {
    Company c(kDictionaries);
    const uint32_t staff =
        c.Register("000001", "Żółkiewska", "Łucja Anna", EmployeeKind::kStaff, "85031412344");
    const uint32_t other = c.Register("000002", "Nowak", "Piotr", EmployeeKind::kNonStaff);
    const uint32_t firm = c.Register("000003", "", "ALFA", EmployeeKind::kLegalPerson);

    const Shown s = ShowAll(c, staff);
    ASSERT_EQ(s.pages.size(), 9u);
    EXPECT_NE(s.pages[0].find("Nazwisko: Żółkiewska"), std::string::npos) << s.pages[0];
    EXPECT_NE(s.pages[0].find("Imiona: Łucja Anna"), std::string::npos);
    EXPECT_NE(s.pages[0].find("PESEL: 85031412344"), std::string::npos);
    EXPECT_NE(s.pages[0].find("Etat:"), std::string::npos);
    EXPECT_NE(s.pages[5].find("Obowiązkowe:"), std::string::npos) << s.pages[5];
    // The compulsory insurance of a staff employee is on by default.
    EXPECT_NE(s.pages[5].find("Obowiązkowe:          T         T"), std::string::npos)
        << s.pages[5];
    EXPECT_NE(s.pages[2].find("Data zatr.: 2020-01-01"), std::string::npos) << s.pages[2];

    const Shown n = ShowAll(c, other);
    ASSERT_EQ(n.pages.size(), 9u);
    EXPECT_NE(n.pages[0].find("Nazwisko: Nowak"), std::string::npos);
    // Only staff employees have a working-time fraction.
    EXPECT_EQ(n.pages[0].find("Etat:"), std::string::npos);

    const Shown f = ShowAll(c, firm);
    ASSERT_EQ(f.pages.size(), 1u);
    EXPECT_NE(f.pages[0].find("Nazwa skrócona: ALFA"), std::string::npos) << f.pages[0];
    EXPECT_NE(f.pages[0].find("Adres siedziby"), std::string::npos);
}

TEST(RecordPages, ShowRecordWalksBackAndForthAndStopsOnEsc) {
    Company c(kDictionaries);
    const uint32_t staff = c.Register("000001", "Nowak", "Jan");
    ASSERT_TRUE(c.prac().Goto(staff).ok());
    const EmployeeRecord e = ReadEmployee(c.prac());
    PageContext ctx{c.h.rt, *c.tables};
    // Forward to page 3, back to page 2, then Esc there.
    c.h.backend.AddKeys({key::kPgDn, key::kPgDn, key::kPgUp, key::kEsc});
    EXPECT_FALSE(ShowRecord(ctx, e));
    EXPECT_NE(c.h.Row(5).find("Strona: 2"), std::string::npos) << c.h.Row(5);
    EXPECT_NE(Screen(c).find("Adres do korespondencji (gdy inny niż )"), std::string::npos);
    // Nine PgDn keys pass all the pages of a staff record.
    c.h.backend.AddKeys(std::vector<int>(9, key::kPgDn));
    EXPECT_TRUE(ShowRecord(ctx, e));
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

std::vector<int> Typed(std::string_view text) {
    std::vector<int> keys;
    for (char ch : text) keys.push_back(static_cast<unsigned char>(ch));
    return keys;
}

struct Entry : ::testing::Test {
    Company c{kDictionaries};
    EmployeeRecord e;
    std::unique_ptr<PageContext> ctx;
    void SetUp() override {
        const uint32_t recno = c.Register("000001", "Nowak", "Jan");
        ASSERT_TRUE(c.prac().Goto(recno).ok());
        e = ReadEmployee(c.prac());
        ctx = std::make_unique<PageContext>(PageContext{c.h.rt, *c.tables});
        ctx->prac = &c.prac();
        ctx->recno = recno;
    }
    PageExit Enter(Page page, std::vector<int> keys) {
        c.h.backend.AddKeys(keys);
        return EnterPage(*ctx, page, &e);
    }
};

TEST_F(Entry, AcceptedIdentityIsScrambledInAndEscTakesNothing) {
    std::vector<int> keys = {key::Ctrl('Y')};
    for (int k : Typed("Kowalska")) keys.push_back(k);
    keys.push_back(key::kCtrlEnd);  // saves the page at once
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(e.surname(), "Kowalska");
    const EmployeeRecord stored = EmployeeRecord::FromStored(e.stored());
    EXPECT_EQ(stored.surname(), "Kowalska");

    keys = {key::Ctrl('Y')};
    for (int k : Typed("Lis")) keys.push_back(k);
    keys.push_back(key::kEsc);
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kEscape);
    EXPECT_EQ(e.surname(), "Kowalska");
}

TEST_F(Entry, AnEmptySurnameKeepsTheCursorInTheField) {
    // Ctrl+Y empties the surname; Enter is refused (the tone), the name
    // typed afterwards is taken.
    std::vector<int> keys = {key::Ctrl('Y'), key::kEnter};
    for (int k : Typed("Lis")) keys.push_back(k);
    keys.push_back(key::kCtrlEnd);
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(e.surname(), "Lis");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

TEST_F(Entry, TaxOfficeMissingFromItsDictionaryIsRefused) {
    // "99" is no tax office: the tone and the message beside the field, and
    // the cursor stays there until the field is emptied. F11 looks at the
    // screen while the cursor waits.
    std::string beside;
    c.h.rt.console().keyboard().Bind(kPeek, [&] { beside = c.h.Row(6); });
    std::vector<int> keys = {'9', '9', kPeek, key::Ctrl('Y'), key::kCtrlEnd};
    EXPECT_EQ(Enter(Page::kEmployment, keys), PageExit::kNext);
    EXPECT_EQ(e.Text("URZ_SKARB"), "  ");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_NE(beside.find("Urząd skarbowy: 99 Błędny kod"), std::string::npos) << beside;
}

TEST_F(Entry, InsuranceNotChosenLosesItsDates) {
    // A staff record has compulsory health insurance from its employment.
    e.SetDate("DATA_OB_UZ", "20200101");
    e.SetText("KOD_KASY", "07R");
    // To the fifth flag of the compulsory row (health), "N", then save.
    std::vector<int> keys = {key::kDown, key::kDown, key::kDown,   key::kDown,
                             key::kDown, 'N',        key::kCtrlEnd};
    EXPECT_EQ(Enter(Page::kInsurance, keys), PageExit::kNext);
    EXPECT_FALSE(e.Logical("CZY_OB_UZ"));
    EXPECT_EQ(e.Date("DATA_OB_UZ"), "");
    EXPECT_EQ(e.Text("KOD_KASY"), "   ");
    EXPECT_TRUE(e.Logical("CZY_OB_UE"));
}

TEST_F(Entry, F12SwitchesTheEmploymentFormOfANonStaffPerson) {
    e.set_kind(EmployeeKind::kNonStaff);
    ctx->short_card = true;
    EXPECT_EQ(Enter(Page::kEmployment, {key::F(12)}), PageExit::kSwitchCard);
    EXPECT_NE(c.h.Row(21).find("<F12>-Pełna kartoteka"), std::string::npos) << c.h.Row(21);
    // A staff employee has no short form: F12 does nothing there.
    e.set_kind(EmployeeKind::kStaff);
    EXPECT_EQ(Enter(Page::kEmployment, {key::F(12), key::kCtrlEnd}), PageExit::kNext);
}

TEST_F(Entry, PgUpGoesBackAfterTakingThePage) {
    const PageExit x = Enter(Page::kAddresses, {key::kDown, key::kDown, key::kDown, key::kDown,
                                                key::kDown, key::kDown, key::kPgUp});
    EXPECT_EQ(x, PageExit::kPrevious);
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST_F(Entry, F3OnTheTaxOfficePicksFromItsDictionary) {
    dbf::WorkArea& urz = c.tables->Open("PKURZ", {"PKURZ1", "PKURZ2"});
    c.tables->Append(urz);
    ASSERT_TRUE(urz.record().SetString(urz.FieldIndex("URZ_SKARB"), "07").ok());
    ASSERT_TRUE(urz.record().SetString(urz.FieldIndex("NAZWA_"), Cp("Urząd Skarbowy Próbny")).ok());
    ASSERT_TRUE(urz.Commit().ok());
    ASSERT_TRUE(urz.Unlock().ok());
    std::string hint;
    c.h.rt.console().keyboard().Bind(kPeek, [&] { hint = c.h.Row(21); });
    EXPECT_EQ(Enter(Page::kEmployment, {kPeek, key::F(3), key::kEnter, key::kCtrlEnd}),
              PageExit::kNext);
    EXPECT_EQ(e.Text("URZ_SKARB"), "07");
    EXPECT_NE(hint.find("<F3>-Urzędy skarbowe"), std::string::npos) << hint;
    // The month of the report is typed as four digits, a dash and two.
    EXPECT_EQ(Enter(Page::kReport, {key::kDown, key::kDown, '2', '0', '2', '4', '0', '5'}),
              PageExit::kNext);
    EXPECT_EQ(e.Text("MC_AKT_ZUS"), "202405");
}

}  // namespace
}  // namespace kestrel::registry

namespace kestrel::registry {
namespace {

TEST_F(Entry, ASharedPeselIsAWarningBesideTheFieldNeverARefusal) {
    const std::string pesel = MakePesel("19850314", 123, 'K');
    std::string wrong = pesel;
    wrong[10] = static_cast<char>('0' + (wrong[10] - '0' + 1) % 10);
    c.Register("000002", "Nowak", "Anna", EmployeeKind::kNonStaff, pesel);
    e.SetDate("DATA_URODZ", "19850314");
    e.SetText("PLEC_", "K");
    std::string beside;
    c.h.rt.console().keyboard().Bind(kPeek, [&] { beside = c.h.Row(11); });
    std::vector<int> keys(12, key::kDown);  // to the PESEL
    for (int k : Typed(pesel)) keys.push_back(k);
    keys.push_back(kPeek);
    keys.push_back(key::kCtrlEnd);
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(e.pesel(), pesel);
    EXPECT_NE(beside.find(pesel + " Ident.PESEL:000002"), std::string::npos) << beside;
    // A wrong check digit is shown too, and the number is still taken.
    keys.assign(12, key::kDown);
    for (int k : Typed(wrong)) keys.push_back(k);
    keys.push_back(kPeek);
    keys.push_back(key::kCtrlEnd);
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(e.pesel(), wrong);
    EXPECT_NE(beside.find("Błędny numer PESEL"), std::string::npos) << beside;
}

TEST_F(Entry, APolishVoivodeshipIsUpperCasedAndGivesItsCode) {
    e.SetText("KOD_KRAJU", "PL");
    e.SetText("PLEC_", "M");
    std::vector<int> keys(15, key::kDown);  // to the voivodeship
    keys.push_back(key::Ctrl('Y'));
    for (int k : Typed("mazowieckie")) keys.push_back(k);
    keys.push_back(key::kEnter);
    keys.push_back(key::kCtrlEnd);
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(e.Text("WOJEW_").substr(0, 11), "MAZOWIECKIE");
    EXPECT_EQ(e.Text("KOD_WOJEW"), "14");
}

}  // namespace
}  // namespace kestrel::registry
