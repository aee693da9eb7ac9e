#include "worktime/browse_search.h"

#include <algorithm>

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
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

}  // namespace kestrel::worktime
