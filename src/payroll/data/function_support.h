// What the payroll formula functions share: the guard that leaves the work
// areas as a function found them, component masks, and the groups of
// register records that carry one national identity number.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"

namespace kestrel::payroll {

/// A formula function leaves the selected work area, and the index order and
/// record of every table it touches, as it found them. Make one at the start
/// of the function and pass each area through Touch() before moving it; the
/// destructor puts everything back (areas in the reverse order of touching,
/// then the selection). An area closed (or its table opened again) in the
/// meantime is left alone: it is not the one that was found.
class AreasAsFound {
  public:
    explicit AreasAsFound(dbf::Workspace& workspace);
    ~AreasAsFound();
    AreasAsFound(const AreasAsFound&) = delete;
    AreasAsFound& operator=(const AreasAsFound&) = delete;

    /// Remembers `area`'s order and record (once per area); returns it. A
    /// null area is passed through.
    dbf::WorkArea* Touch(dbf::WorkArea* area);
    dbf::WorkArea& Touch(dbf::WorkArea& area) { return *Touch(&area); }

  private:
    struct Kept {
        int number;       // the area's number and its opening, looked up
        uint32_t serial;  // again on the way out
        int order;
        uint32_t recno;
    };
    dbf::Workspace& workspace_;
    int selected_;
    std::vector<Kept> kept_;
};

/// A component mask: up to four characters compared with a symbol position
/// by position, upper-cased and padded with blanks; "?" matches any
/// character, "*" turns its own and every following position into "?".
/// "A*" matches every symbol beginning with A; "A?1" matches "AB1" (with its
/// trailing blank) but not "AB12".
class Mask {
  public:
    explicit Mask(std::string_view text);
    bool Matches(std::string_view symbol) const;
    /// Whether the mask names one symbol (no "?" after the expansion of "*").
    bool single() const { return single_; }
    /// The four characters after the expansion.
    const std::string& text() const { return text_; }

  private:
    std::string text_;
    bool single_ = true;
};

/// Whether `symbol` matches any of `masks`.
bool MatchesAny(const std::vector<Mask>& masks, std::string_view symbol);

/// The same-identity groups of the register: every employee number with the
/// numbers of all register records carrying the same national identity
/// number (PESELX_, compared unscrambled). A record with an empty number is
/// a group of one. Built once (a run), from the register's identity index.
class PeselGroups {
  public:
    /// Reads PKPRAC through its identity index; a company without the
    /// register has only groups of one.
    explicit PeselGroups(common::Tables& tables);
    /// The group of `number` (6 characters), the employee first, then the
    /// others in the order of the index; `number` alone when the register
    /// does not know him or his number is empty.
    std::vector<std::string> Of(std::string_view number) const;
    /// The clear identity number of `number`, "" when empty or unknown.
    std::string IdentityOf(std::string_view number) const;

  private:
    std::map<std::string, std::string> identity_;                  // number -> clear PESEL
    std::map<std::string, std::vector<std::string>> by_identity_;  // PESEL -> numbers
};

}  // namespace kestrel::payroll
