#include "register/employee_page_layouts.h"

#include <gtest/gtest.h>

#include <map>

#include "employee_test_support.h"

namespace kestrel::registry {
namespace {

using testing::Company;

// The employee import checks a row by the data layer's list of the
// registration's fields; the pages must ask every one of them with the same
// check, and nothing the list does not know, or the two entries diverge.
TEST(RegistrationFields, AgreeWithTheRegistrationPages) {
    Company c;
    PageContext ctx{c.h.rt, *c.tables};
    for (EmployeeKind kind :
         {EmployeeKind::kStaff, EmployeeKind::kNonStaff, EmployeeKind::kLegalPerson}) {
        std::map<std::string, const RegistrationField*> listed;
        for (const RegistrationField& f : RegistrationFields(kind)) listed[f.field] = &f;
        size_t on_pages = 0;
        for (Page page : PagesOf(kind, false)) {
            for (const PageField& f : FieldsOf(page, kind, ctx, false)) {
                SCOPED_TRACE(f.field);
                ++on_pages;
                const auto it = listed.find(f.field);
                ASSERT_NE(it, listed.end());
                EXPECT_EQ(it->second->check, f.check);
                EXPECT_EQ(it->second->choices, f.choices);
                EXPECT_EQ(it->second->upper, f.picture == "@!");
            }
        }
        EXPECT_EQ(on_pages, listed.size()) << CardLetter(kind);
    }
}

}  // namespace
}  // namespace kestrel::registry
