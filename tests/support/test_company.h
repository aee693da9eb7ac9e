// A company directory for the register's tests: tables made from the
// catalogue, rows added by field name, keys typed through the headless
// console, messages captured.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/keys.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::registry::testing {

inline std::string Cp(std::string_view utf8) {
    return codepage::FromUtf8(utf8);
}

inline std::vector<int> Typed(std::string_view utf8) {
    std::vector<int> keys;
    for (unsigned char c : Cp(utf8)) keys.push_back(c);
    return keys;
}

using Row = std::vector<std::pair<std::string, std::string>>;  // field, UTF-8 value

struct TestCompany {
    dbf::testing::ScratchDir dir;
    kestrel::testing::HeadlessRuntime h;
    common::Tables tables{h.rt};
    std::vector<std::string> messages;  // UTF-8, trimmed

    TestCompany() {
        h.rt.set_data_dir(dir.path() + "/");
        // F12 pressed while a message waits records it.
        h.con.keyboard().Bind(console::key::F(12), [this] {
            messages.push_back(base::TrimRight(h.Row(23).substr(1, 38)));
        });
    }

    /// Creates `table` (empty) with the given rows; its index files are
    /// built on the first open.
    void Make(const std::string& table, const std::vector<Row>& rows = {}) {
        const std::string path = dir.File(table + ".DBF");
        ASSERT_TRUE(dbf::Table::Create(path, common::FindTable(table)->Specs()).ok()) << table;
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
        for (const Row& r : rows) {
            dbf::Record rec = t->NewRecord();
            for (const auto& [field, value] : r) {
                const int f = t->FieldIndex(field);
                ASSERT_GE(f, 0) << field;
                if (t->fields()[static_cast<size_t>(f)].type == dbf::FieldType::kLogical)
                    ASSERT_TRUE(rec.SetLogical(f, value == "T").ok());
                else
                    ASSERT_TRUE(rec.SetString(f, Cp(value)).ok());
            }
            uint32_t recno = 0;
            ASSERT_TRUE(t->Append(rec, &recno).ok());
        }
        ASSERT_TRUE(t->Close().ok());
    }

    void Keys(const std::vector<int>& keys) { h.backend.AddKeys(keys); }
    void Keys(std::string_view utf8) { h.backend.AddKeys(Typed(utf8)); }

    /// Every record of `table` in record order as "KEY|deleted-mark", with
    /// the given field trimmed.
    std::vector<std::string> Records(const std::string& table, const std::string& field,
                                     bool with_deleted = true) {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File(table + ".DBF"), {}, &t).ok());
        std::vector<std::string> out;
        const int f = t->FieldIndex(field);
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            if (!with_deleted && r.deleted()) return base::Status::Ok();
            const std::string v = base::TrimRight(r.GetString(f));
            out.push_back(codepage::ToUtf8(v) + (r.deleted() ? "*" : ""));
            return base::Status::Ok();
        });
        return out;
    }
};

}  // namespace kestrel::registry::testing
