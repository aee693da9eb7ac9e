// The run of one page of the employee record (see employee_pages.h): the
// page's variables, the form over them, the field conditions and checks.
// Internal to the record pages.
#pragma once

#include <cstdio>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/screen/form.h"
#include "platform/base/dates.h"
#include "platform/base/text.h"
#include "register/data/employee_checks.h"
#include "register/data/employee_lookup.h"
#include "register/dictionary_fields.h"
#include "register/employee_page_layouts.h"
#include "register/employee_pages.h"

namespace kestrel::registry::pages {

using picture::Kind;

inline constexpr int kFirstRow = 6;
inline constexpr int kHintRow = 21;

using base::Trim;
using base::TrimRight;

/// The dictionary F3 opens in field `field` of the record (a PKPRAC field
/// name), with the hint row 21 shows while the cursor is there; none for a
/// field that is not coded by a dictionary.
std::optional<CodeField> PickerOf(const std::string& field);

// One field of a page with the variable the form edits.
struct Var {
    const PageField* spec = nullptr;
    Kind kind = Kind::kText;
    std::string text;
    double number = 0;
    picture::Date date;
    bool logical = false;
    int row = 0, col = 0, width = 0;  // where the value stands
};

class PageRun {
  public:
    PageRun(PageContext& ctx, Page page, const EmployeeRecord& employee)
        : ctx_(ctx), rt_(ctx.rt), page_(page), work_(employee) {}

    PageExit Enter(EmployeeRecord* out);
    PageExit Show();

  private:
    void DrawFrame();
    void Declare(common::Form& form, bool entry);
    void Load(Var& v);
    void Store(const Var& v, EmployeeRecord* rec) const;
    void StoreAll(EmployeeRecord* rec) const;
    bool Enabled(const std::string& name);
    bool Validate(Var& v);
    void ShowBeside(const Var& v, const std::string& cp852);
    void ShowNames();
    void AfterAccept(EmployeeRecord* rec);
    /// Row 21 names the picker of the field being entered (F3).
    void ShowPickHint(const std::string& name);
    void Pick(common::Form& form);
    /// The level of a territorial field of a Polish address; none otherwise.
    std::optional<TerritoryLevel> TerritoryOf(const Var& v) const;

    // Values of the page's variables (or the record's where the page has
    // no such field), for the conditions of the fields.
    std::string Value(const std::string& name) const;
    bool Flag(const std::string& name) const;

    PageContext& ctx_;
    common::Runtime& rt_;
    Page page_;
    EmployeeRecord work_;
    std::vector<PageField> fields_;
    std::deque<Var> vars_;
    std::map<std::string, Var*> by_name_;
    TerritoryChoice territory_;
    bool switch_card_ = false;
    bool display_ = false;  // read-only: names only, no warnings
};

}  // namespace kestrel::registry::pages
