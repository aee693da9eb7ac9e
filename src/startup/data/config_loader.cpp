#include "startup/data/config_loader.h"

#include <cctype>
#include <cstdio>

#include "common/session/config_catalogue.h"
#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::startup {
namespace {

using common::CatalogueValue;
using common::Configuration;
using memfile::FindEntry;
using memfile::MemEntry;
using memfile::MemValue;
using Type = MemValue::Type;

using base::Trim;

std::string Fit(std::string s, size_t width) {
    s.resize(width, ' ');
    return s;
}

// The text value of an entry, "" when absent or not text.
std::string TextOf(const std::vector<MemEntry>& entries, const char* name) {
    const MemEntry* e = FindEntry(entries, name);
    return e && e->value.type == Type::kChar ? e->value.text : std::string();
}

bool Present(const std::vector<MemEntry>& entries, const char* name) {
    return FindEntry(entries, name) != nullptr;
}

// Values trimmed, each non-empty one followed by a blank (or joined
// without blanks).
std::string Compose(const std::vector<MemEntry>& entries, std::initializer_list<const char*> names,
                    bool blanks) {
    std::string out;
    for (const char* n : names) {
        std::string v = Trim(TextOf(entries, n));
        if (v.empty()) continue;
        out += v;
        if (blanks) out += ' ';
    }
    return out;
}

std::string Placed(size_t width, std::initializer_list<std::pair<int, const char*>> items) {
    std::string line(width, ' ');
    for (const auto& [col, utf8] : items) {
        std::string text = codepage::FromUtf8(utf8);
        line.replace(static_cast<size_t>(col - 1), text.size(), text);
    }
    return line;
}

std::string Dots(size_t width, std::initializer_list<int> starts) {
    std::string line(width, ' ');
    for (int col : starts) line.replace(static_cast<size_t>(col - 1), 26, std::string(26, '.'));
    return line;
}

MemValue FromCatalogue(const common::CatalogueEntry& e, const CatalogueValue& v) {
    switch (v.kind) {
        case CatalogueValue::Kind::kText:
            return MemValue::Char(std::string(v.text));
        case CatalogueValue::Kind::kBlanks:
            return MemValue::Char(std::string(v.blanks, ' '));
        case CatalogueValue::Kind::kNumber:
            return MemValue::Numeric(v.number, e.width ? e.width : 10, 0);
        case CatalogueValue::Kind::kLogical:
            return MemValue::Logical(v.logical);
        case CatalogueValue::Kind::kEmptyDate:
            return MemValue::Date(0);
        default:
            return MemValue::Char("");
    }
}

// Sets `name` unless it exists with type `type`.
void Default(Configuration* c, const char* name, MemValue value) {
    if (!c->Has(name, value.type)) c->Set(name, std::move(value));
}

// A one-character setting that must be one of `allowed`.
void OneOf(Configuration* c, const char* name, const char* allowed, const char* fallback) {
    std::string v = c->Text(name, "\x01\x01");
    if (v.size() != 1 || std::string_view(allowed).find(v[0]) == std::string_view::npos)
        c->Set(name, MemValue::Char(fallback));
}

}  // namespace

std::string SignatureCaptionsWide() {
    return Placed(211, {{13, "Sporządził"},
                        {51, "Sprawdził"},
                        {88, "Dział kadr"},
                        {123, "Dział zatr.i płac"},
                        {162, "Główny księgowy"},
                        {204, "Dyrektor"}});
}
std::string SignatureDotsWide() {
    return Dots(220, {5, 43, 81, 119, 157, 195});
}
std::string SignatureCaptionsNarrow() {
    return Placed(99, {{15, "Sporządził"}, {50, "Główny księgowy"}, {92, "Dyrektor"}});
}
std::string SignatureDotsNarrow() {
    return Dots(108, {7, 45, 83});
}

bool ConvertAddresses(std::vector<MemEntry>* entries_in) {
    const char* const kNew[] = {"NAGL73", "NAGL74", "NAGL75", "NAGL76", "NAGL77"};
    bool all = true;
    for (const char* n : kNew) all = all && Present(*entries_in, n);
    if (all || Present(*entries_in, "NAGL77")) return false;

    std::vector<MemEntry> entries = *entries_in;
    auto add = [&](const char* name, std::string text, size_t width) {
        if (!Present(entries, name))
            entries.push_back({name, MemValue::Char(Fit(std::move(text), width))});
    };
    if (!(Present(entries, "NAGL73") && Present(entries, "NAGL74") && Present(entries, "NAGL75") &&
          Present(entries, "NAGL76"))) {
        std::string name73;
        if (Present(entries, "NAGL32"))
            name73 = Compose(entries, {"NAGL30", "NAGL31", "NAGL32", "NAGL33", "NAGL34"}, true);
        else if (Present(entries, "NAGL4"))
            name73 = Compose(entries, {"NAGL2", "NAGL4", "NAGL1", "NAGL33", "NAGL34"}, true);
        else
            name73 = Compose(entries, {"NAGL2", "NAGL1", "NAGL3", "NAGL33", "NAGL34"}, true);
        add("NAGL73", name73, 104);
        add("NAGL74", Compose(entries, {"NAGL37", "NAGL38"}, false), 44);
        add("NAGL75", Compose(entries, {"NAGL44", "NAGL45", "NAGL46"}, true), 54);
        add("NAGL76", Compose(entries, {"NAGL49", "NAGL50"}, false), 44);
    }
    if (!Present(entries, "NAGL77")) {
        const MemEntry* n73 = FindEntry(entries, "NAGL73");
        entries.push_back({"NAGL77", n73 ? n73->value : MemValue::Char(std::string(104, ' '))});
    }
    // Numbers go through a numeric field of their width, as the file has
    // always been written: too wide abandons, the rest is rounded.
    for (auto& e : entries)
        if (!common::RoundAsStored(&e.value)) return false;
    if (memfile::EntriesSize(entries) > memfile::kMaxWrittenSize) return false;
    *entries_in = std::move(entries);
    return true;
}

ProgramSettings ReadProgramSettings(const std::string& program_dir) {
    ProgramSettings s;
    const std::string path = base::FindNoCase(program_dir, "QRM.MEM");
    auto logical = [&](const char* name) {
        auto v = memfile::ScanMemVariable(path, name, Type::kLogical);
        return v && v->logical;
    };
    s.ega = logical("NAGLEGA");
    s.duplex = logical("NAGLDUPLEX");
    s.vdt_paper = logical("NAGLVDTPAP");
    s.exml = logical("NAGLEXML");
    if (auto v = memfile::ScanMemVariable(path, "NAGLSCXML", Type::kChar)) s.xml_dir = v->text;
    if (auto v = memfile::ScanMemVariable(path, "NAGLVDOS", Type::kChar)) s.vdos = v->text;
    return s;
}

LoadOutcome LoadConfiguration(const std::string& data_dir, Configuration* config) {
    LoadOutcome out;
    config->Clear();
    const std::string path = base::FindNoCase(data_dir, "QRM.MEM");
    std::string bytes;
    base::Status s = base::ReadFile(path, &bytes);
    if (!s.ok()) {
        out.file_missing = true;
        config->Set("NAGL1", MemValue::Char(kPlaceholderShortName));
        return out;
    }
    std::vector<MemEntry> entries;
    out.damaged = !memfile::ParseMem(bytes, path, &entries).ok();
    if (!out.damaged && bytes.size() <= memfile::kMaxScannedSize && ConvertAddresses(&entries)) {
        base::Status w = memfile::WriteMemFile(path, entries);
        if (w.ok())
            out.converted = true;
        else
            out.error = w.ToString();
    }
    config->Assign(std::move(entries));
    const std::optional<MemValue> nagl1 = config->Find("NAGL1");
    if (!nagl1)
        out.short_name_missing = true;
    else if (nagl1->type != Type::kChar || Trim(nagl1->text).empty())
        out.short_name_bad = true;
    if (out.short_name_missing || out.short_name_bad)
        config->Set("NAGL1", MemValue::Char(kPlaceholderShortName));
    return out;
}

common::LetterSet ApplyStartupDefaults(Configuration* c, const StartupFacts& facts) {
    // Plain defaults of the catalogue.
    for (const auto& e : common::ConfigCatalogue()) {
        if (e.startup.kind == CatalogueValue::Kind::kNone ||
            e.startup.kind == CatalogueValue::Kind::kComputed)
            continue;
        Default(c, std::string(e.name).c_str(), FromCatalogue(e, e.startup));
    }
    // Variables start-up knows and the editor does not list.
    Default(c, "NAGLDWK", MemValue::Logical(false));
    Default(c, "NAGLAKORD", MemValue::Logical(false));
    Default(c, "NAGLSCPPK", MemValue::Char(""));
    Default(c, "NAGLDRUKUJ", MemValue::Logical(false));

    // The program directory's own settings.
    Default(c, "NAGLEGA", MemValue::Logical(facts.program.ega));
    Default(c, "NAGLDUPLEX", MemValue::Logical(facts.program.duplex));
    Default(c, "NAGLVDTPAP", MemValue::Logical(facts.program.vdt_paper));
    Default(c, "NAGLEXML", MemValue::Logical(facts.program.exml));
    Default(c, "NAGLVDOS", MemValue::Char(facts.program.vdos));
    if (!c->Has("NAGLSCXML", Type::kChar)) {
        std::string dir = facts.program.xml_dir;
        if (dir.empty() || dir.back() != '\\') dir += '\\';
        c->Set("NAGLSCXML", MemValue::Char(dir));
    }
    Default(c, "NAGLKLR", MemValue::Logical(facts.has_colour));

    // One-character settings that must hold one of their codes.
    if (c->Text("NAGLNDR").size() != 1) c->Set("NAGLNDR", MemValue::Char("1"));
    OneOf(c, "NAGLTYPP", "123456789", "1");
    OneOf(c, "NAGLTYPZ", "12345", "2");
    OneOf(c, "NAGLRNPZ", "12", "2");
    OneOf(c, "NAGLTYPO", "123456789", "1");
    Default(c, "NAGLTDR", MemValue::Char("E"));
    OneOf(c, "NAGLTDR", "EFef89IiJjH4LKSs1V0", "F");

    // Computed defaults, after what they are computed from.
    auto text = [&](const char* n) { return c->Text(n); };
    Default(c, "NAGL5", MemValue::Char(text("NAGL2") + " " + text("NAGL1")));
    Default(c, "NAGL15", MemValue::Char(text("NAGL12")));
    Default(c, "NAGL22A",
            MemValue::Char(base::AsciiUpper(text("NAGL22")).rfind("POLSKA", 0) == 0 ? "PL" : "  "));
    Default(c, "NAGL27I", MemValue::Char(text("NAGL27")));
    Default(c, "NAGL28I", MemValue::Char(text("NAGL28")));
    Default(c, "NAGL29", MemValue::Char(text("NAGL1")));
    Default(c, "NAGL55", MemValue::Char(text("NAGL7")));
    const char* const kCorrespondence[][2] = {
        {"NAGL109", "NAGL9"},  {"NAGL110", "NAGL10"}, {"NAGL111", "NAGL11"},
        {"NAGL112", "NAGL12"}, {"NAGL113", "NAGL13"}, {"NAGL114", "NAGL14"},
        {"NAGL115", "NAGL15"}, {"NAGL126", "NAGL26"}, {"NAGL178", "NAGL78"}};
    for (const auto& pair : kCorrespondence) Default(c, pair[0], MemValue::Char(text(pair[1])));
    Default(c, "NAGL278K", MemValue::Char(text("NAGL27") + " " + text("NAGL29")));
    Default(c, "NAGLRORPLI", MemValue::Char(facts.data_dir));
    const bool budget = c->Logical("NAGLBUDZ");
    Default(c, "NAGLTERMIN", MemValue::Char(budget ? "1" : "3"));
    Default(c, "NAGLT22", MemValue::Char(budget ? "1" : "6"));
    Default(c, "NAGLZPCH2", MemValue::Char(c->Logical("NAGLZPCH") ? "1" : "0"));
    Default(c, "NAGL39", MemValue::Char(SignatureCaptionsWide()));
    Default(c, "NAGL40", MemValue::Char(SignatureDotsWide()));
    Default(c, "NAGL41", MemValue::Char(SignatureCaptionsNarrow()));
    Default(c, "NAGL42", MemValue::Char(SignatureDotsNarrow()));

    // Values forced at every start.
    c->Set("NAGLZUSPPK", MemValue::Logical(true));
    c->Set("NAGLSCKEY", MemValue::Logical(false));
    c->Set("NAGLTRSCK", MemValue::Logical(false));
    c->Set("NAGLMCWYP2", MemValue::Logical(false));
    for (const char* n : {"NAGLTBU", "NAGLTBUR"}) c->Set(n, MemValue::Numeric(0, 10, 0));
    for (int i = 1; i <= 9; ++i) {
        c->Set("NAGLTBK" + std::to_string(i), MemValue::Numeric(0, 10, 0));
        c->Set("NAGLTBP" + std::to_string(i), MemValue::Numeric(0, 10, 0));
    }
    if (c->Logical("NAGLZPCH")) c->Set("NAGLZAKTZ", MemValue::Logical(false));
    std::string nip = text("NAGL6");
    std::string digits;
    for (char ch : nip)
        if (ch != '-') digits += ch;
    if (digits.size() < 10) {
        const size_t missing = 10 - digits.size();
        digits.append(missing, ' ');
        c->Set("NAGL6", MemValue::Char(nip + std::string(missing, ' ')));
    }
    c->Set("NAGL6A", MemValue::Char(digits));
    std::string nagl1 = text("NAGL1");
    if (nagl1.size() > 20) c->Set("NAGL1", MemValue::Char(nagl1.substr(0, 20)));

    // The Polish letters, and the printer's letters defaulting to them.
    std::string stored_pl = text("NAGLPL");
    const bool has_pl = c->Has("NAGLPL", Type::kChar);
    common::LetterSet letters = common::ChooseLetterSet(
        c->Logical("NAGLGENPL"), c->Logical("NAGLGENPM"), has_pl ? &stored_pl : nullptr);
    c->Set("NAGLPL", MemValue::Char(letters.pl));
    c->Set("NAGLREPLPL", MemValue::Logical(letters.replaced));
    Default(c, "NAGLPRTPL", MemValue::Char(letters.pl));
    return letters;
}

}  // namespace kestrel::startup
