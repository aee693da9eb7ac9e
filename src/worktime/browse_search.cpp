#include "worktime/browse_search.h"

#include <algorithm>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"

namespace kestrel::worktime {

namespace key = console::key;

std::string Cut(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

bool AskEmployee(common::Runtime& rt, common::Tables& tables, int row, console::Attr attr,
                 std::string* number) {
    auto& s = rt.screen();
    std::string typed(6, ' ');
    s.Write(row, 2, rt.Text("Pracownik:"), attr);
    common::Form form(rt);
    form.Get(row, 13, &typed, "999999");
    common::ReadResult r;
    {
        auto& kb = rt.console().keyboard();
        common::HotKeysAside aside(rt, {key::F(3)});
        kb.Bind(key::F(3), [&] { common::PickEmployee(rt, tables, form.Typed()); });
        r = common::Qrmrdr(rt, form);
    }
    s.Clear(row, 1, row, 77, attr);
    return r.saved() && registry::NormaliseNumber(typed, number);
}

void BrowseByEmployee(common::Runtime& rt, common::Tables& tables, int top, int bottom,
                      int search_row, console::Attr attr, std::vector<common::BrowseColumn> columns,
                      size_t count, const std::function<size_t(const std::string&)>& first_from,
                      int* current) {
    common::BrowseList(
        rt, top, 1, bottom, 77, std::move(columns),
        [&](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return static_cast<int>(common::kBrowseRedrawRow);
            const int k = rt.console().LastKey();
            if (k == console::key::kEsc) return static_cast<int>(common::kBrowseClose);
            if (k != console::key::F(2)) return static_cast<int>(common::kBrowseRedrawRow);
            std::string number;
            if (!AskEmployee(rt, tables, search_row, attr, &number))
                return static_cast<int>(common::kBrowseRedrawRow);
            const size_t at = first_from(number);
            if (at >= count) {
                common::ShowMessage(rt, rt.Text("Brak takiego klucza"));
                return static_cast<int>(common::kBrowseRedrawRow);
            }
            *current = static_cast<int>(at) + 1;
            return static_cast<int>(common::kBrowseRedrawAll);
        },
        current, static_cast<int>(count));
}

}  // namespace kestrel::worktime
