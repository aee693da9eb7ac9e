#include "payroll/data/position_entry.h"

#include "payroll/data/payroll_month.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"
#include "worktime/data/suspensions.h"

namespace kestrel::payroll {
namespace {

char Letter(const dbf::Record& r, int field) {
    const std::string v = r.GetString(field);
    return v.empty() ? ' ' : v[0];
}

}  // namespace

std::string_view ComponentListTitle(ComponentList which) {
    switch (which) {
        case ComponentList::kAll:
            return "Wszystkie składniki płac";
        case ComponentList::kApplying:
            return "Poprawne składniki płac";
        case ComponentList::kEntered:
            return "Poprawne składniki NIEALGORYTMICZNE";
        case ComponentList::kOverridable:
            return "Składniki ALGORYTMICZNE możliwe do edycji";
    }
    return "";
}

EntryMode EntryModeOf(const Component& c, bool blocked) {
    if (c.kind != 'A' && c.kind != 'I') return EntryMode::kAmount;
    if (blocked) return EntryMode::kUnblock;
    if (c.kind == 'A' && c.no_block) return EntryMode::kRefused;
    return EntryMode::kBlock;
}

bool SociallyInsured(dbf::WorkArea& prac) {
    for (const char* flag : {"CZY_OB_UE", "CZY_OB_UR", "CZY_OB_UC", "CZY_OB_UW", "CZY_DO_UE",
                             "CZY_DO_UR", "CZY_DO_UC"}) {
        const int f = prac.FieldIndex(flag);
        if (f >= 0 && prac.record().GetLogical(f)) return true;
    }
    return false;
}

PositionEntry::PositionEntry(common::Runtime& rt, common::Tables& tables, const PayrollList& list)
    : rt_(rt),
      tables_(tables),
      list_(list),
      components_(ReadComponents(tables)),
      prac_(worktime::OpenOnce(tables, "PKPRAC", {"PKPRAC1", "PKPRAC2"})),
      positions_(std::make_unique<Positions>(rt, tables)) {
    if (!FindListSymbol(tables, list.symbol, &facts_.symbol)) facts_.symbol.symbol = list.symbol;
    facts_.symbol.symbol.resize(2, ' ');
    facts_.year = list.year;
    facts_.month = list.month;
}

PositionEntry::~PositionEntry() = default;

EmployeeVerdict PositionEntry::Employee(std::string_view number) {
    EmployeeVerdict v;
    auto refuse = [&](const char* utf8) {
        v.messages.push_back(rt_.Text(utf8));
        v.refused = true;
        return v;
    };
    worktime::OrderBy(prac_, "PKPRAC1");
    const dbf::Record& r = prac_.record();
    const bool found = prac_.Seek(base::Padded(number, 6)).ok() && prac_.found() && !prac_.eof();
    const bool legal = found && r.GetLogical(prac_.FieldIndex("OS_PRAWNA"));
    if (!found || legal != legal_persons())
        return refuse(legal_persons() ? "Brak os.prawnej o tym numerze"
                                      : "Brak pracownika o tym numerze");
    const std::string dismissed = r.GetDate(prac_.FieldIndex("DATA_ZWOLN"));
    if (!base::IsBlank(dismissed)) v.messages.push_back(rt_.Text("Pracownik ZWOLNIONY"));
    const char group = Letter(r, prac_.FieldIndex("GRUPA_ALG"));
    if (!legal_persons()) {
        const ListSymbol& s = facts_.symbol;
        if (s.group != ' ' && s.group != group) return refuse("Lista nie dotyczy tego pracownika");
        if (rt_.config().Logical("NAGLUBSLST") && s.non_personal) {
            const bool insured = SociallyInsured(prac_);
            if (insured && s.no_insurance)
                return refuse("Pracownik MA \"Ubezp.Społ.\" a lista NIE");
            if (!insured && !s.no_insurance)
                return refuse("Lista MA \"Ubezp.Społ.\" a pracownik NIE");
        }
    }
    const std::string hired = r.GetDate(prac_.FieldIndex("DATA_ZATR"));
    number_ = std::string(number);
    employee_.group = group;
    employee_.hired = base::IsBlank(hired) ? std::string() : hired;
    legal_employee_ = legal;
    {
        const dbf::KeepPosition keep(prac_);
        worktime::Suspensions zaw(rt_, tables_);
        if (zaw.OpenOf(number_)) v.messages.push_back(rt_.Text("Pracownik zawieszony"));
    }
    return v;
}

std::vector<std::string> PositionEntry::EmployeesOfList(bool without_dismissed) {
    std::vector<std::string> out;
    const dbf::KeepPosition keep(prac_);
    worktime::OrderBy(prac_, "PKPRAC1");
    const int f_number = prac_.FieldIndex("NR_PRAC"), f_legal = prac_.FieldIndex("OS_PRAWNA"),
              f_group = prac_.FieldIndex("GRUPA_ALG"), f_out = prac_.FieldIndex("DATA_ZWOLN");
    const ListSymbol& s = facts_.symbol;
    for (base::Status st = prac_.GoTop(); st.ok() && !prac_.eof(); st = prac_.Skip(1)) {
        if (prac_.deleted()) continue;
        const dbf::Record& r = prac_.record();
        if (r.GetLogical(f_legal) != legal_persons()) continue;
        if (!legal_persons() && s.group != ' ' && Letter(r, f_group) != s.group) continue;
        if (without_dismissed && !base::IsBlank(r.GetDate(f_out))) continue;
        out.push_back(r.GetString(f_number));
    }
    return out;
}

const Component* PositionEntry::Find(std::string_view symbol) const {
    const std::string wanted = base::Padded(base::TrimRight(symbol), 4);
    for (const Component& c : components_)
        if (c.symbol == wanted) return &c;
    return nullptr;
}

std::string PositionEntry::Refusal(std::string_view symbol, const Component** out) {
    const Component* c = Find(symbol);
    if (c == nullptr || base::IsBlank(symbol)) return rt_.Text("Brak składnika o takim symbolu");
    switch (MisfitOf(*c, facts_, employee_)) {
        case Misfit::kNone:
            *out = c;
            return "";
        case Misfit::kListSymbol:
        case Misfit::kListKind:
            return rt_.Text("Składnik sprzeczny z typem listy płac");
        case Misfit::kGroup:
        case Misfit::kHired:
            break;
    }
    return rt_.Text("Składnik nie dotyczy tego pracownika");
}

std::vector<const Component*> PositionEntry::Listed(ComponentList which) {
    std::vector<const Component*> out;
    for (const Component& c : components_) {
        if (which != ComponentList::kAll && !Applies(c, facts_, employee_)) continue;
        const bool algorithmic = c.kind == 'A' || c.kind == 'I';
        if (which == ComponentList::kEntered && algorithmic) continue;
        if (which == ComponentList::kOverridable && (!algorithmic || (c.kind == 'A' && c.no_block)))
            continue;
        out.push_back(&c);
    }
    return out;
}

std::vector<Position> PositionEntry::EmployeePositions() {
    return positions_->Of(list_, number_);
}

bool PositionEntry::Reserve(const Component& c, Position* existing) {
    if (!positions_->Reserve(list_, number_, c)) return false;
    *existing = positions_->Current();
    return true;
}

void PositionEntry::Save(const Component& c, double amount, bool blocked) {
    positions_->Save(list_, c, amount, blocked);
    PositionsChanged();
}

void PositionEntry::Release() {
    positions_->Release();
}

void PositionEntry::PositionsChanged() {
    if (!legal_employee_) ClearMonthFlags(rt_, tables_);
}

}  // namespace kestrel::payroll
