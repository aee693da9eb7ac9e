// The screens of 4.3 and 4.7 driven by keys over a test company.
#include <gtest/gtest.h>

#include "payroll/data/month_close_test_support.h"
#include "payroll/data/piecework.h"
#include "payroll/month_close_screen.h"
#include "payroll/piecework_screen.h"
#include "platform/console/keys.h"
#include "test_util.h"

namespace kestrel::payroll {
namespace {

using testing::CloseCompany;
namespace key = console::key;

// A month out of sequence with the loan fund: the warning window,
// "Kontynuować?" and the password (none asked without an operator list),
// the loan-fund warning, the close question; the new month is written.
TEST(MonthCloseScreen, OpensAMonthOutOfSequenceAfterTheWarning) {
    CloseCompany c(2026, 3);
    c.h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
    c.Keys("202606t");                       // the month, "Kontynuować?"
    c.Keys({key::F(12), key::kEnter, 't'});  // the loan-fund warning, the close
    c.Keys({key::kEnter});                   // "Koniec procedury"
    Qrm47(c.h.rt);
    EXPECT_EQ(c.h.At(8, 2, 27), "Aktualny miesiąc:   2026.03");
    EXPECT_EQ(c.h.At(14, 2, 16), "Koniec procedury");
    EXPECT_EQ(c.messages, (std::vector<std::string>{"UWAGA: Brak aktualizacji modułu KZP"}));
    EXPECT_EQ(c.Month(), "2026.6");
}

// The same month is refused and the month asked again; an unusual month
// the operator does not confirm goes back to the month; Esc leaves the
// control record as it was.
TEST(MonthCloseScreen, RefusedAndUnconfirmedMonthsAskAgain) {
    CloseCompany c(2026, 3);
    c.Keys("202603");
    c.Keys({key::F(12), key::kEnter});
    c.Keys("202609n");
    c.Keys({key::kEsc});
    Qrm47(c.h.rt);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Ten sam symbol miesiąca"}));
    EXPECT_EQ(c.Month(), "2026.3");
}

TEST(MonthCloseScreen, AnOpenListRefuses) {
    CloseCompany c(2026, 3);
    c.List("2026", "A", 1, "03", "20260310");
    c.tables.CloseAll();
    c.Keys({key::F(12), key::kEnter});
    Qrm47(c.h.rt);
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Istn.aktywna lista płac - przerwanie"}));
    EXPECT_EQ(c.Month(), "2026.3");
}

// 4.3 on the open list: the question, the counters, the end.
TEST(PieceworkScreen, TransfersAfterTheQuestionAndShowsTheCounters) {
    CloseCompany c(2026, 3);
    dbf::testing::ScratchDir cards;
    c.h.rt.config().Set("NAGL0AK", memfile::MemValue::Char(cards.path() + "/"));
    ASSERT_TRUE(dbf::Table::Create(cards.File("PKAKORD.DBF"), JobCardFields()).ok());
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(cards.File("PKAKORD.DBF"), {}, &t).ok());
        dbf::Record r = t->NewRecord();
        ASSERT_TRUE(r.SetString(r.FieldIndex("NR_PRAC"), "000002").ok());
        ASSERT_TRUE(r.SetDate(r.FieldIndex("DATA_"), "20260305").ok());
        ASSERT_TRUE(r.SetNumber(r.FieldIndex("ILOSC_WYK"), 4).ok());
        ASSERT_TRUE(r.SetNumber(r.FieldIndex("CENA_"), 2.5).ok());
        uint32_t recno = 0;
        ASSERT_TRUE(t->Append(r, &recno).ok());
        ASSERT_TRUE(t->Close().ok());
    }
    c.Component("AKRD", "I", 1, kPieceworkAlgorithm);
    c.List("2026", "A", 1, "03", "20260310");
    c.tables.CloseAll();
    c.Keys("t");
    c.Keys({key::F(12), key::kEnter});
    Qrm43(c.h.rt);
    EXPECT_EQ(c.h.At(10, 2, 28), "Rekordy utworzone:         1");
    EXPECT_EQ(c.h.At(12, 2, 28), "Rekordy skasowane:         0");
    EXPECT_EQ(c.messages, (std::vector<std::string>{"Koniec procedury"}));
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKPLACE", "KWOTA_"), (std::vector<std::string>{"          10.00"}));
    EXPECT_EQ(c.Field("AKT_ZUS"), "F");
}

}  // namespace
}  // namespace kestrel::payroll
