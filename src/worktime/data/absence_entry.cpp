#include "worktime/data/absence_entry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/session/abandon.h"
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

std::string Padded(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

std::string YearMonth(int year, int month) {
    char t[16];
    std::snprintf(t, sizeof t, "%4d%02d", year, month);
    return t;
}

bool HasTable(common::Runtime& rt, common::Tables& tables, std::string_view table) {
    return tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(rt.data_dir(), std::string(table) + ".DBF"));
}

SettlementMonth ReportingMonth(const EntryEmployee& e, const SettlementMonth& month) {
    return e.report_next ? NextMonth(month) : month;
}

double Hours(double days, const EntryEmployee& e) {
    return base::YRound(days * e.hours_per_day * e.fraction, 3);
}

}  // namespace

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
      lines_(OpenOnce(tables, "PKNIEOB",
                      {"PKNIEOB1", "PKNIEOB2", "PKNIEOB3", "PKNIEOB4", "PKNIEOB5", "PKNIEOB6",
                       "PKNIEOB7", "PKNIEOB8"})) {
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
    AbsenceLine l;
    l.year = month.year;
    l.month = month.month;
    l.line = line;
    l.number = e.number;
    l.group = e.group;
    l.cal_year = month.year;
    l.cal_month = month.month;
    const SettlementMonth zus = ReportingMonth(e, month);
    l.zus_year = zus.year;
    l.zus_month = zus.month;
    Store(l);
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

std::string AbsenceEntry::Regenerate(const EntryEmployee& e, const SettlementMonth& month) {
    // The generated and computed lines go first.
    std::vector<uint32_t> stale;
    int last = 0;
    ForEachLineOfMonth(tables_, e.number, month, [&](const dbf::Record& r) {
        const AbsenceCode* c = codes_.Find(r.GetString(lines_.FieldIndex("KOD_NIEOB")));
        if (c != nullptr && (c->type == 'A' || c->type == 'G'))
            stale.push_back(lines_.recno());
        else
            last = std::max(last, static_cast<int>(r.GetNumber(lines_.FieldIndex("LP_"))));
    });
    for (uint32_t recno : stale) {
        lines_.Goto(recno);
        tables_.RLock(lines_);
        const base::Status s = lines_.Delete();
        lines_.Unlock();
        if (!s.ok()) WriteFailed();
    }
    const std::string message = Generate(e, month, &last);
    if (!message.empty()) return message;
    return Compute(e, month);
}

std::string AbsenceEntry::Generate(const EntryEmployee& e, const SettlementMonth& month,
                                   int* last) {
    if (!HasTable(rt_, tables_, "PKZAW") || !HasTable(rt_, tables_, "PKSPZAW")) return {};
    dbf::WorkArea& zaw = OpenOnce(tables_, "PKZAW", {"PKZAW1"});
    dbf::WorkArea& spzaw = OpenOnce(tables_, "PKSPZAW", {"PKSPZAW1"});
    OrderBy(zaw, "PKZAW1");
    OrderBy(spzaw, "PKSPZAW1");
    struct Suspension {
        std::string code;
        DayRange days;
    };
    std::vector<Suspension> found;
    const int f_nr = zaw.FieldIndex("NR_PRAC"), f_start = zaw.FieldIndex("DATA_ZAW"),
              f_last = zaw.FieldIndex("DATA_POWR"), f_reason = zaw.FieldIndex("PRZYCZ_ZAW");
    for (base::Status s = zaw.Seek(e.number); s.ok() && !zaw.eof(); s = zaw.Skip(1)) {
        const dbf::Record& r = zaw.record();
        if (r.Raw(f_nr) != e.number) break;
        if (zaw.deleted()) continue;
        const std::optional<DayRange> days =
            SuspendedDays(base::DateOfDbfText(r.GetDate(f_start)),
                          base::DateOfDbfText(r.GetDate(f_last)), month.year, month.month);
        if (!days) continue;
        const std::string reason = r.GetString(f_reason);
        if (base::IsBlank(reason) || !spzaw.Seek(reason).ok() || !spzaw.found() || spzaw.deleted())
            continue;
        const AbsenceCode* c = codes_.Find(spzaw.record().GetString(spzaw.FieldIndex("KOD_NIEOB")));
        if (c == nullptr || c->type != 'G') continue;
        found.push_back({c->code, *days});
    }
    const SettlementMonth zus = ReportingMonth(e, month);
    for (const Suspension& s : found) {
        if (*last >= 99) return rt_.Text("Nr pozycji > 99");
        AbsenceLine l;
        l.year = month.year;
        l.month = month.month;
        l.line = ++*last;
        l.number = e.number;
        l.code = s.code;
        l.group = e.group;
        l.cal_year = month.year;
        l.cal_month = month.month;
        l.from = s.days.from;
        l.to = s.days.to;
        l.quantity = s.days.to - s.days.from + 1;
        l.quantity2 = Hours(l.quantity, e);
        l.zus_year = zus.year;
        l.zus_month = zus.month;
        WriteNew(l);
    }
    return {};
}

std::string AbsenceEntry::Compute(const EntryEmployee& e, const SettlementMonth& month) {
    int last = 0;
    for (const AbsenceLine& l : LinesOf(e.number, month)) last = std::max(last, l.line);
    host_.LoadEmployee(e.number, month);
    for (const Computed& k : computed_) {
        if (!k.compiled) return k.error.Message();
        Value result;
        formula::Error error;
        if (!host_.engine().Evaluate(k.program, &result, &error)) return error.Message();
        const std::string message = WriteComputed(k, result, e, month, &last);
        if (!message.empty()) return message;
    }
    return {};
}

std::string AbsenceEntry::WriteComputed(const Computed& k, const Value& result,
                                        const EntryEmployee& e, const SettlementMonth& month,
                                        int* last) {
    const std::string& code = k.code->code;
    const std::string wrong = rt_.Text("Błędna wartość: ") + code;
    AbsenceLine base;
    base.year = month.year;
    base.month = month.month;
    base.number = e.number;
    base.code = code;
    base.group = e.group;
    base.cal_year = month.year;
    base.cal_month = month.month;
    const SettlementMonth zus = ReportingMonth(e, month);
    base.zus_year = zus.year;
    base.zus_month = zus.month;
    std::vector<AbsenceLine> lines;
    if (result.IsNumber()) {
        if (result.number() == 0) return {};
        base.quantity = base::YRound(result.number(), 3);
        if (!FitsLine(base.quantity, 0, 0, 0, 31, 0)) return wrong;
        lines.push_back(base);
    } else if (result.IsArray()) {
        int position = 0;
        for (const Value& entry : result.items()) {
            ++position;
            const std::string shape =
                rt_.Text("Błędna wartość") + std::to_string(position) + ": " + code;
            if (!entry.IsArray()) return shape;
            const std::vector<Value>& v = entry.items();
            const size_t n = v.size();
            if (n != 5 && n != 7 && n != 8) return shape;
            if (!v[0].IsNumber() || !v[1].IsNumber() || !v[2].IsNumber() || !v[3].IsNumber())
                return shape;
            if (!v[4].IsString()) return shape;
            if (n >= 7 && (!v[5].IsNumber() || !v[6].IsNumber())) return shape;
            if (n == 8 && !v[7].IsNumber()) return shape;
            AbsenceLine l = base;
            l.quantity = base::YRound(v[0].number(), 3);
            l.statistical = v[4].str();
            if (n >= 7) {
                l.cal_year = static_cast<int>(v[5].number());
                l.cal_month = static_cast<int>(v[6].number());
                if (v[5].number() != l.cal_year || v[6].number() != l.cal_month ||
                    l.cal_month < 1 || l.cal_month > 12 || l.cal_year < 1900 || l.cal_year > 9999)
                    return wrong;
            }
            if (n == 8) l.quantity2 = base::YRound(v[7].number(), 3);
            const double from = v[1].number(), to = v[2].number(), pct = v[3].number();
            if (from != std::floor(from) || to != std::floor(to) || from < 0 || to < 0 ||
                from > 99 || to > 99)
                return wrong;
            l.from = static_cast<int>(from);
            l.to = static_cast<int>(to);
            if (!FitsLine(l.quantity, l.quantity2, l.from, l.to,
                          base::DaysInMonth(l.cal_year, l.cal_month), pct))
                return wrong;
            l.percentage = static_cast<int>(pct);
            lines.push_back(l);
        }
    } else {
        return wrong;
    }
    double total = 0;
    for (AbsenceLine& l : lines) {
        if (*last >= 99) return rt_.Text("Nr pozycji > 99");
        l.line = ++*last;
        WriteNew(l);
        total += l.quantity;
    }
    // Codes computed later see this one's quantity.
    const int slot = host_.Find(code);
    if (slot >= 0) host_.value(slot) = Value::Number(total, 3);
    return {};
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
        hours = Hours(days, e);
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
        hours = Hours(days, e);
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
    const std::string wanted = Padded(code.code, 4);
    const dbf::KeepPosition keep(lines_);
    OrderBy(lines_, "PKNIEOB8");
    for (base::Status s = lines_.Seek(prefix); s.ok() && !lines_.eof(); s = lines_.Skip(1)) {
        const dbf::Record& r = lines_.record();
        if (r.Raw(lines_.FieldIndex("NR_PRAC")) != number ||
            r.GetNumber(lines_.FieldIndex("ROK_KAL")) != month.year ||
            r.GetNumber(lines_.FieldIndex("MC_KAL")) > month.month)
            break;
        if (lines_.deleted() || r.Raw(lines_.FieldIndex("KOD_NIEOB")) != wanted) continue;
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

int RegenerateMonth(
    common::Runtime& rt, common::Tables& tables, std::string_view number,
    const std::function<void(const std::string& number, const std::string& message)>& report) {
    const SettlementMonth month = ReadSettlementMonth(rt, tables);
    FormulaHost host(rt, tables);
    for (const std::string& m : host.Prepare()) report("", m);
    AbsenceEntry entry(host, tables);
    dbf::WorkArea& prac = OpenOnce(tables, "PKPRAC", {"PKPRAC1"});
    OrderBy(prac, "PKPRAC1");
    const int f_number = prac.FieldIndex("NR_PRAC");
    std::vector<std::string> numbers;
    base::Status s = number.empty() ? prac.GoTop() : prac.Seek(number);
    for (; s.ok() && !prac.eof(); s = prac.Skip(1)) {
        const std::string nr = prac.record().GetString(f_number);
        if (!number.empty() && nr != number) break;
        if (!prac.deleted()) numbers.push_back(nr);
    }
    int done = 0;
    for (const std::string& nr : numbers) {
        const std::optional<EntryEmployee> e = ReadEntryEmployee(rt, tables, nr, month);
        if (!e) continue;
        ++done;
        const std::string message = entry.Regenerate(*e, month);
        if (!message.empty()) report(nr, message);
    }
    if (done > 0) entry.ClearInsuranceFlag();
    return done;
}

}  // namespace kestrel::worktime
