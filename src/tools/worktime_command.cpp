// kestrel-tool worktime: computes the working-time codes of type "A" of the
// settlement month (ROK_, MC_ of PKSTER) for one employee or for all, as F10
// of the working-time entry does, without starting the program.
//
//   kestrel-tool worktime COMPANY_DIR [NR_PRAC] [--absences]
//
// With --absences it rebuilds instead the employees' absence lines that
// the absence entry rebuilds when it opens an employee (the lines generated
// from suspensions and those of the computed absence codes), and clears
// the month's insurance flag AKT_ZUS of PKSTER. Each message that stopped an employee is printed as
// "NR_PRAC: text" (a user function that could not be bound as ": text"), then the count of
// employees. Exit status 0, 1 when some employee stopped or the company
// could not be read, 2 on a usage error.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/session/configuration.h"
#include "common/session/runtime.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "register/data/employee_record.h"
#include "tools/command.h"
#include "tools/company_session.h"
#include "worktime/data/absence_entry.h"
#include "worktime/data/month_run.h"

namespace kestrel::tools {
namespace {

int Worktime(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    const auto flag = std::find(args.begin(), args.end(), "--absences");
    const bool absences = flag != args.end();
    if (absences) args.erase(flag);
    if (args.empty() || args.size() > 2) {
        std::fprintf(stderr, "usage: kestrel-tool worktime COMPANY_DIR [NR_PRAC] [--absences]\n");
        return 2;
    }
    std::string dir = args[0];
    if (!dir.empty() && dir.back() != '/') dir += '/';
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "no directory %s\n", args[0].c_str());
        return 2;
    }
    std::string number;
    if (args.size() == 2 && !registry::NormaliseNumber(args[1], &number)) {
        std::fprintf(stderr, "kestrel-tool worktime: bad employee number %s\n", args[1].c_str());
        return 2;
    }
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        int failed = 0;
        auto report = [&failed](const std::string& nr, const std::string& message) {
            if (!nr.empty()) ++failed;
            std::printf("%s: %s\n", nr.c_str(), codepage::ToUtf8(message).c_str());
        };
        const int employees = absences
                                  ? worktime::RegenerateMonth(rt, tables, number, report)
                                  : worktime::ComputeMonth(rt, tables, number, report).employees;
        std::printf("%d\n", employees);
        return failed == 0 ? 0 : 1;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "%s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    }
}

KESTREL_TOOL_COMMAND(worktime, "worktime",
                     "COMPANY_DIR [NR_PRAC] [--absences]  compute the working-time codes "
                     "(or rebuild the generated and computed absences) of the month",
                     Worktime);

}  // namespace
}  // namespace kestrel::tools
