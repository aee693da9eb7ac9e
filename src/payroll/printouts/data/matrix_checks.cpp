#include "payroll/printouts/data/matrix_checks.h"

#include "common/session/abandon.h"
#include "payroll/data/payroll_host.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

enum Kind { kAny, kLogical, kKey };

// The tables formulas read by alias, each on its blank phantom record for
// the time of a check; their positions come back when the result goes.
std::vector<std::unique_ptr<dbf::KeepPosition>> OpenBlank(common::Runtime& rt,
                                                          common::Tables& tables) {
    std::vector<std::unique_ptr<dbf::KeepPosition>> kept;
    for (const char* table : {"PKPRAC", "PKLISTY", "PKSTER"}) {
        if (tables.workspace().Find(table) == nullptr &&
            !base::Exists(base::FindNoCase(rt.data_dir(), std::string(table) + ".DBF")))
            continue;
        dbf::WorkArea& area = worktime::OpenOnce(tables, table);
        kept.push_back(std::make_unique<dbf::KeepPosition>(area));
        (void)area.Goto(0);
    }
    return kept;
}

}  // namespace

MatrixChecks::MatrixChecks(common::Runtime& rt, common::Tables& tables)
    : rt_(rt), tables_(tables) {}

MatrixChecks::~MatrixChecks() = default;

std::vector<std::string> MatrixChecks::Prepare() {
    if (prepared_) return {};
    prepared_ = true;
    host_ = std::make_unique<PayrollHost>(rt_, tables_);
    try {
        return host_->Prepare();
    } catch (const common::Abandon& e) {
        failed_ = e.message();
        return {failed_};
    }
}

bool MatrixChecks::IsSymbol(std::string_view name) {
    Prepare();
    return failed_.empty() && host_->Find(base::TrimRight(name)) >= 0;
}

std::string MatrixChecks::Start(std::string_view text) {
    start_ = base::Trim(text);
    return Evaluate(start_, kAny, /*after_start=*/false);
}

std::string MatrixChecks::Condition(std::string_view text) {
    return Evaluate(text, kLogical, true);
}

std::string MatrixChecks::SortKey(std::string_view text) {
    return Evaluate(text, kKey, true);
}

std::string MatrixChecks::Content(std::string_view text) {
    const std::string content = base::Trim(text);
    if (worktime::IsVariableName(content)) {
        Prepare();
        if (!failed_.empty()) return failed_;
        return IsSymbol(content) ? std::string() : rt_.Text("Błędny symbol");
    }
    return Evaluate(content, kAny, true);
}

std::string MatrixChecks::Evaluate(std::string_view text, int kind, bool after_start) {
    const std::string formula = base::Trim(text);
    if (formula.empty() && kind != kKey) return {};
    Prepare();
    if (!failed_.empty()) return failed_;
    host_->LoadEmpty();
    const auto blank = OpenBlank(rt_, tables_);
    formula::Runtime& engine = host_->engine();
    formula::Program program;
    formula::Error error;
    formula::Value value;
    // A start formula that fails is reported on its own field; the other
    // formulas are checked without it, so that the operator can get there.
    if (after_start && !start_.empty() && engine.Compile(start_, &program, &error))
        (void)engine.Evaluate(program, &value, &error);
    if (!engine.Compile(formula, &program, &error))
        return kind == kKey ? rt_.Text("Błąd syntaktyczny wzoru") : error.Message();
    if (!engine.Evaluate(program, &value, &error)) return error.Message();
    if (kind == kLogical && !value.IsLogical()) return rt_.Text("Błędna wartość warunku");
    return {};
}

}  // namespace kestrel::payroll
