#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"
#include "register/employee_page_layouts.h"
#include "register/employee_page_run.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
const int kPeek = console::key::Alt('Q');
using testing::Company;
using testing::Cp;

TEST(PagePickers, EveryCodedFieldOfThePagesHasAPickerNamedInTheHintRow) {
    Company c;
    PageContext ctx{c.h.rt, *c.tables};
    const Page all[] = {Page::kLegalPerson, Page::kIdentity,   Page::kAddresses,
                        Page::kEmployment,  Page::kTax,        Page::kTitle,
                        Page::kInsurance,   Page::kIncapacity, Page::kReport};
    int coded = 0;
    for (bool short_card : {false, true}) {
        ctx.short_card = short_card;
        for (Page p : all)
            for (const PageField& f : FieldsOf(p, EmployeeKind::kNonStaff, ctx, true)) {
                const bool from_table = f.check == Check::kDictionary ||
                                        f.check == Check::kCountry ||
                                        f.check == Check::kRegistrationCountry;
                const std::optional<CodeField> picker = pages::PickerOf(f.field);
                EXPECT_EQ(picker.has_value(), from_table) << f.field;
                if (!picker) continue;
                ++coded;
                EXPECT_EQ(picker->hint.rfind("<F3>-", 0), 0u) << f.field;
                // The hint stands in row 21 from column 40 to column 77.
                EXPECT_LE(c.h.rt.Text(picker->hint).size(), 38u) << f.field;
                EXPECT_TRUE(picker->pick) << f.field;
            }
    }
    EXPECT_GT(coded, 20);
    EXPECT_EQ(pages::PickerOf("GRUPA_KAL")->hint, "<F3>-Grupy kalend.");
    EXPECT_EQ(pages::PickerOf("KONTO_KOSZ")->hint, "<F3>-Konta kosztów");
    EXPECT_EQ(pages::PickerOf("URZ_SKARB")->hint, "<F3>-Urzędy skarbowe");
}

struct Picking : ::testing::Test {
    Company c{{"PKURZ", "PKSTAN", "PKDZIAL", "PKSKSZT", "PKRUM", "PKRPL", "PKSZATR", "PKGRUPY",
               "PKGRALG", "PKKZIS", "PKEKD", "PKSNIEZ", "PKWYKSZ", "PKKPSW", "PKKOFE", "PKSKODK",
               "PKGMINY"}};
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
    void Add(const char* table, const char* index, const char* code_field, const char* code,
             const char* name_field, std::string_view name) {
        dbf::WorkArea& a = c.tables->Open(table, {index});
        c.tables->Append(a);
        ASSERT_TRUE(a.record().SetString(a.FieldIndex(code_field), code).ok());
        ASSERT_TRUE(a.record().SetString(a.FieldIndex(name_field), Cp(name)).ok());
        ASSERT_TRUE(a.Commit().ok());
        ASSERT_TRUE(a.Unlock().ok());
    }
    PageExit Enter(Page page, std::vector<int> keys) {
        c.h.backend.AddKeys(keys);
        return EnterPage(*ctx, page, &e);
    }
};

TEST_F(Picking, F3InTheDepartmentWritesTheChosenCodeIntoTheField) {
    Add("PKDZIAL", "PKDZIAL1", "DZIAL_", "KS", "NAZWA_", "Księgowość");
    Add("PKDZIAL", "PKDZIAL1", "DZIAL_", "PR", "NAZWA_", "Produkcja");
    std::vector<std::string> hint, row8;
    c.h.rt.console().keyboard().Bind(kPeek, [&] {
        hint.push_back(c.h.Row(21));
        row8.push_back(c.h.Row(8));
    });
    // Down twice to the department; the picker stands on the first code,
    // Down in it to the second, Enter takes it; then the page is saved.
    EXPECT_EQ(Enter(Page::kEmployment, {key::kDown, key::kDown, kPeek, key::F(3), key::kDown,
                                        key::kEnter, key::kEnter, kPeek, key::kCtrlEnd}),
              PageExit::kNext);
    ASSERT_EQ(hint.size(), 2u);
    EXPECT_NE(hint[0].find("<F3>-Działy"), std::string::npos) << hint[0];
    // The picked code was checked like a typed one: its name is beside it.
    EXPECT_NE(row8[1].find("Dział: PR"), std::string::npos) << row8[1];
    EXPECT_NE(row8[1].find("Produkcja"), std::string::npos) << row8[1];
    EXPECT_EQ(e.Text("DZIAL_").substr(0, 2), "PR");
    const EmployeeRecord stored = EmployeeRecord::FromStored(e.stored());
    EXPECT_EQ(stored.Text("DZIAL_").substr(0, 2), "PR");
    // Once the page is left row 21 names no picker.
    EXPECT_EQ(c.h.Row(21).find("<F3>"), std::string::npos) << c.h.Row(21);
}

TEST_F(Picking, ThePickerOfTheOccupationsStandsOnTheTypedCode) {
    // The shipped classification orders codes beginning with "0" after the
    // others; "0111" and F3 must stand on the officer, not on a code that
    // begins with "1".
    EXPECT_EQ(Enter(Page::kIncapacity, {key::kDown, key::kDown, key::Ctrl('Y'), '0', '1', '1', '0',
                                        key::F(3), key::kEnter, key::kCtrlEnd}),
              PageExit::kNext);
    EXPECT_EQ(e.Text("KZIS_").substr(0, 6), "0110  ");
}

std::vector<int> Typed(std::string_view text) {
    std::vector<int> keys;
    for (char ch : text) keys.push_back(static_cast<unsigned char>(ch));
    return keys;
}

TEST_F(Picking, TheAddressPickersListOnlyTheUnitsUnderTheOneChosenBefore) {
    e.SetText("KOD_KRAJU", "PL");
    e.SetText("PLEC_", "M");
    std::vector<std::string> hint;
    c.h.rt.console().keyboard().Bind(kPeek, [&] { hint.push_back(c.h.Row(21)); });
    std::vector<int> keys(15, key::kDown);  // to the voivodeship
    keys.push_back(key::Ctrl('Y'));
    for (int k : Typed("mazowieckie")) keys.push_back(k);
    keys.push_back(key::kEnter);
    // District: "war" stands on WARSZAWA, Down takes the next one.
    keys.insert(keys.end(), {kPeek, key::Ctrl('Y'), 'w', 'a', 'r', key::F(3), key::kDown,
                             key::kEnter, key::kEnter});
    // Commune: "k" finds the first commune of that district beginning so.
    keys.insert(keys.end(), {kPeek, key::Ctrl('Y'), 'k', key::F(3), key::kEnter, key::kCtrlEnd});
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    EXPECT_EQ(pages::Trim(e.Text("POWIAT_")), "WARSZAWSKI ZACHODNI");
    EXPECT_EQ(pages::Trim(e.Text("GMINA_")), "KAMPINOS");
    ASSERT_EQ(hint.size(), 2u);
    EXPECT_NE(hint[0].find("<F3>-Powiaty"), std::string::npos) << hint[0];
    EXPECT_NE(hint[1].find("<F3>-Gminy"), std::string::npos) << hint[1];
}

TEST_F(Picking, AForeignAddressHasNoTerritorialPicker) {
    e.SetText("KOD_KRAJU", "DE");
    e.SetText("PLEC_", "M");
    std::vector<size_t> tones;
    std::string hint;
    c.h.rt.console().keyboard().Bind(kPeek, [&] {
        tones.push_back(c.h.backend.tones().size());
        hint = c.h.Row(21);
    });
    std::vector<int> keys(15, key::kDown);  // to the voivodeship
    keys.insert(keys.end(),
                {key::Ctrl('Y'), 'x', kPeek, key::F(3), kPeek, key::kEnter, key::kCtrlEnd});
    EXPECT_EQ(Enter(Page::kIdentity, keys), PageExit::kNext);
    // F3 only sounds; the name typed stays as it is.
    EXPECT_EQ(pages::Trim(e.Text("WOJEW_")), "x");
    ASSERT_EQ(tones.size(), 2u);
    EXPECT_EQ(tones[1], tones[0] + 1);
    EXPECT_EQ(hint.find("<F3>"), std::string::npos) << hint;
}

TEST_F(Picking, F3OutsideACodedFieldOpensNothing) {
    std::string hint, screen;
    c.h.rt.console().keyboard().Bind(kPeek, [&] {
        hint = c.h.Row(21);
        screen.clear();
        for (int r = 8; r <= 22; ++r) screen += c.h.Row(r) + "\n";
    });
    // In the surname: F3 only sounds; Enter then goes on to the next field
    // instead of taking a code into the surname.
    EXPECT_EQ(Enter(Page::kIdentity, {key::F(3), kPeek, key::kEnter, key::kCtrlEnd}),
              PageExit::kNext);
    EXPECT_EQ(e.surname(), "Nowak");
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
    EXPECT_EQ(hint.find("<F3>"), std::string::npos) << hint;
    EXPECT_EQ(screen.find("<Enter>-Akceptacja"), std::string::npos) << screen;
}

}  // namespace
}  // namespace kestrel::registry
