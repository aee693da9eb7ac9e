// QRMIDMAS: the window of the leading record among the records that share
// one PESEL. The record marked MASTER_ supplies the personal data of the
// person in declarations and forms; without a mark, the highest number does.
#pragma once

#include <string_view>
#include <vector>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/data/employee_checks.h"

namespace kestrel::registry {

/// Enter on a line of `marks`: makes it the leading one and clears every
/// other mark, or clears its own mark when it was the leading one.
void ToggleLeading(std::vector<bool>* marks, size_t line);

/// The window " Wykaz pracowników z takim samym PESELEM " over the records
/// with `pesel` (clear); not opened for fewer than two records. Enter
/// toggles the mark, F10 writes the changed marks and leaves, Esc leaves
/// without writing. The screen is restored and `prac` keeps its order and
/// record. Returns true when marks were written.
bool LeadingRecordWindow(common::Runtime& rt, common::Tables& tables, dbf::WorkArea& prac,
                         std::string_view pesel);

}  // namespace kestrel::registry
