// The analysis of one algorithmic component for one employee (4.4, F12):
// its formula evaluated over the amounts the employee has on the list now.
//
// The employee is loaded as the recalculation loads him (payroll_host.h),
// and the stored amounts of this list's algorithmic positions stand in for
// the values a run would compute before the component, so the value shown
// is the one the formula gives over the list as it stands.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables/table_layer.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/payroll_records.h"
#include "payroll/data/positions.h"

namespace kestrel::payroll {

class ComponentAnalysis {
  public:
    /// Over open list `list`; nothing is prepared before the first use.
    ComponentAnalysis(common::Runtime& rt, common::Tables& tables, const PayrollList& list);

    /// Prepares the formula host once (the namespace, the user functions)
    /// and returns its messages; later calls return nothing.
    std::vector<std::string> Prepare();

    /// Whether component `c` (nullptr: no such symbol) can be analysed for
    /// an employee with `positions` on the list: "" when it can, else "Brak
    /// składnika o takim symbolu", "Składnik nie jest algorytmiczny" (not of
    /// kind "A") or "Zablokowany składnik algorytmiczny" (its position is
    /// blocked). CP852.
    std::string Refusal(const Component* c, const std::vector<Position>& positions) const;

    /// The component analysable after (`direction` 1) or before (-1) `from`
    /// in calculation order, skipping those Refusal() refuses and those
    /// `wanted` rejects; nullptr when there is none.
    const Component* Step(const Component& from, int direction,
                          const std::vector<Position>& positions,
                          const std::function<bool(const Component&)>& wanted);

    /// The value of component `c`'s formula for employee `number` with
    /// `positions` (his positions on the list), rounded as the run rounds
    /// it; false with the error. Prepare() first.
    bool Evaluate(std::string_view number, const Component& c,
                  const std::vector<Position>& positions, double* value, formula::Error* error);

    PayrollHost& host() { return host_; }

  private:
    common::Runtime& rt_;
    PayrollList list_;
    PayrollHost host_;
    bool prepared_ = false;
};

}  // namespace kestrel::payroll
