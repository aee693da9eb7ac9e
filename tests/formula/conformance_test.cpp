// Runs the conformance cases: every file in conformance/ is a small script
// in the formula language itself (UTF-8; converted to CP852 as text entering
// the program is):
//
//   # comment
//   var NAME = <expression>       public variable, value of the expression
//   slot NAME = <expression>      host slot, value of the expression
//   func NAME(a, b) = <body>      user function
//   expr <expression>             the formula under test ...
//   expect <canonical value>      ... gives this value (see Canonical()),
//   error <message>               ... or fails with exactly this text.
//
// Definitions accumulate through a file; every expr needs an expect or error.
// Formulas the fast evaluator runs are run by the general one as well, and
// must give the same.
// One host function is bound, as payroll binds its library: blad(text)
// raises an error with its own text.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> CaseFiles() {
    std::vector<std::string> files;
    for (const auto& e : fs::directory_iterator(KESTREL_FORMULA_CONFORMANCE_DIR)) {
        if (e.path().extension() == ".txt") files.push_back(e.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

using base::TrimWhitespace;

class Conformance : public ::testing::TestWithParam<std::string> {};

TEST_P(Conformance, File) {
    std::ifstream in(fs::path(KESTREL_FORMULA_CONFORMANCE_DIR) / GetParam());
    ASSERT_TRUE(in) << GetParam();
    Runtime rt;
    rt.RegisterFunction("BLAD", [](Call& c) {
        return c.Fail(Error::Host(c.Arg(0).IsString() ? c.Arg(0).str() : "?"));
    });
    std::vector<std::string> slot_names;
    std::vector<Value> slot_values;
    std::string line, expr;
    int line_no = 0, expr_line = 0, cases = 0;
    auto eval = [&](const std::string& text, Value* v, Error* err) {
        rt.BindSlots(slot_values.data(), slot_values.size());
        Program p;
        if (!rt.Compile(codepage::FromUtf8(text), &p, err)) return false;
        const bool ok = rt.Evaluate(p, v, err);
        if (!p.fast.empty()) {
            // A formula with fast code has no side effects: the general
            // evaluator must give the same value or error.
            rt.SetFastPath(false);
            Value v2;
            Error err2;
            const bool ok2 = rt.Evaluate(p, &v2, &err2);
            rt.SetFastPath(true);
            EXPECT_EQ(ok, ok2) << text;
            EXPECT_EQ(ok ? Canonical(*v) : err->Message(), ok2 ? Canonical(v2) : err2.Message())
                << text;
            if (ok && ok2 && v->IsNumber() && v2.IsNumber()) {
                EXPECT_EQ(v->decimals(), v2.decimals()) << text;
                EXPECT_EQ(v->width(), v2.width()) << text;
            }
        }
        return ok;
    };
    while (std::getline(in, line)) {
        ++line_no;
        line = TrimWhitespace(line);
        if (line.empty() || line[0] == '#') continue;
        const size_t sp = line.find(' ');
        const std::string key = line.substr(0, sp);
        const std::string rest = sp == std::string::npos ? "" : TrimWhitespace(line.substr(sp + 1));
        const std::string where = GetParam() + ":" + std::to_string(line_no);
        if (key == "var" || key == "slot") {
            const size_t eq = rest.find('=');
            ASSERT_NE(eq, std::string::npos) << where;
            const std::string name = TrimWhitespace(rest.substr(0, eq));
            Value v;
            Error err;
            ASSERT_TRUE(eval(rest.substr(eq + 1), &v, &err)) << where << ": " << err.Message();
            if (key == "var") {
                rt.publics().Set(name, v);
            } else {
                const int slot = rt.slots().Declare(name);
                if (slot >= static_cast<int>(slot_values.size())) slot_values.resize(slot + 1);
                slot_values[slot] = v;
            }
        } else if (key == "func") {
            const size_t open = rest.find('('), close = rest.find(')'), eq = rest.find('=', close);
            ASSERT_TRUE(open != std::string::npos && close != std::string::npos &&
                        eq != std::string::npos)
                << where;
            Error err;
            ASSERT_EQ(
                rt.DefineFunction(rest.substr(0, open), rest.substr(open + 1, close - open - 1),
                                  codepage::FromUtf8(rest.substr(eq + 1)), &err),
                DefineResult::kOk)
                << where << ": " << err.Message();
        } else if (key == "expr") {
            ASSERT_TRUE(expr.empty()) << where << ": previous expr has no expectation";
            expr = rest.empty() ? " " : rest;
            expr_line = line_no;
        } else if (key == "expect" || key == "error") {
            ASSERT_FALSE(expr.empty()) << where << ": expectation without expr";
            Value v;
            Error err;
            const bool ok = eval(expr, &v, &err);
            const std::string at = GetParam() + ":" + std::to_string(expr_line) + ": " + expr;
            if (key == "expect") {
                EXPECT_TRUE(ok) << at << "\n  error: " << codepage::ToUtf8(err.Message());
                if (ok) {
                    EXPECT_EQ(codepage::ToUtf8(Canonical(v)), rest) << at;
                }
            } else {
                EXPECT_FALSE(ok) << at << "\n  value: " << codepage::ToUtf8(Canonical(v));
                if (!ok) {
                    EXPECT_EQ(codepage::ToUtf8(err.Message()), rest) << at;
                }
            }
            expr.clear();
            ++cases;
        } else {
            FAIL() << where << ": unknown line " << line;
        }
    }
    EXPECT_TRUE(expr.empty()) << GetParam() << ": last expr has no expectation";
    EXPECT_GT(cases, 0) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Cases, Conformance, ::testing::ValuesIn(CaseFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             for (char& c : name) {
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace kestrel::formula
