// The run of QRM24: the number, the record shown, the pages of the update
// and the ways out of them. Internal to update_dialog.cpp.
#pragma once

#include <string>

#include "common/session/runtime.h"
#include "common/tables/table_layer.h"
#include "register/employee_pages.h"
#include "register/update_dialog.h"

namespace kestrel::registry {

class UpdateDialog {
  public:
    UpdateDialog(common::Runtime& rt, common::Tables& tables);
    /// Asks numbers and updates their records until F10.
    void Run();

  private:
    void DrawTitle();
    void UpdateOne(uint32_t recno);
    void EditPages(UpdateSession& session, PageContext& ctx);
    void Escape(UpdateSession& session);
    bool ConfirmSurname(const std::string& before, const std::string& after);

    common::Runtime& rt_;
    common::Tables& tables_;
    RegisterAreas areas_;
    dbf::WorkArea* ster_ = nullptr;
    int ref_year_ = 0, ref_month_ = 0;
    /// The surname last confirmed in this update (not asked again).
    std::string confirmed_surname_;
};

}  // namespace kestrel::registry
