#include "payroll/piecework_screen.h"

#include <cstdio>

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/piecework.h"
#include "payroll/open_list_pick.h"

namespace kestrel::payroll {
namespace {

constexpr unsigned kRightsPayroll = 4;
constexpr int kListRow = 7, kCountRow = 10, kCountCol = 24;

void ShowCounts(common::Runtime& rt, const PieceworkCounts& n) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    const int values[] = {n.created, n.rewritten, n.deleted};
    const char* labels[] = {"Rekordy utworzone:", "Rekordy przepisane:", "Rekordy skasowane:"};
    for (int i = 0; i < 3; ++i) {
        char t[16];
        std::snprintf(t, sizeof t, "%6d", values[i]);
        s.Write(kCountRow + i, 2, rt.Text(labels[i]), plain);
        s.Write(kCountRow + i, kCountCol, t, plain);
    }
    rt.console().Refresh();
}

void Run(common::Runtime& rt, common::Tables& tables) {
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    auto& s = rt.screen();
    s.Clear(4, 1, 22, 77, plain);
    s.Write(
        5, 14,
        rt.Text(rt.config().Logical("NAGLAKORD") ? "4.3. Połączenie z systemem rozliczania akordu"
                                                 : "4.3. Przepisanie kwot akordu na listę płac"),
        plain);
    PayrollList list;
    if (!ChooseOpenList(rt, tables, &list)) return;
    s.Write(kListRow, 2, rt.Text("Lista płac: ") + ListCaption(list), plain);
    const PieceworkPlan plan = PlanPiecework(rt, tables, list);
    if (!plan.warning.empty()) common::ShowMessage(rt, plan.warning);
    if (!plan.refusal.empty()) {
        common::ShowMessage(rt, plan.refusal);
        return;
    }
    if (!common::IsYes(common::Question(rt, rt.Text("Przepisać akord na listę płac?"), "tn", 'n')))
        return;
    common::ShowWait(rt);
    ShowCounts(rt, {});
    const PieceworkCounts n =
        TransferPiecework(rt, tables, plan, [&rt](const PieceworkCounts& c) { ShowCounts(rt, c); });
    ShowCounts(rt, n);
    if (!n.error.empty()) common::ShowMessage(rt, n.error);
    common::ShowMessage(rt, rt.Text("Koniec procedury"), false);
}

}  // namespace

void Qrm43(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsPayroll)) return;
    common::Tables tables(rt);
    Run(rt, tables);
}

}  // namespace kestrel::payroll
