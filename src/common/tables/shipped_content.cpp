#include "common/tables/shipped_content.h"

#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/base/files.h"
#include "platform/codepage/cp852.h"

namespace kestrel::common {
namespace {

std::vector<std::string> SplitTabs(std::string_view line) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        out.emplace_back(
            line.substr(start, tab == std::string_view::npos ? line.npos : tab - start));
        if (tab == std::string_view::npos) return out;
        start = tab + 1;
    }
}

// A memo cell: \n stands for a line break (stored as CR LF), \t for a tab
// and \\ for a backslash; any other character stays as it is.
std::string MemoText(std::string_view cell) {
    std::string out;
    out.reserve(cell.size());
    for (size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\' || i + 1 == cell.size()) {
            out += cell[i];
            continue;
        }
        switch (cell[++i]) {
            case 'n':
                out += "\r\n";
                break;
            case 't':
                out += '\t';
                break;
            case '\\':
                out += '\\';
                break;
            default:
                out += '\\';
                out += cell[i];
                break;
        }
    }
    return out;
}

bool EndsWithPk(std::string_view dir) {
    while (!dir.empty() && dir.back() == '/') dir.remove_suffix(1);
    if (dir.size() < 3) return false;
    const std::string_view ext = dir.substr(dir.size() - 3);
    return (ext[0] == '.') && (ext[1] == 'P' || ext[1] == 'p') && (ext[2] == 'K' || ext[2] == 'k');
}

}  // namespace

std::string ShippedDataDir(const std::string& data_dir) {
    std::string dir = data_dir;
    while (!dir.empty() && dir.back() == '/') dir.pop_back();
    if (EndsWithPk(dir)) {
        const size_t slash = dir.find_last_of('/');
        dir = slash == std::string::npos ? "." : dir.substr(0, slash);
    }
    if (dir.empty()) dir = ".";
    return dir + "/data/";
}

base::Status LoadTabSeparated(const std::string& path, dbf::Table& table, uint32_t* loaded) {
    std::string text;
    base::Status s = base::ReadFile(path, &text);
    if (!s.ok()) return s;
    std::vector<int> fields;
    dbf::Record rec = table.NewRecord();
    uint32_t count = 0;
    size_t pos = 0;
    int line_no = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + pos, end - pos);
        pos = end + 1;
        ++line_no;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::vector<std::string> cells = SplitTabs(line);
        if (fields.empty()) {
            for (const std::string& name : cells) {
                const int f = table.FieldIndex(name);
                if (f < 0) return base::Status::InvalidArgument(path + ": no field " + name);
                fields.push_back(f);
            }
            continue;
        }
        if (cells.size() != fields.size()) {
            return base::Status::InvalidArgument(path + ": line " + std::to_string(line_no));
        }
        rec.Clear();
        for (size_t i = 0; i < cells.size(); ++i) {
            const int f = fields[i];
            const std::string value = codepage::FromUtf8(cells[i]);
            switch (rec.fields()[static_cast<size_t>(f)].type) {
                case dbf::FieldType::kNumeric:
                    s = rec.SetNumber(f, std::strtod(value.c_str(), nullptr));
                    break;
                case dbf::FieldType::kLogical:
                    s = rec.SetLogical(f, value == "T" || value == "t");
                    break;
                case dbf::FieldType::kDate:
                    s = rec.SetDate(f, value);
                    break;
                case dbf::FieldType::kMemo:
                    s = table.WriteMemo(&rec, f, MemoText(value));
                    break;
                default:
                    s = rec.SetString(f, value);
                    break;
            }
            if (!s.ok()) {
                return base::Status::InvalidArgument(path + ": line " + std::to_string(line_no) +
                                                     ": " + s.message());
            }
        }
        uint32_t recno = 0;
        s = table.Append(rec, &recno);
        if (!s.ok()) return s;
        ++count;
    }
    if (loaded) *loaded = count;
    return base::Status::Ok();
}

base::Status LoadSetupRecords(const std::vector<SetupRecord>& records, std::string_view name,
                              dbf::Table& table, uint32_t* loaded) {
    uint32_t count = 0;
    dbf::Record rec = table.NewRecord();
    for (const SetupRecord* r : RecordsOf(records, name)) {
        rec.Clear();
        base::Status s = FillSetupRecord(*r, table, &rec);
        uint32_t recno = 0;
        if (s.ok()) s = table.Append(rec, &recno);
        if (!s.ok()) return s;
        ++count;
    }
    if (loaded) *loaded = count;
    return base::Status::Ok();
}

TableFiller ShippedContent(const std::string& dir) {
    // The payroll setup is read once, when the first table asks for it.
    struct Setup {
        bool read = false;
        base::Status status = base::Status::Ok();
        std::vector<SetupRecord> records;
    };
    auto setup = std::make_shared<Setup>();
    return [dir, setup](const std::string& table, dbf::Table& t) {
        const std::string path = base::FindNoCase(dir, table + ".tsv");
        if (base::Exists(path)) {
            base::Status s = LoadTabSeparated(path, t);
            if (!s.ok()) return s;
        }
        if (!setup->read) {
            setup->read = true;
            // The folder is joined whether or not `dir` ends in a slash.
            const std::string folder =
                dir.empty() || dir.back() == '/' ? dir + kSetupFolder : dir + "/" + kSetupFolder;
            setup->status = ReadSetupDir(folder, &setup->records);
        }
        if (!setup->status.ok()) return setup->status;
        return LoadSetupRecords(setup->records, table, t);
    };
}

}  // namespace kestrel::common
