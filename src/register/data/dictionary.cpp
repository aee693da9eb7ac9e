#include "register/data/dictionary.h"

// The descriptions below name only the members that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrel::registry {
namespace {

constexpr const char* kNoOfficialList = "Program nie dostarcza tych kodów: wpisuje je użytkownik";

DictionaryField Name(const char* field = "NAZWA_", int column = 0) {
    return {field, "Nazwa:", "NAZWA", "", column};
}

DictionaryField FullName(int column) {
    return {"PELNA_NAZ", "Pełna nazwa:", "PEŁNA NAZWA", "", column, FieldKind::kMemo};
}

// The type of entry of an allowance kind: an amount, a percent (neither
// flag) or a yes/no switch.
DictionaryField EntryType() {
    DictionaryField f{"KWOTA_PROC", "Typ:", "TYP", "9", 11, FieldKind::kChoice};
    f.choices = {"1 - Kwota", "2 - Procent", "3 - TAK/NIE"};
    f.choice_flags = {"KWOTA_PROC", "", "TAK_NIE"};
    f.choice_legend = "(1 - Kwota, 2 - Procent, 3 - Przełącznik TAK/NIE)";
    return f;
}

std::vector<Dictionary> Build() {
    std::vector<Dictionary> all;
    auto add = [&all](Dictionary d) {
        if (d.name_field.empty()) d.name_field = d.fields.front().field;
        all.push_back(std::move(d));
    };
    // Menu 2.7: the company's own lists.
    add({.menu = "2.7.2",
         .title = "Działy",
         .table = "PKDZIAL",
         .indexes = {"PKDZIAL1"},
         .key_field = "DZIAL_",
         .key_heading = "DZIAŁ",
         .key_picture = "@!",
         .search = true,
         .fields = {
             Name(),
             {"KOD_GMINY", "Kod gminy:", "GMINA", "9999999", 0, FieldKind::kText, "GMINY"},
             {"NR_RACH", "Nr rachunku:", "NR RACHUNKU", "", 30, FieldKind::kText, "", true}}});
    add({.menu = "2.7.3",
         .title = "Stanowiska",
         .table = "PKSTAN",
         .indexes = {"PKSTAN1"},
         .key_field = "STANOW_",
         .key_heading = "SYMB",
         .key_picture = "@!",
         .search = true,
         .fields = {Name(), FullName(40)}});
    add({.menu = "2.7.4",
         .title = "Rodzaje umowy o pracę",
         .table = "PKRUM",
         .indexes = {"PKRUM1"},
         .key_field = "RODZ_UM",
         .key_heading = "KOD",
         .key_label = "Kod:",
         .key_picture = "99",
         .zero_pad = true,
         .fields = {Name("NAZWA_UM")}});
    add({.menu = "2.7.5",
         .title = "Rodzaje płacy",
         .table = "PKRPL",
         .indexes = {"PKRPL1"},
         .key_field = "RODZ_PL",
         .key_heading = "KOD",
         .key_label = "Kod:",
         .key_picture = "99",
         .zero_pad = true,
         .fields = {Name("NAZWA_PL")}});
    add({.menu = "2.7.6",
         .title = "Przyczyny zwolnienia",
         .table = "PKPRZ",
         .indexes = {"PKPRZ1"},
         .key_field = "PRZYCZ_ZW",
         .key_heading = "KOD",
         .key_label = "Kod:",
         .key_picture = "99",
         .zero_pad = true,
         .search = true,
         .fields = {Name("NAZWA_PRZ", 40), FullName(25)}});
    add({.menu = "2.7.7",
         .title = "Związki zawodowe",
         .table = "PKZWZ",
         .indexes = {"PKZWZ1"},
         .key_field = "SYMB_ZZ",
         .key_heading = "SYMB",
         .key_picture = "@!",
         .fields = {Name("NAZWA_ZZ")}});
    add({.menu = "2.7.8",
         .title = "Urzędy skarbowe",
         .table = "PKURZ",
         .indexes = {"PKURZ1", "PKURZ2"},
         .key_field = "URZ_SKARB",
         .key_heading = "URZ.SK.",
         .key_picture = "@! NN",
         .zero_pad = true,
         .search = true,
         .fields = {{"KOD_URZEDU", "Kod urzędu:", "KOD", "9999", 0, FieldKind::kText, "KDURZ",
                     false, "PKURZ2", "Istnieje Urząd o takim kodzie", "NAZWA_"},
                    Name(),
                    {"ULICA_", "Ulica:", "ULICA", "", 0},
                    {"NR_DOMU", "Nr domu:", "NR DOMU", "", 0},
                    {"KOD_POCZT", "Kod poczt.:", "KOD P.", "", 0},
                    {"MIEJSCOW_", "Miejscowość:", "MIEJSCOWOŚĆ", "", 0},
                    {"BANK_", "Bank:", "BANK", "", 30},
                    {"KONTO_BANK", "Konto bankowe:", "KONTO BANKOWE", "", 30, FieldKind::kText, "",
                     true}}});
    add({.menu = "2.7.9",
         .title = "Rodzaje dodatków i potrąceń",
         .table = "PKSRDOD",
         .indexes = {"PKSRDOD1"},
         .key_field = "RODZAJ_DOD",
         .key_heading = "SYMBOL",
         .key_picture = "@!",
         .formula_symbol = true,
         .search = true,
         .fields = {Name(), EntryType()}});
    add({.menu = "2.7.A",
         .title = "Grupy algorytmiczne",
         .table = "PKGRALG",
         .key_field = "GRUPA_ALG",
         .key_heading = "GRUPA",
         .key_label = "Grupa:",
         .key_picture = "@!",
         .fields = {Name()}});
    add({.menu = "2.7.B",
         .title = "\"Stare\" Kody Zawodów i Specjalności",
         .table = "PKEKD",
         .indexes = {"PKEKD1"},
         .key_field = "KLUCZ_",
         .key_heading = "KOD",
         .key_label = "Kod:",
         .key_picture = "9999999",
         .search = true,
         .fields = {Name()}});
    add({.menu = "2.7.C",
         .title = "Rodzaje zatrudnienia",
         .table = "PKSZATR",
         .key_field = "RODZ_ZATR",
         .key_heading = "RODZ",
         .key_picture = "@!",
         .fields = {Name()}});
    add({.menu = "2.7.D",
         .title = "\"Stare\" grupy inwalidzkie",
         .table = "PKSGRIN",
         .key_field = "GRUPA_INW",
         .key_heading = "GRUPA",
         .key_label = "Grupa:",
         .key_picture = "@!",
         .fields = {Name()}});
    add({.menu = "2.7.E",
         .title = "Konta kosztów",
         .table = "PKSKSZT",
         .indexes = {"PKSKSZT1"},
         .key_field = "KONTO_KOSZ",
         .key_heading = "KONTO",
         .key_label = "Konto:",
         .key_picture = "999999999999",
         .search = true,
         .fields = {Name()}});
    // Menu 2.8: code lists of the social-insurance office.
    auto zus = [&add](const char* menu, const char* title, const char* table, const char* key,
                      const char* picture, bool zero_pad, bool memo) {
        Dictionary d{.menu = menu,
                     .title = title,
                     .table = table,
                     .indexes = {std::string(table) + "1"},
                     .key_field = key,
                     .key_heading = "KOD",
                     .key_label = "Kod:",
                     .key_picture = picture,
                     .zero_pad = zero_pad,
                     .search = true,
                     .fields = {Name()}};
        if (memo) d.fields.push_back(FullName(25));
        add(std::move(d));
    };
    zus("2.8.2", "Kody podmiotu tytułu ubezpieczenia", "PKTYTUB", "TYTUL_PODM", "9999", false,
        true);
    zus("2.8.3", "Kody przyczyny wyrejestrowania ubezpieczonego", "PKWYRUB", "PRZ_WY_UB", "999",
        false, true);
    zus("2.8.4", "Kody wykształcenia", "PKWYKSZ", "KOD_WYKSZ", "99", true, false);
    zus("2.8.5", "Kody stopnia pokrewieństwa lub powinowactwa", "PKSSTPO", "STOP_POKR", "@!", true,
        false);
    zus("2.8.6", "Kody stopnia niezdolności do pracy", "PKSNIEZ", "STOP_NIEZD", "@!", true, false);
    zus("2.8.7", "Kody pracy w szczególnym charakterze", "PKKPSW", "KOD_PRACY", "@!", false, true);
    zus("2.8.8", "Kody Otwartych Funduszy Emerytalnych", "PKKOFE", "KOD_FUND", "999", false, false);
    // No official list of these codes was found to ship (data/README.md):
    // the operator types them in, and the screen says so.
    zus("2.8.9", "Kody rozwiązania stosunku pracy", "PKKROZ", "KOD_ROZ_U", "@!", false, false);
    all.back().note = kNoOfficialList;
    zus("2.8.A", "Kody podstawy prawnej rozwiązania stosunku pracy", "PKKPOD", "KOD_POD_PR", "@!",
        false, false);
    all.back().note = kNoOfficialList;
    zus("2.8.B", "Kody wykonywanych zawodów (PFRON)", "PKZAWOD", "KLUCZ_", "@!", false, false);
    all.back().needs_switch = "NAGLXSDML";
    return all;
}

}  // namespace

const std::vector<Dictionary>& Dictionaries() {
    static const std::vector<Dictionary> all = Build();
    return all;
}

const Dictionary* FindDictionary(std::string_view menu) {
    for (const Dictionary& d : Dictionaries())
        if (d.menu == menu) return &d;
    return nullptr;
}

}  // namespace kestrel::registry
