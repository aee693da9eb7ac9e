#include "printing/data/spool_register.h"

#include <gtest/gtest.h>

#include "platform/base/files.h"
#include "test_company.h"

namespace kestrel::printing {
namespace {

using registry::testing::TestCompany;

SpoolEntry Entry(const std::string& file, const std::string& time, const std::string& title) {
    SpoolEntry e;
    e.file = file;
    e.date = "2026-12-08";
    e.time = time;
    e.size = 1234;
    e.pages = 3;
    e.type = 'E';
    e.title = title;
    return e;
}

TEST(SpoolRegister, AFileNameAlreadyListedReusesItsRecord) {
    TestCompany c;
    c.Make("PKLWYD", {{{"NAZWA_ZB", "2.PRT"}, {"TYTUL_", "Stary"}},
                      {{"NAZWA_ZB", "5.PRT"}, {"TYTUL_", "Inny"}}});
    RegisterSpoolFile(c.tables, Entry("2.PRT", "10:15", registry::testing::Cp("Lista obecności")));
    RegisterSpoolFile(c.tables, Entry("7.PRT", "10:20", "Karta"));
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKLWYD", "TYTUL_"),
              (std::vector<std::string>{"Lista obecności", "Inny", "Karta"}));
    EXPECT_EQ(c.Records("PKLWYD", "WIELKOSC_"),
              (std::vector<std::string>{"     1234", "", "     1234"}));
    EXPECT_EQ(c.Records("PKLWYD", "IL_STRON"), (std::vector<std::string>{"   3", "", "   3"}));
}

TEST(SpoolRegister, ADeletedRecordIsRecalledAndDuplicatesGo) {
    TestCompany c;
    c.Make("PKLWYD", {{{"NAZWA_ZB", "1.PRT"}, {"TYTUL_", "A"}},
                      {{"NAZWA_ZB", "1.PRT"}, {"TYTUL_", "B"}},
                      {{"NAZWA_ZB", "3.PRT"}, {"TYTUL_", "C"}}});
    ForgetSpoolFile(c.tables, "3.prt");
    RegisterSpoolFile(c.tables, Entry("1.PRT", "11:00", "Nowy"));
    RegisterSpoolFile(c.tables, Entry("3.PRT", "09:00", "Znowu"));
    const std::vector<SpoolEntry> listed = ReadSpoolEntries(c.tables);
    c.tables.CloseAll();
    EXPECT_EQ(c.Records("PKLWYD", "TYTUL_"), (std::vector<std::string>{"Nowy", "B*", "Znowu"}));
    ASSERT_EQ(listed.size(), 2u);  // oldest first
    EXPECT_EQ(listed[0].file, "3.PRT");
    EXPECT_EQ(listed[1].file, "1.PRT");
    EXPECT_EQ(listed[1].size, 1234);
    EXPECT_EQ(listed[1].pages, 3);
    EXPECT_EQ(listed[1].type, 'E');
}

TEST(SpoolRegister, DescribesTheFileAsItIsOnDisk) {
    TestCompany c;
    const std::string path = c.dir.File("4.PRT");
    ASSERT_TRUE(base::WriteFileAtomically(path, "A\r\n\fB\r\n\fC\r\n").ok());
    const SpoolEntry e = DescribeSpoolFile(path, {2026, 12, 8, 9, 5, 0}, 'L', "Tytuł");
    EXPECT_EQ(e.file, "4.PRT");
    EXPECT_EQ(e.date, "2026-12-08");
    EXPECT_EQ(e.time, "09:05");
    EXPECT_EQ(e.size, 11);
    EXPECT_EQ(e.pages, 3);
}

}  // namespace
}  // namespace kestrel::printing
