#include "worktime/calendar_grid.h"

#include <algorithm>
#include <cstdio>

#include "platform/console/keys.h"

namespace kestrel::worktime {
namespace {

namespace key = console::key;

constexpr const char* kMonthNames[] = {"Sty", "Lut", "Mar", "Kwi", "Maj", "Cze",
                                       "Lip", "Sie", "Wrz", "Paź", "Lis", "Gru"};

console::Attr DayAttr(common::Runtime& rt) {
    return rt.Standard(rt.colours().ycoi);
}

}  // namespace

GridCursor MoveCursor(GridCursor c, int k, int year) {
    const int length = CalendarMonthLength(year, c.month);
    switch (k) {
        case key::kLeft:
            if (c.day > 1) --c.day;
            break;
        case key::kRight:
            if (c.day < length) ++c.day;
            break;
        case key::kUp:
        case key::kDown: {
            const int month = c.month + (k == key::kUp ? -1 : 1);
            if (month < 1 || month > 12) break;
            c.month = month;
            c.day = std::min(c.day, CalendarMonthLength(year, month));
            break;
        }
        case key::kHome:
            c.day = 1;
            break;
        case key::kEnd:
            c.day = length;
            break;
        case key::kCtrlHome:
            c = {1, 1};
            break;
        case key::kCtrlEnd:
            c = {12, 31};
            break;
        default:
            break;
    }
    return c;
}

GridCursor NextDay(GridCursor c, int year) {
    if (c.day < CalendarMonthLength(year, c.month)) return {c.month, c.day + 1};
    return {c.month == 12 ? 1 : c.month + 1, 1};
}

void DrawGrid(common::Runtime& rt, const Calendar& cal) {
    auto& s = rt.screen();
    const console::Attr plain = rt.Standard(rt.colours().ycow);
    s.Clear(8, 1, 21, 77, plain);
    for (int day = 1; day <= 31; ++day) {
        if (day >= 10)
            s.Write(8, GridCol(day), std::string(1, static_cast<char>('0' + day / 10)), plain);
        s.Write(9, GridCol(day), std::string(1, static_cast<char>('0' + day % 10)), plain);
    }
    s.Write(8, 72, "Dni", plain);
    s.Write(9, 71, "pracy", plain);
    for (int m = 1; m <= 12; ++m) {
        s.Write(GridRow(m), 2, rt.Text(kMonthNames[m - 1]), plain);
        DrawMonth(rt, cal, m);
    }
}

void DrawMonth(common::Runtime& rt, const Calendar& cal, int month) {
    auto& s = rt.screen();
    const int row = GridRow(month);
    const std::string& codes = cal.months[static_cast<size_t>(month - 1)];
    for (int day = 1; day <= static_cast<int>(codes.size()); ++day)
        s.Write(row, GridCol(day), std::string(1, codes[static_cast<size_t>(day - 1)]),
                DayAttr(rt));
    if (month == 2 && codes.size() == 28)
        s.Write(row, GridCol(29), "-", rt.Standard(rt.colours().ycow));
    char count[8];
    std::snprintf(count, sizeof count, "%2d", WorkingDays(codes));
    s.Write(row, kWorkingDaysCol, count, rt.Standard(rt.colours().ycowp));
}

void DrawCursor(common::Runtime& rt, const Calendar& cal, GridCursor c, bool on) {
    auto& s = rt.screen();
    const int row = GridRow(c.month), col = GridCol(c.day);
    const char code = cal.Day(c.month, c.day);
    s.Write(row, col, std::string(1, code == 0 ? ' ' : code),
            on ? rt.Enhanced(rt.colours().ycow) : DayAttr(rt));
    if (on) s.SetCursor(row, col);
}

}  // namespace kestrel::worktime
