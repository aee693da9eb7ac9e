// Error: why a formula could not be compiled or evaluated.
//
// The operator sees exactly one line, produced by Message() from the kind and
// the fields below; those texts are fixed and tests assert them byte for
// byte. Texts are CP852.
#pragma once

#include <string>

namespace kestrel::formula {

enum class ErrorKind {
    kNone,
    kOperatorArgument,   // wrong argument type of an operator: `op`
    kEmptyFormula,       // nothing but blanks and line breaks
    kSyntax,             // does not parse
    kUndefinedFunction,  // `name`
    kUndefinedVariable,  // `name`
    kUndefinedAlias,     // `name`
    kHost,               // raised by a host function; `description` is the whole text
    kOperation,          // any other error with an operation name: `operation`, `number`
    kOther,              // any other error: `description`, `number`
    kWrongResultType,    // the value is not of the type the caller asked for
};

struct Error {
    ErrorKind kind = ErrorKind::kNone;
    std::string op;           // kOperatorArgument: "+", ".AND.", ...
    std::string name;         // kUndefined*: upper case, as the formula names it
    std::string operation;    // kOperation: "SUBSTR", "array access", ...
    std::string description;  // kOther, kHost; kOperation: what went wrong
    int number = 0;           // error sub-code, shown in parentheses
    int position = -1;        // byte offset in the formula text, syntax errors only

    bool ok() const { return kind == ErrorKind::kNone; }

    /// The operator's one-line text, in CP852:
    ///   kOperatorArgument  Błędny argument oper.: "<op>"
    ///   kEmptyFormula      Błąd - "pusty" algorytm
    ///   kSyntax            Błąd syntaktyczny algorytmu
    ///   kUndefinedFunction Błędna funkcja: <name>
    ///   kUndefinedVariable Błędna zmienna: <name>
    ///   kUndefinedAlias    Błędny alias: <name>
    ///   kHost              <description>
    ///   kOperation         Błąd operacji "<operation>" (<number>)
    ///   kOther             Błąd:"<first 26 characters of description>" (<number>)
    ///   kWrongResultType   Błędna wartość algorytmu
    std::string Message() const;

    static Error OperatorArgument(std::string op);
    static Error Operation(std::string operation, int number, std::string description);
    static Error Other(std::string description, int number);
    static Error Host(std::string text);
    static Error Undefined(ErrorKind kind, std::string name);
};

}  // namespace kestrel::formula
