#include "tax/scale_editor.h"

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/console/keys.h"
#include "tax/data/tax_scale.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;
using common::Browse;
using common::BrowseColumn;

constexpr unsigned kMaskOpen = 36;   // kind 3 or kind 6
constexpr unsigned kMaskChange = 4;  // kind 3
constexpr int kBoxTop = 7, kBoxBottom = 19;
constexpr int kFirstYear = 1994, kLastYear = 2050;

// The fields of a row in the order a new row asks them.
enum RowField { kYear, kFromMonth, kToMonth, kAbove, kUpTo, kTax, kRate, kRelief, kFieldCount };

struct FieldSpec {
    const char* label;  // UTF-8
    int width;
    int decimals;
    const char* picture;
};

constexpr FieldSpec kFields[kFieldCount] = {
    {"Rok:", 4, 0, "9999"},
    {"Od miesiąca:", 2, 0, "99"},
    {"Do miesiąca:", 2, 0, "99"},
    {"Ponad kwotę:", 12, 2, "999999999.99"},
    {"Do kwoty:", 12, 2, "999999999.99"},
    {"Podatek:", 12, 2, "999999999.99"},
    {"% od \"nadwyżki\":", 5, 2, "99.99"},
    {"Ulga:", 12, 2, "999999999.99"},
};

// A row as the form edits it: one number per field.
using Values = std::array<double, kFieldCount>;

Values ValuesOf(const ScaleRow& r) {
    return {static_cast<double>(r.year),
            static_cast<double>(r.from_month),
            static_cast<double>(r.to_month),
            r.above,
            r.up_to,
            r.tax,
            r.rate,
            r.relief};
}

ScaleRow RowOf(const Values& v) {
    return {static_cast<int>(v[kYear]),
            static_cast<int>(v[kFromMonth]),
            static_cast<int>(v[kToMonth]),
            v[kAbove],
            v[kUpTo],
            v[kTax],
            v[kRate],
            v[kRelief]};
}

// The message (UTF-8) refusing field `f` of `v`, "" when the field is
// right. The last month is checked against the first, the upper bound
// against the lower.
std::string Refusal(int f, const Values& v) {
    const double x = v[static_cast<size_t>(f)];
    bool right = x >= 0;
    switch (f) {
        case kYear:
            right = x >= kFirstYear && x <= kLastYear;
            break;
        case kFromMonth:
            right = x >= 1 && x <= 12;
            break;
        case kToMonth:
            right = x >= v[kFromMonth] && x <= 12;
            break;
        case kUpTo:
            if (x - v[kAbove] < 0.005) return "Błędna wartość \"Do kwoty\"";
            break;
        default:
            break;
    }
    return right ? "" : "Błędna wartość";
}

class Editor {
  public:
    Editor(common::Runtime& rt, bool can_change) : rt_(rt), can_change_(can_change), tables_(rt) {}

    void Run();

  private:
    std::vector<BrowseColumn> Columns();
    int Handle(int mode, Browse& b);
    int Insert();
    int Change(Browse& b);
    int Delete(Browse& b);

    /// Declares field `f` of `v` at (row, col) with its checks: its own,
    /// the interval when `interval` (a bound changed in place), and the
    /// clash with the other rows when `clash`.
    void Declare(common::Form& form, int f, int row, int col, Values& v, uint32_t self,
                 bool interval, bool clash);
    /// The first field that refuses the row `v` (the clash with the other
    /// rows counts against "Do kwoty") with its message; -1 when none.
    int FirstRefusal(const Values& v, uint32_t self, std::string* message);
    /// Reads `fields` of `v` (declared by `declare`) until the whole row
    /// may be stored; false on Esc.
    bool ReadUntilRight(const std::vector<int>& fields, Values& v, uint32_t self,
                        const std::function<void(common::Form&)>& declare);
    void Refuse(const std::string& utf8) { common::ShowMessage(rt_, rt_.Text(utf8)); }
    void Check(const base::Status& s) {
        if (!s.ok()) throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: PKTAB")));
    }

    common::Runtime& rt_;
    const bool can_change_;
    common::Tables tables_;
    dbf::WorkArea* area_ = nullptr;
};

std::vector<BrowseColumn> Editor::Columns() {
    dbf::WorkArea& a = *area_;
    BrowseColumn months{rt_.Text("Od-Do"), 5, [&a] {
                            const ScaleRow r = ReadRow(a);
                            char buf[16];
                            std::snprintf(buf, sizeof buf, "%2d-%2d", r.from_month, r.to_month);
                            return std::string(buf);
                        }};
    return {
        common::FieldColumn(rt_, a, "ROK_", "ROK"),
        months,
        common::FieldColumn(rt_, a, "PONAD_KW", "  PONAD KWOTĘ"),
        common::FieldColumn(rt_, a, "DO_KWOTY", "    DO KWOTY"),
        common::FieldColumn(rt_, a, "KWOTA_POD", "     PODATEK"),
        common::FieldColumn(rt_, a, "PROC_POD", " %"),
        common::FieldColumn(rt_, a, "ULGA_POD", "    ULGA POD."),
    };
}

void Editor::Run() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, normal);
    s.Write(6, 22, rt_.Text("7.8. Tabela podatkowa"), rt_.Standard(rt_.colours().ycob));
    area_ = &OpenScaleTable(tables_);
    if (!area_->GoTop().ok()) throw common::Abandon(rt_.Text("Błąd odczytu: PKTAB"));
    s.Box(kBoxTop, 1, kBoxBottom, 77, std::string(console::kFrameSingle) + " ", normal);
    if (can_change_)
        common::WriteLegend(
            rt_, 21, 2,
            "<Esc>-Wyjście   <Enter>-Zmiana pola   <Ins>-Nowy rekord   <Del>-Kasowanie");
    else
        common::WriteLegend(rt_, 21, 2, "<Esc>-Wyjście");
    // Year and months stay in view while the amounts pan.
    common::BrowseTable(
        rt_, *area_, kBoxTop + 1, 2, kBoxBottom - 1, 76, Columns(),
        [this](int mode, int, Browse& b) { return Handle(mode, b); }, 2);
}

int Editor::Handle(int mode, Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::kEnter:
            return can_change_ ? Change(b) : common::kBrowseRedrawRow;
        case key::kIns:
            return can_change_ ? Insert() : common::kBrowseRedrawRow;
        case key::kDel:
            return can_change_ ? Delete(b) : common::kBrowseRedrawRow;
        default:
            return common::kBrowseRedrawRow;
    }
}

void Editor::Declare(common::Form& form, int f, int row, int col, Values& v, uint32_t self,
                     bool interval, bool clash) {
    const FieldSpec& spec = kFields[f];
    form.Get(row, col, &v[static_cast<size_t>(f)], spec.width, spec.decimals, spec.picture)
        .Valid([this, f, &v, self, interval, clash] {
            std::string refusal = Refusal(f, v);
            if (refusal.empty() && interval) refusal = Refusal(kUpTo, v);
            if (refusal.empty() && clash && ClashesInTable(rt_, *area_, RowOf(v), self))
                refusal = "Błędny przedział";
            if (refusal.empty()) return true;
            Refuse(refusal);
            return false;
        });
}

int Editor::FirstRefusal(const Values& v, uint32_t self, std::string* message) {
    for (int f = 0; f < kFieldCount; ++f) {
        *message = Refusal(f, v);
        if (!message->empty()) return f;
    }
    if (!ClashesInTable(rt_, *area_, RowOf(v), self)) return -1;
    *message = "Błędny przedział";
    return kUpTo;
}

bool Editor::ReadUntilRight(const std::vector<int>& fields, Values& v, uint32_t self,
                            const std::function<void(common::Form&)>& declare) {
    int start = 0;
    for (;;) {
        common::Form form(rt_);
        declare(form);
        // After a refusal the read begins at the field to correct; the
        // fields before it are entered again only by going up.
        bool skipping = start > 0;
        for (int i = 0; i < form.size(); ++i)
            form.field(i).When([&skipping, i, start] {
                if (i == start) skipping = false;
                return !skipping;
            });
        if (!common::Qrmrdr(rt_, form).saved()) return false;
        // Saving may skip fields (PgDn), or leave a field changed after a
        // later one was checked against it.
        std::string message;
        const int wrong = FirstRefusal(v, self, &message);
        if (wrong < 0) return true;
        Refuse(message);
        start = 0;
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i] == wrong) start = static_cast<int>(i);
    }
}

int Editor::Insert() {
    auto& s = rt_.screen();
    const int top = 8, left = 20, right = 57, bottom = top + kFieldCount + 1;
    const common::WindowState under(rt_, tables_.workspace());
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 5, rt_.Text(" Nowy rekord "), rt_.Standard(rt_.colours().ycobp));
    const int col = left + 2 + static_cast<int>(rt_.Text(kFields[kRate].label).size()) + 1;
    for (int f = 0; f < kFieldCount; ++f)
        s.Write(top + 1 + f, left + 2, rt_.Text(kFields[f].label), frame);

    ScaleRow fresh;
    fresh.year = rt_.working_date().year;
    Values v = ValuesOf(fresh);
    const std::vector<int> fields = {kYear, kFromMonth, kToMonth, kAbove,
                                     kUpTo, kTax,       kRate,    kRelief};
    const bool done = ReadUntilRight(fields, v, 0, [&](common::Form& form) {
        for (int f : fields) Declare(form, f, top + 1 + f, col, v, 0, false, f == kUpTo);
    });
    if (!done) return common::kBrowseRedrawRow;

    tables_.Reserve(*area_, "");
    try {
        Check(WriteRow(*area_, RowOf(v)));
        Check(area_->Commit());
        tables_.Confirm(*area_);
    } catch (...) {
        area_->Unlock();
        throw;
    }
    const uint32_t added = area_->recno();
    area_->Unlock();
    Check(area_->Goto(added));
    return common::kBrowseRedrawAll;
}

int Editor::Change(Browse& b) {
    if (b.source().Empty()) return common::kBrowseRedrawRow;
    int shown = 0;
    const int x = b.ColumnX(b.column(), &shown);
    if (x < 0) return common::kBrowseRedrawRow;
    // The fields of each column, and where they stand in its cell.
    std::vector<std::pair<int, int>> fields;  // field, column offset
    switch (b.column()) {
        case 0:
            fields = {{kYear, 0}};
            break;
        case 1:
            fields = {{kFromMonth, 0}, {kToMonth, 3}};
            break;
        case 2:
            fields = {{kAbove, 0}};
            break;
        case 3:
            fields = {{kUpTo, 0}};
            break;
        case 4:
            fields = {{kTax, 0}};
            break;
        case 5:
            fields = {{kRate, 0}};
            break;
        default:
            fields = {{kRelief, 0}};
            break;
    }
    tables_.RLock(*area_);
    struct Unlock {
        dbf::WorkArea& a;
        ~Unlock() { a.Unlock(); }
    } unlock{*area_};
    Check(area_->Skip(0));  // what another station may have written
    if (area_->deleted()) return common::kBrowseRedrawAll;
    const uint32_t self = area_->recno();
    Values v = ValuesOf(ReadRow(*area_));
    std::vector<int> order;
    for (const auto& [f, offset] : fields) order.push_back(f);
    const bool done = ReadUntilRight(order, v, self, [&](common::Form& form) {
        for (const auto& [f, offset] : fields)
            Declare(form, f, b.current_row(), x + offset, v, self, f == kAbove, f <= kUpTo);
    });
    if (!done) return common::kBrowseRedrawRow;
    Check(WriteRow(*area_, RowOf(v)));
    Check(area_->Commit());
    // A changed year, month or lower bound moves the row in the index.
    return common::kBrowseRedrawAll;
}

int Editor::Delete(Browse& b) {
    if (b.source().Empty()) return common::kBrowseRedrawRow;
    if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    tables_.RLock(*area_);
    const base::Status st = area_->Delete();
    area_->Unlock();
    Check(st);
    if (!area_->Skip(1).ok()) throw common::Abandon(rt_.Text("Błąd odczytu: PKTAB"));
    if (area_->eof() && !area_->GoBottom().ok())
        throw common::Abandon(rt_.Text("Błąd odczytu: PKTAB"));
    return common::kBrowseRedrawAll;
}

}  // namespace

void Qrm78(common::Runtime& rt) {
    if (!common::CheckRights(rt, kMaskOpen)) return;
    Editor editor(rt, common::CheckRights(rt, kMaskChange, false));
    editor.Run();
}

}  // namespace kestrel::tax
