#include "payroll/bank/menu4a.h"

#include "common/screen/menu.h"

namespace kestrel::payroll {

void Qrm4A(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Tworzenie plików"), [&rt] { Qrm4A2(rt); }},
        {rt.Text("Zarządzanie plikami typu ROR"), [&rt] { Qrm4A3(rt); }},
        {rt.Text("Wydruk indywidualnych przelewów"), [&rt] { Qrm4A4(rt); }},
        {rt.Text("Parametry połączenia"), [&rt] { Qrm4A5(rt); }},
        {rt.Text("Zbiorcze zestawienie wypłat typu ROR"), [&rt] { Qrm4A6(rt); }},
        {rt.Text("Wydruk zbiorczych przelewów"), [&rt] { Qrm4A7(rt); }},
        {rt.Text("Konfiguracja katalogów z plikami ROR"), [&rt] { Qrm4A8(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("4.A. Połączenie z systemem ROR"), "4.A.", items, {8, 26});
}

}  // namespace kestrel::payroll
