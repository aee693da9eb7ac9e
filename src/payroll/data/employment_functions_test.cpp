// The monthly pay record, the open lists, the loan fund, the PPK rates and
// the writing of extended attributes, over a company in March 2026.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "payroll_company.h"

namespace kestrel::payroll {
namespace {

using testing::Eval;
using testing::PayCompany;

struct Employee {
    Employee(PayCompany& c, const PayrollList& list) : host(c.h.rt, c.tables) {
        host.PrepareRun();
        host.SetList(list);
    }
    std::string Of(const std::string& number, const std::string& formula) {
        host.LoadEmployee(number);
        return Eval(host, formula);
    }
    PayrollHost host;
};

TEST(Wynagr, ThePayRecordOfAMonthBackAsAnArrayOrOneElement) {
    PayCompany c;
    c.Make("PKWYNAG");
    c.Add("PKWYNAG", {{"NR_PRAC", "000001"},
                      {"ROK_", "2026"},
                      {"MC_", "2"},
                      {"DN_PRZEPR", "19"},
                      {"DN_NOMIN", "20"},
                      {"WYNAGR_", "5000"},
                      {"AKTYWN_", "T"},
                      {"GDZ_DO_URL", "12.5"},
                      {"ETAT_", "0.5"}});
    c.Add("PKWYNAG", {{"NR_PRAC", "000002"}, {"ROK_", "2026"}, {"MC_", "2"}, {"WYNAGR_", "1"}});
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"WYNAGR(1, 1)", "19"},
        {"WYNAGR(1, 3)", "5000.00"},
        {"WYNAGR(1, 5)", ".T."},
        {"WYNAGR(1, 6)", ".T."},
        {"WYNAGR(1, 7) * 100 + WYNAGR(1, 8)", "202602"},
        {"WYNAGR(1, 20)", "12.500"},
        {"WYNAGR(1)[21]", "0.50"},
        {"len(WYNAGR(1))", "21"},
        {"WYNAGR(0, 6)", ".F."},  // no record of March
        {"WYNAGR(, 3)", "0.00"},
        {"WYNAGR(2, 5)", ".F."},
        {"WYNAGR('a')", "Błędny argument 1 funkcji WYNAGR()"},
        {"WYNAGR(-1)", "Błędny zakres arg.1 funkcji WYNAGR()"},
        {"WYNAGR(0, 'x')", "Błędny argument 2 funkcji WYNAGR()"},
        {"WYNAGR(0, 22)", "Błędny zakres arg.2 funkcji WYNAGR()"},
        {"WYNAGR(0, 0)", "Błędny zakres arg.2 funkcji WYNAGR()"},
    };
    for (const auto& t : cases) EXPECT_EQ(run.Of("000001", t.formula), t.result) << t.formula;
}

TEST(Sympaktlp, TheKeyOfTheFirstOpenListOrTheKeysOfAll) {
    PayCompany c;
    const PayrollList open = c.List("2026", "B", 2, "03", "20260310");
    c.List("2026", "A", 12, "03", "20260310");
    c.List("2026", "A", 1, "02", "20260210", false);
    Employee run(c, open);
    EXPECT_EQ(run.Of("000001", "SYMPAKTLP()"), "\"2026A   12\"");
    EXPECT_EQ(run.Of("000001", "SYMPAKTLP(.T.)"), "{\"2026A   12\", \"2026B    2\"}");
    EXPECT_EQ(run.Of("000001", "SYMPAKTLP(.F.)"), "\"2026A   12\"");
}

TEST(Sympaktlp, EmptyWithoutAnOpenList) {
    PayCompany c;
    const PayrollList closed = c.List("2026", "A", 1, "02", "20260210", false);
    Employee run(c, closed);
    EXPECT_EQ(run.Of("000001", "SYMPAKTLP()"), "\"\"");
    EXPECT_EQ(run.Of("000001", "len(SYMPAKTLP(1))"), "0");
}

TEST(LoanFund, InstalmentSavingsAndDebtOfTheSystemMonth) {
    PayCompany c;
    for (const char* t : {"PKPOZYC", "PKKSTNY", "PKTRANS"}) c.Make(t);
    c.Add("PKPOZYC", {{"NR_PRAC", "000001"},
                      {"TYTUL_", "01"},
                      {"ROK_", "2025"},
                      {"MC_", "5"},
                      {"KWOTA_RATY", "100"}});
    c.Add("PKPOZYC", {{"NR_PRAC", "000001"},
                      {"TYTUL_", "01"},
                      {"ROK_", "2026"},
                      {"MC_", "1"},
                      {"KWOTA_RATY", "250"}});
    c.Add("PKPOZYC", {{"NR_PRAC", "000001"},
                      {"TYTUL_", "02"},
                      {"ROK_", "2026"},
                      {"MC_", "2"},
                      {"KWOTA_RATY", "999"}});
    c.Add("PKKSTNY", {{"NR_PRAC", "000001"},
                      {"ROK_", "2026"},
                      {"MC_", "3"},
                      {"TYTUL_", "01"},
                      {"WKLADY_", "1000"},
                      {"ZADLUZ_", "500"}});
    auto trans = [&](int lp, const char* in, const char* out, bool loan, bool automatic) {
        c.Add("PKTRANS", {{"NR_PRAC", "000001"},
                          {"ROK_", "2026"},
                          {"MC_", "3"},
                          {"LP_", std::to_string(lp)},
                          {"TYTUL_", "01"},
                          {"WPLATA_", in},
                          {"WYPLATA_", out},
                          {"POZ_WKLAD", loan ? "T" : "F"},
                          {"AUTOMAT_", automatic ? "T" : "F"}});
    };
    trans(1, "50", "0", false, false);
    trans(2, "30", "0", false, true);
    trans(3, "0", "200", true, false);
    trans(4, "100", "0", true, true);
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    EXPECT_EQ(run.Of("000001", "RATA('01')"), "0.00");  // the fund is off
    c.h.rt.config().Set("NAGLKWP", memfile::MemValue::Logical(true));
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"RATA('01')", "250.00"},
        {"RATA('03')", "0.00"},
        {"WKLADY('01')", "1050.00"},
        {"WKLADY('01', .T.)", "1080.00"},
        {"ZADLUZ('01')", "700.00"},
        {"ZADLUZ('01', .T.)", "600.00"},
        {"RATA(1)", "Błędny argument funkcji RATA()"},
        {"WKLADY(1)", "Błędny argument funkcji WKLADY()"},
        {"ZADLUZ()", "Błędny argument funkcji ZADLUZ()"},
    };
    for (const auto& t : cases) EXPECT_EQ(run.Of("000001", t.formula), t.result) << t.formula;
    EXPECT_EQ(run.Of("000002", "WKLADY('01') + RATA('01')"), "0.00");
}

// The participant is found by the identity number; each rate keeps its
// limits.
TEST(PpkRates, TheRatesOfAnEnrolledParticipantWithinTheirLimits) {
    PayCompany c;
    c.Make("PKJPRAC");
    const struct {
        const char* number;
        const char* pesel;
        const char* enrolled;
        const char* resigned;
        const char* extra;     // PROC_DOD
        const char* reduced;   // PRC_OB_PRA
        const char* employee;  // PRC_DO_PRA
        const char* rates;     // PSPZ0 PSDZ0 PSPP0 PSPP1 PSDP0
    } cases[] = {
        {"000011", "80010112345", "T", "F", "3", "0.3", "2.5", "1.50 2.50 2.00 2.00 2.00"},
        {"000012", "80010112346", "T", "F", "1.2", "0.5", "1.5", "1.50 1.20 2.00 0.50 1.50"},
        {"000013", "80010112347", "T", "F", "0", "2.1", "0", "1.50 0.00 2.00 2.00 0.00"},
        {"000014", "80010112348", "F", "F", "1", "1", "1", "0.00 0.00 0.00 0.00 0.00"},
        {"000015", "80010112349", "T", "T", "1", "1", "1", "0.00 0.00 0.00 0.00 0.00"},
        {"000016", "80010112340", "", "", "", "", "", "0.00 0.00 0.00 0.00 0.00"},  // none
    };
    for (const auto& t : cases) {
        const std::string stored = common::Scramble(common::ScrambleKind::kIdentity, t.pesel, 34);
        c.Add("PKPRAC", {{"NR_PRAC", t.number}, {"PESELX_", stored}}, false);
        if (*t.enrolled == '\0') continue;
        c.Add("PKJPRAC",
              {{"PESELX_", stored},
               {"ZGLOSZ_", t.enrolled},
               {"REZYGN_", t.resigned},
               {"PROC_DOD", t.extra},
               {"PRC_OB_PRA", t.reduced},
               {"PRC_DO_PRA", t.employee}},
              false);
    }
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    for (const auto& t : cases) {
        std::string rates;
        for (const char* f : {"PSPZ0()", "PSDZ0()", "PSPP0()", "PSPP1()", "PSDP0()"})
            rates += (rates.empty() ? "" : " ") + run.Of(t.number, f);
        EXPECT_EQ(rates, t.rates) << t.number;
    }
}

// The extended structure: single fields of each type, a repeating record
// with two fields.
struct Attributes : PayCompany {
    Attributes() {
        for (const char* t : {"PKUMTR", "PKUPRC"}) Make(t);
        Field("001", "N", "KWOTA", "8", "2");
        Field("002", "D", "DATA", "8", "0");
        Field("003", "L", "ZNAK", "1", "0");
        Field("004", "C", "OPIS", "10", "0");
        Field("005", "S", "KOD", "4", "0");
        Field("006", "K", "UWAGA", "0", "0");
        Field("007", "O", "DZIECI", "0", "0");
        Field("007A", "C", "IMIE", "10", "0", true);
        for (int lp = 1; lp <= 3; ++lp)
            Add("PKUPRC", {{"NR_PRAC", "000001"},
                           {"KLUCZ_", "IMIE"},
                           {"LP_", std::to_string(lp)},
                           {"TRESC_", "Stare" + std::to_string(lp)}});
        Add("PKUPRC",
            {{"NR_PRAC", "000002"}, {"KLUCZ_", "IMIE"}, {"LP_", "3"}, {"TRESC_", "Inne"}});
        h.rt.config().Set("NAGLBLK", memfile::MemValue::Logical(true));
    }
    void Field(const char* nr, const char* type, const char* key, const char* width,
               const char* dec, bool sub = false) {
        Add("PKUMTR", {{"NR_POLA", nr},
                       {"TYP_", type},
                       {"OPIS_", key},
                       {"KLUCZ_", key},
                       {"SZER_", width},
                       {"DEC_", dec},
                       {"SUB_POLE", sub ? "T" : "F"}});
    }
    // The rows of PKUPRC in record order: "NR KEY LP TEXT", "*" after a
    // deleted one.
    std::vector<std::string> Rows() {
        std::unique_ptr<dbf::Table> t;
        EXPECT_TRUE(dbf::Table::Open(dir.File("PKUPRC.DBF"), {}, &t).ok());
        std::vector<std::string> out;
        const int nr = t->FieldIndex("NR_PRAC"), key = t->FieldIndex("KLUCZ_"),
                  lp = t->FieldIndex("LP_"), text = t->FieldIndex("TRESC_");
        t->Scan(1, [&](uint32_t, const dbf::Record& r) {
            out.push_back(r.GetString(nr) + " " + base::TrimRight(r.GetString(key)) + " " +
                          base::Trim(r.GetString(lp)) + " " + base::TrimRight(r.GetString(text)) +
                          (r.deleted() ? "*" : ""));
            return base::Status::Ok();
        });
        return out;
    }
};

using Rows = std::vector<std::string>;
const Rows kBefore = {"000001 IMIE 1 Stare1", "000001 IMIE 2 Stare2", "000001 IMIE 3 Stare3",
                      "000002 IMIE 3 Inne"};

Rows With(Rows rows, const Rows& more) {
    rows.insert(rows.end(), more.begin(), more.end());
    return rows;
}

TEST(Zaprstr, ASingleValueGoesToRowZeroAsText) {
    Attributes c;
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('kwota', 12.5)"), ".T.");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('DATA', STOD('20260315'))"), ".T.");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('ZNAK', .T.)"), ".T.");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('OPIS', 'Opis')"), ".T.");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('KOD', 'A1')"), ".T.");
    EXPECT_EQ(c.Rows(),
              With(kBefore, {"000001 KWOTA 0    12.50", "000001 DATA 0 20260315", "000001 ZNAK 0 T",
                             "000001 OPIS 0 Opis", "000001 KOD 0 A1"}));
    // A number keeps the width of the attribute. A new value over the row; an empty one deletes it;
    // the next value recalls the deleted row instead of appending.
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('KWOTA', 7)"), ".T.");
    EXPECT_EQ(c.Rows()[4], "000001 KWOTA 0     7.00");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('KWOTA', 0)"), ".T.");
    EXPECT_EQ(c.Rows()[4], "000001 KWOTA 0     7.00*");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('KWOTA', 3.25)"), ".T.");
    EXPECT_EQ(c.Rows().size(), 9u);
    EXPECT_EQ(c.Rows()[4], "000001 KWOTA 0     3.25");
}

TEST(Zaprstr, AnArrayFillsTheRowsAndDeletesTheRowsBeyond) {
    Attributes c;
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('IMIE', {'Ala', 'Ola'})"), ".T.");
    EXPECT_EQ(c.Rows(), (Rows{"000001 IMIE 1 Ala", "000001 IMIE 2 Ola", "000001 IMIE 3 Stare3*",
                              "000002 IMIE 3 Inne"}));
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('IMIE', {'Ala', 'Ola', 'Ela', 'Iza'})"), ".T.");
    EXPECT_EQ(c.Rows(), (Rows{"000001 IMIE 1 Ala", "000001 IMIE 2 Ola", "000001 IMIE 3 Ela",
                              "000002 IMIE 3 Inne", "000001 IMIE 4 Iza"}));
}

TEST(Zaprstr, RefusesWhatIsNotAnAttributeOrDoesNotFitIt) {
    Attributes c;
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    const struct {
        const char* formula;
        const char* result;
    } cases[] = {
        {"ZAPRSTR(5, 1)", "Błędny argument 1 funkcji ZAPRSTR()"},
        {"ZAPRSTR('  ', 1)", "Błędny argument 1 funkcji ZAPRSTR()"},
        {"ZAPRSTR('KWOTA')", "Błędny argument 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('BRAK', 1)", "Błędna wart. arg. 1 funkcji ZAPRSTR()"},
        {"ZAPRSTR('UWAGA', 'x')", "Błędna wart. arg. 1 funkcji ZAPRSTR()"},
        {"ZAPRSTR('DZIECI', {'x'})", "Błędna wart. arg. 1 funkcji ZAPRSTR()"},
        {"ZAPRSTR('KWOTA', 'x')", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('KWOTA', 123456)", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},  // 8.2
        {"ZAPRSTR('OPIS', 'Za długi opis')", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('KOD', 'ABCDE')", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('ZNAK', 1)", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('IMIE', 'Ala')", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('IMIE', {'Ala', 3})", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
        {"ZAPRSTR('KWOTA', {1})", "Błędna wart. arg. 2 funkcji ZAPRSTR()"},
    };
    for (const auto& t : cases) EXPECT_EQ(run.Of("000001", t.formula), t.result) << t.formula;
    EXPECT_EQ(c.Rows(), kBefore);  // nothing written, not even the first element
}

TEST(Zaprstr, DoesNothingWithoutLockedEmployeeRecords) {
    Attributes c;
    c.h.rt.config().Set("NAGLBLK", memfile::MemValue::Logical(false));
    Employee run(c, c.List("2026", "A", 1, "03", "20260310"));
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('KWOTA', 1)"), ".F.");
    EXPECT_EQ(run.Of("000001", "ZAPRSTR('BRAK')"), ".F.");
    EXPECT_EQ(c.Rows(), kBefore);
}

}  // namespace
}  // namespace kestrel::payroll
