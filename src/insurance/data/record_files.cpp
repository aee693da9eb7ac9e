#include "insurance/data/record_files.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "common/session/abandon.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/picture/picture.h"

namespace kestrel::insurance {
namespace {

constexpr const char* kAmountPicture = "@E 999,999,999.99";
constexpr const char* kRatePicture = "@E 99.99";

using K = CellKind;
using P = KeyPart;

RecordColumn Col(const char* field, const char* heading, CellKind kind = K::kAmount) {
    return {field, heading, kind, "", ""};
}

// The columns every table begins and ends with.
RecordColumn Employee() {
    return Col("NR_PRAC", "PRAC.", K::kKey);
}
RecordColumn Month(const char* year = "ROK_", const char* month = "MC_") {
    RecordColumn c = Col(year, "ROK-MC", K::kYearMonth);
    c.second = month;
    return c;
}
RecordColumn Title() {
    return Col("TYT_UBEZP", "TYTUŁ", K::kKey);
}
void Marks(std::vector<RecordColumn>* cols, bool previous_month = false) {
    cols->push_back(Col("KOREKTA_", "KOR.", K::kFlag));
    if (previous_month) cols->push_back(Col("WYP_MC_P", "WYP.M-C P.", K::kFlag));
    cols->push_back(Col("NIE_AKT_62", "BLOKADA 6.2", K::kLogical));
}

// The four payers of a contribution: the insured, the employer, the state
// budget, the Church Fund.
void Payers(std::vector<RecordColumn>* cols, const char* letter, const char* name,
            const char* fund) {
    static const char* const kPayers[][2] = {
        {"PRAC", "PRAC."}, {"ZAKL", "ZAKŁ."}, {"BUDZ", "BUDŻ."}, {"FUKO", ""}};
    for (const auto& p : kPayers) {
        const std::string field = std::string("KWO_") + letter + "_" + p[0];
        const std::string heading =
            *p[1] ? std::string("KW.") + name + "." + p[1] : std::string("KW.") + fund + ".F.KOŚC.";
        cols->push_back({field, heading, K::kAmount, "", ""});
    }
}

RecordColumn Choice(const char* field, const char* heading, const char* allowed) {
    RecordColumn c = Col(field, heading, K::kChoice);
    c.allowed = allowed;
    return c;
}

RecordFile Contributions(bool ppk) {
    RecordFile f{
        RecordKind::kContributions, "PKSKLAD", {"PKSKLAD1", "PKSKLAD2"}, {}, "ROK_", "MC_", {}, 3};
    f.orders = {{"PKSKLAD1", "Sort:M-C,NR PRAC.,TYTUŁ", {P::kYear, P::kMonth, P::kEmployee}},
                {"PKSKLAD2", "Sort:NR PRAC.,M-C,TYTUŁ", {P::kYear, P::kEmployee, P::kMonth}}};
    auto& c = f.columns;
    c = {Employee(),
         Month(),
         Title(),
         Choice("UMOWA_DEKL", "U/D", " UD"),
         Col("PODSTAWA_", "PODST.UBEZP."),
         Col("PROC_UBSP", "% UB.", K::kRate),
         Col("KWOTA_UBSP", "KWOTA UBEZP."),
         Col("PROC_FPR", "%F.P.", K::kRate),
         Col("PODST_FPR", "PODST.F.PR."),
         Col("KWOTA_FPR", "KWOTA F.PR."),
         Col("PROC_FGSP", "%FGSP", K::kRate),
         Col("PODST_FGSP", "PODST.FGSP"),
         Col("KWOTA_FGSP", "KWOTA FGSP"),
         Col("POD_EM_REN", "PDST.EMER/RENT")};
    Payers(&c, "E", "EMER", "EM");
    Payers(&c, "R", "RENT", "RE");
    c.push_back(Col("POD_CH_WYP", "PODST.CHOROB."));
    Payers(&c, "C", "CHOR", "CH");
    c.push_back(Col("POD_WYPADK", "PODST.WYPADK."));
    Payers(&c, "W", "WYP", "WY");
    c.push_back(Col("POD_ZDROW", "PODST.ZDROW."));
    Payers(&c, "Z", "ZDR", "ZD");
    c.push_back(Col("KWO_OBNIZ", "OBNIŻ.PODST."));
    c.push_back(Col("KWO_FEP", "KW.F.EM.POM."));
    if (ppk) {
        c.push_back(Col("KW_PPK_ZAK", "SKŁADKA PPK Z."));
        c.push_back(Col("PPK_ZAK_BM", "PPK_BM", K::kLogical));
    }
    c.push_back(Choice("FORMA_OPOD", "FORMA OPOD.", "123456"));
    c.push_back(Col("DOCH_PMC", "DOCH.POPRZ.M-C"));
    c.push_back(Col("PRZYCH_BR", "PRZYCH.BIEŻ.ROK"));
    c.push_back(Col("PRZYCH_UBR", "PRZYCH.POPRZ.ROK"));
    Marks(&c);
    return f;
}

RecordFile Benefits() {
    RecordFile f{
        RecordKind::kBenefits,
        "PKZASIL",
        // Every index is kept: the codes and declaration months corrected
        // here are parts of their keys.
        {"PKZASIL1", "PKZASIL2", "PKZASIL3", "PKZASIL4", "PKZASIL5", "PKZASIL6", "PKZASIL7"},
        {},
        "ROK_LST",
        "MC_LST",
        {},
        3};
    f.orders = {{"PKZASIL1", "Sort:M-C,NR PRAC.,TYTUŁ", {P::kYear, P::kMonth, P::kEmployee}},
                {"PKZASIL2", "Sort:NR PRAC.,M-C,KOD", {P::kYear, P::kEmployee, P::kMonth}}};
    f.columns = {Employee(),
                 Month("ROK_LST", "MC_LST"),
                 Title(),
                 Col("KOD_NIEOB", "NIEOB.", K::kKey),
                 Col("LP_", "LP", K::kKey),
                 Col("TYP_LST", "LISTA", K::kKey),
                 Col("NR_LST", "NR L.", K::kKey),
                 Col("DATA_WYP", "DATA WYP.", K::kKey),
                 Col("KOD_SW_PRZ", "KOD Ś/P", K::kText),
                 Col("OD_DZIEN", "OD", K::kNumber),
                 Col("DZIEN_DO", "DO", K::kNumber),
                 Col("ILOSC_DNI", "DNI", K::kNumber),
                 Col("ROK_KAL", "ROK K.", K::kNumber),
                 Col("MC_KAL", "MC K.", K::kNumber),
                 Col("TYP_ZAS", "TYP", K::kText),
                 Col("ILOSC_ZAS", "IL.", K::kNumber),
                 Col("ZASIL_DZ", "STAWKA DZIENNA"),
                 Col("ZASILEK_", "KWOTA"),
                 Col("RODZ_PROC", "RODZ.PROC.", K::kText),
                 Col("NR_STATYST", "NR ST.", K::kText),
                 Col("ZA_MCE", "ZA M-CE", K::kText),
                 Col("SUMA_ZAROB", "SUMA ZAROBKÓW"),
                 Col("WYPL_ZA", "WYPŁ.ZA", K::kText),
                 Col("WYPADEK_", "WYPADEK", K::kLogical),
                 Col("GODZ_NOM", "G.NOM", K::kNumber),
                 Col("GODZ_NUS", "G.NUS", K::kNumber),
                 Col("KOD_CHOR_1", "CH1", K::kText),
                 Col("KOD_CHOR_2", "CH2", K::kText),
                 Col("ROK_ZUS", "ROK ZUS", K::kNumber),
                 Col("MC_ZUS", "MC ZUS", K::kNumber)};
    Marks(&f.columns);
    return f;
}

RecordFile Components() {
    RecordFile f{RecordKind::kComponents,
                 "PKKSKWN",
                 {"PKKSKWN1", "PKKSKWN2", "PKKSKWN3"},
                 {},
                 "ROK_",
                 "MC_",
                 {},
                 3};
    f.orders = {{"PKKSKWN1", "Sort:M-C,NR PRAC.,TYTUŁ", {P::kYear, P::kMonth, P::kEmployee}},
                {"PKKSKWN2", "Sort:NR PRAC.,M-C,KOD", {P::kYear, P::kEmployee, P::kMonth}}};
    f.columns = {Employee(),
                 Month(),
                 Title(),
                 Col("KOD_WYNAGR", "KOD", K::kKey),
                 Col("LP_", "LP", K::kKey),
                 Col("DATA_OD", "DATA OD", K::kDate),
                 Col("DO_DATA", "DATA DO", K::kDate),
                 Col("KWOTA_", "KWOTA")};
    Marks(&f.columns, true);
    return f;
}

RecordFile Totals() {
    RecordFile f{
        RecordKind::kTotals, "PKWYNAG", {"PKWYNAG1", "PKWYNAG2"}, {}, "ROK_", "MC_", {}, 2};
    f.orders = {{"PKWYNAG1", "Sort:M-C,NR PRAC.", {P::kYear, P::kMonth, P::kEmployee}},
                {"PKWYNAG2", "Sort:NR PRAC.,M-C", {P::kEmployee, P::kYear, P::kMonth}}};
    f.columns = {Employee(),
                 Month(),
                 Col("DN_PRZEPR", "DNI PRZEPR.", K::kNumber),
                 Col("DN_NOMIN", "DNI NOMIN.", K::kNumber),
                 Col("WYNAGR_", "WYNAGRODZENIE"),
                 Col("PRZEL_WYN", "PRZEL.WYNAGR."),
                 Col("AKTYWN_", "AKTYWNY", K::kLogical),
                 Col("DN_DO_URL", "DNI DO URL.", K::kNumber),
                 Col("WYN_DO_URL", "WYNAGR.DO URL."),
                 Col("STA_DO_URL", "STAŁE DO URL."),
                 Col("SKL_ST_URL", "SKŁ.STAŁE URL."),
                 Col("PREMIA_KW", "PREMIA KWART."),
                 Col("PREMIA_RO", "PREMIA ROCZNA"),
                 Col("REZ_1", "REZERWA 1"),
                 Col("REZ_2", "REZERWA 2"),
                 Col("REZ_3", "REZERWA 3"),
                 Col("ZUS_PRZEPR", "ZUS PRZEPR.", K::kNumber),
                 Col("ZUS_NOMIN", "ZUS NOMIN.", K::kNumber),
                 Col("GDZ_DO_URL", "GODZ.DO URL.", K::kNumber),
                 Col("ETAT_", "ETAT", K::kNumber)};
    Marks(&f.columns);
    return f;
}

RecordFile Bases() {
    RecordFile f{RecordKind::kBases, "PKPODST", {"PKPODST1"}, {}, "ROK_", "MC_", {}, 3};
    f.orders = {{"PKPODST1", "Sort:M-C,NR PRAC.,TYTUŁ", {P::kYear, P::kMonth, P::kEmployee}}};
    f.columns = {Employee(),
                 Month(),
                 Title(),
                 Col("ZA_ROK", "ZA ROK", K::kKey),
                 Col("POD_EM_REN", "PDST.EMER/RENT"),
                 Col("POD_WYPADK", "PODST.WYPADK."),
                 Col("NIE_SKLADK", "NIE PODL.SKŁ.")};
    Marks(&f.columns);
    return f;
}

RecordFile Periods() {
    RecordFile f{RecordKind::kPeriods, "PKOKRES", {"PKOKRES1"}, {}, "ROK_", "MC_", {}, 3};
    f.orders = {{"PKOKRES1", "Sort:M-C,NR PRAC.,TYTUŁ", {P::kYear, P::kMonth, P::kEmployee}}};
    f.columns = {Employee(),
                 Month(),
                 Title(),
                 Col("DATA_OD", "DATA OD", K::kKey),
                 Col("DO_DATA", "DATA DO", K::kDate),
                 Col("WYMIAR_L", "WYMIAR L", K::kNumber),
                 Col("WYMIAR_M", "WYMIAR M", K::kNumber)};
    Marks(&f.columns);
    return f;
}

int Utf8Length(const std::string& s) {
    int n = 0;
    for (unsigned char ch : s)
        if ((ch & 0xC0) != 0x80) ++n;
    return n;
}

const dbf::Field& FieldOf(dbf::WorkArea& area, const std::string& name) {
    return area.record().fields()[static_cast<size_t>(area.FieldIndex(name))];
}

std::string Fit(std::string s, int width) {
    if (static_cast<int>(s.size()) < width)
        s.insert(0, static_cast<size_t>(width - static_cast<int>(s.size())), ' ');
    return s;
}

int ValueWidth(const RecordColumn& c, dbf::WorkArea& area) {
    switch (c.kind) {
        case K::kYearMonth:
            return 7;
        case K::kFlag:
        case K::kLogical:
            return 1;
        case K::kRate:
            return 5;
        case K::kAmount:
            return 14;
        case K::kDate:
            return 10;
        default:
            return FieldOf(area, c.field).type == dbf::FieldType::kDate
                       ? 10
                       : FieldOf(area, c.field).length;
    }
}

}  // namespace

RecordFile DescribeRecords(RecordKind kind, bool ppk) {
    switch (kind) {
        case RecordKind::kContributions:
            return Contributions(ppk);
        case RecordKind::kBenefits:
            return Benefits();
        case RecordKind::kComponents:
            return Components();
        case RecordKind::kTotals:
            return Totals();
        case RecordKind::kBases:
            return Bases();
        case RecordKind::kPeriods:
            break;
    }
    return Periods();
}

void RecordMonth(const RecordFile& f, dbf::WorkArea& area, int* year, int* month) {
    const dbf::Record& r = area.record();
    *year = std::atoi(base::Trim(r.GetString(area.FieldIndex(f.year_field))).c_str());
    *month = std::atoi(base::Trim(r.GetString(area.FieldIndex(f.month_field))).c_str());
}

bool Editable(const RecordColumn& c) {
    return c.kind != K::kKey && c.kind != K::kYearMonth && c.kind != K::kFlag;
}

int ColumnWidth(const RecordColumn& c, dbf::WorkArea& area) {
    return std::max(Utf8Length(c.heading), ValueWidth(c, area));
}

std::string EntryPicture(const RecordColumn& c, dbf::WorkArea& area) {
    if (c.kind == K::kAmount) return kAmountPicture;
    if (c.kind == K::kRate) return kRatePicture;
    const dbf::Field& f = FieldOf(area, c.field);
    return "@E " + picture::NumberTemplate(f.length, f.decimals);
}

std::string CellText(const RecordColumn& c, dbf::WorkArea& area, int width) {
    if (area.eof()) return std::string();
    const dbf::Record& r = area.record();
    const int i = area.FieldIndex(c.field);
    std::string shown;
    switch (c.kind) {
        case K::kYearMonth: {
            int year = 0, month = 0;
            RecordFile f;
            f.year_field = c.field;
            f.month_field = c.second;
            RecordMonth(f, area, &year, &month);
            char buf[16];
            std::snprintf(buf, sizeof buf, "%04d-%02d", year, month);
            shown = buf;
            break;
        }
        case K::kFlag:
        case K::kLogical:
            shown = r.GetLogical(i) ? "T" : "N";
            break;
        case K::kRate:
        case K::kAmount:
        case K::kNumber: {
            const dbf::Field& f = FieldOf(area, c.field);
            shown = picture::FormatNumber(r.GetNumber(i), picture::Parse(EntryPicture(c, area)),
                                          f.length, f.decimals);
            return Fit(shown, width);
        }
        case K::kDate:
            shown = base::DateText(base::DateOfDbfText(r.GetDate(i)));
            break;
        case K::kKey:
            if (FieldOf(area, c.field).type == dbf::FieldType::kDate) {
                shown = base::DateText(base::DateOfDbfText(r.GetDate(i)));
                break;
            }
            [[fallthrough]];
        default:
            shown = r.GetString(i);
    }
    shown.resize(static_cast<size_t>(width), ' ');
    return shown;
}

CellValue ReadCell(const RecordColumn& c, dbf::WorkArea& area) {
    CellValue v;
    const dbf::Record& r = area.record();
    const int i = area.FieldIndex(c.field);
    switch (FieldOf(area, c.field).type) {
        case dbf::FieldType::kNumeric:
            v.number = r.GetNumber(i);
            break;
        case dbf::FieldType::kLogical:
            v.logical = r.GetLogical(i);
            break;
        case dbf::FieldType::kDate:
            v.date = r.GetDate(i);
            break;
        default:
            v.text = r.GetString(i);
    }
    return v;
}

bool AcceptableCell(const RecordColumn& c, const CellValue& v) {
    switch (c.kind) {
        case K::kKey:
        case K::kYearMonth:
        case K::kFlag:
            return false;
        case K::kChoice: {
            const std::string t = base::Trim(v.text);
            if (t.size() > 1) return false;
            const char ch = t.empty() ? ' ' : t[0];
            return c.allowed.find(ch) != std::string::npos;
        }
        case K::kRate:
        case K::kAmount:
        case K::kNumber:
            return v.number >= 0;
        default:
            return true;
    }
}

bool StoreCell(dbf::WorkArea& area, const RecordColumn& c, const CellValue& v) {
    if (!AcceptableCell(c, v)) return false;
    dbf::Record& r = area.record();
    const int i = area.FieldIndex(c.field);
    const dbf::Field& f = FieldOf(area, c.field);
    const CellValue old = ReadCell(c, area);
    bool changed = false;
    switch (f.type) {
        case dbf::FieldType::kNumeric: {
            const double scale = std::pow(10.0, f.decimals);
            changed = std::llround(old.number * scale) != std::llround(v.number * scale);
            if (changed) r.SetNumber(i, v.number);
            break;
        }
        case dbf::FieldType::kLogical:
            changed = old.logical != v.logical;
            if (changed) r.SetLogical(i, v.logical);
            break;
        case dbf::FieldType::kDate:
            changed = old.date != v.date;
            if (changed) r.SetDate(i, v.date);
            break;
        default: {
            std::string t = v.text;
            t.resize(f.length, ' ');
            changed = old.text != t;
            if (changed) r.SetString(i, t);
        }
    }
    if (!changed) return false;
    r.SetLogical(area.FieldIndex("KOREKTA_"), true);
    if (!area.Commit().ok())
        throw common::Abandon(codepage::FromUtf8("Błąd zapisu: ") + area.alias());
    return true;
}

}  // namespace kestrel::insurance
