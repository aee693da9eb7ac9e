#include "common/dictionary/code_field.h"

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

}  // namespace

bool FindCode(Runtime& rt, Tables& tables, const CodeField& f, std::string_view code,
              std::string* name) {
    if (f.acceptable && !f.acceptable(code)) return false;
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
