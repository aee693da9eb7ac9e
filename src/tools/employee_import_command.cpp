// kestrel-tool employee: the employee register without the program.
//
//   kestrel-tool employee import DIR.PK FILE.csv
//       registers every row of the UTF-8 CSV file as the registration does
//       (see register/data/employee_import.h for the columns and values)
//
// Each refused row is reported on stderr as "line N: message"; warnings of
// the checks as "line N: warning: message". Exit status 0 when every row
// was registered; 1 when a row was refused, when the file cannot be read or
// its header names a field that is not imported (then nothing is written),
// or when the tables need an answer; 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/backend.h"
#include "register/data/employee_import.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {
namespace {

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool employee import DIR.PK FILE.csv\n");
    return 2;
}

int Employee(const std::vector<std::string>& given) {
    if (given.size() != 3 || given[0] != "import") return Usage();
    std::string dir = given[1];
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool employee: no directory %s\n", dir.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    std::string csv;
    base::Status s = base::ReadFile(given[2], &csv);
    if (!s.ok()) {
        std::fprintf(stderr, "kestrel-tool employee: %s: %s\n", given[2].c_str(),
                     s.ToString().c_str());
        return 1;
    }
    CompanySession session(dir);
    try {
        common::Tables tables(session.rt);
        registry::ImportOutcome out;
        s = registry::ImportEmployees(session.rt, tables, csv, &out);
        if (!s.ok()) {
            std::fprintf(stderr, "kestrel-tool employee: %s: %s\n", given[2].c_str(),
                         s.message().c_str());
            return 1;
        }
        for (const registry::ImportNote& n : out.warnings)
            std::fprintf(stderr, "line %d: warning: %s\n", n.line, n.text.c_str());
        for (const registry::ImportNote& n : out.refused)
            std::fprintf(stderr, "line %d: %s\n", n.line, n.text.c_str());
        std::printf("registered %zu, refused %zu\n", out.registered.size(), out.refused.size());
        return out.refused.empty() ? 0 : 1;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool employee: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    } catch (const console::ScriptEnded&) {
        const std::string asked = base::Trim(codepage::ToUtf8(session.con.screen().RowText(23)));
        std::fprintf(stderr, "kestrel-tool employee: the program asks: %s\n", asked.c_str());
        return 1;
    }
}

}  // namespace

KESTREL_TOOL_COMMAND(employee_command, "employee", "employee import DIR.PK FILE.csv", Employee);

}  // namespace kestrel::tools
