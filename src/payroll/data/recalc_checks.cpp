// The checks the recalculation makes before it asks anything: the codes of
// the namespace given twice, and the form of the valorisation index.
#include <algorithm>
#include <map>

#include "payroll/data/recalc_state.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

bool HasTable(common::Runtime& rt, common::Tables& tables, std::string_view table) {
    if (tables.workspace().Find(table) != nullptr) return true;
    return base::Exists(base::FindNoCase(rt.data_dir(), std::string(table) + ".DBF"));
}

std::string Quoted(std::string_view s) {
    return "\"" + std::string(s) + "\"";
}

}  // namespace

std::vector<std::string> DuplicatedCodes(common::Runtime& rt, common::Tables& tables) {
    // The tables of the namespace in its order, with their code fields.
    static const std::pair<const char*, const char*> kSources[] = {
        {"PKSPL", "SKLADN_PL"}, {"PKOSPL", "SKLADN_PL"},   {"PKROB", "KOD_OB"},
        {"PKRNB", "KOD_NIEOB"}, {"PKSRDOD", "RODZAJ_DOD"}, {"PKUMTR", "KLUCZ_"},
        {"PKFUNC", "FUN_"}};
    std::vector<std::string> out;
    std::map<std::string, std::string> first_table;  // code (upper case) -> table
    for (auto [table, field] : kSources) {
        if (!HasTable(rt, tables, table)) continue;
        dbf::WorkArea& a = worktime::OpenOnce(tables, table);
        const dbf::KeepPosition keep(a);
        const int f = a.FieldIndex(field);
        if (f < 0) continue;
        std::map<std::string, bool> reported;  // twice in this table, said once
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
            if (a.deleted()) continue;
            const std::string shown = base::Trim(a.record().GetString(f));
            if (shown.empty()) continue;
            const std::string code = base::AsciiUpper(shown);
            auto [it, added] = first_table.emplace(code, table);
            if (added) continue;
            if (it->second == table) {
                if (reported[code]) continue;
                reported[code] = true;
                out.push_back(rt.Text("Zdublowany symbol: ") + Quoted(shown) + " w " + table);
            } else {
                out.push_back("Symbol: " + Quoted(shown) + " jest w " + it->second + " i " + table);
            }
        }
    }
    return out;
}

bool ValorisationIndexOk(common::Tables& tables) {
    if (!HasTable(tables.rt(), tables, "PKWALOR")) return true;
    dbf::WorkArea& walor = worktime::OpenOnce(tables, "PKWALOR", {"PKWALOR1"});
    for (size_t i = 0; i < walor.index_count(); ++i) {
        std::string key = base::AsciiLower(walor.index(i).key_expression());
        key.erase(std::remove(key.begin(), key.end(), ' '), key.end());
        // The contexts seek year and month as "YYYYMM": an index written by
        // str(miesiac_,2) puts a blank before a one-digit month.
        if (key.find("rok_") == std::string::npos) continue;
        return key.find("strzero(miesiac_,2)") != std::string::npos;
    }
    return true;
}

}  // namespace kestrel::payroll
