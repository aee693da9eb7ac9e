// 9.7.7 "Import baz słownikowych z katalogu innej firmy".
#include <algorithm>

#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "utilities/company_screen_parts.h"
#include "utilities/data/dictionary_copy.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;

bool Warned(common::Runtime& rt) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    static const char* const kLines[] = {
        "Funkcja służy do jednorazowego skopiowania słowników i parametrów",
        "z katalogu \"wzorcowego\", zanim zostaną wprowadzone dane rzeczywiste.",
        "Wykonanie jej na niepustych zbiorach może spowodować utratę danych",
        "lub naruszenie ich spójności.",
    };
    s.Write(16, 5, "UWAGA!:", rt.Standard(rt.colours().ycowp));
    int row = 17;
    for (const char* line : kLines) s.Write(row++, 5, rt.Text(line), normal);
    const bool yes = common::IsYes(common::Question(rt, rt.Text("Kontynuować?"), "tn", 'n'));
    s.Clear(16, 1, 20, 77, normal);
    return yes;
}

// The source company; false when there is none or on Esc.
bool ChooseSource(common::Runtime& rt, std::string* source) {
    const std::string root = Root(rt);
    std::vector<CompanyChoice> rows = CompanyChoices(rt, ListCompanies(root, rt.letters()));
    // The program directory serves as a source only with its QRM.MEM.
    rows.front().selectable = base::Exists(base::FindNoCase(root, "QRM.MEM"));
    bool any = false;
    for (CompanyChoice& r : rows) {
        if (r.company.empty() ? rt.company().empty() : IsCurrent(rt, r.company))
            r.selectable = false;
        any = any || r.selectable;
    }
    if (!any) {
        common::ShowMessage(rt, rt.Text("Brak katalogów \"importowych\""));
        return false;
    }
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    s.Write(10, 10, rt.Text("Katalog \"importowy\":"), normal);
    common::WriteLegend(rt, 21, 1, "<Enter>-Akceptacja  <Esc>-Wyjście");
    const int chosen = ChooseCompany(rt, rows, 0);
    s.Clear(7, 1, 21, 77, normal);
    if (chosen < 0) return false;
    *source = rows[static_cast<size_t>(chosen)].company;
    return true;
}

std::string Directory(const common::Runtime& rt, const std::string& company) {
    return company.empty() ? Root(rt) : Root(rt) + "/" + company;
}

// The files to copy shown 13 columns apart, then the question.
bool ConfirmFiles(common::Runtime& rt, const std::string& source,
                  const std::vector<DictionaryRow>& rows) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    s.Clear(5, 1, 21, 77, normal);
    s.Write(5, 2, rt.Text("Kopiowanie plików:"), rt.Standard(rt.colours().ycob));
    const std::string from = source.empty() ? RootLabel(Root(rt)) : base::AsciiUpper(source);
    const std::string to =
        rt.company().empty() ? RootLabel(Root(rt)) : base::AsciiUpper(rt.company());
    s.Write(6, 2, base::Trim(from) + "  ->  " + base::Trim(to), normal);
    int i = 0;
    for (const DictionaryRow& row : rows)
        for (const std::string& file : RowFiles(row)) {
            const int r = 7 + i / 6;
            if (r <= 20) s.Write(r, 2 + 13 * (i % 6), file, normal);
            ++i;
        }
    return common::IsYes(common::Question(rt, rt.Text("Kopiować zaznaczone pliki?"), "tn", 'n'));
}

void Copy(common::Runtime& rt, const std::string& source, const std::vector<DictionaryRow>& rows) {
    const std::string from = Directory(rt, source);
    common::WriteMessage(rt, rt.Text("Sprawdzanie plików"), rt.Standard(rt.colours().ycowp));
    const std::string missing = FirstMissingFile(from, rows);
    if (!missing.empty()) {
        common::ShowMessage(rt, rt.Text("Brak pliku ") + missing);
        return;
    }
    common::ShowWait(rt);
    for (const DictionaryRow& row : rows) {
        const std::string message = CopyDictionary(from, Directory(rt, rt.company()), row);
        if (!message.empty()) {
            common::ShowMessage(rt, rt.Text(message));
            return;
        }
    }
    common::ShowMessage(rt, rt.Text("Koniec procedury"));
}

}  // namespace

void Qrm977(common::Runtime& rt) {
    if (!common::CheckRights(rt, kCompanyRightsMask)) return;
    CompanyTitle(rt, "9.7.7. Import baz słownikowych z katalogu innej firmy");
    if (!Warned(rt)) return;
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const std::string current =
        rt.company().empty() ? base::Trim(RootLabel(Root(rt))) : base::AsciiUpper(rt.company());
    s.Write(6, 10, rt.Text("Bieżący katalog: ") + current, normal);
    std::string source;
    if (!ChooseSource(rt, &source)) return;

    const std::vector<DictionaryRow> rows = DictionaryCopyList(rt.config(), Directory(rt, source));
    std::vector<bool> marked(rows.size(), false);
    int at = 1;
    auto row = [&]() -> const DictionaryRow& { return rows[static_cast<size_t>(at - 1)]; };
    auto show_counts = [&] {
        long tables = 0, files = 0;
        for (size_t i = 0; i < rows.size(); ++i)
            if (marked[i]) {
                ++tables;
                files += static_cast<long>(RowFiles(rows[i]).size());
            }
        s.Write(8, 40, rt.Text("Ilość zaznaczonych baz: ") + std::to_string(tables) + "   ",
                normal);
        s.Write(9, 40, rt.Text("Ilość plików: ") + std::to_string(files) + "   ", normal);
    };
    auto show_description = [&] {
        std::string text = rt.Text(row().description);
        text.resize(50, ' ');
        s.Write(20, 10, rt.Text("Nazwa pliku: ") + text, normal);
    };
    s.Write(5, 10,
            rt.Text("Katalog \"importowy\": ") +
                (source.empty() ? base::Trim(RootLabel(Root(rt))) : base::AsciiUpper(source)),
            normal);
    common::WriteLegend(rt, 21, 1,
                        "<Ins>-Zaznacz  <F11>-Wszystkie  <F5>-Kopiowanie  <Esc>-Wyjście");
    show_counts();
    std::vector<common::BrowseColumn> columns = {
        {" Nazwa  ", 8,
         [&] {
             std::string stem = row().stem;
             stem.resize(8, ' ');
             return stem;
         }},
        {"Copy?", 5, [&] { return marked[static_cast<size_t>(at - 1)] ? "* + *" : "  -  "; }},
    };
    bool copy = false;
    common::BrowseList(
        rt, 7, 10, 19, 25, std::move(columns),
        [&](int mode, int, common::Browse& browse) {
            show_description();
            if (mode == common::kBrowseIdle) return int{common::kBrowseRedrawRow};
            switch (rt.console().LastKey()) {
                case key::kEsc:
                    return int{common::kBrowseClose};
                case key::kIns:
                    marked[static_cast<size_t>(at - 1)] = !marked[static_cast<size_t>(at - 1)];
                    show_counts();
                    return int{common::kBrowseRedrawRow};
                case key::F(11):
                    std::fill(marked.begin(), marked.end(), true);
                    show_counts();
                    browse.RefreshAll();
                    return int{common::kBrowseRedrawAll};
                case key::F(5):
                    if (std::find(marked.begin(), marked.end(), true) == marked.end()) {
                        rt.console().Tone(common::kToneFrequency, common::kToneTicks);
                        return int{common::kBrowseRedrawRow};
                    }
                    copy = true;
                    return int{common::kBrowseClose};
                default:
                    return int{common::kBrowseRedrawRow};
            }
        },
        &at, static_cast<int>(rows.size()), 0,
        [&](common::Browse& browse) {
            browse.set_row_marked([&] { return marked[static_cast<size_t>(at - 1)]; });
        });
    if (!copy) return;
    std::vector<DictionaryRow> chosen;
    for (size_t i = 0; i < rows.size(); ++i)
        if (marked[i]) chosen.push_back(rows[i]);
    if (!ConfirmFiles(rt, source, chosen)) return;
    Copy(rt, source, chosen);
}

}  // namespace kestrel::utilities
