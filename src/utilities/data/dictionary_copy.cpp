#include "utilities/data/dictionary_copy.h"

#include <cstdio>
#include <filesystem>

#include "platform/base/files.h"
#include "utilities/data/company_lock.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;

const std::vector<DictionaryRow>& BaseList() {
    static const std::vector<DictionaryRow> rows = {
        {"PKURZ", "Symbole urzędów skarbowych", false, 2},
        {"PKRUM", "Rodzaje umowy o prace", false, 1},
        {"PKDZIAL", "Słownik działów", false, 1},
        {"PKSTAN", "Symbole stanowisk", true, 1},
        {"PKRPL", "Rodzaje płacy", false, 1},
        {"PKPRZ", "Przyczyny zwolnienia", true, 1},
        {"PKZWZ", "Słownik związków zawodowych", false, 1},
        {"PKSPZAW", "Przyczyny zawieszenia umowy o pracę", false, 1},
        {"PKSRDOD", "Słownik dodatków", false, 1},
        {"PKRNB", "Rodzaje nieobecności", true, 2},
        {"PKSBRG", "Słownik brygad", false, 1},
        {"PKRDOCH", "Rodzaje dochodów", false, 1},
        {"PKSLST", "Symbole list płac", false, 1},
        {"PKKALEN", "Kalendarz dni wolnych od pracy", false, 1},
        {"PKGRUPY", "Słownik grup kalendarzowych", false, 1},
        {"PKROB", "Kody obecności", true, 2},
        {"PKSPL", "Składniki płacowe", true, 3},
        {"PKWALOR", "Wskaźniki waloryzacji płac", false, 1},
        {"PKNTBW", "Nazwy matryc tabulogramów", false, 2},
        {"PKTBW", "Matryce tabulogramów", false, 1},
        {"PKFUNC", "Definicje własnych funkcji", true, 1},
        {"PKOPIS", "Matryce dokumentów", true, 1},
        {"PKTAB", "Tabela podatkowa", false, 1},
        {"PKWROR", "Parametry połączenia z systemem ROR", true, 1},
        {"PKEKD", "Słownik Klasyfikacji Zawodów i Specjalności", false, 1},
        {"PKGRALG", "Słownik grup algorytmicznych", false, 0},
        {"PKSTER", "Plik sterujący systemu", false, 0},
        {"PKNOM", "Wykaz nominałów", false, 0},
        {"PKSZATR", "Słownik rodzajów zatrudnienia", false, 0},
        {"PKSGRIN", "\"Stary\" słownik grup inwalidzkich", false, 0},
        {"PKASKLD", "Algorytmy tworzenia składek ZUS", true, 1},
        {"PKAZASL", "Algorytmy \"świadczeń i przerw\"", true, 1},
        {"PKAWYNG", "Algorytmy zbiorczych wynagrodzeń", true, 0},
        {"PKAPDST", "Algorytmy \"przychodów RPA\"", true, 1},
        {"PKAOKRN", "Algorytmy \"okresów RPA\"", true, 1},
        {"PKTYTUB", "Kody tytułu ubezpieczenia", true, 1},
        {"PKSSWPR", "Kody świadczenia lub przerwy", false, 1},
        {"PKWYRUB", "Kody przyczyny wyrejestrowania ubezpieczonego", true, 1},
        {"PKWYKSZ", "Kody wykształcenia", false, 1},
        {"PKSWYN", "Kody składników wynagrodzeń", false, 1},
        {"PKSSTPO", "Kody stopnia pokrewieństwa lub powinowactwa", false, 1},
        {"PKSNIEZ", "Kody stopnia niezdolności do pracy", false, 1},
        {"PKKPSW", "Kody pracy w szczególnym charakterze", true, 1},
        {"PKKOFE", "Kody Otwartych Funduszy Emerytalnych", false, 1},
        {"PKKROZ", "Kody rozwiązania stosunku pracy", false, 1},
        {"PKKPOD", "Kody podstawy prawnej rozwiązania stosunku pracy", false, 1},
        {"PKASKWN", "Algorytmy składników wynagrodzeń", true, 1},
        {"PKZSKAL", "Parametry kalibracyjne wydruków ZUS i PIT", false, 0},
        {"PKASPRZ", "Algorytmy sprawdzania modułu ZUS", true, 1},
        {"PKSKSZT", "Konta kosztów", false, 1},
        {"PKRABS", "Rodzaje absencji", false, 0},
        {"PKSKODK", "Kody krajów", false, 1},
        {"PKKDURZ", "Kody urzędów skarbowych", false, 2},
    };
    return rows;
}

std::string Source(const std::string& dir, const std::string& file) {
    return base::FindNoCase(dir, file);
}

// Copies `from` to `to` byte for byte; false on any failure (the partial
// copy removed).
bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) fs::remove(to, ec);
    return !ec && fs::is_regular_file(to, ec);
}

}  // namespace

std::vector<DictionaryRow> DictionaryCopyList(const common::Configuration& config,
                                              const std::string& source_dir) {
    std::vector<DictionaryRow> rows = BaseList();
    if (base::Exists(Source(source_dir, "PKUMTR.DBF"))) {
        rows.push_back({"PKUMTR", "Matryca rozszerzonej kartoteki osobowej", false, 2});
        rows.push_back({"PKUSLW", "Słownik rozszerzonej kartoteki", false, 1});
    }
    if (config.Logical("NAGLKWP")) {
        rows.push_back({"PKTYTUL", "KZP - tytuły pożyczek", false, 0});
        rows.push_back({"PKSTYP", "KZP - typy operacji", false, 0});
        rows.push_back({"PKATRNS", "KZP - algorytmy generowania transakcji", true, 1});
    }
    if (config.Logical("NAGLXSDML")) {
        rows.push_back({"PKAINDP", "Algorytmy pliku INF-D-P w module PFRON", true, 0});
        rows.push_back({"PKZAWOD", "Słownik wykonywanych zawodów", false, 1});
    }
    return rows;
}

std::vector<std::string> RowFiles(const DictionaryRow& row) {
    const std::string stem = row.stem;
    std::vector<std::string> files = {stem + ".DBF"};
    if (row.memo) files.push_back(stem + ".DBT");
    for (int i = 1; i <= row.indexes; ++i) files.push_back(stem + std::to_string(i) + ".NTX");
    return files;
}

std::string FirstMissingFile(const std::string& source_dir,
                             const std::vector<DictionaryRow>& rows) {
    for (const DictionaryRow& row : rows)
        for (const std::string& file : RowFiles(row))
            if (!base::Exists(Source(source_dir, file))) return file;
    return "";
}

std::string CopyDictionary(const std::string& source_dir, const std::string& target_dir,
                           const DictionaryRow& row) {
    const std::vector<std::string> files = RowFiles(row);
    const std::string target_table = base::FindNoCase(target_dir, files.front());
    if (TableOpenElsewhere(target_table)) return std::string("Zbiór ") + row.stem + " jest używany";
    std::vector<std::pair<std::string, std::string>> copies;  // temporary, final
    auto drop_copies = [&] {
        std::error_code ec;
        for (const auto& [temporary, final_path] : copies) fs::remove(temporary, ec);
    };
    for (const std::string& file : files) {
        const std::string final_path = base::FindNoCase(target_dir, file);
        const std::string temporary = final_path + ".KOP";
        copies.emplace_back(temporary, final_path);
        if (!CopyFile(Source(source_dir, file), temporary)) {
            drop_copies();
            return "Błąd kopiowania " + file;
        }
    }
    // Everything is there: into place, the table last so that its indexes
    // and memo are never older than it.
    for (size_t i = copies.size(); i-- > 0;) {
        if (std::rename(copies[i].first.c_str(), copies[i].second.c_str()) != 0) {
            drop_copies();
            return "Błąd kopiowania " + files[i];
        }
    }
    return "";
}

}  // namespace kestrel::utilities
