#include "payroll/data/payroll_records.h"

#include <cstdio>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

class Fields {
  public:
    explicit Fields(dbf::WorkArea& area) : area_(area), r_(area.record()) {}
    std::string Text(const char* field) const { return base::TrimRight(Raw(field)); }
    std::string Raw(const char* field) const {
        const int f = area_.FieldIndex(field);
        return f < 0 ? std::string() : r_.GetString(f);
    }
    char Letter(const char* field) const {
        const std::string s = Raw(field);
        return s.empty() ? ' ' : s[0];
    }
    int Int(const char* field) const {
        const int f = area_.FieldIndex(field);
        return f < 0 ? 0 : static_cast<int>(r_.GetNumber(f));
    }
    bool Flag(const char* field) const {
        const int f = area_.FieldIndex(field);
        return f >= 0 && r_.GetLogical(f);
    }
    std::string Memo(const char* field) const {
        const int f = area_.FieldIndex(field);
        std::string text;
        if (f >= 0 && !area_.ReadMemo(f, &text).ok()) text.clear();
        return text;
    }

  private:
    dbf::WorkArea& area_;
    const dbf::Record& r_;
};

}  // namespace

bool CompanyHas(common::Tables& tables, std::string_view table) {
    if (tables.workspace().Find(table) != nullptr) return true;
    return base::Exists(base::FindNoCase(tables.rt().data_dir(), std::string(table) + ".DBF"));
}

std::string StrN(int n, int width) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*d", width, n);
    std::string s(buf);
    if (static_cast<int>(s.size()) > width) s.assign(static_cast<size_t>(width), '*');
    return s;
}

std::string PayrollList::Key() const {
    return year + symbol + StrN(number, 4);
}

Component ReadComponent(dbf::WorkArea& a) {
    const Fields f(a);
    Component c;
    c.symbol = f.Raw("SKLADN_PL");
    c.name = f.Text("NAZWA_");
    c.kind = f.Letter("TYP_");
    c.order = f.Int("SEKW_OBL");
    c.algorithm = f.Memo("ALGORYTM_");
    c.deduction = f.Flag("POTRAC_");
    c.off_list = f.Flag("POZA_LISTA");
    c.months_back = f.Int("IL_MC_WST");
    c.by_payment_month = f.Flag("MC_WYP_LST");
    c.monthly = f.Flag("ZAKR_MC_LS");
    c.group = f.Letter("GRUPA_ALG");
    c.list_kinds = f.Text("TYP_LISTY");
    c.mask = f.Text("MASKA_");
    c.print = f.Flag("DRUK_");
    c.print_order = f.Int("SEKW_WYDR");
    c.income_kind = f.Text("TYTUL_WYP");
    c.income_field = f.Text("NAZWA_POLA");
    c.non_personal = f.Flag("BEZOSOB_FP");
    c.insurance = f.Flag("ZUS_");
    c.benefit = f.Flag("ZASILEK_");
    c.absence_codes = f.Text("TYP_NIEOB");
    c.memory_only = f.Flag("TYLKO_MEM");
    c.no_block = f.Flag("NIE_BLOK");
    c.no_sum = f.Flag("NIE_SUMA");
    c.always_print = f.Flag("ZAWSZE_DR");
    c.legal_person = f.Flag("OS_PRAWNA");
    return c;
}

std::vector<Component> ReadComponents(common::Tables& tables, std::string_view index) {
    std::vector<Component> out;
    if (!CompanyHas(tables, "PKSPL")) return out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKSPL", {std::string(index)});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, index);
    for (base::Status s = a.GoTop(); s.ok() && !a.eof(); s = a.Skip(1))
        if (!a.deleted()) out.push_back(ReadComponent(a));
    return out;
}

ListSymbol ReadListSymbol(dbf::WorkArea& a) {
    const Fields f(a);
    ListSymbol s;
    s.symbol = f.Raw("TYP_LST");
    s.name = f.Text("NAZWA_LST");
    s.own_numbering = f.Flag("LOCAL_NR");
    s.once_a_month = f.Flag("RAZ_NA_MC");
    s.group = f.Letter("GRUPA_ALG");
    s.matrix = f.Text("TBW_");
    s.non_personal = f.Flag("BEZOSOB_FP");
    s.legal_person = f.Flag("OS_PRAWNA");
    s.contract = f.Letter("TYP_UZ_UD");
    s.no_insurance = f.Flag("BEZ_UB_SP");
    s.father_name = f.Flag("IM_OJCA");
    s.print_title = f.Text("NAZWA_WYDR");
    s.print_columns = f.Int("IL_KOL_WYD");
    return s;
}

bool FindListSymbol(common::Tables& tables, std::string_view symbol, ListSymbol* out) {
    if (!CompanyHas(tables, "PKSLST")) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKSLST", {"PKSLST1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKSLST1");
    std::string key(symbol);
    key.resize(2, ' ');
    if (!a.Seek(key).ok() || a.eof() || a.record().GetString(a.FieldIndex("TYP_LST")) != key)
        return false;
    if (a.deleted()) return false;
    *out = ReadListSymbol(a);
    return true;
}

bool HasKey(common::Tables& tables, std::string_view table, std::string_view index,
            std::string_view key, int width) {
    if (!CompanyHas(tables, table)) return false;
    dbf::WorkArea& a = worktime::OpenOnce(tables, table, {std::string(index)});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, index);
    std::string wanted(key);
    wanted.resize(static_cast<size_t>(width), ' ');
    return a.Seek(wanted).ok() && a.found() && !a.deleted();
}

PayrollList ReadList(dbf::WorkArea& a) {
    const Fields f(a);
    PayrollList l;
    l.year = f.Raw("ROK_LST");
    l.symbol = f.Raw("TYP_LST");
    l.number = f.Int("NR_LST");
    l.month = f.Raw("MC_LST");
    l.paid = f.Text("DATA_WYP");
    l.open = f.Flag("WSK_AKTYWN");
    l.to_tax = f.Flag("GENER_DOCH");
    l.for_year = f.Int("ZA_ROK");
    return l;
}

}  // namespace kestrel::payroll
