#include "startup/formula_updates.h"

#include <memory>
#include <vector>

#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "payroll/data/formula_update.h"
#include "platform/base/files.h"
#include "platform/console/keys.h"

namespace kestrel::startup {

void OfferFormulaUpdates(common::Runtime& rt) {
    if (rt.config().Logical("NAGLIIN")) return;
    if (!base::Exists(base::FindNoCase(rt.data_dir(), "PKSPL.DBF"))) return;
    const payroll::StandardDefinitions defs = payroll::ShippedDefinitionsFor(rt);
    common::Tables tables(rt);
    if (payroll::DueUpdateSteps(tables, defs).empty()) return;

    common::WriteMessage(rt, rt.Text("Aktualizacja algorytmów płacowych"),
                         rt.Standard(rt.colours().ycowp));
    rt.console().Tone(common::kToneFrequency, common::kToneTicks);
    const char answer = common::Question(rt, rt.Text("Wykonać?"), "tn");
    common::ClearMessageRow(rt);
    if (!common::IsYes(answer) || rt.console().LastKey() == console::key::kEsc)
        throw common::Abandon("");
    common::ShowWait(rt);
    payroll::ApplyFormulaUpdates(tables, defs);
}

void InstallFormulaUpdates(common::Runtime& rt) {
    auto running = std::make_shared<bool>(false);
    rt.set_after_upgrade([&rt, running](std::string_view) {
        if (*running) return;
        *running = true;
        struct Done {
            bool& flag;
            ~Done() { flag = false; }
        } done{*running};
        OfferFormulaUpdates(rt);
    });
}

}  // namespace kestrel::startup
