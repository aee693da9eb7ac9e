// Opening company tables with their indexes (QRMXX and its variants), the
// creation of missing tables (QRMXX1) and the building of index files.
#include <cerrno>
#include <fstream>

#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/index_keys.h"
#include "common/tables/shipped_content.h"
#include "common/tables/table_catalogue.h"
#include "common/tables/table_layer.h"
#include "common/tables/table_upgrade.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"
#include "platform/dbf/dbf_header.h"
#include "platform/dbf/file.h"

namespace kestrel::common {
namespace {

bool SameExpression(std::string_view a, std::string_view b) {
    return base::AsciiUpper(a) == base::AsciiUpper(b);
}

// QRMBRAK's form of a file name: longer than 33 characters, its first 2,
// "..." and its last 28.
std::string ShortName(const std::string& path) {
    if (path.size() <= 33) return path;
    return path.substr(0, 2) + "..." + path.substr(path.size() - 28);
}

// Whether the table file at `path` declares memo fields (an older layout of
// a table may lack the memo its catalogue layout has, and with it the .DBT).
// A header that cannot be read counts as declaring them.
bool StoredWithMemo(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(32, '\0');
    dbf::DbfHeader h;
    if (!in.read(bytes.data(), 32) || !dbf::DecodePrologue(path, bytes, &h).ok() ||
        h.header_length <= 32)
        return true;
    bytes.resize(h.header_length);
    if (!in.read(bytes.data() + 32, static_cast<std::streamsize>(h.header_length) - 32) ||
        !dbf::DecodeFields(path, bytes, &h).ok())
        return true;
    return h.has_memo();
}

}  // namespace

std::string ShortenMessage(std::string_view text) {
    if (text.size() <= 38) return std::string(text);
    return std::string(text.substr(0, 7)) + "..." + std::string(text.substr(text.size() - 28));
}

void ShowCancelled(Runtime& rt) {
    WriteMessage(rt, "Operacja skasowana", rt.Standard(rt.colours().ycowg));
    rt.console().Tone(kToneFrequency, kToneTicks);
    Qrmndk(rt);
}

Tables::Tables(Runtime& rt, RetryPolicy policy)
    : rt_(rt),
      policy_(std::move(policy)),
      initial_content_(ShippedContent(ShippedDataDir(rt.data_dir()))) {}

Tables::~Tables() {
    CloseAll();
}

void Tables::CloseAll() {
    workspace_.CloseAll();
}

dbf::WorkArea& Tables::Open(std::string_view table, const std::vector<std::string>& indexes) {
    return OpenTable(rt_.data_dir(), base::AsciiUpper(table), base::AsciiUpper(table), indexes);
}

dbf::WorkArea& Tables::OpenAs(std::string_view alias, std::string_view table,
                              const std::vector<std::string>& indexes) {
    return OpenTable(rt_.data_dir(), base::AsciiUpper(alias), base::AsciiUpper(table), indexes);
}

dbf::WorkArea& Tables::OpenIn(const std::string& dir, std::string_view alias,
                              std::string_view table, const std::vector<std::string>& indexes) {
    return OpenTable(dir, base::AsciiUpper(alias.empty() ? table : alias), base::AsciiUpper(table),
                     indexes);
}

dbf::WorkArea& Tables::OpenTable(const std::string& dir, std::string alias,
                                 const std::string& table,
                                 const std::vector<std::string>& indexes) {
    const TableLayout* layout = FindTable(table);
    if (!RecoverReplacement(dir, table).ok()) {
        throw Abandon(ShortenMessage(rt_.Text("Błąd ") + dir + table + ".DBF"));
    }
    std::string path = base::FindNoCase(dir, table + ".DBF");
    if (!base::Exists(path)) {
        if (layout == nullptr || !IsCreatable(table)) throw Abandon("Brak " + ShortName(path));
        CreateMissing(dir, table);
        path = base::FindNoCase(dir, table + ".DBF");
    }
    if (layout != nullptr && layout->memo()) {
        const std::string memo = base::FindNoCase(dir, table + ".DBT");
        if (!base::Exists(memo) && StoredWithMemo(path)) throw Abandon("Brak " + ShortName(memo));
    }

    dbf::WorkArea* area = nullptr;
    dbf::OpenOptions options;
    options.exclusive = exclusive_;
    options.read_only = read_only();
    options.clock = &rt_.clock();
    OpenWithRetry(path, table + ".DBF",
                  [&] { return workspace_.Use(path, alias, options, &area); });
    if (area == nullptr) throw Abandon(rt_.Text("Błąd otwarcia: ") + table);
    if (UpgradeIfOld(*area, dir, table)) return OpenTable(dir, alias, table, indexes);
    const std::vector<std::string> rebuild = IndexesToBuild(*area, dir, table, indexes);
    if (!rebuild.empty() && !area->table().exclusive()) {
        // Index files are built only while nobody else has the table open,
        // so that no other workstation goes on writing keys into a file
        // that is being replaced.
        base::Status closed = workspace_.Close(area->number());
        if (!closed.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
        area = nullptr;
        {
            std::unique_ptr<dbf::Table> held;
            dbf::OpenOptions exclusive;
            exclusive.exclusive = true;
            OpenWithRetry(path, table + ".DBF",
                          [&] { return dbf::Table::Open(path, exclusive, &held); });
            for (const std::string& index : rebuild) BuildIndex(*held, dir, table, index);
            closed = held->Close();
            if (!closed.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
        }
        OpenWithRetry(path, table + ".DBF",
                      [&] { return workspace_.Use(path, alias, options, &area); });
        if (area == nullptr) throw Abandon(rt_.Text("Błąd otwarcia: ") + table);
    }
    OpenIndexes(*area, dir, table, indexes);
    base::Status s = area->GoTop();
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
    return *area;
}

void Tables::CreateMissing(const std::string& dir, const std::string& table) {
    const TableLayout* layout = FindTable(table);
    const bool memo = layout->memo();
    const std::string message = memo ? rt_.Text("Brak plików ") + table + ".DBF," + table + ".DBT"
                                     : rt_.Text("Brak pliku ") + table + ".DBF";
    WriteMessage(rt_, message, rt_.Standard(rt_.colours().ycowp));
    rt_.console().Tone(kToneFrequency, kToneTicks);
    const bool from_matrices = table == "PKNTBW" &&
                               base::Exists(base::FindNoCase(dir, "PKTBW.DBF")) &&
                               base::Exists(base::FindNoCase(dir, "PKTBW1.NTX"));
    const char answer = Question(rt_,
                                 rt_.Text(from_matrices ? "Utworzyć na podstawie PKTBW ?"
                                          : memo        ? "Utworzyć pliki ?"
                                                        : "Utworzyć plik ?"),
                                 "tn");
    ClearMessageRow(rt_);
    if (!IsYes(answer) || rt_.console().LastKey() == console::key::kEsc) throw Abandon("");
    if (from_matrices) {
        NamesFromMatrices(dir);
        return;
    }

    const std::string path = (dir.empty() || dir.back() == '/' ? dir : dir + "/") + table + ".DBF";
    base::Status s = dbf::Table::Create(path, layout->Specs(), nullptr, &rt_.clock());
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    exclusive.clock = &rt_.clock();
    s = dbf::Table::Open(path, exclusive, &t);
    if (!s.ok()) throw Abandon(rt_.Text("Błąd otwarcia ") + table + ".DBF");
    if (initial_content_ && HasInitialContent(table)) s = initial_content_(table, *t);
    if (s.ok()) s = t->Close();
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + path));
}

void Tables::NamesFromMatrices(const std::string& dir) {
    const std::string prefix = dir.empty() || dir.back() == '/' ? dir : dir + "/";
    const std::string scratch = prefix + "PKNTBW.NEW";
    if (!dbf::RemoveFile(scratch).ok()) throw Abandon(rt_.Text("Błąd kasowania PKNTBW.NEW"));
    base::Status s =
        dbf::Table::Create(scratch, FindTable("PKNTBW")->Specs(), nullptr, &rt_.clock());
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + scratch));
    {
        std::unique_ptr<dbf::Table> names;
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        exclusive.clock = &rt_.clock();
        s = dbf::Table::Open(scratch, exclusive, &names);
        if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + scratch));
        dbf::WorkArea& tbw = OpenIn(dir, "PKTBW", "PKTBW", {"PKTBW1"});
        const int field = tbw.FieldIndex("TBW_");
        dbf::Record rec = names->NewRecord();
        const int target = rec.FieldIndex("TBW_");
        std::string last;
        bool first = true;
        for (s = tbw.GoTop(); s.ok() && !tbw.eof(); s = tbw.Skip(1)) {
            const std::string value = tbw.record().GetString(field);
            if (!first && value < last) {
                throw Abandon(rt_.Text("Błędny indeks PKTBW"));
            }
            if (first || value != last) {
                rec.Clear();
                rec.SetString(target, value);
                uint32_t recno = 0;
                s = names->Append(rec, &recno);
                if (!s.ok()) break;
            }
            last = value;
            first = false;
        }
        base::Status closed = workspace_.Close(tbw.number());
        if (s.ok()) s = closed;
        if (s.ok()) s = names->Close();
        if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + scratch));
    }
    s = dbf::RenameFile(scratch, prefix + "PKNTBW.DBF");
    if (!s.ok()) throw Abandon(ShortenMessage(rt_.Text("Błąd ") + scratch));
}

void Tables::BuildIndex(dbf::Table& data, const std::string& dir, std::string_view table,
                        const std::string& index) {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    WriteMessage(rt_, "Tworzenie indeksu: " + base::AsciiUpper(index) + ".NTX", normal);
    s.Write(0, 7, "/" + std::to_string(data.record_count()), normal);
    struct Cleared {
        Runtime& rt;
        console::Attr attr;
        ~Cleared() {
            WriteMessage(rt, "", attr);
            rt.screen().Clear(0, 0, 0, 20, attr);
        }
    } cleared{rt_, normal};
    WriteIndex(data, dir, table, index);
}

void Tables::RebuildIndexes(dbf::Table& data, const std::string& dir, std::string_view table,
                            const std::vector<std::string>& indexes) {
    auto& s = rt_.screen();
    const console::Attr normal = rt_.Standard(rt_.colours().ycow);
    const std::string count = std::to_string(data.record_count());
    const std::string total = std::to_string(indexes.size());
    struct Cleared {
        Runtime& rt;
        console::Attr attr;
        ~Cleared() { rt.screen().Clear(0, 0, 0, 30, attr); }
    } cleared{rt_, normal};
    for (size_t n = 1; n <= indexes.size(); ++n) {
        s.Write(0, 0,
                n == 1 ? "      0(1)/" + count + "(" + total + ")" : "      0(" + std::to_string(n),
                normal);
        WriteIndex(data, dir, table, indexes[n - 1]);
    }
}

void Tables::WriteIndex(dbf::Table& data, const std::string& dir, std::string_view table,
                        const std::string& index) {
    const CatalogueIndex* def = IndexDefinitionOf(table, index);
    if (def == nullptr) {
        throw Abandon(rt_.Text("Błąd indeksu: ") + std::string(table) + "(" +
                      base::AsciiUpper(index) + ")");
    }
    IndexKeys keys(data.fields(), rt_.letters(), rt_.formulas());
    dbf::IndexDefinition definition;
    base::Status st = keys.Define(*def, &definition);
    if (st.ok() && rt_.config().Logical("NAGLIIN")) {
        // The record number at row 0 while the re-indexing functions run: the
        // build asks the condition once for every record, in record order.
        auto& screen = rt_.screen();
        const console::Attr normal = rt_.Standard(rt_.colours().ycow);
        console::Console& console = rt_.console();
        const uint32_t last = data.record_count();
        uint32_t at = 0;
        dbf::ForFunction condition = std::move(definition.condition);
        definition.condition = [&screen, &console, normal, last, at,
                                condition](const dbf::Record& rec) mutable {
            ++at;
            if (at % 1024 == 0 || at == last) {
                std::string shown = std::to_string(at);
                if (shown.size() < 7) shown.insert(0, 7 - shown.size(), ' ');
                screen.Write(0, 0, shown, normal);
                console.Refresh();
            }
            return !condition || condition(rec);
        };
    }
    if (st.ok()) {
        const std::string existing = base::FindNoCase(dir, base::AsciiUpper(index) + ".NTX");
        const std::string path = base::Exists(existing)
                                     ? existing
                                     : (dir.empty() || dir.back() == '/' ? dir : dir + "/") +
                                           base::AsciiUpper(index) + ".NTX";
        st = dbf::Index::Create(path, &data, definition);
    }
    if (!st.ok())
        throw Abandon(ShortenMessage(rt_.Text("Błąd ") + base::AsciiUpper(index) + ".NTX"));
}

std::vector<std::string> Tables::IndexesToBuild(dbf::WorkArea& area, const std::string& dir,
                                                const std::string& table,
                                                const std::vector<std::string>& indexes) {
    std::vector<std::string> out;
    if (area.table().read_only()) return out;
    for (const std::string& raw : indexes) {
        const std::string index = base::AsciiUpper(raw);
        const CatalogueIndex* def = IndexDefinitionOf(table, index);
        if (def == nullptr) continue;  // reported when the indexes are opened
        const std::string path = base::FindNoCase(dir, index + ".NTX");
        if (!base::Exists(path)) {
            out.push_back(index);
            continue;
        }
        std::unique_ptr<dbf::Index> idx;
        base::Status s = dbf::Index::Open(path, false, true, &idx);
        if (s.IsCorruption() ||
            (s.ok() && (!SameExpression(idx->key_expression(), def->key) ||
                        !SameExpression(idx->for_expression(), def->condition)))) {
            out.push_back(index);
        }
    }
    return out;
}

void Tables::OpenIndexes(dbf::WorkArea& area, const std::string& dir, const std::string& table,
                         const std::vector<std::string>& indexes) {
    if (indexes.empty()) return;
    IndexKeys keys(area.table().fields(), rt_.letters(), rt_.formulas());
    for (const std::string& raw : indexes) {
        const std::string index = base::AsciiUpper(raw);
        const CatalogueIndex* def = IndexDefinitionOf(table, index);
        if (def == nullptr) {
            throw Abandon(rt_.Text("Błąd indeksu: ") + table + "(" + index + ")");
        }
        std::string path = base::FindNoCase(dir, index + ".NTX");
        if (!base::Exists(path)) BuildIndex(area.table(), dir, table, index);
        path = base::FindNoCase(dir, index + ".NTX");

        std::unique_ptr<dbf::Index> opened;
        for (int attempt = 0;; ++attempt) {
            base::Status s;
            OpenWithRetry(path, index + ".NTX", [&] {
                s = dbf::Index::Open(path, area.table().exclusive(), area.table().read_only(),
                                     &opened);
                return s.IsCorruption() ? base::Status::Ok() : s;
            });
            // A damaged index, or one written with another key, is rebuilt
            // once from the catalogue.
            const bool stale =
                s.ok() && (!SameExpression(opened->key_expression(), def->key) ||
                           !SameExpression(opened->for_expression(), def->condition));
            if (s.ok() && !stale) break;
            if (attempt > 0 || area.table().read_only()) {
                throw Abandon(rt_.Text("Błąd otwarcia indeksów: ") + table);
            }
            if (opened) opened->Close();
            opened.reset();
            BuildIndex(area.table(), dir, table, index);
        }
        dbf::IndexDefinition definition;
        base::Status s = keys.Define(*def, &definition);
        if (!s.ok()) throw Abandon(rt_.Text("Błąd indeksu: ") + table + "(" + index + ")");
        opened->Bind(definition.key, definition.condition);
        s = area.AddIndex(std::move(opened));
        if (!s.ok()) throw Abandon(rt_.Text("Błąd otwarcia indeksów: ") + table);
    }
    if (area.index_count() != indexes.size()) {
        throw Abandon(rt_.Text("Błąd otwarcia indeksów: ") + table);
    }
}

}  // namespace kestrel::common
