// The run of the transfer: the month set up, the namespace prepared, the
// control record's flags, the month withdrawn, the employee loop and the
// end of the run.
#include "insurance/data/insurance_transfer.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "common/session/abandon.h"
#include "insurance/data/insurance_fields.h"
#include "insurance/data/transfer_state.h"
#include "platform/base/files.h"
#include "platform/base/fixed_width.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::insurance {
namespace {

bool HasTable(common::Runtime& rt, common::Tables& tables, const std::string& table) {
    return tables.workspace().Find(table) != nullptr ||
           base::Exists(base::FindNoCase(rt.data_dir(), table + ".DBF"));
}

YearMonth PaymentMonth(const payroll::PayrollList& l) {
    if (l.paid.size() < 6) return {};
    return {std::atoi(l.paid.substr(0, 4).c_str()), std::atoi(l.paid.substr(4, 2).c_str())};
}

// Sets the logical fields of the control record under its lock, committed.
void SetFlags(TransferState& s, std::initializer_list<std::pair<const char*, bool>> flags) {
    dbf::WorkArea& ster = worktime::OpenOnce(s.tables, "PKSTER");
    const dbf::KeepPosition keep(ster);
    if (!ster.GoTop().ok() || ster.eof()) return;
    s.tables.RLock(ster);
    for (auto [field, on] : flags) {
        const int f = ster.FieldIndex(field);
        if (f >= 0) ster.record().SetLogical(f, on);
    }
    const base::Status st = ster.Commit();
    ster.Unlock();
    if (!st.ok())
        throw common::Abandon(common::ShortenMessage(s.rt.Text("Błąd zapisu: ") + ster.alias()));
}

// The lists of the month (by payment date) and the tax years of the lists
// paid in the month; whether a list of the month was paid in the previous
// month with items on it.
void ReadLists(TransferState& s) {
    dbf::WorkArea& a = worktime::OpenOnce(s.tables, "PKLISTY", {"PKLISTY1"});
    const dbf::KeepPosition keep(a);
    std::vector<payroll::PayrollList> all;
    std::vector<uint32_t> recnos;
    for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip(1)) {
        if (a.deleted()) continue;
        all.push_back(payroll::ReadList(a));
        recnos.push_back(a.recno());
    }
    std::map<int, std::string> latest;  // payment month -> the latest payment date
    for (size_t i = 0; i < all.size(); ++i) {
        s.list_records[all[i].Key()] = recnos[i];
        s.list_of_record[recnos[i]] = all[i];
        const YearMonth paid = PaymentMonth(all[i]);
        if (paid.year <= 0) continue;
        std::string& date = latest[paid.Index()];
        if (all[i].paid >= date) {
            date = all[i].paid;
            s.paid_in[paid.Index()] = recnos[i];
        }
    }
    const std::string year = Str4(s.month.year), month = Zero2(s.month.month);
    std::vector<payroll::PayrollList> paid_before;
    for (const payroll::PayrollList& l : all) {
        const YearMonth paid = PaymentMonth(l);
        if (l.year == year && l.month == month) {
            s.lists_of_month.push_back(l);
            if (paid.year > 0 && paid.Index() == s.previous.Index()) paid_before.push_back(l);
        }
        if (paid.year > 0 && paid.Index() == s.month.Index()) {
            const int for_year =
                l.for_year == 0 || l.for_year == paid.year ? paid.year : l.for_year;
            s.tax_years[for_year].insert(l.Key());
        }
    }
    std::stable_sort(s.lists_of_month.begin(), s.lists_of_month.end(),
                     [](const payroll::PayrollList& x, const payroll::PayrollList& y) {
                         return x.paid < y.paid;
                     });
    if (s.rt.config().Logical("NAGLWPPM") && !paid_before.empty() &&
        HasTable(s.rt, s.tables, "PKPLACE")) {
        dbf::WorkArea& place = worktime::OpenOnce(
            s.tables, "PKPLACE",
            {"PKPLACE1", "PKPLACE2", "PKPLACE3", "PKPLACE4", "PKPLACE5", "PKPLACE6"});
        const dbf::KeepPosition keep_place(place);
        worktime::OrderBy(place, "PKPLACE1");
        for (const payroll::PayrollList& l : paid_before)
            if (place.Seek(l.Key()).ok() && place.found() && !place.eof()) s.previous_paid = true;
    }
    for (const payroll::PayrollList& l : s.lists_of_month) {
        const int paid = PaymentMonth(l).year > 0 ? PaymentMonth(l).Index() : -1;
        if (paid != s.month.Index() && !(s.previous_paid && paid == s.previous.Index()))
            s.read_by_list_month = true;
    }
}

void ReadDictionaries(TransferState& s) {
    auto codes = [&](const char* table, const char* field, std::set<std::string>* out) {
        if (!HasTable(s.rt, s.tables, table)) return;
        dbf::WorkArea& a = worktime::OpenOnce(s.tables, table, {std::string(table) + "1"});
        const dbf::KeepPosition keep(a);
        const int f = a.FieldIndex(field);
        for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip(1))
            if (!a.deleted()) out->insert(a.record().GetString(f));
    };
    codes("PKSWYN", "KOD_WYNAGR", &s.wage_codes);
    codes("PKTYTUB", "TYTUL_PODM", &s.title_codes);
    if (HasTable(s.rt, s.tables, "PKRNB")) {
        dbf::WorkArea& a = worktime::OpenOnce(s.tables, "PKRNB", {"PKRNB1"});
        const dbf::KeepPosition keep(a);
        const int f_code = a.FieldIndex("KOD_NIEOB"), f_decl = a.FieldIndex("DEKL_ZUS"),
                  f_group = a.FieldIndex("TYT_PODM_P");
        for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip(1))
            if (!a.deleted() && a.record().GetLogical(f_decl))
                s.declared[base::AsciiUpper(a.record().GetString(f_code))] =
                    a.record().GetString(f_group);
    }
    s.sklad = ReadAlgorithms(s.rt, s.tables, "PKASKLD");
    s.podst = ReadAlgorithms(s.rt, s.tables, "PKAPDST");
    s.okres = ReadAlgorithms(s.rt, s.tables, "PKAOKRN");
    s.zasil = ReadAlgorithms(s.rt, s.tables, "PKAZASL");
    s.skwn = ReadAlgorithms(s.rt, s.tables, "PKASKWN");
    s.wynag = ReadAlgorithms(s.rt, s.tables, "PKAWYNG");
}

void DeletePrintFiles(common::Runtime& rt) {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(rt.data_dir(), ec)) {
        const std::string name = base::AsciiUpper(e.path().filename().string());
        if (name.size() >= 8 && name.compare(0, 4, "TEMP") == 0 &&
            name.compare(name.size() - 4, 4, ".PRT") == 0 && e.is_regular_file(ec))
            std::filesystem::remove(e.path(), ec);
    }
}

bool HasRows(common::Runtime& rt, common::Tables& tables, const std::string& table) {
    if (!HasTable(rt, tables, table)) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, table);
    const dbf::KeepPosition keep(a);
    for (base::Status st = a.GoTop(); st.ok() && !a.eof(); st = a.Skip(1))
        if (!a.deleted()) return true;
    return false;
}

void Run(TransferState& s) {
    TransferOutcome& out = s.out;
    // The namespace: every code 0, the user functions compiled.
    RegisterBenefitShare(s.host.engine(), &s.benefit);
    for (const std::string& m : s.host.PrepareRun()) {
        if (!s.watch().FunctionError(m)) {
            out.message = m;
            out.interrupted = true;
            return;
        }
    }
    for (const payroll::Component& c : s.host.components()) {
        const int slot = s.host.Find(base::TrimRight(c.symbol));
        if (slot >= 0) s.component_slots[base::TrimRight(c.symbol)] = slot;
    }
    payroll::PayrollList month_list;  // of the month, paying nothing itself
    month_list.year = Str4(s.month.year);
    month_list.month = Zero2(s.month.month);
    s.host.SetList(month_list);

    // Nothing may stand as transferred while records are being rebuilt.
    SetFlags(s, {{"NIE_SPR", true}, {"AKT_ZUS", false}});
    ReadLists(s);
    ReadDictionaries(s);
    if (s.month.month == 4 && HasTable(s.rt, s.tables, "PKRZDRO"))
        worktime::OpenOnce(s.tables, "PKRZDRO", {"PKRZDRO1"});

    if (!Qrmanulrmc(s)) {
        s.rt.console().Tone(900, 4);
        out.interrupted = true;
        return;
    }

    dbf::WorkArea& prac = worktime::OpenOnce(s.tables, "PKPRAC", {"PKPRAC1"});
    worktime::OrderBy(prac, "PKPRAC1");
    const int f_legal = prac.FieldIndex("OS_PRAWNA");
    for (base::Status st = prac.GoTop(); st.ok() && !prac.eof();) {
        if (!prac.deleted() && !(f_legal >= 0 && prac.record().GetLogical(f_legal))) {
            if (s.watch().Interrupted()) {
                out.interrupted = true;
                return;
            }
            const uint32_t recno = prac.recno();
            out.message = TransferEmployee(s, prac);
            if (!out.message.empty()) return;
            ++out.employees;
            worktime::OrderBy(prac, "PKPRAC1");
            prac.Goto(recno);
        }
        st = prac.Skip(1);
    }

    SetFlags(s, {{"AKT_ZUS", true}});
    out.completed = true;
    DeletePrintFiles(s.rt);
    out.check_algorithms = HasRows(s.rt, s.tables, "PKASPRZ");
}

}  // namespace

TransferState::TransferState(common::Runtime& r, common::Tables& t, TransferObserver* o)
    : rt(r), tables(t), observer(o), host(r, t) {
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    month = {m.year, m.month};
    previous = month.Back(1);
    next = month.Back(-1);
    after_next = month.Back(-2);
    last_day = base::DaysInMonth(m.year, m.month);
    first_day = {m.year, m.month, 1};
    ppk = rt.config().Logical("NAGLPPK20");
}

void TransferState::CurrentList(uint32_t recno) {
    if (recno == 0) return;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKLISTY", {"PKLISTY1"});
    if (a.recno() != recno) a.Goto(recno);
    if (auto it = list_of_record.find(recno); it != list_of_record.end()) host.SetList(it->second);
}

void TransferState::CurrentListPaidIn(const YearMonth& m) {
    auto it = paid_in.find(m.Index());
    if (it != paid_in.end()) return CurrentList(it->second);
    if (!lists_of_month.empty()) CurrentList(lists_of_month.back().Key());
}

std::vector<base::YearMonth> HealthSettlementMonths(int year, int month) {
    std::vector<base::YearMonth> out;
    if (month != 4) return out;
    for (int m = 1; m <= 12; ++m) out.push_back({year - 1, m});
    out.push_back({year, 1});
    return out;
}

TransferPreview PreviewTransfer(common::Runtime& rt, common::Tables& tables) {
    TransferPreview out;
    const worktime::SettlementMonth m = worktime::ReadSettlementMonth(rt, tables);
    out.year = m.year;
    out.month = m.month;
    const std::string key = Str4(m.year) + Zero2(m.month);
    for (const char* table : {"PKSKLAD", "PKZASIL", "PKKSKWN", "PKWYNAG", "PKPODST", "PKOKRES"}) {
        if (!HasTable(rt, tables, table)) continue;
        dbf::WorkArea& a = worktime::OpenOnce(tables, table, {std::string(table) + "1"});
        const dbf::KeepPosition keep(a);
        worktime::OrderBy(a, std::string(table) + "1");
        const int f_fix = a.FieldIndex("KOREKTA_"), f_lock = a.FieldIndex("NIE_AKT_62");
        for (base::Status st = a.Seek(key, true); st.ok() && !a.eof(); st = a.Skip(1)) {
            std::string k;
            bool included = false;
            a.index(static_cast<size_t>(a.order() - 1)).KeyOf(a.record(), &k, &included);
            if (k.compare(0, key.size(), key) != 0) break;
            if (!a.deleted() && a.record().GetLogical(f_fix) && !a.record().GetLogical(f_lock))
                ++out.corrected_unlocked;
        }
    }
    return out;
}

TransferOutcome Transfer(common::Runtime& rt, common::Tables& tables, TransferObserver* observer) {
    std::unique_ptr<TransferState> s;
    try {
        s = std::make_unique<TransferState>(rt, tables, observer);
        Run(*s);
    } catch (const common::Abandon& e) {
        TransferOutcome failed = s ? s->out : TransferOutcome{};
        failed.message = e.message();
        failed.completed = false;
        return failed;
    }
    return s->out;
}

}  // namespace kestrel::insurance
