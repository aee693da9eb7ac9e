// What one run of the insurance transfer keeps between its steps (internal
// to the files of the transfer: insurance_transfer.cpp drives the run,
// algorithm_rows.cpp reads and evaluates the algorithm tables,
// record_store.cpp finds, reuses and withdraws the records,
// transfer_employee.cpp builds the records of one employee).
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "insurance/data/benefit_shares.h"
#include "insurance/data/insurance_transfer.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_records.h"
#include "platform/base/dates.h"
#include "platform/formula/bytecode.h"

namespace kestrel::insurance {

using payroll::YearMonth;

/// One row of an algorithm table: its key fields and the formula text of
/// every memo (line breaks removed), compiled on first use.
struct AlgorithmRow {
    std::string table;          // PKASKLD, ...
    std::string group;          // TYT_PODM_P, two characters
    std::string absence;        // KOD_NIEOB (PKAZASL), four characters
    std::string substitute;     // ZAST_NIEOB (PKAZASL)
    std::string component;      // SKLADN_PL (PKAZASL)
    std::string code;           // KOD_WYNAGR (PKASKWN)
    bool once_a_month = false;  // RAZ_NA_MC
    bool whole_month = false;   // GENER_DNI
    std::map<std::string, std::string> texts;
    std::map<std::string, std::unique_ptr<formula::Program>> programs;

    bool Empty(const std::string& field) const;
};

/// The rows of `table` in the order of its index (all of them when the
/// company lacks the table: none).
std::vector<std::unique_ptr<AlgorithmRow>> ReadAlgorithms(common::Runtime& rt,
                                                          common::Tables& tables,
                                                          const std::string& table);

/// One payroll item of the employee the transfer reads.
struct Item {
    std::string list;    // the list's key
    std::string symbol;  // SKLADN_PL, trailing blanks cut
    double amount = 0;
    int paid = -1;          // payment month as YearMonth::Index(), -1 without a date
    bool of_month = false;  // a list of the month (list month M)
};

/// An absence line of PKNIEOB entered in the month.
struct AbsenceLine {
    uint32_t recno = 0;
    std::string code;  // four characters
    int first = 0, last = 0;
    double days = 0;  // ILOSC_
    int calendar_year = 0, calendar_month = 0;
    int zus_year = 0, zus_month = 0;
};

struct TransferState {
    TransferState(common::Runtime& r, common::Tables& t, TransferObserver* o);

    common::Runtime& rt;
    common::Tables& tables;
    TransferObserver* observer;
    TransferObserver silent;
    TransferObserver& watch() { return observer != nullptr ? *observer : silent; }
    TransferOutcome out;

    // The month.
    YearMonth month, previous, next, after_next;
    int last_day = 0;
    base::Date first_day;
    bool ppk = false;
    bool previous_paid = false;  // a list of the month paid in the previous month
    /// Some list of the month is paid in a month whose items the employee's
    /// reads by payment month do not cover: his items are also read by list
    /// month.
    bool read_by_list_month = false;

    // The lists.
    std::vector<payroll::PayrollList> lists_of_month;         // list month M, by payment date
    std::map<int, std::set<std::string>> tax_years;           // year -> list keys paid in M
    std::map<std::string, uint32_t> list_records;             // list key -> record of PKLISTY
    std::map<int, uint32_t> paid_in;                          // payment month -> its latest list
    std::map<uint32_t, payroll::PayrollList> list_of_record;  // record of PKLISTY -> list

    /// Makes the record of PKLISTY `recno` (when not 0) the current one and
    /// its list the payroll host's list: the standard functions read the
    /// payment date through pklisty->data_wyp, the payroll functions (the
    /// sums of earlier months, SUMPODEMR, ZUSLIMIT) through the host.
    void CurrentList(uint32_t recno);
    void CurrentList(const std::string& key) {
        auto it = list_records.find(key);
        CurrentList(it == list_records.end() ? 0 : it->second);
    }
    /// The latest list paid in month `m`, else the latest list of the month.
    void CurrentListPaidIn(const YearMonth& m);

    payroll::PayrollHost host;
    std::map<std::string, int> component_slots;  // symbol (trimmed) -> slot

    // The algorithm tables.
    std::vector<std::unique_ptr<AlgorithmRow>> sklad, podst, okres, zasil, skwn, wynag;
    std::set<std::string> wage_codes;             // PKSWYN
    std::set<std::string> title_codes;            // PKTYTUB
    std::map<std::string, std::string> declared;  // PKRNB code with DEKL_ZUS -> its TYT_PODM_P

    // One employee.
    std::string employee;
    std::vector<Item> items;
    std::vector<AbsenceLine> absences;
    /// The benefit lines of absences of the title group being written, for
    /// UDZIALNB (registered on the host's engine by the run).
    BenefitLineContext benefit;

    /// The component variables hold the sums of the employee's items that
    /// `take` accepts (every other component 0).
    template <typename Pred>
    void LoadSums(Pred take) {
        for (const auto& [symbol, slot] : component_slots)
            host.value(slot) = formula::Value::Number(0);
        for (const Item& i : items) {
            if (!take(i)) continue;
            auto it = component_slots.find(i.symbol);
            if (it == component_slots.end()) continue;
            formula::Value& v = host.value(it->second);
            v = formula::Value::Number(v.number() + i.amount, 2);
        }
    }
};

// --- algorithm_rows.cpp ----------------------------------------------------

/// The value of `row`'s formula for `field`; false with the formula
/// engine's message.
bool EvaluateFormula(TransferState& s, AlgorithmRow& row, const std::string& field,
                     formula::Value* value, std::string* message);

/// WARUNEK_ of `row`: an empty one gives `empty`; a value that is not
/// logical gives "Błędny warunek " + the table.
bool Condition(TransferState& s, AlgorithmRow& row, bool empty, bool* holds, std::string* message);

/// Every field of `fields` of the record `area` stands on gets the value of
/// its formula (an empty one: zero, blanks, false or an empty date); with
/// `add` numbers are added to what the field holds. A value of the wrong
/// type gives "Błąd: " + field + "=" + the value.
bool FillFields(TransferState& s, AlgorithmRow& row, const std::vector<std::string>& fields,
                dbf::WorkArea& area, bool add, std::string* message);

// --- record_store.cpp ------------------------------------------------------

/// Stands `area` (ordered by `index`) on the record whose key in that index
/// is `key`, locked, ready to be filled: the visible one, else a deleted one
/// (emptied of KOREKTA_ and NIE_AKT_62, recalled by Release), else a new
/// one. False, and nothing locked, when the visible record is locked
/// against the transfer (NIE_AKT_62).
bool Claim(TransferState& s, dbf::WorkArea& area, std::string_view index, const std::string& key);
/// Leaves the claimed record as it is stored and releases its lock.
void Abort(dbf::WorkArea& area);
/// Commits the claimed record, recalls it and releases its lock; a failed
/// write abandons with "Błąd zapisu: " + the table.
void Release(TransferState& s, dbf::WorkArea& area);

/// QRMANULRMC: the month's records that are not locked are deleted (see
/// insurance_transfer.h); false when Esc stopped it.
bool Qrmanulrmc(TransferState& s);

/// Key parts as the indexes write them.
std::string Str4(int n);
std::string Zero2(int n);
std::string MonthKey(const YearMonth& m);  // str(rok_,4)+strzero(mc_,2)

/// The insurance tables the transfer writes, with their index files.
dbf::WorkArea& OpenTarget(TransferState& s, const std::string& table);

// --- transfer_employee.cpp -------------------------------------------------

/// Builds every record of the employee of the register record `prac`
/// stands on: "" or the message that ends the run.
std::string TransferEmployee(TransferState& s, dbf::WorkArea& prac);

}  // namespace kestrel::insurance
