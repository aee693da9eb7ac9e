// kestrel-tool payroll bank DIR.PK [--list KEY] [--out DIR] [--replace]: the
// bank files of a payment (4.A.2) without a screen, on the same run.
//
// The list is the open one (KEY among several open lists); every list of
// its year, month and payment date takes part. The files go to the output
// directory of the company (NAGLRORPLI), or to DIR. A file of the same name
// there is a refusal unless --replace is given. Prints one line per file:
// name,lines,total (the total in złote with a decimal point).
#include <unistd.h>

#include <cinttypes>
#include <cstdio>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/bank/data/bank_run.h"
#include "payroll/data/payroll_month.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

const char kUsage[] = "bank DIR.PK [--list KEY] [--out DIR] [--replace]";

std::string Utf8(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

// Function messages on standard error; the employee on one terminal line.
class ToolWatch : public payroll::bank::BankObserver {
  public:
    ToolWatch() : progress_(isatty(STDERR_FILENO) != 0) {}
    ~ToolWatch() override {
        if (progress_ && shown_) std::fprintf(stderr, "\r%20s\r", "");
    }
    bool FunctionError(const std::string& m) override {
        std::fprintf(stderr, "warning: %s\n", Utf8(m).c_str());
        return true;
    }
    void Employee(const std::string& number) override {
        if (!progress_) return;
        std::fprintf(stderr, "\r%-20.20s", number.c_str());
        shown_ = true;
    }

  private:
    bool progress_;
    bool shown_ = false;
};

int Bank(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, out_dir, unused;
    const bool by_list = TakeOption(&args, "--list", &list_text);
    const bool to_dir = TakeOption(&args, "--out", &out_dir);
    bool replace = false;
    for (auto it = args.begin(); it != args.end();) {
        if (*it == "--replace") {
            replace = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    }
    if (args.size() != 1 || (by_list && list_text.empty()) || (to_dir && out_dir.empty())) {
        std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", kUsage);
        return 2;
    }
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    if (to_dir) rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(out_dir));
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
                return Refuse(rt.Text("Brak aktywnej listy płac"));
        } else {
            const payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
            if (open.lists.empty()) return Refuse(rt.Text("Brak aktywnej listy płac"));
            if (!open.refusal.empty()) return Refuse(open.refusal);
            if (open.lists.size() > 1) {
                std::fprintf(stderr, "kestrel-tool payroll: several open lists, give --list\n");
                return 2;
            }
            list = open.lists.front();
        }
        ToolWatch watch;
        payroll::bank::BankRun run(rt, tables, list, &watch);
        if (std::string m = run.Check(); !m.empty()) return Refuse(m);
        for (const std::string& name : run.Existing()) {
            if (!replace) return Refuse(rt.Text("Istnieje plik: ") + name);
            if (std::string m = run.Delete(name); !m.empty()) return Refuse(m);
        }
        const payroll::bank::BankOutcome done = run.Run();
        if (!done.message.empty()) return Refuse(done.message);
        if (!done.completed) return 1;
        for (const payroll::bank::BankFileResult& f : done.files)
            std::printf("%s,%d,%" PRId64 ".%02" PRId64 "\n", f.name.c_str(), f.lines, f.total / 100,
                        f.total % 100);
        return 0;
    } catch (const common::Abandon& e) {
        const std::string m = e.message();
        return Refuse(m.empty() ? "kestrel-tool payroll: bank files abandoned" : m);
    }
}

KESTREL_PAYROLL_ACTION(bank_action, "bank", kUsage, Bank);

}  // namespace
}  // namespace kestrel::tools
