// 9.7.2 "Wybór katalogu firmy".
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "utilities/company_screen_parts.h"

namespace kestrel::utilities {

void Qrm972(common::Runtime& rt, const CompanyHooks& hooks) {
    CompanyTitle(rt, "9.7.2. Wybór katalogu firmy");
    rt.screen().Write(10, 10, rt.Text("Istniejące katalogi:"), rt.Standard(rt.colours().ycow));
    const std::vector<CompanyChoice> rows =
        CompanyChoices(rt, ListCompanies(Root(rt), rt.letters()));
    int current = 0;
    for (size_t i = 1; i < rows.size(); ++i)
        if (IsCurrent(rt, rows[i].company)) current = static_cast<int>(i);
    const int chosen = ChooseCompany(rt, rows, current);
    if (chosen < 0) return;
    const std::string& company = rows[static_cast<size_t>(chosen)].company;
    const bool already = company.empty() ? rt.company().empty() : IsCurrent(rt, company);
    if (already) return;
    const std::string question =
        rt.Text("Wybrać \"") + base::Trim(rows[static_cast<size_t>(chosen)].text) + "\"?.";
    if (!common::IsYes(common::Question(rt, question, "tn", 't'))) return;
    MakeCurrent(rt, hooks, company);
    ForgetOperator(rt);
    throw common::Abandon("");
}

}  // namespace kestrel::utilities
