// The grid of the matrix editor: one screen row per row of the matrix, each
// cell at its width, showing the headings or the contents (Tab switches);
// the current cell's fields under the grid.
#include <algorithm>
#include <string>

#include "common/pick/pick_window.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/printouts/data/matrix_grid.h"
#include "payroll/printouts/matrix_editor_parts.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::payroll::matrix_editor {
namespace {

namespace key = console::key;

constexpr int kTop = 7, kBottom = 16, kLeft = 2, kRight = 77;
constexpr char kSeparator = '\xB3';  // │

class Grid {
  public:
    Grid(common::Runtime& rt, common::Tables& tables, MatrixChecks& checks, MatrixDefinition* m)
        : rt_(rt), tables_(tables), checks_(checks), m_(*m) {}

    bool Run();

  private:
    void Draw();
    void DrawDetails();
    void Clamp();
    bool Confirm(const char* question);
    void EditCell();
    void EditHeading(MatrixCell* cell);
    void EditContent(MatrixCell* cell);

    common::Runtime& rt_;
    common::Tables& tables_;
    MatrixChecks& checks_;
    MatrixDefinition& m_;
    int row_ = 1, column_ = 1;
    int first_row_ = 1;
    bool headings_ = false;
};

void Grid::Clamp() {
    row_ = std::clamp(row_, 1, RowCount(m_));
    column_ = std::clamp(column_, 1, ColumnCount(m_, row_));
    const int rows = kBottom - kTop + 1;
    if (row_ < first_row_) first_row_ = row_;
    if (row_ >= first_row_ + rows) first_row_ = row_ - rows + 1;
}

void Grid::Draw() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const console::Attr current = rt_.Enhanced(rt_.colours().ycow);
    s.Clear(5, 1, 19, 78, plain);
    char buf[96];
    std::snprintf(buf, sizeof buf, "Wiersz: %2d/%-2d  Kolumna: %2d/%-2d  ", row_, RowCount(m_),
                  column_, ColumnCount(m_, row_));
    s.Write(5, kLeft,
            buf + rt_.Text("Szerokość: ") + std::to_string(CellAt(m_, row_, column_)->width),
            plain);
    s.Write(5, 56, rt_.Text(headings_ ? "[Opisy kolumn]" : "[Zawartość]"),
            rt_.Standard(rt_.colours().ycowp));
    // The columns of the current row scrolled so that its cell is in view;
    // the other rows follow the same offset.
    int start = 0;
    for (int c = 1; c < column_; ++c) start += CellAt(m_, row_, c)->width + 1;
    const int width = kRight - kLeft + 1;
    const int cell_width = CellAt(m_, row_, column_)->width;
    const int offset = start + cell_width < width ? 0 : start + std::min(cell_width, width) - width;
    for (int r = first_row_; r <= RowCount(m_) && r - first_row_ + kTop <= kBottom; ++r) {
        const int y = kTop + r - first_row_;
        int x = 0;
        for (int c = 1; c <= ColumnCount(m_, r); ++c) {
            const MatrixCell* cell = CellAt(m_, r, c);
            std::string text = headings_ ? cell->heading : cell->content;
            text.resize(static_cast<size_t>(cell->width), ' ');
            text += kSeparator;
            for (size_t i = 0; i < text.size(); ++i) {
                const int at = x + static_cast<int>(i) - offset;
                if (at < 0 || at >= width) continue;
                const bool on = r == row_ && c == column_ && i + 1 < text.size();
                s.Write(y, kLeft + at, std::string(1, text[i]), on ? current : plain);
            }
            x += cell->width + 1;
        }
    }
    DrawDetails();
}

void Grid::DrawDetails() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const MatrixCell& c = *CellAt(m_, row_, column_);
    s.Write(17, kLeft, rt_.Text("Opis:"), plain);
    s.Write(17, 13, c.heading, plain);
    s.Write(18, kLeft, rt_.Text("Zawartość:"), plain);
    s.Write(18, 13, c.content.substr(0, 65), plain);
    std::string line = rt_.Text("Typ pola: ") + c.type + rt_.Text("   Suma?: ") +
                       (c.total ? "T" : "N") + rt_.Text("   Maska: ") + c.picture;
    if (TotalsByFormula(m_.type)) line += rt_.Text("   Wzór: ") + (c.total_by_formula ? "T" : "N");
    s.Write(19, kLeft, line, plain);
}

bool Grid::Confirm(const char* question) {
    return common::IsYes(common::Question(rt_, rt_.Text(question), "tn", 'n'));
}

void Grid::EditHeading(MatrixCell* cell) {
    std::string heading = cell->heading;
    heading.resize(40, ' ');
    common::Form form(rt_);
    form.Get(17, 13, &heading);
    if (common::Qrmrdr(rt_, form).saved()) cell->heading = base::TrimRight(heading);
}

void Grid::EditContent(MatrixCell* cell) {
    std::string content = cell->content, type(1, cell->type), picture = cell->picture;
    content.resize(77, ' ');
    picture.resize(20, ' ');
    bool total = cell->total, by_formula = cell->total_by_formula;
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(19, 1, 19, 78, plain);
    s.Write(19, kLeft, rt_.Text("Typ pola:"), plain);
    s.Write(19, 16, rt_.Text("Suma?:"), plain);
    s.Write(19, 26, rt_.Text("Maska:"), plain);
    if (TotalsByFormula(m_.type)) s.Write(19, 56, rt_.Text("Wzór:"), plain);
    s.Clear(20, 1, 21, 78, plain);
    common::WriteLegend(rt_, 20, 2,
                        "<F3>-Składniki płac  <F4>-Rodzaje czasu pracy  <F5>-Nieobecności");
    common::Form form(rt_);
    form.Get(18, 13, &content, "@S65").Valid([&] {
        const std::string message = checks_.Content(content);
        if (message.empty()) return true;
        common::ShowMessage(rt_, message);
        return false;
    });
    form.Get(19, 12, &type, "@!").Valid([&] {
        if (std::string_view("CNDL").find(type[0]) != std::string_view::npos && type[0] != ' ')
            return true;
        common::ShowMessage(rt_, rt_.Text("Błędny typ pola"));
        return false;
    });
    form.Get(19, 23, &total).When([&] { return type[0] == 'N'; });
    form.Get(19, 33, &picture).When([&] { return type[0] == 'N'; });
    if (TotalsByFormula(m_.type)) form.Get(19, 62, &by_formula);
    auto& kb = rt_.console().keyboard();
    auto pick = [&](const char* title, const char* table, const char* code) {
        return [&, title, table, code] {
            if (form.current() != 0) return;
            const std::vector<Entry> codes = CodesOf(tables_, table, code);
            const int i = ChooseEntry(rt_, title, codes);
            if (i >= 0) common::TypeIntoField(rt_, codes[static_cast<size_t>(i)].typed);
        };
    };
    auto f3 = kb.Bind(key::F(3), pick(" Składniki płac ", "PKSPL", "SKLADN_PL"));
    auto f4 = kb.Bind(key::F(4), pick(" Rodzaje czasu pracy ", "PKROB", "KOD_OB"));
    auto f5 = kb.Bind(key::F(5), pick(" Nieobecności ", "PKRNB", "KOD_NIEOB"));
    const bool saved = common::Qrmrdr(rt_, form).saved();
    kb.Bind(key::F(3), f3);
    kb.Bind(key::F(4), f4);
    kb.Bind(key::F(5), f5);
    if (!saved) return;
    cell->content = base::Trim(content);
    cell->type = type[0];
    cell->total = cell->type == 'N' && total;
    cell->picture = cell->type == 'N' ? base::Trim(picture) : std::string();
    cell->total_by_formula = TotalsByFormula(m_.type) && by_formula;
}

void Grid::EditCell() {
    MatrixCell* cell = CellAt(&m_, row_, column_);
    if (headings_)
        EditHeading(cell);
    else
        EditContent(cell);
}

bool Grid::Run() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 78, plain);
    s.Write(4, 2, rt_.Text("4.8.7. Matryce tabulogramów: ") + m_.symbol,
            rt_.Standard(rt_.colours().ycob));
    for (;;) {
        Clamp();
        Draw();
        s.Clear(20, 1, 21, 78, plain);
        common::WriteLegend(rt_, 20, 2,
                            "<Enter>-Zmiana pola  <Ins>-Nowa kolumna  <Del>-Kasow.kolumny  "
                            "<Tab>-Przeł.");
        common::WriteLegend(rt_, 21, 2,
                            "<^Ins>-Nowy wiersz  <^Del>-Kasow.wiersza  <^Strz.>-Szerokość  "
                            "<Esc>-Koniec");
        const int k = common::Qrminkey(rt_);
        switch (k) {
            case key::kEsc:
                return Confirm("Zapisać wzór tabulogramu?");
            case key::kLeft:
                --column_;
                break;
            case key::kRight:
                ++column_;
                break;
            case key::kUp:
                --row_;
                break;
            case key::kDown:
                ++row_;
                break;
            case key::kHome:
                column_ = 1;
                break;
            case key::kEnd:
                column_ = ColumnCount(m_, row_);
                break;
            case key::kTab:
                headings_ = !headings_;
                break;
            case key::kEnter:
                EditCell();
                break;
            case key::kCtrlLeft:
                (void)ChangeWidth(&m_, row_, column_, -1);
                break;
            case key::kCtrlRight:
                (void)ChangeWidth(&m_, row_, column_, 1);
                break;
            case key::kIns:
                // After the current one, which the cursor then leaves for it:
                // a matrix grows from its first cell to the right and down.
                if (Confirm("Wstawić kolumnę?") && InsertColumn(&m_, row_, column_ + 1)) ++column_;
                break;
            case key::kDel:
                if (Confirm("Kasować kolumnę?")) (void)DeleteColumn(&m_, row_, column_);
                break;
            case key::kCtrlIns:
                if (Confirm("Wstawić wiersz?") && InsertRow(&m_, row_ + 1)) {
                    ++row_;
                    column_ = 1;
                }
                break;
            case key::kCtrlDel:
                if (Confirm("Kasować wiersz?")) (void)DeleteRow(&m_, row_);
                break;
            default:
                break;
        }
    }
}

}  // namespace

bool EditGrid(common::Runtime& rt, common::Tables& tables, MatrixChecks& checks,
              MatrixDefinition* m) {
    return Grid(rt, tables, checks, m).Run();
}

}  // namespace kestrel::payroll::matrix_editor
