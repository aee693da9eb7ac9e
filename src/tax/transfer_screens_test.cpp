#include "tax/transfer_screens.h"

#include <gtest/gtest.h>

#include "tax_company.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using testing::TaxCompany;

// The transfer asks first and reports the count; the undo tells how many
// automatic records it deletes (and how many of them were corrected by
// hand) before "Wykonać anulację?", and "n" leaves them.
TEST(TransferScreens, TransferThenUndoRefusedThenDone) {
    TaxCompany c;
    const payroll::PayrollList a = c.List("2026", "A", 1, "03", "20260310", false);
    c.Position(a, "000001", "ZASA", 4000);
    c.tables.CloseAll();
    c.Keys("t");
    c.Keys({key::kEnter});  // "Koniec procedury"
    Qrm72(c.h.rt);
    EXPECT_EQ(c.h.At(18, 20, 30), "Ilość przepisanych rekordów: 1");
    EXPECT_EQ(c.h.At(12, 42, 6), "   1/A");
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4000.00/0.00/0.00/0.00 auto"}));
    c.Keys("n");
    Qrm77(c.h.rt);
    EXPECT_EQ(c.h.At(9, 20, 37), "Rekordy automatyczne do skasowania: 1");
    EXPECT_EQ(c.Doch().size(), 1u);
    c.Keys("t");
    c.Keys({key::kEnter});
    Qrm77(c.h.rt);
    EXPECT_EQ(c.Doch(),
              (std::vector<std::string>{"000001 202603 0001: 4000.00/0.00/0.00/0.00 auto*"}));
    EXPECT_EQ(c.Marks(), (std::vector<std::string>{"F"}));
}

TEST(TransferScreens, AMonthWithoutListsIsRefusedBeforeTheQuestion) {
    TaxCompany c;
    c.Keys({key::kEnter});
    Qrm72(c.h.rt);
    EXPECT_TRUE(c.h.backend.exhausted());
    EXPECT_EQ(c.h.backend.tones().size(), 1u);
}

}  // namespace
}  // namespace kestrel::tax
