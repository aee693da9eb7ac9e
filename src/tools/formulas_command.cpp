// kestrel-tool formulas: the payroll formula updates of a company.
//
//   kestrel-tool formulas status DIR.PK   the update steps due
//   kestrel-tool formulas update DIR.PK   applies them (the answer "t" to
//                                         "Aktualizacja algorytmów płacowych")
//                                         and installs the payroll setup's
//                                         records the company lacks
//
// The tables are opened exclusively: nobody may work in the company. Exit
// status 0; 1 when the update is refused or fails (the program's message
// on stderr, nothing changed by a refusal) or when the tables need an answer
// (a missing table: open the company in the program first); 2 on a usage
// error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/data/formula_update.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/backend.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {
namespace {

std::string Steps(const std::vector<int>& steps) {
    std::string out;
    for (int n : steps) out += (out.empty() ? "" : ", ") + std::to_string(n);
    return out;
}

int Formulas(const std::vector<std::string>& args) {
    if (args.size() != 2 || (args[0] != "update" && args[0] != "status")) {
        std::fprintf(stderr, "usage: kestrel-tool formulas (update | status) DIR.PK\n");
        return 2;
    }
    std::string dir = args[1];
    if (!base::Exists(dir) && base::Exists(dir + ".PK")) dir += ".PK";
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool formulas: no directory %s\n", args[1].c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    CompanySession session(dir);
    try {
        common::Tables tables(session.rt);
        const payroll::StandardDefinitions defs = payroll::ShippedDefinitionsFor(session.rt);
        if (args[0] == "status") {
            const std::vector<int> due = payroll::DueUpdateSteps(tables, defs);
            if (due.empty())
                std::printf("no update due\n");
            else
                std::printf("steps due: %s\n", Steps(due).c_str());
            return 0;
        }
        const payroll::UpdateOutcome out = payroll::ApplyFormulaUpdates(tables, defs);
        if (out.applied.empty()) {
            std::printf("no update due\n");
        } else {
            std::printf("steps applied: %s; functions installed: %d; formulas rewritten: %d\n",
                        Steps(out.applied).c_str(), out.functions_installed,
                        out.formulas_rewritten);
        }
        std::printf("setup: %d installed, %d as shipped, %zu kept as the company has them\n",
                    out.setup.installed, out.setup.unchanged, out.setup.kept.size());
        for (const std::string& kept : out.setup.kept) std::printf("  kept: %s\n", kept.c_str());
        return 0;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool formulas: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    } catch (const console::ScriptEnded&) {
        // The table layer asked the operator (a missing table, a lock):
        // nobody answers here.
        std::string asked = base::Trim(codepage::ToUtf8(session.con.screen().RowText(23)));
        std::fprintf(stderr, "kestrel-tool formulas: the program asks: %s\n", asked.c_str());
        return 1;
    }
}

}  // namespace

KESTREL_TOOL_COMMAND(formulas_command, "formulas", "formulas (update | status) DIR.PK", Formulas);

}  // namespace kestrel::tools
