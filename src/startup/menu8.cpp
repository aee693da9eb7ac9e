#include "startup/menu8.h"

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "payroll/dictionaries.h"

namespace kestrel::startup {
namespace {

// The entries whose functions this version lacks: each keeps its number in
// the menu and answers "Funkcja niedostępna w tej wersji programu".
void Missing(common::Runtime& rt) {
    common::NotInThisVersion(rt);
}

}  // namespace

void Qrm8(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Rodzaje dochodów"), [&rt] { payroll::Qrm82(rt); }},
        {rt.Text("Symbole list płac"), [&rt] { payroll::Qrm83(rt); }},
        {rt.Text("Składniki płacowe"), [&rt] { payroll::Qrm84(rt); }},
        {rt.Text("Definicje funkcji"), [&rt] { payroll::Qrm85(rt); }},
        {rt.Text("Struktury zbiorów"), [&rt] { Missing(rt); }},
        {rt.Text("Eksport wybranych danych"), [&rt] { Missing(rt); }},
        {rt.Text("Aktualizacja baz słownik. rekordami z zewn. plików"), [&rt] { Missing(rt); }},
        {rt.Text("Zestawy do: przeliczania list płac / wydruków"), [&rt] { payroll::Qrm89(rt); }},
        {rt.Text("Lista opcjonalnych składników płacowych"), [&rt] { payroll::Qrm8A(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("8. Zbiory pomocnicze"), "8.", items, {8, 24});
}

}  // namespace kestrel::startup
