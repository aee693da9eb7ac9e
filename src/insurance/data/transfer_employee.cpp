// One employee of the transfer: his titles, his variables, and for each
// title the contributions, bases, periods, benefits and remuneration
// components; then his remuneration totals.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "insurance/data/employment_periods.h"
#include "insurance/data/insurance_fields.h"
#include "insurance/data/insurance_titles.h"
#include "insurance/data/transfer_state.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/rounding.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::insurance {
namespace {

using formula::Value;

struct Person {
    std::string number;
    base::Date hired, dismissed;
    char pension = ' ', disability = ' ';
    std::string tax_form;  // FORMA_OPOD
    double numerator = 0, denominator = 0;
    EmployeeTitles titles;
};

// The switches the contribution algorithms of the years after 2007 see:
// NAGLMINPR6 false, NAGLPR25 true, NAGLZPCH false, put back as they were
// however the evaluation ends.
class ForcedSwitches {
  public:
    ForcedSwitches(common::Configuration& c, bool on) : config_(c) {
        if (!on) return;
        for (auto [name, value] : {std::pair{"NAGLMINPR6", false}, std::pair{"NAGLPR25", true},
                                   std::pair{"NAGLZPCH", false}}) {
            saved_.push_back({name, config_.Find(name)});
            config_.Set(name, memfile::MemValue::Logical(value));
        }
    }
    ~ForcedSwitches() {
        for (const auto& [name, value] : saved_) {
            if (value)
                config_.Set(name, *value);
            else
                config_.Remove(name);
        }
    }
    ForcedSwitches(const ForcedSwitches&) = delete;
    ForcedSwitches& operator=(const ForcedSwitches&) = delete;

  private:
    common::Configuration& config_;
    std::vector<std::pair<std::string, std::optional<memfile::MemValue>>> saved_;
};

char CharOf(const dbf::Record& r, int f) {
    if (f < 0) return ' ';
    const std::string_view raw = r.Raw(f);
    return raw.empty() ? ' ' : raw[0];
}

base::Date DateOf(const dbf::Record& r, int f) {
    if (f < 0) return {};
    return base::DateOfDbfText(r.GetDate(f));
}

bool HasTable(TransferState& s, const std::string& table) {
    return s.tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(s.rt.data_dir(), table + ".DBF"));
}

Person ReadPerson(TransferState& s, dbf::WorkArea& prac) {
    const dbf::Record& r = prac.record();
    Person p;
    p.number = r.GetString(prac.FieldIndex("NR_PRAC"));
    p.hired = DateOf(r, prac.FieldIndex("DATA_ZATR"));
    p.dismissed = DateOf(r, prac.FieldIndex("DATA_ZWOLN"));
    p.pension = CharOf(r, prac.FieldIndex("TYTUL_EMER"));
    p.disability = CharOf(r, prac.FieldIndex("TYTUL_STNP"));
    const int f_form = prac.FieldIndex("FORMA_OPOD");
    if (f_form >= 0) p.tax_form = r.GetString(f_form);
    p.numerator = r.GetNumber(prac.FieldIndex("ETAT_L"));
    p.denominator = r.GetNumber(prac.FieldIndex("ETAT_M"));
    p.titles.main = r.GetString(prac.FieldIndex("TYTUL_PODM"));
    p.titles.hired = p.hired;
    p.titles.dismissed = p.dismissed;
    if (HasTable(s, "PKKTYUB")) {
        dbf::WorkArea& k = worktime::OpenOnce(s.tables, "PKKTYUB", {"PKKTYUB1", "PKKTYUB2"});
        const dbf::KeepPosition keep(k);
        worktime::OrderBy(k, "PKKTYUB1");
        const int f_nr = k.FieldIndex("NR_PRAC"), f_code = k.FieldIndex("TYTUL_PODM"),
                  f_from = k.FieldIndex("DATA_OD"), f_to = k.FieldIndex("DO_DATA");
        for (base::Status st = k.Seek(p.number, true); st.ok() && !k.eof(); st = k.Skip(1)) {
            if (k.record().Raw(f_nr) != p.number) break;
            p.titles.extra.push_back({k.record().GetString(f_code), DateOf(k.record(), f_from),
                                      DateOf(k.record(), f_to)});
        }
    }
    return p;
}

// The employee's items paid in the month (and in the previous month when a
// list of the month was paid then), and those of the lists of the month.
void ReadItems(TransferState& s) {
    s.items.clear();
    if (!HasTable(s, "PKPLACE")) return;
    dbf::WorkArea& place = worktime::OpenOnce(
        s.tables, "PKPLACE",
        {"PKPLACE1", "PKPLACE2", "PKPLACE3", "PKPLACE4", "PKPLACE5", "PKPLACE6"});
    const dbf::KeepPosition keep(place);
    const dbf::Record& r = place.record();
    const int f_year = place.FieldIndex("ROK_LST"), f_type = place.FieldIndex("TYP_LST"),
              f_nr = place.FieldIndex("NR_LST"), f_month = place.FieldIndex("MC_LST"),
              f_paid = place.FieldIndex("DATA_WYP"), f_prac = place.FieldIndex("NR_PRAC"),
              f_skl = place.FieldIndex("SKLADN_PL"), f_kw = place.FieldIndex("KWOTA_");
    const std::string list_month = Str4(s.month.year) + Zero2(s.month.month);
    std::set<uint32_t> seen;
    auto read = [&](std::string_view index, const std::string& head) {
        worktime::OrderBy(place, index);
        const std::string key = head + s.employee;
        for (base::Status st = place.Seek(key, true); st.ok() && !place.eof(); st = place.Skip(1)) {
            const std::string at = index == "PKPLACE2"
                                       ? std::string(r.Raw(f_year)) + std::string(r.Raw(f_month))
                                       : std::string(r.Raw(f_paid)).substr(0, 6);
            if (at + std::string(r.Raw(f_prac)) != key) break;
            if (place.deleted() || !seen.insert(place.recno()).second) continue;
            Item i;
            i.list = std::string(r.Raw(f_year)) + std::string(r.Raw(f_type)) +
                     payroll::StrN(static_cast<int>(r.GetNumber(f_nr)), 4);
            i.symbol = base::TrimRight(r.GetString(f_skl));
            i.amount = r.GetNumber(f_kw);
            const std::string paid = r.GetDate(f_paid);
            if (paid.size() >= 6)
                i.paid = YearMonth{std::atoi(paid.substr(0, 4).c_str()),
                                   std::atoi(paid.substr(4, 2).c_str())}
                             .Index();
            i.of_month = std::string(r.Raw(f_year)) + std::string(r.Raw(f_month)) == list_month;
            s.items.push_back(std::move(i));
        }
    };
    if (s.previous_paid) read("PKPLACE5", payroll::Yyyymm(s.previous));
    read("PKPLACE5", payroll::Yyyymm(s.month));
    if (s.read_by_list_month) read("PKPLACE2", list_month);
}

void ReadAbsences(TransferState& s) {
    s.absences.clear();
    if (!HasTable(s, "PKNIEOB")) return;
    dbf::WorkArea& a = worktime::OpenOnce(s.tables, "PKNIEOB", {"PKNIEOB1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKNIEOB1");
    const dbf::Record& r = a.record();
    const int f_nr = a.FieldIndex("NR_PRAC"), f_code = a.FieldIndex("KOD_NIEOB"),
              f_from = a.FieldIndex("DZ_ROZP"), f_to = a.FieldIndex("DZ_ZAK"),
              f_ky = a.FieldIndex("ROK_KAL"), f_km = a.FieldIndex("MC_KAL"),
              f_zy = a.FieldIndex("ROK_ZUS"), f_zm = a.FieldIndex("MC_ZUS");
    const std::string key = MonthKey(s.month) + s.employee;
    for (base::Status st = a.Seek(key, true); st.ok() && !a.eof(); st = a.Skip(1)) {
        if (r.Raw(f_nr) != s.employee ||
            static_cast<int>(r.GetNumber(a.FieldIndex("ROK_"))) != s.month.year ||
            static_cast<int>(r.GetNumber(a.FieldIndex("MIESIAC_"))) != s.month.month)
            break;
        if (a.deleted()) continue;
        AbsenceLine l;
        l.recno = a.recno();
        l.code = base::Padded(base::AsciiUpper(r.GetString(f_code)), 4);
        l.first = static_cast<int>(r.GetNumber(f_from));
        l.last = static_cast<int>(r.GetNumber(f_to));
        l.days = r.GetNumber(a.FieldIndex("ILOSC_"));
        l.calendar_year = static_cast<int>(r.GetNumber(f_ky));
        l.calendar_month = static_cast<int>(r.GetNumber(f_km));
        l.zus_year = static_cast<int>(r.GetNumber(f_zy));
        l.zus_month = static_cast<int>(r.GetNumber(f_zm));
        s.absences.push_back(l);
    }
}

std::vector<FractionChange> ReadChanges(TransferState& s) {
    std::vector<FractionChange> out;
    if (!HasTable(s, "PKZMPRC")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(s.tables, "PKZMPRC", {"PKZMPRC1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKZMPRC1");
    const int f_nr = a.FieldIndex("NR_PRAC"), f_name = a.FieldIndex("NAZWA_POLA"),
              f_until = a.FieldIndex("DATA_DO"), f_value = a.FieldIndex("WARTOSC_");
    for (const char* field : {"ETAT_L", "ETAT_M"}) {
        const std::string key = s.employee + base::Padded(field, 10);
        for (base::Status st = a.Seek(key, true); st.ok() && !a.eof(); st = a.Skip(1)) {
            if (a.deleted()) continue;
            if (std::string(a.record().Raw(f_nr)) + std::string(a.record().Raw(f_name)) != key)
                break;
            out.push_back(
                {field[5] == 'L', DateOf(a.record(), f_until),
                 std::strtod(base::Trim(a.record().GetString(f_value)).c_str(), nullptr)});
        }
    }
    return out;
}

AlgorithmRow* RowOf(std::vector<std::unique_ptr<AlgorithmRow>>& rows, const std::string& group) {
    for (auto& r : rows)
        if (r->group == group) return r.get();
    return nullptr;
}

void SetKey(dbf::WorkArea& a, const Person& p, const YearMonth& m, const std::string& title) {
    dbf::Record& r = a.record();
    r.SetString(a.FieldIndex("NR_PRAC"), p.number);
    r.SetNumber(a.FieldIndex("ROK_"), m.year);
    r.SetNumber(a.FieldIndex("MC_"), m.month);
    if (a.FieldIndex("TYT_UBEZP") >= 0) r.SetString(a.FieldIndex("TYT_UBEZP"), title);
}

// One contribution record of month `m` from the items paid in `m`.
std::string Contribution(TransferState& s, const Person& p, AlgorithmRow& row,
                         const std::string& title, const YearMonth& m, bool previous) {
    const int paid = m.Index();
    s.LoadSums([paid](const Item& i) { return i.paid == paid; });
    s.CurrentListPaidIn(m);
    std::string message;
    bool holds = false;
    {
        const ForcedSwitches forced(s.rt.config(), s.month.year > 2007);
        if (!Condition(s, row, true, &holds, &message)) return message;
        if (!holds) return {};
        dbf::WorkArea& a = OpenTarget(s, "PKSKLAD");
        if (!Claim(s, a, "PKSKLAD1", MonthKey(m) + p.number + title)) return {};
        SetKey(a, p, m, title);
        if (!FillFields(s, row, Qrmtbs(s.ppk), a, false, &message)) {
            Abort(a);
            return message;
        }
        dbf::Record& r = a.record();
        r.SetString(a.FieldIndex("FORMA_OPOD"), row.group == "05" ? p.tax_form : "");
        r.SetLogical(a.FieldIndex("PPK_ZAK_BM"), s.rt.config().Logical("NAGLPPKBM"));
        r.SetLogical(a.FieldIndex("WYP_MC_P"), previous);
        Release(s, a);
    }
    return {};
}

std::string Bases(TransferState& s, const Person& p, AlgorithmRow& row, const std::string& title) {
    for (const auto& [year, lists] : s.tax_years) {
        const std::set<std::string>& of_year = lists;
        s.LoadSums([&](const Item& i) { return of_year.count(i.list) != 0; });
        if (!of_year.empty()) s.CurrentList(*of_year.rbegin());
        std::string message;
        bool holds = false;
        if (!Condition(s, row, true, &holds, &message)) return message;
        if (!holds) continue;
        dbf::WorkArea& a = OpenTarget(s, "PKPODST");
        if (!Claim(s, a, "PKPODST1", MonthKey(s.month) + p.number + title + Str4(year))) continue;
        SetKey(a, p, s.month, title);
        a.record().SetNumber(a.FieldIndex("ZA_ROK"), year);
        if (!FillFields(s, row, Qrmtbp(), a, false, &message)) {
            Abort(a);
            return message;
        }
        Release(s, a);
    }
    return {};
}

std::string Periods(TransferState& s, const Person& p, const std::string& group,
                    const std::string& title) {
    const int paid = s.month.Index();
    for (auto& row : s.okres) {
        if (row->group != group) continue;
        s.LoadSums([paid](const Item& i) { return i.paid == paid; });
        s.CurrentListPaidIn(s.month);
        std::string message;
        bool holds = false;
        if (!Condition(s, *row, false, &holds, &message)) return message;
        if (!holds) continue;
        PeriodFacts f;
        f.year = s.month.year;
        f.month = s.month.month;
        f.hired = p.hired;
        f.dismissed = p.dismissed;
        f.numerator = p.numerator;
        f.denominator = p.denominator;
        f.changes = ReadChanges(s);
        const std::vector<std::string> breaks = Qrmlstnb(row->texts["LISTA_NB"]);
        for (const AbsenceLine& l : s.absences) {
            const bool of_month = l.calendar_year == 0 || (l.calendar_year == s.month.year &&
                                                           l.calendar_month == s.month.month);
            if (of_month && std::find(breaks.begin(), breaks.end(), l.code) != breaks.end())
                f.absences.push_back({l.first, l.last});
        }
        dbf::WorkArea& a = OpenTarget(s, "PKOKRES");
        for (const EmploymentPeriod& e : EmploymentPeriods(f)) {
            const std::string from = base::DbfDateText(e.from);
            if (!Claim(s, a, "PKOKRES1", MonthKey(s.month) + p.number + title + from)) continue;
            SetKey(a, p, s.month, title);
            dbf::Record& r = a.record();
            r.SetDate(a.FieldIndex("DATA_OD"), from);
            r.SetDate(a.FieldIndex("DO_DATA"), base::DbfDateText(e.to));
            r.SetNumber(a.FieldIndex("WYMIAR_L"), e.value);
            r.SetNumber(a.FieldIndex("WYMIAR_M"), 100);
            Release(s, a);
        }
    }
    return {};
}

// One line of PKZASIL; `lp` is its running number.
struct BenefitLine {
    std::string code = "    ";
    int lp = 0;
    const payroll::PayrollList* list = nullptr;
    int first = 0, last = 0, days = 0;
    int calendar_year = 0, calendar_month = 0;
    YearMonth zus;
};

std::string WriteBenefit(TransferState& s, const Person& p, AlgorithmRow& row,
                         const std::string& title, const BenefitLine& line) {
    dbf::WorkArea& a = OpenTarget(s, "PKZASIL");
    const std::string list_year = Str4(s.month.year), list_month = Zero2(s.month.month);
    if (!Claim(s, a, "PKZASIL1",
               list_year + list_month + p.number + title + line.code + payroll::StrN(line.lp, 2)))
        return {};
    dbf::Record& r = a.record();
    r.SetString(a.FieldIndex("NR_PRAC"), p.number);
    r.SetString(a.FieldIndex("ROK_LST"), list_year);
    r.SetString(a.FieldIndex("MC_LST"), list_month);
    r.SetString(a.FieldIndex("TYT_UBEZP"), title);
    r.SetString(a.FieldIndex("KOD_NIEOB"), line.code);
    r.SetNumber(a.FieldIndex("LP_"), line.lp);
    r.SetString(a.FieldIndex("TYP_LST"), line.list ? line.list->symbol : "");
    r.SetNumber(a.FieldIndex("NR_LST"), line.list ? line.list->number : 0);
    r.SetDate(a.FieldIndex("DATA_WYP"), line.list ? line.list->paid : "");
    r.SetNumber(a.FieldIndex("OD_DZIEN"), line.first);
    r.SetNumber(a.FieldIndex("DZIEN_DO"), line.last);
    r.SetNumber(a.FieldIndex("ILOSC_DNI"), line.days);
    r.SetNumber(a.FieldIndex("ROK_KAL"), line.calendar_year);
    r.SetNumber(a.FieldIndex("MC_KAL"), line.calendar_month);
    r.SetNumber(a.FieldIndex("ROK_ZUS"), line.zus.year);
    r.SetNumber(a.FieldIndex("MC_ZUS"), line.zus.month);
    std::string message;
    if (!FillFields(s, row, Qrmtbz(), a, false, &message)) {
        Abort(a);
        return message;
    }
    Release(s, a);
    return {};
}

std::string Benefits(TransferState& s, const Person& p, const std::string& group,
                     const std::string& title) {
    int component_lp = 0;
    for (auto& row : s.zasil) {
        if (row->group != group || !base::IsBlank(row->absence)) continue;
        const std::string symbol = base::TrimRight(row->component);
        if (symbol.empty() || s.component_slots.count(symbol) == 0)
            return s.rt.Text("Błędny składnik: ") + "\"" + symbol + "\"" +
                   s.rt.Text(" w zbiorze PKAZASL");
        for (const payroll::PayrollList& l : s.lists_of_month) {
            const std::string key = l.Key();
            double sum = 0;
            for (const Item& i : s.items)
                if (i.list == key && i.symbol == symbol) sum += i.amount;
            if (sum == 0) continue;
            s.LoadSums([&](const Item& i) { return i.list == key; });
            s.CurrentList(key);
            BenefitLine line;
            line.lp = ++component_lp;
            line.list = &l;
            // The declaration month is the month of payment.
            line.zus = {std::atoi(l.paid.substr(0, 4).c_str()),
                        l.paid.size() >= 6 ? std::atoi(l.paid.substr(4, 2).c_str()) : 0};
            if (row->whole_month) {
                line.first = 1;
                line.last = line.days = s.last_day;
                line.calendar_year = s.month.year;
                line.calendar_month = s.month.month;
            }
            if (std::string m = WriteBenefit(s, p, *row, title, line); !m.empty()) return m;
        }
    }
    // The declared absences of the group, each under the row of its code
    // (or of the code that replaces it), in order of code and end day.
    struct Served {
        const AbsenceLine* line;
        AlgorithmRow* row;
        std::string code;
    };
    std::vector<Served> served;
    for (const AbsenceLine& l : s.absences) {
        auto d = s.declared.find(l.code);
        if (d == s.declared.end()) continue;
        if (!base::IsBlank(d->second) && base::Padded(d->second, 2) != group) continue;
        AlgorithmRow* row = nullptr;
        for (auto& r : s.zasil)
            if (r->group == group && r->absence == l.code) row = r.get();
        if (row == nullptr) continue;
        std::string code = l.code;
        if (!base::IsBlank(row->substitute)) {
            code = row->substitute;
            AlgorithmRow* instead = nullptr;
            for (auto& r : s.zasil)
                if (r->group == group && r->absence == code) instead = r.get();
            if (instead != nullptr) row = instead;
        }
        served.push_back({&l, row, code});
    }
    std::stable_sort(served.begin(), served.end(), [](const Served& x, const Served& y) {
        return x.code != y.code ? x.code < y.code : x.line->last < y.line->last;
    });
    s.benefit.served.clear();
    for (const Served& x : served)
        s.benefit.served.push_back({x.line->recno, x.line->code, x.line->days});
    std::map<std::string, int> lp;
    for (size_t i = 0; i < served.size();) {
        size_t j = i + 1;
        if (served[i].row->once_a_month)
            while (j < served.size() && served[j].code == served[i].code) ++j;
        BenefitLine line;
        line.code = served[i].code;
        line.lp = ++lp[line.code];
        const AbsenceLine& first = *served[i].line;
        line.first = first.first;
        line.last = first.last;
        for (size_t k = i; k < j; ++k) {
            line.first = std::min(line.first, served[k].line->first);
            line.last = std::max(line.last, served[k].line->last);
            line.days += served[k].line->last - served[k].line->first + 1;
        }
        line.calendar_year = first.calendar_year != 0 ? first.calendar_year : s.month.year;
        line.calendar_month = first.calendar_year != 0 ? first.calendar_month : s.month.month;
        line.zus = first.zus_year != 0 ? YearMonth{first.zus_year, first.zus_month} : s.month;
        s.LoadSums([](const Item& it) { return it.of_month; });
        s.CurrentListPaidIn(s.month);
        dbf::WorkArea& nieob = worktime::OpenOnce(s.tables, "PKNIEOB", {"PKNIEOB1"});
        nieob.Goto(first.recno);  // the absence is the current record of PKNIEOB
        s.benefit.line.clear();
        for (size_t k = i; k < j; ++k) s.benefit.line.insert(served[k].line->recno);
        std::string m = WriteBenefit(s, p, *served[i].row, title, line);
        s.benefit.line.clear();
        if (!m.empty()) return m;
        i = j;
    }
    return {};
}

std::string Wages(TransferState& s, const Person& p, const std::string& group,
                  const std::string& title) {
    const int paid = s.month.Index();
    std::map<std::string, int> lp;
    for (auto& row : s.skwn) {
        if (row->group != group) continue;
        if (s.wage_codes.count(row->code) == 0)
            return s.rt.Text("Błędny kod wynagrodzenia w PKASKWN");
        s.LoadSums([paid](const Item& i) { return i.paid == paid; });
        s.CurrentListPaidIn(s.month);
        Value amount, from, to;
        std::string message;
        if (!row->Empty("KWOTA_") && !EvaluateFormula(s, *row, "KWOTA_", &amount, &message))
            return message;
        if (!row->Empty("KWOTA_") && !amount.IsNumber()) return s.rt.Text("Błędna wartość KWOTA_");
        for (auto [field, v] : {std::pair{"DATA_OD", &from}, std::pair{"DO_DATA", &to}}) {
            if (row->Empty(field)) continue;
            if (!EvaluateFormula(s, *row, field, v, &message)) return message;
            if (!v->IsDate()) return s.rt.Text("Błędna wartość ") + field;
        }
        const double kwota = amount.IsNumber() ? amount.number() : 0;
        if (base::YRound(kwota, 2) == 0) continue;
        dbf::WorkArea& a = OpenTarget(s, "PKKSKWN");
        const int n = ++lp[row->code];
        if (!Claim(s, a, "PKKSKWN1",
                   MonthKey(s.month) + p.number + title + row->code + payroll::StrN(n, 2)))
            continue;
        SetKey(a, p, s.month, title);
        dbf::Record& r = a.record();
        r.SetString(a.FieldIndex("KOD_WYNAGR"), row->code);
        r.SetNumber(a.FieldIndex("LP_"), n);
        r.SetNumber(a.FieldIndex("KWOTA_"), base::YRound(kwota, 2));
        auto date = [](const Value& v) {
            return v.IsDate() && v.julian() != 0
                       ? base::DbfDateText(base::DateOfJulianDay(v.julian()))
                       : std::string();
        };
        r.SetDate(a.FieldIndex("DATA_OD"), date(from));
        r.SetDate(a.FieldIndex("DO_DATA"), date(to));
        r.SetLogical(a.FieldIndex("WYP_MC_P"), false);
        Release(s, a);
    }
    return {};
}

std::string Totals(TransferState& s, const Person& p) {
    if (s.wynag.empty()) return {};
    AlgorithmRow& row = *s.wynag.front();
    s.LoadSums([](const Item& i) { return i.of_month; });
    std::string message;
    bool holds = false;
    if (!Condition(s, row, true, &holds, &message)) return message;
    if (!holds) return {};
    dbf::WorkArea& a = OpenTarget(s, "PKWYNAG");
    if (!Claim(s, a, "PKWYNAG1", MonthKey(s.month) + p.number)) return {};
    SetKey(a, p, s.month, "");
    for (const std::string& f : Qrmtbw2()) a.record().SetNumber(a.FieldIndex(f), 0);
    if (!FillFields(s, row, Qrmtbw1(), a, false, &message)) {
        Abort(a);
        return message;
    }
    for (const payroll::PayrollList& l : s.lists_of_month) {
        const std::string key = l.Key();
        s.LoadSums([&](const Item& i) { return i.list == key; });
        s.CurrentList(key);
        if (!FillFields(s, row, Qrmtbw2(), a, true, &message)) {
            Abort(a);
            return message;
        }
    }
    Release(s, a);
    return {};
}

bool KnownGroup(const TransferState& s, const std::string& group) {
    auto it = s.title_codes.lower_bound(group);
    return it != s.title_codes.end() && it->compare(0, 2, group) == 0;
}

}  // namespace

std::string TransferEmployee(TransferState& s, dbf::WorkArea& prac) {
    const Person p = ReadPerson(s, prac);
    s.employee = p.number;
    std::vector<std::string> codes;
    if (!ResolveTitles(p.titles, s.first_day, &codes))
        return s.rt.Text("Zdublowany tytuł ubezpieczenia");
    s.host.LoadEmployee(p.number);
    ReadItems(s);
    ReadAbsences(s);
    const bool left_before =
        !p.dismissed.empty() && base::JulianDay(p.dismissed) < base::JulianDay(s.first_day);
    std::set<std::string> handled;
    for (const std::string& code : codes) {
        // The algorithms and checks are those of the title's own group; a
        // former employee's record is only declared under "3000".
        const std::string title = InsuranceTitle(code, p.pension, p.disability, left_before);
        const std::string group = code.substr(0, 2);
        if (handled.count(group) != 0 && group != "12") continue;
        // The blank title stands for records tied to no title: it is no
        // code of the dictionary and has no pension or disability code.
        if (!base::IsBlank(title) &&
            (!KnownGroup(s, group) || !AllowedCodes(p.pension, p.disability)))
            return s.rt.Text("Błędny tytuł ubezpieczenia");
        const bool first_of_group = handled.insert(group).second;
        s.watch().Employee(p.number, title);
        if (AlgorithmRow* row = RowOf(s.sklad, group)) {
            if (s.previous_paid)
                if (std::string m = Contribution(s, p, *row, title, s.previous, true); !m.empty())
                    return m;
            if (std::string m = Contribution(s, p, *row, title, s.month, false); !m.empty())
                return m;
        }
        if (group != "12" && group != "22")
            if (AlgorithmRow* row = RowOf(s.podst, group))
                if (std::string m = Bases(s, p, *row, title); !m.empty()) return m;
        if (std::string m = Periods(s, p, group, title); !m.empty()) return m;
        if (first_of_group)
            if (std::string m = Benefits(s, p, group, title); !m.empty()) return m;
        if (std::string m = Wages(s, p, group, title); !m.empty()) return m;
    }
    return Totals(s, p);
}

}  // namespace kestrel::insurance
