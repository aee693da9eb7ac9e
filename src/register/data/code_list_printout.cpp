#include "register/data/code_list_printout.h"

#include "register/data/paged_printout.h"

namespace kestrel::registry {
namespace {

// The lines of one row: every cell at its place.
std::vector<std::string> RowLines(const ListLayout& layout, const std::vector<ListColumn>& columns,
                                  const std::vector<std::string>& cells) {
    std::vector<std::string> lines(static_cast<size_t>(layout.lines));
    for (size_t i = 0; i < columns.size(); ++i) {
        const ListPlace& p = layout.places[i];
        std::string& line = lines[static_cast<size_t>(p.line)];
        line.resize(static_cast<size_t>(p.col), ' ');
        line +=
            Fit(i < cells.size() ? cells[i] : std::string(), static_cast<size_t>(columns[i].width));
    }
    return lines;
}

}  // namespace

ListLayout LayOutList(const std::vector<ListColumn>& columns) {
    ListLayout layout;
    int total = -1;
    for (const ListColumn& c : columns) total += c.width + 1;
    layout.wide = total > kNarrowWidth;
    const int width = layout.wide ? kWideWidth : kNarrowWidth;
    const int indent = columns.empty() ? 0 : columns[0].width + 1;
    int line = 0, col = 0;
    for (size_t i = 0; i < columns.size(); ++i) {
        const int w = columns[i].width;
        if (i > 0 && col + w > width && col > indent) {
            ++line;
            col = indent;
        }
        layout.places.push_back({line, col});
        col += w + 1;
    }
    layout.lines = line + 1;
    return layout;
}

int WriteCodeList(common::Runtime& rt, printing::PrintOutput& out, const CodeList& list) {
    const ListLayout layout = LayOutList(list.columns);
    std::vector<std::string> headings;
    for (const ListColumn& c : list.columns) headings.push_back(c.heading);
    PagedPrintout pages(rt, out, list.title, layout.wide, RowLines(layout, list.columns, headings));
    int count = 0;
    std::vector<std::string> cells;
    while (!(list.interrupted && list.interrupted()) && list.rows(&cells)) {
        pages.Block(RowLines(layout, list.columns, cells));
        ++count;
        cells.clear();
    }
    pages.Gap();
    pages.Block({"Razem pozycji: " + std::to_string(count)});
    pages.Finish();
    return count;
}

}  // namespace kestrel::registry
