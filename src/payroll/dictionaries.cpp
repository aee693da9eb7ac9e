#include "payroll/dictionaries.h"

#include <string>

#include "common/dictionary/dictionary_dialog.h"
#include "common/dictionary/dictionary_form.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "payroll/data/component_checks.h"
#include "payroll/data/function_checks.h"
#include "payroll/data/payroll_dictionaries.h"
#include "payroll/data/payroll_host.h"
#include "payroll/data/tax_form_rows.h"
#include "payroll/formula_fields.h"
#include "platform/base/text.h"
#include "register/data/dictionary.h"
#include "register/data/formula_symbols.h"

namespace kestrel::payroll {
namespace {

using common::CodeField;
using common::DictionaryField;
using common::DictionaryHooks;

// A refusal shown on the message line; true when there is none.
bool Accept(common::Runtime& rt, const std::string& message) {
    if (message.empty()) return true;
    common::ShowMessage(rt, message);
    return false;
}

bool InRange(common::Runtime& rt, double value, double low, double high) {
    return Accept(rt, value >= low && value <= high ? "" : rt.Text("Błędna wartość"));
}

// The algorithm groups of the register (2.7.A).
CodeField Groups() {
    const common::Dictionary* d = registry::FindDictionary("2.7.A");
    CodeField f = common::CodeFieldOver(*d);
    f.message = "Błędna grupa algorytmiczna";
    f.hint = "<F3>-Grupy algorytm.";
    f.name_width = 10;
    f.pick = [d] { return common::PickOf(*d, DictionaryHooks{}); };
    return f;
}

// The income types (8.2), picked but not extended from a component.
CodeField IncomeTypes(common::Runtime& rt) {
    const common::Dictionary* d = FindPayrollDictionary("8.2");
    CodeField f = common::CodeFieldOver(*d);
    f.message = "Błędny typ dochodu";
    f.hint = "<F3>-Rodzaje dochodów";
    f.name_width = 0;
    f.pick = [d, hooks = PayrollHooks(rt, "8.2")] {
        common::PickDictionary p = common::PickOf(*d, hooks);
        p.can_insert = false;
        return p;
    };
    return f;
}

CodeField Values(std::vector<std::string> values, const char* message, const char* hint) {
    CodeField f;
    f.values = std::move(values);
    f.message = message;
    f.hint = hint;
    f.name_width = 0;
    return f;
}

CodeField CodeFieldOf(common::Runtime& rt, std::string_view name) {
    if (name == "2.7.A") return Groups();
    if (name == "8.2") return IncomeTypes(rt);
    if (name == "NAZWA_POLA")
        return Values(IncomeFieldNames(rt.config().Logical("NAGLPPK20")), "Błędna nazwa pola",
                      "<F3>-Nazwy pól");
    if (name == "LP_PIT11Q")
        return Values(Pit11Positions(), "Błędna wartość", "<F3>-Pozycje PIT-11");
    if (name == "LP_PIT4RN") return Values(Pit4rRows(), "Błędna wartość", "<F3>-Wiersze PIT-4R");
    if (const TaxFormRows* rows = FindTaxFormRows(ShippedTaxFormRows(), name)) {
        CodeField f = Values(TaxFormRowValues(*rows), "Błędna wartość", "");
        f.hint = "<F3>-Wiersze " + rows->form;
        return f;
    }
    throw common::Abandon("?" + std::string(name));
}

FormulaField FieldOf(std::string_view menu, const DictionaryField& f) {
    if (menu == "8.4") return FormulaField::kAlgorithm;
    if (menu == "8.9") return FormulaField::kSelectionSet;
    return f.field == "KOMENTARZ_" ? FormulaField::kComment : FormulaField::kFunctionBody;
}

// A memo of dictionary `menu` in the formula editor of its kind; a user
// function's body is tested with the parameters of its record.
bool EditField(common::Runtime& rt, common::Tables& tables, std::string_view menu,
               dbf::WorkArea& area, const DictionaryField& f, std::string* text) {
    const FormulaField field = FieldOf(menu, f);
    std::string parameters;
    if (field == FormulaField::kFunctionBody)
        parameters = area.record().GetString(area.FieldIndex("PAR_"));
    return EditFormulaField(rt, tables, field, text, parameters);
}

// The further checks of the fields of dictionary `menu`.
bool CheckField(common::Runtime& rt, common::Tables& tables, std::string_view menu,
                const DictionaryField& f, std::string_view text, double number) {
    const std::string& field = f.field;
    if (menu == "8.2" && field == "LIMIT_") return InRange(rt, number, 0, 1e12);
    if (menu == "8.3" && field == "IL_KOL_WYD") return InRange(rt, number, 3, 5);
    if (menu == "8.3" && field == "TBW_") return Accept(rt, MatrixProblem(tables, text));
    if (menu == "8.4" && field == "IL_MC_WST") return InRange(rt, number, 0, 25);
    if (menu == "8.4" && field == "TYP_LISTY") return Accept(rt, ListKindsProblem(tables, text));
    if (menu == "8.4" && field == "TYP_NIEOB") return Accept(rt, AbsenceKindsProblem(tables, text));
    if (menu == "8.5" && field == "PAR_") return Accept(rt, ParameterListProblem(rt, text));
    return true;
}

// A new key of dictionary `menu`, beyond its form.
bool CheckKey(common::Runtime& rt, common::Tables& tables, std::string_view menu,
              std::string_view key) {
    if (menu == "8.5") {
        // The built-in functions and the payroll functions, as the engine
        // of the payroll formulas has them.
        PayrollHost host(rt, tables);
        return Accept(rt, FunctionNameProblem(tables, host.engine(), key));
    }
    if (menu == "8.9") return Accept(rt, SelectionSetProblem(tables, key));
    return true;
}

void BeforeCommit(std::string_view menu, dbf::WorkArea& area, bool is_new) {
    if (menu == "8.4") {
        if (is_new)
            CompleteNewComponent(area);
        else
            ForceMemoryOnly(area);
    } else if (menu == "8.2") {
        // The PIT-R answer also says whether the tax is recalculated.
        (void)area.record().SetLogical(area.FieldIndex("PRZEL_POD"),
                                       area.record().GetLogical(area.FieldIndex("LP_PIT_R")));
    }
}

// The first line of a function's description, under the browse.
std::string FirstCommentLine(dbf::WorkArea& area) {
    std::string text;
    if (!area.ReadMemo(area.FieldIndex("KOMENTARZ_"), &text).ok()) return {};
    const size_t end = text.find_first_of("\r\n\x8D");
    std::string line = text.substr(0, end);
    if (line.size() > 63) line.resize(63);
    return line;
}

void Run(common::Runtime& rt, std::string_view menu) {
    const common::Dictionary* d = FindPayrollDictionary(menu);
    if (d == nullptr) return;
    const DictionaryHooks hooks = PayrollHooks(rt, menu);
    common::RunDictionary(rt, *d, hooks);
}

}  // namespace

DictionaryHooks PayrollHooks(common::Runtime& rt, std::string_view menu_view) {
    const std::string menu(menu_view);
    DictionaryHooks h;
    h.code_field = [&rt](std::string_view name) { return CodeFieldOf(rt, name); };
    h.is_symbol = registry::IsFormulaSymbol;
    h.symbol_taken = registry::SymbolTakenIn;
    h.field_check = [menu](common::Runtime& r, common::Tables& t, const DictionaryField& f,
                           std::string_view text,
                           double number) { return CheckField(r, t, menu, f, text, number); };
    h.key_check = [menu](common::Runtime& r, common::Tables& t, std::string_view key) {
        return CheckKey(r, t, menu, key);
    };
    h.before_commit = [menu](common::Runtime&, dbf::WorkArea& area, bool is_new) {
        BeforeCommit(menu, area, is_new);
    };
    if (menu == "8.4")
        h.new_defaults = [](common::Runtime&, dbf::WorkArea& area) {
            SetNewComponentDefaults(area);
        };
    h.edit_memo = [menu](common::Runtime& r, common::Tables& t, dbf::WorkArea& area,
                         const DictionaryField& f,
                         std::string* text) { return EditField(r, t, menu, area, f, text); };
    if (menu == "8.5")
        h.under_browse = [](common::Runtime&, dbf::WorkArea& area) {
            return FirstCommentLine(area);
        };
    return h;
}

void Qrm82(common::Runtime& rt) {
    Run(rt, "8.2");
}
void Qrm83(common::Runtime& rt) {
    Run(rt, "8.3");
}
void Qrm84(common::Runtime& rt) {
    Run(rt, "8.4");
}
void Qrm85(common::Runtime& rt) {
    Run(rt, "8.5");
}
void Qrm89(common::Runtime& rt) {
    Run(rt, "8.9");
}
void Qrm8A(common::Runtime& rt) {
    Run(rt, "8.A");
}

}  // namespace kestrel::payroll
