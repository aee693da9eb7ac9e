#include "platform/formula/lexer.h"

#include <cctype>
#include <cstdlib>

namespace kestrel::formula {
namespace {

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

std::string StripLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') continue;
        // 141 is a soft break only before a line feed; anywhere else it is
        // the letter it stands for in CP852 (a formula may compare a name
        // with a text holding it).
        if (static_cast<unsigned char>(c) == 141 && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out.push_back(c);
    }
    return out;
}

Token Lexer::Make(Tok kind, size_t start, size_t len) {
    Token t;
    t.kind = kind;
    t.pos = static_cast<int>(start);
    t.text = text_.substr(start, len);
    pos_ = start + len;
    last_ = kind;
    return t;
}

Token Lexer::LexNumber(size_t start) {
    size_t p = start;
    double value = 0;
    while (p < text_.size() && IsDigit(text_[p])) value = value * 10 + (text_[p++] - '0');
    int decimals = 0;
    if (p < text_.size() && text_[p] == '.') {
        // "1.and." and "1.T." leave the dot to the word that follows it.
        const bool letter_next = p + 1 < text_.size() && IsIdentStart(text_[p + 1]);
        if (!letter_next) {
            ++p;
            double scale = 1;
            while (p < text_.size() && IsDigit(text_[p])) {
                scale /= 10;
                value += (text_[p++] - '0') * scale;
                ++decimals;
            }
        }
    }
    // Re-read the literal with strtod for correct rounding of the last bit.
    std::string literal(text_.substr(start, p - start));
    if (!literal.empty() && literal.back() == '.') literal.pop_back();
    if (literal.size() < 300) value = std::strtod(literal.c_str(), nullptr);
    Token t = Make(Tok::kNumber, start, p - start);
    t.number = value;
    t.decimals = decimals;
    return t;
}

Token Lexer::LexDotted(size_t start) {
    // .T. .F. .Y. .N. .AND. .OR. .NOT.
    size_t end = start + 1;
    while (end < text_.size() && std::isalpha(static_cast<unsigned char>(text_[end]))) ++end;
    if (end < text_.size() && text_[end] == '.' && end > start + 1) {
        std::string_view word = text_.substr(start + 1, end - start - 1);
        const size_t len = end + 1 - start;
        if (EqualsNoCase(word, "T") || EqualsNoCase(word, "Y")) return Make(Tok::kTrue, start, len);
        if (EqualsNoCase(word, "F") || EqualsNoCase(word, "N"))
            return Make(Tok::kFalse, start, len);
        if (EqualsNoCase(word, "AND")) return Make(Tok::kAnd, start, len);
        if (EqualsNoCase(word, "OR")) return Make(Tok::kOr, start, len);
        if (EqualsNoCase(word, "NOT")) return Make(Tok::kNot, start, len);
    }
    if (start + 1 < text_.size() && IsDigit(text_[start + 1])) return LexNumber(start);
    return Make(Tok::kError, start, 1);
}

Token Lexer::Next() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    if (pos_ >= text_.size()) return Make(Tok::kEnd, text_.size(), 0);
    const size_t s = pos_;
    const char c = text_[s];
    const char n = s + 1 < text_.size() ? text_[s + 1] : '\0';
    if (IsDigit(c)) return LexNumber(s);
    if (IsIdentStart(c)) {
        size_t e = s + 1;
        while (e < text_.size() && IsIdentChar(text_[e])) ++e;
        return Make(Tok::kIdent, s, e - s);
    }
    const bool indexable = last_ == Tok::kIdent || last_ == Tok::kRParen ||
                           last_ == Tok::kRBracket || last_ == Tok::kRBrace;
    if (c == '"' || c == '\'' || (c == '[' && !indexable)) {
        const char close = c == '[' ? ']' : c;
        const size_t e = text_.find(close, s + 1);
        if (e == std::string_view::npos) return Make(Tok::kError, s, text_.size() - s);
        Token t = Make(Tok::kString, s, e + 1 - s);
        t.text = text_.substr(s + 1, e - s - 1);
        return t;
    }
    switch (c) {
        case '.':
            return LexDotted(s);
        case '+':
            return Make(Tok::kPlus, s, 1);
        case '-':
            return n == '>' ? Make(Tok::kArrow, s, 2) : Make(Tok::kMinus, s, 1);
        case '*':
            return n == '*' ? Make(Tok::kPower, s, 2) : Make(Tok::kStar, s, 1);
        case '/':
            return Make(Tok::kSlash, s, 1);
        case '%':
            return Make(Tok::kPercent, s, 1);
        case '^':
            return Make(Tok::kPower, s, 1);
        case '=':
            return n == '=' ? Make(Tok::kEqEq, s, 2) : Make(Tok::kEq, s, 1);
        case '!':
            return n == '=' ? Make(Tok::kNe, s, 2) : Make(Tok::kNot, s, 1);
        case '#':
            return Make(Tok::kNe, s, 1);
        case '<':
            if (n == '>') return Make(Tok::kNe, s, 2);
            return n == '=' ? Make(Tok::kLe, s, 2) : Make(Tok::kLt, s, 1);
        case '>':
            return n == '=' ? Make(Tok::kGe, s, 2) : Make(Tok::kGt, s, 1);
        case '$':
            return Make(Tok::kDollar, s, 1);
        case ':':
            return n == '=' ? Make(Tok::kAssign, s, 2) : Make(Tok::kError, s, 1);
        case '(':
            return Make(Tok::kLParen, s, 1);
        case ')':
            return Make(Tok::kRParen, s, 1);
        case '[':
            return Make(Tok::kLBracket, s, 1);
        case ']':
            return Make(Tok::kRBracket, s, 1);
        case '{':
            return Make(Tok::kLBrace, s, 1);
        case '}':
            return Make(Tok::kRBrace, s, 1);
        case ',':
            return Make(Tok::kComma, s, 1);
        default:
            return Make(Tok::kError, s, 1);
    }
}

const char* TokName(Tok kind) {
    switch (kind) {
        case Tok::kEnd:
            return "end";
        case Tok::kError:
            return "error";
        case Tok::kNumber:
            return "number";
        case Tok::kString:
            return "string";
        case Tok::kIdent:
            return "identifier";
        case Tok::kTrue:
            return ".T.";
        case Tok::kFalse:
            return ".F.";
        case Tok::kAnd:
            return ".AND.";
        case Tok::kOr:
            return ".OR.";
        case Tok::kNot:
            return ".NOT.";
        case Tok::kPlus:
            return "+";
        case Tok::kMinus:
            return "-";
        case Tok::kStar:
            return "*";
        case Tok::kSlash:
            return "/";
        case Tok::kPercent:
            return "%";
        case Tok::kPower:
            return "^";
        case Tok::kEq:
            return "=";
        case Tok::kEqEq:
            return "==";
        case Tok::kNe:
            return "<>";
        case Tok::kLt:
            return "<";
        case Tok::kLe:
            return "<=";
        case Tok::kGt:
            return ">";
        case Tok::kGe:
            return ">=";
        case Tok::kDollar:
            return "$";
        case Tok::kAssign:
            return ":=";
        case Tok::kArrow:
            return "->";
        case Tok::kLParen:
            return "(";
        case Tok::kRParen:
            return ")";
        case Tok::kLBracket:
            return "[";
        case Tok::kRBracket:
            return "]";
        case Tok::kLBrace:
            return "{";
        case Tok::kRBrace:
            return "}";
        case Tok::kComma:
            return ",";
    }
    return "?";
}

}  // namespace kestrel::formula
