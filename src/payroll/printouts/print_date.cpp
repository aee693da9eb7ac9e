#include "payroll/printouts/print_date.h"

#include "common/screen/form.h"

namespace kestrel::payroll {

bool AskPrintDate(common::Runtime& rt, int row, int col) {
    const base::LocalTime& now = rt.working_date();
    picture::Date date{now.year, now.month, now.day};
    const std::string label = rt.Text("Data wydruku:");
    rt.screen().Write(row, col, label, rt.Standard(rt.colours().ycow));
    common::Form form(rt);
    form.Get(row, col + static_cast<int>(label.size()) + 1, &date);
    if (!common::Qrmrdr(rt, form).saved() || date.empty()) return false;
    base::LocalTime chosen = now;
    chosen.year = date.year;
    chosen.month = date.month;
    chosen.day = date.day;
    rt.set_working_date(chosen);
    return true;
}

}  // namespace kestrel::payroll
