// The calendar functions of the employment group (working days and hours,
// days of employment), the absences back in time and the months since the
// working-time fraction changed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "common/tables/index_order.h"
#include "payroll/data/employment_support.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/calendar_rules.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/monthly_schedule.h"
#include "worktime/data/open_once.h"
#include "worktime/data/scheduled_minutes.h"

namespace kestrel::payroll::employment {
namespace {

using formula::Call;
using formula::Value;
using worktime::SettlementMonth;

std::string TwoDigits(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

int MonthIndex(const SettlementMonth& m) {
    return m.year * 12 + m.month - 1;
}
int MonthIndex(const base::Date& d) {
    return d.year * 12 + d.month - 1;
}
bool Empty(const base::Date& d) {
    return d.year == 0;
}
int Julian(const base::Date& d) {
    return base::JulianDay(d);
}

// The calendar of `year` of the employee's group; nothing when the table or
// the year's record is missing. PKKALEN is left as found.
std::optional<worktime::Calendar> GroupCalendar(PayrollHost& host, int year,
                                                const std::string& group) {
    if (!HasTable(host, "PKKALEN")) return std::nullopt;
    AreasAsFound keep(host.tables().workspace());
    keep.Touch(host.tables().workspace().Find("PKKALEN"));  // taking it orders it
    dbf::WorkArea& kalen = keep.Touch(worktime::OpenCalendars(host.tables()));
    if (!worktime::SeekCalendar(kalen, year, group)) return std::nullopt;
    return worktime::ReadCalendar(kalen);
}

// A months-back argument: NIL is 0; false once the error is raised.
bool BackArg(PayrollHost& host, Call& c, std::string_view name, int* back) {
    const Value& v = c.Arg(0);
    *back = 0;
    if (v.IsNil()) return true;
    if (!v.IsNumber()) return Fail(host, c, "Błędny argument funkcji " + std::string(name) + "()");
    if (v.number() < 0) return Fail(host, c, "Błędny zakres argumentu " + std::string(name) + "()");
    *back = static_cast<int>(std::min(v.number(), 12000.0));
    return true;
}

int DayArg(const Value& v, int fallback) {
    return v.IsNumber() ? static_cast<int>(std::clamp(v.number(), -1.0, 99.0)) : fallback;
}

// The weights of DNIPRACY's fourth argument: 7 by weekday (Sunday first) or
// 28 to 31 by day of the month; empty without one.
struct Weights {
    std::vector<double> numbers;
    int decimals = 0;
    std::map<std::string, double> dated;  // YYYYMMDD -> weight (weekday weights only)
};

bool ReadWeights(PayrollHost& host, Call& c, Weights* w) {
    const Value& tab = c.Arg(3);
    if (tab.IsNil()) return true;
    const size_t n = tab.IsArray() ? tab.items().size() : 0;
    if (n != 7 && (n < 28 || n > 31)) return Fail(host, c, "Błędny argument 4 funkcji DNIPRACY()");
    for (const Value& v : tab.items()) {
        if (!v.IsNumber()) return Fail(host, c, "Błędny argument 4 funkcji DNIPRACY()");
        w->numbers.push_back(v.number());
        w->decimals = std::max(w->decimals, v.decimals());
    }
    if (n == 7 && c.Arg(4).IsArray()) {
        for (const Value& pair : c.Arg(4).items()) {
            if (!pair.IsArray() || pair.items().size() < 2 || !pair.items()[0].IsString() ||
                !pair.items()[1].IsNumber())
                continue;
            w->dated[base::Trim(pair.items()[0].str())] = pair.items()[1].number();
            w->decimals = std::max(w->decimals, pair.items()[1].decimals());
        }
    }
    return true;
}

// The scheduled minutes of days from-to of month `m` for the employee, or
// false with the error raised.
bool ScheduledMinutes(PayrollHost& host, Call& c, const Person& p, const SettlementMonth& m,
                      int from, int to, double* minutes) {
    // The schedule tables are ordered when taken: those already open are
    // remembered first.
    AreasAsFound keep(host.tables().workspace());
    for (const char* table : {"PKGRUPY", "PKKALEN", "PKSZMIA", "PKHARZM", "PKINGPR"})
        keep.Touch(host.tables().workspace().Find(table));
    worktime::ScheduleTables t(host.tables(), worktime::ScheduleTables::Shared{});
    const std::optional<worktime::CalendarGroup> g = worktime::FindGroup(t, p.group);
    if (!g)
        return Fail(host, c, "Błędna grupa kalendarzowa: \"" + codepage::ToUtf8(p.group) + "\"");
    const std::optional<std::string> codes = worktime::CalendarDays(t, m.year, p.group, m.month);
    if (!codes)
        return Fail(host, c,
                    "Brak kalendarza \"" + std::to_string(m.year) + "(" +
                        codepage::ToUtf8(p.group) + ")\"");
    const worktime::ScheduledMinutes s =
        worktime::NominalMinutes(t, p.number, p.group, g->variable_time, m.year, m.month, *codes,
                                 from, to, [](int) { return true; });
    if (s.fault != worktime::ScheduleFault::kNone)
        return Fail(host, c,
                    std::to_string(m.year) + "." + TwoDigits(m.month) + "." + TwoDigits(s.day) +
                        " " + worktime::ScheduleFaultText(s.fault));
    *minutes = s.minutes;
    return true;
}

// DNIPRACY over month `m` from day `from` to day `to`.
bool WorkingDays(PayrollHost& host, Call& c, const SettlementMonth& m, int from, int to) {
    Weights w;
    if (!ReadWeights(host, c, &w)) return false;
    const Person p = ReadPerson(host);
    const int length = worktime::CalendarMonthLength(m.year, m.month);
    to = std::min(to, length);
    from = std::max(from, 1);
    c.result = Value::Number(0);
    if (host.rt().config().Logical("NAGLHARMON") && !p.legal_person) {
        double minutes = 0;
        if (!ScheduledMinutes(host, c, p, m, from, to, &minutes)) return false;
        const double norm = worktime::HoursPerDay(host.rt(), host.tables(), p.number, m);
        const double days = Divide(Divide(minutes, 60 * norm), Fraction(p.etat_l, p.etat_m));
        c.result = Value::Number(days, 3);
        return true;
    }
    const std::optional<worktime::Calendar> cal = GroupCalendar(host, m.year, p.group);
    if (!cal) {
        if (host.rt().config().Logical("NAGLHARMON"))
            return Fail(host, c,
                        "Brak kalendarza \"" + std::to_string(m.year) + "(" +
                            codepage::ToUtf8(p.group) + ")\"");
        return true;
    }
    if (host.rt().config().Logical("NAGLHARMON")) w = {};  // a legal person: 1 a day
    double sum = 0;
    for (int day = from; day <= to; ++day) {
        if (cal->Day(m.month, day) != worktime::kWorkingDay) continue;
        if (w.numbers.empty()) {
            sum += 1;
        } else if (w.numbers.size() == 7) {
            const auto it =
                w.dated.find(std::to_string(m.year) + TwoDigits(m.month) + TwoDigits(day));
            sum +=
                it != w.dated.end()
                    ? it->second
                    : w.numbers[static_cast<size_t>(worktime::DayOfWeek({m.year, m.month, day}))];
        } else if (static_cast<size_t>(day) <= w.numbers.size()) {
            sum += w.numbers[static_cast<size_t>(day - 1)];
        }
    }
    c.result = Value::Number(sum, w.decimals);
    return true;
}

// DNIPRACY([n][, od][, do][, tab][, exc])
bool Dnipracy(PayrollHost& host, Call& c) {
    int back = 0;
    if (!BackArg(host, c, "DNIPRACY", &back)) return false;
    return WorkingDays(host, c, Back(SystemMonth(host), back), DayArg(c.Arg(1), 1),
                       DayArg(c.Arg(2), 31));
}

// GODZHARM([n][, od][, do]): the scheduled hours.
bool Godzharm(PayrollHost& host, Call& c) {
    int back = 0;
    if (!BackArg(host, c, "GODZHARM", &back)) return false;
    c.result = Value::Number(0);
    if (!host.rt().config().Logical("NAGLHARMON")) return true;
    const Person p = ReadPerson(host);
    if (p.legal_person) return true;
    const SettlementMonth m = Back(SystemMonth(host), back);
    const int to = std::min(DayArg(c.Arg(2), 31), worktime::CalendarMonthLength(m.year, m.month));
    double minutes = 0;
    if (!ScheduledMinutes(host, c, p, m, std::max(DayArg(c.Arg(1), 1), 1), to, &minutes))
        return false;
    c.result = Value::Number(minutes / 60, 2);
    return true;
}

// MCZATR's count for `p` in month `m`.
int MonthsEmployed(PayrollHost& host, const Person& p, const SettlementMonth& m) {
    if (Empty(p.hired) || MonthIndex(p.hired) > MonthIndex(m)) return 0;
    int months = MonthIndex(m) - MonthIndex(p.hired);
    if (p.hired.day == 1) return months + 1;
    bool worked_before = false;
    if (const std::optional<worktime::Calendar> cal = GroupCalendar(host, p.hired.year, p.group))
        for (int day = 1; day < p.hired.day && !worked_before; ++day)
            worked_before = cal->Day(p.hired.month, day) == worktime::kWorkingDay;
    return worked_before ? months : months + 1;
}

bool Mczatr(PayrollHost& host, Call& c) {
    c.result = Value::Number(MonthsEmployed(host, ReadPerson(host), SystemMonth(host)));
    return true;
}

// DNOMPR([tab][, exc]): DNIPRACY of the system month within the employment.
bool Dnompr(PayrollHost& host, Call& c) {
    const Person p = ReadPerson(host);
    const SettlementMonth m = SystemMonth(host);
    c.result = Value::Number(0);
    if (Empty(p.hired) || MonthIndex(m) < MonthIndex(p.hired)) return true;
    if (!Empty(p.dismissed) && MonthIndex(m) > MonthIndex(p.dismissed)) return true;
    const int first = MonthsEmployed(host, p, m) == 0 ? p.hired.day : 1;
    const int last =
        !Empty(p.dismissed) && MonthIndex(m) == MonthIndex(p.dismissed) ? p.dismissed.day : 31;
    // DNIPRACY's tab and exc are its fourth and fifth arguments.
    Value args[5] = {Value::Number(0), Value::Number(first), Value::Number(last), c.Arg(0),
                     c.Arg(1)};
    Call inner = c;
    inner.args = args;
    inner.argc = 5;
    if (!WorkingDays(host, inner, m, first, last)) return false;  // the error is shared
    c.result = inner.result;
    return true;
}

bool Dnrok(PayrollHost& host, Call& c) {
    c.result = Value::Number(0);
    const SettlementMonth m = SystemMonth(host);
    const std::optional<worktime::Calendar> cal =
        GroupCalendar(host, m.year, ReadPerson(host).group);
    if (!cal) return true;
    int days = 0;
    for (const std::string& month : cal->months) days += worktime::WorkingDays(month);
    c.result = Value::Number(days);
    return true;
}

// DNIPFR and DNIPFR2: calendar days of the system month employed (and
// before the age limit).
int DaysEmployed(PayrollHost& host, bool age_limit) {
    const Person p = ReadPerson(host);
    const SettlementMonth m = SystemMonth(host);
    if (Empty(p.hired) || MonthIndex(p.hired) > MonthIndex(m)) return 0;
    if (!Empty(p.dismissed) &&
        (MonthIndex(p.dismissed) < MonthIndex(m) || Julian(p.dismissed) < Julian(p.hired)))
        return 0;
    const base::Date first_day{m.year, m.month, 1};
    const base::Date last_day{m.year, m.month, base::DaysInMonth(m.year, m.month)};
    int from = MonthIndex(p.hired) == MonthIndex(m) ? Julian(p.hired) : Julian(first_day);
    int to = Julian(last_day);
    if (!Empty(p.dismissed)) to = std::min(to, Julian(p.dismissed));
    if (age_limit && !Empty(p.born)) {
        const int years = p.retirement == "1" ? (p.sex == "K" ? 60 : 65) : 100;
        const base::Date limit = base::AddYears(p.born, years);
        if (!Empty(limit)) {
            if (Julian(limit) <= Julian(p.hired)) return 0;
            to = std::min(to, Julian(limit) - 1);
        }
    }
    return std::max(0, to - from + 1);
}

// Whether `code` (as stored, four characters) is one of `codes`.
bool OneOf(const std::vector<std::string>& codes, std::string_view code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

std::string Code4(std::string_view text) {
    std::string s = base::Cp852Upper(base::Trim(text));
    s.resize(4, ' ');
    return s;
}

// The codes of an array argument (text elements only).
std::vector<std::string> CodesOf(const Value& v) {
    std::vector<std::string> codes;
    if (!v.IsArray()) return codes;
    for (const Value& e : v.items())
        if (e.IsString()) codes.push_back(Code4(e.str()));
    return codes;
}

// NBDTBMC(tbn)
bool Nbdtbmc(PayrollHost& host, Call& c) {
    c.result = Value::Number(0);
    if (!c.Arg(0).IsArray() || !HasTable(host, "PKNIEOB")) return true;
    const std::vector<std::string> codes = CodesOf(c.Arg(0));
    const SettlementMonth m = SystemMonth(host);
    AreasAsFound keep(host.tables().workspace());
    const dbf::WorkArea& a = keep.Touch(worktime::AbsenceLines(host.tables()));
    const int code = a.FieldIndex("KOD_NIEOB"), year = a.FieldIndex("ROK_KAL"),
              month = a.FieldIndex("MC_KAL");
    int most = 0;
    worktime::ForEachLineOfMonth(host.tables(), host.employee(), m, [&](const dbf::Record& r) {
        if (!OneOf(codes, r.Raw(code))) return;
        const int cal =
            static_cast<int>(r.GetNumber(year)) * 12 + static_cast<int>(r.GetNumber(month)) - 1;
        if (cal <= MonthIndex(m)) most = std::max(most, MonthIndex(m) - cal);
    });
    c.result = Value::Number(most);
    return true;
}

// X3MC([codes])
bool X3mc(PayrollHost& host, Call& c) {
    c.result = Value::Logical(false);
    if (!HasTable(host, "PKNIEOB")) return true;
    std::vector<std::string> codes = CodesOf(c.Arg(0));
    if (!c.Arg(0).IsArray())
        for (const char* code : {"NW08", "NW1", "NZ08", "NZ1", "NZ07", "NZ11", "NZ2", "NZ22", "NZ3",
                                 "NZ31", "NZ4", "NZ41", "NZ45", "NZ49"})
            codes.push_back(Code4(code));
    const SettlementMonth m = SystemMonth(host);
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& a = keep.Touch(worktime::AbsenceLines(host.tables()));
    const int nr = a.FieldIndex("NR_PRAC"), code = a.FieldIndex("KOD_NIEOB"),
              year = a.FieldIndex("ROK_KAL"), month = a.FieldIndex("MC_KAL");
    auto calendar_month = [&](const dbf::Record& r) {
        return static_cast<int>(r.GetNumber(year)) * 12 + static_cast<int>(r.GetNumber(month)) - 1;
    };
    const int a_month = MonthIndex(m) - 1;
    bool a_in_month = false;
    worktime::ForEachLineOfMonth(host.tables(), host.employee(), m, [&](const dbf::Record& r) {
        if (OneOf(codes, r.Raw(code)) && calendar_month(r) == a_month) a_in_month = true;
    });
    const int r_month = a_in_month ? a_month - 1 : a_month;
    const SettlementMonth first = Back(m, MonthIndex(m) - (r_month - 2));
    const std::string& employee = host.employee();
    worktime::OrderBy(a, "PKNIEOB8");
    for (base::Status s =
             a.Seek(employee + std::to_string(first.year) + TwoDigits(first.month), true);
         s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        if (r.Raw(nr) != employee || calendar_month(r) > r_month) break;
        if (!a.deleted() && calendar_month(r) >= r_month - 2 && OneOf(codes, r.Raw(code))) {
            c.result = Value::Logical(true);
            break;
        }
    }
    return true;
}

// ILMCWZMET: months back to the last change of the working-time fraction.
bool Ilmcwzmet(PayrollHost& host, Call& c) {
    c.result = Value::Number(-1);
    if (!HasTable(host, "PKWYNAG")) return true;
    const Person p = ReadPerson(host);
    const double current = p.non_staff ? 0 : base::YRound(Fraction(p.etat_l, p.etat_m), 2);
    const SettlementMonth m = SystemMonth(host);
    AreasAsFound keep(host.tables().workspace());
    dbf::WorkArea& a = keep.Touch(worktime::OpenOnce(host.tables(), "PKWYNAG", {"PKWYNAG2"}));
    worktime::OrderBy(a, "PKWYNAG2");
    const int etat = a.FieldIndex("ETAT_");
    for (int k = 1; k <= 13; ++k) {
        const SettlementMonth b = Back(m, k);
        char key[32];
        std::snprintf(key, sizeof key, "%s%4d%02d", host.employee().c_str(), b.year, b.month);
        const bool found = a.Seek(key).ok() && a.found() && !a.eof();
        if (!found || base::YRound(a.record().GetNumber(etat), 2) != current) {
            c.result = Value::Number(k - 1);
            return true;
        }
    }
    return true;
}

}  // namespace

void RegisterCalendarFunctions(PayrollHost& host) {
    formula::Runtime& e = host.engine();
    PayrollHost* h = &host;
    e.RegisterFunction("DNIPRACY", [h](Call& c) { return Dnipracy(*h, c); });
    e.RegisterFunction("GODZHARM", [h](Call& c) { return Godzharm(*h, c); });
    e.RegisterFunction("DNOMPR", [h](Call& c) { return Dnompr(*h, c); });
    e.RegisterFunction("DNROK", [h](Call& c) { return Dnrok(*h, c); });
    e.RegisterFunction("MCZATR", [h](Call& c) { return Mczatr(*h, c); });
    e.RegisterFunction("DNIPFR", [h](Call& c) {
        c.result = Value::Number(DaysEmployed(*h, true));
        return true;
    });
    e.RegisterFunction("DNIPFR2", [h](Call& c) {
        c.result = Value::Number(DaysEmployed(*h, false));
        return true;
    });
    e.RegisterFunction("NBDTBMC", [h](Call& c) { return Nbdtbmc(*h, c); });
    e.RegisterFunction("X3MC", [h](Call& c) { return X3mc(*h, c); });
    e.RegisterFunction("ILMCWZMET", [h](Call& c) { return Ilmcwzmet(*h, c); });
}

}  // namespace kestrel::payroll::employment
