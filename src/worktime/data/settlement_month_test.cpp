#include "worktime/data/settlement_month.h"

#include <gtest/gtest.h>

#include "common/session/abandon.h"
#include "test_company.h"

namespace kestrel::worktime {
namespace {

using registry::testing::TestCompany;

TEST(SettlementMonth, ReadFromTheControlRecordAndShownZeroPadded) {
    TestCompany c;
    c.Make("PKSTER", {{{"ROK_", "2026"}, {"MC_", "3"}}});
    const SettlementMonth m = ReadSettlementMonth(c.h.rt, c.tables);
    EXPECT_EQ(m.year, 2026);
    EXPECT_EQ(m.month, 3);
    EXPECT_EQ(m.Text(), "2026-03");
}

TEST(SettlementMonth, AnEmptyOrDamagedControlRecordAbandons) {
    const struct {
        std::vector<registry::testing::Row> rows;
        const char* message;
    } cases[] = {
        {{}, "Brak rekordu kontrolnego w PKSTER"},
        {{{{"ROK_", "2026"}, {"MC_", "13"}}}, "Błędny miesiąc rozliczeniowy w PKSTER"},
        {{{{"ROK_", "0"}, {"MC_", "5"}}}, "Błędny miesiąc rozliczeniowy w PKSTER"},
    };
    for (const auto& k : cases) {
        TestCompany c;
        c.Make("PKSTER", k.rows);
        try {
            ReadSettlementMonth(c.h.rt, c.tables);
            ADD_FAILURE() << k.message;
        } catch (const common::Abandon& e) {
            EXPECT_EQ(codepage::ToUtf8(e.message()), k.message);
        }
    }
}

}  // namespace
}  // namespace kestrel::worktime
