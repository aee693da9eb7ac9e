#include "tax/income_correction_screen.h"

#include <gtest/gtest.h>

#include "tax_company.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using testing::TaxCompany;
using V = std::vector<std::string>;

struct CorrectionCompany : TaxCompany {
    V warnings;  // the hints row 21 when F11 is pressed
    V notes;     // the note of the list on row 5 when F9 is pressed

    CorrectionCompany() {
        Add("PKSLST", {{"TYP_LST", "A"}, {"NAZWA_LST", "Lista płac"}});
        Add("PKRDOCH", {{"TYTUL_WYP", "0002"},
                        {"NAZWA_", "Limitowany"},
                        {"PODAT_", "T"},
                        {"KOSZT_", "T"},
                        {"LIMIT_", "5000"}});
        h.con.keyboard().Bind(key::F(9), [this] { notes.push_back(h.At(5, 42, 36)); });
        h.con.keyboard().Bind(key::F(11), [this] {
            warnings.push_back(base::TrimRight(h.At(21, 2, 56)) + "|" + h.At(21, 60, 15));
        });
    }

    // List 2026/1/A typed on the list row; `then` ends the read.
    void ListKeys(int then = key::kEnter) {
        Keys({key::kEnter});
        Keys("1");
        Keys({key::kEnter});
        Keys("A");
        Keys({then});
    }
};

// Runs the screen; a script that runs out shows the screen it stopped on.
void RunScreen(CorrectionCompany& c) {
    c.tables.CloseAll();
    try {
        Qrm73(c.h.rt);
    } catch (...) {
        for (int r = 0; r < 25; ++r) printf("%2d|%s\n", r, c.h.ShownRow(r).c_str());
        throw;
    }
}

// A new record by hand: key, amounts with the warnings (a zero revenue
// changed, costs above the revenue accepted with F7), AUTOMAT_ false.
TEST(IncomeCorrectionScreen, ANewHandRecordWithItsWarnings) {
    CorrectionCompany c;
    c.ListKeys();
    c.Keys({key::kEnter});  // the month of the system, 03
    c.Keys("20260315");
    c.Keys("0002");
    c.Keys("000001");
    c.Keys({key::kEnter, key::F(11)});  // a zero revenue
    c.Keys("3000");
    c.Keys({key::kEnter});
    c.Keys("3500");
    c.Keys({key::kEnter, key::F(11), key::F(7)});
    c.Keys("100");
    c.Keys({key::kEnter, key::kEnter});  // the tax, the relief
    c.Keys({key::kPgDn});
    // The next record: back to the list, then the end.
    c.Keys({key::kEnter, key::kEnter, key::kEnter, key::F(10), key::F(10)});
    RunScreen(c);
    EXPECT_EQ(c.warnings, (V{"PRZYCHÓD = 0|<F7>-Akceptacja", "KOSZTY > PRZYCHÓD|<F7>-Akceptacja"}));
    EXPECT_EQ(c.Doch(), (V{"000001 202603 0002: 3000.00/3500.00/100.00/0.00 hand"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// With NAGLNETTO the net tax is entered after the relief; the tax stored is
// the net tax plus the relief.
TEST(IncomeCorrectionScreen, TheNetTaxIsEnteredWithNaglnetto) {
    CorrectionCompany c;
    c.h.rt.config().Set("NAGLNETTO", memfile::MemValue::Logical(true));
    c.ListKeys();
    c.Keys({key::kEnter});
    c.Keys("20260315");
    c.Keys("0002");
    c.Keys("000001");
    c.Keys("3000");
    c.Keys({key::kEnter});
    c.Keys("500");
    c.Keys({key::kEnter});  // costs; the tax is not entered
    c.Keys("50");
    c.Keys({key::kEnter});  // relief; no exemption granted
    c.Keys("200");
    c.Keys({key::kEnter, key::kPgDn});
    c.Keys({key::kEnter, key::kEnter, key::kEnter, key::F(10), key::F(10)});
    RunScreen(c);
    EXPECT_EQ(c.Doch(), (V{"000001 202603 0002: 3000.00/500.00/250.00/50.00 hand"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// F4 opens the list's records; the limit counts the year's
// records of the kind without the corrected record's stored revenue, so a
// record of 4000 corrected to 4500 under a limit of 5000 saves at once.
TEST(IncomeCorrectionScreen, ACorrectedAutomaticRecordStaysAutomatic) {
    CorrectionCompany c;
    c.Add("PKDOCH", {{"NR_PRAC", "000002"},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", "1"},
                     {"MC_LST", "03"},
                     {"DATA_WYP", "20260310"},
                     {"TYTUL_WYP", "0002"},
                     {"PRZYCHOD_", "4000"},
                     {"KOSZT_UZ", "250"},
                     {"AUTOMAT_", "T"}});
    c.ListKeys(key::F(4));
    c.Keys({key::F(9), key::kEnter});    // the record
    c.Keys({key::kEnter, key::kEnter});  // month and date kept
    c.Keys("4500");
    c.Keys({key::kEnter, key::kPgDn});
    c.Keys({key::kEsc, key::F(10)});
    RunScreen(c);
    EXPECT_EQ(c.notes, (V{"Lista była automatycznie dekretowana"}));
    EXPECT_TRUE(c.warnings.empty());
    EXPECT_EQ(c.Doch(), (V{"000002 202603 0002: 4500.00/250.00/0.00/0.00 auto"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

TEST(IncomeCorrectionScreen, DeletingARecord) {
    CorrectionCompany c;
    c.Add("PKDOCH", {{"NR_PRAC", "000002"},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", "1"},
                     {"MC_LST", "03"},
                     {"DATA_WYP", "20260310"},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "800"}});
    c.ListKeys(key::F(4));
    c.Keys({key::kDel});
    c.Keys("t");
    c.Keys({key::F(12), key::kEnter, key::F(10)});
    RunScreen(c);
    EXPECT_EQ(c.messages, (V{"Rekord skasowany"}));
    EXPECT_EQ(c.Doch(), (V{"000002 202603 0001: 800.00/0.00/0.00/0.00 hand*"}));
    EXPECT_TRUE(c.h.backend.exhausted());
}

// The refusals of the key: the list, the kind, the employee, and a new key
// that exists.
TEST(IncomeCorrectionScreen, KeyRefusals) {
    CorrectionCompany c;
    c.Add("PKDOCH", {{"NR_PRAC", "000001"},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", "1"},
                     {"MC_LST", "03"},
                     {"DATA_WYP", "20260310"},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "800"}});
    c.Keys("2027");
    c.Keys("1");
    c.Keys({key::kEnter});
    c.Keys("A");
    c.Keys({key::kEnter, key::F(12), key::kEnter});
    c.Keys("2026");  // the number stays
    c.Keys({key::kEnter});
    c.Keys("X");
    c.Keys({key::kEnter, key::F(12), key::kEnter});
    c.ListKeys();
    c.Keys({key::kEnter});
    c.Keys("20260315");
    c.Keys("0009");
    c.Keys({key::F(12), key::kEnter, key::kHome, key::Ctrl('y')});
    c.Keys("0001");
    c.Keys("000009");
    c.Keys({key::F(12), key::kEnter, key::kHome, key::Ctrl('y')});
    c.Keys("000001");
    c.Keys({key::F(12), key::kEnter});
    // The same key again is refused once more; then the end.
    c.Keys({key::kEnter, key::kEnter, key::kEnter, key::F(10), key::F(10)});
    RunScreen(c);
    EXPECT_EQ(c.messages, (V{"Błędny rok", "Błędny typ listy płac", "Błędny tytuł wypłaty",
                             "Brak pracownika o tym symbolu", "Istnie rekord o takim kluczu"}));
    EXPECT_EQ(c.Doch().size(), 1u);
    EXPECT_TRUE(c.h.backend.exhausted());
}

}  // namespace
}  // namespace kestrel::tax
