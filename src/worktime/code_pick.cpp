#include "worktime/code_pick.h"

#include <string>
#include <vector>

namespace kestrel::worktime {

common::PickDictionary CodeDictionary(const char* table, const char* index, const char* code,
                                      const char* code_heading) {
    common::PickDictionary d;
    d.table = table;
    d.indexes = {index};
    d.code_field = code;
    d.name_field = "NAZWA_";
    d.can_insert = false;
    d.zero_pad = false;
    const std::string heading = code_heading;
    const std::string code_field = code;
    d.columns = [heading, code_field](common::Runtime& rt, dbf::WorkArea& a) {
        return std::vector<common::BrowseColumn>{common::FieldColumn(rt, a, code_field, heading),
                                                 common::FieldColumn(rt, a, "NAZWA_", "NAZWA")};
    };
    return d;
}

}  // namespace kestrel::worktime
