// The dot-matrix families: Epson 9-pin and 24-pin, Star (24-pin with the
// line spacing of ESC "A" kept until ESC "2") and IBM (the same spacing
// rule, DC2 for 10 cpi, FS "4"/"5" for italics).
#include <algorithm>

#include "printing/pdf/family_interpreters.h"

namespace kestrel::printing {
namespace {

constexpr unsigned char kEsc = 0x1B, kFs = 0x1C;

class EscP {
  public:
    EscP(std::string_view bytes, PrinterFamily family, PrintHead& head)
        : in_(bytes), family_(family), head_(head) {}

    void Run() {
        size_t i = 0;
        while (i < in_.size()) {
            const unsigned char b = Byte(i);
            if (b == kEsc) {
                i = Escape(i);
            } else if (b == kFs && family_ == PrinterFamily::kIbm) {
                if (i + 1 < in_.size()) {
                    if (Byte(i + 1) == '4') head_.style().italic = true;
                    if (Byte(i + 1) == '5') head_.style().italic = false;
                }
                i += 2;
            } else {
                Control(b);
                ++i;
            }
        }
    }

  private:
    unsigned char Byte(size_t i) const { return static_cast<unsigned char>(in_[i]); }
    // Argument k (0 = the byte after the command letter) of the sequence at
    // i, or -1 past the end.
    int Arg(size_t i, size_t k) const { return i + 2 + k < in_.size() ? Byte(i + 2 + k) : -1; }
    bool Ibm() const { return family_ == PrinterFamily::kIbm; }
    bool KeepsSpacing() const { return Ibm() || family_ == PrinterFamily::kStar; }
    bool NinePin() const { return family_ == PrinterFamily::kNinePin || Ibm(); }

    void Apply() {
        double cpi = base_;
        if (condensed_) cpi = base_ == 10 ? 120.0 / 7 : base_ == 12 ? 20 : base_;
        if (wide_ || wide_line_) cpi /= 2;
        head_.style().cpi = cpi;
        head_.style().bold = strike_ || emphasis_;
    }

    void Reset() {
        base_ = 10;
        condensed_ = wide_ = wide_line_ = strike_ = emphasis_ = false;
        kept_ = 12.0 / 72;
        TextStyle& s = head_.style();
        s.italic = s.underline = false;
        s.script = Script::kNormal;
        head_.SetSpacing(1.0 / 6);
        Apply();
    }

    void Control(unsigned char b) {
        switch (b) {
            case 0x0F:
                condensed_ = true;
                break;
            case 0x12:
                condensed_ = false;
                if (Ibm()) base_ = 10;
                break;
            case 0x0E:
                wide_line_ = true;
                break;
            case 0x14:
                wide_line_ = false;
                break;
            case '\n':
            case '\v':
                wide_line_ = false;
                head_.LineFeed();
                break;
            default:
                if (b >= 0x20 && b != 0x7F) {
                    head_.Print(b);
                } else {
                    BasicControl(b, head_);
                }
                return;
        }
        Apply();
    }

    // Skips `count` data bytes after `from`; the end of the file ends them.
    size_t Data(size_t from, long count) const {
        if (count < 0) count = 0;
        return std::min(in_.size(), from + static_cast<size_t>(count));
    }
    size_t UntilNul(size_t from, size_t max) const {
        size_t j = from;
        while (j < in_.size() && j - from < max && in_[j] != 0) ++j;
        return std::min(in_.size(), j + 1);
    }
    long Word(size_t i, size_t k) const {
        const int lo = Arg(i, k), hi = Arg(i, k + 1);
        return lo < 0 || hi < 0 ? 0 : lo + 256L * hi;
    }

    // The sequence at i (ESC); returns the index after it.
    size_t Escape(size_t i) {
        if (i + 1 >= in_.size()) return in_.size();
        const unsigned char c = Byte(i + 1);
        const int n = Arg(i, 0);
        const size_t one = std::min(in_.size(), i + 3), two = std::min(in_.size(), i + 4);
        TextStyle& s = head_.style();
        switch (c) {
            case '@':
                Reset();
                return i + 2;
            case '0':
                head_.SetSpacing(1.0 / 8);
                return i + 2;
            case '1':
                head_.SetSpacing(7.0 / 72);
                return i + 2;
            case '2':
                head_.SetSpacing(KeepsSpacing() ? kept_ : 1.0 / 6);
                return i + 2;
            case '3':
                if (n >= 0) head_.SetSpacing(n / (NinePin() ? 216.0 : 180.0));
                return one;
            case 'A':
                if (n >= 0) {
                    if (KeepsSpacing()) {
                        kept_ = n / 72.0;
                    } else {
                        head_.SetSpacing(n / (NinePin() ? 72.0 : 60.0));
                    }
                }
                return one;
            case '+':
                if (n >= 0 && !Ibm()) head_.SetSpacing(n / 360.0);
                return one;
            case 'J':
                if (n >= 0) head_.Feed(n / (NinePin() ? 216.0 : 180.0));
                return one;
            case 'j':
                if (n >= 0 && family_ == PrinterFamily::kNinePin) head_.Feed(-n / 216.0);
                return one;
            case '-':
                if (n >= 0) s.underline = n & 1;
                return one;
            case 'W':
                if (n >= 0) wide_ = n & 1;
                Apply();
                return one;
            case 'S':
                if (n >= 0) s.script = (n & 1) ? Script::kSub : Script::kSuper;
                return one;
            case 'T':
                s.script = Script::kNormal;
                return i + 2;
            case 'G':
            case 'H':
                strike_ = c == 'G';
                Apply();
                return i + 2;
            case 'E':
            case 'F':
                emphasis_ = c == 'E';
                Apply();
                return i + 2;
            case '4':
                if (!Ibm()) s.italic = true;
                return i + 2;
            case '5':
                if (Ibm()) return one;  // automatic line feed
                s.italic = false;
                return i + 2;
            case 'M':
            case 'g':
                base_ = c == 'M' ? 12 : 15;
                Apply();
                return i + 2;
            case 'P':
                if (Ibm()) return one;  // proportional spacing
                base_ = 10;
                Apply();
                return i + 2;
            case ':':
                if (!Ibm()) return Data(i + 2, 3);
                base_ = 12;
                Apply();
                return i + 2;
            case 0x0F:
                condensed_ = true;
                Apply();
                return i + 2;
            case 0x0E:
                wide_line_ = true;
                Apply();
                return i + 2;
            case '!':
                if (n >= 0) {
                    base_ = (n & 1) ? 12 : 10;
                    condensed_ = n & 4;
                    emphasis_ = n & 8;
                    strike_ = n & 16;
                    wide_ = n & 32;
                    s.italic = n & 64;
                    s.underline = n & 128;
                    Apply();
                }
                return one;
            case '$':
                if (n >= 0) head_.SetX(Word(i, 0) / 60.0);
                return two;
            case '\\':
                if (Ibm()) {  // the next bytes print from the full character set
                    const size_t end = Data(i + 4, Word(i, 0));
                    for (size_t j = std::min(in_.size(), i + 4); j < end; ++j)
                        head_.Print(std::max<unsigned char>(Byte(j), 0x20));
                    return end;
                }
                if (n >= 0) {
                    long d = Word(i, 0);
                    if (d >= 32768) d -= 65536;
                    head_.SetX(head_.x() + d / (NinePin() ? 120.0 : 180.0));
                }
                return two;
            case 'C':
                return n == 0 ? two : one;
            case 'B':
            case 'D':
                return UntilNul(i + 2, 33);
            case 'b':
                return UntilNul(i + 3, 17);
            case 'K':
            case 'L':
            case 'Y':
            case 'Z':
                return Data(i + 4, Word(i, 0));
            case '*': {
                const int m = n;
                const long bytes_per_column = m >= 64 ? 6 : m >= 32 ? 3 : 1;
                return Data(i + 5, Word(i, 1) * bytes_per_column);
            }
            case '^':
                return Data(i + 5, Word(i, 1) * 2);
            case '(':
            case '[':
                return Data(i + 5, Word(i, 1));
            case '.':
                return Data(i + 2, 6);
            case '&':
                return UserCharacters(i);
            case 'X':
                return Data(i + 2, Ibm() ? 2 : 3);
            case 'e':
            case 'f':
            case 'c':
            case 'd':
                return two;
            case 'U':
            case 'x':
            case 'k':
            case 'l':
            case 'Q':
            case 'N':
            case 't':
            case 'a':
            case 'p':
            case 'q':
            case 'r':
            case 'w':
            case 'I':
            case '/':
            case 's':
            case 'm':
            case '%':
            case ' ':
            case 'i':
            case '_':
            case 0x19:
                return one;
            case 'R':
                return Ibm() ? i + 2 : one;
            default:
                return i + 2;  // unknown or without arguments: ESC and its letter
        }
    }

    // ESC "&" 0 n m, then per character n..m its attribute bytes and dots.
    size_t UserCharacters(size_t i) {
        const int first = Arg(i, 1), last = Arg(i, 2);
        size_t j = std::min(in_.size(), i + 5);
        if (first < 0 || last < 0) return j;
        for (int ch = first; ch <= last && j < in_.size(); ++ch) {
            if (NinePin()) {
                j = Data(j, 12);
            } else {
                const long width = j + 1 < in_.size() ? Byte(j + 1) : 0;
                j = Data(j, 3 + width * 3);
            }
        }
        return j;
    }

    std::string_view in_;
    PrinterFamily family_;
    PrintHead& head_;
    double base_ = 10;
    bool condensed_ = false, wide_ = false, wide_line_ = false;
    bool strike_ = false, emphasis_ = false;
    double kept_ = 12.0 / 72;  // ESC "A" of Star and IBM, applied by ESC "2"
};

}  // namespace

void InterpretEscP(std::string_view bytes, PrinterFamily family, PrintHead& head) {
    EscP(bytes, family, head).Run();
}

void InterpretPlain(std::string_view bytes, PrintHead& head) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b == kEsc) {
            ++i;
        } else if (b >= 0x20 && b != 0x7F) {
            head.Print(b);
        } else {
            BasicControl(b, head);
        }
    }
}

}  // namespace kestrel::printing
