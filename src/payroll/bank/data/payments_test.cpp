#include "payroll/bank/data/payments.h"

#include <gtest/gtest.h>

#include "bank_test_support.h"

namespace kestrel::payroll::bank {
namespace {

using testing::BankCompany;
using testing::Row;

// Two lists paid together: Nowak 1000 + 500, Kowal -20 + 30, Adamski 250.50
// on the first only, Wójcik without an amount.
struct PaymentsTest : ::testing::Test, BankCompany {
    PayrollList a1, a2;

    PaymentsTest() {
        Add("PKPRAC", {{"NR_PRAC", "000003"},
                       {"NAZWX_", "Adamski"},
                       {"IMIEX_", "Jan"},
                       {"NR_KONT", "61 1090 1014 0000 0712 1981 2874"}});
        Employee("000004", "Wójcik");
        a1 = List("2026", "A", 1, "03", "20260310");
        a2 = List("2026", "A", 2, "03", "20260310");
        Position(a1, "000001", "DOWY", 1000);
        Position(a2, "000001", "DOWY", 500);
        Position(a1, "000002", "DOWY", -20);
        Position(a2, "000002", "DOWY", 30);
        Position(a1, "000003", "DOWY", 250.50);
        Position(a1, "000003", "PREM", 99);
    }

    PaymentsOutcome Collect() {
        return CollectPayments(h.rt, tables, a1, ReadBanks(tables), nullptr);
    }
};

std::vector<std::string> Shown(const BankPayments& b) {
    std::vector<std::string> out;
    for (const Payment& p : b.payments)
        out.push_back(p.number + " " + codepage::ToUtf8(p.name) + " " + p.account + " " +
                      std::to_string(p.grosze));
    return out;
}

TEST_F(PaymentsTest, EveryBankGetsItsEmployeesInNameOrder) {
    Bank("Papier", "PA", "TXT", "", {{"PRZELEW_", "T"}, {"WARUNEK_", "!empty(pkprac->nr_kont)"}});
    Bank("Premie", "PR", "TXT", "", {{"SKLADN_PL", "PREM"}});
    const PaymentsOutcome out = Collect();
    ASSERT_EQ(out.message, "");
    ASSERT_EQ(out.banks.size(), 2u);
    EXPECT_EQ(
        Shown(out.banks[0]),
        std::vector<std::string>{"000003 Adamski Jan 61 1090 1014 0000 0712 1981 2874 25050"});
    EXPECT_EQ(Shown(out.banks[1]),
              std::vector<std::string>{"000003 Adamski Jan 61 1090 1014 0000 0712 1981 2874 9900"});
    EXPECT_EQ(out.banks[1].total, 9900);
}

TEST_F(PaymentsTest, SummedOrPerListAmountsAboveZero) {
    Bank("Bank", "RO", "TXT", "");
    PaymentsOutcome out = Collect();
    EXPECT_EQ(Shown(out.banks[0]),
              (std::vector<std::string>{"000003 Adamski Jan 61 1090 1014 0000 0712 1981 2874 25050",
                                        "000002 Kowal  1000", "000001 Nowak  150000"}));
    EXPECT_EQ(out.banks[0].total, 176050);
    h.rt.config().Set("NAGLSLROR", memfile::MemValue::Logical(false));
    out = Collect();
    EXPECT_EQ(Shown(out.banks[0]),
              (std::vector<std::string>{"000003 Adamski Jan 61 1090 1014 0000 0712 1981 2874 25050",
                                        "000002 Kowal  3000", "000001 Nowak  100000",
                                        "000001 Nowak  50000"}));
    EXPECT_EQ(out.banks[0].total, 178050);
}

TEST_F(PaymentsTest, TheConditionSeesTheAmountAndMustBeLogical) {
    Bank("Bank", "RO", "TXT", "", {{"WARUNEK_", "DOWY >= 1500"}});
    EXPECT_EQ(Shown(Collect().banks[0]), std::vector<std::string>{"000001 Nowak  150000"});
    ClearBanks();
    Bank("Bank", "RO", "TXT", "", {{"WARUNEK_", "DOWY"}});
    EXPECT_EQ(codepage::ToUtf8(Collect().message), "Błędna wartość warunku Bank");
    ClearBanks();
    Bank("Bank", "RO", "TXT", "", {{"SKLADN_PL", "NETO"}});
    EXPECT_EQ(codepage::ToUtf8(Collect().message), "Błędny składnik \"NETO\" w PKWROR");
}

}  // namespace
}  // namespace kestrel::payroll::bank
