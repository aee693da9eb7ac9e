#include "register/data/employee_field_checks.h"

#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

using base::Trim;
using C = FieldCheck;

bool Certified(const EmployeeRecord& r) {
    const std::string degree = Trim(r.Text("TYTUL_STNP"));
    return degree == "1" || degree == "2" || degree == "3";
}

std::vector<RegistrationField> PersonFields(EmployeeKind kind) {
    std::vector<RegistrationField> f = {
        // Identity and the registration address.
        {"NAZWISKO", C::kNotEmpty},
        {"IMIONA", C::kNotEmpty},
        {"DATA_URODZ", C::kBirth},
        {"MIEJSCE_UR"},
        {"PLEC_", C::kSex, "", true},
        {"NAZW_ROD"},
        {"IM_OJCA"},
        {"IM_MATKI"},
        {"KOD_IDENT", C::kIdentityDocument},
        {"NR_IDENT", C::kNone, "", true},
    };
    if (kind == EmployeeKind::kStaff) {
        f.push_back({"ETAT_L", C::kNotNegative});
        f.push_back({"ETAT_M", C::kNotNegative});
    }
    const std::vector<RegistrationField> rest = {
        {"PESEL", C::kPesel},
        {"NR_NIP", C::kNip},
        {"KOD_KRAJU", C::kRegistrationCountry, "", true},
        {"WOJEW_", C::kVoivodeship, "KOD_KRAJU"},
        {"POWIAT_", C::kDistrict, "KOD_KRAJU"},
        {"GMINA_", C::kCommune, "KOD_KRAJU"},
        {"KOD_POCZT"},
        {"KOD_P_Z_ST"},
        {"MIEJSCOW_"},
        {"ULICA_"},
        {"NR_DOMU"},
        {"NR_MIESZK"},
        {"POCZTA_"},
        {"TELEFON_"},
        {"FAX_"},
        // Residence and correspondence.
        {"KOD_KRAJ_Z", C::kCountry, "", true},
        {"WOJEW_Z", C::kVoivodeship, "KOD_KRAJ_Z"},
        {"POWIAT_Z", C::kDistrict, "KOD_KRAJ_Z"},
        {"DZIELNIC_Z", C::kCommune, "KOD_KRAJ_Z"},
        {"KOD_POCZ_Z"},
        {"KOD_P_Z_ZA"},
        {"MIEJSCOW_Z"},
        {"ULICA_Z"},
        {"NR_DOMU_Z"},
        {"NR_MIESZ_Z"},
        {"POCZTA_Z"},
        {"TELEFON_Z"},
        {"FAX_Z"},
        {"KOD_KRAJ_K", C::kCountry, "", true},
        {"KOD_POCZ_K"},
        {"KOD_P_Z_KO"},
        {"MIEJSCOW_K"},
        {"POCZTA_K"},
        {"ULICA_K"},
        {"NR_DOMU_K"},
        {"NR_MIESZ_K"},
        {"SKR_POCZT"},
        {"TELEFON_K"},
        {"FAX_K"},
        {"E_MAIL"},
        // Employment.
        {"URZ_SKARB", C::kDictionary, "", true},
        {"STANOW_", C::kDictionary, "", true},
        {"DZIAL_", C::kDictionary, "", true},
        {"KONTO_KOSZ", C::kDictionary},
        {"RODZ_UM_PR", C::kDictionary},
        {"RODZ_PL", C::kDictionary},
        {"KAT_ZASZER"},
        {"RODZ_ZATR", C::kDictionary, "", true},
        {"GRUPA_KAL", C::kDictionary, "", true},
        {"GRUPA_ALG", C::kDictionary, "", true},
        {"NB_ZUS_NMC"},
        {"ST_PODST", C::kNotNegative},
        {"DOD_FUNKC", C::kNotNegative},
        {"DOD_BRYG", C::kNotNegative},
        {"ST_LAT_P", C::kNotNegative},
        {"ST_MIE_P", C::kMonths},
        {"ST_DNI_P", C::kDays},
        {"DATA_ZATR", C::kSeniority},
        {"DOD_STAZ", C::kNotNegative},
        {"DATA_STAZ"},
        {"WYM_URL", C::kNotNegative},
        {"DATA_UM"},
        {"DATA_Z_PIT"},
        // Tax and deductions.
        {"ILDZ_Z_ZW", C::kNotNegative},
        {"ILDZ_Z_PD", C::kNotNegative},
        {"NIP_PIT11"},
        {"CZL_SP"},
        {"CZL_KZP"},
        {"ULGA_P_D"},
        {"WIE_ULG_PD", C::kReliefSize},
        {"PDOF_26"},
        {"POD_WG_TAB"},
        {"PROC_POD", C::kNotNegative},
        {"BEZ_ZAL_PD"},
        {"ULGA_NA_4D"},
        {"UM_ZL_BEZP"},
        {"POWR_Z_ZAG"},
        {"EM_BEZ_EME"},
        {"BEZ_ULG_KS"},
        {"ODR_POD_D"},
        {"IFT_1"},
        {"NIE_REZYD"},
        {"Z_NR_ID"},
        {"Z_KRAJ_ID", C::kCountry, "", true},
        {"Z_KOD_ID", C::kForeignKind},
        {"RODZAJ_ZZ", C::kDictionary},
        {"KW_UBEZP1", C::kNotNegative},
        {"KW_UBEZP2", C::kNotNegative},
        {"POTRAC_PKO", C::kNotNegative},
        {"BANK_"},
        {"NR_KONT", C::kAccount},
        // Insurance title.
        {"TYTUL_PODM", C::kDictionary},
        {"TYTUL_EMER", C::kPensionRight},
        {"TYTUL_STNP", C::kDisability},
        {"DATA_INW"},
        {"DAT_INW_DO", C::kPeriodEnd, "DATA_INW"},
        {"SZCZEG_SCH"},
        {"EF_ZACH"},
        {"GRUPA_INW", C::kDictionary},
        {"FORMA_OPOD", C::kTaxForm},
        // Insurance.
        {"PRAC_WYCH", C::kNotNegative},
        {"CZY_OB_UE"},
        {"CZY_OB_UR"},
        {"CZY_OB_UC"},
        {"CZY_OB_UW"},
        {"CZY_OB_UZ"},
        {"CZY_DO_UE"},
        {"CZY_DO_UR"},
        {"CZY_DO_UC"},
        {"CZY_DO_UZ"},
        {"CZY_OT_FE"},
        {"DATA_OB_UB", C::kNotEmpty},
        {"DATA_OB_UZ", C::kNotEmpty},
        {"KOD_KASY", C::kHealthFund, "", true},
        {"DATA_DO_UE"},
        {"DATA_DO_UR"},
        {"DATA_DO_UC"},
        {"DATA_DO_UZ"},
        {"KOD_NFZ_D", C::kHealthFund, "", true},
        // Incapacity, occupation, education, special work, pension fund.
        {"STOP_NIEZD", C::kDictionary},
        {"DATA_N_OD", C::kNotEmpty},
        {"DATA_N_DO", C::kPeriodEnd, "DATA_N_OD"},
        {"EKD_", C::kDictionary},
        {"KZIS_", C::kDictionary, "", true},
        {"KOD_WYKSZ", C::kDictionary},
        {"KOD_PRACY", C::kDictionary},
        {"DATA_PR_OD", C::kNotEmpty},
        {"DATA_PR_DO", C::kPeriodEnd, "DATA_PR_OD"},
        {"KOD_FUND", C::kDictionary},
        {"DATA_OT_FE"},
        // Reports to the insurance office.
        {"WYR_KOR", C::kChoice, " 12"},
        {"PRZEKR_POD", C::kChoice, " 123"},
        {"MC_AKT_ZUS"},
    };
    f.insert(f.end(), rest.begin(), rest.end());
    return f;
}

std::vector<RegistrationField> LegalFields() {
    return {
        {"PEL_NAZWA", C::kNotEmpty},
        {"IMIONA", C::kNotEmpty},
        {"DATA_URODZ"},
        {"NR_NIP", C::kNip},
        {"Z_NR_ID"},
        {"Z_KOD_ID", C::kForeignKind},
        {"Z_KRAJ_ID", C::kCountry, "", true},
        {"URZ_SKARB", C::kDictionary, "", true},
        {"KOD_KRAJU", C::kRegistrationCountry, "", true},
        {"MIEJSCOW_"},
        {"KOD_POCZT"},
        {"ULICA_"},
        {"NR_DOMU"},
        {"NR_MIESZK"},
    };
}

}  // namespace

Verdict CheckFieldValue(const FieldCheckScope& scope, FieldCheck check, const std::string& field,
                        const std::string& choices, const EmployeeRecord& record, FieldValue* value,
                        std::string* shown, TerritoryChoice* territory) {
    using Kind = FieldValue::Kind;
    const std::string& text = value->text;
    const double number = value->number;
    switch (check) {
        case C::kNone:
            return Verdict::Ok();
        case C::kNotEmpty:
            if (value->kind == Kind::kText && Trim(text).empty()) return Verdict::Refuse("");
            if (value->kind == Kind::kDate && value->date.empty()) return Verdict::Refuse("");
            return Verdict::Ok();
        case C::kBirth:
            if (scope.update && record.kind() != EmployeeKind::kLegalPerson && value->date.empty())
                return Verdict::Refuse("");
            return Verdict::Ok();
        case C::kNotNegative:
            return number < 0 ? Verdict::Refuse("") : Verdict::Ok();
        case C::kPositive:
            return number <= 0 ? Verdict::Refuse("") : Verdict::Ok();
        case C::kMonths:
            return number < 0 || number > 11 ? Verdict::Refuse("") : Verdict::Ok();
        case C::kDays:
            return number < 0 || number > 30 ? Verdict::Refuse("") : Verdict::Ok();
        case C::kReliefSize:
            return number < 1 || number > 4 ? Verdict::Refuse("") : Verdict::Ok();
        case C::kSex:
            return SexValid(text) ? Verdict::Ok() : Verdict::Refuse("");
        case C::kChoice:
            if (text.empty() || choices.find(text[0]) == std::string::npos)
                return Verdict::Refuse("");
            return Verdict::Ok();
        case C::kIdentityDocument:
            if (Trim(text).empty()) return Verdict::Ok();
            *shown = std::string(IdentityDocumentName(text));
            return shown->empty() ? Verdict::Refuse("Błędny kod") : Verdict::Ok();
        case C::kForeignKind: {
            if (record.kind() == EmployeeKind::kLegalPerson) {
                if (std::string(" 12").find(text.empty() ? ' ' : text[0]) == std::string::npos)
                    return Verdict::Refuse("Błędny kod");
                return Verdict::Ok();
            }
            Verdict v = CheckForeignIdKind(text, record.Logical("NIE_REZYD"));
            if (v.accepted) *shown = std::string(ForeignIdKindName(text));
            return v;
        }
        case C::kPensionRight: {
            Verdict v = CheckPensionRight(text);
            if (v.accepted && v.message.empty()) *shown = std::string(PensionRightName(text));
            return v;
        }
        case C::kDisability: {
            Verdict v = CheckDisability(text);
            if (v.accepted && v.message.empty()) *shown = std::string(DisabilityName(text));
            return v;
        }
        case C::kTaxForm:
            if (std::string("123456").find(text.empty() ? ' ' : text[0]) == std::string::npos)
                return Verdict::Refuse("");
            *shown = std::string(TaxFormName(text));
            return Verdict::Ok();
        case C::kHealthFund:
            return CheckHealthFund(text);
        case C::kPesel:
            if (scope.prac != nullptr) return CheckPesel(*scope.prac, record, scope.recno);
            return CheckPeselOf(record.pesel(), record.Date("DATA_URODZ"), record.Text("PLEC_"));
        case C::kNip:
            return CheckNipField(Trim(text));
        case C::kAccount:
            return CheckAccountField(Trim(text));
        case C::kDictionary:
            return CheckCode(scope.tables, field, Trim(text), shown);
        case C::kRegistrationCountry:
            return CheckRegistrationCountry(scope.tables, Trim(text), shown);
        case C::kCountry:
            if (Trim(text).empty()) return Verdict::Ok();
            return CheckCode(scope.tables, field, Trim(text), shown);
        case C::kPeriodEnd: {
            const std::string from = record.Date(choices);
            if (!value->date.empty() && !from.empty() && value->date < from)
                return Verdict::Refuse("");
            return Verdict::Ok();
        }
        case C::kDismissal:
            if (!DismissalValid(Trim(record.Text("PRZYCZ_ZW")), value->date,
                                record.Date("DATA_ZATR")))
                return Verdict::Refuse("");
            return Verdict::Ok();
        case C::kSeniority:
            if (value->date.empty()) return Verdict::Refuse("");
            *shown = SeniorityText(SeniorityAt(value->date, scope.ref_year, scope.ref_month));
            return Verdict::Ok();
        case C::kVoivodeship:
        case C::kDistrict:
        case C::kCommune: {
            const std::string country =
                Trim(record.Text(choices.empty() ? std::string("KOD_KRAJU") : choices));
            if (country != "PL") return Verdict::Ok();
            dbf::WorkArea& gminy = OpenTerritory(scope.tables);
            if (check == C::kVoivodeship)
                return LookupVoivodeship(gminy, scope.letters, &value->text, territory);
            if (check == C::kDistrict)
                return LookupDistrict(gminy, scope.letters, &value->text, territory);
            return LookupCommune(gminy, scope.letters, &value->text, *territory);
        }
    }
    return Verdict::Ok();
}

bool FieldAsked(std::string_view name, const EmployeeRecord& r, bool encouragement) {
    const bool legal = r.kind() == EmployeeKind::kLegalPerson;
    if (name == "DATA_INW" || name == "DAT_INW_DO" || name == "SZCZEG_SCH") return Certified(r);
    if (name == "EF_ZACH") return Certified(r) && encouragement;
    if (name == "Z_NR_ID" || name == "Z_KRAJ_ID" || name == "Z_KOD_ID")
        return legal || r.Logical("IFT_1") || r.Logical("NIE_REZYD");
    if (name == "WIE_ULG_PD") return r.Logical("ULGA_P_D");
    if (name == "PROC_POD") return !r.Logical("POD_WG_TAB");
    if (name == "FORMA_OPOD") return r.Text("TYTUL_PODM").rfind("05", 0) == 0;
    if (name == "DATA_OB_UB")
        return r.Logical("CZY_OB_UE") || r.Logical("CZY_OB_UR") || r.Logical("CZY_OB_UC") ||
               r.Logical("CZY_OB_UW");
    if (name == "DATA_OB_UZ" || name == "KOD_KASY" || name == "DATA_KASY")
        return r.Logical("CZY_OB_UZ");
    if (name == "DATA_DO_UE") return r.Logical("CZY_DO_UE");
    if (name == "DATA_DO_UR") return r.Logical("CZY_DO_UR");
    if (name == "DATA_DO_UC") return r.Logical("CZY_DO_UC");
    if (name == "DATA_DO_UZ" || name == "KOD_NFZ_D" || name == "KWO_DO_UZ")
        return r.Logical("CZY_DO_UZ");
    if (name == "KOD_FUND" || name == "DATA_OT_FE") return r.Logical("CZY_OT_FE");
    if (name == "DATA_N_OD" || name == "DATA_N_DO") {
        const std::string s = Trim(r.Text("STOP_NIEZD"));
        return !s.empty() && s != "01";
    }
    if (name == "DATA_PR_OD" || name == "DATA_PR_DO") return !Trim(r.Text("KOD_PRACY")).empty();
    if (name == "PODST_PR") return Trim(r.Text("KOD_POD_PR")) == "550";
    return true;
}

const std::vector<RegistrationField>& RegistrationFields(EmployeeKind kind) {
    static const std::vector<RegistrationField> staff = PersonFields(EmployeeKind::kStaff);
    static const std::vector<RegistrationField> other = PersonFields(EmployeeKind::kNonStaff);
    static const std::vector<RegistrationField> legal = LegalFields();
    switch (kind) {
        case EmployeeKind::kStaff:
            return staff;
        case EmployeeKind::kNonStaff:
            return other;
        case EmployeeKind::kLegalPerson:
            break;
    }
    return legal;
}

void SettleRecord(common::Tables& tables, const common::LetterSet& letters, EmployeeRecord* rec) {
    const bool legal = rec->kind() == EmployeeKind::kLegalPerson;
    if (rec->kind() == EmployeeKind::kStaff) NormaliseWorkingTime(rec);
    if (!legal || Trim(rec->Text("KOD_KRAJU")) == "PL") {
        dbf::WorkArea& gminy = OpenTerritory(tables);
        rec->SetText("KOD_WOJEW", VoivodeshipCode(gminy, letters, Trim(rec->Text("WOJEW_"))));
    }
    if (!legal) {
        if (Trim(rec->Text("KOD_KRAJ_Z")).empty()) rec->SetText("KRAJ_Z", "");
        if (rec->Logical("POD_WG_TAB")) rec->SetNumber("PROC_POD", 0);
        ClearUnchosenInsurance(rec);
    } else {
        rec->SetText("DZIAL_", "");
        rec->SetText("GRUPA_ALG", "");
    }
}

}  // namespace kestrel::registry
