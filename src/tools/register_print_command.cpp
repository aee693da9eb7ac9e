// kestrel-tool register print: the register printout of menu 2.6 without
// the program, on the same code.
//
//   kestrel-tool register print DIR.PK OUT [--group current|former|all]
//       [--sort number|name] [--from N] [--to N] [--date YYYY-MM-DD]
//       [--type T] [--letters N]
//
// OUT is a print file, or a PDF when its name ends with ".pdf". The print
// file holds the control sequences of printer type T (default "0": none)
// and the Polish letters of set N ('1' CP852, the default, '2' Mazovia,
// '3' Windows-1250, '4' ISO 8859-2), as a printer of that definition gets
// them. The group defaults to the current employees, the order to the
// number, the range to the whole register, the date of the header to today.
//
// Prints the number of employees on stdout. Exit status 0; 1 when the
// register cannot be read, no employee is chosen or OUT cannot be written;
// 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/clock.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/backend.h"
#include "printing/data/definitions.h"
#include "printing/data/print_output.h"
#include "printing/data/printer_letters.h"
#include "printing/pdf/pdf_render.h"
#include "register/data/employee_record.h"
#include "register/data/register_printout.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {
namespace {

using memfile::MemValue;

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool register print DIR.PK OUT.prt|OUT.pdf"
                 " [--group current|former|all]\n"
                 "           [--sort number|name] [--from N] [--to N] [--date YYYY-MM-DD]"
                 " [--type T] [--letters N]\n");
    return 2;
}

int Fail(const std::string& utf8) {
    std::fprintf(stderr, "kestrel-tool register: %s\n", utf8.c_str());
    return 1;
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() &&
           base::AsciiUpper(s.substr(s.size() - tail.size())) == base::AsciiUpper(tail);
}

struct Arguments {
    std::string dir, out;
    registry::RegisterPrintOptions options;
    std::string date;
    char type = '0';
    char letters = '1';
};

bool Number(const std::string& typed, std::string* number) {
    return registry::NormaliseNumber(typed, number);
}

bool Parse(const std::vector<std::string>& given, Arguments* a) {
    if (given.size() < 3 || given[0] != "print") return false;
    a->dir = given[1];
    a->out = given[2];
    for (size_t i = 3; i < given.size(); ++i) {
        if (i + 1 >= given.size()) return false;
        const std::string& option = given[i];
        const std::string& v = given[++i];
        if (option == "--group" && (v == "current" || v == "former" || v == "all")) {
            a->options.group = v == "current"  ? registry::RegisterGroup::kCurrent
                               : v == "former" ? registry::RegisterGroup::kFormer
                                               : registry::RegisterGroup::kAll;
        } else if (option == "--sort" && (v == "number" || v == "name")) {
            a->options.order = v == "number" ? registry::RegisterOrder::kByNumber
                                             : registry::RegisterOrder::kBySurname;
        } else if (option == "--from" && Number(v, &a->options.from)) {
        } else if (option == "--to" && Number(v, &a->options.to)) {
        } else if (option == "--date" && base::ParseLocalTime(v)) {
            a->date = v;
        } else if (option == "--type" && v.size() == 1) {
            a->type = v[0];
        } else if (option == "--letters" && v.size() == 1 && v[0] >= '1' && v[0] <= '4') {
            a->letters = v[0];
        } else {
            return false;
        }
    }
    return true;
}

int Register(const std::vector<std::string>& given) {
    Arguments a;
    if (!Parse(given, &a)) return Usage();
    if (!base::Exists(a.dir)) {
        std::fprintf(stderr, "kestrel-tool register: no directory %s\n", a.dir.c_str());
        return 2;
    }
    if (a.dir.back() != '/') a.dir += '/';
    CompanySession session(a.dir);
    common::Runtime& rt = session.rt;
    auto& cfg = rt.config();
    // The printer: its type's control sequences and its letters.
    cfg.Set("NAGLTDR", MemValue::Char(std::string(1, a.type)));
    cfg.Set("NAGLSYMPL", MemValue::Logical(false));
    cfg.Set("NAGLPRTPL", MemValue::Char(printing::LettersOfStandard(a.letters, rt.letters().pl)));
    printing::ApplyControlCodes(rt);
    rt.set_working_date(a.date.empty() ? rt.clock().Now() : *base::ParseLocalTime(a.date));

    const bool pdf = EndsWith(a.out, ".pdf");
    const std::string prt = pdf ? a.out + ".prt" : a.out;
    int count = 0;
    try {
        common::Tables tables(rt);
        if (registry::CountEmployees(rt, tables, a.options) == 0)
            return Fail(codepage::ToUtf8(rt.Text("Brak danych do wydruku")));
        printing::PrintOutput out;
        const base::Status opened =
            out.Open(prt, printing::MakeConverter(printing::LettersInForce(cfg, rt.letters())));
        if (!opened.ok()) return Fail(prt + ": " + opened.ToString());
        count = registry::WriteRegister(rt, tables, out, a.options);
        const base::Status closed = out.Close();
        if (!closed.ok()) return Fail(prt + ": " + closed.ToString());
        if (pdf) {
            std::string bytes;
            base::Status s = base::ReadFile(prt, &bytes);
            std::remove(prt.c_str());
            printing::PdfOptions options;
            options.printer_type = cfg.Text("NAGLTDR", "0")[0];
            options.letter_set = a.letters;
            options.title = codepage::ToUtf8(registry::RegisterPrintTitle(rt, a.options.group));
            if (s.ok()) s = printing::RenderPdf(bytes, options, a.out);
            if (!s.ok()) return Fail(a.out + ": " + s.ToString());
        }
    } catch (const common::Abandon& e) {
        std::remove(prt.c_str());
        return Fail(codepage::ToUtf8(e.message()));
    } catch (const console::ScriptEnded&) {
        std::remove(prt.c_str());
        const std::string asked = base::Trim(codepage::ToUtf8(session.con.screen().RowText(23)));
        return Fail("the program asks: " + asked);
    }
    std::printf("%d\n", count);
    return 0;
}

}  // namespace

KESTREL_TOOL_COMMAND(register_command, "register", "register print DIR.PK OUT.prt|OUT.pdf",
                     Register);

}  // namespace kestrel::tools
