#include "platform/formula/error.h"

#include <utility>

namespace kestrel::formula {
namespace {

// CP852 letters used by the messages.
#define L_l "\x88"  // ł
#define L_e "\xA9"  // ę
#define L_a "\xA5"  // ą
#define L_s "\x98"  // ś
#define L_c "\x86"  // ć

const char kArgOperator[] = "B" L_l L_e "dny argument oper.: ";
const char kEmpty[] = "B" L_l L_a "d - \"pusty\" algorytm";
const char kSyntax[] = "B" L_l L_a "d syntaktyczny algorytmu";
const char kFunction[] = "B" L_l L_e "dna funkcja: ";
const char kVariable[] = "B" L_l L_e "dna zmienna: ";
const char kAlias[] = "B" L_l L_e "dny alias: ";
const char kOperationText[] = "B" L_l L_a "d operacji ";
const char kOtherText[] = "B" L_l L_a "d:";
const char kWrongValue[] = "B" L_l L_e "dna warto" L_s L_c " algorytmu";

}  // namespace

std::string Error::Message() const {
    std::string out;
    switch (kind) {
        case ErrorKind::kNone:
            break;
        case ErrorKind::kOperatorArgument:
            out.append(kArgOperator).append("\"").append(op).append("\"");
            break;
        case ErrorKind::kEmptyFormula:
            out.append(kEmpty);
            break;
        case ErrorKind::kSyntax:
            out.append(kSyntax);
            break;
        case ErrorKind::kUndefinedFunction:
            out.append(kFunction).append(name);
            break;
        case ErrorKind::kUndefinedVariable:
            out.append(kVariable).append(name);
            break;
        case ErrorKind::kUndefinedAlias:
            out.append(kAlias).append(name);
            break;
        case ErrorKind::kHost:
            out = description;
            break;
        case ErrorKind::kOperation:
            out.append(kOperationText).append("\"").append(operation).append("\" (");
            out.append(std::to_string(number)).append(")");
            break;
        case ErrorKind::kOther:
            out.append(kOtherText).append("\"").append(description.substr(0, 26)).append("\" (");
            out.append(std::to_string(number)).append(")");
            break;
        case ErrorKind::kWrongResultType:
            out.append(kWrongValue);
            break;
    }
    return out;
}

Error Error::OperatorArgument(std::string op) {
    Error e;
    e.kind = ErrorKind::kOperatorArgument;
    e.op = std::move(op);
    e.description = "Argument error";
    e.operation = e.op;
    return e;
}

Error Error::Operation(std::string operation, int number, std::string description) {
    Error e;
    e.kind = ErrorKind::kOperation;
    e.operation = std::move(operation);
    e.number = number;
    e.description = std::move(description);
    return e;
}

Error Error::Other(std::string description, int number) {
    Error e;
    e.kind = ErrorKind::kOther;
    e.description = std::move(description);
    e.number = number;
    return e;
}

Error Error::Host(std::string text) {
    Error e;
    e.kind = ErrorKind::kHost;
    e.description = std::move(text);
    return e;
}

Error Error::Undefined(ErrorKind kind, std::string name) {
    Error e;
    e.kind = kind;
    e.name = std::move(name);
    return e;
}

}  // namespace kestrel::formula
