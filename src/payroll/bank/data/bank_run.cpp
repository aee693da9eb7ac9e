#include "payroll/bank/data/bank_run.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <map>
#include <unordered_map>

#include "common/tables/table_catalogue.h"
#include "payroll/bank/data/bank_amounts.h"
#include "payroll/bank/data/bank_files.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/positions.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll::bank {

using formula::Value;

struct BankRun::State {
    State(common::Runtime& r, common::Tables& t, const PayrollList& l, BankObserver* o)
        : rt(r), tables(t), list(l), observer(o != nullptr ? o : &silent) {}

    common::Runtime& rt;
    common::Tables& tables;
    PayrollList list;
    BankObserver silent;
    BankObserver* observer;
    std::vector<BankParameters> files;
    std::vector<PayrollList> lists;
    bool checked = false;
};

namespace {

// One formula of a bank compiled over the run's namespace; an empty text
// compiles to nothing.
struct Compiled {
    bool present = false;
    formula::Program program;
};

}  // namespace

std::string DefaultTrailer(int64_t grosze) {
    const char* sign = grosze < 0 ? "-" : "";
    const int64_t g = grosze < 0 ? -grosze : grosze;
    char buf[48];
    std::snprintf(buf, sizeof buf, "RAZEM %s%" PRId64 ".%02" PRId64, sign, g / 100, g % 100);
    return buf;
}

bool LineShowsAmount(std::string_view line, int64_t grosze) {
    char point[32], comma[32], whole[32];
    std::snprintf(point, sizeof point, "%" PRId64 ".%02" PRId64, grosze / 100, grosze % 100);
    std::snprintf(comma, sizeof comma, "%" PRId64 ",%02" PRId64, grosze / 100, grosze % 100);
    std::snprintf(whole, sizeof whole, "%" PRId64, grosze);
    for (const char* form : {point, comma, whole})
        if (line.find(form) != std::string_view::npos) return true;
    return false;
}

BankRun::BankRun(common::Runtime& rt, common::Tables& tables, const PayrollList& list,
                 BankObserver* observer)
    : state_(std::make_unique<State>(rt, tables, list, observer)) {}

BankRun::~BankRun() = default;

std::string BankRun::Check() {
    State& s = *state_;
    const std::string refusal =
        CheckFileBanks(s.rt, s.tables, ReadBanks(s.tables), s.list.paid, &s.files);
    if (!refusal.empty()) return refusal;
    s.lists = ListsPaidWith(s.tables, s.list);
    s.checked = true;
    return {};
}

const std::vector<BankParameters>& BankRun::files() const {
    return state_->files;
}

const std::vector<PayrollList>& BankRun::lists() const {
    return state_->lists;
}

std::vector<std::string> BankRun::Existing() const {
    std::vector<std::string> out;
    const std::string dir = OutputDirectory(state_->rt);
    for (const BankParameters& f : state_->files) {
        const std::string name = FileName(f, state_->list.paid);
        std::error_code ec;
        if (std::filesystem::exists(dir + name, ec)) out.push_back(name);
    }
    return out;
}

std::string BankRun::Delete(const std::string& name) const {
    std::error_code ec;
    std::filesystem::remove(OutputDirectory(state_->rt) + name, ec);
    if (ec || std::filesystem::exists(OutputDirectory(state_->rt) + name, ec))
        return state_->rt.Text("Błąd kasowania pliku: ") + name;
    return {};
}

BankOutcome BankRun::Run() {
    State& s = *state_;
    BankOutcome out;
    if (!s.checked) {
        out.message = Check();
        if (!out.message.empty()) return out;
    }
    common::Runtime& rt = s.rt;
    const std::string dir = OutputDirectory(rt);
    const bool summing = rt.config().Logical("NAGLSLROR");
    const size_t n = s.files.size();

    // The amounts first: the lists' positions of the files' components.
    const Amounts amounts = ReadAmounts(rt, s.tables, s.lists, s.files);

    // Step 4: every file created (under its temporary name).
    PendingFiles pending(dir);
    for (const BankParameters& f : s.files) {
        const std::string name = FileName(f, s.list.paid);
        if (!pending.Create(name)) {
            out.message = rt.Text("Błąd tworzenia pliku: ") + name;
            return out;
        }
    }

    // The register in name order and the list: the current records the
    // formulas read by alias (open before the formulas are compiled).
    dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", common::IndexFiles("PKPRAC"));
    dbf::WorkArea& listy = worktime::OpenOnce(s.tables, "PKLISTY", common::IndexFiles("PKLISTY"));

    PayrollHost host(rt, s.tables);
    for (const std::string& m : host.PrepareRun()) {
        if (!s.observer->FunctionError(m)) {
            out.interrupted = true;
            return out;
        }
    }
    host.SetList(s.list);
    worktime::OrderBy(listy, "PKLISTY1");
    (void)listy.Seek(s.list.Key());
    host.LoadEmpty();

    std::vector<Compiled> condition(n), line(n), header(n), trailer(n);
    std::vector<int> slot(n);
    formula::Error error;
    auto compile = [&](const std::string& text, Compiled* c) {
        if (base::TrimWhitespace(text).empty()) return true;
        c->present = true;
        return host.engine().Compile(text, &c->program, &error);
    };
    for (size_t i = 0; i < n; ++i) {
        const BankParameters& f = s.files[i];
        if (!compile(f.condition, &condition[i]) || !compile(f.line, &line[i]) ||
            !compile(f.header, &header[i]) || !compile(f.trailer, &trailer[i])) {
            out.message = error.Message();
            return out;
        }
        if (!line[i].present) {
            out.message = rt.Text("Błędna wartość wzoru ") + pending.name(i);
            return out;
        }
        slot[i] = host.Find(base::TrimRight(f.component));
    }

    Value v;
    // The headers.
    for (size_t i = 0; i < n; ++i) {
        if (!header[i].present) continue;
        if (!host.engine().Evaluate(header[i].program, &v, &error)) {
            out.message = error.Message();
            return out;
        }
        if (!v.IsString()) {
            out.message = rt.Text("Błędna wartość nagłówka ") + pending.name(i);
            return out;
        }
        if (!v.str().empty()) pending.WriteLine(i, v.str());
    }

    // The employees.
    worktime::OrderBy(prac, "PKPRAC2");
    const int f_number = prac.FieldIndex("NR_PRAC");
    std::vector<std::pair<size_t, std::string>> lines;  // the employee's, not yet written
    std::vector<int64_t> totals(n, 0), made(n, 0);
    std::vector<int64_t> to_pay;
    for (base::Status st = prac.GoTop(); st.ok() && !prac.eof(); st = prac.Skip()) {
        if (prac.deleted()) continue;
        const std::string number = prac.record().GetString(f_number);
        s.observer->Employee(number);
        if (s.observer->Interrupted()) {
            out.interrupted = true;
            return out;
        }
        ++out.employees;
        host.LoadEmpty();
        lines.clear();
        for (size_t i = 0; i < n; ++i) {
            const std::vector<int64_t>& per_list = amounts.Of(number, s.files[i].component);
            int64_t sum = 0;
            for (int64_t g : per_list) sum += g;
            if (slot[i] >= 0) host.value(slot[i]) = Value::Number(sum / 100.0, 2);
            if (condition[i].present) {
                if (!host.engine().Evaluate(condition[i].program, &v, &error)) {
                    out.message = error.Message();
                    return out;
                }
                if (!v.IsLogical()) {
                    out.message = rt.Text("Błędna wartość warunku ") + pending.name(i);
                    return out;
                }
                if (!v.logical()) continue;
            }
            to_pay.clear();
            if (summing) {
                if (sum > 0) to_pay.push_back(sum);
            } else {
                for (int64_t g : per_list)
                    if (g > 0) to_pay.push_back(g);
            }
            for (int64_t g : to_pay) {
                if (slot[i] >= 0) host.value(slot[i]) = Value::Number(g / 100.0, 2);
                if (!host.engine().Evaluate(line[i].program, &v, &error)) {
                    out.message = error.Message();
                    return out;
                }
                if (!v.IsString()) {
                    out.message = rt.Text("Błędna wartość wzoru ") + pending.name(i);
                    return out;
                }
                if (!LineShowsAmount(v.str(), g)) {
                    out.message = rt.Text("Błędny wzór ") + pending.name(i);
                    return out;
                }
                lines.emplace_back(i, v.str());
                totals[i] += g;
                ++made[i];
            }
        }
        for (const auto& [i, text] : lines) pending.WriteLine(i, text);
    }

    // The trailers: with every variable empty again.
    host.LoadEmpty();
    for (size_t i = 0; i < n; ++i) {
        std::string text;
        if (trailer[i].present) {
            if (!host.engine().Evaluate(trailer[i].program, &v, &error)) {
                out.message = error.Message();
                return out;
            }
            if (!v.IsString()) {
                out.message = rt.Text("Błędny rekord końca ") + pending.name(i);
                return out;
            }
            text = v.str();
        } else {
            text = DefaultTrailer(totals[i]);
        }
        if (!text.empty()) pending.WriteLine(i, text);
    }

    std::string failed;
    if (!pending.Commit(&failed)) {
        out.message = rt.Text("Błąd zapisu pliku: ") + failed;
        return out;
    }
    for (size_t i = 0; i < n; ++i)
        out.files.push_back(
            {pending.name(i), dir + pending.name(i), static_cast<int>(made[i]), totals[i]});
    out.completed = true;
    return out;
}

}  // namespace kestrel::payroll::bank
