#include "worktime/printouts/month_printouts.h"

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"
#include "register/data/employee_record.h"
#include "worktime/code_pick.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"
#include "worktime/printouts/data/attendance_list.h"
#include "worktime/printouts/data/time_sheet.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr int kMonthRow = 8, kFromRow = 10, kToRow = 11, kDepartmentRow = 13, kLegendRow = 21;
constexpr int kLabelCol = 22, kValueCol = 38;

bool DepartmentExists(common::Tables& tables, const std::string& code) {
    dbf::WorkArea& a = OpenOnce(tables, "PKDZIAL", {"PKDZIAL1"});
    OrderBy(a, "PKDZIAL1");
    return a.Seek(base::Padded(code, 4)).ok() && a.found();
}

// The options on the screen; false on Esc.
bool AskOptions(common::Runtime& rt, common::Tables& tables, ReportOptions* o) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const SettlementMonth month = ReadSettlementMonth(rt, tables);
    double year = month.year, mon = month.month;
    std::string from(6, ' '), to(6, ' '), department(4, ' ');
    s.Write(kMonthRow, kLabelCol, rt.Text("Rok-mc:"), plain);
    s.Write(kMonthRow, kValueCol + 4, "-", plain);
    s.Write(kFromRow, kLabelCol, rt.Text("Od pracownika:"), plain);
    s.Write(kToRow, kLabelCol, rt.Text("Do pracownika:"), plain);
    s.Write(kDepartmentRow, kLabelCol, rt.Text("Dział:"), plain);
    common::WriteLegend(rt, kLegendRow, 2, "<F3>-Pracownicy/Działy     <Esc>-Wyjście");

    const auto number = [](const std::string& typed) {
        std::string n;
        return base::Trim(typed).empty() || registry::NormaliseNumber(typed, &n);
    };
    common::Form form(rt);
    form.Get(kMonthRow, kValueCol, &year, 4, 0, "9999").Valid([&] {
        return year >= 1993 && year <= 2099;
    });
    form.Get(kMonthRow, kValueCol + 5, &mon, 2, 0, "99").Valid([&] {
        return mon >= 1 && mon <= 12;
    });
    form.Get(kFromRow, kValueCol, &from, "999999").Valid([&] { return number(from); });
    form.Get(kToRow, kValueCol, &to, "999999").Valid([&] { return number(to); });
    form.Get(kDepartmentRow, kValueCol, &department, "@!").Valid([&] {
        s.Clear(kDepartmentRow, kValueCol + 5, kDepartmentRow, 77, plain);
        const std::string code = base::Trim(department);
        if (code.empty()) return true;
        if (!DepartmentExists(tables, code)) {
            common::ShowMessage(rt, rt.Text("Brak takiego działu"));
            return false;
        }
        return true;
    });
    const common::PickDictionary departments =
        CodeDictionary("PKDZIAL", "PKDZIAL1", "DZIAL_", "DZIAŁ");
    common::ReadResult r;
    {
        auto& kb = rt.console().keyboard();
        common::HotKeysAside aside(rt, {key::F(3)});
        kb.Bind(key::F(3), [&] {
            if (form.current() == 4) {
                common::Pick(rt, tables, departments, form.Typed());
            } else if (form.current() == 2 || form.current() == 3) {
                common::PickEmployee(rt, tables, form.Typed());
            }
        });
        r = common::Qrmrdr(rt, form);
    }
    if (!r.saved()) return false;
    o->year = static_cast<int>(year);
    o->month = static_cast<int>(mon);
    if (!base::Trim(from).empty()) registry::NormaliseNumber(from, &o->from);
    if (!base::Trim(to).empty()) registry::NormaliseNumber(to, &o->to);
    o->department = base::Trim(department);
    return true;
}

}  // namespace

printing::SpoolOrPrintEnd PrintMonth(common::Runtime& rt, MonthPrintout which,
                                     const printing::SpoolOrPrintOptions& options) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 22, 77, plain);
    s.Write(5, 22,
            rt.Text(which == MonthPrintout::kTimeSheets ? "3.8.2. Karta ewidencji czasu pracy"
                                                        : "3.8.5. Lista obecności"),
            plain);
    MonthReport report;
    {
        common::Tables tables(rt);
        ReportOptions o;
        if (!AskOptions(rt, tables, &o)) return printing::SpoolOrPrintEnd::kCancelled;
        common::ShowWait(rt);
        report = ReadMonthReport(rt, tables, o);
    }
    if (report.employees.empty()) {
        common::ShowMessage(rt, rt.Text("Brak pracowników do wydruku"));
        return printing::SpoolOrPrintEnd::kCancelled;
    }
    const auto interrupted = [&rt] { return printing::PrintInterrupted(rt); };
    if (which == MonthPrintout::kTimeSheets) {
        return printing::SpoolOrPrint(
            rt, TimeSheetTitle(rt, report),
            [&](printing::PrintOutput& out) { PrintTimeSheets(rt, out, report, interrupted); },
            options);
    }
    return printing::SpoolOrPrint(
        rt, AttendanceListTitle(rt, report),
        [&](printing::PrintOutput& out) { PrintAttendanceList(rt, out, report, interrupted); },
        options);
}

void Qrm382(common::Runtime& rt) {
    (void)PrintMonth(rt, MonthPrintout::kTimeSheets);
}

void Qrm385(common::Runtime& rt) {
    (void)PrintMonth(rt, MonthPrintout::kAttendanceList);
}

}  // namespace kestrel::worktime
