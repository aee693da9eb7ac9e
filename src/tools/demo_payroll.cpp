#include "tools/demo_payroll.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
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

using Fields = std::vector<std::pair<const char*, const char*>>;

struct DemoComponent {
    const char* symbol;
    const char* name;
    const char* kind;
    int order;
    const char* algorithm;
    bool deduction;
    bool off_list;
};

// In calculation order. DOWY is an auxiliary amount (off the list): what
// the employee is paid.
const DemoComponent kComponents[] = {
    {"ZASD", "Płaca zasadnicza", "A", 10, "pkprac->st_podst", false, false},
    {"PREU", "Premia uznaniowa", "K", 20, "", false, false},
    {"BRUT", "Wynagrodzenie brutto", "A", 30, "ZASD+PREU", false, true},
    {"SPOL", "Składki społeczne pracownika", "A", 40, "yround(BRUT*0.1371, 2)", true, false},
    {"ZDRO", "Składka zdrowotna", "A", 50, "yround((BRUT-SPOL)*0.09, 2)", true, false},
    {"ZALI", "Zaliczka na podatek", "A", 60, "max(0, yround((BRUT-SPOL-250)*0.12-300, 0))", true,
     false},
    {"DOWY", "Do wypłaty", "A", 70, "BRUT-SPOL-ZDRO-ZALI", false, true},
};

void Write(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& a, const Fields& fields,
           const char* memo_field = nullptr, const char* memo = nullptr) {
    tables.Append(a);
    for (const auto& [field, value] : fields) {
        const int f = a.FieldIndex(field);
        if (f < 0) continue;
        if (a.table().fields()[static_cast<size_t>(f)].type == dbf::FieldType::kLogical)
            a.record().SetLogical(f, std::string(value) == "T");
        else if (a.table().fields()[static_cast<size_t>(f)].type == dbf::FieldType::kNumeric)
            a.record().SetNumber(f, std::strtod(value, nullptr));
        else
            a.record().SetString(f, rt.Text(value));
    }
    base::Status s = base::Status::Ok();
    if (memo_field != nullptr && memo != nullptr && *memo != '\0')
        s = a.WriteMemo(a.FieldIndex(memo_field), rt.Text(memo));
    if (s.ok()) s = a.Commit();
    a.Unlock();
    if (!s.ok()) throw common::Abandon(rt.Text("Błąd zapisu: ") + a.alias());
}

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
    try {
        common::Tables tables(rt);
        dbf::WorkArea& slst = tables.Open("PKSLST", common::IndexFiles("PKSLST"));
        if (slst.table().record_count() == 0) {
            Write(rt, tables, slst, {{"TYP_LST", "A"}, {"NAZWA_LST", "Lista płac etatowych"}});
            Write(rt, tables, slst,
                  {{"TYP_LST", "Z"},
                   {"NAZWA_LST", "Umowy zlecenia"},
                   {"LOCAL_NR", "T"},
                   {"BEZOSOB_FP", "T"},
                   {"TYP_UZ_UD", "Z"}});
        }
        dbf::WorkArea& spl = tables.Open("PKSPL", common::IndexFiles("PKSPL"));
        if (spl.table().record_count() == 0) {
            for (const DemoComponent& c : kComponents) {
                const std::string order = std::to_string(c.order);
                Write(rt, tables, spl,
                      {{"SKLADN_PL", c.symbol},
                       {"NAZWA_", c.name},
                       {"TYP_", c.kind},
                       {"SEKW_OBL", order.c_str()},
                       {"IL_MC_WST", "0"},
                       {"POTRAC_", c.deduction ? "T" : "F"},
                       {"POZA_LISTA", c.off_list ? "T" : "F"},
                       {"TYP_LISTY", "A"},
                       {"DRUK_", "T"},
                       {"SEKW_WYDR", order.c_str()}},
                      "ALGORYTM_", c.algorithm);
            }
        }
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
