// The table layer writes the dates of DBF headers by the runtime's clock
// (the one --now fixes): tables it creates, changes, packs and upgrades.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using Date = std::vector<int>;

// Bytes 1-3 of a DBF header: year - 1900, month, day of the last update.
Date HeaderDate(const std::string& path) {
    const std::string b = dbf::testing::ReadAll(path);
    if (b.size() < 4) return {};
    return {static_cast<unsigned char>(b[1]), static_cast<unsigned char>(b[2]),
            static_cast<unsigned char>(b[3])};
}

TEST(TableLayerDates, HeadersCarryTheRuntimeClocksDate) {
    dbf::testing::ScratchDir dir;
    testing::HeadlessRuntime h;
    h.rt.set_data_dir(dir.path() + "/");
    const std::string pkfunc = dir.File("PKFUNC.DBF");
    const std::vector<std::string> indexes = {"PKFUNC1"};

    // Created on the operator's answer.
    h.clock.Set(base::LocalTime{2031, 5, 17, 9, 0, 0});
    h.backend.AddKeys({'t'});
    {
        Tables tables(h.rt);
        dbf::WorkArea& area = tables.Open("PKFUNC", indexes);
        EXPECT_EQ(HeaderDate(pkfunc), (Date{131, 5, 17}));
        // Changed on another day.
        h.clock.Set(base::LocalTime{2032, 2, 29, 9, 0, 0});
        tables.Append(area);
        area.record().SetString(area.FieldIndex("FUN_"), "F1");
        ASSERT_TRUE(area.Commit().ok());
        EXPECT_EQ(HeaderDate(pkfunc), (Date{132, 2, 29}));
    }
    // Packed: the table and the marks table it creates.
    h.clock.Set(base::LocalTime{2033, 12, 31, 9, 0, 0});
    {
        Tables tables(h.rt);
        tables.Pack("PKFUNC", indexes);
    }
    EXPECT_EQ(HeaderDate(pkfunc), (Date{133, 12, 31}));
    EXPECT_EQ(HeaderDate(dir.File("PKETYK.DBF")), (Date{133, 12, 31}));

    // Upgraded from a layout without the last field.
    std::vector<dbf::FieldSpec> old = FindTable("PKFUNC")->Specs();
    old.pop_back();
    ASSERT_TRUE(dbf::Table::Create(pkfunc, old).ok());
    h.clock.Set(base::LocalTime{2034, 1, 2, 9, 0, 0});
    h.backend.AddKeys({'t'});
    {
        Tables tables(h.rt);
        dbf::WorkArea& area = tables.Open("PKFUNC", indexes);
        EXPECT_EQ(area.table().fields().size(), old.size() + 1);
    }
    EXPECT_EQ(HeaderDate(pkfunc), (Date{134, 1, 2}));
}

}  // namespace
}  // namespace kestrel::common
