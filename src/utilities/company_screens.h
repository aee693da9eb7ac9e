// Menu 9.7 "Zmiana firmy": choosing, creating, renaming and deleting
// company directories, and copying dictionaries from another company.
//
// The program owns the current company: it hands in how a company becomes
// current (NAGL0 set, the reload requested) and its hold on the current
// company (utilities/data/company_lock.h), which renaming and deleting let
// go of before they probe a company for other users.
#pragma once

#include <functional>
#include <string>

#include "common/session/runtime.h"
#include "utilities/data/company_lock.h"

namespace kestrel::utilities {

struct CompanyHooks {
    /// Makes `company` (a directory of the program directory, "" = the
    /// program directory itself) current and requests the full reload of
    /// the configuration. Null: the company functions only change rt's
    /// directories and request the reload themselves.
    std::function<void(common::Runtime&, const std::string& company)> make_current;
    /// The program's hold on its current company; may be null.
    CompanyLock* hold = nullptr;
};

/// QRM972: the choice of the company; a new choice reloads and leaves to
/// the main menu (common::Abandon).
void Qrm972(common::Runtime& rt, const CompanyHooks& hooks);
/// QRM974: a new company, which becomes current (leaves to the main menu).
void Qrm974(common::Runtime& rt, const CompanyHooks& hooks);
/// QRM975: a new name for a company directory.
void Qrm975(common::Runtime& rt, const CompanyHooks& hooks);
/// QRM976: deleting a company directory.
void Qrm976(common::Runtime& rt, const CompanyHooks& hooks);
/// QRM977: dictionaries copied from another company into the current one.
void Qrm977(common::Runtime& rt);

}  // namespace kestrel::utilities
