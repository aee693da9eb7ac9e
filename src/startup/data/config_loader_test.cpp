#include "startup/data/config_loader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::startup {
namespace {

using memfile::FindEntry;
using memfile::MemEntry;
using memfile::MemValue;

MemEntry C(const char* name, const char* text) {
    return {name, MemValue::Char(text)};
}

// The value of a text entry without its padding.
std::string Trimmed(const std::vector<MemEntry>& e, const char* name) {
    return base::TrimRight(FindEntry(e, name)->value.text);
}

class ConfigDir : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = (std::filesystem::temp_directory_path() /
                ("kestrel_cfg_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()))
                   .string() +
               "/";
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    void Write(const std::vector<MemEntry>& entries) {
        ASSERT_TRUE(memfile::WriteMemFile(dir_ + "QRM.MEM", entries).ok());
    }
    common::Configuration Load(LoadOutcome* outcome = nullptr) {
        common::Configuration c;
        LoadOutcome o = LoadConfiguration(dir_, &c);
        if (outcome) *outcome = o;
        StartupFacts facts;
        facts.data_dir = dir_;
        ApplyStartupDefaults(&c, facts);
        return c;
    }
    std::string dir_;
};

TEST(AddressConversion, OldTransferFieldsBuildTheNewOnes) {
    std::vector<MemEntry> e = {C("NAGL30", " FIRMA "),
                               C("NAGL31", "SP. Z O.O."),
                               C("NAGL32", ""),
                               C("NAGL33", "UL. DŁUGA 1"),
                               C("NAGL34", "  "),
                               C("NAGL37", "10901014 "),
                               C("NAGL38", " 0000071219812874"),
                               C("NAGL44", "URZĄD"),
                               C("NAGL45", "SKARBOWY"),
                               C("NAGL49", "1010"),
                               C("NAGL50", "1078"),
                               {"NAGLFP", MemValue::Numeric(12.345, 6, 2)}};
    ASSERT_TRUE(ConvertAddresses(&e));
    EXPECT_EQ(FindEntry(e, "NAGL73")->value.text.size(), 104u);
    EXPECT_EQ(Trimmed(e, "NAGL73"), "FIRMA SP. Z O.O. UL. DŁUGA 1");
    EXPECT_EQ(Trimmed(e, "NAGL74"), "109010140000071219812874");
    EXPECT_EQ(FindEntry(e, "NAGL74")->value.text.size(), 44u);
    EXPECT_EQ(Trimmed(e, "NAGL75"), "URZĄD SKARBOWY");
    EXPECT_EQ(FindEntry(e, "NAGL75")->value.text.size(), 54u);
    EXPECT_EQ(Trimmed(e, "NAGL76"), "10101078");
    EXPECT_EQ(FindEntry(e, "NAGL77")->value, FindEntry(e, "NAGL73")->value);
    EXPECT_DOUBLE_EQ(FindEntry(e, "NAGLFP")->value.number, 12.35);  // rounded to its decimals

    // Without NAGL32 the stamp lines make the name: NAGL2, NAGL4, NAGL1 ...
    std::vector<MemEntry> stamp = {C("NAGL1", "ABC"), C("NAGL2", "Zakład"), C("NAGL4", "Druk")};
    ASSERT_TRUE(ConvertAddresses(&stamp));
    EXPECT_EQ(Trimmed(stamp, "NAGL73"), "Zakład Druk ABC");
    // ... or NAGL2, NAGL1, NAGL3 without NAGL4.
    std::vector<MemEntry> no4 = {C("NAGL1", "ABC"), C("NAGL2", "Zakład"), C("NAGL3", "Łódź")};
    ASSERT_TRUE(ConvertAddresses(&no4));
    EXPECT_EQ(Trimmed(no4, "NAGL73"), "Zakład ABC Łódź");
}

TEST(AddressConversion, WhenItDoesNotRunOrIsAbandoned) {
    std::vector<MemEntry> has77 = {C("NAGL77", "X")};
    EXPECT_FALSE(ConvertAddresses(&has77));
    EXPECT_EQ(has77.size(), 1u);
    // Existing new fields are kept; only the missing ones are added.
    std::vector<MemEntry> partial = {C("NAGL73", "MOJA"), C("NAGL30", "STARA")};
    ASSERT_TRUE(ConvertAddresses(&partial));
    EXPECT_EQ(FindEntry(partial, "NAGL73")->value.text, "MOJA");
    EXPECT_EQ(FindEntry(partial, "NAGL77")->value.text, "MOJA");
    // A number wider than its width abandons the conversion.
    std::vector<MemEntry> wide = {C("NAGL30", "X"), {"N", MemValue::Numeric(123456.0, 4, 0)}};
    EXPECT_FALSE(ConvertAddresses(&wide));
    EXPECT_EQ(wide.size(), 2u);
}

TEST_F(ConfigDir, DefaultsDependOnOtherVariables) {
    Write({C("NAGL1", "ABC"),
           C("NAGL2", "Zakład"),
           C("NAGL7", "147389254"),
           C("NAGL12", "Kraków"),
           C("NAGL27", "Jan"),
           C("NAGL22", "polska"),
           {"NAGLBUDZ", MemValue::Logical(true)},
           {"NAGLZPCH", MemValue::Logical(true)},
           {"NAGLZAKTZ", MemValue::Logical(true)},
           C("NAGLTYPZ", "7"),
           C("NAGLTDR", "Q"),
           {"NAGLNDR", MemValue::Logical(true)},
           C("NAGL6", "527-301-45-87"),
           C("NAGL73", ""),
           C("NAGL74", ""),
           C("NAGL75", ""),
           C("NAGL76", ""),
           C("NAGL77", "")});
    common::Configuration c = Load();
    EXPECT_EQ(c.Text("NAGL5"), "Zakład ABC");
    EXPECT_EQ(c.Text("NAGL15"), "Kraków");
    EXPECT_EQ(c.Text("NAGL112"), "Kraków");
    EXPECT_EQ(c.Text("NAGL29"), "ABC");
    EXPECT_EQ(c.Text("NAGL278K"), "Jan ABC");
    EXPECT_EQ(c.Text("NAGL55"), "147389254");
    EXPECT_EQ(c.Text("NAGL22A"), "PL");
    EXPECT_EQ(c.Text("NAGLTERMIN"), "1");
    EXPECT_EQ(c.Text("NAGLT22"), "1");
    EXPECT_EQ(c.Text("NAGLZPCH2"), "1");
    EXPECT_FALSE(c.Logical("NAGLZAKTZ", true));
    EXPECT_EQ(c.Text("NAGLTYPZ"), "2");
    EXPECT_EQ(c.Text("NAGLTDR"), "F");
    EXPECT_EQ(c.Text("NAGLNDR"), "1");  // wrong type: the default
    EXPECT_EQ(c.Text("NAGL6"), "527-301-45-87");
    EXPECT_EQ(c.Text("NAGL6A"), "5273014587");
    EXPECT_EQ(c.Text("NAGLRORPLI"), dir_);
    EXPECT_TRUE(c.Logical("NAGLZUSPPK"));
    EXPECT_EQ(c.Number("NAGLTBP9", -1), 0);
    EXPECT_EQ(c.Text("NAGLPL"), "ACELNOSZZacelnoszz");
    EXPECT_FALSE(c.Logical("NAGLREPLPL", true));
    EXPECT_EQ(c.Text("NAGLSCXML"), "C:\\PXDEKL\\IMPORT\\");
}

TEST_F(ConfigDir, DefaultsWhenTheBaseVariablesAreMissing) {
    Write({C("NAGL1", "FIRMA"), C("NAGL6", "1234"), {"NAGLGENPL", MemValue::Logical(true)}});
    common::Configuration c = Load();
    EXPECT_EQ(c.Text("NAGLTERMIN"), "3");
    EXPECT_EQ(c.Text("NAGLT22"), "6");
    EXPECT_EQ(c.Text("NAGL22A"), "PL");  // NAGL22 defaults to POLSKA
    EXPECT_EQ(c.Text("NAGL6A"), "1234      ");
    EXPECT_EQ(c.Text("NAGL6"), "1234      ");
    EXPECT_EQ(c.Text("NAGL5"), std::string(30, ' ') + " FIRMA");
    EXPECT_EQ(c.Text("NAGLPL"), std::string(common::kPolishCp852));
    EXPECT_EQ(c.Text("NAGLPRTPL"), std::string(common::kPolishCp852));
    EXPECT_TRUE(c.Logical("NAGLMC12"));
    EXPECT_EQ(c.Text("NAGLMSKON"), "999999999999");
    EXPECT_EQ(c.Number("NAGLFP", -1), 0);
    EXPECT_EQ(c.Text("NAGLPKD"), "     ");
    // The six program-directory settings fall back when that file is absent.
    EXPECT_FALSE(c.Logical("NAGLEGA", true));
    EXPECT_EQ(c.Text("NAGLVDOS", "x"), "");
}

TEST_F(ConfigDir, ShortNameChecksAndDamagedFiles) {
    LoadOutcome o;
    common::Configuration c = Load(&o);
    EXPECT_TRUE(o.file_missing);
    EXPECT_EQ(c.Text("NAGL1"), kPlaceholderShortName);

    Write({C("NAGL2", "X")});
    c = Load(&o);
    EXPECT_TRUE(o.short_name_missing);
    EXPECT_EQ(c.Text("NAGL1"), kPlaceholderShortName);

    Write({{"NAGL1", MemValue::Numeric(1, 3, 0)}});
    c = Load(&o);
    EXPECT_TRUE(o.short_name_bad);

    Write({C("NAGL1", "   ")});
    Load(&o);
    EXPECT_TRUE(o.short_name_bad);

    // A cut file: what comes before the damage is kept, nothing is written.
    std::string bytes = memfile::SerializeMem({C("NAGL1", "KRÓTKA"), C("NAGL2", "DRUGA LINIA")});
    ASSERT_TRUE(
        base::WriteFileAtomically(dir_ + "QRM.MEM", bytes.substr(0, bytes.size() - 8)).ok());
    c = Load(&o);
    EXPECT_TRUE(o.damaged);
    EXPECT_FALSE(o.converted);
    EXPECT_EQ(c.Text("NAGL1"), "KRÓTKA");
    std::string after;
    ASSERT_TRUE(base::ReadFile(dir_ + "QRM.MEM", &after).ok());
    EXPECT_EQ(after.size(), bytes.size() - 8);

    // Garbage: no crash, the placeholder.
    ASSERT_TRUE(base::WriteFileAtomically(dir_ + "QRM.MEM", std::string(300, '\xA7')).ok());
    c = Load(&o);
    EXPECT_TRUE(o.damaged);
    EXPECT_EQ(c.Text("NAGL1"), kPlaceholderShortName);
}

TEST_F(ConfigDir, ConversionRewritesTheFileOnce) {
    Write({C("NAGL1", "ABC"),
           C("NAGL30", "STARA NAZWA"),
           C("NAGL32", ""),
           {"NAGLFP", MemValue::Numeric(12.345, 6, 2)}});
    LoadOutcome o;
    common::Configuration c = Load(&o);
    EXPECT_TRUE(o.converted);
    EXPECT_EQ(c.Text("NAGL73").substr(0, 12), "STARA NAZWA ");
    std::vector<MemEntry> file;
    ASSERT_TRUE(memfile::ReadMemFile(dir_ + "QRM.MEM", &file).ok());
    EXPECT_DOUBLE_EQ(FindEntry(file, "NAGLFP")->value.number, 12.35);
    EXPECT_NE(FindEntry(file, "NAGL77"), nullptr);
    Load(&o);
    EXPECT_FALSE(o.converted);
}

TEST(SignatureCaptions, ColumnsCountFromOne) {
    std::string wide = codepage::ToUtf8(SignatureCaptionsWide());
    EXPECT_EQ(SignatureCaptionsWide().size(), 211u);
    EXPECT_EQ(SignatureCaptionsWide().substr(12, 10), codepage::FromUtf8("Sporządził"));
    EXPECT_EQ(SignatureCaptionsWide().substr(203), "Dyrektor");
    EXPECT_EQ(SignatureDotsWide().size(), 220u);
    EXPECT_EQ(SignatureDotsWide().substr(194), std::string(26, '.'));
    EXPECT_EQ(SignatureDotsWide().substr(0, 5), "    .");
    EXPECT_EQ(SignatureCaptionsNarrow().size(), 99u);
    EXPECT_EQ(SignatureCaptionsNarrow().substr(91), "Dyrektor");
    EXPECT_EQ(SignatureDotsNarrow().size(), 108u);
    EXPECT_EQ(SignatureDotsNarrow().substr(82), std::string(26, '.'));
}

}  // namespace
}  // namespace kestrel::startup
