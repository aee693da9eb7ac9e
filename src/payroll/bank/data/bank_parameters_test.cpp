#include "payroll/bank/data/bank_parameters.h"

#include <gtest/gtest.h>

#include "bank_test_support.h"

namespace kestrel::payroll::bank {
namespace {

using testing::BankCompany;
using testing::Row;

std::string Utf8(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

TEST(BankFileNames, NameIsPrefixPaymentDateAndExtension) {
    BankParameters b;
    b.prefix = "EL";
    b.extension = "PLI";
    EXPECT_EQ(FileName(b, "20261210"), "EL261210.PLI");
    b.prefix = "";
    EXPECT_EQ(FileName(b, "20270105"), "270105.PLI");

    struct Case {
        const char* name;
        bool valid;
    } cases[] = {
        {"EL261210.PLI", true},
        {"a_-$~!#%.&@^", true},
        {"EL261210", true},
        {"ABC1234567.TXT", false},  // name longer than 8
        {"EL261210.TEXT", false},   // extension longer than 3
        {"E 261210.TXT", false},
        {"E*261210.TXT", false},
        {"EL/61210.TXT", false},
        {".TXT", false},
        {"EL261210.", false},
        {"EL26\x82"
         "210.TXT",
         false},
    };
    for (const Case& c : cases) EXPECT_EQ(ValidFileName(c.name), c.valid) << c.name;
}

std::string CheckOf(BankCompany& c, std::vector<BankParameters>* files = nullptr) {
    std::vector<BankParameters> got;
    const std::string m = CheckFileBanks(c.h.rt, c.tables, ReadBanks(c.tables), "20261210", &got);
    if (files != nullptr) *files = got;
    return Utf8(m);
}

struct BankChecks : ::testing::Test, BankCompany {
    std::string Check(std::vector<BankParameters>* files = nullptr) {
        return CheckOf(*this, files);
    }
};

TEST_F(BankChecks, NoBankThatTakesAFileIsRefused) {
    EXPECT_EQ(Check(), "Brak parametrów połączenia");
    Bank("Papier", "PA", "TXT", "str(DOWY,10,2)", {{"PRZELEW_", "T"}});
    EXPECT_EQ(Check(), "Brak parametrów połączenia");
}

TEST(BankCheck, EachFaultOfABankHasItsMessage) {
    struct Case {
        const char* what;
        Row fields;
        const char* message;
    } cases[] = {
        {"unknown component", {{"SKLADN_PL", "NETO"}}, "Błędny składnik \"NETO\" w PKWROR"},
        {"no component", {{"SKLADN_PL", ""}}, "Błędny składnik \"\" w PKWROR"},
        {"program's extension", {{"EXT_", "EXE"}}, "Nieprawidłowe rozszerzenie \"EXE\""},
        {"in small letters", {{"EXT_", "dbf"}}, "Nieprawidłowe rozszerzenie \"dbf\""},
        {"spool", {{"EXT_", "161"}}, "Nieprawidłowe rozszerzenie \"161\""},
        {"not a name", {{"EXT_", "T*T"}}, "Nieprawidłowe rozszerzenie \"T*T\""},
        {"no extension", {{"EXT_", ""}}, "Nieprawidłowe rozszerzenie \"\""},
        {"bad prefix", {{"PREFIX_", "E?"}}, "Błędna nazwa plku \"E?261210.TXT\""},
    };
    for (const Case& c : cases) {
        BankCompany company;
        company.Bank("Bank", "RO", "TXT", "str(DOWY,10,2)", c.fields);
        EXPECT_EQ(CheckOf(company), c.message) << c.what;
    }
}

TEST_F(BankChecks, TwoBanksWithOnePrefixAndExtensionAreRefused) {
    // In bank order the second names the repeated pair as it has it.
    Bank("Alfa", "RO", "TXT", "str(DOWY,10,2)");
    Bank("Beta", "ro", "txt", "str(DOWY,10,2)");
    EXPECT_EQ(Check(), "Powtórzony \"Prefiks+Rozszerz.\" ro+txt");
}

TEST_F(BankChecks, TheFilesAreTheBanksWithoutPrintedOrdersInNameOrder) {
    Bank("Zachodni", "ZA", "TXT", "str(DOWY,10,2)");
    Bank("Papier", "RO", "TXT", "str(DOWY,10,2)", {{"PRZELEW_", "T"}});  // same name: no file
    Bank("Alfa", "RO", "TXT", "str(DOWY,10,2)");
    std::vector<BankParameters> files;
    EXPECT_EQ(Check(&files), "");
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].bank, "Alfa");
    EXPECT_EQ(files[1].bank, "Zachodni");
}

TEST_F(BankChecks, OutputDirectoryFallsBackToTheCompany) {
    EXPECT_EQ(OutputDirectory(h.rt), out);
    h.rt.config().Set("NAGLRORPLI", memfile::MemValue::Char(out.substr(0, out.size() - 1)));
    EXPECT_EQ(OutputDirectory(h.rt), out);
    h.rt.config().Set("NAGLRORPLI", memfile::MemValue::Char("  "));
    EXPECT_EQ(OutputDirectory(h.rt), h.rt.data_dir());
}

}  // namespace
}  // namespace kestrel::payroll::bank
