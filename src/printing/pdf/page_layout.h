// How the printed pages go onto A4 sheets.
//
// Every sheet is A4 with a margin of 5 mm; the text keeps the size the
// printer gives it unless it does not fit, and then shrinks as a whole.
// The rule for the sheet's orientation: pages printed under a landscape
// reset go on landscape sheets; every other page goes on a portrait sheet
// unless its text would come out larger on a landscape one (wide text: a
// 136-column list at 10 or 12 cpi). The decision is taken once for all the
// pages of each of the two kinds, from the widest line and the longest page
// among them, so the pages of one print-out share one orientation and one
// size of type.
#pragma once

#include <vector>

#include "printing/pdf/page_model.h"

namespace kestrel::printing {

inline constexpr double kA4ShortPoints = 595.276;
inline constexpr double kA4LongPoints = 841.890;
inline constexpr double kMarginPoints = 72 * 5 / 25.4;

struct SheetLayout {
    bool landscape = false;
    /// Points of the sheet per point of the printer's page (at most 1).
    double scale = 1;
    double width_points() const { return landscape ? kA4LongPoints : kA4ShortPoints; }
    double height_points() const { return landscape ? kA4ShortPoints : kA4LongPoints; }
};

/// The size (points) of the font of a run: 10 points at 6 lines per inch
/// or less, smaller for denser lines; super- and subscripts at 60 %.
double FontPoints(const TextStyle& style);

/// One sheet per page of `doc`.
std::vector<SheetLayout> LayOutSheets(const PrintedDocument& doc);

}  // namespace kestrel::printing
