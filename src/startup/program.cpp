#include "startup/program.h"

#include "platform/console/keys.h"
#include "startup/main_screen.h"

namespace kestrel::startup {

int RunProgram(common::Runtime& rt) {
    console::Console& con = rt.console();
    bool colour = con.has_colour();
    // The company's configuration is not read yet: its short name is unknown.
    const std::string short_name = "     ??????????     ";
    for (;;) {
        rt.set_colours(colour ? common::kColourSet : common::kMonochromeSet);
        const common::ColourSet& set = rt.colours();
        con.SetColour(set.ycow);
        base::LocalTime now = rt.clock().Now();
        DrawMainScreen(con, set, short_name, now);
        DrawMainLegends(con, set, true);
        con.screen().SetCursor(23, 1);
        con.SetIdle([&con, &rt, &set, shown = now]() mutable {
            base::LocalTime t = rt.clock().Now();
            if (t.minute == shown.minute && t.hour == shown.hour) return;
            shown = t;
            DrawClock(con, set, t);
            con.Refresh();
        });
        bool switch_colours = false;
        while (!switch_colours) {
            rt.ResetWorkingDate();
            int k = con.WaitKey();
            if (k == console::key::kEsc) {
                con.SetIdle(nullptr);
                return 0;
            }
            if (k == console::key::F(1)) switch_colours = true;
        }
        colour = !colour;
    }
}

}  // namespace kestrel::startup
