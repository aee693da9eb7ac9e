#include "register/data/formula_symbols.h"

#include <cctype>

#include "common/tables/index_order.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

struct Holder {
    const char* table;
    const char* index;  // by the symbol
    int width;          // of the indexed key
};

// Where each kind of symbol lives; KLUCZ_ and FUN_ are indexed upper-cased.
constexpr Holder kHolders[] = {
    {"PKSRDOD", "PKSRDOD1", 4}, {"PKRNB", "PKRNB1", 4},   {"PKROB", "PKROB1", 4},
    {"PKSPL", "PKSPL1", 4},     {"PKUMTR", "PKUMTR2", 9}, {"PKFUNC", "PKFUNC1", 10},
};

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
            area = &tables.Open(h.table, {h.index});
        }
        const int order = common::OrderOf(*area, h.index);
        const uint32_t here = area->recno();
        const int was = area->order();
        std::string key = wanted;
        key.resize(static_cast<size_t>(h.width), ' ');
        bool found = false;
        if (order > 0 && area->SetOrder(order).ok() && area->Seek(key).ok()) found = area->found();
        area->SetOrder(was);
        area->Goto(here);
        if (found) return h.table;
    }
    return {};
}

}  // namespace kestrel::registry
