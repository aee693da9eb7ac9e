#include "register/data/employee_checks.h"

#include <cstdio>
#include <cstdlib>

#include "common/checks/identifiers.h"
#include "platform/base/text.h"

namespace kestrel::registry {
namespace {

using base::Trim;

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

int Num(std::string_view s) {
    return std::atoi(std::string(s).c_str());
}

struct Named {
    std::string_view code;
    std::string_view name;
};

std::string_view Find(std::initializer_list<Named> list, std::string_view code) {
    for (const Named& n : list) {
        if (n.code == code) return n.name;
    }
    return {};
}

}  // namespace

Verdict CheckPeselOf(std::string_view pesel_in, std::string_view birth, std::string_view sex) {
    const std::string pesel = Trim(pesel_in);
    if (pesel.empty()) return Verdict::Warn("Brak numeru PESEL");
    const int year = birth.size() == 8 ? Num(birth.substr(0, 4)) : 0;
    const int month = birth.size() == 8 ? Num(birth.substr(4, 2)) : 0;
    const int day = birth.size() == 8 ? Num(birth.substr(6, 2)) : 0;
    const int offset = year < 1900 ? 80 : year > 1999 ? 20 : 0;
    const std::string s = Trim(sex);
    bool bad = pesel.size() < 11 || !AllDigits(pesel) || year < 1800 || year > 2099;
    if (!bad) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%02d%02d%02d", year % 100, (month + offset) % 100, day);
        bad = pesel.compare(0, 6, buf) != 0;
        const bool even = (pesel[9] - '0') % 2 == 0;
        if (even && s != "K") bad = true;
        if (!even && s != "M") bad = true;
    }
    if (bad) return Verdict::Warn("Błędny PESEL");
    static constexpr int kWeights[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    int sum = 0;
    for (int i = 0; i < 10; ++i) sum += kWeights[i] * (pesel[i] - '0');
    const int check = (10 - sum % 10) % 10;
    if (check != pesel[10] - '0') return Verdict::Warn("Błędny numer PESEL");
    return Verdict::Ok();
}

std::string MakePesel(std::string_view birth, int serial, char sex) {
    if (birth.size() != 8 || !AllDigits(birth)) return {};
    const int year = Num(birth.substr(0, 4));
    const int month = Num(birth.substr(4, 2));
    const int day = Num(birth.substr(6, 2));
    int offset = 0;
    if (year >= 1800 && year < 1900)
        offset = 80;
    else if (year >= 2000 && year < 2100)
        offset = 20;
    else if (year >= 2100 && year < 2200)
        offset = 40;
    else if (year >= 2200 && year < 2300)
        offset = 60;
    else if (year < 1900 || year >= 2300)
        return {};
    const int last = ((serial % 1000) * 10 + (sex == 'K' ? 0 : 1)) % 10000;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d%04d", year % 100, month + offset, day, last);
    static constexpr int kWeights[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    int sum = 0;
    for (int i = 0; i < 10; ++i) sum += kWeights[i] * (buf[i] - '0');
    std::string pesel(buf, 10);
    pesel += static_cast<char>('0' + (10 - sum % 10) % 10);
    return pesel;
}

std::vector<std::string> RecordsWithPesel(dbf::WorkArea& prac, std::string_view pesel,
                                          uint32_t except, size_t limit) {
    std::vector<std::string> out;
    for (const PeselRecord& r : PeselRecords(prac, pesel)) {
        if (r.recno == except) continue;
        if (out.size() >= limit) break;
        out.push_back(r.number);
    }
    return out;
}

std::string SharedPeselText(const std::vector<std::string>& n) {
    switch (n.size()) {
        case 0:
            return {};
        case 1:
            return "Ident.PESEL:" + n[0];
        case 2:
            return "Ident.:" + n[0] + "," + n[1];
        case 3:
            return n[0] + "," + n[1] + "," + n[2];
        default:
            return n[0] + "," + n[1] + "," + n[2] + ">";
    }
}

Verdict CheckPesel(dbf::WorkArea& prac, const EmployeeRecord& employee, uint32_t except) {
    Verdict v = CheckPeselOf(employee.pesel(), employee.Date("DATA_URODZ"), employee.Text("PLEC_"));
    if (!v.message.empty()) return v;
    const std::string shared = SharedPeselText(RecordsWithPesel(prac, employee.pesel(), except));
    return shared.empty() ? v : Verdict::Warn(shared);
}

Verdict CheckNipField(std::string_view nip_in) {
    const std::string nip = Trim(nip_in);
    if (nip.empty()) return Verdict::Ok();
    if (nip.size() != 10 || !AllDigits(nip)) return Verdict::Warn("Błędny NIP");
    if (common::CheckNip(nip) != common::kIdValid) return Verdict::Warn("Błędny numer NIP");
    return Verdict::Ok();
}

Verdict CheckRegonField(std::string_view regon_in) {
    const std::string regon = Trim(regon_in);
    if (regon.empty()) return Verdict::Warn("Brak numeru REGON");
    if (regon.size() != 9 || !AllDigits(regon)) return Verdict::Warn("Błędny REGON");
    if (common::CheckRegon(regon) != common::kIdValid) return Verdict::Warn("Błędny numer REGON");
    return Verdict::Ok();
}

Verdict CheckAccountField(std::string_view account) {
    if (Trim(account).empty()) return Verdict::Ok();
    if (common::CheckBankAccount(account) != common::kIdValid) {
        return Verdict::Warn("Błędny Nr rachunku");
    }
    return Verdict::Ok();
}

std::vector<PeselRecord> PeselRecords(dbf::WorkArea& prac, std::string_view pesel_in) {
    std::vector<PeselRecord> out;
    std::string pesel = Trim(pesel_in);
    if (pesel.empty()) return out;
    pesel.resize(kPeselWidth, ' ');
    dbf::KeepPosition keep(prac);
    if (!prac.SetOrder(kByPesel).ok()) return out;
    const int nr = prac.FieldIndex("NR_PRAC"), master = prac.FieldIndex("MASTER_");
    base::Status s = prac.Seek(pesel, true);
    while (s.ok() && !prac.eof()) {
        const EmployeeRecord e = ReadEmployee(prac);
        std::string clear = e.pesel();
        clear.resize(kPeselWidth, ' ');
        if (clear != pesel) break;
        out.push_back(
            {prac.record().GetString(nr), prac.record().GetLogical(master), prac.recno()});
        s = prac.Skip(1);
    }
    return out;
}

int LeadingIndex(const std::vector<PeselRecord>& records) {
    int best = -1;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].leading) return static_cast<int>(i);
        if (best < 0 || records[i].number > records[best].number) best = static_cast<int>(i);
    }
    return best;
}

Seniority SeniorityAt(std::string_view employed, int ref_year, int ref_month) {
    Seniority s;
    if (employed.size() != 8) return s;
    const int from = Num(employed.substr(0, 4)) * 12 + Num(employed.substr(4, 2));
    const int diff = ref_year * 12 + ref_month - from;
    if (diff <= 0) return s;
    if (diff > 1199) {
        s.overflow = true;
        return s;
    }
    s.years = diff / 12;
    s.months = diff % 12;
    return s;
}

std::string SeniorityText(const Seniority& s) {
    if (s.overflow) return "Staż:**/**";
    return "Staż:" + std::to_string(s.years) + "/" + std::to_string(s.months);
}

void ReferenceMonth(dbf::WorkArea* ster, std::string_view today, int* year, int* month) {
    *year = Num(today.substr(0, 4));
    *month = Num(today.substr(4, 2));
    if (ster == nullptr) return;
    dbf::KeepPosition keep(*ster);
    if (!ster->GoTop().ok() || ster->eof()) return;
    *year = static_cast<int>(ster->record().GetNumber(ster->FieldIndex("ROK_")));
    *month = static_cast<int>(ster->record().GetNumber(ster->FieldIndex("MC_")));
}

bool DismissalValid(std::string_view reason, std::string_view dismissed,
                    std::string_view employed) {
    const bool no_reason = Trim(reason).empty();
    if (no_reason) return dismissed.empty();
    return dismissed.empty() || dismissed >= employed;
}

bool PeriodValid(std::string_view from, std::string_view to) {
    return !from.empty() && (to.empty() || to >= from);
}

void NormaliseWorkingTime(EmployeeRecord* e) {
    if (e->Number("ETAT_L") <= 0 || e->Number("ETAT_M") <= 0) {
        e->SetNumber("ETAT_L", 1);
        e->SetNumber("ETAT_M", 1);
    }
}

std::string FirstNegative(const EmployeeRecord& e) {
    for (const char* f : {"ST_PODST", "DOD_FUNKC", "DOD_BRYG", "DOD_STAZ", "WYM_URL", "ILDZ_Z_ZW",
                          "ILDZ_Z_PD", "KW_UBEZP1", "KW_UBEZP2", "POTRAC_PKO", "PRAC_WYCH",
                          "PROC_POD", "KWO_DO_UZ", "ST_LAT_P", "ST_MIE_P", "ST_DNI_P"}) {
        if (e.Number(f) < 0) return f;
    }
    if (e.Number("ST_MIE_P") > 11) return "ST_MIE_P";
    if (e.Number("ST_DNI_P") > 30) return "ST_DNI_P";
    return {};
}

std::string_view IdentityDocumentName(std::string_view code) {
    return Find({{"1", "Dowód osobisty"}, {"2", "Paszport"}}, code);
}

std::string_view ForeignIdKindName(std::string_view code) {
    return Find({{"1", "NUMER IDENTYFIKACYJNY TIN"},
                 {"2", "NUMER UBEZPIECZENIOWY"},
                 {"3", "PASZPORT"},
                 {"4", "URZĘDOWY DOKUMENT STWIERDZAJĄCY TOŻSAMOŚĆ"},
                 {"8", "INNY RODZAJ IDENTYFIKACJI PODATKOWEJ"},
                 {"9", "INNY DOKUMENT POTWIERDZAJĄCY TOŻSAMOŚĆ"}},
                code);
}

std::string_view PensionRightName(std::string_view code) {
    return Find({{"0", "brak ustalonego prawa do emerytury/renty"},
                 {"1", "ustalone prawo do emerytury"},
                 {"2", "ustalone prawo do renty"}},
                code);
}

std::string_view DisabilityName(std::string_view code) {
    return Find({{"0", "brak orzeczenia o niepełnosprawności"},
                 {"1", "orzeczenie o lekkim stopniu niepełnospr."},
                 {"2", "orzeczenie o umiarkow. stopniu niepełn."},
                 {"3", "orzeczenie o znacznym stopniu niepełn."},
                 {"4", "orzeczenie o nieokreśl. stopniu niepełn."}},
                code);
}

std::string_view TaxFormName(std::string_view code) {
    return Find({{"1", "podatek wg skali"},
                 {"2", "podatek liniowy"},
                 {"3", "karta podatkowa"},
                 {"4", "ryczałt od przychodów"},
                 {"5", "przych.z poprz.roku"},
                 {"6", "bez formy opodatkowania"}},
                code);
}

Verdict CheckForeignIdKind(std::string_view code, bool non_resident) {
    const std::string c = Trim(code);
    if (!non_resident || c.empty() || !ForeignIdKindName(c).empty()) return Verdict::Ok();
    return Verdict::Refuse("Błędny kod");
}

namespace {
Verdict BuiltIn(std::string_view code, std::string_view name) {
    if (Trim(code).empty()) return Verdict::Warn("Błędny kod");
    return name.empty() ? Verdict::Refuse("Błędny kod") : Verdict::Ok();
}
}  // namespace

Verdict CheckPensionRight(std::string_view code) {
    return BuiltIn(code, PensionRightName(Trim(code)));
}

Verdict CheckDisability(std::string_view code) {
    return BuiltIn(code, DisabilityName(Trim(code)));
}

Verdict CheckHealthFund(std::string_view code) {
    const std::string c = Trim(code);
    if (c.size() == 3 && c[2] == 'R' && AllDigits(c.substr(0, 2))) {
        const int n = Num(c.substr(0, 2));
        if (n >= 1 && n <= 16) return Verdict::Ok();
    }
    return Verdict::Warn("Błędny kod NFZ");
}

bool SexValid(std::string_view sex) {
    return sex == "M" || sex == "K";
}

bool ChoiceValid(std::string_view field, std::string_view value, bool legal) {
    struct Choices {
        std::string_view field, allowed;
    };
    static constexpr Choices kChoices[] = {
        {"PLEC_", "MK"},        {"KOD_IDENT", " 12"}, {"WYR_KOR", " 12"},
        {"PRZEKR_POD", " 123"}, {"STR_ROZ_U", " 12"}, {"FORMA_OPOD", "123456"},
        {"WIE_ULG_PD", "1234"},
    };
    std::string v(value.empty() ? std::string_view(" ") : value);
    if (v.size() != 1) return false;
    if (field == "Z_KOD_ID")
        return !legal || std::string_view(" 12").find(v[0]) != std::string_view::npos;
    for (const Choices& c : kChoices) {
        if (c.field == field) return c.allowed.find(v[0]) != std::string_view::npos;
    }
    return true;
}

void ClearUnchosenInsurance(EmployeeRecord* e) {
    if (!e->Logical("CZY_OB_UE") && !e->Logical("CZY_OB_UR") && !e->Logical("CZY_OB_UC") &&
        !e->Logical("CZY_OB_UW")) {
        e->SetDate("DATA_OB_UB", "");
    }
    if (!e->Logical("CZY_OB_UZ")) {
        e->SetDate("DATA_OB_UZ", "");
        e->SetText("KOD_KASY", "");
        e->SetDate("DATA_KASY", "");
    }
    for (const char* k : {"UE", "UR", "UC", "UZ"}) {
        if (!e->Logical(std::string("CZY_DO_") + k)) e->SetDate(std::string("DATA_DO_") + k, "");
    }
    if (!e->Logical("CZY_DO_UZ")) {
        e->SetNumber("KWO_DO_UZ", 0);
        e->SetText("KOD_NFZ_D", "");
    }
    if (!e->Logical("CZY_OT_FE")) {
        e->SetText("KOD_FUND", "");
        e->SetDate("DATA_OT_FE", "");
    }
}

bool AnySocialInsurance(const EmployeeRecord& e) {
    for (const char* f : {"CZY_OB_UE", "CZY_OB_UR", "CZY_OB_UC", "CZY_OB_UW", "CZY_DO_UE",
                          "CZY_DO_UR", "CZY_DO_UC"}) {
        if (e.Logical(f)) return true;
    }
    return false;
}

bool AnyHealthInsurance(const EmployeeRecord& e) {
    return e.Logical("CZY_OB_UZ") || e.Logical("CZY_DO_UZ");
}

}  // namespace kestrel::registry
