#include "worktime/data/open_once.h"

#include "common/tables/index_order.h"

namespace kestrel::worktime {

dbf::WorkArea& OpenOnce(common::Tables& tables, std::string_view table,
                        const std::vector<std::string>& indexes) {
    if (dbf::WorkArea* open = tables.workspace().Find(table)) {
        bool all = true;
        for (const std::string& index : indexes) all = all && common::OrderOf(*open, index) > 0;
        if (all) return *open;
    }
    return tables.Open(table, indexes);
}

void OrderBy(dbf::WorkArea& area, std::string_view index) {
    area.SetOrder(common::OrderOf(area, index));
}

}  // namespace kestrel::worktime
