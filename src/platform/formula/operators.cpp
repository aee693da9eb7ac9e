#include "platform/formula/operators.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/formula/builtins.h"
#include "platform/formula/number_format.h"

namespace kestrel::formula {

const char* OperatorText(Op op) {
    switch (op) {
        case Op::kAdd:
            return "+";
        case Op::kSub:
        case Op::kNeg:
            return "-";
        case Op::kPos:
            return "+";
        case Op::kMul:
            return "*";
        case Op::kDiv:
            return "/";
        case Op::kMod:
            return "%";
        case Op::kPow:
            return "^";
        case Op::kEq:
            return "=";
        case Op::kEqEq:
            return "==";
        case Op::kNe:
            return "<>";
        case Op::kLt:
            return "<";
        case Op::kLe:
            return "<=";
        case Op::kGt:
            return ">";
        case Op::kGe:
            return ">=";
        case Op::kIn:
            return "$";
        case Op::kNot:
            return ".NOT.";
        case Op::kAndJump:
            return ".AND.";
        case Op::kOrJump:
            return ".OR.";
        default:
            return "?";
    }
}

int OperatorErrorNumber(Op op) {
    switch (op) {
        case Op::kEqEq:
            return 1070;
        case Op::kEq:
            return 1071;
        case Op::kNe:
            return 1072;
        case Op::kLt:
            return 1073;
        case Op::kLe:
            return 1074;
        case Op::kGt:
            return 1075;
        case Op::kGe:
            return 1076;
        case Op::kNot:
            return 1077;
        case Op::kAndJump:
            return 1078;
        case Op::kOrJump:
            return 1079;
        case Op::kNeg:
            return 1080;
        case Op::kAdd:
        case Op::kPos:
            return 1081;
        case Op::kSub:
            return 1082;
        case Op::kMul:
            return 1083;
        case Op::kDiv:
            return 1084;
        case Op::kMod:
            return 1085;
        case Op::kPow:
            return 1088;
        case Op::kIn:
            return 1109;
        default:
            return 0;
    }
}

Error OperatorError(Op op) {
    Error e = Error::OperatorArgument(OperatorText(op));
    e.number = OperatorErrorNumber(op);
    return e;
}

int CompareStrings(const std::string& a, const std::string& b, bool exact) {
    const size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0) return c < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    if (a.size() < b.size()) return -1;
    return exact ? 1 : 0;
}

namespace {

bool Concat(Value& a, const std::string& left, const std::string& right, Error* error) {
    if (left.size() + right.size() > kMaxString) {
        *error = Error::Other("String overflow", 1209);
        return false;
    }
    std::string s;
    s.reserve(left.size() + right.size());
    s += left;
    s += right;
    a = Value::TakeString(std::move(s));
    return true;
}

int32_t DaysOf(double d) {
    return static_cast<int32_t>(std::clamp(std::trunc(d), -1e8, 1e8));
}

}  // namespace

bool Arithmetic(Op op, Value& a, const Value& b, Error* error) {
    if (a.IsNumber() && b.IsNumber()) {
        const double x = a.number(), y = b.number();
        switch (op) {
            case Op::kAdd:
                a.SetNumber(x + y, std::max(a.decimals(), b.decimals()));
                return true;
            case Op::kSub:
                a.SetNumber(x - y, std::max(a.decimals(), b.decimals()));
                return true;
            case Op::kMul:
                a.SetNumber(x * y, a.decimals() + b.decimals());
                return true;
            case Op::kDiv:
                if (y == 0)
                    a.SetNumber(0);
                else
                    a.SetNumber(x / y, kSetDecimals);
                return true;
            case Op::kMod:
                if (y == 0)
                    a.SetNumber(0);
                else
                    a.SetNumber(std::fmod(x, y), kSetDecimals);
                return true;
            case Op::kPow:
                a.SetNumber(std::pow(x, y), kSetDecimals);
                return true;
            default:
                break;
        }
    } else if (op == Op::kAdd) {
        if (a.IsString() && b.IsString()) return Concat(a, a.str(), b.str(), error);
        if (a.IsDate() && b.IsNumber()) {
            a = Value::Date(a.julian() + DaysOf(b.number()));
            return true;
        }
        if (a.IsNumber() && b.IsDate()) {
            a = Value::Date(b.julian() + DaysOf(a.number()));
            return true;
        }
    } else if (op == Op::kSub) {
        if (a.IsString() && b.IsString()) {
            // "ab  " - "cd" = "abcd  ": the left operand's trailing blanks go last.
            const std::string& l = a.str();
            size_t end = l.size();
            while (end > 0 && l[end - 1] == ' ') --end;
            std::string right = b.str() + std::string(l.size() - end, ' ');
            return Concat(a, l.substr(0, end), right, error);
        }
        if (a.IsDate() && b.IsNumber()) {
            a = Value::Date(a.julian() - DaysOf(b.number()));
            return true;
        }
        if (a.IsDate() && b.IsDate()) {
            a.SetNumber(static_cast<double>(a.julian()) - b.julian());
            return true;
        }
    }
    *error = OperatorError(op);
    return false;
}

bool Comparison(Op op, Value& a, const Value& b, Error* error) {
    int c = 0;
    if (op == Op::kIn) {
        if (!a.IsString() || !b.IsString()) {
            *error = OperatorError(op);
            return false;
        }
        const bool in = !a.str().empty() && b.str().find(a.str()) != std::string::npos;
        a = Value::Logical(in);
        return true;
    }
    const bool equality = op == Op::kEq || op == Op::kEqEq || op == Op::kNe;
    if (a.IsNil() || b.IsNil()) {
        if (!equality) {
            *error = OperatorError(op);
            return false;
        }
        const bool same = a.IsNil() && b.IsNil();
        a = Value::Logical(op == Op::kNe ? !same : same);
        return true;
    }
    if (a.type() != b.type()) {
        *error = OperatorError(op);
        return false;
    }
    switch (a.type()) {
        case Type::kNumber:
            c = a.number() < b.number() ? -1 : (a.number() > b.number() ? 1 : 0);
            break;
        case Type::kString:
            c = CompareStrings(a.str(), b.str(), op == Op::kEqEq);
            break;
        case Type::kDate:
            c = a.julian() < b.julian() ? -1 : (a.julian() > b.julian() ? 1 : 0);
            break;
        case Type::kLogical:
            c = static_cast<int>(a.logical()) - static_cast<int>(b.logical());
            break;
        case Type::kArray:
            if (op != Op::kEqEq) {
                *error = OperatorError(op);
                return false;
            }
            c = a.array_id() == b.array_id() ? 0 : 1;
            break;
        default:
            break;
    }
    bool r = false;
    switch (op) {
        case Op::kEq:
        case Op::kEqEq:
            r = c == 0;
            break;
        case Op::kNe:
            r = c != 0;
            break;
        case Op::kLt:
            r = c < 0;
            break;
        case Op::kLe:
            r = c <= 0;
            break;
        case Op::kGt:
            r = c > 0;
            break;
        case Op::kGe:
            r = c >= 0;
            break;
        default:
            break;
    }
    a = Value::Logical(r);
    return true;
}

}  // namespace kestrel::formula
