#include "printing/data/headers.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/base/text.h"

namespace kestrel::printing {
namespace {

std::string Blanks(long n) {
    return std::string(n > 0 ? static_cast<size_t>(n) : 0, ' ');
}

std::string PageText(int page) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "Str.%4d", page);
    return buf;
}

std::string DateLine(const common::Runtime& rt) {
    return "Data wydruku: " + rt.working_date().DateText();
}

std::string Centred(const std::string& line, size_t width) {
    const std::string t = base::Trim(line);
    if (t.size() >= width) return t;
    return Blanks(static_cast<long>((width - t.size()) / 2)) + t;
}

// The company's name at 5 cpi, or letter-spaced for the laser types.
void CompanyName(common::Runtime& rt, PrintOutput& out) {
    const common::Configuration& c = rt.config();
    const std::string name = base::Trim(c.Text("NAGL1"));
    const std::string type = c.Text("NAGLTDR");
    out.Control(c.Text("YPRPB") + c.Text("YPRPE"));
    if (type == "L" || type == "K" || type == "1") {
        std::string spaced;
        for (char ch : name) {
            spaced += ch;
            spaced += ' ';
        }
        out.Text(spaced);
    } else {
        out.Control(c.Text("YPR05"));
        out.Text(name);
        out.Control(c.Text("YPR10"));
    }
    out.Control(c.Text("YPRKE") + c.Text("YPRKB"));
}

// Rows 1 and 2 of a header: the company lines, with the date at
// `date_col` (none when negative).
void CompanyLines(common::Runtime& rt, PrintOutput& out, int first_row, long pad_short,
                  long pad_long, bool date) {
    const common::Configuration& c = rt.config();
    if (!c.Find("NAGL4")) {
        out.Say(first_row, 5, "");
        out.Control(c.Text("YPRPB"));
        out.Text(c.Text("NAGL1"));
        out.Control(c.Text("YPRKB"));
        out.Say(first_row + 1, 0, c.Text("NAGL3"));
        if (date) out.Text(Blanks(pad_short) + DateLine(rt));
    } else {
        out.Say(first_row, 0, c.Text("NAGL4"));
        out.Say(first_row + 1, 10, "");
        CompanyName(rt, out);
        if (date) out.Text(Blanks(pad_long) + DateLine(rt));
    }
}

void Title(common::Runtime& rt, PrintOutput& out, int row, const std::vector<std::string>& lines,
           size_t width) {
    const common::Configuration& c = rt.config();
    for (const std::string& line : lines) {
        out.Say(row++, 0, "");
        out.Control(c.Text("YPRPU") + c.Text("YPRPB"));
        out.Text(width == 0 ? line : Centred(line, width));
        out.Control(c.Text("YPRKB") + c.Text("YPRKU"));
    }
}

}  // namespace

std::vector<std::string> WrapTitle(std::string_view text, size_t width) {
    std::vector<std::string> lines;
    std::string rest = base::Trim(text);
    while (rest.size() > width) {
        size_t cut = rest.rfind(' ', width);
        if (cut == std::string::npos || cut == 0) cut = width;
        lines.push_back(base::Trim(rest.substr(0, cut)));
        rest = base::Trim(rest.substr(cut));
    }
    if (!rest.empty() || lines.empty()) lines.push_back(rest);
    return lines;
}

void Qrmnagl(common::Runtime& rt, PrintOutput& out, int page, std::string_view title) {
    const common::Configuration& c = rt.config();
    out.Say(0, 0, "");
    out.Control(c.Text("YPR10") + c.Text("YPRW6"));
    out.Text(c.Text("NAGL2"));
    if (page != 0) out.Text(Blanks(89) + PageText(page));
    CompanyLines(rt, out, 1, 66, 75, true);
    Title(rt, out, 3, WrapTitle(title, 136), 136);
}

void Qrmnagl2(common::Runtime& rt, PrintOutput& out, int page, std::string_view title) {
    const common::Configuration& c = rt.config();
    const std::string stamp = c.Text("NAGL2");
    out.Say(0, 0, "");
    out.Control(c.Text("YPR10") + c.Text("YPRW6"));
    out.Text(stamp);
    if (page != 0) out.Text(Blanks(68 - static_cast<long>(stamp.size())) + PageText(page));
    const bool date = rt.working_date().year > 0;
    const long pad = 54 - static_cast<long>(c.Text("NAGL3").size());
    CompanyLines(rt, out, 1, pad, 30, date);
    if (title.size() == 79 || title.size() == 80) {
        Title(rt, out, 3, {std::string(title)}, 0);
    } else {
        Title(rt, out, 3, WrapTitle(title, 78), 78);
    }
}

void Qrmnagl3(common::Runtime& rt, PrintOutput& out) {
    const common::Configuration& c = rt.config();
    const std::string stamp = c.Text("NAGL2");
    const std::string town =
        base::Trim(c.Text("NAGL12")) + " dnia: " + rt.working_date().DateText();
    const int row = out.row();
    out.Say(row, 0, "");
    out.Control(c.Text("YPR10"));
    out.Text(stamp + Blanks(78 - static_cast<long>(stamp.size() + town.size())) + town);
    CompanyLines(rt, out, row + 1, 0, 0, false);
    out.NewLine();
    out.NewLine();
}

}  // namespace kestrel::printing
