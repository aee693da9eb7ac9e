#include "printing/spool_hooks.h"

#include <cstdio>

#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "printing/data/definitions.h"
#include "printing/data/print_file.h"
#include "printing/data/print_system.h"
#include "printing/data/printer_letters.h"
#include "printing/data/spool_files.h"
#include "printing/print_dialog.h"

namespace kestrel::printing {
namespace {

// A print file TEMP01.PRT … TEMP99.PRT of the company, taken by an
// exclusive create (leftovers nobody holds cleared when all are taken).
std::string OpenTempFile(common::Runtime& rt, PrintOutput* out) {
    int lock = -1;
    const base::Status s = CreatePrintFile(
        rt.data_dir(), out, MakeConverter(LettersInForce(rt.config(), rt.letters())), &lock);
    if (s.IsBusy()) throw common::Abandon(rt.Text("Błąd kasowania TEMP*.PRT"));
    if (!s.ok()) throw common::Abandon(rt.Text("Błąd w trakcie tworzenia wydruku"));
    return out->path();
}

}  // namespace

PrinterHooks DefaultPrinterHooks() {
    PrinterHooks h;
    h.open_print_file = OpenTempFile;
    h.deliver = [](common::Runtime& rt, const std::string& path) {
        // The file goes whatever happens to its delivery.
        struct Remove {
            const std::string& path;
            ~Remove() { (void)DeleteUnheld(path); }
        } remove{path};
        SendToPrinter(rt, LocalPrinters(), path, rt.Text("Wydruk"));
    };
    h.choose_printer = [](common::Runtime& rt) { (void)ChoosePrinter(rt, LocalPrinters()); };
    h.converter = [](common::Runtime& rt) {
        return MakeConverter(LettersInForce(rt.config(), rt.letters()));
    };
    h.control = [](common::Runtime& rt, std::string_view name) { return rt.config().Text(name); };
    h.letter_set = [](common::Runtime& rt) {
        return StandardOfLetters(LettersInForce(rt.config(), rt.letters()).printer);
    };
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
