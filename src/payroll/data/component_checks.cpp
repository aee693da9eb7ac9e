#include "payroll/data/component_checks.h"

#include "payroll/data/payroll_records.h"
#include "platform/base/text.h"

namespace kestrel::payroll {
namespace {

constexpr const char* kIncomeFields[] = {
    "PRZYCHOD_", "KOSZT_UZ", "PODATEK_", "ULGA_",     "ZWOLN_",     "UBEZP_SPOL", "UBEZP_ZDRO",
    "UBEZP_ZDD", "DOCH_ZW",  "PROCENT_", "DOCH_ZW_2", "SKLADKI_ZZ", "ZWOL_KOL_E",
};

// The first token that is too long or unknown, as its message.
template <typename Known>
std::string TokensProblem(common::Tables& tables, std::string_view text, size_t width,
                          const char* unknown, Known known) {
    for (const std::string& token : SplitTokens(text)) {
        const std::string quoted = "\"" + token + "\"";
        if (token.empty() || token.size() > width) return tables.rt().Text("Błędny typ: ") + quoted;
        if (!known(token)) return tables.rt().Text(unknown) + quoted;
    }
    return {};
}

void Set(dbf::WorkArea& a, const char* field, bool value) {
    const int f = a.FieldIndex(field);
    if (f >= 0) (void)a.record().SetLogical(f, value);
}

void Set(dbf::WorkArea& a, const char* field, const char* value) {
    const int f = a.FieldIndex(field);
    if (f >= 0) (void)a.record().SetString(f, value);
}

void SetNumber(dbf::WorkArea& a, const char* field, double value) {
    const int f = a.FieldIndex(field);
    if (f >= 0) (void)a.record().SetNumber(f, value);
}

}  // namespace

std::vector<std::string> SplitTokens(std::string_view text) {
    std::vector<std::string> tokens;
    if (base::Trim(text).empty()) return tokens;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        tokens.push_back(base::Trim(text.substr(start, comma - start)));
        if (comma == std::string_view::npos) return tokens;
        start = comma + 1;
    }
}

std::string ListKindsProblem(common::Tables& tables, std::string_view text) {
    return TokensProblem(tables, text, 2, "Nieznany typ listy: ", [&](const std::string& t) {
        return HasKey(tables, "PKSLST", "PKSLST1", t, 2);
    });
}

std::string AbsenceKindsProblem(common::Tables& tables, std::string_view text) {
    return TokensProblem(tables, text, 4, "Nieznany typ nieob.: ", [&](const std::string& t) {
        return HasKey(tables, "PKRNB", "PKRNB1", t, 4);
    });
}

std::string MatrixProblem(common::Tables& tables, std::string_view symbol) {
    const std::string wanted = base::Trim(symbol);
    if (wanted.empty()) return {};
    if (!HasKey(tables, "PKNTBW", "PKNTBW1", wanted, 4))
        return tables.rt().Text("Błędny symbol tabulogramu");
    // The same symbol with the type of a list matrix, in the index by type.
    if (!HasKey(tables, "PKNTBW", "PKNTBW2", "1" + std::string(wanted), 5))
        return tables.rt().Text("Błędny typ tabulogramu");
    return {};
}

std::vector<std::string> IncomeFieldNames(bool ppk) {
    std::vector<std::string> names(std::begin(kIncomeFields), std::end(kIncomeFields));
    if (ppk) names.push_back("KW_PPK_ZAK");
    return names;
}

bool IsIncomeFieldName(std::string_view name, bool ppk) {
    const std::string wanted = base::Trim(name);
    if (wanted.empty()) return true;
    for (const std::string& n : IncomeFieldNames(ppk))
        if (n == wanted) return true;
    return false;
}

void ForceMemoryOnly(dbf::WorkArea& a) {
    const int memory_only = a.FieldIndex("TYLKO_MEM");
    if (memory_only < 0 || !a.record().GetLogical(memory_only)) return;
    Set(a, "TYP_", "A");
    Set(a, "POZA_LISTA", true);
    Set(a, "DRUK_", false);
    Set(a, "TYTUL_WYP", "");
    Set(a, "ZASILEK_", false);
}

void SetNewComponentDefaults(dbf::WorkArea& a) {
    SetNumber(a, "IL_MC_WST", 0);
    Set(a, "MC_WYP_LST", false);
    SetNumber(a, "SEKW_OBL", 0);
    Set(a, "TYLKO_MEM", false);
    Set(a, "POZA_LISTA", true);
    Set(a, "DRUK_", false);
    Set(a, "TYTUL_WYP", "");
    Set(a, "ZASILEK_", false);
}

void CompleteNewComponent(dbf::WorkArea& a) {
    const int order = a.FieldIndex("SEKW_OBL");
    if (order >= 0) SetNumber(a, "SEKW_WYDR", a.record().GetNumber(order));
    ForceMemoryOnly(a);
}

}  // namespace kestrel::payroll
