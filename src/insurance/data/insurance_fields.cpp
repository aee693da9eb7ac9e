#include "insurance/data/insurance_fields.h"

#include "platform/base/fixed_width.h"
#include "platform/base/text.h"

namespace kestrel::insurance {

const std::vector<std::string>& Qrmtbs(bool ppk) {
    static const std::vector<std::string> without = {
        "PODSTAWA_",  "PROC_UBSP",  "KWOTA_UBSP", "PROC_FPR",   "KWOTA_FPR",  "PROC_FGSP",
        "KWOTA_FGSP", "UMOWA_DEKL", "PODST_FPR",  "PODST_FGSP", "POD_EM_REN", "KWO_E_PRAC",
        "KWO_E_ZAKL", "KWO_E_BUDZ", "KWO_E_FUKO", "KWO_R_PRAC", "KWO_R_ZAKL", "KWO_R_BUDZ",
        "KWO_R_FUKO", "POD_CH_WYP", "KWO_C_PRAC", "KWO_W_PRAC", "KWO_W_ZAKL", "KWO_W_FUKO",
        "POD_ZDROW",  "KWO_Z_ZAKL", "KWO_Z_FUKO", "KWO_OBNIZ",  "KWO_Z_BUDZ", "KWO_FEP",
        "KWO_C_ZAKL", "KWO_C_BUDZ", "KWO_C_FUKO", "POD_WYPADK", "KWO_W_BUDZ", "KWO_Z_PRAC",
        "DOCH_PMC",   "PRZYCH_BR",  "PRZYCH_UBR"};
    static const std::vector<std::string> with = [] {
        std::vector<std::string> v = without;
        v.push_back("KW_PPK_ZAK");
        return v;
    }();
    return ppk ? with : without;
}

const std::vector<std::string>& Qrmtbz() {
    static const std::vector<std::string> v = {
        "TYP_ZAS",    "ILOSC_ZAS", "ZASIL_DZ",   "ZASILEK_",   "RODZ_PROC",
        "NR_STATYST", "ZA_MCE",    "SUMA_ZAROB", "WYPL_ZA",    "WYPADEK_",
        "GODZ_NOM",   "GODZ_NUS",  "KOD_SW_PRZ", "KOD_CHOR_1", "KOD_CHOR_2"};
    return v;
}

const std::vector<std::string>& Qrmtbk() {
    static const std::vector<std::string> v = {"KWOTA_", "DATA_OD", "DO_DATA"};
    return v;
}

const std::vector<std::string>& Qrmtbp() {
    static const std::vector<std::string> v = {"POD_EM_REN", "POD_WYPADK", "NIE_SKLADK"};
    return v;
}

const std::vector<std::string>& Qrmtbo() {
    static const std::vector<std::string> v = {"WARUNEK_", "LISTA_NB"};
    return v;
}

const std::vector<std::string>& Qrmtbw1() {
    static const std::vector<std::string> v = {
        "DN_PRZEPR",  "DN_NOMIN",   "WYNAGR_",    "AKTYWN_",    "DN_DO_URL",
        "WYN_DO_URL", "STA_DO_URL", "SKL_ST_URL", "REZ_1",      "REZ_2",
        "REZ_3",      "ZUS_PRZEPR", "ZUS_NOMIN",  "GDZ_DO_URL", "ETAT_"};
    return v;
}

const std::vector<std::string>& Qrmtbw2() {
    static const std::vector<std::string> v = {"PRZEL_WYN", "PREMIA_KW", "PREMIA_RO"};
    return v;
}

std::vector<std::string> Qrmlstnb(std::string_view lista_nb) {
    std::string text;
    for (char c : lista_nb)
        if (c != '\r' && c != '\n' && static_cast<unsigned char>(c) != 141) text += c;
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        const std::string token = base::Trim(std::string_view(text).substr(start, comma - start));
        if (!token.empty() && token.size() <= 4)
            out.push_back(base::Padded(base::AsciiUpper(token), 4));
        start = comma + 1;
    }
    return out;
}

}  // namespace kestrel::insurance
