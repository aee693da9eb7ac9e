#include "startup/program.h"

#include "platform/console/keys.h"
#include "startup/colour_sets.h"
#include "startup/main_screen.h"

namespace kestrel::startup {

int RunProgram(console::Console& con, const base::Clock& clock) {
    bool colour = con.has_colour();
    // The company's configuration is not read yet: its short name is unknown.
    const std::string short_name = "     ??????????     ";
    for (;;) {
        const ColourSet& set = colour ? kColourSet : kMonochromeSet;
        con.SetColour(set.ycow);
        base::LocalTime now = clock.Now();
        DrawMainScreen(con, set, short_name, now);
        DrawMainLegends(con, set, true);
        con.screen().SetCursor(23, 1);
        con.SetIdle([&con, &clock, &set, shown = now]() mutable {
            base::LocalTime t = clock.Now();
            if (t.minute == shown.minute && t.hour == shown.hour) return;
            shown = t;
            DrawClock(con, set, t);
            con.Refresh();
        });
        bool switch_colours = false;
        while (!switch_colours) {
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
