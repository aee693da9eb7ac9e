#include "payroll/data/function_support.h"

#include "common/checks/scramble.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {

AreasAsFound::AreasAsFound(dbf::Workspace& workspace)
    : workspace_(workspace), selected_(workspace.current_number()) {}

AreasAsFound::~AreasAsFound() {
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
        dbf::WorkArea* area = workspace_.Find(it->number);
        if (area == nullptr || area->serial() != it->serial) continue;
        (void)area->SetOrder(it->order);
        (void)area->Goto(it->recno);
    }
    (void)workspace_.Select(selected_);
}

dbf::WorkArea* AreasAsFound::Touch(dbf::WorkArea* area) {
    if (area == nullptr) return nullptr;
    for (const Kept& k : kept_)
        if (k.number == area->number() && k.serial == area->serial()) return area;
    kept_.push_back({area->number(), area->serial(), area->order(), area->recno()});
    return area;
}

Mask::Mask(std::string_view text) {
    text_ = base::Cp852Upper(text.substr(0, 4));
    text_.resize(4, ' ');
    for (size_t i = 0; i < text_.size(); ++i) {
        if (text_[i] == '*') {
            for (size_t j = i; j < text_.size(); ++j) text_[j] = '?';
            break;
        }
    }
    single_ = text_.find('?') == std::string::npos;
}

bool Mask::Matches(std::string_view symbol) const {
    std::string s(symbol.substr(0, std::min<size_t>(symbol.size(), 8)));
    if (s.size() > 4 && base::TrimRight(s.substr(4)).empty()) s.resize(4);
    if (s.size() > 4) return false;
    s = base::Cp852Upper(s);
    s.resize(4, ' ');
    for (size_t i = 0; i < 4; ++i)
        if (text_[i] != '?' && text_[i] != s[i]) return false;
    return true;
}

bool MatchesAny(const std::vector<Mask>& masks, std::string_view symbol) {
    for (const Mask& m : masks)
        if (m.Matches(symbol)) return true;
    return false;
}

PeselGroups::PeselGroups(common::Tables& tables) {
    if (tables.workspace().Find("PKPRAC") == nullptr &&
        !base::Exists(base::FindNoCase(tables.rt().data_dir(), "PKPRAC.DBF")))
        return;
    // The caller's area of PKPRAC is read where it stands and put back
    // (formulas go on reading pkprac-> from it); without one, an area is
    // opened for the reading and closed again.
    dbf::WorkArea* const open = tables.workspace().Find("PKPRAC");
    dbf::WorkArea& prac = open != nullptr ? *open : tables.Open("PKPRAC");
    {
        const dbf::KeepPosition keep(prac);
        (void)prac.SetOrder(0);
        const int nr = prac.FieldIndex("NR_PRAC"), pesel = prac.FieldIndex("PESELX_");
        for (base::Status s = prac.GoTop(); nr >= 0 && pesel >= 0 && s.ok() && !prac.eof();
             s = prac.Skip(1)) {
            if (prac.deleted()) continue;
            const std::string number = prac.record().GetString(nr);
            const std::string clear = base::TrimRight(
                common::Unscramble(common::ScrambleKind::kIdentity, prac.record().Raw(pesel)));
            if (clear.empty()) continue;
            identity_[number] = clear;
            by_identity_[clear].push_back(number);
        }
    }
    if (open == nullptr) (void)tables.workspace().Close(prac.number());
}

std::vector<std::string> PeselGroups::Of(std::string_view number) const {
    std::string key(number);
    key.resize(6, ' ');
    std::vector<std::string> group{key};
    const auto id = identity_.find(key);
    if (id == identity_.end()) return group;
    for (const std::string& other : by_identity_.at(id->second))
        if (other != key) group.push_back(other);
    return group;
}

std::string PeselGroups::IdentityOf(std::string_view number) const {
    std::string key(number);
    key.resize(6, ' ');
    const auto id = identity_.find(key);
    return id == identity_.end() ? std::string() : id->second;
}

}  // namespace kestrel::payroll
