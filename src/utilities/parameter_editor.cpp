#include "utilities/parameter_editor.h"

#include <cctype>
#include <cmath>
#include <cstdio>

#include "common/checks/identifiers.h"
#include "common/screen/browse.h"
#include "common/screen/choice.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/session/config_catalogue.h"
#include "common/session/configuration.h"
#include "platform/base/dates.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;
using common::Runtime;
using memfile::MemEntry;
using memfile::MemValue;
using Type = MemValue::Type;

constexpr unsigned kMaskCompanies = 8;
constexpr size_t kMaxText = 8192;
constexpr int kTop = 5, kBottom = 17;

using base::Trim;

char TypeLetter(Type t) {
    return static_cast<char>(t);
}

std::string NumberText(const MemValue& v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", v.decimals, v.number);
    return buf;
}

std::string ValueText(const MemValue& v) {
    switch (v.type) {
        case Type::kChar:
            return v.text;
        case Type::kNumeric:
            return NumberText(v);
        case Type::kLogical:
            return v.logical ? ".T." : ".F.";
        case Type::kDate:
            return base::DateText(base::DateOfJulianDay(static_cast<int32_t>(v.julian)));
    }
    return "";
}

int WidthOf(const MemValue& v) {
    switch (v.type) {
        case Type::kChar:
            return static_cast<int>(v.text.size());
        case Type::kNumeric:
            return v.width;
        case Type::kLogical:
            return 1;
        case Type::kDate:
            return 8;
    }
    return 0;
}

std::string Description(const Runtime& rt, const std::string& name) {
    const common::CatalogueEntry* e = common::FindCatalogueEntry(name);
    return rt.Text(e ? std::string(e->description) : std::string(" - parametr ignorowany"));
}

std::string BankNote(const Runtime& rt, int code) {
    switch (code) {
        case 1:
            return rt.Text("- błąd");
        case 2:
            return rt.Text("- błędny nr");
        case 3:
            return rt.Text("- błęda liczba kontrolna");
        case 4:
            return rt.Text("- błęda długość");
        default:
            return "";
    }
}

// The new entry's name; F3 offers the catalogue. False when abandoned.
bool AskNewEntry(Runtime& rt, const std::vector<MemEntry>& entries, MemEntry* out) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(9, 10, 13, 70);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(9, 10, 13, 70, std::string(console::kFrameDouble) + " ", frame);
    s.Write(10, 12, rt.Text("Nazwa zmiennej:"), frame);
    s.Write(12, 12, "<F3>-Lista zmiennych", frame);
    std::string name(10, ' ');
    const common::CatalogueEntry* chosen = nullptr;
    auto pick = [&] {
        std::vector<const common::CatalogueEntry*> offered;
        std::vector<std::string> rows;
        for (const auto& e : common::ConfigCatalogue()) {
            if (!e.offered) continue;
            offered.push_back(&e);
            std::string row = std::string(e.name);
            row.resize(11, ' ');
            rows.push_back(row + rt.Text(std::string(e.description)).substr(0, 53));
        }
        const console::ScreenRegion under = s.Save(4, 2, 21, 77);
        s.Box(4, 2, 21, 77, std::string(console::kFrameDouble) + " ", frame);
        s.Write(5, 4, rt.Text(" NAZWA      OPIS ZMIENNEJ"), frame);
        s.Write(20, 4, rt.Text("<Esc>-Wyjście            <Enter>-Akceptacja"), frame);
        const int row = common::Qrmach(rt, 6, 4, 19, 75, rows);
        s.Restore(under);
        if (row > 0) {
            chosen = offered[static_cast<size_t>(row - 1)];
            name = std::string(chosen->name);
            name.resize(10, ' ');
            rt.console().keyboard().Push(key::kCtrlEnd);  // accept the name at once
        }
    };
    const console::HotKeyAction old_f3 = rt.console().keyboard().Bind(key::F(3), pick);
    common::Form form(rt);
    form.Get(10, 28, &name, "@!", 10).Valid([&] {
        if (!ValidVariableName(Trim(name))) return false;
        return true;
    });
    const bool ok = common::Qrmrdr(rt, form).saved();
    rt.console().keyboard().Bind(key::F(3), old_f3);
    s.Restore(saved);
    if (!ok) return false;
    out->name = Trim(name);
    for (const MemEntry& e : entries)
        if (e.name == out->name) {
            common::ShowMessage(rt, rt.Text("Istnieje taka zmienna"));
            return false;
        }
    out->value = MemValue::Char("");
    if (chosen == nullptr) chosen = common::FindCatalogueEntry(out->name);
    if (chosen == nullptr) return true;
    const common::CatalogueValue& v = chosen->list;
    switch (chosen->type) {
        case 'C':
            out->value = MemValue::Char(v.kind == common::CatalogueValue::Kind::kBlanks
                                            ? std::string(static_cast<size_t>(v.blanks), ' ')
                                            : std::string(v.text));
            break;
        case 'N': {
            const int decimals = std::floor(v.number) == v.number ? 0 : 2;
            out->value = MemValue::Numeric(v.number, chosen->width ? chosen->width : 10, decimals);
            break;
        }
        case 'L':
            out->value = MemValue::Logical(v.logical);
            break;
        case 'D':
            out->value = MemValue::Date(0);
            break;
        default:
            break;
    }
    return true;
}

// Edits the value of an entry in a box. False on Esc.
bool EditValue(Runtime& rt, MemEntry* entry) {
    auto& s = rt.screen();
    const console::ScreenRegion saved = s.Save(10, 4, 13, 76);
    const console::Attr frame = rt.Standard(rt.colours().ycow);
    s.Box(10, 4, 13, 76, std::string(console::kFrameDouble) + " ", frame);
    s.Write(11, 6, entry->name, frame);
    common::Form form(rt);
    MemValue& v = entry->value;
    std::string text;
    double number = v.number;
    bool logical = v.logical;
    picture::Date date;
    switch (v.type) {
        case Type::kChar: {
            const common::CatalogueEntry* c = common::FindCatalogueEntry(entry->name);
            size_t width = std::max<size_t>(
                {v.text.size(), c && c->width ? static_cast<size_t>(c->width) : 0, 60});
            text = v.text;
            text.resize(std::min(width, kMaxText), ' ');
            form.Get(12, 6, &text, "@S68");
            break;
        }
        case Type::kNumeric:
            form.Get(12, 6, &number, std::max(v.width, 1), v.decimals);
            break;
        case Type::kLogical:
            form.Get(12, 6, &logical);
            break;
        case Type::kDate:
            date = base::DateOfJulianDay(static_cast<int32_t>(v.julian));
            form.Get(12, 6, &date);
            break;
    }
    const bool ok = common::Qrmrdr(rt, form).saved();
    s.Restore(saved);
    if (!ok) return false;
    switch (v.type) {
        case Type::kChar: {
            const common::CatalogueEntry* c = common::FindCatalogueEntry(entry->name);
            // A text of fixed width keeps it; a free one loses its trailing blanks.
            if (c && c->width)
                text.resize(static_cast<size_t>(c->width), ' ');
            else
                text = base::TrimRight(text);
            v.text = text;
            break;
        }
        case Type::kNumeric:
            v.number = number;
            break;
        case Type::kLogical:
            v.logical = logical;
            break;
        case Type::kDate:
            v.julian = base::JulianDay(date);
            break;
    }
    return true;
}

void DrawInfo(Runtime& rt, const std::vector<MemEntry>& entries, int current) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    s.Clear(19, 1, 21, 77, normal);
    if (entries.empty()) return;
    const MemEntry& e = entries[static_cast<size_t>(current - 1)];
    int col = s.Write(19, 2, rt.Text("Opis zmiennej: "), normal);
    s.Write(19, col, Description(rt, e.name).substr(0, static_cast<size_t>(77 - col)), emphasis);
    int row = 20;
    for (const std::string& line : CheckLines(rt, e))
        s.Write(row++, 2, line.substr(0, 75), emphasis);
}

}  // namespace

bool ValidVariableName(const std::string& name) {
    if (name.empty() || name.size() > 10) return false;
    if (std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    for (char c : name)
        if (!(c == '_' || std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'Z')))
            return false;
    return true;
}

std::vector<std::string> CheckLines(const Runtime& rt, const MemEntry& entry) {
    const MemValue& v = entry.value;
    const std::string& n = entry.name;
    const common::CatalogueEntry* c = common::FindCatalogueEntry(n);
    if (c && c->type != TypeLetter(v.type))
        return {rt.Text("Błędny TYP zmiennej"),
                rt.Text("Prawidłowy TYP = \"") + std::string(1, c->type) + "\""};
    if (v.type != Type::kChar) return {};
    if (n == "NAGLTDR") {
        if (v.text.size() != 1)
            return {rt.Text("Błędny ROZM. zmiennej"), rt.Text("Prawidłowy ROZM. = 1")};
        if (std::string_view("EFefIiJj89H4LKSs10").find(v.text[0]) == std::string_view::npos)
            return {rt.Text("Błędna WARTOŚĆ"), rt.Text("Dopuszcz. WARTOŚCI: [EFefIiJj89H4LKSs10]")};
        return {};
    }
    if (n == "NAGLPSHAS") {
        if (v.text.size() != 1)
            return {rt.Text("Błędny ROZM. zmiennej"), rt.Text("Prawidłowy ROZM. = 1")};
        if (std::string_view("NPFnpf").find(v.text[0]) == std::string_view::npos)
            return {rt.Text("Błędna WARTOŚĆ"), rt.Text("Dopuszcz. WARTOŚCI: [NPF]")};
        return {};
    }
    auto number_note = [&](int code) -> std::vector<std::string> {
        if (code == 1) return {rt.Text("- błędny format")};
        if (code == 2) return {rt.Text("- błędny numer")};
        return {};
    };
    if (n == "NAGL6") return number_note(common::CheckNip(v.text));
    if (n == "NAGL7" || n == "NAGL55") return number_note(common::CheckRegon(v.text));
    if (n == "NAGL74" || n == "NAGL76" || n == "NAGL37" || n == "NAGL49") {
        const std::string note = BankNote(rt, common::CheckBankAccount(v.text));
        return note.empty() ? std::vector<std::string>{} : std::vector<std::string>{note};
    }
    if (n == "NAGLNRRZUS" && !Trim(v.text).empty() && !common::CheckZusAccount(v.text))
        return {rt.Text("- błędny nr")};
    return {};
}

std::string PrepareForSave(const Runtime& rt, std::vector<MemEntry>* entries) {
    if (entries->empty()) return rt.Text("Brak danych do zapisu");
    std::vector<MemEntry> rounded = *entries;
    for (MemEntry& e : rounded)
        if (!common::RoundAsStored(&e.value)) return rt.Text("Błędna wartość zmiennej: ") + e.name;
    if (memfile::EntriesSize(rounded) > memfile::kMaxWrittenSize)
        return rt.Text("Rozmiar zbioru > 64 k");
    *entries = std::move(rounded);
    return "";
}

void Qrm973(Runtime& rt) {
    if (!common::CheckRights(rt, kMaskCompanies)) return;
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const console::Attr emphasis = rt.Standard(rt.colours().ycowp);
    s.Clear(4, 1, 21, 77, normal);
    s.Write(4, 22, rt.Text("9.7.3. Edycja parametrów firmy"), rt.Standard(rt.colours().ycob));
    int col = 2;
    for (const auto& [k, text] :
         std::vector<std::pair<const char*, const char*>>{{"Ins", "-Nowa zmienna  "},
                                                          {"Del", "-Kasow.  "},
                                                          {"Enter", "-Zmiana  "},
                                                          {"F4", "-Zapis  "},
                                                          {"Esc", "-Wyjście"}}) {
        col = s.Write(18, col, "<", normal);
        col = s.Write(18, col, k, emphasis);
        col = s.Write(18, col, ">" + rt.Text(text), normal);
    }

    const std::string path = base::FindNoCase(rt.data_dir(), "QRM.MEM");
    std::vector<MemEntry> entries;
    const bool existed = base::Exists(path);
    if (existed) {
        base::Status st = memfile::ReadMemFile(path, &entries);
        if (!st.ok()) {
            // Never offer to write over a file that could not be read whole.
            common::ShowMessage(rt, rt.Text("Uszkodzony zbiór QRM.MEM"));
            return;
        }
    }
    bool changed = false;
    int current = 1;
    auto entry = [&]() -> const MemEntry& { return entries[static_cast<size_t>(current - 1)]; };
    std::vector<common::BrowseColumn> columns = {
        {"NAZWA", 10, [&] { return entry().name; }},
        {"T", 1, [&] { return std::string(1, TypeLetter(entry().value.type)); }},
        {"ROZM", 4,
         [&] {
             char b[8];
             std::snprintf(b, sizeof b, "%4d", WidthOf(entry().value));
             return std::string(b);
         }},
        {"DZ", 2,
         [&] {
             char b[8];
             std::snprintf(b, sizeof b, "%2d",
                           entry().value.type == Type::kNumeric ? entry().value.decimals : 0);
             return std::string(b);
         }},
        {rt.Text("WARTOŚĆ"), 44, [&] { return ValueText(entry().value); }}};
    common::RowListSource source(&current, static_cast<int>(entries.size()));
    common::Browse browse(rt, kTop, 2, kBottom, 76, columns, source);
    DrawInfo(rt, entries, current);
    browse.Run([&](int mode, int, common::Browse&) {
        auto finish = [&] {
            source.set_count(static_cast<int>(entries.size()));
            if (current > static_cast<int>(entries.size()))
                current = std::max(1, static_cast<int>(entries.size()));
            DrawInfo(rt, entries, current);
        };
        if (mode == common::kBrowseIdle) {
            DrawInfo(rt, entries, current);
            return common::kBrowseRedrawRow;
        }
        switch (rt.console().LastKey()) {
            case key::kEsc:
                if (changed &&
                    !common::IsYes(common::Question(rt, rt.Text("Wyjście bez zapisu?"), "tn", 'n')))
                    return common::kBrowseRedrawRow;
                return common::kBrowseClose;
            case key::kIns: {
                MemEntry fresh;
                if (AskNewEntry(rt, entries, &fresh)) {
                    const size_t at = entries.empty() ? 0 : static_cast<size_t>(current - 1);
                    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(at), fresh);
                    current = static_cast<int>(at) + 1;
                    changed = true;
                }
                finish();
                return common::kBrowseRedrawAll;
            }
            case key::kDel:
                if (entries.empty()) return common::kBrowseRedrawRow;
                if (common::IsYes(common::Question(
                        rt, rt.Text("Kasować parametr \"") + entry().name + "\"?", "tn", 'n'))) {
                    entries.erase(entries.begin() + (current - 1));
                    changed = true;
                }
                finish();
                return common::kBrowseRedrawAll;
            case key::kEnter:
                if (entries.empty()) return common::kBrowseRedrawRow;
                if (EditValue(rt, &entries[static_cast<size_t>(current - 1)])) changed = true;
                finish();
                return common::kBrowseRedrawRow;
            case key::F(4): {
                std::vector<MemEntry> to_write = entries;
                const std::string problem = PrepareForSave(rt, &to_write);
                if (!problem.empty()) {
                    common::ShowMessage(rt, problem);
                    return common::kBrowseRedrawRow;
                }
                if (!base::Exists(path) && !common::IsYes(common::Question(
                                               rt, rt.Text("Zapisać nowy QRM.MEM ?"), "tn", 'n')))
                    return common::kBrowseRedrawRow;
                common::WriteMessage(rt, rt.Text("Zapis zbioru"), emphasis);
                base::Status st = memfile::WriteMemFile(path, to_write);
                if (!st.ok())
                    throw common::Abandon(rt.Text("Błąd zapisu QRM.MEM: ") + st.message());
                entries = to_write;
                changed = false;
                rt.set_restart_requested(true);
                common::ShowMessage(rt, rt.Text("Koniec procedury"), false);
                finish();
                return common::kBrowseRedrawAll;
            }
            default:
                return common::kBrowseRedrawRow;
        }
    });
}

}  // namespace kestrel::utilities
