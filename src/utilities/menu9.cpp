#include "utilities/menu9.h"

#include "common/menu.h"
#include "utilities/operator_editor.h"

namespace kestrel::utilities {

void Qrm9(common::Runtime& rt) {
    // Entries without their function yet return to the menu.
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Archiwizacja i zabezpieczenie danych"), nullptr},
        {rt.Text("Zbiory spoolingowe (wydruki)"), nullptr},
        {rt.Text("Indeksowanie zbiorów"), nullptr},
        {rt.Text("Funkcje awaryjne"), nullptr},
        {rt.Text("Informacja o systemie"), nullptr},
        {rt.Text("Zmiana firmy"), nullptr},
        {rt.Text("Hasła systemu"), [&rt] { Qrm98(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("9. Funkcje pomocnicze"), "9.", items);
}

}  // namespace kestrel::utilities
