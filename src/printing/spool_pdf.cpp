#include "printing/spool_pdf.h"

#include <cstdio>
#include <filesystem>

#include "common/screen/messages.h"
#include "common/tables/table_layer.h"
#include "platform/codepage/cp852.h"
#include "printing/data/spool_files.h"
#include "printing/pdf/pdf_render.h"

namespace kestrel::printing {

std::string PdfName(const std::string& title, const base::LocalTime& time) {
    const std::string utf8 = codepage::ToUtf8(title);
    std::string name;
    for (unsigned char c : utf8) {
        const bool keep =
            (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
        if (keep) {
            name += static_cast<char>(c);
        } else if (!name.empty() && name.back() != '_') {
            name += '_';
        }
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    if (name.size() > 40) {
        // Cut before a letter's continuation bytes, never inside a letter.
        size_t cut = 40;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
        name.resize(cut);
    }
    if (name.empty()) name = "WYDRUK";
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "_%04d%02d%02d_%02d%02d%02d.pdf", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return name + stamp;
}

void SpoolFilePdf(common::Runtime& rt, const std::string& path, const SpoolEntry& entry,
                  const PrinterHooks& hooks) {
    const std::string dir = JoinPath(rt.data_dir(), "WYDRUKI");
    const std::string name = PdfName(entry.title, rt.clock().Now());
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    PdfOptions options;
    options.printer_type = entry.type;
    options.letter_set = hooks.letter_set(rt);
    options.title = codepage::ToUtf8(entry.title);
    common::ShowWait(rt);
    const base::Status s = RenderPdf(path, options, JoinPath(dir, name));
    if (!s.ok()) {
        common::ShowMessage(rt,
                            common::ShortenMessage(rt.Text("Błąd zapisu ") + "WYDRUKI/" + name));
        return;
    }
    common::ShowMessage(rt, common::ShortenMessage("WYDRUKI/" + name), false);
}

}  // namespace kestrel::printing
