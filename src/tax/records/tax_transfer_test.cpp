#include "tax/records/tax_transfer.h"

#include <gtest/gtest.h>

#include "tax_company.h"

namespace kestrel::tax {
namespace {

using payroll::PayrollList;
using testing::TaxCompany;

TEST(TaxTransfer, SumsTheClosedListsPositionsOncePerEmployeeAndIncomeKind) {
    TaxCompany c;  // the system month is March 2026
    const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    const PayrollList open = c.List("2026", "B", 2, "03", "20260320", true);
    const PayrollList feb = c.List("2026", "A", 3, "02", "20260228", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.Position(a, "000001", "KOSZ", 250);
    c.Position(a, "000001", "ZALI", 300);
    c.Position(a, "000001", "POMO", 99);
    c.Position(a, "000002", "ZASA", 3000);
    c.Position(open, "000001", "ZASA", 1);
    c.Position(feb, "000001", "ZASA", 2);
    TransferOutcome done = Transfer(c.h.rt, c.tables);
    EXPECT_EQ(done.message, "");
    EXPECT_EQ(done.records, 2);
    EXPECT_EQ(done.employees, 2);
    // A second run adds nothing.
    done = Transfer(c.h.rt, c.tables);
    EXPECT_EQ(done.records, 0);
    EXPECT_EQ(done.employees, 0);
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4000.00/250.00/300.00/0.00 auto",
                                        "000002 202603 0001: 3000.00/0.00/0.00/0.00 auto"}));
    // The open list and February's stay unmarked; POMO is marked with the rest.
    EXPECT_EQ(c.Marks(), (std::vector<std::string>{"T", "T", "T", "T", "T", "F", "F"}));
}

// Stopped after the records were written and before the positions were
// marked (as a kill would stop it), the transfer run again rewrites the
// same records instead of adding the amounts twice.
TEST(TaxTransfer, ARunStoppedBeforeTheMarksGivesTheSameRecordsWhenRunAgain) {
    TaxCompany c;
    const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.Position(a, "000001", "ZALI", 300);
    ASSERT_EQ(Transfer(c.h.rt, c.tables).message, "");
    const std::vector<std::string> once = c.Doch();
    {
        dbf::WorkArea& place = c.tables.Open("PKPLACE");
        for (uint32_t r = 1; r <= 2; ++r) {
            place.Goto(r);
            place.RLock();
            place.record().SetLogical(place.FieldIndex("AKT_DOCH"), r == 2);
            ASSERT_TRUE(place.Commit().ok());
            place.Unlock();
        }
    }
    const TransferOutcome again = Transfer(c.h.rt, c.tables);
    EXPECT_EQ(again.records, 0);  // rewritten, not created
    EXPECT_EQ(c.Doch(), once);
    EXPECT_EQ(c.Marks(), (std::vector<std::string>{"T", "T"}));
}

TEST(TaxTransfer, TheFirstWrongDictionaryEntryOrHandRecordStopsIt) {
    struct Case {
        const char* kind;
        const char* field;
        const char* message;
    };
    const Case cases[] = {
        {"0009", "PRZYCHOD_", "Błędny \"TYTUL_WYP\" w PKSPL"},
        {"0004", "WYNAGR_", "Błędny \"NAZWA_POLA\" w PKSPL"},
        {"0004", "KW_PPK_ZAK", "Błędny \"NAZWA_POLA\" w PKSPL"},  // without PPK
    };
    for (const Case& k : cases) {
        TaxCompany c;
        c.Paid("ZLEC", k.kind, k.field);
        const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
        c.Position(a, "000001", "ZASA", 4000);
        c.Position(a, "000002", "ZLEC", 500);
        const TransferOutcome done = Transfer(c.h.rt, c.tables);
        EXPECT_EQ(done.message, c.h.rt.Text(k.message)) << k.field;
        EXPECT_EQ(done.employees, 1);  // the first employee stays transferred
        EXPECT_EQ(c.Marks(), (std::vector<std::string>{"T", "F"})) << k.field;
    }
    TaxCompany c;
    const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.Position(a, "000001", "ZALI", 300);
    c.Add("PKDOCH", {{"NR_PRAC", "000001"},
                     {"ROK_LST", "2026"},
                     {"TYP_LST", "A"},
                     {"NR_LST", "1"},
                     {"MC_LST", "03"},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "10"},
                     {"AUTOMAT_", "F"}});
    EXPECT_EQ(Transfer(c.h.rt, c.tables).message, c.h.rt.Text("Istnieje taka pozycja w PKDOCH"));
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 10.00/0.00/0.00/0.00 hand"}));
}

// 2022: the first component of a pair is the tax of the second's income
// kind and the second is only marked; in 2023 a non-zero second component
// on a list of the month switches the rule off.
TEST(TaxTransfer, ThePairsOf2022And2023) {
    for (const char* year : {"2022", "2023"}) {
        TaxCompany c;
        c.month = {std::atoi(year), 3};
        c.Make("PKSTER", {{{"ROK_", year}, {"MC_", "3"}}});
        c.Paid("AASP", "0001", "PRZYCHOD_");
        c.Paid("AAMP", "0004", "PRZYCHOD_");
        const PayrollList a = c.List(year, "A", 1, "03", std::string(year) + "0310", false);
        c.Position(a, "000001", "AASP", 120);
        c.Position(a, "000001", "AAMP", 800);
        ASSERT_EQ(Transfer(c.h.rt, c.tables).message, "");
        if (std::string(year) == "2022")
            EXPECT_EQ(c.Doch(),
                      (std::vector<std::string>{"000001 202203 0004: 0.00/0.00/120.00/0.00 auto"}));
        else
            EXPECT_EQ(c.Doch(),
                      (std::vector<std::string>{"000001 202303 0001: 120.00/0.00/0.00/0.00 auto",
                                                "000001 202303 0004: 800.00/0.00/0.00/0.00 auto"}));
        EXPECT_EQ(c.Marks(), (std::vector<std::string>{"T", "T"}));
    }
}

TEST(TaxTransfer, ReliefsAndExemptionsTurnNegativeWithNaglminus) {
    TaxCompany c;
    c.h.rt.config().Set("NAGLMINUS", memfile::MemValue::Logical(true));
    const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.Position(a, "000001", "ULGA", 300);
    ASSERT_EQ(Transfer(c.h.rt, c.tables).message, "");
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4000.00/0.00/0.00/-300.00 auto"}));
}

// The undo takes the month of the list's year: March of another year and
// the hand-entered records stay; a hand-corrected automatic record is
// counted before the question.
TEST(TaxTransfer, TheUndoDeletesTheAutomaticRecordsOfThatYearsMonthOnly) {
    TaxCompany c;
    EXPECT_EQ(PreviewUndo(c.h.rt, c.tables).refusal,
              c.h.rt.Text("Brak autom. przepisyw. list płac"));
    const PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.Position(a, "000002", "ZASA", 3000);
    ASSERT_EQ(Transfer(c.h.rt, c.tables).message, "");
    c.Add("PKDOCH", {{"NR_PRAC", "000003"},
                     {"ROK_LST", "2026"},
                     {"MC_LST", "03"},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "10"},
                     {"AUTOMAT_", "F"}});
    c.Add("PKDOCH", {{"NR_PRAC", "000001"},
                     {"ROK_LST", "2025"},
                     {"MC_LST", "03"},
                     {"TYTUL_WYP", "0001"},
                     {"PRZYCHOD_", "20"},
                     {"AUTOMAT_", "T"}});
    {
        dbf::WorkArea& doch = c.tables.Open("PKDOCH");
        doch.Goto(2);  // 000002's record corrected by hand
        doch.RLock();
        doch.record().SetNumber(doch.FieldIndex("PRZYCHOD_"), 3100);
        ASSERT_TRUE(doch.Commit().ok());
        doch.Unlock();
    }
    const UndoPreview preview = PreviewUndo(c.h.rt, c.tables);
    EXPECT_EQ(preview.automatic, 2);
    EXPECT_EQ(preview.corrected, 1);
    EXPECT_EQ(Undo(c.h.rt, c.tables), 2);
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4000.00/0.00/0.00/0.00 auto*",
                                        "000002 202603 0001: 3100.00/0.00/0.00/0.00 auto*",
                                        "000003 202603 0001: 10.00/0.00/0.00/0.00 hand",
                                        "000001 202503 0001: 20.00/0.00/0.00/0.00 auto"}));
    EXPECT_EQ(c.Marks(), (std::vector<std::string>{"F", "F"}));
    // Transferred again, the deleted records are reused.
    EXPECT_EQ(Transfer(c.h.rt, c.tables).records, 2);
    EXPECT_EQ(c.Doch().size(), 4u);
}

}  // namespace
}  // namespace kestrel::tax
