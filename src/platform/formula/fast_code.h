// Fast code: a second compiled form of the formulas that compute only with
// numbers, dates, logicals and NIL (nearly every payroll algorithm).
//
// It is made from the bytecode, one instruction for each bytecode
// instruction (so jumps keep their targets), with every fused operation
// spelt out as its own opcode and every constant held in the instruction.
// The fast evaluator (vm_fast.cpp) runs it on plain values, with no
// reference counts and nothing to clear. It has no side effects: it stores
// nothing and calls only fast user functions and pure number and date
// built-ins. So whenever it meets anything else at run time (a string in a
// slot, an undefined variable, a type error, too deep a recursion) it gives
// up, and the general evaluator runs the formula from the start and gives
// the result or the error. Both use the same arithmetic (NumberBinary,
// Arithmetic, Comparison, the intrinsics and the built-ins), which is what
// keeps their results identical.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/formula/value.h"

namespace kestrel::formula {

class Program;

/// Values on the fast evaluator's stack; a formula needing more has no fast
/// code.
inline constexpr size_t kFastStackSize = 4096;

enum class FastOp : uint8_t {
    kConst,       // push k
    kLoadSlot,    // push slot a
    kLoadLocal,   // push parameter a
    kLoadPublic,  // push public variable a
    kNeg,
    kPos,
    kNot,
    kAdd,  // two operands on the stack
    kSub,
    kMul,
    kDiv,
    kBinary,  // operator x, two operands on the stack
    kAddK,    // top <op> k
    kSubK,
    kMulK,
    kDivK,
    kBinaryK,  // top <x> k
    kAddS,     // top <op> slot a
    kSubS,
    kMulS,
    kDivS,
    kBinaryS,       // top <x> slot a
    kAndJump,       // as the bytecode
    kOrJump,        //
    kCheckLogical,  //
    kJumpFalse,     //
    kJumpUnlessK,   // pop; unless top <x> k: jump to b
    kJumpUnlessS,   // pop; unless top <x> slot a: jump to b
    kJump,          // jump to a
    kPop,           //
    kIntrinsic,     // intrinsic x of b numbers
    kInt,           // the intrinsics int(n), max(a, b), min(a, b) on their own
    kMax,
    kMin,
    kBuiltin,   // built-in a with b arguments (a pure number or date function)
    kCallUser,  // user function a with b arguments
    // A slot load fused with the operation after it (which stays in place,
    // skipped): push slot a, then the operation with k or with slot c.
    kSlotAddK,
    kSlotSubK,
    kSlotMulK,
    kSlotDivK,
    kSlotBinaryK,  // operator x
    kSlotAddS,
    kSlotSubS,
    kSlotMulS,
    kSlotDivS,
    kSlotBinaryS,      // operator x
    kSlotJumpUnlessK,  // unless slot a <x> k: jump to b
    kSlotJumpUnlessS,  // unless slot a <x> slot c: jump to b
    kReturn,
};

struct FastInstr {
    FastOp op = FastOp::kReturn;
    uint8_t x = 0;  // the operator (an Op) or the Intrinsic
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = 0;  // the second slot of a fused slot load
    Value k;        // the constant: never a string or an array
};

/// The fast code of `program`, or an empty vector when the program uses
/// anything the fast evaluator does not do (strings or arrays in its
/// constants, fields, assignments, arrays, host functions, built-ins that
/// are not pure number and date functions).
std::vector<FastInstr> MakeFastCode(const Program& program);

}  // namespace kestrel::formula
