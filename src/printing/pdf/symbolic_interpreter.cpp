// The print program's symbolic sequences: "{YPR17}", "{YPRPB}", ... and the
// job header "{VDOSPRT:title}" (or "{VDOSPRS:") before the first reset.
#include <array>

#include "printing/pdf/family_interpreters.h"

namespace kestrel::printing {
namespace {

constexpr size_t kLongestSequence = 256;

struct Pitch {
    std::string_view name;
    double cpi;
};
constexpr std::array<Pitch, 7> kPitches = {{{"YPR05", 5},
                                            {"YPR06", 6},
                                            {"YPR08", 8.33},
                                            {"YPR10", 10},
                                            {"YPR12", 12},
                                            {"YPR17", 17},
                                            {"YPR20", 20}}};

struct Spacing {
    std::string_view name;
    double lpi;
};
constexpr std::array<Spacing, 6> kSpacings = {
    {{"YPRW6", 6}, {"YPRW8", 8}, {"YPRW12", 12}, {"YPRW24", 24}, {"YPRW48", 48}, {"YPRW72", 72}}};

// The resets; the landscape ones (and the wide 14-inch and A3 papers) set
// the page on its side.
struct Reset {
    std::string_view name;
    bool landscape;
};
constexpr std::array<Reset, 10> kResets = {{{"YPRRS", false},
                                            {"YPR4S", false},
                                            {"YPRRD", false},
                                            {"YP1RS", false},
                                            {"YPRLS", true},
                                            {"YPRLD", true},
                                            {"YP1LS", true},
                                            {"YP2RS", true},
                                            {"YPELS", true},
                                            {"YPELD", true}}};

void Apply(std::string_view name, PrintHead& head) {
    TextStyle& s = head.style();
    for (const Reset& r : kResets) {
        if (name == r.name) {
            s = TextStyle();
            head.SetSpacing(1.0 / 6);
            head.SetLandscape(r.landscape);
            return;
        }
    }
    for (const Pitch& p : kPitches) {
        if (name == p.name) {
            s.cpi = p.cpi;
            s.script = Script::kNormal;
            return;
        }
    }
    for (const Spacing& sp : kSpacings) {
        if (name == sp.name) {
            head.SetSpacing(1 / sp.lpi);
            return;
        }
    }
    if (name == "YPRPB" || name == "YPRKB") s.bold = name == "YPRPB";
    if (name == "YPRPU" || name == "YPRKU") s.underline = name == "YPRPU";
    if (name == "YPRPI" || name == "YPRKI") s.italic = name == "YPRPI";
}

// The end ("}") of the sequence that starts at `open` ("{"), or npos when
// the brace starts none. A job header ends at the "}" before the reset that
// follows it, so a brace in the title does not end it.
size_t SequenceEnd(std::string_view in, size_t open, bool* header) {
    const std::string_view rest = in.substr(open + 1);
    *header = rest.starts_with("VDOSPRT:") || rest.starts_with("VDOSPRS:");
    if (!*header && !rest.starts_with("YP")) return std::string_view::npos;
    const size_t limit = std::min(in.size(), open + 1 + kLongestSequence);
    if (*header) {
        const size_t reset = in.find("}{YP", open);
        if (reset != std::string_view::npos && reset < limit &&
            in.substr(open, reset - open).find_first_of("\r\n\f") == std::string_view::npos)
            return reset;
    }
    for (size_t j = open + 1; j < limit; ++j) {
        if (in[j] == '}') return j;
        if (in[j] == '\r' || in[j] == '\n' || in[j] == '\f') break;
    }
    return std::string_view::npos;
}

}  // namespace

void InterpretSymbolic(std::string_view bytes, PrintHead& head) {
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        bool header = false;
        const size_t end = b == '{' ? SequenceEnd(bytes, i, &header) : std::string_view::npos;
        if (end != std::string_view::npos) {
            const std::string_view body = bytes.substr(i + 1, end - i - 1);
            if (header) {
                head.SetJobTitle(body.substr(8));
            } else {
                Apply(body, head);
            }
            i = end;
        } else if (b == 0x1B) {
            ++i;
        } else if (b >= 0x20 && b != 0x7F) {
            head.Print(b);
        } else {
            BasicControl(b, head);
        }
    }
}

}  // namespace kestrel::printing
