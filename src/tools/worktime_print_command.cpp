// kestrel-tool worktime-print: the working-time print-outs of a month
// written to a print file, without the program.
//
//   kestrel-tool worktime-print COMPANY_DIR sheet|list OUT.PRT [--month YYYY-MM]
//       [--from NR_PRAC] [--to NR_PRAC] [--department CODE] [--type T] [--pdf OUT.pdf]
//
// "sheet" writes the time sheets of the employees, "list" the attendance
// list. The month is the settlement month of PKSTER unless --month names
// another; the print file holds the control sequences of printer type T
// (by default the company's NAGLTDR) and the letters of its letter set
// (NAGLPRTPL). --pdf renders the print file to a PDF as well. Exit status
// 0; 1 when there is nothing to print or the company or a file cannot be
// read or written; 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "printing/data/definitions.h"
#include "printing/data/print_output.h"
#include "printing/data/printer_letters.h"
#include "printing/pdf/pdf_render.h"
#include "register/data/employee_record.h"
#include "tools/command.h"
#include "tools/company_session.h"
#include "worktime/data/settlement_month.h"
#include "worktime/printouts/data/attendance_list.h"
#include "worktime/printouts/data/time_sheet.h"

namespace kestrel::tools {
namespace {

using memfile::MemValue;

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool worktime-print COMPANY_DIR sheet|list OUT.PRT"
                 " [--month YYYY-MM]\n"
                 "           [--from NR_PRAC] [--to NR_PRAC] [--department CODE] [--type T]"
                 " [--pdf OUT.pdf]\n");
    return 2;
}

int Fail(const std::string& utf8) {
    std::fprintf(stderr, "kestrel-tool worktime-print: %s\n", utf8.c_str());
    return 1;
}

bool ParseMonth(const std::string& text, int* year, int* month) {
    if (text.size() != 7 || text[4] != '-') return false;
    *year = std::atoi(text.substr(0, 4).c_str());
    *month = std::atoi(text.substr(5).c_str());
    return *year >= 1993 && *year <= 2099 && *month >= 1 && *month <= 12;
}

int WorktimePrint(const std::vector<std::string>& given) {
    if (given.size() < 3) return Usage();
    std::string dir = given[0];
    const std::string kind = given[1], path = given[2];
    if (kind != "sheet" && kind != "list") return Usage();
    worktime::ReportOptions options;
    std::string month_text, type, pdf;
    for (size_t i = 3; i < given.size(); ++i) {
        const bool value = i + 1 < given.size();
        if (!value) return Usage();
        const std::string& option = given[i];
        const std::string& v = given[++i];
        if (option == "--month") {
            month_text = v;
        } else if (option == "--from" || option == "--to") {
            std::string number;
            if (!registry::NormaliseNumber(v, &number)) return Usage();
            (option == "--from" ? options.from : options.to) = number;
        } else if (option == "--department") {
            options.department = codepage::FromUtf8(v);
        } else if (option == "--type" && v.size() == 1) {
            type = v;
        } else if (option == "--pdf") {
            pdf = v;
        } else {
            return Usage();
        }
    }
    if (!month_text.empty() && !ParseMonth(month_text, &options.year, &options.month))
        return Usage();
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool worktime-print: no directory %s\n", dir.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';

    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        if (!type.empty()) rt.config().Set("NAGLTDR", MemValue::Char(type));
        printing::ApplyControlCodes(rt);
        common::Tables tables(rt);
        if (options.year == 0) {
            const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
            options.year = m.year;
            options.month = m.month;
        }
        const worktime::MonthReport report = worktime::ReadMonthReport(rt, tables, options);
        tables.CloseAll();
        if (report.employees.empty()) return Fail("Brak pracowników do wydruku");

        const printing::PrinterLetters letters =
            printing::LettersInForce(rt.config(), rt.letters());
        printing::PrintOutput out;
        if (!out.Open(path, printing::MakeConverter(letters)).ok())
            return Fail("cannot write " + path);
        std::string title;
        if (kind == "sheet") {
            title = worktime::TimeSheetTitle(rt, report);
            worktime::PrintTimeSheets(rt, out, report);
        } else {
            title = worktime::AttendanceListTitle(rt, report);
            worktime::PrintAttendanceList(rt, out, report);
        }
        if (!out.Close().ok()) return Fail("cannot write " + path);
        if (!pdf.empty()) {
            std::string bytes;
            base::Status s = base::ReadFile(path, &bytes);
            printing::PdfOptions o;
            o.printer_type = rt.config().Text("NAGLTDR", "0").substr(0, 1)[0];
            o.letter_set = printing::StandardOfLetters(letters.printer);
            o.title = codepage::ToUtf8(title);
            if (s.ok()) s = printing::RenderPdf(bytes, o, pdf);
            if (!s.ok()) return Fail(s.ToString());
        }
        std::printf("%zu\n", report.employees.size());
        return 0;
    } catch (const common::Abandon& e) {
        return Fail(codepage::ToUtf8(e.message()));
    }
}

KESTREL_TOOL_COMMAND(worktime_print, "worktime-print",
                     "COMPANY_DIR sheet|list OUT.PRT [--month YYYY-MM] [--from N] [--to N] "
                     "[--department D] [--type T] [--pdf OUT.pdf]  the time sheets or the "
                     "attendance list of a month",
                     WorktimePrint);

}  // namespace
}  // namespace kestrel::tools
