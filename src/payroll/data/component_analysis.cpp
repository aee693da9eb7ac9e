#include "payroll/data/component_analysis.h"

#include "platform/base/text.h"

namespace kestrel::payroll {
namespace {

const Position* PositionOf(const std::vector<Position>& positions, std::string_view symbol) {
    for (const Position& p : positions)
        if (base::TrimRight(p.symbol) == base::TrimRight(symbol)) return &p;
    return nullptr;
}

}  // namespace

ComponentAnalysis::ComponentAnalysis(common::Runtime& rt, common::Tables& tables,
                                     const PayrollList& list)
    : rt_(rt), list_(list), host_(rt, tables) {}

std::vector<std::string> ComponentAnalysis::Prepare() {
    if (prepared_) return {};
    prepared_ = true;
    std::vector<std::string> messages = host_.PrepareRun();
    host_.SetList(list_);
    return messages;
}

std::string ComponentAnalysis::Refusal(const Component* c,
                                       const std::vector<Position>& positions) const {
    if (c == nullptr) return rt_.Text("Brak składnika o takim symbolu");
    if (c->kind != 'A') return rt_.Text("Składnik nie jest algorytmiczny");
    const Position* p = PositionOf(positions, c->symbol);
    if (p != nullptr && p->blocked) return rt_.Text("Zablokowany składnik algorytmiczny");
    return "";
}

const Component* ComponentAnalysis::Step(const Component& from, int direction,
                                         const std::vector<Position>& positions,
                                         const std::function<bool(const Component&)>& wanted) {
    const std::vector<Component>& order = host_.components_by_order();
    int at = -1;
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i].symbol == from.symbol) at = static_cast<int>(i);
    if (at < 0) return nullptr;
    for (int i = at + direction; i >= 0 && i < static_cast<int>(order.size()); i += direction) {
        const Component& c = order[static_cast<size_t>(i)];
        if (Refusal(&c, positions).empty() && (!wanted || wanted(c))) return &c;
    }
    return nullptr;
}

bool ComponentAnalysis::Evaluate(std::string_view number, const Component& c,
                                 const std::vector<Position>& positions, double* value,
                                 formula::Error* error) {
    host_.LoadEmployee(number);
    // The algorithmic amounts of this list are not loaded (a run computes
    // them): the stored ones stand in for them.
    for (const Position& p : positions) {
        const Component* pc = nullptr;
        for (const Component& k : host_.components())
            if (k.symbol == p.symbol) pc = &k;
        if (pc != nullptr && pc->kind == 'A' && !p.blocked) host_.SetAmount(p.symbol, p.amount);
    }
    return host_.EvaluateComponent(c, value, error);
}

}  // namespace kestrel::payroll
