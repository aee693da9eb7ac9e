// QRMKNWALG: the formula updater. It installs the standard functions of
// the payroll setup in PKFUNC (rates chosen by the payment or the system
// month) and rewrites the rates written into the algorithms of PKSPL and
// into the user functions as calls of those functions.
//
// After the steps, every run installs the payroll setup (data/payroll/,
// see payroll/data/setup_install.h): the records a company lacks, never over
// a record the company has. The updates come in numbered steps (data/standard_functions.txt and
// data/formula_replacements.txt, built into the program). The level applied
// is kept in the comment of `ren1`: the fixed text kRen1Comment followed by
// one "!" per step applied; a company with `ren1` has at least step 1. A
// step is applied once, in order, and the comment extended after it. A step
// of a standard set (marker function `u2020`, `ppkb`) is due again while
// its marker is missing; before it PKSPL.DBF/DBT are copied into the set's
// directory under the data directory, keeping their dates, and the set's
// template tables are written there.
//
// Functions installed by the updater carry V_9; a function of a standard
// name without it is the administrator's own, and the update refuses to
// replace it. The rules of a step only produce calls of functions that the
// same or an earlier step installs, and never touch the standard functions.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/setup_files.h"
#include "common/tables/table_layer.h"
#include "payroll/data/setup_install.h"
#include "platform/base/status.h"

namespace kestrel::payroll {

/// The comment of `ren1` before the "!" of the steps applied (CP852 of
/// "Uwaga! Nie kasować tej funkcji. Funkcja wymagana przez program. Nie
/// zmieniać treści tego komentarza!").
std::string Ren1Comment();

struct StandardFunction {  // CP852
    std::string name, params, body, comment;
};

struct FormulaRule {  // CP852
    std::string old_text, new_text;
};

struct UpdateStep {
    int number = 0;
    std::string marker;      // the set's marker function; "" for a plain step
    std::string backup_dir;  // the set's directory under the data directory
    std::vector<std::string> templates;
    std::vector<StandardFunction> functions;
    std::vector<FormulaRule> rules;
};

struct StandardDefinitions {
    std::vector<UpdateStep> steps;  // in increasing numbers
    /// The payroll setup (data/payroll/*.setup of the program's data
    /// folder): installed by every update (setup_install.h), and the
    /// content of the sets' template tables other than _PKFUNC.
    std::vector<common::SetupRecord> setup;
};

/// Reads the two data files (UTF-8 texts, see data/standard_functions.txt).
/// InvalidArgument names the line that cannot be read, a rule of a step
/// that is not defined, or a rule calling a function that no step up to
/// its own installs.
base::Status ParseStandardDefinitions(std::string_view functions, std::string_view rules,
                                      StandardDefinitions* out);

/// The definitions shipped with the program (the steps only).
StandardDefinitions ShippedStandardDefinitions();
/// The steps and the payroll setup of the program's data folder beside the
/// company of `rt` (common::ShippedDataDir). Throws common::Abandon with the
/// file and line of a setup file that cannot be read.
StandardDefinitions ShippedDefinitionsFor(const common::Runtime& rt);

/// The number of steps applied according to `ren1`'s comment (`exists`:
/// whether `ren1` is there at all): 0 without it, otherwise the "!" after
/// the fixed text, at least 1.
int AppliedLevel(bool exists, std::string_view ren1_comment);

struct UpdateOutcome {
    std::vector<int> applied;  // the step numbers applied, in order
    int functions_installed = 0;
    int formulas_rewritten = 0;  // PKSPL algorithms and user functions changed
    SetupInstallOutcome setup;   // the payroll setup installed after the steps
};

/// The steps due in the company of `tables` (PKFUNC opened, read, closed;
/// a company without PKFUNC has every step due and gets no PKFUNC).
std::vector<int> DueUpdateSteps(common::Tables& tables, const StandardDefinitions& defs);

/// Applies every step due (nothing when none is), then installs the payroll
/// setup of `defs` (records the company lacks; its own records kept). Throws common::Abandon
/// with the operator's message when a user function has a standard name
/// about to be installed ("Błąd - istnieje funkcja " + NAME + "()", before
/// anything is changed) or when the backup cannot be made ("Błąd tworzenia
/// katalogu U2020", "Błąd kasowania U2020\PKSPL.DBF", ...). PKFUNC and PKSPL
/// are opened exclusively and closed afterwards.
UpdateOutcome ApplyFormulaUpdates(common::Tables& tables, const StandardDefinitions& defs);

}  // namespace kestrel::payroll
