// Browsing the records of a work area (QRMDBE) and its standard skip
// (QRMSKIP).
#pragma once

#include <functional>
#include <vector>

#include "common/screen/browse.h"
#include "platform/dbf/work_area.h"

namespace kestrel::common {

/// The records of a work area in its current order, deleted ones hidden as
/// the area hides them. Skipping stops at the first and the last record;
/// standing past the end (or on an empty table) it first steps back one.
class WorkAreaSource : public BrowseSource {
  public:
    explicit WorkAreaSource(dbf::WorkArea& area) : area_(area) {}
    void GoTop() override;
    void GoBottom() override;
    int Skip(int n) override;
    bool Empty() const override;
    long Position() const override { return static_cast<long>(area_.recno()); }

    dbf::WorkArea& area() { return area_; }

  private:
    dbf::WorkArea& area_;
};

/// A column for every field of the area's table (heading: the field name).
std::vector<BrowseColumn> FieldColumns(dbf::WorkArea& area);

/// QRMDBE: browses the work area (columns default to every field). A
/// handler that moves to another record gets every row redrawn.
void BrowseTable(Runtime& rt, dbf::WorkArea& area, int top, int left, int bottom, int right,
                 std::vector<BrowseColumn> columns, const BrowseHandler& handler, int freeze = 0,
                 const std::function<void(Browse&)>& setup = nullptr);

}  // namespace kestrel::common
