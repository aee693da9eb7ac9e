#include "platform/formula/tree.h"

#include <cstdio>

namespace kestrel::formula {
namespace {

void Print(const Node& n, std::string& out);

void PrintKids(const Node& n, std::string& out) {
    for (const auto& k : n.kids) {
        out += ' ';
        Print(*k, out);
    }
}

void Print(const Node& n, std::string& out) {
    switch (n.kind) {
        case NodeKind::kNumber: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*f", n.decimals, n.number);
            out += buf;
            return;
        }
        case NodeKind::kString:
            out += "\"" + n.text + "\"";
            return;
        case NodeKind::kLogical:
            out += n.logical ? ".T." : ".F.";
            return;
        case NodeKind::kNil:
            out += "NIL";
            return;
        case NodeKind::kName:
            out += n.text;
            return;
        case NodeKind::kAliased:
            out += "(-> " + n.alias + " " + n.text + ")";
            return;
        case NodeKind::kCall:
            out += "(call " + n.text;
            break;
        case NodeKind::kIndex:
            out += "(index";
            break;
        case NodeKind::kArray:
            out += "(array";
            break;
        case NodeKind::kUnary:
            out += n.op == Tok::kMinus ? "(neg" : (n.op == Tok::kPlus ? "(pos" : "(not");
            break;
        case NodeKind::kBinary:
            out += std::string("(") + TokName(n.op);
            break;
        case NodeKind::kAnd:
            out += "(and";
            break;
        case NodeKind::kOr:
            out += "(or";
            break;
        case NodeKind::kIif:
            out += "(iif";
            break;
        case NodeKind::kAssign:
            out += "(:=";
            break;
        case NodeKind::kList:
            out += "(list";
            break;
    }
    PrintKids(n, out);
    out += ')';
}

}  // namespace

std::string PrintTree(const Node& node) {
    std::string out;
    Print(node, out);
    return out;
}

}  // namespace kestrel::formula
