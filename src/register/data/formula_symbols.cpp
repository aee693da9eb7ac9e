#include "register/data/formula_symbols.h"

#include <cctype>

#include "common/tables/index_order.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

struct Holder {
    const char* table;
    const char* index;  // by the symbol; nullptr: the table has none
    int width;          // of the indexed key
    const char* field;  // the symbol's field, for a table without an index
};

// Where each kind of symbol lives; KLUCZ_ and FUN_ are indexed upper-cased.
constexpr Holder kHolders[] = {
    {"PKSRDOD", "PKSRDOD1", 4},
    {"PKRNB", "PKRNB1", 4},
    {"PKROB", "PKROB1", 4},
    {"PKSPL", "PKSPL1", 4},
    {"PKOSPL", nullptr, 4, "SKLADN_PL"},
    {"PKUMTR", "PKUMTR2", 9},
    {"PKFUNC", "PKFUNC1", 10},
};

// Whether a record of `area` holds `wanted` (upper case, trimmed) in
// `field`, read record by record.
bool Holds(dbf::WorkArea& area, const char* field, const std::string& wanted) {
    const int f = area.FieldIndex(field);
    if (f < 0) return false;
    const dbf::KeepPosition keep(area);
    (void)area.SetOrder(0);
    for (base::Status s = area.GoTop(); s.ok() && !area.eof(); s = area.Skip(1))
        if (base::AsciiUpper(base::TrimRight(area.record().GetString(f))) == wanted) return true;
    return false;
}

// Whether `area` holds `wanted` under its index `h.index`.
bool HoldsByIndex(dbf::WorkArea& area, const Holder& h, const std::string& wanted) {
    const int order = common::OrderOf(area, h.index);
    const dbf::KeepPosition keep(area);
    std::string key = wanted;
    key.resize(static_cast<size_t>(h.width), ' ');
    return order > 0 && area.SetOrder(order).ok() && area.Seek(key).ok() && area.found();
}

using base::TrimRight;

}  // namespace

bool IsFormulaSymbol(std::string_view symbol) {
    const std::string s = TrimRight(symbol);
    if (s.empty() || s.size() > 4 || s.find(' ') != std::string::npos) return false;
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (unsigned char c : s)
        if (c > 127 || !std::isalnum(c)) return false;
    return true;
}

std::string SymbolTakenIn(common::Runtime& rt, common::Tables& tables, std::string_view symbol,
                          std::string_view own_table) {
    const std::string wanted = base::AsciiUpper(base::TrimRight(symbol));
    if (wanted.empty()) return {};
    for (const Holder& h : kHolders) {
        if (own_table == h.table) continue;
        dbf::WorkArea* area = tables.workspace().Find(h.table);
        if (area == nullptr) {
            if (!base::Exists(base::FindNoCase(rt.data_dir(), std::string(h.table) + ".DBF")))
                continue;
            area = h.index == nullptr ? &tables.Open(h.table) : &tables.Open(h.table, {h.index});
        }
        const bool found =
            h.index == nullptr ? Holds(*area, h.field, wanted) : HoldsByIndex(*area, h, wanted);
        if (found) return h.table;
    }
    return {};
}

}  // namespace kestrel::registry
