#include "worktime/data/segments.h"

#include <cstdio>

#include "platform/base/text.h"
#include "platform/codepage/cp852.h"

namespace kestrel::worktime {
namespace {

constexpr int kDay = 24 * 60;

struct Span {
    int start = 0;
    int end = 0;  // after start; past kDay when the segment crosses midnight
};

bool InRange(const Segment& s) {
    return s.from_hour >= 0 && s.from_hour <= 23 && s.to_hour >= 0 && s.to_hour <= 23 &&
           s.from_minute >= 0 && s.from_minute <= 59 && s.to_minute >= 0 && s.to_minute <= 59;
}

Span SpanOf(const Segment& s) {
    Span span{s.from_hour * 60 + s.from_minute, s.to_hour * 60 + s.to_minute};
    if (span.end <= span.start) span.end += kDay;
    return span;
}

// One starts inside the other, or one ends inside the other.
bool OverlapOnce(const Span& a, const Span& b) {
    const auto starts_in = [](const Span& x, const Span& y) {
        return x.start >= y.start && x.start < y.end;
    };
    const auto ends_in = [](const Span& x, const Span& y) {
        return x.end > y.start && x.end <= y.end;
    };
    return starts_in(a, b) || starts_in(b, a) || ends_in(a, b) || ends_in(b, a);
}

// On two days: a segment of the day may meet the other's continuation past
// midnight, so the other is also tried a day later and a day earlier.
bool Overlap(const Span& a, const Span& b) {
    for (int shift : {0, kDay, -kDay}) {
        if (OverlapOnce(a, Span{b.start + shift, b.end + shift})) return true;
    }
    return false;
}

}  // namespace

SegmentTime MeasureSegments(const SegmentRecord& record) {
    std::array<Span, 3> spans;
    for (size_t i = 0; i < 3; ++i) {
        if (!record.used[i]) continue;
        if (!InRange(record.segments[i])) return {};
        spans[i] = SpanOf(record.segments[i]);
        for (size_t j = 0; j < i; ++j) {
            if (record.used[j] && Overlap(spans[i], spans[j])) return {};
        }
    }
    SegmentTime time;
    time.valid = true;
    for (size_t i = 0; i < 3; ++i) {
        if (!record.used[i]) continue;
        const int minutes = spans[i].end - spans[i].start;
        const std::string type = base::Trim(record.segments[i].type);
        if (type.empty())
            time.nominal += minutes;
        else if (type == "01")
            time.overtime += minutes;
        else
            time.other += minutes;
    }
    return time;
}

std::string TotalText(const SegmentTime& time) {
    if (!time.valid) return codepage::FromUtf8("BŁĄD!");
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", time.total() / 60, time.total() % 60);
    return text;
}

}  // namespace kestrel::worktime
