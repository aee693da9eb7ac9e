#include "platform/formula/bytecode.h"

#include <cstdio>

#include "platform/formula/number_format.h"

namespace kestrel::formula {

const char* OpName(Op op) {
    switch (op) {
        case Op::kConst:
            return "CONST";
        case Op::kNil:
            return "NIL";
        case Op::kLoadLocal:
            return "LOADPARAM";
        case Op::kStoreLocal:
            return "STOREPARAM";
        case Op::kLoadSlot:
            return "LOADSLOT";
        case Op::kStoreSlot:
            return "STORESLOT";
        case Op::kLoadPublic:
            return "LOADVAR";
        case Op::kStorePublic:
            return "STOREVAR";
        case Op::kLoadField:
            return "FIELD";
        case Op::kNeg:
            return "NEG";
        case Op::kPos:
            return "POS";
        case Op::kNot:
            return "NOT";
        case Op::kAdd:
            return "ADD";
        case Op::kSub:
            return "SUB";
        case Op::kMul:
            return "MUL";
        case Op::kDiv:
            return "DIV";
        case Op::kMod:
            return "MOD";
        case Op::kPow:
            return "POW";
        case Op::kEq:
            return "EQ";
        case Op::kEqEq:
            return "EXACTEQ";
        case Op::kNe:
            return "NE";
        case Op::kLt:
            return "LT";
        case Op::kLe:
            return "LE";
        case Op::kGt:
            return "GT";
        case Op::kGe:
            return "GE";
        case Op::kIn:
            return "IN";
        case Op::kAndJump:
            return "ANDJUMP";
        case Op::kOrJump:
            return "ORJUMP";
        case Op::kCheckLogical:
            return "CHECKLOG";
        case Op::kJumpFalse:
            return "JUMPF";
        case Op::kJump:
            return "JUMP";
        case Op::kPop:
            return "POP";
        case Op::kCallBuiltin:
            return "CALL";
        case Op::kCallHost:
            return "CALLHOST";
        case Op::kCallUser:
            return "CALLUSER";
        case Op::kMakeArray:
            return "ARRAY";
        case Op::kIndex:
            return "INDEX";
        case Op::kStoreIndex:
            return "STOREINDEX";
        case Op::kRaise:
            return "RAISE";
        case Op::kReturn:
            return "RETURN";
    }
    return "?";
}

std::string Program::Dump() const {
    std::string out;
    char buf[64];
    for (size_t pc = 0; pc < code.size(); ++pc) {
        const Instr& in = code[pc];
        std::snprintf(buf, sizeof buf, "%04zu %s", pc, OpName(in.op));
        out += buf;
        const std::string name =
            in.c >= 0 && in.c < static_cast<int>(names.size()) ? names[in.c] : "";
        switch (in.op) {
            case Op::kConst:
                out += " " + Canonical(constants[in.a]);
                break;
            case Op::kLoadLocal:
            case Op::kStoreLocal:
            case Op::kLoadSlot:
            case Op::kStoreSlot:
                out += " " + std::to_string(in.a) + " " + name;
                break;
            case Op::kLoadPublic:
            case Op::kStorePublic:
                out += " " + name;
                break;
            case Op::kLoadField: {
                const FieldBinding& f = fields[in.a];
                out += " " + (f.alias.empty() ? std::string() : f.alias + "->") + f.name;
                if (!f.resolved) out += " (unresolved)";
                break;
            }
            case Op::kAndJump:
            case Op::kOrJump:
            case Op::kJumpFalse:
            case Op::kJump:
                std::snprintf(buf, sizeof buf, " -> %04d", in.a);
                out += buf;
                break;
            case Op::kCheckLogical:
                out += in.a == 0 ? " .AND." : " .OR.";
                break;
            case Op::kCallBuiltin:
            case Op::kCallHost:
            case Op::kCallUser:
                out += " " + name + "/" + std::to_string(in.b);
                break;
            case Op::kMakeArray:
                out += " " + std::to_string(in.a);
                break;
            case Op::kRaise:
                out += " " + errors[in.a].Message();
                break;
            default:
                break;
        }
        out += '\n';
    }
    return out;
}

}  // namespace kestrel::formula
