// What the payroll printouts of menu 4.8 share on the screen: the observer
// of a matrix printout (a formula's error shown, Esc after it stopping the
// printout; the interrupt question between employees) and the check of a
// year and month typed for a printout.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "payroll/printouts/data/matrix_print.h"

namespace kestrel::payroll {

class PrintWatch : public MatrixObserver {
  public:
    explicit PrintWatch(common::Runtime& rt) : rt_(rt) {}
    /// Shows the message; the printout goes on unless it was left with Esc.
    bool FunctionError(const std::string& message) override;
    /// "Przerwać wydruk?" when a key waits.
    bool Interrupted() override;

  private:
    common::Runtime& rt_;
};

/// Year 1990-2099 and month 1-12; otherwise "Błędny miesiąc" and false.
bool ValidMonth(common::Runtime& rt, double year, double month);

}  // namespace kestrel::payroll
