#include "register/leading_record.h"

#include <gtest/gtest.h>

#include "employee_test_support.h"
#include "platform/console/keys.h"

namespace kestrel::registry {
namespace {

namespace key = console::key;
using testing::Company;

TEST(LeadingRecord, Placeholder) {
    Company c;
    (void)c;
}

}  // namespace
}  // namespace kestrel::registry
