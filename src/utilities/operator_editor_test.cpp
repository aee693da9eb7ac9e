#include "utilities/operator_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/screen/identification.h"
#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;
using common::Operator;
using common::RightBit;

void Type(std::vector<int>* keys, const std::string& text) {
    for (char c : text) keys->push_back(static_cast<unsigned char>(c));
}

TEST(OperatorList, SavingNeedsAnOperatorAndEveryKindHeldByAnActiveOne) {
    testing::HeadlessRuntime h;
    const Operator admin{common::kAdministrator, "Administrator", RightBit(8), false, "x"};
    std::vector<Operator> list = {admin};
    EXPECT_EQ(codepage::ToUtf8(CheckOperatorList(h.rt, list)), "Załóż jakiegoś użytkownika");
    list.push_back({"JKOW", "Jan", 0x7F & ~RightBit(2), false, "x"});
    list.push_back({"ANOW", "Anna", RightBit(2), true, "x"});  // inactive: does not count
    EXPECT_EQ(codepage::ToUtf8(CheckOperatorList(h.rt, list)),
              "Żaden użytkownik nie ma uprawn. \"2\"");
    list[2].inactive = false;
    EXPECT_EQ(CheckOperatorList(h.rt, list), "");
}

class Menu98 : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            (std::filesystem::temp_directory_path() / ("kestrel_m98_" + std::to_string(::getpid())))
                .string();
        std::filesystem::create_directories(root_ + "/FIRMA1.PK");
        std::filesystem::create_directories(root_ + "/firma2.pk");
    }
    void TearDown() override { std::filesystem::remove_all(root_); }
    std::string root_;
};

TEST_F(Menu98, FirstAdministratorANewOperatorAndTheSaveToEveryCompany) {
    std::vector<int> keys;
    Type(&keys, "admin");
    keys.push_back(key::kEnter);
    Type(&keys, "admin");
    keys.push_back(key::kEnter);
    keys.push_back(key::kIns);
    Type(&keys, "jkowJan Kowalski");
    keys.push_back(key::kEnter);
    Type(&keys, "XXXXXXX");  // kinds 7 … 1
    keys.push_back(key::kEnter);
    Type(&keys, "jan");
    keys.push_back(key::kEnter);
    Type(&keys, "jan");
    keys.push_back(key::kEnter);
    keys.push_back(key::F(4));
    keys.push_back(key::kEsc);
    testing::HeadlessRuntime h(keys);
    h.rt.set_program_dir(root_, "FIRMA1.PK");
    common::RefreshOperatorList(h.rt);
    Qrm98(h.rt);
    EXPECT_TRUE(h.backend.exhausted());

    for (const char* company : {"", "FIRMA1.PK", "firma2.pk"}) {
        std::vector<Operator> saved;
        ASSERT_TRUE(common::LoadOperators(common::OperatorListPath(root_, company), &saved).ok())
            << company;
        ASSERT_EQ(saved.size(), 2u);
        EXPECT_EQ(saved[0].ident, "ADMI");
        EXPECT_TRUE(common::PasswordMatches("admin", saved[0].password_hash));
        EXPECT_EQ(saved[1].ident, "JKOW");
        EXPECT_EQ(saved[1].name, "Jan Kowalski");
        EXPECT_EQ(saved[1].rights, 0x7Fu);
        EXPECT_TRUE(common::PasswordMatches("jan", saved[1].password_hash));
    }
    EXPECT_TRUE(h.rt.operators().list_exists);
    EXPECT_EQ(h.rt.operators().ident, "    ");
}

TEST_F(Menu98, ASaveWithAKindNobodyHoldsIsRefusedAndEscAsksFirst) {
    std::vector<int> keys;
    Type(&keys, "admin");
    keys.push_back(key::kEnter);
    Type(&keys, "admin");
    keys.push_back(key::kEnter);
    keys.push_back(key::kIns);
    Type(&keys, "anowAnna");
    keys.push_back(key::kEnter);
    Type(&keys, "X");               // kind 7 only
    keys.push_back(key::kCtrlEnd);  // Ctrl+W saves the form
    Type(&keys, "a");
    keys.push_back(key::kEnter);
    Type(&keys, "a");
    keys.push_back(key::kEnter);
    keys.push_back(key::F(4));
    keys.push_back(key::kEnter);  // dismisses the refusal
    keys.push_back(key::kEsc);
    keys.push_back('t');  // "Wyjście bez zapisu?"
    testing::HeadlessRuntime h(keys);
    h.rt.set_program_dir(root_, "FIRMA1.PK");
    common::RefreshOperatorList(h.rt);
    Qrm98(h.rt);
    EXPECT_TRUE(h.backend.exhausted());
    std::vector<Operator> saved;
    EXPECT_TRUE(
        common::LoadOperators(common::OperatorListPath(root_, "FIRMA1.PK"), &saved).IsNotFound());
}

}  // namespace
}  // namespace kestrel::utilities
