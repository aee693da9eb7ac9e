// kestrel-tool payroll recalc DIR.PK [--list KEY] [--department D | --set S]:
// the recalculation of an open list (4.5) without a screen.
#include <unistd.h>

#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/payroll_parameters.h"
#include "payroll/data/recalculation.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

std::string Utf8(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

// Warnings and function messages on standard error; the employee being
// computed on one line of a terminal.
class ToolWatch : public payroll::RecalcObserver {
  public:
    ToolWatch() : progress_(isatty(STDERR_FILENO) != 0) {}
    ~ToolWatch() override {
        if (progress_ && shown_) std::fprintf(stderr, "\r%20s\r", "");
    }

    void Warn(const std::string& m) override {
        std::fprintf(stderr, "%swarning: %s\n", progress_ && shown_ ? "\n" : "", Utf8(m).c_str());
    }
    bool FunctionError(const std::string& m) override {
        std::fprintf(stderr, "warning: %s\n", Utf8(m).c_str());
        return true;
    }
    void Employee(const std::string& shown) override {
        if (!progress_) return;
        std::fprintf(stderr, "\r%-20.20s", Utf8(shown).c_str());
        std::fflush(stderr);
        shown_ = true;
    }

  private:
    bool progress_;
    bool shown_ = false;
};

int Recalc(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, department, set;
    const bool by_list = TakeOption(&args, "--list", &list_text);
    const bool by_department = TakeOption(&args, "--department", &department);
    const bool by_set = TakeOption(&args, "--set", &set);
    if (args.size() != 1 || (by_department && by_set) || (by_list && list_text.empty()) ||
        (by_department && department.empty()) || (by_set && set.empty())) {
        std::fprintf(stderr,
                     "usage: kestrel-tool payroll recalc DIR.PK [--list KEY] [--department D | "
                     "--set S]\n");
        return 2;
    }
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        payroll::PayrollList list;
        if (by_list) {
            const std::string key = payroll::ListKeyFromText(list_text);
            if (key.empty()) {
                std::fprintf(stderr, "kestrel-tool payroll: bad list %s\n", list_text.c_str());
                return 2;
            }
            if (!payroll::FindList(tables, key, &list) || !list.open)
                return Refuse(rt.Text("Brak aktywnej listy plac"));
        } else {
            const payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
            if (!open.refusal.empty()) return Refuse(open.refusal);
            if (open.lists.size() > 1) {
                std::fprintf(stderr, "kestrel-tool payroll: several open lists, give --list\n");
                return 2;
            }
            list = open.lists.front();
        }
        payroll::RecalcRequest request;
        if (by_department) {
            request.scope = payroll::RecalcScope::kDepartment;
            request.department = department;
        } else if (by_set) {
            request.scope = payroll::RecalcScope::kSet;
            request.set = set;
        }
        // Before the valorisation table is opened, which would rebuild it.
        if (payroll::ValorisationIndexOutdated(rt.data_dir()))
            return Refuse(rt.Text("Błędny indeks PKWALOR"));
        ToolWatch watch;
        payroll::Recalculation run(rt, tables, list, &watch);
        if (std::string m = run.Check(); !m.empty()) return Refuse(m);
        // Shared only where the company allows recalculating beside others.
        run.OpenTables(!rt.config().Logical("NAGLWDLP"));
        if (std::string m = run.CheckScope(request); !m.empty()) return Refuse(m);
        const payroll::RecalcOutcome done = run.Run(request);
        std::printf("employees: %d\npositions written: %d\npositions deleted: %d\n", done.employees,
                    done.positions_written, done.positions_deleted);
        if (!done.message.empty()) return Refuse(done.message);
        if (done.interrupted) return 1;
        return 0;
    } catch (const common::Abandon& e) {
        const std::string m = e.message();
        return Refuse(m.empty() ? "kestrel-tool payroll: recalculation abandoned" : m);
    }
}

KESTREL_PAYROLL_ACTION(payroll_recalc_action, "recalc",
                       "recalc DIR.PK [--list KEY] [--department D | --set S]", Recalc);

}  // namespace
}  // namespace kestrel::tools
