#include "worktime/data/calendar_table.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "platform/codepage/cp852.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {
namespace {

void Check(const base::Status& s, const dbf::WorkArea& area, const char* what) {
    if (!s.ok())
        throw common::Abandon(common::ShortenMessage(codepage::FromUtf8(what) + area.alias()));
}
void CheckRead(const base::Status& s, const dbf::WorkArea& area) {
    Check(s, area, "Błąd odczytu: ");
}
void CheckWrite(const base::Status& s, const dbf::WorkArea& area) {
    Check(s, area, "Błąd zapisu: ");
}

// The table open in `tables` (opened there unless it is), ordered by `index`.
dbf::WorkArea& OpenOrdered(common::Tables& tables, const char* table, const char* index) {
    dbf::WorkArea& area = OpenOnce(tables, table, {index});
    OrderBy(area, index);
    return area;
}

std::string Group(std::string_view group) {
    std::string g(group.substr(0, 2));
    g.resize(2, ' ');
    return g;
}

std::string MonthField(int month) {
    char name[8];
    std::snprintf(name, sizeof name, "MC_%02d", month);
    return name;
}

}  // namespace

dbf::WorkArea& OpenCalendars(common::Tables& tables) {
    return OpenOrdered(tables, "PKKALEN", "PKKALEN1");
}

std::string CalendarKey(int year, std::string_view group) {
    char y[8];
    std::snprintf(y, sizeof y, "%4d", year);
    return y + Group(group);
}

bool SeekCalendar(dbf::WorkArea& kalen, int year, std::string_view group) {
    CheckRead(kalen.Seek(CalendarKey(year, group)), kalen);
    return kalen.found();
}

Calendar ReadCalendar(dbf::WorkArea& kalen) {
    const dbf::Record& rec = kalen.record();
    Calendar cal;
    cal.year = static_cast<int>(rec.GetNumber(kalen.FieldIndex("ROK_")));
    cal.group = Group(rec.GetString(kalen.FieldIndex("GRUPA_")));
    for (int m = 1; m <= 12; ++m) {
        std::string codes = rec.GetString(kalen.FieldIndex(MonthField(m)));
        codes.resize(static_cast<size_t>(CalendarMonthLength(cal.year, m)), kWorkingDay);
        cal.months[static_cast<size_t>(m - 1)] = std::move(codes);
    }
    return cal;
}

void WriteCalendar(common::Tables& tables, dbf::WorkArea& kalen, const Calendar& cal) {
    const std::string key = CalendarKey(cal.year, cal.group);
    const bool existing = SeekCalendar(kalen, cal.year, cal.group);
    if (existing)
        tables.RLock(kalen);
    else
        tables.Reserve(kalen, key);
    dbf::Record& rec = kalen.record();
    base::Status s = rec.SetNumber(kalen.FieldIndex("ROK_"), cal.year);
    if (s.ok()) s = rec.SetString(kalen.FieldIndex("GRUPA_"), Group(cal.group));
    for (int m = 1; m <= 12 && s.ok(); ++m) {
        std::string codes = cal.months[static_cast<size_t>(m - 1)];
        codes.resize(static_cast<size_t>(CalendarMonthLength(cal.year, m)), kWorkingDay);
        s = rec.SetString(kalen.FieldIndex(MonthField(m)), codes);
    }
    if (!s.ok()) {
        kalen.Unlock();
        CheckWrite(s, kalen);
    }
    try {
        if (existing)
            CheckWrite(kalen.Commit(), kalen);
        else
            tables.Confirm(kalen);
    } catch (...) {
        kalen.Unlock();
        throw;
    }
    CheckWrite(kalen.Unlock(), kalen);
}

bool DeleteCalendar(common::Tables& tables, dbf::WorkArea& kalen, int year,
                    std::string_view group) {
    bool any = false;
    while (SeekCalendar(kalen, year, group)) {
        tables.RLock(kalen);
        const base::Status s = kalen.Delete();
        kalen.Unlock();
        CheckWrite(s, kalen);
        any = true;
    }
    return any;
}

std::optional<CalendarGroup> FindCalendarGroup(common::Tables& tables, std::string_view code) {
    dbf::WorkArea& grupy = OpenOrdered(tables, "PKGRUPY", "PKGRUPY1");
    const std::string key = Group(code);
    CheckRead(grupy.Seek(key), grupy);
    if (!grupy.found()) return std::nullopt;
    CalendarGroup g;
    g.code = key;
    g.name = grupy.record().GetString(grupy.FieldIndex("NAZWA_"));
    g.variable_time = grupy.record().GetLogical(grupy.FieldIndex("ZMIENNY_CZ"));
    return g;
}

}  // namespace kestrel::worktime
