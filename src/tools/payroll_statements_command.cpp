// kestrel-tool payroll cost-accounts DIR.PK --month YYYY-MM [--matrix S]
//     [--chars N] [--levels L] OUT.prt|OUT.pdf
// kestrel-tool payroll pfron DIR.PK --month YYYY-MM [--average AMOUNT]
//     [--pupils N --disabled-pupils N] OUT.prt|OUT.pdf
// The monthly summary by cost accounts (4.8.A) with the matrix S of type 6
// (KONT by default), the first N characters of the account summed (12 by
// default) on L summing levels (1 by default); and the monthly statement
// of posts for the disabled persons' fund (4.8.C) with the quarter's
// average pay and the pupils of an employer that teaches. OUT ending in
// ".pdf" (any case) is the PDF of the print file, anything else the print
// file itself, written for a printer without control sequences. Standard
// output: the number of employees (cost-accounts), or the posts, the
// disabled posts, the share and the levy (pfron).
//
// Exit status 0; 1 on a refusal (its message on standard error); 2 on a
// usage error.
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/printouts/data/cost_accounts.h"
#include "payroll/printouts/data/pfron_statement.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/pdf/pdf_render.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"
#include "tools/printout_file.h"

namespace kestrel::tools {
namespace {

constexpr const char* kCostUsage =
    "cost-accounts DIR.PK --month YYYY-MM [--matrix S] [--chars 1-12] [--levels 1-3]"
    " OUT.prt|OUT.pdf";
constexpr const char* kPfronUsage =
    "pfron DIR.PK --month YYYY-MM [--average AMOUNT] [--pupils N --disabled-pupils N]"
    " OUT.prt|OUT.pdf";

int Usage(const char* usage) {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", usage);
    return 2;
}

// "YYYY-MM" of the years 1990-2099.
bool ReadMonth(const std::string& text, payroll::YearMonth* m) {
    if (text.size() != 7 || text[4] != '-') return false;
    for (size_t i : {0, 1, 2, 3, 5, 6})
        if (text[i] < '0' || text[i] > '9') return false;
    m->year = std::atoi(text.substr(0, 4).c_str());
    m->month = std::atoi(text.substr(5, 2).c_str());
    return m->year >= 1990 && m->year <= 2099 && m->month >= 1 && m->month <= 12;
}

// A whole number from `low` to `high`.
bool ReadCount(const std::string& text, int low, int high, int* out) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::atoi(text.c_str());
    return *out >= low && *out <= high;
}

int CostAccounts(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string month_text, matrix, chars_text, levels_text;
    const bool have_month = TakeOption(&args, "--month", &month_text);
    if (!TakeOption(&args, "--matrix", &matrix)) matrix = "KONT";
    const bool have_chars = TakeOption(&args, "--chars", &chars_text);
    const bool have_levels = TakeOption(&args, "--levels", &levels_text);
    payroll::CostAccountRequest request;
    request.matrix = codepage::FromUtf8(matrix);
    if (!have_month || !ReadMonth(month_text, &request.month) || args.size() != 2 ||
        base::IsBlank(matrix) || (have_chars && !ReadCount(chars_text, 1, 12, &request.chars)) ||
        (have_levels && !ReadCount(levels_text, 1, 3, &request.levels)))
        return Usage(kCostUsage);
    const std::string out_path = args[1];
    args.pop_back();
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        int employees = 0;
        const int status =
            WritePrintout(rt, out_path, rt.Text("Miesięczne zestawienie wg kont kosztów"),
                          [&](printing::PrintOutput& out) {
                              const payroll::PayrollListOutcome done =
                                  payroll::PrintCostAccounts(rt, tables, request, out, nullptr);
                              employees = done.employees;
                              return done.message;
                          });
        if (status == 0) std::printf("%d\n", employees);
        return status;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

int Pfron(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string month_text, average_text, pupils_text, disabled_text;
    const bool have_month = TakeOption(&args, "--month", &month_text);
    const bool have_average = TakeOption(&args, "--average", &average_text);
    const bool have_pupils = TakeOption(&args, "--pupils", &pupils_text);
    const bool have_disabled = TakeOption(&args, "--disabled-pupils", &disabled_text);
    payroll::PfronRequest request;
    bool ok = have_month && ReadMonth(month_text, &request.month) && args.size() == 2;
    if (ok && have_average) {
        char* end = nullptr;
        request.average_pay = std::strtod(average_text.c_str(), &end);
        ok = !average_text.empty() && *end == '\0' && request.average_pay >= 0;
    }
    if (ok && have_pupils) ok = ReadCount(pupils_text, 0, 999999, &request.pupils);
    if (ok && have_disabled)
        ok = ReadCount(disabled_text, 0, request.pupils, &request.disabled_pupils);
    if (!ok) return Usage(kPfronUsage);
    const std::string out_path = args[1];
    args.pop_back();
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        const payroll::PfronStatement s = payroll::ComputePfron(rt, tables, request);
        const int status =
            WritePrintout(rt, out_path, rt.Text("Miesięczne zestawienie etatów wg przepisów PFRON"),
                          [&](printing::PrintOutput& out) {
                              payroll::PrintPfron(rt, request, s, out);
                              return std::string();
                          });
        if (status == 0)
            std::printf("%.3f %.3f %.2f %.0f\n", s.total.value(), s.disabled.value(), s.share,
                        s.levy);
        return status;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_cost_accounts, "cost-accounts", kCostUsage, CostAccounts);
KESTREL_PAYROLL_ACTION(payroll_pfron, "pfron", kPfronUsage, Pfron);

}  // namespace
}  // namespace kestrel::tools
