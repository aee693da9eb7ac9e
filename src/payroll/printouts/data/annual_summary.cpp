#include "payroll/printouts/data/annual_summary.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "common/session/abandon.h"
#include "common/tables/index_functions.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_records.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "printing/data/headers.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

constexpr int kSymbolWidth = 5, kMonthWidth = 10, kYearWidth = 11;
constexpr const char* kRoman[] = {"I",   "II",   "III", "IV", "V",  "VI",
                                  "VII", "VIII", "IX",  "X",  "XI", "XII"};

void Add(std::map<std::string, AnnualRow>* rows, const std::string& symbol,
         const std::map<std::string, std::string>& names, int month, double amount) {
    AnnualRow& r = (*rows)[symbol];
    if (r.symbol.empty()) {
        r.symbol = symbol;
        const auto it = names.find(symbol);
        if (it != names.end()) r.name = it->second;
    }
    r.months[static_cast<size_t>(month - 1)] += amount;
    r.year += amount;
}

std::vector<AnnualRow> Rows(const std::map<std::string, AnnualRow>& rows) {
    std::vector<AnnualRow> out;
    for (const auto& [symbol, row] : rows) {
        AnnualRow r = row;
        for (double& m : r.months) m = base::YRound(m, 2);
        r.year = base::YRound(r.year, 2);
        out.push_back(r);
    }
    return out;
}

class Printer {
  public:
    Printer(common::Runtime& rt, const AnnualOptions& options, printing::PrintOutput& out)
        : rt_(rt), out_(out) {
        char year[8];
        std::snprintf(year, sizeof year, "%04d", options.year);
        title_ = rt.Text("Roczne zestawienie składników płacowych na pracowników za rok ") + year +
                 (options.selection == 'W' ? rt.Text(" (wg daty wypłaty)")
                                           : rt.Text(" (wg miesiąca listy płac)"));
    }

    void Block(const std::string& caption, const std::vector<AnnualRow>& rows) {
        Room(static_cast<int>(rows.size()) + 3);
        out_.Say(row_++, 0, caption);
        out_.Say(row_++, 0, Headings());
        for (const AnnualRow& r : rows) {
            std::string line = Fit(r.symbol, kSymbolWidth);
            for (double m : r.months) line += ColumnAmount(m, kMonthWidth);
            line += ColumnAmount(r.year, kYearWidth);
            out_.Say(row_++, 0, line);
        }
        ++row_;
    }

  private:
    std::string Headings() const {
        std::string line = rt_.Text("Skł.");
        line.resize(kSymbolWidth, ' ');
        for (const char* m : kRoman) {
            std::string h(static_cast<size_t>(kMonthWidth) - std::string_view(m).size(), ' ');
            line += h + m;
        }
        return line + std::string(kYearWidth - 3, ' ') + "Rok";
    }
    void Room(int rows) {
        if (page_ > 0 && row_ + rows <= kPrintoutPageRows) return;
        if (page_ > 0) out_.Eject();
        ++page_;
        printing::Qrmnagl(rt_, out_, page_, title_);
        row_ = out_.row() + 2;
        out_.Say(row_++, 0, std::string(136, '-'));
    }

    common::Runtime& rt_;
    printing::PrintOutput& out_;
    std::string title_;
    int page_ = 0;
    int row_ = 0;
};

}  // namespace

std::string ColumnAmount(double value, int width) {
    if (base::YRound(value, 2) == 0) return std::string(static_cast<size_t>(width), ' ');
    char buf[48];
    std::snprintf(buf, sizeof buf, "%*.2f", width, base::YRound(value, 2));
    std::string s = buf;
    if (static_cast<int>(s.size()) > width) return std::string(static_cast<size_t>(width), '*');
    std::replace(s.begin(), s.end(), '.', ',');
    return s;
}

AnnualSummary CollectAnnual(common::Runtime& rt, common::Tables& tables,
                            const AnnualOptions& options) {
    AnnualSummary out;
    std::map<std::string, std::string> names;
    for (const Component& c : ReadComponents(tables))
        names[base::TrimRight(c.symbol)] = base::Trim(c.name);
    const bool by_payment = options.selection == 'W';
    char year[8];
    std::snprintf(year, sizeof year, "%04d", options.year);
    std::map<std::string, std::map<std::string, AnnualRow>> by_employee;
    std::set<std::string> working_lists;  // keys of the lists read from the working tables
    // Adds the positions of the year of `place`; `working` collects their
    // lists' keys, else positions of a list collected before are skipped.
    auto read = [&](dbf::WorkArea& place, bool working) {
        const dbf::KeepPosition keep(place);
        worktime::OrderBy(place, by_payment ? "PKPLACE6" : "PKPLACE3");
        const int f_number = place.FieldIndex("NR_PRAC"), f_symbol = place.FieldIndex("SKLADN_PL"),
                  f_amount = place.FieldIndex("KWOTA_"), f_month = place.FieldIndex("MC_LST"),
                  f_year = place.FieldIndex("ROK_LST"), f_paid = place.FieldIndex("DATA_WYP"),
                  f_type = place.FieldIndex("TYP_LST"), f_list = place.FieldIndex("NR_LST");
        for (base::Status s = place.Seek(std::string(year) + options.from, true);
             s.ok() && !place.eof(); s = place.Skip()) {
            const dbf::Record& r = place.record();
            int month = 0;
            if (by_payment) {
                const std::string paid = r.GetDate(f_paid);
                if (paid.size() != 8 || paid.compare(0, 4, year) != 0) break;
                month = std::stoi(paid.substr(4, 2));
            } else {
                if (r.GetString(f_year) != year) break;
                month = std::atoi(r.GetString(f_month).c_str());
            }
            const std::string number = r.GetString(f_number);
            if (number > options.to) break;
            if (place.deleted() || month < 1 || month > 12) continue;
            const std::string list = r.GetString(f_year) + r.GetString(f_type) +
                                     StrN(static_cast<int>(r.GetNumber(f_list)), 4);
            if (working)
                working_lists.insert(list);
            else if (working_lists.count(list) != 0)
                continue;
            Add(&by_employee[number], base::TrimRight(r.GetString(f_symbol)), names, month,
                r.GetNumber(f_amount));
        }
    };
    std::vector<std::string> archives;
    if (options.archives) {
        std::vector<std::string> dirs;
        if (std::string refusal = SearchedArchives(rt, &dirs); !refusal.empty())
            throw common::Abandon(refusal);
        for (const std::string& d : dirs)
            if (ArchiveYear(d) == options.year ||
                (by_payment && ArchiveYear(d) == options.year - 1))
                archives.push_back(d);
    }
    if (CompanyHas(tables, "PKPLACE"))
        read(worktime::OpenOnce(
                 tables, "PKPLACE",
                 {"PKPLACE1", "PKPLACE2", "PKPLACE3", "PKPLACE4", "PKPLACE5", "PKPLACE6"}),
             true);
    for (const std::string& d : archives) {
        const std::string alias = "APLC" + d.substr(4);
        read(OpenArchived(tables, d, alias, "PKPLACE", common::IndexFiles("PKPLACE")), false);
        if (dbf::WorkArea* a = tables.workspace().Find(alias))
            (void)tables.workspace().Close(a->number());
    }

    EmployeeNames register_names(tables);
    std::map<std::string, AnnualRow> totals;
    std::map<std::string, std::map<std::string, AnnualRow>> departments;
    for (const auto& [number, rows] : by_employee) {
        AnnualEmployee e;
        e.number = number;
        e.name = register_names.Of(number);
        e.department = register_names.Department(number);
        e.rows = Rows(rows);
        for (const AnnualRow& r : e.rows)
            for (int m = 1; m <= 12; ++m) {
                Add(&totals, r.symbol, names, m, r.months[static_cast<size_t>(m - 1)]);
                Add(&departments[e.department], r.symbol, names, m,
                    r.months[static_cast<size_t>(m - 1)]);
            }
        out.employees.push_back(std::move(e));
    }
    if (options.sort == 2) {
        const auto key = [&rt](const AnnualEmployee& e) {
            return common::SortKey(rt.letters(), e.name);
        };
        std::stable_sort(
            out.employees.begin(), out.employees.end(),
            [&](const AnnualEmployee& a, const AnnualEmployee& b) { return key(a) < key(b); });
    }
    out.totals = Rows(totals);
    for (const auto& [department, rows] : departments)
        out.departments.push_back({department, Rows(rows)});
    return out;
}

bool PrintAnnual(common::Runtime& rt, const AnnualSummary& summary, const AnnualOptions& options,
                 printing::PrintOutput& out, const PrintStop& stop) {
    out.Control(rt.config().Text("YPRRS"));
    Printer printer(rt, options, out);
    if (options.type == 'A' || options.type == 'C') {
        for (const AnnualEmployee& e : summary.employees) {
            if (stop && stop()) return false;
            std::string caption = rt.Text("Pracownik: ") + e.number + " " + e.name;
            if (!e.department.empty()) caption += rt.Text("   Dział: ") + e.department;
            printer.Block(caption, e.rows);
        }
    }
    if (options.type == 'B' || options.type == 'C')
        printer.Block(rt.Text("Razem pracownicy: ") + std::to_string(summary.employees.size()),
                      summary.totals);
    if (options.type == 'D')
        for (const AnnualDepartment& d : summary.departments) {
            if (stop && stop()) return false;
            printer.Block(rt.Text("Dział: ") + (d.department.empty() ? "-" : d.department), d.rows);
        }
    out.NewLine();
    return true;
}

}  // namespace kestrel::payroll
