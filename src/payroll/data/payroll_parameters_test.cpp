#include "payroll/data/payroll_parameters.h"

#include <gtest/gtest.h>

#include "payroll_company.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/index.h"

namespace kestrel::payroll {
namespace {

using testing::PayCompany;

// Writes PKWALOR1.NTX with the key expression `expression` over PKWALOR.
void WriteValorisationIndex(PayCompany& c, const std::string& expression) {
    c.tables.CloseAll();
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(c.dir.File("PKWALOR.DBF"), {}, &t).ok());
    const int year = t->FieldIndex("ROK_"), month = t->FieldIndex("MIESIAC_");
    dbf::IndexDefinition def;
    def.key_expression = expression;
    def.key = [year, month](const dbf::Record& r, std::string* key) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%4d%2d", static_cast<int>(r.GetNumber(year)),
                      static_cast<int>(r.GetNumber(month)));
        *key = buf;
    };
    ASSERT_TRUE(dbf::Index::Create(c.dir.File("PKWALOR1.NTX"), t.get(), def).ok());
    ASSERT_TRUE(t->Close().ok());
}

// The index the valorisation table is sought by must zero-pad the month:
// one written with str(miesiac_,2) is outdated, the catalogue's key (in any
// letter case and spacing) is not, and a missing file is built on opening.
TEST(PayrollParameters, AnIndexWithoutTheZeroPaddedMonthIsOutdated) {
    PayCompany c;
    const std::string dir = c.h.rt.data_dir();
    EXPECT_FALSE(ValorisationIndexOutdated(dir));
    WriteValorisationIndex(c, "str(rok_,4)+str(miesiac_,2)");
    EXPECT_TRUE(ValorisationIndexOutdated(dir));
    WriteValorisationIndex(c, "STR(ROK_,4) + STRZERO(MIESIAC_,2)");
    EXPECT_FALSE(ValorisationIndexOutdated(dir));
}

TEST(PayrollParameters, ValorisationRowsAreKeyedByYearAndMonth) {
    PayCompany c;
    dbf::WorkArea& walor = OpenValorisation(c.tables);
    struct Case {
        Valorisation row;
        std::string refusal;  // UTF-8
    } cases[] = {
        {{2026, 12, 3.5}, ""},
        {{2026, 2, 1.25}, ""},
        {{2026, 12, 9}, "Istnieje rekord o takim kluczu"},
        {{2026, 13, 1}, "Błędny miesiąc"},
        {{2026, 0, 1}, "Błędny miesiąc"},
        {{1899, 5, 1}, "Błędny rok"},
        {{2025, 12, 2}, ""},
    };
    for (const Case& k : cases)
        EXPECT_EQ(codepage::ToUtf8(AddValorisation(c.h.rt, c.tables, walor, k.row)), k.refusal)
            << k.row.year << "-" << k.row.month;
    // A deleted row's key may be added again and reuses its record.
    ASSERT_TRUE(walor.Seek(ValorisationKey(2026, 2)).ok() && walor.found());
    DeleteValorisation(c.h.rt, c.tables, walor);
    EXPECT_EQ(AddValorisation(c.h.rt, c.tables, walor, {2026, 2, 4}), "");
    ChangeValorisation(c.h.rt, c.tables, walor, 4.444);
    std::vector<std::string> order;
    for (base::Status s = walor.GoTop(); s.ok() && !walor.eof(); s = walor.Skip(1)) {
        const Valorisation v = ReadValorisation(walor);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d-%d %.2f", v.year, v.month, v.percent);
        order.push_back(buf);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"2025-12 2.00", "2026-2 4.44", "2026-12 3.50"}));
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKWALOR", "MIESIAC_").size(), 3u);
}

TEST(PayrollParameters, TheControlRecordIsReadAndWrittenByFieldName) {
    PayCompany c;
    ControlValues v;
    ASSERT_TRUE(ReadControl(c.tables, {"MC_", "POLE_7A", "NO_SUCH"}, {"OPIS_P7A"}, &v));
    EXPECT_EQ(v.numbers["MC_"], 3);
    EXPECT_EQ(v.numbers["NO_SUCH"], 0);
    v.numbers["POLE_7A"] = 1234.5;
    v.numbers["NO_SUCH"] = 1;
    v.texts["OPIS_P7A"] = codepage::FromUtf8("Ryczałt");
    WriteControl(c.h.rt, c.tables, v);
    c.tables.CloseAll();
    EXPECT_EQ(base::Trim(c.Records("PKSTER", "POLE_7A")[0]), "1234.50");
    EXPECT_EQ(c.Records("PKSTER", "OPIS_P7A"), (std::vector<std::string>{"Ryczałt"}));

    c.Make("PKSTER");
    ControlValues none;
    EXPECT_FALSE(ReadControl(c.tables, {"MC_"}, {}, &none));
}

}  // namespace
}  // namespace kestrel::payroll
