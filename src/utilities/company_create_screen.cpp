// 9.7.4 "Tworzenie katalogu nowej firmy".
#include <filesystem>

#include "common/screen/form.h"
#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "payroll/data/formula_update.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "utilities/company_screen_parts.h"
#include "utilities/data/company_create.h"

namespace kestrel::utilities {
namespace {

namespace key = console::key;

// The company name as the second layout shows it: letter-spaced when it
// has at most 10 characters, centred in 20 columns.
std::string CentredName(const std::string& name) {
    std::string text = base::Trim(name);
    if (text.size() <= 10) {
        std::string spaced;
        for (size_t i = 0; i < text.size(); ++i) {
            if (i > 0) spaced += ' ';
            spaced += text[i];
        }
        text = spaced;
    }
    if (text.size() > 20) text.resize(20);
    const size_t left = (20 - text.size()) / 2;
    return std::string(left, ' ') + text + std::string(20 - left - text.size(), ' ');
}

// The stamp: its two layouts switched with Tab. False on Esc.
bool AskStamp(common::Runtime& rt, NewCompany* company) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    constexpr int kTop = 12, kLeft = 23, kBottom = 16, kRight = 56;
    s.Write(kTop - 1, kLeft, rt.Text("Postać \"pieczątki\":"), normal);
    s.Write(21, 1, rt.Text("<Tab>-Inna postać \"pieczątki\""), rt.Standard(rt.colours().ycoi));
    std::string first(30, ' '), other(30, ' ');
    bool second_layout = false;
    bool switch_layout = false;
    auto& kb = rt.console().keyboard();
    auto old = kb.Bind(key::kTab, [&] {
        switch_layout = true;
        kb.Stuff({key::kCtrlEnd});
    });
    bool saved = false;
    for (;;) {
        s.Clear(kTop, kLeft, kBottom, kRight, normal);
        s.Box(kTop, kLeft, kBottom, kRight, console::kFrameSingle, normal);
        common::Form form(rt);
        form.Get(kTop + 1, kLeft + 2, &first, "", 30);
        if (second_layout) {
            form.Get(kTop + 2, kLeft + 2, &other, "", 30);
            s.Write(kTop + 3, kLeft + 7, CentredName(company->short_name), normal);
        } else {
            s.Write(kTop + 2, kLeft + 2, company->short_name, normal);
            form.Get(kTop + 3, kLeft + 2, &other, "", 30);
        }
        switch_layout = false;
        const common::ReadResult r = common::Qrmrdr(rt, form);
        if (switch_layout) {
            second_layout = !second_layout;
            continue;
        }
        saved = r.saved();
        break;
    }
    kb.Bind(key::kTab, old);
    s.Clear(21, 1, 21, 77, normal);
    company->first_line = first;
    company->other_line = other;
    company->second_line = second_layout;
    return saved;
}

// The leftover of an interrupted creation under the working name, offered
// for deletion; false when it stays (the creation does not go on).
bool ClearWorkingName(common::Runtime& rt, const std::string& root, const std::string& working) {
    const std::string path = root + "/" + working;
    const PathKind kind = KindOf(path);
    if (kind == PathKind::kNothing) return true;
    const bool directory = kind == PathKind::kDirectory;
    common::ShowMessage(rt, rt.Text(directory ? "Istnieje katalog " : "Istnieje plik ") + working);
    if (!common::IsYes(common::Question(rt, rt.Text("Kasować?"), "tn", 't'))) {
        if (directory) common::ShowMessage(rt, rt.Text("Procedura przerwana"));
        return false;
    }
    std::string message;
    if (directory) {
        message = RemoveLeftover(path);
    } else {
        std::error_code ec;
        if (!std::filesystem::remove(path, ec) || ec) message = "Błąd kasowania " + working;
    }
    if (message.empty()) return true;
    common::ShowMessage(rt, rt.Text(message));
    return false;
}

}  // namespace

void Qrm974(common::Runtime& rt, const CompanyHooks& hooks) {
    if (!common::CheckRights(rt, kCompanyRightsMask)) return;
    CompanyTitle(rt, "9.7.4. Tworzenie katalogu nowej firmy");
    const std::string root = Root(rt);
    const std::vector<CompanyEntry> list = ListCompanies(root, rt.letters());
    ShowCompanyNames(rt, list);
    NewCompany company;
    if (!AskCompanyName(rt, 6, "Nazwa nowego katalogu:", 8, NameWanted::kNew, list, &company.name))
        return;
    auto& s = rt.screen();
    const std::string label = rt.Text("Nazwa firmy:");
    s.Write(7, 14, label, rt.Standard(rt.colours().ycow));
    std::string short_name(20, ' ');
    for (;;) {
        common::Form form(rt);
        form.Get(7, 14 + static_cast<int>(label.size()) + 1, &short_name, "", 20);
        if (!common::Qrmrdr(rt, form).saved()) return;
        if (!base::Trim(short_name).empty()) break;
    }
    company.short_name = short_name;
    s.Clear(9, 1, 20, 77, rt.Standard(rt.colours().ycow));
    if (!AskStamp(rt, &company)) return;
    if (!common::IsYes(common::Question(rt, rt.Text("Założyć katalog?"), "tn", 'n'))) return;
    if (!ClearWorkingName(rt, root, WorkingName(company.name))) return;

    common::ShowWait(rt);
    CreateOptions options;
    options.letters = &rt.letters();
    options.clock = &rt.clock();
    options.operators_from = rt.company();
    options.retry_wait = [&rt] { rt.console().Sleep(1000); };
    const CreateOutcome outcome = CreateCompany(root, company, root + "/QRM.MEM", options);
    if (!outcome.ok()) {
        common::ShowMessage(rt, rt.Text(outcome.error));
        return;
    }
    if (outcome.operator_list_failed) {
        common::ShowMessage(rt, rt.Text("Błąd tworzenia pliku haseł"));
        common::ShowMessage(rt, rt.Text("Firma ") + company.name + rt.Text(" bez ochrony hasłami"));
    }
    MakeCurrent(rt, hooks, company.name);
    // The shipped components call the standard functions of the formula
    // updater (ren1, zdr ...): the new company gets them now, so that it
    // computes its first payroll without a further step.
    try {
        common::Tables tables(rt);
        payroll::ApplyFormulaUpdates(tables, payroll::ShippedDefinitionsFor(rt));
    } catch (const common::Abandon& e) {
        if (*e.message() != 0) common::ShowMessage(rt, e.message());
    }
    common::ShowMessage(rt, rt.Text("Koniec procedury"));
    ForgetOperator(rt);
    throw common::Abandon("");
}

}  // namespace kestrel::utilities
