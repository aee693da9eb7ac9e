#include "worktime/printouts/menu38.h"

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "worktime/printouts/month_printouts.h"

namespace kestrel::worktime {

void Qrm38(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Karta ewidencji czasu pracy"), [&rt] { Qrm382(rt); }},
        {rt.Text("Zestawienie nieobecności"), [&rt] { common::NotInThisVersion(rt); }},
        {rt.Text("Eksport zestawienia nieobecności"), [&rt] { common::NotInThisVersion(rt); }},
        {rt.Text("Lista obecności"), [&rt] { Qrm385(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("3.8. Wydruki"), "3.8.", items, {8, 26});
}

}  // namespace kestrel::worktime
