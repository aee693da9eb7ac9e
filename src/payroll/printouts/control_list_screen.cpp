#include "payroll/printouts/control_list_screen.h"

#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "payroll/data/payroll_month.h"
#include "payroll/open_list_pick.h"
#include "payroll/printouts/data/control_list.h"
#include "payroll/printouts/print_date.h"
#include "printing/spool_interrupt.h"
#include "printing/spool_or_print.h"

namespace kestrel::payroll {

void PrintControl(common::Runtime& rt, common::Tables& tables) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 2, rt.Text("4.8.2. Kontrolny wydruk listy płac"), rt.Standard(rt.colours().ycob));
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    s.Write(6, 2, rt.Text("Lista płac: ") + ListCaption(list), plain);
    if (!AskPrintDate(rt, 8, 2)) return;
    printing::SpoolOrPrint(
        rt, rt.Text("Kontrolny wydruk listy płac"), [&](printing::PrintOutput& out) {
            common::WriteLegend(rt, 21, 2, "<Esc>-Przerwanie");
            (void)PrintControlList(rt, tables, list, out,
                                   [&] { return printing::PrintInterrupted(rt); });
            s.Clear(21, 1, 21, 77, plain);
        });
}

void Qrm482(common::Runtime& rt) {
    common::Tables tables(rt);
    PrintControl(rt, tables);
}

}  // namespace kestrel::payroll
