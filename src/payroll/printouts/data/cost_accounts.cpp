#include "payroll/printouts/data/cost_accounts.h"

#include <algorithm>
#include <cstdio>

#include "payroll/printouts/data/period_print.h"
#include "platform/base/text.h"
#include "platform/picture/picture.h"

namespace kestrel::payroll {
namespace {

constexpr int kAccountWidth = 12;

bool TemplatePosition(char c) {
    return c == '9' || c == '#' || c == 'X' || c == 'N' || c == 'A' || c == '!';
}

// The numbers of account characters after which the mask's template puts a
// separator ("999-999999999": 3).
std::vector<int> MaskCuts(std::string_view mask) {
    const picture::Picture p = picture::Parse(mask);
    std::vector<int> cuts;
    int positions = 0;
    for (size_t i = 0; i < p.tmpl.size(); ++i) {
        if (TemplatePosition(p.tmpl[i])) {
            ++positions;
        } else if (positions > 0 && (cuts.empty() || cuts.back() != positions) &&
                   i + 1 < p.tmpl.size()) {
            cuts.push_back(positions);
        }
    }
    return cuts;
}

}  // namespace

std::vector<int> AccountLevels(std::string_view mask, int chars, int levels) {
    std::vector<int> out{std::clamp(chars, 1, kAccountWidth)};
    std::vector<int> cuts = MaskCuts(mask);
    if (cuts.empty()) cuts = {1, 3};
    std::sort(cuts.begin(), cuts.end(), std::greater<>());
    for (int cut : cuts)
        if (static_cast<int>(out.size()) < levels && cut < out.back()) out.push_back(cut);
    return out;
}

std::string MaskedPrefix(std::string_view mask, std::string_view prefix) {
    const std::string account = base::TrimRight(prefix);
    const picture::Picture p = picture::Parse(mask);
    std::string out;
    size_t next = 0;
    // A separator only between two characters of the account: nothing
    // after its last one.
    for (char c : p.tmpl) {
        if (next >= account.size()) break;
        if (TemplatePosition(c)) {
            out += account[next++];
        } else {
            out += c;
            if (!p.insert_literals) ++next;  // the literal is written over the character
        }
    }
    if (next < account.size()) out += account.substr(next);
    return base::TrimRight(out);
}

PayrollListOutcome PrintCostAccounts(common::Runtime& rt, common::Tables& tables,
                                     const CostAccountRequest& request, printing::PrintOutput& out,
                                     MatrixObserver* observer) {
    PayrollListOutcome done;
    MatrixRequest r;
    r.matrix = request.matrix;
    r.type = '6';
    r.lists = ListsOfMonths(tables, request.month, request.month);
    if (r.lists.empty()) {
        done.message = rt.Text("Brak list płac w podanym okresie");
        return done;
    }
    char month[16];
    std::snprintf(month, sizeof month, "%04d-%02d", request.month.year, request.month.month);
    r.subtitle = rt.Text("Miesiąc: ") + month;
    r.sort = MatrixSort::kAccount;
    r.totals_only = true;
    const std::string mask = rt.config().Text("NAGLMSKON");
    r.levels = AccountLevels(mask, request.chars, request.levels);
    const std::string no_account = rt.Text("Bez konta kosztów");
    const std::string account_word = rt.Text("Konto ");
    const std::string level_word = rt.Text("Razem konto ");
    std::string level_name;  // NAZWA_SUMY, read once the matrix is
    r.level_label = [&](size_t level, const std::string& prefix) {
        const std::string shown = MaskedPrefix(mask, prefix);
        if (level == 0) return (shown.empty() ? no_account : account_word + shown) + ":";
        // The employees without an account have their one line.
        if (shown.empty()) return std::string();
        const std::string word = level_name.empty() ? level_word : level_name + " ";
        return word + shown + ":";
    };
    MatrixRun run(rt, tables, observer);
    done.message = run.Prepare(r);
    done.interrupted = run.interrupted();
    if (!done.message.empty() || done.interrupted) return done;
    level_name = run.matrix().level_name;
    const MatrixPrinted printed = run.Print(out);
    done.interrupted = printed.interrupted;
    done.message = printed.message;
    done.employees = printed.employees;
    return done;
}

}  // namespace kestrel::payroll
