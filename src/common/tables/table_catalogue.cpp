#include "common/tables/table_catalogue.h"

#include <algorithm>
#include <array>
#include "platform/base/text.h"

namespace kestrel::common {
namespace {

bool InList(std::span<const std::string_view> list, std::string_view name) {
    const std::string up = base::AsciiUpper(name);
    return std::find(list.begin(), list.end(), up) != list.end();
}

// The profession codes come with their code table; their layout is this one.
constexpr CatalogueField kProfessionFields[] = {
    {"KOD_ZAWODU", 'C', 6, 0},
    {"NAZWA_", 'C', 130, 0},
    {"SZKOLNY_", 'L', 1, 0},
};

constexpr std::string_view kCreatable[] = {
    "PKNTBW",
    "PKFUNC",
    "PKOSPL",
    "PKOPIS",
    "PKAPDST",
    "PKAOKRN",
    "PKUMTR",
    "PKUPRC",
    "PKUSLW",
    "PKPODST",
    "PKOKRES",
    "PKZMPRC",
    "PKEKPRC",
    "PKTAB",
    "PKWROR",
    "PKEKD",
    "PKZAWOD",
    "PKSZATR",
    "PKSGRIN",
    "PKSSTPO",
    "PKSKLAD",
    "PKZASIL",
    "PKWYNAG",
    "PKASKLD",
    "PKAZASL",
    "PKAWYNG",
    "PKEXNGL",
    "PKEXREC",
    "PKCZLK",
    "PKKSTNY",
    "PKPOZYC",
    "PKTRANS",
    "PKZYRAN",
    "PKTYTUL",
    "PKSTYP",
    "PKATRNS",
    "PKLWYD",
    "PKLAPP",
    "PKTYTUB",
    "PKSSWPR",
    "PKWYRUB",
    "PKWYKSZ",
    "PKSWYN",
    "PKSNIEZ",
    "PKKPSW",
    "PKKOFE",
    "PKKROZ",
    "PKKPOD",
    "PKKTYUB",
    "PKKSKWN",
    "PKASKWN",
    "PKZSKAL",
    "PKKINPL",
    "PKASPRZ",
    "PKSKSZT",
    "PKMDGL",
    "PKMZUA",
    "PKMZZA",
    "PKMZWUA",
    "PKRABS",
    "PKZEST",
    "PKAINDP",
    "PKINFDP",
    "PKWND",
    "PKDEKL",
    "PKSKODK",
    "PKGMINY",
    "PKKZIS",
    "PKETPFR",
    // Has an initial content like the other code dictionaries, so it is made
    // when missing as they are.
    "PKKDURZ",
};

constexpr std::string_view kInitialContent[] = {
    "PKOSPL",
    "PKAPDST",
    "PKKROZ",
    "PKKPOD",
    "PKSKODK",
    "PKKDURZ",
    "PKGMINY",
    "PKKZIS",
    // The payroll setup: a new company gets it when its tables are made; of
    // these, the table layer creates on first use only the ones a company
    // may lack.
    "PKSPL",
    "PKFUNC",
    "PKRDOCH",
    "PKSLST",
    "PKTAB",
    "PKWROR",
    "PKASKLD",
    "PKAZASL",
    "PKASKWN",
    "PKAWYNG",
    "PKASPRZ",
    "PKAOKRN",
    "PKTYTUB",
    "PKSWYN",
    "PKNTBW",
    "PKTBW",
};

constexpr std::string_view kOutside[] = {"PKDRUK", "PKH"};

}  // namespace

bool TableLayout::memo() const {
    return std::any_of(fields.begin(), fields.end(),
                       [](const CatalogueField& f) { return f.type == 'M'; });
}

std::vector<dbf::FieldSpec> TableLayout::Specs() const {
    std::span<const CatalogueField> list = fields;
    if (list.empty() && std::string_view(name) == "PKKZIS") list = kProfessionFields;
    std::vector<dbf::FieldSpec> out;
    out.reserve(list.size());
    for (const CatalogueField& f : list) {
        out.push_back(
            dbf::FieldSpec{f.name, static_cast<dbf::FieldType>(f.type), f.length, f.decimals});
    }
    return out;
}

const CatalogueIndex* TableLayout::FindIndex(std::string_view index) const {
    const std::string up = base::AsciiUpper(index);
    for (const CatalogueIndex& i : indexes) {
        if (up == i.name) return &i;
    }
    return nullptr;
}

int TableLayout::FieldIndex(std::string_view field) const {
    const std::string up = base::AsciiUpper(field);
    std::span<const CatalogueField> list = fields;
    if (list.empty() && std::string_view(name) == "PKKZIS") list = kProfessionFields;
    for (size_t i = 0; i < list.size(); ++i) {
        if (up == list[i].name) return static_cast<int>(i);
    }
    return -1;
}

const TableLayout* FindTable(std::string_view name) {
    const std::string up = base::AsciiUpper(name);
    for (const TableLayout& t : CatalogueTables()) {
        if (up == t.name) return &t;
    }
    return nullptr;
}

std::vector<std::string> IndexFiles(std::string_view table) {
    std::vector<std::string> files;
    if (const TableLayout* t = FindTable(table))
        for (const CatalogueIndex& i : t->indexes) files.push_back(i.name);
    return files;
}

bool TableStructure(std::string_view name, std::vector<dbf::FieldSpec>* out) {
    const TableLayout* t = FindTable(name);
    if (t == nullptr || t->fields.empty()) return false;
    *out = t->Specs();
    return true;
}

const CatalogueIndex* IndexDefinitionOf(std::string_view table, std::string_view index) {
    const TableLayout* t = FindTable(table);
    return t == nullptr ? nullptr : t->FindIndex(index);
}

bool IsCreatable(std::string_view table) {
    return InList(kCreatable, table);
}

bool HasInitialContent(std::string_view table) {
    return InList(kInitialContent, table);
}

bool IsOutsideCompany(std::string_view table) {
    return InList(kOutside, table);
}

}  // namespace kestrel::common
