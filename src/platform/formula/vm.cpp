// The evaluator: runs bytecode on the Runtime's value stack.
//
// Invariant: every stack entry at or above the stack pointer is NIL, so
// pushing is a plain assignment and missing user-function arguments are
// already NIL. Every exit path clears what it pushed.
#include <algorithm>
#include <cmath>

#include "platform/formula/builtins.h"
#include "platform/formula/intrinsics.h"
#include "platform/formula/number_format.h"
#include "platform/formula/operators.h"
#include "platform/formula/runtime.h"

namespace kestrel::formula {
namespace {

constexpr int kMaxCallDepth = 200;

bool Binary(Op op, Value& a, const Value& b, Error* error) {
    if (op >= Op::kAdd && op <= Op::kPow) return Arithmetic(op, a, b, error);
    return Comparison(op, a, b, error);
}

void Clear(Value* from, Value* to) {
    for (Value* v = from; v < to; ++v) v->SetNil();
}

// Why field `f` cannot be read: its alias names no open table, or there is
// no such field.
Error Unresolved(const FieldBinding& f, bool alias_open) {
    if (!f.alias.empty() && !alias_open)
        return Error::Undefined(ErrorKind::kUndefinedAlias, f.alias);
    return Error::Undefined(ErrorKind::kUndefinedVariable, f.name);
}

// The current value of field `f` into *out. A reference resolved at compile
// time whose table has been closed since is resolved again by name.
bool LoadField(TableHost* host, const FieldBinding& f, Value* out, Error* error) {
    FieldRef ref = f.ref;
    bool open = false;
    if (host == nullptr || (!f.resolved && !host->ResolveField(f.alias, f.name, &ref, &open))) {
        *error = Unresolved(f, open);
        return false;
    }
    if (host->ReadField(ref, out, error)) return true;
    if (!f.resolved || error->kind != ErrorKind::kUndefinedAlias) return false;
    out->SetNil();  // whatever the host left there
    if (!host->ResolveField(f.alias, f.name, &ref, &open)) {
        *error = Unresolved(f, open);
        return false;
    }
    *error = Error();
    return host->ReadField(ref, out, error);
}

}  // namespace

bool Runtime::CallUser(int index, Value* args, int argc, Value* result, Error* error) {
    const Program* prog = user_fns_[index].program.get();
    if (prog == nullptr) {
        *error = Error::Undefined(ErrorKind::kUndefinedFunction, user_fns_[index].name);
        return false;
    }
    if (--calls_left_ < 0) {
        *error = Error::Other("Too many calls", 2);
        return false;
    }
    if (depth_ >= kMaxCallDepth) {
        *error = Error::Other("Stack overflow", 1);
        return false;
    }
    const int nlocals = argc > prog->params ? argc : prog->params;
    Value* sp = args + nlocals;
    if (stack_end_ - sp < prog->max_stack + 1) {
        *error = Error::Other("Stack overflow", 1);
        return false;
    }
    ++depth_;
    const bool ok = Execute(*prog, args, sp, result, error);
    --depth_;
    Clear(args, sp);
    return ok;
}

bool Runtime::Execute(const Program& p, Value* locals, Value* sp, Value* result, Error* error) {
    Value* const base = sp;
    const Instr* ip = p.code.data();
    for (;;) {
        const Instr& in = *ip++;
        switch (in.op) {
            case Op::kConst:
                (sp++)->CopyIntoNil(p.constants[in.a]);
                break;
            case Op::kNil:
                ++sp;
                break;
            case Op::kLoadLocal:
                (sp++)->CopyIntoNil(locals[in.a]);
                break;
            case Op::kStoreLocal:
                locals[in.a] = sp[-1];
                break;
            case Op::kLoadSlot:
                if (static_cast<size_t>(in.a) >= slot_count_) {
                    *error = Error::Undefined(ErrorKind::kUndefinedVariable, p.names[in.c]);
                    goto fail;
                }
                (sp++)->CopyIntoNil(slot_values_[in.a]);
                break;
            case Op::kStoreSlot:
                if (static_cast<size_t>(in.a) >= slot_count_) {
                    *error = Error::Undefined(ErrorKind::kUndefinedVariable, p.names[in.c]);
                    goto fail;
                }
                slot_values_[in.a] = sp[-1];
                break;
            case Op::kLoadPublic:
                if (!publics_->IsDefined(in.a)) {
                    // A slot declared after this code was compiled.
                    const int slot = slots_.Find(p.names[in.c]);
                    if (slot >= 0 && static_cast<size_t>(slot) < slot_count_) {
                        (sp++)->CopyIntoNil(slot_values_[slot]);
                        break;
                    }
                    *error = Error::Undefined(ErrorKind::kUndefinedVariable, p.names[in.c]);
                    goto fail;
                }
                (sp++)->CopyIntoNil(publics_->Get(in.a));
                break;
            case Op::kStorePublic:
                if (!publics_->IsDefined(in.a)) {
                    const int slot = slots_.Find(p.names[in.c]);
                    if (slot >= 0 && static_cast<size_t>(slot) < slot_count_) {
                        slot_values_[slot] = sp[-1];
                        break;
                    }
                }
                publics_->Set(in.a, sp[-1]);
                break;
            case Op::kLoadField:
                if (!LoadField(host_, p.fields[in.a], sp, error)) {
                    sp->SetNil();  // whatever the host left there
                    goto fail;
                }
                ++sp;
                break;
            case Op::kNeg:
                if (!sp[-1].IsNumber()) {
                    *error = OperatorError(Op::kNeg);
                    goto fail;
                }
                sp[-1].SetNumber(-sp[-1].number(), sp[-1].decimals(), sp[-1].width());
                break;
            case Op::kPos:
                if (!sp[-1].IsNumber()) {
                    *error = OperatorError(Op::kPos);
                    goto fail;
                }
                break;
            case Op::kNot:
                if (!sp[-1].IsLogical()) {
                    *error = OperatorError(Op::kNot);
                    goto fail;
                }
                sp[-1] = Value::Logical(!sp[-1].logical());
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
                if (!(sp[-2].IsNumber() && sp[-1].IsNumber() &&
                      NumberBinary(in.op, sp[-2], sp[-1].number(), sp[-1].decimals())) &&
                    !Binary(in.op, sp[-2], sp[-1], error))
                    goto fail;
                (--sp)->SetNil();
                break;
            case Op::kBinaryConst:
            case Op::kBinarySlot: {
                // The right operand is a constant or a slot, not on the stack.
                const Value* rhs;
                if (in.op == Op::kBinaryConst) {
                    rhs = &p.constants[in.a];
                } else if (static_cast<size_t>(in.a) < slot_count_) {
                    rhs = &slot_values_[in.a];
                } else {
                    *error = Error::Undefined(ErrorKind::kUndefinedVariable, p.names[in.c]);
                    goto fail;
                }
                const Op op = static_cast<Op>(in.b);
                if (sp[-1].IsNumber() && rhs->IsNumber() &&
                    NumberBinary(op, sp[-1], rhs->number(), rhs->decimals()))
                    break;
                (sp++)->CopyIntoNil(*rhs);
                if (!Binary(op, sp[-2], sp[-1], error)) goto fail;
                (--sp)->SetNil();
                break;
            }
            case Op::kAndJump:
            case Op::kOrJump: {
                if (!sp[-1].IsLogical()) {
                    *error = OperatorError(in.op);
                    goto fail;
                }
                const bool decided = sp[-1].logical() == (in.op == Op::kOrJump);
                if (decided)
                    ip = p.code.data() + in.a;
                else
                    (--sp)->SetNil();
                break;
            }
            case Op::kCheckLogical:
                if (!sp[-1].IsLogical()) {
                    *error = OperatorError(in.a == 0 ? Op::kAndJump : Op::kOrJump);
                    goto fail;
                }
                break;
            case Op::kJumpFalse: {
                if (!sp[-1].IsLogical()) {
                    *error = Error::Operation("conditional", 1066, "Argument error");
                    goto fail;
                }
                const bool cond = sp[-1].logical();
                (--sp)->SetNil();
                if (!cond) ip = p.code.data() + in.a;
                break;
            }
            case Op::kJumpUnlessConst:
            case Op::kJumpUnlessSlot: {
                const Value* rhs;
                if (in.op == Op::kJumpUnlessConst) {
                    rhs = &p.constants[in.a];
                } else if (static_cast<size_t>(in.a) < slot_count_) {
                    rhs = &slot_values_[in.a];
                } else {
                    *error = Error::Undefined(ErrorKind::kUndefinedVariable, p.names[in.c]);
                    goto fail;
                }
                const Op cmp = static_cast<Op>(in.x);
                bool cond;
                if (sp[-1].IsNumber() && rhs->IsNumber()) {
                    const double a = sp[-1].number(), b = rhs->number();
                    switch (cmp) {
                        case Op::kLt:
                            cond = a < b;
                            break;
                        case Op::kLe:
                            cond = !(a > b);
                            break;
                        case Op::kGt:
                            cond = a > b;
                            break;
                        case Op::kGe:
                            cond = !(a < b);
                            break;
                        case Op::kNe:
                            cond = a < b || a > b;
                            break;
                        default:
                            cond = !(a < b) && !(a > b);
                            break;  // = ==
                    }
                } else {
                    (sp++)->CopyIntoNil(*rhs);
                    if (!Comparison(cmp, sp[-2], sp[-1], error)) goto fail;
                    (--sp)->SetNil();
                    cond = sp[-1].logical();
                }
                (--sp)->SetNil();
                if (!cond) ip = p.code.data() + in.b;
                break;
            }
            case Op::kJump:
                ip = p.code.data() + in.a;
                break;
            case Op::kPop:
                (--sp)->SetNil();
                break;
            case Op::kCallNumeric: {
                Value* args = sp - in.b;
                bool numbers = true;
                for (int i = 0; i < in.b; ++i) numbers = numbers && args[i].IsNumber();
                if (numbers) {
                    ComputeIntrinsic(static_cast<Intrinsic>(in.x), args, in.b);
                    Clear(args + 1, sp);
                    sp = args + 1;
                    break;
                }
                [[fallthrough]];  // the built-in function reports the error
            }
            case Op::kCallBuiltin:
            case Op::kCallHost: {
                Value* args = sp - in.b;
                Value* saved_top = top_;
                top_ = sp;
                Call call{*this, p.names[in.c].c_str(), args, in.b, Value(), error};
                const bool ok =
                    in.op != Op::kCallHost ? GetBuiltin(in.a).fn(call) : host_fns_[in.a].fn(call);
                top_ = saved_top;
                Clear(args, sp);
                sp = args;
                if (!ok) {
                    if (error->ok()) *error = Error::Operation(call.name, 0, "Error");
                    goto fail;
                }
                *sp++ = std::move(call.result);
                break;
            }
            case Op::kCallUser: {
                Value* args = sp - in.b;
                Value* saved_top = top_;
                top_ = sp;
                Value r;
                const bool ok = CallUser(in.a, args, in.b, &r, error);
                top_ = saved_top;
                if (!ok) {
                    Clear(args, sp);  // a call refused before it ran leaves its arguments
                    sp = args;
                    goto fail;
                }
                sp = args;
                *sp++ = std::move(r);
                break;
            }
            case Op::kMakeArray: {
                Value arr = Value::NewArray(publics_->arrays(), in.a);
                Value* first = sp - in.a;
                for (int i = 0; i < in.a; ++i) arr.items()[i] = std::move(first[i]);
                sp = first;
                *sp++ = std::move(arr);
                break;
            }
            case Op::kIndex:
            case Op::kStoreIndex: {
                const bool store = in.op == Op::kStoreIndex;
                Value* arr = sp - (store ? 3 : 2);
                const Value& idx = arr[1];
                if (!arr->IsArray() || !idx.IsNumber()) {
                    *error = Error::Operation(store ? "array assign" : "array access",
                                              store ? 1069 : 1068, "Argument error");
                    goto fail;
                }
                const double i = std::trunc(idx.number());
                if (!(i >= 1 && i <= static_cast<double>(arr->items().size()))) {
                    *error = Error::Operation(store ? "array assign" : "array access",
                                              store ? 1133 : 1132, "Bound error");
                    goto fail;
                }
                Value& elem = arr->items()[static_cast<size_t>(i) - 1];
                Value v = store ? sp[-1] : elem;
                if (store) elem = v;
                Clear(arr, sp);
                sp = arr;
                *sp++ = std::move(v);
                break;
            }
            case Op::kRaise:
                *error = p.errors[in.a];
                goto fail;
            case Op::kReturn:
                *result = std::move(sp[-1]);
                Clear(base, sp);
                return true;
        }
    }
fail:
    Clear(base, sp);
    *result = Value();
    return false;
}

}  // namespace kestrel::formula
