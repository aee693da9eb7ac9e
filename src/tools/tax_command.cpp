// kestrel-tool tax: the income records of the tax module without the
// program, on the code of menu 7.
//
//   kestrel-tool tax transfer DIR.PK    7.2: the month's closed lists marked
//                                       for the tax records (the answer "t"
//                                       to "Przepisać dane z list płac?")
//   kestrel-tool tax records DIR.PK [--year Y] [--employee NR]
//                                       the records of PKDOCH as CSV
//
// Exit status 0; 1 when the transfer is refused or stops (the program's
// message on stderr; what was transferred before the stop stays) or when
// the tables need an answer; 2 on a usage error.
#include <cstdio>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/backend.h"
#include "register/data/employee_record.h"
#include "tax/records/income_records.h"
#include "tax/records/tax_transfer.h"
#include "tools/command.h"
#include "tools/company_session.h"

namespace kestrel::tools {
namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool tax transfer DIR.PK\n"
                 "       kestrel-tool tax records DIR.PK [--year Y] [--employee NR]\n");
    return 2;
}

void PrintRecords(const std::vector<tax::IncomeRecord>& records) {
    std::printf(
        "ROK_LST,TYP_LST,NR_LST,MC_LST,DATA_WYP,NR_PRAC,TYTUL_WYP,PRZYCHOD_,KOSZT_UZ,PODATEK_,"
        "ULGA_,ZWOLN_,UBEZP_SPOL,UBEZP_ZDRO,UBEZP_ZDD,DOCH_ZW,PROCENT_,DOCH_ZW_2,SKLADKI_ZZ,"
        "ZWOL_KOL_E,KW_PPK_ZAK,AUTOMAT_\n");
    for (const tax::IncomeRecord& r : records) {
        std::printf("%s,%s,%d,%s,%s,%s,%s", r.year.c_str(), base::TrimRight(r.symbol).c_str(),
                    r.number, r.month.c_str(), r.paid.c_str(), r.employee.c_str(),
                    base::TrimRight(r.kind).c_str());
        for (double v :
             {r.revenue, r.costs, r.tax, r.relief, r.exemption, r.social, r.health, r.health_rest,
              r.exempt, r.percent, r.exempt_2, r.union_dues, r.exempt_e, r.ppk_employer})
            std::printf(",%.2f", v);
        std::printf(",%s\n", r.automatic ? "T" : "F");
    }
}

int Tax(const std::vector<std::string>& given) {
    if (given.size() < 2 || (given[0] != "transfer" && given[0] != "records")) return Usage();
    std::string dir = given[1];
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool tax: no directory %s\n", dir.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    std::string year, employee;
    for (size_t i = 2; i < given.size(); ++i) {
        if (given[0] == "records" && given[i] == "--year" && i + 1 < given.size()) {
            year = given[++i];
        } else if (given[0] == "records" && given[i] == "--employee" && i + 1 < given.size()) {
            if (!registry::NormaliseNumber(given[++i], &employee)) {
                std::fprintf(stderr, "kestrel-tool tax: bad employee number %s\n",
                             given[i].c_str());
                return 2;
            }
        } else {
            return Usage();
        }
    }
    CompanySession session(dir);
    try {
        common::Tables tables(session.rt);
        if (given[0] == "records") {
            PrintRecords(tax::ReadIncomeRecords(tables, year, employee));
            return 0;
        }
        const tax::TransferOutcome out = tax::Transfer(session.rt, tables);
        std::printf("%s%d\n",
                    codepage::ToUtf8(session.rt.Text("Ilość przepisanych rekordów: ")).c_str(),
                    out.records);
        if (!out.message.empty()) {
            std::fprintf(stderr, "kestrel-tool tax: %s\n", codepage::ToUtf8(out.message).c_str());
            return 1;
        }
        return 0;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool tax: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    } catch (const console::ScriptEnded&) {
        const std::string asked = base::Trim(codepage::ToUtf8(session.con.screen().RowText(23)));
        std::fprintf(stderr, "kestrel-tool tax: the program asks: %s\n", asked.c_str());
        return 1;
    }
}

}  // namespace

KESTREL_TOOL_COMMAND(tax_command, "tax", "tax (transfer | records) DIR.PK ...", Tax);

}  // namespace kestrel::tools
