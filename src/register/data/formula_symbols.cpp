#include "register/data/formula_symbols.h"

#include <cctype>

#include "common/tables/index_order.h"
#include "platform/base/files.h"

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

std::string Trim(std::string_view s) {
    const size_t e = s.find_last_not_of(' ');
    return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

}  // namespace

bool IsFormulaSymbol(std::string_view symbol) {
    const std::string s = Trim(symbol);
    if (s.empty() || s.size() > 4 || s.find(' ') != std::string::npos) return false;
    if (!std::isalpha(static_cast<unsigned char>(s[0]))) return false;
    for (unsigned char c : s)
        if (c > 127 || !std::isalnum(c)) return false;
    return true;
}

std::string SymbolTakenIn(common::Runtime& rt, common::Tables& tables, std::string_view symbol,
                          std::string_view own_table) {
    std::string wanted = Trim(symbol);
    for (char& c : wanted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
