#include "worktime/data/schedule_record.h"

#include <string>

namespace kestrel::worktime {
namespace {

struct SegmentFields {
    const char* from_hour;
    const char* from_minute;
    const char* to_hour;
    const char* to_minute;
    const char* type;
    const char* flag;  // nullptr: the first segment, always in use
};

constexpr SegmentFields kFields[3] = {
    {"OD_GODZ", "OD_MIN", "GODZ_DO", "MIN_DO", "TYP_PRACY", nullptr},
    {"OD_GODZ_2", "OD_MIN_2", "GODZ_DO_2", "MIN_DO_2", "TYP_PRACY2", "ZAKRES_2"},
    {"OD_GODZ_3", "OD_MIN_3", "GODZ_DO_3", "MIN_DO_3", "TYP_PRACY3", "ZAKRES_3"},
};

int NumberOf(const dbf::Record& rec, const char* name) {
    const int f = rec.FieldIndex(name);
    return f < 0 ? 0 : static_cast<int>(rec.GetNumber(f));
}

void SetNumber(dbf::Record* rec, const char* name, int value) {
    const int f = rec->FieldIndex(name);
    if (f >= 0) (void)rec->SetNumber(f, value);
}

}  // namespace

SegmentRecord ReadSegmentRecord(const dbf::Record& rec) {
    SegmentRecord out;
    for (size_t i = 0; i < 3; ++i) {
        const SegmentFields& f = kFields[i];
        Segment& s = out.segments[i];
        s.from_hour = NumberOf(rec, f.from_hour);
        s.from_minute = NumberOf(rec, f.from_minute);
        s.to_hour = NumberOf(rec, f.to_hour);
        s.to_minute = NumberOf(rec, f.to_minute);
        const int type = rec.FieldIndex(f.type);
        s.type = type < 0 ? std::string() : rec.GetString(type);
        if (f.flag != nullptr) {
            const int flag = rec.FieldIndex(f.flag);
            out.used[i] = flag >= 0 && rec.GetLogical(flag);
        }
    }
    return out;
}

void WriteSegmentRecord(const SegmentRecord& segments, dbf::Record* rec) {
    for (size_t i = 0; i < 3; ++i) {
        const SegmentFields& f = kFields[i];
        const bool used = i == 0 || segments.used[i];
        const Segment blank;
        const Segment& s = used ? segments.segments[i] : blank;
        SetNumber(rec, f.from_hour, s.from_hour);
        SetNumber(rec, f.from_minute, s.from_minute);
        SetNumber(rec, f.to_hour, s.to_hour);
        SetNumber(rec, f.to_minute, s.to_minute);
        const int type = rec->FieldIndex(f.type);
        if (type >= 0) (void)rec->SetString(type, s.type);
        if (f.flag != nullptr) {
            const int flag = rec->FieldIndex(f.flag);
            if (flag >= 0) (void)rec->SetLogical(flag, used);
        }
    }
}

}  // namespace kestrel::worktime
