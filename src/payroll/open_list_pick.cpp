#include "payroll/open_list_pick.h"

#include <algorithm>

#include "common/screen/choice.h"
#include "common/screen/messages.h"
#include "payroll/data/payroll_month.h"

namespace kestrel::payroll {

bool ChooseOpenList(common::Runtime& rt, common::Tables& tables, PayrollList* out) {
    const OpenLists open = FindOpenLists(rt, tables);
    if (!open.refusal.empty()) {
        common::ShowMessage(rt, open.refusal);
        return false;
    }
    if (open.lists.size() == 1) {
        *out = open.lists.front();
        return true;
    }
    std::vector<std::string> texts;
    for (const PayrollList& l : open.lists) texts.push_back(" " + ListCaption(l));
    auto& s = rt.screen();
    const int rows = std::min<int>(static_cast<int>(texts.size()), 10);
    const int top = 8, left = 24, bottom = top + rows + 2, right = 58;
    const console::ScreenRegion saved = s.Save(top, left, bottom, right);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top + 1, left + 2, rt.Text("Aktywne listy płac:"), frame);
    const int chosen = common::Qrmach(rt, top + 2, left + 1, bottom - 1, right - 1, texts);
    s.Restore(saved);
    if (chosen <= 0) return false;
    *out = open.lists[static_cast<size_t>(chosen - 1)];
    return true;
}

}  // namespace kestrel::payroll
