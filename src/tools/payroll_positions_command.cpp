// kestrel-tool payroll positions DIR.PK [--list KEY] [--employee NR]: the
// positions of a payroll list as CSV on standard output (UTF-8), a header
// line first, then one line per visible position by list, employee and
// component: list key (YYYY/S/N), employee, component, component name,
// amount, and the flags POTRAC_, NIE_ALG, POZA_LISTA, AKT_DOCH as T/F.
//
// Without --list the open list is shown, or every open list (in the order
// of PKLISTY2) when several may be open (NAGLALP); no open list, or two
// while only one may be, is a refusal. --employee keeps one employee's.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "payroll/data/payroll_month.h"
#include "payroll/data/position_listing.h"
#include "platform/codepage/cp852.h"
#include "register/data/employee_record.h"
#include "tools/company_session.h"
#include "tools/payroll_command.h"

namespace kestrel::tools {
namespace {

constexpr const char* kUsage = "positions DIR.PK [--list YYYY/S/N] [--employee NR]";

int Positions(const std::vector<std::string>& given) {
    std::vector<std::string> args = given;
    std::string list_text, employee_text, employee;
    const bool one_list = TakeOption(&args, "--list", &list_text);
    const bool one_employee = TakeOption(&args, "--employee", &employee_text);
    const std::string key = one_list ? payroll::ListKeyFromText(list_text) : std::string();
    if (args.size() != 1 || (one_list && key.empty()) ||
        (one_employee && !registry::NormaliseNumber(employee_text, &employee))) {
        std::fprintf(stderr, "usage: kestrel-tool payroll %s\n", kUsage);
        return 2;
    }
    const std::string dir = PayrollCompanyDir(args);
    if (dir.empty()) return 2;
    CompanySession session(dir);
    common::Runtime& rt = session.rt;
    try {
        common::Tables tables(rt);
        std::vector<payroll::PayrollList> lists;
        if (one_list) {
            payroll::PayrollList l;
            if (!payroll::FindList(tables, key, &l))
                return Refuse(rt.Text("Brak listy płac ") + list_text);
            lists.push_back(l);
        } else {
            payroll::OpenLists open = payroll::FindOpenLists(rt, tables);
            if (!open.refusal.empty()) return Refuse(open.refusal);
            lists = open.lists;
        }
        const std::vector<payroll::Component> components = payroll::ReadComponents(tables);
        std::printf("%s\n", payroll::PositionsHeader().c_str());
        for (const payroll::PayrollList& l : lists)
            for (const std::string& line :
                 payroll::PositionLines(rt, tables, l, employee, components))
                std::printf("%s\n", codepage::ToUtf8(line).c_str());
        return 0;
    } catch (const common::Abandon& e) {
        return Refuse(e.message());
    }
}

KESTREL_PAYROLL_ACTION(payroll_positions, "positions", kUsage, Positions);

}  // namespace
}  // namespace kestrel::tools
