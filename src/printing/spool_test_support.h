// A company with spool files and printer hooks that keep what they were
// handed, for the spool screens' tests.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/files.h"
#include "printing/data/spool_register.h"
#include "printing/spool_hooks.h"
#include "test_company.h"

namespace kestrel::printing::testing {

using memfile::MemValue;
namespace key = console::key;

struct SpoolCompany : registry::testing::TestCompany {
    std::vector<std::string> delivered;  // contents of the delivered print files
    std::vector<std::string> ports;      // NAGLNDR at each delivery
    int choices = 0;                     // times the definition list was asked for
    PrinterHooks hooks;

    SpoolCompany() {
        Make("PKLWYD");
        auto& cfg = h.rt.config();
        cfg.Set("NAGLCFGD", MemValue::Logical(true));
        cfg.Set("NAGLNAZDR", MemValue::Char("LASER               "));
        cfg.Set("NAGLTDR", MemValue::Char("E"));
        cfg.Set("NAGLNDR", MemValue::Char("1"));
        hooks.deliver = [this](common::Runtime& rt, const std::string& path) {
            std::string text;
            EXPECT_TRUE(base::ReadFile(path, &text).ok());
            delivered.push_back(text);
            ports.push_back(rt.config().Text("NAGLNDR"));
            std::remove(path.c_str());
        };
        hooks.choose_printer = [this](common::Runtime& rt) {
            ++choices;
            rt.config().Set("NAGLNAZDR", MemValue::Char("IGLA"));
            rt.config().Set("NAGLTDR", MemValue::Char("9"));
            rt.config().Set("NAGLNDR", MemValue::Char("2"));
        };
        hooks.control = [](common::Runtime&, std::string_view name) {
            return "<" + std::string(name) + ">";
        };
    }

    /// A spool file of the company registered in PKLWYD.
    void Spool(const std::string& file, const std::string& bytes, const std::string& time,
               const std::string& title_utf8) {
        ASSERT_TRUE(base::WriteFileAtomically(dir.File(file), bytes).ok());
        SpoolEntry e = DescribeSpoolFile(dir.File(file), {2026, 12, 8, 9, 0, 0}, 'E',
                                         registry::testing::Cp(title_utf8));
        e.time = time;
        RegisterSpoolFile(tables, e);
        tables.CloseAll();
    }
    std::string Contents(const std::string& file) {
        std::string text;
        EXPECT_TRUE(base::ReadFile(dir.File(file), &text).ok());
        return text;
    }
};

inline const std::string kFivePages = "P1\r\n\fP2\r\n\fP3\r\n\fP4\r\n\fP5\r\n";

}  // namespace kestrel::printing::testing
