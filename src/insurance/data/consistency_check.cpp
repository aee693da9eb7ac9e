#include "insurance/data/consistency_check.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>

#include "common/session/abandon.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/runtime.h"
#include "platform/picture/picture.h"
#include "worktime/data/open_once.h"

namespace kestrel::insurance {
namespace {

using formula::Value;
using Months = std::vector<std::pair<int, int>>;

constexpr const char* kTargets[] = {"PKSKLAD", "PKZASIL", "PKKSKWN",
                                    "PKWYNAG", "PKPODST", "PKOKRES"};

std::string Cp(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

int Number(const dbf::Record& r, dbf::WorkArea& a, const char* field) {
    return std::atoi(base::Trim(r.GetString(a.FieldIndex(field))).c_str());
}

bool In(const Months& months, int year, int month) {
    return std::find(months.begin(), months.end(), std::make_pair(year, month)) != months.end();
}

// One record of a table, as the checks read it: its months and values.
struct Row {
    std::string employee;
    int year = 0, month = 0;              // declaration (or list) month
    int other_year = 0, other_month = 0;  // payment month, list month of PKZASIL
    std::string code;                     // component, absence code
    std::vector<double> values;
};

// The rows of a table by employee.
using Rows = std::map<std::string, std::vector<Row>>;

struct Check {
    std::string symbol, description, target;
    Months absences, list_months, paid_months, zus_months, lst_months, zasil_months;
    formula::Program condition, first, second;
    bool has_condition = false, has_first = false, has_second = false;
};

class Checker {
  public:
    Checker(common::Runtime& rt, common::Tables& tables)
        : rt_(rt), tables_(tables), engine_(nullptr, rt.formulas()) {}

    CheckOutcome Run(CheckObserver* observer);

  private:
    void SetFlags(bool nie_spr, bool bld_spr);
    bool ReadChecks(std::string* message);
    void Declare();
    bool Compile(dbf::WorkArea& a, const char* field, formula::Program* p, bool* has,
                 std::string* message);
    void Load();
    Rows LoadTable(const std::string& table, std::vector<int>* slots);
    bool Evaluate(const formula::Program& p, Value* v, std::string* message);
    bool CheckEmployee(const std::string& employee, CheckOutcome* out);
    void Fill(const Check& c, const std::string& employee);

    common::Runtime& rt_;
    common::Tables& tables_;
    formula::Runtime engine_;
    int year_ = 0, month_ = 0;
    std::vector<Check> checks_;
    std::map<std::string, int> components_, absences_, zasil_days_;  // name → slot
    Rows items_, absence_rows_;
    std::map<std::string, Rows> targets_;
    std::map<std::string, std::vector<int>> target_slots_;  // numeric fields → slots
    std::vector<Value> values_;
};

void Checker::SetFlags(bool nie_spr, bool bld_spr) {
    dbf::WorkArea& ster = worktime::OpenOnce(tables_, "PKSTER");
    if (!ster.GoTop().ok() || ster.eof()) throw common::Abandon(Cp("Błąd odczytu: PKSTER"));
    tables_.RLock(ster);
    dbf::Record& r = ster.record();
    if (!r.SetLogical(ster.FieldIndex("NIE_SPR"), nie_spr).ok() ||
        !r.SetLogical(ster.FieldIndex("BLD_SPR"), bld_spr).ok() || !ster.Commit().ok())
        throw common::Abandon(Cp("Błąd zapisu: PKSTER"));
    ster.Unlock();
}

bool Checker::Compile(dbf::WorkArea& a, const char* field, formula::Program* p, bool* has,
                      std::string* message) {
    std::string text;
    if (!a.ReadMemo(a.FieldIndex(field), &text).ok())
        throw common::Abandon(Cp("Błąd odczytu: PKASPRZ"));
    *has = !base::Trim(text).empty();
    if (!*has) return true;
    formula::Error err;
    if (engine_.Compile(text, p, &err)) return true;
    *message = err.Message();
    return false;
}

void Checker::Declare() {
    auto declare = [&](std::map<std::string, int>* into, const std::string& name) {
        if (name.empty() || into->count(name)) return;
        const int slot = engine_.slots().Declare(name);
        if (slot >= 0) (*into)[name] = slot;
    };
    dbf::WorkArea& spl = worktime::OpenOnce(tables_, "PKSPL");
    for (base::Status s = spl.GoTop(); s.ok() && !spl.eof(); s = spl.Skip(1))
        declare(&components_, base::Trim(spl.record().GetString(spl.FieldIndex("SKLADN_PL"))));
    dbf::WorkArea& rnb = worktime::OpenOnce(tables_, "PKRNB");
    for (base::Status s = rnb.GoTop(); s.ok() && !rnb.eof(); s = rnb.Skip(1)) {
        const std::string code = base::Trim(rnb.record().GetString(rnb.FieldIndex("KOD_NIEOB")));
        declare(&absences_, code);
        declare(&zasil_days_, "ZUS_" + code);
    }
    for (const Check& c : checks_) {
        if (c.target.empty() || target_slots_.count(c.target)) continue;
        std::vector<int>& slots = target_slots_[c.target];
        dbf::WorkArea& t = worktime::OpenOnce(tables_, c.target);
        for (const dbf::Field& f : t.record().fields())
            slots.push_back(f.type == dbf::FieldType::kNumeric ? engine_.slots().Declare(f.name)
                                                               : -1);
    }
}

bool Checker::ReadChecks(std::string* message) {
    dbf::WorkArea& a = worktime::OpenOnce(tables_, "PKASPRZ", {"PKASPRZ1"});
    std::vector<uint32_t> records;
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
        const dbf::Record& r = a.record();
        Check c;
        c.symbol = base::Trim(r.GetString(a.FieldIndex("SYMB_ALG")));
        c.description = base::Trim(r.GetString(a.FieldIndex("OPIS_ALG")));
        c.target = base::AsciiUpper(base::Trim(r.GetString(a.FieldIndex("ZBIOR_"))));
        if (!c.target.empty() &&
            std::find_if(std::begin(kTargets), std::end(kTargets),
                         [&](const char* t) { return c.target == t; }) == std::end(kTargets)) {
            *message = Cp("Błędny zbiór: \"") + c.target + Cp("\" w PKASPRZ");
            return false;
        }
        auto months = [&](const char* field) {
            return SelectorMonths(r.GetString(a.FieldIndex(field)), year_, month_);
        };
        c.absences = months("MC_NIEOB");
        c.list_months = months("PLC_MC_LST");
        c.paid_months = months("PLC_MC_WYP");
        c.zus_months = months("ZB_MC_ZUS");
        c.lst_months = months("ZB_MC_LST");
        c.zasil_months = months("NIEOB_ZUS");
        checks_.push_back(std::move(c));
        records.push_back(a.recno());
    }
    if (checks_.empty()) return true;
    // Every name is declared before the first formula is compiled.
    Declare();
    for (size_t i = 0; i < checks_.size(); ++i) {
        if (!a.Goto(records[i]).ok()) throw common::Abandon(Cp("Błąd odczytu: PKASPRZ"));
        Check& c = checks_[i];
        if (!Compile(a, "WARUNEK_", &c.condition, &c.has_condition, message) ||
            !Compile(a, "WZOR_1", &c.first, &c.has_first, message) ||
            !Compile(a, "WZOR_2", &c.second, &c.has_second, message))
            return false;
    }
    return true;
}

Rows Checker::LoadTable(const std::string& table, std::vector<int>* slots) {
    Rows rows;
    dbf::WorkArea& t = worktime::OpenOnce(tables_, table);
    const bool benefits = table == "PKZASIL";
    for (base::Status s = t.GoTop(); s.ok() && !t.eof(); s = t.Skip(1)) {
        const dbf::Record& r = t.record();
        Row row;
        row.employee = r.GetString(t.FieldIndex("NR_PRAC"));
        if (benefits) {
            row.year = Number(r, t, "ROK_ZUS");
            row.month = Number(r, t, "MC_ZUS");
            row.other_year = Number(r, t, "ROK_LST");
            row.other_month = Number(r, t, "MC_LST");
            row.code = base::Trim(r.GetString(t.FieldIndex("KOD_NIEOB")));
        } else {
            row.year = row.other_year = Number(r, t, "ROK_");
            row.month = row.other_month = Number(r, t, "MC_");
        }
        for (size_t i = 0; i < slots->size(); ++i)
            row.values.push_back(r.fields()[i].type == dbf::FieldType::kNumeric
                                     ? r.GetNumber(static_cast<int>(i))
                                     : 0);
        rows[row.employee].push_back(std::move(row));
    }
    return rows;
}

void Checker::Load() {
    dbf::WorkArea& place = worktime::OpenOnce(tables_, "PKPLACE");
    for (base::Status s = place.GoTop(); s.ok() && !place.eof(); s = place.Skip(1)) {
        const dbf::Record& r = place.record();
        Row row;
        row.employee = r.GetString(place.FieldIndex("NR_PRAC"));
        row.year = Number(r, place, "ROK_LST");
        row.month = Number(r, place, "MC_LST");
        const std::string paid = r.GetDate(place.FieldIndex("DATA_WYP"));
        row.other_year = std::atoi(paid.substr(0, 4).c_str());
        row.other_month = paid.size() >= 6 ? std::atoi(paid.substr(4, 2).c_str()) : 0;
        row.code = base::Trim(r.GetString(place.FieldIndex("SKLADN_PL")));
        row.values = {r.GetNumber(place.FieldIndex("KWOTA_"))};
        items_[row.employee].push_back(std::move(row));
    }
    dbf::WorkArea& nieob = worktime::OpenOnce(tables_, "PKNIEOB");
    for (base::Status s = nieob.GoTop(); s.ok() && !nieob.eof(); s = nieob.Skip(1)) {
        const dbf::Record& r = nieob.record();
        Row row;
        row.employee = r.GetString(nieob.FieldIndex("NR_PRAC"));
        row.year = Number(r, nieob, "ROK_");
        row.month = Number(r, nieob, "MIESIAC_");
        row.code = base::Trim(r.GetString(nieob.FieldIndex("KOD_NIEOB")));
        row.values = {r.GetNumber(nieob.FieldIndex("ILOSC_"))};
        absence_rows_[row.employee].push_back(std::move(row));
    }
    bool zasil = false;
    for (const Check& c : checks_) zasil = zasil || !c.zasil_months.empty();
    if (zasil && !target_slots_.count("PKZASIL")) {
        std::vector<int>& slots = target_slots_["PKZASIL"];
        dbf::WorkArea& t = worktime::OpenOnce(tables_, "PKZASIL");
        slots.assign(t.record().fields().size(), -1);
    }
    for (auto& [table, slots] : target_slots_) targets_[table] = LoadTable(table, &slots);
}

void Checker::Fill(const Check& c, const std::string& employee) {
    std::fill(values_.begin(), values_.end(), Value::Number(0));
    auto add = [this](int slot, double x) {
        values_[static_cast<size_t>(slot)] =
            Value::Number(values_[static_cast<size_t>(slot)].number() + x, 2);
    };
    if (!c.list_months.empty() || !c.paid_months.empty()) {
        for (const Row& i : items_[employee]) {
            if (!c.list_months.empty() && !In(c.list_months, i.year, i.month)) continue;
            if (!c.paid_months.empty() && !In(c.paid_months, i.other_year, i.other_month)) continue;
            const auto slot = components_.find(i.code);
            if (slot != components_.end()) add(slot->second, i.values[0]);
        }
    }
    for (const Row& a : absence_rows_[employee]) {
        if (!In(c.absences, a.year, a.month)) continue;
        const auto slot = absences_.find(a.code);
        if (slot != absences_.end()) add(slot->second, a.values[0]);
    }
    if (!c.target.empty()) {
        const std::vector<int>& slots = target_slots_[c.target];
        for (const Row& r : targets_[c.target][employee]) {
            if (!In(c.zus_months, r.year, r.month) &&
                !In(c.lst_months, r.other_year, r.other_month))
                continue;
            for (size_t i = 0; i < slots.size(); ++i)
                if (slots[i] >= 0) add(slots[i], r.values[i]);
        }
    }
    if (!c.zasil_months.empty()) {
        dbf::WorkArea& t = worktime::OpenOnce(tables_, "PKZASIL");
        const int days = t.FieldIndex("ILOSC_DNI");
        for (const Row& r : targets_["PKZASIL"][employee]) {
            if (!In(c.zasil_months, r.year, r.month)) continue;
            const auto slot = zasil_days_.find("ZUS_" + r.code);
            if (slot != zasil_days_.end() && static_cast<size_t>(days) < r.values.size())
                add(slot->second, r.values[static_cast<size_t>(days)]);
        }
    }
}

bool Checker::Evaluate(const formula::Program& p, Value* v, std::string* message) {
    formula::Error err;
    if (engine_.Evaluate(p, v, &err)) return true;
    *message = err.Message();
    return false;
}

std::string Shown(const Value& v) {
    if (v.IsNumber()) return picture::FormatFixed(v.number(), 2);
    if (v.IsLogical()) return v.logical() ? ".T." : ".F.";
    if (v.IsString()) return v.str();
    return "NIL";
}

bool Same(const Value& a, const Value& b) {
    if (a.IsNumber() && b.IsNumber())
        return base::YRound(a.number(), 2) == base::YRound(b.number(), 2);
    if (a.IsLogical() && b.IsLogical()) return a.logical() == b.logical();
    if (a.IsString() && b.IsString()) return base::TrimRight(a.str()) == base::TrimRight(b.str());
    return Shown(a) == Shown(b);
}

bool Checker::CheckEmployee(const std::string& employee, CheckOutcome* out) {
    for (const Check& c : checks_) {
        Fill(c, employee);
        Value v;
        if (c.has_condition) {
            if (!Evaluate(c.condition, &v, &out->message)) return false;
            if (!v.IsLogical()) {
                out->message = Cp("Błędny warunek PKASPRZ");
                return false;
            }
            if (!v.logical()) continue;
        }
        Value first = Value::Number(0), second = Value::Number(0);
        if (c.has_first && !Evaluate(c.first, &first, &out->message)) return false;
        if (c.has_second && !Evaluate(c.second, &second, &out->message)) return false;
        if (!Same(first, second))
            out->failed.push_back({employee, c.symbol, c.description, Shown(first), Shown(second)});
    }
    return true;
}

CheckOutcome Checker::Run(CheckObserver* observer) {
    CheckOutcome out;
    dbf::WorkArea& ster = worktime::OpenOnce(tables_, "PKSTER");
    if (!ster.GoTop().ok() || ster.eof()) throw common::Abandon(Cp("Błąd odczytu: PKSTER"));
    year_ = Number(ster.record(), ster, "ROK_");
    month_ = Number(ster.record(), ster, "MC_");
    if (!ReadChecks(&out.message)) return out;
    if (checks_.empty()) {
        out.message = Cp("Brak zdefiniowanych algorytmów");
        return out;
    }
    SetFlags(false, true);
    Load();
    values_.assign(engine_.slots().size(), Value::Number(0));
    engine_.BindSlots(values_.data(), values_.size());
    dbf::WorkArea& prac = worktime::OpenOnce(tables_, "PKPRAC", {"PKPRAC1"});
    for (base::Status s = prac.GoTop(); s.ok() && !prac.eof(); s = prac.Skip(1)) {
        const std::string employee = prac.record().GetString(prac.FieldIndex("NR_PRAC"));
        if (observer) {
            if (observer->Interrupted()) {
                out.interrupted = true;
                return out;
            }
            observer->Employee(employee);
        }
        ++out.employees;
        if (!CheckEmployee(employee, &out)) return out;
    }
    SetFlags(false, !out.failed.empty());
    out.completed = true;
    return out;
}

}  // namespace

Months SelectorMonths(std::string_view selector, int year, int month) {
    Months out;
    auto shifted = [&](int by) {
        int m = month + by, y = year;
        while (m < 1) m += 12, --y;
        while (m > 12) m -= 12, ++y;
        return std::make_pair(y, m);
    };
    for (char ch : selector) {
        switch (ch) {
            case 'W':
            case 'w':
                out.push_back(shifted(0));
                break;
            case 'P':
            case 'p':
                out.push_back(shifted(-1));
                break;
            case 'N':
            case 'n':
                out.push_back(shifted(1));
                break;
            case 'D':
            case 'd':
                out.push_back(shifted(2));
                break;
            case 'B':
            case 'b':
                for (int m = 1; m < month; ++m) out.emplace_back(year, m);
                break;
            default:
                break;
        }
    }
    return out;
}

CheckOutcome RunConsistencyCheck(common::Runtime& rt, common::Tables& tables,
                                 CheckObserver* observer) {
    Checker checker(rt, tables);
    return checker.Run(observer);
}

}  // namespace kestrel::insurance
