#include "tools/printout_file.h"

#include <cstdio>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "printing/pdf/pdf_render.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {

bool EndsWithPdf(const std::string& path) {
    return path.size() > 4 && base::AsciiLower(path.substr(path.size() - 4)) == ".pdf";
}

int WritePrintout(common::Runtime& rt, const std::string& out_path, const std::string& title,
                  const std::function<std::string(printing::PrintOutput&)>& block) {
    const bool pdf = EndsWithPdf(out_path);
    const std::string print_path = pdf ? out_path + ".prt" : out_path;
    printing::PrintOutput out;
    if (base::Status s = out.Open(print_path); !s.ok()) return Refuse(s.ToString());
    const std::string message = block(out);
    const base::Status closed = out.Close();
    if (!message.empty() || !closed.ok()) {
        std::remove(print_path.c_str());
        return Refuse(!message.empty() ? message : rt.Text("Błąd w trakcie tworzenia wydruku"));
    }
    if (pdf) {
        std::string bytes;
        base::Status s = base::ReadFile(print_path, &bytes);
        std::remove(print_path.c_str());
        printing::PdfOptions options;
        options.printer_type = '0';
        options.title = codepage::ToUtf8(title);
        if (s.ok()) s = printing::RenderPdf(bytes, options, out_path);
        if (!s.ok()) return Refuse(s.ToString());
    }
    return 0;
}

}  // namespace kestrel::tools
