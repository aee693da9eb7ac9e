#include "platform/picture/edit.h"

#include <cstdlib>

#include "platform/base/dates.h"
#include "platform/base/text.h"

namespace kestrel::picture {
namespace {

using base::AsciiUpper;

bool IsDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
// Letters: the plain ones and every byte above 127 (the code page's letters).
bool IsLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}

bool IsTextPos(char t) {
    const char u = AsciiUpper(t);
    return u == 'X' || u == '9' || u == '#' || u == 'A' || u == 'N' || u == 'L' || u == 'Y' ||
           u == '!';
}

std::optional<unsigned char> YesNo(unsigned char c, unsigned char yes) {
    if (c == 't' || c == 'T' || c == 'Y') return yes;
    if (c == 'n' || c == 'N' || c == 'f' || c == 'F') return static_cast<unsigned char>('N');
    return std::nullopt;
}

}  // namespace

std::optional<unsigned char> Accept(char t, unsigned char c, Kind kind, bool upper,
                                    const CaseTable& table) {
    if (c < 32 || c == 127) return std::nullopt;
    const unsigned char up = table[c];
    const unsigned char typed = upper ? up : c;
    const char u = AsciiUpper(t);
    if (kind == Kind::kLogical) return YesNo(c, u == 'Y' ? 'Y' : 'T');
    if (kind == Kind::kDate) {
        if (IsDigit(c)) return c;
        return std::nullopt;
    }
    const bool number = kind == Kind::kNumber;
    switch (u) {
        case '9':
            if (IsDigit(c) || (number && (c == '-' || c == '+'))) return c;
            return std::nullopt;
        case '#':
            if (IsDigit(c) || c == ' ' || c == '-' || c == '+') return c;
            return std::nullopt;
        case 'A':
            if (IsLetter(c)) return typed;
            return std::nullopt;
        case 'N':
            if (IsLetter(c) || IsDigit(c)) return typed;
            return std::nullopt;
        case 'X':
            return typed;
        case '!':
            return up;
        case 'L':
            return YesNo(c, 'T');
        case 'Y':
            return YesNo(c, 'Y');
        default:
            return std::nullopt;
    }
}

EditBuffer EditBuffer::ForText(std::string_view value, const Picture& p, int width,
                               const CaseTable& upper) {
    EditBuffer b;
    b.kind_ = Kind::kText;
    b.width_ = width > 0 ? width : static_cast<int>(value.size());
    std::string v(value.substr(0, static_cast<size_t>(b.width_)));
    v.resize(static_cast<size_t>(b.width_), ' ');
    b.upper_table_ = &upper;
    b.upper_ = p.upper;
    b.insert_literals_ = p.insert_literals && !p.tmpl.empty();
    const char fill = p.upper ? '!' : 'X';
    std::string mask;
    if (b.insert_literals_) {
        int taken = 0;
        for (char t : p.tmpl) {
            if (IsTextPos(t)) {
                if (taken == b.width_) break;
                ++taken;
            }
            mask += t;
        }
        mask += std::string(static_cast<size_t>(b.width_ - taken), fill);
    } else {
        mask = p.tmpl.substr(0, static_cast<size_t>(b.width_));
        mask += std::string(static_cast<size_t>(b.width_) - mask.size(), fill);
    }
    Picture shown = p;
    shown.tmpl = mask;
    shown.left_justify = false;
    b.buf_ = FormatText(v, shown, upper);
    b.mask_ = mask;
    b.clear_ = p.clear_on_key;
    b.Finish();
    return b;
}

EditBuffer EditBuffer::ForNumber(double value, const Picture& p, int width, int decimals) {
    EditBuffer b;
    b.kind_ = Kind::kNumber;
    b.mask_ = p.tmpl.empty() ? NumberTemplate(width, decimals) : p.tmpl;
    Picture shown;
    shown.tmpl = b.mask_;
    shown.decimal_comma = p.decimal_comma;
    b.buf_ = FormatNumber(value, shown, width, decimals);
    b.decimal_comma_ = p.decimal_comma;
    b.start_number_ = value;
    // A number is typed anew: the first character clears it.
    b.clear_ = true;
    b.Finish();
    return b;
}

EditBuffer EditBuffer::ForDate(const Date& value, const Picture& p) {
    EditBuffer b;
    b.kind_ = Kind::kDate;
    b.mask_ = "9999-99-99";
    b.buf_ = FormatDate(value);
    b.clear_ = p.clear_on_key;
    b.Finish();
    return b;
}

EditBuffer EditBuffer::ForLogical(bool value, const Picture& p) {
    EditBuffer b;
    b.kind_ = Kind::kLogical;
    const bool yn = !p.tmpl.empty() && AsciiUpper(p.tmpl[0]) == 'Y';
    b.mask_ = yn ? "Y" : "L";
    b.buf_ = FormatLogical(value, p, 'T', 'N');
    b.Finish();
    return b;
}

void EditBuffer::Finish() {
    editable_.assign(mask_.size(), false);
    bool any = false;
    for (size_t i = 0; i < mask_.size(); ++i) {
        const char t = mask_[i];
        editable_[i] = kind_ == Kind::kNumber ? (t == '9' || t == '#') : IsTextPos(t);
        any = any || editable_[i];
    }
    if (!any && kind_ == Kind::kNumber)
        for (size_t i = 0; i < mask_.size(); ++i) editable_[i] = mask_[i] != '.';
    width_ = kind_ == Kind::kText ? width_ : static_cast<int>(buf_.size());
    buf_.resize(mask_.size(), ' ');
    const int first = NextEditable(0);
    pos_ = first < 0 ? 0 : first;
}

int EditBuffer::NextEditable(int from) const {
    for (int i = from < 0 ? 0 : from; i < size(); ++i)
        if (IsEditable(i)) return i;
    return -1;
}

int EditBuffer::PrevEditable(int from) const {
    for (int i = from < size() ? from : size() - 1; i >= 0; --i)
        if (IsEditable(i)) return i;
    return -1;
}

std::vector<int> EditBuffer::EditablePositions() const {
    std::vector<int> out;
    for (int i = 0; i < size(); ++i)
        if (IsEditable(i)) out.push_back(i);
    return out;
}

void EditBuffer::ClearAll() {
    for (int i = 0; i < size(); ++i) {
        if (IsEditable(i)) {
            buf_[static_cast<size_t>(i)] = ' ';
        } else if (kind_ == Kind::kNumber && decimal_comma_) {
            const char t = mask_[static_cast<size_t>(i)];
            buf_[static_cast<size_t>(i)] = t == '.' ? ',' : t == ',' ? '.' : t;
        } else {
            buf_[static_cast<size_t>(i)] = mask_[static_cast<size_t>(i)];
        }
    }
    changed_ = true;
}

void EditBuffer::ToDecimals() {
    const size_t point = mask_.find('.');
    if (point == std::string::npos) return;
    std::string integer;
    std::vector<int> slots;
    for (int i = 0; i < static_cast<int>(point); ++i) {
        if (!IsEditable(i)) continue;
        slots.push_back(i);
        if (buf_[static_cast<size_t>(i)] != ' ') integer += buf_[static_cast<size_t>(i)];
    }
    for (int s : slots) buf_[static_cast<size_t>(s)] = ' ';
    size_t k = integer.size();
    for (size_t j = slots.size(); j-- > 0 && k > 0;)
        buf_[static_cast<size_t>(slots[j])] = integer[--k];
    const int next = NextEditable(static_cast<int>(point) + 1);
    if (next >= 0) pos_ = next;
    changed_ = true;
}

bool EditBuffer::Type(unsigned char c, bool insert) {
    typed_out_ = false;
    if (!IsEditable(pos_)) return false;
    if (kind_ == Kind::kNumber && (c == '.' || c == ',') && mask_.find('.') != std::string::npos) {
        clear_ = false;
        ToDecimals();
        return true;
    }
    const auto a = Accept(mask_[static_cast<size_t>(pos_)], c, kind_, upper_, *upper_table_);
    if (!a) return false;
    if (clear_) {
        ClearAll();
        clear_ = false;
    }
    if (insert && kind_ == Kind::kText) {
        const std::vector<int> slots = EditablePositions();
        for (size_t j = slots.size(); j-- > 1;) {
            if (slots[j - 1] < pos_) break;
            buf_[static_cast<size_t>(slots[j])] = buf_[static_cast<size_t>(slots[j - 1])];
        }
    }
    buf_[static_cast<size_t>(pos_)] = static_cast<char>(*a);
    changed_ = true;
    const int next = NextEditable(pos_ + 1);
    if (next < 0)
        typed_out_ = true;
    else
        pos_ = next;
    return true;
}

void EditBuffer::Left() {
    clear_ = typed_out_ = false;
    const int p = PrevEditable(pos_ - 1);
    if (p >= 0) pos_ = p;
}

void EditBuffer::Right() {
    clear_ = typed_out_ = false;
    const int n = NextEditable(pos_ + 1);
    if (n >= 0) pos_ = n;
}

void EditBuffer::Home() {
    clear_ = typed_out_ = false;
    const int n = NextEditable(0);
    if (n >= 0) pos_ = n;
}

void EditBuffer::End() {
    clear_ = typed_out_ = false;
    const int last = PrevEditable(size() - 1);
    if (last < 0) return;
    if (kind_ != Kind::kText) {
        pos_ = last;
        return;
    }
    int after = NextEditable(0);
    for (int i = 0; i < size(); ++i)
        if (IsEditable(i) && buf_[static_cast<size_t>(i)] != ' ') {
            const int n = NextEditable(i + 1);
            after = n < 0 ? last : n;
        }
    pos_ = after;
}

void EditBuffer::DeleteAt(int at) {
    if (!IsEditable(at)) return;
    clear_ = typed_out_ = false;
    changed_ = true;
    if (kind_ != Kind::kText) {
        if (kind_ != Kind::kLogical) buf_[static_cast<size_t>(at)] = ' ';
        return;
    }
    const std::vector<int> slots = EditablePositions();
    for (size_t j = 0; j < slots.size(); ++j) {
        if (slots[j] < at) continue;
        buf_[static_cast<size_t>(slots[j])] =
            j + 1 < slots.size() ? buf_[static_cast<size_t>(slots[j + 1])] : ' ';
    }
}

void EditBuffer::Backspace() {
    const int p = PrevEditable(pos_ - 1);
    if (p < 0) return;
    pos_ = p;
    DeleteAt(pos_);
}

void EditBuffer::Delete() {
    DeleteAt(pos_);
}

void EditBuffer::ClearToEnd() {
    clear_ = typed_out_ = false;
    if (kind_ == Kind::kLogical) return;
    for (int i = pos_; i < size(); ++i)
        if (IsEditable(i)) buf_[static_cast<size_t>(i)] = ' ';
    changed_ = true;
}

int EditBuffer::Scroll(int window) {
    if (window <= 0 || window >= size()) return scroll_ = 0;
    if (pos_ < scroll_) scroll_ = pos_;
    if (pos_ >= scroll_ + window) scroll_ = pos_ - window + 1;
    if (scroll_ > size() - window) scroll_ = size() - window;
    return scroll_;
}

std::string EditBuffer::TextValue() const {
    std::string out;
    if (insert_literals_) {
        for (int i = 0; i < size(); ++i)
            if (IsEditable(i)) out += buf_[static_cast<size_t>(i)];
    } else {
        out = buf_;
    }
    out.resize(static_cast<size_t>(width_), ' ');
    return out;
}

double EditBuffer::NumberValue() const {
    if (!changed_) return start_number_;
    const size_t point = mask_.find('.');
    std::string integer, fraction;
    bool negative = false;
    for (int i = 0; i < size(); ++i) {
        if (!IsEditable(i)) continue;
        const char c = buf_[static_cast<size_t>(i)];
        const bool after = point != std::string::npos && static_cast<size_t>(i) > point;
        if (c == '-') negative = true;
        if (after)
            fraction += (c >= '0' && c <= '9') ? c : '0';
        else if (c >= '0' && c <= '9')
            integer += c;
    }
    const std::string text = (integer.empty() ? "0" : integer) + "." + fraction + "0";
    const double v = std::strtod(text.c_str(), nullptr);
    return negative ? -v : v;
}

std::optional<Date> EditBuffer::DateValue() const {
    std::string digits;
    bool blank = true;
    for (int i = 0; i < size(); ++i) {
        if (!IsEditable(i)) continue;
        const char c = buf_[static_cast<size_t>(i)];
        if (c != ' ') blank = false;
        digits += c;
    }
    if (blank) return Date{};
    if (digits.size() != 8 || digits.find(' ') != std::string::npos) return std::nullopt;
    const Date d = base::DateOfDbfText(digits);
    if (!IsValidDate(d)) return std::nullopt;
    return d;
}

bool EditBuffer::LogicalValue() const {
    return !buf_.empty() && (buf_[0] == 'T' || buf_[0] == 'Y');
}

}  // namespace kestrel::picture
