#include "insurance/dictionaries.h"

#include "common/dictionary/dictionary_dialog.h"
#include "common/session/abandon.h"

namespace kestrel::insurance {
namespace {

constexpr unsigned kEnter = 4 | 32;  // kind 3 or kind 6
constexpr unsigned kChange = 4;      // kind 3

common::Dictionary Codes(const char* menu, const char* title, const char* table,
                         const char* key_field, const char* heading) {
    common::DictionaryField name{"NAZWA_", "Nazwa:", "NAZWA"};
    name.required = true;
    common::Dictionary d;
    d.menu = menu;
    d.title = title;
    d.table = table;
    d.indexes = {std::string(table) + "1"};
    d.key_field = key_field;
    d.key_heading = heading;
    d.key_label = "Kod:";
    d.key_picture = "@!";
    d.name_field = "NAZWA_";
    d.search = true;
    d.fields = {name};
    d.enter_mask = kEnter;
    d.change_mask = kChange;
    return d;
}

}  // namespace

common::Dictionary BenefitCodes() {
    return Codes("6.4.4", "Kody świadczenia lub przerwy", "PKSSWPR", "KOD_SW_PRZ", "KOD");
}

common::Dictionary RemunerationCodes() {
    return Codes("6.5.4", "Kody składników wynagrodzeń", "PKSWYN", "KOD_WYNAGR", "KOD");
}

void RunInsuranceDictionary(common::Runtime& rt, const common::Dictionary& d) {
    common::DictionaryHooks hooks;
    // The two dictionaries name no other dictionary.
    hooks.code_field = [&rt](std::string_view name) -> common::CodeField {
        throw common::Abandon(rt.Text("Błędny kod: ") + std::string(name));
    };
    common::RunDictionary(rt, d, hooks);
}

}  // namespace kestrel::insurance
