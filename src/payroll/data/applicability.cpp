#include "payroll/data/applicability.h"

#include "platform/base/text.h"

namespace kestrel::payroll {

bool NamesListSymbol(std::string_view list_kinds, std::string_view symbol) {
    if (base::Trim(list_kinds).empty()) return true;
    std::string wanted(symbol);
    wanted.resize(2, ' ');
    size_t start = 0;
    for (;;) {
        const size_t comma = list_kinds.find(',', start);
        std::string token = base::Trim(list_kinds.substr(start, comma - start));
        if (!token.empty()) {
            token.resize(2, ' ');
            if (token == wanted) return true;
        }
        if (comma == std::string_view::npos) return false;
        start = comma + 1;
    }
}

Misfit MisfitOf(const Component& c, const ListFacts& l, const EmployeeFacts& e) {
    const bool piecework = c.kind == 'I';
    if (!piecework && !NamesListSymbol(c.list_kinds, l.symbol.symbol)) return Misfit::kListSymbol;
    if (l.symbol.legal_person) {
        if (!c.legal_person) return Misfit::kListKind;
    } else if (c.legal_person || c.non_personal != l.symbol.non_personal) {
        return Misfit::kListKind;
    }
    if (!piecework && c.group != ' ' && c.group != e.group && !c.legal_person)
        return Misfit::kGroup;
    // YYYYMM of the hire date against ROK_LST+MC_LST: text order is date order.
    if (e.hired.size() >= 6 && e.hired.substr(0, 6) > l.year + l.month) return Misfit::kHired;
    return Misfit::kNone;
}

bool Applies(const Component& c, const ListFacts& l, const EmployeeFacts& e) {
    return MisfitOf(c, l, e) == Misfit::kNone;
}

}  // namespace kestrel::payroll
