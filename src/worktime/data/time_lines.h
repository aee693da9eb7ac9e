// The working-time lines of PKCZAS for the settlement month (hours of one
// code, and with accounts per line one cost account, for one employee) and
// the employee's brigade of the month in PKBRYG.
//
// A line is written as a deleted record (a deleted one of the same key is
// reused) and recalled only when its hours are above zero, so a line of
// zero hours is never visible.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::worktime {

struct TimeLine {
    std::string code;     // KOD_OB, trailing blanks cut
    std::string account;  // KONTO_KOSZ as stored (12 characters)
    double hours = 0;
    uint32_t recno = 0;
    std::string number;  // NR_PRAC (filled by AllLines)
};

class TimeLines {
  public:
    /// Opens PKCZAS (all four indexes, ordered by month, employee, code and
    /// account) and PKBRYG through `tables`.
    TimeLines(common::Runtime& rt, common::Tables& tables, const SettlementMonth& month);

    const SettlementMonth& month() const { return month_; }
    dbf::WorkArea& area() { return czas_; }

    /// The key of PKCZAS1: year, month, employee, code and account.
    std::string Key(std::string_view number, std::string_view code = {},
                    std::string_view account = {}) const;

    /// The visible lines of the employee in the month, by code and account.
    std::vector<TimeLine> LinesOf(std::string_view number);
    /// Every visible line of the month, by employee, code and account.
    std::vector<TimeLine> AllLines();
    /// Whether the employee has a visible line of `code` in the month (of
    /// that account only, when `account` is given).
    bool HasLine(std::string_view number, std::string_view code);
    bool HasLine(std::string_view number, std::string_view code, std::string_view account);
    /// Deletes the employee's lines of `code` (all accounts); the count.
    int DeleteCode(std::string_view number, std::string_view code);
    /// Deletes the employee's line of `code` with `account`; the count.
    int DeleteLine(std::string_view number, std::string_view code, std::string_view account);

    /// Stands PKCZAS on a deleted, locked record keyed by the employee, code
    /// and account (a deleted one reused, else appended).
    void Reserve(std::string_view number, std::string_view code, std::string_view account);
    /// Writes the reserved line with `hours` and the calendar group: hours
    /// of 0 leave it deleted, any other recall it. `single` (no accounts per
    /// line) deletes every other line of the code, so that the code has one
    /// line in the month.
    /// The record number of the line.
    uint32_t Accept(std::string_view group, double hours, bool single);
    /// Reserve and Accept at once, over the visible line of the key when
    /// there is one (a computed code, account blank).
    uint32_t Write(std::string_view number, std::string_view code, std::string_view account,
                   std::string_view group, double hours, bool single);

    /// The employee's brigade of the month ("" when none).
    std::string Brigade(std::string_view number);
    /// Sets the brigade of the month: blank removes the month's record;
    /// otherwise it is created or updated with the brigade and the
    /// employee's scrambled surname `nazwx` (as PKPRAC stores it).
    void SetBrigade(std::string_view number, std::string_view brigade, std::string_view nazwx);

  private:
    template <typename Fn>
    void ForEach(const std::string& prefix, Fn fn);
    int DeleteWhere(const std::string& prefix);

    [[noreturn]] void WriteFailed();

    common::Runtime& rt_;
    common::Tables& tables_;
    SettlementMonth month_;
    dbf::WorkArea& czas_;
    dbf::WorkArea& bryg_;
    int f_year_, f_month_, f_number_, f_code_, f_group_, f_hours_, f_account_;
};

/// Hours, code text and the rest of a line: PKCZAS field widths.
inline constexpr size_t kCodeWidth = 4;
inline constexpr size_t kAccountWidth = 12;

}  // namespace kestrel::worktime
