#include "register/employee_browse.h"

#include <cstdio>
#include <functional>

#include "common/checks/scramble.h"
#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/index_functions.h"
#include "platform/console/keys.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_lookup.h"
#include "register/data/employee_registration.h"
#include "register/employee_browse_run.h"
#include "register/employee_pages.h"

namespace kestrel::registry::browse {

namespace key = console::key;

std::string RegisterBrowse::FullName() {
    if (prac_.eof() || prac_.recno() == 0) return {};
    const EmployeeRecord e = EmployeeRecord::FromStored(prac_.record());
    if (e.kind() == EmployeeKind::kLegalPerson) return Trim(e.Text("PEL_NAZWA"));
    std::string name = e.surname();
    if (!e.first_names().empty()) name += (name.empty() ? "" : " ") + e.first_names();
    return name;
}

std::string RegisterBrowse::Cell(int column) {
    const Column& c = kColumns[column];
    const dbf::Record& r = prac_.record();
    if (column == 0) {
        return r.GetString(prac_.FieldIndex("NR_PRAC")) +
               (r.GetLogical(prac_.FieldIndex("NIE_PRAC")) ? "*" : " ");
    }
    if (column == 1) return FullName();
    if (column == kPeselColumn) return EmployeeRecord::FromStored(r).pesel();
    const int i = prac_.FieldIndex(c.field);
    if (i < 0) return {};
    const dbf::Field& f = r.fields()[static_cast<size_t>(i)];
    switch (f.type) {
        case dbf::FieldType::kDate:
            return DateText(r.GetDate(i));
        case dbf::FieldType::kLogical:
            return r.GetLogical(i) ? "T" : "N";
        case dbf::FieldType::kNumeric: {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%*.*f", c.width, f.decimals, r.GetNumber(i));
            return buf;
        }
        default:
            if (std::string_view(c.field) == "KONTO_KOSZ")
                return MaskedAccount(rt_.config().Text("NAGLMSKON"), r.GetString(i));
            return r.GetString(i);
    }
}

std::vector<common::BrowseColumn> RegisterBrowse::Columns() {
    std::vector<common::BrowseColumn> out;
    for (int i = 0; i < kColumnCount; ++i) {
        out.push_back(
            {rt_.Text(kColumns[i].heading), kColumns[i].width, [this, i] { return Cell(i); }});
    }
    return out;
}

void RegisterBrowse::ShowName() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(kNameRow, 1, kNameRow, 77, plain);
    s.Write(kNameRow, 1, rt_.Text("Nazwisko i imiona:"), plain);
    s.Write(kNameRow, 20, FullName().substr(0, 57), rt_.Standard(rt_.colours().ycowp));
}

void RegisterBrowse::DrawLegend() {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    const console::Attr active = rt_.Standard(rt_.colours().ycob);
    s.Clear(5, 50, 5, 77, plain);
    s.Clear(6, 1, 7, 77, plain);
    // One legend item; the group and the sort in force are marked.
    struct Item {
        int row, col;
        const char* key;
        const char* label;
        bool on;
    };
    const Item items[] = {
        {5, 50, "<F6>", "Numer", sort_ == Sort::kNumber},
        {5, 62, "<F7>", "Nazwisko", sort_ == Sort::kSurname},
        {6, 1, "<F3>", "Wszyscy", group_ == Group::kAll},
        {6, 15, "<F4>", "Zatrudnieni", group_ == Group::kCurrent},
        {6, 33, "<F5>", "Zwolnieni", group_ == Group::kFormer},
        {6, 49, "<F8>", "Rok zwolnienia+nazwisko", sort_ == Sort::kYear},
        {7, 1, "<F1>", "Pełna inf.", false},
        {7, 18, "<F2>", "Szukanie", false},
        {7, 33, "<F9>", "PESEL", false},
        {7, 45, "<Enter>", "Kor.pola", false},
        {7, 63, "<Esc>", "Wyjście", false},
    };
    for (const Item& i : items) {
        common::WriteLegend(rt_, i.row, i.col, std::string(i.key) + "-" + i.label);
        if (i.on) {
            s.Write(i.row, i.col + static_cast<int>(std::string_view(i.key).size()) + 1,
                    rt_.Text(i.label), active);
        }
    }
}

int RegisterBrowse::SetGroup(Group g) {
    const uint32_t was = prac_.recno();
    group_ = g;
    if (g != Group::kFormer && sort_ == Sort::kYear) sort_ = Sort::kSurname;
    Check(prac_.SetOrder(OrderOf(group_, sort_)));
    // The record stays current when it belongs to the group.
    bool keep = was != 0;
    if (keep) {
        Check(prac_.Goto(was));
        const bool former = !Trim(prac_.record().GetString(prac_.FieldIndex("PRZYCZ_ZW"))).empty();
        keep = !prac_.deleted() && (g == Group::kAll || (g == Group::kFormer) == former);
    }
    if (!keep) Check(prac_.GoTop());
    DrawLegend();
    return common::kBrowseRedrawAll;
}

int RegisterBrowse::SetSort(Sort s) {
    if (s == Sort::kYear && group_ != Group::kFormer) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    const uint32_t was = prac_.recno();
    sort_ = s;
    Check(prac_.SetOrder(OrderOf(group_, sort_)));
    if (was != 0) Check(prac_.Goto(was));
    DrawLegend();
    return common::kBrowseRedrawAll;
}

int RegisterBrowse::Handle(int mode, common::Browse& browse) {
    int result = common::kBrowseRedrawRow;
    if (mode == common::kBrowseIdle) {
        ShowName();
        return result;
    }
    const bool empty = browse.source().Empty();
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::F(3):
            result = SetGroup(Group::kAll);
            break;
        case key::F(4):
            result = SetGroup(Group::kCurrent);
            break;
        case key::F(5):
            result = SetGroup(Group::kFormer);
            break;
        case key::F(6):
            result = SetSort(Sort::kNumber);
            break;
        case key::F(7):
            result = SetSort(Sort::kSurname);
            break;
        case key::F(8):
            result = SetSort(Sort::kYear);
            break;
        case key::F(2):
            result = Search();
            break;
        case key::F(9):
            result = SearchPesel();
            break;
        case key::F(1):
            if (empty) {
                Beep();
            } else {
                FullInformation();
                result = common::kBrowseRedrawAll;
            }
            break;
        case key::kEnter:
            if (empty)
                Beep();
            else
                result = Correct(browse);
            break;
        default:
            break;
    }
    ShowName();
    return result;
}

void RegisterBrowse::Run() {
    // The keys of the browse are its own while it runs.
    common::HotKeysAside keys(rt_, {key::F(1), key::F(2), key::F(3), key::F(4), key::F(5),
                                    key::F(6), key::F(7), key::F(8), key::F(9)});
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(5, 1, 21, 77, plain);
    s.Write(5, 22, rt_.Text("2.5. Przeglądanie kartoteki"), plain);
    Check(prac_.SetOrder(OrderOf(group_, sort_)));
    Check(prac_.GoTop());
    DrawLegend();
    common::BrowseTable(
        rt_, prac_, kTop, 1, kBottom, 77, Columns(),
        [this](int mode, int, common::Browse& b) { return Handle(mode, b); }, 2,
        [this](common::Browse&) { ShowName(); });
}

}  // namespace kestrel::registry::browse

namespace kestrel::registry {

using browse::kRightsBrowse;
using browse::RegisterBrowse;
using browse::Trim;

std::string MaskedAccount(std::string_view mask, std::string_view account) {
    std::string_view m = mask;
    if (m.rfind("@R", 0) == 0) {
        m.remove_prefix(2);
        while (!m.empty() && m.front() == ' ') m.remove_prefix(1);
    }
    if (m.empty()) return std::string(account);
    std::string out;
    size_t next = 0;
    for (char c : m) {
        if (c == '9' || c == 'X' || c == '#' || c == 'N' || c == 'A' || c == '!') {
            out += next < account.size() ? account[next] : ' ';
            ++next;
        } else {
            out += c;
        }
    }
    if (next < account.size()) out += Trim(account.substr(next));
    return out;
}

void BrowseRegister(common::Runtime& rt, common::Tables& tables) {
    dbf::WorkArea* open = tables.workspace().Select("PKPRAC");
    dbf::WorkArea& prac = open ? *open : tables.Open("PKPRAC", EmployeeIndexes());
    RegisterBrowse browse(rt, tables, prac);
    browse.Run();
}

void Qrm25(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsBrowse)) return;
    common::Tables tables(rt);
    BrowseRegister(rt, tables);
}

}  // namespace kestrel::registry
