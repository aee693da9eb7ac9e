// The bank print-outs of menu 4.A, written through the printer output (no
// screen): the summary statement of the payments (4.A.6), a printed
// transfer order per payment of the banks that take orders instead of a
// file (4.A.4), and one collective transfer order per bank that asks for
// one (4.A.7). The layouts are this program's own, from the bank's fields.
//
// Amounts are printed "@E 999,999,999.99" (decimal comma); texts are CP852.
// Every print-out begins with the printer's reset (YPRRS) and ends with a
// form feed.
#pragma once

#include <vector>

#include "common/session/runtime.h"
#include "payroll/bank/data/payments.h"
#include "payroll/data/payroll_records.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll::bank {

/// The amount of `grosze` as "@E 999,999,999.99" shows it ("  1.234,56").
std::string AmountText(int64_t grosze);

/// 4.A.6: per bank its title (TYTUL_TBW, or the bank's name) and a table of
/// "Lp.", "Nr prac.", "Nazwisko i imię", "Nr rachunku", "Kwota", the
/// bank's "Razem:" and, after the last bank, "RAZEM:" of all. Pages of 60
/// rows under the narrow header (Qrmnagl2) with the list's caption; a
/// bank without payments is left out.
void PrintSummary(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                  const std::vector<BankPayments>& banks);

/// 4.A.4: one order per payment, three to a page: "POLECENIE PRZELEWU",
/// the ordering party (NAZ_PRZEL and KON_PRZEL of the bank, the company's
/// NAGL73 and NAGL74 when they are blank), the recipient (the employee and
/// his account), the amount in figures and in words, the title
/// ("Wynagrodzenie " + month/year of the list) and the payment date.
void PrintOrders(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                 const std::vector<BankPayments>& banks);

/// 4.A.7: one order per bank with ZB_PRZEL and payments: the bank's total
/// to NAZWA_PRZ, BANK_PRZ, KONTO_PRZ from NAZ_PRZEL, KON_PRZEL (the
/// company's when blank), the title "Wynagrodzenia " + month/year and the
/// number of payments.
void PrintCollectiveOrders(common::Runtime& rt, printing::PrintOutput& out, const PayrollList& list,
                           const std::vector<BankPayments>& banks);

}  // namespace kestrel::payroll::bank
