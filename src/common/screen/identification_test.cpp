#include "common/screen/identification.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

class IdentificationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = (std::filesystem::temp_directory_path() /
                 ("kestrel_ident_" + std::to_string(::getpid())))
                    .string();
        std::filesystem::create_directories(root_);
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void MakeList() {
        ASSERT_TRUE(
            SaveOperators(
                OperatorListPath(root_, "FIRMA1.PK"),
                {{kAdministrator, "Administrator", RightBit(8), false, HashPassword("admin")},
                 {"JKOW", "Jan Kowalski", RightBit(6), false, HashPassword("jan")},
                 {"ANOW", "Anna Nowak", RightBit(3), true, HashPassword("anna")}})
                .ok());
    }
    void Prepare(testing::HeadlessRuntime& h) {
        h.rt.set_program_dir(root_, "FIRMA1.PK");
        RefreshOperatorList(h.rt);
    }
    static std::vector<int> Keys(const std::string& text) {
        return std::vector<int>(text.begin(), text.end());
    }
    std::string root_;
};

TEST_F(IdentificationTest, WithoutAListEverythingIsOpenAndTheWarningComesOnce) {
    testing::HeadlessRuntime h({key::kEnter});
    Prepare(h);
    EXPECT_TRUE(CheckRights(h.rt, 4));
    EXPECT_TRUE(IdentifyOperator(h.rt));
    EXPECT_EQ(h.backend.tones().size(), 1u);
    EXPECT_NE(h.ShownRow(8).find("Stwierdzono brak założonych haseł"), std::string::npos);
    EXPECT_TRUE(IdentifyOperator(h.rt));  // no second warning, no key needed
    EXPECT_EQ(h.backend.tones().size(), 1u);
}

TEST_F(IdentificationTest, WrongPasswordThenRightOneAndTheRightsThatFollow) {
    MakeList();
    std::vector<int> keys = Keys("jkow");
    for (int k : Keys("zle")) keys.push_back(k);
    keys.push_back(key::kEnter);  // the wrong password
    keys.push_back(key::kEnter);  // dismisses "Błędne hasło"
    for (int k : Keys("jan")) keys.push_back(k);
    keys.push_back(key::kEnter);
    keys.push_back(key::kEnter);  // dismisses the refusal of the rights check below
    testing::HeadlessRuntime h(keys);
    Prepare(h);
    EXPECT_FALSE(CheckRights(h.rt, 36, false));  // nobody identified yet
    ASSERT_TRUE(IdentifyOperator(h.rt));
    EXPECT_EQ(h.rt.operators().ident, "JKOW");
    EXPECT_EQ(h.rt.config().Text("YIDENT"), "JKOW");
    EXPECT_EQ(h.rt.config().Number("YUPRUZ"), 32);
    EXPECT_EQ(h.At(3, 2, 18), " Użytkownik: JKOW ");
    EXPECT_TRUE(CheckRights(h.rt, 36));
    EXPECT_FALSE(CheckRights(h.rt, 4));
    EXPECT_NE(h.ShownRow(23).find("Brak uprawnień do tej funkcji"), std::string::npos);
    EXPECT_EQ(h.backend.tones().size(), 2u);  // "Błędne hasło" and the refusal
}

TEST_F(IdentificationTest, UnknownAndInactiveOperatorsAreRefused) {
    MakeList();
    std::vector<int> keys = Keys("xxxx");
    keys.push_back(key::kEnter);  // "Brak takiego użytkownika"
    for (int k : Keys("anow")) keys.push_back(k);
    keys.push_back(key::kEnter);  // "Błędny symbol użytkownika"
    keys.push_back(key::kEsc);
    testing::HeadlessRuntime h(keys);
    Prepare(h);
    EXPECT_FALSE(IdentifyOperator(h.rt));
    EXPECT_EQ(h.rt.operators().ident, "    ");
    EXPECT_EQ(h.backend.tones().size(), 2u);
    EXPECT_EQ(h.At(11, 22, 11), "           ");  // the box is gone
}

// The password of the operator at the keyboard, not of anyone on the list:
// another operator's password is refused and asked again; Esc gives up.
TEST_F(IdentificationTest, ConfirmingThePasswordTakesOnlyTheCurrentOperatorsOwn) {
    MakeList();
    std::vector<int> keys = Keys("jkow");
    for (int k : Keys("jan")) keys.push_back(k);
    keys.push_back(key::kEnter);  // identified
    for (int k : Keys("admin")) keys.push_back(k);
    keys.push_back(key::kEnter);  // another operator's password
    keys.push_back(key::kEnter);  // dismisses "Błędne hasło"
    for (int k : Keys("jan")) keys.push_back(k);
    keys.push_back(key::kEnter);  // confirmed
    keys.push_back(key::kEsc);    // the second confirmation given up
    testing::HeadlessRuntime h(keys);
    Prepare(h);
    ASSERT_TRUE(IdentifyOperator(h.rt));
    EXPECT_TRUE(ConfirmPassword(h.rt));
    EXPECT_EQ(h.backend.tones().size(), 1u);  // "Błędne hasło" for the other password
    EXPECT_FALSE(ConfirmPassword(h.rt));
    EXPECT_EQ(h.At(12, 22, 6), "      ");  // the box is gone
}

TEST_F(IdentificationTest, ConfirmingThePasswordNeedsSomebodyIdentifiedOnlyWithAList) {
    testing::HeadlessRuntime open(std::vector<int>{});
    Prepare(open);
    EXPECT_TRUE(ConfirmPassword(open.rt));  // no list: nothing to confirm
    MakeList();
    testing::HeadlessRuntime h({key::kEnter});
    Prepare(h);
    EXPECT_FALSE(ConfirmPassword(h.rt));
    EXPECT_NE(h.ShownRow(23).find("Brak uprawnień do tej funkcji"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::common
