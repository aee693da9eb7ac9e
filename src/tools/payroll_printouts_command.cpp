// kestrel-tool payroll control|annual|annual-export: the payroll printouts
// of menu 4.8 without a screen, on the code the screens print with.
//
//   control DIR.PK [--list YYYY/S/N] [--date YYYY-MM-DD] OUT.PRT
//       the control list (4.8.2) of the open list, or of the list given,
//       written to the print file OUT.PRT (CP852, the printer's control
//       codes of the company's definition in force).
//   annual DIR.PK --year YYYY [--by L|W] [--type A|B|C|D] [--sort 1|2]
//          [--from NR] [--to NR] [--archives] [--date YYYY-MM-DD] OUT.PRT
//       the annual summary of components per employee (4.8.6).
//   annual-export DIR.PK --year YYYY [--by L|W] [--sort 1|2] [--from NR] [--to NR]
//          [--archives]
//       the same summary as the dBASE table ROCZ<year>.DBF in the company
//       directory (4.8.B); its path on standard output.
//
// --archives looks for the year in the annual archive ARCH<yyyy> too, as
// the screens do when NAGLARL is set.
//
// --date is the date printed in the header ("Data wydruku:"), today when
// not given. Exit status 0; 1 on a refusal (its message on standard
// error); 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/annual_export.h"
#include "payroll/printouts/data/annual_summary.h"
#include "payroll/printouts/data/control_list.h"
#include "platform/codepage/cp852.h"
#include "register/data/employee_record.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

constexpr const char* kControlUsage =
    "control DIR.PK [--list YYYY/S/N] [--date YYYY-MM-DD] OUT.PRT";
constexpr const char* kAnnualUsage =
    "annual DIR.PK --year YYYY [--by L|W] [--type A|B|C|D] [--sort 1|2] [--from NR] [--to NR] "
    "[--archives] [--date YYYY-MM-DD] OUT.PRT";
constexpr const char* kExportUsage =
    "annual-export DIR.PK --year YYYY [--by L|W] [--sort 1|2] [--from NR] [--to NR] [--archives]";

int Usage(const char* usage) {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", usage);
    return 2;
}

// `text` (YYYY-MM-DD) as the working date; false when it is not a date.
bool SetDate(common::Runtime& rt, const std::string& text) {
    base::LocalTime t = rt.working_date();
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d", &t.year, &t.month, &t.day) != 3 || t.month < 1 ||
        t.month > 12 || t.day < 1 || t.day > 31)
        return false;
    rt.set_working_date(t);
    return true;
}

bool Write(const std::string& path, const std::function<void(printing::PrintOutput&)>& block,
           std::string* error) {
    printing::PrintOutput out;
    if (!out.Open(path).ok()) {
        *error = "Błąd tworzenia pliku " + path;
        return false;
    }
    block(out);
    if (!out.Close().ok()) {
        *error = "Błąd w trakcie tworzenia wydruku";
        return false;
    }
    return true;
}

int Control(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, date_text;
    const bool one_list = TakeOption(&args, "--list", &list_text);
    const std::string key = one_list ? payroll::ListKeyFromText(list_text) : std::string();
    const bool dated = TakeOption(&args, "--date", &date_text);
    if (args.size() != 2 || (one_list && key.empty())) return Usage(kControlUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    if (dated && !SetDate(rt, date_text)) return Usage(kControlUsage);
    try {
        common::Tables tables(rt);
        payroll::PayrollList list;
        if (one_list) {
            if (!payroll::FindList(tables, key, &list))
                return Refuse(rt.Text("Brak listy płac ") + list_text);
        } else {
            payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
            if (!open.refusal.empty()) return Refuse(open.refusal);
            list = open.lists.front();
        }
        std::string error;
        if (!Write(
                args[1],
                [&](printing::PrintOutput& out) {
                    (void)payroll::PrintControlList(rt, tables, list, out);
                },
                &error))
            return Refuse(rt.Text(error));
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

// The options of the annual summary; false on a usage error.
bool AnnualOptions(std::vector<std::string>* args, bool printing, payroll::AnnualOptions* o) {
    std::string year, by = "L", type = "A", sort = "1", from = "000000", to = "999999", text;
    if (!TakeOption(args, "--year", &year)) return false;
    // An option not given keeps its default.
    if (TakeOption(args, "--by", &text)) by = text;
    if (printing && TakeOption(args, "--type", &text)) type = text;
    if (TakeOption(args, "--sort", &text)) sort = text;
    if (TakeOption(args, "--from", &text) && !registry::NormaliseNumber(text, &from)) return false;
    if (TakeOption(args, "--to", &text) && !registry::NormaliseNumber(text, &to)) return false;
    o->archives = TakeFlag(args, "--archives");
    o->year = std::atoi(year.c_str());
    if (o->year < 1991 || o->year > 2099 || (by != "L" && by != "W") || type.size() != 1 ||
        std::string_view("ABCD").find(type[0]) == std::string_view::npos ||
        (sort != "1" && sort != "2") || from > to)
        return false;
    o->selection = by[0];
    o->type = type[0];
    o->sort = sort[0] - '0';
    o->from = from;
    o->to = to;
    return true;
}

int Annual(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    payroll::AnnualOptions o;
    std::string date_text;
    const bool dated = TakeOption(&args, "--date", &date_text);
    if (!AnnualOptions(&args, true, &o) || args.size() != 2) return Usage(kAnnualUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    if (dated && !SetDate(rt, date_text)) return Usage(kAnnualUsage);
    try {
        common::Tables tables(rt);
        const payroll::AnnualSummary summary = payroll::CollectAnnual(rt, tables, o);
        if (summary.employees.empty()) return Refuse(rt.Text("Brak danych do wydruku"));
        std::string error;
        if (!Write(
                args[1],
                [&](printing::PrintOutput& out) {
                    (void)payroll::PrintAnnual(rt, summary, o, out);
                },
                &error))
            return Refuse(rt.Text(error));
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

int AnnualExport(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    payroll::AnnualOptions o;
    if (!AnnualOptions(&args, false, &o) || args.size() != 1) return Usage(kExportUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        const payroll::AnnualSummary summary = payroll::CollectAnnual(rt, tables, o);
        if (summary.employees.empty()) return Refuse(rt.Text("Brak danych do wydruku"));
        std::string path, message;
        if (!payroll::ExportAnnual(rt, summary, o.year, rt.data_dir(), &path, &message))
            return Refuse(message);
        std::printf("%s\n", path.c_str());
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_control, "control", kControlUsage, Control);
KESTREL_PAYROLL_ACTION(payroll_annual, "annual", kAnnualUsage, Annual);
KESTREL_PAYROLL_ACTION(payroll_annual_export, "annual-export", kExportUsage, AnnualExport);

}  // namespace
}  // namespace kestrel::tools
