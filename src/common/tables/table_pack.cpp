// Packing a company table (QRMPACK) and the index marks of PKETYK.
#include <cmath>

#include "common/screen/messages.h"
#include "common/session/abandon.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "common/tables/table_upgrade.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::common {
namespace {}  // namespace

bool NumbersInRange(const dbf::Record& rec) {
    const auto& fields = rec.fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const dbf::Field& f = fields[i];
        if (f.type != dbf::FieldType::kNumeric) continue;
        const int field = static_cast<int>(i);
        if (rec.IsBlank(field)) continue;
        const double v = rec.GetNumber(field);
        const int w = f.length;
        const int d = f.decimals;
        double max, min;
        if (d == 0) {
            max = std::pow(10.0, w) - 1;
            min = -(std::pow(10.0, w - 1) - 1);
        } else {
            max = (std::pow(10.0, w - 1) - 1) / std::pow(10.0, d);
            min = -(std::pow(10.0, w - 2) - 1) / std::pow(10.0, d);
        }
        const double resolution = std::pow(10.0, -d);
        const double slack = resolution * 1e-6;
        if (!std::isfinite(v) || v > max + slack || v < min - slack) return false;
        if (v != 0 && std::fabs(v) < resolution - slack) return false;
    }
    return true;
}

void Tables::MarkIndexing(const std::string& dir, std::string_view table, bool on) {
    struct Shared {
        bool& mode;
        bool saved;
        ~Shared() { mode = saved; }
    } shared{exclusive_, exclusive_};
    exclusive_ = false;  // PKETYK is shared by everyone
    // A directory without its marks table (an archive) gets an empty one.
    if (!base::Exists(base::FindNoCase(dir, "PKETYK.DBF"))) {
        base::Status made =
            dbf::Table::Create((dir.empty() || dir.back() == '/' ? dir : dir + "/") + "PKETYK.DBF",
                               FindTable("PKETYK")->Specs(), nullptr, &rt_.clock());
        if (!made.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + dir + "PKETYK.DBF"));
    }
    dbf::WorkArea& etyk = OpenIn(dir, "PKETYK", "PKETYK");
    const int name = etyk.FieldIndex("NAZWA_ZB");
    const int mark = etyk.FieldIndex("BLAD_IND");
    if (name < 0 || mark < 0) throw Abandon(rt_.Text("Błędna struktura pliku PKETYK"));
    const std::string wanted = base::AsciiUpper(table);
    base::Status s = etyk.GoTop();
    while (s.ok() && !etyk.eof() && base::TrimRight(etyk.record().GetString(name)) != wanted) {
        s = etyk.Skip(1);
    }
    if (!s.ok()) throw Abandon(rt_.Text("Błąd odczytu PKETYK"));
    if (etyk.eof()) {
        Append(etyk);
        etyk.record().SetString(name, wanted);
    } else {
        RLock(etyk);
    }
    etyk.record().SetLogical(mark, on);
    s = etyk.Commit();
    if (s.ok()) s = etyk.Unlock();
    if (!s.ok()) throw Abandon(rt_.Text("Błąd zapisu PKETYK"));
    s = workspace_.Close(etyk.number());
    (void)s;
}

void Tables::Pack(std::string_view table, const std::vector<std::string>& indexes) {
    PackIn(rt_.data_dir(), table, indexes, true);
}

void Tables::PackIn(const std::string& dir, std::string_view table_name,
                    const std::vector<std::string>& indexes, bool range_filter) {
    const std::string table = base::AsciiUpper(table_name);
    auto& screen = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    struct ModeBack {
        Tables& t;
        bool saved;
        ~ModeBack() { t.exclusive_ = saved; }
    } back{*this, exclusive_};

    WriteMessage(rt_, rt_.Text("Trwa usuwanie rekordów skasowanych"), normal);
    exclusive_ = true;
    dbf::WorkArea& area = OpenIn(dir, table, table);
    const std::string path = area.table().path();
    Replacement how;
    for (const dbf::Field& f : area.table().fields())
        how.layout.push_back(dbf::FieldSpec{f.name, f.type, f.length, f.decimals});
    if (range_filter) how.keep = NumbersInRange;
    for (const std::string& i : indexes) how.index_files.push_back(base::AsciiUpper(i));
    const uint32_t records = area.table().record_count();
    screen.Write(0, 0, "      0/" + std::to_string(records), normal);
    how.progress = [&, records](uint32_t recno) {
        if (recno % 1024 != 0 && recno != records) return;
        std::string shown = std::to_string(recno);
        if (shown.size() < 7) shown.insert(0, 7 - shown.size(), ' ');
        screen.Write(0, 0, shown, normal);
        rt_.console().Refresh();
    };
    base::Status s = workspace_.Close(area.number());
    std::unique_ptr<dbf::Table> old;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    exclusive.clock = &rt_.clock();
    if (s.ok()) {
        OpenWithRetry(path, table + ".DBF",
                      [&] { return dbf::Table::Open(path, exclusive, &old); });
        if (!indexes.empty()) MarkIndexing(dir, table, true);
        s = ReplaceTable(std::move(old), how);
    }
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd pakowania ") + path));

    if (!indexes.empty()) {
        WriteMessage(rt_, "Aktualizacja indeksu", normal);
        dbf::WorkArea& packed = OpenIn(dir, table, table);
        RebuildIndexes(packed.table(), dir, table, how.index_files);
        s = workspace_.Close(packed.number());
        exclusive_ = back.saved;
        MarkIndexing(dir, table, false);
    }
    screen.Clear(0, 0, 0, 20, normal);
    ClearMessageRow(rt_);
}

}  // namespace kestrel::common
