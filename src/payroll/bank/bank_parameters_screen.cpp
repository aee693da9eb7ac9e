// 4.A.5 "Parametry połączenia": the banks of PKWROR in the dictionary
// dialog, their formulas in the payroll's formula editor.
#include <string>

#include "common/dictionary/dictionary_dialog.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "payroll/bank/data/bank_parameters.h"
#include "payroll/bank/menu4a.h"
#include "payroll/data/payroll_records.h"
#include "payroll/formula_editor.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "platform/formula/lexer.h"
#include "platform/formula/runtime.h"

namespace kestrel::payroll {
namespace {

using common::DictionaryField;
using common::FieldKind;

// Kind 4: changes of the payroll components and functions.
constexpr unsigned kEnter = 8 | 32;
constexpr unsigned kChange = 8;

DictionaryField Text(const char* field, const char* label, const char* heading,
                     const char* picture = "", int column = 0) {
    return {field, label, heading, picture, column};
}

DictionaryField Formula(const char* field, const char* label, const char* heading) {
    DictionaryField f = Text(field, label, heading, "", 20);
    f.kind = FieldKind::kFormula;
    return f;
}

common::Dictionary Banks() {
    DictionaryField component = Text("SKLADN_PL", "Składnik płacowy:", "SKŁ.", "@!");
    component.required = true;
    DictionaryField prefix = Text("PREFIX_", "Prefiks nazwy pliku:", "PR", "@!");
    prefix.unless_set = "PRZELEW_";
    DictionaryField ext = Text("EXT_", "Rozszerzenie:", "ROZ", "@!");
    ext.unless_set = "PRZELEW_";
    ext.same_row = true;
    DictionaryField collective = common::LogicalField("ZB_PRZEL", "Przelew zbiorczy:", "ZB");
    auto when_collective = [](DictionaryField f) {
        f.when_set = "ZB_PRZEL";
        return f;
    };
    return {
        .menu = "4.A.5",
        .title = "Parametry połączenia",
        .table = "PKWROR",
        .indexes = {"PKWROR1"},
        .key_field = "BANK_",
        .key_heading = "BANK",
        .key_label = "Bank:",
        .key_picture = "",
        .name_field = "BANK_",
        .fields = {component, common::LogicalField("PRZELEW_", "Przelewy drukowane:", "DR"), prefix,
                   ext, Formula("WARUNEK_", "Warunek:", "WARUNEK"),
                   Formula("WZOR_", "Wzór linii:", "WZÓR"),
                   Formula("NAGLOWEK_", "Nagłówek:", "NAGŁÓWEK"),
                   Formula("KONIEC_", "Rekord końca:", "KONIEC"),
                   Text("TYTUL_TBW", "Tytuł zestawienia:", "TYTUŁ", "@S50", 20),
                   Text("NAZ_PRZEL", "Zleceniodawca:", "ZLECENIODAWCA", "@S50", 20),
                   Text("KON_PRZEL", "Rachunek zleceniodawcy:", "RACHUNEK", "@S44", 20), collective,
                   when_collective(Text("NAZWA_PRZ", "Odbiorca przelewu:", "ODBIORCA", "@S50", 20)),
                   when_collective(Text("BANK_PRZ", "Bank odbiorcy:", "BANK ODB.", "@S50", 20)),
                   when_collective(
                       Text("KONTO_PRZ", "Rachunek odbiorcy:", "RACH. ODB.", "@S50", 20))},
        .enter_mask = kEnter,
        .change_mask = kChange};
}

bool Refuse(common::Runtime& rt, const std::string& message) {
    if (message.empty()) return true;
    common::ShowMessage(rt, message);
    return false;
}

bool CheckField(common::Runtime& rt, common::Tables& tables, const DictionaryField& f,
                std::string_view text) {
    if (f.field == "SKLADN_PL") {
        const std::string symbol = base::Padded(base::Trim(text), 4);
        for (const Component& c : ReadComponents(tables))
            if (c.symbol == symbol) return true;
        return Refuse(rt,
                      rt.Text("Błędny składnik \"") + base::Trim(text) + rt.Text("\" w PKWROR"));
    }
    if (f.field == "EXT_") {
        bank::BankParameters b;
        b.extension = base::Trim(text);
        b.prefix = "X";
        const std::string ext = base::AsciiUpper(b.extension);
        for (const char* own : {"EXE", "COM", "BAT", "DBF", "DBT", "NTX", "MEM", "PRT", "161"})
            if (ext == own) b.extension.clear();
        if (!b.extension.empty() && bank::ValidFileName(bank::FileName(b, "20000101"))) return true;
        return Refuse(rt, rt.Text("Nieprawidłowe rozszerzenie \"") + base::Trim(text) + "\"");
    }
    return true;
}

// A bank's name once: the index orders by the sort key, so the names are
// compared here.
bool CheckKey(common::Runtime& rt, common::Tables& tables, std::string_view key) {
    const std::string wanted = base::AsciiUpper(base::Trim(key));
    for (const bank::BankParameters& b : bank::ReadBanks(tables))
        if (base::AsciiUpper(base::Trim(b.bank)) == wanted)
            return Refuse(rt, rt.Text("Istnieje bank o takiej nazwie"));
    return true;
}

// A formula in the formula editor; after Ctrl+W a formula that does not
// compile is reported (it stays saved: the test only warns).
bool EditField(common::Runtime& rt, common::Tables& tables, const DictionaryField& f,
               std::string* text) {
    FormulaEdit edit;
    edit.kind = FormulaKind::kUserFunction;
    edit.title = f.label.substr(0, f.label.size() - 1);
    edit.test = [&rt](const std::string& saved) {
        if (base::Trim(formula::StripLineBreaks(saved)).empty()) return;
        formula::Runtime engine(nullptr, rt.formulas());
        formula::Program program;
        formula::Error error;
        if (!engine.Compile(saved, &program, &error)) common::ShowMessage(rt, error.Message());
    };
    return EditFormula(rt, tables, edit, text);
}

}  // namespace

void Qrm4A5(common::Runtime& rt) {
    common::DictionaryHooks hooks;
    hooks.code_field = [](std::string_view name) -> common::CodeField {
        throw common::Abandon("?" + std::string(name));
    };
    hooks.field_check = [](common::Runtime& r, common::Tables& t, const DictionaryField& f,
                           std::string_view text, double) { return CheckField(r, t, f, text); };
    hooks.key_check = [](common::Runtime& r, common::Tables& t, std::string_view key) {
        return CheckKey(r, t, key);
    };
    hooks.edit_memo = [](common::Runtime& r, common::Tables& t, dbf::WorkArea&,
                         const DictionaryField& f,
                         std::string* text) { return EditField(r, t, f, text); };
    common::RunDictionary(rt, Banks(), hooks);
}

}  // namespace kestrel::payroll
