// The register printout (menu 2.6): the employees of the register with
// what a personnel clerk looks up on paper, three lines each, under the
// narrow page header of the company:
//
//   number, kind (E staff, N non-staff, P legal person), surname and first
//   names (a legal person's full name, over the PESEL's room when there is
//   no PESEL), PESEL, date of birth;
//   the address of registration and the telephone;
//   department, position (its name from PKSTAN), dates of employment and
//   dismissal, the working-time fraction of a staff employee, the base rate.
//
// The list ends with "Razem pracowników: " and the count.
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "printing/data/print_output.h"

namespace kestrel::registry {

enum class RegisterGroup { kCurrent, kFormer, kAll };
enum class RegisterOrder { kByNumber, kBySurname };

struct RegisterPrintOptions {
    RegisterGroup group = RegisterGroup::kCurrent;
    RegisterOrder order = RegisterOrder::kByNumber;
    /// The range of employee numbers (six digits); "" leaves that end open.
    std::string from;
    std::string to;
    /// Asked before each employee; true ends the list there (nullptr: never).
    std::function<bool()> interrupted;
    /// Told each employee as it is printed: the number and the name (CP852).
    std::function<void(const std::string& number, const std::string& name)> on_employee;
};

/// The title of the printout (CP852): "Kartoteka pracowników" and, for
/// one group, " - pracownicy zatrudnieni" or " - pracownicy zwolnieni".
std::string RegisterPrintTitle(const common::Runtime& rt, RegisterGroup group);

/// How many employees the printout of `options` takes (before it is
/// printed: "Brak danych do wydruku" when none).
int CountEmployees(common::Runtime& rt, common::Tables& tables,
                   const RegisterPrintOptions& options);

/// Writes the printout of the employees of `options` in its order; the
/// number of employees printed. The header's date is the working date.
/// Abandons when the register cannot be read.
int WriteRegister(common::Runtime& rt, common::Tables& tables, printing::PrintOutput& out,
                  const RegisterPrintOptions& options);

}  // namespace kestrel::registry
