// The people of the demo company: staff employees, people on contracts and
// firms the company pays, written through the register's own layer so that
// their identity is stored scrambled and every index is right.
#include "tools/demo_employees.h"

#include <cstdio>

#include "common/session/abandon.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/base/clock.h"
#include "platform/codepage/cp852.h"
#include "platform/console/console.h"
#include "platform/console/headless_backend.h"
#include "register/data/employee.h"

namespace kestrel::tools {
namespace {

using registry::EmployeeKind;

struct Address {
    const char* street;
    const char* house;
    const char* flat;
    const char* postcode;
    const char* town;
    const char* voivodeship;
    const char* district;
    const char* commune;
};

constexpr Address kMokotow{"Puławska", "112",         "14",       "02-620",
                           "Warszawa", "MAZOWIECKIE", "WARSZAWA", "MOKOTÓW"};
constexpr Address kUrsynow{"Belgradzka", "8",           "61",       "02-793",
                           "Warszawa",   "MAZOWIECKIE", "WARSZAWA", "URSYNÓW"};
constexpr Address kBielany{"Kasprowicza", "44",          "3",        "01-871",
                           "Warszawa",    "MAZOWIECKIE", "WARSZAWA", "BIELANY"};
constexpr Address kTargowek{"Radzymińska", "150",         "27",       "03-574",
                            "Warszawa",    "MAZOWIECKIE", "WARSZAWA", "TARGÓWEK"};
constexpr Address kPiastow{"Żeromskiego", "5",           "",       "05-820", "Piastów",
                           "MAZOWIECKIE", "PRUSZKOWSKI", "PIASTÓW"};
constexpr Address kWidzew{"Piłsudskiego", "135",     "9",    "92-318",
                          "Łódź",         "ŁÓDZKIE", "ŁÓDŹ", "ŁÓDŹ-WIDZEW"};
constexpr Address kKrakow{"Długa",  "17",          "2",      "31-147",
                          "Kraków", "MAŁOPOLSKIE", "KRAKÓW", "KRAKÓW"};

struct Person {
    const char* number;
    EmployeeKind kind;
    const char* surname;  // for a firm: its full name
    const char* names;    // for a firm: its short name
    const char* birth;    // for a firm: the date business started
    char sex;
    int serial;  // of the PESEL; for a firm the first nine digits of the NIP
    const char* department;
    double rate;
    const char* hired;
    const char* dismissed;  // "" for a current employee
    const Address* address;
    const char* profession;
    const char* birthplace;
    const char* father;
    const char* mother;
};

// PESEL serials are shared by 000014 and 000018: one man employed twice.
constexpr Person kPeople[] = {
    {"000001", EmployeeKind::kStaff, "Kowalczyk", "Anna Maria", "19780412", 'K', 214, "ADM", 11200,
     "20100301", "", &kMokotow, "121101", "Warszawa", "Józef", "Halina"},
    {"000002", EmployeeKind::kStaff, "Nowak", "Piotr", "19811103", 'M', 587, "ADM", 12500,
     "20080102", "", &kUrsynow, "243105", "Radom", "Stanisław", "Teresa"},
    {"000003", EmployeeKind::kStaff, "Wiśniewska", "Katarzyna", "19900621", 'K', 36, "ADM", 7200,
     "20150601", "", &kBielany, "331301", "Płock", "Marek", "Elżbieta"},
    {"000004", EmployeeKind::kStaff, "Wójcik", "Tomasz", "19850214", 'M', 903, "PROD", 6400,
     "20120903", "", &kTargowek, "721204", "Siedlce", "Zbigniew", "Grażyna"},
    {"000005", EmployeeKind::kStaff, "Łukasik", "Marek Jan", "19790930", 'M', 118, "PROD", 6100,
     "20090415", "", &kPiastow, "721204", "Pruszków", "Jan", "Krystyna"},
    {"000006", EmployeeKind::kStaff, "Lis", "Agnieszka", "19951205", 'K', 450, "HAND", 5800,
     "20190101", "", &kMokotow, "522301", "Warszawa", "Robert", "Dorota"},
    {"000007", EmployeeKind::kStaff, "Madej", "Krzysztof", "19880717", 'M', 672, "PROD", 5600,
     "20170320", "", &kWidzew, "432103", "Łódź", "Henryk", "Bożena"},
    {"000008", EmployeeKind::kStaff, "Zając", "Magdalena", "19920308", 'K', 291, "HAND", 6000,
     "20180702", "", &kBielany, "522301", "Ciechanów", "Adam", "Iwona"},
    {"000009", EmployeeKind::kStaff, "Kamiński", "Paweł", "19831025", 'M', 804, "PROD", 6900,
     "20110110", "", &kTargowek, "833201", "Ostrołęka", "Władysław", "Jadwiga"},
    {"000010", EmployeeKind::kStaff, "Żak", "Ewelina", "19990119", 'K', 527, "ADM", 5400,
     "20230301", "", &kUrsynow, "411004", "Warszawa", "Dariusz", "Agata"},
    {"000011", EmployeeKind::kStaff, "Szymański", "Grzegorz", "19750502", 'M', 163, "PROD", 5500,
     "20050801", "", &kPiastow, "432103", "Grodzisk Mazowiecki", "Ryszard", "Wanda"},
    {"000012", EmployeeKind::kStaff, "Dąbrowska", "Joanna", "19870811", 'K', 348, "ADM", 7000,
     "20140505", "", &kMokotow, "241103", "Lublin", "Tadeusz", "Anna"},
    {"000013", EmployeeKind::kStaff, "Ślusarczyk", "Andrzej", "19701229", 'M', 75, "PROD", 6300,
     "20000301", "20250630", &kTargowek, "721204", "Mińsk Mazowiecki", "Edward", "Zofia"},
    {"000014", EmployeeKind::kStaff, "Pietrzak", "Michał", "19930404", 'M', 619, "HAND", 5200,
     "20160201", "20221231", &kWidzew, "522301", "Łódź", "Sławomir", "Beata"},
    {"000015", EmployeeKind::kNonStaff, "Grabowska", "Olga", "19970909", 'K', 882, "HAND", 3500,
     "20240115", "", &kBielany, "522301", "Olsztyn", "Piotr", "Ewa"},
    {"000016", EmployeeKind::kNonStaff, "Zieliński", "Jakub", "20030227", 'M', 21, "ADM", 4200,
     "20250901", "", &kUrsynow, "251201", "Warszawa", "Wojciech", "Monika"},
    {"000017", EmployeeKind::kNonStaff, "Kaczmarek", "Barbara", "19580615", 'K', 734, "ADM", 2800,
     "20230102", "", &kKrakow, "331301", "Kraków", "Kazimierz", "Maria"},
    {"000018", EmployeeKind::kNonStaff, "Pietrzak", "Michał", "19930404", 'M', 619, "HAND", 3900,
     "20240301", "", &kWidzew, "522301", "Łódź", "Sławomir", "Beata"},
    {"000019", EmployeeKind::kLegalPerson, "Alfa-Serwis Spółka z ograniczoną odpowiedzialnością",
     "ALFA-SERWIS", "20030512", ' ', 521873460, "", 0, "20200101", "", &kMokotow, "", "", "", ""},
    {"000020", EmployeeKind::kLegalPerson, "Biuro Rachunkowe Bilans s.c. E. Nowicka, J. Wrona",
     "BILANS", "19980301", ' ', 725104388, "", 0, "20180401", "", &kWidzew, "", "", "", ""},
    {"000021", EmployeeKind::kLegalPerson, "Kancelaria Prawna Lex Adamczyk i Wspólnicy Sp.k.",
     "LEX", "20110915", ' ', 676239105, "", 0, "20210601", "", &kKrakow, "", "", "", ""},
};

std::string Cp(const char* utf8) {
    return codepage::FromUtf8(utf8);
}

// A NIP of nine digits with its check digit; a remainder of 10 takes the
// next number.
std::string Nip(long first_nine) {
    static constexpr int kWeights[] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    for (;; ++first_nine) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%09ld", first_nine % 1000000000);
        int sum = 0;
        for (int i = 0; i < 9; ++i) sum += kWeights[i] * (buf[i] - '0');
        if (sum % 11 != 10) return std::string(buf) + static_cast<char>('0' + sum % 11);
    }
}

// A 26-digit account at the demo company's bank with its check digits.
std::string Account(int n) {
    char account[32];
    std::snprintf(account, sizeof account, "10901014%016d", 7120000 + n * 7919);
    // Check digits: 98 minus the account followed by "PL00" (P=25, L=21) mod 97.
    const std::string digits = std::string(account) + "252100";
    int mod = 0;
    for (char c : digits) mod = (mod * 10 + (c - '0')) % 97;
    char out[32];
    std::snprintf(out, sizeof out, "%02d%s", 98 - mod, account);
    return out;
}

void Set(registry::EmployeeRecord& e, const char* field, const std::string& value) {
    e.SetText(field, value);
}

void Fill(registry::EmployeeRecord& e, const Person& p, int index) {
    const bool firm = p.kind == EmployeeKind::kLegalPerson;
    const Address& a = *p.address;
    if (firm) {
        e.set_first_names(Cp(p.names));
        Set(e, "PEL_NAZWA", Cp(p.surname));
        Set(e, "NR_NIP", Nip(p.serial));
    } else {
        e.set_surname(Cp(p.surname));
        e.set_first_names(Cp(p.names));
        e.set_pesel(registry::MakePesel(p.birth, p.serial, p.sex));
        Set(e, "PLEC_", std::string(1, p.sex));
        Set(e, "MIEJSCE_UR", Cp(p.birthplace));
        Set(e, "IM_OJCA", Cp(p.father));
        Set(e, "IM_MATKI", Cp(p.mother));
        Set(e, "KOD_IDENT", "1");
        char id[16];
        std::snprintf(id, sizeof id, "AB%07d", 1200345 + index * 3571);
        Set(e, "NR_IDENT", id);
        Set(e, "DZIAL_", p.department);
        Set(e, "KZIS_", p.profession);
        const bool staff = p.kind == EmployeeKind::kStaff;
        const std::string dept = p.department;
        Set(e, "GRUPA_ALG", staff ? "A" : "B");
        if (staff) {
            const std::string nr = p.number;
            Set(e, "RODZ_UM_PR", index == 10 ? "02" : "01");
            Set(e, "RODZ_PL", "01");
            Set(e, "GRUPA_KAL", "01");
            Set(e, "RODZ_ZATR", index == 10 ? "N" : "P");
            Set(e, "STANOW_",
                nr == "000002"                          ? "DYR"
                : nr == "000001"                        ? "KSG"
                : std::string(p.profession) == "432103" ? "MAG"
                                                        : "SPEC");
        }
        Set(e, "KONTO_KOSZ", dept == "ADM" ? "550" : dept == "PROD" ? "520" : "501");
        e.SetNumber("ST_PODST", p.rate);
        e.SetNumber("WYM_URL", p.kind == EmployeeKind::kStaff ? (index % 3 == 0 ? 20 : 26) : 0);
        e.SetNumber("ETAT_L", 1);
        e.SetNumber("ETAT_M", p.kind == EmployeeKind::kStaff && index == 10 ? 2 : 1);
        Set(e, "BANK_", "Bank Demo S.A.");
        Set(e, "NR_KONT", Account(index));
        Set(e, "KOD_KASY", "07R");
        e.SetDate("DATA_KASY", p.hired);
        Set(e, "TYTUL_PODM", p.kind == EmployeeKind::kStaff ? "0110" : "0411");
        Set(e, "TYTUL_EMER", std::string(p.birth) < "19600101" ? "1" : "0");
        Set(e, "TYTUL_STNP", "0");
        if (p.kind == EmployeeKind::kNonStaff) {
            e.SetLogical("CZY_OB_UE", true);
            e.SetLogical("CZY_OB_UR", true);
            e.SetLogical("CZY_OB_UW", true);
            e.SetLogical("CZY_OB_UZ", true);
        }
        e.SetDate("DATA_OB_UB", p.hired);
        e.SetDate("DATA_OB_UZ", p.hired);
        e.SetNumber("ILDZ_Z_ZW", index % 4 == 1 ? 2 : 0);
        e.SetLogical("CZL_KZP", p.kind == EmployeeKind::kStaff && index % 2 == 0);
        Set(e, "TELEFON_", "5" + std::to_string(10000000 + index * 1234567 % 89999999));
    }
    e.SetDate("DATA_URODZ", p.birth);
    e.SetDate("DATA_ZATR", p.hired);
    e.SetDate("DATA_Z_PIT", p.hired);
    Set(e, "URZ_SKARB", p.address == &kKrakow ? "02" : "01");
    Set(e, "KOD_KRAJU", "PL");
    Set(e, "WOJEW_", Cp(a.voivodeship));
    Set(e, "POWIAT_", Cp(a.district));
    Set(e, "GMINA_", Cp(a.commune));
    Set(e, "KOD_WOJEW",
        std::string(a.voivodeship) == "MAZOWIECKIE"   ? "14"
        : std::string(a.voivodeship) == "MAŁOPOLSKIE" ? "12"
                                                      : "10");
    Set(e, "MIEJSCOW_", Cp(a.town));
    Set(e, "POCZTA_", Cp(a.town));
    Set(e, "KOD_POCZT", a.postcode);
    Set(e, "ULICA_", Cp(a.street));
    Set(e, "NR_DOMU", a.house);
    Set(e, "NR_MIESZK", a.flat);
    if (p.dismissed[0] != '\0') {
        Set(e, "PRZYCZ_ZW", std::string(p.number) == "000013" ? "03" : "02");
        Set(e, "PRZ_WY_UB", "100");
        e.SetDate("DATA_ZWOLN", p.dismissed);
    }
}

}  // namespace

base::Status AddDemoEmployees(const std::string& dir, const base::Clock& clock) {
    console::HeadlessBackend backend;
    console::Console con(backend);
    common::Runtime rt(con, clock);
    rt.ResetWorkingDate();
    rt.set_data_dir(dir.empty() || dir.back() == '/' ? dir : dir + "/");
    try {
        common::Tables tables(rt);
        const registry::RegisterAreas areas = registry::OpenRegister(tables);
        if (areas.prac->table().record_count() > 0) return base::Status::Ok();
        int index = 0;
        for (const Person& p : kPeople) {
            ++index;
            registry::Registration reg(rt, tables, areas);
            if (reg.Reserve(p.number) != registry::ReserveResult::kReserved) continue;
            reg.ApplyDefaults(p.kind);
            Fill(reg.record(), p, index);
            // The man registered twice: his current record leads.
            if (std::string(p.number) == "000018") reg.record().SetLogical("MASTER_", true);
            reg.Confirm();
        }
        // Standing allowances and deductions.
        struct Standing {
            const char* number;
            int line;
            const char* symbol;
            double value;
        };
        const Standing standing[] = {
            {"000001", 1, "DFUN", 400},  {"000002", 1, "DFUN", 500},  {"000002", 2, "SAMC", 1},
            {"000002", 3, "UBGR", 45.5}, {"000003", 1, "UBGR", 45.5}, {"000004", 1, "PREM", 10},
            {"000005", 1, "PREM", 10},   {"000009", 1, "PREM", 12},   {"000006", 1, "UBGR", 45.5},
        };
        for (const Standing& a : standing) {
            registry::WriteAllowance(tables, *areas.dod, a.number,
                                     {a.line, a.symbol, a.value, false, 0, 0, 0, 0, 0});
        }
        // A raise remembered in the field history, and an extra insurance
        // title of a person on two contracts.
        registry::Remember(tables, *areas.zmprc, "000003", {"ST_PODST", "20251231", " 6500.00", 0});
        registry::WriteTitle(tables, *areas.ktyub, "000015", {1, "0510", "20250301", "", 0});
    } catch (const common::Abandon& a) {
        return base::Status::IOError(codepage::ToUtf8(a.message()));
    }
    return base::Status::Ok();
}

}  // namespace kestrel::tools
