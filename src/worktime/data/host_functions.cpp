#include "worktime/data/host_functions.h"

#include "worktime/data/schedule_functions.h"

namespace kestrel::worktime {

void RegisterHostFunctions(common::Runtime& rt, common::Tables& tables, formula::Runtime& engine,
                           const AbsenceContext& absences) {
    // Each group of host functions adds its registration call here.
    RegisterScheduleFunctions(engine, tables.workspace());
    RegisterAbsenceFunctions(rt, tables, engine, absences);
}

}  // namespace kestrel::worktime
