// QRM25 "2.5. Przeglądanie kartoteki": the register in a browse with its
// groups (all, current, former employees), sorts and searches, the full
// information of a record and the correction of pay and tax cells in place.
#pragma once

#include <string>
#include <string_view>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"

namespace kestrel::registry {

/// The menu entry: the rights check (mask 49), the register opened with
/// its indexes, the browse.
void Qrm25(common::Runtime& rt);

/// The browse over PKPRAC opened in `tables` with all 14 indexes.
void BrowseRegister(common::Runtime& rt, common::Tables& tables);

/// A cost account shown through the account mask (NAGLMSKON, e.g.
/// "@R 999-999999999"): each "9" of the mask takes the next character of
/// the account, other characters stand as they are; characters left over
/// follow. Without a mask the account as it stands.
std::string MaskedAccount(std::string_view mask, std::string_view account);

}  // namespace kestrel::registry
