#include "tax/income_correction_screen.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "common/dictionary/code_field.h"
#include "common/dictionary/dictionary_form.h"
#include "common/pick/employee_pick.h"
#include "common/pick/pick_window.h"
#include "common/screen/browse.h"
#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "payroll/data/payroll_dictionaries.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "register/data/employee_record.h"
#include "tax/income_amounts_form.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tax {
namespace {

namespace key = console::key;

constexpr unsigned kRightsMask = 4;  // kind 3
constexpr int kTitleRow = 4, kListRow = 5, kMonthRow = 6, kKindRow = 7, kEmployeeRow = 8;
constexpr int kValueCol = 21, kNoteCol = 42, kDateLabelCol = 30, kDateCol = 44;
constexpr int kKindNameCol = 27, kNameCol = 28, kMarkCol = 57;

std::string Cut(std::string s, size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

// The code field of dictionary `menu` of menu 8, for its pick window.
common::CodeField PayrollCode(const char* menu) {
    const common::Dictionary* d = payroll::FindPayrollDictionary(menu);
    common::CodeField f = common::CodeFieldOver(*d);
    f.pick = [d] {
        common::PickDictionary p = common::PickOf(*d, common::DictionaryHooks{});
        p.can_insert = false;
        return p;
    };
    return f;
}

// Binds `k` for the read under way: it sets `*pressed` and leaves the read
// (with Esc, or saving the fields with `save`).
void EndOn(console::Keyboard& kb, int k, bool* pressed, bool save = false) {
    kb.Bind(k, [&kb, pressed, save] {
        *pressed = true;
        kb.Push(save ? key::kPgDn : key::kEsc);
    });
}

class CorrectionScreen {
  public:
    explicit CorrectionScreen(common::Runtime& rt)
        : rt_(rt),
          tables_(rt),
          plain_(rt.Standard(rt.colours().ycow)),
          bright_(rt.Standard(rt.colours().ycowp)) {
        // The employee pick needs both orders of the register.
        worktime::OpenOnce(tables_, "PKPRAC", {"PKPRAC1", "PKPRAC2"});
        store_ = std::make_unique<IncomeStore>(rt_, tables_);
    }

    void Run() {
        auto& s = rt_.screen();
        s.Clear(4, 1, 22, 77, plain_);
        s.Write(kTitleRow, 25, rt_.Text("7.3. Korekta dochodów"), plain_);
        const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt_, tables_);
        list_.year = rt_.working_date().year;
        month_ = m.month;
        while (AskList()) {
            char mc[4];
            std::snprintf(mc, sizeof mc, "%02d", month_);
            std::string month = mc, paid;
            if (ListDates(tables_, list_, &month, &paid)) {
                month_ = std::atoi(month.c_str());
                paid_ = base::DateOfDbfText(paid);
            }
            if (ListTransferred(rt_, tables_, list_))
                s.Write(kListRow, kNoteCol, rt_.Text("Lista była automatycznie dekretowana"),
                        bright_);
            if (existing_)
                Existing();
            else
                while (AskNew()) {
                }
            ClearBelow(kListRow);
        }
    }

  private:
    void ClearBelow(int row) {
        rt_.screen().Clear(row, 1, kHintsRow, 77, plain_);
        if (row <= kListRow) rt_.screen().Write(kListRow, 2, rt_.Text("Numer listy płac:"), plain_);
    }

    void Hint(std::string_view utf8) {
        rt_.screen().Clear(kHintsRow, 1, kHintsRow, 77, plain_);
        common::WriteLegend(rt_, kHintsRow, 2, utf8);
    }

    // --- the list ------------------------------------------------------------
    bool AskList() {
        auto& s = rt_.screen();
        for (;;) {
            ClearBelow(kListRow);
            s.Write(kListRow, kValueCol + 4, "/", plain_);
            s.Write(kListRow, kValueCol + 9, "/", plain_);
            Hint("<F3>-Symbole list   <F4>-Istniejące rekordy   <F10>-Koniec");
            double year = list_.year, number = list_.number;
            std::string symbol = list_.symbol;
            symbol.resize(2, ' ');
            bool end = false;
            existing_ = false;
            common::Form form(rt_);
            form.Get(kListRow, kValueCol, &year, 4, 0, "9999");
            form.Get(kListRow, kValueCol + 5, &number, 4, 0, "9999");
            form.Get(kListRow, kValueCol + 10, &symbol, "@!");
            common::ReadResult r;
            {
                const common::HotKeysAside aside(rt_, {key::F(3), key::F(4), key::F(10)});
                auto& kb = rt_.console().keyboard();
                const common::CodeField symbols = PayrollCode("8.3");
                kb.Bind(key::F(3), [&] {
                    if (form.current() == 2) common::PickCode(rt_, tables_, symbols, form.Typed());
                });
                EndOn(kb, key::F(4), &existing_, true);
                EndOn(kb, key::F(10), &end);
                r = common::Qrmrdr(rt_, form);
            }
            Hint("");
            if (end || !r.saved()) return false;
            const ListKey typed{static_cast<int>(year), static_cast<int>(number), symbol};
            const std::string refusal = CheckListKey(rt_, tables_, typed);
            list_ = typed;
            if (refusal.empty()) return true;
            common::ShowMessage(rt_, rt_.Text(refusal));
        }
    }

    // --- a new record --------------------------------------------------------
    void HeaderLabels() {
        auto& s = rt_.screen();
        s.Write(kMonthRow, 2, rt_.Text("Miesiąc:"), plain_);
        s.Write(kMonthRow, kDateLabelCol, rt_.Text("Data wypłaty:"), plain_);
        s.Write(kKindRow, 2, rt_.Text("Tytuł wypłaty:"), plain_);
        s.Write(kEmployeeRow, 2, rt_.Text("Pracownik:"), plain_);
    }

    void ShowKind(const IncomeKind& k) {
        rt_.screen().Clear(kKindRow, kKindNameCol, kKindRow, 77, plain_);
        rt_.screen().Write(kKindRow, kKindNameCol, Cut(k.name, 20), plain_);
    }

    void ShowEmployee(const RecordEmployee& e) {
        auto& s = rt_.screen();
        s.Clear(kEmployeeRow, kNameCol, kEmployeeRow, 77, plain_);
        s.Write(kEmployeeRow, kNameCol, Cut(e.name, 28), plain_);
        s.Write(kEmployeeRow, kMarkCol, e.mark, bright_);
    }

    bool ValidMonth(double month) {
        if (month >= 1 && month <= 12) return true;
        common::ShowMessage(rt_, rt_.Text("Błędny miesiąc"));
        return false;
    }

    bool ValidDate(const picture::Date& d) {
        if (!d.empty()) return true;
        common::ShowMessage(rt_, rt_.Text("Błędna data wypłaty"));
        return false;
    }

    // Asks the key of a new record and its amounts; false when the operator
    // wants another list.
    bool AskNew() {
        ClearBelow(kMonthRow);
        HeaderLabels();
        double month = month_;
        picture::Date paid = paid_;
        std::string kind = kind_, number(6, ' ');
        kind.resize(4, ' ');
        IncomeKind k;
        RecordEmployee e;
        bool other_list = false;
        common::Form form(rt_);
        form.Get(kMonthRow, kValueCol, &month, 2, 0, "99").Valid([&] { return ValidMonth(month); });
        form.Get(kMonthRow, kDateCol, &paid).Valid([&] { return ValidDate(paid); });
        form.Get(kKindRow, kValueCol, &kind, "9999")
            .When([&] {
                Hint("<F3>-Tytuły wypłat");
                return true;
            })
            .Valid([&] {
                if (FindIncomeKind(tables_, kind, &k)) {
                    ShowKind(k);
                    return true;
                }
                common::ShowMessage(rt_, rt_.Text("Błędny tytuł wypłaty"));
                return false;
            });
        form.Get(kEmployeeRow, kValueCol, &number, "999999")
            .When([&] {
                Hint("<F3>-Kartoteka pracowników   <F10>-Inna lista płac");
                return true;
            })
            .Valid([&] {
                std::string normal;
                if (registry::NormaliseNumber(number, &normal) &&
                    FindRecordEmployee(tables_, normal, &e)) {
                    number = normal;
                    ShowEmployee(e);
                    return true;
                }
                common::ShowMessage(rt_, rt_.Text("Brak pracownika o tym symbolu"));
                return false;
            });
        common::ReadResult r;
        {
            const common::HotKeysAside aside(rt_, {key::F(3), key::F(10)});
            auto& kb = rt_.console().keyboard();
            const common::CodeField kinds = PayrollCode("8.2");
            kb.Bind(key::F(3), [&] {
                if (form.current() == 2) common::PickCode(rt_, tables_, kinds, form.Typed());
                if (form.current() == 3) common::PickEmployee(rt_, tables_, form.Typed());
            });
            kb.Bind(key::F(10), [&] {
                if (form.current() != 3) return;
                other_list = true;
                kb.Push(key::kEsc);
            });
            r = common::Qrmrdr(rt_, form);
        }
        Hint("");
        if (other_list || !r.saved()) return false;
        month_ = static_cast<int>(month);
        paid_ = paid;
        kind_ = kind;
        if (!store_->ReserveNew(list_, e.number, k.symbol)) {
            common::ShowMessage(rt_, rt_.Text("Istnie rekord o takim kluczu"));
            return true;
        }
        IncomeRecord rec;
        rec.employee = e.number;
        rec.kind = k.symbol;
        char mc[4];
        std::snprintf(mc, sizeof mc, "%02d", month_);
        rec.month = mc;
        rec.paid = base::DbfDateText(paid_);
        Amounts(rec, k, store_->area().recno());
        return true;
    }

    // The amounts of the record the store holds (reserved or locked), saved
    // or released.
    FieldRules RulesOf(const IncomeRecord& rec, const IncomeKind& k) {
        const int year = std::atoi(rec.paid.substr(0, 4).c_str());
        return RulesFor(k, HasExemptions(tables_, rec.employee, year),
                        rt_.config().Logical("NAGLNETTO"), rt_.config().Logical("NAGLPPK20"));
    }

    void Amounts(IncomeRecord& rec, const IncomeKind& k, uint32_t self) {
        const AmountsContext context{rt_, *store_, RulesOf(rec, k), k.limit, self};
        bool saved = false;
        try {
            saved = EnterAmounts(context, &rec);
        } catch (...) {
            store_->Release();
            throw;
        }
        Hint("");
        if (!saved) {
            store_->Release();
            return;
        }
        ApplyRules(context.rules, &rec);
        store_->Save(rec);
    }

    // --- existing records ----------------------------------------------------
    void Existing() {
        std::vector<StoredRecord> records = store_->OfList(list_);
        if (records.empty()) {
            common::ShowMessage(rt_, rt_.Text("Brak rekordów"));
            return;
        }
        int current = 1;
        for (;;) {
            bool chosen = false;
            {
                const common::WindowState under(rt_, tables_.workspace());
                auto& s = rt_.screen();
                s.Box(kMonthRow, 1, kHintsRow, 78, std::string(console::kFrameDouble) + " ",
                      plain_);
                s.Write(kMonthRow, 5, rt_.Text(" Istniejące rekordy "),
                        rt_.Standard(rt_.colours().ycobp));
                common::WriteLegend(rt_, kMonthRow + 1, 4,
                                    "<Esc>-Wyjście   <Enter>-Korekta   <Del>-Kasowanie");
                common::BrowseList(
                    rt_, kMonthRow + 2, 2, kHintsRow - 1, 77, Columns(records, &current),
                    [&](int mode, int, common::Browse&) {
                        if (mode == common::kBrowseIdle) return int{common::kBrowseRedrawRow};
                        switch (rt_.console().LastKey()) {
                            case key::kEsc:
                                return int{common::kBrowseClose};
                            case key::kEnter:
                                chosen = true;
                                return int{common::kBrowseClose};
                            case key::kDel:
                                if (!Delete(records, current)) return int{common::kBrowseRedrawRow};
                                if (records.empty()) return int{common::kBrowseClose};
                                return int{common::kBrowseRedrawAll};
                            default:
                                return int{common::kBrowseRedrawRow};
                        }
                    },
                    &current, static_cast<int>(records.size()));
            }
            if (!chosen || records.empty()) return;
            Correct(records[static_cast<size_t>(current - 1)]);
            records = store_->OfList(list_);
            ClearBelow(kMonthRow);
            if (records.empty()) return;
        }
    }

    std::vector<common::BrowseColumn> Columns(const std::vector<StoredRecord>& records,
                                              const int* current) {
        auto at = [&records, current]() -> const IncomeRecord& {
            return records[static_cast<size_t>(*current - 1)].record;
        };
        auto amount = [](double v) {
            char t[32];
            std::snprintf(t, sizeof t, "%12.2f", v);
            return std::string(t);
        };
        return {
            {"PRAC.", 6, [at] { return at().employee; }},
            {rt_.Text("TYT."), 4, [at] { return at().kind; }},
            {"MC", 2, [at] { return at().month; }},
            {rt_.Text("DATA WYP."), 10,
             [at] { return base::DateText(base::DateOfDbfText(at().paid)); }},
            {rt_.Text("    PRZYCHÓD"), 12, [at, amount] { return amount(at().revenue); }},
            {rt_.Text("     PODATEK"), 12, [at, amount] { return amount(at().tax); }},
            {"AUT", 3, [at] { return std::string(at().automatic ? " T " : " N "); }},
        };
    }

    // Deletes the current record after the question; false when it stays.
    bool Delete(std::vector<StoredRecord>& records, int& current) {
        if (!common::IsYes(common::Question(rt_, rt_.Text("Kasować rekord?"), "tn", 'n')))
            return false;
        store_->Delete(records[static_cast<size_t>(current - 1)].recno);
        common::ShowMessage(rt_, rt_.Text("Rekord skasowany"));
        records = store_->OfList(list_);
        if (current > static_cast<int>(records.size())) current = static_cast<int>(records.size());
        if (current < 1) current = 1;
        return true;
    }

    void Correct(const StoredRecord& stored) {
        IncomeRecord rec;
        if (!store_->Lock(stored.recno, &rec)) return;
        IncomeKind k;
        if (!FindIncomeKind(tables_, rec.kind, &k)) {
            store_->Release();
            common::ShowMessage(rt_, rt_.Text("Błędny tytuł wypłaty"));
            return;
        }
        ClearBelow(kMonthRow);
        HeaderLabels();
        auto& s = rt_.screen();
        s.Write(kKindRow, kValueCol, rec.kind, plain_);
        ShowKind(k);
        s.Write(kEmployeeRow, kValueCol, rec.employee, plain_);
        RecordEmployee e;
        if (FindRecordEmployee(tables_, rec.employee, &e)) ShowEmployee(e);
        double month = std::atoi(rec.month.c_str());
        picture::Date paid = base::DateOfDbfText(rec.paid);
        common::Form form(rt_);
        form.Get(kMonthRow, kValueCol, &month, 2, 0, "99").Valid([&] { return ValidMonth(month); });
        form.Get(kMonthRow, kDateCol, &paid).Valid([&] { return ValidDate(paid); });
        const AmountsContext shown{rt_, *store_, RulesOf(rec, k), k.limit, stored.recno};
        IncomeRecord preview = rec;
        ShowAmounts(shown, &preview);
        if (!common::Qrmrdr(rt_, form).saved()) {
            store_->Release();
            return;
        }
        char mc[4];
        std::snprintf(mc, sizeof mc, "%02d", static_cast<int>(month));
        rec.month = mc;
        rec.paid = base::DbfDateText(paid);
        Amounts(rec, k, stored.recno);
    }

    common::Runtime& rt_;
    common::Tables tables_;
    console::Attr plain_, bright_;
    std::unique_ptr<IncomeStore> store_;
    ListKey list_;
    bool existing_ = false;
    int month_ = 1;
    picture::Date paid_;
    std::string kind_;
};

}  // namespace

void Qrm73(common::Runtime& rt) {
    if (!common::CheckRights(rt, kRightsMask)) return;
    CorrectionScreen screen(rt);
    screen.Run();
}

}  // namespace kestrel::tax
