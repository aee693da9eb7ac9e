#include "worktime/data/monthly_schedule.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "worktime/data/open_once.h"
#include "worktime/data/schedule_record.h"

namespace kestrel::worktime {
namespace {

std::string Padded(std::string_view text, size_t width) {
    std::string out(text.substr(0, width));
    out.resize(width, ' ');
    return out;
}

// Seeks `key` on the controlling index; true when a record has it.
bool SeekKey(dbf::WorkArea& area, const std::string& key) {
    return area.Seek(key).ok() && area.found() && !area.eof();
}

std::string DayKey(std::string_view employee, std::string_view date) {
    return Padded(employee, 6) + Padded(date, 8);
}

// A write that failed abandons with "Błąd zapisu: " and the alias (CP852).
void Check(dbf::WorkArea& area, const base::Status& s) {
    if (s.ok()) return;
    (void)area.Unlock();
    throw common::Abandon(
        common::ShortenMessage("B\x88\xA5"
                               "d zapisu: " +
                               area.alias()));
}

// Deletes the current record under its lock.
void DeleteCurrent(common::Tables& tables, dbf::WorkArea& area) {
    tables.RLock(area);
    Check(area, area.Delete());
    (void)area.Unlock();
}

// Stands on the record of `key` locked: the one that has it, or a reserved
// one (a deleted record of the key reused, or a new one) with the key
// fields set. Returns true when it was reserved (Confirm it).
bool LockDay(ScheduleTables& t, dbf::WorkArea& area, std::string_view employee,
             std::string_view date) {
    const std::string key = DayKey(employee, date);
    if (SeekKey(area, key)) {
        t.tables.RLock(area);
        return false;
    }
    t.tables.Reserve(area, key);
    dbf::Record& rec = area.record();
    Check(area, rec.SetString(rec.FieldIndex("NR_PRAC"), employee));
    Check(area, rec.SetDate(rec.FieldIndex("DATA_"), date));
    return true;
}

void Finish(ScheduleTables& t, dbf::WorkArea& area, bool reserved) {
    if (reserved)
        t.tables.Confirm(area);
    else
        Check(area, area.Commit());
    (void)area.Unlock();
}

}  // namespace

ScheduleTables::ScheduleTables(common::Tables& tables)
    : tables(tables),
      grupy(tables.Open("PKGRUPY", {"PKGRUPY1"})),
      kalen(tables.Open("PKKALEN", {"PKKALEN1"})),
      szmia(tables.Open("PKSZMIA", {"PKSZMIA1"})),
      harzm(tables.Open("PKHARZM", {"PKHARZM1", "PKHARZM2"})),
      ingpr(tables.Open("PKINGPR", {"PKINGPR1"})) {}

ScheduleTables::ScheduleTables(common::Tables& tables, Shared)
    : tables(tables),
      grupy(OpenOnce(tables, "PKGRUPY", {"PKGRUPY1"})),
      kalen(OpenOnce(tables, "PKKALEN", {"PKKALEN1"})),
      szmia(OpenOnce(tables, "PKSZMIA", {"PKSZMIA1"})),
      harzm(OpenOnce(tables, "PKHARZM", {"PKHARZM1", "PKHARZM2"})),
      ingpr(OpenOnce(tables, "PKINGPR", {"PKINGPR1"})) {
    OrderBy(grupy, "PKGRUPY1");
    OrderBy(kalen, "PKKALEN1");
    OrderBy(szmia, "PKSZMIA1");
    OrderBy(harzm, "PKHARZM1");
    OrderBy(ingpr, "PKINGPR1");
}

std::optional<CalendarGroup> FindGroup(ScheduleTables& t, std::string_view code) {
    return FindCalendarGroup(t.tables, code);
}

std::optional<std::string> CalendarDays(ScheduleTables& t, int year, std::string_view group,
                                        int month) {
    if (month < 1 || month > 12 || !SeekCalendar(t.kalen, year, group)) return std::nullopt;
    return ReadCalendar(t.kalen).months[static_cast<size_t>(month - 1)];
}

std::optional<SegmentRecord> TemplateShift(ScheduleTables& t, std::string_view group, char shift) {
    if (!SeekKey(t.szmia, Padded(group, 2) + shift)) return std::nullopt;
    return ReadSegmentRecord(t.szmia.record());
}

char ShiftOf(ScheduleTables& t, std::string_view employee, std::string_view date) {
    if (!SeekKey(t.harzm, DayKey(employee, date))) return ' ';
    const std::string letter = t.harzm.record().GetString(t.harzm.FieldIndex("ZMIANA_"));
    return letter.empty() ? ' ' : letter[0];
}

void SetShift(ScheduleTables& t, std::string_view employee, std::string_view date,
              std::string_view group, char shift) {
    if (shift == ' ') {
        if (SeekKey(t.harzm, DayKey(employee, date))) DeleteCurrent(t.tables, t.harzm);
        return;
    }
    const bool reserved = LockDay(t, t.harzm, employee, date);
    dbf::Record& rec = t.harzm.record();
    Check(t.harzm, rec.SetString(rec.FieldIndex("GRUPA_"), Padded(group, 2)));
    Check(t.harzm, rec.SetString(rec.FieldIndex("ZMIANA_"), std::string(1, shift)));
    Finish(t, t.harzm, reserved);
}

std::optional<IndividualDay> ReadIndividualDay(ScheduleTables& t, std::string_view employee,
                                               std::string_view date) {
    if (!SeekKey(t.ingpr, DayKey(employee, date))) return std::nullopt;
    const dbf::Record& rec = t.ingpr.record();
    IndividualDay day;
    day.free = rec.GetLogical(rec.FieldIndex("WOLNE_"));
    day.segments = ReadSegmentRecord(rec);
    return day;
}

void WriteIndividualDay(ScheduleTables& t, std::string_view employee, std::string_view date,
                        const IndividualDay& day) {
    const bool reserved = LockDay(t, t.ingpr, employee, date);
    dbf::Record& rec = t.ingpr.record();
    Check(t.ingpr, rec.SetLogical(rec.FieldIndex("WOLNE_"), day.free));
    WriteSegmentRecord(day.segments, &rec);
    Finish(t, t.ingpr, reserved);
}

bool DeleteIndividualDay(ScheduleTables& t, std::string_view employee, std::string_view date) {
    if (!SeekKey(t.ingpr, DayKey(employee, date))) return false;
    DeleteCurrent(t.tables, t.ingpr);
    return true;
}

int DeleteIndividualMonth(ScheduleTables& t, std::string_view employee, int year, int month) {
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%04d%02d", year, month);
    const std::string key = Padded(employee, 6) + prefix;
    int deleted = 0;
    // Each deletion hides the record, so the seek finds the next one.
    while (t.ingpr.Seek(key, true).ok() && !t.ingpr.eof()) {
        const dbf::Record& rec = t.ingpr.record();
        if (rec.GetString(rec.FieldIndex("NR_PRAC")) != Padded(employee, 6) ||
            rec.GetDate(rec.FieldIndex("DATA_")).compare(0, 6, prefix) != 0)
            break;
        DeleteCurrent(t.tables, t.ingpr);
        ++deleted;
    }
    return deleted;
}

}  // namespace kestrel::worktime
