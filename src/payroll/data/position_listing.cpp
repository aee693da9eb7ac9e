#include "payroll/data/position_listing.h"

#include <cstdio>

#include "payroll/data/positions.h"
#include "platform/base/text.h"

namespace kestrel::payroll {
namespace {

std::string Quoted(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

const char* Flag(bool on) {
    return on ? "T" : "F";
}

}  // namespace

std::string PositionsHeader() {
    return "list,employee,component,name,amount,POTRAC_,NIE_ALG,POZA_LISTA,AKT_DOCH";
}

std::string ListKeyText(const PayrollList& list) {
    return list.year + "/" + base::TrimRight(list.symbol) + "/" + std::to_string(list.number);
}

std::vector<std::string> PositionLines(common::Runtime& rt, common::Tables& tables,
                                       const PayrollList& list, std::string_view employee,
                                       const std::vector<Component>& components) {
    Positions store(rt, tables);
    const std::vector<Position> positions =
        employee.empty() ? store.OfList(list) : store.Of(list, employee);
    std::vector<std::string> out;
    for (const Position& p : positions) {
        std::string name;
        for (const Component& c : components)
            if (base::TrimRight(c.symbol) == base::TrimRight(p.symbol)) name = c.name;
        char amount[32];
        std::snprintf(amount, sizeof amount, "%.2f", p.amount);
        out.push_back(ListKeyText(list) + "," + p.employee + "," + base::TrimRight(p.symbol) + "," +
                      Quoted(base::TrimRight(name)) + "," + amount + "," + Flag(p.deduction) + "," +
                      Flag(p.blocked) + "," + Flag(p.off_list) + "," + Flag(p.to_tax));
    }
    return out;
}

}  // namespace kestrel::payroll
