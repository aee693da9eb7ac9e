#include "worktime/data/calendar_hours_line.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::worktime {
namespace {

void CheckRead(const base::Status& s, const dbf::WorkArea& area) {
    if (!s.ok())
        throw common::Abandon(
            common::ShortenMessage(codepage::FromUtf8("Błąd odczytu: ") + area.alias()));
}

// The fields of segment n (1-3) of a PKSZMIA record.
struct SegmentFields {
    const char* used;  // nullptr: always in use
    const char* from_hour;
    const char* from_minute;
    const char* to_hour;
    const char* to_minute;
    const char* type;
};

constexpr SegmentFields kSegmentFields[] = {
    {nullptr, "OD_GODZ", "OD_MIN", "GODZ_DO", "MIN_DO", "TYP_PRACY"},
    {"ZAKRES_2", "OD_GODZ_2", "OD_MIN_2", "GODZ_DO_2", "MIN_DO_2", "TYP_PRACY2"},
    {"ZAKRES_3", "OD_GODZ_3", "OD_MIN_3", "GODZ_DO_3", "MIN_DO_3", "TYP_PRACY3"},
};

GroupShift ShiftOf(dbf::WorkArea& a) {
    const dbf::Record& r = a.record();
    const auto number = [&](const char* f) {
        return static_cast<int>(r.GetNumber(a.FieldIndex(f)));
    };
    GroupShift shift;
    const std::string letter = r.GetString(a.FieldIndex("ZMIANA_"));
    shift.letter = letter.empty() ? ' ' : letter[0];
    for (const SegmentFields& f : kSegmentFields) {
        if (f.used != nullptr && !r.GetLogical(a.FieldIndex(f.used))) continue;
        Segment s;
        s.from_hour = number(f.from_hour);
        s.from_minute = number(f.from_minute);
        s.to_hour = number(f.to_hour);
        s.to_minute = number(f.to_minute);
        s.type = r.GetString(a.FieldIndex(f.type));
        shift.segments.push_back(std::move(s));
    }
    return shift;
}

std::string Segments(const GroupShift& shift) {
    std::string out;
    for (const Segment& s : shift.segments) {
        if (!out.empty()) out += ", ";
        out += SegmentText(s);
    }
    return out;
}

}  // namespace

std::vector<GroupShift> ReadGroupShifts(common::Tables& tables, std::string_view group) {
    dbf::WorkArea* open = tables.workspace().Select("PKSZMIA");
    dbf::WorkArea& a = open != nullptr ? *open : tables.Open("PKSZMIA", {"PKSZMIA1"});
    CheckRead(a.SetOrder(1), a);
    std::string key(group.substr(0, 2));
    key.resize(2, ' ');
    std::vector<GroupShift> shifts;
    CheckRead(a.Seek(key), a);
    if (!a.found()) return shifts;
    const int field = a.FieldIndex("GRUPA_");
    while (!a.eof() && a.record().GetString(field) == key) {
        shifts.push_back(ShiftOf(a));
        CheckRead(a.Skip(1), a);
    }
    return shifts;
}

std::string SegmentText(const Segment& s) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d-%02d.%02d", s.from_hour % 100, s.from_minute % 100,
                  s.to_hour % 100, s.to_minute % 100);
    std::string out = text;
    const std::string type = base::Trim(s.type);
    if (!type.empty()) out += " " + type;
    return out;
}

std::string HoursLine(const CalendarGroup& group, const std::vector<GroupShift>& shifts) {
    if (!group.variable_time) {
        std::string line = " Czas pracy: ";
        for (const GroupShift& s : shifts)
            if (s.letter == ' ') {
                line += Segments(s);
                break;
            }
        return line;
    }
    std::string line;
    for (const GroupShift& s : shifts) {
        if (!line.empty()) line += ", ";
        line += std::string(1, s.letter) + ": " + Segments(s);
    }
    return line;
}

}  // namespace kestrel::worktime
