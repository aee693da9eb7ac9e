// The entry of component amounts for one employee of an open list (4.4):
// which employees and components it takes, how algorithmic components are
// blocked and unblocked, and the saving of one position.
//
//   PositionEntry entry(rt, tables, list);
//   EmployeeVerdict v = entry.Employee(number);
//   for (const std::string& m : v.messages) show(m);   // warnings, refusal last
//   if (v.refused) ...;
//   const Component* c = nullptr;
//   if (std::string m = entry.Refusal(symbol, &c); !m.empty()) show(m);
//   Position old;
//   const bool present = entry.Reserve(*c, &old);      // "Istniejąca pozycja"
//   switch (EntryModeOf(*c, present && old.blocked)) { ... }
//   entry.Save(*c, amount, blocked);  // or entry.Release() on Esc
//
// A component is taken by the one applicability rule (applicability.h);
// what fails decides the message. The month's flags of the control record
// are cleared by every change of the positions of an employee who is not a
// legal person. Messages are CP852.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/applicability.h"
#include "payroll/data/payroll_records.h"
#include "payroll/data/positions.h"

namespace kestrel::payroll {

/// What the checks of an employee found.
struct EmployeeVerdict {
    /// In the order the operator sees them: the warnings "Pracownik
    /// ZWOLNIONY" and "Pracownik zawieszony", and last the refusal when
    /// `refused`.
    std::vector<std::string> messages;
    bool refused = false;
};

/// The component lists of the entry's F3 to F6.
enum class ComponentList {
    kAll,         // F3 "Wszystkie składniki płac"
    kApplying,    // F4 "Poprawne składniki płac": those that apply
    kEntered,     // F5 "Poprawne składniki NIEALGORYTMICZNE": applying, kind "K"
    kOverridable  // F6 "Składniki ALGORYTMICZNE możliwe do edycji": applying, kind
                  //    "A" or "I", without NIE_BLOK for kind "A"
};

/// The title of a component list (UTF-8).
std::string_view ComponentListTitle(ComponentList which);

/// How the amount of a component is entered.
enum class EntryMode {
    kAmount,   // kind "K": the amount is typed
    kRefused,  // kind "A" with NIE_BLOK and not blocked: "Składnik algorytmiczny"
    kBlock,    // kind "A" or "I" not blocked: "Składnik algorytmiczny", then
               // "Wprow.wart., blokując algor.?"; yes types an amount that blocks
    kUnblock,  // blocked: "Zablokowany algorytm", then "Odblokować algorytm?";
               // yes removes the block, keeping the amount; no types a new
               // blocked amount
};

/// The mode for component `c` whose position is `blocked` (NIE_ALG).
EntryMode EntryModeOf(const Component& c, bool blocked);

/// Whether the register record's social-insurance flags say he is insured:
/// any of the compulsory (CZY_OB_UE, CZY_OB_UR, CZY_OB_UC, CZY_OB_UW) or
/// voluntary (CZY_DO_UE, CZY_DO_UR, CZY_DO_UC) pension, disability,
/// sickness or accident insurances; the health insurance does not count.
/// `prac` stands on the record.
bool SociallyInsured(dbf::WorkArea& prac);

class PositionEntry {
  public:
    /// The entry over open list `list`: its symbol (PKSLST; a symbol that is
    /// gone counts as an ordinary list), the components (PKSPL), the
    /// register (PKPRAC with PKPRAC1 and PKPRAC2) and the positions.
    PositionEntry(common::Runtime& rt, common::Tables& tables, const PayrollList& list);
    ~PositionEntry();

    const PayrollList& list() const { return list_; }
    const ListSymbol& symbol() const { return facts_.symbol; }
    /// The list is for legal persons: its register records are legal persons.
    bool legal_persons() const { return facts_.symbol.legal_person; }
    const std::vector<Component>& components() const { return components_; }
    Positions& positions() { return *positions_; }
    dbf::WorkArea& register_area() { return prac_; }

    /// Checks employee `number` (six digits) for the list and, unless he is
    /// refused, makes him the employee of the entry (PKPRAC stands on him):
    /// - no record, or a record of the other kind (a legal person on an
    ///   ordinary list, or the reverse): "Brak pracownika o tym numerze",
    ///   on a list for legal persons "Brak os.prawnej o tym numerze";
    /// - a dismissal date warns "Pracownik ZWOLNIONY";
    /// - on an ordinary list whose symbol names an algorithm group, another
    ///   group: "Lista nie dotyczy tego pracownika";
    /// - with NAGLUBSLST, on an ordinary list of the non-personal wage fund
    ///   (BEZOSOB_FP), the insurance against the symbol's BEZ_UB_SP: an
    ///   insured employee on a list without insurance gives "Pracownik MA
    ///   "Ubezp.Społ." a lista NIE", an uninsured one on a list with it
    ///   "Lista MA "Ubezp.Społ." a pracownik NIE";
    /// - an open suspension (PKZAW) warns "Pracownik zawieszony".
    EmployeeVerdict Employee(std::string_view number);
    /// The employee of the entry ("" before the first accepted one).
    const std::string& employee() const { return number_; }
    const EmployeeFacts& employee_facts() const { return employee_; }

    /// The register records the list concerns, by number: legal persons on
    /// a list for legal persons, the others otherwise, and on an ordinary
    /// list whose symbol names a group only that group; without those with
    /// a dismissal date when `without_dismissed`.
    std::vector<std::string> EmployeesOfList(bool without_dismissed);

    /// Component `symbol` for the employee: "" with *out set when it may be
    /// entered, else "Brak składnika o takim symbolu", "Składnik sprzeczny
    /// z typem listy płac" (list symbols, list kind) or "Składnik nie
    /// dotyczy tego pracownika" (algorithm group, hire month).
    std::string Refusal(std::string_view symbol, const Component** out);
    /// The components of list `which` for the employee, by symbol.
    std::vector<const Component*> Listed(ComponentList which);
    /// The component of `symbol` (padded or not), nullptr when none.
    const Component* Find(std::string_view symbol) const;

    /// The employee's positions on the list, by component.
    std::vector<Position> EmployeePositions();

    /// Reserves the position of component `c` for the employee (see
    /// Positions::Reserve): true for an existing one (locked, in *existing),
    /// false for a reserved deleted record.
    bool Reserve(const Component& c, Position* existing);
    /// Saves the reserved position (Positions::Save: a zero amount that is
    /// not blocked deletes it, a blocked zero stays) and clears the month's
    /// flags for an employee who is not a legal person.
    void Save(const Component& c, double amount, bool blocked);
    /// Leaves the reserved position as it was.
    void Release();
    /// After the employee's positions were changed elsewhere (recalculated):
    /// clears the month's flags for an employee who is not a legal person.
    void PositionsChanged();

  private:
    common::Runtime& rt_;
    common::Tables& tables_;
    PayrollList list_;
    ListFacts facts_;
    std::vector<Component> components_;
    dbf::WorkArea& prac_;
    std::unique_ptr<Positions> positions_;
    std::string number_;
    EmployeeFacts employee_;
    bool legal_employee_ = false;
};

}  // namespace kestrel::payroll
