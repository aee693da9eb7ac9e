#include "worktime/data/host_functions.h"

namespace kestrel::worktime {

void RegisterHostFunctions(common::Runtime& /*rt*/, common::Tables& /*tables*/,
                           formula::Runtime& /*engine*/) {
    // Each group of host functions adds its registration call here.
}

}  // namespace kestrel::worktime
