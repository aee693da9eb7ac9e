#include "utilities/data/company_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/codepage/cp852.h"
#include "test_util.h"

namespace kestrel::utilities {
namespace {

using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;

TEST(CompanyNames, RulesOfTypedNames) {
    struct Case {
        const char* typed;
        NameCheck check;
        const char* name;
    };
    const Case cases[] = {
        {"abc", NameCheck::kOk, "ABC.PK"},
        {"  firma1  ", NameCheck::kOk, "FIRMA1.PK"},
        {"x.pk", NameCheck::kOk, "X.PK"},
        {"ABCDEFGH", NameCheck::kOk, "ABCDEFGH.PK"},
        {"A_1-$", NameCheck::kOk, "A_1-$.PK"},
        {"ABC.TXT", NameCheck::kBadExtension, "ABC.TXT"},
        {"ABC.", NameCheck::kBadExtension, "ABC."},
        {"", NameCheck::kBadName, ""},
        {"ABCDEFGHI", NameCheck::kBadName, "ABCDEFGHI.PK"},
        {".PK", NameCheck::kBadName, ".PK"},
        {"AB.C.PK", NameCheck::kBadName, "AB.C.PK"},
        {"A B", NameCheck::kBadName, "A B.PK"},
        {"A/B", NameCheck::kBadName, "A/B.PK"},
        {"A*", NameCheck::kBadName, "A*.PK"},
    };
    for (const Case& c : cases) {
        std::string name;
        EXPECT_EQ(CheckCompanyName(c.typed, &name), c.check) << c.typed;
        EXPECT_EQ(name, c.name) << c.typed;
    }
    EXPECT_STREQ(NameCheckMessage(NameCheck::kBadExtension), "Błędne rozszerzenie");
    EXPECT_STREQ(NameCheckMessage(NameCheck::kBadName), "Błędna nazwa");
}

TEST(CompanyNames, PolishNounAfterAFileCount) {
    const std::pair<long, const char*> cases[] = {
        {0, "zbiorów"},  {1, "zbiór"},    {2, "zbiory"},    {3, "zbiory"},
        {4, "zbiory"},   {5, "zbiorów"},  {11, "zbiorów"},  {12, "zbiorów"},
        {13, "zbiorów"}, {14, "zbiorów"}, {21, "zbiorów"},  {22, "zbiory"},
        {25, "zbiorów"}, {104, "zbiory"}, {112, "zbiorów"}, {1001, "zbiorów"},
    };
    for (const auto& [count, noun] : cases) EXPECT_EQ(FilesNoun(count), noun) << count;
}

TEST(CompanyNames, ListingTakesPkDirectoriesInPolishOrder) {
    ScratchDir root;
    namespace fs = std::filesystem;
    auto company = [&](const std::string& name, bool with_mem) {
        fs::create_directory(root.File(name));
        if (with_mem) WriteAll(root.File(name) + "/QRM.MEM", "\x1A");
    };
    company("ZETA.PK", true);
    company("alfa.pk", true);  // found without regard to case, named as on disk
    company("BETA.PK", false);
    company(codepage::FromUtf8("ŁAD.PK"), true);
    company("LZ.PK", true);
    company("MA.PK", true);
    company("OTHER.DIR", true);
    company("GAMMA.TMP", true);
    WriteAll(root.File("PLIK.PK"), "not a directory");

    const auto list = ListCompanies(root.path(), common::MakeLetterSet(common::kPolishCp852));
    std::string names;
    for (const CompanyEntry& c : list)
        names += codepage::ToUtf8(c.name) + (c.usable ? "" : "(bez QRM.MEM)") + " ";
    EXPECT_EQ(names, "alfa.pk BETA.PK(bez QRM.MEM) LZ.PK ŁAD.PK MA.PK ZETA.PK ");
    ASSERT_NE(FindCompany(list, "ALFA.PK"), nullptr);
    EXPECT_EQ(FindCompany(list, "ALFA.PK")->name, "alfa.pk");
    EXPECT_EQ(FindCompany(list, "GAMMA.TMP"), nullptr);
}

TEST(CompanyNames, RootLabelAndWorkingName) {
    EXPECT_EQ(RootLabel("/srv/KADRY"), " <KADRY>");
    EXPECT_EQ(RootLabel("/srv/KADRY/"), " <KADRY>");
    EXPECT_EQ(RootLabel("/"), " </>");
    EXPECT_EQ(WorkingName("ABC.PK"), "ABC.TMP");
}

}  // namespace
}  // namespace kestrel::utilities
