#include "payroll/printouts/matrix_editor.h"

#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/data/payroll_records.h"
#include "payroll/printouts/data/matrix_grid.h"
#include "payroll/printouts/data/matrix_store.h"
#include "payroll/printouts/matrix_editor_parts.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace matrix_editor {

namespace key = console::key;

std::string TypeName(char type) {
    switch (type) {
        case '1':
            return "1 - Lista płac";
        case '2':
            return "2 - Wybrane składniki z listy płac w miesiącu";
        case '3':
            return "3 - Zbiorcze zestawienie list płac za wybrany okres";
        case '4':
            return "4 - Wydruk kartoteki pracowników";
        case '5':
            return "5 - Zestawienie płac za wybrany okres";
        case '6':
            return "6 - Zbiorcze zestawienie wg kont kosztów";
        default:
            return "";
    }
}

// The summaries of a period and by cost accounts are not printed per
// employee: they have no own sort, and their totals may be recomputed.
bool HasOwnSort(char type) {
    return type != '3' && type != '6';
}

bool TotalsByFormula(char type) {
    return type == '3' || type == '6';
}

int ChooseEntry(common::Runtime& rt, const char* title, const std::vector<Entry>& entries) {
    if (entries.empty()) return -1;
    auto& s = rt.screen();
    const int top = 6, left = 30, bottom = 20, right = 78;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 2, rt.Text(title), rt.Standard(rt.colours().ycobp));
    std::vector<std::string> texts;
    for (const Entry& e : entries) texts.push_back(e.shown);
    const int chosen = common::Qrmach(rt, top + 1, left + 1, bottom - 1, right - 1, texts);
    s.Restore(under);
    return chosen - 1;
}

std::vector<Entry> CodesOf(common::Tables& tables, const char* table, const char* code) {
    std::vector<Entry> out;
    if (!CompanyHas(tables, table)) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, table);
    const dbf::KeepPosition keep(a);
    const int c = a.FieldIndex(code), n = a.FieldIndex("NAZWA_");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip()) {
        if (a.deleted()) continue;
        const std::string symbol = base::TrimRight(a.record().GetString(c));
        std::string shown = a.record().GetString(c) + " " +
                            (n >= 0 ? base::TrimRight(a.record().GetString(n)) : std::string());
        out.push_back({shown, symbol});
    }
    std::sort(out.begin(), out.end(),
              [](const Entry& x, const Entry& y) { return x.typed < y.typed; });
    return out;
}

std::vector<Entry> MatrixSymbols(common::Tables& tables) {
    std::vector<Entry> out;
    for (const MatrixEntry& e : ListMatrices(tables)) {
        std::string symbol = e.symbol;
        symbol.resize(4, ' ');
        out.push_back({symbol + " " + std::string(1, e.type) + " " + e.title, e.symbol});
    }
    return out;
}

}  // namespace matrix_editor

namespace {

namespace key = console::key;
using namespace matrix_editor;

constexpr int kLabel = 2, kValue = 22;

class Editor {
  public:
    Editor(common::Runtime& rt, common::Tables& tables)
        : rt_(rt), tables_(tables), checks_(rt, tables) {}

    void Run();

  private:
    void Frame();
    bool AskSymbol(const char* label, int row, std::string* symbol);
    bool AskType(int row, char* type);
    bool NewMatrix();
    bool Header();
    void FieldsAndVariables();
    bool Check(const std::string& message);

    common::Runtime& rt_;
    common::Tables& tables_;
    MatrixChecks checks_;
    MatrixDefinition m_;
};

void Editor::Frame() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 78, plain);
    s.Write(4, 2, rt_.Text("4.8.7. Matryce tabulogramów"), rt_.Standard(rt_.colours().ycob));
}

// A symbol field with F3 listing the matrices; false on Esc or a blank.
bool Editor::AskSymbol(const char* label, int row, std::string* symbol) {
    auto& s = rt_.screen();
    s.Write(row, kLabel, rt_.Text(label), rt_.Standard(rt_.colours().ycow));
    common::WriteLegend(rt_, 21, 2, "<F3>-Symbole tabulogramów   <Esc>-Wyjście");
    std::string typed(4, ' ');
    common::Form form(rt_);
    form.Get(row, kValue, &typed, "@!");
    auto& kb = rt_.console().keyboard();
    auto old = kb.Bind(key::F(3), [&] {
        const std::vector<Entry> symbols = MatrixSymbols(tables_);
        const int i = ChooseEntry(rt_, " Matryce tabulogramów ", symbols);
        if (i >= 0) common::TypeIntoField(rt_, symbols[static_cast<size_t>(i)].typed);
    });
    const common::ReadResult r = common::Qrmrdr(rt_, form);
    kb.Bind(key::F(3), old);
    s.Clear(21, 1, 21, 78, rt_.Standard(rt_.colours().ycow));
    *symbol = base::Trim(typed);
    return r.saved() && !symbol->empty();
}

bool Editor::AskType(int row, char* type) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Write(row, kLabel, rt_.Text("Typ:"), plain);
    for (char t = '1'; t <= '6'; ++t)
        s.Write(row + 1 + (t - '1'), kValue, rt_.Text(TypeName(t)), plain);
    std::string typed(1, *type == ' ' ? '1' : *type);
    common::Form form(rt_);
    form.Get(row, kValue, &typed, "9").Valid([&] {
        if (!TypeName(typed[0]).empty()) return true;
        common::ShowMessage(rt_, rt_.Text("Błędny typ tabulogramu"));
        return false;
    });
    const bool saved = common::Qrmrdr(rt_, form).saved();
    s.Clear(row + 1, 1, row + 6, 78, plain);
    if (saved) *type = typed[0];
    return saved;
}

// A new matrix: its type, its title, and perhaps the cells of another.
bool Editor::NewMatrix() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    char type = '1';
    if (!AskType(7, &type)) return false;
    m_.type = type;
    s.Write(7, kValue, rt_.Text(TypeName(type)), plain);
    s.Write(8, kLabel, rt_.Text("Tytuł tabulogramu:"), plain);
    std::string title(200, ' ');
    common::Form form(rt_);
    form.Get(9, kLabel, &title, "@S76");
    if (!common::Qrmrdr(rt_, form).saved()) return false;
    m_.title = base::Trim(title);
    if (common::IsYes(common::Question(rt_, rt_.Text("Skopiować matrycę z innego tabulogramu?"),
                                       "tn", 'n'))) {
        std::string from;
        if (AskSymbol("Kopiować z tabulogramu:", 11, &from)) {
            MatrixDefinition source;
            if (ReadMatrix(tables_, from, &source) == MatrixRead::kRead)
                CopyMatrix(source, &m_);
            else
                common::ShowMessage(rt_, rt_.Text("Brak definicji tabulogramu"));
        }
    }
    return true;
}

// A check's message shown; true when there is none.
bool Editor::Check(const std::string& message) {
    if (message.empty()) return true;
    common::ShowMessage(rt_, message);
    return false;
}

// F1 of the header: the fields of the register and the variables of the
// namespace, the chosen one typed at the cursor.
void Editor::FieldsAndVariables() {
    std::vector<Entry> entries;
    for (const auto& [table, code] : {std::pair{"PKSPL", "SKLADN_PL"}, std::pair{"PKROB", "KOD_OB"},
                                      std::pair{"PKRNB", "KOD_NIEOB"}})
        for (Entry& e : CodesOf(tables_, table, code)) entries.push_back(std::move(e));
    if (CompanyHas(tables_, "PKPRAC")) {
        dbf::WorkArea& a = worktime::OpenOnce(tables_, "PKPRAC");
        for (const auto& f : a.table().fields()) {
            const std::string name = "pkprac->" + base::AsciiLower(f.name);
            entries.push_back({name, name});
        }
    }
    const int i = ChooseEntry(rt_, " Pola i zmienne ", entries);
    if (i < 0) return;
    for (unsigned char c : entries[static_cast<size_t>(i)].typed) rt_.console().keyboard().Push(c);
}

bool Editor::Header() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    Frame();
    s.Write(6, kLabel, rt_.Text("Symbol tabulogramu:"), plain);
    s.Write(6, kValue, m_.symbol, plain);
    s.Write(6, 30, rt_.Text("Typ: " + TypeName(m_.type)).substr(0, 48), plain);
    const char* labels[] = {"Tytuł tabulogramu:",
                            "Warunek:",
                            "Rodzaj sortu:",
                            "Klucz sortu:",
                            "Ilość znaków klucza sortu dla poziomu sumowania:",
                            "Nazwa poziomu sumowania:",
                            "Typy list płac (gdy puste - wszystkie typy):",
                            "Wzór startowy:"};
    for (int i = 0; i < 8; ++i) s.Write(8 + i, kLabel, rt_.Text(labels[i]), plain);
    s.Write(10, kValue + 2,
            rt_.Text(HasOwnSort(m_.type) ? "(1 - wg symboli, 2 - alfabetycznie, 3 - własny sort)"
                                         : "(1 - wg symboli, 2 - alfabetycznie)"),
            plain);
    common::WriteLegend(rt_, 21, 2, "<F1>-Pola i zmienne   <PgDn>-Matryca   <Esc>-Wyjście");

    std::string title = m_.title, condition = m_.condition, key_text = m_.sort_key,
                level_name = m_.level_name, lists = m_.list_symbols, start = m_.start;
    title.resize(200, ' ');
    condition.resize(200, ' ');
    key_text.resize(200, ' ');
    level_name.resize(24, ' ');
    lists.resize(254, ' ');
    start.resize(200, ' ');
    if (!HasOwnSort(m_.type) && m_.sort == 3) m_.sort = 1;
    double sort = m_.sort < 1 ? 1 : m_.sort, level = m_.level_chars;
    common::Form form(rt_);
    form.Get(8, kValue, &title, "@S56");
    form.Get(9, kValue, &condition, "@S56").Valid([&] {
        checks_.Start(start);
        return Check(checks_.Condition(condition));
    });
    form.Get(10, kValue, &sort, 1, 0, "9").Valid([&] {
        const int top = HasOwnSort(m_.type) ? 3 : 2;
        if (sort >= 1 && sort <= top) return true;
        common::ShowMessage(rt_, rt_.Text("Błędny rodzaj sortu"));
        return false;
    });
    form.Get(11, kValue, &key_text, "@S56").When([&] { return sort == 3; }).Valid([&] {
        checks_.Start(start);
        return Check(checks_.SortKey(key_text));
    });
    form.Get(12, 51, &level, 2, 0, "99");
    form.Get(13, 27, &level_name);
    form.Get(14, 47, &lists, "@!S30");
    form.Get(15, kValue, &start, "@S56").Valid([&] { return Check(checks_.Start(start)); });
    auto& kb = rt_.console().keyboard();
    auto old = kb.Bind(key::kF1, [&] { FieldsAndVariables(); });
    const common::ReadResult r = common::Qrmrdr(rt_, form);
    kb.Bind(key::kF1, old);
    if (!r.saved()) return false;
    m_.title = base::Trim(title);
    m_.condition = base::Trim(condition);
    m_.sort = static_cast<int>(sort);
    m_.sort_key = m_.sort == 3 ? base::Trim(key_text) : std::string();
    m_.level_chars = static_cast<int>(level);
    m_.level_name = base::Trim(level_name);
    m_.list_symbols = base::Trim(lists);
    m_.start = base::Trim(start);
    checks_.Start(m_.start);
    return true;
}

void Editor::Run() {
    for (const std::string& m : checks_.Prepare()) common::ShowMessage(rt_, m);
    for (;;) {
        Frame();
        std::string symbol;
        if (!AskSymbol("Symbol tabulogramu:", 6, &symbol)) return;
        const MatrixRead read = ReadMatrix(tables_, symbol, &m_);
        if (read == MatrixRead::kBadStructure) {
            common::ShowMessage(rt_, rt_.Text("Błędna struktura zbioru PKTBW"));
            return;
        }
        if (read == MatrixRead::kMissing) {
            if (!common::IsYes(common::Question(rt_, rt_.Text("Utworzyć nowy symbol?"), "tn", 'n')))
                continue;
            m_ = MatrixDefinition{};
            m_.symbol = symbol;
            if (!NewMatrix()) continue;
        } else {
            const console::Attr plain = rt_.Standard(rt_.colours().ycow);
            rt_.screen().Write(7, kLabel, rt_.Text("Typ: " + TypeName(m_.type)), plain);
            rt_.screen().Write(8, kLabel, m_.title.substr(0, 76), plain);
            if (common::IsYes(
                    common::Question(rt_, rt_.Text("Zmiana typu tabulogramu?"), "tn", 'n'))) {
                rt_.screen().Clear(7, 1, 8, 78, plain);
                char type = m_.type;
                if (AskType(7, &type)) m_.type = type;
            }
        }
        Normalize(&m_);
        if (!Header()) {
            common::ShowMessage(rt_, rt_.Text("Wyjście bez zapisu zmian"));
            continue;
        }
        if (!EditGrid(rt_, tables_, checks_, &m_)) {
            common::ShowMessage(rt_, rt_.Text("Wyjście bez zapisu zmian"));
            continue;
        }
        std::string message;
        common::ShowWait(rt_);
        if (WriteMatrix(tables_, m_, &message))
            common::ShowMessage(rt_, rt_.Text("Koniec zapisu"));
        else
            common::ShowMessage(rt_, message);
    }
}

}  // namespace

void EditMatrices(common::Runtime& rt, common::Tables& tables) {
    Editor(rt, tables).Run();
}

void Qrm487(common::Runtime& rt) {
    common::Tables tables(rt);
    EditMatrices(rt, tables);
}

}  // namespace kestrel::payroll
