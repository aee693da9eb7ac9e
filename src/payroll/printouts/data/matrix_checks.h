// The checks of a print matrix's formulas while it is edited: each formula
// is evaluated once over the namespace of a printout with every variable
// empty (0 for amounts and quantities, an empty date, false, an empty text)
// and no employee loaded, the register, the lists and the control record
// standing on a blank record, after the matrix's start formula. What a
// check finds is the message the editor shows (CP852), "" when the formula
// is fine.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

class PayrollHost;

class MatrixChecks {
  public:
    MatrixChecks(common::Runtime& rt, common::Tables& tables);
    ~MatrixChecks();
    MatrixChecks(const MatrixChecks&) = delete;
    MatrixChecks& operator=(const MatrixChecks&) = delete;

    /// Declares the namespace and binds the user functions, once; returns
    /// their messages ("Błędna definicja funkcji " + the name in double
    /// quotes …). A namespace code that cannot be a variable gives its
    /// "Błędny kod" message, and every check then answers with it.
    std::vector<std::string> Prepare();

    /// The start formula (WZOR_START) evaluated whatever its type; blank is
    /// fine. The other checks evaluate the start formula set here first
    /// (one that fails is left out of them).
    std::string Start(std::string_view text);
    /// The selection condition (WARUNEK_): blank is fine, otherwise a
    /// logical; another value gives "Błędna wartość warunku".
    std::string Condition(std::string_view text);
    /// The own sort key (WZOR_): one that does not compile gives "Błąd
    /// syntaktyczny wzoru"; blank gives the same, since the own sort needs
    /// a key.
    std::string SortKey(std::string_view text);
    /// A cell's content (ZAWARTOSC_): blank is fine; a bare name must be a
    /// symbol of the namespace (a component, an attendance or an absence
    /// code …) or it is "Błędny symbol"; anything else is a formula.
    std::string Content(std::string_view text);

    /// Whether `name` (trailing blanks cut) is a symbol of the namespace.
    bool IsSymbol(std::string_view name);

  private:
    std::string Evaluate(std::string_view text, int kind, bool after_start);

    common::Runtime& rt_;
    common::Tables& tables_;
    std::unique_ptr<PayrollHost> host_;
    std::string start_;
    std::string failed_;  // the namespace could not be declared
    bool prepared_ = false;
};

}  // namespace kestrel::payroll
