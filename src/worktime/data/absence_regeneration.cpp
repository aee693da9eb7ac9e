#include "worktime/data/absence_entry.h"

#include <algorithm>
#include <cmath>

#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/open_once.h"
#include "worktime/data/suspension_days.h"

namespace kestrel::worktime {

using formula::Value;

namespace {

bool HasTable(common::Runtime& rt, common::Tables& tables, std::string_view table) {
    return tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(rt.data_dir(), std::string(table) + ".DBF"));
}

}  // namespace

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
    for (const Suspension& s : found) {
        if (*last >= 99) return rt_.Text("Nr pozycji > 99");
        AbsenceLine l = NewAbsenceLine(e, month, ++*last, s.code);
        l.from = s.days.from;
        l.to = s.days.to;
        l.quantity = s.days.to - s.days.from + 1;
        l.quantity2 = HoursOfDays(l.quantity, e);
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
    AbsenceLine base = NewAbsenceLine(e, month, 0, code);
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
