#include "payroll/data/formula_save_test.h"

#include <memory>

#include "common/session/abandon.h"
#include "payroll/data/payroll_host.h"
#include "platform/base/files.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {

using formula::Value;

namespace {

// A name for the body under test that nothing of the company uses.
std::string FreeName(PayrollHost& host) {
    for (int i = 1;; ++i) {
        const std::string name = "YTEST" + std::to_string(i);
        if (host.Find(name) < 0 && !host.engine().IsUserFunction(name) &&
            !host.engine().HasFunction(name))
            return name;
    }
}

// The tables a recalculation has open whose fields formulas read by alias
// (pkprac->grupa_alg, pklisty->data_wyp, pkster->rok_), each on its blank
// phantom record for the time of the test: no employee, no list. Their
// positions come back when the result goes.
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

std::vector<std::string> SaveTestFormula(common::Runtime& rt, common::Tables& tables,
                                         SavedFormula kind, std::string_view text,
                                         std::string_view parameters) {
    PayrollHost host(rt, tables);
    std::vector<std::string> messages;
    try {
        messages = host.Prepare();
    } catch (const common::Abandon& e) {
        return {e.message()};
    }
    host.LoadEmpty();
    const auto blank = OpenBlank(rt, tables);
    formula::Runtime& engine = host.engine();
    formula::Program program;
    formula::Error error;
    Value value;
    bool ok = false;
    if (kind == SavedFormula::kUserFunction) {
        const std::string name = FreeName(host);
        switch (engine.DefineFunction(name, parameters, text, &error)) {
            case formula::DefineResult::kOk:
                ok = engine.Compile(name + "()", &program, &error) &&
                     engine.Evaluate(program, &value, &error);
                break;
            case formula::DefineResult::kBadParameters:
                messages.push_back(rt.Text("Błędna lista parametrów"));
                return messages;
            default:  // the body does not compile
                break;
        }
    } else {
        const formula::Type expected =
            kind == SavedFormula::kAlgorithm ? formula::Type::kNumber : formula::Type::kLogical;
        ok = engine.Compile(text, &program, &error) &&
             engine.EvaluateAs(program, expected, &value, &error);
    }
    if (!ok) messages.push_back(error.Message());
    return messages;
}

}  // namespace kestrel::payroll
