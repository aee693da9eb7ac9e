#include "payroll/printouts/data/period_print.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "common/tables/table_catalogue.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

std::string MonthText(YearMonth m) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d", m.year, m.month);
    return buf;
}

}  // namespace

std::vector<PayrollList> ListsOfMonths(common::Tables& tables, YearMonth from, YearMonth to,
                                       bool by_payment) {
    std::vector<PayrollList> out;
    if (!CompanyHas(tables, "PKLISTY")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", common::IndexFiles("PKLISTY"));
    const dbf::KeepPosition keep(a);
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        PayrollList l = ReadList(a);
        const YearMonth m =
            by_payment ? YearMonth{l.paid.size() >= 6 ? std::atoi(l.paid.substr(0, 4).c_str()) : 0,
                                   l.paid.size() >= 6 ? std::atoi(l.paid.substr(4, 2).c_str()) : 0}
                       : YearMonth{std::atoi(l.year.c_str()), std::atoi(l.month.c_str())};
        if (m.Index() >= from.Index() && m.Index() <= to.Index()) out.push_back(std::move(l));
    }
    std::sort(out.begin(), out.end(),
              [](const PayrollList& x, const PayrollList& y) { return x.Key() < y.Key(); });
    return out;
}

PayrollListOutcome PrintSummary(common::Runtime& rt, common::Tables& tables,
                                const SummaryRequest& request, printing::PrintOutput& out,
                                MatrixObserver* observer) {
    PayrollListOutcome done;
    MatrixRequest r;
    r.matrix = request.matrix;
    r.type = request.type;
    r.lists = ListsOfMonths(tables, request.from, request.to, request.by_payment);
    r.first_employee = request.first_employee;
    r.last_employee = request.last_employee;
    if (r.lists.empty()) {
        done.message = rt.Text("Brak list płac w podanym okresie");
        return done;
    }
    if (request.type == '5') {
        r.subtitle = rt.Text(request.by_payment ? "Wypłaty: " : "Okres: ") +
                     MonthText(request.from) + " - " + MonthText(request.to);
    } else if (request.type == '2') {
        r.sort = ListSort(std::clamp(request.sort, 1, 4));
        r.layout = request.layout == 'P' ? MatrixLayout::kPayslips : MatrixLayout::kSummary;
        r.subtitle = rt.Text("Miesiąc: ") + MonthText(request.from);
    } else {
        r.subtitle = rt.Text("Okres: ") + MonthText(request.from) + " - " + MonthText(request.to);
        switch (request.grouping) {
            case PeriodGrouping::kDepartments:
            case PeriodGrouping::kDepartmentTotals:
                r.sort = MatrixSort::kDepartment;
                r.level_chars = 4;
                r.level_name = rt.Text("Razem dział");
                r.totals_only = request.grouping == PeriodGrouping::kDepartmentTotals;
                break;
            case PeriodGrouping::kBrigades:
                r.sort = MatrixSort::kBrigade;
                r.level_chars = 2;
                r.level_name = rt.Text("Razem brygada");
                break;
            case PeriodGrouping::kGroups:
                r.sort = MatrixSort::kGroup;
                r.level_chars = 1;
                r.level_name = rt.Text("Razem grupa");
                break;
            default:
                break;
        }
    }
    MatrixRun run(rt, tables, observer);
    done.message = run.Prepare(r);
    done.interrupted = run.interrupted();
    if (!done.message.empty() || done.interrupted) return done;
    const MatrixPrinted printed = run.Print(out);
    done.interrupted = printed.interrupted;
    done.message = printed.message;
    done.employees = printed.employees;
    return done;
}

}  // namespace kestrel::payroll
