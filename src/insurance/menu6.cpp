#include "insurance/menu6.h"

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "insurance/algorithm_editor.h"
#include "insurance/consistency_screen.h"
#include "insurance/dictionaries.h"
#include "insurance/record_browse.h"
#include "insurance/transfer_screen.h"

namespace kestrel::insurance {
namespace {

// The entries whose functions this version lacks: each keeps its number in
// the menu and answers "Funkcja niedostępna w tej wersji programu".
void Missing(common::Runtime& rt) {
    common::NotInThisVersion(rt);
}

void Records(common::Runtime& rt, RecordKind kind, const char* title, bool correction) {
    BrowseRecords(rt, kind, title, correction);
}

void Qrm63(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta składek"),
         [&rt] { Records(rt, RecordKind::kContributions, "6.3.2. Korekta składek", true); }},
        {rt.Text("Przeglądanie kartoteki składek"),
         [&rt] {
             Records(rt, RecordKind::kContributions, "6.3.3. Przeglądanie kartoteki składek",
                     false);
         }},
        {rt.Text("Algorytmy przepisywania danych z modułu płace"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kContributions,
                            "6.3.4. Algorytmy przepisywania danych z modułu płace", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.3. Kartoteka składek"), "6.3.", items);
}

void Qrm64(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta kartoteki"),
         [&rt] {
             Records(rt, RecordKind::kBenefits, "6.4.2. Korekta kartoteki świadczeń i przerw",
                     true);
         }},
        {rt.Text("Przeglądanie kartoteki świadczeń i przerw"),
         [&rt] {
             Records(rt, RecordKind::kBenefits, "6.4.3. Przeglądanie kartoteki świadczeń i przerw",
                     false);
         }},
        {rt.Text("Kody świadczenia lub przerwy"),
         [&rt] { RunInsuranceDictionary(rt, BenefitCodes()); }},
        {rt.Text("Algorytmy przepisywania danych z płac i nieobecn."),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kBenefits,
                            "6.4.5. Algorytmy przepisywania danych z płac i nieobecn.", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.4. Kartoteka świadczeń i przerw"), "6.4.", items);
}

void Qrm65(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta kartoteki"),
         [&rt] {
             Records(rt, RecordKind::kComponents, "6.5.2. Korekta kartoteki składników wynagrodzeń",
                     true);
         }},
        {rt.Text("Przeglądanie kartoteki składników wynagrodzeń"),
         [&rt] {
             Records(rt, RecordKind::kComponents,
                     "6.5.3. Przeglądanie kartoteki składników wynagrodzeń", false);
         }},
        {rt.Text("Kody składników wynagrodzeń"),
         [&rt] { RunInsuranceDictionary(rt, RemunerationCodes()); }},
        {rt.Text("Algorytmy przepisywania danych z modułu płace"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kComponents,
                            "6.5.5. Algorytmy przepisywania danych z modułu płace", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.5. Kartoteka składników wynagrodzeń"), "6.5.", items);
}

void Qrm66(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta zbiorczych wynagrodzeń"),
         [&rt] {
             Records(rt, RecordKind::kTotals, "6.6.2. Korekta zbiorczych wynagrodzeń", true);
         }},
        {rt.Text("Przeglądanie kartoteki zbiorczych wynagrodzeń"),
         [&rt] {
             Records(rt, RecordKind::kTotals,
                     "6.6.3. Przeglądanie kartoteki zbiorczych wynagrodzeń", false);
         }},
        {rt.Text("Algorytmy przepisywania danych z modułu płace"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kTotals,
                            "6.6.4. Algorytmy przepisywania danych z modułu płace", edit);
         }},
        {rt.Text("Awaryjne przeliczanie danych za zaległe miesiące"), [&rt] { Missing(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("6.6. Zbiorcza kartoteka wynagrodzeń"), "6.6.", items);
}

void Qrm6A(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Sprawdzenie spójności modułu ZUS z płacami"), [&rt] { Qrm6A2(rt); }},
        {rt.Text("Algorytmy sprawdzania"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kChecks, "6.A.3. Algorytmy sprawdzania", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.A. Funkcje kontrolne"), "6.A.", items);
}

void Qrm6C(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta przychodów"),
         [&rt] { Records(rt, RecordKind::kBases, "6.C.2. Korekta przychodów", true); }},
        {rt.Text("Przeglądanie kartoteki przychodów"),
         [&rt] {
             Records(rt, RecordKind::kBases, "6.C.3. Przeglądanie kartoteki przychodów", false);
         }},
        {rt.Text("Algorytmy przepisywania danych z modułu płace"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kBases,
                            "6.C.4. Algorytmy przepisywania danych z modułu płace", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.C. Kartoteka przychodów (RPA)"), "6.C.", items);
}

void Qrm6D(common::Runtime& rt, const FormulaEditorFn& edit) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Korekta okresów zatrudnienia"),
         [&rt] { Records(rt, RecordKind::kPeriods, "6.D.2. Korekta okresów zatrudnienia", true); }},
        {rt.Text("Przeglądanie okresów zatrudnienia"),
         [&rt] {
             Records(rt, RecordKind::kPeriods, "6.D.3. Przeglądanie okresów zatrudnienia", false);
         }},
        {rt.Text("Algorytmy przepisywania danych z modułu płace"),
         [&rt, &edit] {
             EditAlgorithms(rt, AlgorithmKind::kPeriods,
                            "6.D.4. Algorytmy przepisywania danych z modułu płace", edit);
         }},
    };
    common::RunSubMenu(rt, rt.Text("6.D. Kartoteka okresów zatrudnienia (RPA)"), "6.D.", items);
}

}  // namespace

void Qrm6(common::Runtime& rt, const FormulaEditorFn& edit) {
    // 7, 8, 9, B and E (declarations, KEDU files, registration documents,
    // the annual health settlement) keep their numbers until they are built.
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Automatyczne przepisanie danych z modułu płace"), [&rt] { Qrm62(rt); }},
        {rt.Text("Kartoteka składek"), [&rt, &edit] { Qrm63(rt, edit); }},
        {rt.Text("Kartoteka świadczeń i przerw"), [&rt, &edit] { Qrm64(rt, edit); }},
        {rt.Text("Kartoteka składników wynagrodzeń"), [&rt, &edit] { Qrm65(rt, edit); }},
        {rt.Text("Zbiorcza kartoteka wynagrodzeń"), [&rt, &edit] { Qrm66(rt, edit); }},
        {rt.Text("Wydruki"), [&rt] { Missing(rt); }},
        {rt.Text("Połączenie z Programem Płatnika"), [&rt] { Missing(rt); }},
        {rt.Text("Konfiguracja indywidualnych płatników"), [&rt] { Missing(rt); }},
        {rt.Text("Funkcje kontrolne"), [&rt, &edit] { Qrm6A(rt, edit); }},
        {rt.Text("Dokumenty zgłoszeniowe"), [&rt] { Missing(rt); }},
        {rt.Text("Kartoteka przychodów (RPA)"), [&rt, &edit] { Qrm6C(rt, edit); }},
        {rt.Text("Kartoteka okresów zatrudnienia (RPA)"), [&rt, &edit] { Qrm6D(rt, edit); }},
        {rt.Text("Roczne rozliczenie składki na ubezpiecz. zdrowotne"), [&rt] { Missing(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("6. Moduł ZUS"), "6.", items);
}

}  // namespace kestrel::insurance
