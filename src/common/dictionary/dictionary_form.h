// The pieces of a dictionary record's editing shared by the maintenance
// dialog and the pickers: the value shown in a column, the form of a new
// record, the in-place edit of one field and the memo editor.
#pragma once

#include <string>

#include "common/dictionary/code_field.h"
#include "common/dictionary/dictionary.h"
#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// The choice (1, 2 …) the current record holds in the kChoice field `f`.
int ChoiceIn(dbf::WorkArea& area, const DictionaryField& f);

/// The cell of field `f` of the current record (CP852): text fields as
/// stored, a memo's first line, a choice by its label.
std::string CellText(Runtime& rt, dbf::WorkArea& area, const DictionaryField& f);

/// The memo editor: a box of ten lines of sixty characters over rows 8-21.
/// False on Esc, and when the text has more or longer lines than the box
/// holds (it is then left as it is, with a message). Trailing blanks of the
/// lines and trailing empty lines are dropped; lines are joined by CR LF.
bool EditMemo(Runtime& rt, std::string_view title_utf8, std::string* text);

/// Asks the non-key fields of the reserved (locked, current) record of `d`
/// in the box whose inner columns are left…right, from row `row` down, then
/// the memos in the memo editor, and writes the answers into the record
/// buffer. False when the operator gave up (Esc) at any step.
bool AskNewFields(Runtime& rt, Tables& tables, const Dictionary& d, const DictionaryHooks& hooks,
                  dbf::WorkArea& area, Form& form, int row, int left, int right);

/// Edits field `f` of the current record where its cell stands (row, col,
/// `width` characters shown): the record is locked, read again, changed,
/// committed and unlocked. Memos open the memo editor instead.
void EditInPlace(Runtime& rt, Tables& tables, const DictionaryHooks& hooks, dbf::WorkArea& area,
                 const DictionaryField& f, int row, int col, int width);

/// The code field whose codes are the keys of dictionary `d` (its table,
/// indexes, key and name); the caller gives the message, the hint and the
/// picker.
CodeField CodeFieldOver(const Dictionary& d);

/// The pick window over dictionary `d` (which must outlive it): code and
/// name, and the new-record form of the dialog where the operator may
/// extend the dictionary (not for formula symbols, which are made in their
/// own dialog, where the whole namespace is checked).
PickDictionary PickOf(const Dictionary& d, const DictionaryHooks& hooks);

}  // namespace kestrel::common
