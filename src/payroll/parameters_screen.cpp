#include "payroll/parameters_screen.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/pick/pick_window.h"
#include "common/pick/table_browse.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/data/payroll_parameters.h"
#include "platform/console/keys.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

namespace key = console::key;

constexpr unsigned kMaskChange = 4;  // kind 3
constexpr int kLeftLabel = 2, kLeftValue = 30, kRightLabel = 40, kRightValue = 61;

// A number of the left column: its label (UTF-8) and picture. A label
// with "%" holds the value in the blanks before it.
struct NumberField {
    const char* field;
    const char* label;
    int width;
    int decimals;
};

constexpr NumberField kLeft[] = {
    {"PRZEC_IL_G", "Przeciętna ilość godzin:", 3, 0},
    {"PR_DOD_NOC", "Dodatek nocny:     %", 4, 1},
    {"PR_DOD_WZM", "Dodatek za wielozmianowość:     %", 4, 1},
    {"PR_DOD_S", "Dodatek stażowy:     %", 4, 1},
    {"KROK_DOD_S", "Krok zmiany dodatku staż.:", 1, 0},
    {"PR_SPOLDZ", "Procent na spółdzielnię:     %", 4, 1},
    {"KOSZT_UZ", "Koszty uzyskania przychodu:", 9, 2},
    {"KWOTA_BAZ", "Stawka minim. um.-zlec.:", 9, 2},
    {nullptr, "Symbol:", 4, 0},  // SYMB_AKORD, text
    {"MIN_WYN", "Minimalne wynagrodzenie:", 9, 2},
    {"MIN_WYN_G", "Minimalna stawka godzinowa:", 9, 2},
    {"MIN_P_PROK", "Min.płaca za m-c 12 p.r.:", 9, 2},
    {"PW_4_KW_PR", "Przec.wyn.za 4 kw.poprz.r.:", 9, 2},
};

// The right column: amount field and the field holding its label.
struct LabelledField {
    const char* field;
    const char* label_field;
};

constexpr LabelledField kRight[] = {
    {"ZAS_RODZ", "OPIS_Z1"},   {"ZAS_PIEL", "OPIS_Z2"},   {"ZAS_POROD", "OPIS_Z3"},
    {"ZAS_WYCH_N", "OPIS_Z4"}, {"ZAS_WYCH_P", "OPIS_Z5"}, {"POLE_1", "OPIS_P1"},
    {"POLE_2", "OPIS_P2"},     {"POLE_3", "OPIS_P3"},     {"POLE_4", "OPIS_P4"},
    {"POLE_5", "OPIS_P5"},     {"POLE_6", "OPIS_P6"},     {"POLE_7", "OPIS_P7"},
    {"POLE_7A", "OPIS_P7A"},   {"POLE_8", "OPIS_P8"},     {"POLE_9", "OPIS_P9"},
    {"POLE_10", "OPIS_P10"},   {"POLE_11", "OPIS_P11"},
};

std::string Template(int width, int decimals) {
    std::string t(static_cast<size_t>(decimals > 0 ? width - decimals - 1 : width), '9');
    if (decimals > 0) t += "." + std::string(static_cast<size_t>(decimals), '9');
    return t;
}

// Where the value of a left label goes: in the blanks before a closing
// "%", else at the column of values.
int ValueColumn(const std::string& cp852) {
    if (!cp852.empty() && cp852.back() == '%')
        return kLeftLabel + static_cast<int>(cp852.find(':')) + 2;
    return kLeftValue;
}

class Parameters {
  public:
    Parameters(common::Runtime& rt, common::Tables& tables, bool can_change)
        : rt_(rt), tables_(tables), can_change_(can_change) {}

    void Run();

  private:
    void Declare(common::Form& form);
    void Valorisation();
    int Handle(int mode, common::Browse& b);
    int AddRow();
    int ChangeRow(common::Browse& b);
    int DeleteRow(common::Browse& b);

    common::Runtime& rt_;
    common::Tables& tables_;
    const bool can_change_;
    ControlValues values_;
    dbf::WorkArea* walor_ = nullptr;
};

void Parameters::Declare(common::Form& form) {
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    int row = 6;
    s.Write(row, kLeftLabel, rt_.Text("Rok.mc:"), plain);
    form.Get(row, kLeftValue, &values_.numbers["ROK_"], 4, 0, "9999").ReadOnly();
    form.Get(row++, kLeftValue + 5, &values_.numbers["MC_"], 2, 0, "99").ReadOnly();
    for (const NumberField& f : kLeft) {
        const std::string label = rt_.Text(f.label);
        s.Write(row, kLeftLabel, label, plain);
        if (f.field == nullptr)
            form.Get(row, kLeftValue, &values_.texts["SYMB_AKORD"], "@!", 4);
        else
            form.Get(row, ValueColumn(label), &values_.numbers[f.field], f.width, f.decimals,
                     Template(f.width, f.decimals));
        ++row;
    }
    row = 5;
    for (const LabelledField& f : kRight) {
        form.Get(row, kRightLabel, &values_.texts[f.label_field], "", 20);
        form.Get(row, kRightValue, &values_.numbers[f.field], 9, 2, Template(9, 2));
        ++row;
    }
}

void Parameters::Run() {
    (void)worktime::ReadSettlementMonth(rt_, tables_);  // the control record must be there
    std::vector<std::string> numbers = {"ROK_", "MC_"}, texts = {"SYMB_AKORD"};
    for (const NumberField& f : kLeft)
        if (f.field != nullptr) numbers.push_back(f.field);
    for (const LabelledField& f : kRight) {
        numbers.push_back(f.field);
        texts.push_back(f.label_field);
    }
    ReadControl(tables_, numbers, texts, &values_);

    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 2, rt_.Text("4.9. Parametry systemu"), rt_.Standard(rt_.colours().ycob));
    common::Form form(rt_);
    Declare(form);
    form.Display();
    if (can_change_) {
        if (common::IsYes(common::Question(rt_, rt_.Text("Zmieniasz parametry?"), "tn", 'n')) &&
            common::Qrmrdr(rt_, form).saved())
            WriteControl(rt_, tables_, values_);
    } else {
        common::Qrmndk(rt_);
    }
    Valorisation();
}

void Parameters::Valorisation() {
    if (ValorisationIndexOutdated(rt_.data_dir())) {
        common::ShowMessage(rt_, rt_.Text("Błędny indeks PKWALOR"));
        return;
    }
    walor_ = &OpenValorisation(tables_);
    auto& s = rt_.screen();
    const console::Attr plain = rt_.Standard(rt_.colours().ycow);
    s.Clear(4, 1, 21, 77, plain);
    s.Write(4, 2, rt_.Text("4.9. Parametry systemu"), rt_.Standard(rt_.colours().ycob));
    s.Write(6, 22, rt_.Text("Waloryz. z tytułu mies. wzrostu płac"), plain);
    s.Box(7, 24, 19, 54, std::string(console::kFrameSingle) + " ", plain);
    common::WriteLegend(rt_, 20, 2,
                        can_change_ ? "<Esc>-Wyjście   <Enter>-Zmiana   <Ins>-Nowy rekord   "
                                      "<Del>-Kasowanie"
                                    : "<Esc>-Wyjście");
    dbf::WorkArea& a = *walor_;
    std::vector<common::BrowseColumn> columns = {
        {rt_.Text("Rok-miesiąc:    Procent"), 23, [&a] {
             if (a.eof()) return std::string();
             const payroll::Valorisation v = ReadValorisation(a);
             char buf[40];
             std::snprintf(buf, sizeof buf, "%04d-%02d%16.2f", v.year, v.month, v.percent);
             return std::string(buf);
         }}};
    common::BrowseTable(rt_, a, 8, 26, 18, 52, std::move(columns),
                        [this](int mode, int, common::Browse& b) { return Handle(mode, b); });
}

int Parameters::Handle(int mode, common::Browse& b) {
    if (mode == common::kBrowseIdle) return common::kBrowseRedrawRow;
    switch (rt_.console().LastKey()) {
        case key::kEsc:
            return common::kBrowseClose;
        case key::kIns:
            return can_change_ ? AddRow() : common::kBrowseRedrawRow;
        case key::kEnter:
            return can_change_ ? ChangeRow(b) : common::kBrowseRedrawRow;
        case key::kDel:
            return can_change_ ? DeleteRow(b) : common::kBrowseRedrawRow;
        default:
            return common::kBrowseRedrawRow;
    }
}

int Parameters::AddRow() {
    auto& s = rt_.screen();
    const int top = 11, left = 22, bottom = 15, right = 56;
    const console::ScreenRegion under = s.Save(top, left, bottom, right);
    const console::Attr frame = rt_.Standard(rt_.colours().ycow);
    s.Box(top, left, bottom, right, std::string(console::kFrameDouble) + " ", frame);
    s.Write(top, left + 3, rt_.Text(" Nowy rekord "), rt_.Standard(rt_.colours().ycobp));
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt_, tables_);
    double year = m.year, month = m.month, percent = 0;
    s.Write(top + 1, left + 2, rt_.Text("Rok-miesiąc:"), frame);
    s.Write(top + 1, left + 19, "-", frame);
    s.Write(top + 2, left + 2, rt_.Text("Procent:"), frame);
    std::string refusal;
    for (;;) {
        common::Form form(rt_);
        form.Get(top + 1, left + 15, &year, 4, 0, "9999");
        form.Get(top + 1, left + 20, &month, 2, 0, "99");
        form.Get(top + 2, left + 15, &percent, 5, 2, "99.99");
        if (!common::Qrmrdr(rt_, form).saved()) break;
        refusal = AddValorisation(rt_, tables_, *walor_,
                                  {static_cast<int>(year), static_cast<int>(month), percent});
        if (refusal.empty()) break;
        common::ShowMessage(rt_, refusal);
    }
    s.Restore(under);
    return common::kBrowseRedrawAll;
}

int Parameters::ChangeRow(common::Browse& b) {
    if (walor_->eof()) return common::kBrowseRedrawRow;
    double percent = ReadValorisation(*walor_).percent;
    common::Form form(rt_);
    form.Get(b.current_row(), 26 + 18, &percent, 5, 2, "99.99");
    if (common::Qrmrdr(rt_, form).saved()) ChangeValorisation(rt_, tables_, *walor_, percent);
    return common::kBrowseRedrawRow;
}

int Parameters::DeleteRow(common::Browse&) {
    if (walor_->eof()) return common::kBrowseRedrawRow;
    if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować pozycję?"), "tn", 'n')))
        return common::kBrowseRedrawRow;
    DeleteValorisation(rt_, tables_, *walor_);
    if (walor_->Skip(1).ok() && walor_->eof()) (void)walor_->GoBottom();
    return common::kBrowseRedrawAll;
}

}  // namespace

void EditParameters(common::Runtime& rt, common::Tables& tables, bool can_change) {
    Parameters(rt, tables, can_change).Run();
}

void Qrm49(common::Runtime& rt) {
    common::Tables tables(rt);
    EditParameters(rt, tables, common::CheckRights(rt, kMaskChange, false));
}

}  // namespace kestrel::payroll
