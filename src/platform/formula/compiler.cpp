#include "platform/formula/compiler.h"

#include <algorithm>
#include <utility>

#include "platform/formula/builtins.h"
#include "platform/formula/names.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

// Stack effect of each opcode (calls and arrays are computed from operands).
int Effect(Op op, int a, int b) {
    switch (op) {
        case Op::kConst:
        case Op::kNil:
        case Op::kLoadLocal:
        case Op::kLoadSlot:
        case Op::kLoadPublic:
        case Op::kLoadField:
            return 1;
        case Op::kAdd:
        case Op::kSub:
        case Op::kMul:
        case Op::kDiv:
        case Op::kMod:
        case Op::kPow:
        case Op::kEq:
        case Op::kEqEq:
        case Op::kNe:
        case Op::kLt:
        case Op::kLe:
        case Op::kGt:
        case Op::kGe:
        case Op::kIn:
        case Op::kIndex:
        case Op::kJumpFalse:
        case Op::kPop:
            return -1;
        case Op::kAndJump:
        case Op::kOrJump:
            return -1;  // on the path that falls through
        case Op::kStoreIndex:
            return -2;
        case Op::kCallBuiltin:
        case Op::kCallHost:
        case Op::kCallUser:
            return 1 - b;
        case Op::kMakeArray:
            return 1 - a;
        case Op::kRaise:
            return 1;
        default:
            return 0;
    }
}

Op BinaryOp(Tok t) {
    switch (t) {
        case Tok::kPlus:
            return Op::kAdd;
        case Tok::kMinus:
            return Op::kSub;
        case Tok::kStar:
            return Op::kMul;
        case Tok::kSlash:
            return Op::kDiv;
        case Tok::kPercent:
            return Op::kMod;
        case Tok::kPower:
            return Op::kPow;
        case Tok::kEq:
            return Op::kEq;
        case Tok::kEqEq:
            return Op::kEqEq;
        case Tok::kNe:
            return Op::kNe;
        case Tok::kLt:
            return Op::kLt;
        case Tok::kLe:
            return Op::kLe;
        case Tok::kGt:
            return Op::kGt;
        case Tok::kGe:
            return Op::kGe;
        default:
            return Op::kIn;
    }
}

}  // namespace

Compiler::Compiler(Runtime& rt, Program* out, std::vector<std::string> params)
    : rt_(rt), p_(out), params_(std::move(params)) {
    p_->params = static_cast<int>(params_.size());
}

void Compiler::Emit(Op op, int a, int b, int c) {
    p_->code.push_back(Instr{op, a, b, c});
    depth_ += Effect(op, a, b);
    p_->max_stack = std::max(p_->max_stack, depth_ + 1);
}

int Compiler::Name(const std::string& name) {
    for (size_t i = 0; i < p_->names.size(); ++i) {
        if (p_->names[i] == name) return static_cast<int>(i);
    }
    p_->names.push_back(name);
    return static_cast<int>(p_->names.size() - 1);
}

int Compiler::Constant(Value v) {
    p_->constants.push_back(std::move(v));
    return static_cast<int>(p_->constants.size() - 1);
}

bool Compiler::Compile(const Node& tree, Error* error) {
    if (!Node_(tree)) {
        *error = Error();
        error->kind = ErrorKind::kSyntax;
        error->position = tree.pos;
        return false;
    }
    Emit(Op::kReturn);
    return true;
}

int Compiler::Field(const std::string& alias, const std::string& name) {
    FieldBinding f;
    f.alias = alias;
    f.name = name;
    bool alias_open = false;
    if (TableHost* host = rt_.host())
        f.resolved = host->ResolveField(alias, name, &f.ref, &alias_open);
    p_->fields.push_back(f);
    return static_cast<int>(p_->fields.size() - 1);
}

void Compiler::LoadMemvar(const std::string& name) {
    const int slot = rt_.slots().Find(name);
    if (slot >= 0) {
        Emit(Op::kLoadSlot, slot, 0, Name(name));
        return;
    }
    Emit(Op::kLoadPublic, rt_.publics().Intern(name), 0, Name(name));
}

void Compiler::LoadName(const std::string& raw) {
    const std::string name = NormalizeName(raw);
    auto it = std::find(params_.begin(), params_.end(), name);
    if (it != params_.end()) {
        Emit(Op::kLoadLocal, static_cast<int>(it - params_.begin()), 0, Name(name));
        return;
    }
    if (TableHost* host = rt_.host()) {
        FieldRef ref;
        bool open = false;
        if (host->ResolveField("", name, &ref, &open)) {
            p_->fields.push_back(FieldBinding{"", name, ref, true});
            Emit(Op::kLoadField, static_cast<int>(p_->fields.size() - 1));
            return;
        }
    }
    LoadMemvar(name);
}

void Compiler::LoadAliased(const std::string& raw_alias, const std::string& raw_name) {
    const std::string alias = NormalizeName(raw_alias);
    const std::string name = NormalizeName(raw_name);
    if (alias == "M" || alias == "MEMVAR" || alias == "MEMVA") {
        LoadMemvar(name);
        return;
    }
    Emit(Op::kLoadField, Field(alias == "FIELD" ? std::string() : alias, name));
}

bool Compiler::Assign(const Node& n) {
    const Node& target = *n.kids[0];
    if (target.kind == NodeKind::kIndex) {
        if (!Node_(*target.kids[0]) || !Node_(*target.kids[1]) || !Node_(*n.kids[1])) return false;
        Emit(Op::kStoreIndex);
        return true;
    }
    std::string name = NormalizeName(target.text);
    bool memvar_only = false;
    if (target.kind == NodeKind::kAliased) {
        const std::string alias = NormalizeName(target.alias);
        if (alias != "M" && alias != "MEMVAR" && alias != "MEMVA")
            return false;  // fields are read-only
        memvar_only = true;
    }
    if (!Node_(*n.kids[1])) return false;
    auto it = std::find(params_.begin(), params_.end(), name);
    if (!memvar_only && it != params_.end()) {
        Emit(Op::kStoreLocal, static_cast<int>(it - params_.begin()), 0, Name(name));
        return true;
    }
    const int slot = rt_.slots().Find(name);
    if (slot >= 0) {
        Emit(Op::kStoreSlot, slot, 0, Name(name));
    } else {
        Emit(Op::kStorePublic, rt_.publics().Intern(name), 0, Name(name));
    }
    return true;
}

bool Compiler::CallFunction(const Node& n) {
    for (const auto& arg : n.kids) {
        if (!Node_(*arg)) return false;
    }
    const int argc = static_cast<int>(n.kids.size());
    const std::string name = NormalizeName(n.text);
    int id = FindBuiltinExact(name);
    if (id >= 0) {
        Emit(Op::kCallBuiltin, id, argc, Name(GetBuiltin(id).name));
        return true;
    }
    id = rt_.FindHostFunction(name);
    if (id >= 0) {
        Emit(Op::kCallHost, id, argc, Name(name));
        return true;
    }
    id = FindBuiltinPrefix(name);
    if (id >= 0) {
        Emit(Op::kCallBuiltin, id, argc, Name(GetBuiltin(id).name));
        return true;
    }
    p_->calls_user = true;
    Emit(Op::kCallUser, rt_.InternUserFunction(name), argc, Name(name));
    return true;
}

bool Compiler::Node_(const Node& n) {
    switch (n.kind) {
        case NodeKind::kNumber:
            Emit(Op::kConst, Constant(Value::Number(n.number, n.decimals)));
            return true;
        case NodeKind::kString:
            Emit(Op::kConst, Constant(Value::String(n.text)));
            return true;
        case NodeKind::kLogical:
            Emit(Op::kConst, Constant(Value::Logical(n.logical)));
            return true;
        case NodeKind::kNil:
            Emit(Op::kNil);
            return true;
        case NodeKind::kName:
            LoadName(n.text);
            return true;
        case NodeKind::kAliased:
            LoadAliased(n.alias, n.text);
            return true;
        case NodeKind::kCall:
            return CallFunction(n);
        case NodeKind::kIndex:
            if (!Node_(*n.kids[0]) || !Node_(*n.kids[1])) return false;
            Emit(Op::kIndex);
            return true;
        case NodeKind::kArray:
            for (const auto& k : n.kids) {
                if (!Node_(*k)) return false;
            }
            Emit(Op::kMakeArray, static_cast<int>(n.kids.size()));
            return true;
        case NodeKind::kUnary:
            if (!Node_(*n.kids[0])) return false;
            Emit(n.op == Tok::kMinus ? Op::kNeg : (n.op == Tok::kPlus ? Op::kPos : Op::kNot));
            return true;
        case NodeKind::kBinary:
            if (!Node_(*n.kids[0]) || !Node_(*n.kids[1])) return false;
            Emit(BinaryOp(n.op));
            return true;
        case NodeKind::kAnd:
        case NodeKind::kOr: {
            const bool is_and = n.kind == NodeKind::kAnd;
            if (!Node_(*n.kids[0])) return false;
            const int jump = Here();
            Emit(is_and ? Op::kAndJump : Op::kOrJump);
            if (!Node_(*n.kids[1])) return false;
            Emit(Op::kCheckLogical, is_and ? 0 : 1);
            Patch(jump);
            return true;
        }
        case NodeKind::kIif: {
            if (!Node_(*n.kids[0])) return false;
            const int to_else = Here();
            Emit(Op::kJumpFalse);
            if (!Node_(*n.kids[1])) return false;
            const int to_end = Here();
            Emit(Op::kJump);
            --depth_;  // the else branch starts without the then value
            Patch(to_else);
            if (!Node_(*n.kids[2])) return false;
            Patch(to_end);
            return true;
        }
        case NodeKind::kAssign:
            return Assign(n);
        case NodeKind::kList:
            for (size_t i = 0; i < n.kids.size(); ++i) {
                if (!Node_(*n.kids[i])) return false;
                if (i + 1 < n.kids.size()) Emit(Op::kPop);
            }
            return true;
    }
    return false;
}

}  // namespace kestrel::formula
