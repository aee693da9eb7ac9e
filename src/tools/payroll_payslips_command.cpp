// kestrel-tool payroll payslips DIR.PK --list KEY [--matrix S] [--sort 1-5] [--encrypt]
// The payslips of list KEY ("YYYY/S/N") as PDF documents, one per
// employee, in the company's WYDRUKI/PASKI/<list>/ (named by NR_PRAC), on
// the code 4.8.3 writes them with; --encrypt protects them with the
// password the company parameter NAGLPSHAS chooses. Prints the directory
// and the count of PDFs written; each employee without his PDF on standard
// error.
//
// Exit status 0 when every employee got his PDF; 1 on a refusal or when
// any PDF is missing; 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/payslip_pdf.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

constexpr const char* kUsage =
    "payslips DIR.PK --list YYYY/S/N [--matrix S] [--sort 1-5] [--encrypt]";

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", kUsage);
    return 2;
}

int Payslips(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, matrix, sort_text;
    const bool have_list = TakeOption(&args, "--list", &list_text);
    TakeOption(&args, "--matrix", &matrix);
    const bool have_sort = TakeOption(&args, "--sort", &sort_text);
    bool encrypt = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--encrypt") {
            encrypt = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    const std::string key = payroll::ListKeyFromText(list_text);
    if (!have_list || key.empty() || args.size() != 1) return Usage();
    int sort = 1;
    if (have_sort) {
        if (sort_text.size() != 1 || sort_text[0] < '1' || sort_text[0] > '5') return Usage();
        sort = sort_text[0] - '0';
    }
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        payroll::PayslipPdfRequest request;
        if (!payroll::FindList(tables, key, &request.list))
            return Refuse(rt.Text("Brak listy płac ") + list_text);
        request.sort = sort;
        request.matrix = codepage::FromUtf8(matrix);
        request.encrypt = encrypt;
        const payroll::PayslipPdfOutcome done =
            payroll::WritePayslipPdfs(rt, tables, request, nullptr);
        for (const std::string& f : done.failures) Refuse(f);
        if (!done.message.empty()) return Refuse(done.message);
        std::printf("%s\n%d\n", done.directory.c_str(), done.written);
        return done.failures.empty() ? 0 : 1;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_payslips, "payslips", kUsage, Payslips);

}  // namespace
}  // namespace kestrel::tools
