// Printer definitions (PKDRUK in the program directory) and the printer in
// force.
//
// Applying a definition (QRMSETDR) sets the printer's configuration
// variables and the control variables of its type:
//   NAGLNAZDR   name of the definition        NAGLTDR  type ("?" unusable)
//   NAGLNDR     port digit (0 = to file)
//   NAGLKOLDR   the queue of the definition (a raw type, or type V)
//   NAGLNAZDRW  the queue of a type W definition (empty for the others)
//   NAGL0V      the print program's spool directory (always empty here)
//   NAGLSYMPL, NAGLPRTPL  Polish letters on the printer
//   NAGLINITPR, NAGLINPRTP, NAGLINPRTL  initialisation files
//   XDUPLEX, XWYDRA3, XWYDR14, XWYDR85  duplex and paper
//
// Where a definition prints: the port digit 1-9 of a type with control
// sequences stands for a CUPS queue, the one named in WIN_NAZ or, when that
// is empty, the queue "LPT" + the digit. Type "V" prints on the queue named
// in WIN_NAZ, type "W" on the one named in PEL_NAZ_W
// ("***<<< Drukarka domyślna >>>***": the default queue); both take PDF.
// A queue the print system does not list gives "Brak takiej drukarki w
// syst. Windows" and leaves NAGLTDR "?", which the print dialog reports.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "printing/data/print_system.h"

namespace kestrel::printing {

/// PEL_NAZ_W of a definition printing on the default queue.
inline constexpr const char* kDefaultWindowsPrinter = "***<<< Drukarka domyślna >>>***";

/// One PKDRUK record (texts CP852, trimmed).
struct PrinterDefinition {
    std::string name;  // NAZWA_
    char type = 'E';   // TYP_
    char port = '1';   // PORT_
    bool is_default = false;
    bool simulate = false;         // SYMPL_
    char standard = '0';           // ZM_STD_PL
    bool init_from_files = false;  // ZEWN_INIT
    std::string init_portrait = "INPRTP.BIN";
    std::string init_landscape = "INPRTL.BIN";
    std::string queue;         // WIN_NAZ
    bool duplex = false;       // DUPLEX_
    char paper = '4';          // TYP_PAP
    std::string windows_name;  // PEL_NAZ_W
};

PrinterDefinition ReadDefinition(dbf::WorkArea& area);
/// Writes every field of `d` into the current record (not committed).
base::Status WriteDefinition(dbf::WorkArea& area, const PrinterDefinition& d);

/// QRMSETDR: applies `d`. The messages for the operator (CP852) are
/// returned; the caller shows them when asked.
std::vector<std::string> ApplyDefinition(common::Runtime& rt, const PrinterDefinition& d,
                                         PrintSystem& printers);

/// Sets the control variables for NAGLTDR and the settings in force (the
/// printer of a start without definitions).
void ApplyControlCodes(common::Runtime& rt);

/// The definition to use: the one named `name` (compared trimmed and in
/// upper case), else the default one, else the first; false when the
/// table has none. Leaves the area on it.
bool LocateDefinition(dbf::WorkArea& area, const std::string& name, PrinterDefinition* d);

/// QRMSPKDR: the definition named NAGLNAZDR (else the default one) applied
/// without messages; the control codes of NAGLTDR when there is none.
void ApplyNamedDefinition(common::Runtime& rt, common::Tables& tables, PrintSystem& printers);

/// Start-up's printer: when the program directory has PKDRUK.DBF, the
/// definition named on the command line (NAGLNAZDR), else the default one,
/// else the first, applied without messages; otherwise the control codes
/// of NAGLTDR.
void StartupPrinter(common::Runtime& rt, common::Tables& tables, PrintSystem& printers);

/// The description of the printer in force for the print dialog: the name,
/// a blank and (typ="E", LPT1) / (typ="E", do pliku) / (typ="W") / (typ="V").
std::string DescribePrinterInForce(const common::Runtime& rt);

/// A row of the definitions list (QRMZMDR), padded to 40 characters:
/// "*" or a blank, a blank, the name, " (typ=\"E\", LPT1)".
std::string DefinitionRow(const common::Runtime& rt, const PrinterDefinition& d);

/// What the print dialog reports for the printer in force (CP852), ""
/// when it may print: "Błędny port drukarki", "Błędna definicja drukarki",
/// "Błędny typ papieru".
std::string PrinterProblem(const common::Runtime& rt);

}  // namespace kestrel::printing
