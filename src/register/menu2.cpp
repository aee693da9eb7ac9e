#include "register/menu2.h"

#include "common/menu.h"
#include "register/employee_browse.h"
#include "register/registration_dialog.h"

namespace kestrel::registry {

// Entries whose function is not there yet return to the menu.

void Qrm27(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Działy"), nullptr},
        {rt.Text("Stanowiska"), nullptr},
        {rt.Text("Rodzaje umowy o pracę"), nullptr},
        {rt.Text("Rodzaje płacy"), nullptr},
        {rt.Text("Przyczyny zwolnienia"), nullptr},
        {rt.Text("Związki zawodowe"), nullptr},
        {rt.Text("Urzędy skarbowe"), nullptr},
        {rt.Text("Rodzaje dodatków i potrąceń"), nullptr},
        {rt.Text("Grupy algorytmiczne"), nullptr},
        {rt.Text("\"Stare\" Kody Zawodów i Specjalności"), nullptr},
        {rt.Text("Rodzaje zatrudnienia"), nullptr},
        {rt.Text("\"Stare\" grupy inwalidzkie"), nullptr},
        {rt.Text("Konta kosztów"), nullptr},
    };
    common::RunSubMenuAt(rt, rt.Text("2.7. Słowniki \"standardowe\""), "2.7.", items, {7, 26});
}

void Qrm28(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Kody podmiotu tytułu ubezpieczenia"), nullptr},
        {rt.Text("Kody przyczyny wyrejestrowania ubezpieczonego"), nullptr},
        {rt.Text("Kody wykształcenia"), nullptr},
        {rt.Text("Kody stopnia pokrewieństwa lub powinowactwa"), nullptr},
        {rt.Text("Kody stopnia niezdolności do pracy"), nullptr},
        {rt.Text("Kody pracy w szczególnym charakterze"), nullptr},
        {rt.Text("Kody Otwartych Funduszy Emerytalnych"), nullptr},
        {rt.Text("Kody rozwiązania stosunku pracy"), nullptr},
        {rt.Text("Kody podstawy prawnej rozwiązania stosunku pracy"), nullptr},
        {rt.Text("Kody wykonywanych zawodów (PFRON)"), nullptr},
    };
    common::RunSubMenuAt(rt, rt.Text("2.8. Słowniki kodów ZUS"), "2.8.", items, {8, 26});
}

void Qrm2C(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Kody krajów"), nullptr},
        {rt.Text("Kody urzędów skarbowych"), nullptr},
        {rt.Text("Kody województw, powiatów i gmin"), nullptr},
        {rt.Text("Klasyfikacja zawodów i specjalności"), nullptr},
    };
    common::RunSubMenuAt(rt, rt.Text("2.C. Słowniki \"urzędowe\""), "2.C.", items, {8, 26});
}

void Qrm2(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Rejestracja nowego pracownika / osoby prawnej"), [&rt] { Qrm22(rt); }},
        {rt.Text("Skreślenie"), nullptr},
        {rt.Text("Aktualizacja zawartych informacji"), nullptr},
        {rt.Text("Przeglądanie kartoteki"), [&rt] { Qrm25(rt); }},
        {rt.Text("Wydruk kartoteki pracowników"), nullptr},
        {rt.Text("Słowniki \"standardowe\""), [&rt] { Qrm27(rt); }},
        {rt.Text("Słowniki kodów ZUS"), [&rt] { Qrm28(rt); }},
        {rt.Text("Dokumenty"), nullptr},
        {rt.Text("Matryca rozszerzonej struktury"), nullptr},
        {rt.Text("Słownik rozszerzonej struktury"), nullptr},
        {rt.Text("Słowniki \"urzędowe\""), [&rt] { Qrm2C(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("2. Kartoteka pracownicza"), "2.", items);
}

}  // namespace kestrel::registry
