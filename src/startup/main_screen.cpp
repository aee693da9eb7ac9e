#include "startup/main_screen.h"

#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/colour.h"

namespace kestrel::startup {
namespace {

using console::Attr;

Attr Standard(const char* spec) {
    return console::ParseColourSpec(spec)->standard;
}

using base::Trim;

std::string Centre(const std::string& s, size_t width) {
    if (s.size() >= width) return s.substr(0, width);
    size_t left = (width - s.size()) / 2;
    return std::string(left, ' ') + s + std::string(width - s.size() - left, ' ');
}

// Legend "<Key>-Text" with the key name emphasised.
void Legend(console::Console& con, int row, int col, const std::string& key,
            const std::string& text, Attr normal, Attr emphasis) {
    auto& s = con.screen();
    col = s.Write(row, col, "<", normal);
    col = s.Write(row, col, key, emphasis);
    s.Write(row, col, ">-" + text, normal);
}

}  // namespace

std::string FormatShortName(const std::string& short_name) {
    std::string name = Trim(short_name);
    if (name.size() <= 10) {
        std::string spaced;
        for (size_t i = 0; i < name.size(); ++i) {
            if (i) spaced += ' ';
            spaced += name[i];
        }
        name = spaced;
    }
    return Centre(name, 20);
}

void DrawMainScreen(common::Runtime& rt, const std::string& short_name) {
    const common::ColourSet& colours = rt.colours();
    const base::LocalTime now = rt.clock().Now();
    auto& s = rt.screen();
    const Attr frame = Standard(colours.ycow);
    const Attr emphasis = Standard(colours.ycowp);
    s.Clear(0, 0, console::kRows - 1, console::kCols - 1, frame);
    s.Box(1, 0, 24, 78, console::kFrameDouble, frame);
    s.Box(1, 0, 3, 21, "\xC9\xCD\xCB\xBA\xCA\xCD\xCC\xBA", frame);    // ╔═╦║╩═╠║
    s.Box(1, 57, 3, 78, "\xCB\xCD\xBB\xBA\xB9\xCD\xCA\xBA", frame);   // ╦═╗║╣═╩║
    s.Repeat(3, 22, 0xCD, 35, frame);                                 // ═
    s.Box(22, 0, 24, 39, "\xBA\xC4\xC2\xB3\xCD\xCD\xC8\xBA", frame);  // ║─┬│══╚║
    s.Repeat(22, 40, 0xC4, 38, frame);                                // ─
    s.Write(2, 1, short_name.substr(0, 20), emphasis);
    s.Write(2, 25, rt.Text("System Kadrowo-Płacowy KESTREL"), emphasis);
    s.Write(2, 59, now.DateText(), frame);
    DrawClock(rt.console(), colours, now);
}

void DrawClock(console::Console& con, const common::ColourSet& colours,
               const base::LocalTime& now) {
    con.screen().Write(2, 71, now.TimeText(), Standard(colours.ycow));
}

void DrawMainLegends(common::Runtime& rt, bool colour_switch) {
    console::Console& con = rt.console();
    const common::ColourSet& colours = rt.colours();
    const Attr normal = Standard(colours.ycow);
    const Attr emphasis = Standard(colours.ycowp);
    auto& s = con.screen();
    // "<Alt+U>-Użytkownik": both "Alt" and "U" emphasised.
    int col = s.Write(21, 1, "<", normal);
    col = s.Write(21, col, "Alt", emphasis);
    col = s.Write(21, col, "+", normal);
    col = s.Write(21, col, "U", emphasis);
    s.Write(21, col, rt.Text(">-Użytkownik"), normal);
    if (colour_switch) {
        const Attr inverse = Standard(colours.ycoi);
        Legend(con, 21, 63, "F1", "Kolor/Mono", inverse, inverse);
    }
}

}  // namespace kestrel::startup
