// Golden dumps of compiled code: each file in golden/ holds a formula, a line
// "----", and the Dump() of its compiled form. Run with
// KESTREL_UPDATE_GOLDEN=1 to rewrite the dumps after a deliberate change of
// the compiler, then review the diff.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

namespace fs = std::filesystem;

// One table PKPRAC (fields NR_PRAC, GRUPA_ALG), selected.
class OneTableHost : public TableHost {
  public:
    bool ResolveField(std::string_view alias, std::string_view field, FieldRef* ref,
                      bool* alias_open) override {
        *alias_open = alias.empty() || alias == "PKPRAC";
        if (!*alias_open) return false;
        if (field == "NR_PRAC")
            ref->field = 1;
        else if (field == "GRUPA_ALG")
            ref->field = 2;
        else
            return false;
        ref->area = 1;
        return true;
    }
    bool ReadField(const FieldRef&, Value* out, Error*) override {
        *out = Value::String("000001");
        return true;
    }
    bool Eof() override { return false; }
    bool Bof() override { return false; }
    int64_t RecNo() override { return 1; }
    int64_t RecCount() override { return 1; }
    bool Deleted() override { return false; }
    bool Found() override { return false; }
    int Select(std::string_view) override { return 1; }
    std::string Alias(int) override { return "PKPRAC"; }
    bool Seek(const Value&, bool, bool, bool* found, Error*) override {
        *found = false;
        return true;
    }
};

std::vector<std::string> GoldenFiles() {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(KESTREL_FORMULA_GOLDEN_DIR)) {
        if (e.path().extension() == ".txt") files.push_back(e.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, Dump) {
    const fs::path path = fs::path(KESTREL_FORMULA_GOLDEN_DIR) / GetParam();
    std::ifstream in(path);
    ASSERT_TRUE(in);
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string all = ss.str();
    const size_t sep = all.find("\n----\n");
    ASSERT_NE(sep, std::string::npos) << GetParam() << ": no ---- line";
    const std::string formula = all.substr(0, sep);
    const std::string expected = all.substr(sep + 6);

    OneTableHost host;
    Runtime rt(&host);
    for (const char* name : {"ZASA", "DNIPR", "DNNOM", "BRUT", "ZUSP", "KOSZ"})
        rt.slots().Declare(name);
    rt.RegisterFunction("SUMASKLAD", [](Call& c) {
        c.result = Value::Number(0);
        return true;
    });
    Error err;
    ASSERT_EQ(rt.DefineFunction("REN1", "", "1.5/100", &err), DefineResult::kOk);
    Program p;
    ASSERT_TRUE(rt.Compile(formula, &p, &err)) << err.Message();
    if (std::getenv("KESTREL_UPDATE_GOLDEN")) {
        std::ofstream(path) << formula << "\n----\n" << p.Dump();
        return;
    }
    EXPECT_EQ(p.Dump(), expected) << formula;
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(GoldenFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace kestrel::formula
