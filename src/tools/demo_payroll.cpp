#include "tools/demo_payroll.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "payroll/data/formula_update.h"
#include "payroll/data/list_register.h"
#include "payroll/data/recalculation.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "platform/memfile/mem_file.h"
#include "tax/data/tax_scale.h"
#include "tools/demo_runtime.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tools {
namespace {

// A warning of the demo's own recalculation is a fault of the demo's setup.
struct DemoWatch : payroll::RecalcObserver {
    std::string warning;
    void Warn(const std::string& message) override {
        if (warning.empty()) warning = message;
    }
    bool FunctionError(const std::string& message) override {
        if (warning.empty()) warning = message;
        return false;
    }
};

}  // namespace

base::Status AddDemoPayrollSetup(const std::string& dir, const base::Clock& clock) {
    DemoRuntime demo(dir, clock);
    common::Runtime& rt = demo.rt;
    // The company's tables came with the shipped payroll setup; the formula
    // updater adds the standard functions its components call (ren1, zdr,
    // ...), as the program does for a company whose tables it upgrades.
    try {
        common::Tables tables(rt);
        payroll::ApplyFormulaUpdates(tables, payroll::ShippedDefinitionsFor(rt));
    } catch (const common::Abandon& e) {
        return base::Status::IOError(codepage::ToUtf8(e.message()));
    }
    return base::Status::Ok();
}

base::Status AddDemoPayrollMonth(const std::string& dir, const base::Clock& clock) {
    DemoRuntime demo(dir, clock);
    common::Runtime& rt = demo.rt;
    // The company's configuration, as the program works with it.
    std::vector<memfile::MemEntry> entries;
    if (memfile::ReadMemFile(base::FindNoCase(rt.data_dir(), "QRM.MEM"), &entries).ok())
        rt.config().Assign(std::move(entries));
    try {
        payroll::PayrollList list;
        {
            common::Tables tables(rt);
            payroll::ListRegister lists(rt, tables);
            if (lists.area().table().record_count() != 0) return base::Status::Ok();
            const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
            // A month the demo's tax scales do not cover gets no list.
            try {
                tax::Qrmtabela(rt, m.year, m.month);
            } catch (const common::Abandon&) {
                return base::Status::Ok();
            }
            char paid[16];
            std::snprintf(paid, sizeof paid, "%04d%02d%02d", m.year, m.month,
                          base::DaysInMonth(m.year, m.month));
            payroll::NewList request;
            request.symbol = "A";
            request.paid = paid;
            if (const std::string refusal = lists.Open(request, &list); !refusal.empty())
                return base::Status::IOError(codepage::ToUtf8(refusal));
        }
        common::Tables tables(rt);
        DemoWatch watch;
        payroll::Recalculation run(rt, tables, list, &watch);
        std::string refusal = run.Check();
        if (refusal.empty()) {
            run.OpenTables(true);
            refusal = run.Run({}).message;
        }
        if (refusal.empty()) refusal = watch.warning;
        if (!refusal.empty()) return base::Status::IOError(codepage::ToUtf8(refusal));
    } catch (const common::Abandon& e) {
        return base::Status::IOError(codepage::ToUtf8(e.message()));
    }
    return base::Status::Ok();
}

}  // namespace kestrel::tools
