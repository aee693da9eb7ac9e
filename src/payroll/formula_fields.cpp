#include "payroll/formula_fields.h"

#include "common/screen/messages.h"
#include "common/screen/text_editor.h"
#include "payroll/data/formula_save_test.h"
#include "payroll/formula_editor.h"
#include "platform/base/text.h"
#include "platform/formula/lexer.h"

namespace kestrel::payroll {
namespace {

const char* TitleOf(FormulaField field) {
    switch (field) {
        case FormulaField::kAlgorithm:
            return "Algorytm";
        case FormulaField::kFunctionBody:
            return "Definicja";
        case FormulaField::kComment:
            return "Komentarz";
        case FormulaField::kSelectionSet:
            break;
    }
    return "Wzór";
}

FormulaKind EditorKindOf(FormulaField field) {
    if (field == FormulaField::kAlgorithm) return FormulaKind::kComponent;
    if (field == FormulaField::kFunctionBody) return FormulaKind::kUserFunction;
    return FormulaKind::kSelectionSet;
}

SavedFormula TestKindOf(FormulaField field) {
    if (field == FormulaField::kAlgorithm) return SavedFormula::kAlgorithm;
    if (field == FormulaField::kFunctionBody) return SavedFormula::kUserFunction;
    return SavedFormula::kSelectionSet;
}

}  // namespace

bool EditFormulaField(common::Runtime& rt, common::Tables& tables, FormulaField field,
                      std::string* text, std::string_view parameters) {
    if (field == FormulaField::kComment) {
        common::TextEditorOptions o;
        o.title = rt.Text(std::string(" ") + TitleOf(field) + " ");
        return common::EditText(rt, o, text);
    }
    FormulaEdit edit;
    edit.kind = EditorKindOf(field);
    edit.title = TitleOf(field);
    const std::string params(parameters);
    edit.test = [&rt, &tables, field, params](const std::string& saved) {
        if (base::Trim(formula::StripLineBreaks(saved)).empty()) return;
        common::ShowWait(rt);
        for (const std::string& m : SaveTestFormula(rt, tables, TestKindOf(field), saved, params))
            common::ShowMessage(rt, m);
    };
    return EditFormula(rt, tables, edit, text);
}

}  // namespace kestrel::payroll
