#include "common/dictionary/code_field.h"

#include <algorithm>

#include "common/screen/choice.h"
#include "common/screen/messages.h"
#include "common/tables/index_order.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

using base::Trim;

dbf::WorkArea* OpenList(Runtime& rt, Tables& tables, const CodeField& f) {
    if (dbf::WorkArea* open = tables.workspace().Find(f.table)) return open;
    // A dictionary the company lacks holds no code.
    if (!base::Exists(base::FindNoCase(rt.data_dir(), f.table + ".DBF"))) return nullptr;
    return &tables.Open(f.table, f.indexes);
}

// The list choice of a code out of a fixed list, standing on what was typed;
// Enter gives the code to the field as typed input.
bool PickValue(Runtime& rt, const std::vector<std::string>& values, std::string_view typed) {
    size_t widest = 0;
    for (const std::string& v : values) widest = std::max(widest, v.size());
    const int rows = std::min(static_cast<int>(values.size()), 13);
    const int top = 8, bottom = top + rows + 1;
    const int left = 60, right = std::min(79, left + static_cast<int>(widest) + 3);
    auto& s = rt.screen();
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ",
          rt.Standard(rt.colours().ycow));
    int initial = 1;
    for (size_t i = 0; i < values.size(); ++i)
        if (!Trim(typed).empty() && Trim(values[i]) == Trim(typed))
            initial = static_cast<int>(i) + 1;
    std::vector<std::string> rows_shown;
    for (const std::string& v : values) rows_shown.push_back(" " + v);
    const int chosen =
        Qrmach(rt, top + 1, left + 1, bottom - 1, right - 1, rows_shown, {}, initial);
    s.Restore(under);
    if (chosen <= 0) return false;
    TypeIntoField(rt, values[static_cast<size_t>(chosen - 1)]);
    return true;
}

}  // namespace

bool FindCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view code,
              std::string* name) {
    if (f.acceptable && !f.acceptable(code)) return false;
    if (!f.values.empty()) {
        const std::string wanted = Trim(code);
        for (const std::string& v : f.values)
            if (Trim(v) == wanted) {
                if (name != nullptr) name->clear();
                return true;
            }
        return false;
    }
    dbf::WorkArea* area = OpenList(rt, tables, f);
    if (area == nullptr) return false;
    const int code_field = area->FieldIndex(f.code_field);
    const int name_field = area->FieldIndex(f.name_field);
    if (code_field < 0) return false;
    std::string key(Trim(code));
    key.resize(area->table().fields()[static_cast<size_t>(code_field)].length, ' ');
    bool found = false;
    if (!f.indexes.empty()) {
        const int order = OrderOf(*area, f.indexes.front());
        found = order > 0 && area->SetOrder(order).ok() && area->Seek(key).ok() && area->found();
    } else {
        for (base::Status s = area->GoTop(); s.ok() && !area->eof(); s = area->Skip(1))
            if (area->record().GetString(code_field) == key) {
                found = true;
                break;
            }
    }
    if (found && name != nullptr)
        *name = name_field < 0 ? "" : area->record().GetString(name_field);
    return found;
}

bool ValidateCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view code, int row,
                  int col) {
    auto show = [&](const std::string& name) {
        if (row < 0 || f.name_width <= 0) return;
        std::string shown = name;
        shown.resize(static_cast<size_t>(f.name_width), ' ');
        rt.screen().Write(row, col, shown, rt.Standard(rt.colours().ycow));
    };
    if (Trim(code).empty()) {
        show("");
        return true;
    }
    std::string name;
    if (!FindCode(rt, tables, f, code, &name)) {
        show("");
        ShowMessage(rt, rt.Text(f.message));
        return false;
    }
    show(name);
    return true;
}

bool PickCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view typed) {
    if (!f.values.empty()) return PickValue(rt, f.values, typed);
    const PickDictionary d = f.pick();
    return Pick(rt, tables, d, typed);
}

CodePickers::CodePickers(Runtime& rt, Tables& tables, Form& form)
    : rt_(rt), tables_(tables), form_(form), row21_(rt.screen().Save(21, 0, 21, 79)) {
    saved_ = rt_.console().keyboard().Bind(key::F(3), [this] {
        for (const Bound& b : bound_)
            if (b.index == form_.current()) {
                PickCode(rt_, tables_, b.field, form_.Typed());
                return;
            }
    });
}

CodePickers::~CodePickers() {
    rt_.console().keyboard().Bind(key::F(3), saved_);
    ClearHint();
}

void CodePickers::ShowHint(const CodeField& f) {
    ClearHint();
    rt_.screen().Clear(21, 1, 21, 77, rt_.Standard(rt_.colours().ycow));
    WriteLegend(rt_, 21, 2, f.hint);
}

void CodePickers::ClearHint() {
    rt_.screen().Restore(row21_);
}

void CodePickers::Attach(int index, CodeField f, std::string* var, int name_row, int name_col,
                         FieldCheck also, FieldCheck when) {
    bound_.push_back({index, std::move(f)});
    const CodeField* field = &bound_.back().field;
    Field& input = form_.field(index);
    input.When([this, field, when] {
        if (when && !when()) return false;
        ShowHint(*field);
        return true;
    });
    input.Valid([this, field, var, name_row, name_col, also] {
        if (!ValidateCode(rt_, tables_, *field, *var, name_row, name_col)) return false;
        if (also && !also()) return false;
        ClearHint();
        return true;
    });
}

}  // namespace kestrel::common
