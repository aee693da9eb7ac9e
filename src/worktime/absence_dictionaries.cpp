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
        .code_field = AbsenceCodeFieldOf,
        .is_symbol = registry::IsFormulaSymbol,
        .symbol_taken = registry::SymbolTakenIn,
        .computed = {},
    };
    return hooks;
}

void Run(common::Runtime& rt, std::string_view menu) {
    const common::Dictionary* d = FindAbsenceDictionary(menu);
    if (d != nullptr) common::RunDictionary(rt, *d, Hooks());
}

}  // namespace

common::CodeField AbsenceCodeFieldOf(std::string_view dictionary) {
    if (dictionary != "3.7.4" && dictionary != "3.7.7") return CodeFieldOf(dictionary);
    const common::Dictionary* d = FindAbsenceDictionary(dictionary);
    common::CodeField f;
    f.table = d->table;
    f.indexes = d->indexes;
    f.code_field = d->key_field;
    f.name_field = d->name_field;
    f.hint = dictionary == "3.7.4" ? "<F3>-Kody analityczne" : "<F3>-Rodzaje absencji";
    f.pick = [d] { return common::PickOf(*d, Hooks()); };
    return f;
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
