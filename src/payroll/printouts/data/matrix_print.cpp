// The printing of a prepared matrix printout: the summary with its levels
// and totals, or the payslips.
#include "payroll/printouts/data/matrix_print.h"

#include <algorithm>
#include <cstdio>
#include <functional>

#include "payroll/printouts/data/matrix_cells.h"
#include "payroll/printouts/data/matrix_state.h"
#include "platform/base/text.h"
#include "printing/data/headers.h"

namespace kestrel::payroll {
namespace {

using formula::Value;

constexpr int kLead = 5;  // "Lp." and its number on a summary

// The running totals of one level: the SUMA_ cells and the components.
struct Totals {
    std::vector<double> cells;
    std::vector<double> amounts;
    void Reset(size_t cells_n, size_t amounts_n) {
        cells.assign(cells_n, 0.0);
        amounts.assign(amounts_n, 0.0);
    }
    void Add(const MatrixEmployee& e) {
        for (size_t i = 0; i < cells.size() && i < e.cells.size(); ++i)
            if (e.cells[i].IsNumber()) cells[i] += e.cells[i].number();
        for (size_t i = 0; i < amounts.size() && i < e.amounts.size(); ++i)
            amounts[i] += e.amounts[i];
    }
};

class Printer {
  public:
    Printer(MatrixRun::State& s, printing::PrintOutput& out) : s_(s), out_(out) {
        payslips_ = s.request.layout == MatrixLayout::kPayslips;
        lead_ = payslips_ ? 0 : kLead;
        columns_ = CellColumns(s.m, lead_);
        width_ = BlockWidth(s.m, lead_);
        rows_ = BlockRows(s.m);
        wide_ = width_ > 80;
        by_formula_ = s.m.type == '3' || s.m.type == '6';
        level_name_ = s.m.level_name.empty() ? s.request.level_name : s.m.level_name;
        if (!s.request.levels.empty()) {
            for (int chars : s.request.levels)
                if (chars > 0) levels_.push_back(static_cast<size_t>(chars));
            // Finest first: a coarser level changes only with a finer one.
            std::sort(levels_.begin(), levels_.end(), std::greater<>());
        } else {
            const int chars = s.request.level_chars >= 0 ? s.request.level_chars : s.m.level_chars;
            if (chars > 0 && EffectiveSort() != MatrixSort::kName)
                levels_.push_back(static_cast<size_t>(chars));
        }
    }

    void One(const MatrixEmployee& e) {
        s_.watch->Employee(e.number);
        Payslip(e);
    }

    MatrixPrinted Run() {
        MatrixPrinted done;
        const auto& employees = s_.employees;
        const size_t n = levels_.size();
        std::vector<Totals> level(n);
        for (Totals& t : level) t.Reset(s_.m.cells.size(), s_.symbols.size());
        Totals all;
        all.Reset(s_.m.cells.size(), s_.symbols.size());
        std::vector<std::string> current(n);
        // The levels from the finest up to `upto` totalled and begun anew.
        auto close = [&](size_t upto) {
            for (size_t k = 0; k <= upto && k < n; ++k) {
                const std::string label = Label(k, current[k]);
                if (!label.empty() && !TotalBlock(label, level[k], &done)) return false;
                level[k].Reset(s_.m.cells.size(), s_.symbols.size());
            }
            return true;
        };
        int lp = 0;
        for (const MatrixEmployee& e : employees) {
            if (s_.watch->Interrupted()) {
                done.interrupted = true;
                return done;
            }
            s_.watch->Employee(e.number);
            if (!payslips_ && lp > 0) {
                // The coarsest level whose prefix changed closes every finer one.
                for (size_t k = n; k-- > 0;)
                    if (e.key.substr(0, levels_[k]) != current[k]) {
                        if (!close(k)) return done;
                        break;
                    }
            }
            for (size_t k = 0; k < n; ++k) current[k] = e.key.substr(0, levels_[k]);
            ++lp;
            if (payslips_)
                Payslip(e);
            else if (!s_.request.totals_only)
                Block(e, lp);
            for (Totals& t : level) t.Add(e);
            all.Add(e);
            done.numbers.push_back(e.number);
            ++done.employees;
        }
        if (!payslips_) {
            if (lp > 0 && n > 0 && !close(n - 1)) return done;
            if (!TotalBlock(s_.rt.Text("RAZEM:"), all, &done)) return done;
        }
        return done;
    }

  private:
    MatrixSort EffectiveSort() const {
        if (s_.request.sort != MatrixSort::kMatrix) return s_.request.sort;
        return s_.m.sort == 2 ? MatrixSort::kName : MatrixSort::kOwnKey;
    }

    // SUMA_ totals the numeric columns only.
    static bool Totalled(const MatrixCell& c) { return c.total && c.type == 'N'; }

    std::string Label(size_t level, const std::string& prefix) const {
        if (s_.request.level_label) return s_.request.level_label(level, prefix);
        return level_name_ + " " + base::Trim(prefix) + ":";
    }

    void Line(int col, const std::string& text) { out_.Say(row_, col, text); }

    void NewPage() {
        if (page_ > 0) out_.Eject();
        ++page_;
        rule_row_ = -2;
        const common::Configuration& c = s_.rt.config();
        if (wide_)
            printing::Qrmnagl(s_.rt, out_, page_, s_.m.title);
        else
            printing::Qrmnagl2(s_.rt, out_, page_, s_.m.title);
        row_ = out_.row() + 1;
        if (!s_.request.subtitle.empty()) Line(0, s_.request.subtitle);
        row_ += 2;
        if (wide_) out_.Control(c.Text("YPR17"));
        Headings();
    }

    // The headings of the block's rows, with "Lp." on the first, and a rule.
    void Headings() {
        for (int r = 1; r <= rows_; ++r, ++row_) {
            if (r == 1 && !s_.request.totals_only) Line(0, "Lp.");
            for (size_t i = 0; i < s_.m.cells.size(); ++i)
                if (s_.m.cells[i].row == r)
                    Line(columns_[i], Fit(s_.m.cells[i].heading, s_.m.cells[i].width));
        }
        Rule();
    }

    // A rule, one only where one was just drawn.
    void Rule() {
        if (rule_row_ == row_ - 1) return;
        Line(0, std::string(static_cast<size_t>(width_), '-'));
        rule_row_ = row_++;
    }

    void Need(int rows) {
        if (page_ == 0 || row_ + rows > kPageRows) NewPage();
    }

    void Block(const MatrixEmployee& e, int lp) {
        Need(rows_);
        char n[16];
        std::snprintf(n, sizeof n, "%4d", lp);
        for (int r = 1; r <= rows_; ++r, ++row_) {
            if (r == 1) Line(0, n);
            for (size_t i = 0; i < s_.m.cells.size(); ++i)
                if (s_.m.cells[i].row == r) Line(columns_[i], CellText(e.cells[i], s_.m.cells[i]));
        }
    }

    // A total line: the label, then the rows holding a total cell.
    bool TotalBlock(const std::string& label, const Totals& t, MatrixPrinted* done) {
        std::vector<Value> values(s_.m.cells.size());
        for (size_t i = 0; i < s_.m.cells.size(); ++i) {
            const MatrixCell& c = s_.m.cells[i];
            if (!Totalled(c)) continue;
            if (by_formula_ && c.total_by_formula && !s_.cells[i].empty()) {
                // The cell's formula over the level's sums of the components.
                s_.host->LoadEmpty();
                for (size_t k = 0; k < s_.symbols.size(); ++k)
                    s_.host->SetAmount(s_.symbols[k], t.amounts[k]);
                formula::Error error;
                if (!s_.host->engine().Evaluate(s_.cells[i], &values[i], &error)) {
                    done->message = error.Message();
                    return false;
                }
            } else {
                values[i] = Value::Number(t.cells[i], 2);
            }
        }
        int total_rows = 0;
        for (int r = 1; r <= rows_; ++r)
            for (const MatrixCell& c : s_.m.cells)
                if (c.row == r && Totalled(c)) {
                    ++total_rows;
                    break;
                }
        Need(total_rows + 2);
        Rule();
        Line(0, label);
        ++row_;
        for (int r = 1; r <= rows_; ++r) {
            bool any = false;
            for (size_t i = 0; i < s_.m.cells.size(); ++i) {
                const MatrixCell& c = s_.m.cells[i];
                if (c.row != r || !Totalled(c)) continue;
                Line(columns_[i], CellText(values[i], c));
                any = true;
            }
            if (any) ++row_;
        }
        return true;
    }

    // One payslip: the company, the title, the employee, then each row of
    // the block as headings over values, and a line to cut along.
    void Payslip(const MatrixEmployee& e) {
        const int height = 4 + 2 * rows_ + 2;
        if (page_ == 0) {
            page_ = 1;
            row_ = 0;
            out_.Control(s_.rt.config().Text("YPR10"));
        } else if (row_ + height > kPageRows) {
            out_.Eject();
            ++page_;
            row_ = 0;
        }
        if (wide_) out_.Control(s_.rt.config().Text("YPR17"));
        Line(0, base::Trim(s_.rt.config().Text("NAGL1")));
        ++row_;
        Line(0, s_.m.title);
        ++row_;
        if (!s_.request.subtitle.empty()) {
            Line(0, s_.request.subtitle);
        }
        ++row_;
        Line(0, s_.rt.Text("Pracownik: ") + e.number + " " + e.name);
        ++row_;
        for (int r = 1; r <= rows_; ++r) {
            bool headed = false;
            for (size_t i = 0; i < s_.m.cells.size(); ++i)
                if (s_.m.cells[i].row == r && !s_.m.cells[i].heading.empty()) {
                    Line(columns_[i], Fit(s_.m.cells[i].heading, s_.m.cells[i].width));
                    headed = true;
                }
            if (headed) ++row_;
            for (size_t i = 0; i < s_.m.cells.size(); ++i)
                if (s_.m.cells[i].row == r) Line(columns_[i], CellText(e.cells[i], s_.m.cells[i]));
            ++row_;
        }
        Line(0, std::string(static_cast<size_t>(std::max(width_, 60)), '-'));
        row_ += 2;
        if (wide_) out_.Control(s_.rt.config().Text("YPR10"));
    }

    MatrixRun::State& s_;
    printing::PrintOutput& out_;
    bool payslips_ = false;
    bool wide_ = false;
    bool by_formula_ = false;
    std::vector<size_t> levels_;  // characters of the key per summing level, finest first
    std::string level_name_;
    int lead_ = 0;
    int width_ = 0;
    int rows_ = 0;
    std::vector<int> columns_;
    int page_ = 0;
    int row_ = 0;
    int rule_row_ = -2;  // the row of the last rule of the page
};

}  // namespace

MatrixPrinted MatrixRun::Print(printing::PrintOutput& out) {
    return Printer(*state_, out).Run();
}

void MatrixRun::PrintPayslip(size_t index, printing::PrintOutput& out) {
    if (index >= state_->employees.size()) return;
    Printer(*state_, out).One(state_->employees[index]);
}

}  // namespace kestrel::payroll
