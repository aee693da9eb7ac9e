#include "tax/menu7.h"

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "tax/exemptions_screen.h"
#include "tax/income_browse.h"
#include "tax/income_correction_screen.h"
#include "tax/scale_editor.h"
#include "tax/transfer_screens.h"

namespace kestrel::tax {
namespace {

// The entries whose functions this version lacks: each keeps its number in
// the menu and answers "Funkcja niedostępna w tej wersji programu".
void Missing(common::Runtime& rt) {
    common::NotInThisVersion(rt);
}

}  // namespace

void Qrm7(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Automatyczne przepisanie danych z modułu płace"), [&rt] { Qrm72(rt); }},
        {rt.Text("Korekta dochodów"), [&rt] { Qrm73(rt); }},
        {rt.Text("Przeglądanie kartoteki"), [&rt] { Qrm74(rt); }},
        {rt.Text("Wydruki"), [&rt] { Missing(rt); }},
        {rt.Text("Zwolnienia z podatku dochodowego"), [&rt] { Qrm76(rt); }},
        {rt.Text("Awaryjne zerowanie aktualizacji"), [&rt] { Qrm77(rt); }},
        {rt.Text("Tabela podatkowa"), [&rt] { Qrm78(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("7. Moduł podatkowy"), "7.", items, {8, 24});
}

}  // namespace kestrel::tax
