#include "worktime/data/calendar_hours_line.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "worktime/data/schedule_record.h"

namespace kestrel::worktime {
namespace {

void CheckRead(const base::Status& s, const dbf::WorkArea& area) {
    if (!s.ok())
        throw common::Abandon(
            common::ShortenMessage(codepage::FromUtf8("Błąd odczytu: ") + area.alias()));
}

GroupShift ShiftOf(dbf::WorkArea& a) {
    const dbf::Record& r = a.record();
    GroupShift shift;
    const std::string letter = r.GetString(a.FieldIndex("ZMIANA_"));
    shift.letter = letter.empty() ? ' ' : letter[0];
    const SegmentRecord segments = ReadSegmentRecord(r);
    for (size_t i = 0; i < segments.segments.size(); ++i) {
        if (segments.used[i]) shift.segments.push_back(segments.segments[i]);
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
