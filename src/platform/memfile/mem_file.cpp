#include "platform/memfile/mem_file.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrel::memfile {
namespace {

constexpr size_t kHeader = 32;
constexpr unsigned char kEnd = 0x1A;

void PutDouble(std::string& out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    for (int i = 0; i < 8; ++i) out += static_cast<char>((bits >> (8 * i)) & 0xFF);
}

double GetDouble(const unsigned char* p) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
    double v;
    std::memcpy(&v, &bits, 8);
    return v;
}

size_t ValueSize(const MemValue& v) {
    switch (v.type) {
        case MemValue::Type::kChar:
            return v.text.size() + 1;
        case MemValue::Type::kLogical:
            return 1;
        default:
            return 8;
    }
}

// Characters str() would print for the number at its decimals.
int PrintedLength(double value, int decimals) {
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%.*f", decimals < 0 ? 0 : decimals, value);
    return n < 0 ? 0 : n;
}

}  // namespace

MemValue MemValue::Char(std::string text) {
    MemValue v;
    v.type = Type::kChar;
    v.text = std::move(text);
    return v;
}

MemValue MemValue::Numeric(double value, int width, int decimals) {
    MemValue v;
    v.type = Type::kNumeric;
    v.number = value;
    v.width = width;
    v.decimals = decimals;
    return v;
}

MemValue MemValue::Logical(bool value) {
    MemValue v;
    v.type = Type::kLogical;
    v.logical = value;
    return v;
}

MemValue MemValue::Date(double julian_day) {
    MemValue v;
    v.type = Type::kDate;
    v.julian = julian_day;
    return v;
}

base::Status ParseMem(std::string_view bytes, const std::string& file_name,
                      std::vector<MemEntry>* entries) {
    entries->clear();
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t pos = 0;
    auto damaged = [&](const std::string& what) {
        return base::Status::Corruption(file_name + ": " + what + " (offset " +
                                        std::to_string(pos) + ")");
    };
    while (pos < bytes.size() && data[pos] != kEnd) {
        if (bytes.size() - pos < kHeader) return damaged("cut entry header");
        const unsigned char* h = data + pos;
        size_t name_len = 0;
        while (name_len < 11 && h[name_len] != 0) ++name_len;
        if (name_len == 0 || name_len > 10) return damaged("bad variable name");
        MemEntry e;
        e.name = std::string(reinterpret_cast<const char*>(h), name_len);
        for (unsigned char c : e.name)
            if (c < 0x20 || c >= 0x7F) return damaged("bad variable name");
        char type = static_cast<char>(h[11] & 0x7F);
        size_t size;
        switch (type) {
            case 'C':
                e.value.type = MemValue::Type::kChar;
                size = h[16] | (static_cast<size_t>(h[17]) << 8);
                if (size == 0) return damaged("text " + e.name + " without its closing NUL");
                break;
            case 'N':
                e.value.type = MemValue::Type::kNumeric;
                e.value.width = h[16];
                e.value.decimals = h[17];
                size = 8;
                break;
            case 'D':
                e.value.type = MemValue::Type::kDate;
                size = 8;
                break;
            case 'L':
                e.value.type = MemValue::Type::kLogical;
                size = 1;
                break;
            default:
                return damaged("unknown type of " + e.name);
        }
        if (bytes.size() - pos - kHeader < size) return damaged("cut value of " + e.name);
        const unsigned char* v = h + kHeader;
        switch (e.value.type) {
            case MemValue::Type::kChar: {
                size_t len = 0;
                while (len < size - 1 && v[len] != 0) ++len;
                e.value.text.assign(reinterpret_cast<const char*>(v), len);
                break;
            }
            case MemValue::Type::kNumeric:
                e.value.number = GetDouble(v);
                if (!std::isfinite(e.value.number)) e.value.number = 0;
                break;
            case MemValue::Type::kDate:
                e.value.julian = GetDouble(v);
                if (!std::isfinite(e.value.julian)) e.value.julian = 0;
                break;
            case MemValue::Type::kLogical:
                e.value.logical = v[0] != 0;
                break;
        }
        entries->push_back(std::move(e));
        pos += kHeader + size;
    }
    return base::Status::Ok();
}

size_t EntriesSize(const std::vector<MemEntry>& entries) {
    size_t total = 0;
    for (const auto& e : entries) total += kHeader + ValueSize(e.value);
    return total;
}

std::string SerializeMem(const std::vector<MemEntry>& entries) {
    std::string out;
    out.reserve(EntriesSize(entries) + 1);
    for (const auto& e : entries) {
        std::string header(kHeader, '\0');
        std::string name = base::AsciiUpper(e.name).substr(0, 10);
        header.replace(0, name.size(), name);
        header[11] = static_cast<char>(static_cast<unsigned char>(e.value.type) | 0x80);
        switch (e.value.type) {
            case MemValue::Type::kChar: {
                size_t len = std::min<size_t>(e.value.text.size() + 1, 0xFFFF);
                header[16] = static_cast<char>(len & 0xFF);
                header[17] = static_cast<char>(len >> 8);
                out += header;
                out.append(e.value.text, 0, len - 1);
                out += '\0';
                break;
            }
            case MemValue::Type::kNumeric:
                header[16] = static_cast<char>(e.value.width);
                header[17] = static_cast<char>(e.value.decimals);
                out += header;
                PutDouble(out, e.value.number);
                break;
            case MemValue::Type::kDate:
                out += header;
                PutDouble(out, e.value.julian);
                break;
            case MemValue::Type::kLogical:
                out += header;
                out += static_cast<char>(e.value.logical ? 1 : 0);
                break;
        }
    }
    out += static_cast<char>(kEnd);
    return out;
}

base::Status ReadMemFile(const std::string& path, std::vector<MemEntry>* entries) {
    std::string bytes;
    base::Status s = base::ReadFile(path, &bytes);
    if (!s.ok()) {
        entries->clear();
        return s;
    }
    return ParseMem(bytes, path, entries);
}

base::Status WriteMemFile(const std::string& path, const std::vector<MemEntry>& entries) {
    return base::WriteFileAtomically(path, SerializeMem(entries));
}

const MemEntry* FindEntry(const std::vector<MemEntry>& entries, std::string_view name) {
    std::string wanted = base::AsciiUpper(name);
    for (const auto& e : entries)
        if (base::AsciiUpper(e.name) == wanted) return &e;
    return nullptr;
}

std::optional<MemValue> ScanMemVariable(const std::string& path, std::string_view name,
                                        MemValue::Type type) {
    std::string bytes;
    if (!base::ReadFile(path, &bytes).ok() || bytes.size() > kMaxScannedSize) return std::nullopt;
    std::vector<MemEntry> entries;
    ParseMem(bytes, path, &entries);  // entries before any damage still count
    const MemEntry* e = FindEntry(entries, name);
    if (e == nullptr || e->value.type != type) return std::nullopt;
    MemValue v = e->value;
    if (v.type == MemValue::Type::kDate && (v.julian < 2097260 || v.julian > 2816787)) v.julian = 0;
    if (v.type == MemValue::Type::kNumeric) {
        int printed = PrintedLength(v.number, v.decimals);
        if (v.width < printed) v.width = printed;
    }
    return v;
}

}  // namespace kestrel::memfile
