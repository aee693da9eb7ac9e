// The editing rules of the picture language: what a field holds while the
// operator types into it.
//
// An EditBuffer is the text of one field on screen, position by position:
// template positions take typed characters that their template character
// accepts, literals stay where they are and the cursor skips them. The
// buffer knows nothing of the screen; a form draws it and feeds it keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture/picture.h"

namespace kestrel::picture {

enum class Kind { kText, kNumber, kDate, kLogical };

/// What template character `t` makes of a typed byte `c` in a field of
/// `kind`: the byte to store (upper-cased where the template or `upper`
/// says), or nothing when the position refuses it. Logical positions (and
/// logical fields) store 'T' for "t", "T" and "Y" and 'N' for "n", "N", "f"
/// and "F".
std::optional<unsigned char> Accept(char t, unsigned char c, Kind kind, bool upper,
                                    const CaseTable& table = PlainUpper());

class EditBuffer {
  public:
    /// A text field of `width` characters (0 = the length of `value`).
    static EditBuffer ForText(std::string_view value, const Picture& p, int width = 0,
                              const CaseTable& upper = PlainUpper());
    /// A number of `width` characters with `decimals` places when the
    /// picture has no template.
    static EditBuffer ForNumber(double value, const Picture& p, int width, int decimals);
    static EditBuffer ForDate(const Date& value, const Picture& p);
    /// One letter, T or N ("Y"/"N" with a Y template).
    static EditBuffer ForLogical(bool value, const Picture& p);

    Kind kind() const { return kind_; }
    const std::string& text() const { return buf_; }
    int size() const { return static_cast<int>(buf_.size()); }
    /// The cursor, always on an editable position (0 when there is none).
    int pos() const { return pos_; }
    bool IsEditable(int i) const {
        return i >= 0 && i < size() && editable_[static_cast<size_t>(i)];
    }
    /// True once a character was typed or deleted.
    bool changed() const { return changed_; }
    /// True when the last typed character filled the last position.
    bool typed_out() const { return typed_out_; }

    /// Types `c` at the cursor, pushing the rest right when `insert`. A
    /// number field takes "." and "," as the jump to the decimals. Returns
    /// false (and changes nothing) when the position refuses the character.
    bool Type(unsigned char c, bool insert);
    void Left();
    void Right();
    void Home();
    /// After the last character that is not a blank (text), else the last position.
    void End();
    /// Deletes the character left of the cursor.
    void Backspace();
    /// Deletes the character under the cursor.
    void Delete();
    /// Blanks everything from the cursor to the end.
    void ClearToEnd();

    /// The first character of the visible part when only `window` characters
    /// show: kept so that the cursor is inside it.
    int Scroll(int window);

    /// The value typed: text with @R literals taken out, padded to the width.
    std::string TextValue() const;
    /// The number typed (the starting value while nothing was changed).
    double NumberValue() const;
    /// The date typed: the empty date when blank, nothing when not a real date.
    std::optional<Date> DateValue() const;
    bool LogicalValue() const;

  private:
    EditBuffer() = default;
    void Finish();
    int NextEditable(int from) const;
    int PrevEditable(int from) const;
    std::vector<int> EditablePositions() const;
    void ClearAll();
    void ToDecimals();
    void DeleteAt(int i);

    Kind kind_ = Kind::kText;
    std::string buf_;
    std::string mask_;  // template character of each position
    std::vector<bool> editable_;
    const CaseTable* upper_table_ = &PlainUpper();
    bool upper_ = false;
    bool insert_literals_ = false;
    bool decimal_comma_ = false;
    bool clear_ = false;
    int width_ = 0;
    int pos_ = 0;
    int scroll_ = 0;
    bool changed_ = false;
    bool typed_out_ = false;
    double start_number_ = 0;
};

}  // namespace kestrel::picture
