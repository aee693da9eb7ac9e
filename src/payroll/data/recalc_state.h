// What one recalculation keeps between its steps (internal to the files of
// the recalculation: recalculation.cpp drives the run, recalc_checks.cpp
// makes the checks before it, recalc_employee.cpp computes one employee,
// recalc_sweeps.cpp removes what belongs to nobody).
//
// Everything the employee loop looks up is prepared once per run: the
// components in calculation order with what the list says of them, the
// computed attendance components compiled, the register read once into
// the employees of the list kind. One employee then costs the host's
// reads, one read of his positions on the list and one seek per position
// that is written, refreshed or deleted.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "payroll/data/applicability.h"
#include "payroll/data/positions.h"
#include "payroll/data/recalculation.h"
#include "platform/formula/bytecode.h"
#include "worktime/data/time_lines.h"

namespace kestrel::payroll {

/// What the employee loop needs of one register record.
struct RecalcEmployee {
    std::string number;            // NR_PRAC, six characters
    std::string hired;             // DATA_ZATR "YYYYMMDD", "" when empty
    bool dismissed = false;        // DATA_ZWOLN given
    char group = ' ';              // GRUPA_ALG
    char sex = ' ';                // PLEC_
    std::string birth;             // DATA_URODZ "YYYYMMDD", "" when empty
    bool young_exemption = false;  // PDOF_26
    std::string calendar;          // GRUPA_KAL
    std::string shown;             // what the progress shows: the number, or the name in scope 2
};

/// A component as the run uses it.
struct RecalcComponent {
    const Component* c = nullptr;
    std::string shown;      // the symbol, trailing blanks cut
    bool computed = false;  // kind "A" (K and I are only refreshed)
    bool over_age = false;  // named by TBZK55M60
    bool under_26 = false;  // named by TBZ26
};

/// A computed attendance component of PKROB (TYP_ "A").
struct RecalcAttendance {
    std::string code;  // trailing blanks cut
    formula::Program program;
    formula::Error error;  // why it did not compile
    bool compiled = false;
};

struct Recalculation::State {
    State(common::Runtime& r, common::Tables& t, const PayrollList& l, RecalcObserver* o)
        : rt(r), tables(t), list(l), observer(o), host(r, t) {}

    common::Runtime& rt;
    common::Tables& tables;
    PayrollList list;
    RecalcObserver* observer;
    RecalcObserver silent;
    PayrollHost host;

    RecalcObserver& watch() { return observer != nullptr ? *observer : silent; }

    // Check().
    bool checked = false;
    ListSymbol symbol;
    bool legal = false;  // a list for legal persons

    // OpenTables().
    bool opened = false;
    bool lock_employees = false;  // NAGLBLK

    // Prepare(): once per run.
    bool prepared = false;
    std::unique_ptr<Positions> positions;
    std::unique_ptr<worktime::TimeLines> lines;
    std::vector<RecalcComponent> components;         // calculation order
    std::unordered_map<std::string, int> by_symbol;  // SKLADN_PL (4) -> components
    std::vector<RecalcAttendance> attendance;        // SEKW_OBL order
    ListFacts list_facts;
    bool zeroing_over_age = false;  // payment month after 2009-06
    base::Date paid;                // the payment date
    /// Applies() of every component for employees of one algorithm group
    /// hired in one month (the only things of an employee the rule reads),
    /// made on first use.
    std::map<std::string, std::vector<char>> applicable;

    // One employee: his positions on the list, by component: how many
    // records, blocked, the amount, and whether the record already follows
    // the list and the component (a store of the same amount, or a
    // refresh, would change nothing).
    std::vector<char> present;
    std::vector<char> blocked;
    std::vector<char> current;
    std::vector<double> amount;
    RecalcOutcome* outcome = nullptr;
};

// --- recalc_checks.cpp ----------------------------------------------------

/// The codes of the namespace found twice: "Zdublowany symbol: "X" w T"
/// for a code twice in one table, "Symbol: "X" jest w T1 i T2" for a code in
/// two tables (CP852).
std::vector<std::string> DuplicatedCodes(common::Runtime& rt, common::Tables& tables);

/// Whether the index of PKWALOR is of the form the contexts seek (the month
/// zero-padded); a company without PKWALOR passes.
bool ValorisationIndexOk(common::Tables& tables);

// --- recalc_employee.cpp --------------------------------------------------

/// Prepares the run once: the host's namespace and functions (the function
/// messages through the observer: false when the operator stopped there),
/// the positions and attendance stores, the per-run facts.
bool PrepareRun(Recalculation::State& s);

/// Computes one employee from the loading of his contexts to his last
/// component (his register record locked when NAGLBLK asks): "" or the message that ends the run.
/// `loaded`: the host holds him already (a selection set was evaluated).
std::string ComputeOne(Recalculation::State& s, const RecalcEmployee& e, bool loaded);

/// The employee as the loop sees him, from the register record `prac`
/// stands on.
RecalcEmployee ReadRecalcEmployee(dbf::WorkArea& prac, bool with_name);

/// Whether the list is still open in PKLISTY, whose record becomes the
/// current one.
bool ListStillOpen(Recalculation::State& s);

// --- recalc_sweeps.cpp ----------------------------------------------------

/// Scope 1, before the first employee: deletes the list's positions of
/// employee numbers that have no register record of the list kind
/// (`of_kind`, sorted), and the list month's attendance records of numbers
/// with no register record at all (`registered`, sorted). Positions of the
/// employees of the list kind are never touched here, whether or not they
/// are dismissed. Returns the positions deleted.
int SweepOrphans(Recalculation::State& s, const std::vector<std::string>& of_kind,
                 const std::vector<std::string>& registered);

}  // namespace kestrel::payroll
