// A dictionary described as data: a small table of codes and the fields the
// one maintenance dialog (dictionary_dialog.h) and its picker
// (code_field.h) show and ask. The subsystems keep their own lists of
// dictionaries; this header holds no screen.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrel::common {

enum class FieldKind {
    kText,  // a C field
    kMemo,  // an M field, edited as a few lines of text
    /// A choice of a few, shown by its label and stored in logical fields:
    /// choice i sets choice_flags[i] (none when "") and clears the others.
    kChoice,
    kLogical,  // an L field, shown and typed T or N
    kNumber,   // an N field of the table's width and decimals
    /// An M field holding a formula: edited as a memo, accepted only when
    /// it compiles (blank is accepted: no formula).
    kFormula,
};

/// One non-key field of a dictionary.
struct DictionaryField {
    std::string field;    // "NAZWA_"
    std::string label;    // UTF-8, in the new-record box: "Nazwa:"
    std::string heading;  // UTF-8 column heading
    std::string picture;  // "@!", "9999999", "" for free text
    int column = 0;       // column width in the browse; 0: the field's width
    FieldKind kind = FieldKind::kText;
    /// A code of another dictionary, named as the caller's table of code
    /// fields knows it (DictionaryHooks::code_field); "" for free values.
    std::string code_of;
    /// A bank account: a failing check only warns "Błędny Nr rachunku".
    bool account = false;
    /// A value no other record may hold (blank excepted), sought in this
    /// index of the dictionary; the message (UTF-8) refuses a duplicate.
    std::string unique_index;
    std::string unique_message;
    /// In a new record: the field that takes the name of the code typed
    /// here while it is still blank.
    std::string fills;
    /// kChoice: the labels (UTF-8, "1 - Kwota"; the operator types the
    /// choice's number), the logical field of each, and the line shown
    /// under the field in the new-record box.
    std::vector<std::string> choices;
    std::vector<std::string> choice_flags;
    std::string choice_legend;
    /// A text field's one allowed character (upper case) out of these, ""
    /// for any; the message (UTF-8) refuses another.
    std::string allowed;
    std::string allowed_message;
    /// With `allowed`: the rest of the word of each allowed character
    /// (UTF-8), shown after the character in the browse ("P" "łatne").
    std::vector<std::string> allowed_words;
    /// A text field that may not stay blank …
    bool required = false;
    /// … or that is either blank or filled to its whole width.
    bool full_or_blank = false;
    /// In the new-record box: on the row of the field before, right after
    /// it (after one blank when the label is empty, else right after the
    /// label).
    bool same_row = false;
    /// Asked only while this logical field of the record is set ("" always).
    std::string when_set;
    /// Asked only while this logical field of the record is clear ("" always).
    std::string unless_set;
    /// Asked only while the text field `when_field` of the record begins
    /// with `when_prefix` (upper case compared as stored; "" always).
    std::string when_field;
    std::string when_prefix;
    /// Shown and changed in the browse only, never asked in the new-record
    /// box (the new record gets the table's empty value or what the
    /// dictionary's hooks set).
    bool browse_only = false;
    /// In the new-record box: the value the field starts with, as typed ("T"
    /// for a logical, "3" for a number); "" for the empty value.
    std::string initial;
    /// In the new-record box: a text (UTF-8) shown right after the field.
    std::string suffix;
};

/// Builders for the descriptions: a T/N field, a number, and a field on the
/// row of the one before in the new-record box.
inline DictionaryField LogicalField(std::string field, std::string label, std::string heading) {
    DictionaryField f;
    f.field = std::move(field);
    f.label = std::move(label);
    f.heading = std::move(heading);
    f.kind = FieldKind::kLogical;
    return f;
}
inline DictionaryField NumberField(std::string field, std::string label, std::string heading) {
    DictionaryField f = LogicalField(std::move(field), std::move(label), std::move(heading));
    f.kind = FieldKind::kNumber;
    return f;
}
inline DictionaryField OnSameRow(DictionaryField f) {
    f.same_row = true;
    return f;
}

/// The second part of a key of two fields (GRUPA_+ZMIANA_): a blank second
/// part is a key of its own.
struct KeyPart {
    std::string field;  // "" for a key of one field
    std::string heading;
    std::string label;  // UTF-8, on the row of the first part
    std::string picture = "@!";
};

struct Dictionary {
    std::string menu;   // "2.7.4"
    std::string title;  // UTF-8: "Rodzaje umowy o pracę"
    std::string table;  // "PKRUM"
    /// Index files, the first by the key; empty for the small tables the
    /// catalogue gives no index (they are read in record order).
    std::vector<std::string> indexes;
    std::string key_field;
    std::string key_heading;            // UTF-8
    std::string key_label = "Symbol:";  // UTF-8
    std::string key_picture = "@!";
    /// The key is a code of another dictionary (as DictionaryField::code_of).
    std::string key_code_of;
    KeyPart second_key;
    /// A two-digit numeric key: a single digit typed gets a leading "0".
    bool zero_pad = false;
    /// The key is a symbol of the formula language: a letter and up to three
    /// letters or digits, unique over the whole namespace of symbols.
    bool formula_symbol = false;
    std::string name_field;  // shown beside codes, searched by F2
    bool search = false;     // "<F2>-Szukanie wg fragmentu nazwy"
    std::vector<DictionaryField> fields;
    /// Offered only when this configuration switch is on ("" for always).
    std::string needs_switch;
    /// A line (UTF-8) shown above the title, about the dictionary's content;
    /// "" for none.
    std::string note;
    /// The rights masks: to enter the dialog, and to change the dictionary
    /// (without it the dictionary is only browsed).
    unsigned enter_mask = 33;
    unsigned change_mask = 1;
};

/// The key as stored from what the operator typed into a key of `width`
/// characters: trimmed, a single digit of a zero-padded two-digit key
/// preceded by "0", padded with blanks to the width. "" when nothing was
/// typed.
std::string CompleteKey(const Dictionary& d, std::string_view typed, int width);

/// The choice (1, 2 …) a kChoice field holds: the first whose logical field
/// is set, else the one without a field, else 1. `flag_set` tells whether a
/// logical field is set.
template <typename FlagSet>
int ChoiceOf(const DictionaryField& f, FlagSet flag_set) {
    int none = 0;
    for (size_t i = 0; i < f.choice_flags.size(); ++i) {
        if (f.choice_flags[i].empty()) {
            if (none == 0) none = static_cast<int>(i) + 1;
        } else if (flag_set(f.choice_flags[i])) {
            return static_cast<int>(i) + 1;
        }
    }
    return none == 0 ? 1 : none;
}

}  // namespace kestrel::common
