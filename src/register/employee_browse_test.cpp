#include "register/employee_browse.h"

#include <gtest/gtest.h>

#include "common/abandon.h"
#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;

TEST(RegisterBrowse, FullInformation) {
    Company c({"PKURZ", "PKGRALG", "PKKZIS"});
    c.Register("000001", "Nowak", "Jan");
    c.h.backend.AddKeys({key::F(1), key::kEsc, key::kEsc});
    try {
        BrowseRegister(c.h.rt, *c.tables);
    } catch (const std::exception& e) {
        FAIL() << e.what();
    }
}

}  // namespace
}  // namespace kestrel::registry
