// 9.7.5 "Zmiana nazwy katalogu firmy" and 9.7.6 "Kasowanie katalogu firmy".
#include <cstdio>

#include "common/screen/identification.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "platform/base/files.h"
#include "utilities/company_screen_parts.h"
#include "utilities/data/company_create.h"
#include "utilities/data/company_remove.h"

namespace kestrel::utilities {
namespace {

// The exclusive hold of the company before it is renamed or deleted;
// false (with the message) while another program has it open.
bool HoldExclusively(common::Runtime& rt, const CompanyHooks& hooks, const std::string& dir,
                     CompanyLock* exclusive) {
    const base::Status s = TakeExclusive(dir, hooks.hold, exclusive);
    if (!s.IsBusy()) return true;
    common::ShowMessage(rt, rt.Text("Firma otwarta na innym stanowisku"));
    return false;
}

}  // namespace

void Qrm975(common::Runtime& rt, const CompanyHooks& hooks) {
    if (!common::CheckRights(rt, kCompanyRightsMask)) return;
    CompanyTitle(rt, "9.7.5. Zmiana nazwy katalogu firmy");
    const std::string root = Root(rt);
    const std::vector<CompanyEntry> list = ListCompanies(root, rt.letters());
    ShowCompanyNames(rt, list);
    std::string old_name, new_name;
    if (!AskCompanyName(rt, 6, "\"Stara\" nazwa katalogu:", 12, NameWanted::kExisting, list,
                        &old_name))
        return;
    if (!AskCompanyName(rt, 7, "            Nowa nazwa:", 12, NameWanted::kNew, list, &new_name))
        return;
    if (!common::IsYes(common::Question(rt, rt.Text("Zmienić nazwę katalogu?"), "tn", 'n'))) {
        common::ShowMessage(rt, rt.Text("Wyjście bez zmiany"));
        return;
    }
    const bool current = IsCurrent(rt, old_name);
    RenameOutcome outcome;
    {
        CompanyLock exclusive;
        if (!HoldExclusively(rt, hooks, root + "/" + old_name, &exclusive)) return;
        outcome = RenameCompany(root, old_name, new_name);
    }
    // The probe let the program's own hold go: the current company follows
    // its new name (the reload takes the hold again), or is held again.
    if (current && outcome.renamed) MakeCurrent(rt, hooks, new_name);
    if (current && !outcome.renamed && hooks.hold != nullptr)
        hooks.hold->Share(root + "/" + old_name);
    if (!outcome.message.empty()) common::ShowMessage(rt, rt.Text(outcome.message));
    if (outcome.renamed) common::ShowMessage(rt, rt.Text("Koniec procedury"));
}

void Qrm976(common::Runtime& rt, const CompanyHooks& hooks) {
    if (!common::CheckRights(rt, kCompanyRightsMask)) return;
    CompanyTitle(rt, "9.7.6. Kasowanie katalogu firmy");
    const std::string root = Root(rt);
    const std::vector<CompanyEntry> list = ListCompanies(root, rt.letters());
    ShowCompanyNames(rt, list);
    std::string name;
    if (!AskCompanyName(rt, 6, "        Nazwa katalogu:", 12, NameWanted::kExisting, list, &name))
        return;
    const CompanyContents contents = SurveyCompany(root + "/" + name);
    if (contents.foreign_subdirectory) {
        common::ShowMessage(rt, rt.Text("Istniejąpodkatalogi - przerwanie"));
        return;
    }
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    char count[16];
    std::snprintf(count, sizeof count, "%4ld", contents.files);
    s.Write(8, 14, rt.Text("Katalog zawiera ") + count + " " + rt.Text(FilesNoun(contents.files)),
            normal);
    const bool current = IsCurrent(rt, name);
    if (current) s.Write(8, 45, rt.Text("Bieżący katalog"), rt.Standard(rt.colours().ycowp));
    if (!common::IsYes(common::Question(rt, rt.Text("Kasować katalog firmy?"), "tn", 'n'))) {
        common::ShowMessage(rt, rt.Text("Katalog pozostaje bez zmian"));
        return;
    }
    std::string message;
    {
        CompanyLock exclusive;
        if (!HoldExclusively(rt, hooks, root + "/" + name, &exclusive)) return;
        common::ShowWait(rt);
        message = DeleteCompany(root, name);
    }
    const bool gone = KindOf(root + "/" + name) == PathKind::kNothing;
    if (!message.empty()) common::ShowMessage(rt, rt.Text(message));
    if (message.empty()) common::ShowMessage(rt, rt.Text("Koniec procedury"));
    if (!current) return;
    if (!gone) {
        if (hooks.hold != nullptr) hooks.hold->Share(root + "/" + name);
        return;
    }
    // The current company is no more: the program directory's own becomes
    // current.
    MakeCurrent(rt, hooks, "");
    rt.console().keyboard().Clear();
    ForgetOperator(rt);
    throw common::Abandon("");
}

}  // namespace kestrel::utilities
