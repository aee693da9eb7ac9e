#include "platform/memfile/mem_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/files.h"

namespace kestrel::memfile {
namespace {

std::vector<MemEntry> Sample() {
    return {
        {"NAGL1", MemValue::Char("FIRMA \xA5 SP. Z O.O.")},  // CP852 'ą'
        {"NAGLFP", MemValue::Numeric(2.45, 5, 2)},
        {"NAGLKLR", MemValue::Logical(true)},
        {"NAGLDWK", MemValue::Logical(false)},
        {"NAGL16", MemValue::Date(2461018)},  // 2026-01-01
        {"NAGL19", MemValue::Date(0)},
        {"NAGL5", MemValue::Char("")},
        {"NAGLDLN385", MemValue::Numeric(-3, 2, 0)},
    };
}

TEST(MemFile, EveryTypeRoundTrips) {
    std::vector<MemEntry> back;
    std::string bytes = SerializeMem(Sample());
    ASSERT_TRUE(ParseMem(bytes, "QRM.MEM", &back).ok());
    EXPECT_EQ(back, Sample());
    EXPECT_EQ(bytes.size(), EntriesSize(Sample()) + 1);
    EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0x1A);
}

TEST(MemFile, ExactBytesOfEachEntryKind) {
    std::string c = SerializeMem({{"nagl1", MemValue::Char("AB")}});
    ASSERT_EQ(c.size(), 32u + 3u + 1u);
    EXPECT_EQ(c.substr(0, 11), std::string("NAGL1\0\0\0\0\0\0", 11));
    EXPECT_EQ(static_cast<unsigned char>(c[11]), 0xC3);
    EXPECT_EQ(c[16], 3);  // the length counts the NUL
    EXPECT_EQ(c[17], 0);
    EXPECT_EQ(c.substr(32, 3), std::string("AB\0", 3));

    std::string n = SerializeMem({{"X", MemValue::Numeric(1.0, 12, 2)}});
    EXPECT_EQ(static_cast<unsigned char>(n[11]), 0xCE);
    EXPECT_EQ(n[16], 12);
    EXPECT_EQ(n[17], 2);
    EXPECT_EQ(n.substr(32, 8), std::string("\0\0\0\0\0\0\xF0\x3F", 8));  // 1.0 little-endian

    std::string l = SerializeMem({{"X", MemValue::Logical(true)}});
    EXPECT_EQ(static_cast<unsigned char>(l[11]), 0xCC);
    EXPECT_EQ(l[32], 1);
    EXPECT_EQ(static_cast<unsigned char>(SerializeMem({{"X", MemValue::Date(0)}})[11]), 0xC4);

    // A long text: the 16-bit length.
    std::string big = SerializeMem({{"T", MemValue::Char(std::string(300, 'x'))}});
    EXPECT_EQ(static_cast<unsigned char>(big[16]), 301 & 0xFF);
    EXPECT_EQ(big[17], 1);
}

TEST(MemFile, ForeignFilesWithGarbageAndWithoutTheHighBitRead) {
    std::string bytes =
        SerializeMem({{"NAGL1", MemValue::Char("ABC")}, {"NAGLKLR", MemValue::Logical(true)}});
    bytes[8] = 'Z';       // garbage after the name's NUL
    bytes[11] = 'C';      // type without the high bit
    bytes[20] = '\x7F';   // garbage in reserved bytes
    bytes[32 + 3] = 'Q';  // the text's NUL overwritten
    std::vector<MemEntry> back;
    ASSERT_TRUE(ParseMem(bytes, "QRM.MEM", &back).ok());
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, "NAGL1");
    // The value fills exactly its length; a missing NUL ends the text at the length.
    EXPECT_EQ(back[0].value.text, "ABC");
    EXPECT_TRUE(back[1].value.logical);
    // No 0x1A at the end is accepted too.
    bytes.pop_back();
    EXPECT_TRUE(ParseMem(bytes, "QRM.MEM", &back).ok());
    EXPECT_EQ(back.size(), 2u);
}

TEST(MemFile, DamageKeepsTheEntriesBeforeItAndNamesTheFile) {
    const std::string good = SerializeMem(Sample());
    std::vector<MemEntry> back;
    // Cut anywhere: never a crash; the complete entries before the cut survive.
    for (size_t cut = 0; cut + 1 < good.size(); ++cut) {
        base::Status s = ParseMem(std::string_view(good).substr(0, cut), "QRM.MEM", &back);
        if (!s.ok()) {
            EXPECT_TRUE(s.IsCorruption());
            EXPECT_EQ(s.message().rfind("QRM.MEM: ", 0), 0u) << s.message();
        }
        for (size_t i = 0; i < back.size(); ++i) EXPECT_EQ(back[i], Sample()[i]);
    }
    // Garbage bytes: no crash, a clear status.
    std::string garbage(200, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 73 + 11) % 251);
    EXPECT_TRUE(ParseMem(garbage, "QRM.MEM", &back).IsCorruption());
    std::string bad_type = SerializeMem({{"A", MemValue::Logical(true)}});
    bad_type[11] = static_cast<char>(0xD8);  // 'X'
    base::Status s = ParseMem(bad_type, "QRM.MEM", &back);
    EXPECT_EQ(s.message(), "QRM.MEM: unknown type of A (offset 0)");
    std::string zero_len = SerializeMem({{"A", MemValue::Char("")}});
    zero_len[16] = 0;
    EXPECT_TRUE(ParseMem(zero_len, "QRM.MEM", &back).IsCorruption());
}

class MemScanTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = (std::filesystem::temp_directory_path() /
                 ("kestrel_mem_" + std::to_string(::getpid()) + ".MEM"))
                    .string();
    }
    void TearDown() override { std::filesystem::remove(path_); }
    std::string path_;
};

TEST_F(MemScanTest, DirectScanRules) {
    ASSERT_TRUE(WriteMemFile(path_, {{"NAGLEGA", MemValue::Logical(true)},
                                     {"NAGLSCXML", MemValue::Char("D:\\XML\\")},
                                     {"OLD", MemValue::Date(2000000)},
                                     {"GOOD", MemValue::Date(2461018)},
                                     {"WIDE", MemValue::Numeric(123456.789, 4, 2)}})
                    .ok());
    EXPECT_TRUE(ScanMemVariable(path_, "naglega", MemValue::Type::kLogical)->logical);
    EXPECT_FALSE(ScanMemVariable(path_, "NAGLEGA", MemValue::Type::kChar));      // other type
    EXPECT_FALSE(ScanMemVariable(path_, "NAGLEXML", MemValue::Type::kLogical));  // absent
    EXPECT_EQ(ScanMemVariable(path_, "NAGLSCXML", MemValue::Type::kChar)->text, "D:\\XML\\");
    EXPECT_EQ(ScanMemVariable(path_, "OLD", MemValue::Type::kDate)->julian, 0);  // out of range
    EXPECT_EQ(ScanMemVariable(path_, "GOOD", MemValue::Type::kDate)->julian, 2461018);
    EXPECT_EQ(ScanMemVariable(path_, "WIDE", MemValue::Type::kNumeric)->width, 9);  // "123456.79"
    EXPECT_FALSE(ScanMemVariable(path_ + ".none", "NAGLEGA", MemValue::Type::kLogical));

    // A file above 65,520 bytes is not scanned.
    std::vector<MemEntry> big = {{"NAGLEGA", MemValue::Logical(true)}};
    big.push_back({"FILL", MemValue::Char(std::string(65520 - 33 - 32 - 1 - 1, 'x'))});
    ASSERT_EQ(SerializeMem(big).size(), 65520u);
    ASSERT_TRUE(WriteMemFile(path_, big).ok());
    EXPECT_TRUE(ScanMemVariable(path_, "NAGLEGA", MemValue::Type::kLogical));
    big.back().value.text += 'x';
    ASSERT_TRUE(WriteMemFile(path_, big).ok());
    EXPECT_FALSE(ScanMemVariable(path_, "NAGLEGA", MemValue::Type::kLogical));
}

}  // namespace
}  // namespace kestrel::memfile
