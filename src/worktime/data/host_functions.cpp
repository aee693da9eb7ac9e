#include "worktime/data/host_functions.h"

#include "worktime/data/schedule_functions.h"

namespace kestrel::worktime {

void RegisterHostFunctions(common::Runtime& /*rt*/, common::Tables& tables,
                           formula::Runtime& engine) {
    // Each group of host functions adds its registration call here.
    RegisterScheduleFunctions(engine, tables.workspace());
}

}  // namespace kestrel::worktime
