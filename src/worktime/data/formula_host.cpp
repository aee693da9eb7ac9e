#include "worktime/data/formula_host.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include "common/session/abandon.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/formula/date.h"
#include "platform/formula/lexer.h"
#include "worktime/data/host_functions.h"
#include "worktime/data/open_once.h"

namespace kestrel::worktime {

using formula::Value;

// One field of the extended structure that is a variable: a single field
// (row 0) or a member of a repeating record (rows 1, 2, ...).
struct FormulaHost::ExtendedField {
    std::string key;  // upper case, as PKUPRC keeps it
    char type = 'C';
    int width = 0;
    int decimals = 0;
    int group = -1;  // the repeating record it belongs to, -1 for a single field
    int slot = -1;
    int name_slot = -1;  // "X" + key of a dictionary field
};

namespace {

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

}  // namespace

bool IsVariableName(std::string_view name) {
    if (name.empty() || !std::isalpha(static_cast<unsigned char>(name[0]))) return false;
    for (unsigned char c : name)
        if (c > 127 || !(std::isalnum(c) || c == '_')) return false;
    return true;
}

FormulaHost::FormulaHost(common::Runtime& rt, common::Tables& tables)
    : rt_(rt),
      tables_(tables),
      table_host_(tables.workspace()),
      engine_(&table_host_, rt.formulas()) {
    RegisterHostFunctions(rt_, tables_, engine_, absences_);
}

FormulaHost::~FormulaHost() = default;

bool FormulaHost::TableExists(std::string_view table) const {
    if (tables_.workspace().Find(table) != nullptr) return true;
    auto it = on_disk_.find(table);
    if (it == on_disk_.end()) {
        const bool there =
            base::Exists(base::FindNoCase(rt_.data_dir(), std::string(table) + ".DBF"));
        it = on_disk_.emplace(std::string(table), there).first;
    }
    return it->second;
}

int FormulaHost::Declare(std::string_view symbol, std::string_view table, Value empty) {
    const std::string name = base::TrimRight(symbol);
    if (!IsVariableName(name))
        throw common::Abandon(rt_.Text("Błędny kod: ") + Quoted(name) + rt_.Text(" w zbiorze ") +
                              std::string(table));
    const size_t before = engine_.slots().size();
    const int slot = engine_.slots().Declare(name);
    if (engine_.slots().size() > before) defaults_.push_back(std::move(empty));
    return slot;
}

int FormulaHost::DeclareList(std::string_view name, std::string_view table) {
    const size_t before = engine_.slots().size();
    const int slot = Declare(name, table, Value::Nil());
    if (engine_.slots().size() > before) list_slots_.push_back(slot);
    return slot;
}

void FormulaHost::DeclareSymbolsOf(std::string_view table, std::string_view index,
                                   std::string_view field, std::string_view list_prefix) {
    if (!TableExists(table)) return;
    dbf::WorkArea& area = OpenOnce(tables_, table, {std::string(index)});
    OrderBy(area, index);
    const int f = area.FieldIndex(field);
    for (base::Status s = area.GoTop(); s.ok() && !area.eof(); s = area.Skip(1)) {
        const std::string symbol = base::TrimRight(area.record().GetString(f));
        Declare(symbol, table, Value::Number(0));
        if (!list_prefix.empty()) DeclareList(std::string(list_prefix) + symbol, table);
    }
}

std::vector<std::string> FormulaHost::Prepare() {
    DeclareFirst();
    DeclareSymbolsOf("PKROB", "PKROB1", "KOD_OB");
    DeclareSymbolsOf("PKRNB", "PKRNB1", "KOD_NIEOB", "YTB");
    DeclareSymbolsOf("PKSRDOD", "PKSRDOD1", "RODZAJ_DOD");
    DeclareMore();
    DeclareExtendedKeys();
    std::vector<std::string> messages;
    DefineUserFunctions(&messages);
    values_ = defaults_;
    BindValues();
    if (TableExists("PKDOD")) dod_ = &OpenOnce(tables_, "PKDOD", {"PKDOD1", "PKDOD2"});
    nieob_ = TableExists("PKNIEOB");
    prepared_ = true;
    return messages;
}

void FormulaHost::DefineUserFunctions(std::vector<std::string>* messages) {
    if (!TableExists("PKFUNC")) return;
    dbf::WorkArea& func = OpenOnce(tables_, "PKFUNC", {"PKFUNC1"});
    OrderBy(func, "PKFUNC1");
    const int fun = func.FieldIndex("FUN_");
    const int par = func.FieldIndex("PAR_");
    const int wzor = func.FieldIndex("WZOR_");
    for (base::Status s = func.GoTop(); s.ok() && !func.eof(); s = func.Skip(1)) {
        const std::string name = base::Trim(func.record().GetString(fun));
        // A name that already is a variable (a code, a symbol) stays one.
        if (Find(name) >= 0 || !BindsFunction(name)) continue;
        std::string body;
        func.ReadMemo(wzor, &body);
        formula::Error error;
        switch (engine_.DefineFunction(name, formula::StripLineBreaks(func.record().GetString(par)),
                                       formula::StripLineBreaks(body), &error)) {
            case formula::DefineResult::kOk:
            case formula::DefineResult::kNameTaken:
                break;
            case formula::DefineResult::kBadName:
                messages->push_back(rt_.Text("Błędna nazwa funkcji ") + Quoted(name));
                break;
            case formula::DefineResult::kBadParameters:
            case formula::DefineResult::kBadBody:
                messages->push_back(rt_.Text("Błędna definicja funkcji ") + Quoted(name));
                break;
        }
    }
}

void FormulaHost::DeclareExtendedKeys() {
    if (!TableExists("PKUMTR") || !TableExists("PKUPRC")) return;
    dbf::WorkArea& umtr = OpenOnce(tables_, "PKUMTR", {"PKUMTR1"});
    OrderBy(umtr, "PKUMTR1");
    const int f_type = umtr.FieldIndex("TYP_");
    const int f_key = umtr.FieldIndex("KLUCZ_");
    const int f_width = umtr.FieldIndex("SZER_");
    const int f_dec = umtr.FieldIndex("DEC_");
    const int f_sub = umtr.FieldIndex("SUB_POLE");
    int group = -1;
    int groups = 0;
    for (base::Status s = umtr.GoTop(); s.ok() && !umtr.eof(); s = umtr.Skip(1)) {
        const dbf::Record& r = umtr.record();
        const char type =
            base::AsciiUpper(r.GetString(f_type).empty() ? ' ' : r.GetString(f_type)[0]);
        const std::string key = base::AsciiUpper(base::Trim(r.GetString(f_key)));
        if (type == 'O') {
            group = groups++;
            continue;
        }
        const bool member = r.GetLogical(f_sub);
        if (!member) group = -1;
        if (type == 'K' || key.empty()) continue;
        if (!IsVariableName(key) || (member && group < 0))
            throw common::Abandon(rt_.Text("Błędny klucz: ") + Quoted(key) + " w PKUMTR");
        ExtendedField field;
        field.key = key;
        field.type = type;
        field.width = static_cast<int>(r.GetNumber(f_width));
        field.decimals = static_cast<int>(r.GetNumber(f_dec));
        field.group = member ? group : -1;
        Value empty;
        if (member)
            empty = Value::Nil();
        else if (type == 'N')
            empty = Value::Number(0);
        else if (type == 'D')
            empty = Value::Date(0);
        else if (type == 'L')
            empty = Value::Logical(false);
        else
            empty =
                Value::String(std::string(static_cast<size_t>(type == 'S' ? 4 : field.width), ' '));
        field.slot = member ? DeclareList(key, "PKUMTR") : Declare(key, "PKUMTR", empty);
        if (type == 'S') {
            field.name_slot = member ? DeclareList("X" + key, "PKUMTR")
                                     : Declare("X" + key, "PKUMTR", Value::String(""));
        }
        extended_.push_back(std::move(field));
    }
    if (extended_.empty()) return;
    uprc_ = &OpenOnce(tables_, "PKUPRC", {"PKUPRC1", "PKUPRC2"});
    if (TableExists("PKUSLW")) OpenOnce(tables_, "PKUSLW", {"PKUSLW1"});
}

void FormulaHost::LoadEmployee(std::string_view number, const SettlementMonth& month) {
    for (size_t i = 0; i < values_.size(); ++i) values_[i] = defaults_[i];
    for (int slot : list_slots_)
        values_[static_cast<size_t>(slot)] = Value::NewArray(engine_.arrays());
    LoadAllowances(number, month);
    LoadExtended(number);
    LoadAbsences(number, month);
    LoadMore(number, month);
    if (employee_.size() != values_.size()) employee_.resize(values_.size());
    for (size_t i = 0; i < values_.size(); ++i) employee_[i] = values_[i];
    // The loaded lists stay apart from the ones formulas get.
    for (int slot : list_slots_) {
        const Value& list = values_[static_cast<size_t>(slot)];
        Value kept = Value::NewArray(engine_.arrays());
        if (list.IsArray()) CopyEntries(list, &kept);
        employee_[static_cast<size_t>(slot)] = std::move(kept);
    }
}

void FormulaHost::CopyEntries(const Value& from, Value* to) {
    std::vector<Value>& items = to->items();
    items = from.items();
    // An entry that is itself an array (a line of a YTB list) is copied too.
    for (Value& item : items) {
        if (!item.IsArray()) continue;
        Value copy = Value::NewArray(engine_.arrays(), item.items().size());
        copy.items() = item.items();
        item = std::move(copy);
    }
}

void FormulaHost::Reset() {
    for (size_t i = 0; i < values_.size(); ++i) values_[i] = employee_[i];
    // Lists are shared by reference: each evaluation gets its own copy.
    for (int slot : list_slots_) {
        const Value& loaded = employee_[static_cast<size_t>(slot)];
        Value fresh =
            Value::NewArray(engine_.arrays(), loaded.IsArray() ? loaded.items().size() : 0);
        if (loaded.IsArray()) CopyEntries(loaded, &fresh);
        values_[static_cast<size_t>(slot)] = std::move(fresh);
    }
}

void FormulaHost::LoadAllowances(std::string_view number, const SettlementMonth& month) {
    if (dod_ == nullptr) return;
    dbf::WorkArea& dod = *dod_;
    const dbf::Record& r = dod.record();
    static const char* const kFields[] = {"NR_PRAC", "RODZAJ_DOD", "WARTOSC_", "CZASOWY_",
                                          "OD_ROK",  "OD_MC",      "ROK_DO",   "MC_DO"};
    int f[8];
    for (int i = 0; i < 8; ++i) f[i] = dod.FieldIndex(kFields[i]);
    const int wanted = month.year * 12 + month.month;
    OrderBy(dod, "PKDOD1");
    for (base::Status s = dod.Seek(number); s.ok() && !dod.eof(); s = dod.Skip(1)) {
        if (r.Raw(f[0]) != number) break;
        if (r.GetLogical(f[3])) {
            const int from = static_cast<int>(r.GetNumber(f[4]) * 12 + r.GetNumber(f[5]));
            const int to = static_cast<int>(r.GetNumber(f[6]) * 12 + r.GetNumber(f[7]));
            if (wanted < from || wanted > to) continue;
        }
        const int slot = Find(base::TrimRight(r.GetString(f[1])));
        if (slot >= 0) value(slot) = Value::Number(r.GetNumber(f[2]), 2);
    }
}

void FormulaHost::LoadAbsences(std::string_view number, const SettlementMonth& month) {
    absences_.employee = std::string(number);
    absences_.month = month;
    if (!nieob_) return;
    const dbf::WorkArea& lines = AbsenceLines(tables_);
    const int f_code = lines.FieldIndex("KOD_NIEOB");
    const int f_qty = lines.FieldIndex("ILOSC_");
    const int f_qty2 = lines.FieldIndex("ILOSC_2");
    const int f_from = lines.FieldIndex("DZ_ROZP");
    const int f_to = lines.FieldIndex("DZ_ZAK");
    const int f_pct = lines.FieldIndex("PROC_ZAS");
    const int f_stat = lines.FieldIndex("NR_STATYST");
    const int f_year = lines.FieldIndex("ROK_KAL");
    const int f_month = lines.FieldIndex("MC_KAL");
    ForEachLineOfMonth(tables_, number, month, [&](const dbf::Record& r) {
        const std::string code = base::TrimRight(r.GetString(f_code));
        const int sum = Find(code);
        if (sum >= 0 && value(sum).IsNumber())
            value(sum) = Value::Number(value(sum).number() + r.GetNumber(f_qty), 3);
        const int list = Find("YTB" + code);
        if (list < 0 || !value(list).IsArray()) return;
        Value entry = Value::NewArray(engine_.arrays());
        entry.items() = {
            Value::Number(r.GetNumber(f_qty), 3), Value::Number(r.GetNumber(f_from)),
            Value::Number(r.GetNumber(f_to)),     Value::Number(r.GetNumber(f_pct)),
            Value::String(r.GetString(f_stat)),   Value::Number(r.GetNumber(f_year)),
            Value::Number(r.GetNumber(f_month)),  Value::Number(r.GetNumber(f_qty2), 3)};
        value(list).items().push_back(std::move(entry));
    });
}

void FormulaHost::LoadExtended(std::string_view number) {
    if (uprc_ == nullptr) return;
    dbf::WorkArea& uprc = *uprc_;
    const dbf::Record& r = uprc.record();
    const int f_nr = uprc.FieldIndex("NR_PRAC");
    const int f_key = uprc.FieldIndex("KLUCZ_");
    const int f_lp = uprc.FieldIndex("LP_");
    const int f_text = uprc.FieldIndex("TRESC_");
    OrderBy(uprc, "PKUPRC1");
    // key -> row -> text
    std::map<std::string, std::map<int, std::string>> stored;
    for (base::Status s = uprc.Seek(number); s.ok() && !uprc.eof(); s = uprc.Skip(1)) {
        if (r.Raw(f_nr) != number) break;
        stored[base::AsciiUpper(base::Trim(r.GetString(f_key)))]
              [static_cast<int>(r.GetNumber(f_lp))] = r.GetString(f_text);
    }
    dbf::WorkArea* slw = tables_.workspace().Find("PKUSLW");
    auto name_of = [&](const std::string& key, const std::string& code) {
        if (slw == nullptr) return std::string();
        OrderBy(*slw, "PKUSLW1");
        std::string k = key;
        k.resize(9, ' ');
        k += code;
        if (!slw->Seek(base::AsciiUpper(k)).ok() || !slw->found()) return std::string();
        return base::TrimRight(slw->record().GetString(slw->FieldIndex("NAZWA_")));
    };
    auto convert = [&](const ExtendedField& field, const std::string& text) {
        switch (field.type) {
            case 'N':
                return Value::Number(std::strtod(base::Trim(text).c_str(), nullptr),
                                     field.decimals);
            case 'D':
                return Value::Date(formula::Stod(text.substr(0, 8)));
            case 'L':
                return Value::Logical(!text.empty() && std::string_view("tTyY").find(text[0]) !=
                                                           std::string_view::npos);
            case 'S':
                return Value::String(text.substr(0, 4));
            default:
                return Value::String(text.substr(0, static_cast<size_t>(field.width)));
        }
    };
    // The rows of each repeating record: 1, 2, ... while every member has one.
    std::map<int, int> rows_of_group;
    for (const ExtendedField& field : extended_) {
        if (field.group < 0) continue;
        auto it = stored.find(field.key);
        int rows = 0;
        if (it != stored.end())
            while (it->second.count(rows + 1) > 0) ++rows;
        auto g = rows_of_group.find(field.group);
        if (g == rows_of_group.end())
            rows_of_group[field.group] = rows;
        else if (rows < g->second)
            g->second = rows;
    }
    for (const ExtendedField& field : extended_) {
        auto it = stored.find(field.key);
        if (field.group < 0) {
            if (it == stored.end() || it->second.count(0) == 0) continue;
            const std::string& text = it->second[0];
            value(field.slot) = convert(field, text);
            if (field.name_slot >= 0)
                value(field.name_slot) = Value::String(name_of(field.key, text.substr(0, 4)));
            continue;
        }
        const int rows = rows_of_group[field.group];
        std::vector<Value>& items = value(field.slot).items();
        std::vector<Value>* names =
            field.name_slot >= 0 ? &value(field.name_slot).items() : nullptr;
        for (int row = 1; row <= rows; ++row) {
            const std::string& text = it->second[row];
            items.push_back(convert(field, text));
            if (names != nullptr)
                names->push_back(Value::String(name_of(field.key, text.substr(0, 4))));
        }
    }
}

}  // namespace kestrel::worktime
