#include "utilities/menu9.h"

#include "common/screen/menu.h"
#include "printing/definition_editor.h"
#include "printing/spool_screen.h"
#include "utilities/company_screens.h"
#include "utilities/operator_editor.h"
#include "utilities/parameter_editor.h"
#include "utilities/table_menus.h"

namespace kestrel::utilities {

void Qrm95(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Reorganizacja zbiorów"), [&rt] { common::Qrm952(rt); }},
        {rt.Text("Edycja zbiorów (DBU)"), nullptr},
    };
    common::RunSubMenu(rt, rt.Text("9.5. Funkcje awaryjne"), "9.5.", items);
}

void Qrm97(common::Runtime& rt, const CompanyHooks& hooks) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Wybór katalogu firmy"), [&] { Qrm972(rt, hooks); }},
        {rt.Text("Edycja parametrów firmy"), [&rt] { Qrm973(rt); }},
        {rt.Text("Tworzenie katalogu nowej firmy"), [&] { Qrm974(rt, hooks); }},
        {rt.Text("Zmiana nazwy katalogu firmy"), [&] { Qrm975(rt, hooks); }},
        {rt.Text("Kasowanie katalogu firmy"), [&] { Qrm976(rt, hooks); }},
        {rt.Text("Import baz słownikowych z katalogu innej firmy"), [&rt] { Qrm977(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("9.7. Zmiana firmy"), "9.7.", items);
}

void Qrm9(common::Runtime& rt, const CompanyHooks& hooks) {
    // Entries without their function yet return to the menu.
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Archiwizacja i zabezpieczenie danych"), nullptr},
        {rt.Text("Zbiory spoolingowe (wydruki)"), [&rt] { printing::SpoolScreen(rt); }},
        {rt.Text("Indeksowanie zbiorów"), [&rt] { common::Qrm94(rt); }},
        {rt.Text("Funkcje awaryjne"), [&rt] { Qrm95(rt); }},
        {rt.Text("Informacja o systemie"), nullptr},
        {rt.Text("Zmiana firmy"), [&] { Qrm97(rt, hooks); }},
        {rt.Text("Hasła systemu"), [&rt] { Qrm98(rt); }},
        {rt.Text("Definicje drukarek"), [&rt] { printing::EditPrinterDefinitions(rt); }},
    };
    common::RunSubMenu(rt, rt.Text("9. Funkcje pomocnicze"), "9.", items);
}

}  // namespace kestrel::utilities
