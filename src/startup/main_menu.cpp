#include "startup/main_menu.h"

#include <array>

#include "common/screen/messages.h"
#include "insurance/menu6.h"
#include "payroll/formula_editor.h"
#include "payroll/menu4.h"
#include "register/menu2.h"
#include "startup/menu8.h"
#include "tax/menu7.h"
#include "utilities/menu9.h"
#include "worktime/menu3.h"

namespace kestrel::startup {
namespace {

// Menu 6 edits its algorithms in the payroll's formula editor, handed in
// here: one subsystem's screens never link another's.
void Qrm6(common::Runtime& rt) {
    insurance::Qrm6(rt, [](common::Runtime& r, common::Tables& tables, const std::string& title,
                           std::string* text) {
        payroll::FormulaEdit edit;
        edit.kind = payroll::FormulaKind::kComponent;
        edit.title = title;
        return payroll::EditFormula(r, tables, edit, text);
    });
}

}  // namespace

std::vector<common::MenuEntry> MainMenuEntries(const common::Runtime& rt, bool ppk_module) {
    static const char* const kTexts[] = {
        "1. Koniec programu",
        "2. Kartoteka pracownicza",
        "3. Ewidencja czasu pracy",
        "4. Płace",
        "5. Kasa zapomogowo-pożyczkowa",
        "6. Moduł ZUS",
        "7. Moduł podatkowy",
        "8. Zbiory pomocnicze",
        "9. Funkcje pomocnicze",
        "A. Moduł PFRON",
        "B. Moduł PPK",
    };
    std::vector<common::MenuEntry> entries;
    const int count = ppk_module ? 11 : 10;
    for (int i = 0; i < count; ++i) entries.push_back({7 + i, 22, rt.Text(kTexts[i]), ""});
    return entries;
}

SubsystemMenu SubsystemFor(int choice, const utilities::CompanyHooks& company) {
    if (choice == 9) return [company](common::Runtime& rt) { utilities::Qrm9(rt, company); };
    // Each subsystem's menu replaces NotInThisVersion here as it is built.
    static const std::array<SubsystemMenu, 12> kMenus = {
        nullptr,                   // no choice
        nullptr,                   // 1. Koniec programu: the main loop's own
        registry::Qrm2,            // 2. Kartoteka pracownicza
        worktime::Qrm3,            // 3. Ewidencja czasu pracy
        payroll::Qrm4,             // 4. Płace
        common::NotInThisVersion,  // 5. Kasa zapomogowo-pożyczkowa (QRM5)
        Qrm6,                      // 6. Moduł ZUS
        tax::Qrm7,                 // 7. Moduł podatkowy
        Qrm8,                      // 8. Zbiory pomocnicze
        nullptr,                   // 9. Funkcje pomocnicze: above, with the company hooks
        common::NotInThisVersion,  // A. Moduł PFRON (QRMA)
        common::NotInThisVersion,  // B. Moduł PPK (QRMB)
    };
    if (choice < 0 || choice >= static_cast<int>(kMenus.size())) return nullptr;
    return kMenus[static_cast<size_t>(choice)];
}

}  // namespace kestrel::startup
