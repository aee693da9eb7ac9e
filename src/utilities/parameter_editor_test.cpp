#include "utilities/parameter_editor.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "headless_runtime.h"
#include "platform/console/keys.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;
using memfile::MemEntry;
using memfile::MemValue;

std::string Lines(const testing::HeadlessRuntime& h, const MemEntry& e) {
    std::string out;
    for (const auto& l : CheckLines(h.rt, e)) out += codepage::ToUtf8(l) + "|";
    return out;
}

TEST(ParameterEditor, NamesOfNewVariables) {
    for (const char* good : {"NAGL1", "X", "MOJA_ZMIEN", "_A1"})
        EXPECT_TRUE(ValidVariableName(good)) << good;
    for (const char* bad : {"", "1NAGL", "nagl1", "NAGL-1", "ZBYT_DLUGAX", "A B", "Ą"})
        EXPECT_FALSE(ValidVariableName(bad)) << bad;
}

TEST(ParameterEditor, CheckLines) {
    testing::HeadlessRuntime h;
    EXPECT_EQ(Lines(h, {"NAGLTDR", MemValue::Char("EF")}),
              "Błędny ROZM. zmiennej|Prawidłowy ROZM. = 1|");
    EXPECT_EQ(Lines(h, {"NAGLTDR", MemValue::Char("Q")}),
              "Błędna WARTOŚĆ|Dopuszcz. WARTOŚCI: [EFefIiJj89H4LKSs10]|");
    EXPECT_EQ(Lines(h, {"NAGLTDR", MemValue::Char("E")}), "");
    EXPECT_EQ(Lines(h, {"NAGL6", MemValue::Char("527-301-45-88")}), "- błędny numer|");
    EXPECT_EQ(Lines(h, {"NAGL6", MemValue::Char("527-301-45-87")}), "");
    EXPECT_EQ(Lines(h, {"NAGL55", MemValue::Char("12AB")}), "- błędny format|");
    EXPECT_EQ(Lines(h, {"NAGL74", MemValue::Char("61109010140000071219812875")}),
              "- błęda liczba kontrolna|");
    EXPECT_EQ(Lines(h, {"NAGLFP", MemValue::Char("2.45")}),
              "Błędny TYP zmiennej|Prawidłowy TYP = \"N\"|");
    EXPECT_EQ(Lines(h, {"NAGLNRRZUS", MemValue::Char("")}), "");
    EXPECT_EQ(Lines(h, {"NAGLPSHAS", MemValue::Char("PF")}),
              "Błędny ROZM. zmiennej|Prawidłowy ROZM. = 1|");
    EXPECT_EQ(Lines(h, {"NAGLPSHAS", MemValue::Char("T")}),
              "Błędna WARTOŚĆ|Dopuszcz. WARTOŚCI: [NPF]|");
    for (const char* good : {"N", "P", "F", "p"})
        EXPECT_EQ(Lines(h, {"NAGLPSHAS", MemValue::Char(good)}), "") << good;
}

TEST(ParameterEditor, SaveRules) {
    testing::HeadlessRuntime h;
    std::vector<MemEntry> entries;
    EXPECT_EQ(codepage::ToUtf8(PrepareForSave(h.rt, &entries)), "Brak danych do zapisu");
    entries = {{"NAGLFP", MemValue::Numeric(12.345, 6, 2)}, {"NAGL1", MemValue::Char("X")}};
    EXPECT_EQ(PrepareForSave(h.rt, &entries), "");
    EXPECT_DOUBLE_EQ(entries[0].value.number, 12.35);
    entries.push_back({"SZEROKA", MemValue::Numeric(123456.5, 5, 1)});
    EXPECT_EQ(codepage::ToUtf8(PrepareForSave(h.rt, &entries)), "Błędna wartość zmiennej: SZEROKA");
    entries.pop_back();
    entries.push_back({"DUZA", MemValue::Char(std::string(65519, 'x'))});
    EXPECT_EQ(PrepareForSave(h.rt, &entries), "Rozmiar zbioru > 64 k");
}

TEST(ParameterEditor, NewVariableEditedAndSavedAsksForAReload) {
    auto dir =
        std::filesystem::temp_directory_path() / ("kestrel_param_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "QRM.MEM").string();
    ASSERT_TRUE(memfile::WriteMemFile(path, {{"NAGL1", MemValue::Char("FIRMA")}}).ok());
    std::vector<int> keys = {key::kIns};
    for (char c : std::string("NAGLXYZ")) keys.push_back(c);
    keys.push_back(key::kEnter);  // the name
    keys.push_back(key::kEnter);  // edit its value
    for (char c : std::string("abc")) keys.push_back(c);
    keys.push_back(key::kCtrlEnd);
    keys.push_back(key::F(4));
    keys.push_back(key::kEnter);  // "Koniec procedury"
    keys.push_back(key::kEsc);
    testing::HeadlessRuntime h(keys);
    h.rt.set_data_dir(dir.string() + "/");
    Qrm973(h.rt);
    EXPECT_TRUE(h.backend.exhausted());
    std::vector<MemEntry> saved;
    ASSERT_TRUE(memfile::ReadMemFile(path, &saved).ok());
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].name, "NAGLXYZ");  // inserted at the cursor
    EXPECT_EQ(saved[0].value.text, "abc");
    EXPECT_EQ(saved[1].name, "NAGL1");
    EXPECT_TRUE(h.rt.restart_requested());
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kestrel::utilities
