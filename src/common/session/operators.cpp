#include "common/session/operators.h"

#include <crypt.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/base/files.h"
#include "platform/base/text.h"
#include "platform/dbf/table.h"

namespace kestrel::common {
namespace {

enum Field { kIdent, kName, kRights, kInactive, kPassword };

const std::vector<dbf::FieldSpec>& Layout() {
    static const std::vector<dbf::FieldSpec> fields = {
        {"IDENT", dbf::FieldType::kCharacter, 4, 0},   {"NAZWA", dbf::FieldType::kCharacter, 20, 0},
        {"PRAWA", dbf::FieldType::kCharacter, 10, 0},  {"NIEAKT", dbf::FieldType::kCharacter, 1, 0},
        {"HASLO", dbf::FieldType::kCharacter, 200, 0},
    };
    return fields;
}

// Identifiers and rights are not kept in clear: each byte is shifted by an
// amount that depends on its position (reversible, same width).
std::string Scramble(std::string_view text, bool forward) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        const unsigned shift = static_cast<unsigned>((i * 37 + 11) % 256);
        const auto b = static_cast<unsigned char>(out[i]);
        out[i] = static_cast<char>(forward ? (b + shift) & 0xFF : (b - shift) & 0xFF);
    }
    return out;
}

using base::TrimRight;

std::string ListName(const std::string& company) {
    return company.empty() ? "GLOWNA.DBF" : company + ".DBF";
}

}  // namespace

std::string RightsMarks(unsigned rights) {
    std::string marks(10, ' ');
    if (rights & RightBit(8)) marks[2] = 'X';
    for (int kind = 1; kind <= 7; ++kind)
        if (rights & RightBit(kind)) marks[static_cast<size_t>(10 - kind)] = 'X';
    return marks;
}

unsigned RightsFromMarks(std::string_view marks) {
    unsigned rights = 0;
    auto at = [&](size_t i) { return i < marks.size() && (marks[i] == 'X' || marks[i] == 'x'); };
    if (at(2)) rights |= RightBit(8);
    for (int kind = 1; kind <= 7; ++kind)
        if (at(static_cast<size_t>(10 - kind))) rights |= RightBit(kind);
    return rights;
}

std::string HashPassword(std::string_view password) {
    const std::string phrase(password);
    for (const char* prefix : {"$y$", "$gy$", "$7$", "$2b$", "$6$"}) {
        char salt[CRYPT_GENSALT_OUTPUT_SIZE];
        if (crypt_gensalt_rn(prefix, 0, nullptr, 0, salt, sizeof salt) == nullptr) continue;
        crypt_data data;
        std::memset(&data, 0, sizeof data);
        const char* hash = crypt_r(phrase.c_str(), salt, &data);
        if (hash != nullptr && hash[0] == '$') return hash;
    }
    return "";
}

bool PasswordMatches(std::string_view password, const std::string& hash) {
    if (hash.empty()) return false;
    const std::string phrase(password);
    crypt_data data;
    std::memset(&data, 0, sizeof data);
    const char* again = crypt_r(phrase.c_str(), hash.c_str(), &data);
    return again != nullptr && again[0] == '$' && hash == again;
}

std::string OperatorListPath(const std::string& program_dir, const std::string& company) {
    const std::string dir = base::FindNoCase(program_dir, "HASLA.QRM");
    return base::FindNoCase(dir, ListName(company));
}

base::Status LoadOperators(const std::string& path, std::vector<Operator>* out) {
    out->clear();
    if (!base::Exists(path)) return base::Status::NotFound(path);
    std::unique_ptr<dbf::Table> table;
    dbf::OpenOptions options;
    options.read_only = true;
    base::Status s = dbf::Table::Open(path, options, &table);
    if (!s.ok()) return s;
    s = table->Scan(1, [&](uint32_t, const dbf::Record& r) {
        if (r.deleted()) return base::Status::Ok();
        Operator op;
        op.ident = Scramble(r.Raw(kIdent), false);
        op.name = TrimRight(r.GetString(kName));
        op.rights = RightsFromMarks(Scramble(r.Raw(kRights), false));
        op.inactive = r.Raw(kInactive) == "*";
        op.password_hash = TrimRight(r.GetString(kPassword));
        out->push_back(std::move(op));
        return base::Status::Ok();
    });
    table->Close();
    return s;
}

base::Status SaveOperators(const std::string& path, const std::vector<Operator>& list,
                           const base::Clock* clock) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) return base::Status::IOError(path + ": " + ec.message());
    // Table::Create writes the new file completely before it replaces the old one.
    base::Status s = dbf::Table::Create(path, Layout(), nullptr, clock);
    if (!s.ok()) return s;
    std::unique_ptr<dbf::Table> table;
    dbf::OpenOptions options;
    options.exclusive = true;
    options.clock = clock;
    s = dbf::Table::Open(path, options, &table);
    if (!s.ok()) return s;
    for (const Operator& op : list) {
        dbf::Record r = table->NewRecord();
        std::string ident = op.ident;
        ident.resize(4, ' ');
        r.SetRaw(kIdent, Scramble(ident, true));
        r.SetString(kName, op.name);
        r.SetRaw(kRights, Scramble(RightsMarks(op.rights), true));
        r.SetString(kInactive, op.inactive ? "*" : " ");
        r.SetString(kPassword, op.password_hash);
        uint32_t recno = 0;
        s = table->Append(r, &recno);
        if (!s.ok()) break;
    }
    base::Status closed = table->Close();
    return s.ok() ? closed : s;
}

base::Status CopyOperatorList(const std::string& program_dir, const std::string& from_company,
                              const std::string& to_company) {
    std::vector<Operator> list;
    base::Status s = LoadOperators(OperatorListPath(program_dir, from_company), &list);
    if (s.IsNotFound()) return base::Status::Ok();
    if (!s.ok()) return s;
    return SaveOperators(OperatorListPath(program_dir, to_company), list);
}

base::Status MoveOperatorList(const std::string& program_dir, const std::string& old_company,
                              const std::string& new_company) {
    const std::string from = OperatorListPath(program_dir, old_company);
    if (!base::Exists(from)) return base::Status::Ok();
    const std::string to = OperatorListPath(program_dir, new_company);
    if (std::rename(from.c_str(), to.c_str()) != 0) return base::Status::FromErrno(to, errno);
    return base::Status::Ok();
}

}  // namespace kestrel::common
