// 4.A.4, 4.A.6 and 4.A.7: the bank print-outs of the open list's payment,
// printed or spooled through the print dialog.
#include <functional>
#include <string>

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/payments.h"
#include "payroll/bank/data/transfer_printouts.h"
#include "payroll/bank/menu4a.h"
#include "payroll/open_list_pick.h"
#include "platform/base/dates.h"
#include "platform/console/keys.h"
#include "printing/spool_or_print.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

// Kind 3 (payroll operations) or kind 6 (browsing, print-outs).
constexpr unsigned kRightsPrint = 4 | 32;
constexpr int kTitleRow = 5, kTitleCol = 22, kDateRow = 7, kEmployeeRow = 12, kLabelCol = 2;

class ScreenWatch : public bank::BankObserver {
  public:
    explicit ScreenWatch(common::Runtime& rt) : rt_(rt), plain_(rt.Standard(rt.colours().ycow)) {}
    bool FunctionError(const std::string& message) override {
        common::ShowMessage(rt_, message);
        return rt_.console().LastKey() != key::kEsc;
    }
    void Employee(const std::string& number) override {
        rt_.screen().Write(kEmployeeRow, kLabelCol + 12, number, plain_);
        rt_.console().Refresh();
    }
    bool Interrupted() override {
        console::Console& con = rt_.console();
        if (con.NextKey() != key::kEsc) return false;
        con.keyboard().Clear();
        while (con.Inkey(0) != key::kNone) {
        }
        return common::IsYes(common::Question(rt_, rt_.Text("Przerwać?"), "tn"));
    }

  private:
    common::Runtime& rt_;
    console::Attr plain_;
};

using Printer = std::function<void(common::Runtime&, printing::PrintOutput&, const PayrollList&,
                                   const std::vector<bank::BankPayments>&)>;

// The print-out `title` (UTF-8) of the banks that `wanted` takes.
void Print(common::Runtime& rt, const char* title,
           const std::function<bool(const bank::BankParameters&)>& wanted, const Printer& print) {
    if (!common::CheckRights(rt, kRightsPrint)) return;
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, rt.Text(title), plain);
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    const base::Date paid = base::DateOfDbfText(list.paid);
    s.Write(
        kDateRow, kLabelCol,
        rt.Text("Data wypłaty: ") + (paid.empty() ? std::string(10, ' ') : base::DateText(paid)),
        plain);
    std::vector<bank::BankParameters> banks;
    for (const bank::BankParameters& b : bank::ReadBanks(tables))
        if (wanted(b)) banks.push_back(b);
    if (banks.empty()) {
        common::ShowMessage(rt, rt.Text("Brak parametrów połączenia"));
        return;
    }
    s.Write(kEmployeeRow, kLabelCol, rt.Text(" Pracownik:"), plain);
    ScreenWatch watch(rt);
    const bank::PaymentsOutcome paid_out = bank::CollectPayments(rt, tables, list, banks, &watch);
    tables.CloseAll();
    s.Clear(kEmployeeRow, 1, kEmployeeRow, 77, plain);
    if (!paid_out.message.empty()) {
        common::ShowMessage(rt, paid_out.message);
        return;
    }
    if (paid_out.interrupted) return;
    printing::SpoolOrPrint(rt, rt.Text(title), [&](printing::PrintOutput& out) {
        print(rt, out, list, paid_out.banks);
    });
    s.Clear(4, 1, 22, 77, plain);
}

}  // namespace

void Qrm4A4(common::Runtime& rt) {
    Print(
        rt, "4.A.4. Wydruk indywidualnych przelewów",
        [](const bank::BankParameters& b) { return b.orders; }, bank::PrintOrders);
}

void Qrm4A6(common::Runtime& rt) {
    Print(
        rt, "4.A.6. Zbiorcze zestawienie wypłat typu ROR",
        [](const bank::BankParameters&) { return true; }, bank::PrintSummary);
}

void Qrm4A7(common::Runtime& rt) {
    Print(
        rt, "4.A.7. Wydruk zbiorczych przelewów",
        [](const bank::BankParameters& b) { return b.collective; }, bank::PrintCollectiveOrders);
}

}  // namespace kestrel::payroll
