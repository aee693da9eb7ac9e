// Array functions.
#include <algorithm>

#include "platform/formula/builtins_util.h"
#include "platform/formula/operators.h"

namespace kestrel::formula {
namespace {

// ascan() matches as the = operator does; values of another type never match.
bool Matches(const Value& item, const Value& x) {
    if (item.type() != x.type()) return false;
    switch (x.type()) {
        case Type::kNil:
            return true;
        case Type::kNumber:
            return item.number() == x.number();
        case Type::kString:
            return CompareStrings(item.str(), x.str(), false) == 0;
        case Type::kDate:
            return item.julian() == x.julian();
        case Type::kLogical:
            return item.logical() == x.logical();
        case Type::kArray:
            return item.array_id() == x.array_id();
    }
    return false;
}

// Start and count arguments, clamped to the array: [*from, *to).
bool Range(const Call& c, int i, size_t size, size_t* from, size_t* to) {
    long long start = 1, count = 0;
    if (!IntArg(c, i, 1, &start) || !IntArg(c, i + 1, static_cast<long long>(size), &count))
        return false;
    if (start < 1) start = 1;
    const long long n = static_cast<long long>(size);
    *from = static_cast<size_t>(std::min(start - 1, n));
    *to = static_cast<size_t>(std::clamp(start - 1 + std::max(count, 0LL), start - 1, n));
    if (*to < *from) *to = *from;
    return true;
}

bool NewArray(Call& c, int i, Value* out, int depth) {
    long long n = 0;
    if (!c.Arg(i).IsNumber() || !IntArg(c, i, 0, &n) || n < 0) return c.ArgError(1131);
    if (n > static_cast<long long>(kMaxArray) || depth > 8)
        return c.Fail(Error::Other("Array too big", 1131));
    if (depth == 0) {  // all dimensions together stay within kMaxArray elements
        double total = 1;
        for (int k = i; k < c.argc; ++k) {
            total *= c.Arg(k).IsNumber() ? std::max(1.0, c.Arg(k).number()) : 1.0;
        }
        if (total > static_cast<double>(kMaxArray))
            return c.Fail(Error::Other("Array too big", 1131));
    }
    *out = Value::NewArray(c.rt.arrays(), static_cast<size_t>(n));
    if (i + 1 < c.argc) {
        for (Value& item : out->items()) {
            if (!NewArray(c, i + 1, &item, depth + 1)) return false;
        }
    }
    return true;
}

}  // namespace

bool FnAScan(Call& c) {
    const Value& a = c.Arg(0);
    c.result = Value::Number(0);
    if (!a.IsArray()) return true;
    size_t from = 0, to = 0;
    if (!Range(c, 2, a.items().size(), &from, &to)) return true;
    const Value x = c.Arg(1);
    for (size_t i = from; i < to && i < a.items().size(); ++i) {
        if (Matches(a.items()[i], x)) {
            c.result = Value::Number(static_cast<double>(i + 1));
            break;
        }
    }
    return true;
}

bool FnAAdd(Call& c) {
    if (!c.Arg(0).IsArray()) return c.ArgError(1123);
    if (c.Arg(0).items().size() >= kMaxArray) return c.Fail(Error::Other("Array too big", 1131));
    Value x = c.Arg(1);
    c.Arg(0).items().push_back(x);
    c.result = x;
    return true;
}

bool FnAFill(Call& c) {
    const Value& a = c.Arg(0);
    if (!a.IsArray()) return true;
    size_t from = 0, to = 0;
    if (!Range(c, 2, a.items().size(), &from, &to)) return c.ArgError(9999);
    const Value x = c.Arg(1);
    for (size_t i = from; i < to; ++i) a.items()[i] = x;
    c.result = a;
    return true;
}

bool FnArray(Call& c) {
    if (c.argc == 0) return true;
    return NewArray(c, 0, &c.result, 0);
}

bool FnATail(Call& c) {
    if (c.Arg(0).IsArray() && !c.Arg(0).items().empty()) c.result = c.Arg(0).items().back();
    return true;
}

bool FnASize(Call& c) {
    long long n = 0;
    if (!c.Arg(0).IsArray() || !c.Arg(1).IsNumber() || !IntArg(c, 1, 0, &n))
        return c.ArgError(2023);
    if (n > static_cast<long long>(kMaxArray)) return c.Fail(Error::Other("Array too big", 1131));
    c.Arg(0).items().resize(static_cast<size_t>(std::max(n, 0LL)));
    c.result = c.Arg(0);
    return true;
}

}  // namespace kestrel::formula
