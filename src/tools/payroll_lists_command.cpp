// kestrel-tool payroll lists / open / close: the register of payroll lists
// without a screen, on the rules of menu 4.2 (payroll/data/list_register.h).
//
//   lists DIR.PK   every list as CSV: key,year,month,symbol,number,paid,open,to_tax,for_year
//   open DIR.PK --symbol S --paid YYYY-MM-DD [--number N] [--for-year Y]
//                  a new open list of the system month; prints its key
//   close DIR.PK [--list KEY]   closes the list (the only open one without KEY)
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/list_register.h"
#include "payroll/data/payroll_month.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"
#include "worktime/data/open_once.h"

namespace kestrel::tools {
namespace {

int Refused(const std::string& cp852) {
    std::fprintf(stderr, "%s\n", codepage::ToUtf8(cp852).c_str());
    return 1;
}

int Usage(const char* usage) {
    std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", usage);
    return 2;
}

// A whole number in `text` within [low, high]; false when it is not one.
bool Number(const std::string& text, int low, int high, int* out) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *out = std::atoi(text.c_str());
    return *out >= low && *out <= high;
}

// Runs `fn` on the company of `dir` with its tables; an abandoned operation
// is a refusal.
template <typename Fn>
int OnCompany(const std::string& dir, Fn fn) {
    CompanySession session(dir);
    try {
        common::Tables tables(session.rt);
        return fn(session.rt, tables);
    } catch (const common::Abandon& e) {
        return Refused(e.message());
    }
}

const char kListsUsage[] = "lists DIR.PK";
const char kOpenUsage[] = "open DIR.PK --symbol S --paid YYYY-MM-DD [--number N] [--for-year Y]";
const char kCloseUsage[] = "close DIR.PK [--list KEY]";

int Lists(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage(kListsUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    return OnCompany(dir, [](common::Runtime& rt, common::Tables& tables) {
        payroll::ListRegister reg(rt, tables);
        dbf::WorkArea& a = reg.area();
        worktime::OrderBy(a, "PKLISTY1");
        std::printf("key,year,month,symbol,number,paid,open,to_tax,for_year\n");
        for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
            const payroll::PayrollList l = payroll::ReadList(a);
            const base::Date paid = base::DateOfDbfText(l.paid);
            std::printf("%s/%s/%d,%s,%s,%s,%d,%s,%s,%s,%d\n", l.year.c_str(),
                        codepage::ToUtf8(base::TrimRight(l.symbol)).c_str(), l.number,
                        l.year.c_str(), l.month.c_str(),
                        codepage::ToUtf8(base::TrimRight(l.symbol)).c_str(), l.number,
                        paid.empty() ? "" : base::DateText(paid).c_str(), l.open ? "T" : "F",
                        l.to_tax ? "T" : "F", l.for_year);
        }
        return 0;
    });
}

int Open(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string symbol, paid, number, for_year;
    const bool has_symbol = TakeOption(&args, "--symbol", &symbol);
    const bool has_paid = TakeOption(&args, "--paid", &paid);
    const bool has_number = TakeOption(&args, "--number", &number);
    const bool has_year = TakeOption(&args, "--for-year", &for_year);
    if (args.size() != 1 || !has_symbol || !has_paid || symbol.empty() || symbol.size() > 2)
        return Usage(kOpenUsage);
    payroll::NewList request;
    request.symbol = symbol;
    const base::Date date = base::ParseDateText(paid);
    if (date.empty() || paid.size() != 10) return Usage(kOpenUsage);
    request.paid = base::DbfDateText(date);
    // A number past 9999 reaches the register, which refuses it.
    if (has_number && !Number(number, 1, 999999, &request.number)) return Usage(kOpenUsage);
    if (has_year && !Number(for_year, 0, 9999, &request.for_year)) return Usage(kOpenUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    return OnCompany(dir, [&](common::Runtime& rt, common::Tables& tables) {
        payroll::ListRegister reg(rt, tables);
        payroll::PayrollList made;
        bool remaining = false;
        const std::string refusal = reg.Open(request, &made, &remaining);
        if (!refusal.empty()) return Refused(refusal);
        if (remaining)
            std::fprintf(
                stderr, "%s\n",
                codepage::ToUtf8(rt.Text("Istnieją rekordy na takiej liście płac")).c_str());
        std::printf("%s/%s/%d\n", made.year.c_str(), base::TrimRight(made.symbol).c_str(),
                    made.number);
        return 0;
    });
}

int Close(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string text;
    const bool has_list = TakeOption(&args, "--list", &text);
    if (args.size() != 1) return Usage(kCloseUsage);
    const std::string key = has_list ? payroll::ListKeyFromText(text) : "";
    if (has_list && key.empty()) return Usage(kCloseUsage);
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    return OnCompany(dir, [&](common::Runtime& rt, common::Tables& tables) {
        payroll::ListRegister reg(rt, tables);
        payroll::PayrollList list;
        if (has_list) {
            if (!payroll::FindList(tables, key, &list))
                return Refused(rt.Text("Brak takiej listy płac"));
            if (!list.open) return Refused(rt.Text("Lista płac nie jest aktywna"));
        } else {
            const payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
            if (!open.refusal.empty()) return Refused(open.refusal);
            if (open.lists.size() > 1)
                return Refused(rt.Text("Kilka aktywnych list płac: podaj --list"));
            list = open.lists.front();
        }
        reg.Close(list);
        std::printf("%s/%s/%d\n", list.year.c_str(), base::TrimRight(list.symbol).c_str(),
                    list.number);
        return 0;
    });
}

KESTREL_PAYROLL_ACTION(payroll_lists, "lists", kListsUsage, Lists);
KESTREL_PAYROLL_ACTION(payroll_open, "open", kOpenUsage, Open);
KESTREL_PAYROLL_ACTION(payroll_close, "close", kCloseUsage, Close);

}  // namespace
}  // namespace kestrel::tools
