// The entry and correction of income records by hand (7.3): the checks of
// the key of a record (list, income kind, employee), the rules that decide
// which amounts a record of a kind may hold, the warnings the operator
// accepts or corrects, and the writes to PKDOCH.
//
// A record belongs to a payroll list given by year, number and symbol; the
// list need not exist in PKLISTY (records of payments made outside the
// program are entered too). An income kind without KOSZT_ holds no costs,
// one without PODAT_ no tax and no relief, and only a cumulated kind
// (KUMUL_) of an employee with an exemption granted in PKZPRAC in the
// payment year holds an exemption; the amounts a record may not hold are
// cleared when it is saved.
//
// The limit of a kind (LIMIT_ above 0) is checked against what the
// employee got of that kind in the payment year up to the payment month,
// the record being edited left out (its stored value is the one being
// replaced), plus the record's new revenue.
//
// Records are written under record locks. A new record is reserved as a
// deleted record of its key (common::Tables::Reserve), so other stations
// never see it half entered, and recalled when it is saved. Hand-entered
// records have AUTOMAT_ false; a corrected automatic record keeps its
// AUTOMAT_. A failed write abandons with "Błąd zapisu: PKDOCH".
//
// Messages are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "tax/records/income_records.h"

namespace kestrel::tax {

/// The payroll list of a record as the operator gives it.
struct ListKey {
    int year = 0;
    int number = 0;
    std::string symbol;  // TYP_LST, padded to 2

    /// rok_lst+typ_lst+str(nr_lst,4), the head of the key of PKDOCH2.
    std::string Key() const;
};

/// What refuses the list key: "Błędny rok" (a year after the working
/// date's), "Błędny numer listy" (not above 0), "Błędny typ listy płac" (no
/// such symbol in PKSLST); "" when it may be used.
std::string CheckListKey(common::Runtime& rt, common::Tables& tables, const ListKey& key);

/// Whether the list was transferred to the tax records: one of its
/// positions carries AKT_DOCH, or PKDOCH holds an automatic record of it.
bool ListTransferred(common::Runtime& rt, common::Tables& tables, const ListKey& key);

/// The month and payment date of the list when PKLISTY holds it.
bool ListDates(common::Tables& tables, const ListKey& key, std::string* month, std::string* paid);

/// One record of PKRDOCH, as far as the correction needs it.
struct IncomeKind {
    std::string symbol;      // TYTUL_WYP, padded to 4
    std::string name;        // NAZWA_ (CP852)
    bool taxable = false;    // PODAT_
    bool costs = false;      // KOSZT_
    bool cumulated = false;  // KUMUL_
    double limit = 0;        // LIMIT_, 0: none
};

/// The kind `symbol`; false ("Błędny tytuł wypłaty") when PKRDOCH lacks it.
bool FindIncomeKind(common::Tables& tables, std::string_view symbol, IncomeKind* out);

/// The employee a record is entered for.
struct RecordEmployee {
    std::string number;  // six digits
    std::string name;    // "SURNAME FIRST NAMES", CP852
    std::string mark;    // "Osoba prawna", "Pracownik ZWOLNIONY", "Pracownik "nieetatowy"" or ""
};

/// The mark of a register record (UTF-8): a legal person first, then a
/// former employee (a reason of dismissal), then a non-staff person.
std::string EmployeeMark(bool non_staff, bool legal_person, bool dismissed);

/// The employee of number `number` (six digits); false ("Brak pracownika o
/// tym symbolu") when the register lacks him.
bool FindRecordEmployee(common::Tables& tables, std::string_view number, RecordEmployee* out);

/// Whether PKZPRAC grants the employee an exemption in `year`.
bool HasExemptions(common::Tables& tables, std::string_view employee, int year);

/// Which amounts the operator enters for a record.
struct FieldRules {
    bool costs = true;       // KOSZT_UZ
    bool tax = true;         // PODATEK_ and ULGA_
    bool exemption = true;   // ZWOLN_
    bool net_entry = false;  // the net tax is entered instead of PODATEK_ (NAGLNETTO)
    bool ppk = false;        // KW_PPK_ZAK (NAGLPPK20)
};

FieldRules RulesFor(const IncomeKind& kind, bool employee_has_exemptions, bool net_entry, bool ppk);
/// Clears the amounts the rules do not let the record hold.
void ApplyRules(const FieldRules& rules, IncomeRecord* r);

/// "Podatek netto:": PODATEK_ - ULGA_ - ZWOLN_.
double NetTax(const IncomeRecord& r);
/// The net tax entered: PODATEK_ becomes net + ULGA_ + ZWOLN_.
void SetNetTax(IncomeRecord* r, double net);
/// "Pobrane ubezpieczenie zdrowotne:": UBEZP_ZDRO + UBEZP_ZDD.
double CollectedHealth(const IncomeRecord& r);
/// The collected contribution entered: UBEZP_ZDD holds what is not deducted.
void SetCollectedHealth(IncomeRecord* r, double collected);

/// The warning on the revenue: "PRZYCHÓD = 0", "PRZYCHÓD < 0", or, when
/// `limit` is above 0 and `total` (the year so far plus this revenue)
/// exceeds it, LimitWarning; "" when none.
std::string RevenueWarning(double revenue, double total, double limit);
/// "Razem " + total + ", maksimum " + limit.
std::string LimitWarning(double total, double limit);
/// "KOSZTY < 0", "KOSZTY > PRZYCHÓD" (a positive revenue), or "".
std::string CostsWarning(double revenue, double costs);
/// "PODATEK < 0", "PODATEK > (PRZYCHÓD-KOSZTY)" (a positive difference), or "".
std::string TaxWarning(double revenue, double costs, double tax);

/// A record of PKDOCH with its record number.
struct StoredRecord {
    IncomeRecord record;
    uint32_t recno = 0;
};

/// The records of PKDOCH, opened with all their index files.
class IncomeStore {
  public:
    IncomeStore(common::Runtime& rt, common::Tables& tables);

    /// The visible records of the list, by employee and kind.
    std::vector<StoredRecord> OfList(const ListKey& key);
    /// The visible record of the key; 0 when none.
    uint32_t Find(const ListKey& key, std::string_view employee, std::string_view kind);

    /// The revenue of kind `kind` recorded for the employee with a payment
    /// date in the year of `paid` ("YYYYMMDD") up to its month, record
    /// `self` left out.
    double RevenueSoFar(std::string_view employee, std::string_view kind, std::string_view paid,
                        uint32_t self);

    /// Reserves a new record of the key (locked, deleted, current); false
    /// when a visible record of the key exists ("Istnie rekord o takim
    /// kluczu").
    bool ReserveNew(const ListKey& key, std::string_view employee, std::string_view kind);
    /// Locks record `recno` and reads it as it stands now; false (unlocked)
    /// when it was deleted meanwhile.
    bool Lock(uint32_t recno, IncomeRecord* out);
    /// Writes `r` into the record ReserveNew or Lock stands on and unlocks
    /// it: a reserved record is recalled with AUTOMAT_ false (PPK_ZAK_BM
    /// from NAGLPPKBM), a locked one keeps its AUTOMAT_.
    void Save(const IncomeRecord& r);
    /// Unlocks the record ReserveNew or Lock stands on; a reserved one stays
    /// deleted.
    void Release();
    /// Deletes record `recno` under its lock.
    void Delete(uint32_t recno);

    dbf::WorkArea& area() { return doch_; }

  private:
    [[noreturn]] void WriteFailed();

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& doch_;
    uint32_t held_ = 0;
    bool reserved_ = false;
};

/// A record read from the current record of an area on PKDOCH.
IncomeRecord ReadIncomeRecord(dbf::WorkArea& doch);

}  // namespace kestrel::tax
