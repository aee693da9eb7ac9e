#include "payroll/bank/data/bank_directories.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "bank_test_support.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::payroll::bank {
namespace {

using testing::BankCompany;

std::string Utf8(const std::string& cp852) {
    return codepage::ToUtf8(cp852);
}

TEST(BankDirectories, TheOutputDirectoryIsSavedWithTheOtherVariables) {
    BankCompany c;
    const std::string mem = c.h.rt.data_dir() + "QRM.MEM";
    ASSERT_TRUE(memfile::WriteMemFile(mem, {{"NAGL1", memfile::MemValue::Char("Firma")},
                                            {"NAGLRORPLI", memfile::MemValue::Char("/stary/")}})
                    .ok());
    EXPECT_EQ(Utf8(SaveOutputDirectory(c.h.rt, c.dir.File("brak"))),
              "Brak katalogu: " + c.dir.File("brak"));
    const std::string target = c.dir.File("wyjscie");
    std::filesystem::create_directories(target);
    EXPECT_EQ(SaveOutputDirectory(c.h.rt, "  " + target + "  "), "");
    std::vector<memfile::MemEntry> entries;
    ASSERT_TRUE(memfile::ReadMemFile(mem, &entries).ok());
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].value.text, "Firma");
    EXPECT_EQ(memfile::FindEntry(entries, "NAGLRORPLI")->value.text, target + "/");
    EXPECT_EQ(c.h.rt.config().Text("NAGLRORPLI"), target + "/");
}

TEST(BankDirectories, FilesAreListedCopiedAndDeleted) {
    BankCompany c;
    const std::string other = c.dir.File("dysk") + "/";
    std::filesystem::create_directories(other);
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "EL261210.PLI", "nowy").ok());
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "AB261210.TXT", "ab").ok());
    ASSERT_TRUE(base::WriteFileAtomically(c.out + "~EL261211.PLI", "w toku").ok());
    std::filesystem::create_directories(c.out + "KATALOG");
    const std::vector<FileEntry> files = ListFiles(c.out);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].name, "AB261210.TXT");
    EXPECT_EQ(files[1].name, "EL261210.PLI");
    EXPECT_EQ(files[1].size, 4u);
    EXPECT_EQ(files[1].when.size(), 16u);

    ASSERT_TRUE(base::WriteFileAtomically(other + "EL261210.PLI", "stary").ok());
    EXPECT_EQ(CopyFileTo(c.h.rt, c.out, "EL261210.PLI", other), "");
    std::string text;
    ASSERT_TRUE(base::ReadFile(other + "EL261210.PLI", &text).ok());
    EXPECT_EQ(text, "nowy");
    EXPECT_EQ(Utf8(CopyFileTo(c.h.rt, c.out, "BRAK.TXT", other)),
              "Błąd kopiowania pliku: BRAK.TXT");
    EXPECT_EQ(Utf8(CopyFileTo(c.h.rt, c.out, "AB261210.TXT", other + "nie/")),
              "Błąd kopiowania pliku: AB261210.TXT");

    EXPECT_EQ(DeleteFileIn(c.h.rt, other, "EL261210.PLI"), "");
    EXPECT_TRUE(ListFiles(other).empty());
}

}  // namespace
}  // namespace kestrel::payroll::bank
