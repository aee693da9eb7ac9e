#include "register/territory_pick.h"

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/messages.h"
#include "common/tables/index_functions.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kTop = 8, kLeft = 29, kBottom = 22, kRight = 79;

std::string Key(common::Runtime& rt, std::string_view name) {
    return common::SortKey3(rt.letters(), common::UpperPolish(rt.letters(), name));
}

}  // namespace

bool PickTerritory(common::Runtime& rt, const std::vector<TerritoryRow>& rows,
                   std::string_view typed) {
    if (rows.empty()) {
        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
        return false;
    }
    const std::string wanted = base::TrimRight(typed);
    int current = 1;
    if (!wanted.empty()) {
        const std::string sought = Key(rt, wanted);
        while (current < static_cast<int>(rows.size()) &&
               Key(rt, rows[static_cast<size_t>(current - 1)].name) < sought)
            ++current;
    }

    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    common::HotKeysAside keys(rt, {key::F(3), key::F(11)});
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(kTop, kLeft, kBottom, kRight, plain);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ", plain);
    common::WriteLegend(rt, kTop + 1, kLeft + 6, "<Esc>-Wyjście");
    common::WriteLegend(rt, kTop + 1, kLeft + 29, "<Enter>-Akceptacja");

    auto at = [&]() -> const TerritoryRow& { return rows[static_cast<size_t>(current - 1)]; };
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("NAZWA"), 29, [&] { return at().name; }},
        {rt.Text("KOD"), 7, [&] { return at().code; }},
    };
    bool picked = false;
    common::BrowseList(
        rt, kTop + 3, kLeft + 1, kBottom - 1, kRight - 1, std::move(columns),
        [&](int mode, int, common::Browse&) {
            if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
            switch (rt.console().LastKey()) {
                case key::kEsc:
                    return common::kBrowseClose;
                case key::kEnter:
                    picked = true;
                    return common::kBrowseClose;
                default:
                    return common::kBrowseRedrawRow;
            }
        },
        &current, static_cast<int>(rows.size()));
    s.Restore(under);
    if (picked) common::TypeIntoField(rt, at().name);
    return picked;
}

}  // namespace kestrel::registry
