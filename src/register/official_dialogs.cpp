// The browse dialogs of the official dictionaries (QRM2C2 … QRM2C5).
//
// The rows are read once into memory (a few thousand at most) and browsed
// as a list, so that both sort orders are at hand without index files of
// their own: by code (occupations with a leading "0" after 1-9, as their
// index keys them) and by name (the Polish sort form; tax offices by their
// town, as the name index of the code list orders them).
#include "register/official_dialogs.h"

#include <algorithm>

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/session/letter_conversions.h"
#include "common/tables/index_functions.h"
#include "common/tables/shipped_content.h"
#include "common/tables/table_layer.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/code_list_print.h"
#include "register/data/official_dictionaries.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr unsigned kMaskEnter = 33;
constexpr unsigned kMaskChange = 1;

using base::Trim;

std::string Pad(std::string_view s, size_t width) {
    std::string out(s.substr(0, width));
    out.resize(width, ' ');
    return out;
}

struct Row {
    std::string code;   // as stored, trimmed
    std::string name;   // CP852, trimmed
    std::string other;  // countries: the full name; territory: the kind; occupations: "S"
    std::string code_key;
    std::string name_key;
};

/// The first line of a long name cut at a word boundary within `width`,
/// and the rest.
std::pair<std::string, std::string> SplitName(std::string_view name, size_t width) {
    if (name.size() <= width) return {std::string(name), ""};
    size_t cut = name.substr(0, width + 1).find_last_of(' ');
    if (cut == std::string_view::npos || cut == 0) cut = width;
    return {Trim(name.substr(0, cut)), Trim(name.substr(cut))};
}

class OfficialDialog {
  public:
    OfficialDialog(common::Runtime& rt, OfficialList list)
        : rt_(rt), list_(list), info_(InfoOf(list)) {}
    void Run();

  private:
    void Load();
    void Sort();
    void DrawFrame();
    void DrawLegend();
    void DrawDetail();
    std::vector<common::BrowseColumn> Columns();
    int Handle(int mode);
    int Search();
    int SearchCode();
    int SearchName();
    void DrawSearchBox();
    int Import();
    void Print();
    const Row& Current() const { return rows_[order_[static_cast<size_t>(current_ - 1)]]; }
    int Count() const { return static_cast<int>(order_.size()); }
    bool occupations() const { return list_ == OfficialList::kOccupations; }
    int box_bottom() const { return occupations() ? 18 : 20; }

    common::Runtime& rt_;
    OfficialList list_;
    const OfficialListInfo& info_;
    std::vector<Row> rows_;
    std::vector<size_t> order_;
    int current_ = 1;
    bool by_name_ = false;
    bool can_change_ = false;
    bool from_start_ = true;
    std::string fragment_ = std::string(20, ' ');
    std::string path_ = std::string(120, ' ');
    common::RowListSource* source_ = nullptr;
};

void OfficialDialog::Load() {
    rows_.clear();
    common::Tables tables(rt_);
    dbf::WorkArea& area = tables.Open(info_.table);
    dbf::Table& t = area.table();
    const int code = t.FieldIndex(info_.code_field);
    int name = t.FieldIndex(info_.name_field);
    int other = -1;
    if (list_ == OfficialList::kCountries) {
        name = t.FieldIndex("KRAJ_");
        other = t.FieldIndex("NAZWA_PEL");
    } else if (occupations()) {
        if (name < 0) name = t.FieldIndex("NAZWA_ZAW");
        other = t.FieldIndex("SZKOLNY_");
    }
    if (code < 0 || name < 0)
        throw common::Abandon(rt_.Text("Błędna struktura pliku ") + info_.table);
    const common::LetterSet& letters = rt_.letters();
    base::Status s = t.Scan(1, [&](uint32_t, const dbf::Record& rec) {
        if (rec.deleted()) return base::Status::Ok();
        Row r;
        r.code = Trim(rec.Raw(code));
        r.name = Trim(rec.Raw(name));
        if (list_ == OfficialList::kCountries && other >= 0) {
            r.other = Trim(rec.Raw(other));
        } else if (occupations() && other >= 0) {
            r.other = rec.GetLogical(other) ? "S" : "";
        } else if (list_ == OfficialList::kTerritory) {
            r.other = rt_.Text(TerritoryKind(r.code));
        }
        r.code_key = occupations() ? common::ProfessionKey(Pad(r.code, 6)) : r.code;
        if (list_ == OfficialList::kTaxOffices)
            r.name_key = common::TaxOfficeKey(letters, r.name);
        else
            r.name_key = common::SortKey(letters, r.name);
        rows_.push_back(std::move(r));
        return base::Status::Ok();
    });
    if (!s.ok()) throw common::Abandon(rt_.Text("Błąd odczytu: ") + info_.table);
    order_.resize(rows_.size());
    for (size_t i = 0; i < order_.size(); ++i) order_[i] = i;
    current_ = 1;
    Sort();
}

void OfficialDialog::Sort() {
    const size_t keep = order_.empty() ? 0 : order_[static_cast<size_t>(current_ - 1)];
    std::stable_sort(order_.begin(), order_.end(), [this](size_t a, size_t b) {
        const Row& x = rows_[a];
        const Row& y = rows_[b];
        if (by_name_ && x.name_key != y.name_key) return x.name_key < y.name_key;
        return x.code_key < y.code_key;
    });
    for (size_t i = 0; i < order_.size(); ++i) {
        if (order_[i] == keep) current_ = static_cast<int>(i) + 1;
    }
}

std::vector<common::BrowseColumn> OfficialDialog::Columns() {
    std::vector<common::BrowseColumn> c;
    auto cell = [this](auto get, size_t width) {
        return [this, get, width] {
            if (order_.empty()) return std::string(width, ' ');
            return Pad(get(Current()), width);
        };
    };
    switch (list_) {
        case OfficialList::kCountries:
            c.push_back({"KOD", 3, cell([](const Row& r) { return r.code; }, 3)});
            c.push_back({"NAZWA", 15, cell([](const Row& r) { return r.name; }, 15)});
            c.push_back(
                {rt_.Text("NAZWA PEŁNA"), 41, cell([](const Row& r) { return r.other; }, 41)});
            break;
        case OfficialList::kTaxOffices:
            c.push_back({"KOD", 4, cell([](const Row& r) { return r.code; }, 4)});
            c.push_back(
                {rt_.Text("NAZWA URZĘDU"), 50, cell([](const Row& r) { return r.name; }, 50)});
            break;
        case OfficialList::kTerritory:
            c.push_back({"KOD", 7, cell([](const Row& r) { return r.code; }, 7)});
            c.push_back({"NAZWA", 29, cell([](const Row& r) { return r.name; }, 29)});
            c.push_back({"RODZAJ", 21, cell([](const Row& r) { return r.other; }, 21)});
            break;
        case OfficialList::kOccupations:
            c.push_back({"KOD", 6, cell([](const Row& r) { return r.code; }, 6)});
            c.push_back({"NAZWA", 59, cell([](const Row& r) { return r.name; }, 59)});
            c.push_back({"SZK", 3, cell([](const Row& r) { return r.other; }, 3)});
            break;
    }
    return c;
}

void OfficialDialog::DrawFrame() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, normal);
    s.Write(6, 22, rt_.Text(std::string(info_.menu) + " " + info_.title),
            rt_.Standard(rt_.colours().ycob));
    s.Box(7, 1, box_bottom(), 77, console::kFrameSingle, normal);
    s.Write(box_bottom(), 62, rt_.Text(" <F7>-Wydruk "), normal);
    DrawLegend();
}

void OfficialDialog::DrawLegend() {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(21, 1, 21, 77, normal);
    common::WriteLegend(rt_, 21, 2, "<Esc>-Wyjście");
    common::WriteLegend(rt_, 21, 17, "<F2>-Szukanie");
    common::WriteLegend(rt_, 21, 32, "<F3/F4>-Sort: KOD/NAZWA");
    // The order in force is shown in the secondary colour.
    s.Write(21, by_name_ ? 50 : 46, by_name_ ? "NAZWA" : "KOD", rt_.Standard(rt_.colours().ycob));
    if (can_change_) common::WriteLegend(rt_, 21, 58, "<F9>-Import/odtw.");
}

void OfficialDialog::DrawDetail() {
    if (!occupations()) return;
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    s.Clear(19, 1, 20, 77, normal);
    if (order_.empty()) return;
    const auto [first, rest] = SplitName(Current().name, 68);
    const console::Attr bright = rt_.Standard(rt_.colours().ycowp);
    s.Write(19, 2, Pad(Current().code, 6), bright);
    s.Write(19, 9, first, bright);
    s.Write(20, 9, rest.substr(0, 68), bright);
}

int OfficialDialog::Handle(int mode) {
    DrawDetail();
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::F(2):
            return Search();
        case key::F(3):
        case key::F(4): {
            const bool want = rt_.console().LastKey() == key::F(4);
            if (want != by_name_) {
                by_name_ = want;
                Sort();
                DrawLegend();
            }
            DrawDetail();
            return common::kBrowseRedrawAll;
        }
        case key::F(7):
            Print();
            return common::kBrowseRedrawAll;
        case key::F(9):
            if (!can_change_) return common::kBrowseRedrawRow;
            return Import();
        default:
            return common::kBrowseRedrawRow;
    }
}

int OfficialDialog::Search() {
    if (order_.empty()) {
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return common::kBrowseRedrawRow;
    }
    const int result = by_name_ ? SearchName() : SearchCode();
    DrawDetail();
    return result;
}

int OfficialDialog::SearchCode() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 14, 55);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 14, 55, std::string(console::kFrameDouble) + " ", frame);
    s.Write(13, 20, "Kod:", frame);
    const size_t code_width = list_ == OfficialList::kCountries    ? 2
                              : list_ == OfficialList::kTaxOffices ? 4
                              : list_ == OfficialList::kTerritory  ? 7
                                                                   : 6;
    std::string typed(code_width, ' ');
    common::Form form(rt_);
    form.Get(13, 25, &typed, "@!");
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok || Trim(typed).empty()) return common::kBrowseRedrawRow;
    const std::string wanted = occupations() ? common::ProfessionKey(Trim(typed)) : Trim(typed);
    // Soft seek: the first row whose code key is not below the typed one.
    int pos = Count();
    for (int i = 0; i < Count(); ++i) {
        if (rows_[order_[static_cast<size_t>(i)]].code_key >= wanted) {
            pos = i;
            break;
        }
    }
    const bool found = pos < Count() && rows_[order_[static_cast<size_t>(pos)]].code_key.compare(
                                            0, wanted.size(), wanted) == 0;
    current_ = std::min(pos, Count() - 1) + 1;
    if (!found) ShowMessage(rt_, rt_.Text("Brak takiego klucza"));
    return common::kBrowseRedrawAll;
}

void OfficialDialog::DrawSearchBox() {
    auto& s = rt_.screen();
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 16, 55, std::string(console::kFrameDouble) + " ", frame);
    const console::Attr bright = rt_.Standard(rt_.colours().ycowp);
    if (from_start_)
        s.Write(13, 24, rt_.Text("Szukanie od początku zbioru"), bright);
    else
        s.Write(13, 23, rt_.Text("Szukanie od NASTĘPNEJ POZYCJI"), bright);
    s.Write(14, 25, rt_.Text(" <F1>-Inny typ szukania "), rt_.Standard(rt_.colours().ycobp));
    s.Write(15, 20, rt_.Text("Fragm.nazwy:"), frame);
}

int OfficialDialog::SearchName() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 16, 55);
    DrawSearchBox();
    common::HotKeysAside aside(rt_, {key::F(1)});
    rt_.console().keyboard().Bind(key::F(1), [this] {
        from_start_ = !from_start_;
        DrawSearchBox();
    });
    common::Form form(rt_);
    form.Get(15, 33, &fragment_, "", 20).Valid([this] { return !Trim(fragment_).empty(); });
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok) {
        rt_.console().Tone(common::kToneFrequency, common::kToneTicks);
        return common::kBrowseRedrawRow;
    }
    const common::LetterSet& letters = rt_.letters();
    const std::string wanted = common::Qrmuppe(letters, Trim(fragment_));
    for (int i = from_start_ ? 0 : current_; i < Count(); ++i) {
        const Row& r = rows_[order_[static_cast<size_t>(i)]];
        if (common::Qrmuppe(letters, r.name).find(wanted) != std::string::npos ||
            (list_ == OfficialList::kCountries &&
             common::Qrmuppe(letters, r.other).find(wanted) != std::string::npos)) {
            current_ = i + 1;
            return common::kBrowseRedrawAll;
        }
    }
    ShowMessage(rt_, rt_.Text("Brak takiego klucza"));
    return common::kBrowseRedrawAll;
}

// The rows in the order shown, with the browse's columns.
void OfficialDialog::Print() {
    CodeList list;
    list.title = rt_.Text(info_.title);
    std::vector<common::BrowseColumn> columns = Columns();
    for (const common::BrowseColumn& c : columns) list.columns.push_back({c.heading, c.width});
    const int keep = current_;
    size_t next = 0;
    list.rows = [&](std::vector<std::string>* cells) {
        if (next >= order_.size()) return false;
        current_ = static_cast<int>(++next);
        for (const common::BrowseColumn& c : columns) cells->push_back(base::TrimRight(c.value()));
        return true;
    };
    PrintCodeList(rt_, std::move(list));
    current_ = keep;
    DrawDetail();
}

int OfficialDialog::Import() {
    auto& s = rt_.screen();
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    {
        const console::ScreenRegion under = s.Save(11, 6, 16, 73);
        s.Box(11, 6, 16, 73, std::string(console::kFrameDouble) + " ", frame);
        s.Write(11, 10, rt_.Text(" Import słownika z pliku urzędowego "),
                rt_.Standard(rt_.colours().ycobp));
        s.Write(13, 8, "Plik:", frame);
        s.Write(15, 8, rt_.Text("Pusta nazwa: dane dostarczone z programem"),
                rt_.Standard(rt_.colours().ycob));
        common::Form form(rt_);
        form.Get(13, 14, &path_, "@S58");
        const bool ok = form.Read().saved();
        s.Restore(under);
        if (!ok) return common::kBrowseRedrawRow;
    }
    const std::string path = Trim(path_);
    const char* question = path.empty() ? "Odtworzyć słownik z danych programu?"
                                        : "Zastąpić słownik zawartością pliku?";
    if (!common::IsYes(common::Question(rt_, rt_.Text(question), "tn", 'n')))
        return common::kBrowseRedrawRow;
    common::ShowWait(rt_);
    uint32_t count = 0;
    const std::string dir = rt_.data_dir();
    const std::string err =
        path.empty() ? RebuildFromShipped(dir, common::ShippedDataDir(dir), rt_.letters(), list_,
                                          &count, &rt_.clock())
                     : ImportOfficialList(dir, rt_.letters(), list_, path, &count, &rt_.clock());
    s.Clear(0, 60, 0, 75, frame);
    if (!err.empty()) {
        common::ShowMessage(rt_, common::ShortenMessage(rt_.Text(err)));
        return common::kBrowseRedrawAll;
    }
    Load();
    source_->set_count(Count());
    DrawDetail();
    common::ShowMessage(rt_, rt_.Text("Wczytano pozycji: " + std::to_string(count)), false);
    return common::kBrowseRedrawAll;
}

void OfficialDialog::Run() {
    if (!common::CheckRights(rt_, kMaskEnter)) return;
    can_change_ = common::RightsAllow(rt_.operators(), kMaskChange);
    common::HotKeysAside keys(rt_, {key::F(2), key::F(3), key::F(4), key::F(7), key::F(9)});
    Load();
    DrawFrame();
    common::RowListSource source(&current_, Count());
    source_ = &source;
    common::Browse browse(rt_, 8, 2, box_bottom() - 1, 76, Columns(), source);
    browse.set_colour(rt_.colours().ycow2);
    DrawDetail();
    browse.Run([this](int mode, int, common::Browse&) { return Handle(mode); });
}

}  // namespace

void Qrm2c2(common::Runtime& rt) {
    OfficialDialog(rt, OfficialList::kCountries).Run();
}
void Qrm2c3(common::Runtime& rt) {
    OfficialDialog(rt, OfficialList::kTaxOffices).Run();
}
void Qrm2c4(common::Runtime& rt) {
    OfficialDialog(rt, OfficialList::kTerritory).Run();
}
void Qrm2c5(common::Runtime& rt) {
    OfficialDialog(rt, OfficialList::kOccupations).Run();
}

}  // namespace kestrel::registry
