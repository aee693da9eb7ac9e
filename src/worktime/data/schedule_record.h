// The three working-time segments of a record of PKSZMIA (a shift of a
// group) or PKINGPR (an employee's own hours of a day), which share their
// field names: OD_GODZ, OD_MIN, GODZ_DO, MIN_DO, TYP_PRACY for the first
// segment; ZAKRES_2 (in use) and OD_GODZ_2 … MIN_DO_2, TYP_PRACY2 for the
// second; ZAKRES_3 and OD_GODZ_3 … TYP_PRACY3 for the third.
#pragma once

#include "platform/dbf/record.h"
#include "worktime/data/segments.h"

namespace kestrel::worktime {

/// The segments of `rec` (a record of either table). A record of another
/// layout gives the segments whose fields it has (the others stay zero).
SegmentRecord ReadSegmentRecord(const dbf::Record& rec);

/// Writes the segments into the buffer `rec`; the segments not in use are
/// cleared, so a stored record never keeps the hours of a segment it no
/// longer has.
void WriteSegmentRecord(const SegmentRecord& segments, dbf::Record* rec);

}  // namespace kestrel::worktime
