#include "payroll/printouts/annual_screen.h"

#include <string>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/printouts/data/annual_export.h"
#include "payroll/printouts/data/annual_summary.h"
#include "payroll/printouts/print_date.h"
#include "platform/base/text.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

constexpr int kLabel = 2, kValue = 26;

// A one-letter field that takes only the letters of `allowed`.
common::FieldCheck OneOf(common::Runtime& rt, std::string* value, std::string_view allowed) {
    return [&rt, value, allowed] {
        if (!value->empty() && (*value)[0] != ' ' &&
            allowed.find((*value)[0]) != std::string_view::npos)
            return true;
        common::ShowMessage(rt, rt.Text("Błędna wartość"));
        return false;
    };
}

// The options of the summary; false on Esc.
bool AskOptions(common::Runtime& rt, common::Tables& tables, const char* title, bool printing,
                AnnualOptions* o) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 2, rt.Text(title), rt.Standard(rt.colours().ycob));
    double year = worktime::ReadSettlementMonth(rt, tables).year;
    std::string selection = "L", type = "A", sort = "1", from = "000001", to = "999999";
    int row = 6;
    common::Form form(rt);
    s.Write(row, kLabel, rt.Text("Rok:"), plain);
    form.Get(row++, kValue, &year, 4, 0, "9999").Valid([&] {
        if (year >= 1991 && year <= 2099) return true;
        common::ShowMessage(rt, rt.Text("Błędny rok"));
        return false;
    });
    s.Write(row, kLabel, rt.Text("Selekcja rekordów wg:"), plain);
    s.Write(row, kValue + 3, rt.Text("(L - miesiąca listy płac, W - daty wypłaty)"), plain);
    form.Get(row++, kValue, &selection, "!").Valid(OneOf(rt, &selection, "LW"));
    if (printing) {
        s.Write(row, kLabel, rt.Text("Typ wydruku:"), plain);
        s.Write(row, kValue + 3, rt.Text("(A-analityczny, B-zbiorczy, C-A+B, D-wg działów)"),
                plain);
        form.Get(row++, kValue, &type, "!").Valid(OneOf(rt, &type, "ABCD"));
    }
    s.Write(row, kLabel, rt.Text("Rodzaj sortu:"), plain);
    s.Write(row, kValue + 3, rt.Text("(1 - wg numerów, 2 - alfabetycznie)"), plain);
    form.Get(row++, kValue, &sort, "9").Valid(OneOf(rt, &sort, "12"));
    s.Write(row, kLabel, rt.Text("Od pracownika:"), plain);
    form.Get(row++, kValue, &from, "999999");
    s.Write(row, kLabel, rt.Text("Do pracownika:"), plain);
    form.Get(row++, kValue, &to, "999999").Valid([&] {
        if (to >= from) return true;
        common::ShowMessage(rt, rt.Text("Błędny zakres"));
        return false;
    });
    if (!common::Qrmrdr(rt, form).saved()) return false;
    o->year = static_cast<int>(year);
    o->selection = selection[0];
    o->type = type[0];
    o->sort = sort[0] - '0';
    o->from = from;
    o->to = to;
    o->archives = rt.config().Logical("NAGLARL");
    return true;
}

}  // namespace

void PrintAnnualSummary(common::Runtime& rt, common::Tables& tables) {
    AnnualOptions o;
    if (!AskOptions(rt, tables, "4.8.6. Roczne zestawienie składników płacowych", true, &o)) return;
    if (!AskPrintDate(rt, 14, kLabel)) return;
    common::ShowWait(rt);
    const AnnualSummary summary = CollectAnnual(rt, tables, o);
    if (summary.employees.empty()) {
        common::ShowMessage(rt, rt.Text("Brak danych do wydruku"));
        return;
    }
    printing::SpoolOrPrint(
        rt, rt.Text("Roczne zestawienie składników płacowych"), [&](printing::PrintOutput& out) {
            common::WriteLegend(rt, 21, 2, "<Esc>-Przerwanie");
            (void)PrintAnnual(rt, summary, o, out, [&] { return printing::PrintInterrupted(rt); });
            rt.screen().Clear(21, 1, 21, 77, rt.Standard(rt.colours().ycow));
        });
}

void ExportAnnualSummary(common::Runtime& rt, common::Tables& tables) {
    AnnualOptions o;
    if (!AskOptions(rt, tables, "4.8.B. Eksport rocznego zestawienia składników", false, &o))
        return;
    rt.screen().Write(14, kLabel, rt.Text("Plik: ") + AnnualExportName(o.year),
                      rt.Standard(rt.colours().ycow));
    if (!common::IsYes(common::Question(rt, rt.Text("Eksportować wydruk?"), "tn", 'n'))) return;
    common::ShowWait(rt);
    const AnnualSummary summary = CollectAnnual(rt, tables, o);
    if (summary.employees.empty()) {
        common::ShowMessage(rt, rt.Text("Brak danych do wydruku"));
        return;
    }
    std::string path, message;
    if (!ExportAnnual(rt, summary, o.year, rt.data_dir(), &path, &message)) {
        common::ShowMessage(rt, message);
        return;
    }
    common::ShowMessage(rt, rt.Text("Koniec procedury"));
}

void Qrm486(common::Runtime& rt) {
    common::Tables tables(rt);
    PrintAnnualSummary(rt, tables);
}

void Qrm48B(common::Runtime& rt) {
    common::Tables tables(rt);
    ExportAnnualSummary(rt, tables);
}

}  // namespace kestrel::payroll
