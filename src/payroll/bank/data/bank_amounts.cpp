#include "payroll/bank/data/bank_amounts.h"

#include "common/tables/table_catalogue.h"
#include "payroll/data/positions.h"
#include "platform/base/fixed_width.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll::bank {

int64_t Grosze(double amount) {
    const double g = amount * 100;
    return static_cast<int64_t>(g < 0 ? g - 0.5 : g + 0.5);
}

std::vector<PayrollList> ListsPaidWith(common::Tables& tables, const PayrollList& list) {
    std::vector<PayrollList> out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", common::IndexFiles("PKLISTY"));
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKLISTY5");
    const std::string key = list.year + list.month + base::Padded(list.paid, 8);
    bool has_list = false;
    base::Status s = a.Seek(key);
    for (const bool found = s.ok() && a.found(); found && s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        const PayrollList l = ReadList(a);
        if (l.year != list.year || l.month != list.month || l.paid != list.paid) break;
        has_list = has_list || l.Key() == list.Key();
        out.push_back(l);
    }
    if (!has_list) out.insert(out.begin(), list);
    return out;
}

Amounts ReadAmounts(common::Runtime& rt, common::Tables& tables,
                    const std::vector<PayrollList>& lists,
                    const std::vector<BankParameters>& banks) {
    Amounts out;
    std::vector<std::string> wanted;
    for (const BankParameters& f : banks) wanted.push_back(f.component);
    Positions positions(rt, tables);
    for (size_t i = 0; i < lists.size(); ++i) {
        for (const Position& p : positions.OfList(lists[i])) {
            bool paid = false;
            for (const std::string& w : wanted) paid = paid || w == p.symbol;
            if (!paid) continue;
            std::vector<int64_t>& v = out.by_key[p.employee + p.symbol];
            v.resize(lists.size());
            v[i] += Grosze(p.amount);
        }
    }
    return out;
}

const std::vector<int64_t>& Amounts::Of(std::string_view employee,
                                        std::string_view component) const {
    static const std::vector<int64_t> kNothing;
    const auto found = by_key.find(std::string(employee) + std::string(component));
    return found == by_key.end() ? kNothing : found->second;
}

}  // namespace kestrel::payroll::bank
