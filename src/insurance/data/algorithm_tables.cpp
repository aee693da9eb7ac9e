#include "insurance/data/algorithm_tables.h"

namespace kestrel::insurance {
namespace {

RowField Group() {
    return {"TYT_PODM_P", "GR.TYT.", "Grupa tytułów ubezpieczenia:", "99", true};
}
RowField Key(const char* field, const char* heading, const char* label, const char* picture) {
    return {field, heading, label, picture, true};
}
RowField Flag(const char* field, const char* heading, const char* label) {
    return {field, heading, label, "", false};
}
RowField Text(const char* field, const char* heading, const char* label, const char* picture) {
    return {field, heading, label, picture, false};
}

}  // namespace

AlgorithmTable DescribeAlgorithms(AlgorithmKind kind, bool ppk) {
    switch (kind) {
        case AlgorithmKind::kContributions: {
            AlgorithmTable t{
                kind,
                "PKASKLD",
                "PKASKLD1",
                {Group()},
                {"WARUNEK_",   "PODSTAWA_",  "PROC_UBSP",  "KWOTA_UBSP", "PROC_FPR",   "KWOTA_FPR",
                 "PROC_FGSP",  "KWOTA_FGSP", "UMOWA_DEKL", "PODST_FPR",  "PODST_FGSP", "POD_EM_REN",
                 "KWO_E_PRAC", "KWO_E_ZAKL", "KWO_E_BUDZ", "KWO_E_FUKO", "KWO_R_PRAC", "KWO_R_ZAKL",
                 "KWO_R_BUDZ", "KWO_R_FUKO", "POD_CH_WYP", "KWO_C_PRAC", "KWO_W_PRAC", "KWO_W_ZAKL",
                 "KWO_W_FUKO", "POD_ZDROW",  "KWO_Z_ZAKL", "KWO_Z_FUKO", "KWO_OBNIZ",  "KWO_Z_BUDZ",
                 "KWO_FEP",    "KWO_C_ZAKL", "KWO_C_BUDZ", "KWO_C_FUKO", "POD_WYPADK", "KWO_W_BUDZ",
                 "KWO_Z_PRAC", "DOCH_PMC",   "PRZYCH_BR",  "PRZYCH_UBR"}};
            if (ppk) t.formulas.push_back("KW_PPK_ZAK");
            return t;
        }
        case AlgorithmKind::kBenefits:
            return {kind,
                    "PKAZASL",
                    "PKAZASL1",
                    {Group(), Key("KOD_NIEOB", "NIEOB.", "Kod nieobecności:", "@!"),
                     Key("SKLADN_PL", "SKŁ.PŁ.", "Składnik płacowy:", "@!"),
                     Text("ZAST_NIEOB", "ZAST.NB.", "Zastępczy kod nieobecności:", "@!"),
                     Flag("RAZ_NA_MC", "RAZ NA M-C", "Raz na miesiąc?:"),
                     Flag("GENER_DNI", "DNI M-CA", "Generować dni całego miesiąca?:")},
                    {"TYP_ZAS", "ILOSC_ZAS", "ZASIL_DZ", "ZASILEK_", "RODZ_PROC", "NR_STATYST",
                     "ZA_MCE", "SUMA_ZAROB", "WYPL_ZA", "WYPADEK_", "GODZ_NOM", "GODZ_NUS",
                     "KOD_SW_PRZ", "KOD_CHOR_1", "KOD_CHOR_2"}};
        case AlgorithmKind::kComponents:
            return {kind,
                    "PKASKWN",
                    "PKASKWN1",
                    {Group(), Key("KOD_WYNAGR", "KOD WYN.", "Kod wynagrodzenia:", "@!")},
                    {"KWOTA_", "DATA_OD", "DO_DATA"}};
        case AlgorithmKind::kTotals:
            return {
                kind,
                "PKAWYNG",
                "",
                {},
                {"WARUNEK_", "DN_PRZEPR", "DN_NOMIN", "WYNAGR_", "AKTYWN_", "DN_DO_URL",
                 "WYN_DO_URL", "STA_DO_URL", "SKL_ST_URL", "REZ_1", "REZ_2", "REZ_3", "ZUS_PRZEPR",
                 "ZUS_NOMIN", "GDZ_DO_URL", "ETAT_", "PRZEL_WYN", "PREMIA_KW", "PREMIA_RO"}};
        case AlgorithmKind::kBases:
            return {kind,
                    "PKAPDST",
                    "PKAPDST1",
                    {Group()},
                    {"WARUNEK_", "POD_EM_REN", "POD_WYPADK", "NIE_SKLADK"}};
        case AlgorithmKind::kPeriods:
            return {kind, "PKAOKRN", "PKAOKRN1", {Group()}, {"WARUNEK_", "LISTA_NB"}};
        case AlgorithmKind::kChecks:
            break;
    }
    return {AlgorithmKind::kChecks,
            "PKASPRZ",
            "PKASPRZ1",
            {Key("SYMB_ALG", "SYMBOL", "Symbol algorytmu:", "@!"),
             Text("OPIS_ALG", "OPIS", "Opis:", ""), Text("ZBIOR_", "ZBIÓR", "Zbiór:", "@!"),
             Text("MC_NIEOB", "NIEOB.", "M-ce nieobecności:", "@!"),
             Text("PLC_MC_LST", "PŁ.M-C L.", "M-ce list płac:", "@!"),
             Text("PLC_MC_WYP", "PŁ.M-C W.", "M-ce wypłat:", "@!"),
             Text("ZB_MC_ZUS", "ZB.M-C Z.", "M-ce zbioru wg m-ca ZUS:", "@!"),
             Text("ZB_MC_LST", "ZB.M-C L.", "M-ce zbioru wg m-ca listy:", "@!"),
             Text("NIEOB_ZUS", "NB.ZUS", "M-ce nieobecności w zbiorze:", "@!")},
            {"WARUNEK_", "WZOR_1", "WZOR_2"}};
}

std::string FormulaTitle(const std::string& field) {
    return " ALG.: " + field;
}

}  // namespace kestrel::insurance
