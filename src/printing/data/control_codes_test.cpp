#include "printing/data/control_codes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "printing/data/printer_types.h"

namespace kestrel::printing {
namespace {

// "<ESC>", "<DC2>", "<SI>", "<FS>" and "<xx>" (two hex digits) as bytes.
std::string B(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size();) {
        if (s[i] == '<') {
            const size_t end = s.find('>', i);
            const std::string token(s.substr(i + 1, end - i - 1));
            if (token == "ESC")
                out += '\x1B';
            else if (token == "DC2")
                out += '\x12';
            else if (token == "SI")
                out += '\x0F';
            else if (token == "FS")
                out += '\x1C';
            else
                out += static_cast<char>(std::stoi(token, nullptr, 16));
            i = end + 1;
        } else {
            out += s[i++];
        }
    }
    return out;
}

const std::string kPclReset = "<ESC>E<ESC>&l0u0z0o3a6D<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";
const std::string kPclA4 = "<ESC>E<ESC>&l0u0z0o26a6D<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";
const std::string kPclLand = "<ESC>E<ESC>&l0u0z1o26a6D<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";
const std::string kPcl17Reset = "<ESC>E<ESC>&l0u0z0o3a6D<ESC>(17U<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";
const std::string kPcl17A4 = "<ESC>E<ESC>&l0u0z0o26a6D<ESC>(17U<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";
const std::string kPcl17Land = "<ESC>E<ESC>&l0u0z1o26a6D<ESC>(17U<ESC>(s0p10h12v3t1Q<ESC>*p0y0X";

// Variable, then its sequence for 9-pin, 24-pin, Star, IBM, PCL and PCL with
// a symbol set, written out as the printers' manuals list them.
struct Row {
    const char* name;
    std::string nine, twenty_four, star, ibm, pcl, pcl_symbols;
};

const std::vector<Row>& Expected() {
    static const std::vector<Row> rows = {
        {"YPRRS", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<DC2>", kPclReset,
         kPcl17Reset},
        {"YPR4S", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<DC2>", kPclA4,
         kPcl17A4},
        {"YPRLS", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<ESC>@<ESC>P<DC2>", "<DC2>", kPclLand,
         kPcl17Land},
        {"YPR05", "<ESC>P<DC2><ESC>W1<ESC>T", "<ESC>P<DC2><ESC>W1<ESC>T",
         "<ESC>P<DC2><ESC>W1<ESC>T", "<DC2><ESC>W1<ESC>T", "<ESC>(s0p5h12v3T", "<ESC>(s0p5h12v3T"},
        {"YPR06", "<ESC>M<DC2><ESC>W1<ESC>T", "<ESC>M<DC2><ESC>W1<ESC>T",
         "<ESC>M<DC2><ESC>W1<ESC>T", "<SI><ESC>W1<ESC>T", "<ESC>(s0p8.33h8.5v0T",
         "<ESC>(s0p10h12v3T"},
        {"YPR08", "<ESC>P<SI><ESC>W1<ESC>T", "<ESC>P<SI><ESC>W1<ESC>T", "<ESC>P<SI><ESC>W1<ESC>T",
         "<SI><ESC>W1<ESC>T", "<ESC>(s0p8.33h8.5v0T", "<ESC>(s0p10h12v3T"},
        {"YPR10", "<ESC>P<DC2><ESC>W0<ESC>T", "<ESC>P<DC2><ESC>W0<ESC>T",
         "<ESC>P<DC2><ESC>W0<ESC>T", "<DC2><ESC>W0<ESC>T", "<ESC>(s0p10h12v3T",
         "<ESC>(s0p10h12v3T"},
        {"YPR12", "<ESC>M<DC2><ESC>W0<ESC>T", "<ESC>M<DC2><ESC>W0<ESC>T",
         "<ESC>M<DC2><ESC>W0<ESC>T", "<SI><ESC>W0<ESC>T", "<ESC>(s0p16.67h12v0T",
         "<ESC>(s0p16.67h12v0T"},
        {"YPR17", "<ESC>P<SI><ESC>W0<ESC>T", "<ESC>P<SI><ESC>W0<ESC>T", "<ESC>P<SI><ESC>W0<ESC>T",
         "<SI><ESC>W0<ESC>T", "<ESC>(s0p16.67h12v0T", "<ESC>(s0p16.67h12v0T"},
        {"YPR20", "<ESC>M<SI><ESC>W0<ESC>T", "<ESC>M<SI><ESC>W0<ESC>T", "<ESC>M<SI><ESC>W0<ESC>T",
         "<SI><ESC>W0<ESC>T", "<ESC>(s0p20h12v3T", "<ESC>(s0p20h12v3T"},
        {"YPR10G", "<ESC>P<DC2><ESC>W0<ESC>S0", "<ESC>P<DC2><ESC>W0<ESC>S0",
         "<ESC>P<DC2><ESC>W0<ESC>S0", "<DC2><ESC>W0<ESC>S0", "<ESC>(s0p10h6v3T",
         "<ESC>(s0p10h6v3T"},
        {"YPR12G", "<ESC>M<DC2><ESC>W0<ESC>S0", "<ESC>M<DC2><ESC>W0<ESC>S0",
         "<ESC>M<DC2><ESC>W0<ESC>S0", "<SI><ESC>W0<ESC>S0", "<ESC>(s0p16.67h4.25v0T",
         "<ESC>(s0p16.67h4.25v0T"},
        {"YPR17G", "<ESC>P<SI><ESC>W0<ESC>S0", "<ESC>P<SI><ESC>W0<ESC>S0",
         "<ESC>P<SI><ESC>W0<ESC>S0", "<SI><ESC>W0<ESC>S0", "<ESC>(s0p16.67h4.25v0T",
         "<ESC>(s0p16.67h4.25v0T"},
        {"YPR20G", "<ESC>M<SI><ESC>W0<ESC>S0", "<ESC>M<SI><ESC>W0<ESC>S0",
         "<ESC>M<SI><ESC>W0<ESC>S0", "<SI><ESC>W0<ESC>S0", "<ESC>(s0p20h6v3T", "<ESC>(s0p20h6v3T"},
        {"YPR10D", "<ESC>P<DC2><ESC>W0<ESC>S1", "<ESC>P<DC2><ESC>W0<ESC>S1",
         "<ESC>P<DC2><ESC>W0<ESC>S1", "<DC2><ESC>W0<ESC>S1", "<ESC>(s0p10h6v3T",
         "<ESC>(s0p10h6v3T"},
        {"YPR12D", "<ESC>M<DC2><ESC>W0<ESC>S1", "<ESC>M<DC2><ESC>W0<ESC>S1",
         "<ESC>M<DC2><ESC>W0<ESC>S1", "<SI><ESC>W0<ESC>S1", "<ESC>(s0p16.67h4.25v0T",
         "<ESC>(s0p16.67h4.25v0T"},
        {"YPR17D", "<ESC>P<SI><ESC>W0<ESC>S1", "<ESC>P<SI><ESC>W0<ESC>S1",
         "<ESC>P<SI><ESC>W0<ESC>S1", "<SI><ESC>W0<ESC>S1", "<ESC>(s0p16.67h4.25v0T",
         "<ESC>(s0p16.67h4.25v0T"},
        {"YPR20D", "<ESC>M<SI><ESC>W0<ESC>S1", "<ESC>M<SI><ESC>W0<ESC>S1",
         "<ESC>M<SI><ESC>W0<ESC>S1", "<SI><ESC>W0<ESC>S1", "<ESC>(s0p20h6v3T", "<ESC>(s0p20h6v3T"},
        {"YPRPU", "<ESC>-1", "<ESC>-1", "<ESC>-1", "<ESC>-1", "<ESC>&d1D", "<ESC>&d1D"},
        {"YPRKU", "<ESC>-0", "<ESC>-0", "<ESC>-0", "<ESC>-0", "<ESC>&d@", "<ESC>&d@"},
        {"YPRPB", "<ESC>G", "<ESC>G", "<ESC>G", "<ESC>G", "<ESC>(s0p3B", "<ESC>(s0p3B"},
        {"YPRKB", "<ESC>H", "<ESC>H", "<ESC>H", "<ESC>H", "<ESC>(s0p0B", "<ESC>(s0p0B"},
        {"YPRPE", "<ESC>E", "<ESC>E", "<ESC>E", "<ESC>E", "<ESC>(s0p2Q", "<ESC>(s0p3B"},
        {"YPRKE", "<ESC>F", "<ESC>F", "<ESC>F", "<ESC>F", "<ESC>(s0p1Q", "<ESC>(s0p0B"},
        {"YPRPI", "<ESC>4", "<ESC>4", "<ESC>4", "<FS>4", "<ESC>(s0p1S", "<ESC>(s0p1S"},
        {"YPRKI", "<ESC>5", "<ESC>5", "<ESC>5", "<FS>5", "<ESC>(s0p0S", "<ESC>(s0p0S"},
        {"YPRW6", "<ESC>2", "<ESC>2", "<ESC>A<0C><ESC>2", "<ESC>A<0C><ESC>2", "<ESC>&l6D",
         "<ESC>&l6D"},
        {"YPRW8", "<ESC>0", "<ESC>0", "<ESC>0", "<ESC>0", "<ESC>&l8D", "<ESC>&l8D"},
        {"YPRW12", "<ESC>A<06>", "<ESC>+<1E>", "<ESC>A<06><ESC>2", "<ESC>A<06><ESC>2", "<ESC>&l12D",
         "<ESC>&l12D"},
        {"YPRW24", "<ESC>A<03>", "<ESC>+<0F>", "<ESC>A<03><ESC>2", "<ESC>A<03><ESC>2", "<ESC>&l24D",
         "<ESC>&l24D"},
        {"YPRW72", "<ESC>A<01>", "<ESC>+<05>", "<ESC>A<01><ESC>2", "<ESC>A<01><ESC>2", "<ESC>&l72D",
         "<ESC>&l72D"},
        {"YPRW48", "", "", "", "", "<ESC>&l48D", "<ESC>&l48D"},
        {"YPRBKS", "<ESC>8", "<ESC>8", "<ESC>8", "<ESC>8", "", ""},
        {"YPRJKS", "<ESC>9", "<ESC>9", "<ESC>9", "<ESC>9", "", ""},
        {"YPRCF", "<ESC>j", "", "", "", "", ""},
    };
    return rows;
}

// The symbolic sequences every type has.
const std::map<std::string, std::string> kSymbolic = {
    {"YPRRD", "{YPRRD}"},     {"YPRLD", "{YPRLD}"},       {"YPELS", "{YPELS}"},
    {"YPELD", "{YPELD}"},     {"YP1RS", "{YP1RS}"},       {"YP1LS", "{YP1LS}"},
    {"YP2RS", "{YP2RS}"},     {"YPRVD", "{VDOSPRT:"},     {"YPRFONT", "{YPRFONT,"},
    {"YPRFSIZ", "{YPRFSIZ,"}, {"YPRZ", "{YPRZ,"},         {"YPRV", "{YPRV"},
    {"YPRSX", "{YPRSX,"},     {"YPRRX", "{YPRRX,"},       {"YPRGDFF", "{YPRGDFF}"},
    {"YPRRECT", "{YPRRECT,"}, {"YPRRECTC", "{YPRRECTC,"}, {"YPRBMP", "{YPRBMP,"}};

std::map<std::string, std::string> AsMap(char type, const CodeSettings& s = {}) {
    std::map<std::string, std::string> m;
    for (const ControlCode& c : ControlCodes(type, s)) {
        EXPECT_TRUE(m.emplace(c.name, c.value).second) << c.name << " listed twice";
    }
    return m;
}

TEST(ControlCodes, EveryVariableOfEveryFamilyByteForByte) {
    struct Family {
        const char* types;
        std::string Row::*column;
    };
    const Family families[] = {{"EFef", &Row::nine}, {"89", &Row::twenty_four},
                               {"Ss", &Row::star},   {"IiJj", &Row::ibm},
                               {"H", &Row::pcl},     {"4LK1", &Row::pcl_symbols}};
    for (const Family& f : families) {
        for (const char* t = f.types; *t; ++t) {
            const auto codes = AsMap(*t);
            EXPECT_EQ(codes.size(), Expected().size() + kSymbolic.size()) << *t;
            for (const Row& row : Expected())
                EXPECT_EQ(codes.at(row.name), B(row.*f.column)) << "type " << *t << " " << row.name;
            for (const auto& [name, value] : kSymbolic)
                EXPECT_EQ(codes.at(name), value) << "type " << *t << " " << name;
        }
    }
}

TEST(ControlCodes, TypeZeroIsEmptyAndTypeVIsSymbolic) {
    const auto none = AsMap('0');
    for (const Row& row : Expected()) EXPECT_EQ(none.at(row.name), "") << row.name;
    for (const auto& [name, value] : kSymbolic) EXPECT_EQ(none.at(name), value) << name;

    const std::map<std::string, std::string> special = {
        {"YPR10G", "{YPR10}"}, {"YPR12G", "{YPR12}"}, {"YPR17G", "{YPR17}"}, {"YPR20G", "{YPR20}"},
        {"YPR10D", "{YPR10}"}, {"YPR12D", "{YPR12}"}, {"YPR17D", "{YPR17}"}, {"YPR20D", "{YPR20}"},
        {"YPRPE", "{YPRPB}"},  {"YPRKE", "{YPRKB}"},  {"YPRBKS", ""},        {"YPRJKS", ""},
        {"YPRCF", ""}};
    for (char type : {'V', 'W'}) {
        const auto v = AsMap(type);
        for (const Row& row : Expected()) {
            const auto s = special.find(row.name);
            const std::string want =
                s != special.end() ? s->second : "{" + std::string(row.name) + "}";
            EXPECT_EQ(v.at(row.name), want) << type << " " << row.name;
        }
        for (const auto& [name, value] : kSymbolic) EXPECT_EQ(v.at(name), value) << name;
    }
}

TEST(ControlCodes, AnyOtherTypeCountsAsF) {
    for (char t : {'X', 'W', '?', 'z', ' '}) EXPECT_EQ(ValidType(t), 'F') << t;
    for (char t : kPrintingTypes) EXPECT_EQ(ValidType(t), t);
    const auto f = AsMap('F');
    EXPECT_EQ(AsMap('X'), f);
    EXPECT_EQ(AsMap('7'), f);
}

TEST(ControlCodes, SettingsThatChangeSequences) {
    CodeSettings ud;
    ud.unidirectional = true;
    // Unidirectional printing is a 9-pin matter only.
    EXPECT_EQ(AsMap('E', ud).at("YPRRS"), B("<ESC>@<ESC>U1<ESC>P<DC2>"));
    EXPECT_EQ(AsMap('E', ud).at("YPRLS"), B("<ESC>@<ESC>U1<ESC>P<DC2>"));
    EXPECT_EQ(AsMap('9', ud).at("YPRRS"), B("<ESC>@<ESC>P<DC2>"));

    CodeSettings simulated;
    simulated.simulated_letters = true;
    EXPECT_EQ(AsMap('V', simulated).at("YPRVD"), "{VDOSPRS:");

    // Without italics every type prints none.
    CodeSettings plain;
    plain.no_italics = true;
    for (char t : std::string(kPrintingTypes) + "W") {
        const auto m = AsMap(t, plain);
        EXPECT_EQ(m.at("YPRPI"), "") << t;
        EXPECT_EQ(m.at("YPRKI"), "") << t;
        EXPECT_EQ(m.at("YPRPB"), AsMap(t).at("YPRPB")) << t;  // the rest stays
    }
}

TEST(ControlCodes, InitialisationFilesReplaceTheResets) {
    CodeSettings s;
    s.init_from_files = true;
    s.init_portrait = "PORTRAIT";
    s.init_landscape = "LANDSCAPE";
    auto epson = AsMap('E', s);
    EXPECT_EQ(epson.at("YPRRS"), "PORTRAIT");
    EXPECT_EQ(epson.at("YPRLS"), "LANDSCAPE");
    EXPECT_EQ(epson.at("YPR4S"), B("<ESC>@<ESC>P<DC2>"));
    auto laser = AsMap('L', s);
    EXPECT_EQ(laser.at("YPRRS"), "PORTRAIT");
    EXPECT_EQ(laser.at("YPR4S"), "PORTRAIT");
    EXPECT_EQ(laser.at("YPRLS"), "LANDSCAPE");

    // A missing landscape file falls back to the portrait one; a missing
    // portrait file is an empty reset.
    s.init_landscape.reset();
    EXPECT_EQ(AsMap('E', s).at("YPRLS"), "PORTRAIT");
    s.init_portrait.reset();
    EXPECT_EQ(AsMap('E', s).at("YPRRS"), "");
    EXPECT_EQ(AsMap('E', s).at("YPRLS"), "");
    // Types without sequences of their own keep theirs.
    s.init_portrait = "PORTRAIT";
    EXPECT_EQ(AsMap('0', s).at("YPRRS"), "");
    EXPECT_EQ(AsMap('V', s).at("YPRRS"), "{YPRRS}");
}

TEST(ControlCodes, SpecialPaperResetsOfThePrintProgram) {
    struct Case {
        Paper paper;
        const char *portrait, *landscape;
    };
    const Case cases[] = {{Paper::kA3, "{YPELS}", "{YPELS}"},
                          {Paper::kFanfold85, "{YP1RS}", "{YP1LS}"},
                          {Paper::kFanfold14, "{YP2RS}", "{YP2RS}"},
                          {Paper::kA4, "{YPRRS}", "{YPRLS}"}};
    for (const Case& c : cases) {
        CodeSettings s;
        s.paper = c.paper;
        const auto v = AsMap('V', s);
        EXPECT_EQ(v.at("YPRRS"), c.portrait);
        EXPECT_EQ(v.at("YPRLS"), c.landscape);
    }
}

TEST(DuplexResets, ThePrintOutOfADuplexDefinitionResetsForBothSidesAndGivesTheResetsBack) {
    struct Case {
        char type;
        bool duplex, a3;
        const char *portrait, *a4, *landscape;  // while the print-out runs
    };
    const Case cases[] = {
        {'V', true, false, "{YPRRD}", "{YPRRD}", "{YPRLD}"},
        {'V', true, true, "{YPELD}", "{YPELD}", "{YPELD}"},
        {'V', false, false, "{YPRRS}", "{YPR4S}", "{YPRLS}"},
        {'V', false, true, "{YPELS}", "{YPELS}", "{YPELS}"},
        // The symbolic names would reach a printer of control sequences as text.
        {'E', true, false, "\x1B@\x1BP\x12", "\x1B@\x1BP\x12", "\x1B@\x1BP\x12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.type) + (c.duplex ? " duplex" : "") + (c.a3 ? " A3" : ""));
        common::Configuration config;
        config.Set("NAGLTDR", memfile::MemValue::Char(std::string(1, c.type)));
        config.Set("XDUPLEX", memfile::MemValue::Logical(c.duplex));
        config.Set("XWYDRA3", memfile::MemValue::Logical(c.a3));
        CodeSettings s;
        s.paper = c.a3 ? Paper::kA3 : Paper::kA4;
        SetControlVariables(&config, c.type, s);
        const std::string before[] = {config.Text("YPRRS"), config.Text("YPR4S"),
                                      config.Text("YPRLS")};
        {
            const DuplexResets duplex(config);
            EXPECT_EQ(duplex.active(), c.duplex && c.type == 'V');
            EXPECT_EQ(config.Text("YPRRS"), c.portrait);
            EXPECT_EQ(config.Text("YPR4S"), c.a4);
            EXPECT_EQ(config.Text("YPRLS"), c.landscape);
        }
        EXPECT_EQ(config.Text("YPRRS"), before[0]);
        EXPECT_EQ(config.Text("YPR4S"), before[1]);
        EXPECT_EQ(config.Text("YPRLS"), before[2]);
    }
}

TEST(DuplexResets, AResetThatWasNotDefinedIsNotLeftBehind) {
    common::Configuration config;
    config.Set("NAGLTDR", memfile::MemValue::Char("V"));
    config.Set("XDUPLEX", memfile::MemValue::Logical(true));
    config.Set("YPRRD", memfile::MemValue::Char("{YPRRD}"));
    {
        const DuplexResets duplex(config);
        EXPECT_EQ(config.Text("YPRRS"), "{YPRRD}");
    }
    EXPECT_FALSE(config.Find("YPRRS").has_value());
    EXPECT_FALSE(config.Find("YPRLS").has_value());
}

TEST(PrinterTypes, ModelTextsAndLabels) {
    EXPECT_EQ(ModelText('E'), "Typ drukarki  (Epson FX - 15\")");
    EXPECT_EQ(ModelText('K'), "Typ drukarki  (HP \"standard\")");
    EXPECT_EQ(ModelText('0'), "Typ drukarki  (Bez znaków sterujących)");
    EXPECT_EQ(TypeLabel('9'), "Epson LQ 15\"    ");
    EXPECT_EQ(TypeLabel('W'), "Windows-Bezpośr.");
    EXPECT_EQ(TypeLabel('X'), "????????????????");
    // Every code the editor offers has a label of sixteen characters (UTF-8
    // letters counted once).
    for (char t : kEditorTypes) {
        const std::string_view label = TypeLabel(t);
        size_t chars = 0;
        for (unsigned char ch : label) chars += (ch & 0xC0) != 0x80;
        EXPECT_EQ(chars, 16u) << t;
        EXPECT_NE(label, "????????????????") << t;
    }
    EXPECT_EQ(FamilyOf('S'), Family::kStar);
    EXPECT_EQ(FamilyOf('X'), Family::kNinePin);
}

}  // namespace
}  // namespace kestrel::printing
