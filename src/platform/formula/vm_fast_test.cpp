// The fast evaluator against the general one: the same formulas over the
// same variables must give the same value (type, number to the bit,
// decimals, width) or the same error, whichever evaluator runs them.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/codepage/cp852.h"
#include "platform/formula/number_format.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

// What one evaluation gave, in a form that compares everything that can
// differ: the canonical text, the number's bits and both attributes.
std::string Outcome(bool ok, const Value& v, const Error& e) {
    if (!ok) return "error " + codepage::ToUtf8(e.Message());
    std::string s = std::string(1, v.TypeLetter()) + " " + Canonical(v);
    if (v.IsNumber()) {
        uint64_t bits;
        const double d = v.number();
        std::memcpy(&bits, &d, sizeof bits);
        s += " bits=" + std::to_string(bits) + " dec=" + std::to_string(v.decimals()) +
             " width=" + std::to_string(v.width());
    }
    return s;
}

class FastPath : public ::testing::Test {
  protected:
    FastPath() {
        for (const char* name : {"A", "B", "C", "D", "L", "M", "DT", "S", "N"})
            rt_.slots().Declare(name);
        slots_.resize(rt_.slots().size());
        rt_.BindSlots(slots_.data(), slots_.size());
        Error err;
        EXPECT_EQ(rt_.DefineFunction("STAWKA", "x", "iif(x < 200707, 6.5/100, 1.5/100)", &err),
                  DefineResult::kOk);
        EXPECT_EQ(rt_.DefineFunction("DWA", "x, y", "x * 2 + iif(y == NIL, 0, y)", &err),
                  DefineResult::kOk);
        EXPECT_EQ(rt_.DefineFunction("GLEBIEJ", "n", "iif(n > 0, glebiej(n - 1) + 1, 0)", &err),
                  DefineResult::kOk);
    }

    // Evaluates `p` with the fast evaluator allowed and then not; both
    // outcomes must be the same. Returns the outcome.
    std::string Both(const Program& p) {
        Value v;
        Error e;
        rt_.SetFastPath(true);
        const std::string fast = Outcome(rt_.Evaluate(p, &v, &e), v, e);
        rt_.SetFastPath(false);
        const std::string general = Outcome(rt_.Evaluate(p, &v, &e), v, e);
        rt_.SetFastPath(true);
        EXPECT_EQ(fast, general) << p.source;
        return fast;
    }

    Program Compile(const std::string& text) {
        Program p;
        Error err;
        EXPECT_TRUE(rt_.Compile(text, &p, &err)) << text << ": " << err.Message();
        return p;
    }

    Runtime rt_;
    std::vector<Value> slots_;
};

TEST_F(FastPath, PayrollFormulasHaveFastCode) {
    // The shapes of payroll algorithms; losing their fast code loses speed.
    for (const char* text : {
             "yround(A*stawka(B),2)",
             "iif(B>0, A/C*B, 0)",
             "max(0, int((A-B-C)+0.5)*0.12-300)",
             "iif(A > 0 .and. !L, yround(A*0.0245, 2), 0)",
             "yint(A/C) + yint(B/C) + mod(B, 7)",
             "year(DT) * 100 + month(DT) < 202401 .or. empty(DT)",
         }) {
        EXPECT_FALSE(Compile(text).fast.empty()) << text;
    }
    // Strings, fields, assignments and host functions stay general.
    for (const char* text : {"str(A, 10, 2)", "A := 1", "{1, 2}[1]", "\"x\" $ S"}) {
        EXPECT_TRUE(Compile(text).fast.empty()) << text;
    }
}

TEST_F(FastPath, GivesUpWhereTheGeneralEvaluatorDecides) {
    slots_[0] = Value::Number(100, 2);
    slots_[1] = Value::Number(0);
    slots_[7] = Value::String("abc");
    // Division by zero is not an error.
    EXPECT_EQ(Both(Compile("A / B + 1")), "N 1 bits=4607182418800017408 dec=0 width=0");
    // A string where a number was expected: the general evaluator's error.
    slots_[1] = Value::String("x");
    EXPECT_EQ(Both(Compile("A * B")), "error Błędny argument oper.: \"*\"");
    // A string in a slot the formula only compares: the general evaluator
    // gives the value.
    EXPECT_EQ(Both(Compile("iif(S == S, 1, 2)")), "N 1 bits=4607182418800017408 dec=0 width=0");
    // An undefined variable, NIL in arithmetic.
    EXPECT_EQ(Both(Compile("NIEMA + 1")), "error Błędna zmienna: NIEMA");
    EXPECT_EQ(Both(Compile("N + 1")), "error Błędny argument oper.: \"+\"");
    // Recursion deeper than the fast evaluator goes.
    EXPECT_EQ(Both(Compile("glebiej(150)")), "N 150 bits=4639481672377565184 dec=0 width=0");
    EXPECT_EQ(Both(Compile("glebiej(500)")), "error Błąd:\"Stack overflow\" (1)");
    // Missing arguments of a user function are NIL.
    EXPECT_EQ(Both(Compile("dwa(3)")), "N 6 bits=4618441417868443648 dec=0 width=0");
}

// Random formulas over random values: numbers of every size and sign with
// their decimals and widths, zero, logicals, dates, NIL and a string.
class RandomFormulas {
  public:
    explicit RandomFormulas(uint32_t seed) : rng_(seed) {}

    std::string Expr(int depth) {
        if (depth <= 0 || Pick(4) == 0) return Leaf();
        switch (Pick(12)) {
            case 0:
                return "(" + Expr(depth - 1) + Op() + Expr(depth - 1) + ")";
            case 1:
                return "iif(" + Cond(depth - 1) + ", " + Expr(depth - 1) + ", " + Expr(depth - 1) +
                       ")";
            case 2:
                return "-" + Expr(depth - 1);
            case 3:
                return Pick(2) ? "int(" + Expr(depth - 1) + ")" : "abs(" + Expr(depth - 1) + ")";
            case 4:
                return std::string(Pick(2) ? "max(" : "min(") + Expr(depth - 1) + ", " +
                       Expr(depth - 1) + ")";
            case 5:
                return Pick(2) ? "yround(" + Expr(depth - 1) + ")"
                               : "yround(" + Expr(depth - 1) + ", " + std::to_string(Pick(5)) + ")";
            case 6:
                return "yint(" + Expr(depth - 1) + ")";
            case 7:
                return std::string(Pick(2) ? "mod(" : "round(") + Expr(depth - 1) + ", " + Leaf() +
                       ")";
            case 8:
                return "stawka(" + Expr(depth - 1) + ")";
            case 9:
                return "dwa(" + Expr(depth - 1) + (Pick(2) ? ", " + Leaf() : "") + ")";
            case 10:
                return Cond(depth - 1);
            default:
                return Expr(depth - 1) + Op() + Leaf();
        }
    }

  private:
    int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }
    std::string Op() {
        static const char* const kOps[] = {" + ", " - ", " * ", " / ", " % ", " ** "};
        return kOps[Pick(6)];
    }
    std::string Leaf() {
        static const char* const kLeaves[] = {"A",   "B",  "C",  "D", "0", "1", "2.5", "0.005",
                                              "100", "-3", "DT", "L", "M", "N", "S"};
        return kLeaves[Pick(Pick(3) == 0 ? 15 : 10)];
    }
    std::string Cond(int depth) {
        static const char* const kCmp[] = {" < ", " <= ", " > ", " >= ", " = ", " == ", " != "};
        switch (Pick(5)) {
            case 0:
                return "(" + Cond(depth - 1) + (Pick(2) ? " .and. " : " .or. ") + Cond(depth - 1) +
                       ")";
            case 1:
                return "!" + std::string(Pick(2) ? "L" : "M");
            case 2:
                return "empty(" + Leaf() + ")";
            default:
                return "(" + (depth > 0 ? Expr(depth - 1) : Leaf()) + kCmp[Pick(7)] + Leaf() + ")";
        }
    }
    std::mt19937 rng_;
};

TEST_F(FastPath, RandomFormulasGiveTheSameOutcomeOnBothEvaluators) {
    std::mt19937 rng(5122026);
    auto number = [&]() {
        static const double kNumbers[] = {0, 1, -1, 2.345, -2.345, 0.005, 1e15, -7.5, 168, 3};
        return Value::Number(kNumbers[rng() % 10], static_cast<int>(rng() % 4),
                             static_cast<int>(rng() % 12));
    };
    RandomFormulas gen(20261208);
    int fast = 0;
    for (int round = 0; round < 3000; ++round) {
        for (int i = 0; i < 4; ++i) slots_[i] = number();
        slots_[4] = Value::Logical(rng() % 2 == 0);
        slots_[5] = rng() % 5 == 0 ? Value::Number(1) : Value::Logical(rng() % 2 == 0);
        slots_[6] = Value::Date(rng() % 3 == 0 ? 0 : 2460311 + static_cast<int32_t>(rng() % 400));
        slots_[7] = Value::String("ab");
        slots_[8] = Value();
        const Program p = Compile(gen.Expr(4));
        if (!p.fast.empty()) ++fast;
        Both(p);
    }
    EXPECT_GT(fast, 2000);  // the comparison above covered the fast evaluator
}

}  // namespace
}  // namespace kestrel::formula
