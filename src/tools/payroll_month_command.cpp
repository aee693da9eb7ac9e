// kestrel-tool payroll close-month DIR.PK [--to YYYY-MM]: closes the month
// of the control record and opens the next one (or the month given), on the
// code of menu 4.7. Every question is answered yes (a month out of sequence
// with the loan fund included: the administrator's tool asks no password);
// warnings and stages go to standard output, the seniority report too. A
// refusal prints its message on standard error and exits 1.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/month_close.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

struct YesDialog : payroll::MonthCloseDialog {
    static void Print(std::string_view cp852) {
        std::printf("%s\n", codepage::ToUtf8(std::string(cp852)).c_str());
    }
    bool Ask(std::string_view question, std::string_view note) override {
        if (!note.empty()) Print(note);
        std::printf("%s t\n", codepage::ToUtf8(std::string(question)).c_str());
        return true;
    }
    void Warn(std::string_view message) override { Print(message); }
    bool ConfirmOutOfSequence(const std::vector<std::string>& lines) override {
        for (const std::string& l : lines) Print(l);
        return true;
    }
    void Stage(std::string_view heading) override { Print(heading); }
    void SeniorityDone(std::string_view count, const std::vector<std::string>& report) override {
        Print(count);
        if (report.size() > 1)
            for (const std::string& l : report) Print(l);
    }
};

bool ParseMonth(const std::string& text, base::YearMonth* out) {
    int year = 0, month = 0;
    char dash = 0, extra = 0;
    if (std::sscanf(text.c_str(), "%4d%c%2d%c", &year, &dash, &month, &extra) != 3 || dash != '-' ||
        year < 1993 || year > 2099 || month < 1 || month > 12)
        return false;
    *out = {year, month};
    return true;
}

int CloseMonth(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string to;
    const bool have_to = TakeOption(&args, "--to", &to);
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: kestrel-tool payroll close-month DIR.PK [--to YYYY-MM]\n");
        return 2;
    }
    base::YearMonth chosen;
    if (have_to && !ParseMonth(to, &chosen)) {
        std::fprintf(stderr, "kestrel-tool payroll close-month: bad month %s\n", to.c_str());
        return 2;
    }
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        if (!have_to) chosen = payroll::NextMonth(payroll::ReadControlRecord(rt, tables).month);
        YesDialog dialog;
        const payroll::CloseResult r =
            payroll::RunMonthClose(rt, tables, chosen, payroll::ShippedStatutoryValues(), dialog);
        for (const std::string& m : r.absence_messages) YesDialog::Print(m);
        if (r.outcome != payroll::CloseOutcome::kDone) {
            std::fprintf(stderr, "%s\n", codepage::ToUtf8(r.message).c_str());
            return 1;
        }
        std::printf("%s\n", payroll::MonthText(chosen).c_str());
        return 0;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "%s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    }
}

KESTREL_PAYROLL_ACTION(payroll_close_month, "close-month", "close-month DIR.PK [--to YYYY-MM]",
                       CloseMonth);

}  // namespace
}  // namespace kestrel::tools
