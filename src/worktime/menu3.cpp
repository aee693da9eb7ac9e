#include "worktime/menu3.h"

#include "common/screen/menu.h"
#include "worktime/absence_browse.h"
#include "worktime/absence_dictionaries.h"
#include "worktime/absence_entry_dialog.h"
#include "worktime/calendar_dialog.h"
#include "worktime/dictionaries.h"
#include "worktime/monthly_schedule_dialog.h"
#include "worktime/printouts/menu38.h"
#include "worktime/suspension_dialogs.h"
#include "worktime/time_browse.h"
#include "worktime/time_entry_dialog.h"

namespace kestrel::worktime {

void Qrm37(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Grupy kalendarzowe"), [&rt] { Qrm372(rt); }},
        {rt.Text("Kody czasu pracy"), [&rt] { Qrm373(rt); }},
        {rt.Text("Kody Analitycznych składników (Kody nieobecności)"), [&rt] { Qrm374(rt); }},
        {rt.Text("Brygady"), [&rt] { Qrm375(rt); }},
        {rt.Text("Przyczyny zawieszenia umowy o pracę"), [&rt] { Qrm376(rt); }},
        {rt.Text("Rodzaje Analitycznych składn. (Rodzaje absencji)"), [&rt] { Qrm377(rt); }},
        {rt.Text("Typy pracy"), [&rt] { Qrm378(rt); }},
        {rt.Text("Wzorce harmonogramów czasu pracy"), [&rt] { Qrm379(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("3.7. Słowniki"), "3.7.", items, {8, 26});
}

void Qrm3(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Rejestracja/korekta kalendarza"), [&rt] { Qrm32(rt); }},
        {rt.Text("Wprowadzanie czasu pracy"), [&rt] { Qrm33(rt); }},
        {rt.Text("Wprowadzanie nieobecności (analit. składników)"), [&rt] { Qrm34(rt); }},
        {rt.Text("Przeglądanie czasu pracy"), [&rt] { Qrm35(rt); }},
        {rt.Text("Przeglądanie nieobecności (analit. składników)"), [&rt] { Qrm36(rt); }},
        {rt.Text("Słowniki"), [&rt] { Qrm37(rt); }},
        {rt.Text("Wydruki"), [&rt] { Qrm38(rt); }},
        {rt.Text("Pracownicy \"zawieszeni\""), [&rt] { Qrm39(rt); }},
        {rt.Text("Miesięczny harmonogram czasu pracy"), [&rt] { Qrm3A(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("3. Ewidencja czasu pracy"), "3.", items, {8, 24});
}

}  // namespace kestrel::worktime
