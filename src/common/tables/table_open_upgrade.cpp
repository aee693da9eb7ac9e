// Upgrades run by the opener: tables whose stored layout is older than the
// catalogue (QRMXX2) and the two-digit years of the payroll tables.
#include <cctype>

#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "common/tables/table_upgrade.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

// "95" → "1995", "03" → "2003"; anything but two digits stays as it was.
std::string FourDigitYear(std::string_view two) {
    if (two.size() < 2 || !std::isdigit(static_cast<unsigned char>(two[0])) ||
        !std::isdigit(static_cast<unsigned char>(two[1])))
        return std::string(two);
    const int year = (two[0] - '0') * 10 + (two[1] - '0');
    return (year < 50 ? "20" : "19") + std::string(two.substr(0, 2));
}

}  // namespace

bool Tables::UpgradeIfOld(dbf::WorkArea& area, const std::string& dir, const std::string& table) {
    const TableLayout* layout = FindTable(table);
    if (layout == nullptr || layout->fields.empty() || area.table().read_only()) return false;

    RecordFix fix;
    std::string notice;
    std::string working;
    const int rok = area.FieldIndex("ROK_LST");
    const bool payroll_year =
        table == "PKDOCH" || table == "PKLISTY" || table == "PKPLACE" || table == "PKZASIL";
    const bool two_digit_years =
        payroll_year && rok >= 0 && area.table().fields()[static_cast<size_t>(rok)].length == 2;
    if (two_digit_years) {
        if (table != "PKPLACE") throw Abandon(rt_.Text("Błędna struktura pliku ") + area.alias());
        std::string shown = dir;
        if (shown.size() > 15) shown = "..." + shown.substr(shown.size() - 12);
        notice = "Stara struktura " + shown + table;
        working = "Trwa modyfikacja struktury " + table + ".DBF";
        fix = [](const dbf::Record& before, dbf::Record* after) {
            const int from = before.FieldIndex("ROK_LST");
            const int to = after->FieldIndex("ROK_LST");
            after->SetString(to, FourDigitYear(before.Raw(from)));
        };
    } else if (IsOldLayout(*layout, area.table().fields())) {
        notice = "\"Stara\" struktura " + table;
        working = "Trwa modyfikacja struktury " + table;
        fix = UpgradeConversion(table, area.table().fields());
    } else {
        return false;
    }

    auto& s = rt_.screen();
    WriteMessage(rt_, ShortenMessage(notice), rt_.Standard(rt_.colours().ycowp));
    rt_.console().Tone(kToneFrequency, kToneTicks);
    const char answer = Question(rt_, rt_.Text("Zmodyfikować strukturę?"), "tn");
    ClearMessageRow(rt_);
    if (!IsYes(answer) || rt_.console().LastKey() == console::key::kEsc) throw Abandon("");
    s.Write(21, 20, working, rt_.Standard(rt_.colours().ycow));

    const std::string path = area.table().path();
    base::Status st = workspace_.Close(area.number());
    if (!st.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
    std::unique_ptr<dbf::Table> old;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    exclusive.clock = &rt_.clock();
    OpenWithRetry(path, table + ".DBF", [&] { return dbf::Table::Open(path, exclusive, &old); });
    st = UpgradeTable(std::move(old), *layout, fix);
    if (st.ok() && two_digit_years) {
        // The converted list positions get all their index files at once,
        // counted at row 0.
        st = dbf::Table::Open(path, exclusive, &old);
        if (st.ok()) {
            std::vector<std::string> names;
            for (const CatalogueIndex& i : layout->indexes) names.push_back(i.name);
            RebuildIndexes(*old, dir, table, names);
            st = old->Close();
        }
    }
    s.Clear(21, 20, 21, 79, rt_.Standard(rt_.colours().ycow));
    if (!st.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd modyfikacji ") + path));
    // The program's own step of an upgrade (the payroll formulas), with the
    // table closed.
    if (dir == rt_.data_dir()) rt_.AfterUpgrade(table);
    return true;
}

}  // namespace kestrel::common
