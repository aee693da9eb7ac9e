#include "worktime/data/absence_functions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "common/tables/index_order.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/calendar_rules.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/monthly_schedule.h"
#include "worktime/data/open_once.h"
#include "worktime/data/scheduled_minutes.h"

namespace kestrel::worktime {

using formula::Call;
using formula::Error;
using formula::Value;

namespace {

std::string Year4(int year) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", year);
    return buf;
}

std::string Month2(int month) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", month);
    return buf;
}

SettlementMonth MonthsBack(const SettlementMonth& m, int back) {
    const int n = m.year * 12 + (m.month - 1) - back;
    return {n / 12, n % 12 + 1};
}

struct LineFields {
    int nr, code, qty, qty2, from, to, cal_year, cal_month, year, month;
    explicit LineFields(const dbf::WorkArea& a)
        : nr(a.FieldIndex("NR_PRAC")),
          code(a.FieldIndex("KOD_NIEOB")),
          qty(a.FieldIndex("ILOSC_")),
          qty2(a.FieldIndex("ILOSC_2")),
          from(a.FieldIndex("DZ_ROZP")),
          to(a.FieldIndex("DZ_ZAK")),
          cal_year(a.FieldIndex("ROK_KAL")),
          cal_month(a.FieldIndex("MC_KAL")),
          year(a.FieldIndex("ROK_")),
          month(a.FieldIndex("MIESIAC_")) {}
};

// Calls `each` for every live line from the seek of `prefix` in `index`
// while `within` holds (the line still has the key's leading fields). The
// area's order and record are put back: the entry of absences stands on a
// line while it evaluates formulas.
template <typename Within, typename Each>
void ForLines(dbf::WorkArea& a, std::string_view index, const std::string& prefix, Within within,
              Each each) {
    const dbf::KeepPosition keep(a);
    OrderBy(a, index);
    for (base::Status s = a.Seek(prefix); s.ok() && !a.eof(); s = a.Skip(1)) {
        if (!within(a.record())) break;
        if (a.deleted()) continue;
        if (!each(a.record())) break;
    }
}

// Lines of `employee` entered in settlement month `m` (index 1).
auto OfEntryMonth(const LineFields& f, const std::string& employee, const SettlementMonth& m) {
    return [&f, &employee, m](const dbf::Record& r) {
        return r.Raw(f.nr) == employee && r.GetNumber(f.year) == m.year &&
               r.GetNumber(f.month) == m.month;
    };
}

// The comma-separated codes of an argument, each padded to four.
std::vector<std::string> CodeList(const std::string& text) {
    std::vector<std::string> codes;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string code = base::Trim(text.substr(start, comma - start));
        if (!code.empty()) codes.push_back(base::Padded(base::AsciiUpper(code), 4));
        start = comma + 1;
    }
    return codes;
}

bool InList(const std::vector<std::string>& codes, std::string_view code) {
    for (const std::string& c : codes)
        if (c == code) return true;
    return false;
}

// The days of one calendar month covered by lines; false when a day lies
// outside the month or is covered twice.
struct Days {
    int length = 0;
    std::array<bool, 32> covered{};

    bool Mark(int from, int to) {
        if (from < 1 || to > length || from > to) return false;
        for (int d = from; d <= to; ++d) {
            if (covered[static_cast<size_t>(d)]) return false;
            covered[static_cast<size_t>(d)] = true;
        }
        return true;
    }
};

// What the absence functions need of an employee's record.
struct EmployeeData {
    bool found = false;
    std::string degree;        // TYTUL_STNP
    std::string group = "  ";  // GRUPA_KAL
    bool non_staff = false;    // NIE_PRAC
    double fraction = 1;       // ETAT_L / ETAT_M, 1 without one
};

// Read without moving PKPRAC for its caller (payroll walks the register
// while its formulas call the functions).
EmployeeData ReadEmployee(common::Tables& tables, std::string_view employee) {
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    const dbf::KeepPosition keep(prac);
    OrderBy(prac, "PKPRAC1");
    EmployeeData e;
    if (!prac.Seek(employee).ok() || !prac.found() || prac.eof()) return e;
    const dbf::Record& r = prac.record();
    e.found = true;
    e.degree = base::Trim(r.GetString(prac.FieldIndex("TYTUL_STNP")));
    e.group = r.GetString(prac.FieldIndex("GRUPA_KAL"));
    e.non_staff = r.GetLogical(prac.FieldIndex("NIE_PRAC"));
    e.fraction = WorkingFraction(r.GetNumber(prac.FieldIndex("ETAT_L")),
                                 r.GetNumber(prac.FieldIndex("ETAT_M")));
    return e;
}

// An allowance `symbol` of the employee in force in `month` with a value.
bool AllowanceInForce(common::Runtime& rt, common::Tables& tables, std::string_view employee,
                      std::string_view symbol, const SettlementMonth& month) {
    if (tables.workspace().Find("PKDOD") == nullptr &&
        !base::Exists(base::FindNoCase(rt.data_dir(), "PKDOD.DBF")))
        return false;
    dbf::WorkArea& dod = OpenOnce(tables, "PKDOD", {"PKDOD1", "PKDOD2"});
    const int nr = dod.FieldIndex("NR_PRAC"), kind = dod.FieldIndex("RODZAJ_DOD"),
              value = dod.FieldIndex("WARTOSC_"), timed = dod.FieldIndex("CZASOWY_"),
              from_y = dod.FieldIndex("OD_ROK"), from_m = dod.FieldIndex("OD_MC"),
              to_y = dod.FieldIndex("ROK_DO"), to_m = dod.FieldIndex("MC_DO");
    const int wanted = month.year * 12 + month.month;
    const std::string want = base::Padded(symbol, 4);
    const dbf::KeepPosition keep(dod);
    OrderBy(dod, "PKDOD1");
    const dbf::Record& r = dod.record();
    for (base::Status s = dod.Seek(employee); s.ok() && !dod.eof(); s = dod.Skip(1)) {
        if (r.Raw(nr) != employee) break;
        if (dod.deleted() || r.Raw(kind) != want || r.GetNumber(value) == 0) continue;
        if (r.GetLogical(timed)) {
            const int from = static_cast<int>(r.GetNumber(from_y) * 12 + r.GetNumber(from_m));
            const int to = static_cast<int>(r.GetNumber(to_y) * 12 + r.GetNumber(to_m));
            if (wanted < from || wanted > to) continue;
        }
        return true;
    }
    return false;
}

}  // namespace

dbf::WorkArea& AbsenceLines(common::Tables& tables) {
    return OpenOnce(tables, "PKNIEOB", {"PKNIEOB1", "PKNIEOB8"});
}

void ForEachLineOfMonth(common::Tables& tables, std::string_view employee,
                        const SettlementMonth& month,
                        const std::function<void(const dbf::Record&)>& each) {
    dbf::WorkArea& a = AbsenceLines(tables);
    const LineFields f(a);
    const std::string number(employee);
    ForLines(a, "PKNIEOB1", Year4(month.year) + Month2(month.month) + number,
             OfEntryMonth(f, number, month), [&](const dbf::Record& r) {
                 each(r);
                 return true;
             });
}

double WorkingFraction(double numerator, double denominator) {
    if (numerator == 0 || denominator == 0) return 1;
    return numerator / denominator;
}

double HoursPerDay(common::Runtime& rt, common::Tables& tables, std::string_view employee,
                   const SettlementMonth& month) {
    const EmployeeData e = ReadEmployee(tables, employee);
    const bool disabled = e.degree == "2" || e.degree == "3";
    if (disabled) return AllowanceInForce(rt, tables, employee, "ORZ", month) ? 8 : 7;
    return AllowanceInForce(rt, tables, employee, "AGP", month) ? 7.5833333333 : 8;
}

namespace {

struct Env {
    common::Runtime& rt;
    common::Tables& tables;
    const AbsenceContext& context;

    bool Fail(Call& c, std::string_view utf8) const { return c.Fail(Error::Host(rt.Text(utf8))); }
};

// ILNBNAR(nr, code[, second]): ILOSC_ (ILOSC_2) of the employee's lines of
// the code whose calendar month lies in the settlement year up to the month.
bool Ilnbnar(const Env& env, Call& c) {
    c.result = Value::Number(0, 3);
    if (!c.Arg(0).IsString() || !c.Arg(1).IsString()) return true;
    const bool second = c.Arg(2).IsLogical() && c.Arg(2).logical();
    const std::string employee = base::Padded(c.Arg(0).str(), 6);
    const std::string code = base::Padded(base::AsciiUpper(base::TrimRight(c.Arg(1).str())), 4);
    const SettlementMonth& m = env.context.month;
    dbf::WorkArea& a = AbsenceLines(env.tables);
    const LineFields f(a);
    double sum = 0;
    ForLines(
        a, "PKNIEOB8", employee + Year4(m.year),
        [&](const dbf::Record& r) {
            return r.Raw(f.nr) == employee && r.GetNumber(f.cal_year) == m.year &&
                   r.GetNumber(f.cal_month) <= m.month;
        },
        [&](const dbf::Record& r) {
            if (r.Raw(f.code) == code) sum += r.GetNumber(second ? f.qty2 : f.qty);
            return true;
        });
    c.result = Value::Number(sum, 3);
    return true;
}

// A "months back" argument: NIL is 0; false after the error was raised.
bool MonthsBackArg(const Env& env, Call& c, int i, std::string_view type_error,
                   std::string_view value_error, int* back) {
    const Value& v = c.Arg(i);
    *back = 0;
    if (v.IsNil()) return true;
    if (!v.IsNumber()) return env.Fail(c, type_error);
    if (v.number() < 0 || v.number() > 1200 || v.number() != std::floor(v.number()))
        return env.Fail(c, value_error);
    *back = static_cast<int>(v.number());
    return true;
}

// SUMAGODZ2(code[, back]): ILOSC_2 of the current employee's lines of the
// code entered in the settlement month less `back` months.
bool Sumagodz2(const Env& env, Call& c) {
    c.result = Value::Number(0, 3);
    if (c.argc == 0) return true;
    if (!c.Arg(0).IsString()) return env.Fail(c, "Błędny argument 1 funkcji SUMAGODZ2()");
    int back = 0;
    if (!MonthsBackArg(env, c, 1, "Błędny argument 2 funkcji SUMAGODZ2()",
                       "Błędna wart.arg.2 funkcji SUMAGODZ2()", &back))
        return false;
    const std::string code = base::Padded(base::AsciiUpper(base::TrimRight(c.Arg(0).str())), 4);
    const std::string& employee = env.context.employee;
    const SettlementMonth m = MonthsBack(env.context.month, back);
    dbf::WorkArea& a = AbsenceLines(env.tables);
    const LineFields f(a);
    double sum = 0;
    ForLines(a, "PKNIEOB1", Year4(m.year) + Month2(m.month) + employee,
             OfEntryMonth(f, employee, m), [&](const dbf::Record& r) {
                 if (r.Raw(f.code) == code) sum += r.GetNumber(f.qty2);
                 return true;
             });
    c.result = Value::Number(sum, 3);
    return true;
}

// ILDCNB(codes, n): the days of the month's continuous absence after day n
// of an absence running on from earlier months.
bool Ildcnb(const Env& env, Call& c) {
    if (!c.Arg(0).IsString()) return env.Fail(c, "Błędny argument funkcji ILDCNB()");
    if (!c.Arg(1).IsNumber() || c.Arg(1).number() < 30)
        return env.Fail(c, "Błędny argument 2 funkcji ILDCNB()");
    const double n = c.Arg(1).number();
    const std::vector<std::string> codes = CodeList(c.Arg(0).str());
    const std::string& employee = env.context.employee;
    dbf::WorkArea& a = AbsenceLines(env.tables);
    const LineFields f(a);
    const SettlementMonth m = env.context.month;
    // The walk back ends after at most n / 28 + 1 entire months and one
    // more, so the employee's lines of those months are read in one pass
    // of index 8 (employee + calendar month): one seek however far back.
    const SettlementMonth first = MonthsBack(m, static_cast<int>(std::min(n, 4000.0)) / 28 + 2);
    const int first_key = first.year * 12 + first.month - 1;
    const int last_key = m.year * 12 + m.month - 1;
    std::map<int, Days> months;
    std::map<int, bool> bad;
    {
        const dbf::KeepPosition keep(a);
        OrderBy(a, "PKNIEOB8");
        for (base::Status s = a.Seek(employee + Year4(first.year) + Month2(first.month), true);
             s.ok() && !a.eof(); s = a.Skip(1)) {
            const dbf::Record& rec = a.record();
            if (rec.Raw(f.nr) != employee) break;
            const int year = static_cast<int>(rec.GetNumber(f.cal_year));
            const int key = year * 12 + static_cast<int>(rec.GetNumber(f.cal_month)) - 1;
            if (key > last_key) break;
            if (key < first_key || a.deleted() || !InList(codes, rec.Raw(f.code))) continue;
            Days& d = months[key];
            d.length = CalendarMonthLength(year, key % 12 + 1);
            if (!d.Mark(static_cast<int>(rec.GetNumber(f.from)),
                        static_cast<int>(rec.GetNumber(f.to))))
                bad[key] = true;
        }
    }
    auto month_days = [&](int key) {
        Days& d = months[key];
        if (d.length == 0) d.length = CalendarMonthLength(key / 12, key % 12 + 1);
        return d;
    };
    if (bad.count(last_key) > 0) return env.Fail(c, "Błędne daty nieobecności");
    const Days days = month_days(last_key);
    c.result = Value::Number(0);
    if (!days.covered[1]) return true;
    int r = 0;
    while (r < days.length && days.covered[static_cast<size_t>(r + 1)]) ++r;
    double p = 0;
    for (int key = last_key - 1; key >= first_key; --key) {
        if (!IsCalendarYear(key / 12)) break;
        if (bad.count(key) > 0)
            return env.Fail(c, "Błędne daty nieobecności (" + std::to_string(key / 12) + "-" +
                                   Month2(key % 12 + 1) + ")");
        const Days before = month_days(key);
        int count = 0;
        while (count < before.length && before.covered[static_cast<size_t>(before.length - count)])
            ++count;
        p += count;
        // Once P reaches the threshold the result no longer depends on
        // earlier months.
        if (count < before.length || p >= n) break;
    }
    if (p >= n)
        c.result = Value::Number(r);
    else if (p < n && n < p + r)
        c.result = Value::Number(p + r - n);
    return true;
}

// NAZNIEOB(code): the code's name; "" for a missing code, an argument that
// is not text, or without the code table open.
bool Naznieob(const Env& env, Call& c) {
    c.result = Value::String("");
    if (!c.Arg(0).IsString()) return true;
    dbf::WorkArea* rnb = env.tables.workspace().Find("PKRNB");
    if (rnb == nullptr || common::OrderOf(*rnb, "PKRNB1") <= 0) return true;
    const dbf::KeepPosition keep(rnb);
    OrderBy(*rnb, "PKRNB1");
    const std::string code = base::Padded(base::AsciiUpper(base::TrimRight(c.Arg(0).str())), 4);
    if (rnb->Seek(code).ok() && rnb->found() && !rnb->deleted())
        c.result = Value::String(rnb->record().GetString(rnb->FieldIndex("NAZWA_")));
    return true;
}

// ILNBDPR with the schedule in use, for a staff employee (`prac` stands on
// the record): the nominal minutes of each absent day by the employee's own
// schedule, else on a working day by the day's shift (groups of variable
// time) or the group's one shift, in days of hours per day at the
// employee's working-time fraction.
bool ScheduledAbsence(const Env& env, Call& c, const EmployeeData& e,
                      const std::map<int, Days>& by_month) {
    const std::string employee = env.context.employee;
    const std::string& group = e.group;
    ScheduleTables t(env.tables, ScheduleTables::Shared{});
    const dbf::KeepPosition keep_kalen(t.kalen), keep_szmia(t.szmia), keep_harzm(t.harzm),
        keep_ingpr(t.ingpr);
    const std::optional<CalendarGroup> g = FindGroup(t, group);
    const bool variable = g && g->variable_time;
    double minutes = 0;
    for (const auto& [key, days] : by_month) {
        const int year = key / 12, month = key % 12 + 1;
        const std::optional<std::string> codes = CalendarDays(t, year, group, month);
        if (!codes)
            return env.Fail(c, "Brak kalendarza \"" + std::to_string(year) + "\" \"" +
                                   base::TrimRight(group) + "\"");
        const ScheduledMinutes m =
            NominalMinutes(t, employee, group, variable, year, month, *codes, 1, days.length,
                           [&days](int day) { return days.covered[static_cast<size_t>(day)]; });
        if (m.fault != ScheduleFault::kNone) {
            const std::string shown = Year4(year) + "." + Month2(month) + "." + Month2(m.day) + " ";
            return env.Fail(c, shown + ScheduleFaultText(m.fault));
        }
        minutes += m.minutes;
    }
    const double hours = HoursPerDay(env.rt, env.tables, employee, env.context.month);
    c.result = Value::Number(minutes / (60 * hours) / e.fraction, 3);
    return true;
}

// The dates of ILNBDPR's fifth argument: pairs of a date as eight digits
// (text, number or date) and hours; other entries are passed over.
std::map<std::string, double> HoursOfDates(const Value& list) {
    std::map<std::string, double> hours;
    if (!list.IsArray()) return hours;
    for (const Value& pair : list.items()) {
        if (!pair.IsArray() || pair.items().size() < 2 || !pair.items()[1].IsNumber()) continue;
        const Value& d = pair.items()[0];
        std::string key;
        if (d.IsString()) {
            key = base::Trim(d.str());
        } else if (d.IsNumber()) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%08.0f", d.number());
            key = buf;
        } else if (d.IsDate()) {
            const base::Date date = base::DateOfJulianDay(d.julian());
            key = Year4(date.year) + Month2(date.month) + Month2(date.day);
        }
        if (key.size() == 8) hours[key] = pair.items()[1].number();
    }
    return hours;
}

// ILNBDPR(codes[, back[, same[, a4[, a5]]]]): the absence on working days
// of the current employee's lines entered in the settlement month less
// `back` months. A day counts 1 when it is a working day of the employee's
// calendar; a week of seven numbers (a4, Sunday first) gives each absent
// day its weekday's number instead, or the hours of its date in a5; 28 to
// 31 numbers give each day the number of its day of the month.
bool Ilnbdpr(const Env& env, Call& c) {
    if (!c.Arg(0).IsString()) return env.Fail(c, "Błędny argument 1 funkcji ILNBDPR()");
    int back = 0;
    if (!MonthsBackArg(env, c, 1, "Błędny argument 2 funkcji ILNBDPR()",
                       "Błędna wart. arg. 2 funkcji ILNBDPR()", &back))
        return false;
    if (!c.Arg(2).IsNil() && !c.Arg(2).IsLogical())
        return env.Fail(c, "Błędny argument 3 funkcji ILNBDPR()");
    const bool same = c.Arg(2).IsLogical() && c.Arg(2).logical();
    std::vector<double> pattern;
    if (!c.Arg(3).IsNil()) {
        const size_t n = c.Arg(3).IsArray() ? c.Arg(3).items().size() : 0;
        if (n != 7 && (n < 28 || n > 31)) return env.Fail(c, "Błędny argument 4 funkcji ILNBDPR()");
        for (const Value& v : c.Arg(3).items()) {
            if (!v.IsNumber()) return env.Fail(c, "Błędny argument 4 funkcji ILNBDPR()");
            pattern.push_back(v.number());
        }
    }
    const std::vector<std::string> codes = CodeList(c.Arg(0).str());
    const std::string& employee = env.context.employee;
    const SettlementMonth m = MonthsBack(env.context.month, back);
    dbf::WorkArea& a = AbsenceLines(env.tables);
    const LineFields f(a);
    std::map<int, Days> by_month;  // calendar year * 12 + month - 1
    bool bad = false;
    ForLines(a, "PKNIEOB1", Year4(m.year) + Month2(m.month) + employee,
             OfEntryMonth(f, employee, m), [&](const dbf::Record& r) {
                 if (!InList(codes, r.Raw(f.code))) return true;
                 const int year = static_cast<int>(r.GetNumber(f.cal_year));
                 const int month = static_cast<int>(r.GetNumber(f.cal_month));
                 if (same && (year != m.year || month != m.month)) return true;
                 Days& days = by_month[year * 12 + month - 1];
                 days.length = CalendarMonthLength(year, month);
                 bad = !days.Mark(static_cast<int>(r.GetNumber(f.from)),
                                  static_cast<int>(r.GetNumber(f.to)));
                 return !bad;
             });
    if (bad) return env.Fail(c, "Błędne daty nieobecności");
    const std::map<std::string, double> dated =
        pattern.size() == 7 ? HoursOfDates(c.Arg(4)) : std::map<std::string, double>{};
    if (env.rt.config().Logical("NAGLHARMON")) {
        const EmployeeData e = ReadEmployee(env.tables, employee);
        if (e.found && !e.non_staff) return ScheduledAbsence(env, c, e, by_month);
    }
    std::string group;
    double total = 0;
    for (const auto& [key, days] : by_month) {
        const int year = key / 12, month = key % 12 + 1;
        std::optional<Calendar> calendar;
        if (pattern.empty()) {
            if (group.empty()) {
                group = ReadEmployee(env.tables, employee).group;
            }
            dbf::WorkArea& kalen = OpenCalendars(env.tables);
            const dbf::KeepPosition keep(kalen);
            if (!SeekCalendar(kalen, year, group))
                return env.Fail(c, "Brak kalendarza \"" + std::to_string(year) + "\" \"" +
                                       base::TrimRight(group) + "\"");
            calendar = ReadCalendar(kalen);
        }
        for (int day = 1; day <= days.length; ++day) {
            if (!days.covered[static_cast<size_t>(day)]) continue;
            if (calendar) {
                if (calendar->Day(month, day) == kWorkingDay) total += 1;
            } else if (pattern.size() == 7) {
                auto it = dated.find(Year4(year) + Month2(month) + Month2(day));
                total += it != dated.end()
                             ? it->second
                             : pattern[static_cast<size_t>(DayOfWeek({year, month, day}))];
            } else if (static_cast<size_t>(day) <= pattern.size()) {
                total += pattern[static_cast<size_t>(day - 1)];
            }
        }
    }
    c.result = Value::Number(total, 3);
    return true;
}

}  // namespace

void RegisterAbsenceFunctions(common::Runtime& rt, common::Tables& tables, formula::Runtime& engine,
                              const AbsenceContext& context) {
    const Env env{rt, tables, context};
    engine.RegisterFunction("ILNBNAR", [env](Call& c) { return Ilnbnar(env, c); });
    engine.RegisterFunction("SUMAGODZ2", [env](Call& c) { return Sumagodz2(env, c); });
    engine.RegisterFunction("ILDCNB", [env](Call& c) { return Ildcnb(env, c); });
    engine.RegisterFunction("ILNBDPR", [env](Call& c) { return Ilnbdpr(env, c); });
    engine.RegisterFunction("NAZNIEOB", [env](Call& c) { return Naznieob(env, c); });
}

}  // namespace kestrel::worktime
