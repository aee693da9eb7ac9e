#include "worktime/printouts/data/report_text.h"

#include <cstdio>

namespace kestrel::worktime {

std::string Fit(std::string_view text, size_t width) {
    std::string s(text.substr(0, width));
    s.resize(width, ' ');
    return s;
}

std::string Number(double value, int width, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, value);
    return buf;
}

std::string WeekdayName(common::Runtime& rt, int weekday) {
    static const char* const kNames[] = {"niedziela", "poniedziałek", "wtorek", "środa",
                                         "czwartek",  "piątek",       "sobota"};
    if (weekday < 0 || weekday > 6) return "";
    return rt.Text(kNames[weekday]);
}

std::string DayKindName(common::Runtime& rt, char code) {
    switch (code) {
        case ' ':
            return rt.Text("roboczy");
        case 'N':
            return rt.Text("niedziela");
        case 'S':
            return rt.Text("święto");
        case 'W':
            return rt.Text("wolny");
        default:
            return "";
    }
}

}  // namespace kestrel::worktime
