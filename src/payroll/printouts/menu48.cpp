#include "payroll/printouts/menu48.h"

#include "common/screen/menu.h"
#include "payroll/printouts/annual_screen.h"
#include "payroll/printouts/control_list_screen.h"
#include "payroll/printouts/denominations_screen.h"
#include "payroll/printouts/matrix_editor.h"
#include "payroll/printouts/month_statements_screen.h"
#include "payroll/printouts/payroll_list_screen.h"
#include "payroll/printouts/summary_screens.h"

namespace kestrel::payroll {

void Qrm48(common::Runtime& rt) {
    const std::vector<common::SubMenuItem> items = {
        {rt.Text("Koniec"), nullptr},
        {rt.Text("Kontrolny wydruk listy płac"), [&rt] { Qrm482(rt); }},
        {rt.Text("Lista płac"), [&rt] { Qrm483(rt); }},
        {rt.Text("Zestawienie wybranych składn. z list płac w m-cu"), [&rt] { Qrm484(rt); }},
        {rt.Text("Zbiorcze zestawienie list płac za wybrany okres"), [&rt] { Qrm485(rt); }},
        {rt.Text("Roczne zestaw. składników płacowych na pracown."), [&rt] { Qrm486(rt); }},
        {rt.Text("Matryce tabulogramów"), [&rt] { Qrm487(rt); }},
        {rt.Text("Tablica nominałów"), [&rt] { Qrm488(rt); }},
        {rt.Text("Zestawienie płac za wybrany okres"), [&rt] { Qrm489(rt); }},
        {rt.Text("Miesięczne zestawienie wg kont kosztów"), [&rt] { Qrm48A(rt); }},
        {rt.Text("Eksport rocznego zestaw. składników do pliku DBF"), [&rt] { Qrm48B(rt); }},
        {rt.Text("Miesięczne zestawienie etatów wg przepisów PFRON"), [&rt] { Qrm48C(rt); }},
    };
    common::RunSubMenuAt(rt, rt.Text("4.8. Wydruki"), "4.8.", items, {8, 26});
}

}  // namespace kestrel::payroll
