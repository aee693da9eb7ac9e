// kestrel-tool insurance: the insurance records of menu 6 without the
// program, on the code of 6.2 and of the browses.
//
//   kestrel-tool insurance transfer DIR.PK   6.2 for the month of PKSTER (the
//                                            answer "t" to "Dekretować?")
//   kestrel-tool insurance records DIR.PK [--month YYYY-MM]
//                                            the month's records as CSV
//
// The transfer makes the record tables the company lacks (empty) first,
// as the program does after its question. Exit status 0; 1 when the
// transfer stops (the program's message on stderr; the month stays not
// transferred) or the tables need an answer; 2 on a usage error.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "insurance/data/insurance_records.h"
#include "insurance/data/insurance_transfer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/console/backend.h"
#include "platform/dbf/table.h"
#include "tools/command.h"
#include "tools/company_session.h"
#include "worktime/data/settlement_month.h"

namespace kestrel::tools {
namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: kestrel-tool insurance transfer DIR.PK\n"
                 "       kestrel-tool insurance records DIR.PK [--month YYYY-MM]\n");
    return 2;
}

std::string Csv(const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string q = "\"";
    for (char c : utf8) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + '"';
}

// "YYYY-MM" as year and month.
bool ParseMonth(const std::string& text, int* year, int* month) {
    if (text.size() != 7 || text[4] != '-') return false;
    for (size_t i : {0u, 1u, 2u, 3u, 5u, 6u})
        if (text[i] < '0' || text[i] > '9') return false;
    *year = std::atoi(text.substr(0, 4).c_str());
    *month = std::atoi(text.substr(5, 2).c_str());
    return *year > 0 && *month >= 1 && *month <= 12;
}

// One section per table: a header "TABLE,<fields>", then one line per
// record "<table>,<values>".
void PrintRecords(const std::vector<insurance::RecordSection>& sections) {
    for (const insurance::RecordSection& s : sections) {
        std::string header = "TABLE";
        for (const std::string& f : s.fields) header += "," + f;
        std::printf("%s\n", header.c_str());
        for (const auto& row : s.rows) {
            std::string line = s.table;
            for (const std::string& v : row) line += "," + Csv(codepage::ToUtf8(v));
            std::printf("%s\n", line.c_str());
        }
    }
}

void MakeMissingTables(common::Runtime& rt, const std::string& dir) {
    for (const std::string& t : insurance::RecordTables()) {
        if (base::Exists(base::FindNoCase(dir, t + ".DBF"))) continue;
        const base::Status s = dbf::Table::Create(dir + t + ".DBF", common::FindTable(t)->Specs());
        if (!s.ok()) throw common::Abandon(rt.Text("Błąd tworzenia ") + t + ".DBF");
    }
}

int Insurance(const std::vector<std::string>& given) {
    if (given.size() < 2 || (given[0] != "transfer" && given[0] != "records")) return Usage();
    std::string dir = given[1];
    if (!base::Exists(dir)) {
        std::fprintf(stderr, "kestrel-tool insurance: no directory %s\n", dir.c_str());
        return 2;
    }
    if (dir.back() != '/') dir += '/';
    int year = 0, month = 0;
    for (size_t i = 2; i < given.size(); ++i) {
        if (given[0] == "records" && given[i] == "--month" && i + 1 < given.size()) {
            if (!ParseMonth(given[++i], &year, &month)) {
                std::fprintf(stderr, "kestrel-tool insurance: bad month %s (YYYY-MM)\n",
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
            if (year == 0) {
                const worktime::SettlementMonth m =
                    worktime::ReadSettlementMonth(session.rt, tables);
                year = m.year;
                month = m.month;
            }
            PrintRecords(insurance::ReadMonthRecords(session.rt, tables, year, month));
            return 0;
        }
        MakeMissingTables(session.rt, dir);
        const insurance::TransferOutcome out = insurance::Transfer(session.rt, tables);
        std::printf("employees %d, records %d\n", out.employees, out.records);
        if (!out.completed) {
            const std::string why =
                out.message.empty() ? "the transfer was stopped" : codepage::ToUtf8(out.message);
            std::fprintf(stderr, "kestrel-tool insurance: %s\n", why.c_str());
            return 1;
        }
        if (out.check_algorithms)
            std::printf(
                "%s\n",
                "Wykonaj obecnie funkcję \"Sprawdzenie spójności modułu ZUS\" (punkt 6.A.2).");
        std::printf("Koniec aktualizacji\n");
        return 0;
    } catch (const common::Abandon& e) {
        std::fprintf(stderr, "kestrel-tool insurance: %s\n", codepage::ToUtf8(e.message()).c_str());
        return 1;
    } catch (const console::ScriptEnded&) {
        const std::string asked = base::Trim(codepage::ToUtf8(session.con.screen().RowText(23)));
        std::fprintf(stderr, "kestrel-tool insurance: the program asks: %s\n", asked.c_str());
        return 1;
    }
}

}  // namespace

KESTREL_TOOL_COMMAND(insurance_command, "insurance", "insurance (transfer | records) DIR.PK ...",
                     Insurance);

}  // namespace kestrel::tools
