#include "payroll/menu4.h"

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "payroll/bank/menu4a.h"
#include "payroll/component_entry.h"
#include "payroll/lists_screen.h"
#include "payroll/month_close_screen.h"
#include "payroll/parameters_screen.h"
#include "payroll/piecework_screen.h"
#include "payroll/printouts/menu48.h"
#include "payroll/recalc_screen.h"
#include "payroll/review_screen.h"

namespace kestrel::payroll {
namespace {

// The entries whose functions this version lacks: each keeps its number in
// the menu and answers "Funkcja niedostępna w tej wersji programu".
void Missing(common::Runtime& rt) {
    common::NotInThisVersion(rt);
}

}  // namespace

void Qrm4(common::Runtime& rt) {
    const char* piecework = rt.config().Logical("NAGLAKORD")
                                ? "Połączenie z systemem rozliczania akordu"
                                : "Przepisanie kwot akordu na listę płac";
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Otwieranie/zamykanie list płac"), [&rt] { Qrm42(rt); }},
        {rt.Text(piecework), [&rt] { Qrm43(rt); }},
        {rt.Text("Rejestracja składników płacowych"), [&rt] { Qrm44(rt); }},
        {rt.Text("Przeliczanie listy płac"), [&rt] { Qrm45(rt); }},
        {rt.Text("Przeglądanie i korekta"), [&rt] { Qrm46(rt); }},
        {rt.Text("Zamknięcie starego i otwarcie nowego miesiąca"), [&rt] { Qrm47(rt); }},
        {rt.Text("Wydruki"), [&rt] { Qrm48(rt); }},
        {rt.Text("Parametry systemu"), [&rt] { Qrm49(rt); }},
        {rt.Text("Połączenie z systemem ROR"), [&rt] { Qrm4A(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("4. Płace"), "4.", items, {8, 24});
}

}  // namespace kestrel::payroll
