// Bytecode: the compiled form of a formula, run by the evaluator (vm.cpp).
//
// A stack machine. Every instruction has an opcode and up to three integer
// operands; `c` names the instruction's subject in the program's name table
// (for Dump() and for error messages). Dump() prints one instruction a line
// and is what the golden tests compare.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/formula/fast_code.h"
#include "platform/formula/host.h"
#include "platform/formula/value.h"

namespace kestrel::formula {

enum class Op : uint8_t {
    kConst,        // push constants[a]
    kNil,          // push NIL
    kLoadLocal,    // push parameter a
    kStoreLocal,   // parameter a := top (value stays)
    kLoadSlot,     // push slot a; names[c]
    kStoreSlot,    // slot a := top
    kLoadPublic,   // push public variable a; undefined -> error names[c]
    kStorePublic,  // public variable a := top
    kLoadField,    // push fields[a]
    kNeg,
    kPos,
    kNot,
    kAdd,
    kSub,
    kMul,
    kDiv,
    kMod,
    kPow,
    kEq,    // =  (strings: prefix comparison, exact matching off)
    kEqEq,  // ==
    kNe,    // != <> #
    kLt,
    kLe,
    kGt,
    kGe,
    kIn,               // $
    kBinaryConst,      // top := top <b> constants[a]   (b is one of ADD .. IN)
    kBinarySlot,       // top := top <b> slot a; names[c]
    kAndJump,          // top must be logical; .F.: jump to a, keeping it; .T.: pop
    kOrJump,           // top must be logical; .T.: jump to a, keeping it; .F.: pop
    kCheckLogical,     // top must be logical (right operand of .AND. (a=0) / .OR. (a=1))
    kJumpFalse,        // pop; must be logical; .F.: jump to a
    kJumpUnlessConst,  // pop; unless (top <x> constants[a]): jump to b   (x: EQ .. GE)
    kJumpUnlessSlot,   // pop; unless (top <x> slot a): jump to b; names[c]
    kJump,             // jump to a
    kPop,
    kCallBuiltin,  // builtin a with b arguments; names[c]
    kCallNumeric,  // builtin a with b arguments, inline when all are numbers (Intrinsic x)
    kCallHost,     // host function a with b arguments
    kCallUser,     // user function a with b arguments
    kMakeArray,    // pop a values into a new array
    kIndex,        // array, index -> element
    kStoreIndex,   // array, index, value -> value; element := value
    kRaise,        // fail with errors[a]
    kReturn,
};

struct Instr {
    Op op = Op::kReturn;
    uint8_t x = 0;  // kCallNumeric: the Intrinsic; kJumpUnless*: the comparison
    int32_t a = 0;
    int32_t b = 0;
    int32_t c = -1;
};

struct FieldBinding {
    std::string alias;  // as written, upper case; "" for the current area
    std::string name;
    FieldRef ref;
    bool resolved = false;  // false: looked up again on every evaluation
};

class Program {
  public:
    std::vector<Instr> code;
    std::vector<Value> constants;
    std::vector<FieldBinding> fields;
    std::vector<std::string> names;
    std::vector<Error> errors;    // for kRaise
    int max_stack = 0;            // operand stack the code needs, beyond its parameters
    int params = 0;               // parameters of a user function; 0 for a formula
    std::string source;           // the text it was compiled from, line breaks removed
    bool calls_user = false;      // calls a user function (type() says "UI")
    std::vector<FastInstr> fast;  // the fast code; empty when there is none
    mutable int fast_misses = 0;  // times the fast code gave up (see Evaluate)

    bool empty() const { return code.empty(); }

    /// One instruction a line: "0003 ADD", "0004 LOADSLOT 2 ZASA",
    /// "0007 CALL YROUND/2", "0002 JUMPF -> 0006", "0000 CONST 2.345";
    /// an operation with a fused right operand shows it: "0006 MUL #0.12"
    /// (a constant), "0002 SUB @4 ZUSP" (slot 4); a comparison fused with the
    /// jump of an iif: "0001 JUMPUNLESS GT #0 -> 0006".
    std::string Dump() const;
};

const char* OpName(Op op);

}  // namespace kestrel::formula
