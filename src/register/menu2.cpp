#include "register/menu2.h"

#include "common/screen/menu.h"
#include "register/dictionary_dialog.h"
#include "register/employee_browse.h"
#include "register/official_dialogs.h"
#include "register/register_printout_dialog.h"
#include "register/registration_dialog.h"
#include "register/strike_off_dialog.h"
#include "register/update_dialog.h"

namespace kestrel::registry {

// Entries whose function is not there yet return to the menu.

void Qrm27(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Działy"), [&rt] { Qrm272(rt); }},
        {rt.Text("Stanowiska"), [&rt] { Qrm273(rt); }},
        {rt.Text("Rodzaje umowy o pracę"), [&rt] { Qrm274(rt); }},
        {rt.Text("Rodzaje płacy"), [&rt] { Qrm275(rt); }},
        {rt.Text("Przyczyny zwolnienia"), [&rt] { Qrm276(rt); }},
        {rt.Text("Związki zawodowe"), [&rt] { Qrm277(rt); }},
        {rt.Text("Urzędy skarbowe"), [&rt] { Qrm278(rt); }},
        {rt.Text("Rodzaje dodatków i potrąceń"), [&rt] { Qrm279(rt); }},
        {rt.Text("Grupy algorytmiczne"), [&rt] { Qrm27A(rt); }},
        {rt.Text("\"Stare\" Kody Zawodów i Specjalności"), [&rt] { Qrm27B(rt); }},
        {rt.Text("Rodzaje zatrudnienia"), [&rt] { Qrm27C(rt); }},
        {rt.Text("\"Stare\" grupy inwalidzkie"), [&rt] { Qrm27D(rt); }},
        {rt.Text("Konta kosztów"), [&rt] { Qrm27E(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("2.7. Słowniki \"standardowe\""), "2.7.", items, {7, 26});
}

void Qrm28(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Kody podmiotu tytułu ubezpieczenia"), [&rt] { Qrm282(rt); }},
        {rt.Text("Kody przyczyny wyrejestrowania ubezpieczonego"), [&rt] { Qrm283(rt); }},
        {rt.Text("Kody wykształcenia"), [&rt] { Qrm284(rt); }},
        {rt.Text("Kody stopnia pokrewieństwa lub powinowactwa"), [&rt] { Qrm285(rt); }},
        {rt.Text("Kody stopnia niezdolności do pracy"), [&rt] { Qrm286(rt); }},
        {rt.Text("Kody pracy w szczególnym charakterze"), [&rt] { Qrm287(rt); }},
        {rt.Text("Kody Otwartych Funduszy Emerytalnych"), [&rt] { Qrm288(rt); }},
        {rt.Text("Kody rozwiązania stosunku pracy"), [&rt] { Qrm289(rt); }},
        {rt.Text("Kody podstawy prawnej rozwiązania stosunku pracy"), [&rt] { Qrm28A(rt); }},
        {rt.Text("Kody wykonywanych zawodów (PFRON)"), [&rt] { Qrm28B(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("2.8. Słowniki kodów ZUS"), "2.8.", items, {8, 26});
}

void Qrm2C(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Kody krajów"), [&rt] { Qrm2c2(rt); }},
        {rt.Text("Kody urzędów skarbowych"), [&rt] { Qrm2c3(rt); }},
        {rt.Text("Kody województw, powiatów i gmin"), [&rt] { Qrm2c4(rt); }},
        {rt.Text("Klasyfikacja zawodów i specjalności"), [&rt] { Qrm2c5(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("2.C. Słowniki \"urzędowe\""), "2.C.", items, {8, 26});
}

void Qrm2(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Rejestracja nowego pracownika / osoby prawnej"), [&rt] { Qrm22(rt); }},
        {rt.Text("Skreślenie"), [&rt] { Qrm23(rt); }},
        {rt.Text("Aktualizacja zawartych informacji"), [&rt] { Qrm24(rt); }},
        {rt.Text("Przeglądanie kartoteki"), [&rt] { Qrm25(rt); }},
        {rt.Text("Wydruk kartoteki pracowników"), [&rt] { Qrm26(rt); }},
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
