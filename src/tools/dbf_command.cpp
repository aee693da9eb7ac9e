// kestrel-tool dbf: an administrator's look into tables and indexes.
//   dbf struct T.DBF                               the fields of a table
//   dbf dump T.DBF [--index X.NTX] [--deleted] [--fields A,B] [--clear]
//                                                  records as UTF-8 CSV
//   dbf check T.DBF X.NTX...                       exit 1 when an index is wrong
//   dbf index T.DBF X.NTX KEY [--for COND]         builds an index
#include <cstdio>
#include <string>
#include <vector>

#include "common/checks/scramble.h"
#include "common/session/letters.h"
#include "common/tables/index_functions.h"
#include "platform/base/text.h"
#include "platform/codepage/cp852.h"
#include "platform/dbf/formula_key.h"
#include "platform/dbf/index.h"
#include "platform/dbf/table.h"
#include "tools/command.h"

namespace kestrel::tools {
namespace {

using dbf::Index;
using dbf::Record;
using dbf::Status;
using dbf::Table;

const char kUsage[] =
    "dbf struct T.DBF | dbf dump T.DBF [--index X.NTX] [--deleted] [--fields A,B] [--clear] | "
    "dbf check T.DBF X.NTX... | dbf index T.DBF X.NTX KEY [--for COND]";

int Fail(const Status& s) {
    std::fprintf(stderr, "kestrel-tool dbf: %s\n", s.ToString().c_str());
    return 1;
}

int Usage() {
    std::fprintf(stderr, "usage: kestrel-tool %s\n", kUsage);
    return 2;
}

int Struct(const std::vector<std::string>& args) {
    if (args.size() != 1) return Usage();
    std::unique_ptr<Table> t;
    Status s = Table::Open(args[0], {.read_only = true}, &t);
    if (!s.ok()) return Fail(s);
    const dbf::DbfHeader& h = t->header();
    std::printf("%s: %u records of %u bytes, last update %04d-%02d-%02d%s\n", args[0].c_str(),
                t->record_count(), t->record_length(), h.year, h.month, h.day,
                t->has_memo() ? ", memo file" : "");
    std::printf("%-10s %-4s %5s %3s\n", "NAME", "TYPE", "WIDTH", "DEC");
    for (const dbf::Field& f : t->fields()) {
        std::printf("%-10s %-4c %5u %3u\n", f.name.c_str(), static_cast<char>(f.type), f.length,
                    f.decimals);
    }
    return 0;
}

using base::Trim;

void PutCsv(const std::string& utf8, bool first) {
    if (!first) std::fputc(',', stdout);
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) {
        std::fputs(utf8.c_str(), stdout);
        return;
    }
    std::string q = "\"";
    for (char c : utf8) {
        if (c == '"') q += '"';
        q += c;
    }
    q += '"';
    std::fputs(q.c_str(), stdout);
}

// What a dump shows: which fields, in which order, and whether the
// scrambled personal fields are shown in clear.
struct DumpColumns {
    std::vector<int> fields;
    bool with_deleted = false;
    bool clear = false;
};

// The scrambled personal fields of the company tables and their kind.
bool ScrambledField(const std::string& name, common::ScrambleKind* kind) {
    if (name == "IMIEX_" || name == "NAZWX_" || name == "NAZWX_U") {
        *kind = common::ScrambleKind::kName;
        return true;
    }
    if (name == "PESELX_" || name == "PESELX_U") {
        *kind = common::ScrambleKind::kIdentity;
        return true;
    }
    return false;
}

Status PrintRecord(Table* t, const Record& r, const DumpColumns& cols) {
    bool first = true;
    if (cols.with_deleted) {
        PutCsv(r.deleted() ? "*" : "", true);
        first = false;
    }
    std::string memo;
    for (int fi : cols.fields) {
        const dbf::Field& f = t->fields()[static_cast<size_t>(fi)];
        std::string v;
        common::ScrambleKind kind;
        switch (f.type) {
            case dbf::FieldType::kCharacter: {
                std::string raw(r.Raw(fi));
                if (cols.clear && ScrambledField(f.name, &kind))
                    raw = common::Unscramble(kind, raw);
                while (!raw.empty() && raw.back() == ' ') raw.pop_back();
                v = codepage::ToUtf8(raw);
                break;
            }
            case dbf::FieldType::kDate: {
                std::string d = r.GetDate(fi);
                if (d.size() == 8) {
                    v.assign(d, 0, 4);
                    v.push_back('-');
                    v.append(d, 4, 2);
                    v.push_back('-');
                    v.append(d, 6, 2);
                }
                break;
            }
            case dbf::FieldType::kLogical:
                if (!r.IsBlank(fi)) v.push_back(r.GetLogical(fi) ? 'T' : 'F');
                break;
            case dbf::FieldType::kMemo: {
                Status s = t->ReadMemo(r, fi, &memo);
                if (!s.ok()) return s;
                v = codepage::ToUtf8(memo);
                break;
            }
            default:
                v = Trim(r.Raw(fi));
        }
        PutCsv(v, first);
        first = false;
    }
    std::fputc('\n', stdout);
    return Status::Ok();
}

// Descend() of the xBase family, for keys that sort later values first: of
// a date the number 5231808 - Julian day, of a number its negation.
void AddIndexFunctions(formula::Runtime& rt) {
    rt.RegisterFunction("DESCEND", [](formula::Call& call) {
        const formula::Value& v = call.Arg(0);
        if (v.type() == formula::Type::kDate) {
            call.result = formula::Value::Number(v.julian() == 0 ? 0 : 5231808 - v.julian());
        } else if (v.type() == formula::Type::kNumber) {
            call.result = formula::Value::Number(-v.number(), v.decimals(), v.width());
        } else {
            return call.ArgError(1);
        }
        return true;
    });
    // The company tables' own key functions (Polish collation, unscrambled
    // personal fields), in the CP852 letter set.
    common::RegisterIndexFunctions(rt, common::MakeLetterSet(common::kPolishCp852));
}

Status OpenBoundIndex(const std::string& path, Table* t, std::unique_ptr<Index>* idx) {
    Status s = Index::Open(path, false, true, idx);
    dbf::KeyFunction key;
    dbf::ForFunction cond;
    if (s.ok()) {
        s = dbf::CompileFormulaKey(&t->fields(), (*idx)->key_expression(), &key, AddIndexFunctions);
    }
    if (s.ok()) {
        s = dbf::CompileFormulaCondition(&t->fields(), (*idx)->for_expression(), &cond,
                                         AddIndexFunctions);
    }
    if (!s.ok()) return Status::InvalidArgument(path + ": " + s.message());
    (*idx)->Bind(key, cond);
    return Status::Ok();
}

int Dump(const std::vector<std::string>& args) {
    std::string table_path, index_path, field_list;
    DumpColumns cols;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--deleted") {
            cols.with_deleted = true;
        } else if (args[i] == "--clear") {
            cols.clear = true;
        } else if (args[i] == "--fields" && i + 1 < args.size()) {
            field_list = args[++i];
        } else if (args[i] == "--index" && i + 1 < args.size()) {
            index_path = args[++i];
        } else if (table_path.empty() && args[i].rfind("--", 0) != 0) {
            table_path = args[i];
        } else {
            return Usage();
        }
    }
    if (table_path.empty()) return Usage();
    std::unique_ptr<Table> t;
    Status s = Table::Open(table_path, {.read_only = true}, &t);
    if (!s.ok()) return Fail(s);
    if (field_list.empty()) {
        for (size_t i = 0; i < t->fields().size(); ++i) cols.fields.push_back(static_cast<int>(i));
    } else {
        size_t start = 0;
        while (start <= field_list.size()) {
            size_t comma = field_list.find(',', start);
            if (comma == std::string::npos) comma = field_list.size();
            std::string name = field_list.substr(start, comma - start);
            int fi = t->FieldIndex(name);
            if (fi < 0) return Fail(Status::InvalidArgument(table_path + ": no field " + name));
            cols.fields.push_back(fi);
            start = comma + 1;
        }
    }
    bool first = true;
    if (cols.with_deleted) {
        PutCsv("DELETED", true);
        first = false;
    }
    for (int fi : cols.fields) {
        PutCsv(t->fields()[static_cast<size_t>(fi)].name, first);
        first = false;
    }
    std::fputc('\n', stdout);
    if (index_path.empty()) {
        s = t->Scan(1, [&](uint32_t, const Record& r) {
            if (r.deleted() && !cols.with_deleted) return Status::Ok();
            return PrintRecord(t.get(), r, cols);
        });
        return s.ok() ? 0 : Fail(s);
    }
    std::unique_ptr<Index> idx;
    s = OpenBoundIndex(index_path, t.get(), &idx);
    if (s.ok()) s = idx->GoTop();
    Record r;
    while (s.ok() && idx->valid()) {
        s = t->Read(idx->recno(), &r);
        if (s.ok() && (!r.deleted() || cols.with_deleted)) s = PrintRecord(t.get(), r, cols);
        if (s.ok()) s = idx->Next();
    }
    return s.ok() ? 0 : Fail(s);
}

int Check(const std::vector<std::string>& args) {
    if (args.size() < 2) return Usage();
    std::unique_ptr<Table> t;
    Status s = Table::Open(args[0], {.read_only = true}, &t);
    if (!s.ok()) return Fail(s);
    int rc = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        std::unique_ptr<Index> idx;
        s = OpenBoundIndex(args[i], t.get(), &idx);
        if (s.ok()) s = idx->Check(t.get());
        if (s.ok()) {
            std::printf("%s: ok\n", args[i].c_str());
        } else {
            std::printf("%s: %s\n", args[i].c_str(), s.ToString().c_str());
            rc = 1;
        }
    }
    return rc;
}

int Build(const std::vector<std::string>& args) {
    std::vector<std::string> pos;
    std::string cond_text;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--for" && i + 1 < args.size()) {
            cond_text = args[++i];
        } else {
            pos.push_back(args[i]);
        }
    }
    if (pos.size() != 3) return Usage();
    std::unique_ptr<Table> t;
    Status s = Table::Open(pos[0], {.exclusive = true}, &t);
    if (!s.ok()) return Fail(s);
    dbf::IndexDefinition def;
    def.key_expression = pos[2];
    def.for_expression = cond_text;
    s = dbf::CompileFormulaKey(&t->fields(), codepage::FromUtf8(def.key_expression), &def.key,
                               AddIndexFunctions);
    if (s.ok()) {
        s = dbf::CompileFormulaCondition(&t->fields(), codepage::FromUtf8(def.for_expression),
                                         &def.condition, AddIndexFunctions);
    }
    if (s.ok()) s = Index::Create(pos[1], t.get(), def);
    if (!s.ok()) return Fail(s);
    return 0;
}

int DbfCommand(const std::vector<std::string>& args) {
    if (args.empty()) return Usage();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "struct") return Struct(rest);
    if (args[0] == "dump") return Dump(rest);
    if (args[0] == "check") return Check(rest);
    if (args[0] == "index") return Build(rest);
    return Usage();
}

}  // namespace

KESTREL_TOOL_COMMAND(dbf_registration, "dbf", kUsage, DbfCommand);

}  // namespace kestrel::tools
