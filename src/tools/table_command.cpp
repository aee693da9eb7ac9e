// kestrel-tool table: company tables written as the program writes them,
// under its record locks and with the catalogue's indexes kept up to date.
//
//   kestrel-tool table append DIR.PK TABLE FIELD=VALUE...
//                         a new record with the given fields
//   kestrel-tool table set DIR.PK TABLE --where FIELD=VALUE FIELD=VALUE...
//                         the fields of every visible record whose FIELD
//                         (trimmed) is VALUE; prints the number of records
//
// Values are UTF-8 (stored in CP852); logical fields take T or F, numeric
// fields a number, date fields YYYYMMDD, memo fields their text. Exit
// status 0; 1 when a write fails or (set) no record matches; 2 on a usage
// error (an unknown table or field, a value that is not a number).
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {
namespace {

const char kUsage[] =
    "table append DIR.PK TABLE FIELD=VALUE... | "
    "table set DIR.PK TABLE --where FIELD=VALUE FIELD=VALUE...";

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool %s\n", kUsage);
    return 2;
}

struct Assignment {
    int field = -1;
    std::string value;  // UTF-8
};

// FIELD=VALUE against the table's fields; false (with a message) when the
// field is unknown or a numeric value is not a number.
bool Parse(dbf::WorkArea& a, const std::string& arg, Assignment* out) {
    const size_t eq = arg.find('=');
    if (eq == std::string::npos || eq == 0) {
        std::fprintf(stderr, "kestrel-tool table: expected FIELD=VALUE, got %s\n", arg.c_str());
        return false;
    }
    const std::string name = base::AsciiUpper(arg.substr(0, eq));
    out->field = a.FieldIndex(name);
    out->value = arg.substr(eq + 1);
    if (out->field < 0) {
        std::fprintf(stderr, "kestrel-tool table: no field %s in %s\n", name.c_str(),
                     a.alias().c_str());
        return false;
    }
    const dbf::Field& f = a.table().fields()[static_cast<size_t>(out->field)];
    if (f.type == dbf::FieldType::kNumeric) {
        char* end = nullptr;
        std::strtod(out->value.c_str(), &end);
        if (out->value.empty() || *end != '\0') {
            std::fprintf(stderr, "kestrel-tool table: %s is not a number\n", out->value.c_str());
            return false;
        }
    }
    if (f.type == dbf::FieldType::kLogical && out->value != "T" && out->value != "F") {
        std::fprintf(stderr, "kestrel-tool table: %s takes T or F\n", name.c_str());
        return false;
    }
    return true;
}

// Puts the values into the current record and commits it.
void Store(common::Runtime& rt, dbf::WorkArea& a, const std::vector<Assignment>& values) {
    base::Status s = base::Status::Ok();
    for (const Assignment& v : values) {
        const dbf::Field& f = a.table().fields()[static_cast<size_t>(v.field)];
        if (f.type == dbf::FieldType::kLogical)
            a.record().SetLogical(v.field, v.value == "T");
        else if (f.type == dbf::FieldType::kNumeric)
            a.record().SetNumber(v.field, std::strtod(v.value.c_str(), nullptr));
        else if (f.type == dbf::FieldType::kMemo)
            s = a.WriteMemo(v.field, rt.Text(v.value));
        else
            a.record().SetString(v.field, rt.Text(v.value));
        if (!s.ok()) break;
    }
    if (s.ok()) s = a.Commit();
    a.Unlock();
    if (!s.ok()) throw common::Abandon(rt.Text("Błąd zapisu: ") + a.alias());
}

int Table(const std::vector<std::string>& args) {
    if (args.size() < 3 || (args[0] != "append" && args[0] != "set")) return Usage();
    std::string dir = args[1];
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool table: no directory %s\n", dir.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    const std::string table = base::AsciiUpper(args[2]);
    if (common::FindTable(table) == nullptr) {
        std::fprintf(stderr, "kestrel-tool table: %s is not a company table\n", table.c_str());
        return 2;
    }
    CompanySession session(dir);
    try {
        common::Tables tables(session.rt);
        dbf::WorkArea& a = tables.Open(table, common::IndexFiles(table));
        size_t i = 3;
        Assignment where;
        const bool set = args[0] == "set";
        if (set) {
            if (args.size() < 5 || args[3] != "--where") return Usage();
            if (!Parse(a, args[4], &where)) return 2;
            i = 5;
        }
        std::vector<Assignment> values;
        for (; i < args.size(); ++i) {
            Assignment v;
            if (!Parse(a, args[i], &v)) return 2;
            values.push_back(std::move(v));
        }
        if (values.empty()) return Usage();
        if (!set) {
            tables.Append(a);
            Store(session.rt, a, values);
            return 0;
        }
        // In record order, so that a changed key does not move the walk.
        if (!a.SetOrder(0).ok()) throw common::Abandon(session.rt.Text("Błąd odczytu: ") + table);
        int changed = 0;
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1)) {
            if (a.deleted()) continue;
            const std::string have =
                base::Trim(codepage::ToUtf8(a.record().GetString(where.field)));
            if (have != base::Trim(where.value)) continue;
            tables.RLock(a);
            Store(session.rt, a, values);
            ++changed;
        }
        std::printf("%d\n", changed);
        return changed == 0 ? 1 : 0;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool table: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    }
}

}  // namespace

KESTREL_TOOL_COMMAND(table_registration, "table", kUsage, Table);

}  // namespace kestrel::tools
