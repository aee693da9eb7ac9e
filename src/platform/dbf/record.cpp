#include "platform/dbf/record.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/picture/picture.h"

namespace kestrel::dbf {

Record::Record(const std::vector<Field>* fields, uint32_t length)
    : fields_(fields), bytes_(length, ' ') {}

int Record::FieldIndex(std::string_view name) const {
    for (size_t i = 0; i < fields_->size(); ++i) {
        const std::string& n = (*fields_)[i].name;
        if (n.size() != name.size()) continue;
        bool same = true;
        for (size_t k = 0; k < n.size() && same; ++k) {
            same = std::toupper(static_cast<unsigned char>(name[k])) ==
                   static_cast<unsigned char>(n[k]);
        }
        if (same) return static_cast<int>(i);
    }
    return -1;
}

void Record::Clear() {
    std::memset(bytes_.data(), ' ', bytes_.size());
}

std::string_view Record::Raw(int field) const {
    const Field& f = (*fields_)[field];
    return std::string_view(bytes_).substr(f.offset, f.length);
}

double Record::GetNumber(int field) const {
    std::string_view raw = Raw(field);
    char buf[64];
    size_t n = 0;
    for (char c : raw) {
        if (c == ' ') continue;
        if (n + 1 >= sizeof buf) break;
        buf[n++] = (c == ',') ? '.' : c;
    }
    if (n == 0) return 0.0;
    buf[n] = '\0';
    char* end = nullptr;
    double v = std::strtod(buf, &end);
    return (end == buf) ? 0.0 : v;
}

bool Record::GetLogical(int field) const {
    std::string_view raw = Raw(field);
    if (raw.empty()) return false;
    char c = raw[0];
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string Record::GetDate(int field) const {
    std::string_view raw = Raw(field);
    for (char c : raw) {
        if (c != ' ') return std::string(raw);
    }
    return std::string();
}

uint32_t Record::GetMemoBlock(int field) const {
    std::string_view raw = Raw(field);
    uint32_t block = 0;
    for (char c : raw) {
        if (c >= '0' && c <= '9') block = block * 10 + static_cast<uint32_t>(c - '0');
    }
    return block;
}

bool Record::IsBlank(int field) const {
    for (char c : Raw(field)) {
        if (c != ' ') return false;
    }
    return true;
}

void Record::SetRaw(int field, std::string_view bytes) {
    const Field& f = (*fields_)[field];
    char* dst = bytes_.data() + f.offset;
    size_t n = std::min<size_t>(bytes.size(), f.length);
    std::memcpy(dst, bytes.data(), n);
    std::memset(dst + n, ' ', f.length - n);
}

Status Record::SetString(int field, std::string_view cp852) {
    SetRaw(field, cp852);
    return Status::Ok();
}

bool FormatNumber(double value, int width, int decimals, std::string* out) {
    if (!std::isfinite(value)) return false;
    // Rounded half away from zero at the stored decimals the way every number
    // of the program is shown, so that 2.345 is stored as 2.35 although the
    // double lies just below it.
    const std::string digits = picture::FormatFixed(value, decimals);
    if (static_cast<int>(digits.size()) > width) return false;
    out->assign(static_cast<size_t>(width) - digits.size(), ' ');
    out->append(digits);
    return true;
}

Status Record::SetNumber(int field, double value) {
    const Field& f = (*fields_)[field];
    std::string text;
    if (!FormatNumber(value, f.length, f.decimals, &text)) {
        return Status::InvalidArgument("value " + std::to_string(value) + " does not fit field " +
                                       f.name + " N" + std::to_string(f.length) + "." +
                                       std::to_string(f.decimals));
    }
    SetRaw(field, text);
    return Status::Ok();
}

Status Record::SetLogical(int field, bool value) {
    SetRaw(field, value ? "T" : "F");
    return Status::Ok();
}

Status Record::SetDate(int field, std::string_view yyyymmdd) {
    bool ok = yyyymmdd.empty() || yyyymmdd.size() == 8;
    for (char c : yyyymmdd) ok = ok && c >= '0' && c <= '9';
    if (!ok) {
        return Status::InvalidArgument("bad date \"" + std::string(yyyymmdd) + "\" for field " +
                                       (*fields_)[field].name);
    }
    SetRaw(field, yyyymmdd);
    return Status::Ok();
}

void Record::SetMemoBlock(int field, uint32_t block) {
    if (block == 0) {
        SetRaw(field, "");
        return;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, "%10u", block);
    SetRaw(field, buf);
}

}  // namespace kestrel::dbf
