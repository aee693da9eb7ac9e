#include "payroll/printouts/data/period_print.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <set>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/archive_tables.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

std::string MonthText(YearMonth m) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d", m.year, m.month);
    return buf;
}

}  // namespace

namespace {

std::vector<PayrollList> ListsIn(dbf::WorkArea& a, YearMonth from, YearMonth to, bool by_payment) {
    std::vector<PayrollList> out;
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

// Closes the work areas of the archives a printout opened.
class OpenedAreas {
  public:
    explicit OpenedAreas(common::Tables& tables) : tables_(tables) {}
    ~OpenedAreas() {
        for (const std::string& alias : aliases_)
            if (dbf::WorkArea* a = tables_.workspace().Find(alias))
                (void)tables_.workspace().Close(a->number());
    }
    OpenedAreas(const OpenedAreas&) = delete;
    OpenedAreas& operator=(const OpenedAreas&) = delete;
    dbf::WorkArea& Open(const std::string& archive, const std::string& alias,
                        const std::string& table) {
        aliases_.push_back(alias);
        return OpenArchived(tables_, archive, alias, table, common::IndexFiles(table));
    }

  private:
    common::Tables& tables_;
    std::vector<std::string> aliases_;
};

// Work-area names of an archive's tables during a period printout.
std::string AliasOf(const char* prefix, const std::string& archive) {
    return prefix + archive.substr(4);
}

}  // namespace

std::vector<PayrollList> ListsOfMonths(common::Tables& tables, YearMonth from, YearMonth to,
                                       bool by_payment) {
    if (!CompanyHas(tables, "PKLISTY")) return {};
    return ListsIn(worktime::OpenOnce(tables, "PKLISTY", common::IndexFiles("PKLISTY")), from, to,
                   by_payment);
}

std::vector<ArchiveLists> ArchivedListsOfMonths(common::Tables& tables, YearMonth from,
                                                YearMonth to, bool by_payment,
                                                const std::vector<PayrollList>& working) {
    common::Runtime& rt = tables.rt();
    std::vector<std::string> dirs;
    if (std::string refusal = SearchedArchives(rt, &dirs); !refusal.empty())
        throw common::Abandon(refusal);
    std::set<std::string> taken;
    for (const PayrollList& l : working) taken.insert(l.Key());
    std::vector<ArchiveLists> out;
    const int first_year = by_payment ? from.year - 1 : from.year;
    for (const std::string& d : dirs) {
        const int year = ArchiveYear(d);
        if (year < first_year || year > to.year) continue;
        ArchiveLists found{d, {}};
        {
            OpenedAreas areas(tables);
            for (PayrollList& l :
                 ListsIn(areas.Open(d, AliasOf("ALST", d), "PKLISTY"), from, to, by_payment))
                if (taken.insert(l.Key()).second) found.lists.push_back(std::move(l));
        }
        if (!found.lists.empty()) out.push_back(std::move(found));
    }
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
    OpenedAreas areas(tables);
    std::unique_ptr<ArchivedYear> whole_year;
    if (request.archives) {
        try {
            std::vector<ArchiveLists> archived = ArchivedListsOfMonths(
                tables, request.from, request.to, request.by_payment, r.lists);
            if (r.lists.empty() && archived.size() == 1) {
                whole_year = std::make_unique<ArchivedYear>(tables, archived[0].archive);
                r.lists = std::move(archived[0].lists);
            } else {
                for (ArchiveLists& a : archived)
                    r.archived.push_back(
                        {std::move(a.lists),
                         &areas.Open(a.archive, AliasOf("APLC", a.archive), "PKPLACE")});
            }
        } catch (const common::Abandon& e) {
            done.message = e.message();
            return done;
        }
    }
    if (r.lists.empty() && r.archived.empty()) {
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
