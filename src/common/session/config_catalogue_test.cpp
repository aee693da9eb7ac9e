#include "common/session/config_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrel::common {
namespace {

TEST(ConfigCatalogue, EveryVariableOnceWithAKnownTypeAndFittingDefaults) {
    const auto& cat = ConfigCatalogue();
    EXPECT_EQ(cat.size(), 231u);
    std::set<std::string_view> names;
    for (const auto& e : cat) {
        EXPECT_TRUE(names.insert(e.name).second) << e.name;
        EXPECT_NE(std::string_view("CNLD").find(e.type), std::string_view::npos) << e.name;
        EXPECT_LE(e.name.size(), 10u) << e.name;
        EXPECT_FALSE(e.description.empty()) << e.name;
        for (const CatalogueValue* v : {&e.startup, &e.list}) {
            switch (v->kind) {
                case CatalogueValue::Kind::kText:
                case CatalogueValue::Kind::kBlanks:
                    EXPECT_EQ(e.type, 'C') << e.name;
                    break;
                case CatalogueValue::Kind::kLogical:
                    EXPECT_EQ(e.type, 'L') << e.name;
                    break;
                case CatalogueValue::Kind::kNumber:
                    EXPECT_EQ(e.type, 'N') << e.name;
                    break;
                case CatalogueValue::Kind::kEmptyDate:
                    EXPECT_EQ(e.type, 'D') << e.name;
                    break;
                default:
                    break;
            }
        }
        // A variable the editor offers has a value to add it with.
        if (e.offered) {
            EXPECT_NE(e.list.kind, CatalogueValue::Kind::kNone) << e.name;
        }
    }
}

TEST(ConfigCatalogue, SpotChecks) {
    const CatalogueEntry* fp = FindCatalogueEntry("naglfp");
    ASSERT_NE(fp, nullptr);
    EXPECT_EQ(fp->type, 'N');
    EXPECT_EQ(fp->width, 5);
    EXPECT_EQ(fp->list.number, 2.45);
    EXPECT_EQ(fp->startup.number, 0);
    EXPECT_EQ(fp->description, "Procent na Fundusz Pracy");

    const CatalogueEntry* ppk = FindCatalogueEntry("NAGLPPK20");
    ASSERT_NE(ppk, nullptr);
    EXPECT_FALSE(ppk->offered);
    EXPECT_TRUE(ppk->list.logical);

    EXPECT_EQ(FindCatalogueEntry("NAGL1")->startup.kind, CatalogueValue::Kind::kNone);
    EXPECT_EQ(FindCatalogueEntry("NAGL2")->startup.blanks, 30);
    EXPECT_EQ(FindCatalogueEntry("NAGL5")->startup.kind, CatalogueValue::Kind::kComputed);
    EXPECT_EQ(FindCatalogueEntry("NAGLMSKON")->list.text, "@R 999-999999999");
    EXPECT_EQ(FindCatalogueEntry("NAGL51")->description, " - parametr ignorowany");
    EXPECT_FALSE(FindCatalogueEntry("NAGL51")->offered);
    EXPECT_EQ(FindCatalogueEntry("NAGLTYPZ")->startup.text, "2");
    EXPECT_EQ(FindCatalogueEntry("NAGLPKD")->startup.blanks, 5);
    EXPECT_EQ(FindCatalogueEntry("NAGL16")->startup.kind, CatalogueValue::Kind::kEmptyDate);
    EXPECT_EQ(FindCatalogueEntry("NAGLDWK"), nullptr);  // start-up knows it, the editor does not
}

}  // namespace
}  // namespace kestrel::common
