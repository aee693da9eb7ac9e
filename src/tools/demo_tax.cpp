#include "tools/demo_tax.h"

#include <set>

#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/codepage/cp852.h"
#include "tax/data/tax_scale.h"
#include "tools/demo_runtime.h"

namespace kestrel::tools {
namespace {

using tax::kOpenBound;
using tax::ScaleRow;

// The scale of the personal income tax act (art. 27 ust. 1) as the
// payroll's advances apply it; KWOTA_POD is the tax on the lower bound
// before the tax-reducing amount is taken off.
//  - January to June 2022: 17 % up to 120 000, above it 15 300 + 32 % of
//    the excess after the reducing amount of 5 100 a year (425 a month),
//    so 20 400 before it (prawo.pl, "Skala podatkowa i progi podatkowe w
//    Polsce"; marciniuk.com, "Skala podatkowa").
//  - From July 2022: 12 % up to 120 000, above it 10 800 + 32 % after the
//    reducing amount of 3 600 (300 a month), so 14 400 before it; unchanged
//    in 2023-2026 (the payroll parameters collected for the shipped setup)
//    and carried on into 2027 until a change is announced.
std::vector<ScaleRow> DemoScales() {
    std::vector<ScaleRow> rows = {
        {2022, 1, 6, 0, 120000, 0, 17, 5100},
        {2022, 1, 6, 120000, kOpenBound, 20400, 32, 5100},
        {2022, 7, 12, 0, 120000, 0, 12, 3600},
        {2022, 7, 12, 120000, kOpenBound, 14400, 32, 3600},
    };
    for (int year = 2023; year <= 2027; ++year) {
        rows.push_back({year, 1, 12, 0, 120000, 0, 12, 3600});
        rows.push_back({year, 1, 12, 120000, kOpenBound, 14400, 32, 3600});
    }
    return rows;
}

}  // namespace

base::Status AddDemoTaxScales(const std::string& dir, const base::Clock& clock) {
    DemoRuntime demo(dir, clock);
    try {
        common::Tables tables(demo.rt);
        dbf::WorkArea& tab = tax::OpenScaleTable(tables);
        // The shipped setup brings the years it knows; the demo adds the
        // years it has none of.
        std::set<int> years;
        const int year_field = tab.FieldIndex("ROK_");
        for (base::Status s = tab.GoTop(); s.ok() && !tab.eof(); s = tab.Skip(1))
            years.insert(static_cast<int>(tab.record().GetNumber(year_field)));
        for (const ScaleRow& row : DemoScales()) {
            if (years.count(row.year) != 0) continue;
            tables.Append(tab);
            base::Status s = tax::WriteRow(tab, row);
            if (s.ok()) s = tab.Commit();
            tab.Unlock();
            if (!s.ok()) return s;
        }
    } catch (const common::Abandon& e) {
        return base::Status::IOError(codepage::ToUtf8(e.message()));
    }
    return base::Status::Ok();
}

}  // namespace kestrel::tools
