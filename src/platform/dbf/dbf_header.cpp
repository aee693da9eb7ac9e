#include "platform/dbf/dbf_header.h"

#include <cctype>
#include <cstring>
#include <set>

#include "platform/base/text.h"
#include "platform/dbf/coding.h"

namespace kestrel::dbf {

namespace {
constexpr size_t kPrologue = 32;
constexpr size_t kDescriptor = 32;
constexpr size_t kMaxFields = 1024;
}  // namespace

bool DbfHeader::has_memo() const {
    for (const Field& f : fields) {
        if (f.type == FieldType::kMemo) return true;
    }
    return false;
}

Status LayoutHeader(const std::vector<FieldSpec>& specs, DbfHeader* out) {
    if (specs.empty()) return Status::InvalidArgument("a table needs at least one field");
    if (specs.size() > kMaxFields) return Status::InvalidArgument("too many fields");
    DbfHeader h;
    std::set<std::string> names;
    uint32_t offset = 1;
    for (const FieldSpec& s : specs) {
        Field f;
        f.name = base::AsciiUpper(s.name);
        if (f.name.empty() || f.name.size() > 10) {
            return Status::InvalidArgument("bad field name \"" + s.name + "\"");
        }
        if (!names.insert(f.name).second) {
            return Status::InvalidArgument("field " + f.name + " given twice");
        }
        f.type = s.type;
        f.length = s.length;
        f.decimals = 0;
        switch (s.type) {
            case FieldType::kCharacter:
                if (s.length < 1) return Status::InvalidArgument("field " + f.name + ": width 0");
                break;
            case FieldType::kNumeric:
                if (s.length < 1 || s.length > 20 ||
                    (s.decimals > 0 && s.decimals + 2 > s.length)) {
                    return Status::InvalidArgument("field " + f.name + ": bad numeric width");
                }
                f.decimals = s.decimals;
                break;
            case FieldType::kLogical:
                f.length = 1;
                break;
            case FieldType::kDate:
                f.length = 8;
                break;
            case FieldType::kMemo:
                f.length = 10;
                break;
            default:
                return Status::InvalidArgument("field " + f.name + ": unknown type");
        }
        f.offset = offset;
        offset += f.length;
        h.fields.push_back(f);
    }
    if (offset > 65535) return Status::InvalidArgument("record longer than 65535 bytes");
    h.record_length = static_cast<uint16_t>(offset);
    h.header_length = static_cast<uint16_t>(kPrologue + kDescriptor * specs.size() + 2);
    h.version = h.has_memo() ? 0x83 : 0x03;
    *out = std::move(h);
    return Status::Ok();
}

Status DecodePrologue(const std::string& path, std::string_view b, DbfHeader* out) {
    if (b.size() < kPrologue) return Status::Corruption(path + ": shorter than a DBF header");
    out->version = static_cast<uint8_t>(b[0]);
    if ((out->version & 0x07) != 0x03) {
        return Status::Corruption(path + ": not a dBASE III table (version byte " +
                                  std::to_string(out->version) + ")");
    }
    int yy = static_cast<unsigned char>(b[1]);
    out->year = yy < 80 ? 2000 + yy : 1900 + yy;
    out->month = static_cast<unsigned char>(b[2]);
    out->day = static_cast<unsigned char>(b[3]);
    out->record_count = DecodeFixed32(b.data() + 4);
    out->header_length = DecodeFixed16(b.data() + 8);
    out->record_length = DecodeFixed16(b.data() + 10);
    if (out->header_length < kPrologue + kDescriptor + 1 ||
        out->header_length > kPrologue + kDescriptor * kMaxFields + 2) {
        return Status::Corruption(path + ": bad header length " +
                                  std::to_string(out->header_length));
    }
    if (out->record_length < 2) {
        return Status::Corruption(path + ": bad record length " +
                                  std::to_string(out->record_length));
    }
    return Status::Ok();
}

Status DecodeFields(const std::string& path, std::string_view b, DbfHeader* out) {
    out->fields.clear();
    size_t max_fields = (out->header_length - kPrologue) / kDescriptor;
    uint32_t offset = 1;
    for (size_t i = 0; i < max_fields; ++i) {
        const char* d = b.data() + kPrologue + i * kDescriptor;
        if (d[0] == 0x0D) break;
        Field f;
        size_t n = 0;
        while (n < 11 && d[n] != '\0') ++n;
        f.name = base::AsciiUpper(base::TrimRight(std::string_view(d, n)));
        f.type = static_cast<FieldType>(d[11]);
        f.length = static_cast<unsigned char>(d[16]);
        f.decimals = static_cast<unsigned char>(d[17]);
        std::string where = path + ": field " + std::to_string(i + 1) + " (" + f.name + ")";
        if (f.name.empty()) return Status::Corruption(where + ": empty name");
        switch (f.type) {
            case FieldType::kCharacter:
                f.length = DecodeFixed16(d + 16);
                f.decimals = 0;
                break;
            case FieldType::kNumeric:
                if (f.decimals >= f.length && f.decimals > 0) {
                    return Status::Corruption(where + ": more decimals than width");
                }
                break;
            case FieldType::kLogical:
            case FieldType::kDate:
            case FieldType::kMemo:
                f.decimals = 0;
                break;
            default:
                return Status::Corruption(where + ": unknown type '" + std::string(1, d[11]) + "'");
        }
        if (f.length == 0) return Status::Corruption(where + ": width 0");
        f.offset = offset;
        offset += f.length;
        out->fields.push_back(std::move(f));
    }
    if (out->fields.empty()) return Status::Corruption(path + ": no fields");
    if (offset != out->record_length) {
        return Status::Corruption(path + ": fields add up to " + std::to_string(offset) +
                                  " bytes but the record length is " +
                                  std::to_string(out->record_length));
    }
    return Status::Ok();
}

std::string EncodePrologue(const DbfHeader& h) {
    std::string p(12, '\0');
    p[0] = static_cast<char>(h.version);
    p[1] = static_cast<char>(h.year - 1900);
    p[2] = static_cast<char>(h.month);
    p[3] = static_cast<char>(h.day);
    EncodeFixed32(p.data() + 4, h.record_count);
    EncodeFixed16(p.data() + 8, h.header_length);
    EncodeFixed16(p.data() + 10, h.record_length);
    return p;
}

std::string EncodeHeader(const DbfHeader& h) {
    std::string out(h.header_length, '\0');
    std::string p = EncodePrologue(h);
    std::memcpy(out.data(), p.data(), p.size());
    for (size_t i = 0; i < h.fields.size(); ++i) {
        const Field& f = h.fields[i];
        char* d = out.data() + kPrologue + i * kDescriptor;
        std::memcpy(d, f.name.data(), std::min<size_t>(f.name.size(), 10));
        d[11] = static_cast<char>(f.type);
        if (f.type == FieldType::kCharacter) {
            EncodeFixed16(d + 16, f.length);
        } else {
            d[16] = static_cast<char>(f.length);
            d[17] = static_cast<char>(f.decimals);
        }
    }
    size_t end = kPrologue + h.fields.size() * kDescriptor;
    if (end < out.size()) out[end] = 0x0D;
    return out;
}

void StampDate(DbfHeader* h, const base::Clock* clock) {
    const base::LocalTime now = clock ? clock->Now() : base::SystemClock().Now();
    h->year = now.year;
    h->month = now.month;
    h->day = now.day;
}

}  // namespace kestrel::dbf
