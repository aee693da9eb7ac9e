#include "register/dictionary_fields.h"

#include "common/dictionary/dictionary_form.h"
#include "common/pick/tax_office_pick.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "register/code_list_print.h"
#include "register/data/dictionary.h"
#include "register/data/formula_symbols.h"

namespace kestrel::registry {
namespace {

struct Named {
    const char* menu;
    const char* message;
    const char* hint;
};

// The messages of the register's fields and the pickers' names in row 21.
constexpr Named kNames[] = {
    {"2.7.2", "Błędny symbol działu", "<F3>-Działy"},
    {"2.7.3", "Błędny symbol stanowiska", "<F3>-Stanowiska"},
    {"2.7.4", "Błędny rodzaj umowy", "<F3>-Rodzaje umów"},
    {"2.7.5", "Błędny rodzaj płacy", "<F3>-Rodzaje płacy"},
    {"2.7.6", "Błędny symbol", "<F3>-Przyczyny zwolnienia"},
    {"2.7.7", "Błędny symbol związku", "<F3>-Związki zawodowe"},
    {"2.7.8", "Błędny symbol urzędu", "<F3>-Urzędy skarbowe"},
    {"2.7.9", "Błędny symbol dodatku", "<F3>-Symbole dodatków"},
    {"2.7.A", "Błędna grupa algorytmiczna", "<F3>-Grupy algorytm."},
    {"2.7.B", "Błędny kod zawodu", "<F3>-Kody zawodów"},
    {"2.7.C", "Błędny rodzaj zatrudnienia", "<F3>-Rodzaje zatrudn."},
    {"2.7.D", "Błędna grupa inwalidzka", "<F3>-Grupy inwalidzkie"},
    {"2.7.E", "Błędne konto kosztów", "<F3>-Konta kosztów"},
    {"2.8.2", "Błędny tytuł", "<F3>-Tytuły ubezpieczenia"},
    {"2.8.3", "Błędny kod wyrejestrowania", "<F3>-Przyczyny wyrejestr."},
    {"2.8.4", "Błędny kod wykształcenia", "<F3>-Wykształcenie"},
    {"2.8.5", "Błędny stopień pokrewieństwa", "<F3>-Stopnie pokrewieństwa"},
    {"2.8.6", "Błędny kod niezdolności", "<F3>-Stopnie niezdolności"},
    {"2.8.7", "Błędny kod pracy", "<F3>-Kody pracy"},
    {"2.8.8", "Błędny kod funduszu", "<F3>-Fundusze emerytalne"},
    {"2.8.9", "Błędny kod rozwiązania", "<F3>-Kody rozwiązania"},
    {"2.8.A", "Błędny kod podstawy prawnej", "<F3>-Podstawy prawne"},
    {"2.8.B", "Błędny kod zawodu", "<F3>-Kody zawodów"},
};

using base::Trim;

// The communes of the territorial register: only full seven-character
// codes name a commune.
CodeField Communes() {
    CodeField f;
    f.table = "PKGMINY";
    f.indexes = {"PKGMINY6"};
    f.code_field = "KOD_";
    f.name_field = "NAZWA_";
    f.message = "Błędny kod gminy";
    f.hint = "<F3>-Gminy";
    f.name_width = 29;
    f.acceptable = [](std::string_view code) { return Trim(code).size() == 7; };
    f.pick = [] {
        common::PickDictionary p;
        p.table = "PKGMINY";
        p.indexes = {"PKGMINY6"};
        p.code_field = "KOD_";
        p.name_field = "NAZWA_";
        p.can_insert = false;
        p.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
            return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, "KOD_", "KOD"),
                                                     common::FieldColumn(rt, a, "NAZWA_", "NAZWA")};
        };
        return p;
    };
    return f;
}

// The official tax-office codes.
CodeField OfficeCodes() {
    CodeField f;
    f.table = "PKKDURZ";
    f.indexes = {"PKKDURZ1"};
    f.code_field = "KOD_URZEDU";
    f.name_field = "NAZWA_URZ";
    f.message = "Brak takiego kodu w wykazie urzędów";
    f.hint = "<F3>-Kody urzędów";
    f.name_width = 50;
    f.pick = [] {
        common::PickDictionary p;
        p.table = "PKKDURZ";
        p.indexes = {"PKKDURZ1"};
        p.code_field = "KOD_URZEDU";
        p.name_field = "NAZWA_URZ";
        p.can_insert = false;
        p.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
            common::BrowseColumn name = common::FieldColumn(rt, a, "NAZWA_URZ", "NAZWA");
            name.width = 40;
            return std::vector<common::BrowseColumn>{
                common::FieldColumn(rt, a, "KOD_URZEDU", "KOD"), name};
        };
        return p;
    };
    return f;
}

}  // namespace

CodeField CodeFieldOf(std::string_view dictionary) {
    if (dictionary == "GMINY") return Communes();
    if (dictionary == "KDURZ") return OfficeCodes();
    const Dictionary* d = FindDictionary(dictionary);
    if (d == nullptr) throw common::Abandon("?" + std::string(dictionary));
    CodeField f;
    f.table = d->table;
    f.indexes = d->indexes;
    f.code_field = d->key_field;
    f.name_field = d->name_field;
    for (const Named& n : kNames)
        if (dictionary == n.menu) {
            f.message = n.message;
            f.hint = n.hint;
        }
    if (d->table == "PKURZ")
        f.pick = [] { return common::TaxOfficeDictionary(); };
    else
        f.pick = [d] { return common::PickOf(*d, RegisterHooks()); };
    return f;
}

const common::DictionaryHooks& RegisterHooks() {
    static const common::DictionaryHooks hooks{
        .code_field = CodeFieldOf,
        .is_symbol = IsFormulaSymbol,
        .symbol_taken = SymbolTakenIn,
        .computed = {},
        .print = PrintDictionary,
    };
    return hooks;
}

}  // namespace kestrel::registry
