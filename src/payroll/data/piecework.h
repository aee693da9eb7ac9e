// The piecework amounts taken over onto the open list (4.3): the job cards
// of PKAKORD, kept by the piecework system in its own directory (NAGL0AK),
// are summed per employee through the algorithms of the components of
// kind "I" and written as list positions.
//
// A job card is a record of PKAKORD with at least NR_PRAC (C6), DATA_ (the
// day of the card, D) and whatever the algorithms read; the standard
// algorithm (kPieceworkAlgorithm) reads ILOSC_WYK and CENA_. The
// cards of a list are those of its list month (ROK_LST, MC_LST).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"
#include "platform/dbf/table.h"

namespace kestrel::payroll {

/// The algorithm a component named by SYMB_AKORD gets when it becomes the
/// piecework component: the quantity of the card times its price. (The
/// form "PKAKORD->(ilosc_wyk*cena_)", an expression evaluated in another
/// work area, is not part of the formula language; the fields are named
/// with their alias one by one, to the same value.)
inline constexpr const char* kPieceworkAlgorithm = "PKAKORD->ilosc_wyk*PKAKORD->cena_";

/// The fields of a job card table as this system writes one (the demo and
/// the tests); the transfer reads any table that has NR_PRAC and DATA_.
std::vector<dbf::FieldSpec> JobCardFields();

/// The directory of the piecework tables: NAGL0AK, else the program
/// directory NAGLX, else the company directory; with a trailing "/".
std::string PieceworkDir(common::Runtime& rt);

struct PieceworkPlan {
    PayrollList list;
    std::vector<Component> components;  // kind "I", admitted by the list's symbol
    /// The component of SYMB_AKORD becomes the piecework component (kind
    /// "I", kPieceworkAlgorithm) when the transfer runs: no component of
    /// kind "I" existed.
    bool promote = false;
    /// "Brak kart pracy za ten miesiąc" (a warning: the transfer may still
    /// run and removes the piecework positions of the list).
    std::string warning;
    /// "Błędny symbol płacy akordowej", "Akord nie dotyczy tej listy płac";
    /// "" when the transfer may run. CP852.
    std::string refusal;
};

/// Steps 1 to 3 for the open list `list`: the job cards of its month in
/// PKAKORD (opened from PieceworkDir under the alias PKAKORD; a missing
/// table abandons with "Brak " and its path), the components of kind "I"
/// (or SYMB_AKORD of the control record promoted), those whose TYP_LISTY
/// admits the list's symbol. Nothing is written.
PieceworkPlan PlanPiecework(common::Runtime& rt, common::Tables& tables, const PayrollList& list);

struct PieceworkCounts {
    int created = 0;    // "Rekordy utworzone:"
    int rewritten = 0;  // "Rekordy przepisane:"
    int deleted = 0;    // "Rekordy skasowane:"
    std::string error;  // the formula's message that ended the transfer, CP852
};

/// Steps 4 and 5 (after the operator's yes): PKPLACE opened exclusively;
/// the promoted component written to PKSPL; for every register record of
/// the list's kind (legal persons on a list for legal persons, the others
/// on the other lists) and every planned component, the algorithm
/// evaluated once per job card of the employee and the values added, the
/// sum rounded (YROUND, 2 decimals); a sum other than 0 written to the
/// position (created or rewritten: payment date and month of the list,
/// POTRAC_ and POZA_LISTA of the component, NIE_ALG and AKT_DOCH false), 0
/// deleting a position that exists. An error of an algorithm (or a value
/// that is no number, "Błędna wartość algorytmu") ends the transfer; what
/// was written stays. Any change of positions on a list that is not for
/// legal persons clears AKT_ZUS, AKT_KZP and AKT_PPK of the control record.
/// `progress` gets the counts after every employee.
PieceworkCounts TransferPiecework(common::Runtime& rt, common::Tables& tables,
                                  const PieceworkPlan& plan,
                                  const std::function<void(const PieceworkCounts&)>& progress);

}  // namespace kestrel::payroll
