#include "startup/main_menu.h"

#include <array>

#include "common/screen/messages.h"
#include "register/menu2.h"
#include "utilities/menu9.h"

namespace kestrel::startup {

void NotInThisVersion(common::Runtime& rt) {
    // Longer than the message cell: shown in a box of the work area.
    constexpr int kTop = 11, kLeft = 17, kBottom = 13, kRight = 61;
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(kTop, kLeft, kBottom, kRight);
    s.Box(kTop, kLeft, kBottom, kRight, std::string(console::kFrameDouble) + " ",
          rt.Standard(rt.colours().ycow));
    s.Write(kTop + 1, kLeft + 2, rt.Text("Funkcja niedostępna w tej wersji programu"),
            rt.Standard(rt.colours().ycowp));
    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
    common::Qrmndk(rt);
    s.Restore(under);
}

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

const SubsystemMenu& SubsystemFor(int choice) {
    // Each subsystem's menu replaces NotInThisVersion here as it is built.
    static const std::array<SubsystemMenu, 12> kMenus = {
        nullptr,           // no choice
        nullptr,           // 1. Koniec programu: the main loop's own
        registry::Qrm2,    // 2. Kartoteka pracownicza
        NotInThisVersion,  // 3. Ewidencja czasu pracy (QRM3)
        NotInThisVersion,  // 4. Płace (QRM4)
        NotInThisVersion,  // 5. Kasa zapomogowo-pożyczkowa (QRM5)
        NotInThisVersion,  // 6. Moduł ZUS (QRM6)
        NotInThisVersion,  // 7. Moduł podatkowy (QRM7)
        NotInThisVersion,  // 8. Zbiory pomocnicze (QRM8)
        utilities::Qrm9,   // 9. Funkcje pomocnicze
        NotInThisVersion,  // A. Moduł PFRON (QRMA)
        NotInThisVersion,  // B. Moduł PPK (QRMB)
    };
    static const SubsystemMenu kNone;
    if (choice < 0 || choice >= static_cast<int>(kMenus.size())) return kNone;
    return kMenus[static_cast<size_t>(choice)];
}

}  // namespace kestrel::startup
