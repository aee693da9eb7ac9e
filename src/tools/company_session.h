// A company opened by a kestrel-tool command: a runtime over a headless
// console and the system clock, its data directory set and the company's
// configuration (QRM.MEM) restored with the start-up defaults applied, as
// the program does, which formulas may read.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "platform/base/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"

namespace kestrel::tools {

struct CompanySession {
    /// `dir` ends with "/".
    explicit CompanySession(const std::string& dir);

    console::HeadlessBackend backend;
    console::Console con{backend};
    base::SystemClock clock;
    common::Runtime rt{con, clock};
};

}  // namespace kestrel::tools
