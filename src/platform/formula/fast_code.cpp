#include "platform/formula/fast_code.h"

#include <string_view>

#include "platform/formula/builtins.h"
#include "platform/formula/bytecode.h"
#include "platform/formula/intrinsics.h"

namespace kestrel::formula {
namespace {

// Built-ins that, given numbers, dates, logicals or NIL, only compute a
// number, a date or a logical: they read nothing and change nothing.
bool IsPureBuiltin(int id) {
    static constexpr std::string_view kPure[] = {
        "INT", "ABS",    "MAX",  "MIN",  "MOD",   "ROUND", "SQRT", "EXP",
        "LOG", "YROUND", "YINT", "YEAR", "MONTH", "DAY",   "DOW",  "EMPTY",
    };
    const std::string_view name = GetBuiltin(id).name;
    for (std::string_view p : kPure) {
        if (p == name) return true;
    }
    return false;
}

// The specialised opcode of an operation with its right operand on the
// stack (0), a constant (1) or a slot (2).
FastOp BinaryOpcode(Op op, int right) {
    static constexpr FastOp kOps[3][5] = {
        {FastOp::kAdd, FastOp::kSub, FastOp::kMul, FastOp::kDiv, FastOp::kBinary},
        {FastOp::kAddK, FastOp::kSubK, FastOp::kMulK, FastOp::kDivK, FastOp::kBinaryK},
        {FastOp::kAddS, FastOp::kSubS, FastOp::kMulS, FastOp::kDivS, FastOp::kBinaryS},
    };
    int i = 4;
    switch (op) {
        case Op::kAdd:
            i = 0;
            break;
        case Op::kSub:
            i = 1;
            break;
        case Op::kMul:
            i = 2;
            break;
        case Op::kDiv:
            i = 3;
            break;
        default:
            break;
    }
    return kOps[right][i];
}

// A slot load followed by an operation on a constant or a slot, or by a
// compare-and-jump, becomes one instruction, unless a jump lands on the
// operation.
void Fuse(std::vector<FastInstr>* code) {
    std::vector<bool> target(code->size() + 1, false);
    for (const FastInstr& f : *code) {
        switch (f.op) {
            case FastOp::kJump:
            case FastOp::kJumpFalse:
            case FastOp::kAndJump:
            case FastOp::kOrJump:
                target[static_cast<size_t>(f.a)] = true;
                break;
            case FastOp::kJumpUnlessK:
            case FastOp::kJumpUnlessS:
                target[static_cast<size_t>(f.b)] = true;
                break;
            default:
                break;
        }
    }
    for (size_t i = 0; i + 1 < code->size(); ++i) {
        FastInstr& load = (*code)[i];
        const FastInstr& next = (*code)[i + 1];
        if (load.op != FastOp::kLoadSlot || target[i + 1]) continue;
        FastOp fused;
        switch (next.op) {
            case FastOp::kAddK:
                fused = FastOp::kSlotAddK;
                break;
            case FastOp::kSubK:
                fused = FastOp::kSlotSubK;
                break;
            case FastOp::kMulK:
                fused = FastOp::kSlotMulK;
                break;
            case FastOp::kDivK:
                fused = FastOp::kSlotDivK;
                break;
            case FastOp::kBinaryK:
                fused = FastOp::kSlotBinaryK;
                break;
            case FastOp::kAddS:
                fused = FastOp::kSlotAddS;
                break;
            case FastOp::kSubS:
                fused = FastOp::kSlotSubS;
                break;
            case FastOp::kMulS:
                fused = FastOp::kSlotMulS;
                break;
            case FastOp::kDivS:
                fused = FastOp::kSlotDivS;
                break;
            case FastOp::kBinaryS:
                fused = FastOp::kSlotBinaryS;
                break;
            case FastOp::kJumpUnlessK:
                fused = FastOp::kSlotJumpUnlessK;
                break;
            case FastOp::kJumpUnlessS:
                fused = FastOp::kSlotJumpUnlessS;
                break;
            default:
                continue;
        }
        const int slot = load.a;
        load = next;
        load.op = fused;
        load.c = next.a;  // the second slot, when the operation has one
        load.a = slot;
    }
}

}  // namespace

std::vector<FastInstr> MakeFastCode(const Program& p) {
    std::vector<FastInstr> out;
    if (static_cast<size_t>(p.max_stack) + 2 > kFastStackSize) return out;
    out.reserve(p.code.size());
    auto constant = [&](int index, FastInstr* f) {
        const Value& k = p.constants[static_cast<size_t>(index)];
        if (k.HoldsReference()) return false;
        f->k = k;
        return true;
    };
    for (const Instr& in : p.code) {
        FastInstr f;
        f.a = in.a;
        f.b = in.b;
        f.x = in.x;
        switch (in.op) {
            case Op::kConst:
                f.op = FastOp::kConst;
                if (!constant(in.a, &f)) return {};
                break;
            case Op::kNil:
                f.op = FastOp::kConst;  // k is NIL
                break;
            case Op::kLoadLocal:
                f.op = FastOp::kLoadLocal;
                break;
            case Op::kLoadSlot:
                f.op = FastOp::kLoadSlot;
                break;
            case Op::kLoadPublic:
                f.op = FastOp::kLoadPublic;
                break;
            case Op::kNeg:
                f.op = FastOp::kNeg;
                break;
            case Op::kPos:
                f.op = FastOp::kPos;
                break;
            case Op::kNot:
                f.op = FastOp::kNot;
                break;
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
                f.op = BinaryOpcode(in.op, 0);
                f.x = static_cast<uint8_t>(in.op);
                break;
            case Op::kBinaryConst:
                f.op = BinaryOpcode(static_cast<Op>(in.b), 1);
                f.x = static_cast<uint8_t>(in.b);
                if (!constant(in.a, &f)) return {};
                break;
            case Op::kBinarySlot:
                f.op = BinaryOpcode(static_cast<Op>(in.b), 2);
                f.x = static_cast<uint8_t>(in.b);
                break;
            case Op::kAndJump:
                f.op = FastOp::kAndJump;
                break;
            case Op::kOrJump:
                f.op = FastOp::kOrJump;
                break;
            case Op::kCheckLogical:
                f.op = FastOp::kCheckLogical;
                break;
            case Op::kJumpFalse:
                f.op = FastOp::kJumpFalse;
                break;
            case Op::kJumpUnlessConst:
                f.op = FastOp::kJumpUnlessK;
                if (!constant(in.a, &f)) return {};
                break;
            case Op::kJumpUnlessSlot:
                f.op = FastOp::kJumpUnlessS;
                break;
            case Op::kJump:
                f.op = FastOp::kJump;
                break;
            case Op::kPop:
                f.op = FastOp::kPop;
                break;
            case Op::kCallNumeric: {
                const auto k = static_cast<Intrinsic>(in.x);
                f.op = FastOp::kIntrinsic;
                if (k == Intrinsic::kInt && in.b == 1) f.op = FastOp::kInt;
                if (k == Intrinsic::kMax && in.b == 2) f.op = FastOp::kMax;
                if (k == Intrinsic::kMin && in.b == 2) f.op = FastOp::kMin;
                break;
            }
            case Op::kCallBuiltin:
                if (!IsPureBuiltin(in.a)) return {};
                f.op = FastOp::kBuiltin;
                break;
            case Op::kCallUser:
                f.op = FastOp::kCallUser;
                break;
            case Op::kReturn:
                f.op = FastOp::kReturn;
                break;
            default:  // fields, assignments, arrays, host functions, kRaise
                return {};
        }
        out.push_back(f);
    }
    Fuse(&out);
    return out;
}

}  // namespace kestrel::formula
