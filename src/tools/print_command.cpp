// kestrel-tool print: a text file printed as a print-out of the program:
// written into a print file of the company directory through the printer's
// control sequences and letters, then delivered.
//
//   kestrel-tool print DIR.PK FILE [--program DIR] [--printer NAME]
//                      [--queue QUEUE [--type T]] [--title TITLE]
//
// The printer is the definition NAME of PKDRUK in the program directory
// (default: the company directory's parent), else its default one; with
// --queue a definition of type T (default "E") printing on that CUPS queue
// is used instead (type V or W: the queue takes PDF). FILE is UTF-8 text;
// each line is printed on its own row after the printer's reset, and the
// page is ejected at the end.
//
// Exit status 0 when the print-out was delivered; 1 when the printer is
// unusable or the delivery failed (the program's message on stderr); 2 on
// a usage error.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/data/definitions.h"
#include "printing/data/print_file.h"
#include "printing/data/print_system.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {

int PrintPdf(const std::vector<std::string>& given);  // print_pdf_command.cpp

namespace {

using memfile::MemValue;

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool print DIR.PK FILE [--program DIR] [--printer NAME]\n"
                 "                          [--queue QUEUE [--type T]] [--title TITLE]\n"
                 "       kestrel-tool print pdf FILE.PRT OUT.pdf [--type T] [--letters N]"
                 " [--title TEXT]\n");
    return 2;
}

int Fail(const std::string& cp852) {
    std::fprintf(stderr, "kestrel-tool print: %s\n", codepage::ToUtf8(cp852).c_str());
    return 1;
}

int Print(const std::vector<std::string>& given) {
    if (!given.empty() && given[0] == "pdf") return PrintPdf(given);
    if (given.size() < 2) return Usage();
    std::string dir = given[0];
    const std::string file = given[1];
    std::string program, name, queue, type = "E", title = "Wydruk";
    for (size_t i = 2; i < given.size(); ++i) {
        const bool has_value = i + 1 < given.size();
        if (given[i] == "--program" && has_value) {
            program = given[++i];
        } else if (given[i] == "--printer" && has_value) {
            name = given[++i];
        } else if (given[i] == "--queue" && has_value) {
            queue = given[++i];
        } else if (given[i] == "--type" && has_value && given[i + 1].size() == 1) {
            type = given[++i];
        } else if (given[i] == "--title" && has_value) {
            title = given[++i];
        } else {
            return Usage();
        }
    }
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool print: no directory %s\n", dir.c_str());
        return 2;
    }
    std::string text;
    if (!base::ReadFile(file, &text).ok()) {
        std::fprintf(stderr, "kestrel-tool print: cannot read %s\n", file.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    if (program.empty()) program = dir + "..";
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    rt.set_program_dir(program, "");
    printing::PrintSystem& printers = printing::LocalPrinters();
    try {
        if (!queue.empty()) {
            printing::PrinterDefinition d;
            d.name = "KESTREL-TOOL";
            d.type = type[0];
            d.port = '1';
            d.queue = queue;
            d.windows_name = queue;
            for (const std::string& m : printing::ApplyDefinition(rt, d, printers)) return Fail(m);
        } else {
            rt.config().Set("NAGLNAZDR", MemValue::Char(base::AsciiUpper(name)));
            common::Tables tables(rt);
            printing::StartupPrinter(rt, tables, printers);
        }
        const std::string problem = printing::PrinterProblem(rt);
        if (!problem.empty()) return Fail(problem);

        printing::PrintFile out(rt);
        out.Open(codepage::FromUtf8(title));
        out.out().Control(rt.config().Text("YPRRS"));
        std::istringstream lines(text);
        std::string line;
        bool first = true;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!first) out.out().NewLine();
            first = false;
            out.out().Text(codepage::FromUtf8(line));
        }
        out.out().Eject();
        out.Deliver(printers);
    } catch (const common::Abandon& a) {
        return Fail(a.message());
    }
    std::printf("%s\n", codepage::ToUtf8(printing::DescribePrinterInForce(rt)).c_str());
    return 0;
}

}  // namespace

KESTREL_TOOL_COMMAND(print_command, "print",
                     "print DIR.PK FILE [--printer NAME] [--queue Q] | print pdf FILE.PRT OUT.pdf",
                     Print);

}  // namespace kestrel::tools
