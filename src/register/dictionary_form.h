// The pieces of a dictionary record's editing shared by the maintenance
// dialog and the pickers: the value shown in a column, the form of a new
// record, the in-place edit of one field and the memo editor.
#pragma once

#include <string>

#include "common/screen/form.h"
#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"
#include "register/data/dictionary.h"

namespace kestrel::registry {

/// The type of entry of an allowance kind: 1 amount (KWOTA_PROC), 3 yes/no
/// switch (TAK_NIE), 2 percent (neither set).
int EntryTypeOf(dbf::WorkArea& area);
void SetEntryType(dbf::WorkArea& area, int type);

/// The cell of field `f` of the current record (CP852): text fields as
/// stored, a memo's first line, the entry type as "1 - Kwota" and so on.
std::string CellText(common::Runtime& rt, dbf::WorkArea& area, const DictionaryField& f);

/// The memo editor: a box of ten lines of sixty characters over rows 8-21.
/// False on Esc, and when the text has more or longer lines than the box
/// holds (it is then left as it is, with a message). Trailing blanks of the
/// lines and trailing empty lines are dropped; lines are joined by CR LF.
bool EditMemo(common::Runtime& rt, std::string_view title_utf8, std::string* text);

/// Asks the non-key fields of the reserved (locked, current) record of `d`
/// in the box whose inner columns are left…right, from row `row` down, then
/// the memos in the memo editor, and writes the answers into the record
/// buffer. False when the operator gave up (Esc) at any step.
bool AskNewFields(common::Runtime& rt, common::Tables& tables, const Dictionary& d,
                  dbf::WorkArea& area, common::Form& form, int row, int left, int right);

/// Edits field `f` of the current record where its cell stands (row, col,
/// `width` characters shown): the record is locked, read again, changed,
/// committed and unlocked. Memos open the memo editor instead.
void EditInPlace(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& area,
                 const DictionaryField& f, int row, int col, int width);

}  // namespace kestrel::registry
