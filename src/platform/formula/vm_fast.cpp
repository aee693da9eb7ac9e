// The fast evaluator: runs fast code (fast_code.h) on a stack of its own
// that only ever holds plain values (NIL, numbers, dates, logicals), so
// values are copied bit for bit and nothing is ever released or cleared.
// Returning false means "not here": nothing has been changed, and the
// general evaluator runs the formula instead.
#include <algorithm>
#include <bit>

#include "platform/formula/builtins.h"
#include "platform/formula/intrinsics.h"
#include "platform/formula/operators.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

constexpr int kMaxFastDepth = 100;

// The comparison of a compare-and-jump, for two numbers (as vm.cpp).
inline bool CompareNumbers(Op cmp, double a, double b) {
    switch (cmp) {
        case Op::kLt:
            return a < b;
        case Op::kLe:
            return !(a > b);
        case Op::kGt:
            return a > b;
        case Op::kGe:
            return !(a < b);
        case Op::kNe:
            return a < b || a > b;
        default:  // = ==
            return !(a < b) && !(a > b);
    }
}

// A plain value in registers: the same type word as Value (type | width <<
// 8 | decimals << 16) and its payload, held as a double so that arithmetic
// stays in floating-point registers (other payloads are its bits).
struct Reg {
    uint64_t head = 0;
    double num = 0;

    static Reg Of(const Value& v) {
        return Reg{v.head_bits(), std::bit_cast<double>(v.payload_bits())};
    }
    void To(Value* v) const { v->SetPlainBits(head, std::bit_cast<uint64_t>(num)); }
    Value AsValue() const {
        Value v;
        To(&v);
        return v;
    }

    Type type() const { return static_cast<Type>(head & 0xFF); }
    bool IsNumber() const { return type() == Type::kNumber; }
    bool IsLogical() const { return type() == Type::kLogical; }
    double number() const { return num; }
    int decimals() const { return static_cast<int>((head >> 16) & 0xFF); }
    int width() const { return static_cast<int>((head >> 8) & 0xFF); }
    // Value keeps a logical as a bool in the first byte of its payload.
    bool logical() const { return (std::bit_cast<uint64_t>(num) & 0xFF) != 0; }
    void SetNumber(double d, int decimals = 0, int width = 0) {
        head = Value::NumberHead(decimals, width);
        num = d;
    }
    void SetLogical(bool b) {
        head = static_cast<uint64_t>(Type::kLogical);
        num = std::bit_cast<double>(uint64_t{b ? 1u : 0u});
    }
};

}  // namespace

bool Runtime::ExecuteFast(const Program& p, Value* locals, Value* sp, int depth, Value* result) {
    const FastInstr* const code = p.fast.data();
    const FastInstr* ip = code;
    const Value* const slots = slot_values_;
    const size_t nslots = slot_count_;
    // The top of the stack is kept in `tos`, out of memory, so that a chain
    // of operations on it stays in registers; the stack in memory holds the
    // values below it (and, at the bottom, the NIL `tos` starts as).
    Reg tos;

    // tos := tos <OP> RHS, neither holding a reference; numbers inline, the
    // rest through the shared operators (on a copy: tos stays in registers).
#define KESTREL_FAST_BINARY(OP, RHS)                                    \
    {                                                                   \
        const Value& r = (RHS);                                         \
        if (!(tos.IsNumber() && r.IsNumber() &&                         \
              NumberBinary(OP, tos, r.number(), r.decimals()))) {       \
            const Op op_ = (OP);                                        \
            Value t = tos.AsValue();                                    \
            const bool ok_ = op_ >= Op::kAdd && op_ <= Op::kPow         \
                                 ? Arithmetic(op_, t, r, &fast_error_)  \
                                 : Comparison(op_, t, r, &fast_error_); \
            if (!ok_) return false;                                     \
            tos = Reg::Of(t);                                           \
        }                                                               \
    }
    // The same with the left operand below the top: pops it.
#define KESTREL_FAST_BINARY_STACK(OP)     \
    {                                     \
        const Value rhs_ = tos.AsValue(); \
        tos = Reg::Of(*--sp);             \
        KESTREL_FAST_BINARY(OP, rhs_);    \
    }
#define KESTREL_FAST_SLOT(I) (static_cast<size_t>(I) < nslots && !slots[I].HoldsReference())
#define KESTREL_FAST_PUSH(V) \
    {                        \
        tos.To(sp++);        \
        tos = Reg::Of(V);    \
    }
#define KESTREL_FAST_POP() tos = Reg::Of(*--sp)

    // Direct threading: every operation jumps to the next one itself (one
    // indirect branch per operation predicts better than one shared one).
    static const void* const kLabels[] = {
        &&kConst,
        &&kLoadSlot,
        &&kLoadLocal,
        &&kLoadPublic,
        &&kNeg,
        &&kPos,
        &&kNot,
        &&kAdd,
        &&kSub,
        &&kMul,
        &&kDiv,
        &&kBinary,
        &&kAddK,
        &&kSubK,
        &&kMulK,
        &&kDivK,
        &&kBinaryK,
        &&kAddS,
        &&kSubS,
        &&kMulS,
        &&kDivS,
        &&kBinaryS,
        &&kAndJump,
        &&kOrJump,
        &&kCheckLogical,
        &&kJumpFalse,
        &&kJumpUnlessK,
        &&kJumpUnlessS,
        &&kJump,
        &&kPop,
        &&kIntrinsic,
        &&kInt,
        &&kMax,
        &&kMin,
        &&kBuiltin,
        &&kCallUser,
        &&kSlotAddK,
        &&kSlotSubK,
        &&kSlotMulK,
        &&kSlotDivK,
        &&kSlotBinaryK,
        &&kSlotAddS,
        &&kSlotSubS,
        &&kSlotMulS,
        &&kSlotDivS,
        &&kSlotBinaryS,
        &&kSlotJumpUnlessK,
        &&kSlotJumpUnlessS,
        &&kReturn,
    };
    static_assert(sizeof kLabels / sizeof kLabels[0] == static_cast<size_t>(FastOp::kReturn) + 1);
    const FastInstr* in;
#define NEXT                                     \
    do {                                         \
        in = ip++;                               \
        goto* kLabels[static_cast<int>(in->op)]; \
    } while (0)

    NEXT;
kConst:
    KESTREL_FAST_PUSH(in->k);
    NEXT;
kLoadSlot:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_PUSH(slots[in->a]);
    NEXT;
kLoadLocal:
    KESTREL_FAST_PUSH(locals[in->a]);
    NEXT;
kLoadPublic:
    if (!publics_->IsDefined(in->a) || publics_->Get(in->a).HoldsReference()) return false;
    KESTREL_FAST_PUSH(publics_->Get(in->a));
    NEXT;
kNeg:
    if (!tos.IsNumber()) return false;
    tos.SetNumber(-tos.number(), tos.decimals(), tos.width());
    NEXT;
kPos:
    if (!tos.IsNumber()) return false;
    NEXT;
kNot:
    if (!tos.IsLogical()) return false;
    tos.SetLogical(!tos.logical());
    NEXT;
kAdd:
    KESTREL_FAST_BINARY_STACK(Op::kAdd);
    NEXT;
kSub:
    KESTREL_FAST_BINARY_STACK(Op::kSub);
    NEXT;
kMul:
    KESTREL_FAST_BINARY_STACK(Op::kMul);
    NEXT;
kDiv:
    KESTREL_FAST_BINARY_STACK(Op::kDiv);
    NEXT;
kBinary:
    KESTREL_FAST_BINARY_STACK(static_cast<Op>(in->x));
    NEXT;
kAddK:
    KESTREL_FAST_BINARY(Op::kAdd, in->k);
    NEXT;
kSubK:
    KESTREL_FAST_BINARY(Op::kSub, in->k);
    NEXT;
kMulK:
    KESTREL_FAST_BINARY(Op::kMul, in->k);
    NEXT;
kDivK:
    KESTREL_FAST_BINARY(Op::kDiv, in->k);
    NEXT;
kBinaryK:
    KESTREL_FAST_BINARY(static_cast<Op>(in->x), in->k);
    NEXT;
kAddS:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_BINARY(Op::kAdd, slots[in->a]);
    NEXT;
kSubS:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_BINARY(Op::kSub, slots[in->a]);
    NEXT;
kMulS:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_BINARY(Op::kMul, slots[in->a]);
    NEXT;
kDivS:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_BINARY(Op::kDiv, slots[in->a]);
    NEXT;
kBinaryS:
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    KESTREL_FAST_BINARY(static_cast<Op>(in->x), slots[in->a]);
    NEXT;
kAndJump:
kOrJump:
    if (!tos.IsLogical()) return false;
    if (tos.logical() == (in->op == FastOp::kOrJump))
        ip = code + in->a;  // decided: the value stays
    else
        KESTREL_FAST_POP();
    NEXT;
kCheckLogical:
    if (!tos.IsLogical()) return false;
    NEXT;
kJumpFalse : {
    if (!tos.IsLogical()) return false;
    const bool cond = tos.logical();
    KESTREL_FAST_POP();
    if (!cond) ip = code + in->a;
    NEXT;
}
kJumpUnlessK:
kJumpUnlessS : {
    const Value* rhs = &in->k;
    if (in->op == FastOp::kJumpUnlessS) {
        if (!KESTREL_FAST_SLOT(in->a)) return false;
        rhs = &slots[in->a];
    }
    bool cond;
    if (tos.IsNumber() && rhs->IsNumber()) {
        cond = CompareNumbers(static_cast<Op>(in->x), tos.number(), rhs->number());
    } else {
        Value t = tos.AsValue();
        if (!Comparison(static_cast<Op>(in->x), t, *rhs, &fast_error_)) return false;
        cond = t.logical();
    }
    KESTREL_FAST_POP();
    if (!cond) ip = code + in->b;
    NEXT;
}
kSlotJumpUnlessK:
kSlotJumpUnlessS : {
    // LOADSLOT a, JUMPUNLESS: the stack is as it was after both.
    if (!KESTREL_FAST_SLOT(in->a)) return false;
    const Value* rhs = &in->k;
    if (in->op == FastOp::kSlotJumpUnlessS) {
        if (!KESTREL_FAST_SLOT(in->c)) return false;
        rhs = &slots[in->c];
    }
    const Value& lhs = slots[in->a];
    bool cond;
    if (lhs.IsNumber() && rhs->IsNumber()) {
        cond = CompareNumbers(static_cast<Op>(in->x), lhs.number(), rhs->number());
    } else {
        Value t;
        t.CopyPlain(lhs);
        if (!Comparison(static_cast<Op>(in->x), t, *rhs, &fast_error_)) return false;
        cond = t.logical();
    }
    ip = cond ? in + 2 : code + in->b;
    NEXT;
}
#define KESTREL_FAST_SLOT_THEN(OP, RHS)          \
    if (!KESTREL_FAST_SLOT(in->a)) return false; \
    KESTREL_FAST_PUSH(slots[in->a]);             \
    KESTREL_FAST_BINARY(OP, RHS);                \
    ip = in + 2;                                 \
    NEXT;
kSlotAddK:
    KESTREL_FAST_SLOT_THEN(Op::kAdd, in->k);
kSlotSubK:
    KESTREL_FAST_SLOT_THEN(Op::kSub, in->k);
kSlotMulK:
    KESTREL_FAST_SLOT_THEN(Op::kMul, in->k);
kSlotDivK:
    KESTREL_FAST_SLOT_THEN(Op::kDiv, in->k);
kSlotBinaryK:
    KESTREL_FAST_SLOT_THEN(static_cast<Op>(in->x), in->k);
kSlotAddS:
    if (!KESTREL_FAST_SLOT(in->c)) return false;
    KESTREL_FAST_SLOT_THEN(Op::kAdd, slots[in->c]);
kSlotSubS:
    if (!KESTREL_FAST_SLOT(in->c)) return false;
    KESTREL_FAST_SLOT_THEN(Op::kSub, slots[in->c]);
kSlotMulS:
    if (!KESTREL_FAST_SLOT(in->c)) return false;
    KESTREL_FAST_SLOT_THEN(Op::kMul, slots[in->c]);
kSlotDivS:
    if (!KESTREL_FAST_SLOT(in->c)) return false;
    KESTREL_FAST_SLOT_THEN(Op::kDiv, slots[in->c]);
kSlotBinaryS:
    if (!KESTREL_FAST_SLOT(in->c)) return false;
    KESTREL_FAST_SLOT_THEN(static_cast<Op>(in->x), slots[in->c]);
#undef KESTREL_FAST_SLOT_THEN
kJump:
    ip = code + in->a;
    NEXT;
kPop:
    KESTREL_FAST_POP();
    NEXT;
kIntrinsic:
    // One argument is the top; two are the value below it and the top.
    if (in->b == 1) {
        if (!tos.IsNumber()) return false;
        ComputeIntrinsic(static_cast<Intrinsic>(in->x), tos, tos, 1);
    } else {
        Reg x = Reg::Of(sp[-1]);
        if (!x.IsNumber() || !tos.IsNumber()) return false;
        ComputeIntrinsic(static_cast<Intrinsic>(in->x), x, tos, 2);
        tos = x;
        --sp;
    }
    NEXT;
kInt:
    if (!tos.IsNumber()) return false;
    ComputeIntrinsic(Intrinsic::kInt, tos, tos, 1);
    NEXT;
kMax:
kMin : {
    Reg x = Reg::Of(sp[-1]);
    if (!x.IsNumber() || !tos.IsNumber()) return false;
    if (in->op == FastOp::kMax)
        ComputeIntrinsic(Intrinsic::kMax, x, tos, 2);
    else
        ComputeIntrinsic(Intrinsic::kMin, x, tos, 2);
    tos = x;
    --sp;
    NEXT;
}
kBuiltin:
    tos.To(sp++);
    sp = FastBuiltin(in->a, in->b, sp);
    if (sp == nullptr) return false;
    KESTREL_FAST_POP();
    NEXT;
kCallUser:
    tos.To(sp++);
    sp = FastCallUser(in->a, in->b, sp, depth);
    if (sp == nullptr) return false;
    KESTREL_FAST_POP();
    NEXT;
kReturn:
    tos.To(result);
    return true;
#undef KESTREL_FAST_BINARY
#undef KESTREL_FAST_BINARY_STACK
#undef KESTREL_FAST_SLOT
#undef KESTREL_FAST_PUSH
#undef KESTREL_FAST_POP
#undef NEXT
}

Value* Runtime::FastBuiltin(int id, int argc, Value* sp) {
    Value* args = sp - argc;
    Call call{*this, GetBuiltin(id).name, args, argc, Value(), &fast_error_};
    if (!GetBuiltin(id).fn(call) || call.result.HoldsReference()) return nullptr;
    args->CopyPlain(call.result);
    return args + 1;
}

Value* Runtime::FastCallUser(int index, int argc, Value* sp, int depth) {
    const Program* callee = user_fns_[index].program.get();
    if (callee == nullptr || callee->fast.empty() || depth >= kMaxFastDepth || --calls_left_ < 0)
        return nullptr;
    Value* args = sp - argc;
    const int nlocals = std::max(argc, callee->params);
    Value* callee_base = args + nlocals;
    if (fast_end_ - callee_base < callee->max_stack + 2) return nullptr;
    for (Value* v = sp; v < callee_base; ++v) v->CopyPlain(Value());  // missing arguments
    if (!ExecuteFast(*callee, args, callee_base, depth + 1, args)) return nullptr;
    return args + 1;
}

}  // namespace kestrel::formula
