#include "platform/formula/parser.h"

#include <algorithm>
#include <cctype>
#include <utility>
#include "platform/base/text.h"

namespace kestrel::formula {
namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : lexer_(text) { Advance(); }

    // A formula may be a list without parentheses: "a := 1, a + 1".
    NodePtr ParseAll() {
        auto list = New(NodeKind::kList, tok_.pos);
        do {
            NodePtr e = Expr();
            if (!e) return nullptr;
            list->kids.push_back(std::move(e));
        } while (Accept(Tok::kComma));
        if (tok_.kind != Tok::kEnd) return Fail();
        if (list->kids.size() == 1) return std::move(list->kids[0]);
        return Seal(std::move(list));
    }
    int error_pos() const { return error_pos_; }

  private:
    void Advance() { tok_ = lexer_.Next(); }
    bool Accept(Tok k) {
        if (tok_.kind != k) return false;
        Advance();
        return true;
    }
    NodePtr Fail() {
        if (error_pos_ < 0) error_pos_ = tok_.pos;
        return nullptr;
    }
    NodePtr New(NodeKind kind, int pos) {
        auto n = std::make_unique<Node>();
        n->kind = kind;
        n->pos = pos;
        return n;
    }
    NodePtr Binary(NodeKind kind, Tok op, NodePtr l, NodePtr r) {
        auto n = New(kind, l->pos);
        n->op = op;
        n->kids.push_back(std::move(l));
        n->kids.push_back(std::move(r));
        return Seal(std::move(n));
    }
    // Sets the height of a finished composite node; too tall is a failure.
    NodePtr Seal(NodePtr n) {
        for (const auto& k : n->kids) n->height = std::max(n->height, k->height + 1);
        if (n->height > kMaxHeight) return Fail();
        return n;
    }

    struct DepthGuard {
        explicit DepthGuard(int& d) : d_(d) { ++d_; }
        ~DepthGuard() { --d_; }
        int& d_;
    };

    NodePtr Expr() {
        DepthGuard guard(depth_);
        if (depth_ > kMaxDepth) return Fail();
        NodePtr target = Or();
        if (!target) return nullptr;
        if (tok_.kind != Tok::kAssign) return target;
        if (target->kind != NodeKind::kName && target->kind != NodeKind::kAliased &&
            target->kind != NodeKind::kIndex)
            return Fail();
        Advance();
        NodePtr value = Expr();
        if (!value) return nullptr;
        return Binary(NodeKind::kAssign, Tok::kAssign, std::move(target), std::move(value));
    }

    NodePtr Or() {
        NodePtr l = And();
        while (l && tok_.kind == Tok::kOr) {
            Advance();
            NodePtr r = And();
            if (!r) return nullptr;
            l = Binary(NodeKind::kOr, Tok::kOr, std::move(l), std::move(r));
        }
        return l;
    }

    NodePtr And() {
        NodePtr l = Relation();
        while (l && tok_.kind == Tok::kAnd) {
            Advance();
            NodePtr r = Relation();
            if (!r) return nullptr;
            l = Binary(NodeKind::kAnd, Tok::kAnd, std::move(l), std::move(r));
        }
        return l;
    }

    static bool IsRelation(Tok k) {
        return k == Tok::kEq || k == Tok::kEqEq || k == Tok::kNe || k == Tok::kLt ||
               k == Tok::kLe || k == Tok::kGt || k == Tok::kGe || k == Tok::kDollar;
    }

    NodePtr Relation() {
        NodePtr l = Additive();
        while (l && IsRelation(tok_.kind)) {
            const Tok op = tok_.kind;
            Advance();
            NodePtr r = Additive();
            if (!r) return nullptr;
            l = Binary(NodeKind::kBinary, op, std::move(l), std::move(r));
        }
        return l;
    }

    NodePtr Additive() {
        NodePtr l = Multiplicative();
        while (l && (tok_.kind == Tok::kPlus || tok_.kind == Tok::kMinus)) {
            const Tok op = tok_.kind;
            Advance();
            NodePtr r = Multiplicative();
            if (!r) return nullptr;
            l = Binary(NodeKind::kBinary, op, std::move(l), std::move(r));
        }
        return l;
    }

    NodePtr Multiplicative() {
        NodePtr l = Power();
        while (l && (tok_.kind == Tok::kStar || tok_.kind == Tok::kSlash ||
                     tok_.kind == Tok::kPercent)) {
            const Tok op = tok_.kind;
            Advance();
            NodePtr r = Power();
            if (!r) return nullptr;
            l = Binary(NodeKind::kBinary, op, std::move(l), std::move(r));
        }
        return l;
    }

    NodePtr Power() {
        NodePtr l = Unary();
        while (l && tok_.kind == Tok::kPower) {
            Advance();
            NodePtr r = Unary();
            if (!r) return nullptr;
            l = Binary(NodeKind::kBinary, Tok::kPower, std::move(l), std::move(r));
        }
        return l;
    }

    NodePtr Unary() {
        DepthGuard guard(depth_);
        if (depth_ > kMaxDepth) return Fail();
        const Tok op = tok_.kind;
        if (op != Tok::kMinus && op != Tok::kPlus && op != Tok::kNot) return Postfix();
        const int pos = tok_.pos;
        Advance();
        NodePtr operand = op == Tok::kNot ? Relation() : Unary();
        if (!operand) return nullptr;
        auto n = New(NodeKind::kUnary, pos);
        n->op = op;
        n->kids.push_back(std::move(operand));
        return Seal(std::move(n));
    }

    NodePtr Postfix() {
        NodePtr n = Primary();
        while (n && tok_.kind == Tok::kLBracket) {
            Advance();
            do {
                NodePtr index = Expr();
                if (!index) return nullptr;
                n = Binary(NodeKind::kIndex, Tok::kLBracket, std::move(n), std::move(index));
                if (!n) return nullptr;
            } while (Accept(Tok::kComma));
            if (!Accept(Tok::kRBracket)) return Fail();
        }
        return n;
    }

    // Arguments after '(' up to and including ')'. A skipped one is NIL.
    bool Arguments(Node* call) {
        if (Accept(Tok::kRParen)) return true;
        for (;;) {
            if (tok_.kind == Tok::kComma || tok_.kind == Tok::kRParen) {
                call->kids.push_back(New(NodeKind::kNil, tok_.pos));
            } else {
                NodePtr arg = Expr();
                if (!arg) return false;
                call->kids.push_back(std::move(arg));
            }
            if (Accept(Tok::kRParen)) return true;
            if (!Accept(Tok::kComma)) {
                Fail();
                return false;
            }
        }
    }

    NodePtr Name() {
        const Token t = tok_;
        Advance();
        const std::string upper = base::AsciiUpper(t.text);
        if (upper == "NIL") return New(NodeKind::kNil, t.pos);
        if (Accept(Tok::kLParen)) {
            auto call = New(NodeKind::kCall, t.pos);
            call->text = std::string(t.text);
            if (!Arguments(call.get())) return nullptr;
            if (upper == "IIF" || upper == "IF") {
                if (call->kids.size() != 3) return Fail();
                call->kind = NodeKind::kIif;
            }
            return Seal(std::move(call));
        }
        if (Accept(Tok::kArrow)) {
            if (tok_.kind != Tok::kIdent) return Fail();
            auto n = New(NodeKind::kAliased, t.pos);
            n->alias = std::string(t.text);
            n->text = std::string(tok_.text);
            Advance();
            return n;
        }
        auto n = New(NodeKind::kName, t.pos);
        n->text = std::string(t.text);
        return n;
    }

    NodePtr Primary() {
        const Token t = tok_;
        switch (t.kind) {
            case Tok::kNumber: {
                Advance();
                auto n = New(NodeKind::kNumber, t.pos);
                n->number = t.number;
                n->decimals = t.decimals;
                return n;
            }
            case Tok::kString: {
                Advance();
                auto n = New(NodeKind::kString, t.pos);
                n->text = std::string(t.text);
                return n;
            }
            case Tok::kTrue:
            case Tok::kFalse: {
                Advance();
                auto n = New(NodeKind::kLogical, t.pos);
                n->logical = t.kind == Tok::kTrue;
                return n;
            }
            case Tok::kIdent:
                return Name();
            case Tok::kLParen: {
                Advance();
                auto list = New(NodeKind::kList, t.pos);
                do {
                    NodePtr e = Expr();
                    if (!e) return nullptr;
                    list->kids.push_back(std::move(e));
                } while (Accept(Tok::kComma));
                if (!Accept(Tok::kRParen)) return Fail();
                if (list->kids.size() == 1) return std::move(list->kids[0]);
                return Seal(std::move(list));
            }
            case Tok::kLBrace: {
                Advance();
                auto arr = New(NodeKind::kArray, t.pos);
                if (Accept(Tok::kRBrace)) return arr;
                do {
                    NodePtr e = Expr();
                    if (!e) return nullptr;
                    arr->kids.push_back(std::move(e));
                } while (Accept(Tok::kComma));
                if (!Accept(Tok::kRBrace)) return Fail();
                return Seal(std::move(arr));
            }
            default:
                return Fail();
        }
    }

    Lexer lexer_;
    Token tok_;
    int depth_ = 0;
    int error_pos_ = -1;
};

}  // namespace

NodePtr Parse(std::string_view text, Error* error) {
    bool blank = true;
    for (char c : text) {
        if (c != ' ' && c != '\t') blank = false;
    }
    if (blank) {
        *error = Error();
        error->kind = ErrorKind::kEmptyFormula;
        return nullptr;
    }
    Parser parser(text);
    NodePtr tree = parser.ParseAll();
    if (!tree) {
        *error = Error();
        error->kind = ErrorKind::kSyntax;
        error->position = parser.error_pos();
    }
    return tree;
}

}  // namespace kestrel::formula
