#include "tax/records/income_records.h"

#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::tax {

std::vector<IncomeRecord> ReadIncomeRecords(common::Tables& tables, std::string_view year,
                                            std::string_view employee) {
    std::vector<IncomeRecord> out;
    dbf::WorkArea& a = worktime::OpenOnce(tables, "PKDOCH", {"PKDOCH1"});
    const dbf::KeepPosition keep(a);
    worktime::OrderBy(a, "PKDOCH1");
    auto num = [&a](const char* f) { return a.record().GetNumber(a.FieldIndex(f)); };
    auto text = [&a](const char* f) { return a.record().GetString(a.FieldIndex(f)); };
    for (base::Status s = year.empty() ? a.GoTop() : a.Seek(year, true); s.ok() && !a.eof();
         s = a.Skip()) {
        if (a.deleted()) continue;
        IncomeRecord r;
        r.year = text("ROK_LST");
        if (!year.empty() && r.year != year) break;
        r.employee = text("NR_PRAC");
        if (!employee.empty() && r.employee != employee) continue;
        r.symbol = text("TYP_LST");
        r.number = static_cast<int>(num("NR_LST"));
        r.month = text("MC_LST");
        r.paid = base::Trim(a.record().GetDate(a.FieldIndex("DATA_WYP")));
        r.kind = text("TYTUL_WYP");
        r.revenue = num("PRZYCHOD_");
        r.costs = num("KOSZT_UZ");
        r.tax = num("PODATEK_");
        r.relief = num("ULGA_");
        r.exemption = num("ZWOLN_");
        r.social = num("UBEZP_SPOL");
        r.health = num("UBEZP_ZDRO");
        r.health_rest = num("UBEZP_ZDD");
        r.exempt = num("DOCH_ZW");
        r.percent = num("PROCENT_");
        r.exempt_2 = num("DOCH_ZW_2");
        r.union_dues = num("SKLADKI_ZZ");
        r.exempt_e = num("ZWOL_KOL_E");
        r.ppk_employer = num("KW_PPK_ZAK");
        r.automatic = a.record().GetLogical(a.FieldIndex("AUTOMAT_"));
        out.push_back(std::move(r));
    }
    return out;
}

}  // namespace kestrel::tax
