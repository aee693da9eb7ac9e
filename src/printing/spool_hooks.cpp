#include "printing/spool_hooks.h"

#include <cstdio>

#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "printing/data/spool_files.h"

namespace kestrel::printing {
namespace {

// A print file TEMP01.PRT … TEMP99.PRT of the company, taken by an
// exclusive create.
std::string OpenTempFile(common::Runtime& rt, PrintOutput* out) {
    std::vector<std::string> names;
    for (int i = 1; i <= 99; ++i) {
        char t[16];
        std::snprintf(t, sizeof t, "TEMP%02d.PRT", i);
        names.push_back(t);
    }
    std::string path;
    if (!OpenFirstFree(rt.data_dir(), names, out, &path).ok())
        throw common::Abandon(rt.Text("Błąd kasowania TEMP*.PRT"));
    return path;
}

}  // namespace

PrinterHooks DefaultPrinterHooks() {
    PrinterHooks h;
    h.open_print_file = OpenTempFile;
    h.deliver = [](common::Runtime& rt, const std::string& path) {
        common::NotInThisVersion(rt);
        (void)DeleteUnheld(path);
    };
    h.choose_printer = [](common::Runtime& rt) { common::NotInThisVersion(rt); };
    h.converter = [](common::Runtime&) { return PrintOutput::Converter(); };
    h.control = [](common::Runtime& rt, std::string_view name) { return rt.config().Text(name); };
    h.letter_set = [](common::Runtime&) { return '1'; };
    return h;
}

PrinterHooks Completed(PrinterHooks hooks) {
    const PrinterHooks d = DefaultPrinterHooks();
    if (!hooks.open_print_file) hooks.open_print_file = d.open_print_file;
    if (!hooks.deliver) hooks.deliver = d.deliver;
    if (!hooks.choose_printer) hooks.choose_printer = d.choose_printer;
    if (!hooks.converter) hooks.converter = d.converter;
    if (!hooks.control) hooks.control = d.control;
    if (!hooks.letter_set) hooks.letter_set = d.letter_set;
    return hooks;
}

}  // namespace kestrel::printing
