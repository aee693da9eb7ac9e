#include "printing/data/control_codes.h"

#include "printing/data/printer_types.h"

namespace kestrel::printing {
namespace {

using memfile::MemValue;

const std::string kEsc = "\x1B";
const std::string kDc2 = "\x12";
const std::string kSi = "\x0F";
const std::string kFs = "\x1C";

// The pitch variables with a superscript (G) and a subscript (D) variant.
constexpr std::string_view kScriptPitches[] = {"10", "12", "17", "20"};

// The variables of the families in the order ControlCodes lists them.
constexpr std::string_view kFamilyNames[] = {
    "YPRRS", "YPR4S",  "YPRLS",  "YPR05",  "YPR06",  "YPR08",  "YPR10",  "YPR12",  "YPR17",
    "YPR20", "YPR10G", "YPR12G", "YPR17G", "YPR20G", "YPR10D", "YPR12D", "YPR17D", "YPR20D",
    "YPRPU", "YPRKU",  "YPRPB",  "YPRKB",  "YPRPE",  "YPRKE",  "YPRPI",  "YPRKI",  "YPRW6",
    "YPRW8", "YPRW12", "YPRW24", "YPRW72", "YPRW48", "YPRBKS", "YPRJKS", "YPRCF"};

// The symbolic sequences of the print program, the same for every type.
struct Symbolic {
    std::string_view name;
    std::string_view value;
};
constexpr Symbolic kSymbolic[] = {
    {"YPRRD", "{YPRRD}"},       {"YPRLD", "{YPRLD}"},     {"YPELS", "{YPELS}"},
    {"YPELD", "{YPELD}"},       {"YP1RS", "{YP1RS}"},     {"YP1LS", "{YP1LS}"},
    {"YP2RS", "{YP2RS}"},       {"YPRFONT", "{YPRFONT,"}, {"YPRFSIZ", "{YPRFSIZ,"},
    {"YPRZ", "{YPRZ,"},         {"YPRV", "{YPRV"},        {"YPRSX", "{YPRSX,"},
    {"YPRRX", "{YPRRX,"},       {"YPRGDFF", "{YPRGDFF}"}, {"YPRRECT", "{YPRRECT,"},
    {"YPRRECTC", "{YPRRECTC,"}, {"YPRBMP", "{YPRBMP,"}};

class Codes {
  public:
    void Set(std::string_view name, std::string value) {
        for (ControlCode& c : codes_)
            if (c.name == name) {
                c.value = std::move(value);
                return;
            }
        codes_.push_back({std::string(name), std::move(value)});
    }
    std::string Get(std::string_view name) const { return ControlCodeOf(codes_, name); }
    std::vector<ControlCode> Take() { return std::move(codes_); }

  private:
    std::vector<ControlCode> codes_;
};

// Replaces the final ESC "T" of a dot-matrix pitch by `script`.
std::string WithScript(const std::string& pitch, const std::string& script) {
    const std::string plain = kEsc + "T";
    if (pitch.size() >= plain.size() &&
        pitch.compare(pitch.size() - plain.size(), plain.size(), plain) == 0)
        return pitch.substr(0, pitch.size() - plain.size()) + script;
    return pitch;
}

// The styles, line spacings and sensors shared by the dot-matrix families.
void DotMatrixStyles(Codes* c) {
    c->Set("YPRPU", kEsc + "-1");
    c->Set("YPRKU", kEsc + "-0");
    c->Set("YPRPB", kEsc + "G");
    c->Set("YPRKB", kEsc + "H");
    c->Set("YPRPE", kEsc + "E");
    c->Set("YPRKE", kEsc + "F");
    c->Set("YPRPI", kEsc + "4");
    c->Set("YPRKI", kEsc + "5");
    c->Set("YPRW8", kEsc + "0");
    c->Set("YPRW48", "");
    c->Set("YPRBKS", kEsc + "8");
    c->Set("YPRJKS", kEsc + "9");
    c->Set("YPRCF", "");
}

void DotMatrixScripts(Codes* c) {
    for (std::string_view p : kScriptPitches) {
        const std::string pitch = c->Get("YPR" + std::string(p));
        c->Set("YPR" + std::string(p) + "G", WithScript(pitch, kEsc + "S0"));
        c->Set("YPR" + std::string(p) + "D", WithScript(pitch, kEsc + "S1"));
    }
}

void EpsonPitches(Codes* c) {
    c->Set("YPR05", kEsc + "P" + kDc2 + kEsc + "W1" + kEsc + "T");
    c->Set("YPR06", kEsc + "M" + kDc2 + kEsc + "W1" + kEsc + "T");
    c->Set("YPR08", kEsc + "P" + kSi + kEsc + "W1" + kEsc + "T");
    c->Set("YPR10", kEsc + "P" + kDc2 + kEsc + "W0" + kEsc + "T");
    c->Set("YPR12", kEsc + "M" + kDc2 + kEsc + "W0" + kEsc + "T");
    c->Set("YPR17", kEsc + "P" + kSi + kEsc + "W0" + kEsc + "T");
    c->Set("YPR20", kEsc + "M" + kSi + kEsc + "W0" + kEsc + "T");
}

void SameResets(Codes* c, const std::string& reset) {
    c->Set("YPRRS", reset);
    c->Set("YPR4S", reset);
    c->Set("YPRLS", reset);
}

void NinePin(Codes* c, const CodeSettings& s) {
    SameResets(c, kEsc + "@" + (s.unidirectional ? kEsc + "U1" : "") + kEsc + "P" + kDc2);
    EpsonPitches(c);
    DotMatrixScripts(c);
    DotMatrixStyles(c);
    c->Set("YPRW6", kEsc + "2");
    c->Set("YPRW12", kEsc + "A\x06");
    c->Set("YPRW24", kEsc + "A\x03");
    c->Set("YPRW72", kEsc + "A\x01");
    c->Set("YPRCF", kEsc + "j");
}

void TwentyFour(Codes* c, bool star) {
    SameResets(c, kEsc + "@" + kEsc + "P" + kDc2);
    EpsonPitches(c);
    DotMatrixScripts(c);
    DotMatrixStyles(c);
    if (star) {
        c->Set("YPRW6", kEsc + "A\x0C" + kEsc + "2");
        c->Set("YPRW12", kEsc + "A\x06" + kEsc + "2");
        c->Set("YPRW24", kEsc + "A\x03" + kEsc + "2");
        c->Set("YPRW72", kEsc + "A\x01" + kEsc + "2");
    } else {
        c->Set("YPRW6", kEsc + "2");
        c->Set("YPRW12", kEsc + "+\x1E");
        c->Set("YPRW24", kEsc + "+\x0F");
        c->Set("YPRW72", kEsc + "+\x05");
    }
}

void Ibm(Codes* c) {
    SameResets(c, kDc2);
    c->Set("YPR05", kDc2 + kEsc + "W1" + kEsc + "T");
    c->Set("YPR08", kSi + kEsc + "W1" + kEsc + "T");
    c->Set("YPR06", c->Get("YPR08"));
    c->Set("YPR10", kDc2 + kEsc + "W0" + kEsc + "T");
    c->Set("YPR17", kSi + kEsc + "W0" + kEsc + "T");
    c->Set("YPR12", c->Get("YPR17"));
    c->Set("YPR20", c->Get("YPR17"));
    DotMatrixScripts(c);
    DotMatrixStyles(c);
    c->Set("YPRPI", kFs + "4");
    c->Set("YPRKI", kFs + "5");
    c->Set("YPRW6", kEsc + "A\x0C" + kEsc + "2");
    c->Set("YPRW12", kEsc + "A\x06" + kEsc + "2");
    c->Set("YPRW24", kEsc + "A\x03" + kEsc + "2");
    c->Set("YPRW72", kEsc + "A\x01" + kEsc + "2");
}

void Pcl(Codes* c, bool symbols) {
    // Reset, page set-up (portrait, letter or A4), 10 cpi, the origin.
    auto reset = [symbols](std::string_view orientation, std::string_view size) {
        return kEsc + "E" + kEsc + "&l0u0z" + std::string(orientation) + std::string(size) + "6D" +
               (symbols ? kEsc + "(17U" : "") + kEsc + "(s0p10h12v3t1Q" + kEsc + "*p0y0X";
    };
    c->Set("YPRRS", reset("0o", "3a"));
    c->Set("YPR4S", reset("0o", "26a"));
    c->Set("YPRLS", reset("1o", "26a"));
    c->Set("YPR05", kEsc + "(s0p5h12v3T");
    c->Set("YPR10", kEsc + "(s0p10h12v3T");
    c->Set("YPR08", symbols ? c->Get("YPR10") : kEsc + "(s0p8.33h8.5v0T");
    c->Set("YPR06", c->Get("YPR08"));
    c->Set("YPR17", kEsc + "(s0p16.67h12v0T");
    c->Set("YPR12", c->Get("YPR17"));
    c->Set("YPR20", kEsc + "(s0p20h12v3T");
    const std::string sup10 = kEsc + "(s0p10h6v3T";
    const std::string sup17 = kEsc + "(s0p16.67h4.25v0T";
    const std::string sup20 = kEsc + "(s0p20h6v3T";
    for (const char* variant : {"G", "D"}) {
        const std::string v = variant;
        c->Set("YPR10" + v, sup10);
        c->Set("YPR12" + v, sup17);
        c->Set("YPR17" + v, sup17);
        c->Set("YPR20" + v, sup20);
    }
    c->Set("YPRPU", kEsc + "&d1D");
    c->Set("YPRKU", kEsc + "&d@");
    c->Set("YPRPB", kEsc + "(s0p3B");
    c->Set("YPRKB", kEsc + "(s0p0B");
    c->Set("YPRPE", symbols ? kEsc + "(s0p3B" : kEsc + "(s0p2Q");
    c->Set("YPRKE", symbols ? kEsc + "(s0p0B" : kEsc + "(s0p1Q");
    c->Set("YPRPI", kEsc + "(s0p1S");
    c->Set("YPRKI", kEsc + "(s0p0S");
    c->Set("YPRW6", kEsc + "&l6D");
    c->Set("YPRW8", kEsc + "&l8D");
    c->Set("YPRW12", kEsc + "&l12D");
    c->Set("YPRW24", kEsc + "&l24D");
    c->Set("YPRW72", kEsc + "&l72D");
    c->Set("YPRW48", kEsc + "&l48D");
    c->Set("YPRBKS", "");
    c->Set("YPRJKS", "");
    c->Set("YPRCF", "");
}

void SymbolicFamily(Codes* c) {
    for (std::string_view name : kFamilyNames) {
        std::string value = "{" + std::string(name) + "}";
        const bool script = name.size() == 6 && (name.back() == 'G' || name.back() == 'D') &&
                            name.substr(0, 3) == "YPR";
        if (script) value = "{" + std::string(name.substr(0, 5)) + "}";
        c->Set(name, value);
    }
    c->Set("YPRPE", "{YPRPB}");
    c->Set("YPRKE", "{YPRKB}");
    c->Set("YPRBKS", "");
    c->Set("YPRJKS", "");
    c->Set("YPRCF", "");
}

void InitFiles(Codes* c, Family family, const CodeSettings& s) {
    if (!s.init_from_files || family == Family::kNone || family == Family::kSymbolic) return;
    const std::string portrait = s.init_portrait.value_or("");
    const std::string landscape = s.init_landscape ? *s.init_landscape : portrait;
    c->Set("YPRRS", portrait);
    if (family == Family::kPcl || family == Family::kPclSymbols) c->Set("YPR4S", portrait);
    c->Set("YPRLS", landscape);
}

void SpecialPaper(Codes* c, Family family, Paper paper) {
    if (family != Family::kSymbolic) return;
    switch (paper) {
        case Paper::kA3:
            SameResets(c, c->Get("YPELS"));
            break;
        case Paper::kFanfold85:
            c->Set("YPRRS", c->Get("YP1RS"));
            c->Set("YPR4S", c->Get("YP1RS"));
            c->Set("YPRLS", c->Get("YP1LS"));
            break;
        case Paper::kFanfold14:
            SameResets(c, c->Get("YP2RS"));
            break;
        case Paper::kA4:
            break;
    }
}

}  // namespace

std::vector<ControlCode> ControlCodes(char type, const CodeSettings& settings) {
    Codes c;
    // Every variable exists, empty unless the family gives it a value.
    for (std::string_view name : kFamilyNames) c.Set(name, "");
    const Family family = type == 'W' ? Family::kSymbolic : FamilyOf(type);
    switch (family) {
        case Family::kNinePin:
            NinePin(&c, settings);
            break;
        case Family::kTwentyFour:
            TwentyFour(&c, false);
            break;
        case Family::kStar:
            TwentyFour(&c, true);
            break;
        case Family::kIbm:
            Ibm(&c);
            break;
        case Family::kPcl:
            Pcl(&c, false);
            break;
        case Family::kPclSymbols:
            Pcl(&c, true);
            break;
        case Family::kSymbolic:
            SymbolicFamily(&c);
            break;
        case Family::kNone:
            break;
    }
    for (const Symbolic& s : kSymbolic) c.Set(s.name, std::string(s.value));
    c.Set("YPRVD", settings.simulated_letters ? "{VDOSPRS:" : "{VDOSPRT:");
    InitFiles(&c, family, settings);
    SpecialPaper(&c, family, settings.paper);
    if (settings.no_italics) {
        c.Set("YPRPI", "");
        c.Set("YPRKI", "");
    }
    return c.Take();
}

std::string ControlCodeOf(const std::vector<ControlCode>& codes, std::string_view name) {
    for (const ControlCode& c : codes)
        if (c.name == name) return c.value;
    return "";
}

void SetControlVariables(common::Configuration* config, char type, const CodeSettings& settings) {
    for (const ControlCode& c : ControlCodes(type, settings))
        config->Set(c.name, MemValue::Char(c.value));
}

DuplexResets::DuplexResets(common::Configuration& config) : config_(config) {
    if (!config.Logical("XDUPLEX") || config.Text("NAGLTDR") != "V") return;
    const bool a3 = config.Logical("XWYDRA3");
    const std::string portrait = config.Text(a3 ? "YPELD" : "YPRRD");
    const std::string landscape = config.Text(a3 ? "YPELD" : "YPRLD");
    const std::pair<const char*, const std::string*> resets[] = {
        {"YPRRS", &portrait}, {"YPR4S", &portrait}, {"YPRLS", &landscape}};
    for (const auto& [name, value] : resets) {
        saved_.emplace_back(name, config.Find(name));
        config.Set(name, MemValue::Char(*value));
    }
}

DuplexResets::~DuplexResets() {
    for (const auto& [name, value] : saved_) {
        if (value) {
            config_.Set(name, *value);
        } else {
            config_.Remove(name);
        }
    }
}

}  // namespace kestrel::printing
