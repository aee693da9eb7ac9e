#include "tools/company_session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/memfile/mem_file.h"

namespace kestrel::tools {
namespace {

using memfile::MemValue;

class CompanySessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = std::filesystem::temp_directory_path() /
                ("kestrel_session_" + std::to_string(::getpid()));
        std::filesystem::create_directories(root_ / "FIRMA.PK");
        dir_ = (root_ / "FIRMA.PK").string() + "/";
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    void Write(std::vector<memfile::MemEntry> entries) {
        ASSERT_TRUE(memfile::WriteMemFile(dir_ + "QRM.MEM", entries).ok());
    }
    std::filesystem::path root_;
    std::string dir_;
};

TEST_F(CompanySessionTest, VariablesMissingFromTheFileTakeTheProgramsStartupDefaults) {
    // A company file of an older version lacks the bank files' directory
    // and the payslips' separating line: the program starts with the
    // company directory and with the line, and so must the tool, or a bank
    // run or a payroll list from the command line would differ from the
    // screen's.
    Write({{"NAGL1", MemValue::Char("FIRMA")}});
    CompanySession session(dir_);
    EXPECT_EQ(session.rt.config().Text("NAGLRORPLI"), dir_);
    EXPECT_TRUE(session.rt.config().Logical("NAGLLINIA", false));
    EXPECT_EQ(session.rt.config().Text("NAGL1"), "FIRMA");
}

TEST_F(CompanySessionTest, WhatTheFileHoldsIsKept) {
    Write({{"NAGL1", MemValue::Char("FIRMA")},
           {"NAGLLINIA", MemValue::Logical(false)},
           {"NAGLRORPLI", MemValue::Char("/tmp/ror/")}});
    CompanySession session(dir_);
    EXPECT_FALSE(session.rt.config().Logical("NAGLLINIA", true));
    EXPECT_EQ(session.rt.config().Text("NAGLRORPLI"), "/tmp/ror/");
}

}  // namespace
}  // namespace kestrel::tools
