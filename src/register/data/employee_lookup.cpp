#include "register/data/employee_lookup.h"

#include "common/tables/index_functions.h"
#include "common/tables/index_order.h"
#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

constexpr size_t kNameWidth = 29;  // NAZWA_ of PKGMINY
constexpr std::string_view kNoMatch = "<-Błąd";

using base::TrimRight;

std::string Pad(std::string_view s, size_t width) {
    std::string out(s.substr(0, std::min(s.size(), width)));
    out.resize(width, ' ');
    return out;
}

// Seeks `key` in the order of index file `index`; the area stands on the
// record found. The caller keeps the area's position.
bool SeekIn(dbf::WorkArea& area, std::string_view index, const std::string& key) {
    const int order = common::OrderOf(area, index);
    if (order == 0 || !area.SetOrder(order).ok()) return false;
    return area.Seek(key).ok() && area.found() && !area.eof();
}

std::string CodeOf(dbf::WorkArea& gminy) {
    return gminy.record().GetString(gminy.FieldIndex("KOD_"));
}

std::string NameKey(const common::LetterSet& letters, std::string* name) {
    *name = common::UpperPolish(letters, *name);
    return common::SortKey3(letters, Pad(*name, kNameWidth));
}

}  // namespace

dbf::WorkArea& OpenTerritory(common::Tables& tables) {
    return tables.Open("PKGMINY", {"PKGMINY1", "PKGMINY2", "PKGMINY3", "PKGMINY6"});
}

Verdict LookupVoivodeship(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                          TerritoryChoice* choice) {
    dbf::KeepPosition keep(gminy);
    const std::string key = NameKey(letters, name);
    choice->voivodeship.clear();
    choice->district.clear();
    if (!SeekIn(gminy, "PKGMINY1", key)) return Verdict::Warn(std::string(kNoMatch));
    choice->voivodeship = CodeOf(gminy).substr(0, 2);
    return Verdict::Ok();
}

Verdict LookupDistrict(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                       TerritoryChoice* choice) {
    dbf::KeepPosition keep(gminy);
    const std::string key = Pad(choice->voivodeship, 2) + NameKey(letters, name);
    choice->district.clear();
    if (!SeekIn(gminy, "PKGMINY2", key)) return Verdict::Warn(std::string(kNoMatch));
    choice->district = CodeOf(gminy).substr(0, 4);
    return Verdict::Ok();
}

Verdict LookupCommune(dbf::WorkArea& gminy, const common::LetterSet& letters, std::string* name,
                      const TerritoryChoice& choice) {
    dbf::KeepPosition keep(gminy);
    const std::string key = Pad(choice.district, 4) + NameKey(letters, name);
    if (!SeekIn(gminy, "PKGMINY3", key)) return Verdict::Warn(std::string(kNoMatch));
    return Verdict::Ok();
}

std::string VoivodeshipCode(dbf::WorkArea& gminy, const common::LetterSet& letters,
                            std::string_view name) {
    std::string n(name);
    TerritoryChoice choice;
    if (!LookupVoivodeship(gminy, letters, &n, &choice).message.empty()) return {};
    return choice.voivodeship;
}

TerritoryNames NamesOfTerritory(dbf::WorkArea& gminy, std::string_view code) {
    TerritoryNames out;
    dbf::KeepPosition keep(gminy);
    const int name = gminy.FieldIndex("NAZWA_");
    auto find = [&](std::string_view part) {
        return SeekIn(gminy, "PKGMINY6", Pad(part, 7)) ? TrimRight(gminy.record().GetString(name))
                                                       : std::string();
    };
    if (code.size() >= 2) out.voivodeship = find(code.substr(0, 2));
    if (code.size() >= 4) out.district = find(code.substr(0, 4));
    if (code.size() >= 7) out.commune = find(code.substr(0, 7));
    return out;
}

std::vector<TerritoryRow> TerritoryRows(dbf::WorkArea& gminy, TerritoryLevel level,
                                        std::string_view parent) {
    std::vector<TerritoryRow> rows;
    const size_t width = level == TerritoryLevel::kVoivodeship ? 0
                         : level == TerritoryLevel::kDistrict  ? 2
                                                               : 4;
    if (parent.size() < width) return rows;
    const std::string prefix(parent.substr(0, width));
    const char* index = level == TerritoryLevel::kVoivodeship ? "PKGMINY1"
                        : level == TerritoryLevel::kDistrict  ? "PKGMINY2"
                                                              : "PKGMINY3";
    dbf::KeepPosition keep(gminy);
    const int order = common::OrderOf(gminy, index);
    if (order == 0 || !gminy.SetOrder(order).ok()) return rows;
    // The index holds the units of its level only, under their parent's code.
    const base::Status at = prefix.empty() ? gminy.GoTop() : gminy.Seek(prefix, true);
    const int name = gminy.FieldIndex("NAZWA_");
    for (base::Status s = at; s.ok() && !gminy.eof(); s = gminy.Skip(1)) {
        const std::string code = CodeOf(gminy);
        if (code.compare(0, width, prefix) != 0) break;
        rows.push_back({code, TrimRight(gminy.record().GetString(name))});
    }
    return rows;
}

// --- Occupations -----------------------------------------------------------------

dbf::WorkArea& OpenProfessions(common::Tables& tables) {
    return tables.Open("PKKZIS", {"PKKZIS1"});
}

Profession FindProfession(dbf::WorkArea& kzis, std::string_view code) {
    Profession p{Pad(code, 6), {}};
    dbf::KeepPosition keep(kzis);
    if (SeekIn(kzis, "PKKZIS1", common::ProfessionKey(p.code))) {
        p.name = TrimRight(kzis.record().GetString(kzis.FieldIndex("NAZWA_")));
    }
    return p;
}

std::vector<Profession> ProfessionAncestors(dbf::WorkArea& kzis, std::string_view code) {
    std::vector<Profession> out;
    for (size_t n = 1; n <= 4; ++n) {
        out.push_back(FindProfession(kzis, code.substr(0, std::min(n, code.size()))));
    }
    return out;
}

void SplitName(std::string_view name, size_t width, std::string* first, std::string* second) {
    if (name.size() <= width) {
        *first = std::string(name);
        second->clear();
        return;
    }
    size_t cut = name.rfind(' ', width);
    if (cut == std::string_view::npos || cut == 0) cut = width;
    *first = TrimRight(std::string(name.substr(0, cut)));
    size_t rest = cut;
    while (rest < name.size() && name[rest] == ' ') ++rest;
    *second = std::string(name.substr(rest));
}

// --- Dictionaries ------------------------------------------------------------------

namespace {

struct Dictionary {
    std::string_view field;  // of PKPRAC (or PKDOD for RODZAJ_DOD)
    std::string_view table;
    std::string_view index;  // "" when the table has no index: scanned
    std::string_view key;
    std::string_view name;
    std::string_view message;
};

constexpr std::string_view kBadCode = "Błędny kod";

constexpr Dictionary kDictionaries[] = {
    {"URZ_SKARB", "PKURZ", "PKURZ1", "URZ_SKARB", "NAZWA_", kBadCode},
    {"STANOW_", "PKSTAN", "PKSTAN1", "STANOW_", "NAZWA_", kBadCode},
    {"DZIAL_", "PKDZIAL", "PKDZIAL1", "DZIAL_", "NAZWA_", kBadCode},
    {"KONTO_KOSZ", "PKSKSZT", "PKSKSZT1", "KONTO_KOSZ", "NAZWA_", kBadCode},
    {"RODZ_UM_PR", "PKRUM", "PKRUM1", "RODZ_UM", "NAZWA_UM", kBadCode},
    {"RODZ_PL", "PKRPL", "PKRPL1", "RODZ_PL", "NAZWA_PL", kBadCode},
    {"RODZ_ZATR", "PKSZATR", "", "RODZ_ZATR", "NAZWA_", kBadCode},
    {"GRUPA_KAL", "PKGRUPY", "PKGRUPY1", "GRUPA_", "NAZWA_", kBadCode},
    {"GRUPA_ALG", "PKGRALG", "", "GRUPA_ALG", "NAZWA_", kBadCode},
    {"STOP_POKR", "PKSSTPO", "PKSSTPO1", "STOP_POKR", "NAZWA_", kBadCode},
    {"RODZAJ_ZZ", "PKZWZ", "PKZWZ1", "SYMB_ZZ", "NAZWA_ZZ", kBadCode},
    {"TYTUL_PODM", "PKTYTUB", "PKTYTUB1", "TYTUL_PODM", "NAZWA_", "Błędny tytuł"},
    {"GRUPA_INW", "PKSGRIN", "", "GRUPA_INW", "NAZWA_", kBadCode},
    {"KOD_FUND", "PKKOFE", "PKKOFE1", "KOD_FUND", "NAZWA_", kBadCode},
    {"STOP_NIEZD", "PKSNIEZ", "PKSNIEZ1", "STOP_NIEZD", "NAZWA_", "Błędny kod niezdolności"},
    {"KOD_PRACY", "PKKPSW", "PKKPSW1", "KOD_PRACY", "NAZWA_", "Błędny kod pracy"},
    {"EKD_", "PKEKD", "PKEKD1", "KLUCZ_", "NAZWA_", kBadCode},
    {"KZIS_", "PKKZIS", "PKKZIS1", "KOD_ZAWODU", "NAZWA_", kBadCode},
    {"KOD_WYKSZ", "PKWYKSZ", "PKWYKSZ1", "KOD_WYKSZ", "NAZWA_", "Błędny kod wykształcenia"},
    {"PRZ_WY_UB", "PKWYRUB", "PKWYRUB1", "PRZ_WY_UB", "NAZWA_", kBadCode},
    {"PRZYCZ_ZW", "PKPRZ", "PKPRZ1", "PRZYCZ_ZW", "NAZWA_PRZ", "Błędny symbol"},
    {"KOD_ROZ_U", "PKKROZ", "PKKROZ1", "KOD_ROZ_U", "NAZWA_", kBadCode},
    {"KOD_POD_PR", "PKKPOD", "PKKPOD1", "KOD_POD_PR", "NAZWA_", kBadCode},
    {"KOD_KRAJU", "PKSKODK", "PKSKODK1", "KOD_KRAJU", "KRAJ_", "Błędny kod kraju"},
    {"KOD_KRAJ_Z", "PKSKODK", "PKSKODK1", "KOD_KRAJU", "KRAJ_", "Błędny kod kraju"},
    {"KOD_KRAJ_K", "PKSKODK", "PKSKODK1", "KOD_KRAJU", "KRAJ_", "Błędny kod kraju"},
    {"Z_KRAJ_ID", "PKSKODK", "PKSKODK1", "KOD_KRAJU", "KRAJ_", "Błędny kod kraju"},
    {"RODZAJ_DOD", "PKSRDOD", "PKSRDOD1", "RODZAJ_DOD", "NAZWA_", "Błędny symbol dodatku"},
};

const Dictionary* DictionaryOf(std::string_view field) {
    for (const Dictionary& d : kDictionaries) {
        if (d.field == field) return &d;
    }
    return nullptr;
}

// The dictionary open in `tables` with the index the check seeks: the
// caller's own area when it has that index, else an area of the check's own
// (alias "X" + table), so that an area the caller holds is never reopened.
dbf::WorkArea& DictionaryArea(common::Tables& tables, const Dictionary& d) {
    for (const std::string& alias : {std::string(d.table), "X" + std::string(d.table)}) {
        dbf::WorkArea* open = tables.workspace().Find(alias);
        if (open != nullptr && (d.index.empty() || common::OrderOf(*open, d.index) != 0))
            return *open;
    }
    const std::string alias = tables.workspace().Find(d.table) == nullptr
                                  ? std::string(d.table)
                                  : "X" + std::string(d.table);
    if (d.index.empty()) return tables.OpenAs(alias, d.table);
    return tables.OpenAs(alias, d.table, {std::string(d.index)});
}

// Whether `value` is a code of the dictionary; *name its name.
bool Known(common::Tables& tables, const Dictionary& d, std::string_view value, std::string* name) {
    dbf::WorkArea& area = DictionaryArea(tables, d);
    dbf::KeepPosition keep(area);
    const int key = area.FieldIndex(d.key), text = area.FieldIndex(d.name);
    if (key < 0) return false;
    const std::string code = Pad(value, area.record().fields()[key].length);
    bool found = false;
    if (!d.index.empty()) {
        const std::string sought = d.table == "PKKZIS" ? common::ProfessionKey(code) : code;
        found = SeekIn(area, d.index, sought);
    } else {
        (void)area.SetOrder(0);
        for (base::Status s = area.GoTop(); s.ok() && !area.eof(); s = area.Skip(1)) {
            if (area.record().GetString(key) == code) {
                found = true;
                break;
            }
        }
    }
    if (found && name != nullptr && text >= 0) *name = TrimRight(area.record().GetString(text));
    return found;
}

}  // namespace

Verdict CheckCode(common::Tables& tables, std::string_view field, std::string_view value,
                  std::string* name) {
    if (name != nullptr) name->clear();
    const Dictionary* d = DictionaryOf(field);
    if (d == nullptr || TrimRight(std::string(value)).empty()) return Verdict::Ok();
    if (Known(tables, *d, value, name)) return Verdict::Ok();
    return Verdict::Refuse(std::string(d->message));
}

Verdict CheckRegistrationCountry(common::Tables& tables, std::string_view code, std::string* name) {
    if (TrimRight(std::string(code)).empty()) return Verdict::Warn("Błędny kod kraju");
    return CheckCode(tables, "KOD_KRAJU", code, name);
}

}  // namespace kestrel::registry
