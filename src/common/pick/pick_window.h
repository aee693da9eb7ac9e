// Pick windows of the dictionaries: opened by a hot key from a code field
// of a form, they show the dictionary positioned on what was typed and give
// the chosen code back to the field as typed input.
//
// A dictionary describes itself once in a PickDictionary and calls Pick:
//
//   PickDictionary d;
//   d.table = "PKURZ";
//   d.indexes = {"PKURZ1", "PKURZ2"};      // the first (by code) controls
//   d.code_field = "URZ_SKARB";
//   d.name_field = "NAZWA_";                // searched by F2
//   d.columns = [](Runtime& rt, dbf::WorkArea& a) {
//       return std::vector<BrowseColumn>{FieldColumn(rt, a, "URZ_SKARB", "URZ.SK."), ...};
//   };
//   d.new_record = [](NewRecord& n) { ... return n.form.Read().saved(); };
//
// and a form binds the pick to a hot key for the time of its read:
//
//   form.Get(5, 20, &symbol, "@!");
//   auto& kb = rt.console().keyboard();
//   auto old = kb.Bind(key::F(3), [&] { Pick(rt, tables, d, form.Typed()); });
//   ReadResult r = Qrmrdr(rt, form);
//   kb.Bind(key::F(3), old);
//
// Keys in the window: Esc leaves; Enter gives the code; F2 searches the
// name for a fragment, from the beginning or from the next position (F1
// switches); Insert adds a record through the dictionary's form.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/session/runtime.h"
#include "common/tables/index_order.h"
#include "common/tables/table_layer.h"
#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// The new-record form of a dictionary, run on a record reserved as
/// deleted, locked and current in `area`, whose code is already set. The
/// form's box is drawn; the code was read at row `code_row`; the dictionary
/// declares its other fields from row code_row + 1 on `form` and reads
/// them, writing the values into the record buffer (the pattern commits).
struct NewRecord {
    Runtime& rt;
    Tables& tables;
    dbf::WorkArea& area;
    Form& form;
    int code_row;
};

struct PickDictionary {
    std::string table;                 // "PKURZ"
    std::vector<std::string> indexes;  // index files; the first is by code
    std::string code_field;
    std::string name_field;  // the field F2 searches
    /// The window's frame (double line); the legend takes its next two
    /// rows, the browse the rows after them up to the row above the bottom.
    int top = 8, left = 29, bottom = 22, right = 79;
    /// The browse's columns over the dictionary's work area.
    std::function<std::vector<BrowseColumn>(Runtime&, dbf::WorkArea&)> columns;

    // The new-record form: box, title (UTF-8, shown in YCOBP), the code's
    // label and picture.
    int form_top = 7, form_left = 12, form_bottom = 20, form_right = 63;
    std::string form_title;
    std::string code_label = "Symbol:";
    std::string code_picture = "@! NN";
    /// A code shorter than the field gets leading "0"s ("5" becomes "05").
    bool zero_pad = true;
    /// Returns true when the operator completed the record (false: Esc).
    std::function<bool(NewRecord&)> new_record;
    /// False for lists the operator may not extend (official code lists):
    /// no "<Insert>-Nowy rekord", Insert does nothing.
    bool can_insert = true;
};

/// Runs the pick window of `d` soft-sought on `typed` (trimmed; the first
/// record when blank). The dictionary is opened through `tables` unless it
/// is open there already (it stays open there); the selected work area, F3, F11, the colour and
/// the screen are restored afterwards. On Enter the record's code is put
/// into the keyboard buffer after Home and Ctrl+Y, so that it replaces what
/// the calling field holds. Returns true when a code was given.
bool Pick(Runtime& rt, Tables& tables, const PickDictionary& d, std::string_view typed);

/// The F2 search by a fragment of the name, kept between searches of one
/// window: from the beginning or from the next position (F1 in the box
/// switches), and the text last asked.
struct NameSearch {
    bool from_start = true;
    std::string text = std::string(20, ' ');
};

/// Asks "Fragm.nazwy:" in the search box and goes to the first record whose
/// field `name_field` (upper-cased the Polish way) contains the fragment.
/// Esc: a tone and kBrowseRedrawRow. No match: "Brak takiego klucza" and
/// the record stays; otherwise (either way) kBrowseRedrawAll.
int SearchByName(Runtime& rt, dbf::WorkArea& area, int name_field, NameSearch* state);

/// A column showing field `name` of `area` (width: the field's, at least
/// the heading's). `heading` is UTF-8.
BrowseColumn FieldColumn(Runtime& rt, dbf::WorkArea& area, std::string_view name,
                         std::string_view heading);

/// Writes a key legend such as "<Esc>-Wyjście" (UTF-8) at (row, col): the
/// key names in YCOWP, the rest in YCOW.
void WriteLegend(Runtime& rt, int row, int col, std::string_view utf8);

/// Puts `code` into the keyboard buffer as typed input for the calling
/// field: Home, Ctrl+Y (the field is emptied), then its characters.
void TypeIntoField(Runtime& rt, std::string_view code);

/// Saves hot keys, unbinds them, and binds them back when it goes away.
class HotKeysAside {
  public:
    HotKeysAside(Runtime& rt, std::initializer_list<int> keys);
    ~HotKeysAside();
    HotKeysAside(const HotKeysAside&) = delete;
    HotKeysAside& operator=(const HotKeysAside&) = delete;

  private:
    Runtime& rt_;
    std::vector<std::pair<int, console::HotKeyAction>> saved_;
};

/// Remembers the screen, the colour and the selected work area (and its
/// order) and puts them back when it goes away.
class WindowState {
  public:
    WindowState(Runtime& rt, dbf::Workspace& ws);
    ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

  private:
    Runtime& rt_;
    dbf::Workspace& ws_;
    console::ScreenRegion screen_;
    console::ColourSpec colour_;
    int area_;
    int order_ = -1;
};

}  // namespace kestrel::common
