#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/session/temp_file.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "headless_runtime.h"
#include "platform/base/files.h"
#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::common {
namespace {

using dbf::testing::ScratchDir;

struct Company {
    ScratchDir dir;
    testing::HeadlessRuntime h;
    Company() {
        h.rt.set_data_dir(dir.path() + "/");
        for (const char* t : {"PKETYK", "PKWALOR"})
            EXPECT_TRUE(
                dbf::Table::Create(dir.File(std::string(t) + ".DBF"), FindTable(t)->Specs()).ok());
    }
};

TEST(TablePack, NumericRangesFollowWidthAndDecimals) {
    ScratchDir dir;
    ASSERT_TRUE(dbf::Table::Create(dir.File("T.DBF"), {{"A", dbf::FieldType::kNumeric, 4, 0},
                                                       {"B", dbf::FieldType::kNumeric, 5, 2}})
                    .ok());
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(dir.File("T.DBF"), {}, &t).ok());
    struct Case {
        const char* a;
        const char* b;
        bool in_range;
    };
    const Case cases[] = {
        {"9999", "99.99", true},  {"-999", "-9.99", true},  {"    ", "     ", true},
        {"   0", " 0.00", true},  {"1E10", " 1.00", false}, {"   1", "123.4", false},
        {"   1", "-10.0", false}, {"   1", "0.001", false}, {"-1E4", " 1.00", false},
    };
    dbf::Record rec = t->NewRecord();
    for (const Case& c : cases) {
        rec.SetRaw(0, c.a);
        rec.SetRaw(1, c.b);
        EXPECT_EQ(NumbersInRange(rec), c.in_range) << c.a << " " << c.b;
    }
}

TEST(TablePack, DropsDeletedAndDamagedRecordsAndRebuildsIndexes) {
    Company c;
    {
        Tables tables(c.h.rt);
        dbf::WorkArea& area = tables.Open("PKWALOR", {"PKWALOR1"});
        const int rok = area.FieldIndex("ROK_");
        const int mc = area.FieldIndex("MIESIAC_");
        const int pr = area.FieldIndex("PR_WALOR");
        struct Row {
            const char* rok;
            const char* pr;
            bool deleted;
        };
        for (const Row& r :
             {Row{"2024", " 1.50", false}, Row{"2023", " 2.50", true}, Row{"1E10", " 3.00", false},
              Row{"2022", "0.001", false}, Row{"2021", " 4.25", false}}) {
            tables.Append(area);
            area.record().SetRaw(rok, r.rok);
            area.record().SetNumber(mc, 1);
            area.record().SetRaw(pr, r.pr);
            ASSERT_TRUE(area.Commit().ok());
            if (r.deleted) {
                ASSERT_TRUE(area.Delete().ok());
            }
        }
    }
    Tables tables(c.h.rt);
    tables.Pack("pkwalor", {"PKWALOR1"});
    EXPECT_FALSE(tables.exclusive());
    EXPECT_FALSE(base::Exists(c.dir.File("PKWALOR@.DBF")));

    dbf::WorkArea& area = tables.Open("PKWALOR", {"PKWALOR1"});
    EXPECT_EQ(area.table().record_count(), 2u);
    EXPECT_TRUE(area.index(0).Check(&area.table()).ok());
    std::vector<std::string> years;
    while (!area.eof()) {
        years.push_back(area.record().GetString(area.FieldIndex("ROK_")));
        ASSERT_TRUE(area.Skip(1).ok());
    }
    EXPECT_EQ(years, (std::vector<std::string>{"2021", "2024"}));

    dbf::WorkArea& etyk = tables.Open("PKETYK");
    ASSERT_FALSE(etyk.eof());
    EXPECT_EQ(etyk.record().GetString(etyk.FieldIndex("NAZWA_ZB")), "PKWALOR ");
    EXPECT_FALSE(etyk.record().GetLogical(etyk.FieldIndex("BLAD_IND")));
    EXPECT_EQ(etyk.table().record_count(), 1u);
}

TEST(TablePack, OtherDirectoriesKeepTheirOwnMarksAndMayKeepEveryNumber) {
    Company c;
    const std::string sub = c.dir.File("AKORD") + "/";
    ASSERT_EQ(::mkdir(sub.c_str(), 0755), 0);
    ASSERT_TRUE(dbf::Table::Create(sub + "PKWALOR.DBF", FindTable("PKWALOR")->Specs()).ok());
    {
        std::unique_ptr<dbf::Table> t;
        ASSERT_TRUE(dbf::Table::Open(sub + "PKWALOR.DBF", {}, &t).ok());
        dbf::Record rec = t->NewRecord();
        for (const char* rok : {"2024", "1E10", "2023"}) {
            rec.SetRaw(0, rok);
            rec.set_deleted(std::string(rok) == "2023");
            uint32_t n = 0;
            ASSERT_TRUE(t->Append(rec, &n).ok());
        }
    }
    Tables tables(c.h.rt);
    tables.PackIn(sub, "PKWALOR", {"PKWALOR1"}, false);
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(sub + "PKWALOR.DBF", {}, &t).ok());
    EXPECT_EQ(t->record_count(), 2u);  // the damaged number stays, the deleted record goes
    EXPECT_TRUE(base::Exists(sub + "PKWALOR1.NTX"));
    EXPECT_TRUE(base::Exists(sub + "PKETYK.DBF"));
    EXPECT_FALSE(base::Exists(c.dir.File("PKWALOR1.NTX")));
}

TEST(TempFile, NamesAreFreeAndDifferentWithinOneHundredth) {
    ScratchDir dir;
    base::FixedClock clock{base::LocalTime{2026, 12, 8, 9, 30, 15}};
    const std::string a = TempFile(dir.path(), clock);
    const std::string b = TempFile(dir.path() + "/", clock);
    ASSERT_FALSE(a.empty());
    EXPECT_NE(a, b);
    EXPECT_EQ(a.substr(a.size() - 9, 6), "421500");  // 34215 seconds → 3421500 hundredths
    EXPECT_EQ(a.back(), '.');
    EXPECT_FALSE(base::Exists(a));
    // A name in use is skipped.
    auto after = [](const std::string& name, int step) {
        const int n = (std::stoi(name.substr(name.size() - 3, 2)) + step) % 100;
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02d", n);
        return name.substr(0, name.size() - 3) + digits + ".";
    };
    dbf::testing::WriteAll(after(b, 1), "x");
    EXPECT_EQ(TempFile(dir.path(), clock), after(b, 2));
    EXPECT_EQ(TempFile(dir.path() + "/missing/dir", clock), "");
}

}  // namespace
}  // namespace kestrel::common
