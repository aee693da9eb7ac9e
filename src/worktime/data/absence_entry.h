// The data side of the absence entry (3.4): the absence codes, the lines of
// an employee's month in PKNIEOB, their regeneration (the lines generated
// from suspensions and the lines of the computed codes), the collision of
// days, the quantity proposed, the yearly limit of a code and the flag of
// the insurance data of the month.
//
// Lines are written as the table layer reserves them: a new line is a
// deleted record (a deleted one of the key reused) and is recalled when it
// is accepted with a quantity above zero. Messages are CP852; "" means
// success. Failing reads and writes abandon with "Błąd zapisu: PKNIEOB".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/formula/bytecode.h"
#include "worktime/data/absence_rules.h"
#include "worktime/data/formula_host.h"
#include "worktime/data/month_absences.h"

namespace kestrel::worktime {

/// A code of PKRNB.
struct AbsenceCode {
    std::string code;         // trailing blanks cut
    std::string name;         // NAZWA_ as stored
    char type = ' ';          // P B Z A E U G
    bool in_hours = false;    // GODZ_DNI
    bool fractional = false;  // PO_PRZEC
    bool second = false;      // CZY_IL_2
    bool reported = false;    // DEKL_ZUS
    int order = 0;            // SEKW_OBL
    int stored_limit = 0;     // LIMIT_
    std::string formula;      // ALGORYTM_
    std::string limit;        // LIMIT_NB
};

/// The list word of a type: "Płatne", "Bezpł.", "Zasił.", "Algor.", "Ewid.",
/// "Urlop", "Gener." (UTF-8); "" for another letter.
std::string TypeWord(char type);

/// The codes of PKRNB (opened through `tables`), in SEKW_OBL order.
class AbsenceCodes {
  public:
    explicit AbsenceCodes(common::Tables& tables);
    const AbsenceCode* Find(std::string_view code) const;
    const std::vector<AbsenceCode>& all() const { return codes_; }

  private:
    std::vector<AbsenceCode> codes_;
};

/// What the entry needs of an employee of PKPRAC.
struct EntryEmployee {
    std::string number;        // six characters
    std::string group;         // GRUPA_KAL as stored
    double fraction = 1;       // ETAT_L / ETAT_M, 1 without one
    bool report_next = false;  // NB_ZUS_NMC: reported the month after
    double hours_per_day = 8;  // QRMILGP in the month of the entry
};

/// The employee `number` for entries in `month`; nothing when PKPRAC lacks
/// the number or it names a legal person.
std::optional<EntryEmployee> ReadEntryEmployee(common::Runtime& rt, common::Tables& tables,
                                               std::string_view number,
                                               const SettlementMonth& month);

/// A line of employee `e` entered in `month` with number `line` and code
/// `code`, for that calendar month, reported in the employee's reporting
/// month (the month after with NB_ZUS_NMC); days and quantities 0.
AbsenceLine NewAbsenceLine(const EntryEmployee& e, const SettlementMonth& month, int line,
                           std::string_view code);

/// Hours of `days` days of the employee: days x hours per day x the
/// working-time fraction, to three decimals.
double HoursOfDays(double days, const EntryEmployee& e);

/// The quantities proposed for a new line; `error` names what was missing
/// ("Brak kalendarza", "Błędny harmonogram pracy"), the quantities are 0 then.
struct QuantityProposal {
    double quantity = 0, quantity2 = 0;
    std::string error;
};

/// The yearly limit of a code for an employee.
struct LimitState {
    bool shown = false;  // the limit is above 0
    double sum = 0;      // ILOSC_ of the year up to the month
    double limit = 0;
    bool exceeded = false;  // the sum is above the limit
    std::string error;      // "Błędny limit: " + code, or the formula's error

    /// "Narast.: " + the sum (three decimals) + "   Limit: " + the limit.
    std::string Text() const;
};

/// How the line of a number stood when it was reserved.
enum class LineState { kNew, kExisting, kDeleted };

class AbsenceEntry {
  public:
    /// Reads the codes and compiles the formulas of the computed codes;
    /// `host` must be prepared.
    AbsenceEntry(FormulaHost& host, common::Tables& tables);

    const AbsenceCodes& codes() const { return codes_; }

    /// The employee's lines entered in `month` (visible ones), by number.
    std::vector<AbsenceLine> LinesOf(std::string_view number, const SettlementMonth& month);

    /// Rebuilds the employee's generated and computed lines of `month`:
    /// deletes the lines of codes of type "A" and "G", writes the lines of
    /// the suspensions whose reason names a code of type "G", then
    /// Compute(). "Nr pozycji > 99" when the lines run out of numbers.
    std::string Regenerate(const EntryEmployee& e, const SettlementMonth& month);
    /// Computes the codes of type "A" in SEKW_OBL order over the
    /// employee's variables (loaded again from the lines) and writes their
    /// lines: a number not zero as one line, a list as one line per entry
    /// (quantity, first day, last day, percentage, statistical number,
    /// optionally calendar year and month, second quantity). An entry of
    /// another shape gives "Błędna wartość" + its position + ": " + code; a
    /// result of another type, or one that does not fit a line, "Błędna
    /// wartość: " + code, and nothing of that code is written. A formula
    /// error gives its message. Each message stops the computation; the
    /// lines written before it stay.
    std::string Compute(const EntryEmployee& e, const SettlementMonth& month);

    /// Another line of the employee for calendar month `year`.`month` whose
    /// days overlap `from`-`to`, `except` the line being entered.
    std::optional<LineRef> FindCollision(std::string_view number, int year, int month, int from,
                                         int to, const LineRef& except);

    /// The quantities of days `from`-`to` of calendar month `year`.`month`:
    /// for types "B" and "Z" the calendar days, for the others the working
    /// days of the employee's calendar, or with the schedule in use
    /// (NAGLHARMON) the nominal hours of the days by the schedule in days
    /// of hours per day at the working-time fraction. Hours of a code that
    /// counts hours are days x hours per day x fraction; a code with a
    /// second quantity gets the hours there.
    QuantityProposal Propose(const AbsenceCode& code, const EntryEmployee& e, int year, int month,
                             int from, int to);

    /// The code's limit (LIMIT_NB, or LIMIT_ when it has no formula) over
    /// the employee's loaded variables, against the sum of ILOSC_ of the
    /// employee's lines of the code in calendar year `month`.year up to
    /// its month.
    LimitState Limit(const AbsenceCode& code, std::string_view number,
                     const SettlementMonth& month);

    /// Stands on the line `line` of the employee in `month`, locked: the
    /// visible line (kExisting), else a reserved deleted record, reused
    /// (kDeleted) or new (kNew), holding the calendar month `month` and
    /// the reporting month of the employee. `*out` gets its values.
    LineState Reserve(const EntryEmployee& e, const SettlementMonth& month, int line,
                      AbsenceLine* out);
    /// Writes `line` into the record Reserve() stands on and unlocks it: a
    /// quantity of 0 leaves (or makes) it deleted, any other recalls it.
    void Accept(const AbsenceLine& line);
    /// Leaves the reserved record as it is and unlocks it.
    void Release();

    /// Clears AKT_ZUS of the control record of PKSTER: the insurance data
    /// of the month must be prepared again.
    void ClearInsuranceFlag();

  private:
    struct Computed {
        const AbsenceCode* code;
        formula::Program program;
        formula::Error error;
        bool compiled = false;
    };
    struct EntryValues;

    std::string Generate(const EntryEmployee& e, const SettlementMonth& month, int* last);
    std::string WriteComputed(const Computed& k, const formula::Value& result,
                              const EntryEmployee& e, const SettlementMonth& month, int* last);
    void WriteNew(const AbsenceLine& line);
    void Store(const AbsenceLine& line);
    std::string Key(const SettlementMonth& month, std::string_view number, int line) const;
    [[noreturn]] void WriteFailed();

    common::Runtime& rt_;
    FormulaHost& host_;
    common::Tables& tables_;
    AbsenceCodes codes_;
    std::vector<Computed> computed_;
    std::vector<std::pair<std::string, formula::Program>> limits_;  // compiled on first use
    dbf::WorkArea& lines_;
};

/// Regenerates the generated and computed lines of the settlement month of
/// PKSTER for employee `number`, or for every employee of PKPRAC but legal
/// persons when it is empty, as the entry does when an employee is opened.
/// `report` receives each message that stopped an employee (user-function
/// messages with an empty number). Returns the number of employees done.
int RegenerateMonth(
    common::Runtime& rt, common::Tables& tables, std::string_view number,
    const std::function<void(const std::string& number, const std::string& message)>& report);

}  // namespace kestrel::worktime
