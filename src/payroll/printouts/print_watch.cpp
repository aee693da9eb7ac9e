#include "payroll/printouts/print_watch.h"

#include "common/screen/messages.h"
#include "platform/console/keys.h"
#include "printing/spool_interrupt.h"

namespace kestrel::payroll {

bool PrintWatch::FunctionError(const std::string& message) {
    common::ShowMessage(rt_, message);
    return rt_.console().LastKey() != console::key::kEsc;
}

bool PrintWatch::Interrupted() {
    return printing::PrintInterrupted(rt_);
}

bool ValidMonth(common::Runtime& rt, double year, double month) {
    if (year >= 1990 && year <= 2099 && month >= 1 && month <= 12) return true;
    common::ShowMessage(rt, rt.Text("Błędny miesiąc"));
    return false;
}

}  // namespace kestrel::payroll
