#include "payroll/bank/data/transfer_printouts.h"

#include <gtest/gtest.h>

#include "bank_test_support.h"
#include "platform/base/files.h"

namespace kestrel::payroll::bank {
namespace {

using registry::testing::Cp;
using testing::BankCompany;

struct PrintoutsTest : ::testing::Test, BankCompany {
    PayrollList list;
    std::vector<BankPayments> banks;

    PrintoutsTest() {
        h.rt.config().Set("NAGL73", memfile::MemValue::Char("Firma Testowa"));
        h.rt.config().Set("NAGL74", memfile::MemValue::Char("61109010140000071219812874"));
        list = List("2026", "A", 1, "03", "20260310");
        BankPayments a;
        a.bank.bank = "Alfa";
        a.bank.title = Cp("Wypłaty Alfa");
        a.bank.collective = true;
        a.bank.recipient = "Bank Alfa S.A.";
        a.bank.recipient_bank = Cp("Oddział 1");
        a.bank.recipient_account = "92102040550000123456789012";
        a.payments = {{"000001", "Nowak Jan", "63114020040000361234567890", 123456},
                      {"000002", "Kowal Ewa", "91105014450000002211014512", 100}};
        a.total = 123556;
        BankPayments b;
        b.bank.bank = "Beta";
        b.bank.ordering = Cp("Oddział firmy");
        b.bank.ordering_account = "56249000050000400012345678";
        b.payments = {{"000003", Cp("Zając Piotr"), "91116022020000000123456789", 500000}};
        b.total = 500000;
        BankPayments empty;
        empty.bank.bank = "Gamma";
        empty.bank.collective = true;
        banks = {a, b, empty};
    }

    // The print-out's text (UTF-8), form feeds as "<FF>".
    template <typename Fn>
    std::string Printed(Fn print) {
        printing::PrintOutput out;
        const std::string path = dir.File("TEST.PRT");
        EXPECT_TRUE(out.Open(path).ok());
        print(out);
        EXPECT_TRUE(out.Close().ok());
        std::string text;
        EXPECT_TRUE(base::ReadFile(path, &text).ok());
        std::string shown;
        for (char c : text) {
            if (c == '\f')
                shown += "<FF>\n";
            else if (c != '\r')
                shown += c;
        }
        return codepage::ToUtf8(shown);
    }
};

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST_F(PrintoutsTest, SummaryListsEachBanksPaymentsAndTheTotals) {
    const std::string text =
        Printed([&](printing::PrintOutput& out) { PrintSummary(h.rt, out, list, banks); });
    EXPECT_NE(text.find("Wypłaty Alfa"), std::string::npos) << text;
    EXPECT_NE(text.find("   1 000001   Nowak Jan"), std::string::npos) << text;
    EXPECT_NE(text.find("63114020040000361234567890  1.234,56"), std::string::npos) << text;
    EXPECT_NE(text.find("   2 000002   Kowal Ewa"), std::string::npos) << text;
    EXPECT_NE(text.find("Razem: Alfa"), std::string::npos);
    EXPECT_NE(text.find("1.235,56"), std::string::npos);
    EXPECT_NE(text.find("   1 000003   Zając Piotr"), std::string::npos);  // Beta counts again
    EXPECT_EQ(text.find("Gamma"), std::string::npos);                      // nothing to pay
    EXPECT_NE(text.find("RAZEM:"), std::string::npos);
    EXPECT_NE(text.find("6.235,56"), std::string::npos) << text;
    EXPECT_EQ(Count(text, "<FF>"), 2u);  // a page per bank
}

TEST_F(PrintoutsTest, AnOrderPerPaymentWithTheAmountInWords) {
    const std::string text =
        Printed([&](printing::PrintOutput& out) { PrintOrders(h.rt, out, list, banks); });
    EXPECT_EQ(Count(text, "POLECENIE PRZELEWU"), 3u);
    EXPECT_NE(text.find("Słownie: jeden tysiąc dwieście trzydzieści cztery złote 56/100"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Kwota:             1.234,56 zł"), std::string::npos) << text;
    // Alfa's orders come from the company, Beta's from its own party.
    EXPECT_EQ(Count(text, "Zleceniodawca:     Firma Testowa"), 2u);
    EXPECT_EQ(Count(text, "Rachunek zlecen.:  61109010140000071219812874"), 2u);
    EXPECT_EQ(Count(text, "Zleceniodawca:     Oddział firmy"), 1u);
    EXPECT_NE(text.find("Rachunek odbiorcy: 91116022020000000123456789"), std::string::npos);
    EXPECT_EQ(Count(text, "Tytułem:           Wynagrodzenie 03/2026"), 3u);
    EXPECT_EQ(Count(text, "Data: 2026-03-10"), 3u);
}

TEST_F(PrintoutsTest, ACollectiveOrderPerBankThatAsksForOne) {
    const std::string text =
        Printed([&](printing::PrintOutput& out) { PrintCollectiveOrders(h.rt, out, list, banks); });
    // Alfa only: Beta asks for none, Gamma has nothing to pay.
    EXPECT_EQ(Count(text, "POLECENIE PRZELEWU"), 1u);
    EXPECT_NE(text.find("Odbiorca:          Bank Alfa S.A."), std::string::npos) << text;
    EXPECT_NE(text.find("Bank odbiorcy:     Oddział 1"), std::string::npos);
    EXPECT_NE(text.find("Rachunek odbiorcy: 92102040550000123456789012"), std::string::npos);
    EXPECT_NE(text.find("Kwota:             1.235,56 zł"), std::string::npos);
    EXPECT_NE(text.find("Wynagrodzenia 03/2026 (2 wypłat)"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::payroll::bank
