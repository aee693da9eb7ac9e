#include "register/dictionary_fields.h"

#include "common/pick/tax_office_pick.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/dictionary.h"
#include "register/dictionary_form.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

struct Named {
    const char* menu;
    const char* message;
    const char* hint;
};

// The messages of the register's fields and the pickers' names in row 21.
constexpr Named kNames[] = {
    {"2.7.2", "Błędny symbol działu", "<F3>-Działy"},
    {"2.7.3", "Błędny symbol stanowiska", "<F3>-Stanowiska"},
    {"2.7.4", "Błędny rodzaj umowy", "<F3>-Rodzaje umów"},
    {"2.7.5", "Błędny rodzaj płacy", "<F3>-Rodzaje płacy"},
    {"2.7.6", "Błędny symbol", "<F3>-Przyczyny zwolnienia"},
    {"2.7.7", "Błędny symbol związku", "<F3>-Związki zawodowe"},
    {"2.7.8", "Błędny symbol urzędu", "<F3>-Urzędy skarbowe"},
    {"2.7.9", "Błędny symbol dodatku", "<F3>-Symbole dodatków"},
    {"2.7.A", "Błędna grupa algorytmiczna", "<F3>-Grupy algorytm."},
    {"2.7.B", "Błędny kod zawodu", "<F3>-Kody zawodów"},
    {"2.7.C", "Błędny rodzaj zatrudnienia", "<F3>-Rodzaje zatrudn."},
    {"2.7.D", "Błędna grupa inwalidzka", "<F3>-Grupy inwalidzkie"},
    {"2.7.E", "Błędne konto kosztów", "<F3>-Konta kosztów"},
    {"2.8.2", "Błędny tytuł", "<F3>-Tytuły ubezpieczenia"},
    {"2.8.3", "Błędny kod wyrejestrowania", "<F3>-Przyczyny wyrejestr."},
    {"2.8.4", "Błędny kod wykształcenia", "<F3>-Wykształcenie"},
    {"2.8.5", "Błędny stopień pokrewieństwa", "<F3>-Stopnie pokrewieństwa"},
    {"2.8.6", "Błędny kod niezdolności", "<F3>-Stopnie niezdolności"},
    {"2.8.7", "Błędny kod pracy", "<F3>-Kody pracy"},
    {"2.8.8", "Błędny kod funduszu", "<F3>-Fundusze emerytalne"},
    {"2.8.9", "Błędny kod rozwiązania", "<F3>-Kody rozwiązania"},
    {"2.8.A", "Błędny kod podstawy prawnej", "<F3>-Podstawy prawne"},
    {"2.8.B", "Błędny kod zawodu", "<F3>-Kody zawodów"},
};

using base::Trim;

dbf::WorkArea* OpenList(common::Runtime& rt, common::Tables& tables, const CodeField& f) {
    if (dbf::WorkArea* open = tables.workspace().Find(f.table)) return open;
    // A dictionary the company lacks holds no code.
    if (!base::Exists(base::FindNoCase(rt.data_dir(), f.table + ".DBF"))) return nullptr;
    return &tables.Open(f.table, f.indexes);
}

// The picker of a dictionary of menus 2.7 and 2.8.
common::PickDictionary PickOf(const Dictionary& d) {
    common::PickDictionary p;
    p.table = d.table;
    p.indexes = d.indexes;
    p.code_field = d.key_field;
    p.name_field = d.name_field;
    p.form_title = " Nowy rekord ";
    p.code_label = d.key_label;
    p.code_picture = d.key_picture;
    p.zero_pad = d.zero_pad;
    // New symbols of the formula namespace are made in their own dialog,
    // where they are checked against the whole namespace.
    p.can_insert = !d.formula_symbol;
    p.columns = [&d](common::Runtime& rt, dbf::WorkArea& a) {
        std::vector<common::BrowseColumn> cols{
            common::FieldColumn(rt, a, d.key_field, d.key_heading)};
        common::BrowseColumn name = common::FieldColumn(rt, a, d.name_field, "NAZWA");
        name.width = std::min(name.width, 40);
        cols.push_back(name);
        return cols;
    };
    p.new_record = [&d](common::NewRecord& n) {
        return AskNewFields(n.rt, n.tables, d, n.area, n.form, n.code_row + 1, 13, 62);
    };
    return p;
}

// The communes of the territorial register: only full seven-character
// codes name a commune.
CodeField Communes() {
    CodeField f;
    f.table = "PKGMINY";
    f.indexes = {"PKGMINY6"};
    f.code_field = "KOD_";
    f.name_field = "NAZWA_";
    f.message = "Błędny kod gminy";
    f.hint = "<F3>-Gminy";
    f.name_width = 29;
    f.acceptable = [](std::string_view code) { return Trim(code).size() == 7; };
    f.pick = [] {
        common::PickDictionary p;
        p.table = "PKGMINY";
        p.indexes = {"PKGMINY6"};
        p.code_field = "KOD_";
        p.name_field = "NAZWA_";
        p.can_insert = false;
        p.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
            return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, "KOD_", "KOD"),
                                                     common::FieldColumn(rt, a, "NAZWA_", "NAZWA")};
        };
        return p;
    };
    return f;
}

// The official tax-office codes.
CodeField OfficeCodes() {
    CodeField f;
    f.table = "PKKDURZ";
    f.indexes = {"PKKDURZ1"};
    f.code_field = "KOD_URZEDU";
    f.name_field = "NAZWA_URZ";
    f.message = "Brak takiego kodu w wykazie urzędów";
    f.hint = "<F3>-Kody urzędów";
    f.name_width = 50;
    f.pick = [] {
        common::PickDictionary p;
        p.table = "PKKDURZ";
        p.indexes = {"PKKDURZ1"};
        p.code_field = "KOD_URZEDU";
        p.name_field = "NAZWA_URZ";
        p.can_insert = false;
        p.columns = [](common::Runtime& rt, dbf::WorkArea& a) {
            common::BrowseColumn name = common::FieldColumn(rt, a, "NAZWA_URZ", "NAZWA");
            name.width = 40;
            return std::vector<common::BrowseColumn>{
                common::FieldColumn(rt, a, "KOD_URZEDU", "KOD"), name};
        };
        return p;
    };
    return f;
}

}  // namespace

CodeField CodeFieldOf(std::string_view dictionary) {
    if (dictionary == "GMINY") return Communes();
    if (dictionary == "KDURZ") return OfficeCodes();
    const Dictionary* d = FindDictionary(dictionary);
    if (d == nullptr) throw common::Abandon("?" + std::string(dictionary));
    CodeField f;
    f.table = d->table;
    f.indexes = d->indexes;
    f.code_field = d->key_field;
    f.name_field = d->name_field;
    for (const Named& n : kNames)
        if (dictionary == n.menu) {
            f.message = n.message;
            f.hint = n.hint;
        }
    if (d->table == "PKURZ")
        f.pick = [] { return common::TaxOfficeDictionary(); };
    else
        f.pick = [d] { return PickOf(*d); };
    return f;
}

bool FindCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
              std::string_view code, std::string* name) {
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
        const int order = common::OrderOf(*area, f.indexes.front());
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

bool ValidateCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
                  std::string_view code, int row, int col) {
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
        common::ShowMessage(rt, rt.Text(f.message));
        return false;
    }
    show(name);
    return true;
}

bool PickCode(common::Runtime& rt, common::Tables& tables, const CodeField& f,
              std::string_view typed) {
    const common::PickDictionary d = f.pick();
    return common::Pick(rt, tables, d, typed);
}

CodePickers::CodePickers(common::Runtime& rt, common::Tables& tables, common::Form& form)
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
    common::WriteLegend(rt_, 21, 2, f.hint);
}

void CodePickers::ClearHint() {
    rt_.screen().Restore(row21_);
}

void CodePickers::Attach(int index, CodeField f, std::string* var, int name_row, int name_col,
                         common::FieldCheck also) {
    bound_.push_back({index, std::move(f)});
    const CodeField* field = &bound_.back().field;
    common::Field& input = form_.field(index);
    input.When([this, field] {
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

}  // namespace kestrel::registry
