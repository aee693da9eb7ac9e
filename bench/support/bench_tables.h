// Helpers of the benchmarks that make company tables of their own: a
// failing step ends the run with its message; Make creates a catalogue table
// and appends records given as field -> text.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "common/tables/table_catalogue.h"
#include "platform/dbf/table.h"

namespace kestrel::bench {

/// Employee number `i` as the register stores it: six digits, zero-filled.
inline std::string Number(int i) {
    char nr[16];
    std::snprintf(nr, sizeof nr, "%06d", i);
    return nr;
}

inline void Check(const base::Status& s, const char* what) {
    if (!s.ok()) {
        std::fprintf(stderr, "%s: %s\n", what, s.ToString().c_str());
        std::exit(1);
    }
}

// A table of the catalogue made in `dir` and filled by `fill` with fresh
// records (appended in order).
template <typename Fill>
void Make(const std::string& dir, const std::string& table, Fill fill) {
    const std::string path = dir + table + ".DBF";
    Check(dbf::Table::Create(path, common::FindTable(table)->Specs()), table.c_str());
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    Check(dbf::Table::Open(path, exclusive, &t), table.c_str());
    auto add = [&](const std::map<std::string, std::string>& values) {
        dbf::Record r = t->NewRecord();
        for (const auto& [field, value] : values) {
            const int f = t->FieldIndex(field);
            switch (t->fields()[static_cast<size_t>(f)].type) {
                case dbf::FieldType::kNumeric:
                    r.SetNumber(f, std::strtod(value.c_str(), nullptr));
                    break;
                case dbf::FieldType::kMemo:
                    Check(t->WriteMemo(&r, f, value), "memo");
                    break;
                case dbf::FieldType::kLogical:
                    r.SetLogical(f, value == "T");
                    break;
                default:
                    r.SetString(f, value);
            }
        }
        uint32_t recno = 0;
        Check(t->Append(r, &recno), table.c_str());
    };
    fill(add);
    Check(t->Close(), table.c_str());
}

}  // namespace kestrel::bench
