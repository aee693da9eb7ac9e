// kestrel-tool payroll summary DIR.PK --matrix S --from YYYY-MM [--to YYYY-MM]
//     [--archives] OUT.PRT
// The summary of the lists of one month (4.8.4, a matrix of type 2, when
// --to is not given) or of a period (4.8.5, type 3, synthetic) on the code
// the screens print with, written to the print file OUT.PRT. With
// --archives the months are looked for in the annual archives of their
// years too, as the screens do when NAGLARL is set: a list is taken once,
// from the working tables when both hold it.
//
// Exit status 0; 1 on a refusal (its message on standard error); 2 on a
// usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/printouts/data/period_print.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"
#include "tools/printout_file.h"

namespace kestrel::tools {
namespace {

constexpr const char* kUsage =
    "summary DIR.PK --matrix S --from YYYY-MM [--to YYYY-MM] [--archives] OUT.PRT";

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", kUsage);
    return 2;
}

bool ParseMonth(const std::string& text, payroll::YearMonth* m) {
    char tail = 0;
    return std::sscanf(text.c_str(), "%4d-%2d%c", &m->year, &m->month, &tail) == 2 &&
           m->year > 1990 && m->month >= 1 && m->month <= 12;
}

int Summary(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string matrix, from_text, to_text;
    payroll::SummaryRequest request;
    const bool have_matrix = TakeOption(&args, "--matrix", &matrix);
    const bool have_from = TakeOption(&args, "--from", &from_text);
    const bool period = TakeOption(&args, "--to", &to_text);
    request.archives = TakeFlag(&args, "--archives");
    if (!have_matrix || matrix.empty() || !have_from || !ParseMonth(from_text, &request.from) ||
        args.size() != 2)
        return Usage();
    request.to = request.from;
    if (period && (!ParseMonth(to_text, &request.to) || request.to.Index() < request.from.Index()))
        return Usage();
    request.type = period ? '3' : '2';
    request.matrix = codepage::FromUtf8(matrix);
    const std::string out_path = args[1];
    args.pop_back();
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        payroll::PayrollListOutcome done;
        const int status =
            WritePrintout(rt, out_path, rt.Text("Zbiorcze zestawienie list płac"),
                          [&](printing::PrintOutput& out) {
                              done = payroll::PrintSummary(rt, tables, request, out, nullptr);
                              return done.message;
                          });
        if (status != 0) return status;
        std::printf("%d\n", done.employees);
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_summary, "summary", kUsage, Summary);

}  // namespace
}  // namespace kestrel::tools
