// The working-time codes of PKROB and the computed codes: after an
// employee's entry the codes of type "A" are evaluated in SEKW_OBL order
// over the employee's variables and written as the employee's lines.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/formula/bytecode.h"
#include "platform/formula/error.h"
#include "worktime/data/formula_host.h"
#include "worktime/data/time_lines.h"

namespace kestrel::worktime {

struct WorkCode {
    std::string code;  // trailing blanks cut
    std::string name;  // NAZWA_ as stored
    char type = ' ';   // "E", "N", "D" or "A"
    int slot = -1;     // its variable
};

/// The codes of PKROB (opened through `tables`), by symbol.
class WorkCodes {
  public:
    explicit WorkCodes(common::Tables& tables);
    /// The code, or nullptr when PKROB lacks it.
    const WorkCode* Find(std::string_view code) const;
    const std::vector<WorkCode>& all() const { return codes_; }
    std::vector<WorkCode>& all() { return codes_; }

  private:
    std::vector<WorkCode> codes_;
    std::unordered_map<std::string, size_t> index_;
};

class ComputedCodes {
  public:
    /// Reads the codes and compiles the formulas of the computed ones in
    /// SEKW_OBL order, once; `host` must be prepared. A formula that does
    /// not compile is reported when it is reached.
    ComputedCodes(FormulaHost& host, common::Tables& tables);

    const WorkCodes& codes() const { return codes_; }

    /// Computes the employee's codes: loads the employee's variables, adds
    /// the hours of the month's lines of the codes that are not computed,
    /// evaluates the computed codes in order (each result also becomes its
    /// code's variable for the codes after it) and writes each as the
    /// code's line (account blank; zero deletes it). Returns "" or the
    /// message that stopped the evaluation (CP852): "Błędna wartość: " +
    /// code for a result that is not a number, "Błąd!  " + code + "=" +
    /// value outside -99..999, or the formula's error. Lines written before
    /// the error stay.
    std::string Run(TimeLines& lines, std::string_view number, std::string_view group);
    /// The same for a dialog that loaded the employee into the host when
    /// it was chosen and keeps the employee's lines of the month in
    /// `month_lines`: the variables are reset instead of read again, the
    /// lines are not read, and `month_lines` follows what was written.
    std::string RunLoaded(TimeLines& lines, std::string_view number, std::string_view group,
                          std::vector<TimeLine>* month_lines);

  private:
    struct Computed {
        const WorkCode* code;
        formula::Program program;
        formula::Error error;  // why it did not compile
        bool compiled = false;
    };

    common::Runtime& rt_;
    FormulaHost& host_;
    WorkCodes codes_;
    std::vector<Computed> computed_;
    std::vector<const WorkCode*> line_codes_;  // RunLoaded's lookups, kept for their room
};

}  // namespace kestrel::worktime
