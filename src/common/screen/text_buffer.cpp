#include "common/screen/text_buffer.h"

#include <algorithm>

namespace kestrel::common {
namespace {

constexpr char kSoftBreak = '\x8D';

// The paragraphs of a text: CR LF, LF and CR end one; 0x8D LF and 0x1A go.
std::vector<std::string> Paragraphs(std::string_view text) {
    std::vector<std::string> out(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool lf_next = i + 1 < text.size() && text[i + 1] == '\n';
        if (c == kSoftBreak && lf_next) {
            ++i;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && lf_next) ++i;
            out.emplace_back();
        } else if (c != '\x1A') {
            out.back() += c;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> WrapParagraph(std::string_view paragraph, int width) {
    const size_t w = static_cast<size_t>(width);
    std::vector<std::string> lines;
    while (paragraph.size() > w) {
        const size_t blank = paragraph.rfind(' ', w - 1);
        const size_t take = blank == std::string_view::npos ? w : blank + 1;
        lines.emplace_back(paragraph.substr(0, take));
        paragraph.remove_prefix(take);
    }
    lines.emplace_back(paragraph);
    return lines;
}

TextBuffer::TextBuffer(int width, size_t max_length)
    : width_(std::max(width, 1)), max_length_(max_length), lines_(1) {}

void TextBuffer::Load(std::string_view stored) {
    lines_.clear();
    for (const std::string& p : Paragraphs(stored)) {
        for (std::string& l : WrapParagraph(p, width_)) lines_.push_back({std::move(l), true});
        lines_.back().soft = false;
    }
    row_ = col_ = wanted_col_ = 0;
}

std::string TextBuffer::Stored() const {
    size_t n = lines_.size();
    while (n > 1 && lines_[n - 1].text.empty() && !lines_[n - 2].soft) --n;
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += lines_[i].text;
        if (i + 1 == n) break;
        out += lines_[i].soft ? "\x8D\n" : "\r\n";
    }
    return out;
}

size_t TextBuffer::length() const {
    size_t n = 0;
    for (const Line& l : lines_) n += l.text.size();
    return n;
}

int TextBuffer::ParagraphStart(int i) const {
    while (i > 0 && lines_[static_cast<size_t>(i - 1)].soft) --i;
    return i;
}

int TextBuffer::ParagraphEnd(int i) const {
    while (lines_[static_cast<size_t>(i)].soft) ++i;
    return i;
}

size_t TextBuffer::Offset() const {
    size_t offset = static_cast<size_t>(col_);
    for (int i = ParagraphStart(row_); i < row_; ++i) offset += line(i).size();
    return offset;
}

std::string TextBuffer::ParagraphText(int first, int last) const {
    std::string text;
    for (int i = first; i <= last; ++i) text += line(i);
    return text;
}

void TextBuffer::Rewrap(int first, int last, const std::string& text, size_t offset) {
    std::vector<std::string> wrapped = WrapParagraph(text, width_);
    std::vector<Line> lines;
    lines.reserve(wrapped.size());
    for (std::string& l : wrapped) lines.push_back({std::move(l), true});
    lines.back().soft = false;
    lines_.erase(lines_.begin() + first, lines_.begin() + last + 1);
    lines_.insert(lines_.begin() + first, lines.begin(), lines.end());
    // The cursor goes to the line holding the offset; an offset at the end
    // of a wrapped line is the beginning of the next one.
    int row = first;
    for (size_t k = 0; k + 1 < lines.size() && offset >= lines[k].text.size(); ++k) {
        offset -= lines[k].text.size();
        ++row;
    }
    row_ = row;
    col_ = wanted_col_ = static_cast<int>(offset);
}

bool TextBuffer::Type(unsigned char c, bool insert) {
    const int first = ParagraphStart(row_);
    const int last = ParagraphEnd(row_);
    std::string text = ParagraphText(first, last);
    const size_t offset = Offset();
    if (!insert && col_ < static_cast<int>(line(row_).size())) {
        text[offset] = static_cast<char>(c);
    } else {
        if (length() + 1 > max_length_) return false;
        text.insert(offset, 1, static_cast<char>(c));
    }
    Rewrap(first, last, text, offset + 1);
    return true;
}

bool TextBuffer::Insert(std::string_view text) {
    const std::vector<std::string> parts = Paragraphs(text);
    size_t added = 0;
    for (const std::string& p : parts) added += p.size();
    if (length() + added > max_length_) return false;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) Enter();
        const int first = ParagraphStart(row_);
        const int last = ParagraphEnd(row_);
        std::string para = ParagraphText(first, last);
        const size_t offset = Offset();
        para.insert(offset, parts[i]);
        Rewrap(first, last, para, offset + parts[i].size());
    }
    return true;
}

bool TextBuffer::Enter() {
    const int first = ParagraphStart(row_);
    const int last = ParagraphEnd(row_);
    const std::string text = ParagraphText(first, last);
    const size_t offset = Offset();
    // The rest becomes a paragraph of its own after this one.
    lines_.insert(lines_.begin() + last + 1, Line{});
    Rewrap(last + 1, last + 1, text.substr(offset), 0);
    Rewrap(first, last, text.substr(0, offset), 0);
    MoveTo(ParagraphEnd(first) + 1, 0);
    return true;
}

bool TextBuffer::Backspace() {
    const int first = ParagraphStart(row_);
    const int last = ParagraphEnd(row_);
    const size_t offset = Offset();
    if (offset > 0) {
        std::string text = ParagraphText(first, last);
        text.erase(offset - 1, 1);
        Rewrap(first, last, text, offset - 1);
        return true;
    }
    if (first == 0) return false;
    // Join this paragraph to the previous one.
    const int prev = ParagraphStart(first - 1);
    const std::string head = ParagraphText(prev, first - 1);
    Rewrap(prev, last, head + ParagraphText(first, last), head.size());
    return true;
}

bool TextBuffer::Delete() {
    const int first = ParagraphStart(row_);
    const int last = ParagraphEnd(row_);
    const size_t offset = Offset();
    std::string text = ParagraphText(first, last);
    if (offset < text.size()) {
        text.erase(offset, 1);
        Rewrap(first, last, text, offset);
        return true;
    }
    if (last + 1 >= line_count()) return false;
    // Join the next paragraph to this one.
    const int next_last = ParagraphEnd(last + 1);
    Rewrap(first, next_last, text + ParagraphText(last + 1, next_last), offset);
    return true;
}

bool TextBuffer::DeleteLine() {
    const int row = row_;
    const int first = ParagraphStart(row);
    const int last = ParagraphEnd(row);
    if (first == last) {
        // A paragraph of one line goes with its break (the last one stays, empty).
        if (line_count() == 1) {
            lines_[0].text.clear();
        } else {
            lines_.erase(lines_.begin() + row);
        }
        MoveTo(std::min(row, line_count() - 1), 0);
        return true;
    }
    size_t offset = 0;
    for (int i = first; i < row; ++i) offset += line(i).size();
    std::string text = ParagraphText(first, last);
    text.erase(offset, line(row).size());
    Rewrap(first, last, text, offset);
    MoveTo(std::min(row, ParagraphEnd(first)), 0);
    return true;
}

void TextBuffer::SetCol(int col) {
    col_ = wanted_col_ = col;
}

void TextBuffer::MoveTo(int row, int col) {
    row_ = std::clamp(row, 0, line_count() - 1);
    col_ = wanted_col_ = std::clamp(col, 0, static_cast<int>(line(row_).size()));
}

void TextBuffer::Left() {
    if (col_ > 0) {
        SetCol(col_ - 1);
    } else if (row_ > 0) {
        MoveTo(row_ - 1, static_cast<int>(line(row_ - 1).size()));
    }
}

void TextBuffer::Right() {
    if (col_ < static_cast<int>(line(row_).size())) {
        SetCol(col_ + 1);
    } else if (row_ + 1 < line_count()) {
        MoveTo(row_ + 1, 0);
    }
}

void TextBuffer::Up(int lines) {
    row_ = std::max(row_ - lines, 0);
    col_ = std::min(wanted_col_, static_cast<int>(line(row_).size()));
}

void TextBuffer::Down(int lines) {
    row_ = std::min(row_ + lines, line_count() - 1);
    col_ = std::min(wanted_col_, static_cast<int>(line(row_).size()));
}

}  // namespace kestrel::common
