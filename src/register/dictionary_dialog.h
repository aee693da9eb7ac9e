// The dictionaries of menus 2.7 and 2.8 in the common maintenance dialog
// (common/dictionary/dictionary_dialog.h).
#pragma once

#include <string_view>

#include "common/session/runtime.h"

namespace kestrel::registry {

/// Runs the dialog of menu entry `menu` ("2.7.4"). Entry needs rights mask
/// 33; without kind 1 the dictionary is only browsed.
void RunDictionary(common::Runtime& rt, std::string_view menu);

void Qrm272(common::Runtime& rt);  // Działy
void Qrm273(common::Runtime& rt);  // Stanowiska
void Qrm274(common::Runtime& rt);  // Rodzaje umowy o pracę
void Qrm275(common::Runtime& rt);  // Rodzaje płacy
void Qrm276(common::Runtime& rt);  // Przyczyny zwolnienia
void Qrm277(common::Runtime& rt);  // Związki zawodowe
void Qrm278(common::Runtime& rt);  // Urzędy skarbowe
void Qrm279(common::Runtime& rt);  // Rodzaje dodatków i potrąceń
void Qrm27A(common::Runtime& rt);  // Grupy algorytmiczne
void Qrm27B(common::Runtime& rt);  // "Stare" Kody Zawodów i Specjalności
void Qrm27C(common::Runtime& rt);  // Rodzaje zatrudnienia
void Qrm27D(common::Runtime& rt);  // "Stare" grupy inwalidzkie
void Qrm27E(common::Runtime& rt);  // Konta kosztów
void Qrm282(common::Runtime& rt);  // Kody podmiotu tytułu ubezpieczenia
void Qrm283(common::Runtime& rt);  // Kody przyczyny wyrejestrowania ubezpieczonego
void Qrm284(common::Runtime& rt);  // Kody wykształcenia
void Qrm285(common::Runtime& rt);  // Kody stopnia pokrewieństwa lub powinowactwa
void Qrm286(common::Runtime& rt);  // Kody stopnia niezdolności do pracy
void Qrm287(common::Runtime& rt);  // Kody pracy w szczególnym charakterze
void Qrm288(common::Runtime& rt);  // Kody Otwartych Funduszy Emerytalnych
void Qrm289(common::Runtime& rt);  // Kody rozwiązania stosunku pracy
void Qrm28A(common::Runtime& rt);  // Kody podstawy prawnej rozwiązania stosunku pracy
void Qrm28B(common::Runtime& rt);  // Kody wykonywanych zawodów (PFRON)

}  // namespace kestrel::registry
