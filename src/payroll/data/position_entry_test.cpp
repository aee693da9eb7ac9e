#include "payroll/data/position_entry.h"

#include <gtest/gtest.h>

#include "payroll/data/component_analysis.h"
#include "payroll_company.h"
#include "platform/memfile/mem_file.h"

namespace kestrel::payroll {
namespace {

using V = std::vector<std::string>;

// List symbols: A ordinary, G ordinary of group B, Z non-personal without
// social insurance, U non-personal with it, P for legal persons. Besides
// the two plain employees of the company: 000011 of group B and insured,
// 000012 of group C and dismissed, 000013 a legal person, 000014 neither
// insured nor working (an open suspension), 000015 hired after March.
struct EntryCompany : testing::PayCompany {
    EntryCompany() {
        Make("PKZAW");
        Symbol("A", {});
        Symbol("G", {{"GRUPA_ALG", "B"}});
        Symbol("Z", {{"BEZOSOB_FP", "T"}, {"BEZ_UB_SP", "T"}});
        Symbol("U", {{"BEZOSOB_FP", "T"}});
        Symbol("P", {{"OS_PRAWNA", "T"}});
        Add("PKPRAC", {{"NR_PRAC", "000011"},
                       {"NAZWX_", "Zielińska"},
                       {"GRUPA_ALG", "B"},
                       {"CZY_OB_UE", "T"}});
        Add("PKPRAC", {{"NR_PRAC", "000012"},
                       {"NAZWX_", "Kot"},
                       {"GRUPA_ALG", "C"},
                       {"DATA_ZWOLN", "20260215"}});
        Add("PKPRAC", {{"NR_PRAC", "000013"}, {"NAZWX_", "Firma"}, {"OS_PRAWNA", "T"}});
        Add("PKPRAC", {{"NR_PRAC", "000014"}, {"NAZWX_", "Lis"}});
        Add("PKPRAC", {{"NR_PRAC", "000015"}, {"NAZWX_", "Sowa"}, {"DATA_ZATR", "20260401"}});
        Add("PKZAW", {{"NR_PRAC", "000014"}, {"DATA_ZAW", "20260302"}, {"PRZYCZ_ZAW", "01"}});
    }
    void Symbol(const std::string& symbol, worktime::testing::Row more) {
        more.push_back({"TYP_LST", symbol});
        more.push_back({"NAZWA_LST", "Lista " + symbol});
        Add("PKSLST", more);
    }
    PayrollList Of(const std::string& symbol) {
        PayrollList l;
        l.year = "2026";
        l.symbol = symbol + " ";
        l.number = 1;
        l.month = "03";
        l.paid = "20260310";
        l.open = true;
        return l;
    }
    void Flags(bool on) {
        for (const char* f : {"AKT_ZUS", "AKT_KZP", "AKT_PPK"}) {
            dbf::WorkArea& a = tables.Open("PKSTER");
            a.GoTop();
            tables.RLock(a);
            a.record().SetLogical(a.FieldIndex(f), on);
            ASSERT_TRUE(a.Commit().ok());
            a.Unlock();
        }
    }
    V StoredFlags() {
        tables.CloseAll();
        return {Records("PKSTER", "AKT_ZUS")[0], Records("PKSTER", "AKT_KZP")[0],
                Records("PKSTER", "AKT_PPK")[0]};
    }
};

TEST(PositionEntry, EmployeeChecksAndTheirMessages) {
    struct Case {
        const char* list;
        bool verify_insurance;  // NAGLUBSLST
        const char* number;
        V messages;
        bool refused;
    };
    const Case cases[] = {
        {"A", false, "000009", {"Brak pracownika o tym numerze"}, true},
        {"A", false, "000013", {"Brak pracownika o tym numerze"}, true},  // a legal person
        {"P", false, "000011", {"Brak os.prawnej o tym numerze"}, true},
        {"P", false, "000013", {}, false},
        {"A", false, "000012", {"Pracownik ZWOLNIONY"}, false},
        {"G", false, "000012", {"Pracownik ZWOLNIONY", "Lista nie dotyczy tego pracownika"}, true},
        {"G", false, "000001", {"Lista nie dotyczy tego pracownika"}, true},  // no group
        {"G", false, "000011", {}, false},
        {"Z", true, "000011", {"Pracownik MA \"Ubezp.Społ.\" a lista NIE"}, true},
        {"Z", false, "000011", {}, false},
        {"U", true, "000011", {}, false},
        {"Z", true, "000001", {}, false},
        // Refused before the suspension is looked at.
        {"U", true, "000014", {"Lista MA \"Ubezp.Społ.\" a pracownik NIE"}, true},
        {"A", true, "000014", {"Pracownik zawieszony"}, false},  // not a non-personal list
    };
    for (const Case& k : cases) {
        EntryCompany c;
        c.h.rt.config().Set("NAGLUBSLST", memfile::MemValue::Logical(k.verify_insurance));
        PositionEntry entry(c.h.rt, c.tables, c.Of(k.list));
        const EmployeeVerdict v = entry.Employee(k.number);
        V got;
        for (const std::string& m : v.messages) got.push_back(codepage::ToUtf8(m));
        EXPECT_EQ(got, k.messages) << k.list << " " << k.number;
        EXPECT_EQ(v.refused, k.refused) << k.list << " " << k.number;
        EXPECT_EQ(entry.employee(), k.refused ? "" : k.number) << k.list << " " << k.number;
    }
}

TEST(PositionEntry, TheEmployeesAListConcerns) {
    EntryCompany c;
    auto of = [&](const char* symbol, bool without_dismissed) {
        PositionEntry entry(c.h.rt, c.tables, c.Of(symbol));
        return entry.EmployeesOfList(without_dismissed);
    };
    EXPECT_EQ(of("A", false), (V{"000001", "000002", "000011", "000012", "000014", "000015"}));
    EXPECT_EQ(of("A", true), (V{"000001", "000002", "000011", "000014", "000015"}));
    EXPECT_EQ(of("G", false), (V{"000011"}));
    EXPECT_EQ(of("P", false), (V{"000013"}));
}

// Components: K1 entered, A1 algorithmic, AN algorithmic without blocking,
// I1 piecework of lists Z only (kind I ignores that), ZL entered on lists Z,
// GR of group C, OP for legal persons, BZ of the non-personal fund.
struct ComponentCompany : EntryCompany {
    ComponentCompany() {
        Comp("K1", "K", {});
        Comp("A1", "A", {});
        Comp("AN", "A", {{"NIE_BLOK", "T"}});
        Comp("I1", "I", {{"TYP_LISTY", "Z"}});
        Comp("ZL", "K", {{"TYP_LISTY", "Z,U"}});
        Comp("GR", "K", {{"GRUPA_ALG", "C"}});
        Comp("OP", "K", {{"OS_PRAWNA", "T"}});
        Comp("BZ", "K", {{"BEZOSOB_FP", "T"}});
    }
    void Comp(const std::string& symbol, const std::string& kind, worktime::testing::Row more) {
        more.push_back({"SKLADN_PL", symbol});
        more.push_back({"NAZWA_", "Składnik " + symbol});
        more.push_back({"TYP_", kind});
        more.push_back({"ALGORYTM_", kind == "K" ? "" : "1"});
        Add("PKSPL", more);
    }
};

V Symbols(const std::vector<const Component*>& cs) {
    V out;
    for (const Component* c : cs) out.push_back(base::TrimRight(c->symbol));
    return out;
}

TEST(PositionEntry, ComponentsAreTakenByTheApplicabilityRule) {
    struct Case {
        const char* employee;
        const char* symbol;
        const char* refusal;
    };
    const Case cases[] = {
        {"000011", "K1", ""},
        {"000011", "k1", "Brak składnika o takim symbolu"},  // symbols are upper case
        {"000011", "XX", "Brak składnika o takim symbolu"},
        {"000011", "    ", "Brak składnika o takim symbolu"},
        {"000011", "I1", ""},
        {"000011", "ZL", "Składnik sprzeczny z typem listy płac"},
        {"000011", "OP", "Składnik sprzeczny z typem listy płac"},
        {"000011", "BZ", "Składnik sprzeczny z typem listy płac"},
        {"000011", "GR", "Składnik nie dotyczy tego pracownika"},
        {"000012", "GR", ""},
        {"000015", "K1", "Składnik nie dotyczy tego pracownika"},  // hired in April
    };
    ComponentCompany c;
    PositionEntry entry(c.h.rt, c.tables, c.Of("A"));
    for (const Case& k : cases) {
        ASSERT_FALSE(entry.Employee(k.employee).refused);
        const Component* got = nullptr;
        EXPECT_EQ(codepage::ToUtf8(entry.Refusal(k.symbol, &got)), k.refusal) << k.symbol;
        if (*k.refusal == '\0') {
            ASSERT_NE(got, nullptr);
            EXPECT_EQ(base::TrimRight(got->symbol), k.symbol);
        }
    }
    ASSERT_FALSE(entry.Employee("000011").refused);
    EXPECT_EQ(Symbols(entry.Listed(ComponentList::kAll)),
              (V{"A1", "AN", "BZ", "GR", "I1", "K1", "OP", "ZL"}));
    EXPECT_EQ(Symbols(entry.Listed(ComponentList::kApplying)), (V{"A1", "AN", "I1", "K1"}));
    EXPECT_EQ(Symbols(entry.Listed(ComponentList::kEntered)), (V{"K1"}));
    EXPECT_EQ(Symbols(entry.Listed(ComponentList::kOverridable)), (V{"A1", "I1"}));
}

TEST(PositionEntry, BlockingRulesByKind) {
    struct Case {
        char kind;
        bool no_block;
        bool blocked;
        EntryMode mode;
    };
    const Case cases[] = {
        {'K', false, false, EntryMode::kAmount}, {'K', true, false, EntryMode::kAmount},
        {'A', false, false, EntryMode::kBlock},  {'A', true, false, EntryMode::kRefused},
        {'I', true, false, EntryMode::kBlock},  // NIE_BLOK binds kind A only
        {'A', false, true, EntryMode::kUnblock}, {'A', true, true, EntryMode::kUnblock},
        {'I', false, true, EntryMode::kUnblock},
    };
    for (const Case& k : cases) {
        Component c;
        c.kind = k.kind;
        c.no_block = k.no_block;
        EXPECT_EQ(EntryModeOf(c, k.blocked), k.mode) << k.kind << k.no_block << k.blocked;
    }
}

// Entering 0 for an algorithmic component while blocking it keeps a
// blocked zero position; unblocking keeps the amount; an unblocked zero
// deletes; every change clears the month's flags.
TEST(PositionEntry, SavingBlockedAndUnblockedAmounts) {
    ComponentCompany c;
    c.Flags(true);
    const PayrollList l = c.Of("A");
    {
        PositionEntry entry(c.h.rt, c.tables, l);
        ASSERT_FALSE(entry.Employee("000011").refused);
        const Component* a1 = entry.Find("A1");
        Position old;
        ASSERT_FALSE(entry.Reserve(*a1, &old));
        entry.Save(*a1, 0, true);
        std::vector<Position> now = entry.EmployeePositions();
        ASSERT_EQ(now.size(), 1u);
        EXPECT_TRUE(now[0].blocked);
        EXPECT_EQ(now[0].amount, 0);
        EXPECT_EQ(now[0].paid, "20260310");
        ASSERT_TRUE(entry.Reserve(*a1, &old));
        EXPECT_TRUE(old.blocked);
        entry.Save(*a1, 250.5, true);
        ASSERT_TRUE(entry.Reserve(*a1, &old));
        EXPECT_EQ(old.amount, 250.5);
        entry.Save(*a1, old.amount, false);  // unblocked: the amount stays
        now = entry.EmployeePositions();
        ASSERT_EQ(now.size(), 1u);
        EXPECT_FALSE(now[0].blocked);
        EXPECT_EQ(now[0].amount, 250.5);
        const Component* k1 = entry.Find("K1");
        ASSERT_FALSE(entry.Reserve(*k1, &old));
        entry.Save(*k1, 0, false);  // an unblocked zero is no position
        EXPECT_EQ(entry.EmployeePositions().size(), 1u);
    }
    EXPECT_EQ(c.StoredFlags(), (V{"F", "F", "F"}));
}

// A reservation left (Esc during the amount) stays deleted and is the
// record the next entry of the key uses.
TEST(PositionEntry, AReleasedReservationIsReused) {
    ComponentCompany c;
    c.Flags(true);
    {
        PositionEntry entry(c.h.rt, c.tables, c.Of("P"));
        ASSERT_FALSE(entry.Employee("000013").refused);
        const Component* k1 = entry.Find("OP");
        Position old;
        ASSERT_FALSE(entry.Reserve(*k1, &old));
        entry.Release();
        EXPECT_TRUE(entry.EmployeePositions().empty());
        ASSERT_FALSE(entry.Reserve(*k1, &old));
        entry.Save(*k1, 1200, false);
    }
    // A legal person's positions leave the month's flags alone.
    EXPECT_EQ(c.StoredFlags(), (V{"T", "T", "T"}));
    EXPECT_EQ(c.Records("PKPLACE", "SKLADN_PL"), (V{"OP"}));
    ASSERT_EQ(c.Records("PKPLACE", "KWOTA_").size(), 1u);
    EXPECT_EQ(base::Trim(c.Records("PKPLACE", "KWOTA_")[0]), "1200.00");
}

// The analysis evaluates over the stored amounts of the list; it refuses
// what is not algorithmic or is blocked, and steps in calculation order.
TEST(ComponentAnalysis, FormulasOverTheStoredAmounts) {
    testing::PayCompany c;
    c.Component("ZASD", "A", 10, "3000");
    c.Component("PREM", "K", 20);
    c.Component("BRUT", "A", 30, "ZASD+PREM");
    c.Component("BLOK", "A", 40, "BRUT/2");
    c.Component("NETT", "A", 50, "BRUT-BLOK");
    const PayrollList l = c.List("2026", "A", 1, "03", "20260310");
    c.Position(l, "000001", "ZASD", 2800);
    c.Position(l, "000001", "PREM", 500);
    c.Position(l, "000001", "BRUT", 3300);
    c.Position(l, "000001", "BLOK", 100, true);
    ComponentAnalysis a(c.h.rt, c.tables, l);
    EXPECT_TRUE(a.Prepare().empty());
    Positions p(c.h.rt, c.tables);
    const std::vector<Position> stored = p.Of(l, "000001");
    auto find = [&](const char* s) -> const Component* {
        for (const Component& k : a.host().components())
            if (base::TrimRight(k.symbol) == s) return &k;
        return nullptr;
    };
    EXPECT_EQ(codepage::ToUtf8(a.Refusal(nullptr, stored)), "Brak składnika o takim symbolu");
    EXPECT_EQ(codepage::ToUtf8(a.Refusal(find("PREM"), stored)), "Składnik nie jest algorytmiczny");
    EXPECT_EQ(codepage::ToUtf8(a.Refusal(find("BLOK"), stored)),
              "Zablokowany składnik algorytmiczny");
    double v = 0;
    formula::Error e;
    ASSERT_TRUE(a.Evaluate("000001", *find("BRUT"), stored, &v, &e));
    EXPECT_EQ(v, 3300);  // the stored ZASD, not its formula's 3000 (that would give 3500)
    ASSERT_TRUE(a.Evaluate("000001", *find("NETT"), stored, &v, &e));
    EXPECT_EQ(v, 3200);  // the stored BRUT less the blocked BLOK
    auto step = [&](const char* from, int direction,
                    const std::function<bool(const Component&)>& wanted = nullptr) {
        const Component* c = a.Step(*find(from), direction, stored, wanted);
        return c == nullptr ? std::string("none") : base::TrimRight(c->symbol);
    };
    EXPECT_EQ(step("BRUT", 1), "NETT");  // BLOK is blocked
    EXPECT_EQ(step("BRUT", -1), "ZASD");
    EXPECT_EQ(step("ZASD", -1), "none");
    EXPECT_EQ(step("NETT", 1), "none");
    EXPECT_EQ(
        step("ZASD", 1, [](const Component& k) { return base::TrimRight(k.symbol) != "BRUT"; }),
        "NETT");
}

}  // namespace
}  // namespace kestrel::payroll
