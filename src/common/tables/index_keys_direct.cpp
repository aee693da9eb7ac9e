#include "common/tables/index_keys_direct.h"

#include <algorithm>
#include <cmath>

#include "common/checks/scramble.h"
#include "common/tables/index_functions.h"
#include "platform/dbf/formula_value.h"
#include "platform/formula/builtins.h"
#include "platform/formula/date.h"
#include "platform/formula/number_format.h"

namespace kestrel::common {

using formula::Op;
using formula::Type;
using formula::Value;

namespace {

enum class Host { kNone, kDky, kDkz, kSort, kSort3, kP0a, kSnus, kSdata };

Host HostOf(const std::string& name) {
    if (name == "DKY") return Host::kDky;
    if (name == "DKZ") return Host::kDkz;
    if (name == "QRMSORT") return Host::kSort;
    if (name == "QRMSORT3") return Host::kSort3;
    if (name == "QRMP0A") return Host::kP0a;
    if (name == "QRMSNUS") return Host::kSnus;
    if (name == "QRMSDATA") return Host::kSdata;
    return Host::kNone;
}

// A constant argument that every built-in reads as the same whole number.
bool WholeConstant(const Value& v, int lo, int hi, int* out) {
    if (!v.IsNumber() || v.number() != std::trunc(v.number()) || v.number() < lo || v.number() > hi)
        return false;
    *out = static_cast<int>(v.number());
    return true;
}

}  // namespace

// One step of a part: the part starts with a field and each further step
// turns its value into the next.
struct DirectKey::Step {
    enum Kind {
        kStr,      // number -> str(n, a, b)
        kStrZero,  // number -> strzero(n, a, b)
        kDtos,     // date -> text
        kSubstr,   // text -> substr(s, a, b)
        kHost,     // an index function
        kBuiltin,  // any other built-in of one argument, through its function
    } kind;
    int a = 0, b = 0;
    Host host = Host::kNone;
    int builtin = -1;
};

struct DirectKey::Part {
    int field = 0;
    std::vector<Step> steps;
    Type type = Type::kNil;  // of the result
};

DirectKey::~DirectKey() = default;

std::unique_ptr<DirectKey> DirectKey::Make(const formula::Program& p, formula::Runtime& rt,
                                           const std::vector<dbf::Field>& fields,
                                           const LetterSet& letters) {
    // The bytecode is read as a stack of items: a constant, or parts to be
    // concatenated.
    struct Item {
        bool constant = false;
        Value k;
        std::vector<Part> parts;
        Type type = Type::kNil;
    };
    std::vector<Item> stack;
    auto one_part = [&](int args) -> Part* {
        if (args < 1 || static_cast<int>(stack.size()) < args) return nullptr;
        Item& it = stack[stack.size() - static_cast<size_t>(args)];
        if (it.constant || it.parts.size() != 1) return nullptr;
        for (size_t i = stack.size() - static_cast<size_t>(args) + 1; i < stack.size(); ++i) {
            if (!stack[i].constant) return nullptr;
        }
        return &it.parts[0];
    };
    auto arg = [&](int args, int i) -> const Value& {
        return stack[stack.size() - static_cast<size_t>(args) + static_cast<size_t>(i)].k;
    };
    auto finish = [&](int args, Part* part, Type type) {
        part->type = type;
        stack[stack.size() - static_cast<size_t>(args)].type = type;
        stack.resize(stack.size() - static_cast<size_t>(args) + 1);
    };
    for (const formula::Instr& in : p.code) {
        switch (in.op) {
            case Op::kLoadField: {
                const formula::FieldBinding& f = p.fields[static_cast<size_t>(in.a)];
                if (!f.resolved || !f.alias.empty() || f.ref.field < 0 ||
                    static_cast<size_t>(f.ref.field) >= fields.size())
                    return nullptr;
                Type t;
                switch (fields[static_cast<size_t>(f.ref.field)].type) {
                    case dbf::FieldType::kCharacter:
                        t = Type::kString;
                        break;
                    case dbf::FieldType::kNumeric:
                        t = Type::kNumber;
                        break;
                    case dbf::FieldType::kDate:
                        t = Type::kDate;
                        break;
                    case dbf::FieldType::kLogical:
                        t = Type::kLogical;
                        break;
                    default:
                        return nullptr;
                }
                Item it;
                it.parts.push_back(Part{f.ref.field, {}, t});
                it.type = t;
                stack.push_back(std::move(it));
                break;
            }
            case Op::kConst: {
                const Value& k = p.constants[static_cast<size_t>(in.a)];
                if (!k.IsNumber()) return nullptr;
                Item it;
                it.constant = true;
                it.k = k;
                stack.push_back(std::move(it));
                break;
            }
            case Op::kAdd: {
                if (stack.size() < 2) return nullptr;
                Item& l = stack[stack.size() - 2];
                Item& r = stack.back();
                if (l.constant || r.constant || l.type != Type::kString || r.type != Type::kString)
                    return nullptr;
                for (Part& part : r.parts) l.parts.push_back(std::move(part));
                stack.pop_back();
                break;
            }
            case Op::kCallBuiltin: {
                const std::string name = formula::GetBuiltin(in.a).name;
                Part* part = one_part(in.b);
                if (part == nullptr) return nullptr;
                Step s{};
                Type result;
                if ((name == "STR" || name == "STRZERO") && (in.b == 2 || in.b == 3) &&
                    part->type == Type::kNumber) {
                    s.kind = name == "STR" ? Step::kStr : Step::kStrZero;
                    if (!WholeConstant(arg(in.b, 1), 1, 255, &s.a)) return nullptr;
                    if (in.b == 3 && !WholeConstant(arg(in.b, 2), 0, 15, &s.b)) return nullptr;
                    result = Type::kString;
                } else if (name == "DTOS" && in.b == 1 && part->type == Type::kDate) {
                    s.kind = Step::kDtos;
                    result = Type::kString;
                } else if (name == "SUBSTR" && (in.b == 2 || in.b == 3) &&
                           part->type == Type::kString) {
                    s.kind = Step::kSubstr;
                    if (!WholeConstant(arg(in.b, 1), -255, 255, &s.a)) return nullptr;
                    s.b = 1 << 20;  // to the end
                    if (in.b == 3 && !WholeConstant(arg(in.b, 2), -255, 255, &s.b)) return nullptr;
                    result = Type::kString;
                } else if (in.b == 1 && part->type == Type::kDate &&
                           (name == "YEAR" || name == "MONTH" || name == "DAY")) {
                    s.kind = Step::kBuiltin;
                    s.builtin = in.a;
                    result = Type::kNumber;
                } else if (in.b == 1 && part->type == Type::kString &&
                           (name == "UPPER" || name == "LOWER" || name == "TRIM" ||
                            name == "ALLTRIM" || name == "LTRIM")) {
                    s.kind = Step::kBuiltin;
                    s.builtin = in.a;
                    result = Type::kString;
                } else {
                    return nullptr;
                }
                part->steps.push_back(s);
                finish(in.b, part, result);
                break;
            }
            case Op::kCallHost: {
                const Host h = HostOf(rt.HostFunctionName(in.a));
                Part* part = one_part(in.b);
                if (h == Host::kNone || in.b != 1 || part == nullptr) return nullptr;
                if (part->type != (h == Host::kSdata ? Type::kDate : Type::kString)) return nullptr;
                Step s{};
                s.kind = Step::kHost;
                s.host = h;
                part->steps.push_back(s);
                finish(1, part, Type::kString);
                break;
            }
            case Op::kReturn:
                if (stack.size() != 1 || stack[0].constant) return nullptr;
                {
                    std::unique_ptr<DirectKey> k(new DirectKey());
                    k->rt_ = &rt;
                    k->fields_ = &fields;
                    k->letters_ = &letters;
                    k->sort_ = MakeSortTable(letters);
                    k->string_ = stack[0].type == Type::kString;
                    k->parts_ = std::move(stack[0].parts);
                    return k;
                }
            default:
                return nullptr;
        }
    }
    return nullptr;
}

bool DirectKey::Append(const dbf::Record& rec, std::string* key) {
    const size_t start = key->size();
    for (const Part& part : parts_) {
        const dbf::Field& f = (*fields_)[static_cast<size_t>(part.field)];
        // The value: a text in scratch_, or a plain value in v.
        Value v;
        bool text = f.type == dbf::FieldType::kCharacter;
        if (text && part.steps.empty()) {
            key->append(rec.Raw(part.field));
            continue;
        }
        if (text)
            scratch_.assign(rec.Raw(part.field));
        else
            v = dbf::FieldValue(f, &rec, part.field);
        for (const Step& s : part.steps) {
            switch (s.kind) {
                case Step::kStr:
                case Step::kStrZero:
                    scratch_ = formula::FormatNumber(v.number(), s.a, s.b);
                    if (s.kind == Step::kStrZero) formula::ZeroPad(&scratch_);
                    text = true;
                    break;
                case Step::kDtos:
                    scratch_ = formula::Dtos(v.julian());
                    text = true;
                    break;
                case Step::kSubstr: {
                    // As substr(): a negative start counts from the end.
                    const long long len = static_cast<long long>(scratch_.size());
                    long long from = s.a, count = s.b;
                    if (from < 0)
                        from = std::max(0LL, len + from);
                    else if (from > 0)
                        --from;
                    if (from >= len || count <= 0) {
                        scratch_.clear();
                    } else {
                        scratch_.erase(0, static_cast<size_t>(from));
                        scratch_.resize(static_cast<size_t>(std::min(count, len - from)));
                    }
                    break;
                }
                case Step::kHost:
                    switch (s.host) {
                        case Host::kDky:
                            scratch_ = Unscramble(ScrambleKind::kName, scratch_);
                            break;
                        case Host::kDkz:
                            scratch_ = Unscramble(ScrambleKind::kIdentity, scratch_);
                            break;
                        case Host::kSort:
                            SortKeyInPlace(sort_, &scratch_);
                            break;
                        case Host::kSort3:
                            scratch_ = SortKey3(*letters_, scratch_);
                            break;
                        case Host::kP0a:
                            if (!scratch_.empty() && scratch_[0] == '0') scratch_[0] = 'A';
                            break;
                        case Host::kSnus:
                            scratch_ = TaxOfficeKey(*letters_, scratch_);
                            break;
                        case Host::kSdata:
                            scratch_ = DescendingDateKey(v.julian());
                            text = true;
                            break;
                        case Host::kNone:
                            break;
                    }
                    break;
                case Step::kBuiltin: {
                    Value arg = text ? Value::String(scratch_) : v;
                    formula::Error error;
                    formula::Call call{*rt_,  formula::GetBuiltin(s.builtin).name, &arg, 1, Value(),
                                       &error};
                    if (!formula::GetBuiltin(s.builtin).fn(call)) {
                        key->resize(start);
                        return false;
                    }
                    text = call.result.IsString();
                    if (text)
                        scratch_ = call.result.str();
                    else
                        v = call.result;
                    break;
                }
            }
        }
        if (text)
            key->append(scratch_);
        else
            dbf::AppendKeyText(v, key);
    }
    return true;
}

std::unique_ptr<DirectCondition> DirectCondition::Make(const formula::Program& p,
                                                       const std::vector<dbf::Field>& fields) {
    if (p.code.size() > kMaxSteps) return nullptr;  // deeper than its stack could be
    auto c = std::make_unique<DirectCondition>();
    c->fields_ = &fields;
    // Each instruction becomes one step, so jumps keep their targets.
    int depth = 0;
    for (size_t i = 0; i < p.code.size(); ++i) {
        const formula::Instr& in = p.code[i];
        Step s{Step::kNop};
        switch (in.op) {
            case Op::kLoadField: {
                const formula::FieldBinding& f = p.fields[static_cast<size_t>(in.a)];
                if (!f.resolved || !f.alias.empty() || f.ref.field < 0 ||
                    static_cast<size_t>(f.ref.field) >= fields.size())
                    return nullptr;
                s.field = f.ref.field;
                const dbf::FieldType t = fields[static_cast<size_t>(f.ref.field)].type;
                const bool empty_next =
                    i + 1 < p.code.size() && p.code[i + 1].op == Op::kCallBuiltin &&
                    p.code[i + 1].b == 1 &&
                    std::string(formula::GetBuiltin(p.code[i + 1].a).name) == "EMPTY";
                if (empty_next) {
                    if (t == dbf::FieldType::kMemo) return nullptr;
                    s.kind = Step::kEmpty;  // the call that follows becomes a no-op
                } else if (t == dbf::FieldType::kLogical) {
                    s.kind = Step::kField;
                } else {
                    return nullptr;
                }
                ++depth;
                break;
            }
            case Op::kCallBuiltin:
                if (i == 0 || c->steps_.back().kind != Step::kEmpty) return nullptr;
                break;  // empty(), done by the field step
            case Op::kNot:
                s.kind = Step::kNot;
                break;
            case Op::kAndJump:
            case Op::kOrJump:
                s.kind = in.op == Op::kAndJump ? Step::kAndJump : Step::kOrJump;
                s.target = in.a;
                --depth;
                break;
            case Op::kCheckLogical:
                break;
            case Op::kReturn:
                s.kind = Step::kReturn;
                break;
            default:
                return nullptr;
        }
        c->steps_.push_back(s);
    }
    if (c->steps_.empty() || c->steps_.back().kind != Step::kReturn) return nullptr;
    return c;
}

bool DirectCondition::Test(const dbf::Record& rec) const {
    bool stack[kMaxSteps];
    int sp = 0;
    for (size_t i = 0;;) {
        const Step& s = steps_[i++];
        switch (s.kind) {
            case Step::kField:
                stack[sp++] = rec.GetLogical(s.field);
                break;
            case Step::kEmpty: {
                const dbf::Field& f = (*fields_)[static_cast<size_t>(s.field)];
                bool empty = true;
                if (f.type == dbf::FieldType::kCharacter) {
                    // As empty(): blanks, tabs and line ends only.
                    for (char ch : rec.Raw(s.field)) {
                        if (ch != ' ' && ch != '\t' && ch != '\r' && ch != '\n') empty = false;
                    }
                } else {
                    const Value v = dbf::FieldValue(f, &rec, s.field);
                    if (v.IsNumber())
                        empty = v.number() == 0;
                    else if (v.IsDate())
                        empty = v.julian() == 0;
                    else
                        empty = !v.logical();
                }
                stack[sp++] = empty;
                break;
            }
            case Step::kNot:
                stack[sp - 1] = !stack[sp - 1];
                break;
            case Step::kAndJump:
            case Step::kOrJump:
                if (stack[sp - 1] == (s.kind == Step::kOrJump))
                    i = static_cast<size_t>(s.target);
                else
                    --sp;
                break;
            case Step::kNop:
                break;
            case Step::kReturn:
                return sp > 0 && stack[sp - 1];
        }
    }
}

}  // namespace kestrel::common
