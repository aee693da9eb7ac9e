// PCL: two-byte sequences (ESC "E" the reset) and parameterised ones
// (ESC, a parameterised character, a group character, then values each
// followed by a parameter letter: small letters go on, a capital ends the
// sequence; "W" is followed by that many bytes of data).
#include <algorithm>
#include <cctype>
#include <cmath>

#include "printing/pdf/family_interpreters.h"

namespace kestrel::printing {
namespace {

constexpr unsigned char kEsc = 0x1B;

struct Value {
    double number = 0;
    bool signed_ = false;  // "+" or "-": relative to the current position
};

class Pcl {
  public:
    Pcl(std::string_view bytes, PrinterFamily family, PrintHead& head)
        : in_(bytes), family_(family), head_(head) {}

    void Run() {
        size_t i = 0;
        while (i < in_.size()) {
            const unsigned char b = static_cast<unsigned char>(in_[i]);
            if (b == kEsc) {
                i = Escape(i);
            } else {
                if (b >= 0x20 && b != 0x7F) {
                    head_.Print(b);
                } else {
                    BasicControl(b, head_);
                }
                ++i;
            }
        }
    }

  private:
    void Reset() {
        TextStyle& s = head_.style();
        s = TextStyle();
        stroke_ = quality_ = false;
        head_.SetSpacing(1.0 / 6);
        head_.SetLandscape(false);
    }

    size_t Escape(size_t i) {
        if (i + 1 >= in_.size()) return in_.size();
        const unsigned char c = static_cast<unsigned char>(in_[i + 1]);
        if (c < 0x21 || c > 0x2F) {
            if (c == 'E') {
                if (head_.page_has_text()) head_.FormFeed();
                Reset();
            } else if (c == '=') {
                head_.Feed(head_.spacing() / 2);
            }
            return i + 2;
        }
        size_t j = i + 2;
        char group = 0;
        if (j < in_.size() && in_[j] >= 0x60 && in_[j] <= 0x7E) group = in_[j++];
        while (j < in_.size()) {
            Value v;
            j = ReadValue(j, &v);
            if (j >= in_.size()) break;
            const unsigned char p = static_cast<unsigned char>(in_[j]);
            if (p < 0x40 || p > 0x7E) break;  // not a parameter: leave it to print
            ++j;
            const char letter = static_cast<char>(std::tolower(p));
            if (letter == 'w' || (c == '&' && group == 'p' && letter == 'x')) {
                const size_t end =
                    std::min(in_.size(), j + static_cast<size_t>(std::clamp(v.number, 0.0, 1e9)));
                if (c == '&') {  // transparent print data
                    for (size_t k = j; k < end; ++k)
                        head_.Print(std::max<unsigned char>(in_[k], 0x20));
                }
                j = end;
            } else {
                Apply(static_cast<char>(c), group, letter, v);
            }
            if (p < 0x60) break;
        }
        return j;
    }

    size_t ReadValue(size_t j, Value* v) const {
        if (j < in_.size() && (in_[j] == '+' || in_[j] == '-')) {
            v->signed_ = true;
            ++j;
        }
        const bool negative = v->signed_ && in_[j - 1] == '-';
        double number = 0, scale = 0;
        int digits = 0;
        while (j < in_.size() && (std::isdigit(static_cast<unsigned char>(in_[j])) ||
                                  (in_[j] == '.' && scale == 0))) {
            if (in_[j] == '.') {
                scale = 1;
            } else if (digits++ < 12) {
                if (scale > 0) {
                    scale /= 10;
                    number += (in_[j] - '0') * scale;
                } else {
                    number = number * 10 + (in_[j] - '0');
                }
            }
            ++j;
        }
        v->number = negative ? -number : number;
        return j;
    }

    void Apply(char c, char group, char letter, const Value& v) {
        TextStyle& s = head_.style();
        const double n = v.number;
        auto position = [&](double current, double inches) {
            return v.signed_ ? current + inches : inches;
        };
        if (c == '&' && group == 'l') {
            if (letter == 'o') head_.SetLandscape(n == 1 || n == 3);
            if (letter == 'd' && n > 0) head_.SetSpacing(1 / n);
            if (letter == 'c' && n > 0) head_.SetSpacing(n / 48);
        } else if (c == '&' && group == 'k') {
            if (letter == 'h' && n > 0) s.cpi = 120 / n;
            if (letter == 's') s.cpi = n == 2 ? 16.67 : n == 4 ? 12 : 10;
        } else if (c == '&' && group == 'd') {
            s.underline = letter == 'd';
        } else if (c == '&' && group == 'a') {
            if (letter == 'c') head_.SetX(position(head_.x(), n / s.cpi));
            if (letter == 'h') head_.SetX(position(head_.x(), n / 720));
            if (letter == 'r') head_.SetY(position(head_.y(), n * s.spacing));
            if (letter == 'v') head_.SetY(position(head_.y(), n / 720));
        } else if (c == '*' && group == 'p') {
            if (letter == 'x') head_.SetX(position(head_.x(), n / 300));
            if (letter == 'y') head_.SetY(position(head_.y(), n / 300));
        } else if (c == '(' && group == 's') {
            if (letter == 'h' && n > 0) s.cpi = std::min(n, 100.0);
            if (letter == 'v') s.script = n > 0 && n < 8 ? Script::kSuper : Script::kNormal;
            if (letter == 's') s.italic = static_cast<long>(std::fabs(n)) & 1;
            if (letter == 'b') stroke_ = n > 0;
            if (letter == 'q' && family_ == PrinterFamily::kPcl) quality_ = n >= 2;
            s.bold = stroke_ || quality_;
        }
    }

    std::string_view in_;
    PrinterFamily family_;
    PrintHead& head_;
    bool stroke_ = false, quality_ = false;
};

}  // namespace

void InterpretPcl(std::string_view bytes, PrinterFamily family, PrintHead& head) {
    Pcl(bytes, family, head).Run();
}

}  // namespace kestrel::printing
