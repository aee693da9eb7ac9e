#include "register/official_dictionaries.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>

#include "common/index_functions.h"
#include "common/index_keys.h"
#include "common/letter_conversions.h"
#include "common/shipped_content.h"
#include "common/table_catalogue.h"
#include "common/table_upgrade.h"
#include "platform/base/files.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/file.h"
#include "platform/dbf/index.h"

namespace kestrel::registry {
namespace {

constexpr OfficialListInfo kLists[] = {
    {OfficialList::kCountries, "PKSKODK", "KRJTMP", "KOD_KRAJU", "NAZWA_PEL", "2.C.2.",
     "Kody krajów"},
    {OfficialList::kTaxOffices, "PKKDURZ", "URZTMP", "KOD_URZEDU", "NAZWA_URZ", "2.C.3.",
     "Kody urzędów skarbowych"},
    {OfficialList::kTerritory, "PKGMINY", "GMNTMP", "KOD_", "NAZWA_", "2.C.4.",
     "Kody województw, powiatów i gmin"},
    {OfficialList::kOccupations, "PKKZIS", "ZAWTMP", "KOD_ZAWODU", "NAZWA_", "2.C.5.",
     "Klasyfikacja zawodów i specjalności"},
};

std::string Join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

std::string Trim(std::string_view s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    return std::string(s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1));
}

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string AtLine(int line) {
    return ": wiersz " + std::to_string(line);
}

void RemoveIfExists(const std::string& path) {
    if (base::Exists(path)) (void)dbf::RemoveFile(path);
}

// --- reading the files --------------------------------------------------

// The text without a byte-order mark; false when it is not UTF-8 or holds
// control characters other than tab and line ends (a binary or damaged
// file).
bool CheckText(std::string_view in, std::string_view* text) {
    if (in.substr(0, 3) == "\xEF\xBB\xBF") in.remove_prefix(3);
    for (size_t pos = 0; pos < in.size();) {
        char32_t code = 0;
        const size_t n = codepage::DecodeUtf8(in, pos, &code);
        if (code == 0xFFFD) return false;
        if (code < 0x20 && code != '\t' && code != '\n' && code != '\r') return false;
        pos += n;
    }
    *text = in;
    return true;
}

// The lines of a CSV text split into cells: quotes ("" inside a quoted
// cell) may hold the separator; a line break inside quotes is an error.
struct CsvLine {
    int number;
    std::vector<std::string> cells;
};

std::string SplitCsv(std::string_view text, char sep, std::vector<CsvLine>* out) {
    int number = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (Trim(line).empty()) continue;
        CsvLine row{number, {}};
        std::string cell;
        bool quoted = false;
        bool was_quoted = false;
        for (size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            if (quoted) {
                if (c == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        cell += '"';
                        ++i;
                    } else {
                        quoted = false;
                    }
                } else {
                    cell += c;
                }
            } else if (c == '"' && Trim(cell).empty() && !was_quoted) {
                cell.clear();
                quoted = true;
                was_quoted = true;
            } else if (c == sep) {
                row.cells.push_back(was_quoted ? cell : Trim(cell));
                cell.clear();
                was_quoted = false;
            } else if (was_quoted && c != ' ') {
                return "Błędny cudzysłów" + AtLine(number);
            } else {
                cell += c;
            }
        }
        if (quoted) return "Niezamknięty cudzysłów" + AtLine(number);
        row.cells.push_back(was_quoted ? cell : Trim(cell));
        out->push_back(std::move(row));
    }
    return "";
}

// Column positions named by the header line (lower case names).
int Column(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (LowerAscii(header[i]) == name) return static_cast<int>(i);
    }
    return -1;
}

// UTF-8 to CP852; the typographic dashes, quotes and spaces of the
// official files, which CP852 lacks, become their plain forms.
std::string Cp852(std::string_view utf8) {
    std::string plain;
    for (size_t pos = 0; pos < utf8.size();) {
        char32_t code = 0;
        const size_t n = codepage::DecodeUtf8(utf8, pos, &code);
        switch (code) {
            case 0x00A0: case 0x2002: case 0x2003: case 0x2009: case 0x202F:
                plain += ' ';
                break;
            case 0x2010: case 0x2011: case 0x2012: case 0x2013: case 0x2014: case 0x2212:
                plain += '-';
                break;
            case 0x2018: case 0x2019: case 0x201A:
                plain += '\'';
                break;
            case 0x201C: case 0x201D: case 0x201E:
                plain += '"';
                break;
            case 0x2026:
                plain += "...";
                break;
            default:
                plain.append(utf8.substr(pos, n));
                break;
        }
        pos += n;
    }
    return codepage::FromUtf8(plain);
}

const common::LetterSet& Cp852Letters() {
    static const common::LetterSet set = common::MakeLetterSet(common::kPolishCp852);
    return set;
}

std::string UpperCp852(std::string_view cp852) {
    return common::Qrmuppe(Cp852Letters(), cp852);
}

// XML text with its five entities and numeric references decoded.
std::string XmlText(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const size_t semi = s.find(';', i);
        if (semi == std::string_view::npos) {
            out += s[i];
            continue;
        }
        const std::string_view ent = s.substr(i + 1, semi - i - 1);
        std::string rep;
        if (ent == "amp") rep = "&";
        else if (ent == "lt") rep = "<";
        else if (ent == "gt") rep = ">";
        else if (ent == "quot") rep = "\"";
        else if (ent == "apos") rep = "'";
        else if (ent.size() > 1 && ent[0] == '#') {
            const bool hex = ent[1] == 'x' || ent[1] == 'X';
            const unsigned long v =
                std::strtoul(std::string(ent.substr(hex ? 2 : 1)).c_str(), nullptr, hex ? 16 : 10);
            if (v > 0 && v < 0x110000) {
                // Encode as UTF-8.
                const char32_t c = static_cast<char32_t>(v);
                if (c < 0x80) {
                    rep += static_cast<char>(c);
                } else if (c < 0x800) {
                    rep += static_cast<char>(0xC0 | (c >> 6));
                    rep += static_cast<char>(0x80 | (c & 0x3F));
                } else if (c < 0x10000) {
                    rep += static_cast<char>(0xE0 | (c >> 12));
                    rep += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                    rep += static_cast<char>(0x80 | (c & 0x3F));
                } else {
                    rep += static_cast<char>(0xF0 | (c >> 18));
                    rep += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                    rep += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                    rep += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
        }
        if (rep.empty()) {
            out += s[i];
            continue;
        }
        out += rep;
        i = semi;
    }
    return out;
}

int LineOf(std::string_view text, size_t pos) {
    int line = 1;
    for (size_t i = 0; i < pos && i < text.size(); ++i) {
        if (text[i] == '\n') ++line;
    }
    return line;
}

// The pairs (value, documentation) of the enumerations of an XSD
// dictionary. The schema must be complete (its closing tag present).
std::string ReadEnumeration(std::string_view text,
                            std::vector<std::pair<std::string, std::string>>* out,
                            std::vector<int>* lines) {
    const std::string tail = Trim(text);
    const size_t last = tail.rfind("</");
    if (last == std::string::npos || tail.size() < 7 ||
        tail.compare(tail.size() - 7, 7, "schema>") != 0)
        return "Plik niekompletny (brak końca)";
    size_t pos = 0;
    for (;;) {
        const size_t at = text.find("enumeration value=\"", pos);
        if (at == std::string_view::npos) break;
        const size_t v = at + 19;
        const size_t q = text.find('"', v);
        const int line = LineOf(text, at);
        if (q == std::string_view::npos) return "Błędny zapis" + AtLine(line);
        const size_t gt = text.find('>', q);
        if (gt == std::string_view::npos) return "Błędny zapis" + AtLine(line);
        std::string name;
        pos = gt;
        if (text[gt - 1] != '/') {
            const size_t close = text.find("enumeration>", gt);
            if (close == std::string_view::npos) return "Błędny zapis" + AtLine(line);
            const std::string_view body = text.substr(gt, close - gt);
            const size_t d = body.find("documentation");
            const size_t dgt = d == std::string_view::npos ? d : body.find('>', d);
            if (dgt != std::string_view::npos) {
                const size_t e = body.find("</", dgt);
                if (e == std::string_view::npos) return "Błędny zapis" + AtLine(line);
                name = Trim(XmlText(body.substr(dgt + 1, e - dgt - 1)));
            }
            pos = close;
        }
        out->emplace_back(XmlText(text.substr(v, q - v)), name);
        lines->push_back(line);
    }
    return "";
}

// Rows (code, name) of a country or tax-office list in CSV or XSD form.
std::string CodeNamePairs(std::string_view text,
                          std::vector<std::pair<std::string, std::string>>* pairs,
                          std::vector<int>* lines) {
    if (Trim(text).substr(0, 1) == "<") return ReadEnumeration(text, pairs, lines);
    std::vector<CsvLine> csv;
    const char sep = text.substr(0, text.find('\n')).find(';') != std::string_view::npos ? ';' : ',';
    std::string err = SplitCsv(text, sep, &csv);
    if (!err.empty()) return err;
    if (csv.empty()) return "Plik jest pusty";
    const int code = Column(csv[0].cells, "code");
    const int name = Column(csv[0].cells, "name");
    if (code < 0 || name < 0) return "Nieznany format pliku";
    for (size_t i = 1; i < csv.size(); ++i) {
        const CsvLine& l = csv[i];
        if (l.cells.size() != csv[0].cells.size()) return "Zła liczba pól" + AtLine(l.number);
        pairs->emplace_back(l.cells[static_cast<size_t>(code)], l.cells[static_cast<size_t>(name)]);
        lines->push_back(l.number);
    }
    return "";
}

std::string ParseCountries(std::string_view text, ListRows* out) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<int> lines;
    std::string err = CodeNamePairs(text, &pairs, &lines);
    if (!err.empty()) return err;
    std::set<std::string> seen;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const std::string& code = pairs[i].first;
        const bool letters = code.size() == 2 && code[0] >= 'A' && code[0] <= 'Z' &&
                             code[1] >= 'A' && code[1] <= 'Z';
        if (!letters) return "Błędny kod kraju" + AtLine(lines[i]);
        if (pairs[i].second.empty()) return "Brak nazwy" + AtLine(lines[i]);
        if (!seen.insert(code).second) return "Powtórzony kod" + AtLine(lines[i]);
        const std::string name = UpperCp852(Cp852(pairs[i].second));
        out->rows.push_back({code, name.substr(0, 15), name});
    }
    out->short_names_missing = true;
    return "";
}

std::string ParseTaxOffices(std::string_view text, ListRows* out) {
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<int> lines;
    std::string err = CodeNamePairs(text, &pairs, &lines);
    if (!err.empty()) return err;
    std::set<std::string> seen;
    for (size_t i = 0; i < pairs.size(); ++i) {
        const std::string& code = pairs[i].first;
        if (code.size() != 4 || !AllDigits(code)) return "Błędny kod urzędu" + AtLine(lines[i]);
        if (pairs[i].second.empty()) return "Brak nazwy" + AtLine(lines[i]);
        if (!seen.insert(code).second) return "Powtórzony kod" + AtLine(lines[i]);
        out->rows.push_back({code, Cp852(pairs[i].second)});
    }
    return "";
}

std::string ParseTerritory(std::string_view text, ListRows* out) {
    std::vector<CsvLine> csv;
    std::string err = SplitCsv(text, ';', &csv);
    if (!err.empty()) return err;
    if (csv.empty()) return "Plik jest pusty";
    const std::vector<std::string>& head = csv[0].cells;
    const int woj = Column(head, "woj"), pow = Column(head, "pow"), gmi = Column(head, "gmi"),
              rodz = Column(head, "rodz"), nazwa = Column(head, "nazwa");
    if (woj < 0 || pow < 0 || gmi < 0 || rodz < 0 || nazwa < 0) return "Nieznany format pliku";
    std::set<std::string> seen;
    for (size_t i = 1; i < csv.size(); ++i) {
        const CsvLine& l = csv[i];
        if (l.cells.size() != head.size()) return "Zła liczba pól" + AtLine(l.number);
        auto cell = [&](int c) { return l.cells[static_cast<size_t>(c)]; };
        const std::string w = cell(woj), p = cell(pow), g = cell(gmi), r = cell(rodz);
        bool ok = w.size() == 2 && AllDigits(w) && w != "00";
        std::string code = w, parent;
        if (ok && !p.empty()) {
            ok = p.size() == 2 && AllDigits(p) && p != "00";
            parent = w;
            code += p;
            if (ok && !g.empty()) {
                ok = g.size() == 2 && AllDigits(g) && r.size() == 1 && AllDigits(r);
                parent = code;
                code += g + r;
            } else {
                ok = ok && r.empty();
            }
        } else {
            ok = ok && g.empty() && r.empty();
        }
        if (!ok) return "Błędny kod" + AtLine(l.number);
        if (!parent.empty() && seen.count(parent) == 0)
            return "Kod bez jednostki nadrz." + AtLine(l.number);
        if (!seen.insert(code).second) return "Powtórzony kod" + AtLine(l.number);
        const std::string name = UpperCp852(Cp852(cell(nazwa)));
        if (Trim(name).empty()) return "Brak nazwy" + AtLine(l.number);
        out->rows.push_back({code, name});
    }
    return "";
}

std::string ParseOccupations(std::string_view text, ListRows* out) {
    std::vector<CsvLine> csv;
    const char sep = text.substr(0, text.find('\n')).find(';') != std::string_view::npos ? ';' : ',';
    std::string err = SplitCsv(text, sep, &csv);
    if (!err.empty()) return err;
    if (csv.empty()) return "Plik jest pusty";
    const std::vector<std::string>& head = csv[0].cells;
    const int code = Column(head, "code"), level = Column(head, "level"),
              name = Column(head, "name"), school = Column(head, "school_occupation");
    if (code < 0 || name < 0) return "Nieznany format pliku";
    std::set<std::string> seen;
    for (size_t i = 1; i < csv.size(); ++i) {
        const CsvLine& l = csv[i];
        if (l.cells.size() != head.size()) return "Zła liczba pól" + AtLine(l.number);
        const std::string c = l.cells[static_cast<size_t>(code)];
        const size_t n = c.size();
        bool ok = AllDigits(c) && ((n >= 1 && n <= 4) || n == 6);
        if (ok && level >= 0) {
            const std::string lv = l.cells[static_cast<size_t>(level)];
            ok = lv == std::to_string(n == 6 ? 5 : n);
        }
        if (ok && level < 0) ok = n == 6;
        if (!ok) return "Błędny kod zawodu" + AtLine(l.number);
        // A group's parent is the code one level up; an occupation's is its
        // small group (four characters).
        if (level >= 0 && n > 1) {
            const std::string parent = c.substr(0, n == 6 ? 4 : n - 1);
            if (seen.count(parent) == 0) return "Kod bez grupy nadrzędnej" + AtLine(l.number);
        }
        if (!seen.insert(c).second) return "Powtórzony kod" + AtLine(l.number);
        const std::string nm = Cp852(l.cells[static_cast<size_t>(name)]);
        if (Trim(nm).empty()) return "Brak nazwy" + AtLine(l.number);
        const bool s = school >= 0 && (l.cells[static_cast<size_t>(school)] == "S" ||
                                       l.cells[static_cast<size_t>(school)] == "s");
        out->rows.push_back({c, nm, s ? "T" : "F"});
    }
    out->groups_missing = level < 0;
    return "";
}

// --- writing the tables -------------------------------------------------

// The table of `list` as created by the catalogue.
std::vector<dbf::FieldSpec> Layout(OfficialList list) {
    return common::FindTable(InfoOf(list).table)->Specs();
}

base::Status CreateOpen(const std::string& path, const std::vector<dbf::FieldSpec>& layout,
                        std::unique_ptr<dbf::Table>* out) {
    base::Status s = dbf::Table::Create(path, layout);
    if (!s.ok()) return s;
    dbf::OpenOptions exclusive;
    exclusive.exclusive = true;
    return dbf::Table::Open(path, exclusive, out);
}

// Copies every record of `from` to `to` with the CP852 letters of its text
// fields replaced by the letters of `letters`.
base::Status CopyRecoded(dbf::Table& from, dbf::Table& to, const common::LetterSet& letters) {
    dbf::Record out = to.NewRecord();
    return from.Scan(1, [&](uint32_t, const dbf::Record& in) {
        out.Clear();
        const auto& fields = in.fields();
        for (size_t i = 0; i < fields.size(); ++i) {
            const int f = static_cast<int>(i);
            const int g = to.FieldIndex(fields[i].name);
            if (g < 0) continue;
            if (fields[i].type == dbf::FieldType::kCharacter) {
                base::Status s = out.SetString(g, letters.FromCp852(in.Raw(f)));
                if (!s.ok()) return s;
            } else {
                out.SetRaw(g, in.Raw(f));
            }
        }
        uint32_t n = 0;
        return to.Append(out, &n);
    });
}

std::string IndexCopyName(const std::string& dir, const std::string& index) {
    return Join(dir, index + "@.NTX");
}

// Removes what an earlier rebuild may have left behind.
void RemoveLeftovers(const std::string& dir, const OfficialListInfo& info) {
    const std::string table = info.table;
    (void)common::RecoverReplacement(dir, table);
    RemoveIfExists(base::FindNoCase(dir, table + "@.DBF"));
    RemoveIfExists(base::FindNoCase(dir, std::string(info.temporary) + ".DBF"));
    for (const common::CatalogueIndex& i : common::FindTable(table)->indexes)
        RemoveIfExists(base::FindNoCase(dir, std::string(i.name) + "@.NTX"));
}

// Writes the new copy NAME@.DBF complete with its index files; on failure
// removes everything it wrote.
std::string WriteNewCopy(const std::string& dir, const common::LetterSet& letters,
                         const OfficialListInfo& info, const TableFill& fill, uint32_t* rows) {
    const std::string table = info.table;
    const std::string fresh = Join(dir, table + "@.DBF");
    const std::string temp = Join(dir, std::string(info.temporary) + ".DBF");
    const std::vector<dbf::FieldSpec> layout = Layout(info.list);
    const common::TableLayout* catalogue = common::FindTable(table);

    std::unique_ptr<dbf::Table> copy;
    base::Status s;
    std::string failed_file = fresh;
    if (letters.IsCp852()) {
        s = CreateOpen(fresh, layout, &copy);
        if (s.ok()) s = fill(*copy);
    } else {
        // The text is written as shipped (CP852) into the temporary table,
        // then copied row by row into the new table in the set in force.
        std::unique_ptr<dbf::Table> stage;
        failed_file = temp;
        s = CreateOpen(temp, layout, &stage);
        if (s.ok()) s = fill(*stage);
        if (s.ok()) {
            failed_file = fresh;
            s = CreateOpen(fresh, layout, &copy);
        }
        if (s.ok()) s = CopyRecoded(*stage, *copy, letters);
        if (stage) {
            base::Status c = stage->Close();
            if (s.ok()) s = c;
        }
        RemoveIfExists(temp);
    }
    if (s.ok() && copy->record_count() == 0) s = base::Status::InvalidArgument("Brak pozycji");
    if (s.ok()) {
        common::IndexKeys keys(copy->fields(), letters);
        for (const common::CatalogueIndex& i : catalogue->indexes) {
            dbf::IndexDefinition def;
            failed_file = IndexCopyName(dir, i.name);
            s = keys.Define(i, &def);
            if (s.ok()) s = dbf::Index::Create(failed_file, copy.get(), def);
            if (!s.ok()) break;
        }
    }
    if (s.ok() && rows) *rows = copy->record_count();
    if (copy) {
        base::Status c = copy->Close();
        if (s.ok()) s = c;
    }
    if (!s.ok()) {
        RemoveLeftovers(dir, info);
        if (s.IsInvalidArgument() && s.message() == "Brak pozycji") return "Brak pozycji w słowniku";
        const size_t slash = failed_file.find_last_of('/');
        return "Błąd zapisu " + failed_file.substr(slash == std::string::npos ? 0 : slash + 1);
    }
    return "";
}

// Puts the new copy in place of the working dictionary, which is held
// exclusively meanwhile. The old index files go first, so that a crash at
// any step leaves a table whose missing indexes are rebuilt on opening.
std::string SwapIn(const std::string& dir, const OfficialListInfo& info) {
    const std::string table = info.table;
    const std::string path = base::FindNoCase(dir, table + ".DBF");
    const std::string fresh = Join(dir, table + "@.DBF");
    std::unique_ptr<dbf::Table> old;
    if (base::Exists(path)) {
        dbf::OpenOptions exclusive;
        exclusive.exclusive = true;
        base::Status s = dbf::Table::Open(path, exclusive, &old);
        if (!s.ok()) {
            RemoveLeftovers(dir, info);
            if (s.IsBusy()) return "Słownik używany na innym stanowisku";
            return "Błąd otwarcia " + table + ".DBF";
        }
    }
    const common::TableLayout* catalogue = common::FindTable(table);
    for (const common::CatalogueIndex& i : catalogue->indexes)
        RemoveIfExists(base::FindNoCase(dir, std::string(i.name) + ".NTX"));
    const std::string target = old ? path : Join(dir, table + ".DBF");
    const std::string aside = common::AsideName(target);
    base::Status s;
    bool set_aside = false;
    if (old) {
        s = dbf::RenameFile(target, aside);
        set_aside = s.ok();
    }
    if (s.ok()) s = dbf::RenameFile(fresh, target);
    if (!s.ok()) {
        // The working table goes back under its name; the new copy goes.
        if (set_aside) (void)dbf::RenameFile(aside, target);
        old.reset();
        RemoveLeftovers(dir, info);
        return "Błąd zapisu " + table + ".DBF";
    }
    for (const common::CatalogueIndex& i : catalogue->indexes) {
        const std::string from = IndexCopyName(dir, i.name);
        if (!dbf::RenameFile(from, Join(dir, std::string(i.name) + ".NTX")).ok())
            RemoveIfExists(from);  // rebuilt when the table is next opened
    }
    old.reset();
    RemoveIfExists(aside);
    return "";
}

// Short names (countries) or groups (occupations) kept from the dictionary
// in force for a file that lacks them.
std::map<std::string, std::vector<std::string>> CurrentRows(const std::string& dir,
                                                            OfficialList list) {
    std::map<std::string, std::vector<std::string>> rows;
    const std::string path = base::FindNoCase(dir, std::string(InfoOf(list).table) + ".DBF");
    if (!base::Exists(path)) return rows;
    std::unique_ptr<dbf::Table> t;
    dbf::OpenOptions shared;
    shared.read_only = true;
    if (!dbf::Table::Open(path, shared, &t).ok()) return rows;
    const std::vector<dbf::FieldSpec> layout = Layout(list);
    std::vector<int> fields;
    for (const dbf::FieldSpec& f : layout) fields.push_back(t->FieldIndex(f.name));
    (void)t->Scan(1, [&](uint32_t, const dbf::Record& rec) {
        if (rec.deleted() || fields[0] < 0) return base::Status::Ok();
        std::vector<std::string> row;
        for (int f : fields) row.push_back(f < 0 ? std::string() : rec.GetString(f));
        rows[Trim(row[0])] = row;
        return base::Status::Ok();
    });
    (void)t->Close();
    return rows;
}

base::Status AppendRow(dbf::Table& t, const std::vector<dbf::FieldSpec>& layout,
                       const std::vector<std::string>& row, dbf::Record* rec) {
    rec->Clear();
    for (size_t i = 0; i < layout.size() && i < row.size(); ++i) {
        const int f = t.FieldIndex(layout[i].name);
        base::Status s;
        if (layout[i].type == dbf::FieldType::kLogical)
            s = rec->SetLogical(f, row[i] == "T");
        else
            s = rec->SetString(f, row[i]);
        if (!s.ok()) return s;
    }
    uint32_t n = 0;
    return t.Append(*rec, &n);
}

// Occupation code order: a leading "0" sorts after 1-9.
std::string OccupationOrder(const std::string& code) {
    return common::ProfessionKey(code);
}

}  // namespace

const OfficialListInfo& InfoOf(OfficialList list) {
    return kLists[static_cast<size_t>(list)];
}

std::string_view TerritoryKind(std::string_view code) {
    if (code.size() == 2) return "województwo";
    if (code.size() == 4) return "powiat";
    if (code.size() != 7) return "";
    switch (code[6]) {
        case '1': return "gmina miejska";
        case '2': return "gmina wiejska";
        case '3': return "gmina miejsko-wiejska";
        case '4': return "miasto";
        case '5': return "obszar wiejski";
        case '8': return "dzielnica";
        case '9': return "delegatura";
        default: return "";
    }
}

std::string ParseOfficialList(OfficialList list, std::string_view utf8, ListRows* out) {
    *out = ListRows{};
    std::string_view text;
    if (!CheckText(utf8, &text)) return "Plik nie jest tekstem UTF-8";
    if (Trim(text).empty()) return "Plik jest pusty";
    std::string err;
    switch (list) {
        case OfficialList::kCountries: err = ParseCountries(text, out); break;
        case OfficialList::kTaxOffices: err = ParseTaxOffices(text, out); break;
        case OfficialList::kTerritory: err = ParseTerritory(text, out); break;
        case OfficialList::kOccupations: err = ParseOccupations(text, out); break;
    }
    if (err.empty() && out->rows.empty()) err = "Plik nie zawiera żadnej pozycji";
    if (!err.empty()) *out = ListRows{};
    return err;
}

std::string RebuildOfficialTable(const std::string& dir, const common::LetterSet& letters,
                                 OfficialList list, const TableFill& fill, uint32_t* rows) {
    const OfficialListInfo& info = InfoOf(list);
    RemoveLeftovers(dir, info);
    uint32_t count = 0;
    std::string err = WriteNewCopy(dir, letters, info, fill, &count);
    if (err.empty()) err = SwapIn(dir, info);
    if (err.empty() && rows) *rows = count;
    return err;
}

std::string RebuildFromShipped(const std::string& dir, const std::string& shipped_dir,
                               const common::LetterSet& letters, OfficialList list,
                               uint32_t* rows) {
    const std::string table = InfoOf(list).table;
    const std::string source = base::FindNoCase(shipped_dir, table + ".tsv");
    if (!base::Exists(source)) return "Brak pliku " + table + ".tsv";
    return RebuildOfficialTable(
        dir, letters, list,
        [&](dbf::Table& t) { return common::LoadTabSeparated(source, t); }, rows);
}

std::string ImportOfficialList(const std::string& dir, const common::LetterSet& letters,
                               OfficialList list, const std::string& path, uint32_t* rows) {
    std::string text;
    base::Status s = base::ReadFile(path, &text);
    if (s.IsNotFound()) return "Brak pliku";
    if (!s.ok()) return "Błąd odczytu pliku";
    ListRows parsed;
    std::string err = ParseOfficialList(list, text, &parsed);
    if (!err.empty()) return err;
    std::vector<std::vector<std::string>> all = std::move(parsed.rows);
    if (parsed.short_names_missing || parsed.groups_missing) {
        const auto current = CurrentRows(dir, list);
        if (parsed.short_names_missing) {
            for (auto& row : all) {
                auto it = current.find(row[0]);
                if (it != current.end() && !Trim(it->second[1]).empty()) row[1] = it->second[1];
            }
        }
        if (parsed.groups_missing) {
            for (const auto& [code, row] : current) {
                if (code.size() < 6) all.push_back(row);
            }
            for (auto& row : all) row[2] = Trim(row[2]) == "T" ? "T" : "F";
            std::stable_sort(all.begin(), all.end(), [](const auto& a, const auto& b) {
                return OccupationOrder(Trim(a[0])) < OccupationOrder(Trim(b[0]));
            });
        }
    }
    const std::vector<dbf::FieldSpec> layout = Layout(list);
    return RebuildOfficialTable(
        dir, letters, list,
        [&](dbf::Table& t) {
            dbf::Record rec = t.NewRecord();
            for (const auto& row : all) {
                base::Status st = AppendRow(t, layout, row, &rec);
                if (!st.ok()) return st;
            }
            return base::Status::Ok();
        },
        rows);
}

namespace {

bool RebuildShipped(common::Runtime& rt, OfficialList list) {
    const std::string err = RebuildFromShipped(
        rt.data_dir(), common::ShippedDataDir(rt.data_dir()), rt.letters(), list);
    return err.empty();
}

}  // namespace

bool Qrmcrkraje(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kCountries);
}
bool Qrmcrkdurz(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kTaxOffices);
}
bool Qrmcrgminy(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kTerritory);
}
bool Qrmcrkzis(common::Runtime& rt) {
    return RebuildShipped(rt, OfficialList::kOccupations);
}

}  // namespace kestrel::registry
