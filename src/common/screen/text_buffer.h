// The text of the memo editor as lines of a fixed width, with the cursor.
//
// A memo text is a sequence of paragraphs ended by hard line breaks (CR LF,
// from Enter). A paragraph longer than the line length is wrapped: it is
// shown over several lines, and where it is cut the stored text carries a
// soft line break (byte 0x8D followed by LF), as memo texts of the older
// editors do. A soft break is no character of the text: every edit re-wraps
// its paragraph, so soft breaks move while the operator types.
//
// Wrapping cuts a paragraph after the last blank that still fits on the
// line (the blank stays at the line's end, so joining the lines again gives
// the paragraph back byte for byte); a word longer than the line is cut at
// the line length. A line therefore holds at most `width` bytes, and the
// cursor may stand after its last byte.
//
// Text is CP852 bytes; the buffer does not interpret them beyond the line
// breaks. 0x8D not followed by LF is the letter "Ź" and stays a letter.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::common {

class TextBuffer {
  public:
    /// An empty text of lines of `width` bytes (at least 1); texts grow to
    /// at most `max_length` bytes (line breaks not counted).
    explicit TextBuffer(int width, size_t max_length = 65000);

    /// Replaces the text by a stored memo text: CR LF, a lone LF or a lone
    /// CR end a paragraph, 0x8D LF is dropped (the paragraph is wrapped
    /// anew), 0x1A is dropped. The cursor goes to the beginning.
    void Load(std::string_view stored);
    /// The text to store: soft-wrapped lines end with 0x8D LF, paragraphs
    /// with CR LF; empty lines at the end are left out.
    std::string Stored() const;

    int width() const { return width_; }
    int line_count() const { return static_cast<int>(lines_.size()); }
    const std::string& line(int i) const { return lines_[static_cast<size_t>(i)].text; }
    /// True when line `i` is continued by wrapping (ends with a soft break).
    bool soft(int i) const { return lines_[static_cast<size_t>(i)].soft; }
    /// Bytes of text, line breaks not counted.
    size_t length() const;

    int row() const { return row_; }
    int col() const { return col_; }

    // --- editing (each returns false and changes nothing when refused) ---
    /// Types one byte at the cursor: inserted, or in overwrite mode put in
    /// place of the byte under the cursor (appended at a line's end).
    bool Type(unsigned char c, bool insert);
    /// Inserts text at the cursor, the cursor after it. CR LF, LF and CR
    /// start new paragraphs; soft breaks and 0x1A are dropped. Refused when
    /// the text would grow beyond the maximum length.
    bool Insert(std::string_view text);
    /// Ends the paragraph at the cursor (a hard break); the cursor goes to
    /// the beginning of the new line.
    bool Enter();
    /// Deletes the byte before the cursor; at a paragraph's beginning joins
    /// it to the previous paragraph.
    bool Backspace();
    /// Deletes the byte under the cursor; at a paragraph's end joins the
    /// next paragraph to it.
    bool Delete();
    /// Deletes the bytes of the cursor's line (Ctrl+Y); a paragraph left
    /// empty goes with its line break. The cursor goes to the beginning of
    /// the line that takes the place.
    bool DeleteLine();

    // --- moving ------------------------------------------------------------
    void Left();   // at a line's beginning: the previous line's end
    void Right();  // at a line's end: the next line's beginning
    void Up(int lines = 1);
    void Down(int lines = 1);
    void Home() { SetCol(0); }
    void End() { SetCol(static_cast<int>(line(row_).size())); }
    void Top() { MoveTo(0, 0); }
    void Bottom() { MoveTo(line_count() - 1, static_cast<int>(line(line_count() - 1).size())); }
    /// Puts the cursor at (row, col), both limited to the text.
    void MoveTo(int row, int col);

  private:
    struct Line {
        std::string text;
        bool soft = false;
    };
    // The paragraph of line `i`: its first line and its last line.
    int ParagraphStart(int i) const;
    int ParagraphEnd(int i) const;
    // The cursor's offset within its paragraph.
    size_t Offset() const;
    std::string ParagraphText(int first, int last) const;
    // Replaces lines first…last by `text` wrapped, ending with a hard break,
    // and puts the cursor at `offset` of it.
    void Rewrap(int first, int last, const std::string& text, size_t offset);
    void SetCol(int col);

    int width_;
    size_t max_length_;
    std::vector<Line> lines_;
    int row_ = 0;
    int col_ = 0;
    int wanted_col_ = 0;  // the column Up and Down aim at
};

/// The lines `paragraph` is shown on at `width` bytes a line.
std::vector<std::string> WrapParagraph(std::string_view paragraph, int width);

}  // namespace kestrel::common
