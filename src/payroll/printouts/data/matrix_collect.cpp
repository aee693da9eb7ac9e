// The preparation of a matrix printout: the matrix read and compiled, the
// positions of the admitted lists gathered per employee, the condition,
// the cells and the sort key evaluated employee by employee, the order.
#include <algorithm>
#include <cstdio>
#include <map>

#include "common/checks/scramble.h"
#include "common/tables/index_functions.h"
#include "common/tables/table_catalogue.h"
#include "payroll/data/positions.h"
#include "payroll/printouts/data/matrix_cells.h"
#include "payroll/printouts/data/matrix_state.h"
#include "platform/base/text.h"
#include "platform/formula/date.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

using formula::Value;

bool CompileText(MatrixRun::State& s, const std::string& text, formula::Program* p) {
    *p = formula::Program{};
    if (base::IsBlank(text)) return true;
    formula::Error e;
    return s.host->engine().Compile(text, p, &e);
}

// The sort key of an own key's value: numbers right-aligned so that they
// sort by value.
std::string KeyText(const Value& v) {
    char buf[48];
    switch (v.type()) {
        case formula::Type::kString:
            return v.str();
        case formula::Type::kNumber:
            std::snprintf(buf, sizeof buf, "%20.2f", v.number());
            return buf;
        case formula::Type::kDate:
            return formula::Dtos(v.julian());
        case formula::Type::kLogical:
            return v.logical() ? "T" : "F";
        default:
            return "";
    }
}

std::string FieldOf(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? std::string() : a.record().GetString(f);
}

// What the register says of the employee the host has made current.
struct Facts {
    std::string name;        // surname and first name
    std::string name_key;    // qrmsort of surname and first name
    std::string department;  // DZIAL_
    std::string group;       // GRUPA_ALG
    std::string account;     // KONTO_KOSZ, left blanks dropped, 12 characters
};

Facts ReadFacts(MatrixRun::State& s, const std::string& number) {
    Facts f;
    f.account.assign(12, ' ');
    if (!CompanyHas(s.tables, "PKPRAC")) return f;
    dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", common::IndexFiles("PKPRAC"));
    if (prac.eof() || FieldOf(prac, "NR_PRAC") != number) return f;
    const std::string surname =
        base::Trim(common::Unscramble(common::ScrambleKind::kName, FieldOf(prac, "NAZWX_")));
    const std::string first =
        base::Trim(common::Unscramble(common::ScrambleKind::kName, FieldOf(prac, "IMIEX_")));
    f.name = first.empty() ? surname : surname + " " + first;
    f.name_key = common::SortKey(s.rt.letters(), Fit(surname, 30) + Fit(first, 20));
    f.department = Fit(FieldOf(prac, "DZIAL_"), 4);
    f.group = Fit(FieldOf(prac, "GRUPA_ALG"), 1);
    f.account = Fit(base::Trim(FieldOf(prac, "KONTO_KOSZ")), 12);
    return f;
}

std::string Brigade(MatrixRun::State& s, const std::string& number) {
    if (!CompanyHas(s.tables, "PKBRYG")) return "  ";
    dbf::WorkArea& bryg = worktime::OpenOnce(s.tables, "PKBRYG", {"PKBRYG1", "PKBRYG2"});
    const dbf::KeepPosition keep(bryg);
    worktime::OrderBy(bryg, "PKBRYG1");
    const YearMonth m = s.host->list_month();
    char key[16];
    std::snprintf(key, sizeof key, "%4d%02d", m.year, m.month);
    for (base::Status st = bryg.Seek(key + number); st.ok() && !bryg.eof(); st = bryg.Skip())
        if (!bryg.deleted() && FieldOf(bryg, "NR_PRAC") == number)
            return Fit(FieldOf(bryg, "BRYGADA_"), 2);
        else
            break;
    return "  ";
}

MatrixSort Effective(const MatrixRun::State& s) {
    if (s.request.sort != MatrixSort::kMatrix) return s.request.sort;
    switch (s.m.sort) {
        case 2:
            return MatrixSort::kName;
        case 3:
            return s.key.empty() ? MatrixSort::kNumber : MatrixSort::kOwnKey;
        default:
            return MatrixSort::kNumber;
    }
}

// One employee's amounts gathered over the admitted lists.
struct Gathered {
    std::vector<double> amounts;
    std::vector<Position> positions;  // of the admitted lists, for PayableTotal
};

}  // namespace

bool AdmitsList(std::string_view admitted, std::string_view symbol) {
    if (base::IsBlank(admitted)) return true;
    const std::string wanted = base::Trim(symbol);
    size_t from = 0;
    while (from <= admitted.size()) {
        size_t comma = admitted.find(',', from);
        if (comma == std::string_view::npos) comma = admitted.size();
        if (base::Trim(admitted.substr(from, comma - from)) == wanted) return true;
        from = comma + 1;
    }
    return false;
}

MatrixRun::MatrixRun(common::Runtime& rt, common::Tables& tables, MatrixObserver* observer)
    : state_(std::make_unique<State>(rt, tables, observer)) {}
MatrixRun::~MatrixRun() = default;

bool MatrixRun::interrupted() const {
    return state_->interrupted;
}
const MatrixDefinition& MatrixRun::matrix() const {
    return state_->m;
}
const std::vector<MatrixEmployee>& MatrixRun::employees() const {
    return state_->employees;
}
const std::vector<PayrollList>& MatrixRun::lists() const {
    return state_->lists;
}

std::string MatrixRun::Prepare(const MatrixRequest& request) {
    State& s = *state_;
    common::Runtime& rt = s.rt;
    s.request = request;
    s.employees.clear();
    s.lists.clear();
    s.interrupted = false;
    if (request.definition != nullptr) {
        s.m = *request.definition;
        s.m.type = request.type;
    } else {
        switch (ReadMatrix(s.tables, request.matrix, &s.m)) {
            case MatrixRead::kMissing:
                return rt.Text("Brak definicji tabulogramu");
            case MatrixRead::kBadStructure:
                return rt.Text("Błędna struktura zbioru PKTBW");
            case MatrixRead::kRead:
                break;
        }
    }
    if (s.m.type != request.type) return rt.Text("Błędny typ tabulogramu");
    const std::string bad = rt.Text("Błędna definicja tabulogramu");
    if (s.m.cells.empty()) return bad;
    // The archived lists first: the list the host describes is then the
    // newest, a working one when there is any.
    std::vector<std::pair<dbf::WorkArea*, std::vector<PayrollList>>> sources;
    for (const MatrixRequest::ArchivedLists& a : request.archived)
        sources.push_back({a.place, a.lists});
    sources.push_back({nullptr, request.lists});
    for (auto& [place, lists] : sources) {
        std::vector<PayrollList> admitted;
        for (const PayrollList& l : lists)
            if (AdmitsList(s.m.list_symbols, l.symbol)) admitted.push_back(l);
        lists = admitted;
        s.lists.insert(s.lists.end(), admitted.begin(), admitted.end());
    }

    s.host = std::make_unique<PayrollHost>(rt, s.tables);
    common::RegisterIndexFunctions(s.host->engine(), rt.letters());
    for (const std::string& m : s.host->PrepareRun()) {
        if (!s.watch->FunctionError(m)) {
            s.interrupted = true;
            return m;
        }
    }
    s.symbols.clear();
    for (const Component& c : s.host->components()) s.symbols.push_back(base::TrimRight(c.symbol));
    if (!s.lists.empty()) s.host->SetList(s.lists.back());
    // Formulas bind the fields of the tables open when they are compiled;
    // with all their index files, so that no later opening replaces them.
    for (const char* t : {"PKPRAC", "PKLISTY", "PKSTER"})
        if (CompanyHas(s.tables, t)) (void)worktime::OpenOnce(s.tables, t, common::IndexFiles(t));

    formula::Program start;
    s.cells.assign(s.m.cells.size(), formula::Program{});
    if (!CompileText(s, s.m.start, &start) || !CompileText(s, s.m.condition, &s.condition) ||
        !CompileText(s, s.m.sort_key, &s.key))
        return bad;
    for (size_t i = 0; i < s.m.cells.size(); ++i)
        if (!CompileText(s, s.m.cells[i].content, &s.cells[i])) return bad;
    formula::Error error;
    Value v;
    if (!start.empty()) {
        s.host->LoadEmpty();
        if (!s.host->engine().Evaluate(start, &v, &error)) return bad;
    }

    s.watch->Status(rt.Text("Szukanie wskazanych typów list płac"));
    std::map<std::string, size_t> index_of;  // padded symbol -> component
    for (size_t i = 0; i < s.host->components().size(); ++i)
        index_of.emplace(s.host->components()[i].symbol, i);
    std::map<std::string, Gathered> gathered;  // by employee number
    for (const auto& [place, lists] : sources) {
        if (lists.empty() || (place == nullptr && !CompanyHas(s.tables, "PKPLACE"))) continue;
        Positions positions =
            place == nullptr ? Positions(rt, s.tables) : Positions(rt, s.tables, *place);
        for (const PayrollList& l : lists) {
            for (Position& p : positions.OfList(l)) {
                if ((!base::IsBlank(request.first_employee) &&
                     p.employee < request.first_employee) ||
                    (!base::IsBlank(request.last_employee) && p.employee > request.last_employee))
                    continue;
                Gathered& g = gathered[p.employee];
                if (g.amounts.empty()) g.amounts.assign(s.symbols.size(), 0.0);
                auto it = index_of.find(p.symbol);
                if (it != index_of.end()) g.amounts[it->second] += p.amount;
                g.positions.push_back(std::move(p));
            }
        }
    }
    if (gathered.empty()) return rt.Text("Brak danych do wydruku");

    const MatrixSort sort = Effective(s);
    for (auto& [number, g] : gathered) {
        if (s.watch->Interrupted()) {
            s.interrupted = true;
            s.employees.clear();
            return {};
        }
        s.watch->Employee(number);
        // Every variable back to its empty value, then every component its
        // sum: a component the employee has no position of is 0, whatever
        // the employee before him had.
        s.host->LoadEmployee(number);
        for (size_t i = 0; i < s.symbols.size(); ++i) s.host->SetAmount(s.symbols[i], g.amounts[i]);
        if (!s.condition.empty()) {
            if (!s.host->engine().Evaluate(s.condition, &v, &error)) return error.Message();
            if (!v.IsLogical()) return rt.Text("Błędna wartość warunku");
            if (!v.logical()) continue;
        }
        MatrixEmployee e;
        e.number = number;
        const Facts facts = ReadFacts(s, number);
        e.name = facts.name;
        switch (sort) {
            case MatrixSort::kName:
                e.key = facts.name_key;
                break;
            case MatrixSort::kOwnKey:
                if (!s.host->engine().Evaluate(s.key, &v, &error)) return error.Message();
                e.key = KeyText(v);
                break;
            case MatrixSort::kBrigade:
                e.key = Brigade(s, number) + facts.name_key;
                break;
            case MatrixSort::kDepartment:
                e.key = facts.department + facts.name_key;
                break;
            case MatrixSort::kGroup:
                e.key = facts.group + facts.name_key;
                break;
            case MatrixSort::kAccount:
                e.key = facts.account + facts.name_key;
                break;
            default:
                e.key = number;
        }
        e.cells.resize(s.cells.size());
        for (size_t i = 0; i < s.cells.size(); ++i) {
            if (s.cells[i].empty()) continue;
            if (!s.host->engine().Evaluate(s.cells[i], &v, &error)) return error.Message();
            if (!v.IsArray()) e.cells[i] = v;
        }
        e.amounts = std::move(g.amounts);
        e.payable = PayableTotal(g.positions);
        s.employees.push_back(std::move(e));
    }
    if (s.employees.empty()) return rt.Text("Lista nie dotyczy żadnego pracownika");
    std::stable_sort(
        s.employees.begin(), s.employees.end(),
        [](const MatrixEmployee& a, const MatrixEmployee& b) { return a.key < b.key; });
    return {};
}

}  // namespace kestrel::payroll
