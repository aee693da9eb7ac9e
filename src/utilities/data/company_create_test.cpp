#include "utilities/data/company_create.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/session/operators.h"
#include "platform/base/files.h"
#include "test_util.h"
#include "utilities/data/company_names.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;
using memfile::MemEntry;
using memfile::MemValue;

const MemValue* Value(const std::vector<MemEntry>& entries, const char* name) {
    const MemEntry* e = memfile::FindEntry(entries, name);
    return e ? &e->value : nullptr;
}

NewCompany Abc(bool second_line) {
    NewCompany c;
    c.name = "ABC.PK";
    c.short_name = "ABC";
    c.first_line = "Spółdzielnia";
    c.other_line = second_line ? "\"ABC\"" : "ul. Długa 1";
    c.second_line = second_line;
    return c;
}

TEST(NewCompanyConfiguration, TemplateStampAndDefaults) {
    const std::vector<MemEntry> from_template = {
        {"nagl4", MemValue::Char("stara druga linia")},
        {"NAGL3", MemValue::Char("stara trzecia linia")},
        {"NAGL22", MemValue::Char("NIEMCY")},
        {"NAGLGENPL", MemValue::Logical(true)},
    };
    // Layout A: the third line set, the second line removed.
    auto a = NewCompanyConfiguration(from_template, Abc(false));
    ASSERT_NE(Value(a, "NAGL1"), nullptr);
    EXPECT_EQ(Value(a, "NAGL1")->text, "ABC" + std::string(17, ' '));
    EXPECT_EQ(Value(a, "NAGL2")->text.size(), 30u);
    EXPECT_EQ(Value(a, "NAGL3")->text.rfind("ul. Długa 1", 0), 0u);
    EXPECT_EQ(Value(a, "NAGL4"), nullptr);
    EXPECT_EQ(Value(a, "NAGL22")->text, "NIEMCY");  // the template wins over a default
    ASSERT_NE(Value(a, "NAGLGENPL"), nullptr);      // the template's own settings stay
    ASSERT_NE(Value(a, "NAGL6"), nullptr);          // a default the template lacked
    EXPECT_EQ(Value(a, "NAGL6")->text, "");
    ASSERT_NE(Value(a, "NAGL21"), nullptr);
    EXPECT_EQ(Value(a, "NAGL21")->type, MemValue::Type::kLogical);
    EXPECT_EQ(Value(a, "NAGL5"), nullptr);  // computed at start-up from the new names

    // Layout B: the second line set, the template's third line kept.
    auto b = NewCompanyConfiguration(from_template, Abc(true));
    EXPECT_EQ(Value(b, "NAGL4")->text.substr(0, 5), "\"ABC\"");
    EXPECT_EQ(Value(b, "NAGL3")->text, "stara trzecia linia");
    int nagl4 = 0;
    for (const MemEntry& e : b) nagl4 += e.name == "NAGL4";
    EXPECT_EQ(nagl4, 1);
}

TEST(CreateCompany, BuildsTablesAndConfigurationThenTakesItsName) {
    ScratchDir root;
    memfile::WriteMemFile(root.File("QRM.MEM"), {{"NAGL22", MemValue::Char("NIEMCY")}});
    CreateOptions options;
    const CreateOutcome out = CreateCompany(root.path(), Abc(false), root.File("QRM.MEM"), options);
    ASSERT_TRUE(out.ok()) << out.error;
    EXPECT_FALSE(out.operator_list_failed);
    EXPECT_FALSE(fs::exists(root.File("ABC.TMP")));
    for (const char* file : {"QRM.MEM", "PKPRAC.DBF", "PKPRAC1.NTX", "PKSPL.DBT", "PKSTER.DBF"})
        EXPECT_TRUE(fs::exists(root.File("ABC.PK/") + file)) << file;
    std::vector<MemEntry> mem;
    ASSERT_TRUE(memfile::ReadMemFile(root.File("ABC.PK/QRM.MEM"), &mem).ok());
    EXPECT_EQ(Value(mem, "NAGL22")->text, "NIEMCY");
    EXPECT_EQ(Value(mem, "NAGL1")->text.substr(0, 3), "ABC");
    const auto list = ListCompanies(root.path(), common::MakeLetterSet(common::kPolishCp852));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].usable);
}

TEST(CreateCompany, AFailedBuildLeavesNoCompanyToChoose) {
    ScratchDir root;
    // A shipped dictionary naming a field its table lacks fails its table.
    fs::create_directories(root.File("data"));
    WriteAll(root.File("data/PKKDURZ.tsv"), "NIEZNANE_POLE\nx\n");
    const CreateOutcome out = CreateCompany(root.path(), Abc(false), root.File("QRM.MEM"), {});
    EXPECT_FALSE(out.ok());
    EXPECT_EQ(out.error.rfind("Błąd tworzenia zbioru", 0), 0u) << out.error;
    EXPECT_FALSE(fs::exists(root.File("ABC.PK")));
    EXPECT_TRUE(fs::exists(root.File("ABC.TMP")));  // offered for deletion next time
    EXPECT_TRUE(ListCompanies(root.path(), common::MakeLetterSet(common::kPolishCp852)).empty());
}

TEST(CreateCompany, NeverTakesTheNameOfAnExistingDirectory) {
    ScratchDir root;
    fs::create_directory(root.File("ABC.PK"));  // appeared meanwhile, empty
    const CreateOutcome out = CreateCompany(root.path(), Abc(false), root.File("QRM.MEM"), {});
    EXPECT_EQ(out.error, "Błąd tworzenia katalogu ABC.PK");
    EXPECT_FALSE(fs::exists(root.File("ABC.PK/QRM.MEM")));
    EXPECT_TRUE(fs::exists(root.File("ABC.TMP/QRM.MEM")));
}

TEST(CreateCompany, OperatorListCopiedOrReportedMissing) {
    ScratchDir root;
    fs::create_directory(root.File("HASLA.QRM"));
    common::Operator admin;
    admin.ident = "ADMI";
    admin.rights = common::RightBit(8);
    ASSERT_TRUE(
        common::SaveOperators(common::OperatorListPath(root.path(), "DEMO.PK"), {admin}).ok());
    CreateOptions options;
    options.operators_from = "DEMO.PK";
    CreateOutcome out = CreateCompany(root.path(), Abc(false), root.File("QRM.MEM"), options);
    ASSERT_TRUE(out.ok()) << out.error;
    EXPECT_FALSE(out.operator_list_failed);
    std::vector<common::Operator> copied;
    ASSERT_TRUE(
        common::LoadOperators(common::OperatorListPath(root.path(), "ABC.PK"), &copied).ok());
    ASSERT_EQ(copied.size(), 1u);
    EXPECT_EQ(copied[0].ident, "ADMI");

    // The list cannot be written (its place is taken by a directory): the
    // company exists, and the failure is reported.
    fs::create_directory(common::OperatorListPath(root.path(), "XYZ.PK"));
    NewCompany xyz = Abc(false);
    xyz.name = "XYZ.PK";
    out = CreateCompany(root.path(), xyz, root.File("QRM.MEM"), options);
    ASSERT_TRUE(out.ok()) << out.error;
    EXPECT_TRUE(out.operator_list_failed);
    EXPECT_TRUE(fs::exists(root.File("XYZ.PK/QRM.MEM")));
}

TEST(RemoveLeftover, FilesGoSubdirectoriesStop) {
    ScratchDir root;
    fs::create_directories(root.File("A.TMP/SUB"));
    WriteAll(root.File("A.TMP/PKPRAC.DBF"), "x");
    EXPECT_EQ(RemoveLeftover(root.File("A.TMP")), "Przerwanie - istniejąpodkatalogi");
    EXPECT_TRUE(fs::exists(root.File("A.TMP/PKPRAC.DBF")));
    fs::remove(root.File("A.TMP/SUB"));
    EXPECT_EQ(RemoveLeftover(root.File("A.TMP")), "");
    EXPECT_FALSE(fs::exists(root.File("A.TMP")));
    EXPECT_EQ(KindOf(root.File("A.TMP")), PathKind::kNothing);
    WriteAll(root.File("B.TMP"), "x");
    EXPECT_EQ(KindOf(root.File("B.TMP")), PathKind::kFile);
}

}  // namespace
}  // namespace kestrel::utilities
