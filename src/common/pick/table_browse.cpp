#include "common/pick/table_browse.h"

#include "common/session/abandon.h"

namespace kestrel::common {
namespace {

// A table that cannot be read any more ends the operation: the browse has
// nothing sound to show.
void Check(const base::Status& s) {
    if (!s.ok())
        throw Abandon(
            "B\x88\xA5"
            "d odczytu: " +
            s.message());  // "Błąd odczytu: "
}

}  // namespace

void WorkAreaSource::GoTop() {
    Check(area_.GoTop());
}

void WorkAreaSource::GoBottom() {
    Check(area_.GoBottom());
}

bool WorkAreaSource::Empty() const {
    // Empty when no visible record lies either way: eof and bof at once.
    return area_.eof() && area_.bof();
}

int WorkAreaSource::Skip(int n) {
    if (area_.eof()) {
        // Past the end (or an empty table): back to the last record first.
        Check(area_.Skip(-1));
        if (area_.bof() || area_.eof()) return 0;
    }
    int moved = 0;
    while (moved < n) {
        Check(area_.Skip(1));
        if (area_.eof()) {
            Check(area_.Skip(-1));
            break;
        }
        ++moved;
    }
    while (moved > n) {
        Check(area_.Skip(-1));
        if (area_.bof()) break;
        --moved;
    }
    return moved;
}

std::vector<BrowseColumn> FieldColumns(dbf::WorkArea& area) {
    std::vector<BrowseColumn> columns;
    const auto& fields = area.table().fields();
    for (size_t i = 0; i < fields.size(); ++i) {
        const int field = static_cast<int>(i);
        const int width = std::max<int>(fields[i].length, static_cast<int>(fields[i].name.size()));
        columns.push_back(
            {fields[i].name, fields[i].type == dbf::FieldType::kMemo ? 4 : width, [&area, field] {
                 const dbf::Field& f = area.table().fields()[static_cast<size_t>(field)];
                 if (f.type == dbf::FieldType::kMemo) return std::string("memo");
                 return std::string(area.record().Raw(field));
             }});
    }
    return columns;
}

void BrowseTable(Runtime& rt, dbf::WorkArea& area, int top, int left, int bottom, int right,
                 std::vector<BrowseColumn> columns, const BrowseHandler& handler, int freeze,
                 const std::function<void(Browse&)>& setup) {
    WorkAreaSource source(area);
    if (columns.empty()) columns = FieldColumns(area);
    Browse browse(rt, top, left, bottom, right, std::move(columns), source);
    browse.set_freeze(freeze);
    browse.set_redraw_on_move(true);
    if (setup) setup(browse);
    browse.Run(handler);
}

}  // namespace kestrel::common
