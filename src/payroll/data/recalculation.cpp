#include "payroll/data/recalculation.h"

// Placeholder until the recalculation lands: the interface is fixed so that
// the screens and the command line can be built against it.

namespace kestrel::payroll {

struct Recalculation::State {
    common::Runtime& rt;
    common::Tables& tables;
    PayrollList list;
    RecalcObserver* observer;
    PayrollHost host{rt, tables};
};

Recalculation::Recalculation(common::Runtime& rt, common::Tables& tables, const PayrollList& list,
                             RecalcObserver* observer)
    : state_(new State{rt, tables, list, observer}) {}

Recalculation::~Recalculation() = default;

std::string Recalculation::Check() {
    return state_->rt.Text("Funkcja niedostępna w tej wersji programu");
}

void Recalculation::OpenTables(bool) {}

std::string Recalculation::CheckScope(const RecalcRequest&) {
    return "";
}

RecalcOutcome Recalculation::Run(const RecalcRequest&) {
    RecalcOutcome out;
    out.message = state_->rt.Text("Funkcja niedostępna w tej wersji programu");
    return out;
}

RecalcOutcome Recalculation::ComputeEmployee(std::string_view) {
    RecalcOutcome out;
    out.message = state_->rt.Text("Funkcja niedostępna w tej wersji programu");
    return out;
}

PayrollHost& Recalculation::host() {
    return state_->host;
}

bool OverRetirementAge(char, std::string_view, int, int) {
    return false;
}

bool UnderTwentySix(std::string_view, const base::Date&) {
    return false;
}

}  // namespace kestrel::payroll
