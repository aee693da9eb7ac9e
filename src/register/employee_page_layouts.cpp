#include "register/employee_page_layouts.h"

namespace kestrel::registry {
namespace {

using C = Check;

std::vector<PageField> LegalPerson() {
    return {
        {6, 2, "Nazwa pełna:", "PEL_NAZWA", C::kNotEmpty, "@S50"},
        {7, 2, "Nazwa skrócona:", "IMIONA", C::kNotEmpty},
        {8, 2, "Data rozpocz. działaln.:", "DATA_URODZ"},
        {9, 2, "NIP:", "NR_NIP", C::kNip},
        {10, 2, "Nr ident. zagraniczny:", "Z_NR_ID"},
        {11, 2, "Rodzaj nr.:", "Z_KOD_ID", C::kForeignKind},
        {11, 50, "Kraj:", "Z_KRAJ_ID", C::kCountry, "@!", "", 22},
        {13, 2, "Urząd skarbowy:", "URZ_SKARB", C::kDictionary, "@!", "", 50},
        {16, 2, "Kraj:", "KOD_KRAJU", C::kRegistrationCountry, "@!", "", 17},
        {16, 30, "Miejscowość:", "MIEJSCOW_"},
        {17, 2, "Kod poczt.:", "KOD_POCZT", C::kNone, "99-999"},
        {17, 30, "Ulica:", "ULICA_"},
        {18, 2, "Nr domu:", "NR_DOMU"},
        {18, 30, "Nr mieszk.:", "NR_MIESZK"},
    };
}

std::vector<PageField> Identity(EmployeeKind kind) {
    std::vector<PageField> f = {
        {6, 2, "Nazwisko:", "NAZWISKO", C::kNotEmpty},
        {6, 44, "Imiona:", "IMIONA", C::kNotEmpty},
        {7, 2, "Data urodz:", "DATA_URODZ", C::kBirth},
        {7, 40, "Miejsce urodzenia:", "MIEJSCE_UR", C::kNone, "@S19"},
        {8, 2, "Płeć [M/K]:", "PLEC_", C::kSex, "@!"},
        {8, 40, "Nazwisko rodowe:", "NAZW_ROD"},
        {9, 2, "Imię ojca:", "IM_OJCA"},
        {9, 40, "Imię matki:", "IM_MATKI"},
        {10, 2, "Rodzaj dok.:", "KOD_IDENT", C::kIdentityDocument, "", "", 15},
        {10, 40, "Seria i nr:", "NR_IDENT", C::kNone, "@!"},
    };
    if (kind == EmployeeKind::kStaff) {
        f.push_back({10, 63, "Etat:", "ETAT_L", C::kNotNegative});
        f.push_back({10, 73, "", "ETAT_M", C::kNotNegative, "", "", 0, 73});
    }
    const std::vector<PageField> rest = {
        {11, 2, "PESEL:", "PESEL", C::kPesel, "99999999999", "", 24},
        {11, 46, "NIP:", "NR_NIP", C::kNip, "", "", 17},
        {14, 2, "Kraj:", "KOD_KRAJU", C::kRegistrationCountry, "@!", "", 17},
        {14, 30, "Województwo:", "WOJEW_", C::kVoivodeship, "", "KOD_KRAJU", 7},
        {15, 2, "Powiat:", "POWIAT_", C::kDistrict, "", "KOD_KRAJU", 7},
        {15, 41, "Gmina:", "GMINA_", C::kCommune, "@S23", "KOD_KRAJU", 6},
        {16, 2, "Kod poczt.:", "KOD_POCZT", C::kNone, "99-999"},
        {16, 22, "Kod zagr.:", "KOD_P_Z_ST"},
        {16, 44, "Miejscowość:", "MIEJSCOW_", C::kNone, "@S21"},
        {17, 2, "Ulica:", "ULICA_"},
        {17, 41, "Nr domu:", "NR_DOMU"},
        {17, 59, "Nr mieszk.:", "NR_MIESZK"},
        {18, 2, "Poczta:", "POCZTA_"},
        {18, 31, "Telefon:", "TELEFON_"},
        {18, 54, "Fax:", "FAX_"},
    };
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

std::vector<PageField> Addresses() {
    return {
        {7, 2, "Kraj:", "KOD_KRAJ_Z", C::kCountry, "@!", "", 17},
        {7, 30, "Województwo:", "WOJEW_Z", C::kVoivodeship, "", "KOD_KRAJ_Z", 7},
        {8, 2, "Powiat:", "POWIAT_Z", C::kDistrict, "", "KOD_KRAJ_Z", 7},
        {8, 41, "Gmina:", "DZIELNIC_Z", C::kCommune, "@S23", "KOD_KRAJ_Z", 6},
        {9, 2, "Kod poczt.:", "KOD_POCZ_Z", C::kNone, "99-999"},
        {9, 22, "Kod zagr.:", "KOD_P_Z_ZA"},
        {9, 44, "Miejscowość:", "MIEJSCOW_Z", C::kNone, "@S21"},
        {10, 2, "Ulica:", "ULICA_Z"},
        {10, 41, "Nr domu:", "NR_DOMU_Z"},
        {10, 59, "Nr mieszk.:", "NR_MIESZ_Z"},
        {11, 2, "Poczta:", "POCZTA_Z"},
        {11, 31, "Telefon:", "TELEFON_Z"},
        {11, 54, "Fax:", "FAX_Z"},
        {14, 2, "Kraj:", "KOD_KRAJ_K", C::kCountry, "@!", "", 17},
        {14, 30, "Kod poczt.:", "KOD_POCZ_K", C::kNone, "99-999"},
        {14, 50, "Kod zagr.:", "KOD_P_Z_KO"},
        {15, 2, "Miejscowość:", "MIEJSCOW_K"},
        {15, 43, "Poczta:", "POCZTA_K"},
        {16, 2, "Ulica:", "ULICA_K"},
        {16, 41, "Nr domu:", "NR_DOMU_K"},
        {16, 59, "Nr mieszk.:", "NR_MIESZ_K"},
        {17, 2, "Skr.poczt.:", "SKR_POCZT"},
        {17, 31, "Telefon:", "TELEFON_K"},
        {17, 54, "Fax:", "FAX_K"},
        {18, 2, "E-mail:", "E_MAIL"},
    };
}

std::vector<PageField> ShortEmployment() {
    return {
        {6, 2, "Urząd skarbowy:", "URZ_SKARB", C::kDictionary, "@!", "", 50},
        {7, 2, "Rodzaj umowy:", "RODZ_UM_PR", C::kDictionary, "", "", 50},
        {8, 2, "Grupa algor.:", "GRUPA_ALG", C::kDictionary, "@!", "", 50},
        {9, 2, "Data zatrudnienia:", "DATA_ZATR", C::kNotEmpty},
        {10, 2, "Data \"DO\" umowy:", "DATA_UM"},
        {11, 2, "Data zatr. do IFT:", "DATA_Z_PIT"},
        {12, 2, "Bank:", "BANK_"},
        {13, 2, "Nr rachunku:", "NR_KONT", C::kAccount, "@S40"},
        {14, 2, "NIP na PIT-11:", "NIP_PIT11"},
        {14, 30, "Ulga pod.dochod.?:", "ULGA_P_D"},
        {15, 2, "IFT-1 ?:", "IFT_1"},
        {15, 30, "Nierezydent?:", "NIE_REZYD"},
        {16, 2, "Nr ident. zagraniczny:", "Z_NR_ID"},
        {17, 2, "Rodzaj nr.:", "Z_KOD_ID", C::kForeignKind, "", "", 45},
        {18, 2, "Kraj:", "Z_KRAJ_ID", C::kCountry, "@!", "", 30},
    };
}

std::vector<PageField> FullEmployment() {
    return {
        {6, 2, "Urząd skarbowy:", "URZ_SKARB", C::kDictionary, "@!", "", 20},
        {7, 2, "Stanowisko:", "STANOW_", C::kDictionary, "@!", "", 20},
        {8, 2, "Dział:", "DZIAL_", C::kDictionary, "@!", "", 25},
        {9, 2, "Konto kosztów:", "KONTO_KOSZ", C::kDictionary, "999999999999", "", 10},
        {10, 2, "Rodzaj umowy:", "RODZ_UM_PR", C::kDictionary, "", "", 23},
        {11, 2, "Rodzaj płacy:", "RODZ_PL", C::kDictionary, "", "", 23},
        {12, 2, "Kat.zaszer.:", "KAT_ZASZER"},
        {13, 2, "Rodzaj zatrudn.:", "RODZ_ZATR", C::kDictionary, "@!", "", 20},
        {14, 2, "Grupa kalend.:", "GRUPA_KAL", C::kDictionary, "@!", "", 21},
        {15, 2, "Grupa algor.:", "GRUPA_ALG", C::kDictionary, "@!", "", 23},
        {17, 2, "Nieob.ZUS wykaz.w nast.m-cu?:", "NB_ZUS_NMC"},
        {6, 42, "Stawka:", "ST_PODST", C::kNotNegative},
        {7, 42, "Dod.funkc.:", "DOD_FUNKC", C::kNotNegative},
        {8, 42, "Dod.bryg.%:", "DOD_BRYG", C::kNotNegative},
        {9, 42, "Staż wcz. lat:", "ST_LAT_P", C::kNotNegative},
        {9, 60, "m-ce:", "ST_MIE_P", C::kMonths},
        {9, 69, "dni:", "ST_DNI_P", C::kDays},
        {10, 42, "Data zatr.:", "DATA_ZATR", C::kSeniority, "", "", 13},
        {11, 42, "Dod.stażowy %:", "DOD_STAZ", C::kNotNegative},
        {12, 42, "Data do dod.stażowego:", "DATA_STAZ"},
        {13, 42, "Wymiar urlopu:", "WYM_URL", C::kNotNegative},
        {14, 42, "Data \"DO\" umowy:", "DATA_UM"},
        {15, 42, "Data zatr. do IFT:", "DATA_Z_PIT"},
    };
}

std::vector<PageField> Tax() {
    return {
        {6, 2, "Dzieci - zasiłek rodzinny:", "ILDZ_Z_ZW", C::kNotNegative},
        {6, 40, "Dzieci - zasiłek pielęgn.:", "ILDZ_Z_PD", C::kNotNegative},
        {7, 2, "NIP na PIT-11:", "NIP_PIT11"},
        {7, 24, "Czł.Sp-ni:", "CZL_SP"},
        {7, 40, "Członek KZP:", "CZL_KZP"},
        {8, 2, "Ulga p.doch.:", "ULGA_P_D"},
        {8, 24, "Wielkość ulgi podatkowej:", "WIE_ULG_PD", C::kReliefSize},
        {8, 56, "Zer. PDOF <26:", "PDOF_26"},
        {9, 2, "Podatek wg tabeli:", "POD_WG_TAB"},
        {9, 24, "% pod.:", "PROC_POD", C::kNotNegative},
        {9, 40, "Bez zal.na podatek dochod.:", "BEZ_ZAL_PD"},
        {10, 2, "Ulga na 4 dzieci:", "ULGA_NA_4D"},
        {10, 40, "Um.zlec.bez pod.:", "UM_ZL_BEZP"},
        {11, 2, "Prac. powracający z zagranicy:", "POWR_Z_ZAG"},
        {11, 40, "Emeryt nie pobierający emerytury:", "EM_BEZ_EME"},
        {12, 2, "Bez ulgi dla klasy średniej:", "BEZ_ULG_KS"},
        {12, 40, "Bez odroczonej zaliczki na podatek:", "ODR_POD_D"},
        {13, 2, "IFT-1 ?:", "IFT_1"},
        {13, 24, "Nierezydent?:", "NIE_REZYD"},
        {14, 2, "Nr ident. zagraniczny:", "Z_NR_ID"},
        {14, 50, "Kraj:", "Z_KRAJ_ID", C::kCountry, "@!", "", 17},
        {15, 2, "Rodzaj nr.:", "Z_KOD_ID", C::kForeignKind, "", "", 45},
        {16, 2, "Zw.zawod.:", "RODZAJ_ZZ", C::kDictionary, "", "", 21},
        {16, 40, "Ubezpiecz.I:", "KW_UBEZP1", C::kNotNegative},
        {17, 2, "Ubezpiecz.II:", "KW_UBEZP2", C::kNotNegative},
        {17, 40, "PKO:", "POTRAC_PKO", C::kNotNegative},
        {18, 2, "Bank:", "BANK_"},
        {19, 2, "Nr rachunku:", "NR_KONT", C::kAccount, "@S40"},
    };
}

std::vector<PageField> Title() {
    return {
        {6, 2, "Tytuł ubezpieczenia:", "TYTUL_PODM", C::kDictionary, "9999", "", 50},
        {7, 2, "Prawo do em./renty:", "TYTUL_EMER", C::kPensionRight, "9", "", 50},
        {8, 2, "Stopień niepełnospr.:", "TYTUL_STNP", C::kDisability, "9", "", 50},
        {9, 2, "Orzeczenie od:", "DATA_INW"},
        {9, 30, "Do:", "DAT_INW_DO", C::kPeriodEnd, "", "DATA_INW"},
        {10, 2, "Szczególne schorzenie?:", "SZCZEG_SCH"},
        {10, 30, "Zatr.efekt zachęty.?:", "EF_ZACH"},
        {11, 2, "Grupa inwalidzka:", "GRUPA_INW", C::kDictionary, "", "", 40},
        {12, 2, "Forma opodatkowania:", "FORMA_OPOD", C::kTaxForm, "9", "", 30},
    };
}

// The voluntary health contribution, the degree of kinship, the common
// household and the date of joining the health fund are kept up to date in
// the update only; a registration does not ask them.
std::vector<PageField> Insurance(bool update) {
    std::vector<PageField> f = {
        {6, 2, "Przeciętne miesięczne wynagrodzenie do urlopu wychowawczego:", "PRAC_WYCH",
         C::kNotNegative},
        {9, 2, "", "CZY_OB_UE", C::kNone, "", "", 0, 24},
        {9, 2, "", "CZY_OB_UR", C::kNone, "", "", 0, 34},
        {9, 2, "", "CZY_OB_UC", C::kNone, "", "", 0, 43},
        {9, 2, "", "CZY_OB_UW", C::kNone, "", "", 0, 53},
        {9, 2, "", "CZY_OB_UZ", C::kNone, "", "", 0, 63},
        {10, 2, "", "CZY_DO_UE", C::kNone, "", "", 0, 24},
        {10, 2, "", "CZY_DO_UR", C::kNone, "", "", 0, 34},
        {10, 2, "", "CZY_DO_UC", C::kNone, "", "", 0, 43},
        {10, 2, "", "CZY_DO_UZ", C::kNone, "", "", 0, 63},
        {10, 2, "", "CZY_OT_FE", C::kNone, "", "", 0, 73},
        {12, 2, "Data powstania obow.ubezp.społ.:", "DATA_OB_UB", C::kNotEmpty},
        {12, 48, "zdrow.:", "DATA_OB_UZ", C::kNotEmpty},
        {13, 2, "Oddział NFZ:", "KOD_KASY", C::kHealthFund, "@!", "", 14},
        {14, 2, "Ubezp.dobrow. od - emer.:", "DATA_DO_UE"},
        {14, 40, "rent.:", "DATA_DO_UR"},
        {14, 59, "chor.:", "DATA_DO_UC"},
        {15, 2, "Ubezp.zdrow.dobrow. od:", "DATA_DO_UZ"},
        {15, 40, "Oddział NFZ:", "KOD_NFZ_D", C::kHealthFund, "@!", "", 14},
    };
    if (update) {
        // The date follows the health-fund branch on its row.
        f.insert(f.begin() + 14, PageField{13, 32, "Data przystąpienia do NFZ:", "DATA_KASY"});
        const std::vector<PageField> health = {
            {16, 2, "Składka:", "KWO_DO_UZ", C::kNotNegative},
            {17, 2, "Stopień pokr.lub powin.:", "STOP_POKR", C::kDictionary, "", "", 40},
            {18, 2, "Pozostawanie we wspólnym gospodarstwie z pracodawcą:", "WSP_GOSP"},
        };
        f.insert(f.end(), health.begin(), health.end());
    }
    return f;
}

std::vector<PageField> Incapacity() {
    return {
        {6, 2, "Stopień niezd.do pracy:", "STOP_NIEZD", C::kDictionary, "", "", 45},
        {7, 2, "Okres orzeczenia od:", "DATA_N_OD", C::kNotEmpty},
        {7, 40, "Do:", "DATA_N_DO", C::kPeriodEnd, "", "DATA_N_OD"},
        {8, 2, "\"Stary\" kod zawodu:", "EKD_", C::kDictionary, "", "", 45},
        // The name of the occupation takes this row and the next.
        {9, 2, "Urzędowy kod zawodu:", "KZIS_", C::kDictionary, "@!", "", 43},
        {11, 2, "Wykształcenie:", "KOD_WYKSZ", C::kDictionary, "", "", 50},
        {12, 2, "Praca w szczeg.charakt.:", "KOD_PRACY", C::kDictionary, "", "", 40},
        {13, 2, "Okres od:", "DATA_PR_OD", C::kNotEmpty},
        {13, 40, "Do:", "DATA_PR_DO", C::kPeriodEnd, "", "DATA_PR_OD"},
        {14, 2, "Otwarty Fund.Emeryt.:", "KOD_FUND", C::kDictionary, "", "", 50},
        {15, 2, "Data przystapienia do Otw. Fund. Em.:", "DATA_OT_FE"},
    };
}

std::vector<PageField> Report(bool dismissal) {
    std::vector<PageField> f = {
        {6, 2, "Kod zm./korekty danych dla ZUS:", "WYR_KOR", C::kChoice, "", " 12"},
        {7, 2, "Przekrocz.podst. wymiaru składek:", "PRZEKR_POD", C::kChoice, "", " 123"},
        {8, 2, "Miesiąc zgłoszenia/zmiany informacji dla ZUS (rok-miesiac):", "MC_AKT_ZUS",
         C::kNone, "@R 9999-99"},
    };
    if (dismissal) {
        const std::vector<PageField> end = {
            {10, 2, "Przyczyna wyrej.ubezp.:", "PRZ_WY_UB", C::kDictionary, "", "", 45},
            {11, 2, "Kod zwoln.:", "PRZYCZ_ZW", C::kDictionary, "", "", 50},
            {12, 2, "Data zwolnienia:", "DATA_ZWOLN", C::kDismissal},
            {13, 2, "Kod rozwiązania stos.pracy:", "KOD_ROZ_U", C::kDictionary, "", "", 45},
            {14, 2, "Kod podstawy prawnej:", "KOD_POD_PR", C::kDictionary, "", "", 45},
            {15, 2, "Podstawa dla kodu 550:", "PODST_PR", C::kNone, "@S50"},
            {16, 2, "Strona rozwiązująca umowę [1,2, ]:", "STR_ROZ_U", C::kChoice, "", "12 "},
        };
        f.insert(f.end(), end.begin(), end.end());
    }
    return f;
}

}  // namespace

std::vector<PageField> FieldsOf(Page page, EmployeeKind kind, const PageContext& ctx,
                                bool dismissal) {
    switch (page) {
        case Page::kLegalPerson:
            return LegalPerson();
        case Page::kIdentity:
            return Identity(kind);
        case Page::kAddresses:
            return Addresses();
        case Page::kEmployment:
            return ctx.short_card && kind != EmployeeKind::kStaff ? ShortEmployment()
                                                                  : FullEmployment();
        case Page::kTax:
            return Tax();
        case Page::kTitle:
            return Title();
        case Page::kInsurance:
            return Insurance(ctx.update);
        case Page::kIncapacity:
            return Incapacity();
        case Page::kReport:
            return Report(dismissal);
        case Page::kAllowances:
            return {};
    }
    return {};
}

std::vector<PageLabel> LabelsOf(Page page, EmployeeKind kind, const PageContext&) {
    switch (page) {
        case Page::kLegalPerson:
            return {{12, 14, "( 1 - podatkowy, 2 - inny )"}, {15, 2, "Adres siedziby"}};
        case Page::kIdentity:
            if (kind == EmployeeKind::kStaff)
                return {{10, 72, "/"}, {13, 2, "Adres zameldowania na stałe miejsce pobytu"}};
            return {{13, 2, "Adres zameldowania na stałe miejsce pobytu"}};
        case Page::kAddresses:
            return {{6, 2, "Adres zamieszkania (gdy inny niż zameldowania)"},
                    {13, 2, "Adres do korespondencji (gdy inny niż )"}};
        case Page::kInsurance:
            return {{8, 2,
                     "Ubezpieczenie     Emerytalne Rentowe Chorobowe Wypadkowe Zdrowotne "
                     "Otw.F.Em."},
                    {9, 2, "Obowiązkowe:"},
                    {10, 2, "Dobrowolne:"}};
        default:
            return {};
    }
}

std::string PageTitle(Page page) {
    switch (page) {
        case Page::kLegalPerson:
            return "Osoba prawna";
        case Page::kIdentity:
            return "Dane osobowe";
        case Page::kAddresses:
            return "Adresy";
        case Page::kEmployment:
            return "Zatrudnienie";
        case Page::kTax:
            return "Podatki i potrącenia";
        case Page::kTitle:
            return "Tytuł ubezpieczenia";
        case Page::kInsurance:
            return "Ubezpieczenia";
        case Page::kIncapacity:
            return "Niezdolność, zawód, wykształcenie";
        case Page::kReport:
            return "Zgłoszenie do ZUS";
        case Page::kAllowances:
            return "Dodatki i potrącenia";
    }
    return {};
}

}  // namespace kestrel::registry
