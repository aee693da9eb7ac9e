#include "register/data/employee_history.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/formula/date.h"
#include "register/data/employee_companions.h"

namespace kestrel::registry {
namespace {

using formula::Value;

// The current value of field `f` of the record.
Value Current(const dbf::Record& rec, int f) {
    const dbf::Field& field = rec.fields()[f];
    switch (field.type) {
        case dbf::FieldType::kNumeric:
            return Value::Number(rec.GetNumber(f), field.decimals);
        case dbf::FieldType::kDate:
            return Value::Date(formula::Stod(rec.GetDate(f)));
        case dbf::FieldType::kLogical:
            return Value::Logical(rec.GetLogical(f));
        default:
            return Value::String(rec.GetString(f));
    }
}

// A remembered text converted to the type of field `f`.
Value Converted(const dbf::Record& rec, int f, const std::string& text) {
    const dbf::Field& field = rec.fields()[f];
    switch (field.type) {
        case dbf::FieldType::kNumeric:
            return Value::Number(std::strtod(text.c_str(), nullptr), field.decimals);
        case dbf::FieldType::kDate:
            return Value::Date(formula::Ctod(text.substr(0, std::min<size_t>(10, text.size()))));
        case dbf::FieldType::kLogical: {
            const char c = text.empty() ? ' ' : text[0];
            return Value::Logical(c == 't' || c == 'T' || c == 'y' || c == 'Y');
        }
        default: {
            std::string s = text.substr(0, std::min<size_t>(field.length, text.size()));
            s.resize(field.length, ' ');
            return Value::String(s);
        }
    }
}

struct Remembered {
    int32_t until;
    std::string value;
};

// The remembered values of the current employee's field, in DATA_DO order,
// up to `limit`.
std::vector<Remembered> RememberedUpTo(dbf::Workspace& ws, const std::string& number,
                                       const std::string& field, int32_t limit) {
    std::vector<Remembered> out;
    dbf::WorkArea* zmprc = ws.Find("PKZMPRC");
    if (zmprc == nullptr || zmprc->index_count() == 0) return out;
    dbf::KeepPosition keep(zmprc);
    (void)zmprc->SetOrder(1);
    for (const RememberedValue& v : ReadRemembered(*zmprc, number, field)) {
        const int32_t until = formula::Stod(v.until);
        if (until > limit) break;
        out.push_back({until, v.value});
    }
    return out;
}

struct Subject {
    dbf::WorkArea* prac = nullptr;
    int field = -1;
    std::string name;
};

Subject Find(dbf::Workspace& ws, std::string_view field) {
    Subject s;
    s.prac = ws.Find("PKPRAC");
    if (s.prac == nullptr) return s;
    s.name = base::AsciiUpper(base::Trim(field));
    s.field = s.prac->FieldIndex(s.name);
    return s;
}

}  // namespace

int32_t HistoryLimit(dbf::Workspace& ws, int32_t today) {
    dbf::WorkArea* ster = ws.Find("PKSTER");
    if (ster == nullptr) return today;
    dbf::KeepPosition keep(ster);
    if (!ster->GoTop().ok() || ster->eof()) return today;
    const int year = static_cast<int>(ster->record().GetNumber(ster->FieldIndex("ROK_")));
    const int month = static_cast<int>(ster->record().GetNumber(ster->FieldIndex("MC_")));
    const int32_t last = base::JulianDay({year, month, base::DaysInMonth(year, month)});
    return last == 0 ? today : last;
}

Value ValueOnDate(dbf::Workspace& ws, std::string_view field, int32_t date, int32_t today) {
    const Subject s = Find(ws, field);
    if (s.field < 0) return Value::Nil();
    const dbf::Record& rec = s.prac->record();
    if (date == 0) return Current(rec, s.field);
    const int32_t limit = HistoryLimit(ws, today);
    if (date > limit) date = limit;
    const std::string number = rec.GetString(rec.FieldIndex("NR_PRAC"));
    for (const Remembered& r : RememberedUpTo(ws, number, s.name, limit)) {
        if (r.until >= date) return Converted(rec, s.field, r.value);
    }
    return Current(rec, s.field);
}

Value ValuesByPeriod(formula::ArrayPool& arrays, dbf::Workspace& ws, std::string_view field,
                     int32_t start, int32_t end, int32_t today) {
    Value list = Value::NewArray(arrays);
    const Subject s = Find(ws, field);
    if (s.field < 0) return list;
    const dbf::Record& rec = s.prac->record();
    const int32_t limit = HistoryLimit(ws, today);
    const int32_t employed = formula::Stod(rec.GetDate(rec.FieldIndex("DATA_ZATR")));
    if (start == 0 || start < employed) start = employed;
    if (!rec.IsBlank(rec.FieldIndex("PRZYCZ_ZW"))) {
        const int32_t dismissed = formula::Stod(rec.GetDate(rec.FieldIndex("DATA_ZWOLN")));
        if (end == 0 || end > dismissed) end = dismissed;
    }
    if (end != 0 && end > limit) end = limit;
    auto entry = [&](int32_t from, int32_t to, Value v) {
        Value e = Value::NewArray(arrays);
        e.items() = {Value::Date(from), Value::Date(to), std::move(v)};
        list.items().push_back(std::move(e));
    };
    const std::string number = rec.GetString(rec.FieldIndex("NR_PRAC"));
    int32_t from = start;
    for (const Remembered& r : RememberedUpTo(ws, number, s.name, limit)) {
        if (r.until < start) continue;
        entry(from, r.until, Converted(rec, s.field, r.value));
        from = r.until + 1;
        if (end != 0 && from > end) return list;
    }
    entry(from, end, Current(rec, s.field));
    return list;
}

void RegisterHistoryFunctions(formula::Runtime& rt, dbf::Workspace& ws) {
    rt.RegisterFunction("HSTWRT", [&ws](formula::Call& call) {
        const Value& name = call.Arg(0);
        if (!name.IsString()) return true;  // NIL
        const Value& date = call.Arg(1);
        const int32_t when = date.IsDate() ? date.julian() : 0;
        call.result = ValueOnDate(ws, name.str(), when, call.rt.Today());
        return true;
    });
    rt.RegisterFunction("HSTTAB", [&ws](formula::Call& call) {
        const Value& name = call.Arg(0);
        if (!name.IsString()) {
            call.result = Value::NewArray(call.rt.arrays());
            return true;
        }
        const Value& from = call.Arg(1);
        const Value& to = call.Arg(2);
        call.result =
            ValuesByPeriod(call.rt.arrays(), ws, name.str(), from.IsDate() ? from.julian() : 0,
                           to.IsDate() ? to.julian() : 0, call.rt.Today());
        return true;
    });
}

}  // namespace kestrel::registry
