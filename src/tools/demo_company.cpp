#include "tools/demo_company.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>

#include "common/session/letters.h"
#include "common/tables/company_tables.h"
#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/table.h"
#include "tools/command.h"
#include "tools/demo_calendars.h"
#include "tools/demo_employees.h"
#include "tools/demo_payroll.h"
#include "tools/demo_tax.h"
#include "tools/demo_worktime.h"

namespace kestrel::tools {
namespace {

using memfile::MemEntry;
using memfile::MemValue;

MemEntry Text(const char* name, const char* utf8) {
    return {name, MemValue::Char(codepage::FromUtf8(utf8))};
}

std::string Padded(const char* utf8, size_t width) {
    std::string s = codepage::FromUtf8(utf8);
    s.resize(width, ' ');
    return s;
}

// The demo company's own dictionaries, added to tables that come out of
// creation empty. Codes of the territorial register and of the tax offices
// are those of the shipped lists; the insurance codes are the official ones.
struct DemoRow {
    const char* table;
    std::vector<std::pair<const char*, const char*>> values;  // field, UTF-8 text or T/F
};

const std::vector<DemoRow>& DemoRows() {
    static const std::vector<DemoRow> rows = {
        {"PKDZIAL", {{"DZIAL_", "ADM"}, {"NAZWA_", "Administracja"}, {"KOD_GMINY", "1465011"}}},
        {"PKDZIAL", {{"DZIAL_", "HAND"}, {"NAZWA_", "Dział handlowy"}, {"KOD_GMINY", "1465011"}}},
        {"PKDZIAL", {{"DZIAL_", "PROD"}, {"NAZWA_", "Produkcja"}, {"KOD_GMINY", "1261011"}}},
        {"PKSTAN", {{"STANOW_", "DYR"}, {"NAZWA_", "Dyrektor"}}},
        {"PKSTAN", {{"STANOW_", "KSG"}, {"NAZWA_", "Główny księgowy"}}},
        {"PKSTAN", {{"STANOW_", "SPEC"}, {"NAZWA_", "Specjalista"}}},
        {"PKSTAN", {{"STANOW_", "MAG"}, {"NAZWA_", "Magazynier"}}},
        {"PKRUM", {{"RODZ_UM", "01"}, {"NAZWA_UM", "Na czas nieokreślony"}}},
        {"PKRUM", {{"RODZ_UM", "02"}, {"NAZWA_UM", "Na czas określony"}}},
        {"PKRUM", {{"RODZ_UM", "03"}, {"NAZWA_UM", "Na okres próbny"}}},
        {"PKRPL", {{"RODZ_PL", "01"}, {"NAZWA_PL", "Miesięczna"}}},
        {"PKRPL", {{"RODZ_PL", "02"}, {"NAZWA_PL", "Godzinowa"}}},
        {"PKRPL", {{"RODZ_PL", "03"}, {"NAZWA_PL", "Akordowa"}}},
        {"PKPRZ", {{"PRZYCZ_ZW", "01"}, {"NAZWA_PRZ", "Wypowiedzenie przez pracodawcę"}}},
        {"PKPRZ", {{"PRZYCZ_ZW", "02"}, {"NAZWA_PRZ", "Wypowiedzenie przez pracownika"}}},
        {"PKPRZ", {{"PRZYCZ_ZW", "03"}, {"NAZWA_PRZ", "Porozumienie stron"}}},
        {"PKPRZ", {{"PRZYCZ_ZW", "04"}, {"NAZWA_PRZ", "Upływ czasu, na który umowa była zawarta"}}},
        {"PKZWZ", {{"SYMB_ZZ", "ZZ"}, {"NAZWA_ZZ", "Zakładowy Związek Zawodowy"}}},
        {"PKURZ",
         {{"URZ_SKARB", "01"},
          {"NAZWA_", "I US Warszawa-Śródmieście"},
          {"MIEJSCOW_", "Warszawa"},
          {"KOD_URZEDU", "1435"}}},
        {"PKURZ",
         {{"URZ_SKARB", "02"},
          {"NAZWA_", "II US Kraków"},
          {"MIEJSCOW_", "Kraków"},
          {"KOD_URZEDU", "1228"}}},
        {"PKSRDOD", {{"RODZAJ_DOD", "DFUN"}, {"NAZWA_", "Dodatek funkcyjny"}, {"KWOTA_PROC", "T"}}},
        {"PKSRDOD", {{"RODZAJ_DOD", "PREM"}, {"NAZWA_", "Premia regulaminowa"}}},
        {"PKSRDOD",
         {{"RODZAJ_DOD", "UBGR"}, {"NAZWA_", "Ubezpieczenie grupowe"}, {"KWOTA_PROC", "T"}}},
        {"PKSRDOD", {{"RODZAJ_DOD", "SAMC"}, {"NAZWA_", "Ryczałt za samochód"}, {"TAK_NIE", "T"}}},
        {"PKGRALG", {{"GRUPA_ALG", "A"}, {"NAZWA_", "Etatowi"}}},
        {"PKGRALG", {{"GRUPA_ALG", "B"}, {"NAZWA_", "Zleceniob."}}},
        {"PKSZATR", {{"RODZ_ZATR", "P"}, {"NAZWA_", "Pełny etat"}}},
        {"PKSZATR", {{"RODZ_ZATR", "N"}, {"NAZWA_", "Niepełny"}}},
        {"PKSZATR", {{"RODZ_ZATR", "D"}, {"NAZWA_", "Dojeżdża"}}},
        {"PKSKSZT", {{"KONTO_KOSZ", "501"}, {"NAZWA_", "Koszty działalności podst."}}},
        {"PKSKSZT", {{"KONTO_KOSZ", "520"}, {"NAZWA_", "Koszty wydziałowe"}}},
        {"PKSKSZT", {{"KONTO_KOSZ", "550"}, {"NAZWA_", "Koszty zarządu"}}},
        {"PKWYRUB", {{"PRZ_WY_UB", "100"}, {"NAZWA_", "Ustanie tytułu do ubezpieczeń"}}},
        {"PKWYRUB", {{"PRZ_WY_UB", "500"}, {"NAZWA_", "Zgon osoby ubezpieczonej"}}},
        {"PKWYRUB", {{"PRZ_WY_UB", "600"}, {"NAZWA_", "Inna przyczyna"}}},
        // Absence codes of the usual cases, their kinds and a reason of
        // suspension whose days are generated as unpaid leave.
        {"PKRABS", {{"RODZAJ_ABS", "U"}, {"NAZWA_TBW", "Urlopy"}, {"ZESTAW_NB", "UW,UZ,UB"}}},
        {"PKRABS",
         {{"RODZAJ_ABS", "C"}, {"NAZWA_TBW", "Choroby i opieka"}, {"ZESTAW_NB", "CH,CH1,ZC,ZO"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "UW"},
          {"NAZWA_", "Urlop wypoczynkowy"},
          {"TYP_", "U"},
          {"RODZAJ_", "U"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 10"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "UZ"},
          {"NAZWA_", "Urlop na żądanie"},
          {"TYP_", "U"},
          {"RODZAJ_", "U"},
          {"LIMIT_", "  4"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 20"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "CH"},
          {"NAZWA_", "Zwolnienie chorobowe"},
          {"TYP_", "P"},
          {"RODZAJ_", "C"},
          {"DEKL_ZUS", "T"},
          {"NAZWA_ZUS", "WYN.CHOROBOWE"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 30"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "CH1"},
          {"NAZWA_", "Wynagr. chorobowe 100%"},
          {"TYP_", "P"},
          {"RODZAJ_", "C"},
          {"DEKL_ZUS", "T"},
          {"NAZWA_ZUS", "WYN.CHOROBOWE"},
          {"WYPADEK_", "T"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 40"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "ZC"},
          {"NAZWA_", "Zasiłek chorobowy"},
          {"TYP_", "Z"},
          {"RODZAJ_", "C"},
          {"DEKL_ZUS", "T"},
          {"NAZWA_ZUS", "ZAS.CHOROBOWY"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 50"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "ZO"},
          {"NAZWA_", "Zasiłek opiekuńczy"},
          {"TYP_", "Z"},
          {"RODZAJ_", "C"},
          {"DEKL_ZUS", "T"},
          {"NAZWA_ZUS", "ZAS.OPIEKUNCZY"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 60"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "UB"},
          {"NAZWA_", "Urlop bezpłatny"},
          {"TYP_", "B"},
          {"RODZAJ_", "U"},
          {"DEKL_ZUS", "T"},
          {"NAZWA_ZUS", "URLOP BEZPLATNY"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 70"}}},
        {"PKRNB",
         {{"KOD_NIEOB", "ZAWU"},
          {"NAZWA_", "Zawieszenie umowy"},
          {"TYP_", "G"},
          {"HARMON_CZ", "T"},
          {"DRUK_", "T"},
          {"SEKW_WYDR", " 80"}}},
        {"PKSPZAW",
         {{"PRZYCZ_ZAW", "01"}, {"NAZWA_", "Tymczasowe aresztowanie"}, {"KOD_NIEOB", "ZAWU"}}},
        {"PKGRUPY", {{"GRUPA_", "01"}, {"NAZWA_", "Podstawowa"}, {"ZMIENNY_CZ", "F"}}},
        {"PKSZMIA",
         {{"GRUPA_", "01"},
          {"ZMIANA_", ""},
          {"OD_GODZ", "07"},
          {"OD_MIN", "00"},
          {"GODZ_DO", "15"},
          {"MIN_DO", "00"}}},
    };
    return rows;
}

// Creates the tables of the demo rows that are missing, with their rows
// (the index files are built afterwards with the other tables'). Tables the
// program fills itself when it creates them are left to it.
base::Status CreateDemoDictionaries(const std::string& dir, const base::Clock& clock) {
    std::vector<std::string> made;
    for (const DemoRow& row : DemoRows()) {
        const std::string table = row.table;
        if (common::HasInitialContent(table)) continue;
        const bool fresh = std::find(made.begin(), made.end(), table) != made.end();
        if (!fresh && base::Exists(base::FindNoCase(dir, table + ".DBF"))) continue;
        const std::string path = dir + "/" + table + ".DBF";
        if (!fresh) {
            const common::TableLayout* layout = common::FindTable(table);
            if (layout == nullptr) return base::Status::InvalidArgument(table);
            base::Status s = dbf::Table::Create(path, layout->Specs(), nullptr, &clock);
            if (!s.ok()) return s;
            made.push_back(table);
        }
        std::unique_ptr<dbf::Table> t;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        exclusive.clock = &clock;
        base::Status s = dbf::Table::Open(path, exclusive, &t);
        if (!s.ok()) return s;
        dbf::Record rec = t->NewRecord();
        for (const auto& [name, value] : row.values) {
            const int f = t->FieldIndex(name);
            if (f < 0) return base::Status::InvalidArgument(table + ": " + name);
            const bool logical =
                t->fields()[static_cast<size_t>(f)].type == dbf::FieldType::kLogical;
            s = logical ? rec.SetLogical(f, std::string_view(value) == "T")
                        : rec.SetString(f, codepage::FromUtf8(value));
            if (!s.ok()) return s;
        }
        uint32_t recno = 0;
        s = t->Append(rec, &recno);
        if (s.ok()) s = t->Close();
        if (!s.ok()) return s;
    }
    return base::Status::Ok();
}

int DemoUsage() {
    std::fprintf(stderr, "usage: kestrel-tool demo ROOT [--now \"YYYY-MM-DD HH:MM\"]\n");
    return 2;
}

int DemoCommand(const std::vector<std::string>& args) {
    // --now "YYYY-MM-DD HH:MM" dates the demo as the program's --now does,
    // so that scripted runs on it see the same dates on any day.
    std::optional<base::LocalTime> now;
    std::string root;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--now" && i + 1 < args.size()) {
            now = base::ParseLocalTime(args[++i]);
            if (!now) return DemoUsage();
        } else if (root.empty()) {
            root = args[i];
        } else {
            return DemoUsage();
        }
    }
    if (root.empty()) return DemoUsage();
    base::SystemClock system_clock;
    std::optional<base::FixedClock> fixed_clock;
    if (now) fixed_clock.emplace(*now);
    const base::Clock& clock =
        fixed_clock ? static_cast<const base::Clock&>(*fixed_clock) : system_clock;
    base::Status s = CreateDemoCompany(root, clock);
    if (!s.ok()) {
        std::fprintf(stderr, "kestrel-tool demo: %s\n", s.ToString().c_str());
        return 1;
    }
    return 0;
}

KESTREL_TOOL_COMMAND(
    demo_command, "demo",
    "demo ROOT [--now \"YYYY-MM-DD HH:MM\"]   (creates ROOT/DEMO.PK, the demo company)",
    DemoCommand);

}  // namespace

std::vector<MemEntry> DemoConfiguration() {
    return {
        {"NAGL1", MemValue::Char(Padded("FIRMA DEMO", 20))},
        {"NAGL2", MemValue::Char(Padded("Przedsiębiorstwo Usługowe", 30))},
        {"NAGL4", MemValue::Char(Padded("\"KESTREL-DEMO\" Sp. z o.o.", 30))},
        {"NAGL3", MemValue::Char(Padded("ul. Kwiatowa 12, Warszawa", 30))},
        Text("NAGL5", "Przedsiębiorstwo Usługowe \"KESTREL-DEMO\" Sp. z o.o."),
        Text("NAGL6", "527-301-45-87"),
        Text("NAGL7", "147389254"),
        Text("NAGL55", "147389254"),
        Text("NAGL8", "mazowieckie"),
        Text("NAGL72", "Warszawa"),
        Text("NAGL23", "Śródmieście"),
        Text("NAGL9", "Kwiatowa"),
        Text("NAGL10", "12"),
        Text("NAGL11", ""),
        Text("NAGL12", "Warszawa"),
        Text("NAGL13", "00-950"),
        Text("NAGL14", "22 555 01 00"),
        Text("NAGL15", "Warszawa"),
        Text("NAGL22", "POLSKA"),
        Text("NAGL27", "Anna"),
        Text("NAGL28", "Kowalczyk"),
        Text("NAGL29", "KESTREL-DEMO"),
        Text("NAGL78", "kadry@kestrel-demo.invalid"),
        {"NAGL73", MemValue::Char(
                       Padded("\"KESTREL-DEMO\" Sp. z o.o. ul. Kwiatowa 12 00-950 Warszawa", 104))},
        {"NAGL74", MemValue::Char(Padded("61109010140000071219812874", 44))},
        {"NAGL77", MemValue::Char(Padded("\"KESTREL-DEMO\" Sp. z o.o. Warszawa", 54))},
        {"NAGLGENPL", MemValue::Logical(true)},
        {"NAGLKLR", MemValue::Logical(true)},
        {"NAGLPPK20", MemValue::Logical(true)},
        {"NAGLFP", MemValue::Numeric(2.45, 5, 2)},
        {"NAGLFGSP", MemValue::Numeric(0.10, 5, 2)},
        {"NAGLPROCUW", MemValue::Numeric(1.67, 4, 2)},
        Text("NAGLTDR", "E"),
    };
}

base::Status CreateDemoCompany(const std::string& root, const base::Clock& clock) {
    const std::string dir = root + "/DEMO.PK";
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) return base::Status::IOError(dir + ": " + ec.message());
    const std::string mem = dir + "/QRM.MEM";
    if (!base::Exists(base::FindNoCase(dir, "QRM.MEM"))) {
        base::Status s = memfile::WriteMemFile(mem, DemoConfiguration());
        if (!s.ok()) return s;
    }
    // The shipped data files beside the companies, where the program looks
    // for them when it creates a dictionary.
    const std::string data = root + "/data";
    std::filesystem::create_directories(data, ec);
    if (ec) return base::Status::IOError(data + ": " + ec.message());
    for (const auto& entry : std::filesystem::directory_iterator(KESTREL_DATA_DIR, ec)) {
        if (entry.path().extension() != ".tsv") continue;
        const auto target = std::filesystem::path(data) / entry.path().filename();
        if (std::filesystem::exists(target)) continue;
        std::filesystem::copy_file(entry.path(), target, ec);
        if (ec) return base::Status::IOError(target.string() + ": " + ec.message());
    }
    // The payroll setup, which fills the payroll tables of a new company.
    const std::filesystem::path setup = std::filesystem::path(data) / common::kSetupFolder;
    std::filesystem::create_directories(setup, ec);
    if (ec) return base::Status::IOError(setup.string() + ": " + ec.message());
    const std::filesystem::path shipped_setup =
        std::filesystem::path(KESTREL_DATA_DIR) / common::kSetupFolder;
    if (std::filesystem::is_directory(shipped_setup, ec)) {
        for (const auto& entry : std::filesystem::directory_iterator(shipped_setup, ec)) {
            if (entry.path().extension() != ".setup") continue;
            const auto target = setup / entry.path().filename();
            if (std::filesystem::exists(target)) continue;
            std::filesystem::copy_file(entry.path(), target, ec);
            if (ec) return base::Status::IOError(target.string() + ": " + ec.message());
        }
    }
    base::Status s = CreateDemoDictionaries(dir, clock);
    if (!s.ok()) return s;
    // Every table of the catalogue, so that every function finds its tables.
    s = common::CreateMissingTables(dir, common::MakeLetterSet(common::kPolishCp852),
                                    common::ShippedContent(data), nullptr, &clock);
    if (s.ok()) s = AddDemoEmployees(dir, clock);
    if (s.ok()) s = AddDemoCalendars(dir, clock);
    if (s.ok()) s = AddDemoWorkingTime(dir, clock);
    if (s.ok()) s = AddDemoTaxScales(dir, clock);
    if (s.ok()) s = AddDemoPayrollSetup(dir, clock);
    if (s.ok()) s = AddDemoPayrollMonth(dir, clock);
    return s;
}

}  // namespace kestrel::tools
