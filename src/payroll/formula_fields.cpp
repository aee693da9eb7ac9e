#include "payroll/formula_fields.h"

#include "common/dictionary/dictionary_form.h"
#include "common/screen/messages.h"
#include "platform/base/text.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {
namespace {

const char* TitleOf(FormulaKind kind) {
    switch (kind) {
        case FormulaKind::kAlgorithm:
            return "Algorytm";
        case FormulaKind::kFunctionBody:
            return "Definicja";
        case FormulaKind::kComment:
            return "Komentarz";
        case FormulaKind::kSelectionSet:
            break;
    }
    return "Wzór";
}

}  // namespace

bool EditFormulaField(common::Runtime& rt, common::Tables& tables, FormulaKind kind,
                      std::string* text) {
    (void)tables;  // the formula editor's save test reads the namespace through it
    if (!common::EditMemo(rt, TitleOf(kind), text)) return false;
    if (kind == FormulaKind::kComment || base::Trim(*text).empty()) return true;
    formula::Runtime engine(nullptr, rt.formulas());
    formula::Program program;
    formula::Error error;
    if (!engine.Compile(*text, &program, &error)) common::ShowMessage(rt, error.Message());
    return true;
}

}  // namespace kestrel::payroll
