#include "payroll/printouts/data/control_list.h"

#include <cstdio>
#include <map>

#include "payroll/data/payroll_month.h"
#include "payroll/data/positions.h"
#include "platform/base/text.h"
#include "printing/data/headers.h"

namespace kestrel::payroll {
namespace {

// Columns of the amounts: auxiliary, pay, deductions.
constexpr int kAuxCol = 41, kPayCol = 54, kDeductionCol = 67;

struct Totals {
    double auxiliary = 0, pay = 0, deduction = 0, net = 0;
};

class Printer {
  public:
    Printer(common::Runtime& rt, const PayrollList& list, printing::PrintOutput& out)
        : rt_(rt), out_(out), title_(rt.Text("Kontrolny wydruk listy płac ") + ListCaption(list)) {}

    void Employee(const ControlEmployee& e);
    void End(const Totals& t, int employees);

  private:
    void Page();
    void Room(int rows);
    void Amounts(double auxiliary, double pay, double deduction);

    common::Runtime& rt_;
    printing::PrintOutput& out_;
    std::string title_;
    int page_ = 0;
    int row_ = 0;
};

void Printer::Page() {
    if (page_ > 0) out_.Eject();
    ++page_;
    printing::Qrmnagl2(rt_, out_, page_, title_);
    row_ = out_.row() + 2;
    out_.Say(row_++, 0, rt_.Text("  Lp Nr prac. Nazwisko i imię"));
    out_.Say(row_++, 0,
             rt_.Text("      Skł. Nazwa składnika                  Pomocnicze        Płaca   "
                      "Potrącenia"));
    out_.Say(row_++, 0, std::string(79, '-'));
}

void Printer::Room(int rows) {
    if (page_ == 0 || row_ + rows > kPrintoutPageRows) Page();
}

void Printer::Amounts(double auxiliary, double pay, double deduction) {
    out_.Say(row_, kAuxCol, Amount(auxiliary, true));
    out_.Say(row_, kPayCol, Amount(pay, true));
    out_.Say(row_, kDeductionCol, Amount(deduction, true));
}

void Printer::Employee(const ControlEmployee& e) {
    Room(static_cast<int>(e.lines.size()) + 3);
    char head[24];
    std::snprintf(head, sizeof head, "%4d %-6s  ", e.lp, e.number.c_str());
    out_.Say(row_++, 0, head + e.name);
    for (const ControlLine& l : e.lines) {
        out_.Say(row_, 6, Fit(l.symbol, 4) + " " + Fit(l.name, 30));
        Amounts(l.auxiliary, l.pay, l.deduction);
        ++row_;
    }
    out_.Say(row_, kPayCol - 13, rt_.Text("Do wypłaty:"));
    out_.Say(row_++, kDeductionCol, Amount(e.net));
    ++row_;
}

void Printer::End(const Totals& t, int employees) {
    Room(4);
    out_.Say(row_++, 0, std::string(79, '='));
    out_.Say(row_, 0, rt_.Text("Razem lista, pracowników: ") + std::to_string(employees));
    Amounts(t.auxiliary, t.pay, t.deduction);
    ++row_;
    out_.Say(row_, kPayCol - 13, rt_.Text("Do wypłaty:"));
    out_.Say(row_++, kDeductionCol, Amount(t.net));
    out_.NewLine();
}

}  // namespace

std::vector<ControlEmployee> ControlListOf(common::Runtime& rt, common::Tables& tables,
                                           const PayrollList& list) {
    std::map<std::string, std::string> names;  // symbol -> name
    for (const Component& c : ReadComponents(tables))
        names[base::TrimRight(c.symbol)] = base::Trim(c.name);
    Positions positions(rt, tables);
    EmployeeNames employees(tables);
    std::vector<ControlEmployee> out;
    std::vector<Position> of_employee;
    auto flush = [&] {
        if (of_employee.empty()) return;
        ControlEmployee e;
        e.lp = static_cast<int>(out.size()) + 1;
        e.number = of_employee.front().employee;
        e.name = employees.Of(e.number);
        for (const Position& p : of_employee) {
            ControlLine l;
            l.symbol = base::TrimRight(p.symbol);
            l.name = names[l.symbol];
            (p.off_list ? l.auxiliary : p.deduction ? l.deduction : l.pay) = p.amount;
            e.lines.push_back(l);
        }
        e.net = PayableTotal(of_employee);
        out.push_back(std::move(e));
        of_employee.clear();
    };
    for (const Position& p : positions.OfList(list)) {
        if (!of_employee.empty() && of_employee.front().employee != p.employee) flush();
        of_employee.push_back(p);
    }
    flush();
    return out;
}

ControlListEnd PrintControlList(common::Runtime& rt, common::Tables& tables,
                                const PayrollList& list, printing::PrintOutput& out,
                                const PrintStop& stop) {
    ControlListEnd end;
    const std::vector<ControlEmployee> employees = ControlListOf(rt, tables, list);
    out.Control(rt.config().Text("YPRRS"));
    Printer printer(rt, list, out);
    Totals t;
    for (const ControlEmployee& e : employees) {
        if (stop && stop()) {
            end.interrupted = true;
            break;
        }
        printer.Employee(e);
        for (const ControlLine& l : e.lines) {
            t.auxiliary += l.auxiliary;
            t.pay += l.pay;
            t.deduction += l.deduction;
        }
        t.net += e.net;
        ++end.employees;
    }
    printer.End(t, end.employees);
    return end;
}

}  // namespace kestrel::payroll
