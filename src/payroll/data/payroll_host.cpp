#include "payroll/data/payroll_host.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/session/abandon.h"
#include "payroll/data/archive_tables.h"
#include "payroll/data/payroll_functions.h"
#include "platform/base/files.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/absence_functions.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {

using formula::Value;
using worktime::OpenOnce;
using worktime::OrderBy;

namespace {

const char* const kPlaceIndexes[] = {"PKPLACE1", "PKPLACE2", "PKPLACE3",
                                     "PKPLACE4", "PKPLACE5", "PKPLACE6"};

// A symbol as the zeroing arrays compare it: upper case, four characters.
std::string Symbol4(std::string_view s) {
    std::string out = base::AsciiUpper(s);
    out.resize(4, ' ');
    return out;
}

}  // namespace

std::string Yyyymm(YearMonth m) {
    if (m.year <= 0) return std::string(6, ' ');
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d", m.year, m.month);
    return buf;
}

YearMonth YearMonth::Back(int n) const {
    if (year <= 0) return *this;
    const int index = Index() - n;
    const int y = index >= 0 ? index / 12 : (index - 11) / 12;
    return {y, index - y * 12 + 1};
}

std::string ContextId::Name() const {
    if (by == '0') return "A0";
    return std::string(1, static_cast<char>('A' + months_back)) + by;
}

ContextId ContextOf(common::Runtime& rt, const Component& c) {
    if (!c.monthly) return {};
    if (c.months_back < 0 || c.months_back > 25)
        throw common::Abandon(rt.Text("Błędna wartość pola IL_MC_WST (") + StrN(c.months_back, 2) +
                              ")");
    return {c.months_back, c.by_payment_month ? 'W' : 'L'};
}

PayrollHost::PayrollHost(common::Runtime& rt, common::Tables& tables) : FormulaHost(rt, tables) {
    // The payroll functions, before the user functions are bound.
    RegisterPayrollFunctions(*this);
}

const PeselGroups& PayrollHost::pesel_groups() {
    if (!pesel_groups_) pesel_groups_ = std::make_unique<PeselGroups>(tables());
    return *pesel_groups_;
}

PayrollHost::~PayrollHost() = default;

int PayrollHost::IndexOf(const ContextId& id) {
    if (id.by == '0') return 0;
    return (id.by == 'L' ? 1 : 27) + id.months_back;
}

void PayrollHost::DeclareFirst() {
    components_ = ReadComponents(tables(), "PKSPL1");
    by_order_ = ReadComponents(tables(), "PKSPL2");
    std::vector<bool> in_context;
    auto mark = [&](int slot) {
        if (static_cast<size_t>(slot) >= in_context.size()) in_context.resize(slot + 1, false);
        if (!in_context[static_cast<size_t>(slot)]) context_slots_.push_back(slot);
        in_context[static_cast<size_t>(slot)] = true;
    };
    for (const Component& c : components_) {
        mark(Declare(c.symbol, "PKSPL", Value::Number(0)));
        kind_of_[base::TrimRight(c.symbol)] = c.kind;
    }
    if (!TableExists("PKOSPL")) return;
    dbf::WorkArea& ospl = OpenOnce(tables(), "PKOSPL");
    const dbf::KeepPosition keep(ospl);
    const int f = ospl.FieldIndex("SKLADN_PL");
    for (base::Status s = ospl.GoTop(); s.ok() && !ospl.eof(); s = ospl.Skip(1))
        Declare(ospl.record().GetString(f), "PKOSPL", Value::Number(0));
}

bool PayrollHost::BindsFunction(std::string_view name) const {
    const std::string n = base::AsciiUpper(name);
    return n != "TBZK55M60" && n != "TBZ26";
}

std::vector<std::string> PayrollHost::PrepareRun() {
    std::vector<std::string> messages = Prepare();
    // Which slots belong to the contexts: the components (marked while
    // declaring) and every numeric code of PKROB, PKRNB and PKSRDOD.
    std::vector<bool> in_context(engine().slots().size(), false);
    for (int slot : context_slots_) in_context[static_cast<size_t>(slot)] = true;
    for (auto [table, field] : {std::pair{"PKROB", "KOD_OB"}, std::pair{"PKRNB", "KOD_NIEOB"},
                                std::pair{"PKSRDOD", "RODZAJ_DOD"}}) {
        if (!TableExists(table)) continue;
        dbf::WorkArea& a = OpenOnce(tables(), table);
        const dbf::KeepPosition keep(a);
        const int f = a.FieldIndex(field);
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
            const int slot = Find(base::TrimRight(a.record().GetString(f)));
            if (slot < 0 || in_context[static_cast<size_t>(slot)]) continue;
            in_context[static_cast<size_t>(slot)] = true;
            context_slots_.push_back(slot);
        }
    }
    for (size_t slot = 0; slot < in_context.size(); ++slot)
        if (!in_context[slot]) shared_slots_.push_back(static_cast<int>(slot));
    EvaluateArrays();
    have_place_ = TableExists("PKPLACE");
    have_czas_ = TableExists("PKCZAS");
    have_walor_ = TableExists("PKWALOR");
    return messages;
}

void PayrollHost::EvaluateArrays() {
    if (!TableExists("PKFUNC")) return;
    dbf::WorkArea& func = OpenOnce(tables(), "PKFUNC", {"PKFUNC1"});
    const dbf::KeepPosition keep(func);
    OrderBy(func, "PKFUNC1");
    const int f_fun = func.FieldIndex("FUN_");
    const int f_wzor = func.FieldIndex("WZOR_");
    for (auto [name, out] : {std::pair{"TBZK55M60", &over_age_}, std::pair{"TBZ26", &under_26_}}) {
        if (!func.Seek(name).ok() || !func.found()) continue;
        if (base::AsciiUpper(base::Trim(func.record().GetString(f_fun))) != name) continue;
        std::string body;
        if (!func.ReadMemo(f_wzor, &body).ok()) continue;
        formula::Program p;
        formula::Error e;
        Value v;
        if (!engine().Compile(body, &p, &e) || !engine().Evaluate(p, &v, &e) || !v.IsArray())
            continue;
        for (const Value& item : v.items())
            if (item.IsString()) out->push_back(Symbol4(item.str()));
    }
}

bool PayrollHost::Names(const std::vector<std::string>& symbols, std::string_view symbol) {
    const std::string s = Symbol4(symbol);
    for (const std::string& item : symbols)
        if (item == s) return true;
    return false;
}

void PayrollHost::SetList(const PayrollList& list) {
    list_ = list;
    list_month_ = {std::atoi(list.year.c_str()), std::atoi(list.month.c_str())};
    payment_month_ = {};
    if (list.paid.size() >= 6)
        payment_month_ = {std::atoi(list.paid.substr(0, 4).c_str()),
                          std::atoi(list.paid.substr(4, 2).c_str())};
}

void PayrollHost::LoadEmployee(std::string_view number) {
    employee_ = std::string(number);
    walor_ = {};
    for (bool& b : built_) b = false;
    // Allowances of the list month, extended values, absences; LoadMore()
    // adds the attendance and the positions.
    FormulaHost::LoadEmployee(number, {list_month_.year, list_month_.month});
    current_ = {};
    BindValues();
    if (TableExists("PKPRAC")) {
        dbf::WorkArea& prac = OpenOnce(tables(), "PKPRAC", {"PKPRAC1"});
        OrderBy(prac, "PKPRAC1");
        prac.Seek(number);
    }
    MakeValorisationCurrent(list_month_);
}

void PayrollHost::LoadEmpty() {
    employee_.clear();
    walor_ = {};
    for (bool& b : built_) b = false;
    std::vector<Value>& a0 = values();
    for (size_t slot = 0; slot < a0.size(); ++slot) {
        const Value& empty = empty_value(static_cast<int>(slot));
        a0[slot] = empty.IsNil() ? Value::NewArray(engine().arrays()) : empty;
    }
    current_ = {};
    BindValues();
}

void PayrollHost::LoadMore(std::string_view number, const worktime::SettlementMonth&) {
    std::vector<Value>& a0 = values();
    a0_.assign(a0.size(), 0.0);
    AddAttendance(number, list_month_, &a0);
    // AL and AW start as A0: allowances, attendance and absences.
    std::vector<Value>& al = vectors_[IndexOf({0, 'L'})];
    std::vector<Value>& aw = vectors_[IndexOf({0, 'W'})];
    al = a0;
    aw = a0;
    char key[8];
    std::snprintf(key, sizeof key, "%04d%02d", list_month_.year, list_month_.month);
    AddPositions("PKPLACE2", key + std::string(number), &al, true);
    AddPositions("PKPLACE5", Yyyymm(payment_month_) + std::string(number), &aw, false);
    built_[IndexOf({0, 'L'})] = built_[IndexOf({0, 'W'})] = true;
}

void PayrollHost::AddTo(std::vector<Value>* to, int slot, double amount, int decimals) {
    if (slot < 0) return;
    Value& v = (*to)[static_cast<size_t>(slot)];
    if (!v.IsNumber()) return;
    v = Value::Number(v.number() + amount, std::max(decimals, v.decimals()));
}

dbf::WorkArea* PayrollHost::ArchivedPositions(int year) {
    auto it = archive_alias_.find(year);
    if (it == archive_alias_.end()) {
        char name[16];
        std::snprintf(name, sizeof name, "ARCH%04d", year);
        // The directory's name as found on disk (any case).
        const std::string archive =
            std::filesystem::path(base::FindNoCase(rt().data_dir(), name)).filename().string();
        std::string alias;
        if (year > 0 && ArchiveHas(rt(), archive, "PKPLACE")) {
            alias = "PKPLA" + std::to_string(year);
            AreasAsFound keep(tables().workspace());
            OpenArchived(
                tables(), archive, alias, "PKPLACE",
                std::vector<std::string>(std::begin(kPlaceIndexes), std::end(kPlaceIndexes)));
        }
        it = archive_alias_.emplace(year, alias).first;
    }
    if (it->second.empty()) return nullptr;
    return tables().workspace().Find(it->second);
}

void PayrollHost::AddPositions(std::string_view index, const std::string& key,
                               std::vector<Value>* to, bool this_list_to_a0) {
    if (!have_place_) return;
    dbf::WorkArea& place =
        OpenOnce(tables(), "PKPLACE",
                 std::vector<std::string>(std::begin(kPlaceIndexes), std::end(kPlaceIndexes)));
    AddPositionsOf(place, index, key, to, this_list_to_a0);
}

void PayrollHost::AddPositionsOf(dbf::WorkArea& place, std::string_view index,
                                 const std::string& key, std::vector<Value>* to,
                                 bool this_list_to_a0) {
    const dbf::KeepPosition keep(place);
    OrderBy(place, index);
    const dbf::Record& r = place.record();
    const int f_year = place.FieldIndex("ROK_LST"), f_type = place.FieldIndex("TYP_LST"),
              f_nr = place.FieldIndex("NR_LST"), f_month = place.FieldIndex("MC_LST"),
              f_paid = place.FieldIndex("DATA_WYP"), f_prac = place.FieldIndex("NR_PRAC"),
              f_skl = place.FieldIndex("SKLADN_PL"), f_kw = place.FieldIndex("KWOTA_"),
              f_block = place.FieldIndex("NIE_ALG");
    const bool by_list_month = index == "PKPLACE2";
    const std::string list_key = list_.Key();
    for (base::Status s = place.Seek(key); s.ok() && !place.eof(); s = place.Skip(1)) {
        const std::string head = by_list_month
                                     ? std::string(r.Raw(f_year)) + std::string(r.Raw(f_month))
                                     : std::string(r.Raw(f_paid)).substr(0, 6);
        if (head + std::string(r.Raw(f_prac)) != key) break;
        const std::string symbol = base::TrimRight(r.GetString(f_skl));
        const bool this_list = std::string(r.Raw(f_year)) + std::string(r.Raw(f_type)) +
                                   StrN(static_cast<int>(r.GetNumber(f_nr)), 4) ==
                               list_key;
        if (this_list) {
            auto kind = kind_of_.find(symbol);
            const bool algorithmic = kind != kind_of_.end() && kind->second == 'A';
            if (algorithmic && !r.GetLogical(f_block)) continue;
        }
        const int slot = Find(symbol);
        const double amount = r.GetNumber(f_kw);
        AddTo(to, slot, amount, 2);
        if (this_list && this_list_to_a0 && slot >= 0) {
            values()[static_cast<size_t>(slot)] = Value::Number(amount, 2);
            a0_[static_cast<size_t>(slot)] = amount;
        }
    }
}

void PayrollHost::AddAttendance(std::string_view number, YearMonth month, std::vector<Value>* to) {
    if (!have_czas_) return;
    dbf::WorkArea& czas =
        OpenOnce(tables(), "PKCZAS", {"PKCZAS1", "PKCZAS2", "PKCZAS3", "PKCZAS4"});
    const dbf::KeepPosition keep(czas);
    OrderBy(czas, "PKCZAS1");
    const dbf::Record& r = czas.record();
    const int f_nr = czas.FieldIndex("NR_PRAC"), f_year = czas.FieldIndex("ROK_"),
              f_month = czas.FieldIndex("MIESIAC_"), f_code = czas.FieldIndex("KOD_OB"),
              f_hours = czas.FieldIndex("ILOSC_GODZ");
    char key[16];
    std::snprintf(key, sizeof key, "%4d%02d", month.year, month.month);
    for (base::Status s = czas.Seek(key + std::string(number)); s.ok() && !czas.eof();
         s = czas.Skip(1)) {
        if (r.Raw(f_nr) != number || static_cast<int>(r.GetNumber(f_year)) != month.year ||
            static_cast<int>(r.GetNumber(f_month)) != month.month)
            break;
        AddTo(to, Find(base::TrimRight(r.GetString(f_code))), r.GetNumber(f_hours), 2);
    }
}

void PayrollHost::AddQuantities(std::string_view number, YearMonth month, std::vector<Value>* to) {
    AddAttendance(number, month, to);
    if (TableExists("PKNIEOB")) {
        const dbf::WorkArea& nieob = worktime::AbsenceLines(tables());
        const int f_code = nieob.FieldIndex("KOD_NIEOB");
        const int f_qty = nieob.FieldIndex("ILOSC_");
        worktime::ForEachLineOfMonth(
            tables(), number, {month.year, month.month}, [&](const dbf::Record& r) {
                AddTo(to, Find(base::TrimRight(r.GetString(f_code))), r.GetNumber(f_qty), 3);
            });
    }
}

void PayrollHost::Build(const ContextId& id, std::vector<Value>* out) {
    out->resize(engine().slots().size());
    for (size_t slot = 0; slot < out->size(); ++slot)
        (*out)[slot] = empty_value(static_cast<int>(slot));
    for (int slot : context_slots_) (*out)[static_cast<size_t>(slot)] = Value::Number(0);
    const YearMonth month = list_month_.Back(id.months_back);
    if (id.by == 'L') {
        const std::string key = Yyyymm(month) + employee_;
        AddPositions("PKPLACE2", key, out, false);
        if (dbf::WorkArea* archive = ArchivedPositions(month.year))
            AddPositionsOf(*archive, "PKPLACE2", key, out, false);
    } else {
        const YearMonth paid = payment_month_.Back(id.months_back);
        const std::string key = Yyyymm(paid) + employee_;
        AddPositions("PKPLACE5", key, out, false);
        // The archives keep a list's positions under the list's year.
        for (int year : {paid.year, paid.year - 1})
            if (dbf::WorkArea* archive = ArchivedPositions(year))
                AddPositionsOf(*archive, "PKPLACE5", key, out, false);
    }
    AddQuantities(employee_, month, out);
    ++built_count_;
}

std::vector<Value>& PayrollHost::Vector(const ContextId& id) {
    const int i = IndexOf(id);
    if (i == 0) return values();
    std::vector<Value>& v = vectors_[static_cast<size_t>(i)];
    if (!built_[static_cast<size_t>(i)]) {
        Build(id, &v);
        built_[static_cast<size_t>(i)] = true;
    }
    return v;
}

void PayrollHost::SwitchTo(const ContextId& id) {
    if (!(id == current_)) {
        std::vector<Value>& from = Vector(current_);
        std::vector<Value>& to = Vector(id);
        // What belongs to no context (an optional component a formula set,
        // the absence lists, the extended values) stays as it is.
        for (int slot : shared_slots_)
            to[static_cast<size_t>(slot)] = from[static_cast<size_t>(slot)];
        engine().BindSlots(to.data(), to.size());
        current_ = id;
    }
    MakeValorisationCurrent(list_month_.Back(id.months_back));
}

void PayrollHost::MakeValorisationCurrent(YearMonth month) {
    if (!have_walor_) return;
    dbf::WorkArea& walor = OpenOnce(tables(), "PKWALOR", {"PKWALOR1"});
    // The record found for this month is still current when nothing has
    // moved the area since (a formula may): no seek. It is sought again for
    // every employee, so that another workstation's change of the table is
    // seen from the next employee on.
    if (walor_.month == month.Index() && walor_.serial == walor.serial() &&
        walor_.moves == walor.moves())
        return;
    OrderBy(walor, "PKWALOR1");
    char key[16];
    std::snprintf(key, sizeof key, "%4d%02d", month.year, month.month);
    walor.Seek(key);
    walor_ = {month.Index(), walor.serial(), walor.moves()};
}

void PayrollHost::SetAmount(std::string_view symbol, double v) {
    const std::string s = base::TrimRight(symbol);
    if (kind_of_.find(s) == kind_of_.end()) return;
    const int slot = Find(s);
    if (slot < 0) return;
    const size_t i = static_cast<size_t>(slot);
    const double p = a0_[i];
    AddTo(&vectors_[IndexOf({0, 'L'})], slot, v - p, 2);
    AddTo(&vectors_[IndexOf({0, 'W'})], slot, v - p, 2);
    values()[i] = Value::Number(v, 2);
    a0_[i] = v;
}

void PayrollHost::SetQuantity(std::string_view code, double v) {
    const int slot = Find(base::TrimRight(code));
    if (slot < 0) return;
    for (std::vector<Value>* to :
         {&values(), &vectors_[IndexOf({0, 'L'})], &vectors_[IndexOf({0, 'W'})]})
        if (static_cast<size_t>(slot) < to->size())
            (*to)[static_cast<size_t>(slot)] = Value::Number(v, 2);
}

double PayrollHost::Amount(const ContextId& id, std::string_view name) {
    const int slot = Find(base::TrimRight(name));
    if (slot < 0) return 0;
    const Value& v = Vector(id)[static_cast<size_t>(slot)];
    return v.IsNumber() ? v.number() : 0;
}

bool PayrollHost::EvaluateComponent(const Component& c, double* value, formula::Error* error) {
    SwitchTo(c);
    std::unique_ptr<formula::Program>& p = programs_[c.symbol];
    if (p == nullptr) {
        auto compiled = std::make_unique<formula::Program>();
        if (!engine().Compile(c.algorithm, compiled.get(), error)) return false;
        p = std::move(compiled);
    }
    struct Computing {
        std::string& symbol;
        ~Computing() { symbol.clear(); }
    } computing{computing_};
    computing_ = base::TrimRight(c.symbol);
    Value v;
    if (!engine().EvaluateAs(*p, formula::Type::kNumber, &v, error)) return false;
    *value = base::YRound(v.number(), 2);
    return true;
}

}  // namespace kestrel::payroll
