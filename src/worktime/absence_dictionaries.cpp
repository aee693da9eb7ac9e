#include "worktime/absence_dictionaries.h"

#include "common/dictionary/dictionary_dialog.h"
#include "common/dictionary/dictionary_form.h"
#include "register/data/formula_symbols.h"
#include "worktime/data/absence_dictionaries.h"
#include "worktime/dictionaries.h"

namespace kestrel::worktime {
namespace {

const common::DictionaryHooks& Hooks() {
    static const common::DictionaryHooks hooks{
        .code_field = [](std::string_view name) { return AbsenceCodeFieldOf(name); },
        .is_symbol = registry::IsFormulaSymbol,
        .symbol_taken = registry::SymbolTakenIn,
        .computed = {},
    };
    return hooks;
}

void Run(common::Runtime& rt, std::string_view menu) {
    const common::Dictionary* d = FindAbsenceDictionary(menu);
    if (d != nullptr) common::RunDictionary(rt, *d, AbsenceHooks(rt));
}

// The code field over dictionary `d`: its table, key and name.
common::CodeField FieldOver(const common::Dictionary& d) {
    common::CodeField f;
    f.table = d.table;
    f.indexes = d.indexes;
    f.code_field = d.key_field;
    f.name_field = d.name_field;
    return f;
}

}  // namespace

common::CodeField AbsenceCodeFieldOf(std::string_view dictionary) {
    if (dictionary != "3.7.4" && dictionary != "3.7.7") return CodeFieldOf(dictionary);
    const common::Dictionary* d = FindAbsenceDictionary(dictionary);
    common::CodeField f = FieldOver(*d);
    f.hint = dictionary == "3.7.4" ? "<F3>-Kody analityczne" : "<F3>-Rodzaje absencji";
    f.pick = [d] { return common::PickOf(*d, Hooks()); };
    return f;
}

common::CodeField AbsenceCodeFieldOf(common::Runtime& rt, std::string_view dictionary) {
    if (dictionary == kGeneratedCodeField) {
        common::CodeField f = AbsenceCodeFieldOf("3.7.4");
        f.message = "Błędny kod - musi być typu \"G\"";
        // The check reads the code's type on its own: the field's lookup
        // knows only the code.
        f.acceptable = [&rt](std::string_view code) {
            common::Tables tables(rt);
            return IsGeneratedAbsenceCode(rt, tables, code);
        };
        f.pick = [&rt] {
            return common::PickOf(*FindAbsenceDictionary("3.7.4"), AbsenceHooks(rt));
        };
        return f;
    }
    if (dictionary == "3.7.6") {
        const common::Dictionary* d = FindAbsenceDictionary(dictionary);
        common::CodeField f = FieldOver(*d);
        f.message = "Błędny symbol";
        f.hint = "<F3>-Przyczyny zawieszenia";
        f.pick = [&rt, d] { return common::PickOf(*d, AbsenceHooks(rt)); };
        return f;
    }
    return AbsenceCodeFieldOf(dictionary);
}

common::DictionaryHooks AbsenceHooks(common::Runtime& rt) {
    common::DictionaryHooks hooks = Hooks();
    hooks.code_field = [&rt](std::string_view name) { return AbsenceCodeFieldOf(rt, name); };
    return hooks;
}

void Qrm374(common::Runtime& rt) {
    Run(rt, "3.7.4");
}
void Qrm376(common::Runtime& rt) {
    Run(rt, "3.7.6");
}
void Qrm377(common::Runtime& rt) {
    Run(rt, "3.7.7");
}

}  // namespace kestrel::worktime
