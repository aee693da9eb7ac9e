// The monthly statement of full-time posts for the disabled persons' fund
// (PFRON): every staff employee of the register employed in the month with
// his working-time fraction, split into the posts held with a valid
// disability certificate, by degree, and the others; the totals, the share
// of the disabled in all posts, and the monthly levy the share leaves due.
//
// The rules of the statement:
// - Staff employees only (not NIE_PRAC, not OS_PRAWNA). An employee counts
//   for the days of the month from DATA_ZATR to DATA_ZWOLN (empty: no
//   bound); one employed on no day of the month is not listed.
// - His posts are ETAT_L/ETAT_M (1/1 when either is 0) times the days he is
//   employed over the days of the month: a fraction, summed exactly and
//   rounded to 3 decimals only when printed.
// - The days of those on which his certificate is valid (TYTUL_STNP "1"
//   light, "2" moderate, "3" severe, "4" undetermined; from DATA_INW to
//   DAT_INW_DO, an empty date no bound) count as disabled of that degree,
//   the rest as others: a certificate that ends mid-month counts up to its
//   last day, one that begins after the month not at all.
// - The share is the disabled posts over all posts, in percent. The
//   required share is 6 %; an employer that teaches (a number of pupils is
//   given) needs 2 %, and the share of disabled pupils among its pupils is
//   added to its own.
// - A levy is due when the posts are at least 25 and the share falls short:
//   40.65 % of the quarter's average pay for every post missing to the
//   required share, rounded to whole złoty.
// - The company's switch NAGLMINPR6 ("Co najmniej 6% osób
//   niepełnosprawnych") is printed, with a warning when the month's share
//   says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_host.h"
#include "platform/base/dates.h"
#include "printing/data/print_output.h"

namespace kestrel::payroll {

/// A number of full-time posts kept as an exact fraction (denominators
/// without a common measure beyond 1e15 are kept to 1e-12 of a post).
struct Posts {
    int64_t num = 0;
    int64_t den = 1;

    Posts& operator+=(const Posts& other);
    bool operator==(const Posts& other) const {
        return static_cast<__int128>(num) * other.den == static_cast<__int128>(other.num) * den;
    }
    double value() const { return static_cast<double>(num) / static_cast<double>(den); }
    bool zero() const { return num == 0; }
};

/// The columns of the statement: 0 the others, then TYTUL_STNP 1-4.
enum Degree : size_t { kNotDisabled = 0, kLight, kModerate, kSevere, kUndetermined };
inline constexpr size_t kDegrees = 5;

/// What the register says of one employee.
struct PfronFacts {
    std::string number;
    std::string name;  // CP852
    int numerator = 1, denominator = 1;
    base::Date hired, dismissed;
    char degree = '0';
    base::Date certificate_from, certificate_to;
};

struct PfronEmployee {
    std::string number;
    std::string name;
    std::string fraction;  // "1/2"
    std::array<Posts, kDegrees> posts;
    Posts Total() const;
};

/// The employee's posts in `month` by the rules above; false when he is
/// employed on no day of it.
bool EmployeePosts(const PfronFacts& facts, YearMonth month, PfronEmployee* out);

struct PfronRequest {
    YearMonth month;
    double average_pay = 0;   // the quarter's average pay
    int pupils = 0;           // all pupils (0: not an employer that teaches)
    int disabled_pupils = 0;  // of them disabled
};

struct PfronStatement {
    std::vector<PfronEmployee> employees;  // by number
    std::array<Posts, kDegrees> by_degree;
    Posts total, disabled;
    double share = 0;         // disabled of all posts, percent
    double pupils_share = 0;  // disabled of all pupils, percent
    double required = 6;      // the share required, percent
    double missing = 0;       // posts missing to the required share (0 when none)
    bool levy_due = false;    // at least 25 posts and posts missing
    double levy = 0;          // whole złoty
    bool switch_on = false;   // NAGLMINPR6
};

/// The totals, the shares and the levy of `statement.employees`.
void Summarise(const PfronRequest& request, PfronStatement* statement);

/// The statement of the month from the register (PKPRAC), with NAGLMINPR6
/// of the configuration.
PfronStatement ComputePfron(common::Runtime& rt, common::Tables& tables,
                            const PfronRequest& request);

/// The statement as a printout of 78 columns into `out` (open), the page
/// headers of the printing service included.
void PrintPfron(common::Runtime& rt, const PfronRequest& request, const PfronStatement& statement,
                printing::PrintOutput& out);

}  // namespace kestrel::payroll
