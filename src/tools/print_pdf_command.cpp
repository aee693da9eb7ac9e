// kestrel-tool print pdf: the PDF of a print file, without the program.
//
//   kestrel-tool print pdf FILE.PRT OUT.pdf [--type T] [--letters N] [--title TEXT]
//       the PDF of a print file written for printer type T (default "0",
//       no control sequences) in letter set N ('1' CP852, the default,
//       '2' Mazovia, '3' Windows-1250, '4' ISO 8859-2); TEXT (UTF-8) is the
//       document's title, by default the file's own job header or none.
//
// Exit status 0; 1 when the file cannot be read or the PDF written; 2 on a
// usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/files.h"
#include "printing/pdf/pdf_render.h"
#include "tools/command.h"

namespace kestrel::tools {
namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool print pdf FILE.PRT OUT.pdf [--type T] [--letters N]"
                 " [--title TEXT]\n");
    return 2;
}

}  // namespace

// Called by kestrel-tool print for its "pdf" form.
int PrintPdf(const std::vector<std::string>& given) {
    if (given.size() < 3 || given[0] != "pdf") return Usage();
    printing::PdfOptions options;
    for (size_t i = 3; i < given.size(); ++i) {
        const bool value = i + 1 < given.size();
        if (given[i] == "--type" && value && given[i + 1].size() == 1) {
            options.printer_type = given[++i][0];
        } else if (given[i] == "--letters" && value && given[i + 1].size() == 1) {
            options.letter_set = given[++i][0];
        } else if (given[i] == "--title" && value) {
            options.title = given[++i];
        } else {
            return Usage();
        }
    }
    std::string bytes;
    base::Status s = base::ReadFile(given[1], &bytes);
    if (s.ok()) s = printing::RenderPdf(bytes, options, given[2]);
    if (!s.ok()) {
        std::fprintf(stderr, "kestrel-tool print: %s\n", s.ToString().c_str());
        return 1;
    }
    return 0;
}

}  // namespace kestrel::tools
