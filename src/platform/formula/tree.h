// Tree: the parsed form of a formula, between the parser and the compiler.
//
// Names are kept as written; the compiler normalises them. PrintTree() gives
// a one-line S-expression for tests.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/formula/lexer.h"

namespace kestrel::formula {

enum class NodeKind {
    kNumber,   // number, decimals
    kString,   // text
    kLogical,  // logical
    kNil,
    kName,     // text: a field or variable name
    kAliased,  // alias->text; alias "M"/"MEMVAR" is a variable, "FIELD" the current area
    kCall,     // text(kids...); a NIL kid stands for a skipped argument
    kIndex,    // kids[0][kids[1]]
    kArray,    // {kids...}
    kUnary,    // op kids[0]: kMinus, kPlus, kNot
    kBinary,   // kids[0] op kids[1]
    kAnd,      // kids[0] .AND. kids[1], short-circuit
    kOr,       // kids[0] .OR. kids[1], short-circuit
    kIif,      // iif(kids[0], kids[1], kids[2])
    kAssign,   // kids[0] := kids[1]; kids[0] is kName, kAliased or kIndex
    kList,     // (kids...): all evaluated, the value of the last
};

struct Node {
    NodeKind kind = NodeKind::kNil;
    Tok op = Tok::kEnd;
    int pos = 0;     // byte offset of the node's first token
    int height = 1;  // 1 + the greatest height of the kids
    double number = 0;
    int decimals = 0;
    bool logical = false;
    std::string text;
    std::string alias;
    std::vector<std::unique_ptr<Node>> kids;
};

using NodePtr = std::unique_ptr<Node>;

/// One-line S-expression: (+ 1 (* 2 3)), (call SUBS "x" 1 2), (-> PKPRAC NR_PRAC) ...
std::string PrintTree(const Node& node);

}  // namespace kestrel::formula
