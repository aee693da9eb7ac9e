// A program directory with printer definitions, a headless console and a
// print system of the test's queues, for the printing screens' tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "printing/data/definitions.h"
#include "printing/data/fake_print_system.h"
#include "test_util.h"

namespace kestrel::printing::testing {

struct PrintingScreens {
    dbf::testing::ScratchDir program;
    dbf::testing::ScratchDir company;
    kestrel::testing::HeadlessRuntime h;
    FakePrintSystem printers;
    std::vector<std::string> messages;  // UTF-8, trimmed

    PrintingScreens() {
        h.rt.set_program_dir(program.path(), "");
        h.rt.set_data_dir(company.path() + "/");
        h.rt.config().Set("NAGLTDR", memfile::MemValue::Char("E"));
        h.rt.config().Set("NAGLNDR", memfile::MemValue::Char("1"));
        printers.queues = {"LPT1", "LPT2", "PDF"};
        printers.default_queue = "PDF";
        // F12 pressed while a message waits records it.
        h.con.keyboard().Bind(console::key::F(12), [this] {
            messages.push_back(base::TrimRight(h.Row(23).substr(1, 38)));
        });
    }

    /// `n` cells from (row, col) as the operator last saw them, UTF-8.
    std::string Shown(int r, int c, int n) const {
        return codepage::ToUtf8(h.backend.shown().Text(r, c, n));
    }
    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
    void Type(std::string_view utf8) {
        for (unsigned char c : codepage::FromUtf8(utf8)) h.backend.AddKeys({c});
    }
    std::string Var(const char* name) const { return h.rt.config().Text(name); }

    /// Replaces the definitions of PKDRUK.
    void Store(const std::vector<PrinterDefinition>& defs) {
        const std::string path = program.File("PKDRUK.DBF");
        std::remove(path.c_str());
        ASSERT_TRUE(dbf::Table::Create(path, common::FindTable("PKDRUK")->Specs()).ok());
        common::Tables tables(h.rt);
        dbf::WorkArea& a = tables.OpenProgram("PKDRUK");
        for (const PrinterDefinition& d : defs) {
            tables.Append(a);
            ASSERT_TRUE(WriteDefinition(a, d).ok());
            ASSERT_TRUE(a.Commit().ok());
            ASSERT_TRUE(a.Unlock().ok());
        }
    }
    /// The definitions stored, deleted ones with a "*" before the name.
    std::vector<PrinterDefinition> Stored() {
        common::Tables tables(h.rt);
        dbf::WorkArea& a = tables.OpenProgram("PKDRUK");
        a.set_hide_deleted(false);
        std::vector<PrinterDefinition> out;
        EXPECT_TRUE(a.GoTop().ok());
        while (!a.eof()) {
            out.push_back(ReadDefinition(a));
            if (a.deleted()) out.back().name = "*" + out.back().name;
            EXPECT_TRUE(a.Skip(1).ok());
        }
        return out;
    }
};

inline PrinterDefinition Def(std::string name, char type, char port, bool is_default = false) {
    PrinterDefinition d;
    d.name = std::move(name);
    d.type = type;
    d.port = port;
    d.is_default = is_default;
    return d;
}

}  // namespace kestrel::printing::testing
