// Lexer: formula text -> tokens.
//
// Works on CP852 bytes from which the line breaks have already been removed
// (StripLineBreaks). Knows the xBase spellings: strings in '...', "..." or
// [...] (a '[' opens a string unless it follows something that can be
// indexed), logical literals .T. .F. .Y. .N., the word operators .AND. .OR.
// .NOT., and `**` as a synonym of `^`. Case is kept in the token text;
// callers compare names case-insensitively.
#pragma once

#include <string>
#include <string_view>

namespace kestrel::formula {

enum class Tok {
    kEnd,
    kError,   // a character or literal that cannot start a token
    kNumber,  // number, decimals
    kString,  // text = the contents without delimiters
    kIdent,
    kTrue,
    kFalse,
    kAnd,
    kOr,
    kNot,  // ! or .NOT.
    kPlus,
    kMinus,
    kStar,
    kSlash,
    kPercent,
    kPower,  // ** or ^
    kEq,     // =
    kEqEq,   // ==
    kNe,     // != <> #
    kLt,
    kLe,
    kGt,
    kGe,
    kDollar,
    kAssign,  // :=
    kArrow,   // ->
    kLParen,
    kRParen,
    kLBracket,
    kRBracket,
    kLBrace,
    kRBrace,
    kComma,
};

struct Token {
    Tok kind = Tok::kEnd;
    int pos = 0;            // byte offset in the text
    std::string_view text;  // identifier, string contents or operator spelling
    double number = 0;      // kNumber
    int decimals = 0;       // kNumber: digits written after the point
};

class Lexer {
  public:
    explicit Lexer(std::string_view text) : text_(text) {}
    /// The next token; kEnd at the end, for ever after.
    Token Next();

  private:
    Token Make(Tok kind, size_t start, size_t len);
    Token LexNumber(size_t start);
    Token LexDotted(size_t start);

    std::string_view text_;
    size_t pos_ = 0;
    Tok last_ = Tok::kEnd;  // previous token, to tell a '[' string from indexing
};

/// Removes carriage returns, line feeds and soft line breaks (byte 141
/// before a line feed), as is done to every stored formula before it is
/// compiled. A byte 141 elsewhere is CP852 "Ź" and stays.
std::string StripLineBreaks(std::string_view text);

/// Spelling of a token kind for diagnostics and dumps ("+", ".AND.", ...).
const char* TokName(Tok kind);

}  // namespace kestrel::formula
