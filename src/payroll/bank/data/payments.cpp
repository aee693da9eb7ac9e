#include "payroll/bank/data/payments.h"

#include <set>

#include "common/checks/scramble.h"
#include "common/tables/table_catalogue.h"
#include "payroll/bank/data/bank_amounts.h"
#include "payroll/data/payroll_host.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll::bank {

namespace {

std::string NameOf(dbf::WorkArea& prac) {
    const dbf::Record& r = prac.record();
    const int legal = prac.FieldIndex("OS_PRAWNA");
    if (legal >= 0 && r.GetLogical(legal))
        return base::Trim(r.GetString(prac.FieldIndex("PEL_NAZWA")));
    const std::string surname = base::Trim(
        common::Unscramble(common::ScrambleKind::kName, r.GetString(prac.FieldIndex("NAZWX_"))));
    const std::string names = base::Trim(
        common::Unscramble(common::ScrambleKind::kName, r.GetString(prac.FieldIndex("IMIEX_"))));
    return names.empty() ? surname : surname + " " + names;
}

}  // namespace

PaymentsOutcome CollectPayments(common::Runtime& rt, common::Tables& tables,
                                const PayrollList& list, const std::vector<BankParameters>& banks,
                                BankObserver* observer) {
    PaymentsOutcome out;
    BankObserver silent;
    BankObserver& watch = observer != nullptr ? *observer : silent;
    std::set<std::string> components;
    for (const Component& c : ReadComponents(tables)) components.insert(c.symbol);
    for (const BankParameters& b : banks) {
        if (components.count(b.component) != 0 && !base::Trim(b.component).empty()) continue;
        out.message =
            rt.Text("Błędny składnik \"") + base::TrimRight(b.component) + rt.Text("\" w PKWROR");
        return out;
    }
    const std::vector<PayrollList> lists = ListsPaidWith(tables, list);
    const Amounts amounts = ReadAmounts(rt, tables, lists, banks);

    dbf::WorkArea& prac = worktime::OpenOnce(tables, "PKPRAC", common::IndexFiles("PKPRAC"));
    dbf::WorkArea& listy = worktime::OpenOnce(tables, "PKLISTY", common::IndexFiles("PKLISTY"));
    PayrollHost host(rt, tables);
    for (const std::string& m : host.PrepareRun()) {
        if (!watch.FunctionError(m)) {
            out.interrupted = true;
            return out;
        }
    }
    host.SetList(list);
    worktime::OrderBy(listy, "PKLISTY1");
    (void)listy.Seek(list.Key());
    host.LoadEmpty();

    const size_t n = banks.size();
    std::vector<formula::Program> condition(n);
    std::vector<bool> has_condition(n);
    std::vector<int> slot(n);
    formula::Error error;
    for (size_t i = 0; i < n; ++i) {
        has_condition[i] = !base::TrimWhitespace(banks[i].condition).empty();
        if (has_condition[i] && !host.engine().Compile(banks[i].condition, &condition[i], &error)) {
            out.message = error.Message();
            return out;
        }
        slot[i] = host.Find(base::TrimRight(banks[i].component));
        out.banks.push_back({banks[i], {}, 0});
    }

    const bool summing = rt.config().Logical("NAGLSLROR");
    worktime::OrderBy(prac, "PKPRAC2");
    const int f_number = prac.FieldIndex("NR_PRAC"), f_account = prac.FieldIndex("NR_KONT");
    formula::Value v;
    for (base::Status st = prac.GoTop(); st.ok() && !prac.eof(); st = prac.Skip()) {
        if (prac.deleted()) continue;
        const std::string number = prac.record().GetString(f_number);
        watch.Employee(number);
        if (watch.Interrupted()) {
            out.interrupted = true;
            return out;
        }
        host.LoadEmpty();
        for (size_t i = 0; i < n; ++i) {
            const std::vector<int64_t>& per_list = amounts.Of(number, banks[i].component);
            if (per_list.empty()) continue;
            int64_t sum = 0;
            for (int64_t g : per_list) sum += g;
            if (slot[i] >= 0) host.value(slot[i]) = formula::Value::Number(sum / 100.0, 2);
            if (has_condition[i]) {
                if (!host.engine().Evaluate(condition[i], &v, &error)) {
                    out.message = error.Message();
                    return out;
                }
                if (!v.IsLogical()) {
                    out.message = rt.Text("Błędna wartość warunku ") + banks[i].bank;
                    return out;
                }
                if (!v.logical()) continue;
            }
            BankPayments& b = out.banks[i];
            auto pay = [&](int64_t g) {
                b.payments.push_back(
                    {number, NameOf(prac),
                     f_account < 0 ? std::string() : base::Trim(prac.record().GetString(f_account)),
                     g});
                b.total += g;
            };
            if (summing) {
                if (sum > 0) pay(sum);
            } else {
                for (int64_t g : per_list)
                    if (g > 0) pay(g);
            }
        }
    }
    return out;
}

}  // namespace kestrel::payroll::bank
