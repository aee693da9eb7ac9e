// What the company screens share: the list of existing directories above
// the name prompts, the prompt of a directory name with its rules, making
// a company current and forgetting the operator.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "utilities/company_screens.h"
#include "utilities/data/company_names.h"

namespace kestrel::utilities {

/// The right the company functions 4-7 ask (kind 4).
inline constexpr unsigned kCompanyRightsMask = 8;

/// The work area cleared and the function's title at row 4 column 22.
void CompanyTitle(common::Runtime& rt, const char* utf8_title);

/// "Istniejące katalogi firm:" at row 9 column 14 and the names under it,
/// 13 columns apart from column 14 up to column 66 (the last rows when
/// they do not fit); "Brak katalogów firm" when there are none.
void ShowCompanyNames(common::Runtime& rt, const std::vector<CompanyEntry>& list);

/// What a name prompt wants of the name typed.
enum class NameWanted {
    kNew,       // not listed ("Istnieje taki katalog")
    kExisting,  // listed ("Brak takiego katalogu") with a QRM.MEM ("Brak QRM.MEM w tym katalogu")
};

/// Asks `utf8_label` at (row, 14) for a directory name of `width`
/// characters, in upper case, until the name passes its rules and what is
/// wanted of it; false on Esc. `*name` gets the directory's name (as found
/// on disk for an existing one).
bool AskCompanyName(common::Runtime& rt, int row, const char* utf8_label, int width,
                    NameWanted wanted, const std::vector<CompanyEntry>& list, std::string* name);

/// Makes `company` current through the hooks (or directly) and requests
/// the reload.
void MakeCurrent(common::Runtime& rt, const CompanyHooks& hooks, const std::string& company);

/// Clears the operator's identity, password and rights (YIDENT, YHASUZ,
/// YUPRUZ).
void ForgetOperator(common::Runtime& rt);

/// True when `name` is the current company (without regard to case).
bool IsCurrent(const common::Runtime& rt, const std::string& name);

/// The program directory, as the company functions use it.
std::string Root(const common::Runtime& rt);

/// One row of a company choice window: the company ("" = the program
/// directory) and whether it can be chosen.
struct CompanyChoice {
    std::string company;
    std::string text;  // as shown
    bool selectable = true;
};

/// The rows of a choice window: the root entry first (always selectable),
/// then the listed companies, selectable when they hold a QRM.MEM.
std::vector<CompanyChoice> CompanyChoices(const common::Runtime& rt,
                                          const std::vector<CompanyEntry>& list);

/// The choice window in a double frame from row 7, column 32, as wide as
/// the longest of the root label + 3 and 11 characters, the bar starting on
/// `initial` (0-based). Returns the chosen row (0-based), -1 on Esc. The
/// screen under the window is restored.
int ChooseCompany(common::Runtime& rt, const std::vector<CompanyChoice>& rows, int initial);

}  // namespace kestrel::utilities
