// What a print file puts on paper: pages of text runs placed as the
// printer's head would place them.
//
// Positions are in inches from the top left of the printable area; `y` is
// the top of the line the run was printed on. Every character of a run
// takes 1/cpi inch, so a run of n characters ends at x + n / cpi.
#pragma once

#include <string>
#include <vector>

namespace kestrel::printing {

enum class Script { kNormal, kSuper, kSub };

struct TextStyle {
    double cpi = 10;
    /// Line spacing in force when the text was printed (inches); the font
    /// of the run is sized by it.
    double spacing = 1.0 / 6;
    bool bold = false;  // double strike, emphasis and bold alike
    bool italic = false;
    bool underline = false;
    Script script = Script::kNormal;

    bool operator==(const TextStyle&) const = default;
};

struct TextRun {
    double x = 0, y = 0;
    TextStyle style;
    std::string text;  // UTF-8
    int chars = 0;

    double right() const { return x + chars / style.cpi; }
};

struct PrintedPage {
    std::vector<TextRun> runs;
    /// A landscape reset was in force on the page.
    bool landscape = false;
};

struct PrintedDocument {
    std::vector<PrintedPage> pages;
    /// The title of a print-program job header, when the file had one.
    std::string job_title;
};

/// The widest a line gets (a 15-inch carriage: 136 columns at 10 cpi); the
/// head wraps to a new line past it.
inline constexpr double kCarriageInches = 13.6;
/// The longest a page gets without a form feed (fanfold paper of 12
/// inches); text below it starts a new page.
inline constexpr double kFormInches = 12.0;

}  // namespace kestrel::printing
