#include "worktime/dictionaries.h"

#include "common/dictionary/dictionary_dialog.h"
#include "common/dictionary/dictionary_form.h"
#include "common/session/abandon.h"
#include "register/data/formula_symbols.h"
#include "worktime/data/dictionaries.h"
#include "worktime/data/schedule_record.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {
namespace {

const common::DictionaryHooks& Hooks() {
    static const common::DictionaryHooks hooks{
        .code_field = CodeFieldOf,
        .is_symbol = registry::IsFormulaSymbol,
        .symbol_taken = registry::SymbolTakenIn,
        .computed = {},
    };
    return hooks;
}

// The segments of the current shift of PKSZMIA.
// The shifts show their total time as the schedule functions count it.
const common::DictionaryHooks& ShiftHooks() {
    static const common::DictionaryHooks hooks = [] {
        common::DictionaryHooks h = Hooks();
        h.computed.push_back({"CZAS", 5, [](common::Runtime&, dbf::WorkArea& a) {
                                  return TotalText(MeasureSegments(ReadSegmentRecord(a.record())));
                              }});
        return h;
    }();
    return hooks;
}

}  // namespace

common::CodeField CodeFieldOf(std::string_view dictionary) {
    const common::Dictionary* d = FindDictionary(dictionary);
    if (d == nullptr || (dictionary != "3.7.2" && dictionary != "3.7.8"))
        throw common::Abandon("?" + std::string(dictionary));
    common::CodeField f;
    f.table = d->table;
    f.indexes = d->indexes;
    f.code_field = d->key_field;
    f.name_field = d->name_field;
    if (dictionary == "3.7.2") {
        f.message = "Brak takiej grupy";
        f.hint = "<F3>-Grupy kalend.";
    } else {
        f.message = "Błędny typ pracy";
        f.hint = "<F3>-Typy pracy";
    }
    f.pick = [d] { return common::PickOf(*d, Hooks()); };
    return f;
}

void RunDictionary(common::Runtime& rt, std::string_view menu) {
    const common::Dictionary* d = FindDictionary(menu);
    if (d == nullptr) return;
    common::RunDictionary(rt, *d, menu == "3.7.9" ? ShiftHooks() : Hooks());
}

void Qrm372(common::Runtime& rt) {
    RunDictionary(rt, "3.7.2");
}
void Qrm373(common::Runtime& rt) {
    RunDictionary(rt, "3.7.3");
}
void Qrm375(common::Runtime& rt) {
    RunDictionary(rt, "3.7.5");
}
void Qrm378(common::Runtime& rt) {
    RunDictionary(rt, "3.7.8");
}
void Qrm379(common::Runtime& rt) {
    RunDictionary(rt, "3.7.9");
}

}  // namespace kestrel::worktime
