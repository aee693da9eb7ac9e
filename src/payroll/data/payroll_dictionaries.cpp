#include "payroll/data/payroll_dictionaries.h"

#include "payroll/data/tax_form_rows.h"

// The descriptions below name only the members that differ from the defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace kestrel::payroll {
namespace {

using common::Dictionary;
using common::DictionaryField;
using common::FieldKind;

constexpr auto* Flag = &common::LogicalField;
constexpr auto* Number = &common::NumberField;
constexpr auto* Beside = &common::OnSameRow;

// Kinds 4 ("Modyfikacja składników płacowych i funkcji") or 6 (browsing)
// enter; kind 4 changes.
constexpr unsigned kEnter = 8 | 32;
constexpr unsigned kChange = 8;

DictionaryField Text(const char* field, const char* label, const char* heading,
                     const char* picture = "", int column = 0) {
    return {field, label, heading, picture, column};
}

DictionaryField Code(DictionaryField f, const char* code_of) {
    f.code_of = code_of;
    return f;
}

// A form-position field whose form rows are shipped is checked against them
// and lists them on <F3>; without rows it takes any value.
DictionaryField Listed(DictionaryField f) {
    if (FindTaxFormRows(ShippedTaxFormRows(), f.field) != nullptr) f.code_of = f.field;
    return f;
}

DictionaryField BrowseOnly(DictionaryField f) {
    f.browse_only = true;
    return f;
}

DictionaryField UnlessLegalPerson(DictionaryField f) {
    f.unless_set = "OS_PRAWNA";
    return f;
}

// The name of a revenue of part F of PIT-11 is asked for a position of
// that part only.
DictionaryField WhenPartF(DictionaryField f) {
    f.when_field = "LP_PIT11Q";
    f.when_prefix = "F";
    return f;
}

Dictionary IncomeTypes() {
    DictionaryField name = Text("NAZWA_", "Nazwa:", "NAZWA");
    name.required = true;
    return {.menu = "8.2",
            .title = "Rodzaje dochodów",
            .table = "PKRDOCH",
            .indexes = {"PKRDOCH1"},
            .key_field = "TYTUL_WYP",
            .key_heading = "SYMB.DOCH.",
            .key_label = "Symbol dochodu:",
            .key_picture = "9999",
            .name_field = "NAZWA_",
            .fields = {name,
                       Flag("PODAT_", "Opodatkowany dochód?:", "PODAT.?"),
                       Flag("KOSZT_", "Koszty uzyskania?:", "KOSZT?"),
                       Flag("KUMUL_", "Kumulacja dochodu?:", "KUMUL.?"),
                       Number("LIMIT_", "Limit (0 - bez limitu):", "LIMIT"),
                       Code(Text("LP_PIT11Q", "PIT-11 (29):", "PIT11(29)", "@!"), "LP_PIT11Q"),
                       Beside(Text("LP_PIT11P", " (27):", "PIT11(27)", "@!")),
                       Beside(Text("LP_PIT11O", " (26):", "PIT11(26)", "@!")),
                       WhenPartF(Text("NAZWA_8C", "Nazwa przych.(F):",
                                      " NAZWA PRZYCHODU (PIT-11 część F)", "", 34)),
                       Flag("LP_PIT_R", "PIT-R:", "PIT-R"),
                       Beside(Text("LP_PIT8AP", " PIT-8AR:", "PIT8AR", "@!")),
                       Beside(Code(Text("LP_PIT4RN", " PIT-4R:", "PIT4R", "@!"), "LP_PIT4RN")),
                       Text("CODE_IFT1", "IFT-1:", "IFT1", "@!"),
                       Beside(Listed(Text("LP_PIT8CN", " PIT-8C:", "PIT8C", "@!"))),
                       Beside(Text("CODE_IFT2", " IFT-2:", "IFT2", "@!")),
                       Beside(Number("PROC_IFT1", " % IFT:", "% IFT")),
                       Text("CD_CIT10ZN", "CIT-10Z:", "CIT10Z", "@!"),
                       BrowseOnly(Text("LP_PIT8AO", "PIT-8AR (arch.):", "PIT8AR-arch", "@!")),
                       BrowseOnly(Text("LP_PIT8C", "PIT-8C (arch.):", "PIT8C-arch", "@!")),
                       BrowseOnly(Text("LP_PIT40", "PIT-40:", "PIT40", "@!")),
                       BrowseOnly(Text("LP_PIT4", "PIT-4:", "PIT4", "@!")),
                       BrowseOnly(Text("LP_PIT8AX", "PIT-4 um.zl.:", "PIT4 Um.Zl.", "@!")),
                       BrowseOnly(Text("LP_PIT8A", "PIT-8A (arch.):", "PIT8A-arch", "@!")),
                       BrowseOnly(Text("CD_CIT10Z", "CIT-10Z (arch.):", "CIT10Z-arch", "@!"))},
            .enter_mask = kEnter,
            .change_mask = kChange};
}

Dictionary ListSymbols() {
    DictionaryField contract =
        UnlessLegalPerson(Text("TYP_UZ_UD", "um.Zlec./um.o Dz./Uczeń:", "UMOWA", "!"));
    contract.allowed = " ZDU";
    contract.allowed_message = "Błędny typ umowy";
    contract.suffix = "    [ ,Z,D,U]";
    return {.menu = "8.3",
            .title = "Symbole list płac",
            .table = "PKSLST",
            .indexes = {"PKSLST1"},
            .key_field = "TYP_LST",
            .key_heading = "SYMBOL",
            .key_label = "Symbol listy:",
            .key_picture = "@!",
            .name_field = "NAZWA_LST",
            .fields = {Text("NAZWA_LST", "Nazwa:", "NAZWA"),
                       Flag("LOCAL_NR", "Osobna numeracja?:", "OSOB.NUM.?"),
                       Beside(Flag("RAZ_NA_MC", " Tylko raz w miesiącu?:", "RAZ W MC?")),
                       Code(Text("GRUPA_ALG", "Grupa algorytmiczna:", "GR.ALG.", "@!"), "2.7.A"),
                       Text("TBW_", "Symbol tabulogramu:", "TABUL.", "@!"),
                       Flag("BEZOSOB_FP", "Bezosobowy funusz płac:", "BEZOS.?"),
                       Text("NAZWA_WYDR", "Nazwa listy bez matrycy:", "NAZWA LISTY BEZ MATRYCY", "",
                            30),
                       Number("IL_KOL_WYD", "Ilość kol.wydr.bez matrycy:", "KOL."),
                       Flag("OS_PRAWNA", "Dotyczy osób prawnych?:", "OS.PRAWNE?"), contract,
                       UnlessLegalPerson(Flag("IM_OJCA", "Imię ojca na liście płac?:", "IM.OJCA?")),
                       Beside(UnlessLegalPerson(
                           Flag("BEZ_UB_SP", " Bez ubezpieczenia społ.?:", "BEZ UB.SP.?")))},
            .enter_mask = kEnter,
            .change_mask = kChange};
}

Dictionary Components() {
    DictionaryField kind = Text("TYP_", "Typ (A/K/I):", "TYP", "!");
    kind.allowed = "AKI";
    kind.allowed_message = "Błędny typ";
    return {
        .menu = "8.4",
        .title = "Składniki płacowe",
        .table = "PKSPL",
        .indexes = {"PKSPL1", "PKSPL2", "PKSPL3"},
        .key_field = "SKLADN_PL",
        .key_heading = "KOD",
        .key_label = "Symbol:",
        .key_picture = "@!",
        .formula_symbol = true,
        .name_field = "NAZWA_",
        .search = true,
        .fields = {Text("NAZWA_", "Nazwa:", "NAZWA", "", 30),
                   kind,
                   Beside(Number("SEKW_OBL", " Sekw.:", "SEKW")),
                   Beside(Flag("POTRAC_", " Potrąc?:", "POTR?")),
                   Beside(Flag("POZA_LISTA", " Kw.pomocn?:", "NIE PL?")),
                   Number("IL_MC_WST", "Ilość m-cy wstecz:", "M-CE"),
                   BrowseOnly(Flag("MC_WYP_LST", "M-c podatkowy?:", "M-C POD?")),
                   Beside(Flag("ZAKR_MC_LS", " Miesięczny zakres zmiennych?:", "CAŁY MC?")),
                   Code(Text("GRUPA_ALG", "Grupa alg.:", "GR.ALG.", "@!"), "2.7.A"),
                   Text("TYP_LISTY", "Typy list:", "TYPY LIST", "@!", 20),
                   Text("MASKA_", "Maska:", "MASKA WYŚWIETL."),
                   Flag("DRUK_", "Druk?:", "DRUK?"),
                   BrowseOnly(Number("SEKW_WYDR", "Sekw.wydr.:", "SEKW.WYDR.")),
                   Beside(Code(Text("TYTUL_WYP", " Tytuł wypłaty:", "TYT.WYPŁ.", "9999"), "8.2")),
                   Beside(
                       Code(Text("NAZWA_POLA", " Nazwa pola:", "POLE TYT.W.", "@!"), "NAZWA_POLA")),
                   Flag("BEZOSOB_FP", "Bezosob?:", "BEZOS?"),
                   Beside(Flag("ZUS_", " ZUS?:", "ZUS?")),
                   Beside(Flag("ZASILEK_", " Zasiłek?:", "ZASIL?")),
                   Text("TYP_NIEOB", "Typy nieobecności:", "SYMB.NIEOB.", "@!", 15),
                   Flag("TYLKO_MEM", "Tylko MEM?:", "TYLKO MEM"),
                   Beside(Flag("NIE_BLOK", " Zakaz blokady algorytmu?:", "NIE BLOK.")),
                   Beside(Flag("NIE_SUMA", " Nie sumować?:", "NIE SUMOW.")),
                   BrowseOnly(Flag("ZAWSZE_DR", "Zawsze druk w matrycy?:", "ZAWSZE DRU.MTR")),
                   BrowseOnly(Flag("OS_PRAWNA", "Dotyczy osób prawnych?:", "DOT.OS.PRAWNYCH")),
                   {"ALGORYTM_", "Algorytm:", "ALGORYTM", "", 20, FieldKind::kFormula}},
        .enter_mask = kEnter,
        .change_mask = kChange};
}

Dictionary UserFunctions() {
    return {.menu = "8.5",
            .title = "Definicje funkcji",
            .table = "PKFUNC",
            .indexes = {"PKFUNC1"},
            .key_field = "FUN_",
            .key_heading = "FUNKCJA",
            .key_label = "Nazwa funkcji:",
            .key_picture = "",
            .name_field = "FUN_",
            .fields = {Text("PAR_", "Parametry:", "PARAMETRY"),
                       {"WZOR_", "Definicja:", "DEFINICJA", "", 30, FieldKind::kFormula},
                       {"KOMENTARZ_", "Komentarz:", "KOMENTARZ", "", 20, FieldKind::kMemo}},
            .enter_mask = kEnter,
            .change_mask = kChange};
}

Dictionary SelectionSets() {
    return {.menu = "8.9",
            .title = "Zestawy do: przeliczania list płac / wydruków",
            .table = "PKZEST",
            .indexes = {"PKZEST1"},
            .key_field = "ZESTAW_",
            .key_heading = "ZESTAW",
            .key_label = "Symbol zestawu:",
            .key_picture = "@!",
            .name_field = "OPIS_",
            .fields = {Text("OPIS_", "Opis:", "OPIS"),
                       {"WZOR_", "Wzór:", "WZÓR", "", 30, FieldKind::kFormula}},
            .enter_mask = kEnter,
            .change_mask = kChange};
}

Dictionary OptionalComponents() {
    return {.menu = "8.A",
            .title = "Lista opcjonalnych składników płacowych",
            .table = "PKOSPL",
            .key_field = "SKLADN_PL",
            .key_heading = "KOD",
            .key_label = "Symbol:",
            .key_picture = "@!",
            .formula_symbol = true,
            .name_field = "NAZWA_",
            .fields = {Text("NAZWA_", "Nazwa:", "NAZWA", "", 50)},
            .enter_mask = kEnter,
            .change_mask = kChange};
}

}  // namespace

const std::vector<Dictionary>& PayrollDictionaries() {
    static const std::vector<Dictionary> all = {IncomeTypes(),   ListSymbols(),
                                                Components(),    UserFunctions(),
                                                SelectionSets(), OptionalComponents()};
    return all;
}

const Dictionary* FindPayrollDictionary(std::string_view menu) {
    for (const Dictionary& d : PayrollDictionaries())
        if (d.menu == menu) return &d;
    return nullptr;
}

const std::vector<std::string>& Pit11Positions() {
    static const std::vector<std::string> all = [] {
        std::vector<std::string> v = {"",   "E1A", "E1B", "E2A", "E2B", "E3A", "E3B",
                                      "E4", "E5",  "E6",  "E7",  "E8",  "E9A", "E9B"};
        for (int i = 10; i <= 15; ++i) v.push_back("E" + std::to_string(i));
        for (int i = 1; i <= 4; ++i) v.push_back("F" + std::to_string(i));
        for (const char* g : {"G1", "G2", "G3", "G5", "G6", "G7", "G8", "G10", "G11", "G12"})
            v.push_back(g);
        return v;
    }();
    return all;
}

const std::vector<std::string>& Pit4rRows() {
    static const std::vector<std::string> all = {"", "1", "2", "3", "4"};
    return all;
}

}  // namespace kestrel::payroll
