// Reading the official list files: the country and tax-office
// dictionaries of the tax declarations (CSV or XSD), the TERC register of
// territorial units (CSV) and the classification of occupations (CSV).
// Every file is checked whole before anything is taken from it.
#include <cstdlib>
#include <set>

#include "common/session/letter_conversions.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "register/data/official_dictionaries.h"

namespace kestrel::registry {
namespace {

bool AllDigits(std::string_view s) {
    for (char c : s) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

std::string AtLine(int line) {
    return ": wiersz " + std::to_string(line);
}

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
        if (base::TrimWhitespace(line).empty()) continue;
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
            } else if (c == '"' && base::TrimWhitespace(cell).empty() && !was_quoted) {
                cell.clear();
                quoted = true;
                was_quoted = true;
            } else if (c == sep) {
                row.cells.push_back(was_quoted ? cell : base::TrimWhitespace(cell));
                cell.clear();
                was_quoted = false;
            } else if (was_quoted && c != ' ') {
                return "Błędny cudzysłów" + AtLine(number);
            } else {
                cell += c;
            }
        }
        if (quoted) return "Niezamknięty cudzysłów" + AtLine(number);
        row.cells.push_back(was_quoted ? cell : base::TrimWhitespace(cell));
        out->push_back(std::move(row));
    }
    return "";
}

// Column positions named by the header line (lower case names).
int Column(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i) {
        if (base::AsciiLower(header[i]) == name) return static_cast<int>(i);
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
            case 0x00A0:
            case 0x2002:
            case 0x2003:
            case 0x2009:
            case 0x202F:
                plain += ' ';
                break;
            case 0x2010:
            case 0x2011:
            case 0x2012:
            case 0x2013:
            case 0x2014:
            case 0x2212:
                plain += '-';
                break;
            case 0x2018:
            case 0x2019:
            case 0x201A:
                plain += '\'';
                break;
            case 0x201C:
            case 0x201D:
            case 0x201E:
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
        if (ent == "amp")
            rep = "&";
        else if (ent == "lt")
            rep = "<";
        else if (ent == "gt")
            rep = ">";
        else if (ent == "quot")
            rep = "\"";
        else if (ent == "apos")
            rep = "'";
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
    const std::string tail = base::TrimWhitespace(text);
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
                name = base::TrimWhitespace(XmlText(body.substr(dgt + 1, e - dgt - 1)));
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
    if (base::TrimWhitespace(text).substr(0, 1) == "<") return ReadEnumeration(text, pairs, lines);
    std::vector<CsvLine> csv;
    const char sep =
        text.substr(0, text.find('\n')).find(';') != std::string_view::npos ? ';' : ',';
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
        const std::string name = base::Cp852Upper(Cp852(pairs[i].second));
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
        const std::string name = base::Cp852Upper(Cp852(cell(nazwa)));
        if (base::TrimWhitespace(name).empty()) return "Brak nazwy" + AtLine(l.number);
        out->rows.push_back({code, name});
    }
    return "";
}

std::string ParseOccupations(std::string_view text, ListRows* out) {
    std::vector<CsvLine> csv;
    const char sep =
        text.substr(0, text.find('\n')).find(';') != std::string_view::npos ? ';' : ',';
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
        if (base::TrimWhitespace(nm).empty()) return "Brak nazwy" + AtLine(l.number);
        const bool s = school >= 0 && (l.cells[static_cast<size_t>(school)] == "S" ||
                                       l.cells[static_cast<size_t>(school)] == "s");
        out->rows.push_back({c, nm, s ? "T" : "F"});
    }
    out->groups_missing = level < 0;
    return "";
}

}  // namespace

std::string_view TerritoryKind(std::string_view code) {
    if (code.size() == 2) return "województwo";
    if (code.size() == 4) return "powiat";
    if (code.size() != 7) return "";
    switch (code[6]) {
        case '1':
            return "gmina miejska";
        case '2':
            return "gmina wiejska";
        case '3':
            return "gmina miejsko-wiejska";
        case '4':
            return "miasto";
        case '5':
            return "obszar wiejski";
        case '8':
            return "dzielnica";
        case '9':
            return "delegatura";
        default:
            return "";
    }
}

std::string ParseOfficialList(OfficialList list, std::string_view utf8, ListRows* out) {
    *out = ListRows{};
    std::string_view text;
    if (!CheckText(utf8, &text)) return "Plik nie jest tekstem UTF-8";
    if (base::TrimWhitespace(text).empty()) return "Plik jest pusty";
    std::string err;
    switch (list) {
        case OfficialList::kCountries:
            err = ParseCountries(text, out);
            break;
        case OfficialList::kTaxOffices:
            err = ParseTaxOffices(text, out);
            break;
        case OfficialList::kTerritory:
            err = ParseTerritory(text, out);
            break;
        case OfficialList::kOccupations:
            err = ParseOccupations(text, out);
            break;
    }
    if (err.empty() && out->rows.empty()) err = "Plik nie zawiera żadnej pozycji";
    if (!err.empty()) *out = ListRows{};
    return err;
}

}  // namespace kestrel::registry
