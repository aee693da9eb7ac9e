#include "payroll/data/month_close.h"

#include <cstdio>

#include "platform/base/files.h"
#include "worktime/data/absence_entry.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::payroll {
namespace {

bool Logical(dbf::WorkArea& a, const char* field) {
    const int i = a.FieldIndex(field);
    return i >= 0 && a.record().GetLogical(i);
}

double Number(dbf::WorkArea& a, const char* field) {
    const int i = a.FieldIndex(field);
    return i < 0 ? 0 : a.record().GetNumber(i);
}

int Index(base::YearMonth m) {
    return m.year * 12 + m.month - 1;
}

}  // namespace

ControlRecord ReadControlRecord(common::Runtime& rt, common::Tables& tables) {
    const worktime::SettlementMonth month = worktime::ReadSettlementMonth(rt, tables);
    dbf::WorkArea& ster = worktime::OpenOnce(tables, "PKSTER");
    ControlRecord c;
    c.month = {month.year, month.month};
    c.insurance_done = Logical(ster, "AKT_ZUS");
    c.loan_fund_done = Logical(ster, "AKT_KZP");
    c.ppk_done = Logical(ster, "AKT_PPK");
    c.seniority_step = static_cast<int>(Number(ster, "KROK_DOD_S"));
    c.seniority_percent = Number(ster, "PR_DOD_S");
    return c;
}

base::YearMonth NextMonth(base::YearMonth m) {
    return base::AddMonths(m, 1);
}

std::string MonthText(base::YearMonth m) {
    char t[16];
    std::snprintf(t, sizeof t, "%04d.%02d", m.year, m.month);
    return t;
}

std::string CheckNoOpenList(common::Runtime& rt, common::Tables& tables) {
    if (tables.workspace().Find("PKLISTY") == nullptr &&
        !base::Exists(base::FindNoCase(rt.data_dir(), "PKLISTY.DBF")))
        return "";
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY2"});
    const dbf::KeepPosition keep(a);
    const int f_open = a.FieldIndex("WSK_AKTYWN");
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip())
        if (!a.deleted() && a.record().GetLogical(f_open))
            return rt.Text("Istn.aktywna lista płac - przerwanie");
    return "";
}

ChoiceResult ChooseMonth(common::Runtime& rt, base::YearMonth current, base::YearMonth chosen,
                         MonthCloseDialog& dialog) {
    ChoiceResult r;
    if (chosen == current) {
        r.choice = MonthChoice::kRefused;
        r.refusal = rt.Text("Ten sam symbol miesiąca");
        return r;
    }
    if (chosen == NextMonth(current)) return r;
    if (Index(chosen) > Index(NextMonth(current)) && rt.config().Logical("NAGLKWP")) {
        const std::vector<std::string> lines = {
            rt.Text("Przy aktywnej funkcji \"Kasa Zapomogowo Pożyczkowa\""),
            rt.Text("miesiące należy otwierać sekwencyjnie."),
            rt.Text("W przeciwnym wypadku, miesięczne stany wkładów i zadłużeń"),
            rt.Text("w \"Kasie\" będą błędne"),
        };
        if (!dialog.ConfirmOutOfSequence(lines)) r.choice = MonthChoice::kAskAgain;
        return r;
    }
    if (!dialog.Ask(rt.Text("Czy poprawny nowy symbol?"), rt.Text("\"Niestandardowa\" zmiana")))
        r.choice = MonthChoice::kAskAgain;
    return r;
}

CloseResult CloseMonth(common::Runtime& rt, common::Tables& tables, base::YearMonth chosen,
                       const std::vector<StatutoryRow>& rows, MonthCloseDialog& dialog) {
    const ControlRecord control = ReadControlRecord(rt, tables);
    CloseResult result = CheckSettled(rt, tables, control, dialog);
    if (result.outcome != CloseOutcome::kDone) return result;
    if (!dialog.Ask(rt.Text("Zamknąć bieżący miesiąc?"))) {
        result.outcome = CloseOutcome::kCancelled;
        return result;
    }
    dialog.Stage(rt.Text("Sprawdzenie list płac \"starego\" m-ca"));
    result.message = CheckListsTransferred(rt, tables, control.month);
    if (!result.message.empty()) {
        result.outcome = CloseOutcome::kRefused;
        return result;
    }

    // Everything the new month brings is known before the first write.
    const std::vector<std::pair<std::string, double>> values = StatutoryValuesFor(rows, chosen);
    const bool seniority = control.seniority_step > 0 && chosen == NextMonth(control.month);
    SeniorityPlan plan;
    if (seniority) {
        dialog.Stage(rt.Text("Sprawdzenie dodatków stażowych"));
        plan = PlanSeniority(rt, tables, chosen, control.seniority_step, control.seniority_percent);
        if (!plan.error.empty()) {
            result.outcome = CloseOutcome::kRefused;
            result.message = plan.error;
            return result;
        }
    }

    if (!plan.changes.empty()) {
        dialog.Stage(rt.Text("Aktualizacja dodatków stażowych"));
        ApplySeniority(rt, tables, plan);
    }
    WriteNewMonth(rt, tables, chosen, values);
    dialog.Stage(rt.Text("Przeliczanie algorytmicznych nieobecn."));
    worktime::RegenerateMonth(rt, tables, "",
                              [&](const std::string& number, const std::string& message) {
                                  result.absence_messages.push_back(number + ": " + message);
                              });
    // The loan-fund balances ("Aktualizacja stanów KZP") would be carried
    // into the new month here; this version has no loan-fund module.
    if (seniority) {
        result.seniority_changes = static_cast<int>(plan.changes.size());
        dialog.SeniorityDone(SeniorityCountText(rt, result.seniority_changes),
                             SeniorityReport(rt, plan));
    }
    dialog.Stage(rt.Text("Koniec procedury"));
    return result;
}

CloseResult RunMonthClose(common::Runtime& rt, common::Tables& tables, base::YearMonth chosen,
                          const std::vector<StatutoryRow>& rows, MonthCloseDialog& dialog) {
    CloseResult result;
    result.message = CheckNoOpenList(rt, tables);
    if (!result.message.empty()) {
        result.outcome = CloseOutcome::kRefused;
        return result;
    }
    const ChoiceResult choice =
        ChooseMonth(rt, ReadControlRecord(rt, tables).month, chosen, dialog);
    if (choice.choice == MonthChoice::kRefused) {
        result.outcome = CloseOutcome::kRefused;
        result.message = choice.refusal;
        return result;
    }
    if (choice.choice == MonthChoice::kAskAgain) {
        result.outcome = CloseOutcome::kCancelled;
        return result;
    }
    return CloseMonth(rt, tables, chosen, rows, dialog);
}

}  // namespace kestrel::payroll
