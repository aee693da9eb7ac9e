#include "payroll/printouts/data/matrix_cells.h"

#include <algorithm>

#include "platform/formula/date.h"
#include "platform/picture/picture.h"

namespace kestrel::payroll {

std::vector<int> CellColumns(const MatrixDefinition& m, int lead) {
    std::vector<int> columns(m.cells.size(), lead);
    // The cells are in row and column order: each row starts at the lead.
    int row = -1, x = lead;
    for (size_t i = 0; i < m.cells.size(); ++i) {
        const MatrixCell& c = m.cells[i];
        if (c.row != row) {
            row = c.row;
            x = lead;
        }
        columns[i] = x;
        x += std::max(c.width, 0) + 1;
    }
    return columns;
}

int BlockWidth(const MatrixDefinition& m, int lead) {
    const std::vector<int> columns = CellColumns(m, lead);
    int width = lead;
    for (size_t i = 0; i < m.cells.size(); ++i)
        width = std::max(width, columns[i] + std::max(m.cells[i].width, 0));
    return width;
}

int BlockRows(const MatrixDefinition& m) {
    int rows = 0;
    for (const MatrixCell& c : m.cells) rows = std::max(rows, c.row);
    return rows;
}

std::string Fit(std::string_view text, int width) {
    std::string s(text.substr(0, static_cast<size_t>(std::max(width, 0))));
    s.resize(static_cast<size_t>(std::max(width, 0)), ' ');
    return s;
}

std::string CellText(const formula::Value& v, const MatrixCell& cell) {
    const int width = std::max(cell.width, 0);
    const picture::Picture p = picture::Parse(cell.picture);
    switch (v.type()) {
        case formula::Type::kNumber: {
            std::string s = picture::FormatNumber(v.number(), p, width, 2);
            if (static_cast<int>(s.size()) > width)
                s = std::string(static_cast<size_t>(width), '*');
            return std::string(static_cast<size_t>(width) - s.size(), ' ') + s;
        }
        case formula::Type::kDate: {
            return Fit(v.julian() == 0 ? std::string() : formula::Dtoc(v.julian()), width);
        }
        case formula::Type::kLogical:
            return Fit(v.logical() ? "T" : "N", width);
        case formula::Type::kString:
            return Fit(cell.picture.empty() ? v.str() : picture::FormatText(v.str(), p), width);
        default:
            return Fit("", width);
    }
}

}  // namespace kestrel::payroll
