#include "utilities/operator_editor.h"

#include <algorithm>
#include <filesystem>

#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;
using common::Operator;
using common::RightBit;
using common::Runtime;

constexpr unsigned kMaskMenu98 = 255;

bool IsAdministrator(const Operator& op) {
    return op.ident == common::kAdministrator;
}

std::string Pad(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

using base::Trim;

// Asks a new password twice at rows `row` and `row + 1`; false on Esc.
// An empty first answer leaves the caller's password as it was when
// `empty_keeps` (then *hash is untouched and true is returned).
bool AskPassword(Runtime& rt, int row, const char* first, std::string* hash, bool empty_keeps) {
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    for (;;) {
        s.Write(row, 14, Pad(rt.Text(first), 20), frame);
        s.Write(row + 1, 14, Pad(rt.Text("Weryfikacja hasła:"), 20), frame);
        std::string once;
        std::string twice;
        if (!common::ReadMaskedText(rt, row, 34, 20, &once)) return false;
        if (once.empty() && empty_keeps) {
            common::ShowMessage(rt, rt.Text("Pozostaje stare hasło"), false);
            return true;
        }
        if (once.empty()) continue;
        if (!common::ReadMaskedText(rt, row + 1, 34, 20, &twice)) return false;
        if (once != twice) {
            common::ShowMessage(rt, rt.Text("Błąd weryfikacji hasła"));
            continue;
        }
        *hash = common::HashPassword(once);
        if (hash->empty()) throw common::Abandon(rt.Text("Błąd szyfrowania hasła"));
        return true;
    }
}

// The form of one operator: identifier (new ones only), name, rights,
// inactive mark. False on Esc.
bool EditOperator(Runtime& rt, Operator* op, bool is_new, const std::vector<Operator>& list) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(8, 12, 17, 66);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(8, 12, 17, 66, std::string(console::kFrameDouble) + " ", frame);
    std::string ident = Pad(op->ident, 4);
    std::string name = Pad(op->name, 20);
    std::string marks[8];
    for (int kind = 8; kind >= 1; --kind)
        marks[8 - kind] = (op->rights & RightBit(kind)) ? "X" : " ";
    std::string inactive = op->inactive ? "*" : " ";

    s.Write(9, 14, rt.Text("Użytkownik:"), frame);
    s.Write(10, 14, rt.Text("Pełna nazwa:"), frame);
    s.Write(11, 14, rt.Text("Uprawnienia: [ , , , , , , , ]"), frame);
    s.Write(12, 14, rt.Text("Nieaktywny (*):"), frame);
    common::Form form(rt);
    form.Get(9, 34, &ident, "@!", 4).ReadOnly(!is_new).Valid([&] {
        if (Trim(ident).empty()) return false;
        for (const Operator& o : list)
            if (o.ident == ident) {
                common::ShowMessage(rt, rt.Text("Istnieje taki użytkownik"));
                return false;
            }
        return true;
    });
    form.Get(10, 34, &name, "", 20);
    for (int i = 0; i < 8; ++i) {
        auto& f = form.Get(11, 28 + 2 * i, &marks[i], "@! X", 1).Valid([&marks, i] {
            return marks[i] == "X" || marks[i] == " ";
        });
        // Kind 8 is the administrator's alone.
        f.ReadOnly(i == 0);
    }
    form.Get(12, 34, &inactive, "X", 1).ReadOnly(IsAdministrator(*op)).Valid([&] {
        return inactive == "*" || inactive == " ";
    });
    bool ok = common::Qrmrdr(rt, form).saved();
    if (ok && is_new) ok = AskPassword(rt, 14, "Hasło:", &op->password_hash, false);
    s.Restore(saved);
    if (!ok) return false;
    op->ident = ident;
    op->name = Trim(name);
    unsigned rights = op->rights & RightBit(8);
    for (int kind = 7; kind >= 1; --kind)
        if (marks[8 - kind] == "X") rights |= RightBit(kind);
    op->rights = rights;
    op->inactive = inactive == "*";
    return true;
}

void SaveEverywhere(Runtime& rt, const std::vector<Operator>& list) {
    common::ShowWait(rt);
    common::WriteMessage(rt, rt.Text("Zapis haseł systemu QRM"), rt.Standard(rt.colours().ycowp));
    for (const std::string& company : CompanyDirectories(rt.program_dir())) {
        base::Status s = common::SaveOperators(common::OperatorListPath(rt.program_dir(), company),
                                               list, &rt.clock());
        if (!s.ok()) throw common::Abandon(rt.Text("Błąd zapisu haseł: ") + s.message());
    }
    common::ClearMessageRow(rt);
    common::RefreshOperatorList(rt);
}

// The first administrator password, when the company has no list yet.
bool FirstAdministrator(Runtime& rt, std::vector<Operator>* list) {
    auto& s = rt.screen();
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    s.Clear(5, 1, 21, 77, frame);
    const char* const lines[] = {
        "Brak założonych haseł.",
        "",
        "Listę użytkowników i ich uprawnień może zmieniać tylko administrator",
        "o identyfikatorze \"ADMI\"; to uprawnienie należy wyłącznie do niego.",
        "Każdy rodzaj uprawnień 1 - 7 musi mieć co najmniej jeden aktywny",
        "użytkownik. Każdy użytkownik może później zmienić własne hasło.",
        "Skasowanie haseł jest możliwe tylko jako administrator.",
        "Definicje użytkowników należą do katalogów firm.",
    };
    int row = 6;
    for (const char* line : lines) {
        s.Write(row, 5, rt.Text(line), row == 6 ? emphasis : frame);
        ++row;
    }
    std::string hash;
    for (;;) {
        s.Write(16, 5, rt.Text("Podaj hasło administratora:"), frame);
        s.Write(17, 5, rt.Text("Powtórz hasło:"), frame);
        std::string once;
        std::string twice;
        if (!common::ReadMaskedText(rt, 16, 34, 20, &once)) return false;
        if (once.empty()) continue;
        if (!common::ReadMaskedText(rt, 17, 34, 20, &twice)) return false;
        if (once == twice) {
            hash = common::HashPassword(once);
            break;
        }
        common::ShowMessage(rt, rt.Text("Błąd weryfikacji hasła"));
    }
    list->push_back({common::kAdministrator, "Administrator", RightBit(8), false, hash});
    return true;
}

void DrawLegend(Runtime& rt, bool administrator) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    s.Clear(20, 1, 21, 77, normal);
    struct Item {
        const char* key;
        const char* text;
    };
    std::vector<Item> items = {{"Esc", "-Wyjście"}};
    if (administrator) {
        items.push_back({"Ins", "-Nowy użytk."});
        items.push_back({"Del", "-Kasowanie"});
        items.push_back({"Enter", "-Zmiana"});
    }
    items.push_back({"F6", "-Hasło"});
    items.push_back({"F4", "-Zapis"});
    int row = 20;
    int col = 2;
    for (const Item& i : items) {
        const int width = static_cast<int>(std::string(i.key).size() + rt.Text(i.text).size()) + 2;
        if (col + width > 77) {
            row = 21;
            col = 2;
        }
        col = s.Write(row, col, "<", normal);
        col = s.Write(row, col, i.key, emphasis);
        col = s.Write(row, col, ">" + rt.Text(i.text), normal) + 3;
    }
}

}  // namespace

std::string CheckOperatorList(const Runtime& rt, const std::vector<Operator>& list) {
    const bool anyone = std::any_of(list.begin(), list.end(),
                                    [](const Operator& o) { return !IsAdministrator(o); });
    if (!anyone) return rt.Text("Załóż jakiegoś użytkownika");
    for (int kind = 1; kind <= 7; ++kind) {
        const bool held = std::any_of(list.begin(), list.end(), [kind](const Operator& o) {
            return !o.inactive && (o.rights & RightBit(kind)) != 0;
        });
        if (!held)
            return rt.Text("Żaden użytkownik nie ma uprawn. \"") + std::to_string(kind) + "\"";
    }
    return "";
}

std::vector<std::string> CompanyDirectories(const std::string& program_dir) {
    std::vector<std::string> companies = {""};
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(program_dir, ec)) {
        const std::string name = entry.path().filename().string();
        const std::string upper = base::AsciiUpper(name);
        if (entry.is_directory() && upper.size() > 3 &&
            upper.compare(upper.size() - 3, 3, ".PK") == 0)
            companies.push_back(name);
    }
    std::sort(companies.begin() + 1, companies.end());
    return companies;
}

void Qrm98(Runtime& rt) {
    if (!common::CheckRights(rt, kMaskMenu98)) return;
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    s.Clear(4, 1, 21, 77, normal);
    s.Write(4, 22, rt.Text("9.8. Hasła systemu"), rt.Standard(rt.colours().ycob));

    std::vector<Operator> list;
    base::Status st =
        common::LoadOperators(common::OperatorListPath(rt.program_dir(), rt.company()), &list);
    bool changed = false;
    if (st.IsNotFound()) {
        if (!FirstAdministrator(rt, &list)) return;
        changed = true;
        s.Clear(5, 1, 21, 77, normal);
    } else if (!st.ok()) {
        throw common::Abandon(rt.Text("Błąd odczytu haseł: ") + st.message());
    }
    const std::string me = rt.operators().ident;
    const bool administrator = !rt.operators().list_exists || me == common::kAdministrator;
    DrawLegend(rt, administrator);

    int current = 1;
    std::vector<common::BrowseColumn> columns = {
        {rt.Text("Użytkownik"), 10,
         [&] {
             return list[static_cast<size_t>(current - 1)].ident +
                    (list[static_cast<size_t>(current - 1)].inactive ? " *" : "");
         }},
        {rt.Text("Pełna nazwa"), 20, [&] { return list[static_cast<size_t>(current - 1)].name; }}};
    for (int kind = 8; kind >= 1; --kind)
        columns.push_back(
            {std::to_string(kind), 1, [&, kind] {
                 return std::string(
                     (list[static_cast<size_t>(current - 1)].rights & RightBit(kind)) ? "X" : " ");
             }});

    common::RowListSource source(&current, static_cast<int>(list.size()));
    common::Browse browse(rt, 6, 2, 18, 76, columns, source);
    browse.Run([&](int mode, int, common::Browse& b) {
        if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
        const int k = rt.console().LastKey();
        Operator& op = list[static_cast<size_t>(current - 1)];
        switch (k) {
            case key::kEsc:
                if (changed &&
                    !common::IsYes(common::Question(rt, rt.Text("Wyjście bez zapisu?"), "tn", 'n')))
                    return common::kBrowseRedrawRow;
                return common::kBrowseClose;
            case key::kIns: {
                if (!administrator) break;
                Operator fresh;
                if (EditOperator(rt, &fresh, true, list)) {
                    list.push_back(fresh);
                    source.set_count(static_cast<int>(list.size()));
                    current = static_cast<int>(list.size());
                    changed = true;
                }
                b.RefreshAll();
                return common::kBrowseRedrawAll;
            }
            case key::kDel:
                if (!administrator || IsAdministrator(op)) break;
                if (common::IsYes(common::Question(
                        rt, rt.Text("Kasować użytkownika \"") + op.ident + "\"?", "tn", 'n'))) {
                    list.erase(list.begin() + (current - 1));
                    source.set_count(static_cast<int>(list.size()));
                    current = std::min(current, static_cast<int>(list.size()));
                    changed = true;
                }
                return common::kBrowseRedrawAll;
            case key::kEnter:
                if (!administrator) break;
                if (EditOperator(rt, &op, false, list)) changed = true;
                return common::kBrowseRedrawAll;
            case key::F(6): {
                if (!administrator && op.ident != me) {
                    common::ShowMessage(rt, rt.Text("Można zmienić tylko własne hasło"));
                    return common::kBrowseRedrawRow;
                }
                const console::ScreenRegion saved = s.Save(13, 12, 17, 66);
                s.Box(13, 12, 17, 66, std::string(console::kFrameDouble) + " ", normal);
                std::string hash = op.password_hash;
                if (AskPassword(rt, 14, "Nowe hasło:", &hash, true) && hash != op.password_hash) {
                    op.password_hash = hash;
                    changed = true;
                }
                s.Restore(saved);
                return common::kBrowseRedrawRow;
            }
            case key::F(4): {
                const std::string problem = CheckOperatorList(rt, list);
                if (!problem.empty()) {
                    common::ShowMessage(rt, problem);
                    return common::kBrowseRedrawRow;
                }
                SaveEverywhere(rt, list);
                changed = false;
                return common::kBrowseRedrawRow;
            }
            default:
                break;
        }
        return common::kBrowseRedrawRow;
    });
}

}  // namespace kestrel::utilities
