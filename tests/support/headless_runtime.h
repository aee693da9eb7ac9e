// A runtime over a headless console and a fixed clock, for tests.
#pragma once

#include <string>
#include <vector>

#include "common/session/runtime.h"
#include "platform/codepage/cp852.h"
#include "platform/console/headless_backend.h"

namespace kestrel::testing {

struct HeadlessRuntime {
    console::HeadlessBackend backend;
    console::Console con{backend};
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 30, 0}};
    common::Runtime rt{con, clock};

    explicit HeadlessRuntime(const std::vector<int>& keys = {}) { backend.AddKeys(keys); }

    /// A row of the program's screen, in UTF-8.
    std::string Row(int r) const { return codepage::ToUtf8(con.screen().RowText(r)); }
    /// A row as the operator last saw it (presented before a key wait).
    std::string ShownRow(int r) const { return codepage::ToUtf8(backend.shown().RowText(r)); }
    /// Text of `len` cells from (row, col), in UTF-8.
    std::string At(int r, int c, int len) const {
        return codepage::ToUtf8(con.screen().Text(r, c, len));
    }
};

}  // namespace kestrel::testing
