#include "payroll/printouts/summary_screens.h"

#include <string>

#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "payroll/printouts/data/period_print.h"
#include "payroll/printouts/print_watch.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr int kTitleRow = 5, kTitleCol = 22, kLabelCol = 2, kValueCol = 34;

// The four fields of a period from row `row` on (from year and month, to
// year and month); a period that ends before it begins is "Błędny okres".
void GetPeriod(common::Runtime& rt, common::Form& form, int row, double* from_year,
               double* from_month, double* to_year, double* to_month) {
    form.Get(row, kValueCol, from_year, 4, 0, "9999");
    form.Get(row + 1, kValueCol, from_month, 2, 0, "99").Valid([&rt, from_year, from_month] {
        return ValidMonth(rt, *from_year, *from_month);
    });
    form.Get(row + 2, kValueCol, to_year, 4, 0, "9999");
    form.Get(row + 3, kValueCol, to_month, 2, 0, "99")
        .Valid([&rt, from_year, from_month, to_year, to_month] {
            if (!ValidMonth(rt, *to_year, *to_month)) return false;
            if (*to_year * 12 + *to_month >= *from_year * 12 + *from_month) return true;
            common::ShowMessage(rt, rt.Text("Błędny okres"));
            return false;
        });
}

// The printout through the print dialog, the date asked in the headers.
void PrintWith(common::Runtime& rt, common::Tables& tables, const SummaryRequest& request,
               const picture::Date& date, const std::string& title) {
    const base::LocalTime today = rt.working_date();
    if (!date.empty()) rt.set_working_date({date.year, date.month, date.day});
    PrintWatch watch(rt);
    PayrollListOutcome done;
    // The dialog's F1 (to file or to the port) is its own while it runs.
    auto& kb = rt.console().keyboard();
    auto old = kb.Bind(key::F(1), {});
    printing::SpoolOrPrint(rt, title, [&](printing::PrintOutput& out) {
        done = PrintSummary(rt, tables, request, out, &watch);
    });
    kb.Bind(key::F(1), old);
    rt.set_working_date(today);
    if (!done.message.empty()) common::ShowMessage(rt, done.message);
}

// An employee number as typed: digits get their leading zeros.
std::string Number(const std::string& typed) {
    const std::string t = base::Trim(typed);
    if (t.empty() || t.size() >= 6 || t.find_first_not_of("0123456789") != std::string::npos)
        return t;
    return std::string(6 - t.size(), '0') + t;
}

picture::Date Today(const common::Runtime& rt) {
    const base::LocalTime t = rt.working_date();
    return {t.year, t.month, t.day};
}

}  // namespace

void Qrm484(common::Runtime& rt) {
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    const std::string title = rt.Text("Zestawienie wybranych składn. z list płac w m-cu");
    s.Write(kTitleRow, kTitleCol, rt.Text("4.8.4. ") + title, plain);
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    double year = m.year, month = m.month, sort = 1;
    std::string matrix(4, ' '), layout = "Z";
    picture::Date date = Today(rt);
    int row = 8;
    for (const char* label : {"Rok:", "Miesiąc:", "Symbol tabulogramu:", "Rodzaj sortu:",
                              "Typ wydruku:", "Data wydruku:"})
        s.Write(row++, kLabelCol, rt.Text(label), plain);
    s.Write(11, kValueCol + 3, rt.Text("(1-numer, 2-alfabet, 3-brygady, 4-działy)"), plain);
    s.Write(12, kValueCol + 3, rt.Text("(Z-zbiorczy, P-paski)"), plain);
    common::Form form(rt);
    form.Get(8, kValueCol, &year, 4, 0, "9999");
    form.Get(9, kValueCol, &month, 2, 0, "99").Valid([&] { return ValidMonth(rt, year, month); });
    form.Get(10, kValueCol, &matrix, "@!").Valid([&] { return !base::IsBlank(matrix); });
    form.Get(11, kValueCol, &sort, 1, 0, "9").Valid([&] { return sort >= 1 && sort <= 4; });
    form.Get(12, kValueCol, &layout, "@! X").Valid([&] { return layout == "Z" || layout == "P"; });
    form.Get(13, kValueCol, &date);
    if (!form.Read().saved()) return;
    SummaryRequest r;
    r.type = '2';
    r.matrix = base::Trim(matrix);
    r.from = r.to = {static_cast<int>(year), static_cast<int>(month)};
    r.sort = static_cast<int>(sort);
    r.layout = layout[0];
    r.archives = rt.config().Logical("NAGLARL");
    PrintWith(rt, tables, r, date, title);
}

void Qrm485(common::Runtime& rt) {
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    const std::string title = rt.Text("Zbiorcze zestawienie list płac za wybrany okres");
    s.Write(kTitleRow, kTitleCol, rt.Text("4.8.5. ") + title, plain);
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    double from_year = m.year, from_month = 1, to_year = m.year, to_month = m.month, kind = 1;
    std::string matrix(4, ' ');
    picture::Date date = Today(rt);
    int row = 8;
    for (const char* label : {"Od roku:", "Od miesiąca:", "Do roku:", "Do miesiąca:",
                              "Symbol tabulogramu:", "Rodzaj wydruku:", "Data wydruku:"})
        s.Write(row++, kLabelCol, rt.Text(label), plain);
    row = 15;
    for (const char* kinds : {"1 - syntetyczny", "2 - wg działów", "3 - wg brygad",
                              "4 - wg grup algorytmów", "5 - sumy wg działów"})
        s.Write(row++, kValueCol + 3, rt.Text(kinds), plain);
    common::Form form(rt);
    GetPeriod(rt, form, 8, &from_year, &from_month, &to_year, &to_month);
    form.Get(12, kValueCol, &matrix, "@!").Valid([&] { return !base::IsBlank(matrix); });
    form.Get(13, kValueCol, &kind, 1, 0, "9").Valid([&] { return kind >= 1 && kind <= 5; });
    form.Get(14, kValueCol, &date);
    if (!form.Read().saved()) return;
    SummaryRequest r;
    r.type = '3';
    r.matrix = base::Trim(matrix);
    r.from = {static_cast<int>(from_year), static_cast<int>(from_month)};
    r.to = {static_cast<int>(to_year), static_cast<int>(to_month)};
    r.grouping = static_cast<PeriodGrouping>(static_cast<int>(kind));
    r.archives = rt.config().Logical("NAGLARL");
    PrintWith(rt, tables, r, date, title);
}

void Qrm489(common::Runtime& rt) {
    common::Tables tables(rt);
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    const std::string title = rt.Text("Zestawienie płac za wybrany okres");
    s.Write(kTitleRow, kTitleCol, rt.Text("4.8.9. ") + title, plain);
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    double kind = 1, from_year = m.year, from_month = 1, to_year = m.year, to_month = m.month;
    std::string matrix(4, ' '), first(6, ' '), last(6, ' ');
    picture::Date date = Today(rt);
    s.Write(8, kLabelCol, rt.Text("Typ wydruku: X    (1-wg miesiąca listy, 2-wg daty wypłaty)"),
            plain);
    int row = 9;
    for (const char* label :
         {"Od roku:", "Od miesiąca:", "Do roku:", "Do miesiąca:", "Symbol tabulogramu:",
          "Od pracownika:", "Do pracownika:", "Data wydruku:"})
        s.Write(row++, kLabelCol, rt.Text(label), plain);
    common::Form form(rt);
    form.Get(8, kLabelCol + 13, &kind, 1, 0, "9").Valid([&] { return kind == 1 || kind == 2; });
    GetPeriod(rt, form, 9, &from_year, &from_month, &to_year, &to_month);
    form.Get(13, kValueCol, &matrix, "@!").Valid([&] { return !base::IsBlank(matrix); });
    form.Get(14, kValueCol, &first, "999999");
    form.Get(15, kValueCol, &last, "999999");
    form.Get(16, kValueCol, &date);
    if (!form.Read().saved()) return;
    SummaryRequest r;
    r.type = '5';
    r.matrix = base::Trim(matrix);
    r.by_payment = kind == 2;
    r.from = {static_cast<int>(from_year), static_cast<int>(from_month)};
    r.to = {static_cast<int>(to_year), static_cast<int>(to_month)};
    r.first_employee = Number(first);
    r.last_employee = Number(last);
    PrintWith(rt, tables, r, date, title);
}

}  // namespace kestrel::payroll
