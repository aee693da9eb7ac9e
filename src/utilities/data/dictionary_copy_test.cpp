#include "utilities/data/dictionary_copy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/dbf/table.h"
#include "test_util.h"

namespace kestrel::utilities {
namespace {

namespace fs = std::filesystem;
using dbf::testing::ReadAll;
using dbf::testing::ScratchDir;
using dbf::testing::WriteAll;

const DictionaryRow& Row(const char* stem, const std::vector<DictionaryRow>& rows) {
    for (const DictionaryRow& r : rows)
        if (std::string(r.stem) == stem) return r;
    throw std::runtime_error(stem);
}

struct Companies {
    ScratchDir root;
    std::string source = root.File("WZOR.PK");
    std::string target = root.File("NOWA.PK");
    Companies() {
        fs::create_directory(source);
        fs::create_directory(target);
        for (const char* f : {"PKRNB.DBF", "PKRNB.DBT", "PKRNB1.NTX", "PKRNB2.NTX"}) {
            WriteAll(source + "/" + f, std::string("source ") + f);
            WriteAll(target + "/" + f, std::string("target ") + f);
        }
    }
};

TEST(DictionaryCopy, ATableTravelsWithItsMemoAndIndexes) {
    Companies c;
    common::Configuration config;
    const auto rows = DictionaryCopyList(config, c.source);
    EXPECT_EQ(CopyDictionary(c.source, c.target, Row("PKRNB", rows)), "");
    for (const char* f : {"PKRNB.DBF", "PKRNB.DBT", "PKRNB1.NTX", "PKRNB2.NTX"})
        EXPECT_EQ(ReadAll(c.target + "/" + f), std::string("source ") + f);
    for (const auto& e : fs::directory_iterator(c.target))
        EXPECT_NE(e.path().extension(), ".KOP") << e.path();
}

TEST(DictionaryCopy, AFileThatCannotBeReadLeavesTheTargetTableAsItWas) {
    Companies c;
    // The last index cannot be read (a directory stands in its place).
    fs::remove(c.source + "/PKRNB2.NTX");
    fs::create_directory(c.source + "/PKRNB2.NTX");
    const auto rows = DictionaryCopyList(common::Configuration(), c.source);
    EXPECT_EQ(CopyDictionary(c.source, c.target, Row("PKRNB", rows)), "Błąd kopiowania PKRNB2.NTX");
    for (const char* f : {"PKRNB.DBF", "PKRNB.DBT", "PKRNB1.NTX", "PKRNB2.NTX"})
        EXPECT_EQ(ReadAll(c.target + "/" + f), std::string("target ") + f);
    for (const auto& e : fs::directory_iterator(c.target))
        EXPECT_NE(e.path().extension(), ".KOP") << e.path();
}

TEST(DictionaryCopy, MissingSourceFilesAreFoundBeforeAnythingIsCopied) {
    Companies c;
    const auto rows = DictionaryCopyList(common::Configuration(), c.source);
    EXPECT_EQ(FirstMissingFile(c.source, {Row("PKRNB", rows)}), "");
    fs::remove(c.source + "/PKRNB.DBT");
    EXPECT_EQ(FirstMissingFile(c.source, {Row("PKRNB", rows)}), "PKRNB.DBT");
    // PKSPL has a memo and three indexes, none of which is there.
    EXPECT_EQ(FirstMissingFile(c.source, {Row("PKSPL", rows)}), "PKSPL.DBF");
}

TEST(DictionaryCopy, ATargetTableOpenElsewhereIsNotReplaced) {
    Companies c;
    const auto rows = DictionaryCopyList(common::Configuration(), c.source);
    const std::vector<dbf::FieldSpec> fields = {{"KOD", dbf::FieldType::kCharacter, 4, 0}};
    ASSERT_TRUE(dbf::Table::Create(c.target + "/PKRNB.DBF", fields).ok());
    const std::string before = ReadAll(c.target + "/PKRNB.DBF");
    std::unique_ptr<dbf::Table> open;
    ASSERT_TRUE(dbf::Table::Open(c.target + "/PKRNB.DBF", {}, &open).ok());
    EXPECT_EQ(CopyDictionary(c.source, c.target, Row("PKRNB", rows)), "Zbiór PKRNB jest używany");
    EXPECT_EQ(ReadAll(c.target + "/PKRNB.DBF"), before);
    open->Close();
    EXPECT_EQ(CopyDictionary(c.source, c.target, Row("PKRNB", rows)), "");
}

TEST(DictionaryCopy, ModuleTablesJoinTheListWithTheirModules) {
    Companies c;
    common::Configuration config;
    auto has = [](const std::vector<DictionaryRow>& rows, const char* stem) {
        for (const DictionaryRow& r : rows)
            if (std::string(r.stem) == stem) return true;
        return false;
    };
    auto rows = DictionaryCopyList(config, c.source);
    EXPECT_EQ(std::string(rows.front().stem), "PKURZ");
    EXPECT_FALSE(has(rows, "PKTYTUL"));
    EXPECT_FALSE(has(rows, "PKAINDP"));
    EXPECT_FALSE(has(rows, "PKUMTR"));
    config.Set("NAGLKWP", memfile::MemValue::Logical(true));
    config.Set("NAGLXSDML", memfile::MemValue::Logical(true));
    WriteAll(c.source + "/PKUMTR.DBF", "x");
    rows = DictionaryCopyList(config, c.source);
    for (const char* stem :
         {"PKTYTUL", "PKSTYP", "PKATRNS", "PKAINDP", "PKZAWOD", "PKUMTR", "PKUSLW"})
        EXPECT_TRUE(has(rows, stem)) << stem;
}

}  // namespace
}  // namespace kestrel::utilities
