// QRMSP: a print-out printed directly or written to a spool file, with the
// spool screen afterwards. Used by the register's and working time's
// print-outs.
//
//     printing::SpoolOrPrint(rt, rt.Text("Lista obecności"), [&](printing::PrintOutput& out) {
//         out.Control(control("YPRRS"));
//         out.Say(0, 0, ...);
//     });
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "printing/data/print_output.h"
#include "printing/spool_hooks.h"

namespace kestrel::printing {

/// What writes a print-out (the report's print block).
using PrintBlock = std::function<void(PrintOutput& out)>;

enum class SpoolOrPrintEnd { kCancelled, kPrinted, kSpooled };

struct SpoolOrPrintOptions {
    /// Show the spool screen after a spool file was written.
    bool show_spool = true;
    PrinterHooks hooks = DefaultPrinterHooks();
};

/// With printer definitions in use (NAGLCFGD): a frame over rows 8-21 with
/// "Drukarka:" and the definition in force, the legend "<Esc>-Przerwanie",
/// "<F1>-Port LPT/do pliku" (not for types V and 0) and "<F3>-Zmiana
/// drukarki"; Esc cancels, F3 chooses another definition, F1 switches
/// between port 0 (to file) and the port before (0 becomes 1) for this
/// print-out. A type V definition with neither spool directory (NAGL0V) nor
/// Windows printer (NAGLNAZDRW), and an unusable definition (type "?"),
/// give "Błędna definicja drukarki". Port 0 and types V and 0 spool; any
/// other definition prints directly.
/// Without definitions: "Sposób wydruku (D-drukarka, S-spool):" D or S.
///
/// Direct printing (without definitions "Port drukarki (LPT1 - LPT9):"
/// first): "Przygotuj drukarkę" and a key (Esc: "Operacja skasowana"); the
/// block writes a print file that is delivered.
/// Spool: the first free NAGL0 + digit + ".PRT" (with NAGLSPOOL 000-999),
/// all taken: "10 zb.spooling. - skasuj zbędne" ("1000 …") and nothing is
/// printed; "Wydruk zapisywany będzie do zbioru: " + the name and a key
/// (Esc cancels); the block writes the file, which is registered in PKLWYD
/// with `title` (CP852), and the spool screen follows when asked for. Type
/// V: a free name of 000-999 in NAGL0V must exist ("1000 zb.spooling. -
/// skasuj zbędne"), "Przygotuj drukarkę", and the block's print file is
/// delivered to the print program.
SpoolOrPrintEnd SpoolOrPrint(common::Runtime& rt, const std::string& title, const PrintBlock& block,
                             const SpoolOrPrintOptions& options = {});

/// The description of the definition in force shown after "Drukarka:":
/// the name, a blank and in parentheses typ= with the type in double
/// quotes ("W" for a Windows printer), for types other than V, W and 0 a
/// comma and "do pliku" (port 0) or "LPT" and the port.
std::string PrinterDescription(const common::Runtime& rt);

}  // namespace kestrel::printing
