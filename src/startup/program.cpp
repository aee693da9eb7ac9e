#include "startup/program.h"

#include "common/abandon.h"
#include "common/config_watch.h"
#include "common/menu.h"
#include "common/messages.h"
#include "common/question.h"
#include "platform/console/keys.h"
#include "startup/main_menu.h"
#include "startup/main_screen.h"

namespace kestrel::startup {
namespace {

namespace key = console::key;

// The company's short name until the configuration is read.
const char* const kUnknownShortName = "     ??????????     ";

struct LoopState {
    bool colour = true;         // NAGLKLR
    bool switch_colour = false; // NAGLSWCLR: F1 pressed in the main menu
    int choice = 1;
};

void ApplyColours(common::Runtime& rt, const LoopState& state) {
    rt.set_colours(state.colour ? common::kColourSet : common::kMonochromeSet);
    rt.console().SetColour(rt.colours().ycow);
}

void StartClock(common::Runtime& rt) {
    rt.console().SetIdle([&rt, shown = rt.clock().Now()]() mutable {
        base::LocalTime t = rt.clock().Now();
        if (t.minute == shown.minute && t.hour == shown.hour) return;
        shown = t;
        DrawClock(rt.console(), rt.colours(), t);
        rt.console().Refresh();
    });
}

// One pass of the main loop inside its recoverable block; returns true when
// the operator confirmed the end of the program.
bool MainMenuPass(common::Runtime& rt, LoopState& state, common::ConfigWatch& watch) {
    auto& con = rt.console();
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    con.screen().SetCursorShape(console::CursorShape::kUnderline);
    rt.SetReadOnly(false);
    rt.set_restart_requested(false);
    state.switch_colour = false;
    s.Clear(4, 1, 21, 77, normal);
    DrawMainLegends(con, rt.colours(), true);
    con.keyboard().Bind(key::F(1), [&] {  // QRMKBF1
        state.switch_colour = true;
        con.keyboard().Stuff({key::kEsc});
    });

    std::vector<common::MenuEntry> entries = MainMenuEntries(rt, false);
    try {
        common::Menu2(rt, entries, &state.choice, [&] { return !watch.Check(rt); });
    } catch (...) {
        con.keyboard().Unbind(key::F(1));
        throw;
    }
    con.keyboard().Unbind(key::F(1));
    con.keyboard().Unbind(key::Alt('U'));

    if (state.choice == 1) {
        if (state.switch_colour) {
            state.colour = !state.colour;
            return false;
        }
        s.Clear(4, 1, 21, 77, normal);
        return common::IsYes(common::Question(rt, rt.Text("Koniec programu?"), "tn", 'n'));
    }
    if (const SubsystemMenu& menu = SubsystemFor(state.choice)) menu(rt);
    return false;
}

}  // namespace

int RunProgram(common::Runtime& rt) {
    LoopState state;
    state.colour = rt.console().has_colour();
    common::ConfigWatch watch(rt.data_dir() + "QRM.MEM");
    watch.Check(rt);
    StartClock(rt);
    for (;;) {
        ApplyColours(rt, state);
        DrawMainScreen(rt.console(), rt.colours(), kUnknownShortName, rt.clock().Now());
        bool quit = false;
        try {
            quit = MainMenuPass(rt, state, watch);
        } catch (const common::Abandon& a) {
            if (*a.message()) common::ShowMessage(rt, a.message());
        }
        if (quit) break;
    }
    rt.console().SetIdle(nullptr);
    rt.console().SetColour("W/N");
    rt.screen().Clear(0, 0, console::kRows - 1, console::kCols - 1, rt.console().colour().standard);
    rt.console().Refresh();
    return 0;
}

}  // namespace kestrel::startup
