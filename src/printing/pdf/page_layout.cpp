#include "printing/pdf/page_layout.h"

#include <algorithm>

namespace kestrel::printing {
namespace {

// Ascent plus descent of the monospaced font, per point of its size.
constexpr double kLineHeight = 1.17;

struct Extent {
    double width = 0, height = 0;  // points
};

Extent Measure(const PrintedPage& page) {
    Extent e;
    for (const TextRun& r : page.runs) {
        e.width = std::max(e.width, r.right() * 72);
        e.height = std::max(e.height, r.y * 72 + FontPoints(r.style) * kLineHeight);
    }
    return e;
}

double Fit(const Extent& e, double width, double height) {
    double s = 1;
    if (e.width > width) s = std::min(s, width / e.width);
    if (e.height > height) s = std::min(s, height / e.height);
    return s;
}

}  // namespace

double FontPoints(const TextStyle& style) {
    const double size = std::clamp(style.spacing * 72 * 1.05, 4.0, 10.0);
    return style.script == Script::kNormal ? size : size * 0.6;
}

std::vector<SheetLayout> LayOutSheets(const PrintedDocument& doc) {
    Extent kinds[2];  // [0] free to choose, [1] under a landscape reset
    for (const PrintedPage& page : doc.pages) {
        const Extent e = Measure(page);
        Extent& k = kinds[page.landscape ? 1 : 0];
        k.width = std::max(k.width, e.width);
        k.height = std::max(k.height, e.height);
    }
    const double shorter = kA4ShortPoints - 2 * kMarginPoints;
    const double longer = kA4LongPoints - 2 * kMarginPoints;
    const double portrait = Fit(kinds[0], shorter, longer);
    const double landscape = Fit(kinds[0], longer, shorter);
    const SheetLayout free =
        landscape > portrait + 1e-9 ? SheetLayout{true, landscape} : SheetLayout{false, portrait};
    const SheetLayout turned{true, Fit(kinds[1], longer, shorter)};
    std::vector<SheetLayout> sheets;
    sheets.reserve(doc.pages.size());
    for (const PrintedPage& page : doc.pages) sheets.push_back(page.landscape ? turned : free);
    return sheets;
}

}  // namespace kestrel::printing
