#include "worktime/data/dictionaries.h"

#include <string>

// The descriptions below name only the members that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrel::worktime {
namespace {

using common::Dictionary;
using common::DictionaryField;
using common::FieldKind;

DictionaryField Name() {
    return {"NAZWA_", "Nazwa:", "NAZWA", "", 0};
}

DictionaryField Flag(const char* field, const char* label, const char* heading) {
    return {field, label, heading, "", 0, FieldKind::kLogical};
}

DictionaryField Number(const char* field, const char* label, const char* heading) {
    return {field, label, heading, "", 0, FieldKind::kNumber};
}

// A field on the row of the one before (the segments of a shift).
DictionaryField Beside(DictionaryField f, const char* when_set = "") {
    f.same_row = true;
    f.when_set = when_set;
    return f;
}

// Segment `n` of a shift: "HH:MM-HH:MM Typ: TT", the fields ending in the
// suffix, asked only while `flag` is set ("" for the first segment).
void AddSegment(std::vector<DictionaryField>& fields, const std::string& suffix,
                const std::string& type, const char* flag, const char* label) {
    const std::string n = suffix.empty() ? "1" : suffix.substr(1);
    DictionaryField from{"OD_GODZ" + suffix, label, "OD" + n, "", 0, FieldKind::kNumber};
    if (flag[0] != '\0') {
        fields.push_back(Flag(flag, label, (n + "?").c_str()));
        from = Beside(from, flag);
        from.label = "";
    }
    fields.push_back(from);
    fields.push_back(Beside({"OD_MIN" + suffix, ":", ":" + n, "", 0, FieldKind::kNumber}, flag));
    fields.push_back(Beside({"GODZ_DO" + suffix, "-", "DO" + n, "", 0, FieldKind::kNumber}, flag));
    fields.push_back(Beside({"MIN_DO" + suffix, ":", ":" + n, "", 0, FieldKind::kNumber}, flag));
    DictionaryField t{type, " Typ:", "TYP" + n, "@!", 0, FieldKind::kText, "3.7.8"};
    fields.push_back(Beside(t, flag));
}

std::vector<Dictionary> Build() {
    std::vector<Dictionary> all;
    all.push_back({.menu = "3.7.2",
                   .title = "Grupy kalendarzowe",
                   .table = "PKGRUPY",
                   .indexes = {"PKGRUPY1"},
                   .key_field = "GRUPA_",
                   .key_heading = "GR",
                   .key_label = "Grupa:",
                   .name_field = "NAZWA_",
                   .fields = {Name(), Flag("ZMIENNY_CZ", "Zmienny czas pracy:", "ZMIENNY")}});

    DictionaryField type{"TYP_", "Typ (E/N/D/A):", "TYP", "!", 3};
    type.allowed = "ENDA";
    type.allowed_message = "Błędny typ kodu";
    all.push_back({.menu = "3.7.3",
                   .title = "Kody czasu pracy",
                   .table = "PKROB",
                   .indexes = {"PKROB1", "PKROB2"},
                   .key_field = "KOD_OB",
                   .key_heading = "KOD",
                   .key_label = "Kod:",
                   .formula_symbol = true,
                   .name_field = "NAZWA_",
                   .search = true,
                   .fields = {Name(),
                              type,
                              {"ALGORYTM_", "Algorytm:", "ALGORYTM", "", 20, FieldKind::kFormula},
                              Number("SEKW_OBL", "Sekw.obliczeń:", "SEKW"),
                              Flag("DRUK_", "Drukować:", "DRUK"),
                              Number("SEKW_WYDR", "Sekw.wydruku:", "SEKW.WYDR"),
                              Flag("TB_ECP", "TB EWID:", "TB EWID"),
                              Flag("DNI_GODZ", "DNI ?:", "DNI ?")}});

    all.push_back({.menu = "3.7.5",
                   .title = "Brygady",
                   .table = "PKSBRG",
                   .indexes = {"PKSBRG1"},
                   .key_field = "BRYGADA_",
                   .key_heading = "BR",
                   .key_label = "Brygada:",
                   .name_field = "NAZWA_",
                   .fields = {Name()}});

    all.push_back({.menu = "3.7.8",
                   .title = "Typy pracy",
                   .table = "PKSTYPP",
                   .indexes = {"PKSTYPP1"},
                   .key_field = "TYP_PRACY",
                   .key_heading = "TYP",
                   .key_label = "Typ pracy:",
                   .name_field = "NAZWA_",
                   .fields = {Name()}});

    Dictionary shifts{.menu = "3.7.9",
                      .title = "Wzorce harmonogramów czasu pracy",
                      .table = "PKSZMIA",
                      .indexes = {"PKSZMIA1"},
                      .key_field = "GRUPA_",
                      .key_heading = "GR",
                      .key_label = "Grupa:",
                      .key_code_of = "3.7.2",
                      .second_key = {"ZMIANA_", "ZM", " Zmiana:"}};
    AddSegment(shifts.fields, "", "TYP_PRACY", "", "Godziny pracy (Od-Do):");
    AddSegment(shifts.fields, "_2", "TYP_PRACY2", "ZAKRES_2", "Drugi segment czasu pracy?:");
    AddSegment(shifts.fields, "_3", "TYP_PRACY3", "ZAKRES_3", "Trzeci segment czasu pracy?:");
    shifts.name_field = "GRUPA_";
    all.push_back(std::move(shifts));
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

}  // namespace kestrel::worktime
