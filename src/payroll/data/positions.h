// The positions of the payroll lists in PKPLACE: one record per list,
// employee and component (the key of PKPLACE1), written as the
// recalculation, the component entry and the piecework transfer write them.
//
// A new position reuses a deleted record of its key (recalled) before it
// appends one, so repeated recalculations do not grow the table; a key with
// more than one visible record keeps the first and loses the rest when it
// is written. Every record is locked before it changes (the retry service
// of the table layer). A failed write abandons with "Błąd zapisu: PKPLACE".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_records.h"

namespace kestrel::payroll {

/// One record of PKPLACE.
struct Position {
    std::string list_key;    // rok_lst+typ_lst+str(nr_lst,4)
    std::string employee;    // NR_PRAC, six characters
    std::string symbol;      // SKLADN_PL, padded to four
    std::string month;       // MC_LST
    std::string paid;        // DATA_WYP "YYYYMMDD", "" when empty
    double amount = 0;       // KWOTA_
    bool deduction = false;  // POTRAC_
    bool blocked = false;    // NIE_ALG: the algorithm does not change it
    bool off_list = false;   // POZA_LISTA
    bool to_tax = false;     // AKT_DOCH: transferred to the tax records
    uint32_t recno = 0;
};

/// What `positions` pay out ("Kwota do wypłaty", "RAZEM:"): the amounts
/// that are not auxiliary (POZA_LISTA), deductions subtracted, to grosze.
double PayableTotal(const std::vector<Position>& positions);

class Positions {
  public:
    /// Opens PKPLACE through `tables` with all its index files (a table
    /// already open with them is shared), controlled by PKPLACE1.
    Positions(common::Runtime& rt, common::Tables& tables);
    /// The positions of `place`, a PKPLACE opened by the caller with all
    /// its index files (an annual archive's, to read).
    Positions(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& place);

    dbf::WorkArea& area() { return place_; }

    /// The key of PKPLACE1: the list's key, then the employee and the
    /// component (each padded) when given.
    static std::string Key(const PayrollList& list, std::string_view employee = {},
                           std::string_view symbol = {});

    /// The visible position of the key; the record becomes current.
    bool Find(const PayrollList& list, std::string_view employee, std::string_view symbol,
              Position* out = nullptr);
    /// The employee's visible positions on the list, by component.
    std::vector<Position> Of(const PayrollList& list, std::string_view employee);
    /// Every visible position of the list, by employee and component.
    std::vector<Position> OfList(const PayrollList& list);

    /// Stores a computed amount: a value other than 0 of a component that is
    /// not memory-only is written (DATA_WYP and MC_LST of the list, KWOTA_,
    /// POTRAC_ and POZA_LISTA of the component, NIE_ALG and AKT_DOCH false);
    /// otherwise the position is deleted. True when a record was written.
    bool Store(const PayrollList& list, std::string_view employee, const Component& c,
               double value);
    /// A position the run does not compute (entered, piecework, blocked)
    /// follows the list and the component: DATA_WYP, MC_LST, POTRAC_,
    /// POZA_LISTA; AKT_DOCH cleared. Nothing happens when there is none.
    void Refresh(const PayrollList& list, std::string_view employee, const Component& c);
    /// Deletes every visible record of the key; the count.
    int Delete(const PayrollList& list, std::string_view employee, std::string_view symbol);
    /// Deletes every visible position of the employee on the list; the count.
    int DeleteEmployee(const PayrollList& list, std::string_view employee);

    /// For the entry of one position: the visible record of the key locked
    /// and current (true: "Istniejąca pozycja"), or else the key reserved by
    /// a deleted, locked record (a deleted one of the key reused, else one
    /// appended) holding the list, employee and component (false).
    bool Reserve(const PayrollList& list, std::string_view employee, const Component& c);
    /// Writes the record Reserve() stands on and unlocks it: `amount` with
    /// the list's DATA_WYP and MC_LST, NIE_ALG = `blocked`, the component's
    /// POTRAC_ and POZA_LISTA, AKT_DOCH false; recalled when reserved. A
    /// zero amount that is not blocked deletes it.
    void Save(const PayrollList& list, const Component& c, double amount, bool blocked);
    /// The record the area stands on (after Find or Reserve).
    Position Current() const { return Read(); }
    /// Leaves the record Reserve() stands on as it was (a reserved one stays
    /// deleted) and unlocks it.
    void Release();

  private:
    template <typename Fn>
    void ForEach(const std::string& prefix, Fn fn);
    Position Read() const;
    void Fill(dbf::Record* r, const PayrollList& list, const Component& c);
    void DeleteRecords(const std::vector<uint32_t>& recnos);
    [[noreturn]] void WriteFailed();

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& place_;
    int f_number_, f_list_no_, f_list_sym_, f_month_, f_year_, f_paid_, f_symbol_, f_amount_,
        f_deduction_, f_blocked_, f_off_, f_tax_;
};

}  // namespace kestrel::payroll
