// The pickers of the coded fields of the record pages: which dictionary F3
// opens in which field and what row 21 says meanwhile.
#include "common/index_functions.h"
#include "common/messages.h"
#include "common/pick_window.h"
#include "register/employee_page_run.h"

namespace kestrel::registry::pages {
namespace {

// Fields of the record over the dictionaries of menus 2.7 and 2.8.
struct Coded {
    const char* field;
    const char* dictionary;
};

constexpr Coded kCoded[] = {
    {"URZ_SKARB", "2.7.8"},  {"STANOW_", "2.7.3"},    {"DZIAL_", "2.7.2"},
    {"KONTO_KOSZ", "2.7.E"}, {"RODZ_UM_PR", "2.7.4"}, {"RODZ_PL", "2.7.5"},
    {"RODZ_ZATR", "2.7.C"},  {"GRUPA_ALG", "2.7.A"},  {"RODZAJ_ZZ", "2.7.7"},
    {"GRUPA_INW", "2.7.D"},  {"EKD_", "2.7.B"},       {"PRZYCZ_ZW", "2.7.6"},
    {"TYTUL_PODM", "2.8.2"}, {"PRZ_WY_UB", "2.8.3"},  {"KOD_WYKSZ", "2.8.4"},
    {"STOP_POKR", "2.8.5"},  {"STOP_NIEZD", "2.8.6"}, {"KOD_PRACY", "2.8.7"},
    {"KOD_FUND", "2.8.8"},   {"KOD_ROZ_U", "2.8.9"},  {"KOD_POD_PR", "2.8.A"},
};

// A read-only list of two columns, code and name.
CodeField Listed(const char* table, const char* index, const char* code, const char* name,
                 const char* code_heading, const char* hint) {
    CodeField f;
    f.table = table;
    f.indexes = {index};
    f.code_field = code;
    f.name_field = name;
    f.hint = hint;
    f.pick = [=] {
        common::PickDictionary p;
        p.table = table;
        p.indexes = {index};
        p.code_field = code;
        p.name_field = name;
        p.can_insert = false;
        p.columns = [=](common::Runtime& rt, dbf::WorkArea& a) {
            common::BrowseColumn shown = common::FieldColumn(rt, a, name, "NAZWA");
            shown.width = std::min(shown.width, 40);
            return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, code, code_heading),
                                                     shown};
        };
        return p;
    };
    return f;
}

}  // namespace

std::optional<CodeField> PickerOf(const std::string& field) {
    for (const Coded& c : kCoded)
        if (field == c.field) return CodeFieldOf(c.dictionary);
    if (field == "GRUPA_KAL")
        return Listed("PKGRUPY", "PKGRUPY1", "GRUPA_", "NAZWA_", "GR", "<F3>-Grupy kalend.");
    if (field == "KZIS_")
        return Listed("PKKZIS", "PKKZIS1", "KOD_ZAWODU", "NAZWA_", "KOD",
                      "<F3>-Klasyfikacja zawodów");
    if (field == "KOD_KRAJU" || field == "KOD_KRAJ_Z" || field == "KOD_KRAJ_K" ||
        field == "Z_KRAJ_ID")
        return Listed("PKSKODK", "PKSKODK1", "KOD_KRAJU", "NAZWA_PEL", "KOD", "<F3>-Kody krajów");
    return std::nullopt;
}

void PageRun::ShowPickHint(const std::string& name) {
    auto& s = rt_.screen();
    s.Clear(kHintRow, 40, kHintRow, 77, rt_.Standard(rt_.colours().ycow));
    if (const std::optional<CodeField> f = PickerOf(name))
        common::WriteLegend(rt_, kHintRow, 40, f->hint);
}

void PageRun::Pick(common::Form& form) {
    const int i = form.current();
    std::optional<CodeField> f;
    if (i >= 0 && i < static_cast<int>(vars_.size()))
        f = PickerOf(vars_[static_cast<size_t>(i)].spec->field);
    if (!f) {
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return;
    }
    // The occupations are ordered with a leading "0" read as "A".
    const std::string typed =
        f->table == "PKKZIS" ? common::ProfessionKey(form.Typed()) : std::string(form.Typed());
    common::Pick(rt_, ctx_.tables, f->pick(), typed);
}

}  // namespace kestrel::registry::pages
