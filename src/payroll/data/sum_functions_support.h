// What the two files of the sum functions share: the tables they read, each
// opened once for the run, the system month, and raising an error text.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "payroll/data/payroll_host.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll::sums {

/// The state of the sum functions of one host: which tables the company
/// has (looked up once), the system month and the cumulative income types
/// (read on first use).
class SumTables {
  public:
    explicit SumTables(PayrollHost& host) : host_(host) {}

    PayrollHost& host() { return host_; }
    common::Runtime& rt() { return host_.rt(); }

    /// Whether the company has `table` (open, or its file in the data
    /// directory), asked of the file system once.
    bool Has(const std::string& table);
    /// The table opened once with `indexes` (worktime::OpenOnce) and ordered
    /// by `index`; the caller has passed it through its AreasAsFound first
    /// (use Ordered()).
    dbf::WorkArea& Open(std::string_view table, const std::vector<std::string>& indexes);
    /// PKPLACE with its six indexes, touched by `keep` and ordered by `index`.
    dbf::WorkArea& Place(AreasAsFound& keep, std::string_view index);
    /// Any table, touched by `keep` and ordered by `index` (its only index).
    dbf::WorkArea& Ordered(AreasAsFound& keep, std::string_view table, std::string_view index);

    /// PKSTER's year and month, read once.
    YearMonth SystemMonth();
    /// Trimmed income types of PKRDOCH with KUMUL_, read once.
    const std::set<std::string>& Cumulative();

    /// The archive of positions of `year` (ARCH<yyyy>/PKPLACE.DBF under the
    /// data directory, PayrollHost::ArchivedPositions) ordered by its index
    /// 6, touched by `keep`; null when there is none.
    dbf::WorkArea* Archive(AreasAsFound& keep, int year);

    /// The slot names of the namespace that are component-like symbols (up
    /// to four characters), taken once from the engine's layout.
    const std::vector<std::string>& Names();

  private:
    PayrollHost& host_;
    std::map<std::string, bool> has_;
    bool system_read_ = false;
    YearMonth system_;
    bool cumulative_read_ = false;
    std::set<std::string> cumulative_;
    std::vector<std::string> names_;
    size_t names_of_ = 0;  // layout size when names_ was taken
};

/// Registers `fn` with the host's engine under `name`, the selected work
/// area put back after every call.
void Register(PayrollHost& host, std::string_view name, std::function<bool(formula::Call&)> fn);

/// Fails the call with `utf8` converted to CP852.
bool Fail(common::Runtime& rt, formula::Call& c, std::string_view utf8);

/// A component symbol as positions store it: upper case, four characters.
std::string Symbol4(std::string_view s);

/// The tax-record sums (PKDOCH, PKZPRAC, PKSKLAD).
void RegisterTaxRecordSums(PayrollHost& host, std::shared_ptr<SumTables> tables);

}  // namespace kestrel::payroll::sums
