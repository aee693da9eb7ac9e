#include "register/number_entry.h"

#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"

namespace kestrel::registry {

namespace key = console::key;

std::string AskEmployeeNumber(common::Runtime& rt, common::Tables& tables) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kNumberRow, 1, 22, 77, plain);
    s.Write(kNumberRow, 9, rt.Text("   Nr pracownika:"), plain);
    common::WriteLegend(rt, 21, 1, "<F3>-Kartoteka pracowników");
    common::WriteLegend(rt, 21, 40, "<F10>-Koniec");

    std::string typed(6, ' ');
    std::string number;
    bool end = false;
    common::Form form(rt);
    form.Get(kNumberRow, 27, &typed, "999999").Valid([&] {
        if (NormaliseNumber(typed, &number)) {
            typed = number;
            return true;
        }
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    });
    auto& kb = rt.console().keyboard();
    common::ReadResult r;
    {
        common::HotKeysAside aside(rt, {key::F(3), key::F(10)});
        kb.Bind(key::F(3), [&] { common::PickEmployee(rt, tables, form.Typed()); });
        kb.Bind(key::F(10), [&] {
            end = true;
            kb.Push(key::kEsc);
        });
        r = common::Qrmrdr(rt, form);
    }
    s.Clear(21, 1, 21, 77, plain);
    if (end || !r.saved()) return {};
    return number;
}

void PageHeader(common::Runtime& rt, std::string_view title, size_t page, size_t count) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(5, 1, 5, 77, plain);
    s.Write(5, 22, rt.Text(title), plain);
    const char* hint = count <= 1          ? ""
                       : page == 0         ? "<PageDown>"
                       : page + 1 == count ? "<PageUp>"
                                           : "<PageUp/PageDown>";
    s.Write(5, 1, hint, rt.Standard(rt.colours().ycowp));
    s.Write(5, 69, rt.Text("Strona: " + std::to_string(page + 1)), plain);
}

bool ShowEmployee(PageContext& ctx, const EmployeeRecord& employee, std::string_view title) {
    const std::vector<Page> pages = PagesOf(employee.kind(), ctx.short_card);
    size_t i = 0;
    while (i < pages.size()) {
        PageHeader(ctx.rt, title, i, pages.size());
        switch (ShowPage(ctx, pages[i], employee)) {
            case PageExit::kEscape:
                return false;
            case PageExit::kPrevious:
                if (i > 0) --i;
                break;
            default:
                ++i;
                break;
        }
    }
    return true;
}

}  // namespace kestrel::registry
