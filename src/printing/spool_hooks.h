// What the spool screens need of the printer side: the print file, its
// delivery to the printer, the choice of another printer definition and the
// control sequences of the definition in force.
//
// DefaultPrinterHooks() is what every caller uses; it is the one place that
// names the printer side's functions. A test hands in its own hooks.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"

namespace kestrel::printing {

struct PrinterHooks {
    /// Opens a new print file of the company for `out` (output converted
    /// for the printer's letter set) and returns its path; abandons when it
    /// cannot.
    std::function<std::string(common::Runtime& rt, PrintOutput* out)> open_print_file;
    /// Delivers a finished print file to the printer of the definition in
    /// force (its port NAGLNDR) and deletes the file; abandons on failure.
    std::function<void(common::Runtime& rt, const std::string& path)> deliver;
    /// The list of printer definitions; applies the one chosen (F3).
    std::function<void(common::Runtime& rt)> choose_printer;
    /// The converter of text for the printer in force (spool files).
    std::function<PrintOutput::Converter(common::Runtime& rt)> converter;
    /// The control sequence of control variable `name` ("YPR10").
    std::function<std::string(common::Runtime& rt, std::string_view name)> control;
    /// The letter set of the printer's files, as PdfOptions::letter_set.
    std::function<char(common::Runtime& rt)> letter_set;
};

/// The hooks of the program (each one set).
PrinterHooks DefaultPrinterHooks();

/// `hooks` with every empty member taken from DefaultPrinterHooks().
PrinterHooks Completed(PrinterHooks hooks);

}  // namespace kestrel::printing
