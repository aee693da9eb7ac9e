// The payroll month of a small company from the closed list to the next
// month: the tax transfer, the insurance transfer, then the month's close,
// which refuses while the insurance records are not made (or their last
// transfer failed).
#include <gtest/gtest.h>

#include "insurance/data/insurance_transfer.h"
#include "insurance_company.h"
#include "payroll/data/month_close.h"
#include "payroll/data/statutory_values.h"
#include "tax/records/tax_transfer.h"

namespace kestrel::insurance {
namespace {

struct YesToAll : payroll::MonthCloseDialog {
    bool Ask(std::string_view, std::string_view) override { return true; }
    void Warn(std::string_view) override {}
    bool ConfirmOutOfSequence(const std::vector<std::string>&) override { return true; }
    void Stage(std::string_view) override {}
    void SeniorityDone(std::string_view, const std::vector<std::string>&) override {}
};

std::string Close(testing::InsCompany& c) {
    YesToAll dialog;
    const payroll::CloseResult r = payroll::RunMonthClose(
        c.h.rt, c.tables, {2026, 4}, payroll::ShippedStatutoryValues(), dialog);
    c.tables.CloseAll();
    if (r.outcome == payroll::CloseOutcome::kDone) return "done";
    return codepage::ToUtf8(r.message);
}

TEST(MonthAfterTransfers, ClosesOnlyAfterACompleteInsuranceTransfer) {
    testing::InsCompany c;
    for (const char* t : {"PKDOCH", "PKRDOCH", "PKZAW", "PKSPZAW"}) c.Make(t);
    c.Add("PKRDOCH", {{"TYTUL_WYP", "0001"}, {"NAZWA_", "Wynagrodzenia"}});
    c.Algorithms();
    c.Position(c.list, "000001", "ZASD", 5000);
    c.Position(c.list, "000002", "ZASD", 4000);
    // The list closed and marked for the tax records; the base pay is
    // revenue of income kind 0001.
    {
        dbf::WorkArea& l = c.tables.Open("PKLISTY");
        l.GoTop();
        l.RLock();
        l.record().SetLogical(l.FieldIndex("WSK_AKTYWN"), false);
        l.record().SetLogical(l.FieldIndex("GENER_DOCH"), true);
        ASSERT_TRUE(l.Commit().ok());
        l.Unlock();
        dbf::WorkArea& spl = c.tables.Open("PKSPL");
        for (base::Status s = spl.GoTop(); s.ok() && !spl.eof(); s = spl.Skip(1)) {
            if (spl.record().GetString(spl.FieldIndex("SKLADN_PL")) != "ZASD") continue;
            spl.RLock();
            spl.record().SetString(spl.FieldIndex("TYTUL_WYP"), "0001");
            spl.record().SetString(spl.FieldIndex("NAZWA_POLA"), "PRZYCHOD_");
            ASSERT_TRUE(spl.Commit().ok());
            spl.Unlock();
        }
        c.tables.CloseAll();
    }
    c.SetFlag("AKT_ZUS", false);
    ASSERT_EQ(codepage::ToUtf8(tax::Transfer(c.h.rt, c.tables).message), "");
    c.tables.CloseAll();
    EXPECT_EQ(Close(c), "Brak aktualiz. modułu ZUS wykonaj 6.2.");

    ASSERT_TRUE(c.Run().completed) << c.message;
    // A rerun that fails on a formula leaves the month not transferred.
    c.tables.Open("PKASKWN", {"PKASKWN1"});  // the row goes into the index
    c.Add("PKASKWN", {{"TYT_PODM_P", "01"}, {"KOD_WYNAGR", "01"}, {"DATA_OD", "ZASD+"}});
    EXPECT_FALSE(c.Run().completed);
    EXPECT_EQ(Close(c), "Brak aktualiz. modułu ZUS wykonaj 6.2.");

    {
        dbf::WorkArea& a = c.tables.Open("PKASKWN", {"PKASKWN1"});
        a.GoBottom();
        a.RLock();
        ASSERT_TRUE(a.Delete().ok());
        a.Unlock();
        c.tables.CloseAll();
    }
    ASSERT_TRUE(c.Run().completed) << c.message;
    EXPECT_EQ(Close(c), "done");
    EXPECT_EQ(c.Records("PKSTER", "MC_"), (std::vector<std::string>{" 4"}));
}

}  // namespace
}  // namespace kestrel::insurance
