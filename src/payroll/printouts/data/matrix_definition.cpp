#include "payroll/printouts/data/matrix_definition.h"

#include <algorithm>

#include "payroll/data/payroll_records.h"
#include "platform/base/text.h"
#include "worktime/data/open_once.h"

namespace kestrel::payroll {
namespace {

constexpr const char* kCellFields[] = {"TBW_",  "WIERSZ_",    "NR_KOL",   "SZER_KOL",
                                       "OPIS_", "ZAWARTOSC_", "TYP_POLA", "MASKA_",
                                       "SUMA_", "WZOR_SUMY",  "P_X"};

std::string Text(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? std::string() : base::Trim(a.record().GetString(f));
}
int Int(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f < 0 ? 0 : static_cast<int>(a.record().GetNumber(f));
}
bool Flag(dbf::WorkArea& a, const char* field) {
    const int f = a.FieldIndex(field);
    return f >= 0 && a.record().GetLogical(f);
}

std::string Padded(std::string_view symbol) {
    std::string key(symbol.substr(0, 4));
    key.resize(4, ' ');
    return key;
}

}  // namespace

MatrixRead ReadMatrix(common::Tables& tables, std::string_view symbol, MatrixDefinition* out) {
    *out = MatrixDefinition{};
    if (!CompanyHas(tables, "PKNTBW")) return MatrixRead::kMissing;
    const std::string key = Padded(symbol);
    {
        dbf::WorkArea& h = worktime::OpenOnce(tables, "PKNTBW", {"PKNTBW1", "PKNTBW2"});
        const dbf::KeepPosition keep(h);
        worktime::OrderBy(h, "PKNTBW1");
        if (!h.Seek(key).ok()) return MatrixRead::kMissing;
        while (!h.eof() && h.deleted() && h.record().GetString(h.FieldIndex("TBW_")) == key)
            (void)h.Skip();
        if (h.eof() || h.deleted() || h.record().GetString(h.FieldIndex("TBW_")) != key)
            return MatrixRead::kMissing;
        out->symbol = Text(h, "TBW_");
        const std::string type = Text(h, "TYP_");
        out->type = type.empty() ? ' ' : type[0];
        out->title = Text(h, "NAZWA_");
        out->condition = Text(h, "WARUNEK_");
        out->sort = Int(h, "NR_IND");
        out->sort_key = Text(h, "WZOR_");
        out->level_chars = Int(h, "IL_ZNAKOW");
        out->level_name = Text(h, "NAZWA_SUMY");
        out->list_symbols = Text(h, "TYP_LISTY");
        out->start = Text(h, "WZOR_START");
    }
    if (!CompanyHas(tables, "PKTBW")) return MatrixRead::kRead;
    dbf::WorkArea& c = worktime::OpenOnce(tables, "PKTBW", {"PKTBW1"});
    for (const char* field : kCellFields)
        if (c.FieldIndex(field) < 0) return MatrixRead::kBadStructure;
    const dbf::KeepPosition keep(c);
    worktime::OrderBy(c, "PKTBW1");
    if (!c.Seek(key, /*soft=*/true).ok()) return MatrixRead::kRead;
    const int tbw = c.FieldIndex("TBW_");
    for (; !c.eof() && c.record().GetString(tbw) == key; (void)c.Skip()) {
        if (c.deleted()) continue;
        MatrixCell cell;
        cell.row = Int(c, "WIERSZ_");
        cell.column = Int(c, "NR_KOL");
        cell.width = Int(c, "SZER_KOL");
        cell.heading = Text(c, "OPIS_");
        cell.content = Text(c, "ZAWARTOSC_");
        const std::string type = Text(c, "TYP_POLA");
        cell.type = type.empty() ? 'N' : type[0];
        cell.picture = Text(c, "MASKA_");
        cell.total = Flag(c, "SUMA_");
        cell.total_by_formula = Flag(c, "WZOR_SUMY");
        cell.option = Flag(c, "P_X");
        out->cells.push_back(cell);
    }
    std::stable_sort(out->cells.begin(), out->cells.end(), [](const auto& a, const auto& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    return MatrixRead::kRead;
}

}  // namespace kestrel::payroll
