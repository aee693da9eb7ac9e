// kestrel-tool payroll print DIR.PK --list KEY --layout Z|P|B|1|2 [--matrix S]
//     [--sort 1-5] [--denominations] [--archive YYYY] OUT.prt|OUT.pdf
// The payroll list (4.8.3) of list KEY ("YYYY/S/N") on the code the screen
// prints with: layout Z the summary and P the payslips by the matrix (the
// list symbol's, or S), B the columns without matrix, 1 and 2 the
// envelopes; --sort as "Rodzaj sortu:" (1 by number, the default); with
// --denominations the list of denominations follows. OUT ending
// in ".pdf" (any case) is the PDF of the print file, anything else the
// print file itself, written for a printer without control sequences.
// With --archive the list is read from the annual archive ARCH<yyyy> of the
// company (the register, components and matrices stay the company's).
//
// Exit status 0; 1 on a refusal (its message on standard error); 2 on a
// usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_month.h"
#include "payroll/printouts/data/payroll_list_print.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/pdf/pdf_render.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"
#include "tools/printout_file.h"

namespace kestrel::tools {
namespace {

constexpr const char* kUsage =
    "print DIR.PK --list YYYY/S/N --layout Z|P|B|1|2 [--matrix S] [--sort 1-5]"
    " [--denominations] [--archive YYYY] OUT.prt|OUT.pdf";

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", kUsage);
    return 2;
}

int Print(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, layout, matrix, sort_text, none;
    const bool have_list = TakeOption(&args, "--list", &list_text);
    const bool have_layout = TakeOption(&args, "--layout", &layout);
    TakeOption(&args, "--matrix", &matrix);
    const bool have_sort = TakeOption(&args, "--sort", &sort_text);
    std::string archive_year;
    const bool archived = TakeOption(&args, "--archive", &archive_year);
    if (archived && payroll::ArchiveYear("ARCH" + archive_year) == 0) return Usage();
    bool denominations = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--denominations") {
            denominations = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    const std::string key = payroll::ListKeyFromText(list_text);
    const std::string upper = base::AsciiUpper(layout);
    if (!have_list || key.empty() || !have_layout || upper.size() != 1 ||
        std::string("ZPB12").find(upper[0]) == std::string::npos || args.size() != 2)
        return Usage();
    int sort = 1;
    if (have_sort) {
        if (sort_text.size() != 1 || sort_text[0] < '1' || sort_text[0] > '5') return Usage();
        sort = sort_text[0] - '0';
    }
    const std::string out_path = args[1];
    args.pop_back();
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        payroll::PayrollListRequest request;
        if (archived) {
            for (const std::string& d : payroll::ArchiveDirectories(rt.data_dir()))
                if (payroll::ArchiveYear(d) == payroll::ArchiveYear("ARCH" + archive_year))
                    request.archive = d;
            if (request.archive.empty())
                return Refuse(rt.Text("Brak katalogu archiwalnego ARCH") + archive_year);
        }
        bool found = false;
        if (request.archive.empty()) {
            found = payroll::FindList(tables, key, &request.list);
        } else {
            const payroll::ArchivedYear year(tables, request.archive);
            found = payroll::FindList(tables, key, &request.list);
        }
        if (!found) return Refuse(rt.Text("Brak listy płac ") + list_text);
        request.layout = upper[0];
        request.sort = sort;
        request.denominations = denominations;
        request.matrix = codepage::FromUtf8(matrix);
        payroll::PayrollListOutcome done;
        const int status =
            WritePrintout(rt, out_path, rt.Text("Lista płac ") + codepage::FromUtf8(list_text),
                          [&](printing::PrintOutput& out) {
                              done = payroll::PrintPayrollList(rt, tables, request, out, nullptr);
                              return done.message;
                          });
        if (status != 0) return status;
        std::printf("%d\n", done.employees);
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_print, "print", kUsage, Print);

}  // namespace
}  // namespace kestrel::tools
