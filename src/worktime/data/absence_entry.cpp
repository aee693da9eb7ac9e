#include "worktime/data/absence_entry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/calendar_table.h"
#include "worktime/data/open_once.h"
#include "worktime/data/scheduled_minutes.h"
#include "worktime/data/suspension_days.h"

namespace kestrel::worktime {

using formula::Value;

namespace {

std::string YearMonth(int year, int month) {
    char t[16];
    std::snprintf(t, sizeof t, "%4d%02d", year, month);
    return t;
}

SettlementMonth ReportingMonth(const EntryEmployee& e, const SettlementMonth& month) {
    return e.report_next ? NextMonth(month) : month;
}

}  // namespace

AbsenceLine NewAbsenceLine(const EntryEmployee& e, const SettlementMonth& month, int line,
                           std::string_view code) {
    AbsenceLine l;
    l.year = month.year;
    l.month = month.month;
    l.line = line;
    l.number = e.number;
    l.code = std::string(code);
    l.group = e.group;
    l.cal_year = month.year;
    l.cal_month = month.month;
    const SettlementMonth zus = ReportingMonth(e, month);
    l.zus_year = zus.year;
    l.zus_month = zus.month;
    return l;
}

double HoursOfDays(double days, const EntryEmployee& e) {
    return base::YRound(days * e.hours_per_day * e.fraction, 3);
}

std::string TypeWord(char type) {
    switch (type) {
        case 'P':
            return "Płatne";
        case 'B':
            return "Bezpł.";
        case 'Z':
            return "Zasił.";
        case 'A':
            return "Algor.";
        case 'E':
            return "Ewid.";
        case 'U':
            return "Urlop";
        case 'G':
            return "Gener.";
        default:
            return "";
    }
}

std::string LimitState::Text() const {
    char t[80];
    if (limit == std::floor(limit))
        std::snprintf(t, sizeof t, "Narast.: %.3f   Limit: %.0f", sum, limit);
    else
        std::snprintf(t, sizeof t, "Narast.: %.3f   Limit: %.3f", sum, limit);
    return t;
}

AbsenceCodes::AbsenceCodes(common::Tables& tables) {
    dbf::WorkArea& rnb = OpenOnce(tables, "PKRNB", {"PKRNB1"});
    const dbf::KeepPosition keep(rnb);
    OrderBy(rnb, "PKRNB1");
    const dbf::Record& r = rnb.record();
    auto f = [&rnb](const char* name) { return rnb.FieldIndex(name); };
    for (base::Status s = rnb.GoTop(); s.ok() && !rnb.eof(); s = rnb.Skip(1)) {
        if (rnb.deleted()) continue;
        AbsenceCode c;
        c.code = base::TrimRight(r.GetString(f("KOD_NIEOB")));
        if (c.code.empty()) continue;
        c.name = r.GetString(f("NAZWA_"));
        const std::string type = r.GetString(f("TYP_"));
        c.type = base::AsciiUpper(type.empty() ? ' ' : type[0]);
        c.in_hours = r.GetLogical(f("GODZ_DNI"));
        c.fractional = r.GetLogical(f("PO_PRZEC"));
        c.second = r.GetLogical(f("CZY_IL_2"));
        c.reported = r.GetLogical(f("DEKL_ZUS"));
        c.order = static_cast<int>(r.GetNumber(f("SEKW_OBL")));
        c.stored_limit = static_cast<int>(r.GetNumber(f("LIMIT_")));
        rnb.ReadMemo(f("ALGORYTM_"), &c.formula);
        rnb.ReadMemo(f("LIMIT_NB"), &c.limit);
        codes_.push_back(std::move(c));
    }
    std::stable_sort(codes_.begin(), codes_.end(),
                     [](const AbsenceCode& a, const AbsenceCode& b) { return a.order < b.order; });
}

const AbsenceCode* AbsenceCodes::Find(std::string_view code) const {
    const std::string wanted = base::TrimRight(code);
    for (const AbsenceCode& c : codes_)
        if (c.code == wanted) return &c;
    return nullptr;
}

std::optional<EntryEmployee> ReadEntryEmployee(common::Runtime& rt, common::Tables& tables,
                                               std::string_view number,
                                               const SettlementMonth& month) {
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    EntryEmployee e;
    {
        const dbf::KeepPosition keep(prac);
        OrderBy(prac, "PKPRAC1");
        if (!prac.Seek(number).ok() || !prac.found() || prac.eof()) return std::nullopt;
        const dbf::Record& r = prac.record();
        if (r.GetLogical(prac.FieldIndex("OS_PRAWNA"))) return std::nullopt;
        e.number = r.GetString(prac.FieldIndex("NR_PRAC"));
        e.group = r.GetString(prac.FieldIndex("GRUPA_KAL"));
        e.fraction = WorkingFraction(r.GetNumber(prac.FieldIndex("ETAT_L")),
                                     r.GetNumber(prac.FieldIndex("ETAT_M")));
        e.report_next = r.GetLogical(prac.FieldIndex("NB_ZUS_NMC"));
    }
    e.hours_per_day = HoursPerDay(rt, tables, e.number, month);
    return e;
}

AbsenceEntry::AbsenceEntry(FormulaHost& host, common::Tables& tables)
    : rt_(host.rt()),
      host_(host),
      tables_(tables),
      codes_(tables),
      // Every index file open: the lines written here are found by all of
      // them (the insurance module reads them by the reporting month).
      lines_(OpenOnce(tables, "PKNIEOB", common::IndexFiles("PKNIEOB"))) {
    for (const AbsenceCode& c : codes_.all()) {
        if (c.type != 'A') continue;
        Computed k;
        k.code = &c;
        k.compiled = host_.engine().Compile(c.formula, &k.program, &k.error);
        computed_.push_back(std::move(k));
    }
}

std::string AbsenceEntry::Key(const SettlementMonth& month, std::string_view number,
                              int line) const {
    char lp[8];
    std::snprintf(lp, sizeof lp, "%2d", line);
    return YearMonth(month.year, month.month) + std::string(number) + lp;
}

void AbsenceEntry::WriteFailed() {
    throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + lines_.alias()));
}

std::vector<AbsenceLine> AbsenceEntry::LinesOf(std::string_view number,
                                               const SettlementMonth& month) {
    std::vector<AbsenceLine> lines;
    ForEachLineOfMonth(tables_, number, month,
                       [&](const dbf::Record&) { lines.push_back(ReadAbsenceLine(lines_)); });
    return lines;
}

void AbsenceEntry::Store(const AbsenceLine& l) {
    dbf::Record& r = lines_.record();
    auto num = [&](const char* f, double v) { r.SetNumber(lines_.FieldIndex(f), v); };
    auto text = [&](const char* f, std::string_view v) { r.SetString(lines_.FieldIndex(f), v); };
    num("ROK_", l.year);
    num("MIESIAC_", l.month);
    num("LP_", l.line);
    text("NR_PRAC", l.number);
    text("KOD_NIEOB", l.code);
    text("GRUPA_", l.group);
    num("ILOSC_", l.quantity);
    num("ILOSC_2", l.quantity2);
    num("DZ_ROZP", l.from);
    num("DZ_ZAK", l.to);
    num("PROC_ZAS", l.percentage);
    text("NR_STATYST", l.statistical);
    num("ROK_KAL", l.cal_year);
    num("MC_KAL", l.cal_month);
    text("KOD_CHOR_1", l.sick1);
    text("KOD_CHOR_2", l.sick2);
    num("ROK_ZUS", l.zus_year);
    num("MC_ZUS", l.zus_month);
}

void AbsenceEntry::WriteNew(const AbsenceLine& line) {
    OrderBy(lines_, "PKNIEOB1");
    tables_.Reserve(lines_, Key({line.year, line.month}, line.number, line.line));
    Store(line);
    if (!lines_.Commit().ok()) WriteFailed();
    tables_.Confirm(lines_);
    lines_.Unlock();
}

LineState AbsenceEntry::Reserve(const EntryEmployee& e, const SettlementMonth& month, int line,
                                AbsenceLine* out) {
    OrderBy(lines_, "PKNIEOB1");
    const std::string key = Key(month, e.number, line);
    uint32_t live = 0;
    bool deleted = false;
    const bool hide = lines_.hide_deleted();
    lines_.set_hide_deleted(false);
    for (base::Status s = lines_.Seek(key); s.ok() && !lines_.eof(); s = lines_.Skip(1)) {
        const AbsenceLine l = ReadAbsenceLine(lines_);
        if (l.year != month.year || l.month != month.month || l.number != e.number ||
            l.line != line)
            break;
        if (!lines_.deleted()) {
            live = lines_.recno();
            break;
        }
        deleted = true;
    }
    lines_.set_hide_deleted(hide);
    if (live != 0) {
        lines_.Goto(live);
        tables_.RLock(lines_);
        *out = ReadAbsenceLine(lines_);
        return LineState::kExisting;
    }
    tables_.Reserve(lines_, key);
    Store(NewAbsenceLine(e, month, line, ""));
    // Keyed at once, so that a line left unconfirmed is found for reuse.
    if (!lines_.Commit().ok()) WriteFailed();
    *out = ReadAbsenceLine(lines_);
    return deleted ? LineState::kDeleted : LineState::kNew;
}

void AbsenceEntry::Accept(const AbsenceLine& line) {
    Store(line);
    base::Status s = lines_.Commit();
    if (s.ok() && line.quantity != 0 && lines_.deleted()) s = lines_.Recall();
    if (s.ok() && line.quantity == 0 && !lines_.deleted()) s = lines_.Delete();
    lines_.Unlock();
    if (!s.ok()) WriteFailed();
}

void AbsenceEntry::Release() {
    lines_.Unlock();
}

std::optional<LineRef> AbsenceEntry::FindCollision(std::string_view number, int year, int month,
                                                   int from, int to, const LineRef& except) {
    std::optional<LineRef> found;
    const std::string prefix = std::string(number) + YearMonth(year, month);
    const dbf::KeepPosition keep(lines_);
    OrderBy(lines_, "PKNIEOB8");
    for (base::Status s = lines_.Seek(prefix); s.ok() && !lines_.eof(); s = lines_.Skip(1)) {
        const AbsenceLine l = ReadAbsenceLine(lines_);
        if (l.number != number || l.cal_year != year || l.cal_month != month) break;
        if (lines_.deleted()) continue;
        if (l.year == except.year && l.month == except.month && l.line == except.line) continue;
        if (DaysOverlap(from, to, l.from, l.to)) {
            found = LineRef{l.year, l.month, l.line};
            break;
        }
    }
    return found;
}

QuantityProposal AbsenceEntry::Propose(const AbsenceCode& code, const EntryEmployee& e, int year,
                                       int month, int from, int to) {
    QuantityProposal p;
    double days = 0, hours = 0;
    if (code.type == 'B' || code.type == 'Z') {
        days = to - from + 1;
        hours = HoursOfDays(days, e);
    } else if (rt_.config().Logical("NAGLHARMON")) {
        ScheduleTables t(tables_, ScheduleTables::Shared{});
        const std::optional<std::string> codes = CalendarDays(t, year, e.group, month);
        if (!codes) {
            p.error = rt_.Text("Brak kalendarza");
            return p;
        }
        const std::optional<CalendarGroup> g = FindGroup(t, e.group);
        const ScheduledMinutes m =
            NominalMinutes(t, e.number, e.group, g && g->variable_time, year, month, *codes, from,
                           to, [](int) { return true; });
        if (m.fault != ScheduleFault::kNone) {
            p.error = rt_.Text("Błędny harmonogram pracy");
            return p;
        }
        hours = base::YRound(m.minutes / 60, 3);
        days = base::YRound(hours / (e.hours_per_day * e.fraction), 3);
    } else {
        dbf::WorkArea& kalen = OpenCalendars(tables_);
        const dbf::KeepPosition keep(kalen);
        if (!SeekCalendar(kalen, year, e.group)) {
            p.error = rt_.Text("Brak kalendarza");
            return p;
        }
        const Calendar calendar = ReadCalendar(kalen);
        for (int day = from; day <= to; ++day)
            if (calendar.Day(month, day) == kWorkingDay) days += 1;
        hours = HoursOfDays(days, e);
    }
    if (code.in_hours) {
        p.quantity = hours;
    } else {
        p.quantity = days;
        if (code.second) p.quantity2 = hours;
    }
    return p;
}

LimitState AbsenceEntry::Limit(const AbsenceCode& code, std::string_view number,
                               const SettlementMonth& month) {
    LimitState st;
    if (base::IsBlank(code.limit)) {
        st.limit = code.stored_limit;
    } else {
        auto it = std::find_if(limits_.begin(), limits_.end(),
                               [&](const auto& p) { return p.first == code.code; });
        if (it == limits_.end()) {
            formula::Program program;
            formula::Error error;
            if (!host_.engine().Compile(code.limit, &program, &error)) {
                st.error = error.Message();
                return st;
            }
            limits_.emplace_back(code.code, std::move(program));
            it = limits_.end() - 1;
        }
        Value result;
        formula::Error error;
        if (!host_.engine().Evaluate(it->second, &result, &error)) {
            st.error = error.Message();
            return st;
        }
        if (!result.IsNumber()) {
            st.error = rt_.Text("Błędny limit: ") + code.code;
            return st;
        }
        st.limit = result.number();
    }
    if (st.limit <= 0) return st;
    st.shown = true;
    const std::string prefix = std::string(number) + YearMonth(month.year, 1).substr(0, 4);
    const dbf::KeepPosition keep(lines_);
    OrderBy(lines_, "PKNIEOB8");
    for (base::Status s = lines_.Seek(prefix); s.ok() && !lines_.eof(); s = lines_.Skip(1)) {
        const dbf::Record& r = lines_.record();
        if (r.Raw(lines_.FieldIndex("NR_PRAC")) != number ||
            r.GetNumber(lines_.FieldIndex("ROK_KAL")) != month.year ||
            r.GetNumber(lines_.FieldIndex("MC_KAL")) > month.month)
            break;
        if (lines_.deleted() ||
            base::TrimRight(r.GetString(lines_.FieldIndex("KOD_NIEOB"))) != code.code)
            continue;
        st.sum += r.GetNumber(lines_.FieldIndex("ILOSC_"));
    }
    st.sum = base::YRound(st.sum, 3);
    st.exceeded = st.sum > st.limit;
    return st;
}

void AbsenceEntry::ClearInsuranceFlag() {
    dbf::WorkArea& ster = OpenOnce(tables_, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof()) return;
    tables_.RLock(ster);
    ster.record().SetLogical(ster.FieldIndex("AKT_ZUS"), false);
    const base::Status s = ster.Commit();
    ster.Unlock();
    if (!s.ok())
        throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: ") + ster.alias()));
}

}  // namespace kestrel::worktime
