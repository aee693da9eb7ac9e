#include "register/employee_browse.h"

#include <cstdio>
#include <functional>

#include "common/abandon.h"
#include "common/form.h"
#include "common/identification.h"
#include "common/index_functions.h"
#include "common/messages.h"
#include "common/pick_window.h"
#include "common/scramble.h"
#include "common/table_browse.h"
#include "platform/console/keys.h"
#include "register/employee_checks.h"
#include "register/employee_lookup.h"
#include "register/employee_pages.h"
#include "register/employee_registration.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;

constexpr int kTop = 8, kBottom = 20, kNameRow = 21;
constexpr int kRightsBrowse = 49;
constexpr int kRightsCorrect = 17;
constexpr int kPeselColumn = 18;  // 0-based: " PESEL"
constexpr int kFirstEditable = 3;  // 0-based: "DATA ZW."

std::string Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

std::string DateText(const std::string& yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::string(10, ' ');
    return yyyymmdd.substr(0, 4) + "-" + yyyymmdd.substr(4, 2) + "-" + yyyymmdd.substr(6, 2);
}

picture::Date ToDate(const std::string& yyyymmdd) {
    picture::Date d;
    if (yyyymmdd.size() == 8) {
        d.year = std::stoi(yyyymmdd.substr(0, 4));
        d.month = std::stoi(yyyymmdd.substr(4, 2));
        d.day = std::stoi(yyyymmdd.substr(6, 2));
    }
    return d;
}

std::string FromDate(const picture::Date& d) {
    if (d.empty()) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

enum class Group { kAll, kCurrent, kFormer };
enum class Sort { kNumber, kSurname, kYear };

int OrderOf(Group g, Sort s) {
    switch (g) {
        case Group::kAll:
            return s == Sort::kNumber ? kByNumber : kBySurname;
        case Group::kCurrent:
            return s == Sort::kNumber ? kCurrentByNumber : kCurrentBySurname;
        case Group::kFormer:
            return s == Sort::kNumber    ? kFormerByNumber
                   : s == Sort::kSurname ? kFormerBySurname
                                         : kFormerByYearSurname;
    }
    return kByNumber;
}

// One column of the browse: its heading, the field it shows and how.
struct Column {
    const char* heading;  // UTF-8
    const char* field;    // "" for the computed ones
    int width;
};

const Column kColumns[] = {
    {"SYMBOL", "NR_PRAC", 7},
    {"NAZWISKO I IMIĘ", "", 25},
    {"ZW", "PRZYCZ_ZW", 2},
    {"DATA ZW.", "DATA_ZWOLN", 10},
    {"DATA \"STAŻ.\"", "DATA_STAZ", 12},
    {"DOD.STAŻ.", "DOD_STAZ", 9},
    {"STAWKA", "ST_PODST", 10},
    {"DOD.BRYG.", "DOD_BRYG", 9},
    {"DOD.FUNKC.", "DOD_FUNKC", 10},
    {"UBEZPIECZ-1", "KW_UBEZP1", 11},
    {"UBEZPIECZ-2", "KW_UBEZP2", 11},
    {"POTRĄC.PKO", "POTRAC_PKO", 10},
    {"ULGA POD.", "ULGA_P_D", 9},
    {"Zer.PDOF <26", "PDOF_26", 12},
    {"GRUPA ALG.", "GRUPA_ALG", 10},
    {"KZiS", "KZIS_", 6},
    {"KONTO", "KONTO_KOSZ", 16},
    {"NIEOB.ZUS W NAST.M-CU", "NB_ZUS_NMC", 21},
    {" PESEL", "", 11},
    {"ULGA NA 4 DZIECI", "ULGA_NA_4D", 16},
    {"UM.-ZLEC.BEZ POD.", "UM_ZL_BEZP", 17},
    {"BEZ ULGI DLA KS", "BEZ_ULG_KS", 15},
    {"EMERYT BEZ EMER.", "EM_BEZ_EME", 16},
    {"POWR.Z ZAGR.", "POWR_Z_ZAG", 12},
    {"BEZ ODR.ZAL.POD.", "ODR_POD_D", 16},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

class RegisterBrowse {
  public:
    RegisterBrowse(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& prac)
        : rt_(rt), tables_(tables), prac_(prac) {}

    void Run();

  private:
    int Handle(int mode, common::Browse& browse);
    std::vector<common::BrowseColumn> Columns();
    std::string Cell(int column);
    std::string FullName();
    void ShowName();
    void DrawLegend();
    int SetGroup(Group g);
    int SetSort(Sort s);
    int Search();
    int SearchPesel();
    int Correct(common::Browse& browse);
    void FullInformation();
    void Beep() { rt_.console().Tone(common::kToneFrequency, common::kToneTicks); }
    void Check(const base::Status& s) {
        if (!s.ok()) throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd odczytu: PKPRAC")));
    }

    common::Runtime& rt_;
    common::Tables& tables_;
    dbf::WorkArea& prac_;
    Group group_ = Group::kAll;
    Sort sort_ = Sort::kNumber;
};

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
        out.push_back({rt_.Text(kColumns[i].heading), kColumns[i].width, [this, i] { return Cell(i); }});
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

int RegisterBrowse::Search() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 15, 62);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 15, 62, std::string(console::kFrameDouble) + " ", frame);
    std::string number(6, ' '), year(4, ' '), surname(30, ' ');
    common::Form form(rt_);
    if (sort_ == Sort::kNumber) {
        s.Write(13, 20, "Nr pracownika:", frame);
        form.Get(13, 35, &number, "999999");
    } else {
        if (sort_ == Sort::kYear) {
            s.Write(13, 20, "Rok zwolnienia:", frame);
            form.Get(13, 36, &year, "9999");
        }
        s.Write(14, 20, "Nazwisko:", frame);
        form.Get(14, 30, &surname, "@!");
    }
    const bool ok = form.Read().saved();
    s.Restore(under);
    if (!ok) return common::kBrowseRedrawRow;
    std::string wanted;
    if (sort_ == Sort::kNumber) {
        wanted = Trim(number);
        if (wanted.empty()) return common::kBrowseRedrawRow;
        if (wanted.size() < 6) wanted.insert(0, 6 - wanted.size(), '0');
    } else {
        if (sort_ == Sort::kYear) wanted = year;
        wanted += SortKey(rt_.letters(), Trim(surname));
        if (Trim(wanted).empty()) return common::kBrowseRedrawRow;
    }
    // Trailing blanks of a prefix would not match a longer key.
    while (!wanted.empty() && wanted.back() == ' ') wanted.pop_back();
    Check(prac_.Seek(wanted, true));
    if (prac_.eof()) {
        common::ShowMessage(rt_, rt_.Text("Brak klucza - koniec zbioru"));
        Check(prac_.GoBottom());
    } else if (!prac_.found()) {
        common::ShowMessage(rt_, rt_.Text("Brak klucza - następny rekord"));
    }
    return common::kBrowseRedrawAll;
}

int RegisterBrowse::SearchPesel() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(12, 18, 14, 50);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(12, 18, 14, 50, std::string(console::kFrameDouble) + " ", frame);
    s.Write(13, 20, "PESEL:", frame);
    std::string typed(kPeselWidth, ' ');
    common::Form form(rt_);
    form.Get(13, 27, &typed, "99999999999");
    const bool ok = form.Read().saved();
    s.Restore(under);
    const std::string wanted = Trim(typed);
    if (!ok || wanted.empty()) return common::kBrowseRedrawRow;
    const uint32_t was = prac_.recno();
    const int pesel = prac_.FieldIndex("PESELX_");
    for (base::Status st = prac_.GoTop(); st.ok() && !prac_.eof(); st = prac_.Skip(1)) {
        const std::string clear =
            common::Unscramble(common::ScrambleKind::kIdentity, prac_.record().GetString(pesel));
        if (clear.compare(0, wanted.size(), wanted) == 0) return common::kBrowseRedrawAll;
    }
    common::ShowMessage(rt_, rt_.Text("Brak takiego klucza"));
    if (was != 0) Check(prac_.Goto(was));
    return common::kBrowseRedrawAll;
}

void RegisterBrowse::FullInformation() {
    auto& s = rt_.screen();
    const console::ScreenRegion under = s.Save(5, 1, 21, 77);
    PageContext ctx{rt_, tables_};
    ctx.prac = &prac_;
    ctx.recno = prac_.recno();
    ctx.update = true;
    ReferenceMonth(tables_.workspace().Select("PKSTER"), WorkingDay(rt_), &ctx.ref_year,
                   &ctx.ref_month);
    const uint32_t was = prac_.recno();
    const int order = prac_.order();
    ShowRecord(ctx, ReadEmployee(prac_));
    Check(prac_.SetOrder(order));
    Check(prac_.Goto(was));
    s.Restore(under);
}

// Correction of one cell, committed at once; the change log is not written.
int RegisterBrowse::Correct(common::Browse& browse) {
    const int column = browse.column();
    if (column < kFirstEditable || column == kPeselColumn) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    const std::string field = kColumns[column].field;
    const bool former = !Trim(prac_.record().GetString(prac_.FieldIndex("PRZYCZ_ZW"))).empty();
    if (field == "DATA_ZWOLN" && !former) {
        Beep();
        return common::kBrowseRedrawRow;
    }
    if (!common::CheckRights(rt_, kRightsCorrect)) return common::kBrowseRedrawRow;
    int row = 0, col = 0, width = 0;
    if (!browse.CurrentCell(&row, &col, &width)) return common::kBrowseRedrawRow;

    const int i = prac_.FieldIndex(field);
    const dbf::Field& f = prac_.record().fields()[static_cast<size_t>(i)];
    EmployeeRecord e = ReadEmployee(prac_);
    std::string text = e.Text(field);
    double number = e.Number(field);
    picture::Date date = ToDate(e.Date(field));
    bool logical = e.Logical(field);
    common::Form form(rt_);
    common::Field* get = nullptr;
    switch (f.type) {
        case dbf::FieldType::kNumeric:
            get = &form.Get(row, col + width - f.length, &number, f.length, f.decimals);
            get->Valid([this, &number] {
                if (number >= 0) return true;
                Beep();
                return false;
            });
            break;
        case dbf::FieldType::kDate:
            get = &form.Get(row, col, &date);
            get->Valid([this, &date, &e] {
                if (DismissalValid(Trim(e.Text("PRZYCZ_ZW")), FromDate(date), e.Date("DATA_ZATR")))
                    return true;
                Beep();
                return false;
            });
            break;
        case dbf::FieldType::kLogical:
            get = &form.Get(row, col, &logical);
            break;
        default:
            if (field == "KONTO_KOSZ") {
                get = &form.Get(row, col, &text, "999999999999");
                get->Valid([this, &text] {
                    for (char c : Trim(text)) {
                        if (c < '0' || c > '9') {
                            Beep();
                            return false;
                        }
                    }
                    return true;
                });
            } else {
                get = &form.Get(row, col, &text, "@!");
                get->Valid([this, &text, field] {
                    const Verdict v = CheckCode(tables_, field, Trim(text));
                    if (!v.accepted) {
                        common::ShowMessage(rt_, rt_.Text(v.message.empty() ? "Błędny kod" : v.message));
                        return false;
                    }
                    return true;
                });
            }
            break;
    }
    const common::ReadResult r = form.Read();
    if (!r.saved() || !r.updated) return common::kBrowseRedrawRow;
    // The lock reads the record again: only the corrected field is taken
    // over what another workstation may have written meanwhile.
    const uint32_t recno = prac_.recno();
    tables_.RLock(prac_);
    EmployeeRecord fresh = ReadEmployee(prac_);
    base::Status st;
    switch (f.type) {
        case dbf::FieldType::kNumeric:
            st = fresh.SetNumber(field, number);
            break;
        case dbf::FieldType::kDate:
            st = fresh.SetDate(field, FromDate(date));
            break;
        case dbf::FieldType::kLogical:
            st = fresh.SetLogical(field, logical);
            break;
        default:
            st = fresh.SetText(field, text);
            break;
    }
    if (st.ok()) st = WriteEmployee(prac_, fresh);
    prac_.Unlock();
    if (!st.ok()) throw common::Abandon(common::ShortenMessage(rt_.Text("Błąd zapisu: PKPRAC")));
    // A changed key may move the record within the order.
    Check(prac_.Goto(recno));
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

}  // namespace

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
