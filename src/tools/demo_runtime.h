// The runtime the demo's writers run the program's table code on: a
// headless console, the demo's clock and the company directory.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "platform/base/clock.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"

namespace kestrel::tools {

struct DemoRuntime {
    console::HeadlessBackend backend;
    console::Console con{backend};
    common::Runtime rt;

    /// Over company directory `dir` (with or without a trailing "/"),
    /// dated by `clock`, which must outlive it.
    DemoRuntime(const std::string& dir, const base::Clock& clock) : rt(con, clock) {
        rt.set_data_dir(dir.empty() || dir.back() == '/' ? dir : dir + "/");
    }
};

}  // namespace kestrel::tools
