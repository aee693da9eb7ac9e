#include "payroll/printouts/data/annual_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

AnnualSummary Summary() {
    AnnualSummary s;
    AnnualEmployee e;
    e.number = "000001";
    e.name = codepage::FromUtf8("Nowak Żaneta");
    e.department = "02";
    AnnualRow zasd;
    zasd.symbol = "ZASD";
    zasd.name = codepage::FromUtf8("Płaca zasadnicza");
    zasd.months[0] = 1000;
    zasd.months[11] = 1234.56;
    zasd.year = 2234.56;
    AnnualRow zali;
    zali.symbol = "ZALI";
    zali.months[5] = 80;
    zali.year = 80;
    e.rows = {zali, zasd};
    s.employees.push_back(e);
    AnnualEmployee other;
    other.number = "000002";
    other.rows = {zasd};
    s.employees.push_back(other);
    return s;
}

TEST(AnnualExport, ReadsBackRecordByRecord) {
    testing::PayCompany c;
    std::string path, message;
    ASSERT_TRUE(ExportAnnual(c.h.rt, Summary(), 2026, c.h.rt.data_dir(), &path, &message))
        << message;
    EXPECT_EQ(path, c.h.rt.data_dir() + "ROCZ2026.DBF");
    EXPECT_FALSE(std::filesystem::exists(c.h.rt.data_dir() + "ROCZ2026.TMP"));
    std::unique_ptr<dbf::Table> t;
    ASSERT_TRUE(dbf::Table::Open(path, {}, &t).ok());
    std::vector<std::string> rows;
    t->Scan(1, [&](uint32_t, const dbf::Record& r) {
        std::string row =
            base::TrimRight(r.GetString(t->FieldIndex("NR_PRAC"))) + "|" +
            codepage::ToUtf8(base::TrimRight(r.GetString(t->FieldIndex("NAZWISKO")))) + "|" +
            base::TrimRight(r.GetString(t->FieldIndex("DZIAL_"))) + "|" +
            base::TrimRight(r.GetString(t->FieldIndex("SKLADN_PL"))) + "|" +
            codepage::ToUtf8(base::TrimRight(r.GetString(t->FieldIndex("NAZWA_"))));
        for (const char* f : {"M01", "M06", "M12", "ROK"})
            row += "|" + base::Trim(r.GetString(t->FieldIndex(f)));
        rows.push_back(row);
        return base::Status::Ok();
    });
    EXPECT_EQ(rows, (std::vector<std::string>{
                        "000001|Nowak Żaneta|02|ZALI||0.00|80.00|0.00|80.00",
                        "000001|Nowak Żaneta|02|ZASD|Płaca zasadnicza|1000.00|0.00|1234.56|2234.56",
                        "000002|||ZASD|Płaca zasadnicza|1000.00|0.00|1234.56|2234.56",
                    }));
    EXPECT_EQ(t->fields().size(), 18u);
}

// An export that cannot be written leaves the file of the earlier one.
TEST(AnnualExport, AFailedExportKeepsTheEarlierFile) {
    testing::PayCompany c;
    std::string path, message;
    ASSERT_TRUE(ExportAnnual(c.h.rt, Summary(), 2026, c.h.rt.data_dir(), &path, &message));
    const auto size = std::filesystem::file_size(path);
    // The work name taken by a directory that cannot be removed.
    std::filesystem::create_directories(c.h.rt.data_dir() + "ROCZ2026.TMP/x");
    AnnualSummary empty;
    EXPECT_FALSE(ExportAnnual(c.h.rt, empty, 2026, c.h.rt.data_dir(), &path, &message));
    EXPECT_EQ(codepage::ToUtf8(message), "Błąd tworzenia pliku ROCZ2026.DBF");
    EXPECT_EQ(std::filesystem::file_size(path), size);
    EXPECT_FALSE(ExportAnnual(c.h.rt, empty, 2026, c.h.rt.data_dir() + "NIEMA/", &path, &message));
    EXPECT_FALSE(std::filesystem::exists(c.h.rt.data_dir() + "NIEMA"));
}

}  // namespace
}  // namespace kestrel::payroll
