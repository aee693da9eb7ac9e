#include "utilities/table_menus.h"

#include "common/screen/identification.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <span>

#include "common/screen/menu.h"
#include "common/screen/messages.h"
#include "common/screen/question.h"
#include "common/session/abandon.h"
#include "common/tables/table_layer.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/console/keys.h"

namespace kestrel::common {
namespace {

namespace key = console::key;

bool In(std::string_view name, std::initializer_list<std::string_view> list) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

constexpr int kGridTop = 7;
constexpr int kGridRows = 14;  // rows 7-20
constexpr int kGridCols[] = {2, 15, 26, 37, 48, 59, 70};
// The list of archive directories: wide enough for "Wyjscie z archiwum".
constexpr int kArchiveCols[] = {2, 22, 42, 62};

// One grid entry: a table, or one of the special entries.
// Copying, indexing and reorganising (kind 7).
constexpr unsigned kMaskTableMaintenance = 64;

// NAGLIIN: set while tables are being re-indexed or reorganised (formula
// updates wait for the end); cleared again however the function ends.
class IndexingFlag {
  public:
    explicit IndexingFlag(Runtime& rt) : rt_(rt) {
        rt_.config().Set("NAGLIIN", memfile::MemValue::Logical(true));
    }
    ~IndexingFlag() { rt_.config().Set("NAGLIIN", memfile::MemValue::Logical(false)); }
    IndexingFlag(const IndexingFlag&) = delete;
    IndexingFlag& operator=(const IndexingFlag&) = delete;

  private:
    Runtime& rt_;
};

struct Slot {
    std::string text;
    const TableLayout* table = nullptr;  // nullptr: special entry
};

int SlotWidth(std::span<const int> cols, size_t column) {
    return column + 1 < cols.size() ? cols[column + 1] - cols[column] - 1 : 80 - cols[column];
}

// Shows one page of the grid (its columns starting at `cols`) and lets the
// operator choose. Returns the index into `slots` or -1 for Esc. More slots
// than fit go to further pages behind a ">>Dalej<<" entry.
int ChooseFromGrid(Runtime& rt, const std::string& title, const std::vector<Slot>& slots,
                   int* start, bool f12, bool* all, std::span<const int> cols = kGridCols) {
    auto& s = rt.screen();
    const console::Attr normal = rt.Standard(rt.colours().ycow);
    const int slots_per_page = kGridRows * static_cast<int>(cols.size());
    const int per_page =
        static_cast<int>(slots.size()) > slots_per_page ? slots_per_page - 1 : slots_per_page;
    int page = *start / per_page;
    for (;;) {
        s.Clear(4, 0, 22, 79, normal);
        s.Write(4, 22, title, normal);
        const int first = page * per_page;
        const int count = std::min<int>(per_page, static_cast<int>(slots.size()) - first);
        std::vector<MenuEntry> entries;
        for (int i = 0; i < count; ++i) {
            const size_t column = static_cast<size_t>(i / kGridRows);
            const Slot& slot = slots[static_cast<size_t>(first + i)];
            std::string text = slot.text.substr(0, static_cast<size_t>(SlotWidth(cols, column)));
            std::string message;
            if (slot.table != nullptr && *slot.table->description)
                message = rt.Text(slot.table->description);
            entries.push_back(MenuEntry{kGridTop + i % kGridRows, cols[column], text, message});
        }
        const bool paged = static_cast<int>(slots.size()) > per_page;
        if (paged) {
            const size_t column = static_cast<size_t>(count / kGridRows);
            entries.push_back(
                MenuEntry{kGridTop + count % kGridRows, cols[column], ">>Dalej<<", ""});
        }
        if (f12) s.Write(21, 1, "<F12>-Wszystkie zbiory", normal);
        s.Write(kMessageRow, kPromptCol,
                rt.Text("Wybierz (") + "\x18\x19" + rt.Text(") zbiór i naciśnij ENTER"), normal);
        int choice = *start - first + 1;
        bool f12_pressed = false;
        console::HotKeyAction previous;
        if (f12) {
            previous = rt.console().keyboard().Bind(key::F(12), [&] {
                f12_pressed = true;
                rt.console().keyboard().Stuff({key::kEsc});
            });
        }
        const int saved_row = rt.message_row();
        rt.set_message_row(22);
        RunMenu(rt, entries, &choice);
        rt.set_message_row(saved_row);
        if (f12) rt.console().keyboard().Bind(key::F(12), previous);
        ClearMessageRow(rt);
        s.Clear(21, 0, 22, 79, normal);
        if (f12_pressed) {
            *all = true;
            return -1;
        }
        if (choice == 0) return -1;
        if (paged && choice == count + 1) {
            page = (first + per_page >= static_cast<int>(slots.size())) ? 0 : page + 1;
            *start = page * per_page;
            continue;
        }
        *start = first + choice - 1;
        return *start;
    }
}

std::vector<Slot> GridSlots(const Runtime& rt, const std::vector<const TableLayout*>& tables,
                            bool archive) {
    std::vector<Slot> slots{{">>Koniec<<", nullptr}};
    if (archive) slots.push_back({">>ARCHIWUM<<", nullptr});
    for (const TableLayout* t : tables)
        slots.push_back({std::string(t->name) + "\xBA" + rt.Text(t->description), t});
    return slots;
}

std::vector<std::string> IndexNames(const TableLayout& t) {
    std::vector<std::string> out;
    for (const CatalogueIndex& i : t.indexes) out.push_back(i.name);
    return out;
}

void Finish(Runtime& rt, const char* utf8) {
    ShowMessage(rt, rt.Text(utf8), false);
}

// The archive directories ARCHyyyy (a year above 1990) of the company, sorted.
std::vector<std::string> ArchiveDirs(const std::string& data_dir) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(data_dir, ec)) {
        if (!e.is_directory()) continue;
        const std::string name = e.path().filename().string();
        if (name.size() != 8) continue;
        const std::string up = base::AsciiUpper(name);
        if (up.compare(0, 4, "ARCH") != 0) continue;
        if (!std::all_of(up.begin() + 4, up.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        if (std::stoi(up.substr(4)) <= 1990) continue;
        out.push_back(name);
    }
    std::sort(out.begin(), out.end());
    return out;
}

void ArchiveReindex(Runtime& rt) {
    const std::vector<std::string> dirs = ArchiveDirs(rt.data_dir());
    if (dirs.empty()) {
        ShowMessage(rt, rt.Text("Brak katalogów archiwalnych"));
        return;
    }
    std::vector<Slot> slots{{"Wyjscie z archiwum", nullptr}};
    for (const std::string& d : dirs) slots.push_back({d, nullptr});
    int at = 0;
    bool all = false;
    const int chosen =
        ChooseFromGrid(rt, "Zbiory archiwalne", slots, &at, false, &all, kArchiveCols);
    if (chosen <= 0) return;
    const std::string dir = rt.data_dir() + dirs[static_cast<size_t>(chosen - 1)] + "/";
    std::vector<const TableLayout*> tables;
    for (const char* name : {"PKCZAS", "PKNIEOB", "PKDOCH", "PKLISTY", "PKPLACE", "PKBRYG",
                             "PKSKLAD", "PKZASIL", "PKWYNAG", "PKKSKWN"})
        tables.push_back(FindTable(name));
    if (rt.config().Logical("NAGLKWP")) {
        for (const char* name : {"PKKSTNY", "PKPOZYC", "PKTRANS", "PKZYRAN"})
            tables.push_back(FindTable(name));
    }
    std::vector<Slot> grid = GridSlots(rt, tables, false);
    int start = 1;
    for (;;) {
        const int pick =
            ChooseFromGrid(rt, "Zbiory archiwalne: " + dirs[static_cast<size_t>(chosen - 1)], grid,
                           &start, false, &all);
        if (pick <= 0) return;
        ReindexTable(rt, dir, grid[static_cast<size_t>(pick)].table->name);
        Finish(rt, "Koniec indeksowania");
        start = pick + 1 < static_cast<int>(grid.size()) ? pick + 1 : 0;
    }
}

}  // namespace

std::vector<const TableLayout*> OfferedTables(const Runtime& rt, bool with_pit) {
    const bool kwp = rt.config().Logical("NAGLKWP");
    const bool pfron = rt.config().Logical("NAGLXSDML");
    const bool ppk = rt.config().Logical("NAGLPPK20");
    const bool pit = with_pit && rt.config().Logical("NAGLKORPIT");
    std::vector<const TableLayout*> out;
    for (const TableLayout& t : CatalogueTables()) {
        const std::string_view n = t.name;
        if (IsOutsideCompany(n)) continue;
        if (!kwp && In(n, {"PKCZLK", "PKKSTNY", "PKPOZYC", "PKTRANS", "PKZYRAN", "PKTYTUL",
                           "PKSTYP", "PKATRNS"}))
            continue;
        if (!pfron && In(n, {"PKINFDP", "PKAINDP", "PKZAWOD", "PKWND", "PKETPFR"})) continue;
        if (!ppk && n.substr(0, 3) == "PKJ") continue;
        if (!pit && In(n, {"PKVPIT", "PKXPIT"})) continue;
        out.push_back(&t);
    }
    return out;
}

void ReindexTable(Runtime& rt, const std::string& dir, const std::string& table) {
    const TableLayout* layout = FindTable(table);
    if (layout == nullptr) return;
    Tables tables(rt);
    if (layout->indexes.empty()) {
        // Nothing to rebuild, but the table still gets the checks of its
        // opening: an old layout is offered its upgrade here too.
        tables.set_exclusive(true);
        tables.OpenIn(dir, table, table);
        return;
    }
    tables.MarkIndexing(dir, table, true);
    tables.set_exclusive(true);
    dbf::WorkArea& area = tables.OpenIn(dir, table, table);
    tables.RebuildIndexes(area.table(), dir, table, IndexNames(*layout));
    tables.CloseAll();
    tables.set_exclusive(false);
    tables.MarkIndexing(dir, table, false);
}

void Qrm94(Runtime& rt) {
    if (!CheckRights(rt, kMaskTableMaintenance)) return;
    const IndexingFlag indexing(rt);
    const std::vector<const TableLayout*> tables = OfferedTables(rt, true);
    const std::vector<Slot> slots = GridSlots(rt, tables, true);
    int at = 0;
    for (;;) {
        bool all = false;
        const int pick =
            ChooseFromGrid(rt, rt.Text("9.4. Indeksowanie zbiorów"), slots, &at, true, &all);
        if (all) {
            if (!IsYes(Question(rt, rt.Text("Indeksować wszystkie zbiory?"), "tn"))) continue;
            for (const TableLayout* t : tables) {
                if (rt.console().NextKey() == key::kEsc) {
                    rt.console().Inkey(0);
                    Finish(rt, "Indeksowanie przerwane");
                    return;
                }
                if (!base::Exists(base::FindNoCase(rt.data_dir(), std::string(t->name) + ".DBF")))
                    continue;
                ReindexTable(rt, rt.data_dir(), t->name);
            }
            {
                Tables etyk(rt);
                etyk.set_exclusive(true);
                dbf::WorkArea& area = etyk.Open("PKETYK");
                if (!area.Zap().ok()) throw Abandon(rt.Text("Błąd zapisu PKETYK"));
            }
            Finish(rt, "Koniec indeksowania");
            continue;
        }
        if (pick <= 0) return;
        if (pick == 1) {
            ArchiveReindex(rt);
            continue;
        }
        ReindexTable(rt, rt.data_dir(), slots[static_cast<size_t>(pick)].table->name);
        Finish(rt, "Koniec indeksowania");
        at = pick + 1 < static_cast<int>(slots.size()) ? pick + 1 : 0;
    }
}

void Qrm952(Runtime& rt) {
    if (!CheckRights(rt, kMaskTableMaintenance)) return;
    const IndexingFlag indexing(rt);
    const std::vector<const TableLayout*> tables = OfferedTables(rt, false);
    const std::vector<Slot> slots = GridSlots(rt, tables, false);
    int at = 0;
    for (;;) {
        bool all = false;
        const int pick =
            ChooseFromGrid(rt, rt.Text("9.5.2. Reorganizacja zbiorów"), slots, &at, false, &all);
        if (pick <= 0) return;
        const TableLayout& t = *slots[static_cast<size_t>(pick)].table;
        {
            Tables layer(rt);
            layer.Pack(t.name, IndexNames(t));
        }
        Finish(rt, "Koniec reorganizacji zbioru");
        at = pick + 1 < static_cast<int>(slots.size()) ? pick + 1 : 0;
    }
}

}  // namespace kestrel::common
