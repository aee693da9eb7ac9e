#include "worktime/data/absence_dictionaries.h"

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

// The descriptions below name only the members that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrel::worktime {
namespace {

using common::Dictionary;
using common::DictionaryField;
using common::FieldKind;

DictionaryField Name() {
    DictionaryField f{"NAZWA_", "Nazwa:", "NAZWA", "", 0};
    f.required = true;
    return f;
}

DictionaryField Flag(const char* field, const char* label, const char* heading) {
    return {field, label, heading, "", 0, FieldKind::kLogical};
}

DictionaryField Number(const char* field, const char* label, const char* heading) {
    return {field, label, heading, "", 0, FieldKind::kNumber};
}

// A field on the row of the one before.
DictionaryField Beside(DictionaryField f) {
    f.same_row = true;
    return f;
}

std::vector<Dictionary> Build() {
    std::vector<Dictionary> all;

    // The type is one letter; lists show it with the rest of its word.
    DictionaryField type{"TYP_", "Typ (P/B/Z/A/E/U/G):", "TYP", "!", 0};
    type.allowed = "PBZAEUG";
    type.allowed_words = {"łatne", "ezpł.", "asił.", "lgor.", "wid.", "rlop", "ener."};
    type.allowed_message = "Błędny typ kodu";
    DictionaryField kind{"RODZAJ_", " Rodzaj absencji:", "R", "!", 0, FieldKind::kText, "3.7.7"};
    DictionaryField zus_name{"NAZWA_ZUS", " Nazwa ZUS:", "NAZWA ZUS", "", 0};
    DictionaryField prefix{"TYT_PODM_P", " Tytuł:", "TYT", "@!", 0};
    prefix.full_or_blank = true;
    all.push_back({.menu = "3.7.4",
                   .title = "Kody Analitycznych składników (Kody nieobecności)",
                   .table = "PKRNB",
                   .indexes = {"PKRNB1", "PKRNB2"},
                   .key_field = "KOD_NIEOB",
                   .key_heading = "KOD",
                   .key_label = "Kod:",
                   .formula_symbol = true,
                   .name_field = "NAZWA_",
                   .search = true,
                   .fields = {
                       Name(),
                       type,
                       Beside(kind),
                       Flag("GODZ_DNI", "Ilość (T-godz/F-dni):", "GODZ"),
                       Beside(Flag("PO_PRZEC", " Z częścią ułamkową:", "UŁAM")),
                       Beside(Flag("CZY_IL_2", " Druga ilość:", "IL2")),
                       Number("SEKW_OBL", "Sekw.obliczeń:", "SEKW"),
                       Beside(Number("LIMIT_", " Limit:", "LIMIT")),
                       Flag("DEKL_ZUS", "Deklarowane w ZUS:", "ZUS"),
                       Beside(zus_name),
                       Beside(prefix),
                       Flag("WYPADEK_", "Wypadek przy pracy:", "WYP"),
                       Beside(Flag("HARMON_CZ", " Wpływa na harmonogram czsu pracy?:", "HARM")),
                       Flag("BEZ_AGREG", "Bez agregacji:", "BEZ AGR"),
                       Beside(Flag("BEZ_IL_KAL", " Ilość nie z kalendarza:", "BEZ KAL")),
                       Flag("DRUK_", "Drukować:", "DRUK"),
                       Beside(Number("SEKW_WYDR", " Sekw.wydruku:", "SEKW.WYDR")),
                       {"ALGORYTM_", "Algorytm:", "ALGORYTM", "", 20, FieldKind::kFormula},
                       {"LIMIT_NB", "Algorytm limitu:", "ALG.LIMITU", "", 12, FieldKind::kFormula},
                   }});

    all.push_back({.menu = "3.7.6",
                   .title = "Przyczyny zawieszenia umowy o pracę",
                   .table = "PKSPZAW",
                   .indexes = {"PKSPZAW1"},
                   .key_field = "PRZYCZ_ZAW",
                   .key_heading = "PR",
                   .key_label = "Przyczyna:",
                   .name_field = "NAZWA_",
                   .fields = {Name(),
                              {"KOD_NIEOB", "Kod nieobecności:", "KOD", "@!", 0, FieldKind::kText,
                               std::string(kGeneratedCodeField)}}});

    all.push_back({.menu = "3.7.7",
                   .title = "Rodzaje Analitycznych składn. (Rodzaje absencji)",
                   .table = "PKRABS",
                   .key_field = "RODZAJ_ABS",
                   .key_heading = "R",
                   .key_label = "Rodzaj:",
                   .name_field = "NAZWA_TBW",
                   .fields = {{"NAZWA_TBW", "Nazwa:", "NAZWA", "", 40},
                              {"ZESTAW_NB", "Kody nieobecności:", "ZESTAW", "@!", 30}}});
    return all;
}

}  // namespace

const std::vector<Dictionary>& AbsenceDictionaries() {
    static const std::vector<Dictionary> all = Build();
    return all;
}

const Dictionary* FindAbsenceDictionary(std::string_view menu) {
    for (const Dictionary& d : AbsenceDictionaries())
        if (d.menu == menu) return &d;
    return nullptr;
}

bool IsGeneratedAbsenceCode(common::Runtime& rt, common::Tables& tables, std::string_view code) {
    if (base::IsBlank(code)) return false;
    if (tables.workspace().Find("PKRNB") == nullptr &&
        !base::Exists(base::FindNoCase(rt.data_dir(), "PKRNB.DBF")))
        return false;
    dbf::WorkArea& rnb = OpenOnce(tables, "PKRNB", {"PKRNB1"});
    const dbf::KeepPosition keep(rnb);
    OrderBy(rnb, "PKRNB1");
    std::string key(base::Trim(code));
    key.resize(4, ' ');
    return rnb.Seek(key).ok() && rnb.found() &&
           rnb.record().GetString(rnb.FieldIndex("TYP_")) == "G";
}

}  // namespace kestrel::worktime
