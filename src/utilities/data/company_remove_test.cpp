#include "utilities/data/company_remove.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/session/operators.h"
#include "test_util.h"
#include "utilities/data/company_names.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;

const common::LetterSet kLetters = common::MakeLetterSet(common::kPolishCp852);

// A company with tables, an archive and a list of operators.
void MakeCompany(const ScratchDir& root, const std::string& name) {
    fs::create_directories(root.File(name + "/ARCH2019"));
    fs::create_directories(root.File(name + "/HASLA.QRM"));
    for (const char* f : {"QRM.MEM", "PKPRAC.DBF", "PKPRAC1.NTX", "PKSPL.DBT"})
        WriteAll(root.File(name + "/" + f), "x");
    WriteAll(root.File(name + "/ARCH2019/PKPLACE.DBF"), "x");
    WriteAll(root.File(name + "/ARCH2019/PKPLACE1.NTX"), "x");
    WriteAll(root.File(name + "/HASLA.QRM/OLD.DBF"), "x");
    fs::create_directories(root.File("HASLA.QRM"));
    common::Operator admin;
    admin.ident = "ADMI";
    ASSERT_TRUE(common::SaveOperators(common::OperatorListPath(root.path(), name), {admin}).ok());
}

TEST(SurveyCompany, CountsFilesAndRefusesForeignSubdirectories) {
    ScratchDir root;
    MakeCompany(root, "ABC.PK");
    CompanyContents c = SurveyCompany(root.File("ABC.PK"));
    EXPECT_EQ(c.files, 7);
    EXPECT_FALSE(c.foreign_subdirectory);

    // The formula updater's backups belong to the company.
    for (const char* kept : {"U2020", "X_PPK21"}) {
        fs::create_directory(root.File(std::string("ABC.PK/") + kept));
        std::ofstream(root.File(std::string("ABC.PK/") + kept + "/_PKSPL.DBF")) << "x";
    }
    c = SurveyCompany(root.File("ABC.PK"));
    EXPECT_FALSE(c.foreign_subdirectory);
    EXPECT_EQ(c.files, 9);

    fs::create_directory(root.File("ABC.PK/ARCH2019/DEEPER"));
    EXPECT_TRUE(SurveyCompany(root.File("ABC.PK")).foreign_subdirectory);
    fs::remove(root.File("ABC.PK/ARCH2019/DEEPER"));
    fs::create_directory(root.File("ABC.PK/INNE"));
    EXPECT_TRUE(SurveyCompany(root.File("ABC.PK")).foreign_subdirectory);
}

TEST(DeleteCompany, RemovesTheDirectoryArchivesAndItsOperators) {
    ScratchDir root;
    MakeCompany(root, "ABC.PK");
    MakeCompany(root, "KEEP.PK");
    EXPECT_EQ(DeleteCompany(root.path(), "ABC.PK"), "");
    EXPECT_FALSE(fs::exists(root.File("ABC.PK")));
    EXPECT_FALSE(fs::exists(root.File("ABC.DEL")));
    EXPECT_FALSE(fs::exists(common::OperatorListPath(root.path(), "ABC.PK")));
    EXPECT_TRUE(fs::exists(common::OperatorListPath(root.path(), "KEEP.PK")));
    EXPECT_TRUE(fs::exists(root.File("KEEP.PK/PKPRAC.DBF")));
}

TEST(DeleteCompany, StoppedHalfWayLeavesNoCompanyToChoose) {
    ScratchDir root;
    MakeCompany(root, "ABC.PK");
    // The fourth removal fails (the operator list, then the archive's files).
    int removals = 0;
    const std::string message = DeleteCompany(root.path(), "ABC.PK", [&](const std::string& p) {
        return ++removals != 4 && RemovePath(p);
    });
    EXPECT_EQ(message.rfind("Błąd kasowania", 0), 0u) << message;
    EXPECT_FALSE(fs::exists(root.File("ABC.PK")));
    EXPECT_TRUE(ListCompanies(root.path(), kLetters).empty());
    // What is left stays under the working name, never listed.
    EXPECT_TRUE(fs::exists(root.File("ABC.DEL/PKPRAC.DBF")));

    // A second company of that name deleted later takes another working name.
    MakeCompany(root, "ABC.PK");
    EXPECT_EQ(DeleteCompany(root.path(), "ABC.PK"), "");
    EXPECT_FALSE(fs::exists(root.File("ABC.PK")));
    EXPECT_TRUE(fs::exists(root.File("ABC.DEL")));
}

TEST(RenameCompany, MovesTheOperatorListAndNeverOverwrites) {
    ScratchDir root;
    MakeCompany(root, "ABC.PK");
    MakeCompany(root, "XYZ.PK");
    RenameOutcome out = RenameCompany(root.path(), "ABC.PK", "XYZ.PK");
    EXPECT_FALSE(out.renamed);
    EXPECT_EQ(out.message, "Błąd zmiany nazwy");
    EXPECT_TRUE(fs::exists(root.File("ABC.PK/PKPRAC.DBF")));

    out = RenameCompany(root.path(), "ABC.PK", "NOWA.PK");
    EXPECT_TRUE(out.renamed);
    EXPECT_EQ(out.message, "");
    EXPECT_TRUE(fs::exists(root.File("NOWA.PK/PKPRAC.DBF")));
    EXPECT_FALSE(fs::exists(root.File("ABC.PK")));
    EXPECT_TRUE(fs::exists(common::OperatorListPath(root.path(), "NOWA.PK")));
    EXPECT_FALSE(fs::exists(common::OperatorListPath(root.path(), "ABC.PK")));
}

}  // namespace
}  // namespace kestrel::utilities
