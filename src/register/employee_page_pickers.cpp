// The pickers of the coded fields of the record pages: which dictionary F3
// opens in which field and what row 21 says meanwhile.
#include "common/pick/pick_window.h"
#include "common/screen/messages.h"
#include "common/tables/index_functions.h"
#include "register/employee_page_run.h"
#include "register/territory_pick.h"

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

// The level of a territorial address field.
std::optional<TerritoryLevel> LevelOf(Check c) {
    switch (c) {
        case Check::kVoivodeship:
            return TerritoryLevel::kVoivodeship;
        case Check::kDistrict:
            return TerritoryLevel::kDistrict;
        case Check::kCommune:
            return TerritoryLevel::kCommune;
        default:
            return std::nullopt;
    }
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

std::optional<TerritoryLevel> PageRun::TerritoryOf(const Var& v) const {
    const std::optional<TerritoryLevel> level = LevelOf(v.spec->check);
    // Only a Polish address is looked up in the register.
    const std::string country = v.spec->choices.empty() ? "KOD_KRAJU" : v.spec->choices;
    if (!level || Trim(Value(country)) != "PL") return std::nullopt;
    return level;
}

void PageRun::ShowPickHint(const std::string& name) {
    auto& s = rt_.screen();
    s.Clear(kHintRow, 40, kHintRow, 77, rt_.Standard(rt_.colours().ycow));
    if (const std::optional<CodeField> f = PickerOf(name)) {
        common::WriteLegend(rt_, kHintRow, 40, f->hint);
        return;
    }
    auto it = by_name_.find(name);
    if (it == by_name_.end()) return;
    const std::optional<TerritoryLevel> level = TerritoryOf(*it->second);
    if (!level) return;
    constexpr const char* kHints[] = {"<F3>-Województwa", "<F3>-Powiaty", "<F3>-Gminy"};
    common::WriteLegend(rt_, kHintRow, 40, kHints[static_cast<int>(*level)]);
}

void PageRun::Pick(common::Form& form) {
    const int i = form.current();
    if (i < 0 || i >= static_cast<int>(vars_.size())) return;
    const Var& v = vars_[static_cast<size_t>(i)];
    if (const std::optional<TerritoryLevel> level = TerritoryOf(v)) {
        // Districts under the voivodeship chosen before, communes under the
        // district.
        const std::string parent = *level == TerritoryLevel::kDistrict  ? territory_.voivodeship
                                   : *level == TerritoryLevel::kCommune ? territory_.district
                                                                        : std::string();
        const std::vector<TerritoryRow> rows =
            TerritoryRows(OpenTerritory(ctx_.tables), *level, parent);
        PickTerritory(rt_, rows, form.Typed());
        return;
    }
    const std::optional<CodeField> f = PickerOf(v.spec->field);
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
