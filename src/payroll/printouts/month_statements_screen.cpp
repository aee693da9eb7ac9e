#include "payroll/printouts/month_statements_screen.h"

#include <string>

#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "payroll/printouts/data/cost_accounts.h"
#include "payroll/printouts/data/pfron_statement.h"
#include "payroll/printouts/print_watch.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTitleRow = 5, kTitleCol = 22, kLabelCol = 2, kValueCol = 46;

picture::Date Today(const common::Runtime& rt) {
    const base::LocalTime t = rt.working_date();
    return {t.year, t.month, t.day};
}

// The screen's frame: the work area cleared, the title, the labels from row 8.
void Frame(common::Runtime& rt, const std::string& title,
           std::initializer_list<const char*> labels) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(kTitleRow, kTitleCol, title, plain);
    int row = 8;
    for (const char* label : labels) s.Write(row++, kLabelCol, rt.Text(label), plain);
}

// The printout through the print dialog, the date asked printed in the
// headers; the block returns what stopped it ("" when printed).
void PrintWith(common::Runtime& rt, const picture::Date& date, const std::string& title,
               const std::function<std::string(printing::PrintOutput&)>& block) {
    const base::LocalTime today = rt.working_date();
    if (!date.empty()) rt.set_working_date({date.year, date.month, date.day});
    std::string message;
    // The dialog's F1 (to file or to the port) is its own while it runs.
    auto& kb = rt.console().keyboard();
    auto old = kb.Bind(key::F(1), {});
    printing::SpoolOrPrint(rt, title, [&](printing::PrintOutput& out) { message = block(out); });
    kb.Bind(key::F(1), old);
    rt.set_working_date(today);
    if (!message.empty()) common::ShowMessage(rt, message);
}

}  // namespace

void Qrm48A(common::Runtime& rt) {
    common::Tables tables(rt);
    const std::string title = rt.Text("Miesięczne zestawienie wg kont kosztów");
    Frame(rt, rt.Text("4.8.A. ") + title,
          {"Rok:", "Miesiąc:", "Symbol tabulogramu:", "Ilość pierwszych znaków konta do sumowania",
           "Ilość poziomów sumowania:", "Data wydruku:"});
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    double year = m.year, month = m.month, chars = 12, levels = 1;
    std::string matrix(4, ' ');
    picture::Date date = Today(rt);
    common::Form form(rt);
    form.Get(8, kValueCol, &year, 4, 0, "9999");
    form.Get(9, kValueCol, &month, 2, 0, "99").Valid([&] { return ValidMonth(rt, year, month); });
    form.Get(10, kValueCol, &matrix, "@!").Valid([&] { return !base::IsBlank(matrix); });
    form.Get(11, kValueCol, &chars, 2, 0, "99").Valid([&] { return chars >= 1 && chars <= 12; });
    form.Get(12, kValueCol, &levels, 1, 0, "9").Valid([&] { return levels >= 1 && levels <= 3; });
    form.Get(13, kValueCol, &date);
    if (!form.Read().saved()) return;
    CostAccountRequest r;
    r.matrix = base::Trim(matrix);
    r.month = {static_cast<int>(year), static_cast<int>(month)};
    r.chars = static_cast<int>(chars);
    r.levels = static_cast<int>(levels);
    PrintWatch watch(rt);
    PrintWith(rt, date, title, [&](printing::PrintOutput& out) {
        return PrintCostAccounts(rt, tables, r, out, &watch).message;
    });
}

void Qrm48C(common::Runtime& rt) {
    common::Tables tables(rt);
    const std::string title = rt.Text("Miesięczne zestawienie etatów wg przepisów PFRON");
    Frame(rt, rt.Text("4.8.C. ") + title,
          {"Rok:", "Miesiąc:", "Przeciętne wynagrodzenie z poprzedniego kwartału:",
           "Liczba uczniów (szkoły i uczelnie):", "w tym niepełnosprawnych:", "Data wydruku:"});
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    double year = m.year, month = m.month, average = 0, pupils = 0, disabled = 0;
    picture::Date date = Today(rt);
    common::Form form(rt);
    form.Get(8, kValueCol + 8, &year, 4, 0, "9999");
    form.Get(9, kValueCol + 8, &month, 2, 0, "99").Valid([&] {
        return ValidMonth(rt, year, month);
    });
    form.Get(10, kValueCol + 8, &average, 9, 2, "@E 999,999.99").Valid([&] {
        return average >= 0;
    });
    form.Get(11, kValueCol + 8, &pupils, 6, 0, "999999");
    form.Get(12, kValueCol + 8, &disabled, 6, 0, "999999").Valid([&] {
        if (disabled <= pupils) return true;
        common::ShowMessage(rt, rt.Text("Więcej niepełnosprawnych niż uczniów"));
        return false;
    });
    form.Get(13, kValueCol + 8, &date);
    if (!form.Read().saved()) return;
    PfronRequest r;
    r.month = {static_cast<int>(year), static_cast<int>(month)};
    r.average_pay = average;
    r.pupils = static_cast<int>(pupils);
    r.disabled_pupils = static_cast<int>(disabled);
    PrintWith(rt, date, title, [&](printing::PrintOutput& out) {
        PrintPfron(rt, r, ComputePfron(rt, tables, r), out);
        return std::string();
    });
}

}  // namespace kestrel::payroll
