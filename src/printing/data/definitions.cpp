#include "printing/data/definitions.h"

#include <algorithm>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "printing/data/control_codes.h"
#include "printing/data/printer_letters.h"
#include "printing/data/printer_types.h"

namespace kestrel::printing {
namespace {

using memfile::MemValue;

std::string Field(dbf::WorkArea& a, const char* name) {
    const int f = a.FieldIndex(name);
    return f < 0 ? std::string() : base::Trim(a.record().GetString(f));
}

bool Flag(dbf::WorkArea& a, const char* name) {
    const int f = a.FieldIndex(name);
    return f >= 0 && a.record().GetLogical(f);
}

char First(const std::string& s, char fallback) {
    return s.empty() ? fallback : s[0];
}

std::string Upper(std::string_view s) {
    return base::AsciiUpper(base::Trim(s));
}

void SetText(common::Configuration& c, const char* name, const std::string& value) {
    c.Set(name, MemValue::Char(value));
}

void SetFlag(common::Configuration& c, const char* name, bool value) {
    c.Set(name, MemValue::Logical(value));
}

// The contents of an initialisation file of the company directory, nothing
// when it cannot be read.
std::optional<std::string> InitFile(const common::Runtime& rt, const std::string& name) {
    if (base::Trim(name).empty()) return std::nullopt;
    const std::string path = base::FindNoCase(rt.data_dir(), base::Trim(name));
    std::string contents;
    if (!base::ReadFile(path, &contents).ok()) return std::nullopt;
    return contents;
}

bool Listed(const std::vector<std::string>& queues, const std::string& queue) {
    return std::find(queues.begin(), queues.end(), queue) != queues.end();
}

}  // namespace

PrinterDefinition ReadDefinition(dbf::WorkArea& a) {
    PrinterDefinition d;
    d.name = Field(a, "NAZWA_");
    d.type = First(Field(a, "TYP_"), ' ');
    d.port = First(Field(a, "PORT_"), ' ');
    d.is_default = Flag(a, "DOMYSLNA_");
    d.simulate = Flag(a, "SYMPL_");
    d.standard = First(Field(a, "ZM_STD_PL"), '0');
    d.init_from_files = Flag(a, "ZEWN_INIT");
    d.init_portrait = Field(a, "NAZ_INIT_P");
    d.init_landscape = Field(a, "NAZ_INIT_L");
    d.queue = Field(a, "WIN_NAZ");
    d.duplex = Flag(a, "DUPLEX_");
    d.paper = First(Field(a, "TYP_PAP"), '4');
    d.windows_name = Field(a, "PEL_NAZ_W");
    return d;
}

base::Status WriteDefinition(dbf::WorkArea& a, const PrinterDefinition& d) {
    dbf::Record& r = a.record();
    base::Status s;
    auto text = [&](const char* field, const std::string& value) {
        if (s.ok()) s = r.SetString(r.FieldIndex(field), value);
    };
    auto flag = [&](const char* field, bool value) {
        if (s.ok()) s = r.SetLogical(r.FieldIndex(field), value);
    };
    text("NAZWA_", d.name);
    text("TYP_", std::string(1, d.type));
    text("PORT_", std::string(1, d.port));
    flag("DOMYSLNA_", d.is_default);
    flag("SYMPL_", d.simulate);
    text("ZM_STD_PL", std::string(1, d.standard));
    flag("ZEWN_INIT", d.init_from_files);
    text("NAZ_INIT_P", d.init_portrait);
    text("NAZ_INIT_L", d.init_landscape);
    text("WIN_NAZ", d.queue);
    flag("DUPLEX_", d.duplex);
    text("TYP_PAP", std::string(1, d.paper));
    text("PEL_NAZ_W", d.windows_name);
    return s;
}

std::vector<std::string> ApplyDefinition(common::Runtime& rt, const PrinterDefinition& d,
                                         PrintSystem& printers) {
    common::Configuration& c = rt.config();
    std::vector<std::string> messages;
    SetText(c, "NAGLNAZDR", d.name);
    SetText(c, "NAGLTDR", std::string(1, d.type));
    SetText(c, "NAGLNAZDRW", "");
    SetText(c, "NAGL0V", "");
    SetText(c, "NAGLKOLDR", "");
    const std::string screen = rt.letters().pl;
    const bool pdf = d.type == 'V' || d.type == 'W';

    // Where it prints: a queue the print system must know.
    std::string queue;
    if (d.type == 'W') {
        queue = d.windows_name;
        if (queue == rt.Text(kDefaultWindowsPrinter)) queue = printers.DefaultQueue();
    } else if (d.type == 'V') {
        queue = d.queue;
    } else if (d.port >= '1' && d.port <= '9') {
        queue = d.queue.empty() ? std::string("LPT") + d.port : d.queue;
    }
    if (!queue.empty() || pdf) {
        std::vector<std::string> queues;
        if (!printers.Queues(&queues) || queues.empty()) {
            messages.push_back(rt.Text("Brak dostępnych drukarek Windows"));
            SetText(c, "NAGLTDR", "?");
        } else if (queue.empty() || !Listed(queues, queue)) {
            messages.push_back(rt.Text("Brak takiej drukarki w syst. Windows"));
            SetText(c, "NAGLTDR", "?");
        } else if (d.type == 'W') {
            SetText(c, "NAGLNAZDRW", queue);
            SetText(c, "NAGLTDR", "V");
        } else {
            SetText(c, "NAGLKOLDR", queue);
        }
    }

    // The letters, the port and the initialisation files.
    const bool simulate = d.type != '0' && d.simulate;
    SetFlag(c, "NAGLSYMPL", simulate);
    SetText(c, "NAGLPRTPL", LettersOfStandard(d.standard, screen));
    if (!pdf) SetText(c, "NAGLNDR", std::string(1, d.port));
    const bool init = !pdf && d.type != '0' && d.init_from_files;
    SetFlag(c, "NAGLINITPR", init);
    SetText(c, "NAGLINPRTP", d.init_portrait.empty() ? "INPRTP.BIN" : d.init_portrait);
    SetText(c, "NAGLINPRTL", d.init_landscape.empty() ? "INPRTL.BIN" : d.init_landscape);

    // Duplex and paper.
    const bool papers = c.Logical("NAGLVDTPAP");
    const char paper = papers ? d.paper : '4';
    SetFlag(c, "XDUPLEX", c.Logical("NAGLDUPLEX") && d.duplex && paper != '1' && paper != '2');
    SetFlag(c, "XWYDRA3", paper == '3');
    SetFlag(c, "XWYDR14", paper == '2');
    SetFlag(c, "XWYDR85", paper == '1');

    ApplyControlCodes(rt);
    return messages;
}

void ApplyControlCodes(common::Runtime& rt) {
    common::Configuration& c = rt.config();
    const std::string type = c.Text("NAGLTDR", "F");
    // An unusable definition ("?") keeps its mark; it prints nothing, and
    // its codes are those of any other unknown type.
    char t = type.size() == 1 ? type[0] : 'F';
    if (t != '?') {
        t = ValidType(t);
        SetText(c, "NAGLTDR", std::string(1, t));
    }
    CodeSettings s;
    s.unidirectional = c.Logical("NAGLUD");
    s.no_italics = c.Logical("NAGLBEZIT");
    s.simulated_letters = c.Logical("NAGLSYMPL");
    s.paper = c.Logical("XWYDRA3")   ? Paper::kA3
              : c.Logical("XWYDR14") ? Paper::kFanfold14
              : c.Logical("XWYDR85") ? Paper::kFanfold85
                                     : Paper::kA4;
    s.init_from_files = c.Logical("NAGLINITPR");
    if (s.init_from_files) {
        s.init_portrait = InitFile(rt, c.Text("NAGLINPRTP", "INPRTP.BIN"));
        s.init_landscape = InitFile(rt, c.Text("NAGLINPRTL", "INPRTL.BIN"));
    }
    SetControlVariables(&c, t, s);
}

bool LocateDefinition(dbf::WorkArea& a, const std::string& name, PrinterDefinition* d) {
    const std::string wanted = Upper(name);
    uint32_t named = 0, marked = 0, first = 0;
    if (!a.GoTop().ok()) return false;
    while (!a.eof()) {
        if (!a.deleted()) {
            if (first == 0) first = a.recno();
            if (named == 0 && !wanted.empty() && Upper(Field(a, "NAZWA_")) == wanted)
                named = a.recno();
            if (marked == 0 && Flag(a, "DOMYSLNA_")) marked = a.recno();
        }
        if (!a.Skip(1).ok()) return false;
    }
    const uint32_t chosen = named != 0 ? named : marked != 0 ? marked : first;
    if (chosen == 0 || !a.Goto(chosen).ok()) return false;
    *d = ReadDefinition(a);
    return true;
}

void ApplyNamedDefinition(common::Runtime& rt, common::Tables& tables, PrintSystem& printers) {
    dbf::WorkArea& a = tables.OpenProgram("PKDRUK");
    PrinterDefinition d;
    const bool found = LocateDefinition(a, rt.config().Text("NAGLNAZDR"), &d);
    (void)tables.workspace().Close(a.number());
    if (found) {
        (void)ApplyDefinition(rt, d, printers);
    } else {
        ApplyControlCodes(rt);
    }
}

void StartupPrinter(common::Runtime& rt, common::Tables& tables, PrintSystem& printers) {
    std::string dir = rt.program_dir().empty() ? "." : rt.program_dir();
    if (dir.back() != '/') dir += '/';
    if (base::Exists(base::FindNoCase(dir, "PKDRUK.DBF"))) {
        ApplyNamedDefinition(rt, tables, printers);
    } else {
        ApplyControlCodes(rt);
    }
}

namespace {

std::string Where(char type, char port) {
    std::string s = "(typ=\"" + std::string(1, type) + "\"";
    if (type != 'V' && type != 'W') s += port == '0' ? ",do pliku" : std::string(",LPT") + port;
    return s + ")";
}

}  // namespace

std::string DescribePrinterInForce(const common::Runtime& rt) {
    const common::Configuration& c = rt.config();
    char type = First(c.Text("NAGLTDR"), '?');
    if (type == 'V' && !c.Text("NAGLNAZDRW").empty()) type = 'W';
    return base::Trim(c.Text("NAGLNAZDR")) + " " + Where(type, First(c.Text("NAGLNDR"), '1'));
}

std::string DefinitionRow(const common::Runtime&, const PrinterDefinition& d) {
    std::string row =
        std::string(d.is_default ? "*" : " ") + " " + d.name + " " + Where(d.type, d.port);
    row.resize(40, ' ');
    return row;
}

std::string PrinterProblem(const common::Runtime& rt) {
    const common::Configuration& c = rt.config();
    const char type = First(c.Text("NAGLTDR"), '?');
    if (type == '?') return rt.Text("Błędna definicja drukarki");
    if (type == 'V') {
        if (c.Text("NAGLKOLDR").empty() && c.Text("NAGLNAZDRW").empty() && c.Text("NAGL0V").empty())
            return rt.Text("Błędna definicja drukarki");
        return "";
    }
    if (First(c.Text("NAGLNDR"), '1') == '0') return rt.Text("Błędny port drukarki");
    if (c.Logical("XWYDRA3") || c.Logical("XWYDR14") || c.Logical("XWYDR85"))
        return rt.Text("Błędny typ papieru");
    return "";
}

}  // namespace kestrel::printing
